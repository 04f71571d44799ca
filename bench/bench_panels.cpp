#include <ZANPdfCtl4/zanpdf.h>
#include <ZANPdfCtl4/zanpdf3.h>
#include "external/setup_data.h"
#include "test_environment.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A hub whose dictionary and workflow lists hold `n` names each.
std::function<std::unique_ptr<zan::HeraldHub>()> hubWith(int n) {
  QString names;
  for (int i = 0; i < n; ++i)
    names += QStringLiteral("Workflow %1.wfl|").arg(i, 4, 10, QChar(u'0'));
  return [names] {
    auto hub = std::make_unique<zan::testing::MemoryHub>();
    hub->dictionaries = names;
    hub->workflows = names;
    return hub;
  };
}

void storeSetup(zan::MemorySetupData& rd) {
  zan::PdfSettings defaults;
  defaults.setWorkgroupHub(QStringLiteral("/srv/hub"));
  defaults.setWorkflow(QStringLiteral("Workflow 0500"));
  defaults.Save(rd.SetupPartOne(), rd.SetupPartTwo());
}

}  // namespace

// Creating a panel is what a host pays each time its release-setup dialog opens; the target is
// well under 50 ms so that the dialog appears at once.
static void BM_CreateCapturePanel(benchmark::State& state) {
  zan::testing::TestWorld world;
  for (auto _ : state) {
    ZANPdf3 panel(world.environment());
    benchmark::DoNotOptimize(&panel);
  }
}
BENCHMARK(BM_CreateCapturePanel)->Unit(benchmark::kMillisecond);

static void BM_CreateOcrPanel(benchmark::State& state) {
  zan::testing::TestWorld world;
  for (auto _ : state) {
    ZANPdf panel(world.environment());
    benchmark::DoNotOptimize(&panel);
  }
}
BENCHMARK(BM_CreateOcrPanel)->Unit(benchmark::kMillisecond);

// Init with a hub offering n dictionaries and n workflows: the lists are refilled and the stored
// workflow is found by walking the list, each step running the list's click handling. A hub
// of 1000 workflows should still load in well under a second.
static void BM_InitCapturePanelWithHubOf(benchmark::State& state) {
  zan::testing::TestWorld world;
  world.hubFactory = hubWith(static_cast<int>(state.range(0)));
  zan::MemorySetupData rd;
  storeSetup(rd);
  for (auto _ : state) {
    state.PauseTiming();
    auto panel = std::make_unique<ZANPdf3>(world.environment());
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
static void BM_ValidateCapturePanel(benchmark::State& state) {
  zan::testing::TestWorld world;
  world.hubFactory = hubWith(10);
  zan::MemorySetupData rd;
  storeSetup(rd);
  ZANPdf3 panel(world.environment());
  zan::SetupData* ref = &rd;
  panel.Init(ref);
  for (auto _ : state) benchmark::DoNotOptimize(panel.Validate());
}
BENCHMARK(BM_ValidateCapturePanel)->Unit(benchmark::kMicrosecond);
