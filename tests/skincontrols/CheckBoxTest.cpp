#include "skin/controls/sCheckBox.h"

#include "forms/CustomEdit.h"
#include "platform/win/VirtualKeys.h"
#include "skin/core/acMasks.h"
#include "skin/core/sGeneralData.h"
#include "tests/skincontrols/ButtonTestKit.h"

namespace {

class CheckBoxTest : public ButtonTestBase {
protected:
  TBitmap Box(TsCheckBox* c) {
    const TRect r = c->LastBoxRect();
    TBitmap part(r.Width(), r.Height(), TPixelFormat::pf24bit);
    part.Canvas().DrawBitmap(0, 0, *c->SkinData()->Cache(), r);
    return part;
  }
  static bool Same(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x)
        if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
    return true;
  }
};

TEST_F(CheckBoxTest, TheBoxComesFromTheSkinsCheckMasks) {
  auto* c = Add<TsCheckBox>(20, 20, 150, 20);
  c->SetCaption("Фильтрация");
  c->SetImgChecked(0);  // without an image list these mean nothing
  c->SetImgUnchecked(0);
  ShowForm();
  EXPECT_EQ(c->SkinData()->SkinSection(), "CHECKBOX");
  // One frame of the skin's mask: its rectangle's width by ImageCount, its height by MaskType + 1.
  const int index = Manager->CommonIndexes.CheckBoxUnChecked;
  ASSERT_GE(index, 0);
  const TsMaskData& mask = *Manager->Mask(index);
  const TSize box = c->CheckSize();
  EXPECT_EQ(box.cx, (mask.Right - mask.Left) / mask.ImageCount);
  EXPECT_EQ(box.cy, (mask.Bottom - mask.Top) / (mask.MaskType + 1));
  EXPECT_EQ(c->LastBoxRect().Width(), box.cx);
  EXPECT_EQ(c->LastBoxRect().Left, c->Margin());
  // Auto-sized to box and text.
  EXPECT_EQ(c->Height(), std::max(static_cast<int>(box.cy), c->LastTextRect().Height() + 2 * c->Margin()) + 2);
  EXPECT_EQ(c->Width(), box.cx + 2 * c->Margin() + c->LastTextRect().Width() + c->TextIndent() + 8);
}

TEST_F(CheckBoxTest, ClicksMoveThroughTheStatesAndEachLooksDifferent) {
  auto* c = Add<TsCheckBox>(20, 20, 150, 20);
  c->SetCaption("Фильтрация");
  c->SetAllowGrayed(true);
  int clicks = 0;
  c->OnClick = [&](TObject*) { ++clicks; };
  ShowForm();
  const TBitmap unchecked = Box(c);
  Backend->Click(Screen(c, 8, 10));
  Drain();
  Tick(25);
  EXPECT_EQ(c->State(), cbChecked);
  MoveTo(c, 100, 100);
  Tick(25);
  const TBitmap checked = Box(c);
  Backend->Click(Screen(c, 8, 10));
  Drain();
  EXPECT_EQ(c->State(), cbGrayed);
  MoveTo(c, 100, 100);
  Tick(25);
  const TBitmap grayed = Box(c);
  Backend->Click(Screen(c, 8, 10));
  Drain();
  EXPECT_EQ(c->State(), cbUnchecked);
  EXPECT_EQ(clicks, 3);
  EXPECT_FALSE(Same(unchecked, checked));
  EXPECT_FALSE(Same(checked, grayed));
  EXPECT_FALSE(Same(unchecked, grayed));
}

TEST_F(CheckBoxTest, AReadOnlyBoxIgnoresClicksAndSpaceAndNeverLooksHot) {
  auto* c = Add<TsCheckBox>(20, 20, 150, 20);
  c->SetCaption("Фильтрация");
  c->SetReadOnly(true);
  ShowForm();
  MoveTo(c, 8, 10);
  EXPECT_EQ(c->PaintState(), TacPaintState::Normal);
  Backend->Click(Screen(c, 8, 10));
  Drain();
  c->SetFocus();
  Drain();
  Backend->Key(VK_SPACE);
  Drain();
  EXPECT_EQ(c->State(), cbUnchecked);
  EXPECT_EQ(c->PaintState(), TacPaintState::Normal);
  c->SetReadOnly(false);
  Backend->Key(VK_SPACE);
  Drain();
  EXPECT_EQ(c->State(), cbChecked);
}

