// Editable snapshots: edits, inserts and deletes reach exactly the row shown.
#include <gtest/gtest.h>

#include <functional>

#include "app/data/Statements.h"
#include "data/TADOTable.h"
#include "data/TDataLink.h"
#include "data/TDataSource.h"
#include "data/TFieldDataLink.h"
#include "platform/base/Exception.h"
#include "tests/data/TestDatabase.h"

namespace {
using Strings = std::vector<std::string>;

Strings Questions(TestDatabase& db) {
  TADOQuery query(&db.Connection());
  LoadStatement(query, Statements::kSelectQuestionTexts);
  query.Open();
  Strings out;
  for (query.First(); !query.Eof(); query.Next()) out.push_back(query.Fields(0).AsString());
  return out;
}

class EditableTest : public ::testing::Test {
protected:
  void SetUp() override {
    // Two rows identical in every column: only the row identity tells them apart.
    db_.Exec("insert into БДТест values ('Один', 'a','b','c','d','e', 1), ('Два', 'a','b','c','d','e', 2), "
             "('Два', 'a','b','c','d','e', 2), ('Три', null,null,null,null,null, null)");
    LoadStatement(bank_, Statements::kSelectAllQuestions);
    bank_.Open();
  }
  TestDatabase db_;
  TADOQuery bank_{&db_.Connection()};
};

// Records what a bound control would be told.
class RecordingLink : public TDataLink {
public:
  std::vector<std::string> Events;
  std::function<void()> OnUpdateData;

protected:
  void ActiveChanged() override { Events.push_back(Active() ? "active" : "inactive"); }
  void EditingChanged() override { Events.push_back(Editing() ? "editing" : "browsing"); }
  void DataSetChanged() override { Events.push_back("changed"); }
  void DataSetScrolled(int distance) override { Events.push_back("scrolled " + std::to_string(distance)); }
  void RecordChanged(TField* field) override { Events.push_back("record " + (field ? field->FieldName() : std::string("*"))); }
  void UpdateData() override {
    Events.push_back("update");
    if (OnUpdateData) OnUpdateData();
  }
};
}  // namespace

TEST_F(EditableTest, NavigationFlags) {
  EXPECT_EQ(bank_.RecordCount(), 4);
  EXPECT_TRUE(bank_.Bof());
  EXPECT_FALSE(bank_.Eof());
  EXPECT_EQ(bank_.RecNo(), 1);
  bank_.Prior();
  EXPECT_TRUE(bank_.Bof());
  EXPECT_EQ(bank_.RecNo(), 1);
  bank_.Last();
  EXPECT_TRUE(bank_.Eof());
  EXPECT_EQ(bank_.FieldByName("Вопрос").AsString(), "Три");
  bank_.Prior();
  EXPECT_FALSE(bank_.Eof());
  EXPECT_EQ(bank_.RecNo(), 3);
  bank_.Next();
  EXPECT_FALSE(bank_.Eof());
  bank_.Next();
  EXPECT_TRUE(bank_.Eof());
  EXPECT_EQ(bank_.RecNo(), 4);
  EXPECT_EQ(bank_.MoveBy(-10), -3);
  EXPECT_TRUE(bank_.Bof());
}

TEST_F(EditableTest, EditUpdatesExactlyTheRowShown) {
  ASSERT_TRUE(bank_.CanModify());
  bank_.SetRecNo(3);  // the second of the two identical rows
  bank_.Edit();
  EXPECT_EQ(bank_.State(), TDataSetState::dsEdit);
  bank_.FieldByName("Вопрос").SetAsString("Два (второй)");
  bank_.Post();
  EXPECT_EQ(bank_.State(), TDataSetState::dsBrowse);
  // A server writes an updated row anew, at the end of an unordered select.
  const Strings onServer{"Один", "Два", "Три", "Два (второй)"};
  const Strings inFile{"Один", "Два", "Два (второй)", "Три"};
  EXPECT_EQ(Questions(db_), TestDatabase::OnServer() ? onServer : inFile);
  EXPECT_EQ(bank_.FieldByName("Вопрос").AsString(), "Два (второй)");
  EXPECT_EQ(bank_.RecNo(), 3);
}

