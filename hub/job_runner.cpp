#include "hub/job_runner.h"

#include "release/output_file.h"
#include "release/page_image.h"
#include "release/pdf_builder.h"
#include "release/recognizer.h"
#include "release/release_error.h"
#include "release/release_report.h"
#include "release/release_run.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <map>
#include <optional>

namespace zan::hub {
namespace {

using Clock = std::chrono::steady_clock;
using release::ReleaseError;

QByteArray readTicket(const QString& jobFolder) {
  QFile file(QDir(jobFolder).filePath(QStringLiteral("ticket.json")));
  if (!file.open(QIODevice::ReadOnly))
    throw ReleaseError(QStringLiteral("the ticket cannot be read: %1").arg(file.errorString()));
  return file.readAll();
}

// A worker's Tesseract instances, one per language and word list, made on first use.
class RecognizerCache {
 public:
  release::Recognizer& get(const release::ReleaseOptions& options) {
    const QString key = options.language.model + QLatin1Char('\n') + options.userWordsFile;
    auto& r = byKey_[key];
    if (!r) {
      if (byKey_.size() > 4) {  // jobs of many languages: keep the memory bounded
        byKey_.clear();
        return get(options);
      }
      r = std::make_unique<release::Recognizer>(options.language.model, options.userWordsFile);
    }
    return *r;
  }

 private:
  std::map<QString, std::unique_ptr<release::Recognizer>> byKey_;
};

const QString kDropped = QStringLiteral("withdrawn or taken over by another service");

}  // namespace

struct JobRunner::Job {
  ServiceClaims* claims = nullptr;
  QString name;
  Clock::time_point started = Clock::now();
  JobTicket ticket;
  release::ReleaseOptions options;
  std::vector<release::PageSource> pages;
  std::vector<std::optional<release::PageResult>> results;
  std::size_t next = 0, taken = 0, done = 0;
  QString failure;
  bool complete() const { return next == pages.size() && done == taken; }
};

JobRunner::JobRunner(const HubFolder& hub, RunnerSettings settings)
    : hub_(hub), settings_(std::move(settings)) {
  running_ = std::max(settings_.workers, 1);
  for (int i = 0; i < running_; ++i) workers_.emplace_back(&JobRunner::work, this);
  publisher_ = std::thread(&JobRunner::publishFinished, this);
}

JobRunner::~JobRunner() {
  stop();
}

bool JobRunner::isFor(const QString& ticketMachine, const QString& machine) {
  if (ticketMachine.isEmpty() || ticketMachine.compare(machine, Qt::CaseInsensitive) == 0)
    return true;
  const bool oneIsShort =
      !ticketMachine.contains(QLatin1Char('.')) || !machine.contains(QLatin1Char('.'));
  return oneIsShort &&
         ticketMachine.section(QLatin1Char('.'), 0, 0)
                 .compare(machine.section(QLatin1Char('.'), 0, 0), Qt::CaseInsensitive) == 0;
}

void JobRunner::offer(std::vector<JobOffer> offers) {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    offers_.clear();
    for (JobOffer& o : offers)
      if (!foreign_.count(o.claims->folder().waitingFolder(o.job))) offers_.push_back(std::move(o));
  }
  changed_.notify_all();
}

void JobRunner::finishWhenIdle() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    draining_ = true;
  }
  changed_.notify_all();
}

bool JobRunner::finished() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return published_;
}

QStringList JobRunner::stop() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  for (std::thread& w : workers_)
    if (w.joinable()) w.join();
  if (publisher_.joinable()) publisher_.join();  // it publishes what was finished first
  QStringList putBack;
  for (const auto& job : active_)
    if (job->claims->putBack(job->name)) putBack << job->name;
  active_.clear();
  return putBack;
}

void JobRunner::work() {
  RecognizerCache recognizers;
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stopping_) {
    Job* job = nullptr;
    for (const auto& j : active_)
      if (j->next < j->pages.size()) {
        job = j.get();
        break;
      }
    if (job) {
      const std::size_t page = job->next++;
      ++job->taken;
      lock.unlock();
      std::optional<release::PageResult> result;
      QString error;
      if (!QFileInfo::exists(job->claims->claimedFolder(job->name))) {
        error = kDropped;
      } else {
        try {
          result =
              release::processPage(job->pages[page], job->options, recognizers.get(job->options));
        } catch (const ReleaseError& e) {
          error = release::pageFailure(page + 1, job->pages[page], e.message());
        } catch (const std::exception& e) {
          error =
              release::pageFailure(page + 1, job->pages[page], QString::fromLocal8Bit(e.what()));
        }
      }
      lock.lock();
      job->results[page] = std::move(result);
      ++job->done;
      if (!error.isEmpty() && job->failure.isEmpty()) {
        job->failure = error;
        job->next = job->pages.size();  // the job has failed: its other pages are not started
      }
      if (job->complete()) {
        const auto it = std::find_if(active_.begin(), active_.end(),
                                     [job](const auto& j) { return j.get() == job; });
        finished_.push_back(std::move(*it));
        active_.erase(it);
        changed_.notify_all();
      }
      continue;
    }
    if (!offers_.empty()) {
      const JobOffer offer = offers_.front();
      offers_.pop_front();
      lock.unlock();
      std::unique_ptr<Job> started = start(offer);
      lock.lock();
      if (started && started->failure.isEmpty())
        active_.push_back(std::move(started));
      else if (started)  // failed before its first page
        finished_.push_back(std::move(started));
      changed_.notify_all();
      continue;
    }
    if (draining_) break;
    changed_.wait(lock);
  }
  --running_;
  changed_.notify_all();
}

