// Section backgrounds: colour, gradient and texture shares, transparency over what
// lies behind, custom colours and the guards.
#include <gtest/gtest.h>

#include "platform/gfx/SystemColors.h"
#include "skin/core/sGradient.h"
#include "skin/paint/acTexture.h"
#include "tests/skinpaint/PaintTestSkin.h"

namespace {

TEST(SectionBackground, FullTransparencyReproducesTheParentBitmapExactly) {
  TPaintSkin skin;
  const int s = skin.AddSection("BUTTON", 0x123456);
  skin.Section(s).Transparency = 100;
  const TBitmap parent = PatternedParent(60, 40);
  TBitmap face = Filled(20, 10, 0);
  PaintSection(skin.Source(s), BackgroundInfo::FromBitmap(&parent, 3, 2), false, TacPaintState::Normal, {0, 0, 20, 10}, {5, 7}, &face,
               false);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(face.Pixel(x, y), parent.Pixel(3 + 5 + x, 2 + 7 + y)) << x << "," << y;
}

TEST(SectionBackground, FullTransparencyOverAColourBecomesThatColour) {
  TPaintSkin skin;
  const int s = skin.AddSection("BUTTON", 0x123456);
  skin.Section(s).HotTransparency = 100;
  TBitmap face = Filled(8, 8, 0);
  PaintSection(skin.Source(s), BackgroundInfo::FromColor(0x00AA33), false, TacPaintState::Hot, {0, 0, 8, 8}, {}, &face, false);
  EXPECT_EQ(face.Pixel(0, 0), 0x00AA33);
  EXPECT_EQ(face.Pixel(7, 7), 0x00AA33);
}

TEST(SectionBackground, HalfTransparentBlackOverWhiteGives127) {
  TPaintSkin skin;
  const int s = skin.AddSection("PANEL", 0x000000);
  skin.Section(s).Transparency = 50;
  const TBitmap parent = Filled(10, 10, 0xFFFFFF);
  TBitmap face = Filled(10, 10, 0x00FF00);
  PaintSection(skin.Source(s), BackgroundInfo::FromBitmap(&parent, 0, 0), false, TacPaintState::Normal, {0, 0, 10, 10}, {}, &face, false);
  // blend byte 50 * 255 div 100 = 127: (255 * 127 + 0 * 128 + 127) div 256 = 127.
  EXPECT_EQ(face.Pixel(4, 4), RGB(127, 127, 127));
}

TEST(SectionBackground, GradientAloneAtHundredAndSixtyPercentShare) {
  TPaintSkin skin;
  const int s = skin.AddSection("BAR", 0x0000C8);  // red 200
  skin.Section(s).GradientStops = ParseGradient("16777215;16777215;100;0;0");  // white
  skin.Section(s).GradientPercent = 100;
  TBitmap face = Filled(10, 10, 0);
  PaintSection(skin.Source(s), BackgroundInfo::FromColor(kKey), false, TacPaintState::Normal, {0, 0, 10, 10}, {}, &face, false);
  EXPECT_EQ(face.Pixel(3, 3), 0xFFFFFF);

  skin.Section(s).GradientPercent = 60;
  PaintSection(skin.Source(s), BackgroundInfo::FromColor(kKey), false, TacPaintState::Normal, {0, 0, 10, 10}, {}, &face, false);
  // Red: 0.6 * 255 + 0.4 * 200 = 233; green and blue: 0.6 * 255 = 153.
  EXPECT_EQ(face.Pixel(3, 3), RGB(233, 153, 153));
  EXPECT_EQ(face.Pixel(9, 9), RGB(233, 153, 153));  // right column and bottom row included
}

TEST(SectionBackground, PlainPartlyTransparentOverAColourComesOutInThatColour) {
  TPaintSkin skin;
  const int s = skin.AddSection("PANEL", 0x0000FF);
  skin.Section(s).Transparency = 30;
  TBitmap face = Filled(6, 6, 0);
  PaintSection(skin.Source(s), BackgroundInfo::FromColor(0x204060), false, TacPaintState::Normal, {0, 0, 6, 6}, {}, &face, false);
  EXPECT_EQ(face.Pixel(2, 2), 0x204060);
}

TEST(SectionBackground, CustomColorPaintsTheOwnerColourOpaquely) {
  TPaintSkin skin;
  const int s = skin.AddSection("PANEL", 0x0000FF);
  skin.Section(s).Transparency = 70;
  skin.Section(s).GradientPercent = 100;
  skin.Section(s).GradientStops = ParseGradient("0;0;100;0;0");
  TacPaintSource src = skin.Source(s);
  src.CustomColor = true;
  src.OwnerColor = clBtnFace;  // a system colour is resolved
  const TBitmap parent = Filled(6, 6, 0xFFFFFF);
  TBitmap face = Filled(6, 6, 0);
  PaintSection(src, BackgroundInfo::FromBitmap(&parent, 0, 0), false, TacPaintState::Normal, {0, 0, 6, 6}, {}, &face, false);
  EXPECT_EQ(face.Pixel(5, 5), ColorToRGB(clBtnFace));
}

TEST(SectionBackground, HotStatesUseTheHotValues) {
  TPaintSkin skin;
  const int s = skin.AddSection("BUTTON", 0x111111);
  skin.Section(s).HotColor = 0x222222;
  TBitmap face = Filled(4, 4, 0);
  for (int state : {1, 2, 7}) {
    PaintSection(skin.Source(s), BackgroundInfo::FromColor(kKey), false, static_cast<TacPaintState>(state), {0, 0, 4, 4}, {}, &face, false);
    EXPECT_EQ(face.Pixel(1, 1), 0x222222) << state;
  }
  PaintSection(skin.Source(s), BackgroundInfo::FromColor(kKey), false, TacPaintState::Normal, {0, 0, 4, 4}, {}, &face, false);
  EXPECT_EQ(face.Pixel(1, 1), 0x111111);
}

TEST(SectionBackground, RectanglesBeyondTheTargetOrNegativePaintNothing) {
  TPaintSkin skin;
  const int s = skin.AddSection("BUTTON", 0x0000FF);
  TBitmap face = Filled(10, 10, 0x00FF00);
  const TBitmap before = face;
  PaintSection(skin.Source(s), BackgroundInfo::FromColor(kKey), false, TacPaintState::Normal, {0, 0, 11, 10}, {}, &face, false);
  PaintSection(skin.Source(s), BackgroundInfo::FromColor(kKey), false, TacPaintState::Normal, {-1, 0, 5, 5}, {}, &face, false);
  PaintSection(skin.Source(s), BackgroundInfo::FromColor(kKey), false, TacPaintState::Normal, {0, -2, 5, 5}, {}, &face, false);
  TacPaintSource bad = skin.Source(s);
  bad.SkinIndex = 5;
  PaintSection(bad, BackgroundInfo::FromColor(kKey), false, TacPaintState::Normal, {0, 0, 5, 5}, {}, &face, false);
  skin.Model.SkinData.SkinReady = false;
  PaintSection(skin.Source(s), BackgroundInfo::FromColor(kKey), false, TacPaintState::Normal, {0, 0, 5, 5}, {}, &face, false);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(face.Pixel(x, y), before.Pixel(x, y));
}

TEST(SectionBackground, TextureModeFourCoversTheTopRowsAndLeavesTheRestToTheColour) {
  TPaintSkin skin;
  const int s = skin.AddSection("PANEL", 0x0000FF);
  skin.FillMaster({0, 0, 10, 8}, 0x00FF00);
  const int tex = skin.AddMask("PANEL", "PATTERN", {0, 0, 10, 8}, 1, 0, TacImgType::itisaTexture, 4);
  skin.Section(s).ImagePercent = 100;
  TacPaintSource src = skin.Source(s);
  src.Texture = tex;
  TBitmap face = Filled(40, 30, 0);
  PaintSection(src, BackgroundInfo::FromColor(kKey), false, TacPaintState::Normal, {0, 0, 40, 30}, {}, &face, false);
  for (int x = 0; x < 40; ++x) {
    EXPECT_EQ(face.Pixel(x, 0), 0x00FF00);
    EXPECT_EQ(face.Pixel(x, 7), 0x00FF00);
    EXPECT_EQ(face.Pixel(x, 8), 0x0000FF);
    EXPECT_EQ(face.Pixel(x, 29), 0x0000FF);
  }
}

TEST(SectionBackground, TextureIsFoundByPatternKeyThroughTheParentSection) {
  TPaintSkin skin;
  const int base = skin.AddSection("BASE", 0x0000FF);
  const int s = skin.AddSection("CHILD", 0x0000FF);
  skin.Section(s).ParentClass = "BASE";
  (void)base;
  skin.FillMaster({0, 0, 4, 4}, 0xFF0000);
  skin.AddMask("BASE", "PATTERN", {0, 0, 4, 4}, 1, 0, TacImgType::itisaTexture, 0);
  skin.Section(s).ImagePercent = 100;
  TBitmap face = Filled(9, 9, 0);
  PaintSection(skin.Source(s), BackgroundInfo::FromColor(kKey), false, TacPaintState::Normal, {0, 0, 9, 9}, {}, &face, false);
  EXPECT_EQ(face.Pixel(8, 8), 0xFF0000);
}

TEST(SectionBackground, TextureWithGradientKeepsTheImagePercent) {
  TPaintSkin skin;
  const int s = skin.AddSection("PANEL", 0x000000);
  skin.FillMaster({0, 0, 4, 4}, 0xFFFFFF);
  const int tex = skin.AddMask("PANEL", "PATTERN", {0, 0, 4, 4}, 1, 0, TacImgType::itisaTexture, 0);
  skin.Section(s).ImagePercent = 40;
  skin.Section(s).GradientPercent = 60;
  skin.Section(s).GradientStops = ParseGradient("0;0;100;0;0");
  TacPaintSource src = skin.Source(s);
  src.Texture = tex;
  TBitmap face = Filled(8, 8, 0);
  PaintSection(src, BackgroundInfo::FromColor(kKey), false, TacPaintState::Normal, {0, 0, 8, 8}, {}, &face, false);
  // blend byte 40 * 255 div 100 = 102: (255 * 102 + 0 + 127) div 256 = 102.
  EXPECT_EQ(face.Pixel(5, 5), RGB(102, 102, 102));
}

TEST(FillTextureModes, EachModeReportsWhatItLeftUncovered) {
  TBitmap pic = Filled(10, 8, 0x00FF00);
  const struct {
    int Mode;
    TRect Left;
  } cases[] = {{0, {0, 0, -1, 0}}, {1, {0, 0, -1, 0}},  {2, {0, 8, 40, 30}}, {3, {10, 0, 40, 30}},
               {4, {0, 8, 40, 30}}, {5, {10, 0, 40, 30}}, {6, {0, 0, 40, 22}}, {7, {0, 0, 30, 30}},
               {10, {0, 0, -1, 0}}, {8, {0, 0, 40, 30}}};
  for (const auto& c : cases) {
    TBitmap target = Filled(40, 30, 0);
    TRect r{0, 0, 40, 30};
    FillTexture(target, r, pic, {0, 0, 10, 8}, c.Mode);
    EXPECT_EQ(r, c.Left) << "mode " << c.Mode;
  }
}

TEST(FillTextureModes, ModeTenLeavesTheBottomStripAsItWas) {
  TBitmap pic = Filled(10, 8, 0x00FF00);
  TBitmap target = Filled(40, 30, 0x0000FF);
  TRect r{0, 0, 40, 30};
  FillTexture(target, r, pic, {0, 0, 10, 8}, 10);
  // Rows start at 0, 8, 16 (each top < 30 - 8); 24 is not drawn.
  EXPECT_EQ(target.Pixel(39, 23), 0x00FF00);
  EXPECT_EQ(target.Pixel(0, 24), 0x0000FF);
  EXPECT_EQ(target.Pixel(39, 29), 0x0000FF);
}

// Modes 4 and 5 stretch along one edge only; a texture deeper than the rectangle is
// cut at the rectangle (its first rows or columns show), never drawn past it.
TEST(FillTextureModes, ModesFourAndFiveStayInsideARectangleSmallerThanTheTexture) {
  TBitmap pic(10, 8, TPixelFormat::pf24bit);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) pic.SetPixel(x, y, RGB(static_cast<std::uint8_t>(20 * x), static_cast<std::uint8_t>(30 * y), 7));
  TBitmap target = Filled(40, 30, 0x0000FF);
  TRect r{5, 5, 25, 9};  // 4 rows high, the texture 8
  FillTexture(target, r, pic, {0, 0, 10, 8}, 4);
  EXPECT_EQ(r, (TRect{0, 0, -1, 0}));
  for (int y = 5; y < 9; ++y) {
    EXPECT_EQ(target.Pixel(5, y), pic.Pixel(0, y - 5)) << y;
    EXPECT_EQ(target.Pixel(24, y), pic.Pixel(9, y - 5)) << y;
  }
  for (int y = 9; y < 13; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(target.Pixel(x, y), 0x0000FF) << x << "," << y;

  target.Fill(0x0000FF);
  r = {5, 5, 9, 25};  // 4 columns wide, the texture 10
  FillTexture(target, r, pic, {0, 0, 10, 8}, 5);
  EXPECT_EQ(r, (TRect{0, 0, -1, 0}));
  for (int x = 5; x < 9; ++x) EXPECT_EQ(target.Pixel(x, 5), pic.Pixel(x - 5, 0)) << x;
  for (int y = 0; y < 30; ++y)
    for (int x = 9; x < 15; ++x) ASSERT_EQ(target.Pixel(x, y), 0x0000FF) << x << "," << y;

  // A texture exactly as large as its strip goes through the plain copy: clipped as well.
  target.Fill(0x0000FF);
  r = {5, 5, 15, 9};
  FillTexture(target, r, pic, {0, 0, 10, 8}, 4);
  EXPECT_EQ(target.Pixel(14, 8), pic.Pixel(9, 3));
  EXPECT_EQ(target.Pixel(14, 9), 0x0000FF);
}

TEST(FillTextureModes, ModeSevenTilesDownTheRightEdge) {
  TBitmap pic = Filled(10, 8, 0x00FF00);
  TBitmap target = Filled(40, 30, 0x0000FF);
  TRect r{0, 0, 40, 30};
  FillTexture(target, r, pic, {0, 0, 10, 8}, 7);
  EXPECT_EQ(target.Pixel(30, 29), 0x00FF00);
  EXPECT_EQ(target.Pixel(29, 0), 0x0000FF);
}

TEST(SectionBackground, ImagePercentWithoutATextureGoesToTheColour) {
  TPaintSkin skin;
  const int s = skin.AddSection("PANEL", 0x0000FF);
  skin.Section(s).ImagePercent = 40;
  TBitmap face = Filled(6, 6, 0x00FF00);
  PaintSection(skin.Source(s), BackgroundInfo::FromColor(kKey), false, TacPaintState::Normal, {0, 0, 6, 6}, {}, &face, false);
  EXPECT_EQ(face.Pixel(3, 3), 0x0000FF);  // nothing of the old green left
}

TEST(SectionBackground, SeeThroughPlainSectionWithNothingBehindKeepsItsColour) {
  TPaintSkin skin;
  const int s = skin.AddSection("PANEL", 0x0000FF);
  skin.Section(s).Transparency = 30;
  TBitmap face = Filled(6, 6, 0);
  PaintSection(skin.Source(s), BackgroundInfo::FromColor(kKey), false, TacPaintState::Normal, {0, 0, 6, 6}, {}, &face, false);
  EXPECT_EQ(face.Pixel(2, 2), 0x0000FF);  // not the magenta key
}

}  // namespace
