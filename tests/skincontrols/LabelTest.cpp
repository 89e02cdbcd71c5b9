// Skinned labels: see-through over a gradient panel, colours taken from the skin,
// a section of their own behind the text, the disabled mix, the skin going, and
// the caption label bound to an edit.
#include "tests/skincontrols/PanelTestKit.h"

#include "forms/CustomEdit.h"
#include "forms/ScriptDriver.h"
#include "skin/core/acSkinPackWriter.h"

namespace {

TColor Mix40(TColor a, TColor b) {
  TColor out = 0;
  for (int i = 0; i < 3; ++i)
    out |= ((PanelChannel(a, i) * 40 + PanelChannel(b, i) * 60 + 50) / 100) << (8 * i);
  return out;
}

using LabelTest = PanelTestBase;

TEST_F(LabelTest, TransparentLabelShowsTheGradientPanelsPixels) {
  auto* panel = Add<TsPanel>(Form, 0, 0, 400, 260);
  auto* label = Add<TsLabel>(panel, 40, 30, 120, 60);
  label->SetAutoSize(false);
  label->SetColor(clRed);  // never shown: the label is see-through
  label->SetCaption("i");
  ShowForm();
  const TBitmap& behind = *panel->SkinData()->Cache();
  ASSERT_NE(behind.Pixel(100, 30), behind.Pixel(100, 89));  // a gradient under the label
  for (int y = 0; y < 60; ++y)
    for (int x = 30; x < 120; ++x) ASSERT_EQ(FormPixel(label, x, y), behind.Pixel(40 + x, 30 + y)) << x << "," << y;
  // Repainting the label alone keeps the panel under it, the text does not thicken.
  label->Invalidate();
  UpdateAllWindows();
  EXPECT_EQ(FormPixel(label, 100, 50), behind.Pixel(140, 80));
}

TEST_F(LabelTest, FontColourComesFromTheSkin) {
  auto* panel = Add<TsPanel>(Form, 0, 0, 400, 260);
  auto* label = Add<TsLabel>(panel, 40, 30, 120, 20);
  label->Font().SetColor(clRed);
  label->SetCaption("Вопрос");
  ShowForm();
  EXPECT_EQ(label->Font().Color(), Manager->GlobalFontColor());
  // Without UseSkinColor the label keeps its own.
  auto* own = Add<TsLabel>(panel, 40, 80, 120, 20);
  own->SetUseSkinColor(false);
  own->Font().SetColor(clRed);
  own->SetCaption("Вопрос");
  UpdateAllWindows();
  EXPECT_EQ(own->Font().Color(), clRed);
}

TEST_F(LabelTest, BarSectionIsPaintedBehindTheText) {
  auto* panel = Add<TsPanel>(Form, 0, 0, 400, 260);
  auto* label = Add<TsLabel>(panel, 20, 20, 200, 40);
  label->SetAutoSize(false);
  label->SetSkinSection("bar");
  label->SetCaption("Автор");
  ShowForm();
  EXPECT_EQ(label->SkinSection(), "BAR");
  ASSERT_GE(label->SectionIndex(), 0);
  // The BAR border shows along the label's edge, where the panel alone would be.
  const TBitmap& behind = *panel->SkinData()->Cache();
  int differing = 0;
  for (int x = 0; x < 200; ++x) differing += FormPixel(label, x, 0) != behind.Pixel(20 + x, 20);
  EXPECT_GT(differing, 100);
  const TColor barFont = Section("BAR").FontColor[0];
  if (barFont != clFuchsia && barFont != -1) {
    EXPECT_EQ(label->Font().Color(), barFont);
  }
}

TEST_F(LabelTest, DisabledLabelMixesFortyPercentTextWithSixtyPercentPanel) {
  auto* panel = Add<TsPanel>(Form, 0, 0, 400, 260);
  auto* label = Add<TsLabel>(panel, 20, 20, 300, 60);
  label->SetAutoSize(false);
  label->Font().SetHeight(-40);
  label->Font().SetStyle({fsBold});
  label->SetCaption("WWWW");
  label->SetEnabled(false);
  ShowForm();
  const TColor text = ColorToRGB(label->Font().Color());
  const TColor mixed = Mix40(text, ControlColor(panel));
  const TBitmap* image = WindowImage(Form->Handle());
  ASSERT_NE(image, nullptr);
  int mixedCount = 0, textCount = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 300; ++x) {
      const TColor c = FormPixel(label, x, y);
      mixedCount += c == mixed;
      textCount += c == text;
    }
  EXPECT_GT(mixedCount, 30);
  EXPECT_EQ(textCount, 0);
}

TEST_F(LabelTest, RemovingTheSkinGivesTheWindowTextColourBack) {
  auto* panel = Add<TsPanel>(Form, 0, 0, 400, 260);
  auto* label = Add<TsLabel>(panel, 20, 20, 100, 20);
  label->SetCaption("Пароль");
  ShowForm();
  ASSERT_NE(label->Font().Color(), clWindowText);
  EXPECT_EQ(label->Perform(SM_ALPHACMD, MakeCommandWParam(AC_CTRLHANDLED), 0), 1) << "it takes skin commands itself";
  label->Perform(SM_ALPHACMD, MakeCommandWParam(AC_REMOVESKIN), 0);
  EXPECT_NE(label->Font().Color(), clWindowText) << "a removal from no manager is not the label's";
  label->Perform(SM_ALPHACMD, MakeCommandWParam(AC_REMOVESKIN), reinterpret_cast<LPARAM>(TsSkinManager::DefaultManager()));
  EXPECT_EQ(label->Font().Color(), clWindowText);
}

