#pragma once
// The hub service's workers: they claim waiting jobs and process their pages (several jobs at a
// time when there are more workers than pages); the publisher (job_publisher.h) writes each
// finished job's PDF and then its status while the workers go on. A worker claims a job only
// when no claimed job has a page left to start, so that a service never holds more jobs than it
// works on. A job's pages are read from its folder once, when it is claimed (regular files of
// the job's owner, never links, FIFOs or files with further names, each within the size and
// pixel limits), into the service's own copies, which the pipeline then reads.

#include "hub/hub_folder.h"
#include "hub/job.h"
#include "hub/job_publisher.h"
#include "hub/service_claims.h"
#include "hub/service_roots.h"
#include "release/pixel_budget.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace zan::hub {

struct RunnerSettings {
  int workers = 1;
  QString machine;                      // jobs for another machine are left alone
  const ServiceRoots* roots = nullptr;  // where PDFs may be written
  qint64 pixelBudget = release::kProgramPixels;
  std::function<void(const JobOutcome&)> report;  // called on a worker or the publisher thread
  std::function<void(const QString&)> error;      // an error that is no job's outcome
};

// A waiting job that the service has seen.
struct JobOffer {
  ServiceClaims* claims = nullptr;  // of its watched folder; owned by the service
  QString job;
};

class JobRunner {
 public:
  JobRunner(const HubFolder& hub, RunnerSettings settings);
  ~JobRunner();
  JobRunner(const JobRunner&) = delete;
  JobRunner& operator=(const JobRunner&) = delete;

  // The waiting jobs the service sees now; replaces what was offered before.
  void offer(std::vector<JobOffer> offers);
  // Jobs another service marked published before it stopped (ServiceClaims::takeOverStale).
  void recover(ServiceClaims* claims, const QStringList& jobs);
  // From now on the workers end once nothing is offered and every claimed job is finished.
  void finishWhenIdle();
  // True when every worker has ended and everything is published.
  bool finished() const;
  // Each worker finishes the page it is on, and the publisher what it has; then the claimed
  // jobs that are not finished go back to waiting. Waits at most `graceSeconds`: a worker or
  // publisher still busy then is abandoned with its job (the caller must end the process at
  // once, `abandoned` is set). `pageAbandoned` tells whether a worker's page was among them: a
  // job the publisher still held stays marked published (or claimed), for the next service to
  // finish. Returns the jobs put back.
  QStringList stop(double graceSeconds, bool* abandoned = nullptr, bool* pageAbandoned = nullptr);

  // Whether a ticket's machine is this service's: empty, or the same name without regard to
  // case (a full name and its first label match: "scan1" and "scan1.example.org").
  static bool isFor(const QString& ticketMachine, const QString& machine);

 private:
  void work();
  // Claims and reads the offered job: nothing when it is for another machine or another service
  // was first; a job that carries its failure when it cannot be made.
  std::unique_ptr<Job> start(const JobOffer& offer);
  void readPages(Job& job, int folder);

  const HubFolder& hub_;
  RunnerSettings settings_;
  release::PixelAllowance allowance_;
  QTemporaryDir wordsFolder_;   // the dictionaries' words as recognition reads them
  QTemporaryDir copiesFolder_;  // the pages of the jobs in progress
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<JobOffer> offers_;
  std::set<QString> foreign_;  // "<folder>/<job>" of jobs for another machine
  std::vector<std::unique_ptr<Job>> active_;
  std::atomic<bool> stopping_{false};
  bool draining_ = false;
  int running_ = 0;  // workers that have not ended
  unsigned copiesMade_ = 0;
  std::vector<std::thread> workers_;
  std::unique_ptr<JobPublisher> publisher_;
};

}  // namespace zan::hub
