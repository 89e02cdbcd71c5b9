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
  return ColumnOf(query);
}

class EditableTest : public ::testing::Test {
protected:
  void SetUp() override {
    // Two rows identical in every column: only the row identity tells them apart.
    Db_.Exec("insert into БДТест values ('Один', 'a','b','c','d','e', 1), ('Два', 'a','b','c','d','e', 2), "
             "('Два', 'a','b','c','d','e', 2), ('Три', null,null,null,null,null, null)");
    LoadStatement(Bank_, Statements::kSelectAllQuestions);
    Bank_.Open();
  }
  TestDatabase Db_;
  TADOQuery Bank_{&Db_.Connection()};
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
  EXPECT_EQ(Bank_.RecordCount(), 4);
  EXPECT_TRUE(Bank_.Bof());
  EXPECT_FALSE(Bank_.Eof());
  EXPECT_EQ(Bank_.RecNo(), 1);
  Bank_.Prior();
  EXPECT_TRUE(Bank_.Bof());
  EXPECT_EQ(Bank_.RecNo(), 1);
  Bank_.Last();
  EXPECT_TRUE(Bank_.Eof());
  EXPECT_EQ(Bank_.FieldByName("Вопрос").AsString(), "Три");
  Bank_.Prior();
  EXPECT_FALSE(Bank_.Eof());
  EXPECT_EQ(Bank_.RecNo(), 3);
  Bank_.Next();
  EXPECT_FALSE(Bank_.Eof());
  Bank_.Next();
  EXPECT_TRUE(Bank_.Eof());
  EXPECT_EQ(Bank_.RecNo(), 4);
  EXPECT_EQ(Bank_.MoveBy(-10), -3);
  EXPECT_TRUE(Bank_.Bof());
}

TEST_F(EditableTest, EditUpdatesExactlyTheRowShown) {
  ASSERT_TRUE(Bank_.CanModify());
  Bank_.SetRecNo(3);  // the second of the two identical rows
  Bank_.Edit();
  EXPECT_EQ(Bank_.State(), TDataSetState::dsEdit);
  Bank_.FieldByName("Вопрос").SetAsString("Два (второй)");
  Bank_.Post();
  EXPECT_EQ(Bank_.State(), TDataSetState::dsBrowse);
  // A server writes an updated row anew, at the end of an unordered select.
  const Strings onServer{"Один", "Два", "Три", "Два (второй)"};
  const Strings inFile{"Один", "Два", "Два (второй)", "Три"};
  EXPECT_EQ(Questions(Db_), TestDatabase::OnServer() ? onServer : inFile);
  EXPECT_EQ(Bank_.FieldByName("Вопрос").AsString(), "Два (второй)");
  EXPECT_EQ(Bank_.RecNo(), 3);
}

// The rows keep their texts in blocks of their own; a value copied out owns its
// text and keeps it after the rows are gone and others read in their place.
TEST_F(EditableTest, ValuesCopiedFromTheRowsOutliveThem) {
  std::vector<Variant> column;
  for (Bank_.First(); !Bank_.Eof(); Bank_.Next()) column.push_back(Bank_.FieldByName("Вопрос").Value());
  Variant assigned;
  Bank_.First();
  assigned = Bank_.FieldValue(Bank_.FieldByName("Вопрос").Index());
  Bank_.Close();
  Db_.Exec("update БДТест set Вопрос = 'Пять', Ответ1 = 'ж'");  // as long as the old texts: likely in their place
  Bank_.Open();
  Strings kept;
  for (const Variant& v : column) kept.push_back(v.ToText());
  EXPECT_EQ(kept, (Strings{"Один", "Два", "Два", "Три"}));
  EXPECT_EQ(assigned.AsString(), "Один");
  // Read in place, a value still compares and converts as any other.
  Bank_.First();
  EXPECT_TRUE(Bank_.FieldByName("Вопрос").Value() == Variant("Пять"));
  EXPECT_EQ(Bank_.FieldByName("Ответ1").AsString(), "ж");
  EXPECT_TRUE(Bank_.FieldByName("ОтветПр").Value() == Variant(1));
}

