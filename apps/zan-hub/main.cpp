// zan-hub: the workgroup hub service (docs/zan-hub.md).
#include "hub_service.h"
#include "release/release_error.h"
#include "release/release_run.h"
#include "service_log.h"
#include "stop_signals.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSysInfo>

#include <csignal>
#include <cstdio>
#include <thread>

namespace {

constexpr int kCannotStart = 2;

struct CannotStart {
  QString message;
};

double seconds(const QCommandLineParser& parser, const QCommandLineOption& option, double fallback,
               double least) {
  if (!parser.isSet(option)) return fallback;
  bool ok = false;
  const double v = parser.value(option).toDouble(&ok);
  if (!ok || v < least || v > 86400)
    throw CannotStart{QStringLiteral("--%1 must be a number of seconds from %2 to 86400, not '%3'")
                          .arg(option.names().first())
                          .arg(least)
                          .arg(parser.value(option))};
  return v;
}

ServiceOptions parse(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Turns the documents released into the watched folders of a workgroup hub into PDFs, with "
      "the hub's workflows and dictionaries.\nRuns until SIGTERM or SIGINT, or with --once "
      "until the jobs waiting at its start are done. Exit codes: 0 stopped, 2 could not start."));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption hub(QStringLiteral("hub"), QStringLiteral("The workgroup hub folder."),
                               QStringLiteral("DIR"));
  const QCommandLineOption machine(
      QStringLiteral("machine"),
      QStringLiteral("This machine's name for jobs released for one machine (PDFOutputMachine); "
                     "default: the host name."),
      QStringLiteral("NAME"));
  const QCommandLineOption jobs(
      QStringLiteral("jobs"), QStringLiteral("Pages processed in parallel; default: one per core."),
      QStringLiteral("N"));
  const QCommandLineOption once(QStringLiteral("once"),
                                QStringLiteral("Process the jobs waiting now, then exit."));
  const QCommandLineOption staleAfter(
      QStringLiteral("stale-after"),
      QStringLiteral("Seconds without a heartbeat after which another service's jobs are taken "
                     "over; default: 120."),
      QStringLiteral("SECONDS"));
  const QCommandLineOption rescan(
      QStringLiteral("rescan"),
      QStringLiteral("Seconds between full scans of the watched folders; default: 10."),
      QStringLiteral("SECONDS"));
  parser.addOptions({hub, machine, jobs, once, staleAfter, rescan});
  if (!parser.parse(arguments)) throw CannotStart{parser.errorText()};
  if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
    // The usage line names the program, not the path it was started by, and what it needs.
    QString help = parser.helpText();
    help.replace(0, help.indexOf(QLatin1Char('\n')),
                 QStringLiteral("Usage: zan-hub --hub DIR [options]"));
    std::fputs(qPrintable(help), stdout);
    std::exit(0);
  }
  if (parser.isSet(QStringLiteral("version"))) {
    std::printf("zan-hub %s\n", ZAN_RELEASE_VERSION);
    std::exit(0);
  }
  if (!parser.positionalArguments().isEmpty())
    throw CannotStart{QStringLiteral("unexpected argument '%1' (see --help)")
                          .arg(parser.positionalArguments().first())};
  if (parser.value(hub).trimmed().isEmpty())
    throw CannotStart{QStringLiteral("--hub is missing or empty (see --help)")};
  ServiceOptions o;
  o.hub = parser.value(hub);
  o.machine = parser.isSet(machine) ? parser.value(machine) : QSysInfo::machineHostName();
  o.once = parser.isSet(once);
  o.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  if (parser.isSet(jobs)) {
    bool ok = false;
    o.jobs = parser.value(jobs).toInt(&ok);
    if (!ok || o.jobs < 1 || o.jobs > 256)
      throw CannotStart{QStringLiteral("--jobs must be a number from 1 to 256, not '%1'")
                            .arg(parser.value(jobs))};
  }
  o.staleAfter = seconds(parser, staleAfter, o.staleAfter, 0.5);
  o.rescan = seconds(parser, rescan, o.rescan, 0.1);
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("zan-hub"));
  QCoreApplication::setApplicationVersion(QStringLiteral(ZAN_RELEASE_VERSION));
  ServiceLog log(stderr);
  ServiceOptions options;
  std::unique_ptr<HubService> service;
  try {
    options = parse(QCoreApplication::arguments());
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
