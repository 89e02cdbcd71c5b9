#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "platform/gfx/SystemColors.h"
#include "skin/render/sBlend.h"
#include "tests/skinrender/TestBitmaps.h"

namespace {

TPixelFormat FormatOf(bool is32) { return is32 ? TPixelFormat::pf32bit : TPixelFormat::pf24bit; }

void ReferenceKeyed(TBitmap& dst, int x, int y, TColor key, double t, TRect r, const TBitmap& src) {
  const bool keyed = ((static_cast<std::uint32_t>(key) >> 24) & 0xFF) != 0xFF;
  for (int sy = std::max(r.Top, 0); sy <= std::min(r.Bottom, src.Height() - 1); ++sy)
    for (int sx = std::max(r.Left, 0); sx <= std::min(r.Right, src.Width() - 1); ++sx) {
      const int dx = x + sx - r.Left, dy = y + sy - r.Top;
      if (dx < 0 || dy < 0 || dx >= dst.Width() || dy >= dst.Height()) continue;
      if (keyed && src.Pixel(sx, sy) == key) continue;
      for (int c = 0; c < 3; ++c) {
        const double s = ByteAt(src, sx, sy, c), d = ByteAt(dst, dx, dy, c);
        ByteAt(dst, dx, dy, c) = static_cast<std::uint8_t>(std::nearbyint(s - t * (s - d)));
      }
    }
}

}  // namespace

TEST(BlendKeyed, FortyPercentOfWhiteOverBlack) {
  TBitmap dst(4, 4), src(4, 4);
  dst.Fill(clWhite);
  src.Fill(clBlack);
  BlendKeyed(dst, 0, 0, -1, 0.4, TRect{0, 0, 4, 4}, src);
  EXPECT_EQ(ByteAt(dst, 0, 0, 0), 102);  // round(0 - 0.4 * (0 - 255))
  EXPECT_EQ(dst.Pixel(3, 3), 0x666666);
}

TEST(BlendKeyed, EndsOfTheTransparencyRange) {
  std::mt19937 rng(2);
  const TBitmap src = RandomBitmap(rng, 5, 5, TPixelFormat::pf24bit, false);
  TBitmap dst = RandomBitmap(rng, 5, 5, TPixelFormat::pf24bit, true);
  const TBitmap before = dst;
  BlendKeyed(dst, 0, 0, -1, 1.0, TRect{0, 0, 4, 4}, src);
  EXPECT_TRUE(SamePixels(dst, before));
  BlendKeyed(dst, 0, 0, -1, 0.0, TRect{0, 0, 4, 4}, src);
  EXPECT_TRUE(SamePixels(dst, src));
}

TEST(BlendKeyed, HalfwayRoundsToEven) {
  TBitmap dst(2, 2), src(2, 2);
  ByteAt(src, 0, 0, 0) = 3;  // 3 - 0.5 * 3 = 1.5 -> 2
  ByteAt(src, 1, 0, 0) = 5;  // 2.5 -> 2
  ByteAt(src, 0, 1, 0) = 1;  // 0.5 -> 0
  BlendKeyed(dst, 0, 0, -1, 0.5, TRect{0, 0, 1, 1}, src);
  EXPECT_EQ(ByteAt(dst, 0, 0, 0), 2);
  EXPECT_EQ(ByteAt(dst, 1, 0, 0), 2);
  EXPECT_EQ(ByteAt(dst, 0, 1, 0), 0);
}

TEST(BlendKeyed, KeyPixelsAreSkippedUnlessTheKeyIsNone) {
  TBitmap src(3, 2), dst(3, 2);
  src.Fill(clFuchsia);
  src.SetPixel(1, 0, clBlue);
  dst.Fill(clWhite);
  BlendKeyed(dst, 0, 0, clFuchsia, 0.0, TRect{0, 0, 2, 1}, src);
  EXPECT_EQ(dst.Pixel(0, 0), clWhite);
  EXPECT_EQ(dst.Pixel(1, 0), clBlue);
  BlendKeyed(dst, 0, 0, static_cast<TColor>(0xFF00FF00u | clFuchsia), 0.0, TRect{0, 0, 2, 1}, src);
  EXPECT_EQ(dst.Pixel(0, 0), clFuchsia);  // high byte 0xFF: no key
}

TEST(BlendKeyed, MatchesReferenceForEveryDepthPair) {
  std::mt19937 rng(13);
  std::uniform_int_distribution<int> size(1, 23), coord(-25, 25), coin(0, 1), pick(0, 3);
  std::uniform_real_distribution<double> real(0.0, 1.0);
  const double fixedT[] = {0.4, 0.5, 0.1, 0.0};
  for (int round = 0; round < 600; ++round) {
    const bool s32 = coin(rng), d32 = coin(rng);
    TBitmap src = RandomBitmap(rng, size(rng), size(rng), FormatOf(s32), coin(rng));
    TBitmap dst = RandomBitmap(rng, size(rng), size(rng), FormatOf(d32), coin(rng));
    // Plant some key pixels.
    for (int i = 0; i < 5; ++i) src.SetPixel(coord(rng) & 15, coord(rng) & 15, clFuchsia);
    if (s32) ByteAt(src, 0, 0, 3) = 7;  // source alpha never reaches the destination
    TBitmap expect = dst;
    const TColor key = coin(rng) ? clFuchsia : -1;
    const double t = coin(rng) ? real(rng) : fixedT[pick(rng)];
    const int l = coord(rng), tp = coord(rng);
    const TRect r{l, tp, l + size(rng), tp + size(rng)};
    const int x = coord(rng), y = coord(rng);
    if (src.Width() >= 2 && src.Height() >= 2 && dst.Width() >= 2 && dst.Height() >= 2)
      ReferenceKeyed(expect, x, y, key, t, r, src);
    BlendKeyed(dst, x, y, key, t, r, src);
    ASSERT_TRUE(SamePixels(dst, expect)) << "round " << round << " t " << t;
  }
}

namespace {

// A system colour given as key stands for the RGB it currently resolves to.
TEST(SystemColourKeys, KeyedCopyAndGrayResolveTheKeyFirst) {
  const TColor face = ColorToRGB(clBtnFace);
  TBitmap src(2, 2, TPixelFormat::pf24bit);
  src.Fill(0x102030);
  src.SetPixel(0, 0, face);
  TBitmap dst(2, 2, TPixelFormat::pf24bit);
  dst.Fill(0x0000FF);
  CopyKeyed(dst, src, 0, 0, clBtnFace);
  EXPECT_EQ(dst.Pixel(0, 0), 0x0000FF);  // skipped as key
  EXPECT_EQ(dst.Pixel(1, 1), 0x102030);

  TBitmap gray(2, 2, TPixelFormat::pf24bit);
  gray.Fill(0x0000FF);
  gray.SetPixel(1, 0, face);
  GrayBitmapExceptKey(gray, clBtnFace);
  EXPECT_EQ(gray.Pixel(1, 0), face);
  EXPECT_EQ(gray.Pixel(0, 0), 0x555555);  // 255 div 3 in every channel
}

}  // namespace
