#include "doc_snippets.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QRegularExpression>

namespace zan::testing {
namespace {

// The program around a C++ snippet: the includes it needs besides <QApplication> and <cstdio>
// (after the includes the snippet names itself), what main() sets up after the QApplication,
// and the condition on which the snippet failed. Each program prints "snippet: ok" and exits
// with 0 when the snippet did what the text around it says.
struct Wrapper {
  const char* includes;
  const char* setup;
  const char* failed;
};

const QMap<QString, Wrapper>& wrappers() {
  static const QMap<QString, Wrapper> all = {
      // README: a panel on the host's own dialog; a user presses OK once it shows, and any
      // message box (a failure) is answered and counted.
      {QStringLiteral("host-dialog"),
       {R"(#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
)",
        R"(  int boxes = 0;
  QTimer user;
  QObject::connect(&user, &QTimer::timeout, [&] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
        std::printf("message: %s\n", qPrintable(box->text()));
        ++boxes;
        box->accept();
        return;
      }
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible())
        for (auto* b : d->findChildren<QPushButton*>())
          if (b->text() == "OK") return b->click();
  });
  user.start(200);
)",
        R"(dialog.result() != QDialog::Accepted || boxes != 0)"}},
      // docs/late-binding.md: the library loaded by file name into a host with a dialog.
      {QStringLiteral("late-loading"),
       {R"(#include <ZANPdfCtl4/LateBinding>
#include <ZANPdfCtl4/zanpdfctl4.h>
#include <QDialog>
#include <QVBoxLayout>
#include <dlfcn.h>
)",
        R"(  QDialog dialog;
  QWidget* hostDialog = &dialog;
  auto* layout = new QVBoxLayout(hostDialog);
)",
        R"(!panel || layout->count() != 1)"}},
      // docs/late-binding.md: a member called through Qt's meta-object system before Init.
      {QStringLiteral("meta-call"),
       {R"(#include <ZANPdfCtl4/ZANPdf3>
#include <QDebug>
)",
        R"(  ZANPdf3 created;
  QObject* panel = &created;
)",
        R"(result != -1  /* "call Init first" */)"}},
      // docs/late-binding.md: the events of a panel's late-bound surface.
      {QStringLiteral("events"),
       {R"(#include <ZANPdfCtl4/LateBinding>
#include <ZANPdfCtl4/ZANPdf3>
using zan::automation::DispId;
using zan::automation::Variant;
)",
        R"(  ZANPdf3 created;
  zan::automation::Dispatch* panel = zan::component::dispatchOf(&created);
)",
        R"(cookie == 0)"}},
  };
  return all;
}

// The whole program of a C++ snippet: its own includes, then `wrapper` around `body`.
QString wrapped(const QString& includes, const Wrapper& wrapper, const QString& body) {
  return includes + QLatin1String(wrapper.includes) +
         QStringLiteral(
             "#include <QApplication>\n#include <cstdio>\n"
             "int main(int argc, char** argv) {\n"
             "  QApplication app(argc, argv);\n") +
         QLatin1String(wrapper.setup) + QStringLiteral("  {\n") + body +
         QStringLiteral(
             "    if (%1) return 1;\n  }\n  std::puts(\"snippet: ok\");\n  return 0;\n}\n")
             .arg(QLatin1String(wrapper.failed));
}

bool write(const QString& path, const QString& text) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         file.write(text.toUtf8()) == text.toUtf8().size();
}

}  // namespace

QVector<DocSnippet> docSnippets(const QString& sourceDir) {
  QStringList files{QStringLiteral("README.md")};
  for (const QString& doc : QDir(sourceDir + QStringLiteral("/docs")).entryList({"*.md"}))
    files << QStringLiteral("docs/") + doc;
  static const QRegularExpression marker(QStringLiteral(R"(^<!--\s*snippet:\s*([\w-]+)\s*-->$)"));
  QVector<DocSnippet> snippets;
  for (const QString& name : files) {
    QFile file(QDir(sourceDir).filePath(name));
    if (!file.open(QIODevice::ReadOnly)) continue;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
      if (!lines[i].startsWith(QLatin1String("```"))) continue;
      DocSnippet s{name, i + 1, lines[i].mid(3).trimmed(), {}, {}};
      for (int back = i - 1; back >= 0 && !lines[back].trimmed().isEmpty(); --back) {
        const auto m = marker.match(lines[back].trimmed());
        if (m.hasMatch()) s.context = m.captured(1);
      }
      while (++i < lines.size() && !lines[i].startsWith(QLatin1String("```")))
        s.code += lines[i] + QLatin1Char('\n');
      snippets << s;
    }
  }
  return snippets;
}

