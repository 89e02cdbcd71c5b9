// Per-control skin data: section binding, colour and background answers, the common
// commands and messages, copying the cache, the font source and the driver's dump.
#include "forms/ScriptDriver.h"
#include "tests/skinruntime/RuntimeTestUtil.h"

namespace {

class CommonDataTest : public SkinRuntimeTest {
protected:
  void SetUp() override {
    SkinRuntimeTest::SetUp();
    Manager = NewColourManager();
  }
  // A white form holding one test panel of the section.
  TTestSkinPanel* PanelOnWhiteForm(const std::string& section, TacControlKind kind = TacControlKind::Panel) {
    TTestSkinPanel* panel = nullptr;
    Form = NewForm([&](TForm* form) {
      form->SetColor(clWhite);
      panel = AddControl<TTestSkinPanel>(form, 5, 5, 60, 40);
      panel->Data.SetControlKind(kind);
      panel->Data.SetSkinSection(section);
    });
    return panel;
  }
  static LRESULT Command(TControl* control, unsigned command, LPARAM lParam = 0, unsigned argument = 0) {
    return control->Perform(SM_ALPHACMD, MakeCommandWParam(command, argument), lParam);
  }

  TsSkinManager* Manager = nullptr;
  TForm* Form = nullptr;
};

}  // namespace

TEST_F(CommonDataTest, SectionNamesAreUpperCasedAndEmptyIsUnknown) {
  TTestSkinPanel* panel = PanelOnWhiteForm("panel");
  panel->Received.clear();
  EXPECT_EQ(panel->Data.SkinSection(), "PANEL");
  EXPECT_EQ(panel->Data.SkinIndex(), Manager->SectionIndexOf("PANEL"));
  panel->Data.SetSkinSection("");
  EXPECT_EQ(panel->Data.SkinSection(), "UNKNOWN");
  EXPECT_EQ(panel->Data.SkinIndex(), -1);
  EXPECT_FALSE(panel->Data.IsSkinned());
  EXPECT_EQ(panel->Received[AC_REMOVESKIN], 1) << "an unskinned section is announced to the owner";
  panel->Data.SetSkinSection("seeThrough");
  EXPECT_EQ(panel->Data.SkinSection(), "SEETHROUGH");
  EXPECT_EQ(panel->Received[AC_REFRESH], 1);
}

TEST_F(CommonDataTest, KindCodesChooseTheDefaultSection) {
  TTestSkinGraphic* button = nullptr;
  TTestSkinGraphic* odd = nullptr;
  NewForm([&](TForm* form) {
    button = AddControl<TTestSkinGraphic>(form, 0, 0, 20, 20);
    odd = AddControl<TTestSkinGraphic>(form, 30, 0, 20, 20);
    odd->Data.SetControlKind(TacControlKind{200});
  });
  EXPECT_EQ(button->Data.SkinSection(), "SPEEDBUTTON");
  EXPECT_TRUE(button->Data.IsSkinned());
  EXPECT_EQ(odd->Data.SkinSection(), "TTESTSKINGRAPHIC");
  EXPECT_EQ(odd->Data.SkinIndex(), -1);

  EXPECT_EQ(DefaultSectionOfKind(TacControlKind{3}), "EDIT");
  EXPECT_EQ(DefaultSectionOfKind(TacControlKind{227}), "EDIT");
  EXPECT_EQ(DefaultSectionOfKind(TacControlKind{82}), "COMBOBOX");
  EXPECT_EQ(DefaultSectionOfKind(TacControlKind{58}), "PANEL_LOW");
  EXPECT_EQ(DefaultSectionOfKind(TacControlKind{60}), "TOOLBAR");
  EXPECT_EQ(DefaultSectionOfKind(TacControlKind{94}), "BUTTON");
  EXPECT_EQ(DefaultSectionOfKind(TacControlKind{226}), "GROUPBOX");
  EXPECT_EQ(DefaultSectionOfKind(TacControlKind{165}), "TRACKBAR");
  EXPECT_EQ(DefaultSectionOfKind(TacControlKind{9}), "");
  EXPECT_TRUE(IsEditKind(TacControlKind{80}) && IsEditKind(TacControlKind{135}) && !IsEditKind(TacControlKind{19}));
  EXPECT_TRUE(IsContainerKind(TacControlKind{74}) && IsContainerKind(TacControlKind{150}) && !IsContainerKind(TacControlKind{92}));
  EXPECT_TRUE(IsNoGlowKind(TacControlKind{226}) && !IsNoGlowKind(TacControlKind{92}) && !IsNoGlowKind(TacControlKind{53}));
}

