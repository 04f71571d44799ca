// The installed package: `cmake --install` of this build tree into a fresh prefix, and hosts
// built against that prefix alone (tests/component/hosts: find_package, pkg-config, a host
// with its own settings/string_table.h, dlclose) and the Python host, run offscreen.

#include "doc_snippets.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

// The exit code (-1: crashed or timed out) and the merged output of a program run in `dir`
// (empty: the test's own working folder).
std::pair<int, std::string> run(
    const QString& program, const QStringList& arguments,
    const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
    const QString& dir = {}) {
  QProcess p;
  p.setProcessEnvironment(env);
  if (!dir.isEmpty()) p.setWorkingDirectory(dir);
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

// The symbols `library` exports as `nm -D -C --defined-only` lists them: the global ones (an
// upper-case type; local ones only name themselves), without the linker's own. None where nm is
// not installed.
std::optional<QStringList> exportedSymbols(const QString& library) {
  const QString nm = QStandardPaths::findExecutable("nm");
  if (nm.isEmpty()) return std::nullopt;
  const auto [code, out] = run(nm, {"-D", "-C", "--defined-only", library});
  EXPECT_EQ(code, 0) << out;
  const QRegularExpression global("^\\w+ [A-Z] "), linker(" (_edata|_end|__bss_start)$");
  QStringList symbols;
  for (const QString& line : QString::fromStdString(out).split('\n', Qt::SkipEmptyParts))
    if (global.match(line).hasMatch() && !linker.match(line).hasMatch()) symbols << line;
  return symbols;
}

// Every symbol names something under `scope` (a pattern): a member, or its vtable, type
// information or thunk.
void expectAllUnder(const QStringList& symbols, const QString& scope) {
  const QRegularExpression under(
      "^\\w+ \\w ((vtable|typeinfo|typeinfo name|non-virtual thunk) (for|to) )?" + scope);
  for (const QString& line : symbols)
    EXPECT_TRUE(under.match(line).hasMatch()) << "exported: " << line.toStdString();
}

// This build tree installed once into a fresh prefix, for every test of the package.
class Package : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!QFileInfo(QString(ZAN_CMAKE_COMMAND)).isExecutable()) return;
    installed = new QTemporaryDir;
    for (const char* component : {"Runtime", "Development"}) {
      const auto [code, out] = run(ZAN_CMAKE_COMMAND, {"--install", ZAN_BINARY_DIR, "--prefix",
                                                       prefixDir(), "--component", component});
      installProblem += code == 0 ? std::string() : out;
    }
  }
  static void TearDownTestSuite() { delete installed; }
  void SetUp() override {
    if (!installed) GTEST_SKIP() << "cmake not found: " << ZAN_CMAKE_COMMAND;
    ASSERT_TRUE(installProblem.empty()) << installProblem;
  }
  static QString prefixDir() { return installed->filePath("prefix"); }
  // Configures (with `more`) and builds the CMake project `source` into `build` against the
  // installed package, with this build's compiler and flags, as a host does.
  static void buildHost(const QString& source, const QString& build, const QStringList& more = {},
                        const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    for (const QStringList& step :
         {QStringList{"-S", source, "-B", build, "-DCMAKE_PREFIX_PATH=" + prefixDir(),
                      "-DCMAKE_BUILD_TYPE=Debug", "-DCMAKE_CXX_COMPILER=" ZAN_CXX_COMPILER,
                      "-DCMAKE_CXX_FLAGS=" ZAN_HOST_FLAGS,
                      "-DCMAKE_EXE_LINKER_FLAGS=" ZAN_HOST_FLAGS} +
              more,
          QStringList{"--build", build, "--parallel", "2"}}) {
      const auto [code, out] = run(ZAN_CMAKE_COMMAND, step, env);
      ASSERT_EQ(code, 0) << out;
    }
  }

  static inline QTemporaryDir* installed = nullptr;
  static inline std::string installProblem;
};

