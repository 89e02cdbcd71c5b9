#include "skin/controls/sButton.h"

#include "forms/CustomEdit.h"
#include "platform/win/VirtualKeys.h"
#include "skin/controls/sBitBtn.h"
#include "skin/controls/sSpeedButton.h"
#include "forms/CustomControl.h"
#include "platform/win/Paint.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/sBackground.h"
#include "tests/skincontrols/ButtonTestKit.h"
#include "tests/support/PictureParent.h"

namespace {

class ButtonTest : public ButtonTestBase {};

TEST_F(ButtonTest, HoverFadesTwentyFramesIntoTheWindowAndPressTen) {
  auto* edit = Add<TEdit>(20, 80, 100, 22);
  auto* b = Add<TsButton>(20, 20, 90, 28);
  b->SetCaption("Найти");
  ShowForm();
  edit->SetFocus();  // a focused button already looks hot
  Drain();
  UpdateAllWindows();
  EXPECT_EQ(b->SkinData()->SkinSection(), "BUTTON");
  ASSERT_GE(b->SkinData()->SkinIndex(), 0);
  const TColor normal = ScreenPixel(b, 45, 22);
  MoveTo(b, 45, 14);
  ASSERT_NE(b->FadeTimer(), nullptr);
  EXPECT_EQ(b->FadeTimer()->Iterations, 20);
  const TColor hot = b->SkinData()->Cache()->Pixel(45, 22);
  ASSERT_GT(ColourDistance(normal, hot), 10);
  int frames = 0, intermediate = 0;
  while (b->FadeTimer() && frames < 40) {
    Tick();
    ++frames;
    const TColor now = ScreenPixel(b, 45, 22);
    if (ColourDistance(now, normal) > 1 && ColourDistance(now, hot) > 1 && Between(now, normal, hot)) ++intermediate;
  }
  EXPECT_EQ(b->FadeTimer(), nullptr);
  EXPECT_GE(frames, 20);
  EXPECT_GE(intermediate, 10);
  EXPECT_LE(ColourDistance(ScreenPixel(b, 45, 22), hot), 1);
  EXPECT_EQ(b->PaintState(), TacPaintState::Hot);
  Backend->MouseDown(Screen(b, 45, 14));
  Drain();
  ASSERT_NE(b->FadeTimer(), nullptr);
  EXPECT_EQ(b->FadeTimer()->Iterations, 10);
  EXPECT_EQ(b->PaintState(), TacPaintState::Pressed);
  Tick(12);
  EXPECT_EQ(b->FadeTimer(), nullptr);
  Backend->MouseUp(Screen(b, 45, 14));
  Drain();
}

TEST_F(ButtonTest, AClickQuickerThanThePressFadeStillShowsThePressedFace) {
  auto* b = Add<TsButton>(20, 20, 90, 28);
  b->SetCaption("Выход");
  b->SetShowFocus(false);
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  ShowForm();
  MoveTo(b, 45, 14);
  Tick(25);
  const TBitmap hot = *b->SkinData()->Cache();
  Backend->MouseDown(Screen(b, 45, 14));
  Drain();
  Tick(12);
  const TBitmap pressed = *b->SkinData()->Cache();
  Backend->MouseUp(Screen(b, 45, 14));
  Drain();
  Tick(15);
  // A pixel where the two faces differ (the border darkens when pressed).
  TPoint probe{-1, -1};
  for (int y = 0; y < hot.Height() && probe.X < 0; ++y)
    for (int x = 0; x < hot.Width(); ++x)
      if (ColourDistance(hot.Pixel(x, y), pressed.Pixel(x, y)) > 20) {
        probe = {x, y};
        break;
      }
  ASSERT_GE(probe.X, 0);
  EXPECT_EQ(ScreenPixel(b, probe.X, probe.Y), hot.Pixel(probe.X, probe.Y));
  Backend->MouseDown(Screen(b, 45, 14));
  Drain();
  Tick(2);  // the press fade (10 steps) is far from done
  Backend->MouseUp(Screen(b, 45, 14));
  Drain();
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(b->PaintState(), TacPaintState::Pressed);
  EXPECT_EQ(ScreenPixel(b, probe.X, probe.Y), pressed.Pixel(probe.X, probe.Y));
  Tick(2);  // 20 ms: still pressed
  EXPECT_EQ(b->PaintState(), TacPaintState::Pressed);
  Tick(2);  // past 30 ms: the release fade back to the hot face
  EXPECT_EQ(b->PaintState(), TacPaintState::Hot);
  Tick(15);
  EXPECT_LE(ColourDistance(ScreenPixel(b, probe.X, probe.Y), hot.Pixel(probe.X, probe.Y)), 1);
}

TEST_F(ButtonTest, DefaultAnswersEnterAndCancelAnswersEscape) {
  auto* edit = Add<TEdit>(20, 80, 100, 22);
  auto* ok = Add<TsButton>(20, 20, 80, 26);
  auto* cancel = Add<TsButton>(110, 20, 80, 26);
  ok->SetDefault(true);
  ok->SetModalResult(mrOk);
  cancel->SetCancel(true);
  int okClicks = 0, cancelClicks = 0;
  ok->OnClick = [&](TObject*) { ++okClicks; };
  cancel->OnClick = [&](TObject*) { ++cancelClicks; };
  ShowForm();
  edit->SetFocus();
  Drain();
  UpdateAllWindows();
  EXPECT_EQ(ok->PaintState(), TacPaintState::Hot);  // the default button looks hot while Enter presses it
  EXPECT_EQ(cancel->PaintState(), TacPaintState::Normal);
  Backend->Key(VK_RETURN);
  Drain();
  EXPECT_EQ(okClicks, 1);
  EXPECT_EQ(Form->ModalResult(), mrOk);
  Backend->Key(VK_ESCAPE);
  Drain();
  EXPECT_EQ(cancelClicks, 1);
  cancel->SetFocus();
  Drain();
  EXPECT_EQ(ok->PaintState(), TacPaintState::Normal);  // Enter now presses the focused button
  EXPECT_EQ(cancel->PaintState(), TacPaintState::Hot);
}

TEST_F(ButtonTest, ADisabledButtonIsBlendedWithWhatLiesBehind) {
  auto* edit = Add<TEdit>(20, 80, 100, 22);
  auto* b = Add<TsButton>(20, 20, 90, 28);
  b->SetCaption("Удалить");
  ShowForm();
  edit->SetFocus();  // the button shows its normal face
  Drain();
  UpdateAllWindows();
  ASSERT_EQ(b->PaintState(), TacPaintState::Normal);
  const TBitmap enabled = *b->SkinData()->Cache();
  b->SetEnabled(false);
  Drain();
  UpdateAllWindows();
  const TColor parent = ColorToRGB(Form->Color());
  const TColor face = enabled.Pixel(45, 14), disabled = b->SkinData()->Cache()->Pixel(45, 14);
  for (int i = 0; i < 3; ++i)
    EXPECT_NEAR(Channel(disabled, i), (Channel(face, i) + Channel(parent, i)) / 2, 2) << "channel " << i;
  EXPECT_EQ(ScreenPixel(b, 45, 14), disabled);
  MoveTo(b, 45, 14);
  EXPECT_EQ(b->FadeTimer(), nullptr);  // no hover look while disabled
}

TEST(ButtonLayoutTest, BitButtonGlyphAndCaptionPositions) {
  // 75 pixels wide, Margin -1, Spacing 4, an 18-pixel cell and a caption 20 pixels wide.
  TacGlyphBoundsInput in;
  in.Width = 75;
  in.Height = 25;
  in.GlyphWidth = in.GlyphHeight = 18;
  in.TextWidth = 20;
  in.TextHeight = 13;
  in.HasCaption = true;
  TacGlyphTextLayout text = LayoutGlyphAndText({0, 0, 75, 25}, {18, 18}, {20, 13}, blGlyphLeft, taCenter, -1, 4, false);
  EXPECT_EQ(ButtonGlyphBounds(in).Left, 16);
  EXPECT_EQ(text.TextRect.Left, 38);
  in.Pressed = true;
  EXPECT_EQ(ButtonGlyphBounds(in).Left, 17);
  in.Pressed = false;
  in.Alignment = taLeftJustify;
  text = LayoutGlyphAndText({0, 0, 75, 25}, {18, 18}, {20, 13}, blGlyphLeft, taLeftJustify, -1, 4, false);
  EXPECT_EQ(ButtonGlyphBounds(in).Left, 0);
  EXPECT_EQ(text.TextRect.Left, 24);
  // Right to left: the glyph goes to the right of the caption.
  text = LayoutGlyphAndText({0, 0, 75, 25}, {18, 18}, {20, 13}, blGlyphLeft, taCenter, -1, 4, true);
  EXPECT_EQ(text.TextRect.Left, 16);
  EXPECT_EQ(text.GlyphPos.X, 40);
}

TEST_F(ButtonTest, BitButtonKindsDrawTheFirstCellOfTheirGlyphInEveryState) {
  auto* ok = Add<TsBitBtn>(20, 20, 90, 28);
  auto* cancel = Add<TsBitBtn>(120, 20, 90, 28);
  ok->SetKind(bkOK);
  cancel->SetKind(bkCancel);
  ShowForm();
  EXPECT_EQ(ok->Caption(), "OK");
  EXPECT_EQ(ok->ModalResult(), mrOk);
  EXPECT_TRUE(cancel->Cancel());
  EXPECT_EQ(ok->LastGlyphRect().Width(), 18);
  auto markPixels = [](TsBitBtn* b, TColor colour) {
    const TBitmap& face = *b->SkinData()->Cache();
    const TRect r = b->LastGlyphRect();
    TBitmap part(r.Width(), r.Height(), TPixelFormat::pf24bit);
    part.Canvas().DrawBitmap(0, 0, face, r);
    return CountNear(part, colour, 30);
  };
  const TColor lime = 0x00FF00, red = 0x0000FF;
  EXPECT_GT(markPixels(ok, lime), 5);
  EXPECT_GT(markPixels(cancel, red), 5);
  MoveTo(ok, 45, 14);
  Tick(25);
  EXPECT_EQ(ok->PaintState(), TacPaintState::Hot);
  EXPECT_GT(markPixels(ok, lime), 5);
  Backend->MouseDown(Screen(ok, 45, 14));
  Drain();
  Tick(12);
  EXPECT_EQ(ok->PaintState(), TacPaintState::Pressed);
  EXPECT_GT(markPixels(ok, lime), 5);
  Backend->MouseUp(Screen(ok, 45, 14));
  Drain();
  Tick(25);
  // Disabled, the whole face is blended half and half with the plain form: the mark turns pale.
  ok->SetEnabled(false);
  Drain();
  UpdateAllWindows();
  const TColor form = ColorToRGB(Form->Color());
  const TColor paleLime = static_cast<TColor>((Channel(form, 0) / 2) | ((Channel(form, 1) + 255) / 2) << 8 |
                                              (Channel(form, 2) / 2) << 16);
  EXPECT_EQ(markPixels(ok, lime), 0);
  EXPECT_GT(markPixels(ok, paleLime), 5);
}

}  // namespace

