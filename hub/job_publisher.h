#pragma once
// The hub service's publisher: a thread that writes each finished job's PDF (beneath its output
// root, never replacing a file) and then its status, and removes the job only once its status
// is on the disk. A status that cannot be written (a full watched folder) is logged as an error
// and tried again, with longer pauses, while the service runs; the job stays with the service,
// whose heartbeat keeps others off it. A service that stops with a status still unwritten marks
// the job published, and the next service writes its status from the PDF that is there,
// without making it again.

#include "hub/job.h"
#include "hub/service_roots.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace zan::hub {

class JobPublisher {
 public:
  using Clock = std::chrono::steady_clock;
  JobPublisher(const ServiceRoots& roots, std::function<void(const JobOutcome&)> report,
               std::function<void(const QString&)> error);
  ~JobPublisher();
  JobPublisher(const JobPublisher&) = delete;
  JobPublisher& operator=(const JobPublisher&) = delete;

  // A job whose pages are all done, or that failed: its PDF (when done) and status are written.
  void add(std::unique_ptr<Job> job);
  // A job that a stopped service marked published, now in this service's folder.
  void recover(ServiceClaims* claims, const QString& job);
  // True when nothing is queued (statuses that wait to be written again do not count: finish()
  // gives them a last try and leaves them marked for the next service).
  bool idle() const;
  // No job comes any more: publishes what is queued and tries the unwritten statuses until
  // `deadline`, then marks the jobs whose status is still unwritten as published. False when
  // the thread was still busy at the deadline (it is then left running).
  bool finish(Clock::time_point deadline);

 private:
  struct Unwritten {
    ServiceClaims* claims;
    QString job, suffix;
    JobStatus status;
    JobOutcome outcome;
    Clock::time_point next;
    int attempts = 0;
  };
  void run();
  void publish(std::unique_ptr<Job> job);
  void recoverNow(ServiceClaims* claims, const QString& job);
  // Writes the status and removes the job; on failure keeps it for another attempt.
  void complete(Unwritten item);
  void retryDue(bool all);

  const ServiceRoots& roots_;
  std::function<void(const JobOutcome&)> report_;
  std::function<void(const QString&)> error_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::unique_ptr<Job>> queue_;
  std::deque<std::pair<ServiceClaims*, QString>> recoveries_;
  std::vector<Unwritten> unwritten_;
  bool finishing_ = false, ended_ = false, busy_ = false;
  std::thread thread_;
};

}  // namespace zan::hub
