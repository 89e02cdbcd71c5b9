#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "platform/base/Exception.h"
#include "skin/core/sGradient.h"
#include "skin/render/sGradientPaint.h"
#include "tests/skinrender/TestBitmaps.h"

TEST(GradientParse, SkinExampleAndEmptyForms) {
  const TsGradArray stops = ParseGradient("16777215;11237449;99;0;0;11237449;11237449;0;0;0");
  ASSERT_EQ(stops.size(), 2u);
  EXPECT_EQ(stops[0], (TsGradPie{16777215, 11237449, 99, 0}));
  EXPECT_EQ(stops[1], (TsGradPie{11237449, 11237449, 0, 0}));
  EXPECT_TRUE(ParseGradient(" ").empty());
  EXPECT_TRUE(ParseGradient("").empty());
}

TEST(GradientParse, ClampsAndDropsTheIncompleteGroup) {
  const TsGradArray stops = ParseGradient("-5;7;250;1;9;1;2;-3");
  ASSERT_EQ(stops.size(), 1u);
  EXPECT_EQ(stops[0].Color1, 0);
  EXPECT_EQ(stops[0].Percent, 100);
  EXPECT_EQ(stops[0].Mode, 1);
  EXPECT_THROW(ParseGradient("1;x;3;0;0"), EConvertError);
}

TEST(PaintGradient, TwoVerticalStopsShareTheirBoundaryRow) {
  TBitmap b(4, 10);
  b.Fill(clRed);
  PaintGradient(b, TRect{0, 0, 4, 10}, ParseGradient("16777215;0;50;0;0;0;0;50;0;0"));
  for (int y = 0; y <= 5; ++y) EXPECT_EQ(b.Pixel(2, y), (255 - 51 * y) * 0x010101) << y;
  for (int y = 5; y < 10; ++y) EXPECT_EQ(b.Pixel(3, y), clBlack) << y;
}

TEST(PaintGradient, EmptyDescriptionsAndZeroBands) {
  TBitmap b(6, 6);
  b.Fill(clRed);
  PaintGradient(b, TRect{0, 0, 6, 6}, ParseGradient(" "));
  PaintGradient(b, TRect{0, 0, 6, 6}, ParseGradient(""));
  EXPECT_EQ(b.Pixel(0, 0), clRed);
  // A 0 % stop that is not the last paints nothing; the last runs to the bottom.
  PaintGradient(b, TRect{0, 0, 6, 6}, {TsGradPie{clWhite, clWhite, 0, 0}, TsGradPie{clBlue, clBlue, 0, 0}});
  for (int y = 0; y < 6; ++y) EXPECT_EQ(b.Pixel(0, y), clBlue) << y;
  // A single 0 % stop is the last one.
  PaintGradient(b, TRect{0, 0, 6, 6}, {TsGradPie{clLime, clLime, 0, 0}});
  EXPECT_EQ(b.Pixel(5, 5), clLime);
}

TEST(PaintGradient, HorizontalBandEdgesRound) {
  TBitmap b(10, 3);
  const int c[3] = {0x000010, 0x001000, 0x100000};
  // Each band runs from its colour to itself + 9 in red: the band start shows the colour.
  TsGradArray stops = {TsGradPie{c[0], c[0], 33, 1}, TsGradPie{c[1], c[1], 33, 0}, TsGradPie{c[2], c[2], 34, 0}};
  PaintGradient(b, TRect{0, 0, 10, 3}, stops);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 3; ++x) EXPECT_EQ(b.Pixel(x, y), c[0]) << x;
    for (int x = 3; x < 6; ++x) EXPECT_EQ(b.Pixel(x, y), c[1]) << x;  // edge at 3 (from 3.3)
    for (int x = 6; x < 10; ++x) EXPECT_EQ(b.Pixel(x, y), c[2]) << x;  // edge at 6 (from 6.3), last to 9
  }
}

// Per-pixel model of both band modes, with single-precision accumulators.
TBitmap ReferenceGradient(TBitmap b, TRect r, const TsGradArray& stops) {
  r = TRect{std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, b.Width()), std::min(r.Bottom, b.Height())};
  if (r.IsEmpty() || stops.empty()) return b;
  const bool vertical = stops[0].Mode == 0;
  const int lo = vertical ? r.Top : r.Left;
  const int end = (vertical ? r.Bottom : r.Right) - 1;
  const int len = vertical ? r.Height() : r.Width();
  int pos = lo;
  for (std::size_t i = 0; i < stops.size(); ++i) {
    const int p0 = pos;
    pos = vertical ? p0 + stops[i].Percent * len / 100
                   : static_cast<int>(std::nearbyint(p0 + stops[i].Percent * static_cast<double>(len) / 100));
    pos = i + 1 == stops.size() ? end : std::min(pos, end);
    if (pos - p0 <= 0) continue;
    float acc[3], step[3];
    for (int c = 0; c < 3; ++c) {
      const int a = (stops[i].Color1 >> (8 * c)) & 0xFF, z = (stops[i].Color2 >> (8 * c)) & 0xFF;
      acc[c] = static_cast<float>(a);
      step[c] = static_cast<float>(z - a) / static_cast<float>(pos - p0);
    }
    for (int k = p0; k <= pos; ++k) {
      TColor col = 0;
      for (int c = 0; c < 3; ++c) col |= static_cast<TColor>(std::nearbyint(acc[c])) << (8 * c);
      for (int o = vertical ? r.Left : r.Top; o < (vertical ? r.Right : r.Bottom); ++o)
        vertical ? b.SetPixel(o, k, col) : b.SetPixel(k, o, col);
      for (int c = 0; c < 3; ++c) acc[c] += step[c];
    }
  }
  return b;
}

