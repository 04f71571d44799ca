// The installed package: `cmake --install` of this build tree into a fresh prefix, the example
// host configured with find_package(ZANPdfCtl4), built, and run offscreen against it.

#include <gtest/gtest.h>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct Finished {
  int exitCode = -1;
  QString output;
};

Finished run(const QString& program, const QStringList& arguments, int timeoutMs) {
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(program, arguments);
  Finished r;
  if (!p.waitForFinished(timeoutMs)) {
    p.kill();
    p.waitForFinished();
    r.output = QStringLiteral("timed out: ") + program + ' ' + arguments.join(' ');
    return r;
  }
  r.output = QString::fromLocal8Bit(p.readAll());
  r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  return r;
}

// Catches a package hosts cannot use: headers or CMake files missing from the install, an
// imported target that does not compile or link a host, or a host that picks up another copy
// of the library than the installed one.
TEST(Package, ExampleHostBuildsAndRunsAgainstTheInstalledPackage) {
  const QString cmake = QStringLiteral(ZAN_CMAKE_COMMAND);
  if (!QFileInfo(cmake).isExecutable()) GTEST_SKIP() << "cmake not found: " << ZAN_CMAKE_COMMAND;
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  const QString prefix = tmp.filePath("prefix");
  for (const char* component : {"Runtime", "Development"}) {
    const Finished install = run(
        cmake, {"--install", ZAN_BINARY_DIR, "--prefix", prefix, "--component", component}, 60000);
    ASSERT_EQ(install.exitCode, 0) << install.output.toStdString();
  }
  for (const char* file :
       {"lib/libZANPdfCtl4.so.5", "lib/libZANPdfCtl4.so",
        "lib/cmake/ZANPdfCtl4/ZANPdfCtl4Config.cmake",
        "lib/cmake/ZANPdfCtl4/ZANPdfCtl4ConfigVersion.cmake",
        "include/ZANPdfCtl4/component/zan_component.h",
        "include/ZANPdfCtl4/common/automation/dispatch.h",
        "include/ZANPdfCtl4/acrobat_capture_panel/zanpdf3.h",
        "include/ZANPdfCtl4/ocr_pdf_panel/zanpdf.h", "include/ZANPdfCtl4/external/setup_data.h"})
    EXPECT_TRUE(QFileInfo::exists(QDir(prefix).filePath(file))) << file;

  const QString build = tmp.filePath("host");
  const Finished configure = run(
      cmake,
      {"-S", ZAN_SOURCE_DIR "/examples/embed-host", "-B", build, "-DCMAKE_PREFIX_PATH=" + prefix,
       "-DCMAKE_BUILD_TYPE=Debug", "-DCMAKE_CXX_COMPILER=" ZAN_CXX_COMPILER},
      120000);
  ASSERT_EQ(configure.exitCode, 0) << configure.output.toStdString();
  const Finished make = run(cmake, {"--build", build}, 150000);
  ASSERT_EQ(make.exitCode, 0) << make.output.toStdString();

  const QString library = QDir(prefix).filePath("lib/libZANPdfCtl4.so.5");
  const QString host = QDir(build).filePath("embed-host");
  const Finished linked = run(host, {}, 60000);
  EXPECT_EQ(linked.exitCode, 0) << linked.output.toStdString();
  for (const QString& line :
       {QString("library version 5.00.0003 (5.0.3)"), "entry points from " + library,
        QString("factory for ZANPdf3 {021D4818-281A-4BF7-ACD3-B1F7F45960B9}"),
        QString("Validate -> 0"), QString("Change events: 1"),
        QString("can unload while the panel lives: no"), QString("can unload after: yes"),
        QString("embed-host: ok")})
    EXPECT_TRUE(linked.output.contains(line)) << line.toStdString() << "\n"
                                              << linked.output.toStdString();

  const QString registry = tmp.filePath("registry");
  ASSERT_TRUE(QDir().mkpath(registry));
  const Finished loaded =
      run(host, {"--class", "ZANPdf", "--load", library, "--registry", registry}, 60000);
  EXPECT_EQ(loaded.exitCode, 0) << loaded.output.toStdString();
  for (const QString& line : {"loaded " + library, "registered library " + library,
                              QString("factory for ZANPdf {23F3C677-42E2-432D-A213-139441553729}"),
                              QString("embed-host: ok")})
    EXPECT_TRUE(loaded.output.contains(line)) << line.toStdString() << "\n"
                                              << loaded.output.toStdString();
  EXPECT_TRUE(QDir(registry).isEmpty());
}

}  // namespace
