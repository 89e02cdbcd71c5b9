// Hue and saturation adjustment of colours, pictures and a loaded skin.
#include <gtest/gtest.h>

#include "skin/core/sHue.h"
#include "tests/skincore/MasksTestSkin.h"

namespace {

constexpr TColor Rgb(int r, int g, int b) { return static_cast<TColor>(r | (g << 8) | (b << 16)); }

TEST(HueShift, RotatesThroughTheColourWheel) {
  EXPECT_EQ(ShiftHueColor(Rgb(255, 0, 0), 120), Rgb(0, 255, 0));
  EXPECT_EQ(ShiftHueColor(Rgb(255, 0, 0), 240), Rgb(0, 0, 255));
  EXPECT_EQ(ShiftHueColor(Rgb(0, 0, 255), 120), Rgb(255, 0, 0));
  // Hue 10 degrees shifted by -30 lands on 340: red with a third of blue.
  EXPECT_EQ(ShiftHueColor(Rgb(255, 43, 0), -30), Rgb(255, 0, 85));
  // Whole turns in either direction reduce into 0..359.
  EXPECT_EQ(ShiftHueColor(Rgb(255, 0, 0), 480), Rgb(0, 255, 0));
  EXPECT_EQ(ShiftHueColor(Rgb(255, 0, 0), -240), Rgb(0, 255, 0));
}

TEST(HueShift, GreysAndZeroShiftStayAndValueIsKept) {
  EXPECT_EQ(ShiftHueColor(Rgb(128, 128, 128), 77), Rgb(128, 128, 128));
  EXPECT_EQ(ShiftHueColor(Rgb(12, 200, 99), 0), Rgb(12, 200, 99));
  const TColor shifted = ShiftHueColor(Rgb(200, 100, 50), 90);
  const int r = shifted & 0xFF, g = (shifted >> 8) & 0xFF, b = (shifted >> 16) & 0xFF;
  EXPECT_EQ(std::max({r, g, b}), 200);
  EXPECT_EQ(std::min({r, g, b}), 50);
}

TEST(Saturation, AmountWrapsWithTheSignOfMinusS) {
  EXPECT_EQ(SaturationAmount(100), -100);
  EXPECT_EQ(SaturationAmount(150), -49);
  EXPECT_EQ(SaturationAmount(-100), 100);
  EXPECT_EQ(SaturationAmount(-202), 0);
  EXPECT_EQ(SaturationAmount(0), 0);
}

TEST(Saturation, MovesChannelsAroundTheirAverage) {
  EXPECT_EQ(ShiftSaturationColor(Rgb(200, 100, 0), -100), Rgb(100, 100, 100));
  EXPECT_EQ(ShiftSaturationColor(Rgb(200, 100, 0), 100), Rgb(255, 100, 0));
  // Half way towards the average, rounded: 200 -> 150, 0 -> 50.
  EXPECT_EQ(ShiftSaturationColor(Rgb(200, 100, 0), -50), Rgb(150, 100, 50));
  EXPECT_EQ(ShiftSaturationColor(Rgb(90, 90, 90), 100), Rgb(90, 90, 90));
}

TEST(HueShift, PicturesKeepKeyGreyAndAlpha) {
  TBitmap b(4, 1, TPixelFormat::pf32bit);
  b.SetPixel(0, 0, Rgb(255, 0, 0));
  b.SetPixel(1, 0, clFuchsia);
  b.SetPixel(2, 0, Rgb(77, 77, 77));
  b.SetPixel(3, 0, Rgb(255, 0, 0));
  b.ScanLine(0)[3 * 4 + 3] = 90;  // a half-transparent red
  ShiftHueBitmap(b, 120);
  EXPECT_EQ(b.Pixel(0, 0), Rgb(0, 255, 0));
  EXPECT_EQ(b.Pixel(1, 0), clFuchsia);
  EXPECT_EQ(b.Pixel(2, 0), Rgb(77, 77, 77));
  EXPECT_EQ(b.Pixel(3, 0), Rgb(0, 255, 0));
  EXPECT_EQ(b.ScanLine(0)[3 * 4 + 3], 90);
  ShiftSaturationBitmap(b, -100);
  EXPECT_EQ(b.Pixel(0, 0), Rgb(85, 85, 85));
  EXPECT_EQ(b.Pixel(1, 0), clFuchsia);
}

TEST(HueShift, PalettePicturesBecome24Bit) {
  TBitmap b(3, 2, TPixelFormat::pf8bit);
  b.Palette()[1] = {0, 0, 255, 0};  // red
  b.SetPixel(0, 0, Rgb(255, 0, 0));
  ShiftHueBitmap(b, 120);
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_EQ(b.Pixel(0, 0), Rgb(0, 255, 0));
}

// A master whose left half is red and right half magenta, a red close icon
// rectangle at (0,0)-(12,10), and sections with colours.
std::vector<TTestEntry> HueImages() {
  TBitmap master(40, 20, TPixelFormat::pf24bit);
  master.Fill(clFuchsia);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) master.SetPixel(x, y, Rgb(255, 0, 0));
  master.SetPixel(30, 5, Rgb(40, 40, 40));
  return {{"Master.bmp", SaveBmpToMemory(master)}};
}

