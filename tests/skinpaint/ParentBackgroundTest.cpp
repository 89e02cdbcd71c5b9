// What lies behind a control: the request to the parent (command 34), colour
// answers, parents without a window, and corners refreshed over the parent.
#include "tests/skinpaint/FadeTestKit.h"
#include "tests/skinpaint/PaintTestSkin.h"

#include "forms/GraphicControl.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/SystemColors.h"
#include "skin/paint/acMaskPaint.h"
#include "tests/support/PictureParent.h"

namespace {


TEST_F(FadeTest, FullyTransparentSectionShowsThePicturedParentExactly) {
  TFadeButton* b = Build("TRANSPARENCY=100");
  auto* parent = new TPictureParent(Form, PatternedParent(200, 120), {2, 3});
  parent->SetBounds(0, 0, 200, 120);
  parent->SetParent(Form);
  b->SetParent(parent);
  b->SetBounds(11, 13, 40, 20);
  b->RebuildFace();
  EXPECT_EQ(parent->Requests, 1);
  const TBitmap& face = *b->Data.Cache();
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(face.Pixel(x, y), parent->Picture.Pixel(2 + 11 + x, 3 + 13 + y));
}

TEST_F(FadeTest, AParentThatKnowsNothingOfSkinsAnswersWithItsColour) {
  TFadeButton* b = Build("TRANSPARENCY=100");
  Form->SetColor(0x336699);
  TacBGInfo request;
  EXPECT_FALSE(GetParentBackground(request, b, false));
  EXPECT_EQ(request.BgType, btFill);
  EXPECT_EQ(request.Color, 0x336699);
  b->RebuildFace();
  EXPECT_EQ(b->Data.Cache()->Pixel(4, 4), 0x336699);

  TacBGInfo none;
  auto* orphan = new TFadeButton(Form);
  EXPECT_FALSE(GetParentBackground(none, orphan, false));
  EXPECT_EQ(none.Color, kKey);
  EXPECT_EQ(ControlColor(nullptr), kKey);
}

TEST_F(FadeTest, HalfTransparentSectionOverThePicturedParent) {
  TFadeButton* b = Build("TRANSPARENCY=50");
  auto* parent = new TPictureParent(Form, PatternedParent(200, 120), {2, 3});
  parent->SetBounds(0, 0, 200, 120);
  parent->SetParent(Form);
  parent->Picture.Fill(0xFFFFFF);
  b->SetParent(parent);
  b->RebuildFace();
  // Red 255 over white: the parent keeps 127 of 255 in every channel.
  EXPECT_EQ(b->Data.Cache()->Pixel(7, 7), RGB(254, 127, 127));
}

TEST_F(FadeTest, RefreshCornersPutsTheParentUnderKeyPixels) {
  TFadeButton* b = Build("");
  auto* parent = new TPictureParent(Form, PatternedParent(200, 120), {2, 3});
  parent->SetBounds(0, 0, 200, 120);
  parent->SetParent(Form);
  b->SetParent(parent);
  b->SetBounds(11, 13, 40, 20);
  // A 3-state border of the master whose top-left pixel is a hole.
  Manager->MasterBitmap = std::make_unique<TBitmap>(12, 4, TPixelFormat::pf24bit);
  Manager->MasterBitmap->Fill(0x00FF00);
  Manager->MasterBitmap->SetPixel(0, 0, kKey);
  TsMaskData mask;
  mask.Manager = Manager.get();
  mask.Right = 12;
  mask.Bottom = 4;
  mask.ImageCount = 3;
  mask.WL = mask.WT = mask.WR = mask.WB = 1;
  b->Data.SetBorderIndex(Manager->AddMask(std::move(mask)));
  b->RebuildFace();
  EXPECT_EQ(b->Data.Cache()->Pixel(0, 0), 0x0000FF);  // painted without updating corners: the face's red
  EXPECT_EQ(b->Data.Cache()->Pixel(1, 0), 0x00FF00);
  RefreshCorners(b->Data, TacPaintState::Normal, kCornerTopLeft);
  EXPECT_EQ(b->Data.Cache()->Pixel(0, 0), parent->Picture.Pixel(2 + 11, 3 + 13));
  EXPECT_EQ(b->Data.Cache()->Pixel(1, 0), 0x00FF00);
  // Through the skin data's hook, as cache copies call it.
  b->RebuildFace();
  ASSERT_NE(TsCommonData::RefreshCornersHook(), nullptr);
  TsCommonData::RefreshCornersHook()(b->Data, TacPaintState::Normal);
  EXPECT_EQ(b->Data.Cache()->Pixel(0, 0), parent->Picture.Pixel(2 + 11, 3 + 13));
}

TEST_F(FadeTest, DisabledLookBlendsWithTheParentOrItsColour) {
  TFadeButton* b = Build("");
  TBitmap face = Filled(10, 10, 0x000000);
  const TBitmap parent = Filled(40, 40, 0xFFFFFF);
  PaintDisabledLook(face, kDisabledBlend, b, {5, 5}, BackgroundInfo::FromBitmap(&parent, 0, 0));
  EXPECT_EQ(face.Pixel(3, 3), RGB(153, 153, 153));  // round(0 - 0.6 * (0 - 255))
  Form->SetColor(0x0000FE);
  face = Filled(10, 10, 0x000000);
  PaintDisabledLook(face, kDisabledBlend, b, {}, BackgroundInfo::FromColor(kKey));
  EXPECT_EQ(face.Pixel(3, 3), RGB(127, 0, 0));  // half of the parent's 254
  face = Filled(10, 10, RGB(30, 60, 90));
  PaintDisabledLook(face, kDisabledGray, b, {}, BackgroundInfo::FromColor(kKey));
  EXPECT_EQ(face.Pixel(3, 3), RGB(60, 60, 60));
}

}  // namespace

