// The skinned memos: the edit subclass kept on the window (also a new window),
// scrolling through the skinned bar reaching the memo and its events.
#include "EditTestKit.h"

#include "skin/controls/sDBEdit.h"
#include "skin/controls/sDBMemo.h"
#include "skin/controls/sMemo.h"
#include "skin/controls/sPanel.h"

class MemoTest : public EditTestBase {
protected:
  void Build() {
    Form = MakeForm([this](TForm* form) {
      OpenDatabase(form);
      Panel = Add<TsPanel>(form, form, "sPanel1", 0, 0, 500, 360);
      Panel->SetAlign(alClient);
      Memo = Add<TsMemo>(form, Panel, "sMemo1", 10, 10, 220, 120);
      Memo->SetScrollBars(ssVertical);
      std::string text;
      for (int i = 1; i <= 40; ++i) text += "строка " + std::to_string(i) + "\n";
      Memo->SetText(text);
      DBMemo = Add<TsDBMemo>(form, Panel, "sDBMemo1", 250, 10, 220, 80);
      DBMemo->SetScrollBars(ssVertical);
      DBMemo->SetDataSource(Source);
      DBMemo->SetDataField("title");
      DBEdit = Add<TsDBEdit>(form, Panel, "sDBEdit1", 250, 120, 90, 24);
      DBEdit->SetDataSource(Source);
      DBEdit->SetDataField("amount");
    });
  }
  TForm* Form = nullptr;
  TsPanel* Panel = nullptr;
  TsMemo* Memo = nullptr;
  TsDBMemo* DBMemo = nullptr;
  TsDBEdit* DBEdit = nullptr;
};

TEST_F(MemoTest, TheSkinnedBarScrollsTheMemoAndTellsItsEvent) {
  Build();
  TacOwnedEditWnd* wnd = Memo->EditWnd();
  ASSERT_NE(wnd, nullptr);
  int scrolls = 0;
  Memo->OnVScroll = [&](TObject*) { ++scrolls; };
  const TRect bar = wnd->BarRect(SB_VERT);
  ASSERT_FALSE(bar.IsEmpty());
  const TPoint down{bar.Left + bar.Width() / 2, bar.Bottom - 5};
  Backend->MouseDown(down);
  Backend->MouseUp(down);
  Settle();
  EXPECT_EQ(Memo->TopLine(), 1);
  EXPECT_GE(scrolls, 1);
}

TEST_F(MemoTest, ANewWindowGetsANewSubclass) {
  Build();
  const int made = Memo->Upkeep().Created();
  TacOwnedEditWnd* before = Memo->EditWnd();
  ASSERT_NE(before, nullptr);
  // A new border style makes a new window; the subclass of the old one is dead.
  Memo->SetBorderStyle(bsNone);
  Settle();
  ASSERT_NE(Memo->EditWnd(), nullptr);
  EXPECT_EQ(Memo->Upkeep().Created(), made + 1);
  EXPECT_EQ(TacMainWnd::Of(Memo->Handle()), Memo->EditWnd());
}

TEST_F(MemoTest, DataAwareMembersKeepTheirDataWorkUnderTheSkin) {
  Build();
  EXPECT_EQ(DBMemo->Text(), "Запись 1");
  EXPECT_EQ(DBEdit->Text(), "2");
  Query->Next();
  Settle();
  EXPECT_EQ(DBMemo->Text(), "Запись 2");
  // Typing starts editing through the subclass in front of the memo's handling.
  DBMemo->SetFocus();
  Backend->Key(VK_END);
  Backend->Text("?");
  Settle();
  EXPECT_EQ(Query->State(), TDataSetState::dsEdit);
  EXPECT_EQ(DBMemo->Text(), "Запись 2?");
  EXPECT_EQ(DBMemo->SkinData()->ControlKind(), TacControlKind::Memo);
  EXPECT_FALSE(DBMemo->ParentColor());
}

TEST_F(MemoTest, TheDataAwareEditFrameTurnsHotUnderTheMouse) {
  Build();
  ASSERT_TRUE(SectionHasHotLook(*DBEdit->SkinData()));
  const TPoint centre = DBEdit->ClientToScreen({DBEdit->Width() / 2, DBEdit->Height() / 2});
  Backend->MouseMove(centre);
  Settle();
  EXPECT_TRUE(DBEdit->SkinData()->MouseAbove());
  EXPECT_EQ(DBEdit->EditWnd()->FrameState(), TacPaintState::Hot);
  Backend->MouseMove({5, 700});
  Settle();
  EXPECT_FALSE(DBEdit->SkinData()->MouseAbove());
  EXPECT_EQ(DBEdit->EditWnd()->FrameState(), TacPaintState::Normal);
}
