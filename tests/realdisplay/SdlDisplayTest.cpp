// The SDL display on a private Xvfb: started on a thread of its own while windows
// are made (it is waited for when first needed), and windows with a region shaped
// by the X server to exactly that region.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <vector>

#include "platform/backend/SdlBackend.h"
#include "platform/backend/X11Display.h"
#include "platform/gfx/Region.h"
#include "platform/win/Win.h"
#include "platform/win/WindowManager.h"
// Xlib's macros (None, Bool, Status) last, after every header that could meet them.
#include <X11/Xlib.h>
#include <X11/extensions/shape.h>

#include "tests/realdisplay/XSessionTest.h"

namespace {

LRESULT PlainProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProc(h, m, w, l); }

// Which pixels of a w × h window a set of rectangles covers.
std::vector<bool> Covered(const std::vector<TRect>& rects, int w, int h) {
  std::vector<bool> in(static_cast<std::size_t>(w) * h, false);
  for (const TRect& r : rects)
    for (int y = std::max(0, r.Top); y < std::min(h, r.Bottom); ++y)
      for (int x = std::max(0, r.Left); x < std::min(w, r.Right); ++x) in[static_cast<std::size_t>(y) * w + x] = true;
  return in;
}

class SdlDisplayTest : public TXSessionTest {
protected:
  void SetUp() override {
    TXSessionTest::SetUp();
    if (HasFatalFailure()) return;
    setenv("DISPLAY", Session->Display().c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    TWindowManager::Instance().Reset();
    WNDCLASSEX wc;
    wc.lpfnWndProc = &PlainProc;
    wc.lpszClassName = "Plain";
    RegisterClassEx(wc);
  }
  void TearDown() override {
    TWindowManager::Instance().Reset();
    TXSessionTest::TearDown();
  }
  // The window's shape as the server holds it (an unshaped window: its whole rectangle).
  std::vector<TRect> ServerShape(Window window) {
    int count = 0, ordering = 0;
    XRectangle* rects = XShapeGetRectangles(Observer, window, ShapeBounding, &count, &ordering);
    std::vector<TRect> out;
    for (int i = 0; i < count; ++i) out.push_back(Bounds(rects[i].x, rects[i].y, rects[i].width, rects[i].height));
    if (rects) XFree(rects);
    return out;
  }
};

TEST_F(SdlDisplayTest, StartsAheadWhileWindowsAreMadeAndShapesThemToTheirRegion) {
  TSdlBackend backend(TSdlBackend::TStart::Ahead);
  backend.Install();
  // Made while the display may still be starting: nothing here needs the screen.
  HWND window = CreateWindowEx(0, "Plain", "", WS_POPUP, 100, 80, 200, 120, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 17);
  ASSERT_TRUE(backend.Ok()) << backend.Error();
  EXPECT_EQ(backend.ScreenSize().cx, 1280);
  EXPECT_EQ(backend.ScreenSize().cy, 800);
  ASSERT_TRUE(backend.ShapingAvailable()) << "the X server shapes windows";

  // Corners cut as a skinned frame cuts them, and a notch inside the bottom edge.
  const std::vector<TRect> region = {{3, 0, 197, 1}, {1, 1, 199, 3}, {0, 3, 200, 110}, {0, 110, 90, 120},
                                     {110, 110, 200, 120}};
  SetWindowRgn(window, CreateRegionFrom(TRegion::FromRects(region)), false);
  ShowWindow(window, SW_SHOWNA);
  ProcessPendingMessages();
  ASSERT_TRUE(backend.NativeShown(window));
  EXPECT_TRUE(backend.NativeShaped(window));
  const Window x = static_cast<Window>(TX11Display::WindowOf(backend.NativeWindow(window)));
  ASSERT_NE(x, 0u);
  EXPECT_EQ(Covered(ServerShape(x), 200, 120), Covered(region, 200, 120));

  // A new region (the window sized, the notch gone) reaches the server as well.
  SetWindowPos(window, nullptr, 0, 0, 240, 130, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const std::vector<TRect> wider = {{2, 0, 238, 2}, {0, 2, 240, 130}};
  SetWindowRgn(window, CreateRegionFrom(TRegion::FromRects(wider)), false);
  ProcessPendingMessages();
  EXPECT_EQ(Covered(ServerShape(x), 240, 130), Covered(wider, 240, 130));

  // Without a region the window is square again: shown plain, unshaped.
  SetWindowRgn(window, nullptr, false);
  ProcessPendingMessages();
  EXPECT_FALSE(backend.NativeShaped(window));
  DestroyWindow(window);
}

TEST_F(SdlDisplayTest, AStartThatFailsIsReportedWhenTheDisplayIsFirstAskedFor) {
  setenv("DISPLAY", ":65000", 1);  // no such server
  TSdlBackend backend(TSdlBackend::TStart::Ahead);
  EXPECT_FALSE(backend.Ok());
  EXPECT_STRNE(backend.Error(), "");
  EXPECT_EQ(backend.ScreenSize().cx, 1280) << "the fallback size";
}

}  // namespace
