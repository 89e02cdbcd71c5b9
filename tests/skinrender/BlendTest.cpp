#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "skin/render/sBlend.h"
#include "tests/skinrender/TestBitmaps.h"

namespace {

TPixelFormat FormatOf(bool is32) { return is32 ? TPixelFormat::pf32bit : TPixelFormat::pf24bit; }

// Straight per-pixel version: source pixel (sx, sy) of the rectangle lands on
// point + (sx - left, sy - top) when both lie inside their bitmaps.
void ReferenceBlend(TBitmap& dst, const TBitmap& src, int a, TPoint p, TRect r) {
  for (int sy = r.Top; sy < r.Bottom; ++sy)
    for (int sx = r.Left; sx < r.Right; ++sx) {
      const int dx = p.X + sx - r.Left, dy = p.Y + sy - r.Top;
      if (sx < 0 || sy < 0 || sx >= src.Width() || sy >= src.Height()) continue;
      if (dx < 0 || dy < 0 || dx >= dst.Width() || dy >= dst.Height()) continue;
      for (int c = 0; c < Bpp(dst); ++c) {
        const int d = ByteAt(dst, dx, dy, c), s = ByteAt(src, sx, sy, c);
        ByteAt(dst, dx, dy, c) = static_cast<std::uint8_t>((d * a + s * (255 - a) + 127) / 256);
      }
    }
}

}  // namespace

TEST(BlendBitmaps, MatchesReferenceOnRandomLayouts) {
  std::mt19937 rng(42);
  std::uniform_int_distribution<int> size(2, 37), coord(-40, 40), byte(0, 255), coin(0, 1);
  for (int round = 0; round < 600; ++round) {
    const bool is32 = coin(rng);
    TBitmap src = RandomBitmap(rng, size(rng), size(rng), FormatOf(is32), coin(rng));
    TBitmap dst = RandomBitmap(rng, size(rng), size(rng), FormatOf(is32), coin(rng));
    TBitmap expect = dst;
    const int a = byte(rng);
    const TPoint p{coord(rng), coord(rng)};
    const int l = coord(rng), t = coord(rng);
    const TRect r{l, t, l + size(rng) + coord(rng) / 4, t + size(rng)};
    ReferenceBlend(expect, src, a, p, r);
    BlendBitmaps(dst, src, a, p, r);
    ASSERT_TRUE(SamePixels(dst, expect)) << "round " << round;
  }
}

TEST(BlendBitmaps, BlendByteEdges) {
  TBitmap dst(4, 4), src(4, 4);
  dst.Fill(clWhite);
  src.Fill(clBlack);
  BlendBitmaps(dst, src, 255, TPoint{0, 0}, TRect{0, 0, 4, 4});
  EXPECT_EQ(ByteAt(dst, 2, 2, 0), 254);  // (255 * 255 + 127) div 256
  dst.Fill(clWhite);
  BlendBitmaps(dst, src, 0, TPoint{0, 0}, TRect{0, 0, 4, 4});
  EXPECT_EQ(dst.Pixel(3, 3), clBlack);
}

TEST(BlendBitmaps, AlphaOf32BitPixelsIsBlendedToo) {
  TBitmap dst(3, 3, TPixelFormat::pf32bit), src(3, 3, TPixelFormat::pf32bit);
  ByteAt(dst, 1, 1, 3) = 200;
  ByteAt(src, 1, 1, 3) = 100;
  BlendBitmaps(dst, src, 128, TPoint{0, 0}, TRect{0, 0, 3, 3});
  EXPECT_EQ(ByteAt(dst, 1, 1, 3), (200 * 128 + 100 * 127 + 127) / 256);
}

