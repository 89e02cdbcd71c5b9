// Layered windows on the headless desktop: exact pixels of constant and per-pixel alpha.
#include "platform/backend/DesktopCompositor.h"
#include "platform/gfx/DeviceContext.h"
#include "tests/win/WinTestSupport.h"

namespace {

LRESULT SolidProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_ERASEBKGND) {
    auto* dc = reinterpret_cast<HDC>(w);
    TRect r = ClientRect(h);
    dc->FillRect(r, static_cast<TColor>(GetWindowLongPtr(h, GWLP_USERDATA)));
    return 1;
  }
  return DefWindowProc(h, m, w, l);
}

// round(v / 255), the rounding the compositor promises.
int Round255(int v) { return (v + 127) / 255; }

class LayeredTest : public WinTest {
protected:
  void SetUp() override {
    WinTest::SetUp();
    WNDCLASSEX wc;
    wc.lpfnWndProc = &SolidProc;
    wc.lpszClassName = "Solid";
    RegisterClassEx(wc);
  }
  HWND Solid(int x, int y, int w, int h, TColor color, DWORD exStyle = 0) {
    HWND win = CreateWindowEx(exStyle, "Solid", "", WS_POPUP, x, y, w, h, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtr(win, GWLP_USERDATA, color);
    ShowWindow(win, SW_SHOWNA);
    return win;
  }
};

TEST_F(LayeredTest, ConstantAlphaBlendsOverTheWindowBelow) {
  Solid(0, 0, 100, 100, RGB(255, 0, 0));
  HWND top = Solid(50, 0, 100, 100, RGB(0, 0, 255), WS_EX_LAYERED);
  ASSERT_TRUE(SetLayeredWindowAttributes(top, 0, 128, LWA_ALPHA));
  TBitmap d = Backend.Desktop();
  EXPECT_EQ(d.Pixel(25, 50), static_cast<TColor>(RGB(255, 0, 0)));
  COLORREF blended = static_cast<COLORREF>(d.Pixel(75, 50));
  EXPECT_EQ(GetRValue(blended), Round255(255 * 127));
  EXPECT_EQ(GetGValue(blended), 0);
  EXPECT_EQ(GetBValue(blended), Round255(255 * 128));
  // Over the desktop colour.
  COLORREF desk = static_cast<COLORREF>(Backend.DesktopColor());
  COLORREF overDesk = static_cast<COLORREF>(d.Pixel(125, 50));
  EXPECT_EQ(GetRValue(overDesk), Round255(GetRValue(desk) * 127));
  EXPECT_EQ(GetBValue(overDesk), Round255(255 * 128 + GetBValue(desk) * 127));
  std::uint8_t alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(top, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 128);
  EXPECT_EQ(flags, LWA_ALPHA);
  // Fully transparent: the window below shows and still nothing of the top one.
  SetLayeredWindowAttributes(top, 0, 0, LWA_ALPHA);
  EXPECT_EQ(Backend.Desktop().Pixel(75, 50), static_cast<TColor>(RGB(255, 0, 0)));
  EXPECT_FALSE(SetLayeredWindowAttributes(Solid(0, 0, 5, 5, 0), 0, 10, LWA_ALPHA)) << "needs WS_EX_LAYERED";
}

// A window at constant alpha 0 shows nothing: the message loop leaves its paint
// pending, and whatever makes it visible again paints it before the display is
// given its image (no frame of the old or an unpainted image shows).
TEST_F(LayeredTest, AWindowThatShowsNothingIsPaintedWhenItCanBeSeenAgain) {
  for (const bool dropLayered : {false, true}) {
    HWND top = Solid(0, 0, 100, 100, RGB(0, 0, 255), WS_EX_LAYERED);
    ASSERT_TRUE(SetLayeredWindowAttributes(top, 0, 0, LWA_ALPHA));
    ProcessPendingMessages();
    TRect update;
    EXPECT_TRUE(GetUpdateRect(top, &update, false)) << "the loop does not paint a window nobody sees";
    const TBitmap* image = WindowImage(top);
    ASSERT_NE(image, nullptr);
    EXPECT_NE(image->Pixel(50, 50), static_cast<TColor>(RGB(0, 0, 255)));
    // Repainted meanwhile in another colour: still held.
    SetWindowLongPtr(top, GWLP_USERDATA, RGB(0, 255, 0));
    InvalidateRect(top, nullptr, true);
    ProcessPendingMessages();
    EXPECT_TRUE(GetUpdateRect(top, &update, false));
    // Visible again, by alpha or by leaving the layered windows: painted at once.
    if (dropLayered) {
      SetWindowLong(top, GWL_EXSTYLE, GetWindowLong(top, GWL_EXSTYLE) & ~static_cast<LONG>(WS_EX_LAYERED));
    } else {
      ASSERT_TRUE(SetLayeredWindowAttributes(top, 0, 255, LWA_ALPHA));
    }
    EXPECT_FALSE(GetUpdateRect(top, &update, false)) << (dropLayered ? "layered style dropped" : "alpha 255");
    image = WindowImage(top);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Pixel(50, 50), static_cast<TColor>(RGB(0, 255, 0)));
    // A half transparent window is seen: the loop paints it as any other.
    if (!dropLayered) {
      ASSERT_TRUE(SetLayeredWindowAttributes(top, 0, 128, LWA_ALPHA));
      InvalidateRect(top, nullptr, true);
      ProcessPendingMessages();
      EXPECT_FALSE(GetUpdateRect(top, &update, false));
    }
    DestroyWindow(top);
  }
}

