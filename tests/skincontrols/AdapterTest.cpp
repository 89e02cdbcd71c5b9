// The standard-control adapter on a skinned form: plain push buttons painted from
// "BUTTON", the label treatment, controls the lists do not name, and the skin
// switched off and on again.
#include "AdapterTestKit.h"

#include <cmath>

#include "forms/Button.h"
#include "forms/CustomEdit.h"
#include "forms/CustomLabel.h"
#include "forms/CustomPanel.h"
#include "platform/gfx/SystemColors.h"
#include "skin/controls/acBtnWnd.h"
#include "skin/runtime/acBroadcast.h"
#include "skin/runtime/sCommonData.h"

namespace {

constexpr TColor kOwnRed = 0x000000C0;

}  // namespace

class AdapterTest : public AdapterTestBase {
protected:
  // A window built like the login window: a panel with labels, two edits, the
  // "&OK" and "&Отмена" push buttons, plus a memo and a hidden button.
  TForm* MakeLoginLike() {
    return MakeForm([this](TForm* f) {
      auto* panel = new TPanel(f);
      panel->SetParent(f);
      panel->SetBounds(10, 10, 380, 100);
      Label = new TLabel(f);
      Label->SetParent(panel);
      Label->SetBounds(14, 22, 190, 20);
      Label->SetCaption("Введите пользователя");
      Label->Font().SetColor(kOwnRed);
      Label->SetTransparent(false);
      Kept = new TLabel(f);
      Kept->SetParent(panel);
      Kept->SetBounds(14, 60, 190, 20);
      Kept->SetCaption("Введите пароль");
      Kept->Font().SetColor(kOwnRed);
      Kept->SetTag(98);
      Kept->SetTransparent(false);
      Edit = new TEdit(f);
      Edit->SetParent(panel);
      Edit->SetBounds(210, 20, 150, 22);
      Ok = new TButton(f);
      Ok->SetParent(f);
      Ok->SetBounds(96, 124, 89, 27);
      Ok->SetCaption("&OK");
      Ok->SetDefault(true);
      Cancel = new TButton(f);
      Cancel->SetParent(f);
      Cancel->SetBounds(210, 124, 89, 27);
      Cancel->SetCaption("&Отмена");
      Untouched = new TButton(f);
      Untouched->SetParent(f);
      Untouched->SetBounds(10, 160, 89, 27);
      Untouched->SetCaption("Тег");
      Untouched->SetTag(-98);
      Memo = new TMemo(f);
      Memo->SetParent(f);
      Memo->SetBounds(10, 200, 200, 80);
      Memo->SetScrollBars(ssVertical);
    });
  }
  static TacBtnWnd* ButtonWnd(TButton* b) { return dynamic_cast<TacBtnWnd*>(TacMainWnd::Of(b->Handle())); }
  TColor ScreenPixel(TForm* form, TWinControl* control, int x, int y) {
    Settle();
    TRect f, c;
    GetWindowRect(form->Handle(), &f);
    GetWindowRect(control->Handle(), &c);
    return WindowImage(form->Handle())->Pixel(c.Left - f.Left + x, c.Top - f.Top + y);
  }
  void Reactivate(TForm* form) {
    SetActiveWindow(form->Handle());
    Settle();
  }

  TLabel* Label = nullptr;
  TLabel* Kept = nullptr;
  TEdit* Edit = nullptr;
  TButton* Ok = nullptr;
  TButton* Cancel = nullptr;
  TButton* Untouched = nullptr;
  TMemo* Memo = nullptr;
};

TEST_F(AdapterTest, PlainPushButtonsArePaintedFromTheButtonSection) {
  TForm* form = MakeLoginLike();
  TsSkinProvider* provider = TsSkinProvider::Of(form);
  ASSERT_NE(provider, nullptr);
  auto* adapter = dynamic_cast<TacCtrlAdapter*>(provider->Adapter());
  ASSERT_NE(adapter, nullptr);
  for (TButton* b : {Ok, Cancel}) {
    TacBtnWnd* wnd = ButtonWnd(b);
    ASSERT_NE(wnd, nullptr) << b->Caption();
    EXPECT_EQ(wnd->SkinData().SkinSection(), "BUTTON");
    EXPECT_EQ(wnd->SkinData().SkinIndex(), Manager->SectionIndexOf("BUTTON"));
    EXPECT_TRUE(TacBroadcast::AnswersHandled(b->Handle()));
    EXPECT_GT(wnd->RenderCount(), 0);
    // What is on the screen is the skinned face.
    const TBitmap& face = *wnd->SkinData().Cache();
    for (TPoint p : {TPoint{4, 13}, TPoint{44, 2}, TPoint{80, 20}})
      EXPECT_EQ(ScreenPixel(form, b, p.X, p.Y), face.Pixel(p.X, p.Y));
  }
  EXPECT_EQ(TacMainWnd::Of(Untouched->Handle()), nullptr) << "Tag -98 keeps a control out";
  EXPECT_EQ(TacMainWnd::Of(Edit->Handle()), nullptr) << "ThirdEdits is a single blank";
  EXPECT_EQ(TacMainWnd::Of(Memo->Handle()), nullptr);
  EXPECT_EQ(adapter->Items().size(), 2u);
}

