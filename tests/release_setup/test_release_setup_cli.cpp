// The release-setup executable run as a user or a script runs it: scripted mode outputs and
// exit codes, refused setup files, screenshots, the run without a display, and a real display.

#include "dialog_screenshot.h"
#include "host_fixture.h"

#include <gtest/gtest.h>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSet>
#include <QStandardPaths>

namespace zan::host::testing {
namespace {

struct ProcessRun {
  int exitCode = -1;
  QString out, err;
};

// Runs release-setup with its working copy in `home`, offscreen unless `environment` says
// otherwise.
ProcessRun runReleaseSetup(
    const QString& home, const QStringList& arguments,
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment(),
    const QString& program = QStringLiteral(RELEASE_SETUP_BINARY)) {
  environment.insert(QStringLiteral("ZAN_RELEASE_SETUP_HOME"), home);
  QProcess process;
  process.setProcessEnvironment(environment);
  process.start(program, arguments);
  ProcessRun run;
  if (!process.waitForFinished(120000)) {
    process.kill();
    process.waitForFinished();
    ADD_FAILURE() << "release-setup did not finish: " << arguments.join(' ').toStdString();
    return run;
  }
  run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
  run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
  run.err = QString::fromLocal8Bit(process.readAllStandardError());
  return run;
}

int distinctColours(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); y += 3)
    for (int x = 0; x < image.width(); x += 3) colours.insert(image.pixel(x, y));
  return colours.size();
}

QString workingCopy(const QTemporaryDir& home) {
  return home.filePath(QStringLiteral("release-setup.json"));
}

// Catches: wrong exit codes, a missing result number or ValidateError on standard output, or a
// failure without a one-line message naming what was wrong.
TEST(ReleaseSetupCli, ScriptedOutputsAndExitCodes) {
  struct Case {
    QStringList arguments;
    int exitCode;
    QString out;  // expected on standard output (empty: not checked)
    QString err;  // expected on standard error (empty: not checked)
  };
  const QList<Case> cases = {
      {{"--validate"}, 0, "Validate: 0\nValidateError: \n", ""},
      {{"--panel", "ocr", "--validate"}, 0, "Validate: 0\n", ""},
      {{"--set", "WorkgroupHub=", "--validate"},
       3,
       "Validate: -2147220968\nValidateError: The workgroup hub is missing.",
       "rejected (-2147220968)"},
      {{"--panel", "ocr", "--set", "Enabled=False", "--validate"}, 0, "Validate: 0\n", ""},
      {{"--set", "NoSuchThing=1"}, 2, "", "ZANPdf3 has no property NoSuchThing"},
      {{"--panel", "ocr", "--set", "WorkgroupHub=/x"},
       2,
       "",
       "ZANPdf has no property WorkgroupHub"},
      {{"--set", "PDFWaitForStatus=maybe"}, 2, "", "PDFWaitForStatus=maybe: not a Boolean"},
      {{"--set", "PDFInputImageType=two"}, 2, "", "PDFInputImageType=two: not a 32-bit integer"},
      {{"--set", "ValidateError=x"}, 2, "", "ZANPdf3.ValidateError is read-only"},
      {{"--set", "novalue"}, 2, "", "--set 'novalue': use NAME=VALUE"},
      {{"--panel", "bogus"}, 2, "", "--panel 'bogus': use capture or ocr"},
      {{"--frobnicate"}, 2, "", "frobnicate"},
      {{"--setup", "/nonexistent/none.json", "--validate"}, 2, "", "/nonexistent/none.json"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments.join(' ').toStdString());
    QTemporaryDir home;
    const ProcessRun run = runReleaseSetup(home.path(), c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
    if (!c.out.isEmpty()) {
      EXPECT_TRUE(run.out.contains(c.out)) << run.out.toStdString();
    }
    if (!c.err.isEmpty()) {
      EXPECT_TRUE(run.err.contains(c.err)) << run.err.toStdString();
    }
    if (c.exitCode != 0) {
      // One line naming the problem (the first run also notes the seeded working copy).
      const QStringList lines = run.err.split('\n', Qt::SkipEmptyParts).filter("release-setup: ");
      EXPECT_GE(lines.size(), 1);
      EXPECT_TRUE(lines.last().startsWith(QLatin1String("release-setup: ")));
    }
  }
}

// Catches: --apply not putting the properties (by name, in any letter case), not saving, or
// saving although a setting was rejected.
TEST(ReleaseSetupCli, ApplyStoresPutsAndRefusesIllegalSettings) {
  QTemporaryDir home;
  ProcessRun run = runReleaseSetup(home.path(), {"--set", "PDFOutputMachine=press-01", "--set",
                                                 "pdfwaitforstatus=false", "--apply"});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(run.out.contains(QLatin1String("Saved: "))) << run.out.toStdString();
  auto saved = SetupFile::load(workingCopy(home));
  EXPECT_EQ(saved->SetupPartTwo().value(QStringLiteral("PDFOutputMachine")).toString(),
            QStringLiteral("press-01"));
  EXPECT_EQ(saved->SetupPartTwo().value(QStringLiteral("PDFWaitForStatus")), QVariant(false));

  const QByteArray before = fileBytes(workingCopy(home));
  run = runReleaseSetup(home.path(), {"--set", "WatchedFolder=", "--apply"});
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_TRUE(run.err.contains(QLatin1String("The watched folder is missing.")))
      << run.err.toStdString();
  EXPECT_EQ(fileBytes(workingCopy(home)), before);
}

// Catches: a corrupt or foreign setup file being overwritten (or crashing the run) instead of
// being refused with a message naming the file.
TEST(ReleaseSetupCli, BadSetupFileIsRefusedAndLeftUntouched) {
  const QByteArray contents[] = {"{ \"format\": \"zan-release-setup\", \"version\": 1, ",
                                 "{\"format\": \"somebody-else\", \"version\": 1}", ""};
  for (const QByteArray& content : contents) {
    SCOPED_TRACE(content.toStdString());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.json"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    for (const QStringList& mode : {QStringList{"--apply"}, QStringList{}}) {
      const ProcessRun run = runReleaseSetup(dir.path(), QStringList{"--setup", path} + mode);
      EXPECT_EQ(run.exitCode, 2);
      EXPECT_TRUE(run.err.contains(path)) << run.err.toStdString();
      EXPECT_EQ(fileBytes(path), content);
    }
  }
}