// The edges of the named kinds' tables: exactly the three buttons glow on their own,
// and exactly the panel kin keep the plain-colour opacity bit.
TEST(ControlKinds, ButtonAndOpacityTablesHoldExactlyTheirKinds) {
  int buttons = 0, opaque = 0;
  for (int code = 0; code <= 255; ++code) {
    buttons += IsButtonKind(TacControlKind{code}) ? 1 : 0;
    opaque += KeepsOpacityKind(TacControlKind{code}) ? 1 : 0;
  }
  EXPECT_EQ(buttons, 3);
  EXPECT_EQ(opaque, 7);
  EXPECT_TRUE(IsButtonKind(TacControlKind::SpeedButton) && IsButtonKind(TacControlKind::Button) &&
              IsButtonKind(TacControlKind::BitBtn));
  EXPECT_FALSE(IsButtonKind(TacControlKind{95}));  // a speed button's section, not one of the three
  EXPECT_TRUE(KeepsOpacityKind(TacControlKind::Panel) && KeepsOpacityKind(TacControlKind::ToolBar));
  EXPECT_FALSE(KeepsOpacityKind(TacControlKind::GroupBox));
  EXPECT_FALSE(KeepsOpacityKind(TacControlKind{53}));  // a tool bar kind without the bit
  EXPECT_EQ(DefaultSectionOfKind(TacControlKind::EditWindow), "EDIT");
}

TEST_F(CommonDataTest, ColourAnswersOfASeeThroughSection) {
  TTestSkinPanel* panel = PanelOnWhiteForm("SEETHROUGH");
  ASSERT_TRUE(panel->Data.IsSkinned());
  // 20 % of the white parent shows through black: painters see 51, command 21 says 19.
  EXPECT_EQ(panel->Data.GetColor(false), 0x333333);
  EXPECT_EQ(Command(panel, AC_GETCOLOR, clFuchsia), 0x131313);

  // Under a skinned white parent the parent's answer counts, the same figures.
  TTestSkinPanel* inner = AddControl<TTestSkinPanel>(panel, 2, 2, 10, 10);
  panel->Data.SetSkinSection("PANEL");
  inner->Data.SetSkinSection("SEETHROUGH");
  EXPECT_EQ(inner->Data.GetColor(false), 0x333333);
  EXPECT_EQ(Command(inner, AC_GETCOLOR), 0x131313);
}

TEST_F(CommonDataTest, ColourAnswersOfOpaqueAndFullyTransparentSections) {
  TTestSkinPanel* panel = PanelOnWhiteForm("GROUPBOX");
  EXPECT_EQ(panel->Data.GetColor(false), 0xFFFFFF) << "transparency 100 shows the parent";
  EXPECT_EQ(Command(panel, AC_GETCOLOR), 0xFFFFFF);
  panel->Data.SetSkinSection("SPEEDBUTTON");
  EXPECT_EQ(panel->Data.GetColor(false), 8421504);
  EXPECT_EQ(panel->Data.GetColor(true), 12632256);
  EXPECT_EQ(Command(panel, AC_GETCOLOR), 8421504);
  panel->SetColor(0x123456);
  panel->Data.SetCustomColor(true);
  EXPECT_EQ(panel->Data.GetColor(false), 0x123456) << "custom colour wins over an opaque section";
  panel->Data.SetSkinSection("NOSUCHSECTION");
  EXPECT_EQ(panel->Data.GetColor(false), 0x123456);
  EXPECT_EQ(Command(panel, AC_GETCOLOR), 0x123456);
}

TEST_F(CommonDataTest, SeeThroughGroupBoxPassesTheRequestToItsParent) {
  TTestSkinPanel* parent = PanelOnWhiteForm("GRADIENT");
  parent->Data.EnsureCache();
  TTestSkinPanel* group = AddControl<TTestSkinPanel>(parent, 10, 20, 30, 15);
  group->Data.SetControlKind(TacControlKind::GroupBox);
  group->Data.SetSkinSection("GROUPBOX");
  TacBGInfo request;
  Command(group, AC_GETCACHE, reinterpret_cast<LPARAM>(&request));
  EXPECT_EQ(request.BgType, btCache);
  EXPECT_EQ(request.Bmp, parent->Data.Cache());
  EXPECT_EQ(request.OffsetX, 10);
  EXPECT_EQ(request.OffsetY, 20);
}

