// The release-setup executable run as a user or a script runs it: scripted mode outputs and
// exit codes, refused setup files, screenshots, the run without a display, and a real display.

#include "dialog_screenshot.h"
#include "host_fixture.h"

#include <gtest/gtest.h>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>

#include <unistd.h>

namespace zan::host::testing {
namespace {

struct ProcessRun {
  int exitCode = -1;
  QString out, err;
};

// Runs release-setup (or `program` wrapping it) with its working copy in `home`; offscreen
// unless `noDisplay`, which removes every display setting.
ProcessRun runReleaseSetup(const QString& home, const QStringList& arguments,
                           bool noDisplay = false,
                           const QString& program = QStringLiteral(RELEASE_SETUP_BINARY)) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("ZAN_RELEASE_SETUP_HOME", home);
  if (noDisplay)
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
      environment.remove(name);
  QProcess process;
  process.setProcessEnvironment(environment);
  process.start(program, arguments);
  if (!process.waitForFinished(120000)) {
    process.kill();
    process.waitForFinished();
    ADD_FAILURE() << "release-setup did not finish: " << arguments.join(' ').toStdString();
    return {};
  }
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2,
          process.readAllStandardOutput(), process.readAllStandardError()};
}

// Catches: wrong exit codes, a missing result number or ValidateError on standard output, or a
// failure without a one-line message naming what was wrong.
TEST(ReleaseSetupCli, ScriptedOutputsAndExitCodes) {
  const struct {
    QStringList arguments;
    int exitCode;
    QString expected;  // on standard output or standard error
  } cases[] = {
      {{"--validate"}, 0, "Validate: 0\nValidateError: \n"},
      {{"--panel", "ocr", "--validate"}, 0, "Validate: 0\n"},
      {{"--set", "WorkgroupHub=", "--validate"},
       3,
       "Validate: -2147220968\nValidateError: The workgroup hub is missing."},
      // A stored setting that no panel property reaches is written before the panel loads it.
      {{"--set", "ConfidenceThreshold=150", "--validate"},
       3,
       "Validate: -2147220989\nValidateError: The confidence threshold 150 is invalid."},
      {{"--panel", "ocr", "--set", "confidencethreshold=150", "--validate"},
       3,
       "Validate: -2147220989\n"},
      {{"--set", "ConfidenceThreshold=99999"}, 2, "--set ConfidenceThreshold=99999: Overflow"},
      {{"--set", "LowFontConfidence=maybe"}, 2, "not a Boolean"},
      {{"--set", "WorkgroupHub=/nonexistent", "--apply"},
       3,
       "The workgroup hub \"/nonexistent\" cannot be opened: the path cannot be reached."},
      {{"--language", "de", "--set", "WorkgroupHub=", "--validate"},
       3,
       "ValidateError: Der Workgroup-Hub fehlt."},
      {{"--set", "NoSuchThing=1"}, 2, "ZANPdf3 has no property NoSuchThing"},
      {{"--set", "PDFInputImageType=two"}, 2, "PDFInputImageType=two: not a 32-bit integer"},
      {{"--set", "ValidateError=x"}, 2, "ZANPdf3.ValidateError is read-only"},
      {{"--set", "novalue"}, 2, "--set 'novalue': use NAME=VALUE"},
      {{"--panel", "bogus"}, 2, "--panel 'bogus': use capture or ocr"},
      {{"--language", "fr", "--validate"}, 2, "--language 'fr': use de (German) or en (English)"},
      {{"--frobnicate"}, 2, "frobnicate"},
      // Qt's own options are QApplication's, in any spelling; the version reads as in About.
      {{"-style", "Fusion", "-reverse", "--stylesheet=none.qss", "--version"},
       0,
       "release-setup 5.0.3\n"},
      {{"-platform", "offscreen", "--panel", "ocr", "--validate"}, 0, "Validate: 0\n"},
      {{"--setup", "/nonexistent/none.json", "--validate"}, 2, "/nonexistent/none.json"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.join(' ').toStdString());
    QTemporaryDir home;
    const ProcessRun run = runReleaseSetup(home.path(), c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
    EXPECT_TRUE((run.out + run.err).contains(c.expected))
        << run.out.toStdString() << run.err.toStdString();
    // One line naming the problem (the first run also notes the seeded working copy).
    const QStringList lines = run.err.split('\n', Qt::SkipEmptyParts);
    EXPECT_TRUE(!c.exitCode || lines.value(lines.size() - 1).startsWith("release-setup: "));
  }
}

// Catches: --apply not putting the properties (by name, in any letter case), not saving, or
// saving although a setting was rejected (then naming the ValidateError).
TEST(ReleaseSetupCli, ApplyStoresPutsAndRefusesIllegalSettings) {
  QTemporaryDir home;
  const QString setup = home.filePath("release-setup.json");
  ProcessRun run = runReleaseSetup(home.path(), {"--set", "PDFOutputMachine=press-01", "--set",
                                                 "pdfwaitforstatus=false", "--apply"});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(run.out.contains("Saved: ")) << run.out.toStdString();
  EXPECT_EQ(storedTwo(setup, "PDFOutputMachine").toString(), "press-01");
  EXPECT_EQ(storedTwo(setup, "PDFWaitForStatus"), QVariant(false));

  const QByteArray before = fileBytes(setup);
  run = runReleaseSetup(home.path(), {"--set", "WatchedFolder=", "--apply"});
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_TRUE(run.err.contains("The watched folder is missing.")) << run.err.toStdString();
  EXPECT_EQ(fileBytes(setup), before);
}

// Catches: a save on a full disk reported as done (exit 0) while the setup file is left empty or
// cut short; the run must refuse (exit 2) with one line naming the file and the reason, and the
// file must keep its old bytes. Needs a small tmpfs, which only root may mount; the injected
// write failures of test_external cover the same path without one.
TEST(ReleaseSetupCli, FullDiskRefusesTheSaveAndKeepsTheFile) {
  if (geteuid() != 0) GTEST_SKIP() << "mounting a small tmpfs needs root";
  QTemporaryDir dir;
  const QString disk = dir.filePath("small-disk");
  QDir().mkpath(disk);
  QProcess mount;
  mount.start("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", disk});
  if (!mount.waitForFinished(20000) || mount.exitStatus() != QProcess::NormalExit ||
      mount.exitCode() != 0)
    GTEST_SKIP() << "mounting a tmpfs is not permitted here: "
                 << mount.readAllStandardError().toStdString();
  const struct Unmount {
    QString path;
    ~Unmount() { QProcess::execute("umount", {path}); }
  } unmount{disk};

  const QString setup = seedWorkingSetup(bundledSetupPath(), disk + "/release-setup.json");
  {
    QFile filler(disk + "/filler");
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
  }
  const QByteArray before = fileBytes(setup);
  ASSERT_FALSE(before.isEmpty());
  const QString hub = storedTwo(setup, "WorkgroupHub").toString();
  const ProcessRun run =
      runReleaseSetup(dir.path(), {"--setup", setup, "--set", "WorkgroupHub=" + hub, "--apply"});
  EXPECT_EQ(run.exitCode, 2) << run.out.toStdString() << run.err.toStdString();
  const QStringList lines = run.err.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 1) << run.err.toStdString();
  EXPECT_TRUE(lines[0].contains(setup) && lines[0].contains("No space left on device"))
      << lines[0].toStdString();
  EXPECT_FALSE(run.out.contains("Saved:"));
  EXPECT_EQ(fileBytes(setup), before);
}