const char* kHueOptions = R"([GLOBALINFO]
MASTERBITMAP=MASTER.BMP
BICONCLOSE=@0000@0000@0012@0010@1@0
BIKEEPHUE=%d
SHADOW1COLOR=255
BORDERCOLOR=-16777201
[BUTTON]
COLOR=255
HOTCOLOR=-16777201
FONTCOLOR=65280
GRADIENTDATA=255;65280;100;0;0
)";

std::string HueOptions(int keep) {
  char text[512];
  std::snprintf(text, sizeof text, kHueOptions, keep);
  return text;
}

TEST(SkinHue, LoadShiftsPicturesAndModelColours) {
  auto m = ManagerWithPackage(HueOptions(0), HueImages(), 120);
  ASSERT_TRUE(m->MasterBitmap);
  EXPECT_EQ(m->MasterBitmap->Pixel(15, 15), Rgb(0, 255, 0));
  EXPECT_EQ(m->MasterBitmap->Pixel(25, 5), clFuchsia);
  EXPECT_EQ(m->MasterBitmap->Pixel(30, 5), Rgb(40, 40, 40));
  EXPECT_EQ(m->MasterBitmap->Pixel(3, 3), Rgb(0, 255, 0));  // the icon shifts with the rest
  const TsGeneralData& button = *m->Section(m->SectionIndexOf("BUTTON"));
  EXPECT_EQ(button.Color, Rgb(0, 255, 0));
  EXPECT_EQ(button.FontColor[0], Rgb(0, 0, 255));
  EXPECT_EQ(button.FontColor[1], -1);  // "none" stays none
  EXPECT_EQ(button.HotColor, -16777201);  // a system colour has no hue of its own
  ASSERT_EQ(button.GradientStops.size(), 1u);
  EXPECT_EQ(button.GradientStops[0].Color1, Rgb(0, 255, 0));
  EXPECT_EQ(button.GradientStops[0].Color2, Rgb(0, 0, 255));
  EXPECT_EQ(m->SkinData.Shadow1Color, Rgb(0, 255, 0));
}

TEST(SkinHue, CloseIconKeepsItsHueWhenAsked) {
  auto m = ManagerWithPackage(HueOptions(2), HueImages(), 120);
  EXPECT_EQ(m->MasterBitmap->Pixel(3, 3), Rgb(255, 0, 0));    // inside the icon rectangle
  EXPECT_EQ(m->MasterBitmap->Pixel(15, 15), Rgb(0, 255, 0));  // outside it
}

TEST(SkinSaturation, AppliesToTheIconsToo) {
  auto m = ManagerWithPackage(HueOptions(1), HueImages(), 0, -100);  // amount 100: grey
  EXPECT_EQ(m->MasterBitmap->Pixel(3, 3), Rgb(85, 85, 85));
  EXPECT_EQ(m->MasterBitmap->Pixel(25, 5), clFuchsia);
  const TsGeneralData& button = *m->Section(m->SectionIndexOf("BUTTON"));
  EXPECT_EQ(button.Color, Rgb(85, 85, 85));
}

}  // namespace
