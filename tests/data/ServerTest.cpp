// What only a server has: the student role's rights, the login check that runs
// with its owner's rights, and a server that dies under an open connection.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>
#include <unistd.h>

#include "app/data/ResultStore.h"
#include "app/data/ServerSchema.h"
#include "app/data/Statements.h"
#include "platform/base/Exception.h"
#include "tests/data/TestDatabase.h"
#include "tools/pg-server/TPgServer.h"

namespace {
class ServerTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (!TestDatabase::OnServer()) GTEST_SKIP() << "a server's property";
    db_ = std::make_unique<TestDatabase>();
    db_->Connection().ExecuteDirect(
        "insert into Пользователи values ('Admin', 'admin', ''), ('ivanov', 'Qwe123', '9А'), ('ivanov', 'second', '');"
        "insert into Тесты values ('ivanov', 24);"
        "insert into Лекции values ('Лекция 1', 'lectures/1.htm')");
  }
  int Check(TADOConnection& connection, const std::string& login, const std::string& password) {
    TADOQuery query(&connection);
    LoadStatement(query, Statements::kCheckLogin);
    query.ParamByName("a1").SetValue(Variant(login));
    query.ParamByName("a2").SetValue(Variant(password));
    query.Open();
    return query.Fields(0).AsInteger();
  }
  std::unique_ptr<TADOConnection> AsStudent() {
    const std::string role = "student_" + db_->DatabaseName();
    TestDatabase::Server()->Execute("postgres", "create role " + role + " login");
    db_->Connection().ExecuteDirect(ServerSchema::StudentRoleSql(role));
    auto connection =
        std::make_unique<TADOConnection>("Data Source=" + TestDatabase::Server()->Uri(db_->DatabaseName(), role));
    connection->Open();
    return connection;
  }
  std::unique_ptr<TestDatabase> db_;
};

TEST_F(ServerTest, LoginCheckTakesTheFirstRowAndComparesExactly) {
  TADOConnection& c = db_->Connection();
  EXPECT_EQ(Check(c, "Admin", "admin"), ServerSchema::kLoggedIn);
  EXPECT_EQ(Check(c, "Admin", "ADMIN"), ServerSchema::kWrongPassword);
  EXPECT_EQ(Check(c, "admin", "admin"), ServerSchema::kNoSuchAccount);  // the login compares exactly here
  EXPECT_EQ(Check(c, "ivanov", "Qwe123"), ServerSchema::kLoggedIn);
  EXPECT_EQ(Check(c, "ivanov", "second"), ServerSchema::kWrongPassword);  // only the first row counts
  EXPECT_EQ(Check(c, "ivanov ", "Qwe123"), ServerSchema::kNoSuchAccount);
}

TEST_F(ServerTest, StudentRoleReadsAndHandsInButTouchesNothingElse) {
  auto student = AsStudent();
  // Everything a student does works.
  EXPECT_EQ(Check(*student, "ivanov", "Qwe123"), ServerSchema::kLoggedIn);
  TADOQuery query(student.get());
  LoadStatement(query, Statements::kSelectLogins);
  query.Open();
  EXPECT_EQ(query.RecordCount(), 3);
  LoadStatement(query, Statements::kSelectQuestionRows);
  query.Open();
  LoadStatement(query, Statements::kStoreResult);
  query.ParamByName("a1").SetValue(Variant("ivanov"));
  query.ParamByName("a2").SetValue(Variant(27));
  EXPECT_EQ(query.ExecSQL(), 1);
  LoadStatement(query, Statements::kSelectResults);
  query.SQL().Add(std::string(Statements::kResultsOfUser));
  query.ParamByName("a").SetValue(Variant("ivanov"));
  query.Open();
  EXPECT_EQ(query.RecordCount(), 2);

  // The server refuses the rest, with a Russian message, and nothing changes.
  const std::string refused = "Недостаточно прав для этого действия на этом компьютере; база данных не изменена.";
  LoadStatement(query, Statements::kSelectPasswords);
  EXPECT_TRUE(ErrorOf([&] { query.Open(); }).starts_with(refused));
  LoadStatement(query, Statements::kSelectAccounts);
  EXPECT_TRUE(ErrorOf([&] { query.Open(); }).starts_with(refused));
  TADOQuery results(student.get());
  LoadStatement(results, Statements::kSelectResults);
  results.Open();
  EXPECT_TRUE(ErrorOf([&] { results.Delete(); }).starts_with(refused));
  EXPECT_TRUE(ErrorOf([&] { student->ExecuteDirect("update Тесты set Верно = 30"); }).starts_with(refused));
  LoadStatement(query, Statements::kDeleteUser);
  query.ParamByName("a1").SetValue(Variant("Admin"));
  query.ParamByName("a2").SetValue(Variant("admin"));
  EXPECT_TRUE(ErrorOf([&] { query.ExecSQL(); }).starts_with(refused));
  LoadStatement(query, Statements::kAddLecture);
  query.ParamByName("a1").SetValue(Variant("x"));
  query.ParamByName("a2").SetValue(Variant("y"));
  EXPECT_TRUE(ErrorOf([&] { query.ExecSQL(); }).starts_with(refused));
  TADOQuery check(&db_->Connection());
  check.SQL().Add("select (select count(*) from Пользователи), (select count(*) from Лекции), (select sum(Верно) from Тесты)");
  check.Open();
  EXPECT_EQ(check.Fields(0).AsInteger(), 3);
  EXPECT_EQ(check.Fields(1).AsInteger(), 1);
  EXPECT_EQ(check.Fields(2).AsInteger(), 24 + 27);
}

