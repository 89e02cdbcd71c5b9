// The tester: loading the bank row by row, answering, scoring and storing.
#include <filesystem>
#include <string>
#include <vector>

#include "app/AppControls.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit8.h"
#include "data/TADOQuery.h"
#include "forms/db/DBComponents.h"
#include "tests/apptesting/TestingFixture.h"

namespace {

class TesterTest : public TestingFixture {
protected:
  // Question i: its text, options "вариант k к i", the right number i % 5 + 1.
  static std::vector<TQuestionRow> Bank(int count) {
    std::vector<TQuestionRow> rows;
    for (int i = 0; i < count; ++i) {
      TQuestionRow row;
      // Texts sort in the opposite order to the rows, so an index walk reverses them.
      row.Question = "Вопрос " + std::to_string(900 - i);
      for (int k = 1; k <= 5; ++k) row.Options.push_back("вариант " + std::to_string(k) + " к " + std::to_string(i));
      row.Correct = std::to_string(i % 5 + 1);
      rows.push_back(row);
    }
    return rows;
  }
  void ShowTester() {
    Form2->Show();
    Pump();
  }
  int StoredRows() { return static_cast<int>(Rows("select * from Тесты").size()); }
};

TEST_F(TesterTest, EachRowStaysWholeWhenAnIndexReordersAColumn) {
  AddQuestions(Bank(40));
  Db->ExecuteDirect("create index ВопросыПоТексту on БДТест(Вопрос)");
  Db->ExecuteDirect("create index ОтветыНаоборот on БДТест(Ответ1 desc)");
  // The index really changes the order a one-column select walks.
  ASSERT_EQ(Rows("select Вопрос from БДТест").front().front(), "Вопрос 861");
  ASSERT_EQ(Rows("select Ответ1 from БДТест").front().front(), "вариант 1 к 9");
  MakeWindows("ivanov");
  ASSERT_EQ(Form2->QuestionCount(), 40);
  for (int k = 0; k < 40; ++k) {
    // Entry k of every list comes from one row: find the row by its first option.
    const std::string option1 = Form2->DBListBox2->Items().Get(k);
    const int i = std::stoi(option1.substr(option1.rfind(' ') + 1));
    EXPECT_EQ(Form2->DBListBox1->Items().Get(k), "Вопрос " + std::to_string(900 - i)) << k;
    for (int j = 2; j <= 5; ++j) {
      TDBListBox* list = std::vector<TDBListBox*>{Form2->DBListBox3, Form2->DBListBox4, Form2->DBListBox5,
                                                  Form2->DBListBox6}[static_cast<size_t>(j - 2)];
      EXPECT_EQ(list->Items().Get(k), "вариант " + std::to_string(j) + " к " + std::to_string(i)) << k;
    }
    EXPECT_EQ(Form2->DBListBox7->Items().Get(k), std::to_string(i % 5 + 1)) << k;
  }
}

TEST_F(TesterTest, AttemptStartDrawsThirtyPositionsAndBuildsFreshRows) {
  AddQuestions(Bank(7));
  MakeWindows("petrova");
  ShowTester();
  EXPECT_EQ(Form2->Label1->Caption(), "petrova");
  EXPECT_EQ(Form2->Memo1->Text(), "");
  for (int p = 1; p <= 30; ++p) {
    EXPECT_GE(Form2->DrawnIndex(p), 0);
    EXPECT_LT(Form2->DrawnIndex(p), 7);
    EXPECT_EQ(Form2->ChosenAnswer(p), 1);
    TsSpeedButton* b = Form2->QuestionButtons[static_cast<size_t>(p - 1)];
    EXPECT_EQ(b->Caption(), std::to_string(p));
    EXPECT_EQ(b->Left(), 30 * p - 25);
    EXPECT_EQ(b->Top(), 5);
    EXPECT_EQ(b->Width(), 30);
    EXPECT_EQ(b->Height(), 30);
    EXPECT_FALSE(b->Down());
  }
  const char* letters[] = {"A", "B", "C", "D", "E"};
  for (int j = 1; j <= 5; ++j) {
    TsSpeedButton* b = Form2->AnswerButtons[static_cast<size_t>(j - 1)];
    EXPECT_EQ(b->Caption(), letters[j - 1]);
    EXPECT_EQ(b->Left(), 80 * j - 70);
    EXPECT_EQ(b->Height(), 50);
    EXPECT_EQ(b->Font().Size(), 20);
  }

  // Answer position 4, leave, come back: a new showing forgets it all.
  Click(Form2->QuestionButtons[3]);
  Click(Form2->AnswerButtons[4]);
  EXPECT_EQ(Form2->ChosenAnswer(4), 5);
  Form2->Show();  // already visible: the attempt goes on
  EXPECT_EQ(Form2->ChosenAnswer(4), 5);
  Form2->Close();
  ShowTester();
  EXPECT_EQ(Form2->ChosenAnswer(4), 1);
  EXPECT_EQ(Form2->SelectedPosition(), 0);
  EXPECT_EQ(Form2->Memo1->Text(), "");
  int rows = 0;
  for (int i = 0; i < Form2->ComponentCount(); ++i)
    if (Form2->Components(i)->Name().rfind("QuestionButton", 0) == 0) ++rows;
  EXPECT_EQ(rows, 30);
}

TEST_F(TesterTest, AnswerBeforeAnyPositionRecordsNothing) {
  AddQuestions(Bank(3));
  MakeWindows("ivanov");
  ShowTester();
  TsSpeedButton* c = Form2->AnswerButtons[2];
  Click(c);
  EXPECT_TRUE(c->Down());
  EXPECT_EQ(c->Font().Color(), clRed);
  EXPECT_EQ(Form2->AnswerButtons[0]->Font().Color(), clBlack);
  for (int p = 1; p <= 30; ++p) EXPECT_EQ(Form2->ChosenAnswer(p), 1);

  // Selecting a position then presses its own answer, A for an unanswered one.
  Click(Form2->QuestionButtons[4]);
  EXPECT_TRUE(Form2->AnswerButtons[0]->Down());
  EXPECT_FALSE(c->Down());
  EXPECT_EQ(Form2->AnswerButtons[0]->Font().Color(), clRed);
  EXPECT_EQ(c->Font().Color(), clBlack);
  const int k = Form2->DrawnIndex(5);
  EXPECT_EQ(Form2->Memo1->Lines().Count(), 6);
  EXPECT_EQ(Form2->Memo1->Lines().Get(0), Form2->DBListBox1->Items().Get(k));
  EXPECT_EQ(Form2->Memo1->Lines().Get(5), Form2->DBListBox6->Items().Get(k));
}

TEST_F(TesterTest, EachHandInAnnouncesTheScoreAndStoresOneRow) {
  AddQuestions(Bank(5));
  AddResult("ivanov", 11);
  MakeWindows("ivanov");
  Form8->Show();
  ShowTester();
  // Positions 1 … 10 answered B, the rest left at A.
  std::vector<std::string> lines;
  int expected = 0;
  for (int p = 1; p <= 30; ++p) {
    const int chosen = p <= 10 ? 2 : 1;
    if (p <= 10) {
      lines.push_back("click Form2.QuestionButton" + std::to_string(p));
      lines.push_back("click Form2.AnswerButton2");
    }
    if (std::stoi(Form2->DBListBox7->Items().Get(Form2->DrawnIndex(p))) == chosen) ++expected;
  }
  lines.push_back("click Form2.sSpeedButton3");
  lines.push_back("expect MessageBox.Message.Caption == Вы " + std::to_string(expected) + " ответили верно");
  lines.push_back("click MessageBox.OK");
  lines.push_back("expect Form2.Visible == false");
  // A second attempt by the same user stores a second row.
  for (const char* line : {"click Form8.sSpeedButton1", "expect Form2.Visible == true", "click Form2.sSpeedButton3",
                           "expect MessageBox.Visible == true", "click MessageBox.OK"})
    lines.push_back(line);
  EXPECT_EQ(Script(lines), "");
  EXPECT_TRUE(ScriptFinished);
  const auto rows = Rows("select Пользователь, Верно from Тесты");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1], (std::vector<std::string>{"ivanov", std::to_string(expected)}));
  EXPECT_EQ(rows[2][0], "ivanov");
}