// The rows keep their texts in blocks of their own; a value copied out owns its
// text and keeps it after the rows are gone and others read in their place.
TEST_F(EditableTest, ValuesCopiedFromTheRowsOutliveThem) {
  std::vector<Variant> column;
  for (bank_.First(); !bank_.Eof(); bank_.Next()) column.push_back(bank_.FieldByName("Вопрос").Value());
  Variant assigned;
  bank_.First();
  assigned = bank_.FieldValue(bank_.FieldByName("Вопрос").Index());
  bank_.Close();
  db_.Exec("update БДТест set Вопрос = 'Пять', Ответ1 = 'ж'");  // as long as the old texts: likely in their place
  bank_.Open();
  Strings kept;
  for (const Variant& v : column) kept.push_back(v.ToText());
  EXPECT_EQ(kept, (Strings{"Один", "Два", "Два", "Три"}));
  EXPECT_EQ(assigned.AsString(), "Один");
  // Read in place, a value still compares and converts as any other.
  bank_.First();
  EXPECT_TRUE(bank_.FieldByName("Вопрос").Value() == Variant("Пять"));
  EXPECT_EQ(bank_.FieldByName("Ответ1").AsString(), "ж");
  EXPECT_TRUE(bank_.FieldByName("ОтветПр").Value() == Variant(1));
}

TEST_F(EditableTest, CancelDiscardsAndMovingPostsFirst) {
  bank_.Edit();
  bank_.FieldByName("Вопрос").SetAsString("Не сохранится");
  bank_.Cancel();
  EXPECT_EQ(bank_.FieldByName("Вопрос").AsString(), "Один");
  bank_.Edit();
  bank_.FieldByName("Ответ1").SetAsString("новый ответ");
  bank_.Next();  // moving while editing posts
  EXPECT_EQ(bank_.State(), TDataSetState::dsBrowse);
  EXPECT_EQ(bank_.RecNo(), 2);
  bank_.First();
  EXPECT_EQ(bank_.FieldByName("Ответ1").AsString(), "новый ответ");
  // Editing without a change and moving on writes nothing.
  bank_.Edit();
  bank_.Next();
  EXPECT_EQ(bank_.State(), TDataSetState::dsBrowse);
  // Closing discards edits that were not posted.
  bank_.Edit();
  bank_.FieldByName("Вопрос").SetAsString("Потеряно");
  bank_.Close();
  EXPECT_EQ(Questions(db_)[1], "Два");
}

TEST_F(EditableTest, InsertAppendAndDelete) {
  bank_.SetRecNo(2);
  bank_.Insert();
  EXPECT_EQ(bank_.State(), TDataSetState::dsInsert);
  EXPECT_EQ(bank_.FieldByName("Вопрос").AsString(), "");  // a new row starts empty
  bank_.FieldByName("Вопрос").SetAsString("Новый");
  bank_.FieldByName("ОтветПр").SetAsString("4");
  bank_.Post();
  EXPECT_EQ(bank_.RecordCount(), 5);
  EXPECT_EQ(bank_.RecNo(), 2);  // shown where it was inserted
  EXPECT_EQ(bank_.FieldByName("ОтветПр").AsInteger(), 4);
  EXPECT_EQ(Questions(db_), (Strings{"Один", "Два", "Два", "Три", "Новый"}));
  bank_.Append();
  bank_.Cancel();
  EXPECT_EQ(bank_.RecordCount(), 5);
  EXPECT_EQ(bank_.State(), TDataSetState::dsBrowse);
  // An inserted row left untouched is dropped when moving on.
  bank_.Append();
  bank_.First();
  EXPECT_EQ(bank_.RecordCount(), 5);
  // Delete removes the shown row only, even with an identical twin.
  bank_.SetRecNo(4);
  ASSERT_EQ(bank_.FieldByName("Вопрос").AsString(), "Два");
  bank_.Delete();
  EXPECT_EQ(bank_.RecordCount(), 4);
  EXPECT_EQ(bank_.FieldByName("Вопрос").AsString(), "Три");
  EXPECT_EQ(Questions(db_), (Strings{"Один", "Два", "Три", "Новый"}));
  while (!bank_.IsEmpty()) bank_.Delete();
  EXPECT_TRUE(bank_.Eof());
  EXPECT_EQ(ErrorOf([&] { bank_.Delete(); }), "Cannot perform this operation on an empty dataset");
  EXPECT_TRUE(Questions(db_).empty());
}

