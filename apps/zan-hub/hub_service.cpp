#include "hub_service.h"

#include "release/release_error.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace zan::hub;

namespace {

QString pagesText(int pages) {
  return pages == 1 ? QStringLiteral("1 page") : QStringLiteral("%1 pages").arg(pages);
}

}  // namespace

HubService::HubService(const ServiceOptions& options, ServiceLog& log)
    : options_(options),
      log_(log),
      hub_(options.hub),
      roots_(options.watchedRoots, options.outputRoots),
      service_(newServiceName(options.machine)) {
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
  settings.roots = &roots_;
  settings.pixelBudget = options_.pixelBudget;
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
  settings.error = [this](const QString& line) { log_.write(ServiceLog::Error, line); };
  runner_ = std::make_unique<JobRunner>(hub_, settings);
  log_.write(ServiceLog::Info,
             QStringLiteral("serving the workgroup hub %1 as %2 with %3 worker%4%5")
                 .arg(hub_.path(), service_)
                 .arg(options_.jobs)
                 .arg(options_.jobs == 1 ? QString() : QStringLiteral("s"),
                      options_.once ? QStringLiteral(", until the jobs waiting now are done")
                                    : QString()));
  const auto roots = [](const QStringList& list) {
    return list.isEmpty() ? QStringLiteral("none") : list.join(QStringLiteral(", "));
  };
  log_.write(
      roots_.watchedRoots().isEmpty() || roots_.outputRoots().isEmpty() ? ServiceLog::Warning
                                                                        : ServiceLog::Info,
      QStringLiteral("watched roots: %1; output roots: %2%3")
          .arg(roots(roots_.watchedRoots()), roots(roots_.outputRoots()),
               roots_.watchedRoots().isEmpty()
                   ? QStringLiteral(" (no watched folder is served without one)")
               : roots_.outputRoots().isEmpty() ? QStringLiteral(" (every job fails without one)")
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

void HubService::logOnce(const QString& folder, ServiceLog::Priority priority,
                         const QString& line) {
  if (told_.value(folder) == line) return;
  told_.insert(folder, line);
  log_.write(priority, line);
}

void HubService::serve(const QString& folder) {
  const QString shown = zan::release::printable(folder);
  try {
    zan::release::Fd fd;
    try {
      fd = roots_.openWatchedFolder(folder);
    } catch (const zan::release::ReleaseError& e) {
      // Missing for now, or not this service's to serve: said once, looked at again later.
      logOnce(folder, ServiceLog::Warning,
              QStringLiteral("the watched folder %1 is not served: %2").arg(shown, e.message()));
      return;
    }
    auto claims = std::make_unique<ServiceClaims>(std::move(fd), folder, service_);
    told_.remove(folder);
    watcher_.addPath(folder);
    log_.write(ServiceLog::Info, QStringLiteral("watching %1").arg(shown));
    folders_[folder].claims = std::move(claims);
  } catch (const zan::release::ReleaseError& e) {
    logOnce(folder, ServiceLog::Error,
            QStringLiteral("the watched folder %1 is refused and left untouched: %2")
                .arg(shown, e.message()));
  }
}

void HubService::scan(bool full) {
  if (stopped_) return;
  if (QFileInfo::exists(hub_.registryFolder()) &&
      !watcher_.directories().contains(hub_.registryFolder()))
    watcher_.addPath(hub_.registryFolder());
  for (const QString& folder : hub_.watchedFolders()) {
    if (folders_.count(folder)) continue;
    serve(folder);
    full = true;
  }
  std::vector<JobOffer> offers;
  for (auto& [folder, served] : folders_) {
    if (served.refused) continue;
    ServiceClaims* claims = served.claims.get();
    if (full) {
      QStringList published;
      for (const QString& job : claims->takeOverStale(options_.staleAfter, &published))
        log_.write(ServiceLog::Warning,
                   QStringLiteral("job %1: its service stopped beating; back to waiting").arg(job));
      runner_->recover(claims, published);
    }
    for (const QString& job : claims->waitingJobs()) offers.push_back({claims, job});
  }
  runner_->offer(std::move(offers));
}

void HubService::beat() {
  for (auto& [folder, served] : folders_) {
    if (served.refused) continue;
    QString problem;
    if (served.claims->beat(&problem)) continue;
    if (problem.contains(QLatin1String("replaced"))) {
      served.refused = true;
      log_.write(ServiceLog::Error, QStringLiteral("the watched folder %1 is no longer served: %2")
                                        .arg(zan::release::printable(folder), problem));
    } else {
      log_.write(ServiceLog::Warning, QStringLiteral("the watched folder %1: %2")
                                          .arg(zan::release::printable(folder), problem));
    }
  }
}

void HubService::stop() {
  if (stopped_ || !runner_) return;
  stopped_ = true;
  idle_.stop();
  rescan_.stop();
  soon_.stop();
  if (!options_.once || !runner_->finished())
    log_.write(ServiceLog::Info, QStringLiteral("stopping: finishing the pages in progress"));
  bool abandoned = false, pageAbandoned = false;
  for (const QString& job : runner_->stop(options_.stopTimeout, &abandoned, &pageAbandoned))
    log_.write(ServiceLog::Info, QStringLiteral("job %1: not finished; back to waiting").arg(job));
  heartbeat_.stop();
  if (abandoned) {
    // Work still in progress after --stop-timeout: the process ends without waiting for it. A
    // page's job is back to waiting; a PDF being written stays marked published, and the next
    // service finishes it from the PDF or puts it back.
    log_.write(ServiceLog::Warning,
               pageAbandoned
                   ? QStringLiteral("a page was still in progress after %1 s; its job is back to "
                                    "waiting")
                         .arg(options_.stopTimeout)
                   : QStringLiteral("a PDF was still being written after %1 s; its job is left "
                                    "to the next service")
                         .arg(options_.stopTimeout));
    (void)runner_.release();
  }
  for (auto& [folder, served] : folders_) served.claims->leave();
  log_.write(ServiceLog::Info, QStringLiteral("stopped"));
  if (abandoned) {
    std::fflush(nullptr);
    std::_Exit(0);
  }
  emit finished();
}