// Catches a package hosts cannot use: headers, CMake or pkg-config files missing from the
// install, internal headers installed or reached, an imported target that does not compile or
// link a host, a host that picks up another copy of the library than the installed one
// (linked, or loaded by file name and registered), C entry points that fail a C or Python
// host, a library that stays loaded after dlclose, and private symbols exported.
TEST_F(Package, HostsBuildAndRunAgainstTheInstalledPackage) {
  QTemporaryDir tmp;
  const QString prefix = prefixDir(), build = tmp.filePath("host");
  // Public headers only: nothing of the library's internal tree is installed.
  EXPECT_TRUE(QFileInfo::exists(QDir(prefix).filePath("include/ZANPdfCtl4/ZANPdf3")));
  EXPECT_FALSE(QFileInfo::exists(QDir(prefix).filePath("include/ZANPdfCtl4/common")));
  // Only the public API and the C entry points are exported.
  if (const auto symbols = exportedSymbols(QDir(prefix).filePath("lib/libZANPdfCtl4.so.5"))) {
    EXPECT_TRUE(symbols->join('\n').contains(" ZANPanelInvoke"))
        << symbols->join('\n').toStdString();
    expectAllUnder(*symbols, "(zan::|ZAN)");
    EXPECT_LE(symbols->size(), 200) << "exported symbols";
  }
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("PKG_CONFIG_PATH", QDir(prefix).filePath("lib/pkgconfig"));
  ASSERT_NO_FATAL_FAILURE(buildHost(
      ZAN_SOURCE_DIR "/tests/component/hosts", build,
      {"-DEXAMPLES_DIR=" ZAN_SOURCE_DIR "/examples", "-DCMAKE_C_FLAGS=" ZAN_HOST_FLAGS}, env));

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
        "no panel: CreateInstance: no QApplication exists", "c-host: ok"}},
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

  // release-setup comes with a menu entry and its icon.
  for (const char* file : {"share/applications/release-setup.desktop",
                           "share/icons/hicolor/48x48/apps/release-setup.png"})
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

// Catches a preview library hosts cannot use: its header or CMake package missing from the
// install, the engine or settings code exported from it, or the example host failing to build
// against the installed library or to show a page through it.
TEST_F(Package, PreviewHostBuildsAndRunsAgainstTheInstalledLibrary) {
  const QString prefix = prefixDir();
  const QString library = QDir(prefix).filePath("lib/libZANPreview.so.1");
  EXPECT_TRUE(QFileInfo::exists(QDir(prefix).filePath("include/ZANPreview/PreviewPane")));
  if (const auto symbols = exportedSymbols(library)) {
    EXPECT_TRUE(symbols->join('\n').contains("zan::preview::PreviewPane::setPage"))
        << symbols->join('\n').toStdString();
    expectAllUnder(*symbols, "zan::preview::");
  }
  QTemporaryDir tmp;
  const QString build = tmp.filePath("preview-host");
  ASSERT_NO_FATAL_FAILURE(buildHost(ZAN_SOURCE_DIR "/examples/preview-host", build));
  // The example setup with text made, on the bundled sample page.
  const QString setup = tmp.filePath("setup.json");
  ASSERT_TRUE(zan::testing::writeExampleSetup(ZAN_SOURCE_DIR "/examples", setup,
                                              {{"OutputFormatType", 3}}));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  const auto [code, out] =
      run(QDir(build).filePath("preview-host"),
          {"--once", setup, ZAN_SOURCE_DIR "/apps/release-setup/data/sample-page.png"}, env);
  EXPECT_EQ(code, 0) << out;
  const QRegularExpressionMatch shown =
      QRegularExpression("(\\d+) words, (\\d+) marked").match(QString::fromStdString(out));
  ASSERT_TRUE(shown.hasMatch()) << out;
  EXPECT_GT(shown.captured(1).toInt(), 50) << out;
  EXPECT_GT(shown.captured(2).toInt(), 0) << "the sample's garbled word is not marked: " << out;
}

