// A skinned speed button's face rebuilt in each state, and the warm paint that only
// copies the cached face, each beside a memcpy of the face's bytes in the same run;
// the rebuilt faces' figures are taken in turns with the copy (bench/common/InTurns.h).
#include <cstdio>
#include <cstring>
#include <memory>

#include "bench/common/BenchRunner.h"
#include "bench/common/InTurns.h"
#include "forms/Application.h"
#include "forms/Form.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/win/Win.h"
#include "skin/controls/sSpeedButton.h"
#include "skin/internal/InternalSkin.h"
#include "skin/paint/acPaintEngine.h"
#include "skin/runtime/sSkinManager.h"

namespace {

constexpr int kWidth = 120, kHeight = 32;

// A shown form with one navigation-sized button, built once.
struct TBenchDesk {
  THeadlessBackend Backend{TSize{800, 600}};
  std::unique_ptr<TEngineScope> Engine;
  std::unique_ptr<TApplication> App;
  std::unique_ptr<TsSkinManager> Manager;
  TForm* Form = nullptr;
  TsSpeedButton* Button = nullptr;

  TBenchDesk() {
    Backend.Install();
    Engine = std::make_unique<TEngineScope>(SkinPaintEngineParts());
    App = std::make_unique<TApplication>();
    Manager = std::make_unique<TsSkinManager>(nullptr);
    Manager->SetSkinDirectory("Z:\\no such skins");
    AddInternalSkin(*Manager);
    Manager->SetSkinName(kInternalSkinName);
    Form = new TForm(App.get());
    Form->SetBounds(20, 20, 400, 200);
    Button = new TsSpeedButton(Form);
    Button->SetBounds(30, 30, kWidth, kHeight);
    Button->SetParent(Form);
    Button->SetCaption("Тестирование");
    Button->SetGroupIndex(1);
    Button->SetAllowAllUp(true);
    Form->AfterConstruction();
    Form->Show();
    UpdateAllWindows();
  }
};

TBenchDesk& Desk() {
  static TBenchDesk desk;
  return desk;
}

// Puts the button in state 0 (normal), 1 (hot) or 2 (pressed); false when it did not take it.
bool TakeState(TsSpeedButton& b, int wanted) {
  b.SkinData()->SetMouseAbove(wanted == 1);
  b.SetDown(wanted == 2);
  return StateNumber(b.PaintState()) == wanted;
}

void LeaveState(TsSpeedButton& b) {
  b.SetDown(false);
  b.SkinData()->SetMouseAbove(false);
}

void RenderFace(TsSpeedButton& b) {
  b.RenderCache();
  benchmark::DoNotOptimize(b.SkinData()->Cache()->Bits());
  benchmark::ClobberMemory();
}

// The face rebuilt for state 0 (normal), 1 (hot) or 2 (pressed).
void BM_SpeedButtonFace(benchmark::State& state) {
  TsSpeedButton& b = *Desk().Button;
  if (!TakeState(b, static_cast<int>(state.range(0)))) {
    state.SkipWithError("the button did not take the state");
    return;
  }
  for (auto _ : state) RenderFace(b);
  LeaveState(b);
}
BENCHMARK(BM_SpeedButtonFace)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

TTurns gFaceTurns[3];

void BM_SpeedButtonFaceInTurns(benchmark::State& state) {
  TsSpeedButton& b = *Desk().Button;
  const int wanted = static_cast<int>(state.range(0));
  if (!TakeState(b, wanted)) {
    state.SkipWithError("the button did not take the state");
    return;
  }
  TCopyBaseline copy(TBitmap(kWidth, kHeight, TPixelFormat::pf24bit).SizeInBytes());
  TimeInTurns(state, gFaceTurns[wanted], [&b] { RenderFace(b); }, copy);
  LeaveState(b);
}
BENCHMARK(BM_SpeedButtonFaceInTurns)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// A paint request with nothing dirty: the cache goes to the screen as it is.
void BM_SpeedButtonWarmPaint(benchmark::State& state) {
  TBenchDesk& d = Desk();
  TsSpeedButton& b = *d.Button;
  TBitmap screen(kWidth, kHeight, TPixelFormat::pf32bit);
  TDeviceContext dc(screen);
  b.Perform(WM_PAINT, reinterpret_cast<WPARAM>(&dc), 0);
  const int renders = b.RenderCount();
  for (auto _ : state) {
    b.Perform(WM_PAINT, reinterpret_cast<WPARAM>(&dc), 0);
    benchmark::DoNotOptimize(screen.Bits());
    benchmark::ClobberMemory();
  }
  if (b.RenderCount() != renders) state.SkipWithError("a warm paint rebuilt the face");
}
BENCHMARK(BM_SpeedButtonWarmPaint)->Unit(benchmark::kMicrosecond);

void BM_MemcpyFace(benchmark::State& state) {
  TCopyBaseline copy(TBitmap(kWidth, kHeight, TPixelFormat::pf24bit).SizeInBytes());
  for (auto _ : state) copy();
}
BENCHMARK(BM_MemcpyFace)->Unit(benchmark::kMicrosecond);

void PrintPair(const char* name, double seconds, double baseline) {
  if (seconds <= 0) return;
  std::printf("%s_us = %.3f\n", name, seconds * 1e6);
  if (baseline > 0) std::printf("%s_vs_memcpy = %.1f\n", name, seconds / baseline);
}

}  // namespace

int main(int argc, char** argv) {
  TBenchTimes times;
  if (!RunBenchmarks(argc, argv, times)) return 1;
  const double memcpy = times.CpuSeconds("BM_MemcpyFace");
  std::printf("speedbutton_face_memcpy_us = %.4f\n", (gFaceTurns[0].Ratios.empty() ? memcpy : gFaceTurns[0].BaselineBest) * 1e6);
  const char* names[3] = {"speedbutton_face_normal", "speedbutton_face_hot", "speedbutton_face_pressed"};
  for (int i = 0; i < 3; ++i) {
    if (gFaceTurns[i].Ratios.empty()) continue;
    std::printf("%s_us = %.3f\n", names[i], gFaceTurns[i].WorkBest * 1e6);
    std::printf("%s_vs_memcpy = %.1f\n", names[i], gFaceTurns[i].Median());
  }
  PrintPair("speedbutton_warm_paint", times.CpuSeconds("BM_SpeedButtonWarmPaint"), memcpy);
  return 0;
}
