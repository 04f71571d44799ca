#include "release_command.h"

#include "hub/capture_release.h"
#include "progress_bar.h"
#include "release/batch.h"
#include "release/library_messages.h"
#include "release/output_file.h"
#include "release/release_error.h"
#include "release/release_options.h"
#include "release/release_report.h"
#include "release/release_run.h"
#include "settings/automation_error.h"
#include "settings/pdf_settings.h"
#include "settings/setup_data.h"
#include "stop_request.h"

#include <QCommandLineParser>
#include <QDir>
#include <QTextStream>

#include <unistd.h>
#include <cstdio>
#include <optional>
#include <thread>

namespace {

// A failure that stops the release before it starts.
struct CannotStart {
  QString message;
};

// Prints "zan-release: <line>". A file's name may hold anything: control characters are shown
// escaped.
void say(std::FILE* stream, const QString& line) {
  std::fprintf(stream == stderr ? zan::release::ownMessages() : stream, "zan-release: %s\n",
               zan::release::printable(line).toLocal8Bit().constData());
}

struct Arguments {
  QString setup, batch, out, engine;
  int jobs = 0;
  qint64 pixelBudget = zan::release::kProgramPixels;
  double statusTimeout = 600;
  bool quiet = false;
  zan::release::PdfStandard standard = zan::release::PdfStandard::PdfA2b;
  bool deskew = false;
  int imageDpi = 0;
  bool readPdfText = false;
  bool replace = false;
};

Arguments parse(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Releases a batch of scanned pages as one PDF per document, with the PDF settings of a "
      "release-setup file.\nExit codes: 0 all documents released, 1 some failed, 2 nothing "
      "could start."));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption setup(QStringLiteral("setup"),
                                 QStringLiteral("The release-setup file with the settings."),
                                 QStringLiteral("FILE"));
  const QCommandLineOption batch(QStringLiteral("batch"),
                                 QStringLiteral("The batch file (JSON) listing the documents."),
                                 QStringLiteral("BATCH.json"));
  const QCommandLineOption out(QStringLiteral("out"),
                               QStringLiteral("The folder the PDFs and the report go to."),
                               QStringLiteral("DIR"));
  const QCommandLineOption engine(
      QStringLiteral("engine"),
      QStringLiteral("ocr or capture; default: the engine the setup file names."),
      QStringLiteral("ENGINE"));
  const QCommandLineOption jobs(
      QStringLiteral("jobs"), QStringLiteral("Pages processed in parallel; default: one per core."),
      QStringLiteral("N"));
  const QCommandLineOption statusTimeout(
      QStringLiteral("status-timeout"),
      QStringLiteral("capture: seconds to wait for the hub service's statuses when the setup asks "
                     "to wait (PDFWaitForStatus); default: 600."),
      QStringLiteral("SECONDS"));
  const QCommandLineOption quiet(QStringLiteral("quiet"),
                                 QStringLiteral("No progress bar, no summary, no warnings."));
  const QCommandLineOption pdfa(
      QStringLiteral("pdfa"),
      QStringLiteral("2b (the default): PDF/A-2b for archives; none: plain PDF."),
      QStringLiteral("2b|none"));
  const QCommandLineOption deskew(
      QStringLiteral("deskew"),
      QStringLiteral("Straighten skewed pages before recognition (resamples their images)."));
  const QCommandLineOption imageDpi(
      QStringLiteral("image-dpi"),
      QStringLiteral("The resolution of every page image file, for scans that state none or a "
                     "wrong one (PDF pages have theirs)."),
      QStringLiteral("DPI"));
  const QCommandLineOption pdfText(
      QStringLiteral("pdf-text"),
      QStringLiteral("keep (the default): a PDF page that carries text is kept as it is; read: "
                     "it is recognised again from its image."),
      QStringLiteral("keep|read"));
  const QCommandLineOption replace(
      QStringLiteral("replace"),
      QStringLiteral("Replace the earlier release in the output folder: the PDFs its report "
                     "lists are removed first."));
  const QCommandLineOption pixelBudget(
      QStringLiteral("pixel-budget"),
      QStringLiteral("Megapixels the pages in progress may hold together; default: 200 (a page "
                     "at most 100)."),
      QStringLiteral("MEGAPIXELS"));
  parser.addOptions({setup, batch, out, engine, jobs, statusTimeout, quiet, pdfa, deskew, imageDpi,
                     pdfText, replace, pixelBudget});
  if (!parser.parse(arguments)) throw CannotStart{parser.errorText()};
  if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
    // The usage line names the program, not the path it was started by, and what it needs.
    QString help = parser.helpText();
    help.replace(0, help.indexOf(QLatin1Char('\n')),
                 QStringLiteral("Usage: zan-release --setup FILE --batch BATCH.json --out DIR "
                                "[options]"));
    std::fputs(qPrintable(help), stdout);
    std::exit(kAllReleased);
  }
  if (parser.isSet(QStringLiteral("version"))) {
    std::printf("zan-release %s\n", ZAN_RELEASE_VERSION);
    std::exit(kAllReleased);
  }
  if (!parser.positionalArguments().isEmpty())
    throw CannotStart{QStringLiteral("unexpected argument '%1' (see --help)")
                          .arg(parser.positionalArguments().first())};
  Arguments a;
  for (const auto& [option, value] :
       {std::pair{&setup, &a.setup}, std::pair{&batch, &a.batch}, std::pair{&out, &a.out}}) {
    if (!parser.isSet(*option))
      throw CannotStart{
          QStringLiteral("--%1 is missing (see --help)").arg(option->names().first())};
    *value = parser.value(*option);
  }
  a.engine = parser.value(engine);
  a.quiet = parser.isSet(quiet);
  a.deskew = parser.isSet(deskew);
  if (parser.isSet(pdfa)) {
    const QString value = parser.value(pdfa).toLower();
    if (value == QLatin1String("none"))
      a.standard = zan::release::PdfStandard::Plain;
    else if (value != QLatin1String("2b"))
      throw CannotStart{
          QStringLiteral("--pdfa must be 2b or none, not '%1'").arg(parser.value(pdfa))};
  }
  a.replace = parser.isSet(replace);
  if (parser.isSet(pdfText)) {
    const QString value = parser.value(pdfText).toLower();
    if (value != QLatin1String("keep") && value != QLatin1String("read"))
      throw CannotStart{
          QStringLiteral("--pdf-text must be keep or read, not '%1'").arg(parser.value(pdfText))};
    a.readPdfText = value == QLatin1String("read");
  }
  if (parser.isSet(imageDpi)) {
    bool ok = false;
    a.imageDpi = parser.value(imageDpi).toInt(&ok);
    if (!ok || a.imageDpi < zan::release::kLeastImageDpi ||
        a.imageDpi > zan::release::kMostImageDpi)
      throw CannotStart{QStringLiteral("--image-dpi must be a number from %1 to %2, not '%3'")
                            .arg(zan::release::kLeastImageDpi)
                            .arg(zan::release::kMostImageDpi)
                            .arg(parser.value(imageDpi))};
  }
  if (parser.isSet(pixelBudget)) {
    bool ok = false;
    const double megapixels = parser.value(pixelBudget).toDouble(&ok);
    if (!ok || megapixels < 1 || megapixels > 1000000)
      throw CannotStart{QStringLiteral("--pixel-budget must be a number of megapixels from 1 to "
                                       "1000000, not '%1'")
                            .arg(parser.value(pixelBudget))};
    a.pixelBudget = static_cast<qint64>(megapixels * 1e6);
  }
  a.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  if (parser.isSet(jobs)) {
    bool ok = false;
    a.jobs = parser.value(jobs).toInt(&ok);
    if (!ok || a.jobs < 1 || a.jobs > 256)
      throw CannotStart{QStringLiteral("--jobs must be a number from 1 to 256, not '%1'")
                            .arg(parser.value(jobs))};
  }
  if (parser.isSet(statusTimeout)) {
    bool ok = false;
    a.statusTimeout = parser.value(statusTimeout).toDouble(&ok);
    if (!ok || a.statusTimeout < 0 || a.statusTimeout > 604800)
      throw CannotStart{QStringLiteral("--status-timeout must be a number of seconds from 0 to "
                                       "604800, not '%1'")
                            .arg(parser.value(statusTimeout))};
  }
  return a;
}