TEST_F(CommonDataTest, BackgroundAnswersByKind) {
  TTestSkinPanel* panel = PanelOnWhiteForm("PANEL");
  TacBGInfo plain;
  Command(panel, AC_GETCACHE, reinterpret_cast<LPARAM>(&plain));
  EXPECT_EQ(plain.BgType, btFill);
  EXPECT_EQ(plain.Color, 0xFFFFFF);

  // Asked to paint itself, a plain owner fills the rectangle of the request's context.
  TBitmap target(20, 20, TPixelFormat::pf24bit);
  target.Fill(clBlack);
  TacBGInfo draw;
  draw.PleaseDraw = true;
  draw.DrawDC = &target.Canvas();
  draw.R = Rect(2, 2, 6, 6);
  Command(panel, AC_GETCACHE, reinterpret_cast<LPARAM>(&draw));
  EXPECT_EQ(target.Pixel(3, 3), 0xFFFFFF);
  EXPECT_EQ(target.Pixel(7, 7), 0);

  // A gradient owner without a cache cannot answer with pixels yet.
  panel->Data.SetSkinSection("GRADIENT");
  panel->Data.Cache()->SetSize(0, 0);
  TacBGInfo none;
  Command(panel, AC_GETCACHE, reinterpret_cast<LPARAM>(&none));
  EXPECT_EQ(none.BgType, btFill);
  EXPECT_EQ(none.Color, clFuchsia);

  // With a cache it paints from it at the request's offset.
  panel->Data.EnsureCache();
  panel->Data.Cache()->Fill(0x00FF00);
  panel->Data.Cache()->SetPixel(5, 6, 0x0000FF);
  target.Fill(clBlack);
  TacBGInfo copy;
  copy.PleaseDraw = true;
  copy.DrawDC = &target.Canvas();
  copy.R = Rect(0, 0, 4, 4);
  copy.OffsetX = 5;
  copy.OffsetY = 6;
  Command(panel, AC_GETCACHE, reinterpret_cast<LPARAM>(&copy));
  EXPECT_EQ(copy.BgType, btCache);
  EXPECT_EQ(target.Pixel(0, 0), 0x0000FF);
  EXPECT_EQ(target.Pixel(1, 1), 0x00FF00);
  EXPECT_EQ(target.Pixel(5, 5), 0);

  // Unskinned: the control's own colour.
  panel->SetColor(0x445566);
  panel->Data.SetSkinSection("NONE");
  TacBGInfo own;
  Command(panel, AC_GETCACHE, reinterpret_cast<LPARAM>(&own));
  EXPECT_EQ(own.BgType, btFill);
  EXPECT_EQ(own.Color, 0x445566);
}

TEST_F(CommonDataTest, CommandsForAnotherManagerChangeNothing) {
  TTestSkinPanel* panel = PanelOnWhiteForm("PANEL");
  TsSkinManager* other = NewManager();
  const int index = panel->Data.SkinIndex();
  panel->Data.SetDirty(false);
  for (unsigned command : {AC_SETNEWSKIN, AC_REMOVESKIN, AC_REFRESH}) {
    TMessage message;
    message.Msg = SM_ALPHACMD;
    message.WParam = MakeCommandWParam(command);
    message.LParam = reinterpret_cast<LPARAM>(other);
    EXPECT_FALSE(panel->Data.HandleCommand(message));
  }
  EXPECT_EQ(panel->Data.SkinIndex(), index);
  EXPECT_FALSE(panel->Data.Dirty());
  EXPECT_FALSE(panel->Data.Suspended());
}