QStringList writeSnippetProject(const QVector<DocSnippet>& snippets, const QString& dir,
                                QStringList& cmakeProjects, QString& problem) {
  QString project = QStringLiteral(
      "cmake_minimum_required(VERSION 3.25)\n"
      "project(doc-snippets LANGUAGES CXX)\n"
      "set(CMAKE_CXX_STANDARD 17)\n"
      "find_package(ZANPdfCtl4 5 REQUIRED)\n"
      "find_package(Qt6 REQUIRED COMPONENTS Widgets)\n");
  QStringList programs;
  int n = 0;
  for (const DocSnippet& s : snippets) {
    ++n;
    const QString where = QStringLiteral("%1:%2").arg(s.file).arg(s.line);
    if (s.language == QLatin1String("cmake")) {
      const QString sub = QStringLiteral("cmake-%1").arg(n);
      const QString cmake = QStringLiteral(
                                "cmake_minimum_required(VERSION 3.25)\n"
                                "project(snippet LANGUAGES CXX)\n"
                                "set(CMAKE_CXX_STANDARD 17)\n"
                                "add_executable(my-host main.cpp)\n") +
                            s.code;
      if (s.context != QLatin1String("cmake-host") ||
          !write(QDir(dir).filePath(sub + "/CMakeLists.txt"), cmake) ||
          !write(QDir(dir).filePath(sub + "/main.cpp"),  // a panel created and destroyed
                 wrapped("#include <ZANPdfCtl4/ZANPdf3>\n", {"", "", "false"},
                         "    ZANPdf3 panel;\n"))) {
        problem = where + QStringLiteral(": a CMake block needs <!-- snippet: cmake-host -->");
        return {};
      }
      cmakeProjects << sub;
    } else if (s.language == QLatin1String("cpp")) {
      const auto wrapper = wrappers().find(s.context);
      if (wrapper == wrappers().end()) {
        problem = where + QStringLiteral(
                              ": a C++ block needs <!-- snippet: NAME --> with NAME "
                              "one of %1")
                              .arg(wrappers().keys().join(QStringLiteral(", ")));
        return {};
      }
      // The snippet's own includes go first, the rest into the program's body.
      QString includes, body;
      for (const QString& line : s.code.split(QLatin1Char('\n')))
        (line.startsWith(QLatin1String("#include")) ? includes : body) += line + '\n';
      const QString program = QStringLiteral("snippet-%1").arg(n);
      const QString source =
          QStringLiteral("// %1\n").arg(where) + wrapped(includes, *wrapper, body);
      if (!write(QDir(dir).filePath(program + ".cpp"), source)) {
        problem = QStringLiteral("cannot write %1").arg(program);
        return {};
      }
      // The library loaded by file name is not linked.
      const QString library = s.context == QLatin1String("late-loading")
                                  ? QStringLiteral(
                                        "Qt6::Widgets ${CMAKE_DL_LIBS})\n"
                                        "target_include_directories(%1 PRIVATE "
                                        "$<TARGET_PROPERTY:ZANPdfCtl4::ZANPdfCtl4,"
                                        "INTERFACE_INCLUDE_DIRECTORIES>)\n")
                                        .arg(program)
                                  : QStringLiteral("ZANPdfCtl4::ZANPdfCtl4)\n");
      project += QStringLiteral("add_executable(%1 %1.cpp)\ntarget_link_libraries(%1 PRIVATE ")
                     .arg(program) +
                 library;
      programs << program;
    } else if (s.language == QLatin1String("json")) {
      if (s.context == QLatin1String("abbreviated")) continue;
      QJsonParseError error{};
      QJsonDocument::fromJson(s.code.toUtf8(), &error);
      if (error.error != QJsonParseError::NoError) {
        problem = where + QStringLiteral(
                              ": not JSON (%1); an example that leaves parts out "
                              "is marked <!-- snippet: abbreviated -->")
                              .arg(error.errorString());
        return {};
      }
    } else {
      problem = where + QStringLiteral(": a block of \"%1\", which no test builds").arg(s.language);
      return {};
    }
  }
  if (!write(QDir(dir).filePath("CMakeLists.txt"), project)) {
    problem = QStringLiteral("cannot write the snippet project");
    return {};
  }
  return programs;
}

bool writeExampleSetup(const QString& examplesDir, const QString& path,
                       const QJsonObject& partTwo) {
  QFile example(QDir(examplesDir).filePath("setup/release-setup.json"));
  if (!example.open(QIODevice::ReadOnly)) return false;
  QJsonObject setup = QJsonDocument::fromJson(example.readAll()).object();
  QJsonObject two = setup.value("SetupPartTwo").toObject();
  for (auto it = partTwo.begin(); it != partTwo.end(); ++it) two.insert(it.key(), it.value());
  setup.insert("SetupPartTwo", two);
  return write(path, QString::fromUtf8(QJsonDocument(setup).toJson()));
}

}  // namespace zan::testing
