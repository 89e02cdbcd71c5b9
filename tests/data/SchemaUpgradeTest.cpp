// Logins, passwords and addresses compare exactly, other texts without regard to
// case under a collation of our own: in new files, and in files of the older
// schemas once they are upgraded; a failed upgrade leaves the file as it was; an
// index another tool built agrees with the program's comparisons afterwards.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>

#include "app/data/Schema.h"
#include "app/data/Statements.h"
#include "platform/base/Exception.h"
#include "tests/data/TestDatabase.h"

namespace {

// The six tables as older files declared them: every text column NOCASE (the
// program folded it for Cyrillic too), the password as well in the oldest ones.
std::string OldSchemaSql(bool exactPasswords = false) {
  return std::string("create table Пользователи (Логин text collate nocase, Пароль text collate ") +
         (exactPasswords ? "binary" : "nocase") +
         ", Группа text collate nocase) strict;\n"
         "create table БДТест (Вопрос text collate nocase, Ответ1 text collate nocase, Ответ2 text collate nocase, "
         "Ответ3 text collate nocase, Ответ4 text collate nocase, Ответ5 text collate nocase, ОтветПр integer) strict;\n"
         "create table Тесты (Пользователь text collate nocase, Верно integer) strict;\n"
         "create table Лекции (НазваниеЛекции text collate nocase, АдресЛекции text collate nocase) strict;\n"
         "create table Лабы (НазваниеЛабы text collate nocase, АдресЛабы text collate nocase) strict;\n"
         "create table Видео (НазваниеВидео text collate nocase, АдресВидео text collate nocase) strict;\n";
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Output of the stock sqlite3 shell run on a file (error output included), or
// nullopt when the shell is not installed.
std::optional<std::string> Shell(const std::string& path, const std::string& sql) {
  if (std::system("command -v sqlite3 >/dev/null 2>&1") != 0) return std::nullopt;
  const std::string script = path + ".sql";
  std::ofstream(script) << sql << "\n";
  FILE* pipe = popen(("sqlite3 -bail '" + path + "' < '" + script + "' 2>&1").c_str(), "r");
  std::string out;
  char buffer[512];
  while (pipe && fgets(buffer, sizeof buffer, pipe)) out += buffer;
  if (pipe) pclose(pipe);
  std::remove(script.c_str());
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

class SchemaUpgradeTest : public ::testing::Test {
protected:
  int Run(const TStatement& statement, const std::vector<std::string>& values) {
    TADOQuery query(&Db_.Connection());
    LoadStatement(query, statement);
    for (size_t i = 0; i < values.size(); ++i) query.Parameters()[static_cast<int>(i)].SetValue(Variant(values[i]));
    return query.ExecSQL();
  }
  int DeleteUser(const std::string& login, const std::string& password) {
    return Run(Statements::kDeleteUser, {login, password});
  }
  void AddUser(const std::string& login, const std::string& password) { Run(Statements::kAddUser, {login, password, ""}); }
  std::vector<std::string> Column(const std::string& select) {
    TADOQuery query(&Db_.Connection());
    query.SQL().Add(select);
    query.Open();
    return ColumnOf(query);
  }
  std::vector<std::string> UsersWithRowIds() {
    return Column("select rowid || ':' || Логин || ':' || Пароль || ':' || coalesce(Группа, '-') from Пользователи");
  }
  void MakeOldSchema(bool exactPasswords = false) {
    Db_.Connection().ExecuteDirect(OldSchemaSql(exactPasswords));
    Db_.Connection().ExecuteDirect(
        "insert into Пользователи(rowid, Логин, Пароль, Группа) values (3, 'Admin', 'admin', ''), "
        "(7, 'ivanov', 'Qwe123', '9А'), (12, 'Смирнов', 'ПАРОЛЬ', null)");
  }

  void SetUp() override { SKIP_UNLESS_FILE(); }
  TestDatabase Db_;
};

TEST_F(SchemaUpgradeTest, NewFilesCompareLoginsPasswordsAndAddressesExactly) {
  Schema::CreateTables(Db_.Connection());
  EXPECT_TRUE(Schema::IsCurrent(Db_.Connection()));
  AddUser("Admin", "admin");
  AddUser("admin", "admin");
  AddUser("Смирнов", "Пароль");
  EXPECT_EQ(DeleteUser("Admin", "ADMIN"), 0);
  EXPECT_EQ(DeleteUser("Смирнов", "пароль"), 0);
  EXPECT_EQ(DeleteUser("СМИРНОВ", "Пароль"), 0);
  EXPECT_EQ(DeleteUser("admin", "admin"), 1);  // the student "admin", not the administrator
  EXPECT_EQ(Column("select Логин from Пользователи order by rowid"), (std::vector<std::string>{"Admin", "Смирнов"}));

  Run(Statements::kStoreResult, {"ivanov", "20"});
  Run(Statements::kStoreResult, {"IVANOV", "5"});
  TADOQuery results(&Db_.Connection());
  LoadStatement(results, Statements::kSelectResults);
  results.SQL().Add(std::string(Statements::kResultsOfUser));
  results.ParamByName("a").SetValue(Variant("IVANOV"));
  results.Open();
  ASSERT_EQ(results.RecordCount(), 1);
  EXPECT_EQ(results.Fields(1).AsString(), "5");

  Run(Statements::kAddLecture, {"Алгоритмы", "lectures/a.htm"});
  Run(Statements::kAddLecture, {"АЛГОРИТМЫ", "LECTURES/a.htm"});
  EXPECT_EQ(Run(Statements::kDeleteLecture, {"lectures/a.htm"}), 1);
  EXPECT_EQ(Column("select АдресЛекции from Лекции"), std::vector<std::string>{"LECTURES/a.htm"});
  // Titles still compare without regard to case, Cyrillic included.
  EXPECT_EQ(Column("select count(*) from Лекции where НазваниеЛекции = 'алгоритмы'"), std::vector<std::string>{"1"});
}

TEST_F(SchemaUpgradeTest, OldFilesAreUpgradedKeepingEveryRowIndexAndTrigger) {
  MakeOldSchema();
  TADOConnection& c = Db_.Connection();
  c.ExecuteDirect("create index ПоЛогину on Пользователи(Логин)");
  c.ExecuteDirect("create index ПоНазванию on Лекции(НазваниеЛекции collate nocase)");
  c.ExecuteDirect("create table Журнал (Запись text)");
  c.ExecuteDirect("create trigger НовыйПользователь after insert on Пользователи begin "
                  "insert into Журнал values (new.Логин); end");
  c.ExecuteDirect("create view Логины as select Логин from Пользователи");
  c.ExecuteDirect("insert into Лекции values ('Алгоритмы', 'a.htm'), ('алгоритмы', 'A.htm')");
  const auto before = UsersWithRowIds();
  ASSERT_FALSE(Schema::IsCurrent(c));
  EXPECT_EQ(DeleteUser("ADMIN", "admin"), 1) << "the old file ignores case: the fault being mended";
  c.ExecuteDirect("insert into Пользователи(rowid, Логин, Пароль, Группа) values (3, 'Admin', 'admin', '')");
  c.ExecuteDirect("delete from Журнал");

  Schema::Upgrade(c);
  EXPECT_TRUE(Schema::IsCurrent(c));
  EXPECT_EQ(UsersWithRowIds(), before);
  EXPECT_EQ(DeleteUser("Admin", "ADMIN"), 0);
  EXPECT_EQ(DeleteUser("IVANOV", "Qwe123"), 0);
  EXPECT_EQ(DeleteUser("ivanov", "Qwe123"), 1);
  EXPECT_EQ(Run(Statements::kDeleteLecture, {"A.htm"}), 1);
  EXPECT_EQ(Column("select НазваниеЛекции from Лекции"), std::vector<std::string>{"Алгоритмы"});
  // The indexes, the trigger and the view are still there and still work.
  EXPECT_EQ(Column("select count(*) from sqlite_schema where name in "
                   "('ПоЛогину', 'ПоНазванию', 'НовыйПользователь', 'Логины')"),
            std::vector<std::string>{"4"});
  AddUser("petrova", "pet456");
  EXPECT_EQ(Column("select count(*) from Журнал"), std::vector<std::string>{"1"});
  EXPECT_EQ(Column("select count(*) from Логины"), std::vector<std::string>{"3"});
  EXPECT_EQ(Column("pragma integrity_check"), std::vector<std::string>{"ok"});
  // Still STRICT tables.
  EXPECT_EQ(Column("select min(strict) from pragma_table_list where name in "
                   "('Пользователи', 'БДТест', 'Тесты', 'Лекции', 'Лабы', 'Видео')"),
            std::vector<std::string>{"1"});
  // A second run finds nothing to do.
  Schema::Upgrade(c);
  EXPECT_EQ(UsersWithRowIds().size(), 3u);
}

// Another tool (the stock shell) indexed the logins of an older file with its
// ASCII-only NOCASE. After the upgrade the index is in the program's order: rows
// the program adds are found, deletes reach Cyrillic logins, and both the
// program and the shell find the file sound.
TEST_F(SchemaUpgradeTest, IndexesBuiltByTheShellAgreeAfterTheUpgrade) {
  MakeOldSchema(true);
  Db_.Connection().Close();
  const auto made = Shell(Db_.Path(),
                          "insert into Пользователи values ('жук', 'ж1', ''), ('юла', 'ю1', ''), ('аист', 'а1', ''), "
                          "('ёлка', 'ё1', ''), ('Boris', 'b1', '');\n"
                          "create index ЛогиныШелла on Пользователи(Логин);\n"
                          "create index РезультатыШелла on Тесты(Пользователь);");
  if (!made) GTEST_SKIP() << "the sqlite3 shell is not installed";
  ASSERT_EQ(*made, "");
  Db_.Connection().Open();
  Schema::Upgrade(Db_.Connection());
  ASSERT_TRUE(Schema::IsCurrent(Db_.Connection()));
  for (const char* login : {"Щука", "ЁЖ", "ангел", "Юрий"}) AddUser(login, "x");
  Run(Statements::kStoreResult, {"жук", "3"});
  EXPECT_EQ(Column("pragma integrity_check"), std::vector<std::string>{"ok"});
  for (const auto& [login, password] :
       std::vector<std::pair<std::string, std::string>>{{"жук", "ж1"}, {"юла", "ю1"}, {"аист", "а1"}, {"ёлка", "ё1"},
                                                        {"Щука", "x"}, {"ЁЖ", "x"}})
    EXPECT_EQ(DeleteUser(login, password), 1) << login;
  EXPECT_EQ(Column("select Логин from Пользователи order by Логин"),
            (std::vector<std::string>{"Admin", "Boris", "ivanov", "Смирнов", "Юрий", "ангел"}));
  Db_.Connection().Close();
  EXPECT_EQ(Shell(Db_.Path(), "pragma integrity_check;"), "ok");
  // The shell cannot index or compare our folding columns another way: it refuses.
  const auto refused = Shell(Db_.Path(), "create index Вопросы on БДТест(Вопрос);");
  EXPECT_NE(refused->find("no such collation sequence: textbook_nocase"), std::string::npos) << *refused;
}

TEST_F(SchemaUpgradeTest, AFailedUpgradeLeavesTheFileAsItWas) {
  MakeOldSchema();
  // A table in the way of the upgrade's work table makes a step fail half-way,
  // after other tables were already rebuilt.
  Db_.Connection().ExecuteDirect("create table Лекции_upgrade (x)");
  Db_.Connection().ExecuteDirect("pragma wal_checkpoint");
  const std::string bytes = FileBytes(Db_.Path());
  const std::string error = ErrorOf<EDatabaseError>([&] { Schema::Upgrade(Db_.Connection()); });
  EXPECT_TRUE(error.starts_with(Schema::kUpgradeFailed)) << error;
  EXPECT_NE(error.find("already exists"), std::string::npos) << error;
  EXPECT_FALSE(Schema::IsCurrent(Db_.Connection()));
  EXPECT_EQ(UsersWithRowIds().size(), 3u);
  EXPECT_EQ(FileBytes(Db_.Path()), bytes);
  // The connection is usable afterwards: no transaction is left open.
  EXPECT_NE(sqlite3_get_autocommit(Db_.Connection().Handle()), 0);
  AddUser("petrova", "pet456");
}

TEST_F(SchemaUpgradeTest, AReadOnlyFileIsReportedAndLeftAlone) {
  MakeOldSchema();
  const std::string path = Db_.Path();
  const std::string bytes = FileBytes(path);
  // Root ignores file modes; the immutable attribute stops it too.
  if (std::system(("chattr +i '" + path + "' 2>/dev/null").c_str()) != 0) GTEST_SKIP() << "chattr is not available here";
  {
    auto readOnly = Db_.OpenSecond();
    ASSERT_EQ(sqlite3_db_readonly(readOnly->Handle(), "main"), 1);
    const std::string error = ErrorOf<EDatabaseError>([&] { Schema::Upgrade(*readOnly); });
    EXPECT_NE(error.find("readonly"), std::string::npos) << error;
  }
  EXPECT_EQ(std::system(("chattr -i '" + path + "'").c_str()), 0);
  EXPECT_EQ(FileBytes(path), bytes);
}

TEST_F(SchemaUpgradeTest, MissingTableOrColumnIsLeftToTheStatements) {
  EXPECT_TRUE(Schema::IsCurrent(Db_.Connection()));
  EXPECT_NO_THROW(Schema::Upgrade(Db_.Connection()));
  Db_.Connection().ExecuteDirect("create table Пользователи (Логин text)");
  EXPECT_TRUE(Schema::IsCurrent(Db_.Connection()));
  EXPECT_NO_THROW(Schema::Upgrade(Db_.Connection()));
}

TEST_F(SchemaUpgradeTest, AFileMissingAnotherTableIsNotTouched) {
  // Start-up will end with the engine's "no such table"; the file stays as it was.
  MakeOldSchema();
  Db_.Connection().ExecuteDirect("drop table Видео");
  const std::string bytes = FileBytes(Db_.Path());
  EXPECT_NO_THROW(Schema::Upgrade(Db_.Connection()));
  EXPECT_FALSE(Schema::IsCurrent(Db_.Connection()));
  EXPECT_EQ(FileBytes(Db_.Path()), bytes);
}

TEST_F(SchemaUpgradeTest, AUsersTableWithoutRowIdsIsUpgradedToo) {
  Db_.Connection().ExecuteDirect(OldSchemaSql());
  Db_.Connection().ExecuteDirect("drop table Пользователи");
  Db_.Connection().ExecuteDirect(
      "create table Пользователи (Логин text collate nocase, Пароль text collate nocase, "
      "Группа text collate nocase, primary key (Логин, Пароль)) strict, without rowid");
  Db_.Connection().ExecuteDirect("insert into Пользователи values ('Admin', 'admin', ''), ('admin', 'x', '')");
  // The administrator's password change must not take the student "admin" along.
  EXPECT_EQ(DeleteUser("admin", "admin"), 1) << "the old file ignores case: the fault being mended";
  Db_.Connection().ExecuteDirect("insert into Пользователи values ('Admin', 'admin', '')");
  Schema::Upgrade(Db_.Connection());
  EXPECT_TRUE(Schema::IsCurrent(Db_.Connection()));
  EXPECT_EQ(Column("select Логин || ':' || Пароль from Пользователи order by Логин"),
            (std::vector<std::string>{"Admin:admin", "admin:x"}));
  EXPECT_EQ(DeleteUser("Admin", "admin"), 1);
  EXPECT_EQ(Column("select Логин from Пользователи"), std::vector<std::string>{"admin"});
}

TEST(CollationDefinitionTest, RewritesOnlyTheNamedColumns) {
  const std::vector<std::pair<std::string, std::string>> exactPassword = {{"Пароль", "binary"}};
  EXPECT_EQ(Schema::WithCollations("create table Пользователи (\n  Логин text collate nocase,\n  Пароль text collate nocase,\n"
                                    "  Группа text collate nocase\n) strict",
                                    "New", {{"Логин", "binary"}, {"Пароль", "binary"}, {"Группа", "textbook_nocase"}}),
            "create table \"New\" (\n  Логин text collate binary,\n  Пароль text collate binary,\n"
            "  Группа text collate textbook_nocase\n) strict");
  // Quoted names, comments, strings with commas, nested parentheses, other options.
  const std::string rewritten = Schema::WithCollations(
      "CREATE TABLE \"Пользователи\" ( -- accounts\n [Логин] TEXT DEFAULT 'a,b', \"Пароль\" VARCHAR(20) COLLATE NOCASE "
      "CHECK (length(Пароль) > 0), /* group */ Группа, UNIQUE (Логин, Пароль)) WITHOUT ROWID",
      "T", exactPassword);
  EXPECT_EQ(rewritten,
            "create table \"T\" ( -- accounts\n [Логин] TEXT DEFAULT 'a,b', \"Пароль\" VARCHAR(20) "
            "CHECK (length(Пароль) > 0) collate binary, /* group */ Группа, UNIQUE (Логин, Пароль)) WITHOUT ROWID");
  EXPECT_EQ(Schema::WithCollations("create table x(Пароль text COLLATE nocase , b)", "T", exactPassword),
            "create table \"T\" (Пароль text collate binary , b)");
  EXPECT_EQ(Schema::WithCollations("create table x(Пароль)", "T", exactPassword), "create table \"T\" (Пароль collate binary)");
  // A column the statement lacks is skipped.
  EXPECT_EQ(Schema::WithCollations("create table x(Логин text)", "T", exactPassword), "create table \"T\" (Логин text)");
  EXPECT_THROW(Schema::WithCollations("create table Пользователи (Пароль text", "T", exactPassword), EDatabaseError);
  EXPECT_THROW(Schema::WithCollations("create table Пользователи (\"Пароль text)", "T", exactPassword), EDatabaseError);
}

TEST_F(SchemaUpgradeTest, ExtraColumnsKeysAndGeneratedColumnsSurvive) {
  // Another tool's users table: a key, an extra column, a generated column, a check.
  std::string sql = OldSchemaSql();
  sql.replace(sql.find("create table Пользователи ("), std::string("create table Пользователи (").size(),
              "create table Пользователи (Номер integer primary key, Почта text default 'нет, не указана', ");
  sql.replace(sql.find("Группа text collate nocase) strict;"), std::string("Группа text collate nocase) strict;").size(),
              "Группа text collate nocase, Длина integer generated always as (length(Пароль)) virtual, "
              "check (Пароль is not null)) strict;");
  Db_.Connection().ExecuteDirect(sql);
  Db_.Connection().ExecuteDirect("insert into Пользователи(Номер, Логин, Пароль, Группа) values (40, 'Admin', 'admin', '')");
  Db_.Connection().ExecuteDirect("insert into Пользователи(Номер, Логин, Пароль, Почта) values (41, 'b', 'Пароль', 'b@x')");
  Schema::Upgrade(Db_.Connection());
  EXPECT_TRUE(Schema::IsCurrent(Db_.Connection()));
  EXPECT_EQ(UsersWithRowIds(), (std::vector<std::string>{"40:Admin:admin:", "41:b:Пароль:-"}));
  EXPECT_EQ(Column("select Почта || '/' || Длина from Пользователи order by Номер"),
            (std::vector<std::string>{"нет, не указана/5", "b@x/6"}));
  EXPECT_THROW(Db_.Connection().ExecuteDirect("insert into Пользователи(Логин) values ('c')"), EDatabaseError);  // the check
  EXPECT_EQ(DeleteUser("B", "Пароль"), 0);
  EXPECT_EQ(DeleteUser("b", "пароль"), 0);
  EXPECT_EQ(DeleteUser("b", "Пароль"), 1);
}


// The collation a column declares is read from its table's definition: the
// column's own "collate", not one inside a check, a generated value or a table
// constraint, with names quoted or in any letter case; the engine's own account
// of each column agrees.
TEST_F(SchemaUpgradeTest, DeclaredCollationsAreReadAsTheEngineReadsThem) {
  SKIP_UNLESS_FILE();
  Schema::CreateTables(Db_.Connection());
  const std::string folding(Schema::kFolding);
  const std::vector<std::pair<std::string, bool>> users = {
      {"\"Логин\" TEXT COLLATE Binary, Пароль text check (Пароль collate nocase <> 'x') collate binary, Группа text "
       "collate " + folding, true},
      {"Логин text check (Логин <> '' collate binary) collate NOCASE, Пароль text, Группа text collate " + folding, false},
      {"[Логин] text, `Пароль` text /* collate nocase */, Группа text collate \"" + folding + "\"", true},
      {"Логин text default 'collate nocase', Пароль text constraint exact collate binary, Группа text collate " + folding +
       ", primary key (Логин collate nocase)", true},
      {"Логин text, Пароль text, Группа text as (Логин collate " + folding + ")", false},
      {"Логин text, Пароль text collate nocase, Группа text collate " + folding, false},
      {"Логин text, Группа text collate " + folding, true},  // a column missing counts as current
  };
  for (const auto& [columns, current] : users) {
    Db_.Connection().ExecuteDirect("drop table Пользователи; create table Пользователи (" + columns + ")");
    bool engineSaysCurrent = true;
    for (const Schema::TColumn& c : Schema::kColumns) {
      if (c.Table != Schema::kUsers || c.Collation.empty()) continue;
      const char* collation = nullptr;
      if (sqlite3_table_column_metadata(Db_.Connection().Handle(), "main", std::string(c.Table).c_str(),
                                        std::string(c.Name).c_str(), nullptr, &collation, nullptr, nullptr,
                                        nullptr) == SQLITE_OK &&
          sqlite3_stricmp(collation ? collation : "BINARY", std::string(c.Collation).c_str()) != 0)
        engineSaysCurrent = false;
    }
    EXPECT_EQ(engineSaysCurrent, current) << columns;
    EXPECT_EQ(Schema::IsCurrent(Db_.Connection()), current) << columns;
  }
}
}  // namespace

// The program's own check of its tables names the first one missing.
TEST(SchemaCheckTest, TheTableCheckNamesAMissingTable) {
  SKIP_UNLESS_FILE();
  TestDatabase db;
  Schema::CreateTables(db.Connection());
  EXPECT_EQ(ErrorOf<EDatabaseError>([&] { Schema::CheckTables(db.Connection()); }), "(no error)");
  db.Exec("drop table Видео");
  EXPECT_EQ(ErrorOf<EDatabaseError>([&] { Schema::CheckTables(db.Connection()); }), "no such table: Видео");
}