TEST_F(ServerTest, ComparisonsFoldLatinAndCyrillicLikeTheFile) {
  db_->Connection().ExecuteDirect("insert into Лекции values ('Алгоритмы и ЁЛКИ', 'a'), ('Pascal', 'b')");
  TADOQuery query(&db_->Connection());
  for (const auto& [text, count] : {std::pair{"алгоритмы", 1}, {"ёлки", 1}, {"ЕЛКИ", 0}, {"PASCAL", 1}, {"%", 3}, {"", 3}}) {
    LoadStatement(query, Statements::kSearchLectures);
    query.ParamByName("a").SetValue(Variant(Statements::SearchPattern(text)));
    query.Open();
    EXPECT_EQ(query.RecordCount(), count) << text;
  }
  // A backslash is an ordinary character, as in the file (no escape by default).
  db_->Connection().ExecuteDirect("insert into Лекции values ('C:\\Темы', 'c')");
  LoadStatement(query, Statements::kSearchLectures);
  query.ParamByName("a").SetValue(Variant(Statements::SearchPattern("c:\\т")));
  query.Open();
  EXPECT_EQ(query.RecordCount(), 1);
  // Logins, passwords and addresses compare exactly, as in the file.
  LoadStatement(query, Statements::kDeleteUser);
  query.ParamByName("a1").SetValue(Variant("ADMIN"));
  query.ParamByName("a2").SetValue(Variant("admin"));
  EXPECT_EQ(query.ExecSQL(), 0);
  query.ParamByName("a1").SetValue(Variant("Admin"));
  query.ParamByName("a2").SetValue(Variant("ADMIN"));
  EXPECT_EQ(query.ExecSQL(), 0);
  query.ParamByName("a2").SetValue(Variant("admin"));
  EXPECT_EQ(query.ExecSQL(), 1);
  LoadStatement(query, Statements::kDeleteLecture);
  query.ParamByName("a1").SetValue(Variant("A"));
  EXPECT_EQ(query.ExecSQL(), 0);
  query.ParamByName("a1").SetValue(Variant("a"));
  EXPECT_EQ(query.ExecSQL(), 1);
}

TEST_F(ServerTest, AServerKilledMidSessionIsReportedAndTheNextStatementReconnects) {
  TADOQuery query(&db_->Connection());
  LoadStatement(query, Statements::kSelectResults);
  query.Open();
  EXPECT_EQ(query.RecordCount(), 1);
  TestDatabase::Server()->Kill();
  query.Close();
  const std::string lost = ErrorOf([&] { query.Open(); });
  TestDatabase::Server()->Start();
  EXPECT_TRUE(lost.starts_with("Соединение с сервером базы данных") || lost.starts_with("Нет соединения с сервером"))
      << lost;
  EXPECT_FALSE(query.Active());
  query.Open();  // the connection is made again
  EXPECT_EQ(query.RecordCount(), 1);
}

// A hand-in broken at each moment reaches the server exactly once.
class JournalTest : public ServerTest {
protected:
  void SetUp() override {
    ServerTest::SetUp();
    if (IsSkipped()) return;
    journal_ = std::make_unique<TResultJournal>(std::filesystem::temp_directory_path() /
                                                ("tb_journal_" + std::to_string(getpid()) + "_" + db_->DatabaseName()));
    std::filesystem::remove(journal_->File());
  }
  void TearDown() override {
    if (journal_) std::filesystem::remove(journal_->File());
  }
  int Stored(const std::string& login) {
    TADOConnection reader("Data Source=" + db_->Source());
    reader.Open();
    TADOQuery query(&reader);
    query.SQL().Add("select count(*) from Тесты where Пользователь = :a and Верно = 17");
    query.ParamByName("a").SetValue(Variant(login));
    query.Open();
    return query.Fields(0).AsInteger();
  }
  // Hands in 17 points for login with the connection broken at one moment.
  TStoreResult HandIn(const std::string& login, std::optional<TStoreMoment> breakAt, bool killServer) {
    TADOConnection connection("Data Source=" + db_->Source());
    connection.Open();
    TADOQuery command(&connection);
    return StoreResult(connection, command, *journal_, login, 17, [&](TStoreMoment moment) {
      if (moment != breakAt) return;
      if (killServer) {
        TestDatabase::Server()->Kill();
        TestDatabase::Server()->Start();
      } else {
        throw EDatabaseConnectionError("the reply was lost");
      }
    });
  }
  int SendKept() {
    TADOConnection connection("Data Source=" + db_->Source());
    connection.Open();
    return SendJournal(connection, *journal_);
  }
  std::unique_ptr<TResultJournal> journal_;
};

