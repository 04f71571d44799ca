#pragma once
// The hub service: watches the watched folders registered in a workgroup hub (inotify through
// QFileSystemWatcher, and a periodic rescan for network shares), offers their waiting jobs to
// the workers, keeps its heartbeat in each folder, takes over the jobs of services that
// stopped beating, and stops cleanly: the pages in progress are finished, the unfinished jobs
// go back to waiting.

#include "hub/hub_folder.h"
#include "hub/job_runner.h"
#include "hub/watched_folder.h"
#include "service_log.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <map>
#include <memory>

struct ServiceOptions {
  QString hub;
  QString machine;
  int jobs = 1;
  bool once = false;
  double staleAfter = 120;  // seconds without a heartbeat after which a service counts as dead
  double rescan = 10;       // seconds between full scans
};

class HubService final : public QObject {
  Q_OBJECT
 public:
  // Opens the hub; throws ReleaseError when it is no workgroup hub.
  HubService(const ServiceOptions& options, ServiceLog& log);
  ~HubService() override;

  // Starts serving. With `once`, the service stops by itself when the jobs there at the start
  // are done; `finished` is emitted once it has stopped.
  void start();
  // Finishes the pages in progress, puts the unfinished jobs back, leaves the folders.
  void stop();

 signals:
  void finished();

 private:
  void scan(bool full);
  void beat();

  ServiceOptions options_;
  ServiceLog& log_;
  zan::hub::HubFolder hub_;
  QString service_;
  std::unique_ptr<zan::hub::JobRunner> runner_;
  std::map<QString, std::unique_ptr<zan::hub::ServiceClaims>> folders_;
  QSet<QString> unusable_;  // watched folders reported as unusable
  QFileSystemWatcher watcher_;
  QTimer soon_, rescan_, heartbeat_, idle_;
  bool stopped_ = false;
};