TEST(BlendBitmaps, NothingForMixedDepthsTinyBitmapsOrNoOverlap) {
  std::mt19937 rng(1);
  TBitmap dst = RandomBitmap(rng, 8, 8, TPixelFormat::pf24bit, false);
  const TBitmap before = dst;
  const TBitmap src32 = RandomBitmap(rng, 8, 8, TPixelFormat::pf32bit, false);
  const TBitmap tiny = RandomBitmap(rng, 1, 8, TPixelFormat::pf24bit, false);
  const TBitmap src = RandomBitmap(rng, 8, 8, TPixelFormat::pf24bit, false);
  BlendBitmaps(dst, src32, 0, TPoint{0, 0}, TRect{0, 0, 8, 8});
  BlendBitmaps(dst, tiny, 0, TPoint{0, 0}, TRect{0, 0, 8, 8});
  BlendBitmaps(dst, src, 0, TPoint{8, 0}, TRect{0, 0, 8, 8});
  BlendBitmaps(dst, src, 0, TPoint{-8, 0}, TRect{0, 0, 8, 8});
  BlendBitmaps(dst, src, 0, TPoint{0, 0}, TRect{8, 0, 16, 8});
  BlendBitmaps(dst, src, 0, TPoint{0, 0}, TRect{5, 5, 5, 9});
  EXPECT_TRUE(SamePixels(dst, before));
}

TEST(BlendWholeBitmaps, BlendsEqualSizesOnly) {
  std::mt19937 rng(3);
  TBitmap a = RandomBitmap(rng, 9, 5, TPixelFormat::pf24bit, false);
  const TBitmap b = RandomBitmap(rng, 9, 5, TPixelFormat::pf24bit, true);
  TBitmap expect = a;
  ReferenceBlend(expect, b, 77, TPoint{0, 0}, TRect{0, 0, 9, 5});
  BlendWholeBitmaps(a, b, 77);
  EXPECT_TRUE(SamePixels(a, expect));

  const TBitmap before = a;
  BlendWholeBitmaps(a, RandomBitmap(rng, 9, 6, TPixelFormat::pf24bit, false), 0);
  BlendWholeBitmaps(a, RandomBitmap(rng, 9, 5, TPixelFormat::pf32bit, false), 0);
  EXPECT_TRUE(SamePixels(a, before));
}

TEST(BlendColorRect, KeepAllAndKeepNone) {
  std::mt19937 rng(5);
  TBitmap b = RandomBitmap(rng, 6, 5, TPixelFormat::pf24bit, false);
  const TBitmap before = b;
  BlendColorRect(b, TRect{0, 0, 6, 5}, 100, clRed);
  EXPECT_TRUE(SamePixels(b, before));
  // Right and bottom edges are inclusive: (1, 1, 3, 2) covers columns 1..3, rows 1..2.
  BlendColorRect(b, TRect{1, 1, 3, 2}, 0, 0x336699);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) {
      const bool covered = x >= 1 && x <= 3 && y >= 1 && y <= 2;
      EXPECT_EQ(b.Pixel(x, y), covered ? 0x336699 : before.Pixel(x, y)) << x << "," << y;
    }
  // Edges beyond the bitmap stop at its last column and row.
  BlendColorRect(b, TRect{-5, -5, 6, 5}, 0, clWhite);
  EXPECT_EQ(b.Pixel(5, 4), clWhite);
  EXPECT_EQ(b.Pixel(0, 0), clWhite);
}

TEST(BlendColorRect, RoundsHalfwayValuesToEven) {
  TBitmap b(4, 2);
  const std::uint8_t values[4] = {1, 3, 5, 2};
  for (int x = 0; x < 4; ++x) ByteAt(b, x, 0, 0) = values[x];
  BlendColorRect(b, TRect{0, 0, 3, 0}, 50, 0x000000);
  EXPECT_EQ(ByteAt(b, 0, 0, 0), 0);  // 0.5
  EXPECT_EQ(ByteAt(b, 1, 0, 0), 2);  // 1.5
  EXPECT_EQ(ByteAt(b, 2, 0, 0), 2);  // 2.5
  EXPECT_EQ(ByteAt(b, 3, 0, 0), 1);  // 1.0
}

