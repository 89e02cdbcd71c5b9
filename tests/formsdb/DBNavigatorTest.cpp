#include "FormsDbTestUtil.h"
#include "forms/HintWindow.h"
#include "forms/db/DBEdit.h"
#include "forms/db/DBNavigator.h"
#include "forms/db/NavRepeat.h"

#include <stdexcept>

class DBNavigatorTest : public FormsDbTest {
protected:
  void SetUp() override {
    FormsDbTest::SetUp();
    Nav = Add<TDBNavigator>("sDBNavigator1", 100, 300, 377, 33);
    Nav->SetShowHint(true);
    Nav->SetDataSource(Form->DataSource1);
    Edit = Add<TDBEdit>("sDBEdit1", 10, 10, 100, 23);
    Edit->SetDataSource(Form->DataSource1);
    Edit->SetDataField("title");
    Form->Show();
    Pump();
  }
  std::string Enabled() {
    std::string error;
    return *TScriptDriver::ReadProperty("Form4.sDBNavigator1.EnabledButtons", error);
  }
  TDBNavigator* Nav = nullptr;
  TDBEdit* Edit = nullptr;
};

TEST_F(DBNavigatorTest, TenButtonsLaidOutAcrossTheWidth) {
  // 377 wide with one bevel: 37 pixels each, every second one 38; 30 high.
  for (int i = 0; i < kNavButtonCount; ++i) {
    TNavButton* b = Nav->Buttons(static_cast<TNavigateBtn>(i));
    EXPECT_EQ(b->Width(), i % 2 ? 38 : 37) << i;
    EXPECT_EQ(b->Height(), 30);
    EXPECT_EQ(b->Hint(), DefaultNavHint(static_cast<TNavigateBtn>(i)));
  }
  EXPECT_EQ(Nav->Buttons(nbFirst)->Left(), 1);
  EXPECT_EQ(Nav->Buttons(nbRefresh)->Left() + Nav->Buttons(nbRefresh)->Width(), 376);
  EXPECT_EQ(Nav->Buttons(nbPost)->Hint(), "Post edit");
  Nav->Hints().Add("Первая");
  EXPECT_EQ(Nav->Buttons(nbFirst)->Hint(), "Первая");
  EXPECT_EQ(Nav->Buttons(nbPrior)->Hint(), "Prior record");
}

TEST_F(DBNavigatorTest, EnablingFollowsPositionStateAndTheNavigator) {
  // first prior next last insert delete edit post cancel refresh
  EXPECT_EQ(Enabled(), "0011111001");
  std::string failure = RunScript({"click Form4.sDBNavigator1.nbLast", "expect Form4.ADOQuery1.RecNo == 30",
                                   "expect Form4.sDBNavigator1.nbNext.Enabled == false",
                                   "click Form4.sDBNavigator1.nbPrior", "expect Form4.ADOQuery1.RecNo == 29",
                                   "click Form4.sDBNavigator1.nbEdit",
                                   "expect Form4.sDBNavigator1.EnabledButtons == 1111110111"});
  EXPECT_EQ(failure, "");
  Form->ADOQuery1->Cancel();
  Nav->SetEnabled(false);
  EXPECT_EQ(Enabled(), "0000000000");
  Nav->SetEnabled(true);
  EXPECT_NE(Enabled(), "0000000000");
  Form->ADOQuery1->Close();
  EXPECT_EQ(Enabled(), "0000000000");
}

TEST_F(DBNavigatorTest, InsertAndPostWriteANewRow) {
  std::string failure = RunScript({"click Form4.sDBNavigator1.nbInsert", "click Form4.sDBEdit1", "type Новая запись",
                                   "click Form4.sDBNavigator1.nbPost", "expect Form4.ADOQuery1.State == dsBrowse"});
  EXPECT_EQ(failure, "");
  EXPECT_EQ(StoredCount("entries"), 31);
}

TEST_F(DBNavigatorTest, DeleteAsksAndCancelKeepsTheRecord) {
  std::string failure = RunScript({"click Form4.sDBNavigator1.nbDelete", "expect MessageBox.Caption == Confirm",
                                   "expect MessageBox.Message.Caption == Delete record?",
                                   "click MessageBox.Cancel", "expect Form4.ADOQuery1.RecordCount == 30",
                                   "click Form4.sDBNavigator1.nbDelete", "click MessageBox.OK",
                                   "expect Form4.ADOQuery1.RecordCount == 29"});
  EXPECT_EQ(failure, "");
  EXPECT_EQ(StoredCount("entries"), 29);
  EXPECT_EQ(Stored("title", 1), "Запись 2");
}

