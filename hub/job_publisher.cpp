#include "hub/job_publisher.h"

#include "hub/watched_folder.h"
#include "release/file_access.h"
#include "release/pdf_builder.h"
#include "release/release_error.h"
#include "release/release_report.h"
#include "release/release_run.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>

namespace zan::hub {
namespace {

using release::ReleaseError;

const QString kDropped = QStringLiteral("withdrawn or taken over by another service");

// Whether `name` in `folder` is a PDF this service's user made (a regular file it owns).
bool madeHere(int folder, const QString& name) {
  struct stat st {};
  return ::fstatat(folder, QFile::encodeName(name).constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
         S_ISREG(st.st_mode) && st.st_uid == ::geteuid();
}

bool exists(int folder, const QString& name) {
  struct stat st {};
  return ::fstatat(folder, QFile::encodeName(name).constData(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

}  // namespace

void removeCopies(const Job& job) {
  if (!job.copies.isEmpty()) QDir(job.copies).removeRecursively();
}

JobPublisher::JobPublisher(const ServiceRoots& roots, std::function<void(const JobOutcome&)> report,
                           std::function<void(const QString&)> error)
    : roots_(roots), report_(std::move(report)), error_(std::move(error)) {
  thread_ = std::thread(&JobPublisher::run, this);
}

JobPublisher::~JobPublisher() {
  if (thread_.joinable()) finish(Clock::now() + std::chrono::hours(24));
}

void JobPublisher::add(std::unique_ptr<Job> job) {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back(std::move(job));
  }
  changed_.notify_all();
}

void JobPublisher::recover(ServiceClaims* claims, const QString& job) {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    recoveries_.emplace_back(claims, job);
  }
  changed_.notify_all();
}

bool JobPublisher::idle() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return queue_.empty() && recoveries_.empty() && !busy_;
}

bool JobPublisher::finish(Clock::time_point deadline) {
  std::unique_lock<std::mutex> lock(mutex_);
  finishing_ = true;
  changed_.notify_all();
  if (!changed_.wait_until(lock, deadline, [this] { return ended_; })) {
    lock.unlock();
    thread_.detach();
    return false;
  }
  lock.unlock();
  if (thread_.joinable()) thread_.join();
  return true;
}

void JobPublisher::run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    busy_ = true;
    if (!queue_.empty()) {
      std::unique_ptr<Job> job = std::move(queue_.front());
      queue_.pop_front();
      lock.unlock();
      publish(std::move(job));
      lock.lock();
      continue;
    }
    if (!recoveries_.empty()) {
      const auto [claims, job] = recoveries_.front();
      recoveries_.pop_front();
      lock.unlock();
      recoverNow(claims, job);
      lock.lock();
      continue;
    }
    const Clock::time_point now = Clock::now();
    const bool due = std::any_of(unwritten_.begin(), unwritten_.end(),
                                 [&](const Unwritten& u) { return u.next <= now; });
    if (due || finishing_) {
      lock.unlock();
      retryDue(finishing_);
      lock.lock();
      if (finishing_ && queue_.empty() && recoveries_.empty()) break;
      continue;
    }
    busy_ = false;
    if (unwritten_.empty()) {
      changed_.wait(lock);
    } else {
      Clock::time_point next = unwritten_.front().next;
      for (const Unwritten& u : unwritten_) next = std::min(next, u.next);
      changed_.wait_until(lock, next);
    }
  }
  busy_ = false;
  ended_ = true;
  changed_.notify_all();
}

