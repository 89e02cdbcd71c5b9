#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench/common/InTurns.h"
#include "bench/render/BenchImages.h"
#include "skin/core/sGradient.h"
#include "skin/render/sBlend.h"
#include "skin/render/sGradientPaint.h"

namespace {

// Baseline: copying the bytes of one 1024 x 768 24-bit bitmap.
void BM_Memcpy24(benchmark::State& state) {
  const TBitmap src = NoiseBitmap(kBenchWidth, kBenchHeight, TPixelFormat::pf24bit, 1);
  TBitmap dst(kBenchWidth, kBenchHeight);
  for (auto _ : state) {
    std::memcpy(dst.Bits(), src.Bits(), dst.SizeInBytes());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(dst.SizeInBytes()));
}
BENCHMARK(BM_Memcpy24);

void BM_BlendBitmaps24(benchmark::State& state) {
  const TBitmap src = NoiseBitmap(kBenchWidth, kBenchHeight, TPixelFormat::pf24bit, 2);
  TBitmap dst = NoiseBitmap(kBenchWidth, kBenchHeight, TPixelFormat::pf24bit, 3);
  for (auto _ : state) {
    BlendBitmaps(dst, src, 128, TPoint{0, 0}, TRect{0, 0, kBenchWidth, kBenchHeight});
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(dst.SizeInBytes()));
}
BENCHMARK(BM_BlendBitmaps24);

void BM_BlendBitmaps32(benchmark::State& state) {
  const TBitmap src = NoiseBitmap(kBenchWidth, kBenchHeight, TPixelFormat::pf32bit, 2);
  TBitmap dst = NoiseBitmap(kBenchWidth, kBenchHeight, TPixelFormat::pf32bit, 3);
  for (auto _ : state) {
    BlendBitmaps(dst, src, 128, TPoint{0, 0}, TRect{0, 0, kBenchWidth, kBenchHeight});
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(dst.SizeInBytes()));
}
BENCHMARK(BM_BlendBitmaps32);

void BM_BlendColorRect24(benchmark::State& state) {
  TBitmap dst = NoiseBitmap(kBenchWidth, kBenchHeight, TPixelFormat::pf24bit, 4);
  for (auto _ : state) {
    BlendColorRect(dst, TRect{0, 0, kBenchWidth - 1, kBenchHeight - 1}, 40, 0x00C4D8EA);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(dst.SizeInBytes()));
}
BENCHMARK(BM_BlendColorRect24);

void BM_BlendKeyed24(benchmark::State& state) {
  const TBitmap src = NoiseBitmap(kBenchWidth, kBenchHeight, TPixelFormat::pf24bit, 5);
  TBitmap dst = NoiseBitmap(kBenchWidth, kBenchHeight, TPixelFormat::pf24bit, 6);
  for (auto _ : state) {
    BlendKeyed(dst, 0, 0, clFuchsia, 0.4, TRect{0, 0, kBenchWidth - 1, kBenchHeight - 1}, src);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(dst.SizeInBytes()));
}
BENCHMARK(BM_BlendKeyed24);

void BM_GrayBitmap24(benchmark::State& state) {
  TBitmap dst = NoiseBitmap(kBenchWidth, kBenchHeight, TPixelFormat::pf24bit, 7);
  for (auto _ : state) {
    GrayBitmap(dst);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(dst.SizeInBytes()));
}
BENCHMARK(BM_GrayBitmap24);

void BM_PaintGradient(benchmark::State& state) {
  TBitmap dst(kBenchWidth, kBenchHeight);
  const TsGradArray stops = ParseGradient(state.range(0) == 0 ? "14396279;14730921;99;0;0;14730921;14730921;0;0;0"
                                                              : "14396279;14730921;99;1;0;14730921;14730921;0;0;0");
  for (auto _ : state) {
    PaintGradient(dst, TRect{0, 0, kBenchWidth, kBenchHeight}, stops);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(dst.SizeInBytes()));
}
BENCHMARK(BM_PaintGradient)->Arg(0)->Arg(1);

// The headline rates: each blend in turns with the copy of the same bitmap's bytes;
// the figure is the copy's time over the blend's (a rate, higher is better).
TTurns gBlend24Turns, gBlendColorTurns;

struct TBitmapCopy {
  TBitmap From = NoiseBitmap(kBenchWidth, kBenchHeight, TPixelFormat::pf24bit, 1);
  TBitmap To{kBenchWidth, kBenchHeight};
  void operator()() {
    std::memcpy(To.Bits(), From.Bits(), To.SizeInBytes());
    benchmark::ClobberMemory();
  }
};

void BM_BlendBitmaps24InTurns(benchmark::State& state) {
  const TBitmap src = NoiseBitmap(kBenchWidth, kBenchHeight, TPixelFormat::pf24bit, 2);
  TBitmap dst = NoiseBitmap(kBenchWidth, kBenchHeight, TPixelFormat::pf24bit, 3);
  TBitmapCopy copy;
  TimeInTurns(state, gBlend24Turns, copy, [&] {
    BlendBitmaps(dst, src, 128, TPoint{0, 0}, TRect{0, 0, kBenchWidth, kBenchHeight});
    benchmark::ClobberMemory();
  }, kLargeBatchSeconds);
}
BENCHMARK(BM_BlendBitmaps24InTurns)->Unit(benchmark::kMicrosecond);

void BM_BlendColorRect24InTurns(benchmark::State& state) {
  TBitmap dst = NoiseBitmap(kBenchWidth, kBenchHeight, TPixelFormat::pf24bit, 4);
  TBitmapCopy copy;
  TimeInTurns(state, gBlendColorTurns, copy, [&] {
    BlendColorRect(dst, TRect{0, 0, kBenchWidth - 1, kBenchHeight - 1}, 40, 0x00C4D8EA);
    benchmark::ClobberMemory();
  }, kLargeBatchSeconds);
}
BENCHMARK(BM_BlendColorRect24InTurns)->Unit(benchmark::kMicrosecond);

}  // namespace

double Blend24Rate() { return gBlend24Turns.Median(); }
double BlendColorRate() { return gBlendColorTurns.Median(); }
