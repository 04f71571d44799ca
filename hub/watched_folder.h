#pragma once
// A watched folder and the moves through which jobs pass it, safe for several services on
// several machines sharing it (every step is one rename within the folder's file system):
//
//   <job>.job/                          a job waiting for a service: its pages and ticket.json
//   .incoming-<job>/                    a job the release step is still writing
//   .zan-hub/services/<service>/        one service's claimed jobs and its heartbeat file:
//       heartbeat, <job>.job/, <job>.publishing/
//   .zan-hub/status/<job>.json          a finished job's status
//
// docs/zan-hub.md describes the protocol.

#include "hub/job_ticket.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace zan::hub {

class WatchedFolder {
 public:
  explicit WatchedFolder(const QString& path);
  const QString& path() const { return path_; }

  // -- The release step.
  // Makes the job appear at once and complete: `writePages` fills a hidden folder and returns
  // the names of the page files in order, the ticket (with those pages) is written into it
  // last, and the folder is renamed to <job>.job. Throws ReleaseError and leaves nothing
  // behind when a step fails.
  void submit(JobTicket ticket,
              const std::function<QStringList(const QString& folder)>& writePages) const;
  // The job's status once a service has written it; a status that cannot be read is a failure
  // that says so.
  std::optional<JobStatus> status(const QString& job) const;
  void removeStatus(const QString& job) const;
  // Takes a job that has no status out of the folder, waiting or claimed. False when there was
  // nothing to take (it is being published, or is gone).
  bool withdraw(const QString& job) const;

  // -- The services.
  // The complete waiting jobs, in name order (the release step's names sort by release time).
  QStringList waitingJobs() const;
  QString waitingFolder(const QString& job) const;
  // Throws ReleaseError.
  void writeStatus(const JobStatus& status) const;
  // Puts the jobs of every other service whose heartbeat is more than `staleAfterSeconds` older
  // than `service`'s own (so that both times come from the same clock, that of the folder's
  // file system) back to waiting, and removes those services' folders. Returns the jobs.
  QStringList takeOverStale(const QString& service, double staleAfterSeconds) const;
  QString serviceFolder(const QString& service) const;
  // .zan-hub: the services' folders, the statuses and what is being removed.
  QString hubArea() const;

 private:
  QString path_;
};

// One service's claims in one watched folder.
class ServiceClaims {
 public:
  ServiceClaims(const QString& watchedFolder, const QString& service);
  const WatchedFolder& folder() const { return folder_; }
  const QString& service() const { return service_; }

  // Touches the heartbeat, creating the service's folder when needed; false when it cannot.
  bool beat();
  // Moves the waiting job into this service's folder; false when another service was first.
  bool claim(const QString& job);
  QString claimedFolder(const QString& job) const;
  // Marks the claimed job as being published; false when it was withdrawn or taken over
  // meanwhile, and then the job must be dropped.
  bool startPublishing(const QString& job);
  QString publishingFolder(const QString& job) const;
  // Removes the published job's folder.
  void finish(const QString& job);
  // Gives a claimed job back to waiting; false when it is no longer this service's.
  bool putBack(const QString& job);
  // Removes the heartbeat and the service's folder (once no job is left in it).
  void leave();

 private:
  WatchedFolder folder_;
  QString service_;
};

// A name for this service that no other service of any machine shares.
QString newServiceName(const QString& machine);

}  // namespace zan::hub
