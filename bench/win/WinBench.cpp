// Window-system benchmarks: a send through a three-deep subclass chain against
// three plain indirect calls, and composing a desktop of five 800 x 600 windows
// against a memcpy of the same bytes.
#include <benchmark/benchmark.h>

#include "bench/common/BenchRunner.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/backend/DesktopCompositor.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/win/Win.h"

namespace {

LRESULT BaseProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER) return static_cast<LRESULT>(w + 1);
  return DefWindowProc(h, m, w, l);
}

struct TLayer {
  TWindowProc Previous;
  LRESULT WndProc(HWND h, UINT m, WPARAM w, LPARAM l) { return CallWindowProc(Previous, h, m, w + 1, l); }
};

void BM_SendThroughSubclassChain(benchmark::State& state) {
  THeadlessBackend backend;
  backend.Install();
  WNDCLASSEX wc;
  wc.lpfnWndProc = &BaseProc;
  wc.lpszClassName = "BenchBase";
  RegisterClassEx(wc);
  HWND w = CreateWindowEx(0, "BenchBase", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  TLayer layers[3];
  for (TLayer& layer : layers) layer.Previous = SetWindowProc(w, MakeWindowProc<&TLayer::WndProc>(&layer));
  WPARAM x = 0;
  for (auto _ : state) {
    LRESULT r = SendMessage(w, WM_USER, x, 0);
    benchmark::DoNotOptimize(r);
    x = static_cast<WPARAM>(r) & 0xFF;
  }
  DestroyWindow(w);
  UnregisterClass("BenchBase", nullptr);
}
BENCHMARK(BM_SendThroughSubclassChain);

// Baseline: the same three layers and the base as plain indirect calls.
using TFn = std::intptr_t (*)(void*, std::uintptr_t);
struct TPlainLayer {
  TFn Next;
  void* NextContext;
};
std::intptr_t PlainBase(void*, std::uintptr_t w) { return static_cast<std::intptr_t>(w + 1); }
std::intptr_t PlainLayer(void* context, std::uintptr_t w) {
  auto* layer = static_cast<TPlainLayer*>(context);
  return layer->Next(layer->NextContext, w + 1);
}

void BM_DirectCallChain(benchmark::State& state) {
  TPlainLayer l1{&PlainBase, nullptr};
  TPlainLayer l2{&PlainLayer, &l1};
  TPlainLayer l3{&PlainLayer, &l2};
  TFn entry = &PlainLayer;
  benchmark::DoNotOptimize(entry);
  std::uintptr_t x = 0;
  for (auto _ : state) {
    std::intptr_t r = entry(&l3, x);
    benchmark::DoNotOptimize(r);
    x = static_cast<std::uintptr_t>(r) & 0xFF;
  }
}
BENCHMARK(BM_DirectCallChain);

constexpr int kWindows = 5;
constexpr int kWidth = 800;
constexpr int kHeight = 600;

std::vector<TBitmap>& Images() {
  static std::vector<TBitmap> images = [] {
    std::vector<TBitmap> v;
    for (int i = 0; i < kWindows; ++i) {
      v.emplace_back(kWidth, kHeight, TPixelFormat::pf32bit, true);
      v.back().Fill(static_cast<TColor>(RGB(static_cast<std::uint8_t>(40 * i), 90, 160)));
    }
    return v;
  }();
  return images;
}

// Five overlapping windows on a 1280 x 800 desktop: three opaque, one with
// constant alpha, one per-pixel (half of its pixels translucent).
void BM_ComposeDesktop(benchmark::State& state) {
  auto& images = Images();
  for (int y = 0; y < kHeight; ++y) {
    std::uint8_t* p = images[4].ScanLine(y);
    for (int x = 0; x < kWidth; ++x) p[x * 4 + 3] = static_cast<std::uint8_t>(x < kWidth / 2 ? 128 : 255);
  }
  std::vector<TTopLevelView> views(kWindows);
  for (int i = 0; i < kWindows; ++i) {
    views[static_cast<std::size_t>(i)].Image = &images[static_cast<std::size_t>(i)];
    views[static_cast<std::size_t>(i)].Bounds = Bounds(i * 110, i * 50, kWidth, kHeight);
  }
  views[3].Alpha = 200;
  views[4].PerPixelAlpha = true;
  TBitmap desktop(1280, 800, TPixelFormat::pf32bit, true);
  for (auto _ : state) {
    ComposeDesktop(desktop, views, clBlack);
    benchmark::DoNotOptimize(desktop.Bits());
  }
}
BENCHMARK(BM_ComposeDesktop)->Unit(benchmark::kMillisecond);

// Baseline: copying the five images' bytes once.
void BM_MemcpyFiveImages(benchmark::State& state) {
  auto& images = Images();
  std::vector<std::uint8_t> target(static_cast<std::size_t>(kWidth) * kHeight * 4);
  for (auto _ : state) {
    for (const TBitmap& image : images) std::memcpy(target.data(), image.Bits(), target.size());
    benchmark::DoNotOptimize(target.data());
  }
}
BENCHMARK(BM_MemcpyFiveImages)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  TBenchTimes times;
  if (!RunBenchmarks(argc, argv, times)) return 1;
  auto seconds = [&](const std::string& name) { return times.CpuSeconds(name); };
  double send = seconds("BM_SendThroughSubclassChain");
  double direct = seconds("BM_DirectCallChain");
  double compose = seconds("BM_ComposeDesktop");
  double copy = seconds("BM_MemcpyFiveImages");
  std::printf("send_message_per_s = %.0f\n", send > 0 ? 1.0 / send : 0.0);
  std::printf("send_vs_direct_calls = %.2f\n", direct > 0 ? send / direct : 0.0);
  std::printf("compose_desktop_ms = %.3f\n", compose * 1000.0);
  std::printf("compose_vs_memcpy = %.2f\n", copy > 0 ? compose / copy : 0.0);
  return 0;
}
