#include "skin/controls/sSpeedButton.h"

#include "forms/DriverProperties.h"
#include "skin/controls/sPanel.h"
#include "skin/core/sGeneralData.h"
#include "skin/runtime/acGlowEffects.h"
#include "tests/skincontrols/ButtonTestKit.h"

namespace {

class SpeedButtonTest : public ButtonTestBase {};

TEST_F(SpeedButtonTest, BindsToTheSpeedButtonSectionOfTheInternalSkin) {
  auto* b = Add<TsSpeedButton>(20, 20, 100, 30);
  b->SetCaption("Теория");
  ShowForm();
  ASSERT_NE(b->SkinData(), nullptr);
  EXPECT_EQ(b->SkinData()->SkinSection(), "SPEEDBUTTON");
  EXPECT_GE(b->SkinData()->SkinIndex(), 0);
  EXPECT_EQ(TDriverProperties::Read(*b, "SkinSection").value_or(""), "SPEEDBUTTON");
  EXPECT_EQ(b->RenderCount(), 1);
}

}  // namespace

namespace {

TEST_F(SpeedButtonTest, HoverFadesThroughIntermediateFramesToTheHotFace) {
  auto* b = Add<TsSpeedButton>(20, 20, 100, 30);
  b->SetCaption("Теория");
  ShowForm();
  const TBitmap normal = *b->SkinData()->Cache();
  const TColor normalPixel = ScreenPixel(b, 50, 4);
  MoveTo(b, 50, 15);
  ASSERT_NE(b->FadeTimer(), nullptr);
  EXPECT_EQ(b->FadeTimer()->Iterations, 20);
  EXPECT_EQ(b->PaintState(), TacPaintState::Hot);
  const TBitmap hot = *b->SkinData()->Cache();
  const TColor hotPixel = hot.Pixel(50, 4);
  ASSERT_GT(ColourDistance(normal.Pixel(50, 4), hotPixel), 20);
  int intermediate = 0, frames = 0;  // frames seen on screen while the fade runs
  TColor last = ScreenPixel(b, 50, 4);
  while (b->FadeTimer() && frames < 40) {
    if (ColourDistance(last, normalPixel) > 2 && ColourDistance(last, hotPixel) > 2 && Between(last, normalPixel, hotPixel))
      ++intermediate;
    Tick();
    ++frames;
    last = ScreenPixel(b, 50, 4);
  }
  EXPECT_EQ(b->FadeTimer(), nullptr);
  EXPECT_GE(intermediate, 15);
  EXPECT_EQ(frames, 20);
  EXPECT_LE(ColourDistance(ScreenPixel(b, 50, 4), hotPixel), 1);
  Backend->MouseDown(Screen(b, 50, 15));
  Drain();
  ASSERT_NE(b->FadeTimer(), nullptr);
  EXPECT_EQ(b->FadeTimer()->Iterations, 10);
  EXPECT_EQ(b->PaintState(), TacPaintState::Pressed);
  Tick(12);
}

}  // namespace

