// The installed package: `cmake --install` of this build tree into a fresh prefix, the example
// host configured with find_package(ZANPdfCtl4), built, and run offscreen against it.

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

// The exit code (-1: crashed or timed out) and the merged output of a program.
std::pair<int, std::string> run(const QString& program, const QStringList& arguments) {
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(program, arguments);
  if (!p.waitForFinished(150000)) {
    p.kill();
    p.waitForFinished();
    return {-1, "timed out: " + (program + ' ' + arguments.join(' ')).toStdString()};
  }
  const int code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  return {code, p.readAll().toStdString()};
}

// Catches a package hosts cannot use: headers or CMake files missing from the install, an
// imported target that does not compile or link a host, or a host that picks up another copy
// of the library than the installed one (linked, or loaded by file name and registered).
TEST(Package, ExampleHostBuildsAndRunsAgainstTheInstalledPackage) {
  const QString cmake = ZAN_CMAKE_COMMAND;
  if (!QFileInfo(cmake).isExecutable()) GTEST_SKIP() << "cmake not found: " << ZAN_CMAKE_COMMAND;
  QTemporaryDir tmp;
  const QString prefix = tmp.filePath("prefix"), build = tmp.filePath("host");
  for (const char* component : {"Runtime", "Development"}) {
    const auto [code, out] =
        run(cmake, {"--install", ZAN_BINARY_DIR, "--prefix", prefix, "--component", component});
    ASSERT_EQ(code, 0) << out;
  }
  // The example host needs the CMake files, the library and the component headers; an early-
  // bound host needs the panels' own headers too.
  for (const char* file : {"include/ZANPdfCtl4/zanpdf3.h", "include/ZANPdfCtl4/zanpdf.h"})
    EXPECT_TRUE(QFileInfo::exists(QDir(prefix).filePath(file))) << file;
  for (const QStringList& step :
       {QStringList{"-S", ZAN_SOURCE_DIR "/examples/embed-host", "-B", build,
                    "-DCMAKE_PREFIX_PATH=" + prefix, "-DCMAKE_BUILD_TYPE=Debug",
                    "-DCMAKE_CXX_COMPILER=" ZAN_CXX_COMPILER, "-DCMAKE_CXX_FLAGS=" ZAN_HOST_FLAGS,
                    "-DCMAKE_EXE_LINKER_FLAGS=" ZAN_HOST_FLAGS},
        QStringList{"--build", build}}) {
    const auto [code, out] = run(cmake, step);
    ASSERT_EQ(code, 0) << out;
  }

  const QString library = QDir(prefix).filePath("lib/libZANPdfCtl4.so.5");
  const QString registry = tmp.filePath("registry");
  ASSERT_TRUE(QDir().mkpath(registry));
  const std::pair<QStringList, QStringList> runs[] = {
      {{},
       {"library version 5.00.0003 (5.0.3)", "entry points from " + library,
        "factory for ZANPdf3 {021D4818-281A-4BF7-ACD3-B1F7F45960B9}", "Validate -> 0",
        "Change events: 1", "can unload while the panel lives: no", "can unload after: yes",
        "embed-host: ok"}},
      {{"--class", "ZANPdf", "--load", library, "--registry", registry},
       {"loaded " + library, "registered library " + library,
        "factory for ZANPdf {23F3C677-42E2-432D-A213-139441553729}", "embed-host: ok"}}};
  for (const auto& [arguments, lines] : runs) {
    const auto [code, out] = run(QDir(build).filePath("embed-host"), arguments);
    EXPECT_EQ(code, 0) << out;
    for (const QString& line : lines)
      EXPECT_NE(out.find(line.toStdString()), std::string::npos) << line.toStdString() << '\n'
                                                                 << out;
  }
  EXPECT_TRUE(QDir(registry).isEmpty());

  // release-setup comes with a menu entry, its icon and a manual page.
  for (const char* file :
       {"share/applications/release-setup.desktop",
        "share/icons/hicolor/48x48/apps/release-setup.png", "share/man/man1/release-setup.1"})
    EXPECT_TRUE(QFileInfo(QDir(prefix).filePath(file)).size() > 0) << file;

  // The hub service's unit starts the installed program; systemd accepts it.
  const QString unit = QDir(prefix).filePath("lib/systemd/system/zan-hub.service");
  QFile unitFile(unit);
  ASSERT_TRUE(unitFile.open(QIODevice::ReadOnly)) << "no systemd unit installed";
  EXPECT_TRUE(QString::fromUtf8(unitFile.readAll())
                  .contains("ExecStart=" + QDir(prefix).filePath("bin/zan-hub") + " --hub"));
  const QString analyze = QStandardPaths::findExecutable("systemd-analyze");
  if (!analyze.isEmpty()) {
    const auto [code, out] = run(analyze, {"verify", unit});
    EXPECT_EQ(code, 0) << out;
  }
}

}  // namespace
