// textbook-db: init and copy between files and a private server, and its refusals.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <sstream>

#include "data/TADOConnection.h"
#include "data/TADOQuery.h"
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
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("tb_textbookdb_" + std::to_string(getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  static TPgServer& Server() {
    static TPgServer server;
    return server;
  }
  std::string File(const std::string& name) const { return (folder_ / name).string(); }
  fs::path folder_;
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

TEST_F(TextbookDbTest, RefusedConnection) {
  const TRun refused = Tool({"init", "postgresql://nobody@/x?host=/nonexistent-folder"});
  EXPECT_EQ(refused.Status, 1);
  EXPECT_NE(refused.Err.find("Не удалось подключиться к серверу базы данных"), std::string::npos) << refused.Err;
}
}  // namespace
