// The panels against their floor, bare Qt building the same widget tree (same names, geometry,
// texts, tooltips and accessible names; see panel_floor.h):
//  - creation: the panel as a host creates it, against the bare tree;
//  - the host conversation: create, Init (stored settings shown, the hub's lists filled),
//    Validate, Apply, destroy; against the bare tree loaded from the setup data, read back into
//    it and destroyed;
//  - memory: the heap a live panel holds after Init, against the loaded bare tree.
// Targets: conversation at most 1.2 times the floor, creation and memory at most 1.15 times.
// Each side is the median of nine repetitions, the repetitions of all four interleaved at random
// (so that a machine busy for a while slows both sides alike); the memory is the mean of 20
// live trees.
// Besides: Init with hubs of 10 to 1000 names, and Validate.

#include <ZANPdfCtl4/zanpdf.h>
#include <ZANPdfCtl4/zanpdf3.h>
#include "comparing_reporter.h"
#include "external/panel_environment.h"
#include "panel_floor.h"
#include "settings/setup_data.h"
#include "test_environment.h"

#include <QApplication>

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using zan::bench::BareTree;
using zan::bench::PanelBlueprint;

constexpr int kCapture = 0, kOcr = 1;
const char* const kPanelNames[] = {"ZANPdf3", "ZANPdf"};

// The names of a hub's list of `n` entries, as the hub answers them ("A|B|").
QString hubListOf(int n) {
  QString names;
  for (int i = 0; i < n; ++i)
    names += QStringLiteral("Workflow %1.wfl|").arg(i, 4, 10, QChar(u'0'));
  return names;
}

// The real outside world of a panel, except that message boxes are recorded and the hub is
// one in memory whose two lists hold `n` names each.
zan::PanelEnvironment environmentWithHubOf(int n) {
  zan::PanelEnvironment env = zan::PanelEnvironment::defaults();
  env.platform = std::make_shared<zan::testing::RecordingPlatform>();
  const QString names = hubListOf(n);
  env.makeHub = [names] {
    auto hub = std::make_unique<zan::testing::MemoryHub>();
    hub->dictionaries = names;
    hub->workflows = names;
    return hub;
  };
  return env;
}

// A release script's stored settings: the defaults, a hub, a workflow of the hub, and a title.
void storeSetup(zan::MemorySetupData& rd) {
  zan::PdfSettings settings;
  settings.setWorkgroupHub(QStringLiteral("/srv/hub"));
  settings.setWatchedFolder(QStringLiteral("/srv/watched"));
  settings.setWorkflow(QStringLiteral("Workflow 0005"));
  settings.setDictionary(QStringLiteral("Workflow 0003"));
  settings.TitleField().setFieldText(QStringLiteral("Annual report"));
  settings.Save(rd.SetupPartOne(), rd.SetupPartTwo());
}

std::unique_ptr<zan::SettingsPanel> createPanel(int kind, zan::PanelEnvironment env) {
  if (kind == kCapture) return std::make_unique<ZANPdf3>(std::move(env));
  return std::make_unique<ZANPdf>(std::move(env));
}

constexpr int kHubNames = 10;
PanelBlueprint blueprints[2];
zan::PanelEnvironment* environment = nullptr;

void prepare() {
  environment = new zan::PanelEnvironment(environmentWithHubOf(kHubNames));
  for (int kind : {kCapture, kOcr}) {
    zan::MemorySetupData rd;
    storeSetup(rd);
    auto panel = createPanel(kind, *environment);
    zan::SetupData* ref = &rd;
    panel->Init(ref);
    blueprints[kind] = zan::bench::blueprintOf(*panel);
  }
}

// Creating a panel is what a host pays each time its release-setup dialog opens.
void BM_CreatePanel(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(createPanel(kind, *environment));
}