TEST_F(JournalTest, StoredAtOnceWhenNothingBreaks) {
  EXPECT_EQ(HandIn("petrova", std::nullopt, false), TStoreResult::Stored);
  EXPECT_TRUE(journal_->Entries().empty());
  EXPECT_EQ(Stored("petrova"), 1);
}

TEST_F(JournalTest, ServerDownBeforeTheHandInKeepsItUntilTheNextConnection) {
  TADOConnection connection("Data Source=" + db_->Source());
  connection.Open();
  TADOQuery command(&connection);
  TestDatabase::Server()->Stop();
  const TStoreResult result = StoreResult(connection, command, *journal_, "Смирнов", 17);
  TestDatabase::Server()->Start();
  EXPECT_EQ(result, TStoreResult::Kept);
  ASSERT_EQ(journal_->Entries().size(), 1u);
  EXPECT_EQ(journal_->Entries()[0].Login, "Смирнов");
  EXPECT_EQ(Stored("Смирнов"), 0);
  EXPECT_EQ(SendKept(), 1);
  EXPECT_EQ(Stored("Смирнов"), 1);
  EXPECT_TRUE(journal_->Entries().empty());
  EXPECT_EQ(SendKept(), 0);
  EXPECT_EQ(Stored("Смирнов"), 1);
}

TEST_F(JournalTest, ServerKilledInsideTheTransactionStoresItOnceLater) {
  EXPECT_EQ(HandIn("ivanov", TStoreMoment::AfterInsert, true), TStoreResult::Kept);
  EXPECT_EQ(Stored("ivanov"), 0);  // the transaction died with the server
  EXPECT_EQ(SendKept(), 1);
  EXPECT_EQ(Stored("ivanov"), 1);
}

TEST_F(JournalTest, ReplyLostAfterTheCommitIsNotStoredTwice) {
  EXPECT_EQ(HandIn("ivanov", TStoreMoment::AfterCommit, false), TStoreResult::Kept);
  EXPECT_EQ(Stored("ivanov"), 1);  // the server has it; this computer does not know
  ASSERT_EQ(journal_->Entries().size(), 1u);
  EXPECT_EQ(SendKept(), 1);        // sent again, recognised by its key
  EXPECT_EQ(Stored("ivanov"), 1);
  EXPECT_TRUE(journal_->Entries().empty());
}

TEST_F(JournalTest, KeptResultsGoFirstWithTheNextHandIn) {
  EXPECT_EQ(HandIn("ivanov", TStoreMoment::BeforeSend, false), TStoreResult::Kept);
  EXPECT_EQ(HandIn("ivanov", std::nullopt, false), TStoreResult::Stored);
  EXPECT_EQ(Stored("ivanov"), 2);
  EXPECT_TRUE(journal_->Entries().empty());
}

TEST_F(JournalTest, TenStudentsAtTheSameMomentStoreTenRows) {
  std::vector<std::thread> students;
  std::vector<TStoreResult> results(10, TStoreResult::Kept);
  std::vector<std::unique_ptr<TResultJournal>> journals;
  for (int i = 0; i < 10; ++i)
    journals.push_back(std::make_unique<TResultJournal>(journal_->File().string() + std::to_string(i)));
  for (int i = 0; i < 10; ++i)
    students.emplace_back([&, i] {
      TADOConnection connection("Data Source=" + db_->Source());
      connection.Open();
      TADOQuery command(&connection);
      results[static_cast<size_t>(i)] = StoreResult(connection, command, *journals[static_cast<size_t>(i)], "class", 17);
    });
  for (std::thread& t : students) t.join();
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(results[static_cast<size_t>(i)], TStoreResult::Stored);
    std::filesystem::remove(journals[static_cast<size_t>(i)]->File());
  }
  EXPECT_EQ(Stored("class"), 10);
}

TEST_F(ServerTest, ARefusedConnectionSaysSoInRussian) {
  TADOConnection wrongDatabase("Data Source=" + TestDatabase::Server()->Uri("нет_такой_базы"));
  const std::string message = ErrorOf([&] { wrongDatabase.Open(); });
  EXPECT_TRUE(message.starts_with("Не удалось подключиться к серверу базы данных")) << message;
  EXPECT_FALSE(wrongDatabase.Connected());
  TADOConnection noServer("Data Source=postgresql://nobody@/x?host=/nonexistent-folder&connect_timeout=2");
  EXPECT_TRUE(ErrorOf([&] { noServer.Open(); }).starts_with("Не удалось подключиться к серверу базы данных"));
}
}  // namespace