TEST(PaintGradient, BandModesMatchReferenceWithClipping) {
  std::mt19937 rng(17);
  std::uniform_int_distribution<int> size(2, 40), coord(-10, 45), pct(0, 100), nstops(1, 4), coin(0, 1);
  std::uniform_int_distribution<std::uint32_t> colour(0, 0xFFFFFF);
  for (int round = 0; round < 300; ++round) {
    const bool is32 = coin(rng);
    TBitmap b = RandomBitmap(rng, size(rng), size(rng), is32 ? TPixelFormat::pf32bit : TPixelFormat::pf24bit, coin(rng));
    TsGradArray stops(static_cast<std::size_t>(nstops(rng)));
    for (auto& s : stops) s = TsGradPie{static_cast<std::int32_t>(colour(rng)), static_cast<std::int32_t>(colour(rng)),
                                        static_cast<std::uint8_t>(pct(rng)), 0};
    stops[0].Mode = coin(rng);
    const TRect r{coord(rng), coord(rng), coord(rng), coord(rng)};
    const TBitmap expect = ReferenceGradient(b, r, stops);
    PaintGradient(b, r, stops);
    ASSERT_TRUE(SamePixels(b, expect)) << "round " << round << " rect " << r.Left << "," << r.Top << "," << r.Right
                                        << "," << r.Bottom << " size " << b.Width() << "x" << b.Height() << " mode "
                                        << stops[0].Mode << " stops " << stops.size() << " p0 " << int(stops[0].Percent);
  }
}

TEST(PaintGradient, Writes32BitPixelsOpaque) {
  TBitmap b(4, 4, TPixelFormat::pf32bit);
  PaintGradient(b, TRect{0, 0, 4, 4}, {TsGradPie{clRed, clBlue, 100, 0}});
  for (int y = 0; y < 4; ++y) EXPECT_EQ(ByteAt(b, 1, y, 3), 255);
  PaintGradient(b, TRect{0, 0, 4, 4}, {TsGradPie{clRed, clBlue, 100, 1}});
  EXPECT_EQ(b.Pixel32(3, 2), 0xFFFF0000u);
}

TEST(PaintGradient, NothingForTinyBitmapsOrOtherModes) {
  TBitmap thin(1, 8);
  thin.Fill(clRed);
  PaintGradient(thin, TRect{0, 0, 1, 8}, {TsGradPie{clWhite, clWhite, 100, 0}});
  EXPECT_EQ(thin.Pixel(0, 3), clRed);
  TBitmap b(4, 4);
  b.Fill(clRed);
  PaintGradient(b, TRect{0, 0, 4, 4}, {TsGradPie{clWhite, clWhite, 100, 7}});
  PaintGradient(b, TRect{5, 5, 9, 9}, {TsGradPie{clWhite, clWhite, 100, 0}});
  EXPECT_EQ(b.Pixel(1, 1), clRed);
}

namespace {

int ChannelDistance(TColor a, TColor b) {
  int worst = 0;
  for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(((a >> (8 * c)) & 0xFF) - ((b >> (8 * c)) & 0xFF)));
  return worst;
}

}  // namespace

TEST(PaintGradient, TrianglesTakeCornerAndCentreColours) {
  const TColor c[5] = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF, 0x000000};
  TsGradArray stops;
  for (TColor col : c) stops.push_back(TsGradPie{col, 0, 0, 2});
  for (TPixelFormat format : {TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
    TBitmap b(50, 50, format);
    b.Fill(0x808080);
    PaintGradient(b, TRect{5, 5, 45, 45}, stops);
    EXPECT_LE(ChannelDistance(b.Pixel(5, 5), c[0]), 16);
    EXPECT_LE(ChannelDistance(b.Pixel(25, 25), c[1]), 16);
    EXPECT_LE(ChannelDistance(b.Pixel(44, 5), c[2]), 16);
    EXPECT_LE(ChannelDistance(b.Pixel(44, 44), c[3]), 16);
    EXPECT_LE(ChannelDistance(b.Pixel(5, 44), c[4]), 16);
    EXPECT_EQ(b.Pixel(4, 4), 0x808080);  // outside the rectangle
    EXPECT_EQ(b.Pixel(45, 45), 0x808080);
    if (format == TPixelFormat::pf32bit) {
      EXPECT_EQ(ByteAt(b, 25, 25, 3), 255);
    }
  }
}

TEST(PaintGradient, MissingTriangleStopsRepeatThePreviousColour) {
  TBitmap b(20, 20);
  PaintGradient(b, TRect{-10, -10, 40, 40}, {TsGradPie{clRed, 0, 0, 2}, TsGradPie{clBlue, 0, 0, 0}});
  // Clipped to the bitmap: corner 0 red at (0, 0), every other corner blue.
  EXPECT_LE(ChannelDistance(b.Pixel(0, 0), clRed), 16);
  EXPECT_LE(ChannelDistance(b.Pixel(19, 19), clBlue), 16);
  EXPECT_LE(ChannelDistance(b.Pixel(19, 0), clBlue), 16);
  EXPECT_LE(ChannelDistance(b.Pixel(0, 19), clBlue), 16);
}