TEST_F(EditableTest, RefreshShowsOtherWritersAndKeepsTheRow) {
  bank_.SetRecNo(3);
  auto other = db_.OpenSecond();
  other->ExecuteDirect("delete from БДТест where Вопрос = 'Один'; insert into БДТест(Вопрос) values ('Четыре')");
  EXPECT_EQ(bank_.RecordCount(), 4);  // a snapshot until refreshed
  bank_.Refresh();
  EXPECT_EQ(bank_.RecordCount(), 4);
  EXPECT_EQ(bank_.RecNo(), 2);  // the same row, now second
  bank_.Last();
  EXPECT_EQ(bank_.FieldByName("Вопрос").AsString(), "Четыре");
}

TEST_F(EditableTest, ChangedUnderneathIsReportedNotOverwritten) {
  bank_.SetRecNo(2);
  bank_.Edit();
  bank_.FieldByName("Вопрос").SetAsString("Мой вариант");
  auto other = db_.OpenSecond();
  other->ExecuteDirect(std::string("update БДТест set Ответ5 = 'чужая правка' where ") +
                       (TestDatabase::OnServer() ? "ctid = '(0,2)'" : "rowid = 2"));
  EXPECT_EQ(ErrorOf([&] { bank_.Post(); }),
            "Row cannot be located for updating. Some values may have been changed since it was last read.");
  EXPECT_EQ(bank_.State(), TDataSetState::dsEdit);  // the edits stay
  bank_.Cancel();
  bank_.Refresh();
  if (TestDatabase::OnServer()) bank_.Last();  // the server wrote the changed row anew, last
  EXPECT_EQ(bank_.FieldByName("Ответ5").AsString(), "чужая правка");
}

TEST_F(EditableTest, NumericCorrectAnswerRefusesText) {
  bank_.Edit();
  TField& correct = bank_.FieldByName("ОтветПр");
  EXPECT_EQ(correct.DataType(), TFieldType::ftInteger);
  EXPECT_EQ(ErrorOf([&] { correct.SetAsString("abc"); }), "'abc' is not a valid integer value for field 'ОтветПр'");
  EXPECT_EQ(ErrorOf([&] { correct.SetAsString("3x"); }), "'3x' is not a valid integer value for field 'ОтветПр'");
  correct.SetAsString("");  // empty stores null
  bank_.Post();
  EXPECT_TRUE(correct.IsNull());
  EXPECT_EQ(correct.AsString(), "");
  EXPECT_EQ(correct.AsInteger(), 0);
  // A text column converts like StrToInt.
  EXPECT_EQ(ErrorOf([&] { bank_.FieldByName("Вопрос").AsInteger(); }), "'Один' is not a valid integer value");
  bank_.Last();
  EXPECT_EQ(ErrorOf([&] { bank_.FieldByName("Ответ1").AsInteger(); }), "'' is not a valid integer value");
}

