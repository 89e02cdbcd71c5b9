#include "platform/gfx/Bitmap.h"

#include <gtest/gtest.h>

#include "platform/base/Exception.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/SystemColors.h"

namespace {

TEST(Bitmap, RowLayoutFollowsOrientation) {
  TBitmap bottomUp(5, 3, TPixelFormat::pf24bit, false);
  EXPECT_EQ(bottomUp.RowBytes(), 16);  // 15 bytes padded to 4
  EXPECT_EQ(bottomUp.Stride(), -16);
  // Row 0 of a bottom-up bitmap is the last row in memory.
  EXPECT_EQ(bottomUp.ScanLine(0), bottomUp.Bits() + 32);
  EXPECT_EQ(bottomUp.ScanLine(2), bottomUp.Bits());

  TBitmap topDown(5, 3, TPixelFormat::pf24bit, true);
  EXPECT_EQ(topDown.Stride(), 16);
  EXPECT_EQ(topDown.ScanLine(0), topDown.Bits());

  for (auto* b : {&bottomUp, &topDown}) {
    b->SetPixel(4, 2, RGB(1, 2, 3));
    const std::uint8_t* p = b->ScanLine(2) + 12;
    EXPECT_EQ(p[0], 3);
    EXPECT_EQ(p[1], 2);
    EXPECT_EQ(p[2], 1);
  }
}

TEST(Bitmap, RowBytesOfEveryDepth) {
  EXPECT_EQ(DibRowBytes(1, TPixelFormat::pf1bit), 4);
  EXPECT_EQ(DibRowBytes(33, TPixelFormat::pf1bit), 8);
  EXPECT_EQ(DibRowBytes(9, TPixelFormat::pf4bit), 8);
  EXPECT_EQ(DibRowBytes(5, TPixelFormat::pf8bit), 8);
  EXPECT_EQ(DibRowBytes(3, TPixelFormat::pf32bit), 12);
}

TEST(Bitmap, SetTopDownKeepsThePicture) {
  TBitmap b(3, 4, TPixelFormat::pf32bit, false);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 3; ++x) b.SetPixel(x, y, RGB(static_cast<std::uint8_t>(x * 10), static_cast<std::uint8_t>(y * 10), 7));
  b.SetTopDown(true);
  EXPECT_TRUE(b.TopDown());
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(b.Pixel(x, y), static_cast<TColor>(RGB(static_cast<std::uint8_t>(x * 10), static_cast<std::uint8_t>(y * 10), 7)));
}

TEST(Bitmap, PaletteFormatsStoreIndexesMostSignificantFirst) {
  TBitmap b(9, 1, TPixelFormat::pf1bit);
  b.Palette()[0] = {0, 0, 0, 0};
  b.Palette()[1] = {255, 255, 255, 0};
  b.SetPixel(0, 0, clWhite);
  b.SetPixel(8, 0, clWhite);
  EXPECT_EQ(b.ScanLine(0)[0], 0x80);
  EXPECT_EQ(b.ScanLine(0)[1], 0x80);
  EXPECT_EQ(b.Pixel(8, 0), clWhite);
  EXPECT_EQ(b.Pixel(7, 0), clBlack);

  TBitmap n(3, 1, TPixelFormat::pf4bit);
  n.Palette()[5] = {10, 20, 30, 0};
  n.ScanLine(0)[0] = 0x05;  // pixel 0 = 0, pixel 1 = 5
  EXPECT_EQ(n.Pixel(1, 0), static_cast<TColor>(RGB(30, 20, 10)));
}

TEST(Bitmap, PixelFormatConversions) {
  TBitmap b(2, 2, TPixelFormat::pf24bit);
  b.SetPixel(0, 0, RGB(10, 20, 30));
  b.SetPixel(1, 1, clWhite);
  b.SetPixelFormat(TPixelFormat::pf32bit);
  EXPECT_EQ(b.Pixel32(0, 0), 0xFF000000u | RGB(10, 20, 30));
  EXPECT_EQ(b.ScanLine(0)[3], 255);
  b.SetPixelFormat(TPixelFormat::pf8bit);  // gray ramp palette: nearest entry
  EXPECT_EQ(b.Pixel(1, 1), clWhite);
  EXPECT_EQ(b.Pixel(1, 0), clBlack);

  TBitmap p(4, 1, TPixelFormat::pf8bit);
  p.Palette()[1] = {0, 0, 255, 0};  // red
  p.ScanLine(0)[2] = 1;
  p.SetPixelFormat(TPixelFormat::pf24bit);
  EXPECT_EQ(p.Pixel(2, 0), clRed);
  EXPECT_TRUE(p.Palette().empty());
}

