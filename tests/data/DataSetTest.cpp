// The data layer on a schema of its own (TestDatabase::CreateItems), in a file
// and on the server alike: every kind of column read back, filters, like and
// numbers, edits through the dataset, a unique key, transactions, parameters,
// and the errors of a missing table and a bad statement.
#include <gtest/gtest.h>

#include <cstdint>

#include "data/TADOQuery.h"
#include "data/TADOTable.h"
#include "data/TDbEngine.h"
#include "platform/base/Exception.h"
#include "tests/data/TestDatabase.h"

namespace {
using Strings = std::vector<std::string>;

class DataSetTest : public ::testing::Test {
protected:
  void SetUp() override { Db_.CreateItems(); }
  static bool OnServer() { return TestDatabase::OnServer(); }
  // The first column of a statement's rows, nulls as "<null>".
  Strings Column(const std::string& sql, const std::vector<Variant>& values = {}) {
    TADOQuery query(&Db_.Connection());
    query.SQL().Add(sql);
    for (std::size_t i = 0; i < values.size(); ++i) query.Parameters()[static_cast<int>(i)].SetValue(values[i]);
    query.Open();
    Strings out;
    for (query.First(); !query.Eof(); query.Next())
      out.push_back(query.Fields(0).IsNull() ? "<null>" : query.Fields(0).AsString());
    return out;
  }
  // The codes a filter leaves of the table, in the table's order.
  Strings Filtered(TADOTable& table, const std::string& filter) {
    table.SetFilter(filter);
    table.SetFiltered(true);
    Strings out;
    for (table.First(); !table.Eof(); table.Next()) out.push_back(table.FieldByName("code").AsString());
    table.SetFiltered(false);
    return out;
  }
  std::string Row(const std::string& code) {
    TADOQuery query(&Db_.Connection());
    query.SQL().Add("select code, title, quantity, price, arrived, note from items where code = :c");
    query.ParamByName("c").SetValue(Variant(code));
    query.Open();
    if (query.IsEmpty()) return "(none)";
    std::string out;
    for (int i = 0; i < query.FieldCount(); ++i) out += (i ? "|" : "") + (query.Fields(i).IsNull() ? "<null>" : query.Fields(i).AsString());
    return out;
  }

  TestDatabase Db_;
};
}  // namespace

TEST_F(DataSetTest, EveryKindOfColumnReadsBack) {
  TADOQuery query(&Db_.Connection());
  query.SQL().Add("select * from items order by id");
  query.Open();
  ASSERT_EQ(query.FieldCount(), 8);
  EXPECT_EQ(query.RecordCount(), 4);
  const Strings names{"id", "code", "title", "quantity", "price", "arrived", "picture", "note"};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(query.Fields(i).FieldName(), names[static_cast<std::size_t>(i)]);
    EXPECT_EQ(query.Fields(i).DataType(), i == 0 || i == 3 ? TFieldType::ftInteger : TFieldType::ftString) << i;
  }
  EXPECT_EQ(query.FieldByName("title").AsString(), "Яблоко");
  EXPECT_EQ(query.FieldByName("quantity").AsInteger(), 10);
  EXPECT_EQ(query.FieldByName("price").AsString(), "2.5");
  EXPECT_EQ(query.FieldByName("arrived").AsString(), "2024-09-01");
  // A blob comes as its bytes from the file and as the server's hex text.
  EXPECT_EQ(query.FieldByName("picture").AsString(), OnServer() ? "\\x00ff41" : std::string("\0\xff" "A", 3));
  EXPECT_EQ(query.FieldByName("note").AsString(), "первый");
  query.Next();
  EXPECT_EQ(query.FieldByName("quantity").AsInteger(), -3);
  EXPECT_EQ(query.FieldByName("price").AsString(), "0.25");
  EXPECT_TRUE(query.FieldByName("picture").IsNull());
  EXPECT_TRUE(query.FieldByName("note").IsNull());
  // Null reads as the empty text and, in an integer column, as 0; an empty text is not null.
  query.Next();
  for (const char* name : {"quantity", "price", "arrived", "picture"}) EXPECT_TRUE(query.FieldByName(name).IsNull()) << name;
  EXPECT_EQ(query.FieldByName("quantity").AsInteger(), 0);
  EXPECT_EQ(query.FieldByName("price").AsString(), "");
  EXPECT_FALSE(query.FieldByName("note").IsNull());
  EXPECT_EQ(query.FieldByName("note").AsString(), "");
  // A 64-bit value is kept whole; reading it as an int is refused, not cut.
  query.Next();
  EXPECT_TRUE(query.FieldByName("quantity").Value() == Variant(int64_t{9007199254740993}));
  EXPECT_EQ(query.FieldByName("quantity").AsString(), "9007199254740993");
  EXPECT_EQ(ErrorOf([&] { query.FieldByName("quantity").AsInteger(); }),
            "'9007199254740993' is not a valid integer value");
  EXPECT_EQ(query.FieldByName("price").AsString(), "-0.001");
  EXPECT_EQ(query.FieldByName("arrived").AsString(), "2000-02-29");
}

