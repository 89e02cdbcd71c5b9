// Skinned group boxes: the caption band over the parent's pixels, the caption
// rectangle's clamping and offset, and background answers with and without a
// caption section of their own.
#include "tests/skincontrols/PanelTestKit.h"

#include "forms/CustomControl.h"

namespace {

class TPlainChild : public TCustomControl {
public:
  explicit TPlainChild(TComponent* owner) : TCustomControl(owner) {}
};

using GroupBoxTest = PanelTestBase;

TEST_F(GroupBoxTest, CaptionBandShowsTheGradientPanelBehindIt) {
  auto* panel = Add<TsPanel>(Form, 0, 0, 400, 260);
  auto* box = Add<TsGroupBox>(panel, 20, 30, 200, 100);
  box->SetCaption("Поиск");
  ShowForm();
  const TBitmap& face = *box->SkinData()->Cache();
  const TBitmap& behind = *panel->SkinData()->Cache();
  const TRect caption = box->CaptionRect();
  ASSERT_GT(caption.Height(), 4);
  // Above the frame line and beside the caption the band is the panel's image.
  const int frameTop = caption.Height() / 2;
  for (int y = 0; y < frameTop; ++y) {
    for (int x = 0; x < caption.Left; ++x) ASSERT_EQ(face.Pixel(x, y), behind.Pixel(20 + x, 30 + y)) << x << "," << y;
    for (int x = caption.Right; x < 200; ++x) ASSERT_EQ(face.Pixel(x, y), behind.Pixel(20 + x, 30 + y)) << x << "," << y;
  }
  // The frame line is drawn below it: somewhere on that row the face is not the panel.
  int differing = 0;
  for (int x = caption.Right; x < 200; ++x)
    for (int y = frameTop; y < frameTop + 3; ++y) differing += face.Pixel(x, y) != behind.Pixel(20 + x, 30 + y);
  EXPECT_GT(differing, 0);
  // And the window shows the face.
  EXPECT_EQ(FormPixel(box, 2, 2), face.Pixel(2, 2));
}

TEST_F(GroupBoxTest, LongCaptionClampsToTheBoxAndLayoutsPlaceIt) {
  auto* box = Add<TsGroupBox>(Form, 10, 10, 60, 80);
  box->SetCaption("Пароль администратора");
  ShowForm();
  TRect r = box->CaptionRect();
  EXPECT_EQ(r.Left, 6);
  EXPECT_EQ(r.Right, 60);
  box->SetCaption("Тест");
  box->SetCaptionLayout(clTopRight);
  r = box->CaptionRect();
  EXPECT_EQ(r.Right, r.Left + (r.Right - r.Left));
  EXPECT_LE(r.Right, 60);
  const int tw = r.Width() - 8;
  EXPECT_EQ(r.Left, std::max(0, 60 - tw - 14));
  box->SetCaptionLayout(clTopCenter);
  EXPECT_EQ(box->CaptionRect().Left, std::max(0, (60 - tw - 10) / 2));
}

TEST_F(GroupBoxTest, CaptionYOffsetMovesTheClientAreaAndTheBandDown) {
  auto* box = Add<TsGroupBox>(Form, 10, 10, 200, 120);
  box->SetCaption("Тест");
  auto* inside = Add<TPlainChild>(box, 0, 0, 10, 10);
  inside->SetAlign(alClient);
  ShowForm();
  const int top = inside->Top();
  const TRect band = box->CaptionRect();
  box->SetCaptionYOffset(10);
  EXPECT_EQ(inside->Top(), top + 10);
  EXPECT_EQ(box->CaptionRect().Bottom, band.Bottom + 10);
  EXPECT_EQ(box->CaptionRect().Top, band.Top);
  box->SetCaptionYOffset(-3);
  EXPECT_EQ(box->CaptionRect().Top, -3);
}

TEST_F(GroupBoxTest, ChildrenReachThePanelUnlessTheCaptionHasItsOwnSection) {
  auto* panel = Add<TsPanel>(Form, 0, 0, 400, 260);
  auto* box = Add<TsGroupBox>(panel, 20, 30, 200, 100);
  box->SetCaption("Поиск");
  auto* child = Add<TPlainChild>(box, 12, 40, 50, 20);
  ShowForm();
  TacBGInfo request;
  GetParentBackground(request, child, false);
  ASSERT_EQ(request.BgType, btCache);
  EXPECT_EQ(request.Bmp, panel->SkinData()->Cache());
  EXPECT_EQ(request.OffsetX, 20);
  EXPECT_EQ(request.OffsetY, 30);

  box->SetCaptionSkin("BAR");
  UpdateAllWindows();
  TacBGInfo own;
  GetParentBackground(own, child, false);
  ASSERT_EQ(own.BgType, btCache);
  EXPECT_EQ(own.Bmp, box->SkinData()->Cache());
  EXPECT_EQ(own.OffsetX, 0);
  EXPECT_EQ(own.OffsetY, 0);
}

}  // namespace