namespace {

TEST_F(ButtonTest, KeyColouredCornerPixelsAreLeftOutOfTheWindow) {
  auto* b = Add<TsButton>(20, 20, 90, 28);
  b->SetCaption("Результат");
  ShowForm();
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(b->Handle(), region), 0);
  // The internal skin's button border has one key pixel in each outer corner.
  EXPECT_FALSE(PtInRegion(region, 0, 0));
  EXPECT_FALSE(PtInRegion(region, 89, 27));
  EXPECT_TRUE(PtInRegion(region, 1, 1));
  EXPECT_TRUE(PtInRegion(region, 45, 0));
  EXPECT_TRUE(PtInRegion(region, 45, 14));
  DeleteObject(region);
  // The form shows through the holes.
  EXPECT_EQ(ScreenPixel(b, 0, 0), ColorToRGB(Form->Color()));
  EXPECT_EQ(ScreenPixel(b, 89, 0), ColorToRGB(Form->Color()));
  // Shrunk, the button gets a region of its new size and the form paints what it left.
  b->SetBounds(20, 20, 60, 24);
  Drain();
  UpdateAllWindows();
  region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(b->Handle(), region), 0);
  EXPECT_FALSE(PtInRegion(region, 59, 23));
  EXPECT_TRUE(PtInRegion(region, 58, 22));
  DeleteObject(region);
  EXPECT_EQ(ScreenPixel(b, 85, 14), ColorToRGB(Form->Color()));
  // Without the skin the window is whole again.
  Manager->SetActive(false);
  Drain();
  region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(b->Handle(), region), 0);
  DeleteObject(region);
}

}  // namespace

