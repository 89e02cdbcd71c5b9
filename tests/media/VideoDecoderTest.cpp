#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "media/VideoDecoder.h"
#include "tools/make-workspace/VideoLesson.h"

namespace fs = std::filesystem;

namespace {
// A one-second lesson: 25 pictures at 25 a second.
const std::string& ShortLesson() {
  static const std::string path = [] {
    const fs::path dir = fs::temp_directory_path() / ("tb-media-decoder-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string file = (dir / "short.avi").string();
    WriteVideoLesson({file, "mpeg4", "mp2", 160, 120, 25, 1, 0});
    return file;
  }();
  return path;
}

// Takes every picture with calls that may not spend any time at all; returns their times.
std::vector<double> DrainWithNoBudget(TVideoDecoder& decoder, int& calls) {
  std::vector<double> times;
  calls = 0;
  for (;;) {
    ++calls;
    if (calls > 10000) break;  // a decoder that makes no progress
    const TVideoDecoder::TPump r = decoder.Pump(1, std::chrono::nanoseconds(0));
    if (r == TVideoDecoder::TPump::End) break;
    if (r == TVideoDecoder::TPump::Ready) {
      times.push_back(decoder.FrontTime());
      decoder.DropFront();
    }
  }
  return times;
}
}  // namespace

TEST(VideoDecoderTest, NoBudgetStillAdvancesAPacketAtATimeToTheEnd) {
  TVideoDecoder decoder;
  decoder.Open(ShortLesson());
  EXPECT_EQ(decoder.Width(), 160);
  EXPECT_EQ(decoder.Height(), 120);
  EXPECT_DOUBLE_EQ(decoder.FrameInterval(), 0.04);
  EXPECT_TRUE(decoder.HasAudio());
  int calls = 0;
  const std::vector<double> times = DrainWithNoBudget(decoder, calls);
  ASSERT_EQ(times.size(), 25u);
  // More calls than pictures: each call did a little, none did it all.
  EXPECT_GT(calls, 25);
  for (size_t i = 0; i < times.size(); ++i) EXPECT_NEAR(times[i], 0.04 * static_cast<double>(i), 1e-6) << i;
  EXPECT_TRUE(decoder.Finished());
}

TEST(VideoDecoderTest, RewindStartsAgainFromTheFirstPicture) {
  TVideoDecoder decoder;
  decoder.Open(ShortLesson());
  int calls = 0;
  ASSERT_EQ(DrainWithNoBudget(decoder, calls).size(), 25u);
  decoder.Rewind();
  EXPECT_FALSE(decoder.Finished());
  const std::vector<double> again = DrainWithNoBudget(decoder, calls);
  ASSERT_EQ(again.size(), 25u);
  EXPECT_DOUBLE_EQ(again.front(), 0);
}

TEST(VideoDecoderTest, SoundReachesTheSinkResampledAndSkippingItLosesNoPicture) {
  TVideoDecoder decoder;
  decoder.Open(ShortLesson());
  std::size_t frames = 0;
  decoder.SetAudioSink(48000, 2, [&](const std::int16_t*, std::size_t n) { frames += n; });
  int calls = 0;
  DrainWithNoBudget(decoder, calls);
  // One second of sound at the sink's rate, give or take the encoder's last block.
  EXPECT_NEAR(static_cast<double>(frames), 48000.0, 48000.0 * 0.1);
  EXPECT_DOUBLE_EQ(decoder.AudioStart(), 0);

  TVideoDecoder silent;
  silent.Open(ShortLesson());
  EXPECT_EQ(DrainWithNoBudget(silent, calls).size(), 25u);
  EXPECT_TRUE(silent.Finished());
}

TEST(VideoDecoderTest, ScalingFillsExactlyTheRectangleOfTheBitmap) {
  TVideoDecoder decoder;
  decoder.Open(ShortLesson());
  ASSERT_EQ(decoder.Pump(1, std::chrono::seconds(1)), TVideoDecoder::TPump::Ready);
  TBitmap target(101, 67, TPixelFormat::pf32bit, true);
  target.Fill(clFuchsia);
  const TRect rect{3, 5, 98, 60};
  decoder.ScaleFront(target, rect);
  int inside = 0, outside = 0;
  for (int y = 0; y < target.Height(); ++y)
    for (int x = 0; x < target.Width(); ++x) {
      const bool in = x >= rect.Left && x < rect.Right && y >= rect.Top && y < rect.Bottom;
      if (target.Pixel(x, y) != clFuchsia) (in ? inside : outside)++;
      if (in) {
        EXPECT_EQ(target.Pixel32(x, y) >> 24, 0xFFu);  // opaque
      }
    }
  EXPECT_EQ(inside, rect.Width() * rect.Height());
  EXPECT_EQ(outside, 0);
  // A rectangle reaching outside the bitmap, or a bitmap of another kind, is left alone.
  TBitmap before = target;
  decoder.ScaleFront(target, {90, 60, 120, 80});
  TBitmap bottomUp(50, 50, TPixelFormat::pf32bit, false);
  bottomUp.Fill(clFuchsia);
  decoder.ScaleFront(bottomUp, {0, 0, 50, 50});
  EXPECT_EQ(bottomUp.Pixel(25, 25), clFuchsia);
  for (int y = 0; y < target.Height(); ++y)
    for (int x = 0; x < target.Width(); ++x) ASSERT_EQ(target.Pixel32(x, y), before.Pixel32(x, y));
}