// Palette pictures of every depth to 24 and 32 bits: each pixel keeps the colour it
// showed, indexes past a short palette turn black, odd widths end mid-byte.
TEST(Bitmap, PalettePicturesConvertPixelByPixel) {
  for (const TPixelFormat from : {TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf8bit}) {
    for (const TPixelFormat to : {TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
      TBitmap b(13, 3, from);
      const int entries = from == TPixelFormat::pf1bit ? 2 : from == TPixelFormat::pf4bit ? 11 : 200;
      b.Palette().resize(static_cast<std::size_t>(entries));
      for (int i = 0; i < entries; ++i)
        b.Palette()[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(i * 7), static_cast<std::uint8_t>(255 - i),
                                                    static_cast<std::uint8_t>(i * 3 + 1), 0};
      for (int y = 0; y < b.Height(); ++y) {
        for (std::size_t k = 0; k < static_cast<std::size_t>(b.RowBytes()); ++k)
          b.ScanLine(y)[k] = static_cast<std::uint8_t>(k * 37 + static_cast<std::size_t>(y) * 101 + 5);
      }
      std::vector<TColor> before;
      for (int y = 0; y < b.Height(); ++y) {
        for (int x = 0; x < b.Width(); ++x) before.push_back(b.Pixel(x, y));
      }
      b.SetPixelFormat(to);
      ASSERT_EQ(b.PixelFormat(), to);
      bool pastPalette = false;
      for (int y = 0; y < b.Height(); ++y) {
        for (int x = 0; x < b.Width(); ++x) {
          const TColor was = before[static_cast<std::size_t>(y * b.Width() + x)];
          EXPECT_EQ(b.Pixel(x, y), was) << x << "," << y;
          if (to == TPixelFormat::pf32bit) {
            EXPECT_EQ(b.ScanLine(y)[x * 4 + 3], 255);
          }
          pastPalette = pastPalette || was == clBlack;
        }
      }
      if (from == TPixelFormat::pf8bit) {
        EXPECT_TRUE(pastPalette) << "the bytes reach past the palette";
      }
    }
  }
}

TEST(Bitmap, CanvasSurvivesFormatChangeAndFollowsResize) {
  TBitmap b(4, 4, TPixelFormat::pf24bit);
  TDeviceContext& canvas = b.Canvas();
  b.SetPixelFormat(TPixelFormat::pf32bit);
  EXPECT_EQ(&b.Canvas(), &canvas);
  EXPECT_EQ(canvas.Target(), &b);
  b.SetSize(10, 2);
  EXPECT_EQ(canvas.EffectiveClip().Bounds(), Rect(0, 0, 10, 2));
  canvas.FillRect(Rect(0, 0, 10, 2), clRed);
  EXPECT_EQ(b.Pixel32(9, 1), 0xFF000000u | clRed);
  // Assigning another picture keeps the canvas and its clip follows the new size.
  b.Assign(TBitmap(3, 5, TPixelFormat::pf24bit));
  EXPECT_EQ(&b.Canvas(), &canvas);
  EXPECT_EQ(canvas.EffectiveClip().Bounds(), Rect(0, 0, 3, 5));
  b = TBitmap(7, 1, TPixelFormat::pf24bit);
  EXPECT_EQ(&b.Canvas(), &canvas);
  canvas.FillRect(Rect(0, 0, 100, 100), clLime);
  EXPECT_EQ(b.Pixel(6, 0), clLime);
}

TEST(Bitmap, SizeLimitsAreCheckedBeforeAllocating) {
  EXPECT_THROW(TBitmap(16385, 1), EOutOfResources);
  EXPECT_THROW(TBitmap(-1, 1), EOutOfResources);
  // 16384 × 16384 × 4 bytes is beyond 256 MiB.
  EXPECT_THROW(TBitmap(16384, 16384, TPixelFormat::pf32bit), EOutOfResources);
  EXPECT_NO_THROW(CheckBitmapSize(16384, 4096, TPixelFormat::pf32bit));
  TBitmap b(3, 3);
  b.SetPixel(1, 1, clRed);
  EXPECT_THROW(b.SetSize(100000, 2), EOutOfResources);
  // A refused resize leaves the bitmap untouched.
  EXPECT_EQ(b.Width(), 3);
  EXPECT_EQ(b.Pixel(1, 1), clRed);
}

TEST(Bitmap, CopiesAreDeepAndMovesLeaveEmpty) {
  TBitmap a(2, 2, TPixelFormat::pf8bit, true);
  a.SetTransparent(true);
  a.SetTransparentColor(clLime);
  a.Palette()[3] = {1, 2, 3, 0};
  TBitmap b = a;
  b.Palette()[3] = {9, 9, 9, 0};
  b.ScanLine(0)[0] = 3;
  EXPECT_EQ(a.ScanLine(0)[0], 0);
  EXPECT_EQ(a.Palette()[3], (TRGBQuad{1, 2, 3, 0}));
  EXPECT_TRUE(b.TopDown());
  EXPECT_EQ(b.TransparentColor(), clLime);
  TBitmap c = std::move(b);
  EXPECT_EQ(c.Width(), 2);
  EXPECT_TRUE(b.Empty());
}

TEST(Bitmap, FillAndSetPixelResolveSystemColours) {
  TBitmap b(2, 1, TPixelFormat::pf32bit);
  b.Fill(clBtnFace);
  EXPECT_EQ(b.Pixel32(1, 0), 0xFF000000u | GetSysColor(COLOR_BTNFACE));
  b.SetPixel(0, 0, clHighlight);
  EXPECT_EQ(b.Pixel(0, 0), static_cast<TColor>(GetSysColor(COLOR_HIGHLIGHT)));
  // Outside the bitmap nothing happens.
  b.SetPixel(5, 0, clRed);
  EXPECT_EQ(b.Pixel(5, 0), 0);
}

}  // namespace
