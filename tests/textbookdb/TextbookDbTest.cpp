// textbook-db: init and copy between files and a private server, and its refusals.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <sstream>

#include "app/data/ServerSchema.h"
#include "data/TADOConnection.h"
#include "data/TADOQuery.h"
#include "tests/support/TempFolder.h"
#include "tools/pg-server/TPgServer.h"
#include "tools/textbook-db/TextbookDb.h"

namespace fs = std::filesystem;

namespace {
struct TRun {
  int Status;
  std::string Out, Err;
};

TRun Tool(std::vector<std::string> args) {
  std::ostringstream out, err;
  const int status = RunTextbookDb(args, out, err);
  return {status, out.str(), err.str()};
}

// Every row of every table, values joined: what a copy must keep exactly.
std::string Dump(const std::string& source) {
  TADOConnection connection("Data Source=" + source);
  connection.Open();
  std::string out;
  for (const char* table : {"Пользователи", "БДТест", "Тесты", "Лекции", "Лабы", "Видео"}) {
    TADOQuery query(&connection);
    query.SQL().Add(std::string("select * from ") + table);
    query.Open();
    out += table;
    for (query.First(); !query.Eof(); query.Next()) {
      out += "\n";
      for (int i = 0; i < query.FieldCount(); ++i) {
        const Variant& v = query.FieldValue(i);
        out += v.IsNull() ? "<null>" : (v.GetKind() == Variant::Kind::Integer ? "#" : "") + v.AsString();
        out += "|";
      }
    }
    out += "\n";
  }
  return out;
}

class TextbookDbTest : public ::testing::Test {
protected:
  static TPgServer& Server() {
    static TPgServer server;
    return server;
  }
  std::string File(const std::string& name) const { return (Folder_ / name).string(); }
  TTempFolder Folder_{"tb_textbookdb"};
};

TEST_F(TextbookDbTest, UsageAndWrongAddresses) {
  EXPECT_EQ(Tool({}).Status, 2);
  EXPECT_EQ(Tool({"init"}).Status, 2);
  EXPECT_EQ(Tool({"copy", File("a")}).Status, 2);
  const TRun wrong = Tool({"init", "mysql://host/db"});
  EXPECT_EQ(wrong.Status, 1);
  EXPECT_NE(wrong.Err.find("не понят"), std::string::npos) << wrong.Err;
  const TRun missing = Tool({"copy", File("missing.mdb"), File("b.mdb")});
  EXPECT_EQ(missing.Status, 1);
  EXPECT_FALSE(fs::exists(File("b.mdb")));
  EXPECT_EQ(Tool({"init", File("x.mdb"), "--student-role", "student"}).Status, 1);
  EXPECT_FALSE(fs::exists(File("x.mdb")));  // a file the tool made is removed again
}

TEST_F(TextbookDbTest, InitRefusesATargetThatIsNotEmpty) {
  ASSERT_EQ(Tool({"init", File("db.mdb")}).Status, 0);
  const TRun again = Tool({"init", File("db.mdb"), "--demo"});
  EXPECT_EQ(again.Status, 1);
  EXPECT_NE(again.Err.find("не пуста"), std::string::npos) << again.Err;
  EXPECT_TRUE(fs::exists(File("db.mdb")));  // a file it did not make stays
}

TEST_F(TextbookDbTest, FileToServerToFileKeepsEveryValue) {
  ASSERT_EQ(Tool({"init", File("demo.mdb"), "--demo"}).Status, 0);
  {
    // Values that survive only if nothing is spliced or trimmed.
    TADOConnection c("Data Source=" + File("demo.mdb"));
    c.Open();
    c.ExecuteDirect("insert into Пользователи values ('O''Brien %_', 'p''w\"\\%', null), ('', '', ''), "
                    "('  пробелы  ', 'ПАРОЛЬ', 'Ёё'); insert into БДТест(Вопрос, ОтветПр) values ('строка 1\r\nстрока 2', null)");
  }
  const std::string original = Dump(File("demo.mdb"));
  const std::string uri = Server().CreateDatabase("copy_target");
  const TRun toServer = Tool({"copy", File("demo.mdb"), uri});
  ASSERT_EQ(toServer.Status, 0) << toServer.Err;
  EXPECT_EQ(Dump(uri), original);
  const TRun refused = Tool({"copy", File("demo.mdb"), uri});
  EXPECT_EQ(refused.Status, 1);
  EXPECT_NE(refused.Err.find("не пуста"), std::string::npos);
  const TRun back = Tool({"copy", uri, File("back.mdb")});
  ASSERT_EQ(back.Status, 0) << back.Err;
  EXPECT_EQ(Dump(File("back.mdb")), original);
}

TEST_F(TextbookDbTest, ServerInitWithDemoAndStudentRole) {
  const std::string uri = Server().CreateDatabase("init_target");
  const TRun noRole = Tool({"init", uri, "--student-role", "nobody_here"});
  EXPECT_EQ(noRole.Status, 1);
  EXPECT_NE(noRole.Err.find("nobody_here"), std::string::npos);
  Server().DropDatabase("init_target");
  Server().CreateDatabase("init_target");
  Server().Execute("postgres", "create role pupil login");
  const TRun done = Tool({"init", uri, "--demo", "--student-role", "pupil"});
  ASSERT_EQ(done.Status, 0) << done.Err;
  TADOConnection student("Data Source=" + Server().Uri("init_target", "pupil"));
  student.Open();
  TADOQuery query(&student);
  query.SQL().Add("select count(*) from БДТест");
  query.Open();
  EXPECT_EQ(query.Fields(0).AsInteger(), 65);
}

std::string One(TADOConnection& connection, const std::string& select) {
  TADOQuery query(&connection);
  query.SQL().Add(select);
  query.Open();
  return query.Fields(0).AsString();
}

// The shape servers were made in before results carried a token: no secret, no
// token functions, like on the server's own like, and student roles that insert
// results (and their keys) themselves.
void MakeOldShape(TPgServer& server, const std::string& database, const std::string& role) {
  server.Execute(database,
                 "drop function tb_store_result(text, text, integer, text); drop function tb_result_token(text, text);"
                 "drop function tb_token_of(text); drop table tb_secret;"
                 "create or replace function tb_text_like(tb_text, tb_text) returns boolean language sql immutable "
                 "strict as $$ select case when $2::text ~ '^%[^%_]*%$' then strpos(tb_fold($1), "
                 "tb_fold(substr($2, 2, length($2) - 2))) > 0 else tb_fold($1) like tb_fold($2) escape '' end $$;"
                 "drop function tb_like_folded(text, text);"
                 "revoke all on \"Тесты\", tb_handins from " + role + ";"
                 "grant select, insert on \"Тесты\" to " + role + "; grant insert on tb_handins to " + role + ";");
}

TEST_F(TextbookDbTest, UpgradeGivesAnOlderServerTheTokensAndTakesTheStudentsDirectInserts) {
  const std::string uri = Server().CreateDatabase("old_shape");
  Server().Execute("postgres", "create role old_pupil login");
  ASSERT_EQ(Tool({"init", uri, "--demo", "--student-role", "old_pupil"}).Status, 0);
  Server().Execute("old_shape", "insert into \"Пользователи\" values ('Ира', 'ключ', '9А')");
  MakeOldShape(Server(), "old_shape", "old_pupil");
  TADOConnection admin("Data Source=" + uri);
  admin.Open();
  EXPECT_FALSE(ServerSchema::HasResultTokens(admin));
  TADOConnection student("Data Source=" + Server().Uri("old_shape", "old_pupil"));
  student.Open();
  EXPECT_FALSE(ServerSchema::HasResultTokens(student));  // what the program looks at on a student's machine
  student.ExecuteDirect("insert into \"Тесты\" values ('Admin', 20)");  // the hole the upgrade closes

  const TRun done = Tool({"upgrade", uri});
  ASSERT_EQ(done.Status, 0) << done.Err;
  EXPECT_NE(done.Out.find("old_pupil"), std::string::npos) << done.Out;
  EXPECT_TRUE(ServerSchema::HasResultTokens(student));
  const std::string token = One(student, "select tb_result_token('Ира', 'ключ')");
  ASSERT_EQ(token.size(), 64u);
  EXPECT_EQ(One(student, "select tb_store_result('" + token + "', 'Ира', 15, 'k1')"), "1");
  EXPECT_THROW(student.ExecuteDirect("insert into \"Тесты\" values ('Admin', 20)"), EDatabaseError);
  EXPECT_THROW(student.ExecuteDirect("insert into tb_handins values ('k2')"), EDatabaseError);
  EXPECT_THROW(One(student, "select value from tb_secret"), EDatabaseError);
  // The like of today: "_" and "%" between pieces, folded.
  EXPECT_EQ(One(admin, "select case when to_regprocedure('tb_like_folded(text, text)') is not null and "
                      "'Учебник по физике'::tb_text like 'у_еб%ФИЗ%'::tb_text then 1 else 0 end"),
            "1");

  // Again: nothing changes, the token stays valid, the stored key still counts.
  const TRun again = Tool({"upgrade", uri});
  ASSERT_EQ(again.Status, 0) << again.Err;
  EXPECT_EQ(One(student, "select tb_result_token('Ира', 'ключ')"), token);
  EXPECT_EQ(One(student, "select tb_store_result('" + token + "', 'Ира', 15, 'k1')"), "0");
  EXPECT_EQ(One(admin, "select count(*) from tb_secret"), "1");
  EXPECT_EQ(One(admin, "select count(*) from \"Тесты\" where \"Пользователь\" = 'Ира'"), "1");
  EXPECT_THROW(student.ExecuteDirect("insert into \"Тесты\" values ('Admin', 20)"), EDatabaseError);
}

// Servers of the previous version stored results through a PL/pgSQL function,
// whose language every session loaded at its first hand-in: the upgrade puts
// the plain SQL one in its place, with the same rights and the same refusals.
TEST_F(TextbookDbTest, UpgradeReplacesTheProceduralStoreFunction) {
  const std::string uri = Server().CreateDatabase("procedural_store");
  Server().Execute("postgres", "create role proc_pupil login");
  ASSERT_EQ(Tool({"init", uri, "--student-role", "proc_pupil"}).Status, 0);
  Server().Execute("procedural_store",
                   "insert into \"Пользователи\" values ('Ира', 'ключ', '9А');"
                   "create or replace function tb_store_result(token text, login text, score integer, key text) "
                   "returns integer language plpgsql volatile security definer set search_path = public, pg_temp as $$ "
                   "begin if token is distinct from tb_token_of(login) then raise insufficient_privilege; end if; "
                   "insert into tb_handins values (key) on conflict do nothing; if not found then return 0; end if; "
                   "insert into \"Тесты\" (\"Пользователь\", \"Верно\") values (login, score); return 1; end $$;"
                   "drop function tb_refused(); drop function tb_refuse_result();");
  TADOConnection admin("Data Source=" + uri);
  admin.Open();
  const std::string language = "select l.lanname from pg_proc p join pg_language l on l.oid = p.prolang "
                               "where p.oid = 'tb_store_result(text, text, integer, text)'::regprocedure";
  ASSERT_EQ(One(admin, language), "plpgsql");
  for (int run = 0; run < 2; ++run) {
    const TRun done = Tool({"upgrade", uri});
    ASSERT_EQ(done.Status, 0) << done.Err;
    EXPECT_EQ(One(admin, language), "sql");
  }
  TADOConnection student("Data Source=" + Server().Uri("procedural_store", "proc_pupil"));
  student.Open();
  const std::string token = One(student, "select tb_result_token('Ира', 'ключ')");
  EXPECT_EQ(One(student, "select tb_store_result('" + token + "', 'Ира', 15, 'k1')"), "1");
  EXPECT_EQ(One(student, "select tb_store_result('" + token + "', 'Ира', 15, 'k1')"), "0");
  std::string refused;
  try {
    One(student, "select tb_store_result('" + token + "', 'Admin', 30, 'k2')");
  } catch (const EDatabaseError& e) {
    refused = e.Message();
  }
  EXPECT_TRUE(refused.starts_with("Недостаточно прав для этого действия")) << refused;
  EXPECT_EQ(One(admin, "select count(*) from \"Тесты\""), "1");
}

TEST_F(TextbookDbTest, UpgradeRefusesWhatIsNotATextbookDatabase) {
  const std::string uri = Server().CreateDatabase("not_textbook");
  const TRun refused = Tool({"upgrade", uri});
  EXPECT_EQ(refused.Status, 1);
  EXPECT_FALSE(refused.Err.empty());
  EXPECT_EQ(Tool({"upgrade"}).Status, 2);
  ASSERT_EQ(Tool({"init", File("db.mdb")}).Status, 0);
  EXPECT_EQ(Tool({"upgrade", File("db.mdb")}).Status, 0);
}

TEST_F(TextbookDbTest, CopyBetweenServersKeepsTheTokensSecretAndTheHandInKeys) {
  const std::string from = Server().CreateDatabase("copy_secret_from");
  ASSERT_EQ(Tool({"init", from}).Status, 0);
  Server().Execute("copy_secret_from", "insert into \"Пользователи\" values ('Оля', 'пароль', '9Б')");
  std::string token;
  {
    TADOConnection source("Data Source=" + from);
    source.Open();
    token = One(source, "select tb_result_token('Оля', 'пароль')");
    EXPECT_EQ(One(source, "select tb_store_result('" + token + "', 'Оля', 12, 'before-copy')"), "1");
  }
  const std::string to = Server().CreateDatabase("copy_secret_to");
  const TRun copied = Tool({"copy", from, to});
  ASSERT_EQ(copied.Status, 0) << copied.Err;
  TADOConnection target("Data Source=" + to);
  target.Open();
  // A token a student's journal kept from before the copy is taken; the result
  // stored before the copy is not stored a second time.
  EXPECT_EQ(One(target, "select tb_result_token('Оля', 'пароль')"), token);
  EXPECT_EQ(One(target, "select tb_store_result('" + token + "', 'Оля', 12, 'before-copy')"), "0");
  EXPECT_EQ(One(target, "select tb_store_result('" + token + "', 'Оля', 14, 'after-copy')"), "1");
  EXPECT_EQ(One(target, "select count(*) from tb_secret"), "1");
  EXPECT_EQ(One(target, "select count(*) from \"Тесты\""), "2");

  // From a file the target keeps a secret of its own, and tokens work there.
  ASSERT_EQ(Tool({"init", File("plain.mdb"), "--demo"}).Status, 0);
  const std::string fromFile = Server().CreateDatabase("copy_secret_file");
  ASSERT_EQ(Tool({"copy", File("plain.mdb"), fromFile}).Status, 0);
  TADOConnection other("Data Source=" + fromFile);
  other.Open();
  EXPECT_EQ(One(other, "select count(*) from tb_secret"), "1");
  EXPECT_NE(One(other, "select tb_token_of('Оля')"), token);
}

TEST_F(TextbookDbTest, RefusedConnection) {
  const TRun refused = Tool({"init", "postgresql://nobody@/x?host=/nonexistent-folder"});
  EXPECT_EQ(refused.Status, 1);
  EXPECT_NE(refused.Err.find("Не удалось подключиться к серверу базы данных"), std::string::npos) << refused.Err;
}
}  // namespace