void BM_CreateFloor(benchmark::State& state) {
  const PanelBlueprint& print = blueprints[state.range(0)];
  for (auto _ : state) {
    BareTree tree(print);
    benchmark::DoNotOptimize(&tree.root());
  }
}

// The whole host conversation, as release-setup has it with a user who presses OK at once.
void BM_ConversationPanel(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0));
  zan::MemorySetupData rd;
  storeSetup(rd);
  for (auto _ : state) {
    auto panel = createPanel(kind, *environment);
    zan::SetupData* ref = &rd;
    panel->Init(ref);
    if (panel->Validate() != 0) return state.SkipWithError("the stored settings were refused");
    panel->Apply(ref);
  }
}

void BM_ConversationFloor(benchmark::State& state) {
  const PanelBlueprint& print = blueprints[state.range(0)];
  const QString hub = hubListOf(kHubNames);
  zan::MemorySetupData rd;
  storeSetup(rd);
  for (auto _ : state) {
    BareTree tree(print);
    tree.load(rd, hub);
    tree.store(rd);
  }
}

void bothPanels(benchmark::internal::Benchmark* b) {
  b->Arg(kCapture)->Arg(kOcr)->Unit(benchmark::kMicrosecond);
  b->Repetitions(9)->ReportAggregatesOnly(true);
}
BENCHMARK(BM_CreatePanel)->Apply(bothPanels);
BENCHMARK(BM_CreateFloor)->Apply(bothPanels);
BENCHMARK(BM_ConversationPanel)->Apply(bothPanels);
BENCHMARK(BM_ConversationFloor)->Apply(bothPanels);

