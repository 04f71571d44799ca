// The hub lists of ZANPdf3 against their floor, bare Qt doing the unavoidable work: list the
// hub's two folders and fill two combo boxes. Measured at 1,000, 10,000 and 100,000 names per
// list, for a refill on a hub change (a put of the hub path; on disk and from an in-memory
// hub), for one keystroke in the hub box, and for a search of an unchanged hub, which is not
// listed again. Target: refill and keystroke at most 1.1 times the floor.

#include <ZANPdfCtl4/setup_data.h>
#include <ZANPdfCtl4/zanpdf3.h>
#include "comparing_reporter.h"
#include "external/panel_environment.h"
#include "test_environment.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>

#include <memory>

namespace {

const int kSizes[] = {1000, 10000, 100000};
// Where the hubs are made: a temporary folder, or the folder ZAN_BENCH_HUBS names, where hubs
// made by an earlier run are used again.
QTemporaryDir* workspace = nullptr;
QString workspacePath() {
  const QString kept = qEnvironmentVariable("ZAN_BENCH_HUBS");
  return kept.isEmpty() ? workspace->path() : kept;
}

// The hub of `n` names per list, and a symbolic link to it (another path to the same hub, so
// that each put is a change and each search lists the folders again).
QString hubOf(int n) {
  return QDir(workspacePath()).filePath(QStringLiteral("hub%1").arg(n));
}
QString linkOf(int n) {
  return hubOf(n) + QStringLiteral("X");
}

// Names with long shared prefixes, in mixed case, created in no particular order.
QStringList namesOf(int n) {
  QStringList names;
  names.reserve(n);
  for (int i = 0; i < n; ++i)
    names << QStringLiteral("%1orkflow for the scanning department %2.wfl")
                 .arg(i % 2 ? QLatin1Char('W') : QLatin1Char('w'))
                 .arg((i * 7919) % n, 6, 10, QLatin1Char('0'));
  return names;
}

void prepare() {
  workspace = new QTemporaryDir;
  for (int n : kSizes) {
    if (QFileInfo::exists(linkOf(n))) continue;
    for (const char* folder : {"Workflows", "Dictionaries"}) {
      const QString dir = QDir(hubOf(n)).filePath(QLatin1String(folder));
      QDir().mkpath(dir);
      for (const QString& name : namesOf(n))
        QFile(QDir(dir).filePath(name)).open(QIODevice::WriteOnly);
    }
    QFile::link(hubOf(n), linkOf(n));
  }
}

// The floor: the two folders listed (sorted, as QDir lists) into two combo boxes.
struct Floor {
  QComboBox dictionaries, workflows;
  void refill(const QString& hub) {
    for (auto [box, folder] :
         {std::pair{&dictionaries, "Dictionaries"}, std::pair{&workflows, "Workflows"}}) {
      const QStringList names =
          QDir(QDir(hub).filePath(QLatin1String(folder))).entryList(QDir::Files);
      box->clear();
      box->addItems(names);
    }
  }
};

void BM_RefillFloor(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Floor floor;
  int i = 0;
  for (auto _ : state) floor.refill(++i % 2 ? linkOf(n) : hubOf(n));
}

// A put of the hub path runs the whole search: open, list both folders, refill both lists,
// select their first entries, raise Change.
void BM_RefillPanel(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  ZANPdf3 panel;
  int i = 0;
  for (auto _ : state) panel.setWorkgroupHub(++i % 2 ? linkOf(n) : hubOf(n));
}

// The same from a hub in memory, which answers each list as "A|B|": the floor splits the two
// lists into the two boxes.
QString listOf(int n) {
  QString list;
  for (const QString& name : namesOf(n)) list += name + '|';
  return list;
}

void BM_RefillInMemoryFloor(benchmark::State& state) {
  const QString list = listOf(static_cast<int>(state.range(0)));
  QComboBox dictionaries, workflows;
  for (auto _ : state) {
    for (QComboBox* box : {&dictionaries, &workflows}) {
      box->clear();
      box->addItems(list.split(QLatin1Char('|'), Qt::SkipEmptyParts));
    }
  }
}

void BM_RefillInMemoryPanel(benchmark::State& state) {
  const QString list = listOf(static_cast<int>(state.range(0)));
  zan::testing::TestWorld world;
  world.hubFactory = [list] {
    auto hub = std::make_unique<zan::testing::MemoryHub>();
    hub->dictionaries = hub->workflows = list;
    return hub;
  };
  ZANPdf3 panel(world.environment());
  int i = 0;
  for (auto _ : state) panel.setWorkgroupHub(++i % 2 ? QStringLiteral("/a") : QStringLiteral("/b"));
}

// One keystroke in the hub box: "X" typed at the end, then Backspace, alternately (as the line
// edit takes a key); the floor takes the same keystroke in a bare line edit and refills. Both
// hidden, so that neither paints.
void BM_KeystrokeFloor(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  QLineEdit edit(hubOf(n));
  Floor floor;
  int i = 0;
  for (auto _ : state) {
    const bool type = ++i % 2;
    type ? edit.insert(QStringLiteral("X")) : edit.backspace();
    floor.refill(edit.text());
  }
  if (edit.text() != (i % 2 ? linkOf(n) : hubOf(n))) state.SkipWithError("keys not taken");
}

void BM_KeystrokePanel(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  ZANPdf3 panel;
  zan::MemorySetupData rd;
  rd.partTwo().setValue(QStringLiteral("WorkgroupHub"), hubOf(n));
  panel.Init(&rd);
  auto* edit = panel.findChild<QLineEdit*>(QStringLiteral("txtWorkgroupHub"));
  if (!edit || !edit->isEnabled()) return state.SkipWithError("no hub box to type into");
  edit->setCursorPosition(edit->text().size());
  int i = 0;
  for (auto _ : state) ++i % 2 ? edit->insert(QStringLiteral("X")) : edit->backspace();
  if (edit->text() != (i % 2 ? linkOf(n) : hubOf(n))) state.SkipWithError("keys not taken");
}

// A search of the same, unchanged hub: "hub" and "hub/" name the same folders, which are not
// listed again.
void BM_UnchangedHubPanel(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  ZANPdf3 panel;
  panel.setWorkgroupHub(hubOf(n));  // listed once
  int i = 0;
  for (auto _ : state) panel.setWorkgroupHub(hubOf(n) + (++i % 2 ? "/" : ""));
}

// Listing folders varies by a third from run to run: each side is compared by its median of
// five repetitions.
void sizes(benchmark::internal::Benchmark* b) {
  for (int n : kSizes) b->Arg(n);
  b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}
BENCHMARK(BM_RefillFloor)->Apply(sizes);
BENCHMARK(BM_RefillPanel)->Apply(sizes);
BENCHMARK(BM_RefillInMemoryFloor)->Apply(sizes);
BENCHMARK(BM_RefillInMemoryPanel)->Apply(sizes);
BENCHMARK(BM_KeystrokeFloor)->Apply(sizes);
BENCHMARK(BM_KeystrokePanel)->Apply(sizes);
BENCHMARK(BM_UnchangedHubPanel)->Apply(sizes);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int result = runComparingBenchmarks(argc, argv, prepare, [](const ComparingReporter& r) {
    for (int n : kSizes) {
      const std::string at = "/" + std::to_string(n);
      const std::string what = std::to_string(n) + " names per list";
      r.compare(("refill on disk, " + what).c_str(), "BM_RefillPanel" + at, "ZANPdf3",
                "BM_RefillFloor" + at, "list + fill", "<= 1.1");
      r.compare(("refill in memory, " + what).c_str(), "BM_RefillInMemoryPanel" + at, "ZANPdf3",
                "BM_RefillInMemoryFloor" + at, "fill", "<= 1.1");
      r.compare(("keystroke, " + what).c_str(), "BM_KeystrokePanel" + at, "ZANPdf3",
                "BM_KeystrokeFloor" + at, "key + list + fill", "<= 1.1");
      r.compare(("unchanged hub, " + what).c_str(), "BM_UnchangedHubPanel" + at, "ZANPdf3",
                "BM_RefillFloor" + at, "list + fill", "below 1: no listing");
    }
  });
  delete workspace;
  return result;
}