// Catches: a corrupt, foreign or empty setup file being overwritten (or crashing the run)
// instead of being refused with a message naming the file.
TEST(ReleaseSetupCli, BadSetupFileIsRefusedAndLeftUntouched) {
  for (const QByteArray content : {"{ \"format\": \"zan-release-setup\", \"version\": 1, ",
                                   "{\"format\": \"somebody-else\", \"version\": 1}", ""}) {
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.json");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    for (const QStringList& mode : {QStringList{"--apply"}, QStringList{}}) {
      const ProcessRun run = runReleaseSetup(dir.path(), QStringList{"--setup", path} + mode);
      EXPECT_EQ(run.exitCode, 2) << content.toStdString();
      EXPECT_TRUE(run.err.contains(path)) << run.err.toStdString();
      EXPECT_EQ(fileBytes(path), content);
    }
  }
}

// Catches: a screenshot that is empty, blank, of the wrong size or not a PNG, from the
// screenshot mode or from the plain run without a display (which must say so and picture both
// panels instead of failing obscurely).
TEST(ReleaseSetupCli, ScreenshotsPictureTheDialogs) {
  HostWorld world;
  const QString home = world.dir.path(), png = world.dir.filePath("shot.png");
  ProcessRun run = runReleaseSetup(
      home, {"--panel", "capture", "--setup", world.setupPath, "--screenshot", png});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(run.out.contains("shot.png"));
  run = runReleaseSetup(home, {}, true);
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(run.out.contains("no display was found")) << run.out.toStdString();
  const std::pair<QString, PanelKind> shots[] = {
      {png, PanelKind::Capture},
      {home + "/screenshots/release-setup-capture.png", PanelKind::Capture},
      {home + "/screenshots/release-setup-ocr.png", PanelKind::Ocr}};
  for (const auto& [file, kind] : shots) {
    EXPECT_TRUE(file == png || run.out.contains(file)) << run.out.toStdString();
    QImage image;
    ASSERT_TRUE(image.load(file, "PNG")) << file.toStdString();
    // The program uses the desktop's font, at least the 8 points of the tests' dialog.
    const QSize designed = renderOffscreen(*world.open(kind)).size();
    EXPECT_GE(image.width(), designed.width());
    EXPECT_GE(image.height(), designed.height());
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
      for (int x = 0; x < image.width(); x += 3) colours.insert(image.pixel(x, y));
    EXPECT_GT(colours.size(), 10);  // a drawn dialog, not a blank area
  }
}

// Catches: the dialog failing to start on a real X display.
TEST(ReleaseSetupCli, SmokeUnderXvfb) {
  const QString xvfbRun = QStandardPaths::findExecutable("xvfb-run");
  if (xvfbRun.isEmpty()) GTEST_SKIP() << "xvfb-run is not installed";
  QTemporaryDir home;
  const ProcessRun run = runReleaseSetup(
      home.path(), {"-a", RELEASE_SETUP_BINARY, "--close-after", "500"}, true, xvfbRun);
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(run.out.contains("Qt platform xcb")) << run.out.toStdString();
}

}  // namespace
}  // namespace zan::host::testing
