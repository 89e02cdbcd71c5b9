// Loading the internal skin (parse, inflate, decode, build the model) and
// shifting the hue of its master bitmap, each against a memcpy of the bytes it
// produces, measured in the same run.
#include <benchmark/benchmark.h>

#include "bench/common/BenchRunner.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "skin/core/sHue.h"
#include "skin/core/acSkinModel.h"
#include "skin/internal/InternalSkin.h"

namespace {

std::unique_ptr<TacSkinModel> LoadedManager() {
  auto manager = std::make_unique<TacSkinModel>();
  manager->SetSkinDirectory("Z:\\no such skins");
  AddInternalSkin(*manager);
  manager->SetSkinName(kInternalSkinName);
  return manager;
}

// Bytes the load produces: the inflated package entries (options and pictures).
std::size_t InflatedBytes() {
  static const std::size_t bytes = [] {
    TacMemoryStream source(std::vector<std::uint8_t>(InternalSkinPackage().begin(), InternalSkinPackage().end()));
    TacSkinConvertor reader;
    reader.BorrowSource(&source);
    reader.ParsePackage();
    std::size_t total = reader.OptionsStream ? reader.OptionsStream->Size() : 0;
    for (const TacImageItem& item : reader.Items) total += item.Stream->Size();
    reader.ReleaseSource();
    return total;
  }();
  return bytes;
}

void BM_LoadInternalSkin(benchmark::State& state) {
  TacSkinModel manager;
  manager.SetSkinDirectory("Z:\\no such skins");
  AddInternalSkin(manager);
  for (auto _ : state) {
    manager.SetSkinName(kInternalSkinName);
    benchmark::DoNotOptimize(manager.Masks().data());
  }
}
BENCHMARK(BM_LoadInternalSkin)->Unit(benchmark::kMillisecond);

void BM_MemcpyInflated(benchmark::State& state) {
  const std::size_t bytes = InflatedBytes();
  std::vector<std::uint8_t> from(bytes, 0x5A), to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MemcpyInflated)->Unit(benchmark::kMillisecond);

void BM_HueShiftMaster(benchmark::State& state) {
  const auto manager = LoadedManager();
  const TBitmap original(*manager->MasterBitmap);
  TBitmap work(original);
  for (auto _ : state) {
    state.PauseTiming();
    std::memcpy(work.Bits(), original.Bits(), original.SizeInBytes());
    state.ResumeTiming();
    ShiftHueBitmap(work, 120);
    benchmark::DoNotOptimize(work.Bits());
  }
}
BENCHMARK(BM_HueShiftMaster)->Unit(benchmark::kMillisecond);

void BM_MemcpyMaster(benchmark::State& state) {
  const auto manager = LoadedManager();
  const std::size_t bytes = manager->MasterBitmap->SizeInBytes();
  std::vector<std::uint8_t> to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), manager->MasterBitmap->Bits(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MemcpyMaster)->Unit(benchmark::kMillisecond);

void PrintPair(const char* name, double seconds, const char* baselineName, double baseline) {
  if (seconds > 0) std::printf("%s_ms = %.3f\n", name, seconds * 1000.0);
  if (seconds > 0 && baseline > 0) std::printf("%s_vs_%s = %.1f\n", name, baselineName, seconds / baseline);
}

}  // namespace

int main(int argc, char** argv) {
  TBenchTimes times;
  if (!RunBenchmarks(argc, argv, times)) return 1;
  PrintPair("load_internal_skin", times.RealSeconds("BM_LoadInternalSkin"), "memcpy", times.RealSeconds("BM_MemcpyInflated"));
  PrintPair("hue_shift_master", times.RealSeconds("BM_HueShiftMaster"), "memcpy", times.RealSeconds("BM_MemcpyMaster"));
  std::printf("internal_skin_inflated_bytes = %zu\n", InflatedBytes());
  return 0;
}
