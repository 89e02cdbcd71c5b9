// The new-skin broadcast: command 1 to nine shown forms holding 300 skinned controls,
// each re-resolving its section and rebuilding and showing its face, against a memcpy
// of the bytes of all those faces.
#include <benchmark/benchmark.h>

#include "bench/common/BenchRunner.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "forms/Application.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/win/Win.h"
#include "skin/internal/InternalSkin.h"
#include "skin/runtime/acBroadcast.h"
#include "skin/runtime/sSkinManager.h"
#include "tests/skinruntime/RuntimeTestControls.h"

namespace {

constexpr int kForms = 9;
constexpr int kPanelsPerForm = 3;
constexpr int kButtonsPerPanel = 5;  // windowless, and as many windowed
constexpr int kTotalControls = 300;

struct TBenchWorld {
  std::unique_ptr<THeadlessBackend> Backend;
  std::unique_ptr<TApplication> App;
  std::unique_ptr<TsSkinManager> Manager;
  std::vector<TsCommonData*> Faces;
  std::size_t FaceBytes = 0;

  TBenchWorld() {
    Backend = std::make_unique<THeadlessBackend>(TSize{1600, 1200});
    Backend->Install();
    App = std::make_unique<TApplication>();
    Manager = std::make_unique<TsSkinManager>(nullptr);
    Manager->SetSkinDirectory("Z:\\no such skins");
    AddInternalSkin(*Manager);
    Manager->SetSkinName(kInternalSkinName);
    int made = 0;
    for (int f = 0; f < kForms; ++f) {
      auto* form = new TForm(App.get());
      form->SetBounds(20 + f * 30, 20 + f * 30, 420, 300);
      for (int p = 0; p < kPanelsPerForm; ++p) {
        auto* panel = AddControl<TTestSkinPanel>(form, 5, 5 + p * 95, 400, 90);
        Faces.push_back(&panel->Data);
        ++made;
        for (int b = 0; b < kButtonsPerPanel; ++b) {
          auto* flat = AddControl<TTestSkinGraphic>(panel, 5 + b * 75, 5, 70, 30);
          auto* push = AddControl<TTestSkinPanel>(panel, 5 + b * 75, 45, 70, 30, TacControlKind::Button);
          Faces.push_back(&flat->Data);
          Faces.push_back(&push->Data);
          made += 2;
        }
      }
      for (; f == kForms - 1 && made < kTotalControls; ++made) {
        auto* extra = AddControl<TTestSkinGraphic>(form, 5 + (made % 10) * 30, 290 - 10, 25, 8);
        Faces.push_back(&extra->Data);
      }
      form->AfterConstruction();
      form->Show();
    }
    ProcessPendingMessages();
    for (TsCommonData* data : Faces)
      if (data->Cache()) FaceBytes += data->Cache()->SizeInBytes();
  }
  ~TBenchWorld() {
    Manager.reset();
    App.reset();
    Backend.reset();
  }
};

TBenchWorld& World() {
  static TBenchWorld world;
  return world;
}

void BM_BroadcastNewSkin(benchmark::State& state) {
  TBenchWorld& world = World();
  for (auto _ : state) {
    TacBroadcast::ToApplication(AC_SETNEWSKIN, reinterpret_cast<LPARAM>(world.Manager.get()));
    ProcessPendingMessages();
  }
  state.counters["controls"] = static_cast<double>(world.Faces.size());
}
BENCHMARK(BM_BroadcastNewSkin)->Unit(benchmark::kMicrosecond);

// The visitor alone: a command every control passes on and none repaints for.
void BM_BroadcastDeliveryOnly(benchmark::State& state) {
  TBenchWorld& world = World();
  for (auto _ : state) TacBroadcast::ToApplication(AC_STOPFADING, reinterpret_cast<LPARAM>(world.Manager.get()));
}
BENCHMARK(BM_BroadcastDeliveryOnly)->Unit(benchmark::kMicrosecond);

// Baseline: copying the bytes of every face once.
void BM_MemcpyFaces(benchmark::State& state) {
  TBenchWorld& world = World();
  std::vector<std::uint8_t> source(world.FaceBytes, 0x5A), target(world.FaceBytes);
  for (auto _ : state) {
    std::memcpy(target.data(), source.data(), source.size());
    benchmark::DoNotOptimize(target.data());
  }
}
BENCHMARK(BM_MemcpyFaces)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  TBenchTimes times;
  if (!RunBenchmarks(argc, argv, times)) return 1;
  const double broadcast = times.CpuSeconds("BM_BroadcastNewSkin");
  const double copy = times.CpuSeconds("BM_MemcpyFaces");
  const double delivery = times.CpuSeconds("BM_BroadcastDeliveryOnly");
  std::printf("broadcast_controls = %zu\n", World().Faces.size());
  std::printf("broadcast_new_skin_us = %.1f\n", broadcast * 1e6);
  std::printf("broadcast_memcpy_us = %.1f\n", copy * 1e6);
  std::printf("broadcast_vs_memcpy = %.1f\n", copy > 0 ? broadcast / copy : 0.0);
  std::printf("broadcast_delivery_only_us = %.1f\n", delivery * 1e6);
  return 0;
}
