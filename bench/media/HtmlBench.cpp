// The HTML view on a 200 KB lecture (the demo lectures repeated, pictures
// included): opening it to its first screen, laying it out and painting the first
// screen at 1024 pixels, and one wheel step of the view on a form, against copying
// a screen of pixels once.
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "bench/common/BenchRunner.h"
#include "forms/Application.h"
#include "forms/Form.h"
#include "media/HtmlDocument.h"
#include "media/WebBrowser.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/win/Paint.h"
#include "platform/win/SystemMetrics.h"
#include "tools/make-workspace/Documents.h"
#include "tools/make-workspace/Picture.h"

namespace {
namespace fs = std::filesystem;
constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr std::size_t kLectureBytes = 200 * 1024;

// The demo lectures' bodies one after another until the page holds 200 KB.
const std::string& LectureFile() {
  static const std::string path = [] {
    const fs::path dir = fs::temp_directory_path() / ("tb-bench-html-" + std::to_string(::getpid()));
    fs::create_directories(dir / "lectures");
    fs::create_directories(dir / "pictures");
    BinaryPicture().SavePng((dir / "pictures/binary.png").string());
    FlowchartPicture().SavePng((dir / "pictures/flowchart.png").string());
    const std::vector<DemoDocument> lectures = DemoLectures();
    const std::string& first = lectures.front().Html;
    std::string page = first.substr(0, first.find("<body>") + 6);
    for (std::size_t i = 0; page.size() < kLectureBytes; ++i) {
      const std::string& html = lectures[i % lectures.size()].Html;
      const std::size_t from = html.find("<body>") + 6;
      page += html.substr(from, html.find("</body>") - from);
    }
    page += "</body></html>\n";
    const std::string file = (dir / "lectures/lecture200k.htm").string();
    std::ofstream(file, std::ios::binary) << page;
    return file;
  }();
  return path;
}

void BM_HtmlLayoutPaint200k(benchmark::State& state) {
  THtmlDocument page;
  page.Open(LectureFile());
  TBitmap screen(kWidth, kHeight, TPixelFormat::pf32bit, true);
  for (auto _ : state) {
    page.InvalidateLayout();
    page.Layout(kWidth, kHeight);
    page.Draw(screen, {0, 0}, Bounds(0, 0, kWidth, kHeight));
    benchmark::DoNotOptimize(screen.Bits());
  }
}
BENCHMARK(BM_HtmlLayoutPaint200k)->Unit(benchmark::kMillisecond);

// Double-click to a painted lecture: reading, preparing, parsing and styling the
// part the view shows first, its layout and the first screen, as the view does it.
void BM_HtmlOpen200k(benchmark::State& state) {
  TBitmap screen(kWidth, kHeight, TPixelFormat::pf32bit, true);
  for (auto _ : state) {
    THtmlDocument page;
    page.Open(LectureFile(), {}, THtmlLoad::FirstPartFirst);
    page.Layout(kWidth, kHeight);
    page.Draw(screen, {0, 0}, Bounds(0, 0, kWidth, kHeight));
    if (!page.Partial()) state.SkipWithError("the lecture was read whole before its first screen");
    benchmark::DoNotOptimize(screen.Bits());
  }
}
BENCHMARK(BM_HtmlOpen200k)->Unit(benchmark::kMillisecond);

// The same with the whole lecture read first (what the view reads by the time a
// reader scrolls).
void BM_HtmlOpenWhole200k(benchmark::State& state) {
  TBitmap screen(kWidth, kHeight, TPixelFormat::pf32bit, true);
  for (auto _ : state) {
    THtmlDocument page;
    page.Open(LectureFile());
    page.Layout(kWidth, kHeight);
    page.Draw(screen, {0, 0}, Bounds(0, 0, kWidth, kHeight));
    benchmark::DoNotOptimize(screen.Bits());
  }
}
BENCHMARK(BM_HtmlOpenWhole200k)->Unit(benchmark::kMillisecond);

// One wheel notch down on the view, from the message to the painted band.
void BM_HtmlScrollRepaint(benchmark::State& state) {
  THeadlessBackend backend({1280, 1024});
  backend.Install();
  TApplication app;
  TForm* form = app.CreateForm<TForm>();
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, kWidth + GetSystemMetrics(SM_CXVSCROLL), kHeight);
  auto* view = new TWebBrowser(form);
  view->SetParent(form);
  view->SetAlign(alClient);
  form->Show();
  view->Navigate(LectureFile());
  UpdateAllWindows();
  app.ProcessMessages();  // the rest of the lecture is read after the first paint
  if (view->Page().Partial()) state.SkipWithError("the lecture was not read whole after its first paint");
  view->ScrollTo(0, view->Page().Height() / 2);
  UpdateAllWindows();
  const TPoint at = view->ClientToScreen({100, 100});
  // Down through the lecture, as a reader scrolls, back to the top at the end.
  const int bottom = view->Page().Height() - view->ClientRect().Height();
  for (auto _ : state) {
    if (view->ScrollTop() >= bottom) {
      state.PauseTiming();
      view->ScrollTo(0, 0);
      state.ResumeTiming();
    }
    backend.Wheel(at, -120);
  }
  if (view->LastPaintRect().Height() > TWebBrowser::kWheelLines * TWebBrowser::kLineStep)
    state.SkipWithError("the wheel step repainted more than the exposed band");
  state.counters["strip_walks"] = view->Tiles().WalkCount();
}
BENCHMARK(BM_HtmlScrollRepaint)->Unit(benchmark::kMillisecond);

void BM_ScreenMemcpy(benchmark::State& state) {
  TBitmap source(kWidth, kHeight, TPixelFormat::pf32bit, true);
  TBitmap screen(kWidth, kHeight, TPixelFormat::pf32bit, true);
  source.Fill(0x00336699);
  for (auto _ : state) {
    std::memcpy(screen.Bits(), source.Bits(), screen.SizeInBytes());
    benchmark::DoNotOptimize(screen.Bits());
  }
}
BENCHMARK(BM_ScreenMemcpy)->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv) {
  LectureFile();  // write the lecture before timing anything
  TBenchTimes times;
  if (!RunBenchmarks(argc, argv, times)) return 1;
  auto ms = [&](const char* name) { return times.CpuSeconds(name) * 1000.0; };
  const double layout = ms("BM_HtmlLayoutPaint200k"), open = ms("BM_HtmlOpen200k");
  const double scroll = ms("BM_HtmlScrollRepaint"), copy = ms("BM_ScreenMemcpy");
  const double whole = ms("BM_HtmlOpenWhole200k");
  if (layout > 0) std::printf("html_layout_paint_200k_ms = %.2f\n", layout);
  if (layout > 0 && copy > 0) std::printf("html_layout_paint_200k_vs_memcpy = %.1f\n", layout / copy);
  if (scroll > 0) std::printf("html_scroll_repaint_ms = %.3f\n", scroll);
  if (scroll > 0 && copy > 0) std::printf("html_scroll_repaint_vs_memcpy = %.1f\n", scroll / copy);
  if (open > 0) std::printf("html_open_200k_ms = %.1f\n", open);
  if (open > 0 && copy > 0) std::printf("html_open_200k_vs_memcpy = %.0f\n", open / copy);
  if (whole > 0) std::printf("html_open_whole_200k_ms = %.1f\n", whole);
  std::error_code ec;
  fs::remove_all(fs::path(LectureFile()).parent_path().parent_path(), ec);
  return 0;
}