TEST_F(AdapterTest, ButtonShowsHotWhenFocusedOrHoveredAndPressedWhilePushed) {
  MakeLoginLike();
  TacBtnWnd* cancel = ButtonWnd(Cancel);
  TacBtnWnd* ok = ButtonWnd(Ok);
  ASSERT_NE(cancel, nullptr);
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->PaintState(), TacPaintState::Hot) << "the default button";
  EXPECT_EQ(cancel->PaintState(), TacPaintState::Normal);
  const TBitmap normal = *cancel->SkinData().Cache();
  TRect r;
  GetWindowRect(Cancel->Handle(), &r);
  const TPoint centre{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  Backend->MouseMove(centre);
  Settle();
  EXPECT_EQ(Manager->HotControl(), Cancel->Handle());
  EXPECT_EQ(cancel->PaintState(), TacPaintState::Hot);
  Backend->MouseDown(centre);
  Settle();
  EXPECT_EQ(cancel->PaintState(), TacPaintState::Pressed);
  const TBitmap pressed = *cancel->SkinData().Cache();
  Backend->MouseUp(centre);
  Backend->MouseMove({r.Left - 200, r.Top - 100});
  Settle();
  EXPECT_NE(Manager->HotControl(), Cancel->Handle());
  EXPECT_EQ(cancel->PaintState(), TacPaintState::Hot) << "it has the focus now";
  int differing = 0;
  for (int y = 0; y < normal.Height(); ++y)
    for (int x = 0; x < normal.Width(); ++x) differing += normal.Pixel(x, y) != pressed.Pixel(x, y) ? 1 : 0;
  EXPECT_GT(differing, 100) << "the pressed face is another face";
  Cancel->SetEnabled(false);
  Settle();
  EXPECT_EQ(cancel->PaintState(), TacPaintState::Normal);
}

TEST_F(AdapterTest, PlainLabelTakesTheSkinTextColourWhileTag98KeepsItsOwn) {
  MakeLoginLike();
  EXPECT_TRUE(Label->Transparent());
  EXPECT_EQ(Label->Font().Color(), Manager->GlobalFontColor());
  EXPECT_NE(Manager->GlobalFontColor(), kOwnRed);
  EXPECT_EQ(Kept->Font().Color(), kOwnRed);
  EXPECT_FALSE(Kept->Transparent()) << "Tag 98 keeps colour and opacity";
}

TEST_F(AdapterTest, RemovingTheSkinUninstallsAndApplyingItAgainReskins) {
  Manager->ThirdLists[0] = {"TMemo"};  // edits of the memo's class are adapted too
  TForm* form = MakeLoginLike();
  ASSERT_NE(ButtonWnd(Ok), nullptr);
  auto* memoWnd = dynamic_cast<TacEditWnd*>(TacMainWnd::Of(Memo->Handle()));
  ASSERT_NE(memoWnd, nullptr);
  const TsGeneralData& edit = *Manager->Section(Manager->SectionIndexOf("EDIT"));
  EXPECT_EQ(Memo->Color(), static_cast<TColor>(edit.Color));
  const TColor skinnedBar = ScreenPixel(form, Memo, Memo->Width() - 8, Memo->Height() - 6);

  Manager->SetActive(false);
  Settle();
  EXPECT_EQ(TacMainWnd::Of(Ok->Handle()), nullptr);
  EXPECT_EQ(TacMainWnd::Of(Memo->Handle()), nullptr);
  EXPECT_FALSE(TacBroadcast::AnswersHandled(Ok->Handle()));
  EXPECT_EQ(Memo->Color(), clWindow) << "the memo's own colour is back";
  EXPECT_EQ(Label->Font().Color(), clWindowText);
  EXPECT_EQ(ScreenPixel(form, Ok, 44, 2), ColorToRGB(cl3DLight)) << "the classic button face";
  EXPECT_NE(ScreenPixel(form, Memo, Memo->Width() - 8, Memo->Height() - 6), skinnedBar);

  Manager->SetActive(true);
  TForm* other = MakeForm({}, Bounds(600, 80, 200, 150));
  Reactivate(form);
  EXPECT_NE(TsSkinProvider::Of(other), nullptr);
  ASSERT_NE(ButtonWnd(Ok), nullptr);
  ASSERT_NE(TacMainWnd::Of(Memo->Handle()), nullptr);
  EXPECT_EQ(Memo->Color(), static_cast<TColor>(edit.Color));
  EXPECT_EQ(Label->Font().Color(), Manager->GlobalFontColor());
  EXPECT_EQ(ScreenPixel(form, Memo, Memo->Width() - 8, Memo->Height() - 6), skinnedBar);
  EXPECT_EQ(ScreenPixel(form, Ok, 44, 2), ButtonWnd(Ok)->SkinData().Cache()->Pixel(44, 2));
}

