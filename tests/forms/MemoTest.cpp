#include "FormsTestUtil.h"
#include "forms/ListBox.h"
#include "forms/Memo.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/ScrollInfo.h"
#include "platform/win/VirtualKeys.h"

class MemoTest : public FormsTest {
protected:
  void SetUp() override {
    FormsTest::SetUp();
    Form = App->CreateForm<TForm>();
    Form->SetBounds(0, 0, 400, 300);
    Memo = new TMemo(Form);
    Memo->SetParent(Form);
    Memo->SetBounds(10, 10, 300, 100);
    Memo->SetScrollBars(ssVertical);
    Form->Show();
  }
  SCROLLINFO Scroll() {
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    EXPECT_TRUE(GetScrollInfo(Memo->Handle(), SB_VERT, &si));
    return si;
  }
  TForm* Form = nullptr;
  TMemo* Memo = nullptr;
};

TEST_F(MemoTest, LinesViewTheTextAndAppendKeepsItInOrder) {
  EXPECT_EQ(Memo->Lines().Count(), 0);
  Memo->Lines().Add("first");
  Memo->Lines().Add("second");
  EXPECT_EQ(Memo->Text(), "first\nsecond");
  EXPECT_EQ(Memo->Lines().Count(), 2);
  Memo->Lines().Insert(0, "zero");
  EXPECT_EQ(Memo->Lines()[0], "zero");
  Memo->Lines().Delete(1);
  EXPECT_EQ(Memo->Text(), "zero\nsecond");
  // A final line break opens no line of its own.
  Memo->SetText("a\nb\n");
  EXPECT_EQ(Memo->Lines().Count(), 2);
  Memo->Lines().Add("c");
  EXPECT_EQ(Memo->Text(), "a\nb\nc\n");
}

TEST_F(MemoTest, AppendingLinesSetsTheScrollRangeAndShowsTheLastLine) {
  int visible = Memo->VisibleLineCount();
  ASSERT_GT(visible, 1);
  for (int i = 0; i < 30; ++i) Memo->Lines().Add("line " + std::to_string(i));
  SCROLLINFO si = Scroll();
  EXPECT_EQ(si.nMin, 0);
  EXPECT_EQ(si.nMax, 29);
  EXPECT_EQ(static_cast<int>(si.nPage), visible);
  EXPECT_EQ(si.nPos, 30 - visible);
  EXPECT_EQ(Memo->TopLine(), 30 - visible);
  // The scroll bar moves the text.
  SendMessage(Memo->Handle(), WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(Memo->TopLine(), 0);
  EXPECT_EQ(Scroll().nPos, 0);
  SendMessage(Memo->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(Memo->TopLine(), 1);
}

TEST_F(MemoTest, LongLinesWrapAtWords) {
  Memo->SetText(std::string(60, 'a') + " " + std::string(60, 'b'));
  EXPECT_GE(Memo->VisualLineCount(), 2);
  EXPECT_EQ(Memo->Lines().Count(), 1);
  Memo->SetWordWrap(false);
  EXPECT_EQ(Memo->VisualLineCount(), 1);
}

TEST_F(MemoTest, ArrowsMoveBetweenLines) {
  Memo->SetText("abc\nde\nfghij");
  Memo->SetFocus();
  Memo->SetSelStart(2);  // between b and c
  Backend->Key(VK_DOWN);
  EXPECT_EQ(Memo->CaretPos(), 6);  // end of "de"
  Backend->Key(VK_DOWN);
  EXPECT_EQ(Memo->CaretPos(), 9);  // column remembered: after "fg"
  Backend->Key(VK_HOME);
  EXPECT_EQ(Memo->CaretPos(), 7);
  Backend->KeyDown(VK_CONTROL);
  Backend->Key(VK_END);
  Backend->KeyUp(VK_CONTROL);
  EXPECT_EQ(Memo->CaretPos(), 12);
}

TEST_F(MemoTest, ListBoxScrollsToTheSelectionAndReportsItsRange) {
  auto* list = new TListBox(Form);
  list->SetParent(Form);
  list->SetBounds(10, 120, 200, 100);
  for (int i = 0; i < 20; ++i) list->Items().Add("item " + std::to_string(i));
  int clicks = 0;
  list->OnClick = [&](TObject*) { ++clicks; };
  list->SetFocus();
  Backend->Key(VK_END);
  EXPECT_EQ(list->ItemIndex(), 19);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(list->TopIndex(), 20 - list->VisibleItemCount());
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  GetScrollInfo(list->Handle(), SB_VERT, &si);
  EXPECT_EQ(si.nMax, 19);
  EXPECT_EQ(si.nPos, list->TopIndex());
  Backend->Click(list->ClientToScreen({20, 2}));
  EXPECT_EQ(list->ItemIndex(), list->TopIndex());
  list->Items().Clear();
  EXPECT_EQ(list->ItemIndex(), -1);
}
