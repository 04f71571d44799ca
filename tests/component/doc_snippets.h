#pragma once
// The code blocks of the README and of docs/, as the package test builds and runs them against
// the installed package. Each C++ or CMake block is introduced by a comment naming the program
// it belongs in, for example
//   <!-- snippet: host-dialog -->
// which the test wraps around it (the includes and variables the text around it speaks of);
// a JSON block must parse, unless introduced by <!-- snippet: abbreviated -->.

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QVector>

namespace zan::testing {

struct DocSnippet {
  QString file;      // relative to the source folder, such as "README.md"
  int line = 0;      // of the opening fence
  QString language;  // "cpp", "cmake", "json", ...
  QString context;   // the name in the comment before it; empty when there is none
  QString code;
};

// Every fenced block of README.md and docs/*.md under `sourceDir`.
QVector<DocSnippet> docSnippets(const QString& sourceDir);

// Writes into `dir` a CMake project that builds every C++ snippet against the installed package
// (find_package(ZANPdfCtl4)), one program "snippet-<n>" each, and returns the programs; and a
// project of its own for each CMake snippet, "cmake-<n>" (in `cmakeProjects`), building the
// program "my-host". JSON snippets are parsed. The first snippet that cannot be placed is
// described in `problem`.
QStringList writeSnippetProject(const QVector<DocSnippet>& snippets, const QString& dir,
                                QStringList& cmakeProjects, QString& problem);

// Writes to `path` the bundled example setup file with `partTwo`'s values in its second part
// (the host-dialog snippet resolves no relative paths: it needs the workgroup hub absolute).
bool writeExampleSetup(const QString& examplesDir, const QString& path, const QJsonObject& partTwo);

}  // namespace zan::testing
