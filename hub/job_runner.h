#pragma once
// The hub service's workers: they claim waiting jobs and process their pages (several jobs at a
// time when there are more workers than pages); a publisher thread writes each finished job's
// PDF and then its status while the workers go on. A worker claims a job only when no claimed
// job has a page left to start, so that a service never holds more jobs than it works on.

#include "hub/hub_folder.h"
#include "hub/watched_folder.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace zan::hub {

// What the service logs of a job.
struct JobOutcome {
  QString job;
  int pages = 0;
  double seconds = 0;
  bool done = false;
  QString detail;        // done: the PDF; failed: the reason; dropped: why
  bool dropped = false;  // withdrawn or taken over meanwhile: neither done nor failed here
};

struct RunnerSettings {
  int workers = 1;
  QString machine;                                // jobs for another machine are left alone
  std::function<void(const JobOutcome&)> report;  // called on a worker thread
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
  // From now on the workers end once nothing is offered and every claimed job is finished.
  void finishWhenIdle();
  // True when every worker has ended.
  bool finished() const;
  // Each worker finishes the page it is on; then the claimed jobs that are not finished go back
  // to waiting. Returns, once every worker has ended, the jobs put back.
  QStringList stop();

  // Whether a ticket's machine is this service's: empty, or the same name without regard to
  // case (a full name and its first label match: "scan1" and "scan1.example.org").
  static bool isFor(const QString& ticketMachine, const QString& machine);

 private:
  struct Job;
  void work();
  void publishFinished();
  // Claims and reads the offered job: nothing when it is for another machine or another service
  // was first; a job that carries its failure when it cannot be made.
  std::unique_ptr<Job> start(const JobOffer& offer);
  void publish(std::unique_ptr<Job> job);

  const HubFolder& hub_;
  RunnerSettings settings_;
  QTemporaryDir wordsFolder_;  // the dictionaries' words as recognition reads them
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<JobOffer> offers_;
  std::set<QString> foreign_;  // "<folder>/<job>" of jobs for another machine
  std::vector<std::unique_ptr<Job>> active_;
  std::deque<std::unique_ptr<Job>> finished_;  // waiting for the publisher
  bool stopping_ = false, draining_ = false, published_ = false;
  int running_ = 0;  // workers that have not ended
  std::vector<std::thread> workers_;
  std::thread publisher_;
};

}  // namespace zan::hub