TEST_F(EditableTest, ReadOnlyResultsAndStates) {
  TADOQuery logins(&db_.Connection());
  LoadStatement(logins, Statements::kSelectLogins);
  logins.Open();
  EXPECT_FALSE(logins.CanModify());
  EXPECT_EQ(ErrorOf([&] { logins.Edit(); }), "Cannot modify a read-only dataset");
  EXPECT_EQ(ErrorOf([&] { bank_.FieldByName("Вопрос").SetAsString("x"); }), "Dataset not in edit or insert mode");
  EXPECT_EQ(ErrorOf([&] { bank_.Post(); }), "Dataset not in edit or insert mode");
  // A search over one table stays editable.
  LoadStatement(bank_, Statements::kSearchQuestions);
  bank_.ParamByName("a").SetValue(Variant("%ДВА%"));
  bank_.Open();
  EXPECT_TRUE(bank_.CanModify());
  EXPECT_EQ(bank_.RecordCount(), 2);
  EXPECT_EQ(TADOQuery::EditableTableOf("select * from Тесты\r\nwhere Пользователь= ?"), "Тесты");
  EXPECT_EQ(TADOQuery::EditableTableOf("select * from Тесты order by Верно"), "");
  EXPECT_EQ(TADOQuery::EditableTableOf("select Логин from Пользователи"), "");
  EXPECT_EQ(TADOQuery::EditableTableOf("select * from A, B"), "");
}

TEST_F(EditableTest, EditingAnEmptyResultInserts) {
  LoadStatement(bank_, Statements::kSearchQuestions);
  bank_.ParamByName("a").SetValue(Variant("%нет такого%"));
  bank_.Open();
  ASSERT_TRUE(bank_.IsEmpty());
  EXPECT_TRUE(bank_.Bof() && bank_.Eof());
  EXPECT_EQ(bank_.RecNo(), 0);
  EXPECT_EQ(bank_.FieldByName("Вопрос").AsString(), "");
  bank_.Edit();
  EXPECT_EQ(bank_.State(), TDataSetState::dsInsert);
}

TEST_F(EditableTest, TableDatasetIsEditableAndFilterable) {
  db_.Exec("insert into Пользователи values ('Admin','1',''), ('Петров','2','')");
  TADOTable users(&db_.Connection(), "Пользователи");
  users.Open();
  // Logins compare exactly, like the engine's `=` on that column.
  users.SetFilter("Логин = 'петров'");
  users.SetFiltered(true);
  EXPECT_EQ(users.RecordCount(), 0);
  users.SetFilter("Логин = 'Петров'");
  ASSERT_EQ(users.RecordCount(), 1);
  users.Edit();
  users.FieldByName("Группа").SetAsString("10Б");
  users.Post();
  users.SetFiltered(false);
  users.Refresh();
  ASSERT_TRUE(users.Locate("Логин", Variant("Петров")));
  EXPECT_EQ(users.FieldByName("Группа").AsString(), "10Б");
  users.SetFilter("Логин = ");
  EXPECT_THROW(users.SetFiltered(true), EDatabaseError);
}

TEST_F(EditableTest, DataLinksHearStateDataAndScroll) {
  TDataSource source;
  RecordingLink link;
  link.SetDataSource(&source);
  EXPECT_FALSE(link.Active());
  source.SetDataSet(&bank_);
  EXPECT_TRUE(link.Active());
  int stateChanges = 0;
  source.OnStateChange = [&] { ++stateChanges; };
  link.Events.clear();
  bank_.Next();
  EXPECT_EQ(link.Events, (Strings{"scrolled 1"}));
  link.Events.clear();
  // A bound control writes its text when the row is posted.
  link.OnUpdateData = [&] { bank_.FieldByName("Вопрос").SetAsString("Из редактора"); };
  EXPECT_TRUE(link.Edit());
  EXPECT_TRUE(link.Editing());
  bank_.Post();
  EXPECT_EQ(link.Events, (Strings{"editing", "update", "record Вопрос", "browsing", "changed"}));
  EXPECT_EQ(Questions(db_)[TestDatabase::OnServer() ? 3 : 1], "Из редактора");
  EXPECT_EQ(stateChanges, 2);
  link.OnUpdateData = nullptr;
  link.Events.clear();
  bank_.Close();
  EXPECT_EQ(link.Events, (Strings{"inactive"}));
  EXPECT_FALSE(link.Active());
  // Disabled sources keep their links quiet and report inactive.
  bank_.Open();
  source.SetEnabled(false);
  EXPECT_FALSE(link.Active());
  link.Events.clear();
  bank_.Next();
  EXPECT_TRUE(link.Events.empty());
  source.SetEnabled(true);
  EXPECT_TRUE(link.Active());
}