// Widths up to 70 pixels reach every wide loop and its tails.
TEST(BlendColorRect, MatchesReferenceAndKeepsAlpha) {
  std::mt19937 rng(9);
  std::uniform_int_distribution<int> pct(0, 100), wide(2, 70), high(2, 6), coin(0, 1);
  std::uniform_int_distribution<std::uint32_t> colour(0, 0xFFFFFF);
  for (int round = 0; round < 300; ++round) {
    const bool is32 = coin(rng);
    const int w = wide(rng), h = high(rng);
    TBitmap b = RandomBitmap(rng, w, h, FormatOf(is32), coin(rng));
    const TBitmap before = b;
    const int p = pct(rng);
    const auto k = static_cast<TColor>(colour(rng));
    std::uniform_int_distribution<int> cx(-3, w + 3), cy(-3, h + 3);
    const TRect r{cx(rng), cy(rng), cx(rng), cy(rng)};
    BlendColorRect(b, r, p, k);
    const int kc[3] = {(k >> 16) & 0xFF, (k >> 8) & 0xFF, k & 0xFF};
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const bool covered = x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom;
        for (int c = 0; c < 3; ++c) {
          const int old = ByteAt(before, x, y, c);
          const int want = covered ? static_cast<int>(std::nearbyint((p * old + (100 - p) * kc[c]) / 100.0)) : old;
          ASSERT_EQ(ByteAt(b, x, y, c), want) << round << ": " << x << "," << y << " ch " << c;
        }
        if (is32) {
          ASSERT_EQ(ByteAt(b, x, y, 3), ByteAt(before, x, y, 3));
        }
      }
  }
}

TEST(GrayBitmap, AveragesChannelsAndHonoursTheKey) {
  TBitmap b(3, 2);
  b.SetPixel(0, 0, 0x0A1420);  // r 32, g 20, b 10: 62 div 3 = 20
  b.SetPixel(1, 0, clFuchsia);
  b.SetPixel(2, 0, clWhite);
  TBitmap keyed = b;
  GrayBitmap(b);
  EXPECT_EQ(b.Pixel(0, 0), 0x141414);
  EXPECT_EQ(b.Pixel(1, 0), 0xAAAAAA);  // 510 div 3
  EXPECT_EQ(b.Pixel(2, 0), clWhite);
  GrayBitmapExceptKey(keyed, clFuchsia);
  EXPECT_EQ(keyed.Pixel(0, 0), 0x141414);
  EXPECT_EQ(keyed.Pixel(1, 0), clFuchsia);

  TBitmap deep(3, 3, TPixelFormat::pf32bit);
  deep.SetPixel(1, 1, 0x0000FF);
  GrayBitmap(deep);
  EXPECT_EQ(deep.Pixel(1, 1), 0x0000FF);  // 24-bit only
}

TEST(CopyKeyed, SkipsKeyAndOutsidePixels) {
  std::mt19937 rng(11);
  for (bool is32 : {false, true}) {
    TBitmap src = RandomBitmap(rng, 5, 4, TPixelFormat::pf24bit, false);
    src.SetPixel(2, 1, clFuchsia);
    TBitmap dst = RandomBitmap(rng, 6, 6, FormatOf(is32), true);
    const TBitmap before = dst;
    CopyKeyed(dst, src, -1, 3, clFuchsia);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 6; ++x) {
        const int sx = x + 1, sy = y - 3;
        const bool copied = sx < 5 && sy >= 0 && sy < 4 && !(sx == 2 && sy == 1);
        EXPECT_EQ(dst.Pixel(x, y), copied ? src.Pixel(sx, sy) : before.Pixel(x, y)) << x << "," << y;
        if (is32) {
          EXPECT_EQ(ByteAt(dst, x, y, 3), copied ? 255 : ByteAt(before, x, y, 3));
        }
      }
  }
  // Only a 24-bit source is copied.
  TBitmap dst(4, 4);
  TBitmap src32(4, 4, TPixelFormat::pf32bit);
  src32.Fill(clWhite);
  CopyKeyed(dst, src32, 0, 0, clFuchsia);
  EXPECT_EQ(dst.Pixel(0, 0), clBlack);
}

TEST(FillRect32, OpaqueFillClippedAnd32BitOnly) {
  TBitmap b(5, 4, TPixelFormat::pf32bit);
  FillRect32(b, TRect{3, -2, 9, 2}, 0x102030);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(b.Pixel32(x, y), (x >= 3 && y < 2) ? 0xFF102030u : 0u) << x << "," << y;
  TBitmap b24(5, 4);
  FillRect32(b24, TRect{0, 0, 5, 4}, clWhite);
  EXPECT_EQ(b24.Pixel(0, 0), clBlack);
}
