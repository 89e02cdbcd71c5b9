// Runs the renderer benchmarks, then prints the headline ratios, each measured
// against a memcpy of the same bytes in this same run (the blends' in turns with it).
#include "bench/common/BenchRunner.h"

#include <cstdio>
#include <map>
#include <string>
#include <vector>

double Blend24Rate();
double BlendColorRate();

int main(int argc, char** argv) {
  TBenchTimes times;
  if (!RunBenchmarks(argc, argv, times)) return 1;
  auto seconds = [&](const std::string& name) { return times.CpuSeconds(name); };
  // Same byte count as the memcpy, so the rate ratio is the inverse time ratio.
  auto ratio = [&](const std::string& name) {
    const double t = seconds(name);
    return t > 0.0 ? seconds("BM_Memcpy24") / t : 0.0;
  };
  const double stretch = seconds("BM_SmoothStretch/5");
  std::printf("blend24_vs_memcpy = %.3f\n", Blend24Rate());
  std::printf("blendcolor_vs_memcpy = %.3f\n", BlendColorRate());
  std::printf("gradient_vs_memcpy = %.3f\n", ratio("BM_PaintGradient/0"));
  std::printf("stretch_lanczos_mpix_s = %.1f\n", stretch > 0.0 ? 1024.0 * 768.0 / stretch / 1e6 : 0.0);
  return 0;
}