namespace {

TEST_F(SpeedButtonTest, PressingAGroupButtonReleasesTheOtherAndBothFacesChange) {
  auto* a = Add<TsSpeedButton>(20, 20, 80, 30);
  auto* b = Add<TsSpeedButton>(110, 20, 80, 30);
  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  a->SetCaption("Тест");
  b->SetCaption("Итоги");
  ShowForm();
  Backend->Click(Screen(a, 40, 15));
  Drain();
  Tick(25);
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(a->PaintState(), TacPaintState::Pressed);
  const TColor pressed = a->SkinData()->Cache()->Pixel(40, 5);
  const int aRenders = a->RenderCount();
  Backend->Click(Screen(b, 40, 15));
  Drain();
  Tick(25);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  EXPECT_EQ(a->PaintState(), TacPaintState::Normal);
  EXPECT_EQ(b->PaintState(), TacPaintState::Pressed);
  EXPECT_GT(a->RenderCount(), aRenders);  // the released button rebuilt its face
  EXPECT_GT(ColourDistance(ScreenPixel(a, 40, 5), pressed), 20);
  EXPECT_LE(ColourDistance(ScreenPixel(b, 40, 5), pressed), 1);
  EXPECT_LE(ColourDistance(ScreenPixel(a, 40, 5), Form->Color()), 1);  // see-through again
}

TEST_F(SpeedButtonTest, RepaintsReuseTheCacheUntilSomethingMarksItDirty) {
  auto* b = Add<TsSpeedButton>(20, 20, 100, 30);
  b->SetCaption("Видео");
  ShowForm();
  const int built = b->RenderCount();
  for (int i = 0; i < 3; ++i) {
    Form->Invalidate();
    UpdateAllWindows();
    Drain();
  }
  EXPECT_EQ(b->RenderCount(), built);
  b->SetCaption("Практика");
  Drain();
  UpdateAllWindows();
  EXPECT_EQ(b->RenderCount(), built + 1);
  b->Font().SetSize(b->Font().Size() + 4);
  Drain();
  UpdateAllWindows();
  EXPECT_EQ(b->RenderCount(), built + 2);
  Form->Invalidate();
  UpdateAllWindows();
  EXPECT_EQ(b->RenderCount(), built + 2);
}

// The tester's answer buttons: 30 x 30, bold, captions "1" ... "5".
TEST_F(SpeedButtonTest, AnswerButtonCaptionsUseTheSectionFontColourUnlessCustomFont) {
  TsSpeedButton* answers[5];
  for (int i = 0; i < 5; ++i) {
    answers[i] = Add<TsSpeedButton>(20 + 40 * i, 20, 30, 30);
    answers[i]->SetCaption(std::to_string(i + 1));
    answers[i]->Font().SetStyle({fsBold});
    answers[i]->Font().SetColor(clRed);
  }
  ShowForm();
  const TsGeneralData* section = answers[0]->SkinData()->Section();
  ASSERT_NE(section, nullptr);
  const TColor skinText = ColorToRGB(section->FontColor[0]);
  ASSERT_GT(ColourDistance(skinText, 0x0000FF), 100);
  for (TsSpeedButton* b : answers) {
    const TBitmap& face = *b->SkinData()->Cache();
    EXPECT_EQ(CountNear(face, 0x0000FF, 40), 0) << b->Caption();
    EXPECT_GT(CountNear(face, skinText, 40), 3) << b->Caption();
  }
  answers[2]->SkinData()->SetCustomFont(true);
  answers[2]->SkinData()->Invalidate();
  Drain();
  UpdateAllWindows();
  EXPECT_GT(CountNear(*answers[2]->SkinData()->Cache(), 0x0000FF, 40), 3);
  // Hot: the section's hot font colour.
  MoveTo(answers[0], 15, 15);
  Tick(25);
  EXPECT_GT(CountNear(*answers[0]->SkinData()->Cache(), ColorToRGB(section->HotFontColor[0]), 40), 3);
}

TEST_F(SpeedButtonTest, ADisabledButtonIsHalfMixedWithAPlainParent) {
  auto* b = Add<TsSpeedButton>(20, 20, 100, 30);
  b->SetCaption("Выход");
  ShowForm();
  const TBitmap enabled = *b->SkinData()->Cache();
  const TColor parent = ColorToRGB(Form->Color());
  // A pixel of the face that differs clearly from the form (caption or border).
  TPoint probe{-1, -1};
  for (int y = 0; y < enabled.Height() && probe.X < 0; ++y)
    for (int x = 0; x < enabled.Width(); ++x)
      if (ColourDistance(enabled.Pixel(x, y), parent) > 80) {
        probe = {x, y};
        break;
      }
  ASSERT_GE(probe.X, 0);
  b->SetEnabled(false);
  Drain();
  UpdateAllWindows();
  const TColor face = enabled.Pixel(probe.X, probe.Y);
  const TColor disabled = b->SkinData()->Cache()->Pixel(probe.X, probe.Y);
  for (int i = 0; i < 3; ++i)
    EXPECT_NEAR(Channel(disabled, i), (Channel(face, i) + Channel(parent, i)) / 2, 2) << "channel " << i;
  EXPECT_EQ(ScreenPixel(b, probe.X, probe.Y), disabled);
}

TEST_F(SpeedButtonTest, LeavingForANeighbourLeavesOnlyTheNeighbourHot) {
  auto* a = Add<TsSpeedButton>(20, 20, 80, 30);
  auto* b = Add<TsSpeedButton>(100, 20, 80, 30);
  ShowForm();
  MoveTo(a, 40, 15);
  Tick(3);
  MoveTo(b, 10, 15);
  Tick(25);
  EXPECT_FALSE(a->SkinData()->MouseAbove());
  EXPECT_EQ(a->PaintState(), TacPaintState::Normal);
  EXPECT_EQ(b->PaintState(), TacPaintState::Hot);
  EXPECT_EQ(a->FadeTimer(), nullptr);
}

TEST_F(SpeedButtonTest, AnInterruptedFadeGoesBackFromWhereItStood) {
  auto* b = Add<TsSpeedButton>(20, 20, 100, 30);
  ShowForm();
  MoveTo(b, 50, 15);
  Tick(5);
  ASSERT_NE(b->FadeTimer(), nullptr);
  const int level = b->FadeTimer()->Level;  // 1 shown at once, then one per tick
  EXPECT_EQ(level, 7);
  MoveTo(b, 50, 100);  // out, onto the form
  ASSERT_NE(b->FadeTimer(), nullptr);
  EXPECT_EQ(b->FadeTimer()->Iterations, 20);
  // It starts with as many steps done as the first fade had left, then runs to the end.
  EXPECT_EQ(b->FadeTimer()->Level, 20 - level + 1);
  int frames = 0;
  while (b->FadeTimer() && frames < 40) {
    Tick();
    ++frames;
  }
  EXPECT_EQ(frames, level + 1);  // from the step it started at to the end, then the tick that ends it
  EXPECT_EQ(ScreenPixel(b, 50, 4), ColorToRGB(Form->Color()));
}

TEST_F(SpeedButtonTest, PropertiesThatChangeTheLook) {
  auto* b = Add<TsSpeedButton>(20, 20, 100, 30);
  b->SetCaption("Лекции");
  ShowForm();
  b->SetBlend(150);
  EXPECT_EQ(b->Blend(), 100);
  b->SetBlend(-5);
  EXPECT_EQ(b->Blend(), 0);
  b->SetShowCaption(false);
  EXPECT_EQ(b->Caption(), "");
  b->SetShowCaption(true);
  EXPECT_EQ(b->Caption(), "Лекции");
  const int renders = b->RenderCount();
  b->SetButtonStyle(tbsDropDown);
  EXPECT_EQ(b->Width(), 116);
  EXPECT_GT(b->RenderCount(), renders);
  b->SetButtonStyle(tbsButton);
  EXPECT_EQ(b->Width(), 100);
  // A look property set to the value it has leaves the face as it is.
  const int before = b->RenderCount();
  b->SetGrayed(true);
  const int grayed = b->RenderCount();
  EXPECT_GT(grayed, before);
  b->SetGrayed(true);
  b->SetTextOffset(0);
  EXPECT_EQ(b->RenderCount(), grayed);
}

TEST_F(SpeedButtonTest, ABigGlyphIsCentredAndClipped) {
  auto* b = Add<TsSpeedButton>(20, 20, 201, 49);
  TBitmap glyph(225, 93, TPixelFormat::pf24bit);
  glyph.Fill(0x0000FF);
  glyph.SetPixel(0, 92, 0x00FF00);  // the bottom-left pixel is the transparent colour
  b->SetGlyph(glyph);
  ShowForm();
  TRect r;
  b->GlyphBounds(r);
  EXPECT_EQ(r.Left, -12);
  EXPECT_EQ(r.Top, -22);
  EXPECT_EQ(r.Width(), 225);
  // The whole face shows the glyph's colour, nothing drawn outside the cache.
  EXPECT_EQ(b->SkinData()->Cache()->Pixel(100, 24), 0x0000FFu);
}

TEST_F(SpeedButtonTest, TheHandCursorShowsWhereTheWindowAsksForIt) {
  auto* b = Add<TsSpeedButton>(20, 20, 100, 30);
  b->SetCursor(crHandPoint);
  ShowForm();
  MoveTo(b, 50, 15);
  EXPECT_EQ(Backend->Cursor(), TCursorShape::Hand);
  MoveTo(b, 50, 100);
  EXPECT_EQ(Backend->Cursor(), TCursorShape::Arrow);
}

}  // namespace

