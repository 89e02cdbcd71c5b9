// Removing the skin and applying it again: every control and window is restored,
// then skinned again, and looks as it did before.
#include "EditTestKit.h"


#include "skin/controls/sButton.h"
#include "skin/controls/sDBLookupListBox.h"
#include "skin/controls/sDBMemo.h"
#include "skin/controls/sDBNavigator.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sMemo.h"
#include "skin/controls/sPanel.h"
#include "skin/frame/sSkinProvider.h"

class EditSkinSwitchTest : public EditTestBase {
protected:
  void Build() {
    Form = MakeForm([this](TForm* form) {
      OpenDatabase(form);
      Panel = Add<TsPanel>(form, form, "sPanel1", 0, 0, 500, 360);
      Panel->SetAlign(alClient);
      Edit = Add<TsEdit>(form, Panel, "sEdit1", 10, 10, 150, 24);
      Edit->SetText("Иванов");
      Memo = Add<TsMemo>(form, Panel, "sMemo1", 10, 44, 200, 80);
      Memo->SetScrollBars(ssVertical);
      Memo->SetText("одна\nдве\nтри\nчетыре\nпять\nшесть\nсемь");
      DBMemo = Add<TsDBMemo>(form, Panel, "sDBMemo1", 220, 44, 200, 80);
      DBMemo->SetScrollBars(ssVertical);
      DBMemo->SetDataSource(Source);
      DBMemo->SetDataField("title");
      List = Add<TsDBLookupListBox>(form, Panel, "sDBLookupListBox1", 10, 140, 200, 100);
      List->SetListSource(LookupSource);
      List->SetListField("title");
      List->SetKeyField("note");
      List->Font().SetColor(clBlack);
      Nav = Add<TsDBNavigator>(form, Panel, "sDBNavigator1", 220, 140, 240, 25);
      Nav->SetDataSource(Source);
      Button = Add<TsButton>(form, Panel, "sButton1", 220, 200, 120, 30);
      Button->SetCaption("Найти");
    });
  }
  void SwitchOff() {
    Manager->SetActive(false);
    Settle();
  }
  void SwitchOn() {
    Manager->SetActive(true);
    Settle();
  }

  TForm* Form = nullptr;
  TsPanel* Panel = nullptr;
  TsEdit* Edit = nullptr;
  TsMemo* Memo = nullptr;
  TsDBMemo* DBMemo = nullptr;
  TsDBLookupListBox* List = nullptr;
  TsDBNavigator* Nav = nullptr;
  TsButton* Button = nullptr;
};

TEST_F(EditSkinSwitchTest, OffRestoresThePlatformLookAndOnSkinsEverythingAgain) {
  Build();
  ASSERT_NE(Memo->EditWnd(), nullptr);
  ASSERT_NE(DBMemo->EditWnd(), nullptr);
  ASSERT_NE(List->EditWnd(), nullptr);
  ASSERT_NE(TsSkinProvider::Of(Form), nullptr);
  const TBitmap before = Snapshot(Form->Handle());

  SwitchOff();
  EXPECT_EQ(Memo->EditWnd(), nullptr);
  EXPECT_EQ(List->EditWnd(), nullptr);
  EXPECT_EQ(TsSkinProvider::Of(Form), nullptr);
  EXPECT_EQ(Memo->SkinData()->SkinIndex(), -1);
  // The list's own colours come back with the platform look.
  EXPECT_EQ(List->Font().Color(), clBlack);
  EXPECT_EQ(List->Color(), clWindow);
  const TBitmap off = Snapshot(Form->Handle());
  EXPECT_GT(DifferingPixels(before, off), 1000);

  SwitchOn();
  EXPECT_NE(Memo->EditWnd(), nullptr);
  EXPECT_NE(DBMemo->EditWnd(), nullptr);
  EXPECT_NE(List->EditWnd(), nullptr);
  EXPECT_NE(TsSkinProvider::Of(Form), nullptr);
  EXPECT_FALSE(Panel->SkinData()->Suspended());
  EXPECT_EQ(List->Font().Color(), Section("EDIT").FontColor[0]);
  const TBitmap again = Snapshot(Form->Handle());
  EXPECT_EQ(DifferingPixels(before, again), 0);
}

TEST_F(EditSkinSwitchTest, AHundredTimesOffAndOnLeavesTheWindowAsItWas) {
  Build();
  const TBitmap before = Snapshot(Form->Handle());
  const int made = Memo->Upkeep().Created();
  for (int i = 0; i < 100; ++i) {
    SwitchOff();
    ASSERT_EQ(Memo->EditWnd(), nullptr) << i;
    SwitchOn();
    ASSERT_NE(Memo->EditWnd(), nullptr) << i;
  }
  // One new subclass per application of the skin, the old ones freed (the
  // sanitizer build checks that nothing leaks).
  EXPECT_EQ(Memo->Upkeep().Created(), made + 100);
  EXPECT_EQ(DifferingPixels(before, Snapshot(Form->Handle())), 0);
  // Still working: typing reaches the memo and scrolls it under the skinned bar.
  Memo->SetFocus();
  Backend->Text("x");
  Settle();
  EXPECT_EQ(Memo->Text().substr(0, 1), "x");
}

TEST_F(EditSkinSwitchTest, WithoutTheSkinTheMemoShowsThePlatformFrameAndBars) {
  Build();
  TRect withSkin;
  GetClientRect(Memo->Handle(), &withSkin);
  SwitchOff();
  // The platform's own frame and bar: the client is narrower by the platform's bar
  // and the colours are the window colours again.
  TRect without;
  GetClientRect(Memo->Handle(), &without);
  EXPECT_EQ(without.Width(), withSkin.Width());
  EXPECT_EQ(Memo->Color(), clWindow);
  EXPECT_EQ(Memo->Font().Color(), clWindowText);
  SwitchOn();
  EXPECT_EQ(Memo->Font().Color(), Section("EDIT").FontColor[0]);
}