// The engine asked for, else the one the setup file stores.
zan::Engine engineOf(const Arguments& a, zan::SetupFile& setup) {
  QString engine = a.engine;
  if (engine.isEmpty()) {
    engine =
        setup.SetupPartOne().value(zan::settingRow(zan::Setting::PdfEngine).keyText()).toString();
    if (engine.isEmpty())
      throw CannotStart{QStringLiteral("the setup file %1 names no engine (PdfEngine); choose "
                                       "one with --engine ocr or --engine capture")
                            .arg(a.setup)};
  }
  if (engine == QLatin1String("ocr")) return zan::Engine::Ocr;
  if (engine == QLatin1String("capture")) return zan::Engine::Capture;
  if (const std::optional<zan::Engine> stored = zan::engineOfText(engine)) return *stored;
  throw CannotStart{QStringLiteral("unknown engine '%1': choose ocr or capture").arg(engine)};
}

// The stored settings and the engine that releases with them.
zan::Engine loadSettings(const Arguments& a, zan::PdfSettings& settings) {
  std::unique_ptr<zan::SetupFile> setup;
  try {
    setup = zan::SetupFile::load(a.setup);
  } catch (const zan::AutomationException& e) {
    throw CannotStart{e.error().description};
  }
  const zan::Engine engine = engineOf(a, *setup);
  try {
    settings.Load(setup->SetupPartOne(), setup->SetupPartTwo());
  } catch (const zan::AutomationException& e) {
    throw CannotStart{QStringLiteral("setup file %1: %2").arg(a.setup, e.error().description)};
  }
  return engine;
}

