#pragma once
// A console reporter that also keeps each benchmark's wall time per iteration, so that a
// benchmark binary can print the project and its floor side by side with their ratio at the end.
// A benchmark run with repetitions is compared by its median repetition.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

class ComparingReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> seconds;
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      if (r.error_occurred || r.iterations <= 0) continue;
      const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
      if (r.run_type == Run::RT_Aggregate && !median) continue;
      // Keyed "BM_Name/args", whatever repetitions or time options the name also carries.
      std::string key = r.run_name.function_name;
      if (!r.run_name.args.empty()) key += "/" + r.run_name.args;
      seconds[key] = r.real_accumulated_time / static_cast<double>(r.iterations);
    }
  }

  // Prints "what  aName a s  bName b s  ratio a/b  (target)" when both ran.
  void compare(const char* what, const std::string& a, const char* aName, const std::string& b,
               const char* bName, const char* target) const {
    const auto x = seconds.find(a), y = seconds.find(b);
    if (x == seconds.end() || y == seconds.end()) return;
    const bool ms = y->second < 1.0;  // short runs in milliseconds
    const double scale = ms ? 1000.0 : 1.0;
    const char* unit = ms ? "ms" : "s";
    std::printf("%-34s %-26s %8.2f %s   %-24s %8.2f %s   ratio %.2f  (%s)\n", what, aName,
                x->second * scale, unit, bName, y->second * scale, unit, x->second / y->second,
                target);
  }
};

// The main of a benchmark binary: `prepare` the workspace, run the benchmarks named on the
// command line, then `compare` their times.
inline int runComparingBenchmarks(int argc, char** argv, const std::function<void()>& prepare,
                                  const std::function<void(const ComparingReporter&)>& compare) {
  prepare();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  ComparingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n");
  compare(reporter);
  benchmark::Shutdown();
  return 0;
}
