// Runs the renderer benchmarks, then prints the headline ratios, each measured
// against a memcpy of the same bytes in this same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// Keeps the CPU seconds per iteration (steadier than wall time on a shared machine) of every run while printing as usual.
class TCollectingReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0)
        Seconds[run.benchmark_name()] = run.cpu_accumulated_time / static_cast<double>(run.iterations);
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> Seconds;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TCollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  auto seconds = [&](const std::string& name) {
    const auto it = reporter.Seconds.find(name);
    return it == reporter.Seconds.end() ? 0.0 : it->second;
  };
  // Same byte count as the memcpy, so the rate ratio is the inverse time ratio.
  auto ratio = [&](const std::string& name) {
    const double t = seconds(name);
    return t > 0.0 ? seconds("BM_Memcpy24") / t : 0.0;
  };
  const double stretch = seconds("BM_SmoothStretch/5");
  std::printf("blend24_vs_memcpy = %.3f\n", ratio("BM_BlendBitmaps24"));
  std::printf("blendcolor_vs_memcpy = %.3f\n", ratio("BM_BlendColorRect24"));
  std::printf("gradient_vs_memcpy = %.3f\n", ratio("BM_PaintGradient/0"));
  std::printf("stretch_lanczos_mpix_s = %.1f\n", stretch > 0.0 ? 1024.0 * 768.0 / stretch / 1e6 : 0.0);
  return 0;
}