namespace {

// Buttons made at run time (the tester's) and a skin switched off and on again.
TEST_F(SpeedButtonTest, RunTimeButtonsFollowTheSkinOffAndOn) {
  ShowForm();
  auto* b = Add<TsSpeedButton>(20, 20, 70, 30);
  b->SetCaption("1");
  auto* plain = Add<TSpeedButton>(120, 20, 70, 30);
  plain->SetCaption("1");
  Drain();
  UpdateAllWindows();
  EXPECT_GE(b->SkinData()->SkinIndex(), 0);
  EXPECT_EQ(b->RenderCount(), 1);
  EXPECT_TRUE(b->ControlStyle().Contains(csOpaque));
  Manager->SetActive(false);
  Drain();
  UpdateAllWindows();
  EXPECT_LT(b->SkinData()->SkinIndex(), 0);
  EXPECT_FALSE(b->ControlStyle().Contains(csOpaque));
  // The framework's own face, pixel for pixel.
  const TBitmap desk = Backend->Desktop();
  const TPoint at = Screen(b, 0, 0), plainAt = Screen(plain, 0, 0);
  int differing = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 70; ++x)
      if (desk.Pixel(at.X + x, at.Y + y) != desk.Pixel(plainAt.X + x, plainAt.Y + y)) ++differing;
  EXPECT_EQ(differing, 0);
  const int renders = b->RenderCount();
  Manager->SetActive(true);
  Drain();
  UpdateAllWindows();
  EXPECT_GE(b->SkinData()->SkinIndex(), 0);
  EXPECT_GT(b->RenderCount(), renders);
  EXPECT_EQ(ScreenPixel(b, 35, 25), ColorToRGB(Form->Color()));  // see-through skinned face
}

}  // namespace

