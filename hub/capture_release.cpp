#include "hub/capture_release.h"

#include "hub/watched_folder.h"
#include "release/document_information.h"
#include "release/file_access.h"
#include "release/output_file.h"
#include "release/page_image.h"
#include "release/release_error.h"
#include "settings/pdf_settings.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSysInfo>
#include <QThread>

#include <unistd.h>

namespace zan::hub {

using release::Batch;
using release::BatchDocument;
using release::DocumentReport;
using release::PageFileFormat;
using release::ReleaseControl;
using release::ReleaseError;
using release::ReleaseReport;

namespace {

// The release was asked to stop while a document's pages were being written.
struct Stopped {};

PageFileFormat inputFormat(std::int32_t type) {
  switch (type) {
    case 0:
      return PageFileFormat::Tiff;
    case 1:
      return PageFileFormat::Png;
    case 2:
      return PageFileFormat::Jpeg;
  }
  throw ReleaseError(
      QStringLiteral("PDFInputImageType %1 is unknown: 0 TIFF, 1 PNG, 2 JPEG").arg(type));
}

QString suffixOf(PageFileFormat format) {
  return format == PageFileFormat::Tiff  ? QStringLiteral("tif")
         : format == PageFileFormat::Png ? QStringLiteral("png")
                                         : QStringLiteral("jpg");
}

// A path of the setup, relative ones taken from the setup file's folder.
QString resolved(const QString& path, const QString& setupFile) {
  const QString p = path.trimmed();
  return QDir::cleanPath(QFileInfo(p).isAbsolute() ? p : QFileInfo(setupFile).dir().filePath(p));
}

// "localhost" names the machine that releases.
QString machineFor(const QString& stored) {
  const QString m = stored.trimmed();
  if (m.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 ||
      m == QLatin1String("127.0.0.1") || m == QLatin1String("::1"))
    return QSysInfo::machineHostName();
  return m;
}

// The start of every job name of this release: the batch, when, and a random part.
QString jobPrefix(const QString& batchName) {
  QString slug = batchName.simplified();
  slug.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]+")), QStringLiteral("-"));
  slug = slug.left(40);
  if (slug.isEmpty() || slug.startsWith(QLatin1Char('.'))) slug.prepend(QStringLiteral("batch"));
  return QStringLiteral("%1-%2-%3")
      .arg(slug, QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss")),
           QString::number(QRandomGenerator::global()->generate() & 0xffff, 16)
               .rightJustified(4, QLatin1Char('0')));
}

// Writes the document's pages into the open `folder` (at `path`) as page-0001.<suffix>, ...
// and returns their names. A file that already is a single page of the format is copied as it
// is, a PDF page goes as page-N.pdf (asJobPage()); every page is checked against the pixel
// budget before it is decoded.
QStringList writePages(const BatchDocument& document, PageFileFormat format, int folder,
                       const QString& path, qint64 pixelLimit, const ReleaseControl& control) {
  QStringList written;
  for (const QString& source : document.pages) {
    try {
      const release::PageFile file = release::PageFile::read(source);
      const int count = static_cast<int>(file.checkedPixels(pixelLimit).size());
      for (int i = 0; i < count; ++i) {
        if (control.stopped && !control.stopped().isEmpty()) throw Stopped{};
        const release::JobPage page = release::asJobPage(file, i, format, pixelLimit);
        const QString name = QStringLiteral("page-%1.%2")
                                 .arg(written.size() + 1, 4, 10, QLatin1Char('0'))
                                 .arg(page.pdf ? QStringLiteral("pdf") : suffixOf(format));
        // The ticket, written last, is flushed to the disk; the pages, as ever, are not.
        release::writeFileAt(folder, name, page.bytes, release::Existing::Keep,
                             QDir(path).filePath(name), false);
        written << name;
      }
    } catch (const ReleaseError& e) {
      throw ReleaseError(release::pageFailure(written.size() + 1, {source, 0, 1}, e.message()));
    }
  }
  return written;
}

// Removes the hidden page folders (.incoming-<job>) that a killed release of this user left in
// the watched folder: those unchanged for ten minutes.
void sweepLeftOverJobs(const QString& watched) {
  const release::Fd folder = release::openFolder(watched);
  if (!folder) return;
  const QDateTime old = QDateTime::currentDateTime().addSecs(-600);
  const QFileInfoList entries = QDir(watched).entryInfoList(
      {QStringLiteral(".incoming-*")}, QDir::Dirs | QDir::Hidden | QDir::NoSymLinks);
  for (const QFileInfo& entry : entries)
    if (entry.ownerId() == ::geteuid() && entry.lastModified() < old)
      release::removeBeneath(folder.get(), entry.fileName());
}

QString stopReason(const ReleaseControl& control) {
  return control.stopped ? control.stopped() : QString();
}

// The document as its job's status says: released, or failed with the service's reason.
void takeStatus(DocumentReport& document, const JobStatus& status, const WatchedFolder& folder) {
  document.withService = false;
  document.failure = status.done               ? QString()
                     : status.reason.isEmpty() ? QStringLiteral("the hub service failed the job")
                                               : status.reason;
  document.serviceReport = status.document;
  folder.removeStatus(document.job);
}

}  // namespace

