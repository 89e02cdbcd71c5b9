// Update regions, the paint cycle, device-context clipping, window regions and printing.
#include "platform/gfx/DeviceContext.h"
#include "tests/win/WinTestSupport.h"

namespace {

// Fills its client with the colour kept in GWLP_USERDATA and remembers rcPaint.
std::vector<std::pair<HWND, TRect>> gPaints;
LRESULT PainterProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  TMessageLog::Instance().Entries.push_back({h, m, w, l});
  if (m == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    gPaints.push_back({h, ps.rcPaint});
    TRect r = ClientRect(h);
    dc->FillRect(r, static_cast<TColor>(GetWindowLongPtr(h, GWLP_USERDATA)));
    EndPaint(h, &ps);
    return 0;
  }
  if (m == WM_ERASEBKGND) return 1;
  if (m == WM_PRINTCLIENT) {
    auto* dc = reinterpret_cast<HDC>(w);
    TRect r = ClientRect(h);
    dc->FillRect(r, static_cast<TColor>(GetWindowLongPtr(h, GWLP_USERDATA)));
    return 0;
  }
  return DefWindowProc(h, m, w, l);
}

class PaintTest : public WinTest {
protected:
  void SetUp() override {
    WinTest::SetUp();
    gPaints.clear();
    WNDCLASSEX wc;
    wc.lpfnWndProc = &PainterProc;
    wc.lpszClassName = "Painter";
    RegisterClassEx(wc);
  }
  HWND Painted(HWND parent, int x, int y, int w, int h, TColor color, DWORD style = 0) {
    HWND win = parent ? Child(parent, x, y, w, h, style, "Painter")
                      : CreateWindowEx(0, "Painter", "", WS_POPUP | WS_VISIBLE | style, x, y, w, h, nullptr, nullptr,
                                       nullptr, nullptr);
    SetWindowLongPtr(win, GWLP_USERDATA, color);
    InvalidateRect(win, nullptr, true);
    return win;
  }
  static TColor At(HWND top, int x, int y) { return WindowImage(top)->Pixel(x, y); }
};

TEST_F(PaintTest, ParentsPaintBeforeChildrenAndChildrenCover) {
  HWND top = Painted(nullptr, 0, 0, 100, 100, clBlue);
  HWND child = Painted(top, 10, 10, 30, 30, clRed);
  ProcessPendingMessages();
  ASSERT_GE(gPaints.size(), 2u);
  EXPECT_EQ(gPaints[0].first, top);
  EXPECT_EQ(gPaints.back().first, child);
  EXPECT_EQ(At(top, 5, 5), clBlue);
  EXPECT_EQ(At(top, 15, 15), clRed);
  // Repainting the parent without WS_CLIPCHILDREN repaints the covered child too.
  gPaints.clear();
  InvalidateRect(top, nullptr, false);
  ProcessPendingMessages();
  ASSERT_EQ(gPaints.size(), 2u);
  EXPECT_EQ(At(top, 15, 15), clRed);
  EXPECT_EQ(gPaints[1].second, (TRect{0, 0, 30, 30}));
}

TEST_F(PaintTest, ClipChildrenKeepsTheParentOffItsChildren) {
  HWND top = Painted(nullptr, 0, 0, 100, 100, clBlue, WS_CLIPCHILDREN);
  HWND child = Painted(top, 10, 10, 30, 30, clRed);
  ProcessPendingMessages();
  gPaints.clear();
  SetWindowLongPtr(top, GWLP_USERDATA, clLime);
  InvalidateRect(top, nullptr, false);
  ProcessPendingMessages();
  ASSERT_EQ(gPaints.size(), 1u) << "the child is not invalidated";
  EXPECT_EQ(At(top, 15, 15), clRed);
  EXPECT_EQ(At(top, 5, 5), clLime);
  (void)child;
}

TEST_F(PaintTest, UpdateRegionAccumulatesAndValidates) {
  HWND top = Painted(nullptr, 0, 0, 100, 100, clBlue);
  ProcessPendingMessages();
  gPaints.clear();
  TRect a{10, 10, 20, 20}, b{50, 60, 70, 80};
  InvalidateRect(top, &a, false);
  InvalidateRect(top, &b, false);
  TRect update;
  EXPECT_TRUE(GetUpdateRect(top, &update, false));
  EXPECT_EQ(update, (TRect{10, 10, 70, 80}));
  ValidateRect(top, &b);
  ProcessPendingMessages();
  ASSERT_EQ(gPaints.size(), 1u);
  EXPECT_EQ(gPaints[0].second, a);
  EXPECT_FALSE(GetUpdateRect(top, nullptr, false));
  ProcessPendingMessages();
  EXPECT_EQ(gPaints.size(), 1u) << "painted once";
}

TEST_F(PaintTest, RedrawWindowFlags) {
  HWND top = Painted(nullptr, 0, 0, 100, 100, clBlue);
  HWND child = Painted(top, 10, 10, 30, 30, clRed);
  ProcessPendingMessages();
  gPaints.clear();
  Log().Clear();
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  // Painted at once, without the loop.
  ASSERT_EQ(gPaints.size(), 2u);
  EXPECT_EQ(Log().Of(top, {WM_NCPAINT, WM_ERASEBKGND, WM_PAINT}),
            (std::vector<UINT>{WM_NCPAINT, WM_PAINT, WM_ERASEBKGND}));
  gPaints.clear();
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
  RedrawWindow(top, nullptr, nullptr, RDW_VALIDATE);
  ProcessPendingMessages();
  EXPECT_TRUE(gPaints.empty());
  RedrawWindow(top, nullptr, nullptr, RDW_INTERNALPAINT);
  ProcessPendingMessages();
  ASSERT_EQ(gPaints.size(), 1u);
  EXPECT_TRUE(gPaints[0].second.IsEmpty()) << "an internal paint has nothing to update";
  (void)child;
}