TEST_F(LayeredTest, PerPixelAlphaUsesPremultipliedImages) {
  Solid(0, 0, 100, 100, RGB(255, 0, 0));
  HWND glow = CreateWindowEx(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "Solid", "", WS_POPUP, 0, 0, 1, 1,
                             nullptr, nullptr, nullptr, nullptr);
  TBitmap image(3, 1, TPixelFormat::pf32bit, true);
  std::uint8_t* p = image.ScanLine(0);
  const std::uint8_t px[12] = {128, 0, 0, 128,   // half blue (premultiplied)
                               0, 0, 0, 0,       // nothing
                               10, 20, 30, 255}; // opaque
  std::copy(px, px + 12, p);
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  TPoint at{10, 10};
  TSize size{3, 1};
  ASSERT_TRUE(UpdateLayeredWindow(glow, &at, &size, image, nullptr, 0, &blend, ULW_ALPHA));
  ShowWindow(glow, SW_SHOWNA);
  TBitmap d = Backend.Desktop();
  COLORREF c0 = static_cast<COLORREF>(d.Pixel(10, 10));
  EXPECT_EQ(GetBValue(c0), 128);
  EXPECT_EQ(GetRValue(c0), Round255(255 * 127));
  EXPECT_EQ(d.Pixel(11, 10), static_cast<TColor>(RGB(255, 0, 0)));
  EXPECT_EQ(d.Pixel(12, 10), static_cast<TColor>(RGB(30, 20, 10)));
  // With a constant alpha on top of the pixel alpha.
  blend.SourceConstantAlpha = 128;
  UpdateLayeredWindow(glow, nullptr, nullptr, image, nullptr, 0, &blend, ULW_ALPHA);
  d = Backend.Desktop();
  COLORREF c2 = static_cast<COLORREF>(d.Pixel(12, 10));
  int a = Round255(255 * 128);
  EXPECT_EQ(GetRValue(c2), Round255(30 * 128) + Round255(255 * (255 - a)));
  EXPECT_EQ(GetBValue(c2), Round255(10 * 128));
  // Transparent pixels let the mouse through; opaque ones take it.
  EXPECT_NE(WindowFromPoint({11, 10}), glow);
  EXPECT_EQ(WindowFromPoint({12, 10}), glow);
  EXPECT_TRUE(PerPixelLayeredAvailable());
}

