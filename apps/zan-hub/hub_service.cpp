#include "hub_service.h"

#include "release/release_error.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

using namespace zan::hub;

namespace {

QString pagesText(int pages) {
  return pages == 1 ? QStringLiteral("1 page") : QStringLiteral("%1 pages").arg(pages);
}

}  // namespace

HubService::HubService(const ServiceOptions& options, ServiceLog& log)
    : options_(options), log_(log), hub_(options.hub), service_(newServiceName(options.machine)) {
  soon_.setSingleShot(true);
  soon_.setInterval(50);  // a burst of changes gives one scan
  // With --once, only the jobs there at the start are offered.
  connect(&soon_, &QTimer::timeout, this, [this] {
    if (!options_.once) scan(false);
  });
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { soon_.start(); });
  rescan_.setInterval(static_cast<int>(options_.rescan * 1000));
  connect(&rescan_, &QTimer::timeout, this, [this] { scan(true); });
  heartbeat_.setInterval(std::max(100, static_cast<int>(options_.staleAfter * 1000 / 4)));
  connect(&heartbeat_, &QTimer::timeout, this, &HubService::beat);
  idle_.setInterval(50);
  connect(&idle_, &QTimer::timeout, this, [this] {
    if (runner_->finished()) stop();
  });
}

HubService::~HubService() {
  stop();
}

void HubService::start() {
  RunnerSettings settings;
  settings.workers = options_.jobs;
  settings.machine = options_.machine;
  settings.report = [this](const JobOutcome& o) {
    const QString head = QStringLiteral("job %1: %2, %3 s, ")
                             .arg(o.job, pagesText(o.pages))
                             .arg(o.seconds, 0, 'f', 2);
    if (o.dropped)
      log_.write(ServiceLog::Warning, head + QStringLiteral("dropped: ") + o.detail);
    else if (o.done)
      log_.write(ServiceLog::Info, head + QStringLiteral("done: ") + o.detail);
    else
      log_.write(ServiceLog::Error, head + QStringLiteral("failed: ") + o.detail);
  };
  runner_ = std::make_unique<JobRunner>(hub_, settings);
  log_.write(ServiceLog::Info,
             QStringLiteral("serving the workgroup hub %1 as %2 with %3 worker%4%5")
                 .arg(hub_.path(), service_)
                 .arg(options_.jobs)
                 .arg(options_.jobs == 1 ? QString() : QStringLiteral("s"),
                      options_.once ? QStringLiteral(", until the jobs waiting now are done")
                                    : QString()));
  watcher_.addPath(hub_.path());
  scan(true);
  if (options_.once) {
    runner_->finishWhenIdle();
    idle_.start();
  } else {
    rescan_.start();
  }
  heartbeat_.start();
}

void HubService::scan(bool full) {
  if (stopped_) return;
  if (QFileInfo::exists(hub_.registryFolder()) &&
      !watcher_.directories().contains(hub_.registryFolder()))
    watcher_.addPath(hub_.registryFolder());
  for (const QString& folder : hub_.watchedFolders()) {
    if (folders_.count(folder)) continue;
    auto claims = std::make_unique<ServiceClaims>(folder, service_);
    if (!QFileInfo(folder).isDir() || !claims->beat()) {
      if (!unusable_.contains(folder))
        log_.write(ServiceLog::Warning,
                   QStringLiteral("the watched folder %1 is missing or cannot be written; "
                                  "looking again at the next scan")
                       .arg(folder));
      unusable_.insert(folder);
      continue;
    }
    unusable_.remove(folder);
    watcher_.addPath(folder);
    log_.write(ServiceLog::Info, QStringLiteral("watching %1").arg(folder));
    folders_.emplace(folder, std::move(claims));
    full = true;
  }
  std::vector<JobOffer> offers;
  for (auto& [folder, claims] : folders_) {
    if (full) {
      for (const QString& job : claims->folder().takeOverStale(service_, options_.staleAfter))
        log_.write(ServiceLog::Warning,
                   QStringLiteral("job %1: its service stopped beating; back to waiting").arg(job));
    }
    for (const QString& job : claims->folder().waitingJobs()) offers.push_back({claims.get(), job});
  }
  runner_->offer(std::move(offers));
}

void HubService::beat() {
  for (auto& [folder, claims] : folders_)
    if (!claims->beat())
      log_.write(ServiceLog::Warning,
                 QStringLiteral("cannot touch the heartbeat in %1").arg(folder));
}

void HubService::stop() {
  if (stopped_ || !runner_) return;
  stopped_ = true;
  idle_.stop();
  rescan_.stop();
  soon_.stop();
  if (!options_.once || !runner_->finished())
    log_.write(ServiceLog::Info, QStringLiteral("stopping: finishing the pages in progress"));
  for (const QString& job : runner_->stop())
    log_.write(ServiceLog::Info, QStringLiteral("job %1: not finished; back to waiting").arg(job));
  heartbeat_.stop();
  for (auto& [folder, claims] : folders_) claims->leave();
  log_.write(ServiceLog::Info, QStringLiteral("stopped"));
  emit finished();
}