TEST_F(DBNavigatorTest, NextActsOnThePressAndRepeatsWhileHeld) {
  TPoint p = CenterOf(Nav->Buttons(nbNext));
  Backend->MouseMove(p);
  Backend->MouseDown(p);
  EXPECT_EQ(Form->ADOQuery1->RecNo(), 2);
  Backend->Advance(399);
  EXPECT_EQ(Form->ADOQuery1->RecNo(), 2);
  Backend->Advance(1);
  EXPECT_EQ(Form->ADOQuery1->RecNo(), 3);
  Backend->Advance(300);
  EXPECT_EQ(Form->ADOQuery1->RecNo(), 6);
  Backend->MouseUp(p);
  Backend->Advance(500);
  EXPECT_EQ(Form->ADOQuery1->RecNo(), 6);
}

TEST_F(DBNavigatorTest, AFailingStepStopsTheRepeat) {
  // The plain and the skinned buttons share this repeat: an action that fails
  // on the press must not fire again from the timer.
  int calls = 0;
  TNavRepeat failing(*Nav->Buttons(nbNext), [&] {
    ++calls;
    throw std::runtime_error("no next record");
  });
  EXPECT_THROW(failing.Start(), std::runtime_error);
  EXPECT_FALSE(failing.Running());
  Backend->Advance(600);
  EXPECT_EQ(calls, 1);

  TNavRepeat working(*Nav->Buttons(nbNext), [&] { ++calls; });
  working.Start();
  EXPECT_TRUE(working.Running());
  EXPECT_EQ(calls, 2);
  working.Stop();
  EXPECT_FALSE(working.Running());
}

TEST_F(DBNavigatorTest, HintAppearsAfterThePauseAndGoesOnLeave) {
  std::string failure = RunScript({"hover Form4.sDBNavigator1.nbNext", "wait 450", "expect Hint.Visible == false",
                                   "wait 60", "expect Hint.Visible == true", "expect Hint.Caption == Next record",
                                   "hover Form4.sDBEdit1", "expect Hint.Visible == false", "wait 600",
                                   "expect Hint.Visible == false"});
  EXPECT_EQ(failure, "");
}

TEST_F(DBNavigatorTest, ClickHidesTheHint) {
  std::string failure = RunScript({"hover Form4.sDBNavigator1.nbLast", "wait 510", "expect Hint.Visible == true",
                                   "click Form4.sDBNavigator1.nbLast", "expect Hint.Visible == false",
                                   "expect Form4.ADOQuery1.RecNo == 30"});
  EXPECT_EQ(failure, "");
}

TEST_F(DBNavigatorTest, CancelDiscardsTheTypingAndEventsNameTheButton) {
  std::vector<TNavigateBtn> before, after;
  Nav->BeforeAction = [&](TObject*, TNavigateBtn b) { before.push_back(b); };
  Nav->OnClick = [&](TObject*, TNavigateBtn b) { after.push_back(b); };
  std::string failure = RunScript({"click Form4.sDBEdit1", "type !", "expect Form4.ADOQuery1.State == dsEdit",
                                   "expect Form4.sDBNavigator1.nbCancel.Enabled == true",
                                   "click Form4.sDBNavigator1.nbCancel", "expect Form4.ADOQuery1.State == dsBrowse",
                                   "expect Form4.sDBEdit1.Text == Запись 1"});
  EXPECT_EQ(failure, "");
  EXPECT_EQ(Stored("title", 1), "Запись 1");
  ASSERT_EQ(before.size(), 1u);
  EXPECT_EQ(before[0], nbCancel);
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0], nbCancel);
}

TEST_F(DBNavigatorTest, WithoutAnOpenDatasetAClickOnlyReportsItself) {
  std::vector<TNavigateBtn> before, after;
  Nav->BeforeAction = [&](TObject*, TNavigateBtn b) { before.push_back(b); };
  Nav->OnClick = [&](TObject*, TNavigateBtn b) { after.push_back(b); };
  Form->ADOQuery1->Close();
  Nav->BtnClick(nbNext);
  EXPECT_TRUE(before.empty());
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0], nbNext);
  Nav->SetDataSource(nullptr);
  Nav->BtnClick(nbDelete);  // no source: nothing asked, nothing done
  EXPECT_EQ(after.size(), 2u);
}