// Catches a program without its manual page, a page man renders with warnings (a synopsis line
// falling into the description, options missing), a usage line that hides the required
// arguments or shows the build path, and a page without its exit status or files.
TEST_F(Package, ManualPagesRenderCleanly) {
  const QString man = QStandardPaths::findExecutable("man");
  if (man.isEmpty()) GTEST_SKIP() << "man is not installed";
  const struct {
    const char* program;
    const char* synopsis;
    std::vector<const char*> options;
  } pages[] = {
      {"release-setup",
       "release-setup [--panel capture|ocr] [--setup FILE]",
       {"--panel KIND", "--setup FILE", "--font-size POINTS", "--set NAME=VALUE", "--validate"}},
      {"zan-release",
       "zan-release --setup FILE --batch BATCH.json --out DIR",
       {"--setup", "--batch", "--out"}},
      {"zan-hub",
       "zan-hub (--hub DIR | --config FILE)",
       {"--hub", "--config", "--output-root", "--once"}}};
  for (const auto& page : pages) {
    SCOPED_TRACE(page.program);
    const QString file =
        QDir(prefixDir()).filePath(QString("share/man/man1/%1.1").arg(page.program));
    ASSERT_TRUE(QFileInfo(file).size() > 0) << file.toStdString();
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("MANWIDTH", "100");
    p.setProcessEnvironment(env);
    p.start(man, {"--warnings", "-l", file});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardError()), QString()) << "warnings";
    EXPECT_EQ(p.exitCode(), 0);
    const QString synopsis = text.section("SYNOPSIS", 1).section("DESCRIPTION", 0, 0);
    EXPECT_TRUE(synopsis.simplified().startsWith(page.synopsis)) << synopsis.toStdString();
    EXPECT_FALSE(text.contains(ZAN_BINARY_DIR)) << "the build path is shown";
    const QString options = text.section("OPTIONS", 1).section("EXIT STATUS", 0, 0);
    for (const char* option : page.options) EXPECT_TRUE(options.contains(option)) << option;
    for (const char* section : {"EXIT STATUS", "FILES", "SEE ALSO"})
      EXPECT_TRUE(text.contains(QString("\n%1\n").arg(section))) << section;
  }
}

// Catches an installed header that names a class of the library's implementation (a panel's
// implementation class, a control, the late-binding engine): hosts would see what is private,
// and every change to it would be a change of the public interface. Named on purpose: the
// private parts behind the d-pointers (`...Private`), friends that reach them, and the opaque
// environment seam that the class factory takes (`PanelEnvironment`).
TEST_F(Package, InstalledHeadersNameNoImplementationClass) {
  // The code of a file: no comments, strings, enumerators or friend declarations.
  const auto code = [](const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QString();
    static const QRegularExpression noise(
        R"(//[^\n]*|/\*.*?\*/|"(\\.|[^"\\])*"|\benum\b[^{;]*\{[^}]*\}|\bfriend\s+class\s+\w+\s*;)",
        QRegularExpression::DotMatchesEverythingOption);
    return QString::fromUtf8(f.readAll()).replace(noise, QStringLiteral(" "));
  };
  const QRegularExpression definition(
      R"(^\s*(?:class|struct)\s+(?:ZANPDFCTL4_EXPORT\s+)?(\w+)\s*(?:final\s*)?(?::(?!:)|\{))",
      QRegularExpression::MultilineOption);
  const auto definedIn = [&](const QString& dir, bool internal) {
    QSet<QString> names;
    QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const QString path = it.next();
      if (internal && path.contains(QLatin1String("/include/"))) continue;
      QRegularExpressionMatchIterator m = definition.globalMatch(code(path));
      while (m.hasNext()) names.insert(m.next().captured(1));
    }
    return names;
  };
  const QString include = QDir(prefixDir()).filePath("include/ZANPdfCtl4");
  QSet<QString> internal = definedIn(ZAN_SOURCE_DIR "/ZANPDFCtl", true);
  ASSERT_TRUE(internal.contains("PanelCore") && internal.contains("ObjectDispatch"));
  internal -= definedIn(include, false);
  internal.remove(QStringLiteral("PanelEnvironment"));
  const QStringList headers = QDir(include).entryList(QDir::Files);
  ASSERT_GE(headers.size(), 8);
  const QRegularExpression word(R"(\b[A-Za-z_]\w*\b)");
  for (const QString& header : headers) {
    QRegularExpressionMatchIterator m = word.globalMatch(code(QDir(include).filePath(header)));
    QSet<QString> named;
    while (m.hasNext()) {
      const QString w = m.next().captured();
      if (internal.contains(w) && !w.endsWith(QLatin1String("Private"))) named.insert(w);
    }
    EXPECT_TRUE(named.isEmpty()) << header.toStdString() << " names "
                                 << QStringList(named.values()).join(' ').toStdString();
  }
}

