// The section painter and the cross-fade frame, each beside a memcpy of the same
// bytes measured in the same run. The section painter's figure is taken in turns
// with its copy (bench/common/InTurns.h).
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "bench/common/BenchRunner.h"
#include "bench/common/InTurns.h"
#include "skin/core/acSkinModel.h"
#include "skin/internal/InternalSkin.h"
#include "skin/paint/sFade.h"
#include "skin/paint/sStyleSimply.h"

namespace {

TacSkinModel& Skin() {
  static std::unique_ptr<TacSkinModel> skin = [] {
    auto m = std::make_unique<TacSkinModel>();
    m->SetSkinDirectory("Z:\\no skins here");
    AddInternalSkin(*m);
    m->SetSkinName(kInternalSkinName);
    return m;
  }();
  return *skin;
}

TBitmap Parent() {
  TBitmap parent(400, 300, TPixelFormat::pf24bit);
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 400; ++x) parent.SetPixel(x, y, static_cast<TColor>((x * 3) | ((y * 5 & 255) << 8) | 0x400000));
  return parent;
}

// A 100 x 30 BUTTON face in state 1 over a parent that answers with its picture.
struct TButtonFace {
  TacPaintSource Source;
  TBitmap ParentPicture = Parent();
  TBitmap Face{100, 30, TPixelFormat::pf24bit};
  BackgroundInfo Bg = BackgroundInfo::FromBitmap(&ParentPicture, 0, 0);

  bool Ready() {
    TacSkinModel& m = Skin();
    const int index = m.SectionIndexOf("BUTTON");
    if (index < 0) return false;
    Source.Manager = &m;
    Source.SkinIndex = index;
    Source.BorderIndex = m.Section(index)->BorderIndex;
    Bg = BackgroundInfo::FromBitmap(&ParentPicture, 0, 0);
    return true;
  }
  void operator()() {
    PaintSection(Source, Bg, true, TacPaintState::Hot, {0, 0, 100, 30}, {37, 41}, &Face, true);
    benchmark::DoNotOptimize(Face.Bits());
    benchmark::ClobberMemory();
  }
};

void BM_PaintSectionButton(benchmark::State& state) {
  TButtonFace paint;
  if (!paint.Ready()) {
    state.SkipWithError("the internal skin has no BUTTON section");
    return;
  }
  for (auto _ : state) paint();
}
BENCHMARK(BM_PaintSectionButton)->Unit(benchmark::kMicrosecond);

void BM_MemcpyButton(benchmark::State& state) {
  TCopyBaseline copy(TBitmap(100, 30, TPixelFormat::pf24bit).SizeInBytes());
  for (auto _ : state) copy();
}
BENCHMARK(BM_MemcpyButton)->Unit(benchmark::kMicrosecond);

TTurns gButtonTurns;

void BM_PaintSectionButtonInTurns(benchmark::State& state) {
  TButtonFace paint;
  if (!paint.Ready()) {
    state.SkipWithError("the internal skin has no BUTTON section");
    return;
  }
  TCopyBaseline copy(paint.Face.SizeInBytes());
  TimeInTurns(state, gButtonTurns, paint, copy);
}
BENCHMARK(BM_PaintSectionButtonInTurns)->Unit(benchmark::kMicrosecond);

// One 200 x 60 frame: the old face blended with the new one into the frame bitmap.
void BM_FadeFrame(benchmark::State& state) {
  TBitmap start(200, 60, TPixelFormat::pf24bit), fresh(200, 60, TPixelFormat::pf24bit), frame(200, 60);
  start.Fill(0x2040C0);
  fresh.Fill(0xC04020);
  int level = 1;
  for (auto _ : state) {
    ComputeFadeFrame(frame, start, fresh, level, 20);
    level = level % 20 + 1;
    benchmark::DoNotOptimize(frame.Bits());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FadeFrame)->Unit(benchmark::kMicrosecond);

void BM_MemcpyFadeFrame(benchmark::State& state) {
  TBitmap frame(200, 60, TPixelFormat::pf24bit);
  std::vector<std::uint8_t> from(frame.SizeInBytes(), 7);
  for (auto _ : state) {
    std::memcpy(frame.Bits(), from.data(), from.size());
    benchmark::DoNotOptimize(frame.Bits());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MemcpyFadeFrame)->Unit(benchmark::kMicrosecond);

void PrintPair(const char* name, double seconds, double baseline) {
  if (seconds <= 0) return;
  std::printf("%s_us = %.3f\n", name, seconds * 1e6);
  if (baseline > 0) {
    std::printf("%s_memcpy_us = %.4f\n", name, baseline * 1e6);
    std::printf("%s_vs_memcpy = %.1f\n", name, seconds / baseline);
  }
}

}  // namespace

int main(int argc, char** argv) {
  TBenchTimes times;
  if (!RunBenchmarks(argc, argv, times)) return 1;
  if (!gButtonTurns.Ratios.empty()) {
    std::printf("paint_section_button_us = %.3f\n", gButtonTurns.WorkBest * 1e6);
    std::printf("paint_section_button_memcpy_us = %.4f\n", gButtonTurns.BaselineBest * 1e6);
    std::printf("paint_section_button_vs_memcpy = %.1f\n", gButtonTurns.Median());
  }
  PrintPair("fade_frame", times.CpuSeconds("BM_FadeFrame"), times.CpuSeconds("BM_MemcpyFadeFrame"));
  return 0;
}
