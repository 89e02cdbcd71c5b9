// DrawText of a Russian sentence on a warm glyph cache, against a memcpy of the
// same pixel area.
#include <benchmark/benchmark.h>

#include "bench/common/BenchRunner.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Text.h"

namespace {

const char* const kSentence = "Съешь же ещё этих мягких французских булок, да выпей чаю";

struct TFixture {
  TFixture() : Bitmap(480, 24, TPixelFormat::pf24bit), Dc(Bitmap) {
    Bitmap.Fill(clWhite);
    Font = CreateFontIndirect({"Arial", -13});
    SelectObject(&Dc, Font);
    SetBkMode(&Dc, TRANSPARENT);
    SetTextColor(&Dc, 0x533924);
    Bounds = {0, 0, Bitmap.Width(), Bitmap.Height()};
    TRect calc = Bounds;
    DrawText(&Dc, kSentence, &calc, DT_SINGLELINE | DT_CALCRECT);
    Area = calc;
    TRect warm = Bounds;
    DrawText(&Dc, kSentence, &warm, DT_SINGLELINE | DT_VCENTER);  // fills the glyph cache
  }
  TBitmap Bitmap;
  TDeviceContext Dc;
  HFONT Font = nullptr;
  TRect Bounds;
  TRect Area;
};

TFixture& Fixture() {
  static TFixture fixture;
  return fixture;
}

void BM_DrawText(benchmark::State& state) {
  TFixture& f = Fixture();
  for (auto _ : state) {
    TRect rect = f.Bounds;
    benchmark::DoNotOptimize(DrawText(&f.Dc, kSentence, &rect, DT_SINGLELINE | DT_VCENTER));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DrawText);

// The baseline: copying the text's own pixel area (its measured rectangle, 24-bit) once.
void BM_MemcpyArea(benchmark::State& state) {
  TFixture& f = Fixture();
  const std::size_t bytes = static_cast<std::size_t>(f.Area.Width()) * f.Area.Height() * 3;
  std::vector<std::uint8_t> from(bytes, 0x5A);
  std::vector<std::uint8_t> to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MemcpyArea);

}  // namespace

int main(int argc, char** argv) {
  TBenchTimes times;
  if (!RunBenchmarks(argc, argv, times)) return 1;
  const double draw = times.CpuSeconds("BM_DrawText");
  const double copy = times.CpuSeconds("BM_MemcpyArea");
  if (draw > 0) std::printf("drawtext_per_s = %.0f\n", 1.0 / draw);
  if (copy > 0) std::printf("memcpy_area_per_s = %.0f\n", 1.0 / copy);
  if (draw > 0 && copy > 0) std::printf("drawtext_vs_memcpy = %.2f\n", draw / copy);
  std::printf("text_area_pixels = %d\n", Fixture().Area.Width() * Fixture().Area.Height());
  return 0;
}