TEST_F(EditableTest, CancelDiscardsAndMovingPostsFirst) {
  Bank_.Edit();
  Bank_.FieldByName("Вопрос").SetAsString("Не сохранится");
  Bank_.Cancel();
  EXPECT_EQ(Bank_.FieldByName("Вопрос").AsString(), "Один");
  Bank_.Edit();
  Bank_.FieldByName("Ответ1").SetAsString("новый ответ");
  Bank_.Next();  // moving while editing posts
  EXPECT_EQ(Bank_.State(), TDataSetState::dsBrowse);
  EXPECT_EQ(Bank_.RecNo(), 2);
  Bank_.First();
  EXPECT_EQ(Bank_.FieldByName("Ответ1").AsString(), "новый ответ");
  // Editing without a change and moving on writes nothing.
  Bank_.Edit();
  Bank_.Next();
  EXPECT_EQ(Bank_.State(), TDataSetState::dsBrowse);
  // Closing discards edits that were not posted.
  Bank_.Edit();
  Bank_.FieldByName("Вопрос").SetAsString("Потеряно");
  Bank_.Close();
  EXPECT_EQ(Questions(Db_)[1], "Два");
}

TEST_F(EditableTest, InsertAppendAndDelete) {
  Bank_.SetRecNo(2);
  Bank_.Insert();
  EXPECT_EQ(Bank_.State(), TDataSetState::dsInsert);
  EXPECT_EQ(Bank_.FieldByName("Вопрос").AsString(), "");  // a new row starts empty
  Bank_.FieldByName("Вопрос").SetAsString("Новый");
  Bank_.FieldByName("ОтветПр").SetAsString("4");
  Bank_.Post();
  EXPECT_EQ(Bank_.RecordCount(), 5);
  EXPECT_EQ(Bank_.RecNo(), 2);  // shown where it was inserted
  EXPECT_EQ(Bank_.FieldByName("ОтветПр").AsInteger(), 4);
  EXPECT_EQ(Questions(Db_), (Strings{"Один", "Два", "Два", "Три", "Новый"}));
  Bank_.Append();
  Bank_.Cancel();
  EXPECT_EQ(Bank_.RecordCount(), 5);
  EXPECT_EQ(Bank_.State(), TDataSetState::dsBrowse);
  // An inserted row left untouched is dropped when moving on.
  Bank_.Append();
  Bank_.First();
  EXPECT_EQ(Bank_.RecordCount(), 5);
  // Delete removes the shown row only, even with an identical twin.
  Bank_.SetRecNo(4);
  ASSERT_EQ(Bank_.FieldByName("Вопрос").AsString(), "Два");
  Bank_.Delete();
  EXPECT_EQ(Bank_.RecordCount(), 4);
  EXPECT_EQ(Bank_.FieldByName("Вопрос").AsString(), "Три");
  EXPECT_EQ(Questions(Db_), (Strings{"Один", "Два", "Три", "Новый"}));
  while (!Bank_.IsEmpty()) Bank_.Delete();
  EXPECT_TRUE(Bank_.Eof());
  EXPECT_EQ(ErrorOf([&] { Bank_.Delete(); }), "Cannot perform this operation on an empty dataset");
  EXPECT_TRUE(Questions(Db_).empty());
}

TEST_F(EditableTest, RefreshShowsOtherWritersAndKeepsTheRow) {
  Bank_.SetRecNo(3);
  auto other = Db_.OpenSecond();
  other->ExecuteDirect("delete from БДТест where Вопрос = 'Один'; insert into БДТест(Вопрос) values ('Четыре')");
  EXPECT_EQ(Bank_.RecordCount(), 4);  // a snapshot until refreshed
  Bank_.Refresh();
  EXPECT_EQ(Bank_.RecordCount(), 4);
  EXPECT_EQ(Bank_.RecNo(), 2);  // the same row, now second
  Bank_.Last();
  EXPECT_EQ(Bank_.FieldByName("Вопрос").AsString(), "Четыре");
}

TEST_F(EditableTest, ChangedUnderneathIsReportedNotOverwritten) {
  Bank_.SetRecNo(2);
  Bank_.Edit();
  Bank_.FieldByName("Вопрос").SetAsString("Мой вариант");
  auto other = Db_.OpenSecond();
  other->ExecuteDirect(std::string("update БДТест set Ответ5 = 'чужая правка' where ") +
                       (TestDatabase::OnServer() ? "ctid = '(0,2)'" : "rowid = 2"));
  EXPECT_EQ(ErrorOf([&] { Bank_.Post(); }),
            "Row cannot be located for updating. Some values may have been changed since it was last read.");
  EXPECT_EQ(Bank_.State(), TDataSetState::dsEdit);  // the edits stay
  Bank_.Cancel();
  Bank_.Refresh();
  if (TestDatabase::OnServer()) Bank_.Last();  // the server wrote the changed row anew, last
  EXPECT_EQ(Bank_.FieldByName("Ответ5").AsString(), "чужая правка");
}

