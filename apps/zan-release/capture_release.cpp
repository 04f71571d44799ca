#include "capture_release.h"

#include "hub/capture_settings.h"
#include "hub/hub_folder.h"
#include "hub/watched_folder.h"
#include "progress_bar.h"
#include "release/batch.h"
#include "release/document_information.h"
#include "release/file_access.h"
#include "release/library_messages.h"
#include "release/output_file.h"
#include "release/page_image.h"
#include "release/release_error.h"
#include "release/release_report.h"
#include "release/release_run.h"
#include "release_command.h"
#include "settings/pdf_settings.h"
#include "stop_request.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSysInfo>
#include <QThread>

#include <unistd.h>

using namespace zan::release;
using namespace zan::hub;

namespace {

struct CannotStart {
  QString message;
};

// The release was asked to stop while a document's pages were being written.
struct Stopped {};

struct Job {
  QString name, pdf;
  int pages = 0;
  QString failure;       // not submitted, or failed
  QString state;         // "released", "failed", "pending", "submitted"
  QJsonObject document;  // the service's report of it
  DocumentInformation information;
};

PageFileFormat inputFormat(std::int32_t type) {
  switch (type) {
    case 0:
      return PageFileFormat::Tiff;
    case 1:
      return PageFileFormat::Png;
    case 2:
      return PageFileFormat::Jpeg;
  }
  throw CannotStart{
      QStringLiteral("PDFInputImageType %1 is unknown: 0 TIFF, 1 PNG, 2 JPEG").arg(type)};
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
                       const QString& path, qint64 pixelLimit) {
  QStringList written;
  for (const QString& source : document.pages) {
    try {
      const PageFile file = PageFile::read(source);
      const int count = static_cast<int>(file.checkedPixels(pixelLimit).size());
      for (int i = 0; i < count; ++i) {
        if (!stopRequested().isEmpty()) throw Stopped{};
        const JobPage page = asJobPage(file, i, format, pixelLimit);
        const QString name = QStringLiteral("page-%1.%2")
                                 .arg(written.size() + 1, 4, 10, QLatin1Char('0'))
                                 .arg(page.pdf ? QStringLiteral("pdf") : suffixOf(format));
        // The ticket, written last, is flushed to the disk; the pages, as ever, are not.
        writeFileAt(folder, name, page.bytes, Existing::Keep, QDir(path).filePath(name), false);
        written << name;
      }
    } catch (const ReleaseError& e) {
      throw ReleaseError(pageFailure(written.size() + 1, {source, 0, 1}, e.message()));
    }
  }
  return written;
}

// Removes the hidden page folders (.incoming-<job>) that a killed release of this user left in
// the watched folder: those unchanged for ten minutes.
void sweepLeftOverJobs(const QString& watched) {
  const Fd folder = openFolder(watched);
  if (!folder) return;
  const QDateTime old = QDateTime::currentDateTime().addSecs(-600);
  const QFileInfoList entries = QDir(watched).entryInfoList(
      {QStringLiteral(".incoming-*")}, QDir::Dirs | QDir::Hidden | QDir::NoSymLinks);
  for (const QFileInfo& entry : entries)
    if (entry.ownerId() == ::geteuid() && entry.lastModified() < old)
      removeBeneath(folder.get(), entry.fileName());
}

QJsonObject jobJson(const Job& job, int number) {
  QJsonObject o = job.document;
  o.insert(QStringLiteral("document"), number);
  o.insert(QStringLiteral("status"), job.state);
  if (!job.name.isEmpty()) o.insert(QStringLiteral("job"), job.name);
  if (job.state == QLatin1String("failed") || job.state == QLatin1String("pending"))
    o.insert(QStringLiteral("reason"), job.failure);
  else
    o.insert(QStringLiteral("pdf"), job.pdf);
  o.insert(QStringLiteral("documentInformation"),
           QJsonObject{{QStringLiteral("Title"), job.information.title},
                       {QStringLiteral("Subject"), job.information.subject},
                       {QStringLiteral("Author"), job.information.author},
                       {QStringLiteral("Keywords"), job.information.keywords}});
  o.insert(QStringLiteral("warnings"), QJsonArray::fromStringList(job.information.warnings));
  return o;
}

QByteArray reportOf(const Batch& batch, const std::vector<Job>& jobs, double seconds) {
  QJsonArray documents;
  QJsonObject totals{{QStringLiteral("documents"), static_cast<int>(jobs.size())}};
  int pages = 0, suspects = 0;
  for (const char* state : {"released", "failed", "pending", "submitted"})
    totals.insert(QLatin1String(state), 0);
  for (std::size_t i = 0; i < jobs.size(); ++i) {
    documents.append(jobJson(jobs[i], static_cast<int>(i + 1)));
    totals[jobs[i].state] = totals[jobs[i].state].toInt() + 1;
    pages += jobs[i].pages;
    suspects += jobs[i].document.value(QStringLiteral("suspectWords")).toArray().size();
  }
  totals.insert(QStringLiteral("pages"), pages);
  totals.insert(QStringLiteral("suspectWords"), suspects);
  const QJsonObject root{{QStringLiteral("batch"), batch.name},
                         {QStringLiteral("engine"), QStringLiteral("capture")},
                         {QStringLiteral("documents"), documents},
                         {QStringLiteral("totals"), totals},
                         {QStringLiteral("seconds"), qRound(seconds * 100) / 100.0}};
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

}  // namespace

int releaseThroughHub(const CaptureRelease& r, const zan::PdfSettings& settings) {
  QElapsedTimer clock;
  clock.start();
  CaptureSettings capture;
  std::optional<HubFolder> hub;
  QString watched, outputFolder, machine;
  PageFileFormat format = PageFileFormat::Tiff;
  Batch batch;
  ReleaseOptions fields;  // only its document-information fields are used
  try {
    try {
      capture = captureSettingsOf(settings);
      capture.pdfA = r.pdfA;
      capture.deskew = r.deskew;
      capture.imageDpi = r.imageDpi;
      capture.readPdfText = r.readPdfText;
    } catch (const ReleaseError& e) {
      throw CannotStart{QStringLiteral("setup file %1: %2").arg(r.setupFile, e.message())};
    }
    format = inputFormat(settings.PDFInputImageType());
    hub.emplace(resolved(settings.WorkgroupHub(), r.setupFile));
    hub->workflow(capture.workflow);
    if (!capture.dictionary.isEmpty()) hub->dictionaryWords(capture.dictionary);
    watched = resolved(settings.WatchedFolder(), r.setupFile);
    prepareOutputFolder(watched);
    sweepLeftOverJobs(watched);
    outputFolder = settings.PDFOutputFolder().trimmed().isEmpty()
                       ? QFileInfo(r.out).absoluteFilePath()
                       : resolved(settings.PDFOutputFolder(), r.setupFile);
    machine = machineFor(settings.PDFOutputMachine());
    batch = loadBatch(r.batchFile);
    prepareReleaseFolder(r.out, r.replace);
    hub->registerWatchedFolder(watched);
  } catch (const CannotStart& e) {
    sayLine(stderr, e.message);
    return kCannotStart;
  } catch (const ReleaseError& e) {
    sayLine(stderr, e.message());
    return kCannotStart;
  }
  fields.title = zan::release::documentField(settings, zan::DocField::Title);
  fields.subject = zan::release::documentField(settings, zan::DocField::Subject);
  fields.author = zan::release::documentField(settings, zan::DocField::Author);
  fields.keywords = zan::release::documentField(settings, zan::DocField::Keywords);

  const WatchedFolder folder(watched);
  const QString prefix = jobPrefix(batch.name);
  const qint64 pixelLimit = PixelAllowance(r.pixelBudget).pageLimit();
  std::vector<Job> jobs(batch.documents.size());
  for (std::size_t d = 0; d < batch.documents.size(); ++d) {
    Job& job = jobs[d];
    if (!stopRequested().isEmpty()) {
      job.state = QStringLiteral("failed");
      job.failure = stoppedFailure(stopRequested());
      job.information = resolveDocumentInformation(fields, batch, batch.documents[d]);
      continue;
    }
    job.information = resolveDocumentInformation(fields, batch, batch.documents[d]);
    JobTicket ticket;
    ticket.job = QStringLiteral("%1-%2").arg(prefix).arg(d + 1, 4, 10, QLatin1Char('0'));
    ticket.batch = batch.name;
    ticket.document = static_cast<int>(d + 1);
    ticket.machine = machine;
    ticket.pdf = QDir(outputFolder).filePath(ticket.job + QStringLiteral(".pdf"));
    ticket.settings = capture;
    ticket.information = job.information;
    ticket.releasedBy = QSysInfo::machineHostName();
    ticket.releasedAt = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    try {
      folder.submit(ticket, [&](int staging, const QString& path) {
        const QStringList pages = writePages(batch.documents[d], format, staging, path, pixelLimit);
        job.pages = static_cast<int>(pages.size());
        return pages;
      });
      job.name = ticket.job;
      job.pdf = ticket.pdf;
      job.state = QStringLiteral("submitted");
    } catch (const ReleaseError& e) {
      job.state = QStringLiteral("failed");
      job.failure = e.message();
    } catch (const Stopped&) {
      job.state = QStringLiteral("failed");
      job.failure = stoppedFailure(stopRequested());
    }
  }

  if (settings.PDFWaitForStatus() && stopRequested().isEmpty()) {
    ProgressBar bar(ownMessages(), ownMessagesFd(), !r.quiet && isatty(ownMessagesFd()),
                    "documents");
    const qint64 deadline = static_cast<qint64>(r.statusTimeout * 1000);
    int waiting = 0;
    do {
      waiting = 0;
      int finished = 0;
      for (Job& job : jobs) {
        if (job.state != QLatin1String("submitted")) {
          ++finished;
          continue;
        }
        if (const auto status = folder.status(job.name)) {
          job.state = status->done ? QStringLiteral("released") : QStringLiteral("failed");
          job.failure = status->reason;
          job.document = status->document;
          folder.removeStatus(job.name);
          ++finished;
        } else {
          ++waiting;
        }
      }
      bar.update(finished, static_cast<int>(jobs.size()));
      if (waiting > 0 && clock.elapsed() < deadline) QThread::msleep(100);
    } while (waiting > 0 && clock.elapsed() < deadline && stopRequested().isEmpty());
    bar.finish();
    for (Job& job : jobs) {
      if (job.state != QLatin1String("submitted") || !stopRequested().isEmpty()) continue;
      const QString late = QStringLiteral("no status after %1 s").arg(r.statusTimeout);
      if (QFileInfo(job.pdf).isFile()) {
        // The service made the PDF but could not write its status (a full watched folder): the
        // document is released, and must not be released again.
        job.state = QStringLiteral("released");
        job.information.warnings << late + QStringLiteral(
                                               "; the hub service made the PDF but could "
                                               "not write its status");
      } else if (settings.PDFDeleteHungDoc() && folder.withdraw(job.name)) {
        job.state = QStringLiteral("failed");
        job.failure = late + QStringLiteral("; withdrawn from the watched folder");
      } else if (const auto status = folder.status(job.name)) {  // finished meanwhile
        job.state = status->done ? QStringLiteral("released") : QStringLiteral("failed");
        job.failure = status->reason;
        job.document = status->document;
        folder.removeStatus(job.name);
      } else {
        job.state = QStringLiteral("pending");
        job.failure =
            late + (settings.PDFDeleteHungDoc() ? QStringLiteral("; it is being published")
                                                : QStringLiteral("; left in the watched folder"));
      }
    }
  }

  const QString stopped = stopRequested();
  int exitCode = stopped.isEmpty() ? kAllReleased : kSomeFailed;
  int released = 0;
  for (std::size_t d = 0; d < jobs.size(); ++d) {
    const Job& job = jobs[d];
    if (!r.quiet)
      for (const QString& w : job.information.warnings)
        sayLine(stderr, QStringLiteral("document %1: warning: %2").arg(d + 1).arg(w));
    if (job.state == QLatin1String("failed")) {
      sayLine(stderr, QStringLiteral("document %1 not released: %2").arg(d + 1).arg(job.failure));
      exitCode = kSomeFailed;
    } else if (job.state == QLatin1String("pending")) {
      sayLine(
          stderr,
          QStringLiteral("document %1 pending (job %2): %3").arg(d + 1).arg(job.name, job.failure));
      exitCode = kSomeFailed;
    } else {
      ++released;
    }
  }
  const QString reportPath = QDir(r.out).filePath(QStringLiteral("release-report.json"));
  try {
    writeFileAtomically(reportPath, reportOf(batch, jobs, clock.elapsed() / 1000.0));
  } catch (const ReleaseError& e) {
    sayLine(stderr, e.message());
    exitCode = kSomeFailed;
  }
  if (!r.quiet)
    std::printf("%s%s %d of %zu documents through the hub %s into %s; report: %s\n",
                stopped.isEmpty() ? "" : qPrintable(QStringLiteral("Stopped (%1). ").arg(stopped)),
                settings.PDFWaitForStatus() ? "Released" : "Submitted", released, jobs.size(),
                qPrintable(hub->path()), qPrintable(QDir::toNativeSeparators(outputFolder)),
                qPrintable(reportPath));
  return exitCode;
}