TEST_F(LayeredTest, DesktopIsComposedByZOrder) {
  HWND a = Solid(0, 0, 50, 50, RGB(1, 2, 3));
  HWND b = Solid(20, 20, 50, 50, RGB(4, 5, 6), WS_EX_TOPMOST);
  HWND c = Solid(30, 30, 50, 50, RGB(7, 8, 9));
  EXPECT_EQ(Backend.Desktop().Pixel(35, 35), static_cast<TColor>(RGB(4, 5, 6))) << "topmost stays above";
  SetWindowPos(b, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(c, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(Backend.Desktop().Pixel(35, 35), static_cast<TColor>(RGB(7, 8, 9)));
  ShowWindow(c, SW_HIDE);
  EXPECT_EQ(Backend.Desktop().Pixel(35, 35), static_cast<TColor>(RGB(4, 5, 6)));
  SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(Backend.Desktop().Pixel(35, 35), static_cast<TColor>(RGB(1, 2, 3)));
  EXPECT_EQ(Backend.Desktop().Pixel(60, 60), static_cast<TColor>(RGB(4, 5, 6)));
}

}  // namespace

namespace {

// The compositor's promise, one pixel and one channel at a time.
void NaiveCompose(TBitmap& desktop, const std::vector<TTopLevelView>& views, TColor background) {
  for (int y = 0; y < desktop.Height(); ++y) {
    for (int x = 0; x < desktop.Width(); ++x) desktop.SetPixel(x, y, background);
  }
  auto r255 = [](int v) { return (v + 127) / 255; };
  for (const auto& v : views) {
    for (int y = 0; y < v.Image->Height(); ++y) {
      for (int x = 0; x < v.Image->Width(); ++x) {
        int dx = v.Bounds.Left + x, dy = v.Bounds.Top + y;
        if (dx < 0 || dy < 0 || dx >= desktop.Width() || dy >= desktop.Height()) continue;
        if (v.Region) {
          bool inside = false;
          for (const TRect& r : *v.Region) inside = inside || r.Contains({x, y});
          if (!inside) continue;
        }
        const std::uint8_t* s = v.Image->ScanLine(y) + x * 4;
        std::uint8_t* d = desktop.ScanLine(dy) + dx * 4;
        if (v.HasColorKey && RGB(s[2], s[1], s[0]) == v.ColorKey) continue;
        int a = v.Alpha;
        for (int c = 0; c < 3; ++c) {
          if (v.PerPixelAlpha) {
            int sa = r255(s[3] * a);
            d[c] = static_cast<std::uint8_t>(std::min(255, r255(s[c] * a) + r255(d[c] * (255 - sa))));
          } else {
            d[c] = static_cast<std::uint8_t>(r255(s[c] * a + d[c] * (255 - a)));
          }
        }
      }
    }
  }
}

TEST(CompositorTest, MatchesTheNaiveFormulaOnRandomWindows) {
  std::uint32_t seed = 12345;
  auto next = [&]() {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  for (int round = 0; round < 20; ++round) {
    std::vector<TBitmap> images;
    std::vector<std::vector<TRect>> regions(4);
    images.reserve(4);
    std::vector<TTopLevelView> views;
    for (int i = 0; i < 4; ++i) {
      int w = 1 + static_cast<int>(next() % 40), h = 1 + static_cast<int>(next() % 30);
      images.emplace_back(w, h, TPixelFormat::pf32bit, true);
      for (int y = 0; y < h; ++y) {
        std::uint8_t* p = images.back().ScanLine(y);
        for (int x = 0; x < w * 4; x += 4) {
          std::uint8_t a = static_cast<std::uint8_t>(next());
          if (next() % 4 == 0) a = next() % 2 ? 0 : 255;
          for (int c = 0; c < 3; ++c) p[x + c] = static_cast<std::uint8_t>(next() % (a + 1u));  // premultiplied
          p[x + 3] = a;
        }
      }
      TTopLevelView v;
      v.Image = &images.back();
      v.Bounds = Bounds(static_cast<int>(next() % 60) - 10, static_cast<int>(next() % 50) - 10, w, h);
      int kind = static_cast<int>(next() % 3);
      v.Alpha = kind == 0 ? 255 : static_cast<std::uint8_t>(1 + next() % 255);
      v.PerPixelAlpha = kind == 2;
      if (next() % 3 == 0) {
        v.HasColorKey = !v.PerPixelAlpha;
        const std::uint8_t* p = images.back().ScanLine(0);
        v.ColorKey = RGB(p[2], p[1], p[0]);
      }
      if (next() % 3 == 0) {
        regions[static_cast<std::size_t>(i)] = {TRect{0, 0, w / 2 + 1, h}, TRect{w / 2 + 2, h / 3, w, h}};
        v.Region = &regions[static_cast<std::size_t>(i)];
      }
      views.push_back(v);
    }
    TBitmap fast(64, 48, TPixelFormat::pf32bit, true), slow(64, 48, TPixelFormat::pf32bit, true);
    ComposeDesktop(fast, views, RGB(10, 200, 30));
    NaiveCompose(slow, views, RGB(10, 200, 30));
    for (int y = 0; y < 48; ++y) {
      for (int x = 0; x < 64; ++x) {
        ASSERT_EQ(fast.Pixel(x, y), slow.Pixel(x, y)) << "round " << round << " at " << x << "," << y;
      }
    }
  }
}

}  // namespace
