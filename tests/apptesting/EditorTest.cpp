// The question editor's search: the typed text travels only as the bound
// parameter, whatever it holds, and the navigator rests until "Все записи".
#include <string>
#include <vector>

#include "app/AppControls.h"
#include "app/Unit2.h"
#include "app/Unit4.h"
#include "forms/db/DBComponents.h"
#include "platform/win/VirtualKeys.h"
#include "skin/controls/sDBEdit.h"
#include "skin/controls/sDBMemo.h"
#include "skin/controls/sDBNavigator.h"
#include "tests/apptesting/TestingFixture.h"

namespace {

class EditorTest : public TestingFixture {
protected:
  void SetUp() override {
    TestingFixture::SetUp();
    AddQuestions({{"Сколько бит в одном байте?", {"4", "8", "10", "16", "1024"}, "2"},
                  {"Сколько байт в одном килобайте?", {"1000", "1024", "512", "100", "8"}, "2"},
                  {"Что значит 'бит'?", {"цифра", "буква", "слово", "байт", "файл"}, "1"},
                  {"Скидка 50% на 10_000 байт", {"a", "b", "c", "d", "e"}, "3"}});
    MakeWindows("Admin");
    Form4->Show();
    Pump();
  }
  // Types nothing: the search box gets the text as a paste would put it there.
  void Find(const std::string& text) {
    Form4->sMemo1->SetText(text);
    Click(Form4->sButton1);
    Pump();
  }
  int Shown() { return Form4->ADOQuery1->RecordCount(); }
};

TEST_F(EditorTest, SearchTextOnlyEverReachesTheParameter) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"килобайт", 1},  {"КИЛОБАЙТ", 1}, {"'", 1},          {"'бит'", 1},
      {"' or 1=1 --", 0}, {"50%", 1},     {"%", 4},          {"_", 4},
      {"10_0", 1},      {"\"", 0},       {std::string("бит\0x", 5), 0},
      {std::string(65536, 'q'), 0},      {"нет такого", 0}, {"", 4}};
  for (const auto& [text, matches] : cases) {
    const std::string typed = text.size() > 40 ? text.substr(0, 40) + "…" : text;
    Find(text);
    ASSERT_EQ(Form4->ADOQuery1->SQL().Count(), 2) << typed;
    EXPECT_EQ(Form4->ADOQuery1->SQL()[0], "select * from БДТест");
    EXPECT_EQ(Form4->ADOQuery1->SQL()[1], "where Вопрос  Like :a ");
    EXPECT_EQ(Form4->ADOQuery1->ParamByName("a").Value().AsString(), "%" + text + "%")
        << typed;
    EXPECT_EQ(Shown(), matches) << typed;
    EXPECT_EQ(Form4->sMemo1->Text(), "") << typed;
    EXPECT_FALSE(Form4->sDBNavigator1->Enabled()) << typed;
  }
  EXPECT_EQ(Rows("select * from БДТест").size(), 4u);
}

TEST_F(EditorTest, FindThenAllRecords) {
  Find("килобайт");
  EXPECT_EQ(Form4->sDBMemo1->Text(), "Сколько байт в одном килобайте?");
  EXPECT_EQ(Form4->sDBMemo3->Text(), "1024");
  EXPECT_EQ(Form4->sDBEdit1->Text(), "2");
  EXPECT_FALSE(Form4->sDBNavigator1->Enabled());
  EXPECT_FALSE(Form4->sDBNavigator1->Buttons(nbNext)->Enabled());

  Click(Form4->sButton2);
  Pump();
  EXPECT_EQ(Form4->ADOQuery1->SQL().Count(), 1);
  EXPECT_EQ(Shown(), 4);
  EXPECT_TRUE(Form4->sDBNavigator1->Enabled());
  EXPECT_TRUE(Form4->sDBNavigator1->Buttons(nbNext)->Enabled());
  EXPECT_EQ(Form4->sDBMemo1->Text(), "Сколько бит в одном байте?");
}