TEST_F(EditableTest, NumericCorrectAnswerRefusesText) {
  Bank_.Edit();
  TField& correct = Bank_.FieldByName("ОтветПр");
  EXPECT_EQ(correct.DataType(), TFieldType::ftInteger);
  EXPECT_EQ(ErrorOf([&] { correct.SetAsString("abc"); }), "'abc' is not a valid integer value for field 'ОтветПр'");
  EXPECT_EQ(ErrorOf([&] { correct.SetAsString("3x"); }), "'3x' is not a valid integer value for field 'ОтветПр'");
  correct.SetAsString("");  // empty stores null
  Bank_.Post();
  EXPECT_TRUE(correct.IsNull());
  EXPECT_EQ(correct.AsString(), "");
  EXPECT_EQ(correct.AsInteger(), 0);
  // A text column converts like StrToInt.
  EXPECT_EQ(ErrorOf([&] { Bank_.FieldByName("Вопрос").AsInteger(); }), "'Один' is not a valid integer value");
  Bank_.Last();
  EXPECT_EQ(ErrorOf([&] { Bank_.FieldByName("Ответ1").AsInteger(); }), "'' is not a valid integer value");
}

TEST_F(EditableTest, ReadOnlyResultsAndStates) {
  TADOQuery logins(&Db_.Connection());
  LoadStatement(logins, Statements::kSelectLogins);
  logins.Open();
  EXPECT_FALSE(logins.CanModify());
  EXPECT_EQ(ErrorOf([&] { logins.Edit(); }), "Cannot modify a read-only dataset");
  EXPECT_EQ(ErrorOf([&] { Bank_.FieldByName("Вопрос").SetAsString("x"); }), "Dataset not in edit or insert mode");
  EXPECT_EQ(ErrorOf([&] { Bank_.Post(); }), "Dataset not in edit or insert mode");
  // A search over one table stays editable.
  LoadStatement(Bank_, Statements::kSearchQuestions);
  Bank_.ParamByName("a").SetValue(Variant("%ДВА%"));
  Bank_.Open();
  EXPECT_TRUE(Bank_.CanModify());
  EXPECT_EQ(Bank_.RecordCount(), 2);
  EXPECT_EQ(TADOQuery::EditableTableOf("select * from Тесты\r\nwhere Пользователь= ?"), "Тесты");
  EXPECT_EQ(TADOQuery::EditableTableOf("select * from Тесты order by Верно"), "");
  EXPECT_EQ(TADOQuery::EditableTableOf("select Логин from Пользователи"), "");
  EXPECT_EQ(TADOQuery::EditableTableOf("select * from A, B"), "");
}

TEST_F(EditableTest, EditingAnEmptyResultInserts) {
  LoadStatement(Bank_, Statements::kSearchQuestions);
  Bank_.ParamByName("a").SetValue(Variant("%нет такого%"));
  Bank_.Open();
  ASSERT_TRUE(Bank_.IsEmpty());
  EXPECT_TRUE(Bank_.Bof() && Bank_.Eof());
  EXPECT_EQ(Bank_.RecNo(), 0);
  EXPECT_EQ(Bank_.FieldByName("Вопрос").AsString(), "");
  Bank_.Edit();
  EXPECT_EQ(Bank_.State(), TDataSetState::dsInsert);
}