TEST_F(DataSetTest, FiltersCompareEveryKindOfColumn) {
  TADOTable items(&Db_.Connection(), "items");
  items.Open();
  EXPECT_EQ(Filtered(items, "quantity > 0"), (Strings{"A-1", "C_%"}));
  EXPECT_EQ(Filtered(items, "quantity < 0 or quantity is null"), (Strings{"a-1", "B-7"}));
  EXPECT_EQ(Filtered(items, "not (quantity = 10) and quantity > -5"), (Strings{"a-1", "C_%"}));
  EXPECT_EQ(Filtered(items, "note is null"), (Strings{"a-1"}));
  EXPECT_EQ(Filtered(items, "note = ''"), (Strings{"B-7"}));
  // The code compares exactly on both engines; the title folds where the column does.
  EXPECT_EQ(Filtered(items, "code = 'a-1'"), (Strings{"a-1"}));
  EXPECT_EQ(Filtered(items, "title = 'ЯБЛОКО'"), OnServer() ? Strings{} : (Strings{"A-1", "a-1"}));
  EXPECT_EQ(Filtered(items, "[title] like 'гру%'"), (Strings{"B-7"}));
  EXPECT_EQ(Filtered(items, "arrived = '2024-12-31'"), (Strings{"a-1"}));
  EXPECT_EQ(items.RecordCount(), 4);  // unfiltered again
  EXPECT_EQ(ErrorOf([&] { Filtered(items, "weight > 1"); }),
            "Arguments are of the wrong type, are out of acceptable range, or are in conflict with one another.");
  // Locate follows the same comparisons.
  ASSERT_TRUE(items.Locate("code", Variant("a-1")));
  EXPECT_EQ(items.FieldByName("quantity").AsInteger(), -3);
  EXPECT_TRUE(items.Locate("code;quantity", std::vector<Variant>{Variant("A-1"), Variant(10)}));
  EXPECT_EQ(items.RecNo(), 1);
  EXPECT_FALSE(items.Locate("code", Variant("b-7")));
  EXPECT_TRUE(items.Locate("code", Variant("b-7"), static_cast<unsigned>(TLocateOption::loCaseInsensitive)));
  EXPECT_TRUE(items.Locate("title", Variant("Гр"), static_cast<unsigned>(TLocateOption::loPartialKey)));
  EXPECT_EQ(items.FieldByName("code").AsString(), "B-7");
}

TEST_F(DataSetTest, LikeInStatements) {
  const std::string sql = "select code from items where title like :p order by id";
  EXPECT_EQ(Column(sql, {Variant("%блок%")}), (Strings{"A-1", "a-1"}));
  EXPECT_EQ(Column(sql, {Variant("_блоко")}), (Strings{"A-1", "a-1"}));  // "_" is one letter, a Cyrillic one too
  EXPECT_EQ(Column(sql, {Variant("Груш_")}), (Strings{"B-7"}));
  EXPECT_EQ(Column(sql, {Variant("%100%")}), (Strings{"C_%"}));
  EXPECT_EQ(Column(sql, {Variant("%")}).size(), 4u);
  // Letter case folds in a file; the server's like compares a plain text column as it is.
  EXPECT_EQ(Column(sql, {Variant("ЯБЛ%")}), OnServer() ? Strings{} : (Strings{"A-1", "a-1"}));
  EXPECT_EQ(Column(sql, {Variant("apple%")}), OnServer() ? Strings{} : Strings{"C_%"});
  // Null matches no pattern, not even "%"; an escape makes a wildcard literal.
  EXPECT_EQ(Column("select code from items where note like '%' order by id"), (Strings{"A-1", "B-7", "C_%"}));
  EXPECT_EQ(Column("select code from items where code like 'C!_!%' escape '!'"), Strings{"C_%"});
  EXPECT_EQ(Column("select code from items where code like 'C!_' escape '!'"), Strings{});
  EXPECT_EQ(Column("select 'a%' like 'a!%' escape '!'"), Strings{"1"});
  EXPECT_EQ(Column("select 'ab' like 'a!%' escape '!'"), Strings{"0"});
  EXPECT_THROW(Column("select 'a' like 'a' escape '!!'"), EDatabaseError);  // an escape is one letter
}

