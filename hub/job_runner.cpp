#include "hub/job_runner.h"

#include "hub/watched_folder.h"
#include "release/file_access.h"
#include "release/page_file.h"
#include "release/recognizer.h"
#include "release/release_error.h"
#include "release/release_run.h"

#include <QDir>
#include <QSet>

#include <sys/stat.h>
#include <algorithm>
#include <chrono>
#include <map>

namespace zan::hub {
namespace {

using Clock = std::chrono::steady_clock;
using release::ReleaseError;

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

QString offerKey(const JobOffer& o) {
  return o.claims->path() + QLatin1Char('/') + o.job;
}

}  // namespace

JobRunner::JobRunner(const HubFolder& hub, RunnerSettings settings)
    : hub_(hub), settings_(std::move(settings)), allowance_(settings_.pixelBudget) {
  publisher_ = std::make_unique<JobPublisher>(*settings_.roots, settings_.report, settings_.error);
  running_ = std::max(settings_.workers, 1);
  for (int i = 0; i < running_; ++i) workers_.emplace_back(&JobRunner::work, this);
}

JobRunner::~JobRunner() {
  bool abandoned = false;
  stop(24 * 3600, &abandoned);
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
      if (!foreign_.count(offerKey(o))) offers_.push_back(std::move(o));
  }
  changed_.notify_all();
}

void JobRunner::recover(ServiceClaims* claims, const QStringList& jobs) {
  for (const QString& job : jobs) publisher_->recover(claims, job);
}

void JobRunner::finishWhenIdle() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    draining_ = true;
  }
  changed_.notify_all();
}

bool JobRunner::finished() const {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (running_ > 0) return false;
  }
  return publisher_->idle();
}

QStringList JobRunner::stop(double graceSeconds, bool* abandoned, bool* pageAbandoned) {
  const Clock::time_point deadline =
      Clock::now() + std::chrono::milliseconds(static_cast<qint64>(graceSeconds * 1000));
  std::unique_lock<std::mutex> lock(mutex_);
  if (workers_.empty() && !publisher_) return {};
  stopping_ = true;
  changed_.notify_all();
  lock.unlock();
  allowance_.wake();
  lock.lock();
  const bool ended = changed_.wait_until(lock, deadline, [this] { return running_ == 0; });
  lock.unlock();
  for (std::thread& w : workers_) {
    if (ended)
      w.join();
    else
      w.detach();  // on a page past the deadline: the process ends without it
  }
  workers_.clear();
  const bool published = publisher_->finish(ended ? deadline : Clock::now());
  if (abandoned) *abandoned = !ended || !published;
  if (pageAbandoned) *pageAbandoned = !ended;
  QStringList putBack;
  lock.lock();
  for (const auto& job : active_)
    if (job->claims->putBack(job->name)) putBack << job->name;
  if (ended) {
    for (const auto& job : active_) removeCopies(*job);
  } else {
    for (auto& job : active_) job.release();  // a worker past the deadline may still use it
  }
  active_.clear();
  lock.unlock();
  if (!ended || !published) publisher_.release();  // likewise the publisher's thread
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
      {
        // The page waits until its pixels fit beside the other workers' pages.
        const release::PixelAllowance::Share share =
            allowance_.take(job->pixels[page], [this] { return stopping_.load(); });
        if (!job->claims->isClaimed(job->name)) {
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
        publisher_->add(std::move(*it));
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
      if (started && started->failure.isEmpty() && !started->pages.empty())
        active_.push_back(std::move(started));
      else if (started)  // failed before its first page
        publisher_->add(std::move(started));
      changed_.notify_all();
      continue;
    }
    if (draining_) break;
    changed_.wait(lock);
  }
  --running_;
  changed_.notify_all();
}

std::unique_ptr<Job> JobRunner::start(const JobOffer& offer) {
  // A job for another machine stays untouched; one whose ticket cannot be read is failed by
  // whichever service claims it first.
  try {
    if (!isFor(parseTicket(offer.claims->waitingTicket(offer.job)).machine, settings_.machine)) {
      const std::lock_guard<std::mutex> lock(mutex_);
      foreign_.insert(offerKey(offer));
      return nullptr;
    }
  } catch (const ReleaseError&) {
  }
  if (!offer.claims->claim(offer.job)) return nullptr;  // another service was first

  auto job = std::make_unique<Job>();
  job->claims = offer.claims;
  job->name = offer.job;
  try {
    const release::Fd folder = offer.claims->claimedFolder(offer.job);
    if (!folder) throw ReleaseError(QStringLiteral("the job's folder is gone or not a folder"));
    try {
      job->ticket = parseTicket(release::readBeneath(folder.get(), kTicket, {kLongestTicket}));
    } catch (const ReleaseError& e) {
      if (e.message().startsWith(QLatin1String("the ticket"))) throw;
      throw ReleaseError(QStringLiteral("the ticket cannot be read: %1").arg(e.message()));
    }
    settings_.roots->checkPdf(job->ticket.pdf);
    job->options = captureJobOptions(hub_, job->ticket.settings, wordsFolder_.path());
    release::checkRecognitionReady(job->options);
    readPages(*job, folder.get());
  } catch (const ReleaseError& e) {
    job->failure = e.message();
  }
  if (!job->failure.isEmpty()) {
    removeCopies(*job);
    job->pages.clear();
    return job;
  }
  job->results.resize(job->pages.size());
  return job;
}

void JobRunner::readPages(Job& job, int folder) {
  struct stat st {};
  if (::fstat(folder, &st) != 0) throw ReleaseError(release::errorText(errno));
  // The pages must be the job's own: regular files of the user who made the job's folder.
  const release::FileRules rules{release::kPageFileBytes, st.st_uid, true};
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    job.copies = QDir(copiesFolder_.path()).filePath(QStringLiteral("job-%1").arg(++copiesMade_));
  }
  QDir().mkpath(job.copies);
  const release::Fd copies = release::openFolder(job.copies);
  if (!copies)
    throw ReleaseError(QStringLiteral("cannot create the service's folder %1: %2")
                           .arg(job.copies, release::errorText(errno)));
  QSet<QString> copied;
  for (const QString& name : job.ticket.pages) {
    const QString copy = QDir(job.copies).filePath(name);
    try {
      const release::PageFile file(release::readBeneath(folder, name, rules));
      const std::vector<qint64> pixels = file.checkedPixels(allowance_.pageLimit());
      if (!copied.contains(name))
        release::writeFileAt(copies.get(), name, file.bytes(), release::Existing::Keep, copy,
                             false);
      copied.insert(name);
      const int count = static_cast<int>(pixels.size());
      for (int i = 0; i < count; ++i) {
        job.pages.push_back({copy, i, count});
        job.pixels.push_back(pixels[i]);
      }
    } catch (const ReleaseError& e) {
      throw ReleaseError(release::pageFailure(job.pages.size() + 1, {name, 0, 1}, e.message()));
    }
  }
}

}  // namespace zan::hub