zan::release::ReleaseOptions ocrOptions(const Arguments& a, const zan::PdfSettings& settings) {
  try {
    return zan::release::optionsFromOcrSettings(settings);
  } catch (const zan::AutomationException& e) {
    throw CannotStart{QStringLiteral("setup file %1: %2").arg(a.setup, e.error().description)};
  } catch (const zan::release::ReleaseError& e) {
    throw CannotStart{QStringLiteral("setup file %1: %2").arg(a.setup, e.message())};
  }
}

// What the release did, on standard error (warnings, failures, pending jobs) and as the report
// in the output folder; a summary on standard output. Returns the exit code.
int reportOutcome(const zan::release::ReleaseReport& report, const Arguments& a,
                  const zan::hub::CaptureRelease* capture) {
  using namespace zan::release;
  const QString stopped = stopRequested();
  int exitCode = stopped.isEmpty() ? kAllReleased : kSomeFailed;
  for (const DocumentReport& d : report.documents) {
    if (!a.quiet)
      for (const QString& w : d.information.warnings)
        say(stderr, QStringLiteral("document %1: warning: %2").arg(d.number).arg(w));
    if (d.status() == DocumentStatus::Failed) {
      say(stderr, QStringLiteral("document %1 not released: %2").arg(d.number).arg(d.failure));
      exitCode = kSomeFailed;
    } else if (d.status() == DocumentStatus::Pending) {
      say(stderr,
          QStringLiteral("document %1 pending (job %2): %3").arg(d.number).arg(d.job, d.failure));
      exitCode = kSomeFailed;
    }
  }
  const QString reportPath = QDir(a.out).filePath(QStringLiteral("release-report.json"));
  try {
    writeFileAtomically(reportPath, reportJson(report));
  } catch (const ReleaseError& e) {
    say(stderr, e.message());
    exitCode = kSomeFailed;
  }
  if (a.quiet) return exitCode;
  // Through the hub without waiting, the documents are submitted, not yet released.
  const bool submitting = capture && !capture->waitsForStatus();
  const QString how = capture ? QStringLiteral("through the hub %1").arg(capture->hubPath())
                              : QStringLiteral("(%1 pages) in %2 s")
                                    .arg(report.pageCount)
                                    .arg(report.seconds, 0, 'f', 1);
  std::printf("%s%s %d of %zu documents %s into %s; report: %s\n",
              stopped.isEmpty() ? "" : qPrintable(QStringLiteral("Stopped (%1). ").arg(stopped)),
              submitting ? "Submitted" : "Released",
              report.count(DocumentStatus::Released) + report.count(DocumentStatus::Submitted),
              report.documents.size(), qPrintable(how),
              qPrintable(QDir::toNativeSeparators(capture ? capture->outputFolder() : a.out)),
              qPrintable(reportPath));
  return exitCode;
}

}  // namespace

int runZanRelease(const QStringList& arguments) {
  using namespace zan::release;
  // The libraries' own messages (a damaged PNG's, a QDir warning) never reach the terminal by
  // themselves: a failure's line carries what they said.
  std::FILE* messages = captureLibraryMessages();
  silenceLibraryMessages();
  installStopRequest();
  Arguments a;
  ReleaseOptions options;
  Batch batch;
  std::optional<zan::hub::CaptureRelease> capture;
  ReleaseControl control;
  control.stopped = stopRequested;
  ReleaseReport report;
  try {
    a = parse(arguments);
    zan::PdfSettings settings;
    if (loadSettings(a, settings) == zan::Engine::Capture) {
      capture.emplace(settings, zan::hub::CaptureRequest{a.setup, a.out, a.statusTimeout,
                                                         a.standard == PdfStandard::PdfA2b,
                                                         a.deskew, a.imageDpi, a.readPdfText});
    } else {
      options = ocrOptions(a, settings);
      options.standard = a.standard;
      options.deskew = a.deskew;
      options.imageDpi = a.imageDpi;
      options.readPdfText = a.readPdfText;
    }
    batch = loadBatch(a.batch);
    if (!capture) checkReadyToRelease(options, a.out);
    prepareReleaseFolder(a.out, a.replace);
    control.jobs = a.jobs;
    control.pixelBudget = a.pixelBudget;
    if (capture) report = capture->submit(batch, control);
  } catch (const CannotStart& e) {
    say(stderr, e.message);
    return kCannotStart;
  } catch (const ReleaseError& e) {
    say(stderr, e.message());
    return kCannotStart;
  }

  // A release through the hub counts documents as the service finishes them; one made here,
  // pages.
  ProgressBar bar(messages, ownMessagesFd(), !a.quiet && isatty(ownMessagesFd()),
                  capture ? "documents" : "pages");
  control.progress = [&bar](int done, int total) { bar.update(done, total); };
  if (capture) {
    capture->wait(report, control);
  } else {
    report = releaseBatch(batch, options, a.out, control);
    report.engine = QStringLiteral("ocr");
  }
  bar.finish();
  return reportOutcome(report, a, capture ? &*capture : nullptr);
}
