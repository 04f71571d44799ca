#pragma once
// A watched folder as the release step uses it: it submits jobs, reads their statuses and
// withdraws jobs that got none. Several services on several machines may serve it; every step
// is one rename within the folder's file system:
//
//   <job>.job/                          a job waiting for a service: its pages and ticket.json
//   .incoming-<job>/                    a job the release step is still writing
//   .zan-hub/                           the services' state folder (service_claims.h): created
//                                       and owned by the services' user
//       services/<service>/             one service's heartbeat and claimed jobs:
//           heartbeat, <job>.job/, <job>.publishing/, <job>.published/
//       status/<job>.json               a finished job's status
//
// docs/zan-hub.md describes the protocol.

#include "hub/job_ticket.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace zan::hub {

inline const QString kJobSuffix = QStringLiteral(".job");
inline const QString kPublishingSuffix = QStringLiteral(".publishing");
inline const QString kPublishedSuffix = QStringLiteral(".published");
inline const QString kStateFolder = QStringLiteral(".zan-hub");
inline const QString kTicket = QStringLiteral("ticket.json");
// Tickets and statuses are small: anything larger is refused unread.
inline constexpr qint64 kLongestTicket = 1024 * 1024;

// Whether `name` can name a job: 1 to 200 bytes, no control characters, no "/", and not hidden.
bool isJobName(const QString& name);

class WatchedFolder {
 public:
  explicit WatchedFolder(const QString& path);
  const QString& path() const { return path_; }

  // Makes the job appear at once and complete: `writePages` fills a hidden folder (open as
  // `folder`, at `path`) and returns the names of the page files in order; the ticket (with
  // those pages) is written into it last, and the folder is renamed to <job>.job. When the
  // watched folder lets its group write, so does the job's folder, so that a service running as
  // a user of that group can move it and remove it once done. Throws ReleaseError naming the
  // cause (a full folder as "No space left on device") and leaves nothing behind.
  void submit(JobTicket ticket,
              const std::function<QStringList(int folder, const QString& path)>& writePages) const;
  // The job's status once a service has written it; a status that cannot be read is a failure
  // that says so.
  std::optional<JobStatus> status(const QString& job) const;
  // Removes the status once read, where the services' state folder lets this user.
  void removeStatus(const QString& job) const;
  // Takes a job that has no status out of the folder, waiting or (where the state folder lets
  // this user) claimed. False when there was nothing this user could take (it is being
  // published, held by a service of another user, or gone).
  bool withdraw(const QString& job) const;

 private:
  QString path_;
};

}  // namespace zan::hub