namespace {

TEST_F(SpeedButtonTest, ADisabledButtonOnAGradientPanelShowsSixtyPercentPanel) {
  auto* panel = Add<TsPanel>(0, 0, 300, 120);
  auto* b = Add<TsSpeedButton>(30, 40, 120, 32, panel);
  b->SetCaption("Тестирование");
  ShowForm();
  ASSERT_TRUE(panel->UsesCache());
  const TBitmap enabled = *b->SkinData()->Cache();
  const TBitmap& behind = *panel->SkinData()->Cache();
  TPoint probe{-1, -1};
  for (int y = 0; y < enabled.Height() && probe.X < 0; ++y)
    for (int x = 0; x < enabled.Width(); ++x)
      if (ColourDistance(enabled.Pixel(x, y), behind.Pixel(30 + x, 40 + y)) > 80) {
        probe = {x, y};
        break;
      }
  ASSERT_GE(probe.X, 0);
  b->SetEnabled(false);
  Drain();
  UpdateAllWindows();
  const TColor face = enabled.Pixel(probe.X, probe.Y), under = behind.Pixel(30 + probe.X, 40 + probe.Y);
  const TColor disabled = b->SkinData()->Cache()->Pixel(probe.X, probe.Y);
  for (int i = 0; i < 3; ++i)
    EXPECT_NEAR(Channel(disabled, i), 0.6 * Channel(under, i) + 0.4 * Channel(face, i), 2) << "channel " << i;
  EXPECT_EQ(ScreenPixel(b, probe.X, probe.Y), disabled);
}

}  // namespace

namespace {

TEST_F(SpeedButtonTest, OnlyTheEventsAskedForFadeAndOnPaintSeesEveryFace) {
  auto* b = Add<TsSpeedButton>(20, 20, 100, 30);
  b->SetAnimatEvents({aeMouseDown});
  int painted = 0;
  TColor lastCorner = 0;
  b->OnPaint = [&](TObject* sender, TBitmap& face) {
    EXPECT_EQ(sender, b);
    ++painted;
    lastCorner = face.Pixel(50, 4);
  };
  ShowForm();
  EXPECT_EQ(painted, 1);
  MoveTo(b, 50, 15);
  EXPECT_EQ(b->FadeTimer(), nullptr);  // entering changes the face at once
  EXPECT_EQ(b->PaintState(), TacPaintState::Hot);
  EXPECT_EQ(painted, 2);
  EXPECT_EQ(ScreenPixel(b, 50, 4), lastCorner);
  Backend->MouseDown(Screen(b, 50, 15));
  Drain();
  ASSERT_NE(b->FadeTimer(), nullptr);  // pressing fades
  EXPECT_EQ(b->FadeTimer()->Iterations, 10);
  Tick(12);
  Backend->MouseUp(Screen(b, 50, 15));
  Drain();
  EXPECT_EQ(b->FadeTimer(), nullptr);  // releasing does not
  MoveTo(b, 52, 15);  // the framework forgets the hover when it releases the capture
  EXPECT_EQ(b->FadeTimer(), nullptr);
  EXPECT_EQ(b->PaintState(), TacPaintState::Hot);
}

}  // namespace

