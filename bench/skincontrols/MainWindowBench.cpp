// The main window painted headless with the internal skin: its frame, the picture,
// the navigation strip with the current user and five picture buttons, and the
// about button, laid out as the textbook's main window.
//   main_window_cold_paint_ms: every cached face dirty, the whole window painted;
//   main_window_warm_paint_ms: nothing dirty, the whole window painted again;
// each beside a memcpy of the window's image (895 x 624, 32 bits) in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "bench/common/BenchRunner.h"
#include "forms/Application.h"
#include "forms/Form.h"
#include "forms/Image.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/win/Win.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sSpeedButton.h"
#include "skin/frame/acFrameEngine.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/sSkinManager.h"

namespace {

constexpr int kWidth = 895, kHeight = 624;

// A picture with a soft diagonal gradient, like the window's background.
TBitmap Picture(int width, int height) {
  TBitmap b(width, height, TPixelFormat::pf24bit);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = b.ScanLine(y);
    for (int x = 0; x < width; ++x) {
      row[x * 3] = static_cast<std::uint8_t>(200 + (x + y) % 56);
      row[x * 3 + 1] = static_cast<std::uint8_t>(180 + y % 60);
      row[x * 3 + 2] = static_cast<std::uint8_t>(150 + x % 90);
    }
  }
  return b;
}

// A button face: a dark word-sized block on the magenta key.
TBitmap Face(int width, int height) {
  TBitmap b(width, height, TPixelFormat::pf24bit);
  b.Fill(clFuchsia);
  for (int y = height / 4; y < height * 3 / 4; ++y)
    for (int x = width / 5; x < width * 4 / 5; ++x) b.SetPixel(x, y, (x / 3 + y) % 2 ? 0x503020 : 0xF0E0D0);
  return b;
}

class TMainWindowBench {
public:
  TMainWindowBench() {
    Backend = std::make_unique<THeadlessBackend>(TSize{1024, 768});
    Backend->Install();
    Engine = std::make_unique<TEngineScope>(SkinFrameEngineParts());
    App = std::make_unique<TApplication>();
    Manager = std::make_unique<TsSkinManager>(nullptr);
    ApplyMainWindowSkinSettings(*Manager);
    Manager->NotifyNewSkin(false);

    Form = new TForm(App.get());
    Form->SetBounds(60, 60, kWidth, kHeight);
    Form->SetCaption("Электронный учебник");
    auto* image = new TImage(Form);
    image->SetParent(Form);
    image->SetBounds(0, 0, 873, 585);
    image->SetStretch(true);
    image->Picture().SetBitmap(Picture(873, 585));  // the cover is drawn at its shown size
    Strip = new TsPanel(Form);
    Strip->SetParent(Form);
    Strip->SetBounds(0, Form->ClientHeight() - 113, 889, 113);
    Strip->SetBevelOuter(bvNone);
    auto* user = new TsPanel(Form);
    user->SetParent(Strip);
    user->SetBounds(8, 59, 64, 48);
    user->Font().SetName("Arial");
    user->Font().SetHeight(-21);
    user->Font().SetStyle({fsBold});
    user->SetCaption("Admin");
    const int lefts[] = {78, 280, 482, 684, 684}, tops[] = {59, 59, 59, 59, 8};
    for (int i = 0; i < 5; ++i) {
      auto* b = new TsSpeedButton(Form);
      b->SetParent(Strip);
      b->SetBounds(lefts[i], tops[i], 196, 46);
      b->SetGroupIndex(1);
      b->SetMargin(0);
      b->SetGlyph(Face(196, 46));
    }
    auto* about = new TsSpeedButton(Form);
    about->SetParent(Form);
    about->SetBounds(Form->ClientWidth() - 140, 8, 132, 30);
    about->SetMargin(0);
    about->SetGlyph(Face(132, 30));
    Form->AfterConstruction();
    Form->Show();
    Drain();
    UpdateAllWindows();
  }
  ~TMainWindowBench() {
    Form = nullptr;
    App.reset();
    Manager.reset();
    Drain();
    Engine.reset();
    Backend.reset();
  }
  static void Drain() {
    MSG m;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&m);
  }
  // Every cached face of the window and its frame must be built again.
  void MarkAllDirty() {
    SendMessage(Form->Handle(), SM_ALPHACMD, MakeCommandWParam(AC_SETDIRTY), 0);
    MarkDirty(Form);
  }
  void PaintWhole() {
    RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }

  std::unique_ptr<THeadlessBackend> Backend;
  std::unique_ptr<TEngineScope> Engine;
  std::unique_ptr<TApplication> App;
  std::unique_ptr<TsSkinManager> Manager;
  TForm* Form = nullptr;
  TsPanel* Strip = nullptr;

private:
  static void MarkDirty(TWinControl* parent) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
      TControl* c = parent->Controls(i);
      if (TsCommonData* d = SkinDataOf(c)) d->SetDirty(true);
      if (auto* w = dynamic_cast<TWinControl*>(c)) MarkDirty(w);
    }
  }
};

TMainWindowBench& Window() {
  static TMainWindowBench window;
  return window;
}

void BM_MainWindowColdPaint(benchmark::State& state) {
  TMainWindowBench& w = Window();
  for (auto _ : state) {
    w.MarkAllDirty();
    w.PaintWhole();
  }
}
BENCHMARK(BM_MainWindowColdPaint)->Unit(benchmark::kMillisecond);

void BM_MainWindowWarmPaint(benchmark::State& state) {
  TMainWindowBench& w = Window();
  w.PaintWhole();
  for (auto _ : state) w.PaintWhole();
}
BENCHMARK(BM_MainWindowWarmPaint)->Unit(benchmark::kMillisecond);

void BM_MemcpyWindowImage(benchmark::State& state) {
  std::vector<std::uint8_t> from(static_cast<std::size_t>(kWidth) * kHeight * 4, 7), to(from.size());
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size());
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MemcpyWindowImage)->Unit(benchmark::kMillisecond);

void PrintPair(const char* name, double seconds, double baseline) {
  std::printf("%s = %.3f\n", name, seconds * 1e3);
  if (baseline > 0) std::printf("%s_vs_memcpy = %.1f\n", name, seconds / baseline);
}

}  // namespace

int main(int argc, char** argv) {
  // A cold paint that rebuilt nothing would measure the warm one twice.
  TMainWindowBench& w = Window();
  const int before = w.Strip->RenderCount();
  w.MarkAllDirty();
  w.PaintWhole();
  if (w.Strip->RenderCount() != before + 1) {
    std::fprintf(stderr, "a cold paint did not rebuild the strip's face\n");
    return 1;
  }
  TBenchTimes times;
  if (!RunBenchmarks(argc, argv, times)) return 1;
  const double memcpy = times.CpuSeconds("BM_MemcpyWindowImage");
  std::printf("main_window_image_memcpy_ms = %.4f\n", memcpy * 1e3);
  PrintPair("main_window_cold_paint_ms", times.CpuSeconds("BM_MainWindowColdPaint"), memcpy);
  PrintPair("main_window_warm_paint_ms", times.CpuSeconds("BM_MainWindowWarmPaint"), memcpy);
  return 0;
}
