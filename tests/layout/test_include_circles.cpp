// No two production files in a circle: a header and its .cpp are one unit, an `#include "..."`
// in either is an edge from that unit to the unit of the included file, and the graph of units
// must have no cycle. The files are found by walking the tree, so that files moved to other
// folders stay covered.

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>

namespace {

const QStringList kProductionFolders = {QStringLiteral("ZANPDFCtl"), QStringLiteral("release"),
                                        QStringLiteral("hub"), QStringLiteral("preview"),
                                        QStringLiteral("apps")};

// Folders an `#include "x/y.h"` may be written from besides the including file's own.
const QStringList kIncludeRoots = {QString(), QStringLiteral("ZANPDFCtl"),
                                   QStringLiteral("ZANPDFCtl/include"),
                                   QStringLiteral("preview/include")};

QString withoutSuffix(const QString& file) {
  const int dot = file.lastIndexOf(QLatin1Char('.'));
  return dot > file.lastIndexOf(QLatin1Char('/')) ? file.left(dot) : file;
}

struct IncludeGraph {
  QStringList files;                    // relative to the root, sorted
  QMap<QString, QStringList> includes;  // file -> the files it includes
  QMap<QString, QString> units;         // file -> its unit
  QString unitOf(const QString& file) const { return units.value(file, file); }
};

// A file's unit: its path without the extension (widget.h and widget.cpp are one); a public
// header in an include folder joins the one .cpp of its name.
void findUnits(IncludeGraph& graph) {
  QMap<QString, QStringList> sourcesByName;
  QSet<QString> stems;
  for (const QString& file : graph.files) {
    stems.insert(withoutSuffix(file));
    if (!file.endsWith(QLatin1String(".h")) && !file.endsWith(QLatin1String(".hpp")))
      sourcesByName[withoutSuffix(QFileInfo(file).fileName())] << file;
  }
  for (const QString& file : graph.files) {
    QString unit = withoutSuffix(file);
    const bool header = file.endsWith(QLatin1String(".h")) || file.endsWith(QLatin1String(".hpp"));
    const QStringList named = sourcesByName.value(withoutSuffix(QFileInfo(file).fileName()));
    if (header && file.contains(QLatin1String("/include/")) && named.size() == 1 &&
        !graph.files.contains(unit + QStringLiteral(".cpp")))
      unit = withoutSuffix(named.first());
    graph.units.insert(file, unit);
  }
}

// The source files below `folders` of `root`, and the files their quoted includes name.
IncludeGraph includeGraph(const QDir& root, const QStringList& folders) {
  IncludeGraph graph;
  for (const QString& folder : folders) {
    QDirIterator it(root.filePath(folder),
                    {QStringLiteral("*.h"), QStringLiteral("*.hpp"), QStringLiteral("*.cpp"),
                     QStringLiteral("*.c")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) graph.files << root.relativeFilePath(it.next());
  }
  std::sort(graph.files.begin(), graph.files.end());
  const QSet<QString> known(graph.files.cbegin(), graph.files.cend());
  static const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s*\"([^\"]+)\""),
                                          QRegularExpression::MultilineOption);
  for (const QString& file : graph.files) {
    QFile f(root.filePath(file));
    if (!f.open(QIODevice::ReadOnly)) {
      ADD_FAILURE() << "cannot read " << file.toStdString();
      continue;
    }
    const QString text = QString::fromUtf8(f.readAll());
    const QString dir = QFileInfo(file).path();
    for (auto m = include.globalMatch(text); m.hasNext();) {
      const QString name = m.next().captured(1);
      QStringList candidates{QDir::cleanPath(dir + QLatin1Char('/') + name)};
      for (const QString& r : kIncludeRoots)
        candidates << QDir::cleanPath(r.isEmpty() ? name : r + QLatin1Char('/') + name);
      QString target;
      for (const QString& c : candidates)
        if (known.contains(c)) {
          target = c;
          break;
        }
      if (target.isEmpty()) {  // an include folder of its own target: the one file it can be
        QStringList ends;
        for (const QString& f2 : graph.files)
          if (f2.endsWith(QLatin1Char('/') + name)) ends << f2;
        if (ends.size() == 1) target = ends.first();
      }
      if (!target.isEmpty()) graph.includes[file] << target;
    }
  }
  findUnits(graph);
  return graph;
}

// Each circle of units (a strongly connected component of more than one), as the include
// lines that close it: "a.cpp includes b.h".
QStringList circles(const IncludeGraph& graph) {
  QMap<QString, QSet<QString>> edges;  // unit -> units
  QSet<QString> units;
  for (const QString& file : graph.files) units.insert(graph.unitOf(file));
  for (auto e = graph.includes.cbegin(); e != graph.includes.cend(); ++e)
    for (const QString& to : e.value())
      if (graph.unitOf(to) != graph.unitOf(e.key()))
        edges[graph.unitOf(e.key())].insert(graph.unitOf(to));

  // Tarjan's strongly connected components.
  QMap<QString, int> index, low;
  QStringList stack;
  QSet<QString> onStack;
  QList<QSet<QString>> components;
  int next = 0;
  std::function<void(const QString&)> visit = [&](const QString& u) {
    index[u] = low[u] = next++;
    stack << u;
    onStack.insert(u);
    for (const QString& v : edges.value(u)) {
      if (!index.contains(v)) {
        visit(v);
        low[u] = std::min(low[u], low[v]);
      } else if (onStack.contains(v)) {
        low[u] = std::min(low[u], index[v]);
      }
    }
    if (low[u] == index[u]) {
      QSet<QString> component;
      QString v;
      do {
        v = stack.takeLast();
        onStack.remove(v);
        component.insert(v);
      } while (v != u);
      if (component.size() > 1) components << component;
    }
  };
  QStringList sortedUnits(units.cbegin(), units.cend());
  std::sort(sortedUnits.begin(), sortedUnits.end());
  for (const QString& u : sortedUnits)
    if (!index.contains(u)) visit(u);

  QStringList found;
  for (const QSet<QString>& component : components) {
    QStringList lines;
    for (auto e = graph.includes.cbegin(); e != graph.includes.cend(); ++e)
      for (const QString& to : e.value())
        if (component.contains(graph.unitOf(e.key())) && component.contains(graph.unitOf(to)) &&
            graph.unitOf(e.key()) != graph.unitOf(to))
          lines << e.key() + QStringLiteral(" includes ") + to;
    lines.sort();
    found << lines.join(QStringLiteral("; "));
  }
  found.sort();
  return found;
}

