// Text through device contexts and the classic handle calls: fonts selected and
// deleted, origin, clip regions, colours and background modes.
#include <gtest/gtest.h>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/SystemColors.h"
#include "platform/gfx/Text.h"
#include "tests/gfxtext/TextTestSupport.h"

using namespace gfxtext;

namespace {

const char* const kWords = "Вход в систему";

struct TCanvasDc {
  explicit TCanvasDc(int width = 240, int height = 40, TPixelFormat format = TPixelFormat::pf24bit)
      : Bitmap(Canvas(width, height, format)), Dc(Bitmap) {
    SetBkMode(&Dc, TRANSPARENT);
  }
  TBitmap Bitmap;
  TDeviceContext Dc;
};

TEST(DcText, DefaultGuiFontIsEightPointMsSansSerif) {
  HFONT stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  ASSERT_NE(stock, nullptr);
  TLogFont font;
  ASSERT_TRUE(GetLogFont(stock, &font));
  EXPECT_EQ(font.FaceName, "MS Sans Serif");
  EXPECT_EQ(font.Height, -11);
  EXPECT_EQ(stock->Face().Resolved().Family, "DejaVu Sans");
  EXPECT_FALSE(DeleteObject(stock));  // stock objects stay
  // A context with no font selected measures with it.
  TCanvasDc c;
  TTextMetric metric;
  ASSERT_TRUE(GetTextMetrics(&c.Dc, &metric));
  EXPECT_EQ(metric.tmHeight, stock->Face().Metric().tmHeight);
  EXPECT_EQ(metric.tmAveCharWidth, stock->Face().Metric().tmAveCharWidth);
}

TEST(DcText, SelectedFontMeasuresAndDeletedFontFallsBack) {
  TCanvasDc c;
  TTextMetric before;
  GetTextMetrics(&c.Dc, &before);
  HFONT font = CreateFontIndirect({"Palatino Linotype", -20, FW_BOLD, false, true});
  ASSERT_NE(font, nullptr);
  SelectObject(&c.Dc, font);
  TTextMetric metric;
  ASSERT_TRUE(GetTextMetrics(&c.Dc, &metric));
  EXPECT_EQ(metric.tmHeight, font->Face().Height());
  EXPECT_EQ(metric.tmInternalLeading, metric.tmHeight - 20);
  EXPECT_EQ(metric.tmWeight, 700);
  EXPECT_EQ(metric.tmUnderlined, 1);
  EXPECT_EQ(metric.tmStruckOut, 0);
  TSize size;
  ASSERT_TRUE(GetTextExtentPoint32(&c.Dc, kWords, &size));
  EXPECT_EQ(size, TextExtentOf(font->Face(), kWords));
  EXPECT_TRUE(DeleteObject(font));
  // The context no longer draws with the dead font.
  GetTextMetrics(&c.Dc, &metric);
  EXPECT_EQ(metric.tmHeight, before.tmHeight);
  TRect rect{0, 0, 240, 40};
  EXPECT_EQ(DrawText(&c.Dc, kWords, &rect, DT_SINGLELINE), before.tmHeight);
}

TEST(DcText, DrawTextFollowsTheViewportOrigin) {
  TCanvasDc plain;
  TCanvasDc moved;
  SetViewportOrgEx(&moved.Dc, 30, 7, nullptr);
  TRect rect{0, 0, 200, 20};
  DrawText(&plain.Dc, kWords, &rect, DT_SINGLELINE);
  rect = {0, 0, 200, 20};
  DrawText(&moved.Dc, kWords, &rect, DT_SINGLELINE);
  const TRect a = InkBox(plain.Bitmap);
  ASSERT_FALSE(a.IsEmpty());
  EXPECT_EQ(InkBox(moved.Bitmap), a.Offset(30, 7));
  // The rectangle's own clip moves with it.
  EXPECT_LE(InkBox(moved.Bitmap).Bottom, 27);
}

TEST(DcText, ClipRegionLimitsDrawTextAndTextOut) {
  TCanvasDc full;
  TCanvasDc clipped;
  const TRegion region = TRegion::FromRects({{0, 0, 30, 40}, {60, 10, 120, 40}});
  clipped.Dc.SelectClip(&region);
  for (TCanvasDc* c : {&full, &clipped}) {
    TRect rect{2, 2, 238, 20};
    DrawText(&c->Dc, kWords, &rect, DT_SINGLELINE);
    TextOut(&c->Dc, 2, 20, kWords);
  }
  int inside = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 240; ++x) {
      const bool in = x < 30 || (x >= 60 && x < 120 && y >= 10);
      if (in) {
        ASSERT_EQ(Rgb(clipped.Bitmap, x, y), Rgb(full.Bitmap, x, y));
        inside += Rgb(full.Bitmap, x, y) != kPaper;
      } else {
        ASSERT_EQ(Rgb(clipped.Bitmap, x, y), kPaper) << x << "," << y;
      }
    }
  EXPECT_GT(inside, 40);
}

