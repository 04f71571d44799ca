#include "service_options.h"

#include "release/file_access.h"
#include "release/release_error.h"

#include <QCommandLineParser>
#include <QSysInfo>

#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

// The options a configuration file may hold: those with a value.
const QStringList kFileOptions{"hub",          "machine",      "jobs",
                               "pixel-budget", "stale-after",  "rescan",
                               "stop-timeout", "watched-root", "output-root"};
constexpr qint64 kLongestConfiguration = 1024 * 1024;

double number(const QCommandLineParser& parser, const QString& option, double fallback,
              double least, double most, const char* unit) {
  if (!parser.isSet(option)) return fallback;
  bool ok = false;
  const double v = parser.value(option).toDouble(&ok);
  if (!ok || v < least || v > most)
    throw CannotStart{QStringLiteral("--%1 must be a number of %2 from %3 to %4, not '%5'")
                          .arg(option, QLatin1String(unit))
                          .arg(least)
                          .arg(most)
                          .arg(parser.value(option))};
  return v;
}

// The file's options as command-line arguments ("--hub=/srv/hub").
QStringList fileArguments(const QString& file) {
  QByteArray text;
  try {
    text = zan::release::readFile(file, {kLongestConfiguration});
  } catch (const zan::release::ReleaseError& e) {
    throw CannotStart{
        QStringLiteral("cannot read the configuration file %1: %2").arg(file, e.message())};
  }
  QStringList arguments;
  int number = 0;
  for (const QString& raw : QString::fromUtf8(text).split(QLatin1Char('\n'))) {
    ++number;
    const QString line = raw.trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    const QString name = line.left(equals).trimmed();
    if (equals < 0 || !kFileOptions.contains(name))
      throw CannotStart{
          QStringLiteral("%1 line %2: \"%3\" is not \"name = value\" with a name of "
                         "%4")
              .arg(file)
              .arg(number)
              .arg(zan::release::printable(line), kFileOptions.join(QStringLiteral(", ")))};
    arguments << QStringLiteral("--%1=%2").arg(name, line.mid(equals + 1).trimmed());
  }
  return arguments;
}

}  // namespace

ServiceOptions parseServiceOptions(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Turns the documents released into the watched folders of a workgroup hub into PDFs, with "
      "the hub's workflows and dictionaries.\nRuns until SIGTERM or SIGINT, or with --once "
      "until the jobs waiting at its start are done. Exit codes: 0 stopped, 2 could not start."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addOptions({
      {"hub", "The workgroup hub folder.", "DIR"},
      {"watched-root",
       "Serve the watched folders at or below DIR (repeatable); others are not served.", "DIR"},
      {"output-root", "Write PDFs only below DIR (repeatable); other jobs fail.", "DIR"},
      {"config", "Read options from FILE, one \"name = value\" a line.", "FILE"},
      {"machine",
       "This machine's name for jobs released for one machine (PDFOutputMachine); default: the "
       "host name.",
       "NAME"},
      {"jobs", "Pages processed in parallel; default: one per core.", "N"},
      {"pixel-budget",
       "Megapixels the pages in progress may hold together; default: 200 (a page at most 100).",
       "MEGAPIXELS"},
      {"once", "Process the jobs waiting now, then exit."},
      {"stale-after",
       "Seconds without a heartbeat after which another service's jobs are taken over; default: "
       "120.",
       "SECONDS"},
      {"rescan", "Seconds between full scans of the watched folders; default: 10.", "SECONDS"},
      {"stop-timeout", "Seconds the pages in progress may take to finish on SIGTERM; default: 30.",
       "SECONDS"},
  });
  if (!parser.parse(arguments)) throw CannotStart{parser.errorText()};
  if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
    // The usage line names the program, not the path it was started by, and what it needs.
    QString help = parser.helpText();
    help.replace(0, help.indexOf(QLatin1Char('\n')),
                 QStringLiteral("Usage: zan-hub (--hub DIR | --config FILE) [options]"));
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
  if (parser.isSet(QStringLiteral("config"))) {
    // The file's options first, so that the command line's win.
    QStringList all{arguments.value(0)};
    all << fileArguments(parser.value(QStringLiteral("config"))) << arguments.mid(1);
    if (!parser.parse(all)) throw CannotStart{parser.errorText()};
  }
  const QString hub = parser.value(QStringLiteral("hub"));
  if (hub.trimmed().isEmpty())
    throw CannotStart{QStringLiteral("--hub is missing or empty (see --help)")};
  ServiceOptions o;
  o.hub = hub;
  o.machine = parser.isSet(QStringLiteral("machine")) ? parser.value(QStringLiteral("machine"))
                                                      : QSysInfo::machineHostName();
  o.watchedRoots = parser.values(QStringLiteral("watched-root"));
  o.outputRoots = parser.values(QStringLiteral("output-root"));
  for (const QString& root : o.watchedRoots + o.outputRoots)
    if (!root.startsWith(QLatin1Char('/')))
      throw CannotStart{QStringLiteral("a root must be an absolute path, not '%1'").arg(root)};
  o.once = parser.isSet(QStringLiteral("once"));
  o.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  if (parser.isSet(QStringLiteral("jobs"))) {
    bool ok = false;
    o.jobs = parser.value(QStringLiteral("jobs")).toInt(&ok);
    if (!ok || o.jobs < 1 || o.jobs > 256)
      throw CannotStart{QStringLiteral("--jobs must be a number from 1 to 256, not '%1'")
                            .arg(parser.value(QStringLiteral("jobs")))};
  }
  o.pixelBudget =
      static_cast<qint64>(number(parser, QStringLiteral("pixel-budget"),
                                 zan::release::kProgramPixels / 1e6, 1, 1000000, "megapixels") *
                          1e6);
  o.staleAfter = number(parser, QStringLiteral("stale-after"), o.staleAfter, 0.5, 86400, "seconds");
  o.rescan = number(parser, QStringLiteral("rescan"), o.rescan, 0.1, 86400, "seconds");
  o.stopTimeout =
      number(parser, QStringLiteral("stop-timeout"), o.stopTimeout, 0, 86400, "seconds");
  return o;
}
