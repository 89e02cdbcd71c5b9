// Nine-slice borders, corner images, glyphs and the compositing through mask bands.
#include <gtest/gtest.h>

#include "skin/paint/acMaskPaint.h"
#include "skin/paint/acTexture.h"
#include "tests/skinpaint/PaintTestSkin.h"

namespace {

// Three 4 x 4 state images in red, green and blue at the top of the master.
struct TThreeStates : TPaintSkin {
  int Sec = -1;
  int Border = -1;
  TThreeStates() {
    Sec = AddSection("BUTTON", 0xFFFFFF);
    FillMaster({0, 0, 4, 4}, 0x0000FF);
    FillMaster({4, 0, 8, 4}, 0x00FF00);
    FillMaster({8, 0, 12, 4}, 0xFF0000);
    Border = AddMask("BUTTON", "BORDERSMASK", {0, 0, 12, 4}, 3, 0);
    Mask(Border).WL = Mask(Border).WT = Mask(Border).WR = Mask(Border).WB = 1;
    Section(Sec).BorderIndex = Border;
  }
};

TEST(BorderMask, StatesBeyondTheImageCountUseTheLastImage) {
  TThreeStates skin;
  TBitmap face = Filled(8, 8, 0);
  PaintSection(skin.Source(skin.Sec), BackgroundInfo::FromColor(kKey), false, static_cast<TacPaintState>(5), {0, 0, 8, 8}, {}, &face, false);
  EXPECT_EQ(face.Pixel(0, 0), 0xFF0000);
  EXPECT_EQ(face.Pixel(7, 4), 0xFF0000);
  EXPECT_EQ(face.Pixel(4, 4), 0xFFFFFF);  // centre not drawn without flag 4
  PaintSection(skin.Source(skin.Sec), BackgroundInfo::FromColor(kKey), false, TacPaintState::Hot, {0, 0, 8, 8}, {}, &face, false);
  EXPECT_EQ(face.Pixel(0, 7), 0x00FF00);
}

TEST(BorderMask, FlagTwoDrawsNothingInStateZero) {
  TThreeStates skin;
  skin.Mask(skin.Border).StretchMode = 2;
  TBitmap face = Filled(8, 8, 0);
  PaintSection(skin.Source(skin.Sec), BackgroundInfo::FromColor(kKey), false, TacPaintState::Normal, {0, 0, 8, 8}, {}, &face, false);
  EXPECT_EQ(face.Pixel(0, 0), 0xFFFFFF);
  PaintSection(skin.Source(skin.Sec), BackgroundInfo::FromColor(kKey), false, TacPaintState::Hot, {0, 0, 8, 8}, {}, &face, false);
  EXPECT_EQ(face.Pixel(0, 0), 0x00FF00);
}

TEST(BorderMask, CentreIsDrawnWithFlagFourAndTheFillCentreFlag) {
  TThreeStates skin;
  skin.Mask(skin.Border).StretchMode = 4;
  skin.FillMaster({1, 1, 3, 3}, 0x777777);
  TBitmap face = Filled(8, 8, 0);
  PaintSection(skin.Source(skin.Sec), BackgroundInfo::FromColor(kKey), true, TacPaintState::Normal, {0, 0, 8, 8}, {}, &face, false);
  EXPECT_EQ(face.Pixel(4, 4), 0x777777);
  PaintSection(skin.Source(skin.Sec), BackgroundInfo::FromColor(kKey), false, TacPaintState::Normal, {0, 0, 8, 8}, {}, &face, false);
  EXPECT_EQ(face.Pixel(4, 4), 0xFFFFFF);
}

TEST(BorderMask, MarginsShrinkOnANarrowRectangle) {
  TPaintSkin skin;
  const int b = skin.AddMask("BUTTON", "BORDERSMASK", {0, 0, 10, 10}, 1, 0);
  TsMaskData& m = skin.Mask(b);
  m.WL = m.WT = m.WR = m.WB = 4;
  TacBorderSlices s;
  ASSERT_TRUE(ComputeBorderSlices(m, {0, 0, 5, 20}, TacPaintState::Normal, s));
  EXPECT_EQ(s.L, 3);
  EXPECT_EQ(s.R, 2);
  EXPECT_EQ(s.T, 4);
  EXPECT_EQ(s.B, 4);
  ASSERT_TRUE(ComputeBorderSlices(m, {0, 0, 20, 5}, TacPaintState::Normal, s));
  EXPECT_EQ(s.T, 3);
  EXPECT_EQ(s.B, 2);
  EXPECT_FALSE(ComputeBorderSlices(m, {0, 0, 1, 20}, TacPaintState::Normal, s));

  // In pixels: column 2 of the left slice lands at x = 2, the right slice's columns 7 and 8 at 3 and 4.
  for (int x = 0; x < 10; ++x) skin.FillMaster({x, 0, x + 1, 10}, static_cast<TColor>(x * 20));
  TBitmap face = Filled(5, 20, 0xFFFFFF);
  DrawBorderMask(face, {0, 0, 5, 20}, false, BackgroundInfo::FromColor(kKey), m, TacPaintState::Normal, false);
  EXPECT_EQ(face.Pixel(2, 0), 40);
  EXPECT_EQ(face.Pixel(3, 0), 160);
  EXPECT_EQ(face.Pixel(4, 0), 180);
  TBitmap thin = Filled(1, 20, 0xFFFFFF);
  DrawBorderMask(thin, {0, 0, 1, 20}, false, BackgroundInfo::FromColor(kKey), m, TacPaintState::Normal, false);
  EXPECT_EQ(thin.Pixel(0, 0), 0xFFFFFF);
}

TEST(BorderMask, KeyColouredCornersTakeThePrentWithUpdateAndStayWithout) {
  TThreeStates skin;
  skin.FillMaster({0, 0, 1, 1}, kKey);  // top-left pixel of state 0 is a hole
  const TBitmap parent = PatternedParent(30, 30);
  TBitmap face = Filled(8, 8, 0);
  PaintSection(skin.Source(skin.Sec), BackgroundInfo::FromBitmap(&parent, 2, 3), false, TacPaintState::Normal, {0, 0, 8, 8}, {4, 5},
               &face, true);
  EXPECT_EQ(face.Pixel(0, 0), parent.Pixel(6, 8));
  EXPECT_EQ(face.Pixel(1, 0), 0x0000FF);

  PaintSection(skin.Source(skin.Sec), BackgroundInfo::FromColor(0x00AA00), false, TacPaintState::Normal, {0, 0, 8, 8}, {}, &face,
               false);
  EXPECT_EQ(face.Pixel(0, 0), 0xFFFFFF);  // the background under it stays
  PaintSection(skin.Source(skin.Sec), BackgroundInfo::FromColor(0x00AA00), false, TacPaintState::Normal, {0, 0, 8, 8}, {}, &face,
               true);
  EXPECT_EQ(face.Pixel(0, 0), 0x00AA00);
}

TEST(BorderMask, StretchedEdgesFillTheirWholeLength) {
  TThreeStates skin;
  skin.Mask(skin.Border).StretchMode = 1;
  TBitmap face = Filled(30, 9, 0);
  PaintSection(skin.Source(skin.Sec), BackgroundInfo::FromColor(kKey), false, TacPaintState::Normal, {0, 0, 30, 9}, {}, &face, false);
  for (int x = 0; x < 30; ++x) ASSERT_EQ(face.Pixel(x, 0), 0x0000FF);
}

TEST(MaskCompositing, PictureThroughItsMaskBand) {
  TPaintSkin skin;
  // Picture 2 x 1 over a mask band 2 x 1: S = 200 in every channel, M 128 and 255.
  skin.FillMaster({0, 0, 2, 1}, RGB(200, 200, 200));
  skin.FillMaster({0, 1, 1, 2}, RGB(128, 128, 128));
  skin.FillMaster({1, 1, 2, 2}, RGB(255, 255, 255));
  TBitmap target = Filled(2, 2, RGB(100, 100, 100));
  CompositeMasked(target, 0, 0, *skin.Model.MasterBitmap, {0, 0, 2, 1}, 1, BackgroundInfo{}, false);
  EXPECT_EQ(GetRValue(static_cast<COLORREF>(target.Pixel(0, 0))), 150);  // 200 + floor(128 * -100 / 256)
  EXPECT_EQ(GetRValue(static_cast<COLORREF>(target.Pixel(1, 0))), 100);  // 200 + floor(-99.6)
}

TEST(MaskCompositing, KeyPixelsByUpdateAndReady) {
  TPaintSkin skin;
  skin.FillMaster({0, 0, 1, 1}, kKey);
  skin.FillMaster({0, 1, 1, 2}, 0);  // opaque mask
  const TBitmap& pic = *skin.Model.MasterBitmap;
  const TBitmap parent = Filled(4, 4, 0x0A0B0C);
  TBitmap t = Filled(2, 2, 0x101010);
  CompositeMasked(t, 1, 1, pic, {0, 0, 1, 1}, 1, BackgroundInfo::FromBitmap(&parent, 0, 0), true);
  EXPECT_EQ(t.Pixel(1, 1), 0x0A0B0C);
  t = Filled(2, 2, 0x101010);
  CompositeMasked(t, 1, 1, pic, {0, 0, 1, 1}, 1, BackgroundInfo::FromColor(0x00FF00), false);
  EXPECT_EQ(t.Pixel(1, 1), 0x101010);
  // Ready without update: blended like any other pixel (black mask: the key colour itself).
  CompositeMasked(t, 1, 1, pic, {0, 0, 1, 1}, 1, BackgroundInfo::FromBitmap(&parent, 0, 0), false);
  EXPECT_EQ(t.Pixel(1, 1), kKey);
  // Parent pixels outside the parent bitmap are skipped.
  t = Filled(2, 2, 0x101010);
  CompositeMasked(t, 1, 1, pic, {0, 0, 1, 1}, 1, BackgroundInfo::FromBitmap(&parent, 10, 10), true);
  EXPECT_EQ(t.Pixel(1, 1), 0x101010);
}

TEST(CornerImages, BottomLeftSitsAtTheRectangleLeftEdge) {
  TPaintSkin skin;
  const int s = skin.AddSection("PANEL", 0xFFFFFF);
  skin.FillMaster({20, 0, 23, 3}, 0x0000FF);
  skin.Section(s).ImgBtmLeft = skin.AddMask("PANEL", "IMGBTMLEFT", {20, 0, 23, 3}, 1, 0, TacImgType::itisaGlyph);
  TBitmap face = Filled(20, 20, 0);
  PaintSection(skin.Source(s), BackgroundInfo::FromColor(kKey), false, TacPaintState::Normal, {5, 4, 15, 14}, {}, &face, false);
  EXPECT_EQ(face.Pixel(5, 13), 0x0000FF);
  EXPECT_EQ(face.Pixel(7, 11), 0x0000FF);
  EXPECT_EQ(face.Pixel(8, 13), 0xFFFFFF);
  EXPECT_EQ(face.Pixel(4, 13), 0);
}

TEST(GlyphMask, StateImagesAndAlphaBoost) {
  TPaintSkin skin;
  skin.FillMaster({0, 0, 4, 2}, RGB(200, 200, 200));  // two 2 x 2 state images
  skin.FillMaster({0, 2, 4, 4}, RGB(0, 0, 0));        // opaque mask band
  skin.FillMaster({2, 0, 4, 2}, RGB(10, 10, 10));
  const int g = skin.AddMask("GLOBALINFO", "GLYPH", {0, 0, 4, 4}, 2, 1, TacImgType::itisaGlyph);
  TBitmap t = Filled(4, 4, RGB(100, 100, 100));
  DrawGlyphMask(t, {1, 1}, static_cast<TacPaintState>(9), 1, skin.Mask(g), BackgroundInfo{});
  EXPECT_EQ(t.Pixel(1, 1), RGB(10, 10, 10));
  EXPECT_EQ(t.Pixel(0, 0), RGB(100, 100, 100));
  // Without UseAlpha a black mask still lets 100/256 of the target through.
  t = Filled(4, 4, RGB(100, 100, 100));
  DrawGlyphMask(t, {0, 0}, TacPaintState::Normal, 0, skin.Mask(g), BackgroundInfo{});
  EXPECT_EQ(GetRValue(static_cast<COLORREF>(t.Pixel(0, 0))), 200 + ((100 * -100) >> 8));
  // Clipped at the target's origin.
  DrawGlyphMask(t, {-1, -1}, TacPaintState::Normal, 1, skin.Mask(g), BackgroundInfo{});
  EXPECT_EQ(t.Pixel(0, 0), RGB(200, 200, 200));
}

TEST(MaskedTiler, ModeTenDrawsWholeTilesAndFillsTheStripsFromBehind) {
  TPaintSkin skin;
  skin.FillMaster({0, 0, 4, 4}, 0x0000FF);
  skin.FillMaster({0, 4, 4, 8}, 0);  // opaque
  const int t = skin.AddMask("PANEL", "PATTERN", {0, 0, 4, 8}, 1, 1, TacImgType::itisaTexture, 10);
  const TBitmap parent = PatternedParent(20, 20);
  TBitmap face = Filled(10, 10, 0xFFFFFF);
  TileMasked(face, {0, 0, 10, 10}, skin.Mask(t), BackgroundInfo::FromBitmap(&parent, 1, 1));
  EXPECT_EQ(face.Pixel(7, 7), 0x0000FF);
  EXPECT_EQ(face.Pixel(8, 0), parent.Pixel(9, 1));
  EXPECT_EQ(face.Pixel(0, 9), parent.Pixel(1, 10));
}

// The row-wise repetition (24-bit targets) and the tile-by-tile one (others) agree.
TEST(BorderMask, RepeatedSlicesMatchOnEveryDepth) {
  for (int maskType : {0, 1}) {
    TPaintSkin skin;
    // A 7 x 5 state image with every pixel different, holes on the diagonal, and a
    // mask band of varied greys below it.
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 7; ++x) {
        const TColor c = x == y ? kKey : static_cast<TColor>(RGB(static_cast<std::uint8_t>(30 * x), static_cast<std::uint8_t>(40 * y), 90));
        skin.Model.MasterBitmap->SetPixel(x, y, c);
        skin.Model.MasterBitmap->SetPixel(x, y + 5, static_cast<TColor>(y == 1 ? 0 : RGB(static_cast<std::uint8_t>(37 * (x + y)), static_cast<std::uint8_t>(37 * (x + y)), static_cast<std::uint8_t>(37 * (x + y)))));
      }
    const int b = skin.AddMask("PANEL", "BORDERSMASK", {0, 0, 7, maskType == 1 ? 10 : 5}, 1, maskType, TacImgType::itisaBorder, 4);
    TsMaskData& m = skin.Mask(b);
    m.WL = 2, m.WT = 1, m.WR = 2, m.WB = 2;
    TBitmap t24 = PatternedParent(33, 23);
    TBitmap t32 = t24;
    t32.SetPixelFormat(TPixelFormat::pf32bit);
    for (TBitmap* t : {&t24, &t32})
      DrawBorderMask(*t, {1, 2, 31, 21}, true, BackgroundInfo::FromColor(kKey), m, TacPaintState::Normal, false);
    for (int y = 0; y < 23; ++y)
      for (int x = 0; x < 33; ++x) ASSERT_EQ(t24.Pixel(x, y), t32.Pixel(x, y)) << maskType << " at " << x << "," << y;
  }
}

TEST(GlyphMask, AnOwnPictureSmallerThanTheRectangleFallsBackToTheMaster) {
  TPaintSkin skin;
  skin.FillMaster({0, 0, 4, 4}, 0x0000FF);
  const int g = skin.AddMask("GLOBALINFO", "GLYPH", {0, 0, 4, 4}, 1, 0, TacImgType::itisaGlyph);
  skin.Mask(g).Image = std::make_unique<TBitmap>(Filled(2, 2, 0x00FF00));
  TBitmap t = Filled(6, 6, 0);
  DrawGlyphMask(t, {1, 1}, TacPaintState::Normal, 0, skin.Mask(g), BackgroundInfo{});
  // From the master, half glyph and half target: round(255 - 0.5 * 255) = 128 (ties to even).
  EXPECT_EQ(t.Pixel(2, 2), RGB(128, 0, 0));
  skin.Mask(g).Image = std::make_unique<TBitmap>(Filled(4, 4, 0x00FF00));
  DrawGlyphMask(t, {1, 1}, TacPaintState::Normal, 0, skin.Mask(g), BackgroundInfo{});
  EXPECT_EQ(t.Pixel(2, 2), 0x00FF00);  // its own picture, copied
}

}  // namespace
