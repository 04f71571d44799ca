// zan-hub: the workgroup hub service (docs/zan-hub.md).
#include "hub_service.h"
#include "release/library_messages.h"
#include "release/release_error.h"
#include "release/release_run.h"
#include "service_log.h"
#include "service_options.h"
#include "stop_signals.h"

#include <QCoreApplication>

#include <csignal>

namespace {

constexpr int kCannotStart = 2;

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("zan-hub"));
  QCoreApplication::setApplicationVersion(QStringLiteral(ZAN_RELEASE_VERSION));
  // The libraries' own messages (a damaged PNG's) never reach the log by themselves.
  ServiceLog log(zan::release::captureLibraryMessages());
  ServiceOptions options;
  std::unique_ptr<HubService> service;
  try {
    options = parseServiceOptions(QCoreApplication::arguments());
    service = std::make_unique<HubService>(options, log);
  } catch (const CannotStart& e) {
    log.write(ServiceLog::Error, e.message);
    return kCannotStart;
  } catch (const zan::release::ReleaseError& e) {
    log.write(ServiceLog::Error, e.message());
    return kCannotStart;
  }
  zan::release::silenceLibraryMessages();
  StopSignals stopSignals;
  QObject::connect(&stopSignals, &StopSignals::received, service.get(), [&](int signal) {
    log.write(ServiceLog::Info,
              QStringLiteral("received %1").arg(signal == SIGINT ? "SIGINT" : "SIGTERM"));
    service->stop();
  });
  QObject::connect(service.get(), &HubService::finished, &app, &QCoreApplication::quit,
                   Qt::QueuedConnection);
  service->start();
  return app.exec();
}