TEST_F(DataSetTest, NumbersInStatements) {
  const std::string above = "select code from items where quantity > :n order by id";
  EXPECT_EQ(Column(above, {Variant(0)}), (Strings{"A-1", "C_%"}));
  EXPECT_EQ(Column(above, {Variant(int64_t{9007199254740992})}), Strings{"C_%"});  // no rounding through a double
  EXPECT_EQ(Column(above, {Variant(int64_t{9007199254740993})}), Strings{});
  EXPECT_EQ(Column(above, {Variant(-4)}), (Strings{"A-1", "a-1", "C_%"}));
  // A number given as text compares as the number.
  EXPECT_EQ(Column("select code from items where quantity = :n", {Variant("10")}), Strings{"A-1"});
  EXPECT_EQ(Column("select count(*) from items where price < :p", {Variant("0.3")}), Strings{"2"});
  EXPECT_EQ(Column("select sum(quantity) from items where quantity < :n", {Variant(100)}), Strings{"7"});
  EXPECT_EQ(Column("select price * 2 from items where id = 1"), Strings{"5"});
  EXPECT_EQ(Column("select sum(m.amount) from items i join moves m on m.item = i.id where i.code = 'A-1'"), Strings{"3"});
  // Aggregates over no rows are null, counts 0.
  EXPECT_EQ(Column("select max(price) from items where id > 10"), Strings{"<null>"});
  EXPECT_EQ(Column("select count(*) from items where id > 10"), Strings{"0"});
}

TEST_F(DataSetTest, EditInsertAndDeleteThroughTheDataSet) {
  TADOQuery items(&Db_.Connection());
  items.SQL().Add("select * from items where quantity is null or quantity < 0");
  items.Open();
  ASSERT_TRUE(items.CanModify());
  ASSERT_TRUE(items.Locate("code", Variant("B-7")));
  items.Edit();
  items.FieldByName("quantity").SetAsString("42");
  items.FieldByName("price").SetAsString("3.75");
  items.FieldByName("arrived").SetAsString("2025-01-31");
  items.FieldByName("note").Clear();
  items.Post();
  EXPECT_EQ(Row("B-7"), "B-7|Груша|42|3.75|2025-01-31|<null>");
  EXPECT_EQ(items.FieldByName("price").AsString(), "3.75");  // the row as the engine keeps it now
  // A text that is no integer is refused by the integer column before anything is written.
  items.Edit();
  EXPECT_EQ(ErrorOf([&] { items.FieldByName("quantity").SetAsString("4.5"); }),
            "'4.5' is not a valid integer value for field 'quantity'");
  items.Cancel();

  items.Append();
  items.FieldByName("id").SetAsInteger(5);
  items.FieldByName("code").SetAsString("D-1");
  items.FieldByName("title").SetAsString("Слива");
  items.FieldByName("price").SetAsString("4");
  items.FieldByName("arrived").SetAsString("2025-03-01");
  items.Post();
  EXPECT_EQ(Row("D-1"), "D-1|Слива|<null>|4|2025-03-01|<null>");
  // A whole real, read back as "4", still finds its row.
  items.Edit();
  items.FieldByName("note").SetAsString("поздняя");
  items.Post();
  EXPECT_EQ(Row("D-1"), "D-1|Слива|<null>|4|2025-03-01|поздняя");
  EXPECT_EQ(items.RecordCount(), 3);

  ASSERT_TRUE(items.Locate("code", Variant("a-1")));
  items.Delete();
  EXPECT_EQ(Row("a-1"), "(none)");
  EXPECT_EQ(Column("select code from items order by id"), (Strings{"A-1", "B-7", "C_%", "D-1"}));
  EXPECT_EQ(items.RecordCount(), 2);
  // A row holding a blob and a fraction is found again to be changed and removed.
  TADOTable table(&Db_.Connection(), "items");
  table.Open();
  ASSERT_TRUE(table.Locate("code", Variant("A-1")));
  table.Edit();
  table.FieldByName("note").SetAsString("второй");
  table.Post();
  EXPECT_EQ(Row("A-1"), "A-1|Яблоко|10|2.5|2024-09-01|второй");
  Db_.Exec("delete from moves where item = 1");
  table.Delete();
  EXPECT_EQ(Row("A-1"), "(none)");
}