CaptureRelease::CaptureRelease(const PdfSettings& settings, const CaptureRequest& request)
    : request_(request) {
  clock_.start();
  try {
    capture_ = captureSettingsOf(settings);
  } catch (const ReleaseError& e) {
    throw ReleaseError(QStringLiteral("setup file %1: %2").arg(request.setupFile, e.message()));
  }
  capture_.pdfA = request.pdfA;
  capture_.deskew = request.deskew;
  capture_.imageDpi = request.imageDpi;
  capture_.readPdfText = request.readPdfText;
  inputType_ = settings.PDFInputImageType();
  inputFormat(inputType_);
  hub_.emplace(resolved(settings.WorkgroupHub(), request.setupFile));
  hub_->workflow(capture_.workflow);
  if (!capture_.dictionary.isEmpty()) hub_->dictionaryWords(capture_.dictionary);
  watched_ = resolved(settings.WatchedFolder(), request.setupFile);
  release::prepareOutputFolder(watched_);
  sweepLeftOverJobs(watched_);
  outputFolder_ = settings.PDFOutputFolder().trimmed().isEmpty()
                      ? QFileInfo(request.out).absoluteFilePath()
                      : resolved(settings.PDFOutputFolder(), request.setupFile);
  machine_ = machineFor(settings.PDFOutputMachine());
  wait_ = settings.PDFWaitForStatus();
  withdrawHung_ = settings.PDFDeleteHungDoc();
  fields_.title = release::documentField(settings, DocField::Title);
  fields_.subject = release::documentField(settings, DocField::Subject);
  fields_.author = release::documentField(settings, DocField::Author);
  fields_.keywords = release::documentField(settings, DocField::Keywords);
}

ReleaseReport CaptureRelease::submit(const Batch& batch, const ReleaseControl& control) {
  hub_->registerWatchedFolder(watched_);
  const WatchedFolder folder(watched_);
  const PageFileFormat format = inputFormat(inputType_);
  const QString prefix = jobPrefix(batch.name);
  const qint64 pixelLimit = release::PixelAllowance(control.pixelBudget).pageLimit();
  ReleaseReport report;
  report.batchName = batch.name;
  report.engine = QStringLiteral("capture");
  report.documents.resize(batch.documents.size());
  for (std::size_t d = 0; d < batch.documents.size(); ++d) {
    DocumentReport& document = report.documents[d];
    document.number = static_cast<int>(d + 1);
    document.information = release::resolveDocumentInformation(fields_, batch, batch.documents[d]);
    if (!stopReason(control).isEmpty()) {
      document.failure = release::stoppedFailure(stopReason(control));
      continue;
    }
    JobTicket ticket;
    ticket.job = QStringLiteral("%1-%2").arg(prefix).arg(d + 1, 4, 10, QLatin1Char('0'));
    ticket.batch = batch.name;
    ticket.document = document.number;
    ticket.machine = machine_;
    ticket.pdf = QDir(outputFolder_).filePath(ticket.job + QStringLiteral(".pdf"));
    ticket.settings = capture_;
    ticket.information = document.information;
    ticket.releasedBy = QSysInfo::machineHostName();
    ticket.releasedAt = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    try {
      folder.submit(ticket, [&](int staging, const QString& path) {
        const QStringList pages =
            writePages(batch.documents[d], format, staging, path, pixelLimit, control);
        report.pageCount += static_cast<int>(pages.size());
        return pages;
      });
      document.job = ticket.job;
      document.pdf = ticket.pdf;
      document.withService = true;
    } catch (const ReleaseError& e) {
      document.failure = e.message();
    } catch (const Stopped&) {
      document.failure = release::stoppedFailure(stopReason(control));
    }
  }
  report.seconds = clock_.elapsed() / 1000.0;
  return report;
}

void CaptureRelease::wait(ReleaseReport& report, const ReleaseControl& control) {
  if (!wait_ || !stopReason(control).isEmpty()) return;
  const WatchedFolder folder(watched_);
  const qint64 deadline = static_cast<qint64>(request_.statusTimeout * 1000);
  int waiting = 0;
  do {
    waiting = 0;
    int finished = 0;
    for (DocumentReport& document : report.documents) {
      if (document.status() != release::DocumentStatus::Submitted) {
        ++finished;
      } else if (const auto status = folder.status(document.job)) {
        takeStatus(document, *status, folder);
        ++finished;
      } else {
        ++waiting;
      }
    }
    if (control.progress) control.progress(finished, static_cast<int>(report.documents.size()));
    if (waiting > 0 && clock_.elapsed() < deadline) QThread::msleep(100);
  } while (waiting > 0 && clock_.elapsed() < deadline && stopReason(control).isEmpty());
  if (stopReason(control).isEmpty()) withdrawLate(report);
  report.seconds = clock_.elapsed() / 1000.0;
}

void CaptureRelease::withdrawLate(ReleaseReport& report) const {
  const WatchedFolder folder(watched_);
  const QString late = QStringLiteral("no status after %1 s").arg(request_.statusTimeout);
  for (DocumentReport& document : report.documents) {
    if (document.status() != release::DocumentStatus::Submitted) continue;
    if (QFileInfo(document.pdf).isFile()) {
      // The service made the PDF but could not write its status (a full watched folder): the
      // document is released, and must not be released again.
      document.withService = false;
      document.information.warnings
          << late + QStringLiteral("; the hub service made the PDF but could not write its status");
    } else if (withdrawHung_ && folder.withdraw(document.job)) {
      document.withService = false;
      document.failure = late + QStringLiteral("; withdrawn from the watched folder");
    } else if (const auto status = folder.status(document.job)) {  // finished meanwhile
      takeStatus(document, *status, folder);
    } else {
      document.failure = late + (withdrawHung_ ? QStringLiteral("; it is being published")
                                               : QStringLiteral("; left in the watched folder"));
    }
  }
}

}  // namespace zan::hub
