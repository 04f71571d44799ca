#pragma once
// The hub service: watches the watched folders registered in a workgroup hub (inotify through
// QFileSystemWatcher, and a periodic rescan for network shares), serves those below its watched
// roots, offers their waiting jobs to the workers, keeps its heartbeat in each folder, takes
// over the jobs of services that stopped beating, and stops cleanly: the pages in progress are
// finished (within --stop-timeout), the unfinished jobs go back to waiting.

#include "hub/hub_folder.h"
#include "hub/job_runner.h"
#include "hub/service_claims.h"
#include "hub/service_roots.h"
#include "service_log.h"
#include "service_options.h"

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QTimer>

#include <map>
#include <memory>

class HubService final : public QObject {
  Q_OBJECT
 public:
  // Opens the hub and the roots; throws ReleaseError when the hub is no workgroup hub or a root
  // cannot be opened.
  HubService(const ServiceOptions& options, ServiceLog& log);
  ~HubService() override;

  // Starts serving. With `once`, the service stops by itself when the jobs there at the start
  // are done; `finished` is emitted once it has stopped.
  void start();
  // Finishes the pages in progress, puts the unfinished jobs back, leaves the folders. A page
  // still in progress after --stop-timeout is abandoned: its job goes back and the process ends.
  void stop();

 signals:
  void finished();

 private:
  struct Served {
    std::unique_ptr<zan::hub::ServiceClaims> claims;
    bool refused = false;  // its state folder was replaced: no longer served
  };
  void scan(bool full);
  void serve(const QString& folder);
  void beat();
  // Logs `line` once for `folder` (again only when it changes).
  void logOnce(const QString& folder, ServiceLog::Priority priority, const QString& line);

  ServiceOptions options_;
  ServiceLog& log_;
  zan::hub::HubFolder hub_;
  zan::hub::ServiceRoots roots_;
  QString service_;
  std::unique_ptr<zan::hub::JobRunner> runner_;
  std::map<QString, Served> folders_;
  QHash<QString, QString> told_;  // what was logged of a folder not served
  QFileSystemWatcher watcher_;
  QTimer soon_, rescan_, heartbeat_, idle_;
  bool stopped_ = false;
};
