#include "FormsDbTestUtil.h"
#include "forms/db/DBGrid.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/VirtualKeys.h"

class DBGridTest : public FormsDbTest {
protected:
  void SetUp() override {
    FormsDbTest::SetUp();
    Grid = Add<TDBGrid>("DBGrid1", 10, 10, 400, 200);
    Grid->SetDataSource(Form->DataSource1);
    Form->Show();
    Pump();
  }
  TDBGrid* Grid = nullptr;
};

TEST_F(DBGridTest, OneColumnPerResultColumnTitledWithItsNameRowsInArrivalOrder) {
  ASSERT_EQ(Grid->ColumnCount(), 3);
  EXPECT_EQ(Grid->ColumnTitle(0), "title");
  EXPECT_EQ(Grid->ColumnTitle(2), "amount");
  EXPECT_EQ(Grid->RowCount(), 30);
  EXPECT_EQ(Grid->CellText(0, 0), "Запись 1");
  EXPECT_EQ(Grid->CellText(29, 0), "Запись 30");
  EXPECT_EQ(Grid->CellText(29, 2), "1");
  EXPECT_EQ(Grid->CellText(30, 0), "");  // beyond the rows
  std::string error;
  EXPECT_EQ(TScriptDriver::ReadProperty("Form4.DBGrid1.Titles", error),
            "title|note|amount");
  // An empty result keeps its titles.
  Form->ADOQuery1->Close();
  Form->ADOQuery1->SQL().Clear();
  Form->ADOQuery1->SQL().Add("select * from entries where title = 'нет такого'");
  Form->ADOQuery1->Open();
  EXPECT_EQ(Grid->ColumnCount(), 3);
  EXPECT_EQ(Grid->RowCount(), 0);
  EXPECT_EQ(Grid->CurrentRow(), -1);
}

TEST_F(DBGridTest, CurrentRowFollowsLocateAndScrollsIntoView) {
  EXPECT_EQ(Grid->CurrentRow(), 0);
  ASSERT_TRUE(Form->ADOQuery1->Locate("title", Variant("Запись 25")));
  EXPECT_EQ(Grid->CurrentRow(), 24);
  EXPECT_LE(Grid->TopRow(), 24);
  EXPECT_GT(Grid->TopRow() + Grid->VisibleRowCount(), 24);
  Form->ADOQuery1->First();
  EXPECT_EQ(Grid->TopRow(), 0);
}

TEST_F(DBGridTest, ScrollsByBarWheelAndKeys) {
  const int visible = Grid->VisibleRowCount();
  ASSERT_LT(visible, 30);
  SendMessage(Grid->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(Grid->TopRow(), 1);
  EXPECT_EQ(Grid->CurrentRow(), 0);  // the bar scrolls the view only
  SendMessage(Grid->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(Grid->TopRow(), 30 - visible);
  Backend->Wheel(CenterOf(Grid), WHEEL_DELTA);
  EXPECT_EQ(Grid->TopRow(), 30 - visible - 3);
  Click(Grid);
  const int clicked = Grid->CurrentRow();
  Backend->Key(VK_DOWN);
  EXPECT_EQ(Grid->CurrentRow(), clicked + 1);
  Backend->KeyDown(VK_CONTROL);
  Backend->Key(VK_NEXT);
  Backend->KeyUp(VK_CONTROL);
  EXPECT_EQ(Grid->CurrentRow(), 29);
  EXPECT_EQ(Form->ADOQuery1->RecNo(), 30);
  const int col = Grid->SelectedIndex();
  Backend->Key(VK_RIGHT);
  EXPECT_EQ(Grid->SelectedIndex(), col + 1);
  Backend->Key(VK_HOME);
  EXPECT_EQ(Grid->SelectedIndex(), 0);
}

TEST_F(DBGridTest, EditsInPlaceAndPostsWhenTheRowChanges) {
  std::string failure = RunScript({
      "cell Form4.DBGrid1 2 0",          // moves to the third row
      "expect Form4.DBGrid1.CurrentRow == 2",
      "type Новый текст",                // typing edits the cell
      "expect Form4.DBGrid1.EditorMode == true",
      "expect Form4.ADOQuery1.State == dsEdit",
      "key Down",                        // the row changes: posted
      "expect Form4.ADOQuery1.State == dsBrowse",
      "expect Form4.DBGrid1.CurrentRow == 3",
  });
  EXPECT_EQ(failure, "");
  EXPECT_EQ(Stored("title", 3), "Новый текст");
  EXPECT_EQ(Grid->CellText(2, 0), "Новый текст");
  EXPECT_EQ(Stored("title", 4), "Запись 4");
}

TEST_F(DBGridTest, AValueTheColumnRefusesKeepsTheRowInEditing) {
  Grid->SelectCell(0, 2);
  Grid->SetEditorMode(true);
  ASSERT_TRUE(Grid->EditorMode());
  Grid->InplaceEditor()->SelectAll();
  Backend->Text("пять");
  Backend->Key(VK_DOWN);
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Errors[0], "'пять' is not a valid integer value for field 'amount'");
  EXPECT_EQ(Grid->CurrentRow(), 0);
  EXPECT_EQ(Stored("amount", 1), "2");
}

TEST_F(DBGridTest, ReadOnlyRefusesEveryEdit) {
  Grid->SetReadOnly(true);
  std::string failure = RunScript({"cell Form4.DBGrid1 1 0", "cell Form4.DBGrid1 1 0", "type x", "key F2",
                                   "key Enter", "expect Form4.DBGrid1.EditorMode == false",
                                   "expect Form4.ADOQuery1.State == dsBrowse", "key Insert",
                                   "expect Form4.ADOQuery1.State == dsBrowse"});
  EXPECT_EQ(failure, "");
  EXPECT_EQ(Stored("title", 2), "Запись 2");
}

TEST_F(DBGridTest, EscTakesBackTheCellThenTheRow) {
  Grid->SelectCell(1, 0);
  Click(Grid);  // focus
  Grid->SelectCell(1, 0);
  Grid->SetEditorMode(true);
  Grid->InplaceEditor()->SelectAll();
  Backend->Text("черновик");
  Backend->Key(VK_ESCAPE);
  EXPECT_EQ(Grid->InplaceEditor()->Text(), "Запись 2");
  Backend->Key(VK_ESCAPE);
  EXPECT_FALSE(Grid->EditorMode());
  EXPECT_EQ(Form->ADOQuery1->State(), TDataSetState::dsBrowse);
  EXPECT_EQ(Stored("title", 2), "Запись 2");
}

TEST_F(DBGridTest, ANewRowShowsInPlaceAndLeavingItPostsOrDropsIt) {
  std::string failure = RunScript({
      "cell Form4.DBGrid1 1 0",
      "key Insert",
      "expect Form4.DBGrid1.RowCount == 31",
      "expect Form4.DBGrid1.CurrentRow == 1",
      "expect Form4.DBGrid1.CurrentCell ==",
      "cell Form4.DBGrid1 5 0",          // untouched: the new row goes, the lines move up
      "expect Form4.DBGrid1.RowCount == 30",
      "expect Form4.DBGrid1.CurrentCell == Запись 5",
      "key Insert",
      "type Ещё запись",
      "cell Form4.DBGrid1 7 0",          // typed: posted where it was shown
      "expect Form4.DBGrid1.RowCount == 31",
      "expect Form4.DBGrid1.CurrentCell == Запись 7",
  });
  EXPECT_EQ(failure, "");
  EXPECT_EQ(StoredCount("entries"), 31);
  EXPECT_EQ(Grid->CellText(4, 0), "Ещё запись");
}
