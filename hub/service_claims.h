#pragma once
// One service's hold on one watched folder, all through open folder descriptors: nothing in the
// folder is reached through a symbolic link, and nothing outside it is reached at all. The state
// folder .zan-hub (watched_folder.h) is created by the services and must be theirs: a state
// folder, or a part of it, that is a link, not a folder, or owned by another user than this
// service's makes the service refuse the whole watched folder and touch nothing in it.

#include "hub/job_ticket.h"
#include "release/file_access.h"

#include <QString>
#include <QStringList>

#include <sys/types.h>

namespace zan::hub {

class ServiceClaims {
 public:
  // `folder` is the watched folder, open (beneath a watched root), shown as `path`. Opens its
  // state folder, creating it and this service's folder when missing. Throws ReleaseError
  // naming what is wrong; nothing is then created or changed.
  ServiceClaims(release::Fd folder, const QString& path, const QString& service);
  const QString& path() const { return path_; }
  const QString& service() const { return service_; }

  // Touches the heartbeat. False, with the reason, when the folder must no longer be served
  // (its state folder was replaced) or the heartbeat cannot be touched.
  bool beat(QString* problem = nullptr);

  // -- Jobs waiting in the watched folder.
  // The waiting jobs with a ticket, in name order (the release step's names sort by release
  // time). Entries that are no folder (a link named x.job) are no jobs.
  QStringList waitingJobs() const;
  // The ticket of a waiting job. Throws ReleaseError with the reason.
  QByteArray waitingTicket(const QString& job) const;
  // Moves the waiting job into this service's folder; false when another service was first.
  bool claim(const QString& job);

  // -- Jobs this service holds.
  // The claimed job's folder; invalid when the job was withdrawn or taken over meanwhile.
  release::Fd claimedFolder(const QString& job) const;
  bool isClaimed(const QString& job) const;
  // Marks the claimed job as being published; false when it was withdrawn or taken over
  // meanwhile, and then the job must be dropped.
  bool startPublishing(const QString& job);
  // The folder of a job being published (or recovered: kPublishedSuffix).
  release::Fd publishingFolder(const QString& job, const QString& suffix) const;
  // Marks a job whose PDF is made but whose status could not be written, for the next service.
  bool markPublished(const QString& job);
  // Removes the finished job (being published, or published) with all it holds.
  void finish(const QString& job, const QString& suffix);
  // Gives a claimed job (or one being published) back to waiting; false when it is no longer
  // this service's.
  bool putBack(const QString& job, const QString& suffix = QString());

  // Writes the job's status, flushed to the disk with its folder. Throws ReleaseError.
  void writeStatus(const JobStatus& status) const;

  // Takes the jobs of every other service whose heartbeat stood still for more than
  // `staleAfterSeconds`: both times come from the file system (the change time it gave the
  // other heartbeat, and the one it just gave this service's own), so that the machines'
  // clocks do not matter. Claimed jobs and jobs being published go back to waiting; jobs
  // marked published move into this service's folder and are returned in `published`.
  // Returns the jobs put back.
  QStringList takeOverStale(double staleAfterSeconds, QStringList* published);

  // Removes the heartbeat and this service's folder (when no job is left in it).
  void leave();

 private:
  release::Fd folder_, state_, services_, own_, status_, heartbeat_;
  QString path_, service_;
  dev_t stateDevice_ = 0;
  ino_t stateInode_ = 0;
};

// A name for this service that no other service of any machine shares.
QString newServiceName(const QString& machine);

}  // namespace zan::hub