TEST_F(CommonDataTest, RemoveAndRefreshCommands) {
  TTestSkinPanel* panel = PanelOnWhiteForm("PANEL");
  panel->Data.EnsureCache();
  const LPARAM self = reinterpret_cast<LPARAM>(Manager);
  Command(panel, AC_REMOVESKIN, self);
  EXPECT_EQ(panel->Data.SkinIndex(), -1);
  EXPECT_EQ(panel->Data.BorderIndex(), -1);
  EXPECT_EQ(panel->Data.TextureIndex(), -1);
  EXPECT_TRUE(panel->Data.Suspended());
  EXPECT_TRUE(panel->Data.Cache()->Empty());
  panel->Data.SetDirty(false);
  Command(panel, AC_REFRESH, self);
  EXPECT_TRUE(panel->Data.Dirty());
  EXPECT_FALSE(panel->Data.Suspended());
  Command(panel, AC_SETNEWSKIN, self);
  EXPECT_EQ(panel->Data.SkinIndex(), Manager->SectionIndexOf("PANEL"));
}

TEST_F(CommonDataTest, SimpleCommandAnswers) {
  TTestSkinPanel* panel = PanelOnWhiteForm("PANEL");
  EXPECT_EQ(Command(panel, AC_CTRLHANDLED), 1);
  EXPECT_EQ(Command(panel, AC_GETSKININDEX), Manager->SectionIndexOf("PANEL") + 1);
  EXPECT_EQ(Command(panel, AC_GETAPPLICATION), reinterpret_cast<LRESULT>(Application));
  Command(panel, AC_SETSUSPENDED, 0, 1);
  EXPECT_TRUE(panel->Data.Suspended());
  panel->Data.SetDirty(false);
  EXPECT_EQ(Command(panel, AC_ISSUSPENDED), 1);
  Command(panel, AC_SETSUSPENDED, 0, 0);
  EXPECT_EQ(Command(panel, AC_ISSUSPENDED), 0);
  Command(panel, AC_SETDIRTY);
  EXPECT_TRUE(panel->Data.Dirty());
  Command(panel, AC_LOCKBACKGROUND, 0, 1);
  EXPECT_TRUE(panel->Data.BackgroundLocked());
  EXPECT_TRUE(panel->Data.BackgroundChanged());
  Command(panel, AC_LOCKBACKGROUND, 0, 0);
  EXPECT_FALSE(panel->Data.BackgroundLocked());
  panel->Data.SetParentChanged(false);
  EXPECT_EQ(Command(panel, AC_GETPARENTCHANGED), 0);
  Command(panel, AC_SETPARENTCHANGED);
  EXPECT_EQ(Command(panel, AC_GETPARENTCHANGED), 1);
  EXPECT_EQ(Command(panel, 99), 0);
  panel->Data.SetSkinSection("NONE");
  EXPECT_EQ(Command(panel, AC_GETSKININDEX), 0);
}

TEST_F(CommonDataTest, OpacityFlagOfPanels) {
  TTestSkinPanel* panel = PanelOnWhiteForm("PANEL");
  EXPECT_EQ(Command(panel, AC_UPDATEOPACITY), 1) << "a plain-colour panel";
  panel->Data.SetSkinSection("GRADIENT");
  EXPECT_EQ(Command(panel, AC_UPDATEOPACITY), 0);
  EXPECT_EQ(panel->Data.BackgroundKind(), 1) << "gradient share with a horizontal first stop";
  panel->Data.SetSkinSection("SEETHROUGH");
  EXPECT_EQ(Command(panel, AC_UPDATEOPACITY), 0);
  // Fully see-through over a parent that reports no plain colour.
  panel->Data.SetSkinSection("GROUPBOX");
  EXPECT_EQ(Command(panel, AC_UPDATEOPACITY), 0);
  // A button keeps the bit clear whatever its section.
  TTestSkinPanel* button = AddControl<TTestSkinPanel>(Form, 80, 5, 20, 20);
  button->Data.SetControlKind(TacControlKind::Button);
  button->Data.SetSkinSection("PANEL");
  EXPECT_EQ(Command(button, AC_UPDATEOPACITY), 0);
}

TEST_F(CommonDataTest, BackgroundChangedAsksTheParent) {
  TTestSkinPanel* parent = PanelOnWhiteForm("GRADIENT");
  parent->HandleNeeded();
  TTestSkinPanel* child = AddControl<TTestSkinPanel>(parent, 1, 1, 10, 10);
  child->Data.SetSkinSection("PANEL");
  EXPECT_FALSE(child->Data.BackgroundChanged()) << "opaque and enabled";
  child->Data.SetSkinSection("SEETHROUGH");
  EXPECT_TRUE(child->Data.BackgroundChanged()) << "the gradient parent answers command 19 with 1";
  parent->Data.SetSkinSection("PANEL");
  EXPECT_FALSE(child->Data.BackgroundChanged());
  child->SetVisible(false);
  EXPECT_TRUE(child->Data.BackgroundChanged());
}