namespace {

TEST_F(GroupBoxTest, ARequestToDrawIsPassedOnAtTheAskersPlaceInTheParent) {
  auto* panel = Add<TsPanel>(Form, 0, 0, 400, 260);
  auto* box = Add<TsGroupBox>(panel, 20, 30, 200, 160);
  box->SetCaption("Поиск");
  auto* child = Add<TPlainChild>(box, 14, 98, 150, 22);
  ShowForm();
  TBitmap target(150, 22, TPixelFormat::pf24bit);
  target.Fill(0x123456);
  TacBGInfo request;
  request.DrawDC = &target.Canvas();
  request.OffsetX = child->Left();
  request.OffsetY = child->Top();
  request.R = {0, 0, 150, 22};
  GetParentBackground(request, child, true);
  EXPECT_EQ(request.BgType, btCache);
  const TBitmap& behind = *panel->SkinData()->Cache();
  for (int y = 0; y < 22; ++y)
    for (int x = 0; x < 150; ++x) ASSERT_EQ(target.Pixel(x, y), behind.Pixel(20 + 14 + x, 30 + 98 + y)) << x << "," << y;
}

}  // namespace

namespace {

TEST_F(GroupBoxTest, RightToLeftReadingMirrorsTheCaptionLayouts) {
  auto* box = Add<TsGroupBox>(Form, 10, 10, 200, 80);
  box->SetCaption("Тест");
  ShowForm();
  const int tw = box->CaptionRect().Width() - 8;
  ASSERT_GT(tw, 10);
  box->SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(box->CaptionRect().Left, 200 - tw - 14) << "the left layout sits right";
  box->SetCaptionLayout(clTopRight);
  EXPECT_EQ(box->CaptionRect().Left, 6) << "the right layout sits left";
  box->SetCaptionLayout(clTopCenter);
  EXPECT_EQ(box->CaptionRect().Left, (200 - tw - 10) / 2);
  box->SetBiDiMode(bdLeftToRight);
  box->SetCaptionLayout(clTopRight);
  EXPECT_EQ(box->CaptionRect().Left, 200 - tw - 14);
}

TEST_F(GroupBoxTest, ABandNarrowerThanTwoBevelsWidensByTheBevelOnEachSide) {
  auto* box = Add<TsGroupBox>(Form, 10, 10, 200, 80);
  box->SetCaption("Ш");
  ShowForm();
  const TRect plain = box->CaptionRect();
  box->SetBevelWidth(plain.Width() / 2);  // exactly two bevels wide: unchanged
  EXPECT_EQ(box->CaptionRect(), plain);
  box->SetBevelWidth(plain.Width() / 2 + 1);
  const int bw = box->BevelWidth();
  EXPECT_EQ(box->CaptionRect().Left, plain.Left - bw);
  EXPECT_EQ(box->CaptionRect().Right, plain.Right + bw);
}

// Behind the caption the CHECKBOX section is painted in the box's focus state.
TEST_F(GroupBoxTest, TheCaptionBackgroundTakesTheFocusedLook) {
  TsGeneralData& checkBox = *Manager->Section(Manager->SectionIndexOf("CHECKBOX"));
  checkBox.Transparency = checkBox.HotTransparency = 0;
  checkBox.Color = 0x00102030;
  checkBox.HotColor = 0x00C0D0E0;
  auto* panel = Add<TsPanel>(Form, 0, 0, 400, 260);
  auto* box = Add<TsGroupBox>(panel, 20, 30, 200, 100);
  box->SetCaption("Поиск");
  ShowForm();
  const TRect caption = box->CaptionRect();
  EXPECT_EQ(box->SkinData()->Cache()->Pixel(caption.Left + 1, caption.Top + 1), 0x00102030);
  box->SetFocus();
  Drain();
  ASSERT_TRUE(box->Focused());
  box->PrepareCache();
  EXPECT_EQ(box->SkinData()->Cache()->Pixel(caption.Left + 1, caption.Top + 1), 0x00C0D0E0);
}

}  // namespace