TEST_F(CheckBoxTest, TheCaptionUsesTheSectionFontColours) {
  auto* c = Add<TsCheckBox>(20, 20, 150, 20);
  c->SetCaption("Фильтрация");
  c->Font().SetColor(clRed);
  ShowForm();
  const TsGeneralData* s = c->SkinData()->Section();
  ASSERT_NE(s, nullptr);
  const TBitmap& face = *c->SkinData()->Cache();
  EXPECT_EQ(CountNear(face, 0x0000FF, 40), 0);
  EXPECT_GT(CountNear(face, ColorToRGB(s->FontColor[0]), 40), 5);
  MoveTo(c, 60, 10);
  Tick(25);
  EXPECT_EQ(c->PaintState(), TacPaintState::Hot);
  EXPECT_GT(CountNear(*c->SkinData()->Cache(), ColorToRGB(s->HotFontColor[0]), 40), 5);
}

TEST_F(CheckBoxTest, DisabledTheWholeFaceIsBlendedWithWhatTheParentPainted) {
  auto* edit = Add<TEdit>(20, 80, 100, 22);
  auto* c = Add<TsCheckBox>(20, 20, 150, 20);
  c->SetCaption("Фильтрация");
  c->SetChecked(true);
  ShowForm();
  edit->SetFocus();
  Drain();
  UpdateAllWindows();
  const TBitmap enabled = Box(c);
  c->SetEnabled(false);
  Drain();
  UpdateAllWindows();
  const TBitmap disabled = Box(c);
  const TColor parent = ColorToRGB(Form->Color());
  int checkedPixels = 0;
  for (int y = 0; y < enabled.Height(); ++y)
    for (int x = 0; x < enabled.Width(); ++x) {
      if (ColourDistance(enabled.Pixel(x, y), parent) < 60) continue;
      ++checkedPixels;
      for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(Channel(disabled.Pixel(x, y), i), 0.6 * Channel(parent, i) + 0.4 * Channel(enabled.Pixel(x, y), i),
                    2);
    }
  EXPECT_GT(checkedPixels, 10);
}

}  // namespace

namespace {

// The face is painted without giving its corners' holes the parent; the window paint
// refreshes them, so they show what lies behind now.
TEST_F(CheckBoxTest, TheWindowPaintGivesTheCornerHolesTheParent) {
  const int buttonSection = Manager->SectionIndexOf("BUTTON");
  TsGeneralData& section = *Manager->Section(Manager->SectionIndexOf("CHECKBOX"));
  section.BorderIndex = Manager->Section(buttonSection)->BorderIndex;
  section.Transparency = section.HotTransparency = 0;
  section.Color = section.HotColor = 0x00204060;
  Form->SetColor(0x00A0B0C0);
  auto* c = Add<TsCheckBox>(20, 20, 150, 24);
  c->SetAutoSize(false);
  c->SetCaption("Фильтрация");
  ShowForm();
  ASSERT_EQ(c->SkinData()->BorderIndex(), section.BorderIndex);
  const std::vector<TPoint> holes = CornerHoles(*Manager, section.BorderIndex, c->Width(), c->Height(), TacPaintState::Normal);
  ASSERT_FALSE(holes.empty());
  for (TPoint p : holes) {
    EXPECT_EQ(c->SkinData()->Cache()->Pixel(p.X, p.Y), 0x00A0B0C0) << p.X << "," << p.Y;
    EXPECT_EQ(ScreenPixel(c, p.X, p.Y), 0x00A0B0C0) << p.X << "," << p.Y;
  }
  EXPECT_EQ(c->SkinData()->Cache()->Pixel(c->Width() - 8, c->Height() / 2), 0x00204060) << "the face keeps its colour";
}

}  // namespace