TEST_F(PaintTest, SetRedrawFalseIgnoresInvalidation) {
  HWND top = Painted(nullptr, 0, 0, 100, 100, clBlue);
  ProcessPendingMessages();
  gPaints.clear();
  SendMessage(top, WM_SETREDRAW, 0, 0);
  InvalidateRect(top, nullptr, true);
  ProcessPendingMessages();
  EXPECT_TRUE(gPaints.empty());
  SendMessage(top, WM_SETREDRAW, 1, 0);
  InvalidateRect(top, nullptr, true);
  ProcessPendingMessages();
  EXPECT_EQ(gPaints.size(), 1u);
}

TEST_F(PaintTest, WindowRegionClipsPaintingAndHitTesting) {
  HWND top = Painted(nullptr, 0, 0, 100, 100, clBlue);
  HWND child = Painted(top, 20, 20, 40, 40, clRed);
  ProcessPendingMessages();
  // Keep only the left half of the child.
  SetWindowRgn(child, CreateRectRgn(0, 0, 20, 40), true);
  ProcessPendingMessages();
  EXPECT_EQ(At(top, 25, 30), clRed);
  EXPECT_EQ(At(top, 45, 30), clBlue) << "outside the region the parent shows";
  EXPECT_EQ(WindowFromPoint({25, 30}), child);
  EXPECT_EQ(WindowFromPoint({45, 30}), top);
  // A region on a top-level window clips what the desktop shows and where the mouse lands.
  SetWindowRgn(top, CreateRectRgn(0, 0, 50, 100), true);
  TBitmap desktop = Backend.Desktop();
  EXPECT_EQ(desktop.Pixel(25, 30), clRed);
  EXPECT_EQ(desktop.Pixel(75, 30), Backend.DesktopColor());
  EXPECT_EQ(WindowFromPoint({75, 30}), nullptr);
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(top, copy), SIMPLEREGION);
  DeleteObject(copy);
}

TEST_F(PaintTest, DeviceContextsAreClippedToTheVisibleRegion) {
  HWND top = Painted(nullptr, 0, 0, 100, 100, clBlue);
  HWND lower = Painted(top, 10, 10, 40, 40, clRed, WS_CLIPSIBLINGS);
  HWND upper = Painted(top, 30, 30, 40, 40, clLime);
  ProcessPendingMessages();
  HDC dc = GetDC(lower);
  TRect all{-100, -100, 200, 200};
  dc->FillRect(all, clYellow);
  ReleaseDC(lower, dc);
  EXPECT_EQ(At(top, 15, 15), clYellow);
  EXPECT_EQ(At(top, 35, 35), clLime) << "the sibling above is excluded";
  EXPECT_EQ(At(top, 55, 15), clBlue) << "nothing outside the window";
  HDC wdc = GetWindowDC(top);
  EXPECT_EQ(wdc->DeviceOrg(), (TPoint{0, 0}));
  ReleaseDC(top, wdc);
  (void)upper;
}

TEST_F(PaintTest, PrintDrawsClientAndChildrenIntoAnyContext) {
  HWND top = Painted(nullptr, 0, 0, 60, 60, clBlue);
  HWND child = Painted(top, 10, 10, 20, 20, clRed);
  TBitmap target(60, 60, TPixelFormat::pf32bit, true);
  TDeviceContext dc(target);
  SendMessage(top, WM_PRINT, reinterpret_cast<WPARAM>(&dc), PRF_CLIENT | PRF_CHILDREN);
  EXPECT_EQ(target.Pixel(5, 5), clBlue);
  EXPECT_EQ(target.Pixel(15, 15), clRed);
  EXPECT_EQ(target.Pixel(35, 35), clBlue);
  (void)child;
}

TEST_F(PaintTest, StandardFrameIsDrawnIntoTheWholeImage) {
  HWND w = CreateWindowEx(0, "Painter", "Окно", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 120, nullptr, nullptr,
                          nullptr, nullptr);
  SetWindowLongPtr(w, GWLP_USERDATA, clWhite);
  InvalidateRect(w, nullptr, true);
  ProcessPendingMessages();
  int frame = GetSystemMetrics(SM_CXFRAME);
  EXPECT_EQ(static_cast<COLORREF>(At(w, frame, frame + 1)), GetSysColor(COLOR_ACTIVECAPTION));
  EXPECT_EQ(static_cast<COLORREF>(At(w, 0, 60)), GetSysColor(COLOR_3DLIGHT));
  TPoint client{0, 0};
  ClientToScreen(w, &client);
  EXPECT_EQ(At(w, client.X + 3, client.Y + 3), clWhite);
  SetActiveWindow(nullptr);
  HWND other = Popup(300, 300, 10, 10);
  ProcessPendingMessages();
  EXPECT_EQ(static_cast<COLORREF>(At(w, frame, frame + 1)), GetSysColor(COLOR_INACTIVECAPTION))
      << "the frame follows activation";
  (void)other;
}

}  // namespace