namespace {

TEST_F(FadeTest, BorderOnlyPaintsTheBandAndReturnsTheInside) {
  TFadeButton* b = Build("");
  Manager->MasterBitmap = std::make_unique<TBitmap>(6, 6, TPixelFormat::pf24bit);
  Manager->MasterBitmap->Fill(0x00FF00);
  TsMaskData mask;
  mask.Manager = Manager.get();
  mask.Right = 6;
  mask.Bottom = 6;
  mask.ImageCount = 1;
  mask.WL = mask.WT = mask.WR = mask.WB = 2;
  b->Data.SetBorderIndex(Manager->AddMask(std::move(mask)));
  b->Data.EnsureCache();
  b->Data.Cache()->Fill(0);
  const TRect inner = PaintBorderOnly(nullptr, {0, 0, 40, 20}, 4, TacPaintState::Normal, b->Data);
  EXPECT_EQ(inner, (TRect{4, 4, 36, 16}));
  const TBitmap& cache = *b->Data.Cache();
  EXPECT_EQ(cache.Pixel(0, 0), 0x00FF00);   // the border
  EXPECT_EQ(cache.Pixel(3, 3), ColorToRGB(b->Data.GetColor(false)));  // the band up to the width
  EXPECT_EQ(cache.Pixel(20, 10), 0);        // the inside is left to the control
  // Without a border mask the band goes straight to the context.
  b->Data.SetBorderIndex(-1);
  TBitmap screen = Filled(40, 20, 0);
  TDeviceContext dc(screen);
  EXPECT_EQ(PaintBorderOnly(&dc, {0, 0, 40, 20}, 3, TacPaintState::Normal, b->Data), (TRect{0, 0, 40, 20}));
  EXPECT_EQ(screen.Pixel(2, 10), ColorToRGB(b->Data.GetColor(false)));
  EXPECT_EQ(screen.Pixel(3, 10), 0);
}

}  // namespace
