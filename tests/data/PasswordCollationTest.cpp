// Passwords compare exactly, logins without regard to case: in new files, and in
// files of the older schema once they are upgraded; a failed upgrade leaves the
// file as it was.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "app/data/Schema.h"
#include "app/data/Statements.h"
#include "platform/base/Exception.h"
#include "tests/data/TestDatabase.h"

namespace {

// The six tables as files made before the upgrade declared them: the password
// column compared without regard to case.
std::string OldSchemaSql() {
  std::string sql(Schema::CreateTablesSql());
  const std::string exact = "Пароль text collate binary";
  sql.replace(sql.find(exact), exact.size(), "Пароль text collate nocase");
  return sql;
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class PasswordCollationTest : public ::testing::Test {
protected:
  int DeleteUser(const std::string& login, const std::string& password) {
    TADOQuery query(&db_.Connection());
    LoadStatement(query, Statements::kDeleteUser);
    query.ParamByName("a1").SetValue(Variant(login));
    query.ParamByName("a2").SetValue(Variant(password));
    return query.ExecSQL();
  }
  void AddUser(const std::string& login, const std::string& password) {
    TADOQuery query(&db_.Connection());
    LoadStatement(query, Statements::kAddUser);
    query.ParamByName("a1").SetValue(Variant(login));
    query.ParamByName("a2").SetValue(Variant(password));
    query.ParamByName("a3").SetValue(Variant(""));
    query.ExecSQL();
  }
  std::vector<std::string> UsersWithRowIds() {
    TADOQuery query(&db_.Connection());
    query.SQL().Add("select rowid || ':' || Логин || ':' || Пароль || ':' || coalesce(Группа, '-') from Пользователи");
    query.Open();
    std::vector<std::string> out;
    for (query.First(); !query.Eof(); query.Next()) out.push_back(query.Fields(0).AsString());
    return out;
  }
  void MakeOldSchema() {
    db_.Connection().ExecuteDirect(OldSchemaSql());
    db_.Connection().ExecuteDirect(
        "insert into Пользователи(rowid, Логин, Пароль, Группа) values (3, 'Admin', 'admin', ''), "
        "(7, 'ivanov', 'Qwe123', '9А'), (12, 'Смирнов', 'ПАРОЛЬ', null)");
  }

  TestDatabase db_{false};
};

TEST_F(PasswordCollationTest, NewFilesComparePasswordsExactlyAndLoginsWithoutCase) {
  Schema::CreateTables(db_.Connection());
  EXPECT_TRUE(Schema::PasswordsCompareExactly(db_.Connection()));
  AddUser("Admin", "admin");
  AddUser("Смирнов", "Пароль");
  EXPECT_EQ(DeleteUser("Admin", "ADMIN"), 0);
  EXPECT_EQ(DeleteUser("Смирнов", "пароль"), 0);
  EXPECT_EQ(DeleteUser("СМИРНОВ", "Пароль"), 1);  // the login still ignores case
  EXPECT_EQ(DeleteUser("admin", "admin"), 1);
}

TEST_F(PasswordCollationTest, OldFilesAreUpgradedKeepingEveryRowIndexAndTrigger) {
  MakeOldSchema();
  TADOConnection& c = db_.Connection();
  c.ExecuteDirect("create index ПоЛогину on Пользователи(Логин)");
  c.ExecuteDirect("create table Журнал (Запись text)");
  c.ExecuteDirect("create trigger НовыйПользователь after insert on Пользователи begin "
                  "insert into Журнал values (new.Логин); end");
  c.ExecuteDirect("create view Логины as select Логин from Пользователи");
  const auto before = UsersWithRowIds();
  ASSERT_FALSE(Schema::PasswordsCompareExactly(c));
  EXPECT_EQ(DeleteUser("Admin", "ADMIN"), 1) << "the old file ignores case: the fault being mended";
  c.ExecuteDirect("insert into Пользователи(rowid, Логин, Пароль, Группа) values (3, 'Admin', 'admin', '')");
  c.ExecuteDirect("delete from Журнал");

  Schema::UpgradePasswordCollation(c);
  EXPECT_TRUE(Schema::PasswordsCompareExactly(c));
  EXPECT_EQ(UsersWithRowIds(), before);
  EXPECT_EQ(DeleteUser("Admin", "ADMIN"), 0);
  EXPECT_EQ(DeleteUser("IVANOV", "qwe123"), 0);
  EXPECT_EQ(DeleteUser("IVANOV", "Qwe123"), 1);
  // The index, the trigger and the view are still there and still work.
  TADOQuery query(&c);
  query.SQL().Add("select count(*) from sqlite_schema where name in ('ПоЛогину', 'НовыйПользователь', 'Логины')");
  query.Open();
  EXPECT_EQ(query.Fields(0).AsString(), "3");
  AddUser("petrova", "pet456");
  query.SQL().Clear();
  query.SQL().Add("select (select count(*) from Журнал), (select count(*) from Логины)");
  query.Open();
  EXPECT_EQ(query.Fields(0).AsString(), "1");
  EXPECT_EQ(query.Fields(1).AsString(), "3");
  // Still a STRICT table.
  query.SQL().Clear();
  query.SQL().Add("select strict from pragma_table_list where name = 'Пользователи'");
  query.Open();
  EXPECT_EQ(query.Fields(0).AsString(), "1");
  // A second run finds nothing to do.
  Schema::UpgradePasswordCollation(c);
  EXPECT_EQ(UsersWithRowIds().size(), 3u);
}

TEST_F(PasswordCollationTest, AFailedUpgradeLeavesTheFileAsItWas) {
  MakeOldSchema();
  // A table in the way of the upgrade's work table makes a step fail half-way.
  db_.Connection().ExecuteDirect("create table Пользователи_upgrade (x)");
  db_.Connection().ExecuteDirect("pragma wal_checkpoint");
  const std::string bytes = FileBytes(db_.Path());
  try {
    Schema::UpgradePasswordCollation(db_.Connection());
    FAIL() << "the upgrade should have failed";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("файл оставлен без изменений"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("already exists"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(Schema::PasswordsCompareExactly(db_.Connection()));
  EXPECT_EQ(UsersWithRowIds().size(), 3u);
  EXPECT_EQ(FileBytes(db_.Path()), bytes);
  // The connection is usable afterwards: no transaction is left open.
  EXPECT_NE(sqlite3_get_autocommit(db_.Connection().Handle()), 0);
  AddUser("petrova", "pet456");
}

TEST_F(PasswordCollationTest, AReadOnlyFileIsReportedAndLeftAlone) {
  MakeOldSchema();
  const std::string path = db_.Path();
  const std::string bytes = FileBytes(path);
  // Root ignores file modes; the immutable attribute stops it too.
  if (std::system(("chattr +i '" + path + "' 2>/dev/null").c_str()) != 0) GTEST_SKIP() << "chattr is not available here";
  {
    auto readOnly = db_.OpenSecond();
    ASSERT_EQ(sqlite3_db_readonly(readOnly->Handle(), "main"), 1);
    try {
      Schema::UpgradePasswordCollation(*readOnly);
      ADD_FAILURE() << "the upgrade of a read-only file should fail";
    } catch (const EDatabaseError& e) {
      EXPECT_NE(std::string(e.what()).find("readonly"), std::string::npos) << e.what();
    }
  }
  EXPECT_EQ(std::system(("chattr -i '" + path + "'").c_str()), 0);
  EXPECT_EQ(FileBytes(path), bytes);
}

TEST_F(PasswordCollationTest, MissingTableOrColumnIsLeftToTheStatements) {
  EXPECT_TRUE(Schema::PasswordsCompareExactly(db_.Connection()));
  EXPECT_NO_THROW(Schema::UpgradePasswordCollation(db_.Connection()));
  db_.Connection().ExecuteDirect("create table Пользователи (Логин text)");
  EXPECT_NO_THROW(Schema::UpgradePasswordCollation(db_.Connection()));
}

TEST_F(PasswordCollationTest, AFileMissingAnotherTableIsNotTouched) {
  // Start-up will end with the engine's "no such table"; the file stays as it was.
  MakeOldSchema();
  db_.Connection().ExecuteDirect("drop table Видео");
  const std::string bytes = FileBytes(db_.Path());
  EXPECT_NO_THROW(Schema::UpgradePasswordCollation(db_.Connection()));
  EXPECT_FALSE(Schema::PasswordsCompareExactly(db_.Connection()));
  EXPECT_EQ(FileBytes(db_.Path()), bytes);
}

TEST(PasswordDefinitionTest, RewritesOnlyThePasswordColumn) {
  EXPECT_EQ(Schema::WithBinaryPasswords("create table Пользователи (\n  Логин text collate nocase,\n  Пароль text collate nocase,\n"
                                        "  Группа text collate nocase\n) strict",
                                        "New"),
            "create table \"New\" (\n  Логин text collate nocase,\n  Пароль text collate binary,\n"
            "  Группа text collate nocase\n) strict");
  // Quoted names, comments, strings with commas, nested parentheses, other options.
  const std::string rewritten = Schema::WithBinaryPasswords(
      "CREATE TABLE \"Пользователи\" ( -- accounts\n [Логин] TEXT DEFAULT 'a,b', \"Пароль\" VARCHAR(20) COLLATE NOCASE "
      "CHECK (length(Пароль) > 0), /* group */ Группа, UNIQUE (Логин, Пароль)) WITHOUT ROWID",
      "T");
  EXPECT_EQ(rewritten,
            "create table \"T\" ( -- accounts\n [Логин] TEXT DEFAULT 'a,b', \"Пароль\" VARCHAR(20) "
            "CHECK (length(Пароль) > 0) collate binary, /* group */ Группа, UNIQUE (Логин, Пароль)) WITHOUT ROWID");
  EXPECT_EQ(Schema::WithBinaryPasswords("create table x(Пароль text COLLATE nocase , b)", "T"),
            "create table \"T\" (Пароль text collate binary , b)");
  EXPECT_EQ(Schema::WithBinaryPasswords("create table x(Пароль)", "T"), "create table \"T\" (Пароль collate binary)");
  EXPECT_THROW(Schema::WithBinaryPasswords("create table Пользователи (Логин text)", "T"), EDatabaseError);
  EXPECT_THROW(Schema::WithBinaryPasswords("create table Пользователи (Пароль text", "T"), EDatabaseError);
  EXPECT_THROW(Schema::WithBinaryPasswords("create table Пользователи (\"Пароль text)", "T"), EDatabaseError);
}

}  // namespace

namespace {

TEST_F(PasswordCollationTest, ExtraColumnsKeysAndGeneratedColumnsSurvive) {
  // Another tool's users table: a key, an extra column, a generated column, a check.
  std::string sql = OldSchemaSql();
  sql.replace(sql.find("create table Пользователи ("), std::string("create table Пользователи (").size(),
              "create table Пользователи (\n  Номер integer primary key,\n  Почта text default 'нет, не указана',");
  sql.replace(sql.find("  Группа text collate nocase\n) strict;"), std::string("  Группа text collate nocase\n) strict;").size(),
              "  Группа text collate nocase,\n  Длина integer generated always as (length(Пароль)) virtual,\n"
              "  check (Пароль is not null)\n) strict;");
  db_.Connection().ExecuteDirect(sql);
  db_.Connection().ExecuteDirect("insert into Пользователи(Номер, Логин, Пароль, Группа) values (40, 'Admin', 'admin', '')");
  db_.Connection().ExecuteDirect("insert into Пользователи(Номер, Логин, Пароль, Почта) values (41, 'b', 'Пароль', 'b@x')");
  Schema::UpgradePasswordCollation(db_.Connection());
  EXPECT_TRUE(Schema::PasswordsCompareExactly(db_.Connection()));
  EXPECT_EQ(UsersWithRowIds(), (std::vector<std::string>{"40:Admin:admin:", "41:b:Пароль:-"}));
  TADOQuery query(&db_.Connection());
  query.SQL().Add("select Почта, Длина from Пользователи order by Номер");
  query.Open();
  EXPECT_EQ(query.Fields(0).AsString(), "нет, не указана");
  EXPECT_EQ(query.Fields(1).AsString(), "5");
  query.Next();
  EXPECT_EQ(query.Fields(0).AsString(), "b@x");
  EXPECT_EQ(query.Fields(1).AsString(), "6");
  EXPECT_THROW(db_.Connection().ExecuteDirect("insert into Пользователи(Логин) values ('c')"), EDatabaseError);  // the check
  EXPECT_EQ(DeleteUser("B", "пароль"), 0);
  EXPECT_EQ(DeleteUser("B", "Пароль"), 1);
}

}  // namespace