namespace {

// The tester rebuilds its buttons; a button freed in the middle of a fade takes its fade with it.
TEST_F(ButtonTest, ButtonsFreedWhileFadingLeaveNoTimerBehind) {
  auto* edit = Add<TEdit>(20, 120, 100, 22);
  auto* pushed = Add<TsButton>(20, 20, 90, 28);
  auto* speed = Add<TsSpeedButton>(20, 60, 90, 28);
  ShowForm();
  edit->SetFocus();
  Drain();
  MoveTo(pushed, 45, 14);
  Tick(2);
  ASSERT_NE(pushed->FadeTimer(), nullptr);
  delete pushed;
  MoveTo(speed, 45, 14);
  Tick(2);
  ASSERT_NE(speed->FadeTimer(), nullptr);
  delete speed;
  Tick(30);
  MoveTo(edit, 10, 10);
  Tick(5);
  EXPECT_EQ(Form->ControlCount(), 1);
}

}  // namespace

namespace {

// The click handler may open a modal window: by then the face must already be on its
// way back, built from the released look.
TEST_F(ButtonTest, OnReleaseTheFaceFadesBackBeforeTheFrameworksClick) {
  auto* b = Add<TsButton>(20, 20, 90, 28);
  b->SetCaption("Выход");
  b->SetShowFocus(false);
  bool fadingAtClick = false;
  TacPaintState stateAtClick = TacPaintState::Normal;
  TBitmap faceAtClick;
  b->OnClick = [&](TObject*) {
    fadingAtClick = b->FadeTimer() && b->FadeTimer()->Running() != 0;
    stateAtClick = b->PaintState();
    faceAtClick.Assign(*b->SkinData()->Cache());
  };
  ShowForm();
  MoveTo(b, 45, 14);
  Tick(25);
  const TBitmap hot = *b->SkinData()->Cache();
  Backend->MouseDown(Screen(b, 45, 14));
  Drain();
  Tick(12);  // the press fade is over
  ASSERT_EQ(b->FadeTimer(), nullptr);
  const TBitmap pressed = *b->SkinData()->Cache();
  Backend->MouseUp(Screen(b, 45, 14));
  Drain();
  EXPECT_TRUE(fadingAtClick);
  EXPECT_EQ(stateAtClick, TacPaintState::Hot);
  ASSERT_EQ(faceAtClick.Width(), hot.Width());
  int likeHot = 0, likePressed = 0;
  for (int y = 0; y < hot.Height(); ++y)
    for (int x = 0; x < hot.Width(); ++x)
      if (ColourDistance(hot.Pixel(x, y), pressed.Pixel(x, y)) > 20) {
        likeHot += faceAtClick.Pixel(x, y) == hot.Pixel(x, y) ? 1 : 0;
        likePressed += faceAtClick.Pixel(x, y) == pressed.Pixel(x, y) ? 1 : 0;
      }
  EXPECT_GT(likeHot, 20);
  EXPECT_EQ(likePressed, 0);
  Tick(12);
  EXPECT_EQ(ScreenPixel(b, 45, 3), hot.Pixel(45, 3));
}

// A parent that answers background requests with a plain picture and counts them.
TBitmap PlainParentPicture() {
  TBitmap picture(300, 200, TPixelFormat::pf24bit);
  picture.Fill(0x00407080);
  return picture;
}

// Every window paint of a push button refreshes its corners over the parent (a second
// background request after the one the face is built from), and the holes show it.
TEST_F(ButtonTest, EveryWindowPaintRefreshesThePushButtonsCorners) {
  auto* parent = new TPictureParent(Form, PlainParentPicture());
  parent->SetBounds(0, 0, 300, 200);
  parent->SetParent(Form);
  auto* b = Add<TsButton>(20, 20, 90, 28, parent);
  b->SetCaption("Найти");
  ShowForm();
  ASSERT_GE(b->RenderCount(), 1);
  const int requests = parent->Requests;
  const int renders = b->RenderCount();
  RedrawWindow(b->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Drain();
  EXPECT_EQ(b->RenderCount(), renders + 1);
  EXPECT_EQ(parent->Requests - requests, 2);
  const std::vector<TPoint> holes = CornerHoles(*Manager, b->SkinData()->BorderIndex(), 90, 28, b->PaintState());
  ASSERT_FALSE(holes.empty());
  for (TPoint p : holes) EXPECT_EQ(b->SkinData()->Cache()->Pixel(p.X, p.Y), 0x00407080) << p.X << "," << p.Y;
}

}  // namespace
