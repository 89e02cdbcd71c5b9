// The skinned frame: rebuilding the main window's whole-window image (frame, title
// band, icon, caption, buttons and client background), against copying the same
// bytes; one step of the caption-button hover animation, against copying the
// button's part of the title band.
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "bench/common/BenchRunner.h"
#include "forms/Application.h"
#include "forms/Form.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/win/HitTest.h"
#include "platform/win/Win.h"
#include "skin/frame/acFrameEngine.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/runtime/sSkinManager.h"

namespace {

// A window with the main window's frame: its size, border, icons and caption.
struct TBenchWorld {
  std::unique_ptr<THeadlessBackend> Backend;
  std::unique_ptr<TEngineScope> Engine;
  std::unique_ptr<TApplication> App;
  std::unique_ptr<TsSkinManager> Manager;
  TForm* Form = nullptr;
  TsSkinProvider* Provider = nullptr;

  TBenchWorld() {
    Backend = std::make_unique<THeadlessBackend>(TSize{1280, 800});
    Backend->Install();
    Engine = std::make_unique<TEngineScope>(SkinFrameEngineParts());
    App = std::make_unique<TApplication>();
    Manager = std::make_unique<TsSkinManager>(nullptr);
    ApplyMainWindowSkinSettings(*Manager);
    Manager->NotifyNewSkin(false);
    Form = new TForm(App.get());
    Form->SetCaption("Электронный учебник");
    Form->SetBorderStyle(bsSingle);
    Form->SetBorderIcons({biSystemMenu, biMinimize});
    Form->SetBounds(100, 50, 895, 624);
    Form->AfterConstruction();
    Form->Show();
    Backend->Advance(0);
    Provider = TsSkinProvider::Of(Form);
  }
};

TBenchWorld& World() {
  static TBenchWorld world;
  return world;
}

void BM_FramePaint(benchmark::State& state) {
  TBenchWorld& world = World();
  if (!world.Provider) {
    state.SkipWithError("no provider attached");
    return;
  }
  for (auto _ : state) {
    world.Provider->RebuildFrame();
    world.Provider->PaintAll();
    benchmark::DoNotOptimize(world.Provider->WindowImage());
  }
}
BENCHMARK(BM_FramePaint)->Unit(benchmark::kMillisecond);

// Baseline: copying the bytes of the whole-window image once.
void BM_FrameMemcpy(benchmark::State& state) {
  const std::size_t bytes = static_cast<std::size_t>(895) * 624 * 3;
  std::vector<std::uint8_t> source(bytes, 0x5A), target(bytes);
  for (auto _ : state) {
    std::memcpy(target.data(), source.data(), bytes);
    benchmark::DoNotOptimize(target.data());
  }
}
BENCHMARK(BM_FrameMemcpy)->Unit(benchmark::kMillisecond);

void BM_CaptionButtonStep(benchmark::State& state) {
  TBenchWorld& world = World();
  if (!world.Provider) {
    state.SkipWithError("no provider attached");
    return;
  }
  world.Provider->PaintAll();
  // The close button halfway through fading in: each step blends and shows it.
  auto& close = const_cast<TsCaptionButton&>(world.Provider->Button(HTCLOSE));
  for (auto _ : state) {
    close.State = TacPaintState::Hot;
    close.Level = 100;
    close.Target = 255;
    close.Step = 25;
    world.Provider->AnimationStep();
  }
}
BENCHMARK(BM_CaptionButtonStep)->Unit(benchmark::kMicrosecond);

// Baseline: copying the title band's bytes under the button.
void BM_CaptionButtonCopy(benchmark::State& state) {
  const std::size_t bytes = static_cast<std::size_t>(16) * 18 * 3;
  std::vector<std::uint8_t> source(bytes, 0x5A), target(bytes);
  for (auto _ : state) {
    std::memcpy(target.data(), source.data(), bytes);
    benchmark::DoNotOptimize(target.data());
  }
}
BENCHMARK(BM_CaptionButtonCopy)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  TBenchTimes times;
  if (!RunBenchmarks(argc, argv, times)) return 1;
  const double paint = times.CpuSeconds("BM_FramePaint");
  const double copy = times.CpuSeconds("BM_FrameMemcpy");
  const double step = times.CpuSeconds("BM_CaptionButtonStep");
  const double buttonCopy = times.CpuSeconds("BM_CaptionButtonCopy");
  std::printf("frame_paint_ms = %.3f\n", paint * 1e3);
  std::printf("frame_memcpy_ms = %.3f\n", copy * 1e3);
  std::printf("frame_paint_vs_memcpy = %.1f\n", copy > 0 ? paint / copy : 0.0);
  std::printf("caption_button_hover_us = %.2f\n", step * 1e6);
  std::printf("caption_button_copy_us = %.3f\n", buttonCopy * 1e6);
  std::printf("caption_button_hover_vs_copy = %.1f\n", buttonCopy > 0 ? step / buttonCopy : 0.0);
  return 0;
}
