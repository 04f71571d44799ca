#include "controls/numeric_text.h"
#include "settings/automation_error.h"
#include "settings/string_table.h"

#include <benchmark/benchmark.h>

// Reading the threshold runs on every keystroke in the threshold box: it must stay far below a
// microsecond so that nested change handlers never add visible latency.
static void BM_LeadingNumber(benchmark::State& state) {
  const QString texts[] = {QStringLiteral("95"), QStringLiteral(" 1 2.5e1x"), QString(),
                           QStringLiteral("-32768")};
  for (auto _ : state) {
    for (const auto& t : texts) benchmark::DoNotOptimize(zan::leadingNumber(t));
  }
  state.SetItemsProcessed(state.iterations() * 4);
}
BENCHMARK(BM_LeadingNumber);

// Every caption and list entry of a panel is a string-table lookup at creation.
static void BM_StringTableLookup(benchmark::State& state) {
  auto table = zan::StringTable::usEnglish();
  for (auto _ : state) {
    for (int id = 5800; id <= 5815; ++id) benchmark::DoNotOptimize(table->text(id));
  }
  state.SetItemsProcessed(state.iterations() * 16);
}
BENCHMARK(BM_StringTableLookup);

// A failure rewritten through two formats, as a loading failure inside Init reaches the host.
static void BM_ErrorRewrite(benchmark::State& state) {
  const zan::AutomationError caught{-2147220968,
                                    QStringLiteral("PdfSettings"),
                                    QStringLiteral("The workgroup hub path is empty."),
                                    {},
                                    0};
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        zan::lineSuffixed(zan::linePrefixed(caught, 5, QStringLiteral("ZANPDF3.Refresh")), 25));
  }
}
BENCHMARK(BM_ErrorRewrite);
