#include <gtest/gtest.h>

#include <random>

#include "platform/base/Exception.h"
#include "skin/render/acSmoothStretch.h"
#include "tests/skinrender/TestBitmaps.h"
#include "tests/support/ErrorOf.h"

TEST(SmoothStretch, TooSmallSourceRaises) {
  TBitmap dst;
  for (const TSize size : {TSize{1, 5}, TSize{5, 1}, TSize{0, 0}}) {
    TBitmap src(size.cx, size.cy);
    EXPECT_EQ(ErrorOf([&] { SmoothStretch(src, dst, 10, 10, sfLanczos3); }), "Source bitmap is too small")
        << size.cx << "x" << size.cy;
  }
}

TEST(SmoothStretch, SameSizeAssigns) {
  std::mt19937 rng(1);
  const TBitmap src = RandomBitmap(rng, 7, 5, TPixelFormat::pf32bit, false);
  TBitmap dst(3, 3);
  SmoothStretch(src, dst, 7, 5, sfMitchell);
  EXPECT_TRUE(SamePixels(dst, src));
}

TEST(SmoothStretch, EveryFilterKeepsAFlatImageFlat) {
  for (int filter = 0; filter < kStretchFilterCount; ++filter)
    for (const TSize to : {TSize{37, 23}, TSize{5, 3}, TSize{1, 1}, TSize{64, 4}, TSize{200, 2}}) {
      TBitmap src(13, 9, TPixelFormat::pf32bit);
      src.Fill(0x3C80C8);
      for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 13; ++x) ByteAt(src, x, y, 3) = 131;
      TBitmap dst;
      SmoothStretch(src, dst, to.cx, to.cy, filter);
      ASSERT_EQ(dst.Width(), to.cx);
      ASSERT_EQ(dst.Height(), to.cy);
      ASSERT_EQ(dst.PixelFormat(), TPixelFormat::pf32bit);
      for (int y = 0; y < to.cy; ++y)
        for (int x = 0; x < to.cx; ++x)
          ASSERT_EQ(dst.Pixel32(x, y), 0x833C80C8u) << "filter " << filter << " at " << x << "," << y;
    }
}

// Edges are mirrored and pixel centres aligned, so a mirrored source gives the
// mirrored result (up to the one unit that rounding of the weights may move);
// a 2-pixel source is far narrower than the Lanczos window.
TEST(SmoothStretch, MirroredSourceGivesMirroredResult) {
  std::mt19937 rng(4);
  for (int filter = 0; filter < kStretchFilterCount; ++filter)
    for (const TSize from : {TSize{2, 2}, TSize{9, 6}}) {
      const TBitmap src = RandomBitmap(rng, from.cx, from.cy, TPixelFormat::pf24bit, false);
      TBitmap flipped(from.cx, from.cy);
      for (int y = 0; y < from.cy; ++y)
        for (int x = 0; x < from.cx; ++x) flipped.SetPixel(from.cx - 1 - x, y, src.Pixel(x, y));
      TBitmap a, b;
      SmoothStretch(src, a, 23, 5, filter);
      SmoothStretch(flipped, b, 23, 5, filter);
      for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 23; ++x)
          for (int c = 0; c < 3; ++c)
            ASSERT_NEAR(ByteAt(a, x, y, c), ByteAt(b, 22 - x, y, c), 1) << "filter " << filter << " at " << x << "," << y;
    }
}

TEST(SmoothStretch, BoxDoublingRepeatsPixels) {
  TBitmap src(2, 2);
  src.SetPixel(0, 0, 0x102030);
  src.SetPixel(1, 0, 0x405060);
  src.SetPixel(0, 1, 0x708090);
  src.SetPixel(1, 1, 0xA0B0C0);
  TBitmap dst;
  SmoothStretch(src, dst, 4, 4, sfBox);
  EXPECT_EQ(dst.PixelFormat(), TPixelFormat::pf24bit);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(dst.Pixel(x, y), src.Pixel(x / 2, y / 2)) << x << "," << y;
  // Halving with the box averages 2 x 2 blocks (truncating).
  TBitmap big(4, 2);
  big.SetPixel(0, 0, 0x000010);
  big.SetPixel(1, 0, 0x000021);
  TBitmap half;
  SmoothStretch(big, half, 2, 1, sfBox);
  EXPECT_EQ(half.Pixel(0, 0), (0x10 + 0x21) / 4);
}

TEST(SmoothStretch, RingingIsClampedAndInPlaceWorks) {
  TBitmap src(8, 8);
  src.Fill(clBlack);
  for (int y = 0; y < 8; ++y)
    for (int x = 4; x < 8; ++x) src.SetPixel(x, y, clWhite);
  TBitmap copy = src;
  SmoothStretch(copy, copy, 31, 8, sfLanczos3);
  ASSERT_EQ(copy.Width(), 31);
  // Far from the edge the flat parts stay exactly black and white.
  EXPECT_EQ(copy.Pixel(0, 3), clBlack);
  EXPECT_EQ(copy.Pixel(30, 3), clWhite);
  // The step is monotone-ish but never wraps around: values are clamped bytes.
  bool sawMiddle = false;
  for (int x = 0; x < 31; ++x) {
    const int v = ByteAt(copy, x, 3, 1);
    sawMiddle |= v > 20 && v < 235;
  }
  EXPECT_TRUE(sawMiddle);
}

TEST(SmoothStretch, FilterCurvesAtKnownPoints) {
  EXPECT_DOUBLE_EQ(StretchFilterValue(sfTriangle, 0.25), 0.75);
  EXPECT_DOUBLE_EQ(StretchFilterValue(sfHermite, 0.5), 0.5);
  EXPECT_DOUBLE_EQ(StretchFilterValue(sfBell, 1.0), 0.125);
  EXPECT_DOUBLE_EQ(StretchFilterValue(sfBSpline, 0.0), 2.0 / 3.0);
  EXPECT_NEAR(StretchFilterValue(sfLanczos3, 1.0), 0.0, 1e-12);
  EXPECT_DOUBLE_EQ(StretchFilterValue(sfLanczos3, 0.0), 1.0);
  EXPECT_DOUBLE_EQ(StretchFilterValue(sfMitchell, 0.0), 8.0 / 9.0);
  EXPECT_DOUBLE_EQ(StretchFilterValue(sfMitchell, 2.0), 0.0);
  EXPECT_DOUBLE_EQ(StretchFilterSupport(sfBox), 0.51);
  EXPECT_DOUBLE_EQ(StretchFilterSupport(sfLanczos3), 3.0);
}
