#include "release/release_run.h"

#include "release/file_access.h"
#include "release/output_file.h"
#include "release/page_image.h"
#include "release/page_pipeline.h"
#include "release/pdf_archive.h"
#include "release/pdf_builder.h"
#include "release/pdf_text.h"
#include "release/recognizer.h"
#include "release/release_error.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace zan::release {
namespace {

using Clock = std::chrono::steady_clock;

// What a worker delivers for a page it did not start because the release stops.
const QString kNotStarted = QStringLiteral("not started: the release stops");

struct PageJob {
  std::size_t document = 0;
  PageSource source;
  qint64 pixels = 0;  // as its file's header declares
};

QString pageLabel(const PageSource& page) {
  const QString name = printable(QFileInfo(page.path).fileName());
  if (page.pageCount == 1) return name;
  return QStringLiteral("%1, page %2 of %3").arg(name).arg(page.index + 1).arg(page.pageCount);
}

// The pages of every document, or the reason a document cannot start.
struct Plan {
  std::vector<PageJob> jobs;
  std::vector<std::size_t> firstJob, jobCount;
  std::vector<QString> failure;
};

Plan plan(const Batch& batch, qint64 pixelLimit) {
  Plan p;
  const std::size_t n = batch.documents.size();
  p.firstJob.assign(n, 0);
  p.jobCount.assign(n, 0);
  p.failure.assign(n, QString());
  for (std::size_t d = 0; d < n; ++d) {
    std::vector<PageJob> pages;
    for (const QString& path : batch.documents[d].pages) {
      try {
        const std::vector<qint64> pixels = PageFile::read(path).checkedPixels(pixelLimit);
        const int count = static_cast<int>(pixels.size());
        for (int i = 0; i < count; ++i) pages.push_back({d, {path, i, count}, pixels[i]});
      } catch (const ReleaseError& e) {
        p.failure[d] = pageFailure(pages.size() + 1, {path, 0, 1}, e.message());
        break;
      }
    }
    if (!p.failure[d].isEmpty()) continue;
    p.firstJob[d] = p.jobs.size();
    p.jobCount[d] = pages.size();
    p.jobs.insert(p.jobs.end(), pages.begin(), pages.end());
  }
  return p;
}

// The pages' results as the workers deliver them.
class PageResults {
 public:
  PageResults(const Plan& plan, std::size_t documents)
      : plan_(plan),
        results_(plan.jobs.size()),
        errors_(plan.jobs.size()),
        done_(plan.jobs.size(), false),
        documentFailed_(documents) {}

  // Worker side: the next page to process, or nothing when all are taken or the release stops.
  std::optional<std::size_t> take(const ReleaseControl& control) {
    if (control.stopped && !control.stopped().isEmpty()) return std::nullopt;
    const std::size_t i = next_++;
    if (i >= plan_.jobs.size()) return std::nullopt;
    return i;
  }
  bool documentFailed(std::size_t job) const {
    return documentFailed_[plan_.jobs[job].document].load();
  }
  void deliver(std::size_t job, std::optional<PageResult> result, const QString& error) {
    if (!error.isEmpty()) documentFailed_[plan_.jobs[job].document] = true;
    const std::lock_guard<std::mutex> lock(mutex_);
    results_[job] = std::move(result);
    errors_[job] = error;
    done_[job] = true;
    ++doneCount_;
    changed_.notify_all();
  }

  // Releasing side: waits until every page of document `d` is done, reporting progress. False
  // when the release stops before they are.
  bool awaitDocument(std::size_t d, const ReleaseControl& control) {
    std::unique_lock<std::mutex> lock(mutex_);
    const auto complete = [&] {
      for (std::size_t j = plan_.firstJob[d]; j < plan_.firstJob[d] + plan_.jobCount[d]; ++j)
        if (!done_[j]) return false;
      return true;
    };
    while (!complete()) {
      if (control.stopped && !control.stopped().isEmpty()) return false;
      changed_.wait_for(lock, std::chrono::milliseconds(200));
      if (control.progress) {
        const int done = static_cast<int>(doneCount_);
        lock.unlock();
        control.progress(done, static_cast<int>(plan_.jobs.size()));
        lock.lock();
      }
    }
    return true;
  }
  // After awaitDocument: whether a page of the document was not started because the release
  // stops.
  bool stoppedBefore(std::size_t d) const {
    for (std::size_t j = plan_.firstJob[d]; j < plan_.firstJob[d] + plan_.jobCount[d]; ++j)
      if (errors_[j] == kNotStarted) return true;
    return false;
  }
  // After awaitDocument: the first failure among the document's pages, or its results.
  QString failureOf(std::size_t d) const {
    for (std::size_t j = plan_.firstJob[d]; j < plan_.firstJob[d] + plan_.jobCount[d]; ++j)
      if (!errors_[j].isEmpty())
        return pageFailure(j - plan_.firstJob[d] + 1, plan_.jobs[j].source, errors_[j]);
    return {};
  }
  const PageResult& result(std::size_t job) const { return *results_[job]; }
  void release(std::size_t d) {
    for (std::size_t j = plan_.firstJob[d]; j < plan_.firstJob[d] + plan_.jobCount[d]; ++j)
      results_[j].reset();
  }
  int doneCount() {
    const std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(doneCount_);
  }

