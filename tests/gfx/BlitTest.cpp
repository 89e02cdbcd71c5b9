#include <gtest/gtest.h>

#include <random>

#include "platform/gfx/DeviceContext.h"
#include "tests/gfx/GfxTestUtil.h"

namespace {

// A gray ramp row: pixel x has value values[x] in all channels.
TBitmap Row(std::initializer_list<int> values, TPixelFormat format = TPixelFormat::pf24bit) {
  TBitmap b(static_cast<int>(values.size()), 1, format);
  int x = 0;
  for (int v : values) {
    const auto c = static_cast<std::uint8_t>(v);
    b.SetPixel(x++, 0, RGB(c, c, c));
  }
  return b;
}

std::vector<int> Reds(const TBitmap& b, int y = 0) {
  std::vector<int> out;
  for (int x = 0; x < b.Width(); ++x) out.push_back(GetRValue(static_cast<COLORREF>(b.Pixel(x, y))));
  return out;
}

TEST(BitBlt, CopyWithViewportAndClipOnBothSides) {
  TBitmap src(4, 4, TPixelFormat::pf24bit, true);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) src.SetPixel(x, y, RGB(static_cast<std::uint8_t>(x * 10 + y), 0, 0));
  TBitmap dst(6, 6, TPixelFormat::pf24bit);
  TDeviceContext s(src), d(dst);
  SetViewportOrgEx(&s, -1, 0, nullptr);  // logical (1, 0) is source pixel (0, 0)
  SetViewportOrgEx(&d, 1, 1, nullptr);
  IntersectClipRect(&d, 0, 0, 3, 2);
  // Source pixels beyond the source bitmap are not copied.
  ASSERT_TRUE(BitBlt(&d, 0, 0, 5, 5, &s, 0, 0, SRCCOPY));
  // Logical source column 0 is outside the source bitmap, so dest column 1 stays black.
  EXPECT_EQ(Reds(dst, 1), (std::vector<int>{0, 0, 0, 10, 0, 0}));
  EXPECT_EQ(Reds(dst, 2), (std::vector<int>{0, 0, 1, 11, 0, 0}));
  EXPECT_EQ(Reds(dst, 3), (std::vector<int>{0, 0, 0, 0, 0, 0}));
}