void writeFile(const QDir& dir, const QString& name, const QString& text) {
  QDir().mkpath(QFileInfo(dir.filePath(name)).path());
  QFile f(dir.filePath(name));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << name.toStdString();
  f.write(text.toUtf8());
}

struct TreeCase {
  const char* what;
  QMap<QString, QString> files;  // path -> text
  QStringList circles;
};

class IncludeCircleFinder : public testing::TestWithParam<TreeCase> {};

// Catches a finder that misses a circle closed through a header's .cpp, one through three
// units, or one spelled relative to the including file or through a target's include folder;
// and one that sees a circle where the includes only point one way.
TEST_P(IncludeCircleFinder, FindsExactlyTheCircles) {
  QTemporaryDir tree;
  ASSERT_TRUE(tree.isValid());
  const QDir root(tree.path());
  for (auto f = GetParam().files.cbegin(); f != GetParam().files.cend(); ++f)
    writeFile(root, f.key(), f.value());
  EXPECT_EQ(circles(includeGraph(root, {QStringLiteral("apps"), QStringLiteral("hub")})),
            GetParam().circles);
}

INSTANTIATE_TEST_SUITE_P(
    Trees, IncludeCircleFinder,
    testing::Values(
        TreeCase{"a .cpp calls back into the file that includes its header",
                 {{"apps/r/command.h", ""},
                  {"apps/r/command.cpp", "#include \"command.h\"\n#include \"capture.h\"\n"},
                  {"apps/r/capture.h", ""},
                  {"apps/r/capture.cpp", "#include \"capture.h\"\n#include \"command.h\"\n"}},
                 {"apps/r/capture.cpp includes apps/r/command.h; apps/r/command.cpp includes "
                  "apps/r/capture.h"}},
        TreeCase{"includes one way only",
                 {{"apps/r/command.cpp", "#include \"hub/steps.h\"\n"},
                  {"hub/steps.h", "#include \"hub/job.h\"\n"},
                  {"hub/steps.cpp", "#include \"hub/steps.h\"\n"},
                  {"hub/job.h", ""}},
                 {}},
        TreeCase{"three units in a ring, through root-relative paths",
                 {{"hub/a.h", ""},
                  {"hub/a.cpp", "#include \"hub/b.h\"\n"},
                  {"hub/b.h", "  #  include \"hub/c.h\"\n"},
                  {"hub/c.h", ""},
                  {"hub/c.cpp", "#include \"a.h\"\n"},
                  {"hub/d.cpp", "#include \"hub/a.h\"\n"}},
                 {"hub/a.cpp includes hub/b.h; hub/b.h includes hub/c.h; hub/c.cpp includes "
                  "hub/a.h"}},
        TreeCase{"a public header, in its target's include folder, and its .cpp as one",
                 {{"apps/lib/include/Lib/panel.h", ""},
                  {"apps/lib/panel.cpp",
                   "#include \"Lib/panel.h\"\n#include \"helper.h\"\n// #include \"x.h\"\n"},
                  {"apps/lib/helper.h", ""},
                  {"apps/lib/helper.cpp", "#include \"Lib/panel.h\"\n"},
                  {"apps/lib/x.h", "#include \"panel.cpp\"\n"}},
                 {"apps/lib/helper.cpp includes apps/lib/include/Lib/panel.h; apps/lib/panel.cpp "
                  "includes apps/lib/helper.h"}},
        TreeCase{"a commented-out include is no edge",
                 {{"hub/a.h", ""},
                  {"hub/a.cpp", "#include \"hub/b.h\"\n"},
                  {"hub/b.h", ""},
                  {"hub/b.cpp", "// #include \"hub/a.h\"\n"}},
                 {}}),
    [](const testing::TestParamInfo<TreeCase>& info) { return std::to_string(info.index); });

// Catches two production files in a circle: one includes the other's header while the other
// calls back into it.
TEST(IncludeCircles, NoneBetweenProductionFiles) {
  const QDir root(QStringLiteral(ZAN_SOURCE_DIR));
  const IncludeGraph graph = includeGraph(root, kProductionFolders);
  ASSERT_GT(graph.files.size(), 150);
  EXPECT_GT(graph.includes.size(), 150);
  const QStringList found = circles(graph);
  EXPECT_TRUE(found.isEmpty()) << "files in a circle:\n  "
                               << found.join(QStringLiteral("\n  ")).toStdString();
}

}  // namespace