TEST_F(EditableTest, DestroyingEitherEndDetaches) {
  RecordingLink link;
  {
    TDataSource source(&bank_);
    link.SetDataSource(&source);
    EXPECT_TRUE(link.Active());
  }
  EXPECT_EQ(link.DataSource(), nullptr);
  EXPECT_FALSE(link.Active());
  TDataSource source;
  link.SetDataSource(&source);
  {
    TADOQuery temporary(&db_.Connection());
    LoadStatement(temporary, Statements::kSelectResults);
    temporary.Open();
    source.SetDataSet(&temporary);
    EXPECT_TRUE(link.Active());
  }
  EXPECT_EQ(source.DataSet(), nullptr);
  EXPECT_FALSE(link.Active());
}

TEST_F(EditableTest, FieldDataLinkEditsThroughItsControl) {
  // A stand-in for a bound edit box: it shows the field and types into it.
  TDataSource source(&bank_);
  TFieldDataLink link;
  std::string shown, typed;
  link.OnDataChange = [&] { shown = link.Field() ? link.Field()->AsString() : "(none)"; };
  link.OnUpdateData = [&] { link.Field()->SetAsString(typed); };
  link.SetDataSource(&source);
  link.SetFieldName("ОтветПр");
  EXPECT_EQ(shown, "1");
  EXPECT_TRUE(link.CanModify());
  bank_.Next();
  EXPECT_EQ(shown, "2");
  typed = "5";
  EXPECT_TRUE(link.Modified());
  EXPECT_EQ(bank_.State(), TDataSetState::dsEdit);
  bank_.Next();  // moving posts, which asks the control for its text first
  EXPECT_EQ(shown, "2");
  bank_.Prior();
  EXPECT_EQ(shown, "5");
  // A refused text keeps the row in editing and the control's text unsent.
  typed = "abc";
  link.Modified();
  EXPECT_THROW(bank_.Post(), EConvertError);
  EXPECT_EQ(bank_.State(), TDataSetState::dsEdit);
  link.Reset();
  bank_.Cancel();
  EXPECT_EQ(shown, "5");
  // Reopened with another statement, the link finds its field again or shows none.
  LoadStatement(bank_, Statements::kSelectCorrectAnswers);
  bank_.Open();
  EXPECT_EQ(shown, "1");
  EXPECT_FALSE(link.CanModify());
  EXPECT_FALSE(link.Modified());
  LoadStatement(bank_, Statements::kSelectLogins);
  bank_.Open();
  EXPECT_EQ(shown, "(none)");
}

TEST_F(EditableTest, FailedRefreshKeepsTheShownRows) {
  bank_.SetRecNo(2);
  TField& question = bank_.FieldByName("Вопрос");
  db_.Exec("alter table БДТест rename to Старый");
  EXPECT_EQ(ErrorOf([&] { bank_.Refresh(); }), TestDatabase::OnServer()
                                                   ? "Сервер базы данных отклонил действие: relation \"БДТест\" does not exist"
                                                   : "no such table: БДТест");
  EXPECT_TRUE(bank_.Active());
  EXPECT_EQ(bank_.RecordCount(), 4);
  EXPECT_EQ(question.AsString(), "Два");
  // Field objects outlive a reopening with other columns; a field not in the result refuses to read.
  LoadStatement(bank_, Statements::kSelectLogins);
  bank_.Open();
  EXPECT_EQ(question.Index(), -1);
  EXPECT_THROW(question.AsString(), EDatabaseError);
}