TEST(BitBlt, RasterOperations) {
  const int s = 0xCC, d0 = 0xAA;
  const struct {
    DWORD Rop;
    int Expected;
  } cases[] = {
      {SRCCOPY, s},         {SRCPAINT, s | d0},       {SRCAND, s & d0},       {SRCINVERT, s ^ d0},
      {SRCERASE, s & ~d0 & 0xFF}, {NOTSRCCOPY, ~s & 0xFF}, {DSTINVERT, ~d0 & 0xFF}, {BLACKNESS, 0},
      {WHITENESS, 0xFF},    {PATCOPY, 0x40},          {PATINVERT, 0x40 ^ d0},
  };
  TBitmap src = Row({s});
  TDeviceContext sdc(src);
  HBRUSH brush = CreateSolidBrush(RGB(0x40, 0x40, 0x40));
  for (const auto& c : cases) {
    TBitmap dst = Row({d0}, TPixelFormat::pf32bit);
    TDeviceContext ddc(dst);
    SelectObject(&ddc, brush);
    ASSERT_TRUE(BitBlt(&ddc, 0, 0, 1, 1, &sdc, 0, 0, c.Rop)) << std::hex << c.Rop;
    EXPECT_EQ(GetRValue(static_cast<COLORREF>(dst.Pixel(0, 0))), c.Expected) << std::hex << c.Rop;
    EXPECT_EQ(dst.ScanLine(0)[3], 255) << std::hex << c.Rop;
  }
  DeleteObject(brush);
  TBitmap dst = Row({1});
  TDeviceContext ddc(dst);
  EXPECT_FALSE(BitBlt(&ddc, 0, 0, 1, 1, &sdc, 0, 0, 0x12345678));
  EXPECT_FALSE(BitBlt(&ddc, 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
  EXPECT_TRUE(PatBlt(&ddc, 0, 0, 1, 1, WHITENESS));
  EXPECT_EQ(dst.Pixel(0, 0), clWhite);
  EXPECT_FALSE(PatBlt(&ddc, 0, 0, 1, 1, SRCCOPY));
}

TEST(BitBlt, AlphaFollowsTheSource) {
  TBitmap src(1, 1, TPixelFormat::pf32bit);
  src.ScanLine(0)[0] = 1, src.ScanLine(0)[1] = 2, src.ScanLine(0)[2] = 3, src.ScanLine(0)[3] = 77;
  TBitmap dst32(1, 1, TPixelFormat::pf32bit), dst24(1, 1, TPixelFormat::pf24bit);
  TDeviceContext s(src), d32(dst32), d24(dst24);
  BitBlt(&d32, 0, 0, 1, 1, &s, 0, 0, SRCCOPY);
  EXPECT_EQ(dst32.Pixel32(0, 0), 0x4D000000u | RGB(3, 2, 1));
  BitBlt(&d24, 0, 0, 1, 1, &s, 0, 0, SRCCOPY);
  EXPECT_EQ(dst24.Pixel(0, 0), static_cast<TColor>(RGB(3, 2, 1)));
  // A 24-bit source is opaque.
  BitBlt(&d32, 0, 0, 1, 1, &d24, 0, 0, SRCCOPY);
  EXPECT_EQ(dst32.ScanLine(0)[3], 255);
}

TEST(BitBlt, OverlappingCopyInsideOneBitmap) {
  TBitmap b = Row({10, 20, 30, 40, 50, 60, 70, 80});
  TDeviceContext dc(b);
  BitBlt(&dc, 2, 0, 5, 1, &dc, 0, 0, SRCCOPY);
  EXPECT_EQ(Reds(b), (std::vector<int>{10, 20, 10, 20, 30, 40, 50, 80}));
  BitBlt(&dc, 0, 0, 5, 1, &dc, 3, 0, SRCCOPY);
  EXPECT_EQ(Reds(b), (std::vector<int>{20, 30, 40, 50, 80, 40, 50, 80}));
}

TEST(BitBlt, PaletteSourcesExpandThroughThePalette) {
  TBitmap mono(3, 1, TPixelFormat::pf1bit);
  mono.Palette()[0] = {0, 0, 255, 0};   // red
  mono.Palette()[1] = {255, 0, 0, 0};   // blue
  mono.ScanLine(0)[0] = 0x40;           // pixels 0, 1, 0
  TBitmap dst(3, 1, TPixelFormat::pf32bit);
  TDeviceContext s(mono), d(dst);
  ASSERT_TRUE(BitBlt(&d, 0, 0, 3, 1, &s, 0, 0, SRCCOPY));
  EXPECT_EQ(dst.Pixel32(0, 0), 0xFF000000u | clRed);
  EXPECT_EQ(dst.Pixel32(1, 0), 0xFF000000u | clBlue);
}

TEST(StretchBlt, NearestPixelAndMirror) {
  TBitmap src = Row({0, 200});
  TBitmap dst(4, 1);
  TDeviceContext s(src), d(dst);
  ASSERT_TRUE(StretchBlt(&d, 0, 0, 4, 1, &s, 0, 0, 2, 1, SRCCOPY));
  EXPECT_EQ(Reds(dst), (std::vector<int>{0, 0, 200, 200}));
  TBitmap four = Row({1, 2, 3, 4});
  TDeviceContext f(four);
  ASSERT_TRUE(StretchBlt(&d, 4, 0, -4, 1, &f, 0, 0, 4, 1, SRCCOPY));
  EXPECT_EQ(Reds(dst), (std::vector<int>{4, 3, 2, 1}));
  TBitmap three = Row({10, 20, 30, 40, 50, 60});
  TDeviceContext t(three);
  ASSERT_TRUE(StretchBlt(&d, 0, 0, 3, 1, &t, 0, 0, 6, 1, SRCCOPY));
  // Each destination pixel centre: (2i+1)·6/6 → 1, 3, 5.
  EXPECT_EQ(Reds(dst), (std::vector<int>{20, 40, 60, 1}));
}

TEST(StretchBlt, HalftoneAveragesCoveredArea) {
  TBitmap src = Row({0, 100, 200, 40});
  TBitmap dst(2, 1);
  TDeviceContext s(src), d(dst);
  SetStretchBltMode(&d, HALFTONE);
  ASSERT_TRUE(StretchBlt(&d, 0, 0, 2, 1, &s, 0, 0, 4, 1, SRCCOPY));
  EXPECT_EQ(Reds(dst), (std::vector<int>{50, 120}));
  // Three pixels into two: 2/3 and 1/3 shares.
  TBitmap three = Row({0, 90, 180});
  TDeviceContext t(three);
  ASSERT_TRUE(StretchBlt(&d, 0, 0, 2, 1, &t, 0, 0, 3, 1, SRCCOPY));
  EXPECT_EQ(Reds(dst), (std::vector<int>{30, 150}));
  // Enlarging two into three blends the middle pixel.
  TBitmap wide(3, 1);
  TDeviceContext w(wide);
  SetStretchBltMode(&w, HALFTONE);
  TBitmap two = Row({0, 200});
  TDeviceContext tw(two);
  ASSERT_TRUE(StretchBlt(&w, 0, 0, 3, 1, &tw, 0, 0, 2, 1, SRCCOPY));
  EXPECT_EQ(Reds(wide), (std::vector<int>{0, 100, 200}));
}

TEST(StretchBlt, HalftoneTwoDimensionsAndAlpha) {
  TBitmap src(2, 2, TPixelFormat::pf32bit);
  const std::uint8_t alpha[4] = {0, 255, 100, 45};
  for (int i = 0; i < 4; ++i) {
    std::uint8_t* p = src.ScanLine(i / 2) + (i % 2) * 4;
    p[0] = p[1] = p[2] = static_cast<std::uint8_t>(i * 60);
    p[3] = alpha[i];
  }
  TBitmap dst(1, 1, TPixelFormat::pf32bit);
  TDeviceContext s(src), d(dst);
  SetStretchBltMode(&d, HALFTONE);
  ASSERT_TRUE(StretchBlt(&d, 0, 0, 1, 1, &s, 0, 0, 2, 2, SRCCOPY));
  EXPECT_EQ(dst.ScanLine(0)[0], 90);  // (0 + 60 + 120 + 180) / 4
  EXPECT_EQ(dst.ScanLine(0)[3], 100);  // (0 + 255 + 100 + 45) / 4
}

TEST(StretchBlt, UniformSourceStaysUniformUnderAnyScale) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> size(1, 40);
  TBitmap src(37, 23, TPixelFormat::pf24bit);
  src.Fill(RGB(17, 99, 201));
  TDeviceContext s(src);
  for (int round = 0; round < 30; ++round) {
    const int w = size(rng), h = size(rng);
    TBitmap dst(w, h, TPixelFormat::pf24bit);
    TDeviceContext d(dst);
    SetStretchBltMode(&d, round % 2 ? HALFTONE : COLORONCOLOR);
    ASSERT_TRUE(StretchBlt(&d, 0, 0, w, h, &s, 0, 0, 37, 23, SRCCOPY));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) ASSERT_EQ(dst.Pixel(x, y), static_cast<TColor>(RGB(17, 99, 201)));
  }
}

TEST(StretchBlt, ClippedDestinationMatchesUnclippedPart) {
  TBitmap src(5, 5, TPixelFormat::pf24bit);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x) src.SetPixel(x, y, RGB(static_cast<std::uint8_t>(x * 50), static_cast<std::uint8_t>(y * 50), 0));
  TBitmap whole(13, 11), clipped(13, 11);
  TDeviceContext s(src), a(whole), b(clipped);
  SetStretchBltMode(&a, HALFTONE);
  SetStretchBltMode(&b, HALFTONE);
  IntersectClipRect(&b, 3, 2, 9, 7);
  StretchBlt(&a, 0, 0, 13, 11, &s, 0, 0, 5, 5, SRCCOPY);
  StretchBlt(&b, 0, 0, 13, 11, &s, 0, 0, 5, 5, SRCCOPY);
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 13; ++x) {
      const bool inside = x >= 3 && x < 9 && y >= 2 && y < 7;
      ASSERT_EQ(clipped.Pixel(x, y), inside ? whole.Pixel(x, y) : clBlack) << x << "," << y;
    }
}

}  // namespace