TEST_F(DataSetTest, AUniqueKeyRefusesASecondRowAndKeepsTheEdit) {
  TADOTable items(&Db_.Connection(), "items");
  items.Open();
  items.Append();
  items.FieldByName("id").SetAsInteger(6);
  items.FieldByName("code").SetAsString("A-1");
  try {
    items.Post();
    ADD_FAILURE() << "a second row with the same code was stored";
  } catch (const EDatabaseDuplicateError& e) {
    EXPECT_EQ(e.Message(), OnServer() ? "Сервер базы данных отклонил действие: duplicate key value violates unique "
                                        "constraint \"items_code_key\""
                                      : "UNIQUE constraint failed: items.code");
  }
  EXPECT_EQ(items.State(), TDataSetState::dsInsert);
  items.FieldByName("code").SetAsString("A-2");
  items.Post();
  EXPECT_EQ(Column("select code from items where id = 6"), Strings{"A-2"});
  // A statement meets the same key.
  EXPECT_THROW(Db_.Exec("update items set code = 'A-1' where id = 6"), EDatabaseDuplicateError);
  EXPECT_EQ(Column("select count(*) from items where code = 'A-1'"), Strings{"1"});
}

TEST_F(DataSetTest, TransactionsCommitAndRollBack) {
  TADOConnection& connection = Db_.Connection();
  auto other = Db_.OpenSecond();
  TADOQuery seen(other.get());
  seen.SQL().Add("select count(*) from items");
  auto count = [&] {
    seen.Open();
    const int n = seen.Fields(0).AsInteger();
    seen.Close();
    return n;
  };
  EXPECT_FALSE(connection.Engine().InTransaction());
  connection.ExecuteDirect("begin");
  EXPECT_TRUE(connection.Engine().InTransaction());
  TADOTable items(&connection, "items");
  items.Open();
  items.Append();
  items.FieldByName("id").SetAsInteger(7);
  items.FieldByName("code").SetAsString("E-1");
  items.Post();
  EXPECT_EQ(Db_.Exec("delete from moves where item = 1"), 2);
  EXPECT_EQ(count(), 4);  // the other connection sees absent before the commit
  connection.ExecuteDirect("rollback");
  EXPECT_FALSE(connection.Engine().InTransaction());
  EXPECT_EQ(Column("select count(*) from moves"), Strings{"3"});
  // The snapshot keeps what it was shown until it reads again.
  EXPECT_EQ(items.RecordCount(), 5);
  items.Refresh();
  EXPECT_EQ(items.RecordCount(), 4);

  connection.ExecuteDirect("begin");
  Db_.Exec("insert into items(id, code) values (8, 'E-2')");
  connection.ExecuteDirect("commit");
  EXPECT_EQ(count(), 5);
  // A failed statement inside a transaction leaves the choice to the caller.
  connection.ExecuteDirect("begin");
  EXPECT_THROW(Db_.Exec("insert into items(id, code) values (9, 'E-2')"), EDatabaseError);
  connection.ExecuteDirect("rollback");
  EXPECT_EQ(count(), 5);
}

TEST_F(DataSetTest, ReadOnlyResults) {
  TADOQuery joined(&Db_.Connection());
  joined.SQL().Add("select i.code, m.amount from items i join moves m on m.item = i.id order by m.amount");
  joined.Open();
  EXPECT_EQ(joined.RecordCount(), 3);
  EXPECT_FALSE(joined.CanModify());
  EXPECT_EQ(ErrorOf([&] { joined.Edit(); }), "Cannot modify a read-only dataset");
  EXPECT_EQ(joined.FieldByName("amount").DataType(), TFieldType::ftInteger);
  EXPECT_EQ(joined.FieldByName("code").AsString(), "A-1");
}

TEST_F(DataSetTest, MissingTableColumnAndBadStatement) {
  const auto refused = [](const std::string& message) {
    return OnServer() ? "Сервер базы данных отклонил действие: " + message : message;
  };
  TADOQuery query(&Db_.Connection());
  query.SQL().Add("select * from absent");
  EXPECT_EQ(ErrorOf([&] { query.Open(); }),
            OnServer() ? refused("relation \"absent\" does not exist") : "no such table: absent");
  query.SQL().Clear();
  query.SQL().Add("select weight from items");
  EXPECT_EQ(ErrorOf([&] { query.Open(); }),
            OnServer() ? refused("column \"weight\" does not exist") : "no such column: weight");
  query.SQL().Clear();
  query.SQL().Add("selec * from items");
  EXPECT_EQ(ErrorOf([&] { query.Open(); }),
            OnServer() ? refused("syntax error at or near \"selec\"") : "near \"selec\": syntax error");
  EXPECT_FALSE(query.Active());
  // A second statement after ";" is refused, not run.
  query.SQL().Clear();
  query.SQL().Add("delete from moves; drop table moves");
  EXPECT_EQ(ErrorOf([&] { query.ExecSQL(); }), "Characters found after end of SQL statement.");
  EXPECT_EQ(Column("select count(*) from moves"), Strings{"3"});
  query.SQL().Clear();
  query.SQL().Add("delete from moves");
  EXPECT_EQ(ErrorOf([&] { query.Open(); }), "CommandText does not return a result set");
  TADOTable table(&Db_.Connection(), "absent");
  EXPECT_EQ(ErrorOf([&] { table.Open(); }),
            OnServer() ? refused("relation \"absent\" does not exist") : "no such table: absent");
  EXPECT_FALSE(table.Active());
  // The connection is still usable after every refusal.
  EXPECT_EQ(Column("select code from items where id = 3"), Strings{"B-7"});
}