// Catches a code block of the README or of docs/ that does not compile, link or do what its text
// says against the installed package (a header it needs but does not include, a type no
// installed header defines), a JSON example that is not JSON, and a host built with the
// README's pkg-config command line that cannot find the library without LD_LIBRARY_PATH.
TEST_F(Package, DocumentationSnippetsBuildAndRun) {
  QTemporaryDir tmp;
  const QString source = tmp.filePath("snippets"), build = tmp.filePath("snippets-build");
  const QVector<zan::testing::DocSnippet> snippets = zan::testing::docSnippets(ZAN_SOURCE_DIR);
  ASSERT_GE(snippets.size(), 8);
  QString problem;
  QStringList cmakeProjects;
  QStringList programs =
      zan::testing::writeSnippetProject(snippets, source, cmakeProjects, problem);
  ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
  ASSERT_GE(programs.size(), 4);
  ASSERT_GE(cmakeProjects.size(), 2);
  ASSERT_NO_FATAL_FAILURE(buildHost(source, build));
  for (const QString& project : cmakeProjects) {
    ASSERT_NO_FATAL_FAILURE(
        buildHost(QDir(source).filePath(project), QDir(build).filePath(project)));
    programs << project + QStringLiteral("/my-host");
  }
  // Run where the README's host finds its setup file; the library loaded by file name is found
  // through the loader's path, as the text says.
  const QString work = tmp.filePath("work");
  ASSERT_TRUE(QDir().mkpath(work));
  ASSERT_TRUE(zan::testing::writeExampleSetup(
      ZAN_SOURCE_DIR "/examples", QDir(work).filePath("release-setup.json"),
      {{"WorkgroupHub", QDir(ZAN_SOURCE_DIR "/examples").filePath("hub")}}));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("LD_LIBRARY_PATH", QDir(prefixDir()).filePath("lib"));
  for (const QString& program : programs) {
    const auto [code, out] = run(QDir(build).filePath(program), {}, env, work);
    EXPECT_EQ(code, 0) << program.toStdString() << '\n' << out;
    EXPECT_NE(out.find("snippet: ok"), std::string::npos) << program.toStdString() << '\n' << out;
  }
  // The README's pkg-config command line, for its host snippet; run without LD_LIBRARY_PATH.
  const QString pkgConfig = QStandardPaths::findExecutable("pkg-config");
  const auto host = std::find_if(snippets.begin(), snippets.end(), [](const auto& s) {
    return s.context == QLatin1String("host-dialog");
  });
  ASSERT_NE(host, snippets.end());
  if (pkgConfig.isEmpty() || std::string(ZAN_HOST_FLAGS).find("sanitize") != std::string::npos)
    return;  // a sanitized library needs the same flags, which the command line does not carry
  QProcessEnvironment pc = QProcessEnvironment::systemEnvironment();
  pc.insert("PKG_CONFIG_PATH", QDir(prefixDir()).filePath("lib/pkgconfig"));
  const auto [flagsCode, flags] = run(pkgConfig, {"--cflags", "--libs", "ZANPdfCtl4"}, pc);
  ASSERT_EQ(flagsCode, 0) << flags;
  const QString sourceFile =
      QDir(source).filePath(QStringLiteral("snippet-%1.cpp").arg(host - snippets.begin() + 1));
  QStringList compile{"-std=c++17", "-fPIC", sourceFile, "-o", tmp.filePath("pkg-config-host")};
  compile += QString::fromStdString(flags).simplified().split(' ');
  const auto [cc, ccOut] = run(ZAN_CXX_COMPILER, compile);
  ASSERT_EQ(cc, 0) << ccOut;
  QProcessEnvironment plain = QProcessEnvironment::systemEnvironment();
  plain.remove("LD_LIBRARY_PATH");
  plain.insert("QT_QPA_PLATFORM", "offscreen");
  const auto [hostCode, hostOut] = run(tmp.filePath("pkg-config-host"), {}, plain, work);
  EXPECT_EQ(hostCode, 0) << hostOut;
  EXPECT_NE(hostOut.find("snippet: ok"), std::string::npos) << hostOut;
}

}  // namespace