void JobPublisher::publish(std::unique_ptr<Job> job) {
  JobOutcome outcome;
  outcome.job = job->name;
  outcome.pages = static_cast<int>(job->pages.size());
  if (!job->claims->startPublishing(job->name)) {
    removeCopies(*job);
    outcome.dropped = true;
    outcome.detail = kDropped;
    outcome.seconds = job->seconds();
    if (report_) report_(outcome);
    return;
  }
  JobStatus status;
  status.job = job->name;
  status.service = job->claims->service();
  QString failure = job->failure;
  if (failure.isEmpty()) {
    try {
      const JobTicket& t = job->ticket;
      const ServiceRoots::PdfPlace place = roots_.pdfPlace(t.pdf);
      std::vector<const release::PageResult*> pages;
      for (const auto& r : job->results) pages.push_back(&*r);
      // A PDF is never replaced: one this service's user made is the same job made before (by
      // a service that stopped before its status), anything else is refused.
      if (!madeHere(place.folder.get(), place.name)) {
        if (exists(place.folder.get(), place.name))
          throw ReleaseError(QStringLiteral("a file %1 exists already: the service replaces no "
                                            "file")
                                 .arg(release::printable(t.pdf)));
        release::writeFileAt(place.folder.get(), place.name,
                             release::buildPdf(pages, job->options, t.information),
                             release::Existing::Keep, release::printable(t.pdf));
      }
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
  removeCopies(*job);
  status.reason = failure;
  status.seconds = job->seconds();
  outcome.seconds = status.seconds;
  outcome.done = status.done;
  outcome.detail = status.done ? release::printable(status.pdf) : failure;
  complete({job->claims, job->name, kPublishingSuffix, status, outcome, Clock::now()});
}

void JobPublisher::recoverNow(ServiceClaims* claims, const QString& job) {
  JobOutcome outcome;
  outcome.job = job;
  JobStatus status;
  status.job = job;
  status.service = claims->service();
  try {
    const release::Fd folder = claims->publishingFolder(job, kPublishedSuffix);
    if (!folder) return;
    const JobTicket t = parseTicket(release::readBeneath(folder.get(), kTicket, {kLongestTicket}));
    const ServiceRoots::PdfPlace place = roots_.pdfPlace(t.pdf);
    if (!madeHere(place.folder.get(), place.name)) {  // not made after all: made again
      claims->putBack(job, kPublishedSuffix);
      return;
    }
    status.done = true;
    status.pdf = t.pdf;
    outcome.pages = static_cast<int>(t.pages.size());
    outcome.detail = release::printable(t.pdf) +
                     QStringLiteral(" (made by a service that stopped before writing its status)");
  } catch (const ReleaseError& e) {
    status.reason = e.message();
    outcome.detail = e.message();
  }
  outcome.done = status.done;
  complete({claims, job, kPublishedSuffix, status, outcome, Clock::now()});
}

void JobPublisher::complete(Unwritten item) {
  try {
    item.claims->writeStatus(item.status);
  } catch (const ReleaseError& e) {
    ++item.attempts;
    const int pause = std::min(30, 1 << std::min(item.attempts, 5));
    if (item.attempts == 1 || item.attempts % 10 == 0)
      error_(QStringLiteral("job %1: its status cannot be written (%2); tried %3 time%4, trying "
                            "again in %5 s")
                 .arg(item.job, e.message())
                 .arg(item.attempts)
                 .arg(item.attempts == 1 ? QString() : QStringLiteral("s"))
                 .arg(pause));
    item.next = Clock::now() + std::chrono::seconds(pause);
    const std::lock_guard<std::mutex> lock(mutex_);
    unwritten_.push_back(std::move(item));
    return;
  }
  item.claims->finish(item.job, item.suffix);
  if (report_) report_(item.outcome);
}

void JobPublisher::retryDue(bool all) {
  std::vector<Unwritten> due;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    const Clock::time_point now = Clock::now();
    for (auto it = unwritten_.begin(); it != unwritten_.end();) {
      if (all || it->next <= now) {
        due.push_back(std::move(*it));
        it = unwritten_.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (Unwritten& item : due) complete(std::move(item));
  if (!all) return;
  // Stopping: what still cannot be written is left, marked, for the next service.
  std::vector<Unwritten> left;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    left.swap(unwritten_);
  }
  for (const Unwritten& item : left) {
    if (item.suffix == kPublishingSuffix) item.claims->markPublished(item.job);
    error_(QStringLiteral("job %1: stopping with its status unwritten; its PDF is made and the "
                          "next service writes its status")
               .arg(item.job));
  }
}

}  // namespace zan::hub
