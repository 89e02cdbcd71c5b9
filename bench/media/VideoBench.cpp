// Decoding one 640 × 480 lesson frame and scaling it into a player panel of the
// same size, against copying the panel's bytes once (the least any frame costs).
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "bench/common/BenchRunner.h"
#include "media/VideoDecoder.h"
#include "tools/make-workspace/VideoLesson.h"

namespace {
namespace fs = std::filesystem;
constexpr int kWidth = 640;
constexpr int kHeight = 480;

const std::string& LessonFile() {
  static const std::string path = [] {
    const fs::path dir = fs::temp_directory_path() / ("tb-bench-video-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string file = (dir / "lesson640.avi").string();
    WriteVideoLesson({file, "mpeg4", "mp2", kWidth, kHeight, 25, 4, 0});
    return file;
  }();
  return path;
}

// Takes the next picture, going back to the start at the end of the video.
bool NextFrame(TVideoDecoder& decoder) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (decoder.Pump(1, std::chrono::seconds(1)) == TVideoDecoder::TPump::Ready) return true;
    decoder.Rewind();
  }
  return false;
}

// A panel of the frame's own size, and one of a maximised browser window's.
void DecodeScale(benchmark::State& state, int panelWidth, int panelHeight) {
  TVideoDecoder decoder;
  decoder.Open(LessonFile());
  TBitmap panel(panelWidth, panelHeight, TPixelFormat::pf32bit, true);
  for (auto _ : state) {
    if (!NextFrame(decoder)) {
      state.SkipWithError("no picture");
      break;
    }
    decoder.ScaleFront(panel, {0, 0, panelWidth, panelHeight});
    decoder.DropFront();
    benchmark::DoNotOptimize(panel.Bits());
  }
}
void BM_VideoFrameDecodeScale(benchmark::State& state) { DecodeScale(state, kWidth, kHeight); }
BENCHMARK(BM_VideoFrameDecodeScale)->Unit(benchmark::kMillisecond);
void BM_VideoFrameDecodeScaleTo1000x700(benchmark::State& state) { DecodeScale(state, 1000, 700); }
BENCHMARK(BM_VideoFrameDecodeScaleTo1000x700)->Unit(benchmark::kMillisecond);

// The same with decoding only, to tell the two costs apart.
void BM_VideoFrameDecode(benchmark::State& state) {
  TVideoDecoder decoder;
  decoder.Open(LessonFile());
  for (auto _ : state) {
    if (!NextFrame(decoder)) {
      state.SkipWithError("no picture");
      break;
    }
    decoder.DropFront();
  }
}
BENCHMARK(BM_VideoFrameDecode)->Unit(benchmark::kMillisecond);

void BM_PanelMemcpy(benchmark::State& state) {
  TBitmap source(kWidth, kHeight, TPixelFormat::pf32bit, true);
  TBitmap panel(kWidth, kHeight, TPixelFormat::pf32bit, true);
  source.Fill(0x00336699);
  for (auto _ : state) {
    std::memcpy(panel.Bits(), source.Bits(), panel.SizeInBytes());
    benchmark::DoNotOptimize(panel.Bits());
  }
}
BENCHMARK(BM_PanelMemcpy)->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv) {
  LessonFile();  // write the video before timing anything
  TBenchTimes times;
  if (!RunBenchmarks(argc, argv, times)) return 1;
  auto ms = [&](const char* name) { return times.CpuSeconds(name) * 1000.0; };
  const double frame = ms("BM_VideoFrameDecodeScale"), decode = ms("BM_VideoFrameDecode");
  const double copy = ms("BM_PanelMemcpy");
  if (frame > 0) std::printf("video_frame_decode_scale_ms = %.3f\n", frame);
  if (frame > 0 && copy > 0) std::printf("video_frame_decode_scale_vs_memcpy = %.1f\n", frame / copy);
  if (ms("BM_VideoFrameDecodeScaleTo1000x700") > 0)
    std::printf("video_frame_decode_scale_1000x700_ms = %.3f\n", ms("BM_VideoFrameDecodeScaleTo1000x700"));
  if (frame > 0 && decode > 0) std::printf("video_frame_scale_share = %.2f\n", (frame - decode) / frame);
  std::error_code ec;
  fs::remove_all(fs::path(LessonFile()).parent_path(), ec);
  return 0;
}
