// The caption font and non-client metrics as public calls, and icons: made from
// pictures, drawn with their alpha, refused when stale, kept per window.
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Font.h"
#include "platform/win/Icons.h"
#include "platform/win/SystemParameters.h"
#include "tests/win/WinTestSupport.h"

TEST_F(WinTest, NonClientMetricsCarryTheCaptionFonts) {
  NONCLIENTMETRICS metrics;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
  EXPECT_EQ(metrics.lfCaptionFont.Weight, FW_BOLD);
  EXPECT_EQ(metrics.lfCaptionFont.Height, -12);
  EXPECT_EQ(metrics.lfSmCaptionFont.Height, -11);
  EXPECT_EQ(metrics.iCaptionHeight, GetSystemMetrics(SM_CYSIZE));
  EXPECT_EQ(metrics.iSmCaptionHeight, GetSystemMetrics(SM_CYSMSIZE));
  EXPECT_EQ(metrics.lfCaptionFont, CaptionLogFont(false));
  EXPECT_FALSE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, 0, nullptr, 0));
  EXPECT_FALSE(SystemParametersInfo(0x0030, 0, &metrics, 0)) << "other actions are not answered";
  // The shared font object is made once and describes the caption font.
  HFONT font = GetCaptionFont(false);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(GetCaptionFont(false), font);
  EXPECT_NE(GetCaptionFont(true), font);
  TLogFont lf;
  ASSERT_TRUE(GetLogFont(font, &lf));
  EXPECT_EQ(lf, CaptionLogFont(false));
}

TEST_F(WinTest, IconsAreDrawnWithTheirAlphaAndStaleHandlesAreRefused) {
  TBitmap picture(2, 2, TPixelFormat::pf32bit, true);
  // Opaque red, half-transparent blue, clear, opaque green (B, G, R, A bytes).
  const std::uint8_t pixels[2][8] = {{0, 0, 255, 255, 255, 0, 0, 128}, {0, 0, 0, 0, 0, 255, 0, 255}};
  for (int y = 0; y < 2; ++y) std::copy_n(pixels[y], 8, picture.ScanLine(y));
  HICON icon = CreateIconFromImage(picture);
  ASSERT_NE(icon, nullptr);
  ASSERT_NE(IconImage(icon), nullptr);
  TBitmap target(4, 4, TPixelFormat::pf24bit, true);
  target.Fill(RGB(255, 255, 255));
  ASSERT_TRUE(DrawIconEx(&target.Canvas(), 1, 1, icon, 0, 0));
  EXPECT_EQ(target.Pixel(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(target.Pixel(2, 1), RGB(127, 127, 255)) << "half blue over white";
  EXPECT_EQ(target.Pixel(1, 2), RGB(255, 255, 255)) << "a clear pixel leaves what is there";
  EXPECT_EQ(target.Pixel(2, 2), RGB(0, 255, 0));
  EXPECT_EQ(target.Pixel(0, 0), RGB(255, 255, 255));
  // Scaled to 4 x 4: each picture pixel covers a 2 x 2 block.
  target.Fill(RGB(255, 255, 255));
  ASSERT_TRUE(DrawIconEx(&target.Canvas(), 0, 0, icon, 4, 4));
  EXPECT_EQ(target.Pixel(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(target.Pixel(3, 3), RGB(0, 255, 0));
  // A 24-bit picture is opaque; an empty one makes no icon.
  TBitmap plain(1, 1, TPixelFormat::pf24bit, true);
  plain.Fill(RGB(10, 20, 30));
  HICON opaque = CreateIconFromImage(plain);
  ASSERT_NE(opaque, nullptr);
  EXPECT_EQ(IconImage(opaque)->ScanLine(0)[3], 255);
  EXPECT_EQ(CreateIconFromImage(TBitmap()), nullptr);
  // Destroyed handles are refused, never read.
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_FALSE(DestroyIcon(icon));
  EXPECT_EQ(IconImage(icon), nullptr);
  EXPECT_FALSE(DrawIconEx(&target.Canvas(), 0, 0, icon, 0, 0));
  EXPECT_TRUE(DestroyIcon(opaque));
}

TEST_F(WinTest, WindowAndApplicationIcons) {
  TBitmap picture(1, 1, TPixelFormat::pf24bit, true);
  HICON first = CreateIconFromImage(picture);
  HICON second = CreateIconFromImage(picture);
  HWND a = Popup(0, 0, 50, 50);
  HWND b = Popup(60, 0, 50, 50);
  EXPECT_EQ(WindowIcon(a, ICON_SMALL), nullptr);
  EXPECT_EQ(SetWindowIcon(a, ICON_SMALL, first), nullptr);
  EXPECT_EQ(WindowIcon(a, ICON_SMALL), first);
  EXPECT_EQ(WindowIcon(a, ICON_BIG), nullptr) << "small and big icons are kept apart";
  EXPECT_EQ(WindowIcon(b, ICON_SMALL), nullptr);
  EXPECT_EQ(SetWindowIcon(a, ICON_SMALL, second), first);
  EXPECT_EQ(SetWindowIcon(a, ICON_SMALL, nullptr), second);
  EXPECT_EQ(WindowIcon(a, ICON_SMALL), nullptr);
  // The classic messages keep the same icons.
  EXPECT_EQ(SendMessage(b, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(second)), 0);
  EXPECT_EQ(SendMessage(b, WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(second));
  EXPECT_EQ(WindowIcon(b, ICON_BIG), second);
  EXPECT_EQ(SendMessage(b, WM_GETICON, ICON_SMALL, 0), 0);
  HICON saved = ApplicationIcon();
  SetApplicationIcon(first);
  EXPECT_EQ(ApplicationIcon(), first);
  DestroyIcon(first);
  EXPECT_EQ(ApplicationIcon(), nullptr) << "a destroyed application icon is gone";
  SetApplicationIcon(saved);
  DestroyIcon(second);
}
