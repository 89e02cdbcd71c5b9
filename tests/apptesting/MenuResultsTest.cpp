// The test menu and the results window: who sees which rows, and who may edit them.
#include <string>

#include "app/AppControls.h"
#include "app/Unit1.h"
#include "app/Unit6.h"
#include "app/Unit8.h"
#include "forms/db/DBComponents.h"
#include "forms/db/DBGrid.h"
#include "platform/win/VirtualKeys.h"
#include "tests/apptesting/TestingFixture.h"

namespace {

class MenuResultsTest : public TestingFixture {
protected:
  void SetUp() override {
    TestingFixture::SetUp();
    AddResult("ivanov", 24);
    AddResult("petrova", 27);
    AddResult("ivanov", 19);
    AddResult("Уволенный", 30);  // a user who no longer exists
  }
  void ShowResults() {
    Form8->Show();
    Pump();
    Click(Form8->sSpeedButton2);
    Pump();
  }
  std::string Scores() {
    std::string out;
    for (int r = 0; r < Form6->DBGrid1->RowCount(); ++r) out += Form6->DBGrid1->CellText(r, 1) + ";";
    return out;
  }
};

TEST_F(MenuResultsTest, StudentSeesOnlyOwnRowsAndCannotChangeThem) {
  MakeWindows("ivanov");
  ShowResults();
  ASSERT_TRUE(Form6->Visible());
  EXPECT_TRUE(Form8->sSpeedButton2->Down());
  EXPECT_FALSE(Form8->sSpeedButton3->Visible());
  EXPECT_EQ(Form6->ADOQuery1->SQL().Count(), 2);
  EXPECT_EQ(Form6->ADOQuery1->SQL()[1], "where Пользователь= :a");
  EXPECT_EQ(Form6->DBGrid1->ColumnTitle(0), "Пользователь");
  EXPECT_EQ(Scores(), "24;19;");
  EXPECT_TRUE(Form6->DBGrid1->ReadOnly());

  // Typing into a cell and leaving the row changes nothing.
  Form6->DBGrid1->SelectCell(0, 1);
  Form6->DBGrid1->SetFocus();
  Backend->Key(VK_F2);
  Backend->Text("30");
  Backend->Key(VK_DOWN);
  Pump();
  EXPECT_EQ(Rows("select Верно from Тесты where Пользователь = 'ivanov'").front().front(), "24");
  EXPECT_EQ(Scores(), "24;19;");
}

TEST_F(MenuResultsTest, AdministratorSeesEveryRowAndMayEdit) {
  MakeWindows("Admin");
  ShowResults();
  EXPECT_TRUE(Form8->sSpeedButton3->Visible());
  EXPECT_EQ(Form6->ADOQuery1->SQL().Count(), 1);
  EXPECT_EQ(Scores(), "24;27;19;30;");
  EXPECT_FALSE(Form6->DBGrid1->ReadOnly());
}

TEST_F(MenuResultsTest, AdministratorIsTheExactLoginAdmin) {
  MakeWindows("admin");
  ShowResults();
  EXPECT_FALSE(Form8->sSpeedButton3->Visible());
  EXPECT_TRUE(Form6->DBGrid1->ReadOnly());
  // The database compares without regard to case, the menu's test does not.
  EXPECT_EQ(Form6->ADOQuery1->SQL().Count(), 2);
}

TEST_F(MenuResultsTest, NewResultShowsOnlyWhenAskedAgain) {
  MakeWindows("petrova");
  ShowResults();
  EXPECT_EQ(Scores(), "27;");
  AddResult("petrova", 12);
  EXPECT_EQ(Scores(), "27;");
  Form8->Show();  // the menu to the front, over the results
  Pump();
  Click(Form8->sSpeedButton2);
  Pump();
  EXPECT_EQ(Scores(), "27;12;");
}

TEST_F(MenuResultsTest, UserWithoutResultsSeesTitlesOnly) {
  MakeWindows("Смирнов");
  ShowResults();
  EXPECT_EQ(Form6->DBGrid1->RowCount(), 0);
  EXPECT_EQ(Form6->DBGrid1->ColumnCount(), 2);
}

TEST_F(MenuResultsTest, MenuChecksTheUserOnEveryShowing) {
  MakeWindows("ivanov");
  Form8->Show();
  Pump();
  EXPECT_EQ(Form8->sPanel1->Caption(), "ivanov");
  EXPECT_FALSE(Form8->sSpeedButton3->Visible());
  Form8->Close();
  Form1->sPanel1->SetCaption("Admin");
  Form8->Show();
  Pump();
  EXPECT_EQ(Form8->sPanel1->Caption(), "Admin");
  EXPECT_TRUE(Form8->sSpeedButton3->Visible());
}

// The results of exactly the logged-in login, letter case significant, as the
// login window compares: "IVANOV" is not ivanov, a student "admin" not the administrator.
TEST_F(MenuResultsTest, ResultsAreThoseOfExactlyTheLogin) {
  AddResult("IVANOV", 3);
  AddResult("admin", 7);
  AddResult("Admin", 9);
  MakeWindows("IVANOV");
  ShowResults();
  EXPECT_EQ(Scores(), "3;");
}

TEST_F(MenuResultsTest, AStudentAdminSeesOnlyTheirOwnResults) {
  AddResult("admin", 7);
  AddResult("Admin", 9);
  MakeWindows("admin");
  ShowResults();
  EXPECT_FALSE(Form8->sSpeedButton3->Visible());
  EXPECT_EQ(Scores(), "7;");
}

}  // namespace