void JobRunner::publishFinished() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    if (!finished_.empty()) {
      std::unique_ptr<Job> job = std::move(finished_.front());
      finished_.pop_front();
      lock.unlock();
      publish(std::move(job));
      lock.lock();
    } else if (running_ == 0) {
      break;
    } else {
      changed_.wait(lock);
    }
  }
  published_ = true;
}

std::unique_ptr<JobRunner::Job> JobRunner::start(const JobOffer& offer) {
  const QString waiting = offer.claims->folder().waitingFolder(offer.job);
  // A job for another machine stays untouched; one whose ticket cannot be read is failed by
  // whichever service claims it first.
  try {
    if (!isFor(parseTicket(readTicket(waiting)).machine, settings_.machine)) {
      const std::lock_guard<std::mutex> lock(mutex_);
      foreign_.insert(waiting);
      return nullptr;
    }
  } catch (const ReleaseError&) {
  }
  if (!offer.claims->claim(offer.job)) return nullptr;  // another service was first

  auto job = std::make_unique<Job>();
  job->claims = offer.claims;
  job->name = offer.job;
  const QString folder = offer.claims->claimedFolder(offer.job);
  try {
    job->ticket = parseTicket(readTicket(folder));
    const CaptureSettings& settings = job->ticket.settings;
    DictionaryWords dictionary;
    if (!settings.dictionary.isEmpty()) {
      dictionary.words = hub_.dictionaryWords(settings.dictionary);
      if (!dictionary.words.isEmpty())
        dictionary.file = userWordsFile(dictionary.words, wordsFolder_.path());
    }
    job->options = captureOptions(settings, hub_.workflow(settings.workflow), dictionary);
    release::checkReadyToRelease(job->options, QFileInfo(job->ticket.pdf).path());
    for (const QString& name : job->ticket.pages) {
      const QString path = QDir(folder).filePath(name);
      int count = 0;
      try {
        count = release::countPages(path);
      } catch (const ReleaseError& e) {
        throw ReleaseError(release::pageFailure(job->pages.size() + 1, {path, 0, 1}, e.message()));
      }
      for (int i = 0; i < count; ++i) job->pages.push_back({path, i, count});
    }
  } catch (const ReleaseError& e) {
    job->failure = e.message();
  }
  if (!job->failure.isEmpty()) {
    job->pages.clear();
    return job;
  }
  job->results.resize(job->pages.size());
  return job;
}

void JobRunner::publish(std::unique_ptr<Job> job) {
  JobOutcome outcome;
  outcome.job = job->name;
  outcome.pages = static_cast<int>(job->pages.size());
  if (!job->claims->startPublishing(job->name)) {
    outcome.dropped = true;
    outcome.detail = kDropped;
    outcome.seconds = std::chrono::duration<double>(Clock::now() - job->started).count();
    if (settings_.report) settings_.report(outcome);
    return;
  }
  JobStatus status;
  status.job = job->name;
  status.service = job->claims->service();
  QString failure = job->failure;
  if (failure.isEmpty()) {
    try {
      std::vector<const release::PageResult*> pages;
      for (const auto& r : job->results) pages.push_back(&*r);
      const JobTicket& t = job->ticket;
      release::writeFileAtomically(t.pdf, release::buildPdf(pages, job->options, t.information));
      release::DocumentReport report;
      report.number = t.document;
      report.pdf = t.pdf;
      report.information = t.information;
      status.document = release::documentJson(release::reportDocument(report, pages, job->pages));
      status.done = true;
      status.pdf = t.pdf;
    } catch (const ReleaseError& e) {
      failure = e.message();
    }
  }
  status.reason = failure;
  status.seconds = std::chrono::duration<double>(Clock::now() - job->started).count();
  outcome.seconds = status.seconds;
  outcome.done = status.done;
  outcome.detail = status.done ? status.pdf : failure;
  try {
    job->claims->folder().writeStatus(status);
  } catch (const ReleaseError& e) {
    outcome.detail += QStringLiteral("; the status cannot be written: ") + e.message();
  }
  job->claims->finish(job->name);
  if (settings_.report) settings_.report(outcome);
}

}  // namespace zan::hub