TEST_F(AdapterTest, DestroyedControlLeavesADeadItemThatTheNextScanDrops) {
  TForm* form = MakeLoginLike();
  auto* adapter = dynamic_cast<TacCtrlAdapter*>(TsSkinProvider::Of(form)->Adapter());
  ASSERT_NE(adapter, nullptr);
  ASSERT_NE(adapter->ItemOf(Cancel), nullptr);
  delete Cancel;
  Cancel = nullptr;
  ASSERT_EQ(adapter->Items().size(), 2u);
  adapter->ScanControls();
  EXPECT_EQ(adapter->Items().size(), 1u);
  EXPECT_NE(adapter->ItemOf(Ok), nullptr);
}

TEST_F(AdapterTest, EmptyThirdButtonsGetsTheDefaultBack) {
  Manager->ThirdParty().SetThirdButtons("");
  Manager->Loaded();
  EXPECT_EQ(Manager->ThirdParty().ThirdButtons(), "TButton");
  ASSERT_EQ(Manager->ThirdLists[1].size(), 1u);
  EXPECT_EQ(Manager->ThirdLists[1][0], "TButton");
  EXPECT_EQ(ThirdPartyIndexOf(*Manager, "TButton"), 1);
  EXPECT_EQ(ThirdPartyIndexOf(*Manager, "TEdit"), -1) << "a single blank names no class";
  EXPECT_EQ(ThirdPartyIndexOf(*Manager, " "), -1);
}

namespace {

// A disabled plain button on a plain panel (only the panel's colour is known behind
// it): each face pixel becomes 40 % face and 60 % colour, rounded.
TEST_F(AdapterTest, ADisabledButtonOverAColourMixesEveryPixelFortySixty) {
  TPanel* panel = nullptr;
  TButton* button = nullptr;
  TEdit* edit = nullptr;
  TForm* form = MakeForm([&](TForm* f) {
    panel = new TPanel(f);
    panel->SetParent(f);
    panel->SetBounds(10, 10, 380, 120);
    panel->SetColor(0x00306090);
    button = new TButton(f);
    button->SetParent(panel);
    button->SetBounds(30, 40, 89, 27);
    button->SetCaption("Тег");
    edit = new TEdit(f);  // takes the focus, so the button shows its normal face
    edit->SetParent(f);
    edit->SetBounds(10, 200, 100, 22);
  });
  edit->SetFocus();
  Settle();
  TacBtnWnd* wnd = ButtonWnd(button);
  ASSERT_NE(wnd, nullptr);
  ASSERT_EQ(wnd->PaintState(), TacPaintState::Normal);
  const TBitmap enabled = *wnd->SkinData().Cache();
  button->SetEnabled(false);
  Settle();
  InvalidateRect(button->Handle(), nullptr, false);
  Settle();
  ASSERT_EQ(wnd->PaintState(), TacPaintState::Normal);
  const TBitmap& disabled = *wnd->SkinData().Cache();
  ASSERT_EQ(disabled.Width(), enabled.Width());
  int mismatches = 0;
  for (int y = 0; y < enabled.Height(); ++y)
    for (int x = 0; x < enabled.Width(); ++x) {
      const TColor e = enabled.Pixel(x, y);
      TColor expected = 0;
      for (int i = 0; i < 3; ++i) {
        const double v = 0.4 * Channel(e, i) + 0.6 * Channel(0x00306090, i);
        expected |= static_cast<TColor>(std::lround(v)) << (8 * i);
      }
      mismatches += disabled.Pixel(x, y) != expected ? 1 : 0;
    }
  EXPECT_EQ(mismatches, 0);
  EXPECT_EQ(ScreenPixel(form, button, 88, 26), disabled.Pixel(88, 26)) << "the last column and row too";
}

}  // namespace

namespace {

TEST_F(AdapterTest, TheDriverReportsTheSectionOfAnAdaptedButton) {
  MakeLoginLike();
  std::string section;
  int index = -2;
  SkinReportOf(Ok, section, index);
  EXPECT_EQ(section, "BUTTON");
  EXPECT_EQ(index, Manager->SectionIndexOf("BUTTON"));
  SkinReportOf(Untouched, section, index);  // Tag -98: not skinned
  EXPECT_EQ(section, "");
  EXPECT_EQ(index, -1);
  SkinReportOf(Edit, section, index);  // no list names edits
  EXPECT_EQ(section, "");
}

}  // namespace
