#include "platform/gfx/DeviceContext.h"

#include <gtest/gtest.h>

#include "platform/gfx/SystemColors.h"
#include "tests/gfx/GfxTestUtil.h"

namespace {

TEST(DeviceContext, FillRectIsClippedToTheTargetAndOpaqueOn32Bit) {
  TBitmap b(4, 3, TPixelFormat::pf32bit);
  TDeviceContext dc(b);
  dc.FillRect(Rect(-5, 1, 3, 10), clRed);
  EXPECT_EQ(Picture(b, clRed), "....\n###.\n###.\n");
  EXPECT_EQ(b.Pixel32(0, 1), 0xFF0000FFu);
  EXPECT_EQ(b.Pixel32(3, 1), 0u);  // untouched pixel keeps alpha 0
  dc.FillRect(Rect(0, 0, 4, 1), clBtnFace);
  EXPECT_EQ(b.Pixel(2, 0), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
}

TEST(DeviceContext, ViewportOriginMovesEveryCall) {
  TBitmap b(6, 4, TPixelFormat::pf24bit);
  HDC dc = &b.Canvas();
  POINT old{9, 9};
  ASSERT_TRUE(SetViewportOrgEx(dc, 2, 1, &old));
  EXPECT_EQ(old, (POINT{0, 0}));
  ASSERT_TRUE(OffsetViewportOrgEx(dc, 1, 1, &old));
  EXPECT_EQ(old, (POINT{2, 1}));
  POINT now;
  ASSERT_TRUE(GetViewportOrgEx(dc, &now));
  EXPECT_EQ(now, (POINT{3, 2}));
  RECT r = Rect(0, 0, 2, 1);
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(Picture(b, clWhite), "......\n......\n...##.\n......\n");
  EXPECT_EQ(GetPixel(dc, 0, 0), static_cast<COLORREF>(clWhite));
  EXPECT_EQ(SetPixel(dc, -3, -2, clRed), static_cast<COLORREF>(clRed));
  EXPECT_EQ(b.Pixel(0, 0), clRed);
  EXPECT_EQ(GetPixel(dc, 3, 0), CLR_INVALID);  // outside the target
}

TEST(DeviceContext, DeviceOriginIsHiddenFromTheProgram) {
  // A child window painted into its parent's bitmap at (2, 1).
  TBitmap b(6, 4, TPixelFormat::pf24bit);
  TDeviceContext dc(b);
  dc.SetDeviceOrg({2, 1});
  const TRegion visible(2, 1, 5, 3);
  dc.SetSystemClip(&visible);
  POINT org;
  GetViewportOrgEx(&dc, &org);
  EXPECT_EQ(org, (POINT{0, 0}));
  EXPECT_EQ(dc.ViewportOrg(), (TPoint{2, 1}));
  dc.FillRect(Rect(-10, -10, 100, 100), clLime);
  EXPECT_EQ(Picture(b, clLime), "......\n..###.\n..###.\n......\n");
  RECT box;
  EXPECT_EQ(GetClipBox(&dc, &box), SIMPLEREGION);
  EXPECT_EQ(box, Rect(0, 0, 3, 2));
  // Clip regions of the classic calls are relative to the device origin.
  HRGN rgn = CreateRectRgn(0, 0, 1, 1);
  EXPECT_EQ(SelectClipRgn(&dc, rgn), SIMPLEREGION);
  EXPECT_EQ(dc.EffectiveClip(), TRegion(2, 1, 3, 2));
  DeleteObject(rgn);
}

TEST(DeviceContext, SystemAndUserClipIntersect) {
  TBitmap b(8, 4, TPixelFormat::pf24bit);
  TDeviceContext dc(b);
  const TRegion system = TRegion(0, 0, 8, 4).Subtract(TRegion(3, 0, 5, 4));  // a window on top covers columns 3-4
  dc.SetSystemClip(&system);
  EXPECT_EQ(IntersectClipRect(&dc, 1, 1, 7, 3), COMPLEXREGION);
  EXPECT_EQ(ExcludeClipRect(&dc, 5, 1, 6, 2), COMPLEXREGION);
  dc.FillRect(Rect(0, 0, 8, 4), clWhite);
  EXPECT_EQ(Picture(b, clWhite), "........\n.##...#.\n.##..##.\n........\n");
  RECT box;
  EXPECT_EQ(GetClipBox(&dc, &box), COMPLEXREGION);
  EXPECT_EQ(box, Rect(1, 1, 7, 3));
  EXPECT_FALSE(PtVisible(&dc, 5, 1));
  EXPECT_TRUE(PtVisible(&dc, 6, 1));
  EXPECT_EQ(SelectClipRgn(&dc, nullptr), COMPLEXREGION);  // only the system clip is left
  EXPECT_EQ(dc.EffectiveClip(), system);
}

TEST(DeviceContext, SaveAndRestoreIncludingRelativeIndexes) {
  TBitmap b(4, 4, TPixelFormat::pf24bit);
  HDC dc = &b.Canvas();
  SetTextColor(dc, clRed);
  const int first = SaveDC(dc);
  EXPECT_EQ(first, 1);
  SetTextColor(dc, clLime);
  SetBkMode(dc, TRANSPARENT);
  SetViewportOrgEx(dc, 1, 1, nullptr);
  IntersectClipRect(dc, 0, 0, 1, 1);
  EXPECT_EQ(SaveDC(dc), 2);
  SetTextColor(dc, clBlue);
  EXPECT_EQ(SaveDC(dc), 3);
  SetBkColor(dc, clYellow);
  // -1 is the most recent save.
  ASSERT_TRUE(RestoreDC(dc, -1));
  EXPECT_EQ(GetTextColor(dc), clBlue);
  EXPECT_EQ(GetBkColor(dc), clWhite);
  ASSERT_TRUE(RestoreDC(dc, -1));
  EXPECT_EQ(GetTextColor(dc), clLime);
  EXPECT_EQ(dc->EffectiveClip(), TRegion(1, 1, 2, 2));
  ASSERT_TRUE(RestoreDC(dc, first));
  EXPECT_EQ(GetTextColor(dc), clRed);
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  EXPECT_EQ(dc->ViewportOrg(), (TPoint{0, 0}));
  EXPECT_EQ(dc->EffectiveClip(), TRegion(0, 0, 4, 4));
  // Nothing saved any more: every index is refused.
  EXPECT_FALSE(RestoreDC(dc, -1));
  EXPECT_FALSE(RestoreDC(dc, 1));
  EXPECT_FALSE(RestoreDC(dc, 0));
  SaveDC(dc);
  SaveDC(dc);
  EXPECT_FALSE(RestoreDC(dc, 3));
  EXPECT_FALSE(RestoreDC(dc, -3));
  EXPECT_TRUE(RestoreDC(dc, -2));
  EXPECT_FALSE(RestoreDC(dc, -1));
}

TEST(DeviceContext, ColoursAndModes) {
  TBitmap b(1, 1);
  HDC dc = &b.Canvas();
  EXPECT_EQ(SetTextColor(dc, clBtnText), clBlack);
  EXPECT_EQ(dc->TextColor(), static_cast<TColor>(GetSysColor(COLOR_BTNTEXT)));
  EXPECT_EQ(SetBkColor(dc, clInfoBk), clWhite);
  EXPECT_EQ(dc->BkColor(), static_cast<TColor>(RGB(255, 255, 225)));
  EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
  EXPECT_EQ(SetBkMode(dc, 7), 0);
  EXPECT_EQ(dc->BkMode(), TRANSPARENT);
  EXPECT_EQ(SetStretchBltMode(dc, HALFTONE), BLACKONWHITE);
  EXPECT_EQ(GetStretchBltMode(dc), HALFTONE);
}

TEST(DeviceContext, ObjectsSelectAndDeleteSafely) {
  TBitmap b(3, 1, TPixelFormat::pf24bit);
  HDC dc = &b.Canvas();
  HBRUSH red = CreateSolidBrush(clRed);
  HGDIOBJ old = SelectObject(dc, static_cast<HGDIOBJ>(red));
  EXPECT_EQ(old, GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(dc->SelectedBrush(), red);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), static_cast<HGDIOBJ>(red));
  EXPECT_EQ(GetObjectType(red), OBJ_BRUSH);
  // Deleting the selected brush puts the default back instead of leaving it dangling.
  EXPECT_TRUE(DeleteObject(red));
  EXPECT_EQ(dc->SelectedBrush(), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(GetObjectType(red), 0);
  EXPECT_EQ(SelectObject(dc, red), nullptr);
  // Stock objects are never freed.
  EXPECT_FALSE(DeleteObject(GetStockObject(BLACK_PEN)));
  EXPECT_EQ(GetObjectType(GetStockObject(BLACK_PEN)), OBJ_PEN);
  EXPECT_EQ(GetStockObject(NULL_BRUSH), GetStockObject(HOLLOW_BRUSH));
  EXPECT_EQ(GetStockObject(9), nullptr);
  EXPECT_EQ(GetStockObject(-1), nullptr);
  EXPECT_FALSE(DeleteObject(nullptr));
}

TEST(DeviceContext, MemoryContextDrawsIntoTheSelectedBitmap) {
  HDC mem = CreateCompatibleDC(nullptr);
  ASSERT_NE(mem, nullptr);
  EXPECT_EQ(mem->Target(), nullptr);
  TBitmap picture(2, 2, TPixelFormat::pf32bit);
  HBITMAP handle = WrapBitmap(picture);
  HBITMAP previous = SelectObject(mem, handle);
  ASSERT_NE(previous, nullptr);
  EXPECT_EQ(mem->Target(), &picture);
  // A bitmap goes into one memory context at a time.
  HDC other = CreateCompatibleDC(mem);
  EXPECT_EQ(SelectObject(other, handle), nullptr);
  RECT r = Rect(0, 0, 1, 2);
  FillRect(mem, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(picture.Pixel32(0, 1), 0xFF000000u);
  EXPECT_EQ(SelectObject(mem, previous), handle);
  EXPECT_EQ(mem->Target(), nullptr);
  // Drawing without a bitmap does nothing and does not crash.
  FillRect(mem, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  EXPECT_TRUE(DeleteDC(other));
  EXPECT_TRUE(DeleteDC(mem));
  EXPECT_FALSE(DeleteDC(mem));
  EXPECT_TRUE(DeleteObject(handle));
  // A bitmap deleted while selected detaches the context.
  HDC again = CreateCompatibleDC(nullptr);
  HBITMAP owned = CreateCompatibleBitmap(&picture.Canvas(), 5, 5);
  EXPECT_EQ(BitmapOf(owned)->PixelFormat(), TPixelFormat::pf32bit);
  SelectObject(again, owned);
  EXPECT_TRUE(DeleteObject(owned));
  EXPECT_EQ(again->Target(), nullptr);
  EXPECT_NE(again->SelectedBitmap(), nullptr);
  EXPECT_NE(again->SelectedBitmap(), owned);
  DeleteDC(again);
}

TEST(DeviceContext, FrameRectAndRectangle) {
  TBitmap b(6, 5, TPixelFormat::pf24bit);
  HDC dc = &b.Canvas();
  HBRUSH red = CreateSolidBrush(clRed);
  RECT r = Rect(1, 1, 5, 4);
  FrameRect(dc, &r, red);
  EXPECT_EQ(Picture(b, clRed), "......\n.####.\n.#..#.\n.####.\n......\n");
  b.Fill(clBlack);
  SelectObject(dc, red);
  HPEN white = CreatePen(PS_SOLID, 1, clWhite);
  SelectObject(dc, white);
  Rectangle(dc, 0, 0, 5, 4);
  EXPECT_EQ(Picture(b, clWhite, '#', clRed, 'o'), "#####.\n#ooo#.\n#ooo#.\n#####.\n......\n");
  // Without a pen the fill stops one pixel short on the right and bottom.
  b.Fill(clBlack);
  SelectObject(dc, static_cast<HPEN>(GetStockObject(NULL_PEN)));
  Rectangle(dc, 0, 0, 5, 4);
  EXPECT_EQ(Picture(b, clRed), "####..\n####..\n####..\n......\n......\n");
  SelectObject(dc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SelectObject(dc, static_cast<HPEN>(GetStockObject(BLACK_PEN)));
  DeleteObject(red);
  DeleteObject(white);
}

TEST(DeviceContext, FocusRectangleIsDottedAndUndoesItself) {
  TBitmap b(6, 4, TPixelFormat::pf32bit);
  b.Fill(clWhite);
  HDC dc = &b.Canvas();
  RECT r = Rect(0, 0, 6, 4);
  DrawFocusRect(dc, &r);
  EXPECT_EQ(Picture(b, clBlack), "#.#.#.\n.....#\n#.....\n.#.#.#\n");
  EXPECT_EQ(b.Pixel32(0, 0), 0xFF000000u);  // colour inverted, alpha kept
  DrawFocusRect(dc, &r);
  EXPECT_EQ(Picture(b, clWhite), "######\n######\n######\n######\n");
}

TEST(DeviceContext, SolidAndDottedLines) {
  TBitmap b(8, 3, TPixelFormat::pf24bit);
  HDC dc = &b.Canvas();
  HPEN pen = CreatePen(PS_SOLID, 1, clLime);
  HGDIOBJ old = SelectObject(dc, static_cast<HGDIOBJ>(pen));
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, 8, 0);  // the end point is not drawn, but 8 is outside anyway
  MoveToEx(dc, 7, 0, nullptr);
  LineTo(dc, 7, 3);
  POINT p;
  MoveToEx(dc, 0, 2, &p);
  EXPECT_EQ(p, (POINT{7, 3}));
  HPEN dots = CreatePen(PS_DOT, 1, clRed);
  SelectObject(dc, dots);
  SetBkMode(dc, TRANSPARENT);
  LineTo(dc, 6, 2);
  EXPECT_EQ(Picture(b, clLime, '#', clRed, 'o'), "########\n.......#\no.o.o..#\n");
  // Opaque background paints the gaps.
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, clBlue);
  MoveToEx(dc, 0, 1, nullptr);
  LineTo(dc, 4, 1);
  EXPECT_EQ(b.Pixel(0, 1), clRed);
  EXPECT_EQ(b.Pixel(1, 1), clBlue);
  EXPECT_EQ(b.Pixel(4, 1), clBlack);
  SelectObject(dc, static_cast<HPEN>(old));
  DeleteObject(pen);
  DeleteObject(dots);
}

TEST(DeviceContext, PolygonFillModes) {
  TBitmap b(5, 5, TPixelFormat::pf24bit);
  HDC dc = &b.Canvas();
  HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  SelectObject(dc, white);
  SelectObject(dc, static_cast<HPEN>(GetStockObject(NULL_PEN)));
  // Two overlapping squares traced as one path: the overlap is a hole in
  // alternate mode and filled in winding mode.
  const POINT path[] = {{0, 0}, {3, 0}, {3, 3}, {0, 3}, {0, 0}, {2, 2}, {5, 2}, {5, 5}, {2, 5}, {2, 2}};
  Polygon(dc, path, 10);
  EXPECT_EQ(Picture(b, clWhite), "###..\n###..\n##.##\n..###\n..###\n");
  b.Fill(clBlack);
  SetPolyFillMode(dc, WINDING);
  Polygon(dc, path, 10);
  EXPECT_EQ(Picture(b, clWhite), "###..\n###..\n#####\n..###\n..###\n");
  // A triangle: pixels whose centres are inside.
  b.Fill(clBlack);
  const POINT tri[] = {{0, 0}, {4, 0}, {0, 4}};
  Polygon(dc, tri, 3);
  EXPECT_EQ(Picture(b, clWhite), "###..\n##...\n#....\n.....\n.....\n");
  SelectObject(dc, static_cast<HPEN>(GetStockObject(BLACK_PEN)));
}

}  // namespace

namespace {

TEST(DeviceContext, HugeCoordinatesCostOnlyTheVisiblePart) {
  TBitmap b(5, 5, TPixelFormat::pf24bit);
  HDC dc = &b.Canvas();
  HPEN pen = CreatePen(PS_SOLID, 1, clWhite);
  SelectObject(dc, pen);
  // Far ends: only the visible pixels are walked, and they are the ones of the line.
  MoveToEx(dc, -1000000000, -1000000000, nullptr);
  LineTo(dc, 1000000000, 1000000000);
  EXPECT_EQ(Picture(b, clWhite), "#....\n.#...\n..#..\n...#.\n....#\n");
  b.Fill(clBlack);
  MoveToEx(dc, -2000000000, 2, nullptr);
  LineTo(dc, 2000000000, 2);
  EXPECT_EQ(Picture(b, clWhite), ".....\n.....\n#####\n.....\n.....\n");
  // A shallow line: y = round(x / 2) with halves rounded up.
  b.Fill(clBlack);
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, 10, 5);
  EXPECT_EQ(Picture(b, clWhite), "#....\n.##..\n...##\n.....\n.....\n");
  SelectObject(dc, static_cast<HPEN>(GetStockObject(BLACK_PEN)));
  DeleteObject(pen);
  b.Fill(clWhite);
  RECT huge = Rect(-2000000000, -2000000000, 2000000000, 2000000000);
  DrawFocusRect(dc, &huge);  // its frame lies far outside: nothing visible changes
  EXPECT_EQ(Picture(b, clWhite), "#####\n#####\n#####\n#####\n#####\n");
  SelectObject(dc, static_cast<HPEN>(GetStockObject(NULL_PEN)));
  SelectObject(dc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  const POINT tri[] = {{-2000000000, -10}, {2000000000, -10}, {0, 2000000000}};
  Polygon(dc, tri, 3);
  EXPECT_EQ(Picture(b, clBlack), "#####\n#####\n#####\n#####\n#####\n");
  SelectObject(dc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SelectObject(dc, static_cast<HPEN>(GetStockObject(BLACK_PEN)));
}

TEST(DeviceContext, DashPatternContinuesIntoTheVisiblePart) {
  TBitmap b(6, 1, TPixelFormat::pf24bit);
  HDC dc = &b.Canvas();
  HPEN dots = CreatePen(PS_DOT, 1, clWhite);
  SelectObject(dc, dots);
  SetBkMode(dc, TRANSPARENT);
  // Starting 3 pixels left of the bitmap: pixel 0 is step 3, a gap.
  MoveToEx(dc, -3, 0, nullptr);
  LineTo(dc, 6, 0);
  EXPECT_EQ(Picture(b, clWhite), ".#.#.#\n");
  SelectObject(dc, static_cast<HPEN>(GetStockObject(BLACK_PEN)));
  DeleteObject(dots);
}

}  // namespace
