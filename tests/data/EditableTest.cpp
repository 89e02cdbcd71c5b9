// Editable snapshots: edits, inserts and deletes reach exactly the row shown, on
// the data layer's own test schema (keyless "entries" rows), in a file and on the
// server alike.
#include <gtest/gtest.h>

#include <functional>

#include "data/TADOTable.h"
#include "data/TDataLink.h"
#include "data/TDataSource.h"
#include "data/TFieldDataLink.h"
#include "platform/base/Exception.h"
#include "tests/data/TestDatabase.h"

namespace {
using Strings = std::vector<std::string>;

// The titles of the entries as the database holds them, in its own order.
Strings Titles(TestDatabase& db) {
  TADOQuery query(&db.Connection());
  query.SQL().Add("select title from entries");
  query.Open();
  return ColumnOf(query);
}

// Loads a statement of one or more lines into a closed query.
void Load(TADOQuery& query, std::initializer_list<const char*> lines) {
  query.Close();
  query.SQL().Clear();
  query.Parameters().Clear();
  for (const char* line : lines) query.SQL().Add(line);
}

class EditableTest : public ::testing::Test {
protected:
  void SetUp() override {
    Db_.CreateItems();
    // Two rows identical in every column: only the row identity tells them apart.
    Db_.Exec("insert into entries values ('Один', 'a', 1), ('Два', 'a', 2), ('Два', 'a', 2), ('Три', null, null)");
    Load(Entries_, {"select * from entries"});
    Entries_.Open();
  }
  // A search over the one table, its value bound to a marker.
  void Search(const std::string& pattern) {
    Load(Entries_, {"select * from entries", "where title  Like :a "});
    Entries_.ParamByName("a").SetValue(Variant(pattern));
    Entries_.Open();
  }
  TestDatabase Db_;
  TADOQuery Entries_{&Db_.Connection()};
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
  EXPECT_EQ(Entries_.RecordCount(), 4);
  EXPECT_TRUE(Entries_.Bof());
  EXPECT_FALSE(Entries_.Eof());
  EXPECT_EQ(Entries_.RecNo(), 1);
  Entries_.Prior();
  EXPECT_TRUE(Entries_.Bof());
  EXPECT_EQ(Entries_.RecNo(), 1);
  Entries_.Last();
  EXPECT_TRUE(Entries_.Eof());
  EXPECT_EQ(Entries_.FieldByName("title").AsString(), "Три");
  Entries_.Prior();
  EXPECT_FALSE(Entries_.Eof());
  EXPECT_EQ(Entries_.RecNo(), 3);
  Entries_.Next();
  EXPECT_FALSE(Entries_.Eof());
  Entries_.Next();
  EXPECT_TRUE(Entries_.Eof());
  EXPECT_EQ(Entries_.RecNo(), 4);
  EXPECT_EQ(Entries_.MoveBy(-10), -3);
  EXPECT_TRUE(Entries_.Bof());
}

TEST_F(EditableTest, EditUpdatesExactlyTheRowShown) {
  ASSERT_TRUE(Entries_.CanModify());
  Entries_.SetRecNo(3);  // the second of the two identical rows
  Entries_.Edit();
  EXPECT_EQ(Entries_.State(), TDataSetState::dsEdit);
  Entries_.FieldByName("title").SetAsString("Два (второй)");
  Entries_.Post();
  EXPECT_EQ(Entries_.State(), TDataSetState::dsBrowse);
  // A server writes an updated row anew, at the end of an unordered select.
  const Strings onServer{"Один", "Два", "Три", "Два (второй)"};
  const Strings inFile{"Один", "Два", "Два (второй)", "Три"};
  EXPECT_EQ(Titles(Db_), TestDatabase::OnServer() ? onServer : inFile);
  EXPECT_EQ(Entries_.FieldByName("title").AsString(), "Два (второй)");
  EXPECT_EQ(Entries_.RecNo(), 3);
}

// The rows keep their texts in blocks of their own; a value copied out owns its
// text and keeps it after the rows are gone and others read in their place.
TEST_F(EditableTest, ValuesCopiedFromTheRowsOutliveThem) {
  std::vector<Variant> column;
  for (Entries_.First(); !Entries_.Eof(); Entries_.Next()) column.push_back(Entries_.FieldByName("title").Value());
  Variant assigned;
  Entries_.First();
  assigned = Entries_.FieldValue(Entries_.FieldByName("title").Index());
  Entries_.Close();
  Db_.Exec("update entries set title = 'Пять', note = 'ж'");  // as long as the old texts: likely in their place
  Entries_.Open();
  Strings kept;
  for (const Variant& v : column) kept.push_back(v.ToText());
  EXPECT_EQ(kept, (Strings{"Один", "Два", "Два", "Три"}));
  EXPECT_EQ(assigned.AsString(), "Один");
  // Read in place, a value still compares and converts as any other.
  Entries_.First();
  EXPECT_TRUE(Entries_.FieldByName("title").Value() == Variant("Пять"));
  EXPECT_EQ(Entries_.FieldByName("note").AsString(), "ж");
  EXPECT_TRUE(Entries_.FieldByName("amount").Value() == Variant(1));
}

TEST_F(EditableTest, CancelDiscardsAndMovingPostsFirst) {
  Entries_.Edit();
  Entries_.FieldByName("title").SetAsString("Не сохранится");
  Entries_.Cancel();
  EXPECT_EQ(Entries_.FieldByName("title").AsString(), "Один");
  Entries_.Edit();
  Entries_.FieldByName("note").SetAsString("новый ответ");
  Entries_.Next();  // moving while editing posts
  EXPECT_EQ(Entries_.State(), TDataSetState::dsBrowse);
  EXPECT_EQ(Entries_.RecNo(), 2);
  Entries_.First();
  EXPECT_EQ(Entries_.FieldByName("note").AsString(), "новый ответ");
  // Editing without a change and moving on writes nothing.
  Entries_.Edit();
  Entries_.Next();
  EXPECT_EQ(Entries_.State(), TDataSetState::dsBrowse);
  // Closing discards edits that were not posted.
  Entries_.Edit();
  Entries_.FieldByName("title").SetAsString("Потеряно");
  Entries_.Close();
  EXPECT_EQ(Titles(Db_)[1], "Два");
}

TEST_F(EditableTest, InsertAppendAndDelete) {
  Entries_.SetRecNo(2);
  Entries_.Insert();
  EXPECT_EQ(Entries_.State(), TDataSetState::dsInsert);
  EXPECT_EQ(Entries_.FieldByName("title").AsString(), "");  // a new row starts empty
  Entries_.FieldByName("title").SetAsString("Новый");
  Entries_.FieldByName("amount").SetAsString("4");
  Entries_.Post();
  EXPECT_EQ(Entries_.RecordCount(), 5);
  EXPECT_EQ(Entries_.RecNo(), 2);  // shown where it was inserted
  EXPECT_EQ(Entries_.FieldByName("amount").AsInteger(), 4);
  EXPECT_EQ(Titles(Db_), (Strings{"Один", "Два", "Два", "Три", "Новый"}));
  Entries_.Append();
  Entries_.Cancel();
  EXPECT_EQ(Entries_.RecordCount(), 5);
  EXPECT_EQ(Entries_.State(), TDataSetState::dsBrowse);
  // An inserted row left untouched is dropped when moving on.
  Entries_.Append();
  Entries_.First();
  EXPECT_EQ(Entries_.RecordCount(), 5);
  // Delete removes the shown row only, even with an identical twin.
  Entries_.SetRecNo(4);
  ASSERT_EQ(Entries_.FieldByName("title").AsString(), "Два");
  Entries_.Delete();
  EXPECT_EQ(Entries_.RecordCount(), 4);
  EXPECT_EQ(Entries_.FieldByName("title").AsString(), "Три");
  EXPECT_EQ(Titles(Db_), (Strings{"Один", "Два", "Три", "Новый"}));
  while (!Entries_.IsEmpty()) Entries_.Delete();
  EXPECT_TRUE(Entries_.Eof());
  EXPECT_EQ(ErrorOf([&] { Entries_.Delete(); }), "Cannot perform this operation on an empty dataset");
  EXPECT_TRUE(Titles(Db_).empty());
}

TEST_F(EditableTest, RefreshShowsOtherWritersAndKeepsTheRow) {
  Entries_.SetRecNo(3);
  auto other = Db_.OpenSecond();
  other->ExecuteDirect("delete from entries where title = 'Один'; insert into entries(title) values ('Четыре')");
  EXPECT_EQ(Entries_.RecordCount(), 4);  // a snapshot until refreshed
  Entries_.Refresh();
  EXPECT_EQ(Entries_.RecordCount(), 4);
  EXPECT_EQ(Entries_.RecNo(), 2);  // the same row, now second
  Entries_.Last();
  EXPECT_EQ(Entries_.FieldByName("title").AsString(), "Четыре");
}

TEST_F(EditableTest, ChangedUnderneathIsReportedNotOverwritten) {
  Entries_.SetRecNo(2);
  Entries_.Edit();
  Entries_.FieldByName("title").SetAsString("Мой вариант");
  auto other = Db_.OpenSecond();
  other->ExecuteDirect(std::string("update entries set note = 'чужая правка' where ") +
                       (TestDatabase::OnServer() ? "ctid = '(0,2)'" : "rowid = 2"));
  EXPECT_EQ(ErrorOf([&] { Entries_.Post(); }),
            "Row cannot be located for updating. Some values may have been changed since it was last read.");
  EXPECT_EQ(Entries_.State(), TDataSetState::dsEdit);  // the edits stay
  Entries_.Cancel();
  Entries_.Refresh();
  if (TestDatabase::OnServer()) Entries_.Last();  // the server wrote the changed row anew, last
  EXPECT_EQ(Entries_.FieldByName("note").AsString(), "чужая правка");
}

TEST_F(EditableTest, IntegerColumnRefusesText) {
  Entries_.Edit();
  TField& amount = Entries_.FieldByName("amount");
  EXPECT_EQ(amount.DataType(), TFieldType::ftInteger);
  EXPECT_EQ(ErrorOf([&] { amount.SetAsString("abc"); }), "'abc' is not a valid integer value for field 'amount'");
  EXPECT_EQ(ErrorOf([&] { amount.SetAsString("3x"); }), "'3x' is not a valid integer value for field 'amount'");
  amount.SetAsString("");  // empty stores null
  Entries_.Post();
  EXPECT_TRUE(amount.IsNull());
  EXPECT_EQ(amount.AsString(), "");
  EXPECT_EQ(amount.AsInteger(), 0);
  // A text column converts like StrToInt.
  EXPECT_EQ(ErrorOf([&] { Entries_.FieldByName("title").AsInteger(); }), "'Один' is not a valid integer value");
  Entries_.Last();
  EXPECT_EQ(ErrorOf([&] { Entries_.FieldByName("note").AsInteger(); }), "'' is not a valid integer value");
}

TEST_F(EditableTest, ReadOnlyResultsAndStates) {
  TADOQuery codes(&Db_.Connection());
  Load(codes, {"select code from items"});
  codes.Open();
  EXPECT_FALSE(codes.CanModify());
  EXPECT_EQ(ErrorOf([&] { codes.Edit(); }), "Cannot modify a read-only dataset");
  EXPECT_EQ(ErrorOf([&] { Entries_.FieldByName("title").SetAsString("x"); }), "Dataset not in edit or insert mode");
  EXPECT_EQ(ErrorOf([&] { Entries_.Post(); }), "Dataset not in edit or insert mode");
  // A search over one table stays editable.
  Search("%Два%");
  EXPECT_TRUE(Entries_.CanModify());
  EXPECT_EQ(Entries_.RecordCount(), 2);
  EXPECT_EQ(TADOQuery::EditableTableOf("select * from Склад\r\nwhere Код= ?"), "Склад");
  EXPECT_EQ(TADOQuery::EditableTableOf("select * from Склад order by Цена"), "");
  EXPECT_EQ(TADOQuery::EditableTableOf("select Код from Склад"), "");
  EXPECT_EQ(TADOQuery::EditableTableOf("select * from A, B"), "");
}

TEST_F(EditableTest, EditingAnEmptyResultInserts) {
  Search("%нет такого%");
  ASSERT_TRUE(Entries_.IsEmpty());
  EXPECT_TRUE(Entries_.Bof() && Entries_.Eof());
  EXPECT_EQ(Entries_.RecNo(), 0);
  EXPECT_EQ(Entries_.FieldByName("title").AsString(), "");
  Entries_.Edit();
  EXPECT_EQ(Entries_.State(), TDataSetState::dsInsert);
}

TEST_F(EditableTest, TableDatasetIsEditableAndFilterable) {
  Db_.Exec("insert into items(id, code) values (5, 'Петров')");
  TADOTable items(&Db_.Connection(), "items");
  items.Open();
  // Codes compare exactly, like the engine's `=` on that column.
  items.SetFilter("code = 'петров'");
  items.SetFiltered(true);
  EXPECT_EQ(items.RecordCount(), 0);
  items.SetFilter("code = 'Петров'");
  ASSERT_EQ(items.RecordCount(), 1);
  items.Edit();
  items.FieldByName("note").SetAsString("10Б");
  items.Post();
  items.SetFiltered(false);
  items.Refresh();
  ASSERT_TRUE(items.Locate("code", Variant("Петров")));
  EXPECT_EQ(items.FieldByName("note").AsString(), "10Б");
  items.SetFilter("code = ");
  EXPECT_THROW(items.SetFiltered(true), EDatabaseError);
}

TEST_F(EditableTest, DataLinksHearStateDataAndScroll) {
  TDataSource source;
  RecordingLink link;
  link.SetDataSource(&source);
  EXPECT_FALSE(link.Active());
  source.SetDataSet(&Entries_);
  EXPECT_TRUE(link.Active());
  int stateChanges = 0;
  source.OnStateChange = [&] { ++stateChanges; };
  link.Events.clear();
  Entries_.Next();
  EXPECT_EQ(link.Events, (Strings{"scrolled 1"}));
  link.Events.clear();
  // A bound control writes its text when the row is posted.
  link.OnUpdateData = [&] { Entries_.FieldByName("title").SetAsString("Из редактора"); };
  EXPECT_TRUE(link.Edit());
  EXPECT_TRUE(link.Editing());
  Entries_.Post();
  EXPECT_EQ(link.Events, (Strings{"editing", "update", "record title", "browsing", "changed"}));
  EXPECT_EQ(Titles(Db_)[TestDatabase::OnServer() ? 3 : 1], "Из редактора");
  EXPECT_EQ(stateChanges, 2);
  link.OnUpdateData = nullptr;
  link.Events.clear();
  Entries_.Close();
  EXPECT_EQ(link.Events, (Strings{"inactive"}));
  EXPECT_FALSE(link.Active());
  // Disabled sources keep their links quiet and report inactive.
  Entries_.Open();
  source.SetEnabled(false);
  EXPECT_FALSE(link.Active());
  link.Events.clear();
  Entries_.Next();
  EXPECT_TRUE(link.Events.empty());
  source.SetEnabled(true);
  EXPECT_TRUE(link.Active());
}

TEST_F(EditableTest, DestroyingEitherEndDetaches) {
  RecordingLink link;
  {
    TDataSource source(&Entries_);
    link.SetDataSource(&source);
    EXPECT_TRUE(link.Active());
  }
  EXPECT_EQ(link.DataSource(), nullptr);
  EXPECT_FALSE(link.Active());
  TDataSource source;
  link.SetDataSource(&source);
  {
    TADOQuery temporary(&Db_.Connection());
    temporary.SQL().Add("select * from moves");
    temporary.Open();
    source.SetDataSet(&temporary);
    EXPECT_TRUE(link.Active());
  }
  EXPECT_EQ(source.DataSet(), nullptr);
  EXPECT_FALSE(link.Active());
}

TEST_F(EditableTest, FieldDataLinkEditsThroughItsControl) {
  // A stand-in for a bound edit box: it shows the field and types into it.
  TDataSource source(&Entries_);
  TFieldDataLink link;
  std::string shown, typed;
  link.OnDataChange = [&] { shown = link.Field() ? link.Field()->AsString() : "(none)"; };
  link.OnUpdateData = [&] { link.Field()->SetAsString(typed); };
  link.SetDataSource(&source);
  link.SetFieldName("amount");
  EXPECT_EQ(shown, "1");
  EXPECT_TRUE(link.CanModify());
  Entries_.Next();
  EXPECT_EQ(shown, "2");
  typed = "5";
  EXPECT_TRUE(link.Modified());
  EXPECT_EQ(Entries_.State(), TDataSetState::dsEdit);
  Entries_.Next();  // moving posts, which asks the control for its text first
  EXPECT_EQ(shown, "2");
  Entries_.Prior();
  EXPECT_EQ(shown, "5");
  // A refused text keeps the row in editing and the control's text unsent.
  typed = "abc";
  link.Modified();
  EXPECT_THROW(Entries_.Post(), EConvertError);
  EXPECT_EQ(Entries_.State(), TDataSetState::dsEdit);
  link.Reset();
  Entries_.Cancel();
  EXPECT_EQ(shown, "5");
  // Reopened with another statement, the link finds its field again or shows none.
  Load(Entries_, {"select amount from entries"});
  Entries_.Open();
  EXPECT_EQ(shown, "1");
  EXPECT_FALSE(link.CanModify());
  EXPECT_FALSE(link.Modified());
  Load(Entries_, {"select code from items"});
  Entries_.Open();
  EXPECT_EQ(shown, "(none)");
}

TEST_F(EditableTest, FailedRefreshKeepsTheShownRows) {
  Entries_.SetRecNo(2);
  TField& title = Entries_.FieldByName("title");
  Db_.Exec("alter table entries rename to old_entries");
  EXPECT_EQ(ErrorOf([&] { Entries_.Refresh(); }),
            TestDatabase::OnServer() ? "Сервер базы данных отклонил действие: relation \"entries\" does not exist"
                                     : "no such table: entries");
  EXPECT_TRUE(Entries_.Active());
  EXPECT_EQ(Entries_.RecordCount(), 4);
  EXPECT_EQ(title.AsString(), "Два");
  // Field objects outlive a reopening with other columns; a field not in the result refuses to read.
  Load(Entries_, {"select code from items"});
  Entries_.Open();
  EXPECT_EQ(title.Index(), -1);
  EXPECT_THROW(title.AsString(), EDatabaseError);
}