TEST_F(EditableTest, TableDatasetIsEditableAndFilterable) {
  Db_.Exec("insert into Пользователи values ('Admin','1',''), ('Петров','2','')");
  TADOTable users(&Db_.Connection(), "Пользователи");
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
  source.SetDataSet(&Bank_);
  EXPECT_TRUE(link.Active());
  int stateChanges = 0;
  source.OnStateChange = [&] { ++stateChanges; };
  link.Events.clear();
  Bank_.Next();
  EXPECT_EQ(link.Events, (Strings{"scrolled 1"}));
  link.Events.clear();
  // A bound control writes its text when the row is posted.
  link.OnUpdateData = [&] { Bank_.FieldByName("Вопрос").SetAsString("Из редактора"); };
  EXPECT_TRUE(link.Edit());
  EXPECT_TRUE(link.Editing());
  Bank_.Post();
  EXPECT_EQ(link.Events, (Strings{"editing", "update", "record Вопрос", "browsing", "changed"}));
  EXPECT_EQ(Questions(Db_)[TestDatabase::OnServer() ? 3 : 1], "Из редактора");
  EXPECT_EQ(stateChanges, 2);
  link.OnUpdateData = nullptr;
  link.Events.clear();
  Bank_.Close();
  EXPECT_EQ(link.Events, (Strings{"inactive"}));
  EXPECT_FALSE(link.Active());
  // Disabled sources keep their links quiet and report inactive.
  Bank_.Open();
  source.SetEnabled(false);
  EXPECT_FALSE(link.Active());
  link.Events.clear();
  Bank_.Next();
  EXPECT_TRUE(link.Events.empty());
  source.SetEnabled(true);
  EXPECT_TRUE(link.Active());
}

TEST_F(EditableTest, DestroyingEitherEndDetaches) {
  RecordingLink link;
  {
    TDataSource source(&Bank_);
    link.SetDataSource(&source);
    EXPECT_TRUE(link.Active());
  }
  EXPECT_EQ(link.DataSource(), nullptr);
  EXPECT_FALSE(link.Active());
  TDataSource source;
  link.SetDataSource(&source);
  {
    TADOQuery temporary(&Db_.Connection());
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
  TDataSource source(&Bank_);
  TFieldDataLink link;
  std::string shown, typed;
  link.OnDataChange = [&] { shown = link.Field() ? link.Field()->AsString() : "(none)"; };
  link.OnUpdateData = [&] { link.Field()->SetAsString(typed); };
  link.SetDataSource(&source);
  link.SetFieldName("ОтветПр");
  EXPECT_EQ(shown, "1");
  EXPECT_TRUE(link.CanModify());
  Bank_.Next();
  EXPECT_EQ(shown, "2");
  typed = "5";
  EXPECT_TRUE(link.Modified());
  EXPECT_EQ(Bank_.State(), TDataSetState::dsEdit);
  Bank_.Next();  // moving posts, which asks the control for its text first
  EXPECT_EQ(shown, "2");
  Bank_.Prior();
  EXPECT_EQ(shown, "5");
  // A refused text keeps the row in editing and the control's text unsent.
  typed = "abc";
  link.Modified();
  EXPECT_THROW(Bank_.Post(), EConvertError);
  EXPECT_EQ(Bank_.State(), TDataSetState::dsEdit);
  link.Reset();
  Bank_.Cancel();
  EXPECT_EQ(shown, "5");
  // Reopened with another statement, the link finds its field again or shows none.
  LoadStatement(Bank_, Statements::kSelectCorrectAnswers);
  Bank_.Open();
  EXPECT_EQ(shown, "1");
  EXPECT_FALSE(link.CanModify());
  EXPECT_FALSE(link.Modified());
  LoadStatement(Bank_, Statements::kSelectLogins);
  Bank_.Open();
  EXPECT_EQ(shown, "(none)");
}

TEST_F(EditableTest, FailedRefreshKeepsTheShownRows) {
  Bank_.SetRecNo(2);
  TField& question = Bank_.FieldByName("Вопрос");
  Db_.Exec("alter table БДТест rename to Старый");
  EXPECT_EQ(ErrorOf([&] { Bank_.Refresh(); }), TestDatabase::OnServer()
                                                   ? "Сервер базы данных отклонил действие: relation \"БДТест\" does not exist"
                                                   : "no such table: БДТест");
  EXPECT_TRUE(Bank_.Active());
  EXPECT_EQ(Bank_.RecordCount(), 4);
  EXPECT_EQ(question.AsString(), "Два");
  // Field objects outlive a reopening with other columns; a field not in the result refuses to read.
  LoadStatement(Bank_, Statements::kSelectLogins);
  Bank_.Open();
  EXPECT_EQ(question.Index(), -1);
  EXPECT_THROW(question.AsString(), EDatabaseError);
}