TEST(DcText, SystemColoursAndBackgroundModes) {
  TCanvasDc c;
  SetTextColor(&c.Dc, static_cast<TColor>(0xFF000000u | COLOR_HIGHLIGHT));
  const COLORREF highlight = static_cast<COLORREF>(ColorToRGB(static_cast<TColor>(0xFF000000u | COLOR_HIGHLIGHT)));
  HFONT big = CreateFontIndirect({"Arial", -24, FW_BOLD});
  SelectObject(&c.Dc, big);
  TRect rect{0, 0, 240, 40};
  DrawText(&c.Dc, "Ш", &rect, DT_SINGLELINE);
  // The stems of a bold Ш at 24 px are solid: some pixels are exactly the text colour.
  int exact = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) exact += Rgb(c.Bitmap, x, y) == highlight;
  EXPECT_GT(exact, 20);

  // OPAQUE fills the text cell of TextOut with the background colour.
  TCanvasDc o;
  SelectObject(&o.Dc, big);
  SetBkMode(&o.Dc, OPAQUE);
  SetBkColor(&o.Dc, 0x00FFFF);
  ASSERT_TRUE(TextOut(&o.Dc, 10, 5, "ОК"));
  TSize size;
  GetTextExtentPoint32(&o.Dc, "ОК", &size);
  EXPECT_EQ(Rgb(o.Bitmap, 10, 5), 0x00FFFFu);
  EXPECT_EQ(Rgb(o.Bitmap, 10 + size.cx - 1, 5 + size.cy - 1), 0x00FFFFu);
  EXPECT_EQ(Rgb(o.Bitmap, 9, 5), kPaper);
  EXPECT_EQ(Rgb(o.Bitmap, 10, 4), kPaper);
  // TRANSPARENT leaves the cell's background alone.
  SetBkMode(&o.Dc, TRANSPARENT);
  TextOut(&o.Dc, 10, 5 + size.cy, "ОК");
  EXPECT_EQ(Rgb(o.Bitmap, 10, 5 + size.cy), kPaper);
  DeleteObject(big);
}

TEST(DcText, ThirtyTwoBitTargetsGetOpaqueAlphaWhereDrawn) {
  TCanvasDc c(200, 30, TPixelFormat::pf32bit);
  TRect rect{0, 0, 200, 30};
  DrawText(&c.Dc, kWords, &rect, DT_SINGLELINE | DT_VCENTER);
  int inked = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 200; ++x) {
      const bool ink = Rgb(c.Bitmap, x, y) != kPaper;
      inked += ink;
      ASSERT_EQ(c.Bitmap.ScanLine(y)[x * 4 + 3], ink ? 255 : 0);
    }
  EXPECT_GT(inked, 50);
}

TEST(DcText, CalcRectThroughTheContextMatchesTheDrawing) {
  TCanvasDc c(300, 120);
  HFONT font = CreateFontIndirect({"Arial", -13});
  SelectObject(&c.Dc, font);
  const char* text = "Выберите вариант ответа и нажмите кнопку «Далее», чтобы продолжить тест";
  TRect calc{10, 10, 150, 10};
  const int height = DrawText(&c.Dc, text, &calc, DT_WORDBREAK | DT_CALCRECT | DT_CENTER);
  EXPECT_EQ(height, calc.Height());
  EXPECT_TRUE(InkBox(c.Bitmap).IsEmpty());  // measuring draws nothing
  DrawText(&c.Dc, text, &calc, DT_WORDBREAK | DT_CENTER);
  const TRect ink = InkBox(c.Bitmap);
  EXPECT_GE(ink.Left, calc.Left - 1);
  EXPECT_LE(ink.Right, calc.Right + 1);
  EXPECT_GE(ink.Top, calc.Top);
  EXPECT_LE(ink.Bottom, calc.Bottom);
  EXPECT_GT(ink.Bottom, calc.Bottom - font->Face().Metric().tmDescent - 8);
  DeleteObject(font);
}

TEST(DcText, NullArgumentsAreRefused) {
  TRect rect{0, 0, 10, 10};
  TSize size;
  TTextMetric metric;
  EXPECT_EQ(DrawText(nullptr, "а", &rect, 0), 0);
  EXPECT_FALSE(GetTextExtentPoint32(nullptr, "а", &size));
  EXPECT_FALSE(GetTextMetrics(nullptr, &metric));
  EXPECT_FALSE(TextOut(nullptr, 0, 0, "а"));
  TCanvasDc c;
  EXPECT_EQ(DrawText(&c.Dc, "а", nullptr, 0), 0);
  EXPECT_FALSE(GetTextExtentPoint32(&c.Dc, "а", nullptr));
  TLogFont out;
  EXPECT_FALSE(GetLogFont(nullptr, &out));
  // A memory context without a bitmap measures but draws nowhere.
  TDeviceContext memory;
  EXPECT_EQ(memory.DrawText("а", rect, DT_SINGLELINE), memory.TextExtent("а").cy);
  EXPECT_TRUE(memory.TextOut(0, 0, "а"));
}

}  // namespace