TEST_F(CommonDataTest, ContainersNeverBecomeHot) {
  TTestSkinPanel* panel = PanelOnWhiteForm("PANEL");
  panel->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_FALSE(panel->Data.MouseAbove());
  panel->Data.SetMouseAbove(true);
  EXPECT_FALSE(panel->Data.IsHot());

  TTestSkinPanel* button = AddControl<TTestSkinPanel>(Form, 80, 5, 20, 20);
  button->Data.SetControlKind(TacControlKind::Button);
  button->Data.SetSkinSection("SPEEDBUTTON");
  button->HandleNeeded();
  button->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_TRUE(button->Data.MouseAbove());
  EXPECT_TRUE(button->Data.IsHot());
  EXPECT_EQ(Manager->HotControl(), button->Handle());
  EXPECT_EQ(button->Received[AC_MOUSEENTER], 1);
  button->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(button->Data.IsHot());
  button->SetEnabled(false);
  button->Data.SetMouseAbove(true);
  EXPECT_FALSE(button->Data.IsHot());
}

TEST_F(CommonDataTest, HotControlMovesWithCommands) {
  TTestSkinPanel* a = PanelOnWhiteForm("SPEEDBUTTON", TacControlKind::Button);
  TTestSkinPanel* b = AddControl<TTestSkinPanel>(Form, 80, 5, 20, 20);
  a->HandleNeeded();
  b->HandleNeeded();
  Manager->SetHotControl(a->Handle());
  Manager->SetHotControl(a->Handle());
  Manager->SetHotControl(b->Handle());
  EXPECT_EQ(a->Received[AC_MOUSEENTER], 1);
  EXPECT_EQ(a->Received[AC_MOUSELEAVE], 1);
  EXPECT_EQ(b->Received[AC_MOUSEENTER], 1);
  EXPECT_EQ(Manager->HotControl(), b->Handle());
}

TEST_F(CommonDataTest, SettingTheDefaultManagerStoresNone) {
  TTestSkinPanel* panel = PanelOnWhiteForm("PANEL");
  panel->Data.SetSkinManager(Manager);
  EXPECT_EQ(panel->Data.SkinManager(), nullptr);
  TsSkinManager* other = NewManager();
  AddStoredSkin(*other, "Other", "[X]\nCOLOR=1\n[PANEL]\nCOLOR=2\n");
  other->SetSkinName("Other");
  panel->Received.clear();
  panel->Data.SetSkinManager(other);
  EXPECT_EQ(panel->Data.SkinManager(), other);
  EXPECT_EQ(panel->Data.SkinIndex(), 1);
  EXPECT_EQ(panel->Received[AC_REFRESH], 1);
  panel->Data.SetSkinManager(Manager);
  EXPECT_EQ(panel->Data.SkinManager(), nullptr);
  EXPECT_EQ(panel->Data.SkinIndex(), Manager->SectionIndexOf("PANEL"));
}

TEST_F(CommonDataTest, MessagesMarkTheFaceDirty) {
  TTestSkinPanel* panel = PanelOnWhiteForm("GRADIENT");
  panel->HandleNeeded();
  panel->Data.EnsureCache();
  panel->Data.SetDirty(false);
  panel->SetBounds(5, 5, 70, 40);
  EXPECT_TRUE(panel->Data.Dirty()) << "a size change of a skinned control";
  panel->Data.SetDirty(false);
  panel->Perform(WM_SETFOCUS, 0, 0);
  EXPECT_TRUE(panel->Data.Focused());
  EXPECT_TRUE(panel->Data.Dirty());
  panel->Perform(CM_VISIBLECHANGED, 0, 0);
  EXPECT_TRUE(panel->Data.Cache()->Empty());
  panel->Data.SetSuspended(true);
  panel->Perform(CM_VISIBLECHANGED, 1, 0);
  EXPECT_FALSE(panel->Data.Suspended());
  panel->Perform(CM_ENABLEDCHANGED, 0, 0);
  EXPECT_FALSE(panel->Data.Focused());
  TMessage ui;
  ui.Msg = WM_UPDATEUISTATE;
  EXPECT_TRUE(panel->Data.HandleMessage(ui)) << "a skinned control keeps the UI-state update to itself";
}

