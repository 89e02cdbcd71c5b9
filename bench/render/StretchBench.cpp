#include <benchmark/benchmark.h>

#include "bench/render/BenchImages.h"
#include "skin/render/acSmoothStretch.h"

namespace {

// Enlarges a 640 x 480 picture to 1024 x 768; items are output pixels.
void BM_SmoothStretch(benchmark::State& state) {
  const TBitmap src = NoiseBitmap(640, 480, TPixelFormat::pf24bit, 8);
  TBitmap dst;
  const int filter = static_cast<int>(state.range(0));
  for (auto _ : state) {
    SmoothStretch(src, dst, kBenchWidth, kBenchHeight, filter);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kBenchWidth * kBenchHeight);
}
BENCHMARK(BM_SmoothStretch)->DenseRange(0, kStretchFilterCount - 1)->Unit(benchmark::kMillisecond);

}  // namespace