TEST_F(LabelTest, MostlySeeThroughParentsPassTheColourQuestionUp) {
  const std::string options =
      "[GLOBALINFO]\r\nVERSION=6.4\r\nFONTCOLOR=8421504\r\n"
      "[OUTER]\r\nGIVEOWNFONT=TRUE\r\nFONTCOLOR=65280\r\n"
      "[SEETHROUGH]\r\nTRANSPARENCY=100\r\nGIVEOWNFONT=TRUE\r\nFONTCOLOR=255\r\n"
      "[HALF]\r\nTRANSPARENCY=50\r\nGIVEOWNFONT=TRUE\r\nFONTCOLOR=16711680\r\n"
      "[PLAIN]\r\nFONTCOLOR=16776960\r\n";
  TsStoredSkin& skin = Manager->InternalSkins().Add();
  skin.Name = "Labels";
  skin.Data = TacMemoryStream(WritePackage({{"Options.dat", std::vector<std::uint8_t>(options.begin(), options.end())}}));
  Manager->SetSkinName("Labels");
  auto* outer = Add<TsPanel>(Form, 0, 0, 400, 260);
  outer->SkinData()->SetSkinSection("OUTER");
  auto panelIn = [&](TWinControl* parent, const char* section, int top) {
    auto* p = Add<TsPanel>(parent, 10, top, 300, 50);
    p->SkinData()->SetSkinSection(section);
    return p;
  };
  auto* seeThrough = panelIn(outer, "SEETHROUGH", 10);
  auto* half = panelIn(outer, "HALF", 70);
  auto* plain = panelIn(outer, "PLAIN", 130);
  auto labelOn = [&](TWinControl* parent) {
    auto* l = Add<TsLabel>(parent, 4, 4, 80, 20);
    l->SetCaption("Текст");
    l->Font().SetColor(clBlack);
    return l;
  };
  TsLabel* overSeeThrough = labelOn(seeThrough);
  TsLabel* overHalf = labelOn(half);
  TsLabel* overPlain = labelOn(plain);
  TsLabel* overOuter = labelOn(outer);
  ShowForm();
  EXPECT_EQ(overSeeThrough->Font().Color(), 65280);  // the outer panel answers for it
  EXPECT_EQ(overHalf->Font().Color(), 16711680);     // 50 is not above 50
  EXPECT_EQ(overPlain->Font().Color(), 8421504);     // no own font: the skin's global colour
  EXPECT_EQ(overOuter->Font().Color(), 65280);
}

TEST_F(LabelTest, BoundLabelSitsLeftOfItsEditAndGoesWithIt) {
  auto* edit = Add<TEdit>(Form, 150, 40, 120, 24);
  edit->SetName("sEdit2");
  TsBoundLabel bound(edit);
  bound.SetCaption("Пользователь");
  bound.SetIndent(2);
  bound.SetActive(true);
  ShowForm();
  TsEditLabel* label = bound.Label();
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->Name(), "sEdit2Label");
  EXPECT_EQ(label->FocusControl(), edit);
  EXPECT_EQ(label->Left(), 150 - label->Width() - 2 - 4);
  EXPECT_EQ(label->Top(), 40 + (24 - label->Height()) / 2);
  bound.SetLayout(sclTopCenter);
  EXPECT_EQ(label->Top() + label->Height() + 2, 40);
  EXPECT_EQ(label->Left(), 150 + (120 - label->Width()) / 2);
  bound.SetMaxWidth(60);
  EXPECT_EQ(label->Width(), 60);
  EXPECT_GE(label->Height(), 24);
  bound.SetActive(false);
  EXPECT_EQ(bound.Label(), nullptr);
  bound.SetActive(true);
  delete bound.Label();  // the edit's owner frees it
  EXPECT_FALSE(bound.Active());
}

}  // namespace

namespace {

// The script driver's dump names the section of every skinned control, a label's
// own section included (the about window's credit line draws BAR).
TEST_F(LabelTest, TheDumpReportsTheSectionALabelDraws) {
  Form->SetName("Form3");
  auto* panel = Add<TsPanel>(Form, 0, 0, 400, 260);
  panel->SetName("sPanel1");
  auto* credit = Add<TsLabel>(panel, 20, 20, 200, 40);
  credit->SetName("sLabel1");
  credit->SetSkinSection("BAR");
  credit->SetCaption("Автор");
  auto* plain = Add<TsLabel>(panel, 20, 80, 200, 20);
  plain->SetName("sLabel2");
  plain->SetCaption("Логин");
  ShowForm();
  std::string section;
  int index = -2;
  TScriptDriver::SkinInfo()(credit, section, index);
  EXPECT_EQ(section, "BAR");
  EXPECT_EQ(index, Manager->SectionIndexOf("BAR"));
  TScriptDriver::SkinInfo()(plain, section, index);
  EXPECT_EQ(section, "");
  EXPECT_EQ(index, -1);
  TScriptDriver::SkinInfo()(panel, section, index);
  EXPECT_EQ(section, "PANEL");

  const std::string dump = TScriptDriver::DumpJson();
  const std::size_t at = dump.find("\"name\":\"sLabel1\"");
  ASSERT_NE(at, std::string::npos);
  const std::string entry = dump.substr(at, dump.find('}', at) - at);
  EXPECT_NE(entry.find("\"skinSection\":\"BAR\",\"skinIndex\":" + std::to_string(Manager->SectionIndexOf("BAR"))),
            std::string::npos)
      << entry;
}

}  // namespace
