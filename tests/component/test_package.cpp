// The installed package: `cmake --install` of this build tree into a fresh prefix, and hosts
// built against that prefix alone (tests/component/hosts: find_package, pkg-config, a host
// with its own common/string_table.h, dlclose) and the Python host, run offscreen.

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <vector>

namespace {

// The exit code (-1: crashed or timed out) and the merged output of a program.
std::pair<int, std::string> run(
    const QString& program, const QStringList& arguments,
    const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
  QProcess p;
  p.setProcessEnvironment(env);
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

// Catches a package hosts cannot use: headers, CMake or pkg-config files missing from the
// install, internal headers installed or reached, an imported target that does not compile or
// link a host, a host that picks up another copy of the library than the installed one
// (linked, or loaded by file name and registered), C entry points that fail a C or Python
// host, a library that stays loaded after dlclose, and private symbols exported.
TEST(Package, HostsBuildAndRunAgainstTheInstalledPackage) {
  const QString cmake = ZAN_CMAKE_COMMAND;
  if (!QFileInfo(cmake).isExecutable()) GTEST_SKIP() << "cmake not found: " << ZAN_CMAKE_COMMAND;
  QTemporaryDir tmp;
  const QString prefix = tmp.filePath("prefix"), build = tmp.filePath("host");
  for (const char* component : {"Runtime", "Development"}) {
    const auto [code, out] =
        run(cmake, {"--install", ZAN_BINARY_DIR, "--prefix", prefix, "--component", component});
    ASSERT_EQ(code, 0) << out;
  }
  // Public headers only: nothing of the library's internal tree is installed.
  EXPECT_TRUE(QFileInfo::exists(QDir(prefix).filePath("include/ZANPdfCtl4/ZANPdf3")));
  EXPECT_FALSE(QFileInfo::exists(QDir(prefix).filePath("include/ZANPdfCtl4/common")));
  // Only the public API and the C entry points are exported.
  const QString nm = QStandardPaths::findExecutable("nm");
  if (!nm.isEmpty()) {
    const auto [code, out] =
        run(nm, {"-D", "-C", "--defined-only", QDir(prefix).filePath("lib/libZANPdfCtl4.so.5")});
    ASSERT_EQ(code, 0) << out;
    EXPECT_NE(out.find(" ZANPanelInvoke"), std::string::npos) << out;
    const QRegularExpression exported(
        "^\\w+ \\w ((vtable|typeinfo|typeinfo name|non-virtual thunk) (for|to) )?(zan::|ZAN)|"
        " (_edata|_end|__bss_start)$");
    for (const QString& line : QString::fromStdString(out).split('\n', Qt::SkipEmptyParts))
      EXPECT_TRUE(exported.match(line).hasMatch()) << "exported: " << line.toStdString();
  }
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("PKG_CONFIG_PATH", QDir(prefix).filePath("lib/pkgconfig"));
  for (const QStringList& step :
       {QStringList{"-S", ZAN_SOURCE_DIR "/tests/component/hosts", "-B", build,
                    "-DEXAMPLES_DIR=" ZAN_SOURCE_DIR "/examples", "-DCMAKE_PREFIX_PATH=" + prefix,
                    "-DCMAKE_BUILD_TYPE=Debug", "-DCMAKE_CXX_COMPILER=" ZAN_CXX_COMPILER,
                    "-DCMAKE_CXX_FLAGS=" ZAN_HOST_FLAGS, "-DCMAKE_C_FLAGS=" ZAN_HOST_FLAGS,
                    "-DCMAKE_EXE_LINKER_FLAGS=" ZAN_HOST_FLAGS},
        QStringList{"--build", build, "--parallel", "2"}}) {
    const auto [code, out] = run(cmake, step, env);
    ASSERT_EQ(code, 0) << out;
  }

  const QString library = QDir(prefix).filePath("lib/libZANPdfCtl4.so.5");
  const QString registry = tmp.filePath("registry");
  ASSERT_TRUE(QDir().mkpath(registry));
  const bool sanitized = std::string(ZAN_HOST_FLAGS).find("sanitize") != std::string::npos;
  struct Run {
    QString program;
    QStringList arguments;
    QStringList lines;
  };
  std::vector<Run> runs = {
      {"embed-host/embed-host",
       {},
       {"library version 5.00.0003 (5.0.3)", "entry points from " + library,
        "factory for ZANPdf3 {021D4818-281A-4BF7-ACD3-B1F7F45960B9}", "Validate -> 0",
        "Change events: 1", "can unload while the panel lives: no", "can unload after: yes",
        "embed-host: ok"}},
      {"embed-host/embed-host",
       {"--class", "ZANPdf", "--load", library, "--registry", registry},
       {"loaded " + library, "registered library " + library,
        "factory for ZANPdf {23F3C677-42E2-432D-A213-139441553729}", "embed-host: ok"}},
      {"early-host",
       {},
       {"ZANPdf Validate -> 0", "Init through Q_ARG: yes, LastError empty: yes", "ZANPdf3",
        "host captions, ZANPdf: early-host: ok"}},
      {"c-host",
       {tmp.filePath("c-host.json")},
       {"refused: A setup value is a string, number or Boolean", "WatchedFolder /srv/watched",
        "c-host: ok"}},
      {"unload-host", {library}, {"can unload: yes", "after dlclose: unloaded"}}};
  // A sanitized library loads only into a sanitized process, which the Python host is not.
  if (!sanitized)
    runs.push_back({"/usr/bin/python3",
                    {ZAN_SOURCE_DIR "/examples/python-host/host.py", "--library", library},
                    {"Init kept the setup data: True", "Validate -> 0", "Change events: 1",
                     "saved and reloaded WatchedFolder: True", "python-host: ok"}});
  for (const auto& [program, arguments, lines] : runs) {
    const auto [code, out] = run(QDir(build).filePath(program), arguments);
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
                  .contains("ExecStart=" + QDir(prefix).filePath("bin/zan-hub") + " --config "));
  const QString analyze = QStandardPaths::findExecutable("systemd-analyze");
  if (!analyze.isEmpty()) {
    const auto [code, out] = run(analyze, {"verify", unit});
    EXPECT_EQ(code, 0) << out;
  }
}

}  // namespace