TEST_F(CommonDataTest, SuspensionAsksTheParent) {
  TTestSkinPanel* parent = PanelOnWhiteForm("GRADIENT");
  TTestSkinPanel* child = AddControl<TTestSkinPanel>(parent, 1, 1, 10, 10);
  child->Data.SetControlKind(TacControlKind::Button);
  child->Data.SetSkinSection("SPEEDBUTTON");
  parent->Data.SetDirty(false);
  child->Data.SetDirty(false);
  EXPECT_FALSE(child->Data.IsSuspended());
  parent->Data.SetDirty(true);
  EXPECT_TRUE(child->Data.IsSuspended()) << "a parent still to be rebuilt";
  child->Data.BeginSuspend();
  EXPECT_EQ(child->Received[AC_SUSPENDED], 1);
  child->Data.EndSuspend();
  EXPECT_EQ(child->Received[AC_RESUMED], 1);
}

TEST_F(CommonDataTest, BorderThicknessFromTheBorderMask) {
  TsSkinManager* manager = NewManager();
  manager->SetIsDefault(true);
  AddStoredSkin(*manager, "Borders",
                "[GLOBALINFO]\nMASTERBITMAP=MASTER.BMP\n[THICK]\nBORDERSMASK=^0000^0000^0060^0020^0004^0002^0007^0003^3^0^0^0\n"
                "[NOSTATE0]\nBORDERSMASK=^0000^0000^0060^0020^0004^0002^0007^0003^3^0^2^0\n",
                {{"Master.bmp", BmpBytes(64, 64, 0x808080)}});
  manager->SetSkinName("Borders");
  TTestSkinPanel* panel = PanelOnWhiteForm("THICK");
  EXPECT_EQ(panel->Data.GetManager(), manager);
  EXPECT_EQ(panel->Data.BorderThickness(), 7);
  panel->Data.SetSkinSection("NOSTATE0");
  EXPECT_EQ(panel->Data.BorderThickness(), 0);
  panel->Data.SetSkinSection("NONE");
  EXPECT_EQ(panel->Data.BorderThickness(), 0);
}

TEST_F(CommonDataTest, FontSourceFollowsSeeThroughParents) {
  TsSkinManager* manager = NewManager();
  manager->SetIsDefault(true);
  AddStoredSkin(*manager, "Fonts",
                "[OWNFONT]\nGIVEOWNFONT=TRUE\n[CLEAR]\nTRANSPARENCY=80\n[PLAIN]\nCOLOR=1\n[CHILD]\nCOLOR=2\n");
  manager->SetSkinName("Fonts");
  TTestSkinPanel* outer = PanelOnWhiteForm("OWNFONT");
  TTestSkinPanel* clear = AddControl<TTestSkinPanel>(outer, 1, 1, 30, 30);
  clear->Data.SetSkinSection("CLEAR");
  TTestSkinGraphic* label = AddControl<TTestSkinGraphic>(clear, 1, 1, 10, 10);
  label->Data.SetSkinSection("CHILD");
  const int own = label->Data.SkinIndex();
  EXPECT_EQ(FontSourceIndex(label, own), manager->SectionIndexOf("OWNFONT"));
  outer->Data.SetSkinSection("PLAIN");
  EXPECT_EQ(FontSourceIndex(label, own), own);
  outer->Data.SetSkinSection("NONE");
  EXPECT_EQ(FontSourceIndex(label, own), own);
}

TEST_F(CommonDataTest, CopyingTheCacheLeavesWindowlessChildrenAlone) {
  TTestSkinPanel* panel = PanelOnWhiteForm("PANEL");
  AddControl<TTestSkinGraphic>(panel, 10, 10, 10, 10);
  TTestSkinPanel* windowed = AddControl<TTestSkinPanel>(panel, 30, 10, 10, 10);
  (void)windowed;
  panel->Data.EnsureCache();
  panel->Data.Cache()->Fill(0x0000FF);
  TBitmap target(60, 40, TPixelFormat::pf24bit);
  target.Fill(clBlack);
  panel->Data.CopyCacheToControls(panel, Rect(0, 0, 60, 40), false, &target.Canvas(), Rect(0, 0, 60, 40));
  EXPECT_EQ(target.Pixel(0, 0), 0x0000FF);
  EXPECT_EQ(target.Pixel(15, 15), 0) << "the windowless child keeps its place";
  EXPECT_EQ(target.Pixel(35, 15), 0x0000FF) << "windowed children without the opaque style are painted over";

  // Windows: every visible child window is left out.
  panel->HandleNeeded();
  windowed->HandleNeeded();
  target.Fill(clBlack);
  panel->Data.CopyCacheToWindows(panel->Handle(), Rect(0, 0, 60, 40), false, &target.Canvas(), Rect(0, 0, 60, 40));
  EXPECT_EQ(target.Pixel(0, 0), 0x0000FF);
  EXPECT_EQ(target.Pixel(35, 15), 0);
}

