#include "FormsDbTestUtil.h"
#include "forms/db/DBEdit.h"
#include "forms/db/DBListBox.h"
#include "forms/db/DBMemo.h"
#include "platform/win/VirtualKeys.h"

class DBEditTest : public FormsDbTest {
protected:
  void SetUp() override {
    FormsDbTest::SetUp();
    Memo = Add<TDBMemo>("sDBMemo1", 10, 10, 300, 80);
    Memo->SetDataSource(Form->DataSource1);
    Memo->SetDataField("title");
    Number = Add<TDBEdit>("sDBEdit1", 10, 100, 100, 23);
    Number->SetDataSource(Form->DataSource1);
    Number->SetDataField("amount");
    Form->Show();
    Pump();
  }
  TDBMemo* Memo = nullptr;
  TDBEdit* Number = nullptr;
};

TEST_F(DBEditTest, ShowsTheCurrentRowAndFollowsMoves) {
  EXPECT_EQ(Memo->Text(), "Запись 1");
  EXPECT_EQ(Number->Text(), "2");
  Form->ADOQuery1->Next();
  EXPECT_EQ(Memo->Text(), "Запись 2");
  EXPECT_EQ(Number->Text(), "3");
  Form->ADOQuery1->Close();
  EXPECT_EQ(Memo->Text(), "");
}

TEST_F(DBEditTest, TypingStartsEditingAndMovingPostsTheText) {
  Click(Memo);
  Backend->Key(VK_END);
  Backend->Text(" изменён");
  EXPECT_EQ(Form->ADOQuery1->State(), TDataSetState::dsEdit);
  Form->ADOQuery1->Next();  // moving posts first
  EXPECT_EQ(Form->ADOQuery1->State(), TDataSetState::dsBrowse);
  EXPECT_EQ(Stored("title", 1), "Запись 1 изменён");
  EXPECT_EQ(Stored("title", 2), "Запись 2");
}

TEST_F(DBEditTest, TypingIsRefusedWhereTheRowCannotBeEdited) {
  Memo->SetReadOnly(true);
  Click(Memo);
  Backend->Text("x");
  EXPECT_EQ(Memo->Text(), "Запись 1");
  EXPECT_EQ(Form->ADOQuery1->State(), TDataSetState::dsBrowse);
  // A one-column select cannot be edited either.
  Form->ADOQuery1->Close();
  Form->ADOQuery1->SQL().Clear();
  Form->ADOQuery1->SQL().Add("select title from entries");
  Form->ADOQuery1->Open();
  Memo->SetReadOnly(false);
  Click(Memo);
  Backend->Text("y");
  EXPECT_EQ(Memo->Text(), "Запись 1");
  EXPECT_EQ(Form->ADOQuery1->State(), TDataSetState::dsBrowse);
}

TEST_F(DBEditTest, ANonIntegerIsRefusedWithTheFieldsMessageAndTheFocusStays) {
  Click(Number);
  Backend->Key(VK_END);
  Backend->Key(VK_BACK);
  Backend->Text("abc");
  Click(Memo);  // leaving the edit writes its text
  Pump();
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Errors[0], "'abc' is not a valid integer value for field 'amount'");
  EXPECT_TRUE(Number->Focused());
  EXPECT_EQ(Number->SelText(), "abc");
  EXPECT_EQ(Form->ADOQuery1->State(), TDataSetState::dsEdit);
  // A number goes in; an empty text stores null.
  Backend->Text("4");
  Click(Memo);
  Pump();
  EXPECT_EQ(Errors.size(), 1u);
  Form->ADOQuery1->Post();
  EXPECT_EQ(Stored("amount", 1), "4");
  Click(Number);
  Backend->Key(VK_END);
  Backend->Key(VK_BACK);
  Form->ADOQuery1->Post();
  EXPECT_EQ(Stored("amount", 1), "");
}

TEST_F(DBEditTest, EscTakesBackTheTyping) {
  Click(Memo);
  Backend->Text("zzz");
  Backend->Key(VK_ESCAPE);
  EXPECT_EQ(Memo->Text(), "Запись 1");
}

TEST_F(DBEditTest, ListBoxSelectsTheItemOfTheFieldAndWritesTheChosenOne) {
  auto* list = Add<TDBListBox>("DBListBox1", 350, 10, 100, 120);
  for (const char* item : {"1", "2", "3", "4", "5"}) list->Items().Add(item);
  list->SetDataSource(Form->DataSource1);
  list->SetDataField("amount");
  EXPECT_EQ(list->ItemIndex(), 1);
  Form->ADOQuery1->Next();
  EXPECT_EQ(list->ItemIndex(), 2);
  std::string failure = RunScript({"select Form4.DBListBox1 4", "expect Form4.DBListBox1.ItemIndex == 4",
                                   "expect Form4.ADOQuery1.State == dsEdit"});
  EXPECT_EQ(failure, "");
  Form->ADOQuery1->Post();
  EXPECT_EQ(Stored("amount", 2), "5");
}