 private:
  const Plan& plan_;
  std::atomic<std::size_t> next_{0};
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::optional<PageResult>> results_;
  std::vector<QString> errors_;
  std::vector<bool> done_;
  std::size_t doneCount_ = 0;
  std::vector<std::atomic<bool>> documentFailed_;
};

void work(PageResults& results, const Plan& plan, const ReleaseOptions& options,
          const ReleaseControl& control, PixelAllowance& allowance) {
  Recognizer recognizer(options.language.model, options.userWordsFile);
  const auto stopping = [&] { return control.stopped && !control.stopped().isEmpty(); };
  while (const auto job = results.take(control)) {
    if (results.documentFailed(*job)) {  // a page of its document failed already
      results.deliver(*job, std::nullopt, QStringLiteral("not processed"));
      continue;
    }
    // The page waits until its pixels fit beside the pages the other workers hold.
    const PixelAllowance::Share share = allowance.take(plan.jobs[*job].pixels, stopping);
    if (stopping()) {
      results.deliver(*job, std::nullopt, kNotStarted);
      continue;
    }
    try {
      results.deliver(*job, processPage(plan.jobs[*job].source, options, recognizer), QString());
    } catch (const ReleaseError& e) {
      results.deliver(*job, std::nullopt, e.message());
    } catch (const std::exception& e) {
      results.deliver(*job, std::nullopt, QString::fromLocal8Bit(e.what()));
    }
  }
}

// Why page `page` (1-based) has the size it has when its image states an implausible resolution.
QString resolutionWarning(std::size_t page, const PageSource& source, const PageResult& r) {
  const int stated = r.resolution.stated;
  return QStringLiteral(
             "page %1 (%2) states %3 dpi, which makes a page of %4 x %5 inches: taken as %6 dpi "
             "(--image-dpi gives the right one)")
      .arg(page)
      .arg(pageLabel(source))
      .arg(stated)
      .arg(r.resolution.dpi * r.width / 72.0 / stated, 0, 'f', 1)
      .arg(r.resolution.dpi * r.height / 72.0 / stated, 0, 'f', 1)
      .arg(r.resolution.dpi);
}

}  // namespace

QString stoppedFailure(const QString& why) {
  return QStringLiteral("the release was stopped (%1) before this document was done").arg(why);
}

QString pageFailure(std::size_t page, const PageSource& source, const QString& message) {
  return QStringLiteral("page %1 (%2): %3").arg(page).arg(pageLabel(source), message);
}

DocumentReport reportDocument(DocumentReport report, const std::vector<const PageResult*>& pages,
                              const std::vector<PageSource>& sources) {
  for (std::size_t i = 0; i < pages.size(); ++i) {
    const PageResult& r = *pages[i];
    report.pages.push_back({sources[i].path, sources[i].index, r.orientationDetected, r.orientation,
                            r.orientationConfidence, orientationReasonName(r.orientationReason),
                            r.rotation, static_cast<int>(r.words.size()), r.resolution,
                            r.kept.has_value()});
    if (r.resolution.source == ResolutionSource::Implausible)
      report.information.warnings << resolutionWarning(i + 1, sources[i], r);
    for (const PlacedWord& w : r.words)
      if (!w.reasons.isEmpty())
        report.suspects.push_back(
            {static_cast<int>(i + 1), w.box, w.text, w.confidence, w.reasons});
  }
  return report;
}

QString statusName(DocumentStatus status) {
  static const char* const kNames[] = {"released", "failed", "pending", "submitted"};
  return QLatin1String(kNames[static_cast<int>(status)]);
}

DocumentStatus DocumentReport::status() const {
  if (withService) return failure.isEmpty() ? DocumentStatus::Submitted : DocumentStatus::Pending;
  return failure.isEmpty() ? DocumentStatus::Released : DocumentStatus::Failed;
}

int ReleaseReport::count(DocumentStatus status) const {
  return static_cast<int>(std::count_if(documents.begin(), documents.end(),
                                        [status](const auto& d) { return d.status() == status; }));
}