TEST_F(TesterTest, EmptyBankFailsWithListIndexOutOfBounds) {
  MakeWindows("ivanov");
  ShowTester();
  EXPECT_EQ(Script({"click Form2.QuestionButton1",
                    "expect MessageBox.Message.Caption == List index out of bounds (0)",
                    "click MessageBox.OK",
                    "expect Form2.AnswerButton1.Down == true",
                    "expect Form2.Memo1.Text ==",
                    "click Form2.sSpeedButton3",
                    "expect MessageBox.Message.Caption == List index out of bounds (0)",
                    "click MessageBox.OK",
                    "expect Form2.Visible == true"}),
            "");
  EXPECT_EQ(StoredRows(), 0);
}

// A bank of an older file whose right number is text: empty (null), letters,
// trailing characters. Such a position counts as wrong; the attempt is still
// scored and stored.
TEST_F(TesterTest, AnEmptyOrNonIntegerRightNumberCountsAsWrong) {
  Db->ExecuteDirect("drop table БДТест");
  Db->ExecuteDirect(
      "create table БДТест (Вопрос text, Ответ1 text, Ответ2 text, Ответ3 text, Ответ4 text, Ответ5 text, ОтветПр text)");
  const std::vector<std::string> options = {"1", "2", "3", "4", "5"};
  AddQuestions({{"Без ответа", options, ""}, {"Буквы", options, "abc"}, {"Хвост", options, "1x"}, {"Верный", options, "1"}});
  MakeWindows("ivanov");
  ShowTester();
  // Nothing answered: every position stands at A (1), so only "Верный" scores.
  int expected = 0;
  for (int p = 1; p <= 30; ++p) expected += Form2->DBListBox7->Items().Get(Form2->DrawnIndex(p)) == "1";
  EXPECT_EQ(Script({"click Form2.sSpeedButton3",
                    "expect MessageBox.Message.Caption == Вы " + std::to_string(expected) + " ответили верно",
                    "click MessageBox.OK",
                    "expect Form2.Visible == false"}),
            "");
  EXPECT_TRUE(ScriptFinished);
  EXPECT_EQ(Rows("select Пользователь, Верно from Тесты"),
            (std::vector<std::vector<std::string>>{{"ivanov", std::to_string(expected)}}));
}