// Catches: a screenshot that is empty, of the wrong size, or not written as a PNG.
TEST(ReleaseSetupCli, ScreenshotWritesThePictureOfTheDialog) {
  for (PanelKind kind : {PanelKind::Capture, PanelKind::Ocr}) {
    SCOPED_TRACE(panelKindName(kind).toStdString());
    HostWorld world;
    const QString png = world.dir.filePath(QStringLiteral("shot.png"));
    const ProcessRun run = runReleaseSetup(
        world.dir.path(),
        {"--panel", panelKindName(kind), "--setup", world.setupPath, "--screenshot", png});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QImage image;
    ASSERT_TRUE(image.load(png, "PNG"));
    auto dialog = world.open(kind);
    const QImage expected = renderOffscreen(*dialog);
    EXPECT_EQ(image.size(), expected.size());
    EXPECT_GE(image.width(), 7395 / 15);    // at least the panel's own width
    EXPECT_GT(distinctColours(image), 10);  // a drawn dialog, not a blank area
    EXPECT_TRUE(run.out.contains(QFileInfo(png).fileName()));
  }
}

// Catches: the plain run failing obscurely without a display instead of saying so and
// writing screenshots of both panels.
TEST(ReleaseSetupCli, RunWithoutDisplayWritesScreenshots) {
  QTemporaryDir home;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
    environment.remove(QLatin1String(name));
  const ProcessRun run = runReleaseSetup(home.path(), {}, environment);
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(run.out.contains(QLatin1String("no display was found"))) << run.out.toStdString();
  for (const char* name : {"release-setup-capture.png", "release-setup-ocr.png"}) {
    const QString png = home.filePath(QStringLiteral("screenshots/") + QLatin1String(name));
    EXPECT_TRUE(run.out.contains(png)) << run.out.toStdString();
    QImage image;
    EXPECT_TRUE(image.load(png)) << name;
  }
  EXPECT_TRUE(QFileInfo::exists(workingCopy(home)));
}

// Catches: the dialog failing to start on a real X display.
TEST(ReleaseSetupCli, SmokeUnderXvfb) {
  const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
  if (xvfbRun.isEmpty()) GTEST_SKIP() << "xvfb-run is not installed";
  QTemporaryDir home;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
    environment.remove(QLatin1String(name));
  const ProcessRun run = runReleaseSetup(
      home.path(), {"-a", QStringLiteral(RELEASE_SETUP_BINARY), "--close-after", "500"},
      environment, xvfbRun);
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(run.out.contains(QLatin1String("Qt platform xcb"))) << run.out.toStdString();
}

}  // namespace
}  // namespace zan::host::testing