QString documentFileName(int number) {
  return QStringLiteral("document-%1.pdf").arg(number, 4, 10, QLatin1Char('0'));
}

void silenceLibraryMessages() {
  silenceImageLibraryMessages();
  silencePdfLibraryMessages();
}

void checkReadyToRelease(const ReleaseOptions& options, const QString& outputFolder) {
  checkRecognitionReady(options);
  prepareOutputFolder(outputFolder);
}

void checkRecognitionReady(const ReleaseOptions& options) {
  QStringList models, purposes;
  if (options.recognises()) {
    models << options.language.model;
    purposes << options.language.name;
  }
  if (options.detectsOrientation()) {
    models << kOrientationModel;
    purposes << QStringLiteral("orientation detection");
  }
  const QStringList missing = missingLanguagePacks(models);
  if (!missing.isEmpty()) {
    QStringList what;
    for (qsizetype i = 0; i < models.size(); ++i)
      if (missing.contains(languagePackage(models[i]))) what << purposes[i];
    throw ReleaseError(QStringLiteral("the language data for %1 is missing from %2: install the "
                                      "Debian package%3 %4")
                           .arg(what.join(QStringLiteral(" and ")), tessdataFolder(),
                                missing.size() > 1 ? QStringLiteral("s") : QString(),
                                missing.join(QLatin1Char(' '))));
  }
  if (options.standard == PdfStandard::PdfA2b && srgbProfileFile().isEmpty())
    throw ReleaseError(QStringLiteral("the sRGB colour profile for PDF/A is missing: install the "
                                      "Debian package %1")
                           .arg(kSrgbProfilePackage));
  if (options.recognises() && !QFileInfo(textFontFile()).isReadable())
    throw ReleaseError(QStringLiteral("the font %1 is missing: install the Debian package "
                                      "fonts-dejavu-core")
                           .arg(textFontFile()));
}

ReleaseReport releaseBatch(const Batch& batch, const ReleaseOptions& options,
                           const QString& outputFolder, const ReleaseControl& control) {
  const Clock::time_point start = Clock::now();
  PixelAllowance allowance(control.pixelBudget);
  const Plan p = plan(batch, allowance.pageLimit());
  PageResults results(p, batch.documents.size());
  const std::size_t threads =
      std::min<std::size_t>(static_cast<std::size_t>(std::max(control.jobs, 1)), p.jobs.size());
  std::vector<std::thread> workers;
  for (std::size_t t = 0; t < threads; ++t)
    workers.emplace_back(work, std::ref(results), std::cref(p), std::cref(options),
                         std::cref(control), std::ref(allowance));

  ReleaseReport report;
  report.batchName = batch.name;
  report.pageCount = static_cast<int>(p.jobs.size());
  report.jobs = static_cast<int>(std::max<std::size_t>(threads, 1));
  const QDir folder(outputFolder);
  const Fd folderFd = openFolder(outputFolder);
  for (std::size_t d = 0; d < batch.documents.size(); ++d) {
    DocumentReport doc;
    doc.number = static_cast<int>(d + 1);
    doc.information = resolveDocumentInformation(options, batch, batch.documents[d]);
    doc.failure = p.failure[d];
    if (doc.failure.isEmpty()) {
      if (results.awaitDocument(d, control) && !results.stoppedBefore(d))
        doc.failure = results.failureOf(d);
      else
        doc.failure = stoppedFailure(control.stopped());
    }
    if (doc.failure.isEmpty()) {
      std::vector<const PageResult*> pages;
      for (std::size_t j = p.firstJob[d]; j < p.firstJob[d] + p.jobCount[d]; ++j)
        pages.push_back(&results.result(j));
      std::vector<PageSource> sources;
      for (std::size_t j = p.firstJob[d]; j < p.firstJob[d] + p.jobCount[d]; ++j)
        sources.push_back(p.jobs[j].source);
      try {
        const QString name = documentFileName(doc.number);
        if (!folderFd)
          throw ReleaseError(
              QStringLiteral("cannot write %1: %2").arg(folder.filePath(name), errorText(ENOENT)));
        writeFileAt(folderFd.get(), name, buildPdf(pages, options, doc.information), Existing::Keep,
                    folder.filePath(name));
        doc.pdf = name;
        doc = reportDocument(std::move(doc), pages, sources);
      } catch (const ReleaseError& e) {
        doc.failure = e.message();
      }
      results.release(d);
    }
    report.documents.push_back(std::move(doc));
  }
  allowance.wake();  // a worker waiting for pixels sees the stop
  for (std::thread& w : workers) w.join();
  if (control.progress) control.progress(results.doneCount(), report.pageCount);
  report.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return report;
}

}  // namespace zan::release