// Init with a hub offering n dictionaries and n workflows: the lists are refilled and the stored
// workflow is found by walking the list. A hub of 1000 workflows should still load in well under
// a second.
void BM_InitCapturePanelWithHubOf(benchmark::State& state) {
  const zan::PanelEnvironment env = environmentWithHubOf(static_cast<int>(state.range(0)));
  zan::MemorySetupData rd;
  storeSetup(rd);
  for (auto _ : state) {
    state.PauseTiming();
    auto panel = std::make_unique<ZANPdf3>(env);
    zan::SetupData* ref = &rd;
    state.ResumeTiming();
    panel->Init(ref);
    state.PauseTiming();
    panel.reset();
    state.ResumeTiming();
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_InitCapturePanelWithHubOf)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// Validate copies every control into the settings object and checks it; hosts call it on OK.
void BM_ValidateCapturePanel(benchmark::State& state) {
  zan::MemorySetupData rd;
  storeSetup(rd);
  ZANPdf3 panel(*environment);
  zan::SetupData* ref = &rd;
  panel.Init(ref);
  for (auto _ : state) benchmark::DoNotOptimize(panel.Validate());
}
BENCHMARK(BM_ValidateCapturePanel)->Unit(benchmark::kMicrosecond);

// The heap bytes one live tree holds: `count` trees made by `make` and kept, over `count`.
template <class Make>
double heapPerTree(int count, Make make) {
  using Tree = decltype(make());
  std::vector<Tree> kept;
  kept.reserve(static_cast<std::size_t>(count));
  kept.push_back(make());  // caches Qt fills once (fonts, styles) are not the tree's
  kept.clear();
  const std::size_t before = mallinfo2().uordblks;
  for (int i = 0; i < count; ++i) kept.push_back(make());
  const std::size_t after = mallinfo2().uordblks;
  return (static_cast<double>(after) - static_cast<double>(before)) / count;
}

void compareMemory() {
  constexpr int kTrees = 20;
  const QString hub = hubListOf(kHubNames);
  for (int kind : {kCapture, kOcr}) {
    zan::MemorySetupData rd;
    storeSetup(rd);
    const double panel = heapPerTree(kTrees, [&] {
      auto p = createPanel(kind, *environment);
      zan::SetupData* ref = &rd;
      p->Init(ref);
      return p;
    });
    const double floor = heapPerTree(kTrees, [&] {
      auto tree = std::make_unique<BareTree>(blueprints[kind]);
      tree->load(rd, hub);
      return tree;
    });
    std::printf("%-34s %-26s %8.1f KiB   %-24s %8.1f KiB   ratio %.2f  (%s)\n",
                (std::string("live after Init, ") + kPanelNames[kind]).c_str(), kPanelNames[kind],
                panel / 1024, "bare tree, loaded", floor / 1024, panel / floor, "<= 1.15");
  }
}

// The workloads by name, for counting their instructions under callgrind (a steady measure
// where the wall time is not: it is the same on a busy machine). "live" keeps its trees until
// the process ends, for a heap profiler.
std::function<void()> workload(const std::string& name, int kind) {
  const QString hub = hubListOf(kHubNames);
  auto rd = std::make_shared<zan::MemorySetupData>();
  storeSetup(*rd);
  auto kept = std::make_shared<std::vector<std::unique_ptr<zan::SettingsPanel>>>();
  auto bare = std::make_shared<std::vector<std::unique_ptr<BareTree>>>();
  if (name == "create-panel") return [kind] { createPanel(kind, *environment); };
  if (name == "create-floor") return [kind] { BareTree tree(blueprints[kind]); };
  if (name == "conversation-panel")
    return [kind, rd] {
      auto panel = createPanel(kind, *environment);
      zan::SetupData* ref = rd.get();
      panel->Init(ref);
      panel->Validate();
      panel->Apply(ref);
    };
  if (name == "conversation-floor")
    return [kind, rd, hub] {
      BareTree tree(blueprints[kind]);
      tree.load(*rd, hub);
      tree.store(*rd);
    };
  if (name == "live-panel")
    return [kind, rd, kept] {
      auto panel = createPanel(kind, *environment);
      zan::SetupData* ref = rd.get();
      panel->Init(ref);
      kept->push_back(std::move(panel));
    };
  if (name == "live-floor")
    return [kind, rd, hub, bare] {
      bare->push_back(std::make_unique<BareTree>(blueprints[kind]));
      bare->back()->load(*rd, hub);
    };
  return {};
}

// Runs `work` `times` times; bench/count_instructions.sh has callgrind count this function alone.
__attribute__((noinline)) void measuredRuns(const std::function<void()>& work, int times) {
  for (int i = 0; i < times; ++i) work();
}

// bench_panels --workload NAME KIND TIMES: one warm-up run, then `times` measured runs.
int runWorkload(char** argv) {
  prepare();
  const int kind = std::atoi(argv[3]);
  const std::function<void()> work = workload(argv[2], kind);
  if (!work || kind < kCapture || kind > kOcr) {
    std::fprintf(stderr, "unknown workload %s %s\n", argv[2], argv[3]);
    return 2;
  }
  work();  // caches Qt fills once (fonts, styles) are not the workload's
  measuredRuns(work, std::atoi(argv[4]));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc == 5 && std::strcmp(argv[1], "--workload") == 0) return runWorkload(argv);
  std::vector<char*> args(argv, argv + argc);
  char interleave[] = "--benchmark_enable_random_interleaving=true";
  args.insert(args.begin() + 1, interleave);  // a later flag of the caller's own wins
  int count = static_cast<int>(args.size());
  return runComparingBenchmarks(count, args.data(), prepare, [](const ComparingReporter& r) {
    for (int kind : {kCapture, kOcr}) {
      const std::string at = "/" + std::to_string(kind);
      const std::string panel = kPanelNames[kind];
      r.compare(("creation, " + panel).c_str(), "BM_CreatePanel" + at, panel.c_str(),
                "BM_CreateFloor" + at, "bare tree", "<= 1.15");
      r.compare(("host conversation, " + panel).c_str(), "BM_ConversationPanel" + at, panel.c_str(),
                "BM_ConversationFloor" + at, "bare tree, load, store", "<= 1.2");
    }
    compareMemory();
  });
}
