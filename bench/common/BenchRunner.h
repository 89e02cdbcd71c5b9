#pragma once
// Runs the registered benchmarks with the console output as usual and keeps the
// seconds per iteration of every run by its full name ("BM_X" or "BM_X/5"), so a
// program can print its headline "name = value" lines against a baseline measured
// in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

// The middle of some figures (the mean of the two middle ones for an even count),
// which one run slowed by another program on the machine does not move; 0 for none.
inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct TBenchTimes {
  std::map<std::string, double> Cpu;   // steadier on a shared machine
  std::map<std::string, double> Real;  // for work that waits on files

  static double Find(const std::map<std::string, double>& times, const std::string& name) {
    const auto it = times.find(name);
    return it == times.end() ? 0.0 : it->second;
  }
  double CpuSeconds(const std::string& name) const { return Find(Cpu, name); }
  double RealSeconds(const std::string& name) const { return Find(Real, name); }
};

class TCollectingReporter : public benchmark::ConsoleReporter {
public:
  explicit TCollectingReporter(TBenchTimes& times) : Times_(times) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations <= 0) continue;
      const auto iterations = static_cast<double>(run.iterations);
      Times_.Cpu[run.benchmark_name()] = run.cpu_accumulated_time / iterations;
      Times_.Real[run.benchmark_name()] = run.real_accumulated_time / iterations;
    }
    ConsoleReporter::ReportRuns(runs);
  }

private:
  TBenchTimes& Times_;
};

// Returns false when the command line holds arguments Google Benchmark does not know.
inline bool RunBenchmarks(int& argc, char** argv, TBenchTimes& times) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return false;
  TCollectingReporter reporter(times);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  // The console reporter may end with a colour reset; keep the figures on clean lines.
  std::fflush(stdout);
  std::printf("\n");
  return true;
}