// The score is announced first; when it then cannot be stored, the tester says so
// and stays open with the attempt as it was, and handing in again stores it.
TEST_F(TesterTest, AFailedStoreIsSaidAndTheAttemptStaysOpen) {
  AddQuestions(Bank(5));
  // The first insert fails (RAISE(FAIL) keeps the trigger's own delete), the next ones pass.
  Db->ExecuteDirect("create table Сбой (n integer)");
  Db->ExecuteDirect("insert into Сбой values (1)");
  Db->ExecuteDirect(
      "create trigger ПервыйОтказ before insert on Тесты when (select count(*) from Сбой) > 0 "
      "begin delete from Сбой; select raise(fail, 'database or disk is full'); end");
  MakeWindows("ivanov");
  ShowTester();
  int expected = 0;
  for (int p = 1; p <= 30; ++p) {
    const int chosen = p == 1 ? 3 : 1;
    expected += std::stoi(Form2->DBListBox7->Items().Get(Form2->DrawnIndex(p))) == chosen;
  }
  const std::string score = "expect MessageBox.Message.Caption == Вы " + std::to_string(expected) + " ответили верно";
  EXPECT_EQ(Script({"click Form2.QuestionButton1", "click Form2.AnswerButton3", "click Form2.sSpeedButton3", score,
                    "click MessageBox.OK",
                    "expect MessageBox.Message.Caption == Результат не сохранён в базе данных (database or disk is "
                    "full). Анкета остаётся открытой: сдайте её ещё раз.",
                    "click MessageBox.OK", "expect Form2.Visible == true", "expect Form2.QuestionButton1.Down == true",
                    "expect Form2.AnswerButton3.Down == true", "click Form2.sSpeedButton3", score, "click MessageBox.OK",
                    "expect Form2.Visible == false"}),
            "");
  EXPECT_TRUE(ScriptFinished);
  EXPECT_EQ(Form2->ChosenAnswer(1), 3);
  EXPECT_EQ(Rows("select Пользователь, Верно from Тесты"),
            (std::vector<std::vector<std::string>>{{"ivanov", std::to_string(expected)}}));
}

// A database file replaced on disk while the tester runs (a new copy moved over
// the old name) is opened again: the result goes into the file now there.
TEST_F(TesterTest, AFileReplacedOnDiskIsOpenedAgainForTheStore) {
  AddQuestions(Bank(5));
  MakeWindows("ivanov");
  ShowTester();
  const auto folder = std::filesystem::current_path();
  std::filesystem::copy_file(folder / "db.mdb", folder / "db.new");
  {
    TADOConnection copy("Data Source=" + (folder / "db.new").string());
    copy.Open();
    copy.ExecuteDirect("insert into Тесты values ('из новой копии', 1)");
  }
  std::filesystem::rename(folder / "db.new", folder / "db.mdb");
  EXPECT_EQ(Script({"click Form2.sSpeedButton3", "click MessageBox.OK", "expect Form2.Visible == false"}), "");
  EXPECT_TRUE(ScriptFinished);
  TADOConnection now("Data Source=" + (folder / "db.mdb").string());
  now.Open();
  TADOQuery query(&now);
  query.SQL().Add("select Пользователь from Тесты order by rowid");
  query.Open();
  std::vector<std::string> users;
  for (query.First(); !query.Eof(); query.Next()) users.push_back(query.Fields(0).AsString());
  EXPECT_EQ(users, (std::vector<std::string>{"из новой копии", "ivanov"}));
}

}  // namespace