TEST_F(DataSetTest, ClosedConnectionAndDatasetMessages) {
  TADOQuery query(&Db_.Connection());
  EXPECT_EQ(ErrorOf([&] { query.First(); }), "Cannot perform this operation on a closed dataset");
  query.SQL().Add("select code, quantity from moves join items on items.id = moves.item");
  query.Open();
  EXPECT_EQ(ErrorOf([&] { query.FieldByName("Нет"); }), "Field 'Нет' not found");
  EXPECT_EQ(ErrorOf([&] { query.Fields(5); }), "List index out of bounds (5)");
  Db_.Connection().Close();
  query.Close();
  EXPECT_EQ(ErrorOf([&] { query.Open(); }), "Operation is not allowed when the object is closed.");
}

TEST_F(DataSetTest, ParametersFollowTheMarkersAndSurviveReparsing) {
  TADOQuery query(&Db_.Connection());
  query.SQL().Add("insert into moves values (:a1, :a2)");
  ASSERT_EQ(query.Parameters().Count(), 2);
  EXPECT_EQ(query.Parameters()[0].Name(), "a1");
  EXPECT_EQ(query.Parameters()[1].Name(), "a2");
  // Parameters are created line by line as the text grows.
  query.SQL().Clear();
  query.SQL().Add("select * from items");
  EXPECT_EQ(query.Parameters().Count(), 0);
  EXPECT_THROW(query.ParamByName("a"), EDatabaseError);  // no such parameter yet
  query.SQL().Add("where code = :a");
  ASSERT_EQ(query.Parameters().Count(), 1);
  query.ParamByName("A").SetValue(Variant("x"));  // names ignore letter case
  // A value set before a later line is appended is kept.
  query.SQL().Add("and quantity = :b");
  EXPECT_EQ(query.ParamByName("a").Value(), Variant("x"));
  EXPECT_TRUE(query.ParamByName("b").Value().IsNull());
  // Clearing the parameters and the text forgets the value.
  query.Parameters().Clear();
  query.SQL().Clear();
  query.SQL().Add("select * from items where code = :a");
  EXPECT_TRUE(query.ParamByName("a").Value().IsNull());
}

TEST_F(DataSetTest, ValuesBindByMarkerPositionNotByName) {
  // The markers appear as a2, a1: the first "?" gets a2's value.
  TADOQuery insert(&Db_.Connection());
  insert.SQL().Add("Insert into moves(amount,item)");
  insert.SQL().Add("values(:a2,:a1)");
  ASSERT_EQ(insert.Parameters().Count(), 2);
  EXPECT_EQ(insert.Parameters()[0].Name(), "a2");
  insert.ParamByName("a1").SetValue(Variant(3));
  insert.ParamByName("a2").SetValue(Variant(17));
  EXPECT_EQ(insert.ExecSQL(), 1);
  EXPECT_EQ(Column("select amount from moves where item = 3 order by amount"), (Strings{"7", "17"}));
  // A value is data, whatever it looks like.
  insert.SQL().Clear();
  insert.SQL().Add("insert into items(id, code) values (:a1, :a2)");
  insert.ParamByName("a1").SetValue(Variant(9));
  insert.ParamByName("a2").SetValue(Variant("x'); delete from moves; --"));
  insert.ExecSQL();
  EXPECT_EQ(Column("select code from items where id = 9"), Strings{"x'); delete from moves; --"});
  EXPECT_EQ(Column("select count(*) from moves"), Strings{"4"});
}

TEST_F(DataSetTest, UnknownParameterIsAnError) {
  TADOQuery query(&Db_.Connection());
  query.SQL().Add("select * from items");
  EXPECT_EQ(ErrorOf<EDatabaseError>([&] { query.ParamByName("a"); }), "Parameter 'a' not found");
}