TEST_F(CommonDataTest, DriverDumpReportsSectionAndIndex) {
  TTestSkinPanel* panel = PanelOnWhiteForm("PANEL");
  panel->SetName("Panel1");
  Form->SetName("SkinForm");
  const std::string json = TScriptDriver::DumpJson();
  const std::string expected =
      "\"skinSection\":\"PANEL\",\"skinIndex\":" + std::to_string(Manager->SectionIndexOf("PANEL"));
  EXPECT_NE(json.find(expected), std::string::npos) << json;
  std::string error;
  EXPECT_EQ(TScriptDriver::ReadProperty("SkinForm.Panel1.SkinSection", error), std::optional<std::string>("PANEL")) << error;
  EXPECT_EQ(TScriptDriver::ReadProperty("SkinForm.Panel1.SkinIndex", error),
            std::optional<std::string>(std::to_string(Manager->SectionIndexOf("PANEL"))))
      << error;
  TScriptDriver::SkinInfo() = nullptr;
}

namespace {

LRESULT GroupBoxWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == SM_ALPHACMD && CommandOf(wParam) == AC_ADAPTERQUERY) return 12;  // its caption band
  return DefWindowProc(window, msg, wParam, lParam);
}

}  // namespace

TEST_F(CommonDataTest, CopyingTheCacheShowsThroughGroupBoxWindows) {
  TsSkinManager* manager = NewManager();
  manager->SetIsDefault(true);
  AddStoredSkin(*manager, "Groups",
                "[GLOBALINFO]\nMASTERBITMAP=MASTER.BMP\n[PANEL]\nCOLOR=255\n[GROUPBOX]\n"
                "BORDERSMASK=^0000^0000^0030^0030^0003^0003^0004^0005^1^0^0^0\n",
                {{"Master.bmp", BmpBytes(64, 64, 0x808080)}});
  manager->SetSkinName("Groups");
  TTestSkinPanel* panel = PanelOnWhiteForm("PANEL");
  panel->HandleNeeded();
  WNDCLASSEX wc;
  wc.lpfnWndProc = GroupBoxWindowProc;
  wc.lpszClassName = "TestGroupBox";
  RegisterClassEx(wc);
  HWND group = CreateWindowEx(0, "TestGroupBox", "", WS_CHILD | WS_VISIBLE | 7, 10, 10, 40, 30, panel->Handle(), nullptr,
                              nullptr, nullptr);
  ASSERT_NE(group, nullptr);
  panel->Data.EnsureCache();
  panel->Data.Cache()->Fill(0x0000FF);
  TBitmap target(60, 40, TPixelFormat::pf24bit);
  target.Fill(clBlack);
  panel->Data.CopyCacheToWindows(panel->Handle(), Rect(0, 0, 60, 40), false, &target.Canvas(), Rect(0, 0, 60, 40));
  EXPECT_EQ(target.Pixel(20, 15), 0) << "the caption band";
  EXPECT_EQ(target.Pixel(11, 30), 0) << "the left border, 3 wide";
  EXPECT_EQ(target.Pixel(13, 30), 0x0000FF) << "inside the frame the face shows";
  EXPECT_EQ(target.Pixel(46, 30), 0) << "the right border, 4 wide";
  EXPECT_EQ(target.Pixel(45, 30), 0x0000FF);
  EXPECT_EQ(target.Pixel(30, 36), 0) << "the bottom border, 5 wide";
  EXPECT_EQ(target.Pixel(30, 34), 0x0000FF);
  DestroyWindow(group);
  UnregisterClass("TestGroupBox", nullptr);
}