namespace {

// An opaque section: the face is not rebuilt when only the parent changes, so the
// holes of its rounded corners must be refreshed over the parent on each paint.
TEST_F(SpeedButtonTest, ACleanFaceShowsTheParentsNewColourInItsCornerHoles) {
  TsGeneralData& section = *Manager->Section(Manager->SectionIndexOf("SPEEDBUTTON"));
  section.Transparency = section.HotTransparency = 0;
  auto* b = Add<TsSpeedButton>(20, 20, 100, 30);
  b->SetCaption("Тест");
  ShowForm();
  const std::vector<TPoint> holes = CornerHoles(*Manager, b->SkinData()->BorderIndex(), 100, 30, TacPaintState::Normal);
  ASSERT_FALSE(holes.empty());
  const TPoint hole = holes.front();
  EXPECT_EQ(ScreenPixel(b, hole.X, hole.Y), ColorToRGB(Form->Color()));
  const int built = b->RenderCount();
  Form->SetColor(0x00336699);
  Form->Invalidate();
  UpdateAllWindows();
  Drain();
  EXPECT_EQ(b->RenderCount(), built) << "the face itself stayed clean";
  for (TPoint p : holes) EXPECT_EQ(ScreenPixel(b, p.X, p.Y), 0x00336699) << p.X << "," << p.Y;
  // Pixels of the face proper keep their colour.
  EXPECT_NE(ScreenPixel(b, 50, 15), 0x00336699);
}

// Glow windows that only count what is asked of them.
class TGlowSpy : public IacGlowEffects {
public:
  int ShowGlow(const TacGlowRequest& request) override {
    Sections.push_back(request.Section);
    return static_cast<int>(Sections.size());
  }
  void HideGlow(int) override { ++Hidden; }
  void HideAllGlows() override {}
  std::vector<std::string> Sections;
  int Hidden = 0;
};

TEST_F(SpeedButtonTest, AfterAStateChangeTheGlowShowsWhenTheSectionHasOne) {
  TGlowSpy spy;
  IacGlowEffects* previous = GlowEffects();
  SetGlowEffects(&spy);
  TsGeneralData& section = *Manager->Section(Manager->SectionIndexOf("SPEEDBUTTON"));
  section.GlowCount = 1;
  auto* b = Add<TsSpeedButton>(20, 20, 100, 30);
  ShowForm();
  MoveTo(b, 50, 15);
  ASSERT_EQ(spy.Sections.size(), 1u);
  EXPECT_EQ(spy.Sections[0], "SPEEDBUTTON");
  EXPECT_GE(b->SkinData()->GlowId(), 0);
  Backend->MouseDown(Screen(b, 50, 15));  // a held button hides it
  Drain();
  EXPECT_EQ(b->SkinData()->GlowId(), -1);
  EXPECT_EQ(spy.Hidden, 1);
  Backend->MouseUp(Screen(b, 50, 15));  // released over the button: back
  Drain();
  EXPECT_EQ(spy.Sections.size(), 2u);
  EXPECT_GE(b->SkinData()->GlowId(), 0);
  MoveTo(b, 200, 150);  // left: gone
  EXPECT_EQ(b->SkinData()->GlowId(), -1);
  EXPECT_EQ(spy.Hidden, 2);
  // A section whose GLOW is 0 shows none.
  section.GlowCount = 0;
  MoveTo(b, 50, 15);
  EXPECT_EQ(spy.Sections.size(), 2u);
  EXPECT_EQ(b->SkinData()->GlowId(), -1);
  MoveTo(b, 200, 150);
  Tick(25);
  SetGlowEffects(previous);
}

}  // namespace