TEST_F(EditorTest, MissingPhraseShowsEmptyControls) {
  Find("квантовый");
  EXPECT_EQ(Shown(), 0);
  EXPECT_EQ(Form4->sDBMemo1->Text(), "");
  EXPECT_EQ(Form4->sDBMemo6->Text(), "");
  EXPECT_EQ(Form4->sDBEdit1->Text(), "");
}

TEST_F(EditorTest, SearchSurvivesHidingAndShowing) {
  Find("бит");
  Click(Form4->sButton3);
  Pump();
  EXPECT_FALSE(Form4->Visible());
  Form4->Show();
  Pump();
  EXPECT_EQ(Form4->ADOQuery1->SQL().Count(), 2);
  EXPECT_EQ(Shown(), 2);
  EXPECT_FALSE(Form4->sDBNavigator1->Enabled());
}

}  // namespace

namespace {

class EmptyBankEditorTest : public TestingFixture {};

TEST_F(EmptyBankEditorTest, QuestionAddedHereJoinsTheNextAttempt) {
  MakeWindows("Admin");
  Form4->Show();
  Pump();
  ASSERT_EQ(Form4->ADOQuery1->RecordCount(), 0);
  Form4->sDBNavigator1->BtnClick(nbInsert);
  Click(Form4->sDBMemo1);
  Backend->Text("Сколько будет два плюс два?");
  Click(Form4->sDBEdit1);
  Backend->Text("1");
  Form4->sDBNavigator1->BtnClick(nbPost);
  Pump();
  EXPECT_EQ(Form4->ADOQuery1->RecordCount(), 1);
  EXPECT_EQ(Rows("select Вопрос, ОтветПр from БДТест"),
            (std::vector<std::vector<std::string>>{{"Сколько будет два плюс два?", "1"}}));
  Click(Form4->sButton3);
  Form2->Show();
  Pump();
  EXPECT_EQ(Form2->QuestionCount(), 1);
  EXPECT_EQ(Form2->DBListBox1->Items().Get(0), "Сколько будет два плюс два?");
}

// A question without a correct number could never be scored: the editor refuses
// to post it, says why, and keeps the row in editing until the number is typed.
TEST_F(EmptyBankEditorTest, QuestionWithoutACorrectNumberIsNotPosted) {
  MakeWindows("Admin");
  Form4->Show();
  Pump();
  Form4->sDBNavigator1->BtnClick(nbInsert);
  Click(Form4->sDBMemo1);
  Backend->Text("Сколько будет два плюс два?");
  Pump();
  try {
    Form4->sDBNavigator1->BtnClick(nbPost);
    ADD_FAILURE() << "a question without a correct number was posted";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "Вопрос не сохранён: укажите номер правильного ответа (целое число).");
  }
  EXPECT_EQ(Form4->ADOQuery1->State(), TDataSetState::dsInsert);
  EXPECT_EQ(Form4->sDBMemo1->Text(), "Сколько будет два плюс два?");
  EXPECT_TRUE(Rows("select * from БДТест").empty());
  Click(Form4->sDBEdit1);
  Backend->Text("4");
  Form4->sDBNavigator1->BtnClick(nbPost);
  Pump();
  EXPECT_EQ(Rows("select Вопрос, ОтветПр from БДТест"),
            (std::vector<std::vector<std::string>>{{"Сколько будет два плюс два?", "4"}}));
  // Emptying the number of a stored question is refused the same way.
  Click(Form4->sDBEdit1);
  Backend->Key(VK_BACK);
  Pump();
  ASSERT_EQ(Form4->ADOQuery1->State(), TDataSetState::dsEdit);
  EXPECT_THROW(Form4->sDBNavigator1->BtnClick(nbPost), std::exception);
  EXPECT_EQ(Form4->ADOQuery1->State(), TDataSetState::dsEdit);
  EXPECT_EQ(Rows("select ОтветПр from БДТест"), (std::vector<std::vector<std::string>>{{"4"}}));
}

}  // namespace
