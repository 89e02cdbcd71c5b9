// What only a server has: the student role's rights, the login check that runs
// with its owner's rights, results stored only under the login that logged in,
// the server's like, and a server that dies under an open connection. These
// start a private server wherever they run.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <thread>
#include <tuple>
#include <vector>

#include "app/data/ResultStore.h"
#include "app/data/Schema.h"
#include "app/data/ServerSchema.h"
#include "app/data/Statements.h"
#include "data/TDbEngine.h"
#include "data/LikePattern.h"
#include "platform/base/Exception.h"
#include "tests/data/TestDatabase.h"
#include "tests/support/SilentServer.h"
#include "tools/pg-server/TPgServer.h"

namespace {
class ServerTest : public ::testing::Test {
protected:
  void SetUp() override {
    Db_ = std::make_unique<TestDatabase>(TestDatabase::kServer);
    Schema::CreateTables(Db_->Connection());
    Db_->Connection().ExecuteDirect(
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
  // What the login window gets for login and password (empty when refused).
  static std::string Token(TADOConnection& connection, const std::string& login, const std::string& password) {
    TADOQuery query(&connection);
    LoadStatement(query, Statements::kResultToken);
    query.ParamByName("a1").SetValue(Variant(login));
    query.ParamByName("a2").SetValue(Variant(password));
    query.Open();
    return query.Fields(0).AsString();
  }
  // The server's tb_store_result as the tester calls it: 1 stored, 0 already there.
  static int StoreHandIn(TADOConnection& connection, const std::string& token, const std::string& login, int score,
                         const std::string& key) {
    TADOQuery query(&connection);
    LoadStatement(query, Statements::kStoreHandIn);
    query.ParamByName("t").SetValue(Variant(token));
    query.ParamByName("a1").SetValue(Variant(login));
    query.ParamByName("a2").SetValue(Variant(score));
    query.ParamByName("k").SetValue(Variant(key));
    query.Open();
    return query.Fields(0).AsInteger();
  }
  std::unique_ptr<TADOConnection> AsStudent() {
    const std::string role = "student_" + Db_->DatabaseName();
    if (!RoleMade_) {
      TestDatabase::SharedServer().Execute("postgres", "create role " + role + " login");
      Db_->Connection().ExecuteDirect(ServerSchema::StudentRoleSql(role));
      RoleMade_ = true;
    }
    auto connection =
        std::make_unique<TADOConnection>("Data Source=" + TestDatabase::SharedServer().Uri(Db_->DatabaseName(), role));
    connection->Open();
    return connection;
  }
  std::unique_ptr<TestDatabase> Db_;
  bool RoleMade_ = false;
};

TEST_F(ServerTest, LoginCheckTakesTheFirstRowAndComparesExactly) {
  TADOConnection& c = Db_->Connection();
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
  const std::string token = Token(*student, "ivanov", "Qwe123");
  EXPECT_EQ(token.size(), 64u);
  EXPECT_EQ(StoreHandIn(*student, token, "ivanov", 27, "k1"), 1);
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
  // A result only through the server's function, under the login that logged in.
  LoadStatement(query, Statements::kStoreResult);
  query.ParamByName("a1").SetValue(Variant("ivanov"));
  query.ParamByName("a2").SetValue(Variant(30));
  EXPECT_TRUE(ErrorOf([&] { query.ExecSQL(); }).starts_with(refused));
  EXPECT_TRUE(ErrorOf([&] { student->ExecuteDirect("insert into tb_handins values ('k9')"); }).starts_with(refused));
  EXPECT_TRUE(ErrorOf([&] { student->ExecuteDirect("select * from tb_secret"); }).starts_with(refused));
  EXPECT_TRUE(ErrorOf([&] { student->ExecuteDirect("select tb_token_of('Admin')"); }).starts_with(refused));
  TADOQuery check(&Db_->Connection());
  check.SQL().Add("select (select count(*) from Пользователи), (select count(*) from Лекции), (select sum(Верно) from Тесты)");
  check.Open();
  EXPECT_EQ(check.Fields(0).AsInteger(), 3);
  EXPECT_EQ(check.Fields(1).AsInteger(), 1);
  EXPECT_EQ(check.Fields(2).AsInteger(), 24 + 27);
}

TEST_F(ServerTest, AResultIsStoredOnlyUnderTheLoginThatLoggedIn) {
  auto student = AsStudent();
  const std::string ivanov = Token(*student, "ivanov", "Qwe123");
  ASSERT_FALSE(ivanov.empty());
  EXPECT_EQ(Token(*student, "ivanov", "qwe123"), "");  // a wrong password gets no token
  EXPECT_EQ(Token(*student, "nobody", ""), "");
  EXPECT_EQ(Token(*student, "ivanov", "second"), "");  // only the first row's password counts
  const std::string refused = "Недостаточно прав для этого действия на этом компьютере; база данных не изменена.";
  // Another login, a made-up token, no token: refused, nothing stored.
  EXPECT_TRUE(ErrorOf([&] { StoreHandIn(*student, ivanov, "Admin", 30, "a"); }).starts_with(refused));
  EXPECT_TRUE(ErrorOf([&] { StoreHandIn(*student, ivanov, "IVANOV", 30, "b"); }).starts_with(refused));
  EXPECT_TRUE(ErrorOf([&] { StoreHandIn(*student, std::string(64, '0'), "ivanov", 30, "c"); }).starts_with(refused));
  EXPECT_TRUE(ErrorOf([&] { StoreHandIn(*student, "", "ivanov", 30, "d"); }).starts_with(refused));
  // The token of one login is no good for another, whoever asked for it.
  const std::string admin = Token(Db_->Connection(), "Admin", "admin");
  EXPECT_NE(admin, ivanov);
  EXPECT_TRUE(ErrorOf([&] { StoreHandIn(*student, admin, "ivanov", 30, "e"); }).starts_with(refused));
  // The right one stores once per key, and the token lasts across connections.
  EXPECT_EQ(StoreHandIn(*student, ivanov, "ivanov", 30, "f"), 1);
  EXPECT_EQ(StoreHandIn(*AsStudent(), ivanov, "ivanov", 30, "f"), 0);
  TADOQuery check(&Db_->Connection());
  check.SQL().Add("select count(*), sum(Верно) from Тесты");
  check.Open();
  EXPECT_EQ(check.Fields(0).AsInteger(), 2);
  EXPECT_EQ(check.Fields(1).AsInteger(), 24 + 30);
}

TEST_F(ServerTest, ComparisonsFoldLatinAndCyrillicLikeTheFile) {
  Db_->Connection().ExecuteDirect("insert into Лекции values ('Алгоритмы и ЁЛКИ', 'a'), ('Pascal', 'b')");
  TADOQuery query(&Db_->Connection());
  for (const auto& [text, count] : {std::pair{"алгоритмы", 1}, {"ёлки", 1}, {"ЕЛКИ", 0}, {"PASCAL", 1}, {"%", 3}, {"", 3}}) {
    LoadStatement(query, Statements::kSearchLectures);
    query.ParamByName("a").SetValue(Variant(Statements::SearchPattern(text)));
    query.Open();
    EXPECT_EQ(query.RecordCount(), count) << text;
  }
  // A backslash is an ordinary character, as in the file (no escape by default).
  Db_->Connection().ExecuteDirect("insert into Лекции values ('C:\\Темы', 'c')");
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

// The server's like answers as the file's for every shape of pattern: random
// patterns over a few letters of both cases, "_" and "%", and hostile ones.
TEST_F(ServerTest, LikeAgreesWithTheFileForEveryPattern) {
  TADOQuery query(&Db_->Connection());
  query.SQL().Add("select :t::tb_text like :p::tb_text");
  auto serverLike = [&](const std::string& text, const std::string& pattern) {
    query.Close();
    query.ParamByName("t").SetValue(Variant(text));
    query.ParamByName("p").SetValue(Variant(pattern));
    query.Open();
    return query.Fields(0).AsInteger() == 1;
  };
  const std::vector<std::string> letters = {"a", "A", "b", "ё", "Ё", "е", "ж", "\\", "_", "%", "%", "_"};
  std::mt19937 random(20);
  auto word = [&](std::size_t size, bool wild) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < size; ++i) out.push_back(letters[random() % (wild ? letters.size() : 8)]);
    return out;
  };
  auto join = [](const std::vector<std::string>& parts) {
    std::string out;
    for (const std::string& p : parts) out += p;
    return out;
  };
  int matches = 0;
  for (int round = 0; round < 400; ++round) {
    const std::vector<std::string> text = word(random() % 9, false);
    std::vector<std::string> pattern;
    if (round % 2 == 0) {
      pattern = word(random() % 7, true);
    } else {
      // The text itself with letters made "_", runs made "%" and now and then a
      // letter changed: mostly matches, near misses otherwise.
      for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned r = random() % 12;
        if (r < 2) pattern.push_back("_");
        else if (r < 4) pattern.push_back("%"), i += random() % 3;
        else if (r == 4) pattern.push_back(letters[random() % 8]);
        else pattern.push_back(text[i]);
      }
    }
    const bool expected = TLikePattern(join(pattern)).Matches(join(text));
    matches += expected;
    ASSERT_EQ(serverLike(join(text), join(pattern)), expected) << "'" << join(text) << "' like '" << join(pattern) << "'";
  }
  EXPECT_GT(matches, 100);  // both answers were met often
  EXPECT_LT(matches, 300);
  // Shapes the random ones may miss: overlapping pieces, "_" runs, the ends.
  for (const auto& [text, pattern, expected] : std::vector<std::tuple<std::string, std::string, bool>>{
           {"aab", "%ab", true}, {"abab", "a%b%ab", true}, {"abab", "%aba%b", true}, {"abc", "a__", true},
           {"abc", "a_", false}, {"abcab", "%b_a%", true}, {"aaab", "%aab%", true}, {"ааб", "%А_Б", true},
           {"abc", "%%%", true}, {"", "%", true}, {"", "_", false}, {"a%b", "a\\%b", false}, {"a\\xb", "a\\_b", true},
           {"ababac", "%abac", true}, {"ababac", "%ab_c%", true}, {"xyz", "%y%y%", false}}) {
    EXPECT_EQ(serverLike(text, pattern), expected) << text << " like " << pattern;
    EXPECT_EQ(TLikePattern(pattern).Matches(text), expected) << text << " like " << pattern;
  }
  // Patterns that make a backtracking like take text × pattern steps end at once.
  const std::string many(20000, 'a');
  std::string pieces;
  for (int i = 0; i < 5000; ++i) pieces += "%a_";
  EXPECT_TRUE(serverLike(many + "b", pieces + "%b"));
  EXPECT_FALSE(serverLike(many, pieces + "%b"));
  EXPECT_FALSE(serverLike(many, "%" + std::string(10000, 'a') + "b%"));
  EXPECT_FALSE(serverLike("short", pieces));
}

// A hand-in broken at each moment reaches the server exactly once.
class JournalTest : public ServerTest {
protected:
  void SetUp() override {
    ServerTest::SetUp();
    Journal_ = std::make_unique<TResultJournal>(std::filesystem::temp_directory_path() /
                                                ("tb_journal_" + std::to_string(getpid()) + "_" + Db_->DatabaseName()));
    std::filesystem::remove(Journal_->File());
  }
  void TearDown() override {
    if (Journal_) std::filesystem::remove(Journal_->File());
  }
  int Stored(const std::string& login) {
    TADOConnection reader("Data Source=" + Db_->Source());
    reader.Open();
    TADOQuery query(&reader);
    query.SQL().Add("select count(*) from Тесты where Пользователь = :a and Верно = 17");
    query.ParamByName("a").SetValue(Variant(login));
    query.Open();
    return query.Fields(0).AsInteger();
  }
  std::string TokenOf(const std::string& login) {
    TADOQuery query(&Db_->Connection());
    query.SQL().Add("select tb_token_of(:a)");
    query.ParamByName("a").SetValue(Variant(login));
    query.Open();
    return query.Fields(0).AsString();
  }
  // Hands in 17 points for login with the connection broken at one moment.
  TStoreResult HandIn(const std::string& login, std::optional<TStoreMoment> breakAt, bool killServer) {
    TADOConnection connection("Data Source=" + Db_->Source());
    connection.Open();
    TADOQuery command(&connection);
    return StoreResult(connection, command, *Journal_, login, TokenOf(login), 17, [&](TStoreMoment moment) {
      if (moment != breakAt) return;
      if (killServer) {
        TestDatabase::SharedServer().Kill();
        TestDatabase::SharedServer().Start();
      } else {
        throw EDatabaseConnectionError("the reply was lost");
      }
    });
  }
  int SendKept() {
    TADOConnection connection("Data Source=" + Db_->Source());
    connection.Open();
    return SendJournal(connection, *Journal_);
  }
  std::unique_ptr<TResultJournal> Journal_;
};

TEST_F(JournalTest, StoredAtOnceWhenNothingBreaks) {
  EXPECT_EQ(HandIn("petrova", std::nullopt, false), TStoreResult::Stored);
  EXPECT_TRUE(Journal_->Entries().empty());
  EXPECT_EQ(Stored("petrova"), 1);
}

TEST_F(JournalTest, ServerDownBeforeTheHandInKeepsItUntilTheNextConnection) {
  TADOConnection connection("Data Source=" + Db_->Source());
  connection.Open();
  TADOQuery command(&connection);
  const std::string token = TokenOf("Смирнов");
  TestDatabase::SharedServer().Stop();
  const TStoreResult result = StoreResult(connection, command, *Journal_, "Смирнов", token, 17);
  TestDatabase::SharedServer().Start();
  EXPECT_EQ(result, TStoreResult::Kept);
  ASSERT_EQ(Journal_->Entries().size(), 1u);
  EXPECT_EQ(Journal_->Entries()[0].Login, "Смирнов");
  EXPECT_EQ(Stored("Смирнов"), 0);
  EXPECT_EQ(SendKept(), 1);
  EXPECT_EQ(Stored("Смирнов"), 1);
  EXPECT_TRUE(Journal_->Entries().empty());
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
  ASSERT_EQ(Journal_->Entries().size(), 1u);
  EXPECT_EQ(SendKept(), 1);        // sent again, recognised by its key
  EXPECT_EQ(Stored("ivanov"), 1);
  EXPECT_TRUE(Journal_->Entries().empty());
}

// The hand-in goes to the server first: one the server takes is never written
// to this computer, so a data folder that cannot be written does not stop it.
TEST_F(JournalTest, AStoredHandInNeedsNoJournal) {
  const auto blocker = Journal_->File().string() + "_file";
  { std::ofstream(blocker) << "not a folder"; }
  auto usual = std::exchange(Journal_, std::make_unique<TResultJournal>(std::filesystem::path(blocker) / "results"));
  EXPECT_EQ(HandIn("petrova", std::nullopt, false), TStoreResult::Stored);
  EXPECT_EQ(Stored("petrova"), 1);
  EXPECT_FALSE(std::filesystem::is_directory(blocker));
  // Only a result the connection failed for needs it, and then its failure to be
  // written is the user's error, not a silent loss.
  std::string message;
  try {
    HandIn("petrova", TStoreMoment::BeforeSend, false);
  } catch (const std::runtime_error& e) {
    message = e.what();
  }
  EXPECT_TRUE(message.starts_with("не удалось записать журнал результатов")) << message;
  EXPECT_EQ(Stored("petrova"), 1);
  Journal_ = std::move(usual);
  std::filesystem::remove(blocker);
}

// The server stops answering in the middle of a hand-in (its process stopped):
// the program gives up after its bounded wait not knowing whether the result
// was stored, keeps it, and the sending after the server is back leaves exactly
// one row, whichever way the stopped transaction ended.
TEST_F(JournalTest, AHandInWhoseOutcomeIsUnknownIsKeptAndStoredOnce) {
  for (const TStoreMoment moment : {TStoreMoment::BeforeSend, TStoreMoment::AfterInsert}) {
    const std::string login = moment == TStoreMoment::BeforeSend ? "before" : "inside";
    TADOConnection connection("Data Source=" + Db_->Source());
    connection.SetBusyTimeout(1000);
    connection.Open();
    TADOQuery command(&connection);
    const pid_t backend = ServerProcessOf(command);
    const std::string token = TokenOf(login);
    bool stopped = false;
    const TStoreResult result = StoreResult(connection, command, *Journal_, login, token, 17, [&](TStoreMoment m) {
      if (m == moment) stopped = ::kill(backend, SIGSTOP) == 0;
    });
    ::kill(backend, SIGCONT);
    ASSERT_TRUE(stopped) << login;
    EXPECT_EQ(result, TStoreResult::Kept) << login;
    ASSERT_EQ(Journal_->Entries().size(), 1u) << login;
    EXPECT_EQ(SendKept(), 1) << login;  // stored now, or found stored by its key
    EXPECT_EQ(Stored(login), 1) << login;
    EXPECT_TRUE(Journal_->Entries().empty()) << login;
    EXPECT_EQ(SendKept(), 0) << login;
    EXPECT_EQ(Stored(login), 1) << login;
  }
}

// The login window readies the session for the hand-in by rehearsing one that
// is rolled back: nothing is stored, nothing stays open, and the hand-in after
// it stores once. Neither loads the server's procedural language (a classroom
// would pay for that together), and a refused token changes nothing.
TEST_F(JournalTest, AReadiedSessionStoresOnlyTheRealHandIn) {
  auto student = AsStudent();
  const std::string token = Token(*student, "ivanov", "Qwe123");
  ASSERT_FALSE(token.empty());
  PrepareHandIn(*student, {"ivanov", token});
  PrepareHandIn(*student, {"ivanov", TokenOf("Admin")});  // refused inside, quietly
  EXPECT_FALSE(student->Engine().InTransaction());
  EXPECT_EQ(Stored("ivanov"), 0);
  TADOQuery keys(&Db_->Connection());
  keys.SQL().Add("select count(*) from tb_handins");
  keys.Open();
  EXPECT_EQ(keys.Fields(0).AsInteger(), 0);

  auto fresh = AsStudent();
  PrepareHandIn(*fresh, {"ivanov", token});
  TADOQuery command(fresh.get());
  const pid_t backend = ServerProcessOf(command);
  EXPECT_EQ(StoreResult(*fresh, command, *Journal_, "ivanov", token, 17), TStoreResult::Stored);
  EXPECT_EQ(Stored("ivanov"), 1);
  TADOQuery maps(&Db_->Connection());
  maps.SQL().Add("select strpos(pg_read_file('/proc/' || :a || '/maps'), 'plpgsql')");
  maps.ParamByName("a").SetValue(Variant(std::to_string(backend)));
  maps.Open();
  EXPECT_EQ(maps.Fields(0).AsInteger(), 0);
}

TEST_F(JournalTest, KeptResultsGoFirstWithTheNextHandIn) {
  EXPECT_EQ(HandIn("ivanov", TStoreMoment::BeforeSend, false), TStoreResult::Kept);
  EXPECT_EQ(HandIn("ivanov", std::nullopt, false), TStoreResult::Stored);
  EXPECT_EQ(Stored("ivanov"), 2);
  EXPECT_TRUE(Journal_->Entries().empty());
}

TEST_F(JournalTest, KeptResultsAreSentWhenTheConnectionComesBack) {
  TADOConnection connection("Data Source=" + Db_->Source());
  connection.Open();
  SendJournalWhenReconnected(connection, Journal_->File());
  TADOQuery command(&connection);
  const std::string token = TokenOf("Смирнов");
  TestDatabase::SharedServer().Stop();
  EXPECT_EQ(StoreResult(connection, command, *Journal_, "Смирнов", token, 17), TStoreResult::Kept);
  TestDatabase::SharedServer().Start();
  EXPECT_EQ(Stored("Смирнов"), 0);
  // Any statement of the program on the connection made again sends it first.
  TADOQuery lectures(&connection);
  LoadStatement(lectures, Statements::kSelectLectures);
  lectures.Open();
  EXPECT_EQ(lectures.RecordCount(), 1);
  EXPECT_EQ(Stored("Смирнов"), 1);
  EXPECT_TRUE(Journal_->Entries().empty());
  // Later losses send nothing again.
  TestDatabase::SharedServer().Kill();
  TestDatabase::SharedServer().Start();
  lectures.Close();
  if (ErrorOf([&] { lectures.Open(); }) != "(no error)") lectures.Open();  // the loss is noticed first
  EXPECT_TRUE(lectures.Active());
  EXPECT_EQ(Stored("Смирнов"), 1);
}

TEST_F(JournalTest, AHandInThatReconnectsSendsTheKeptOnesAndItselfOnce) {
  TADOConnection connection("Data Source=" + Db_->Source());
  connection.Open();
  SendJournalWhenReconnected(connection, Journal_->File());
  TADOQuery command(&connection);
  const std::string token = TokenOf("ivanov");
  // The server restarts under the open connection: the first hand-in meets the
  // dead connection and is kept.
  TestDatabase::SharedServer().Kill();
  TestDatabase::SharedServer().Start();
  EXPECT_EQ(StoreResult(connection, command, *Journal_, "ivanov", token, 17), TStoreResult::Kept);
  EXPECT_EQ(Stored("ivanov"), 0);
  // The next one connects again: the handler sends both kept entries, and the
  // hand-in's own sending finds them stored.
  EXPECT_EQ(StoreResult(connection, command, *Journal_, "ivanov", token, 17), TStoreResult::Stored);
  EXPECT_EQ(Stored("ivanov"), 2);
  EXPECT_TRUE(Journal_->Entries().empty());
}

TEST_F(JournalTest, AnEntryWithoutItsLoginsTokenIsRefusedAndKept) {
  Journal_->Add(TResultJournal::NewEntry("ivanov", 17, TokenOf("Admin")));
  EXPECT_EQ(SendKept(), 0);
  EXPECT_EQ(Stored("ivanov"), 0);
  EXPECT_EQ(Journal_->Entries().size(), 1u);
}

// Lines written before results carried a token have none: on a student's
// machine they wait for their own login's check and never hold up the others.
TEST_F(JournalTest, EntriesWithoutATokenGoWhenTheirLoginLogsInHere) {
  Journal_->Add(TResultJournal::NewEntry("ivanov", 17, ""));
  Journal_->Add(TResultJournal::NewEntry("Admin", 17, TokenOf("ivanov")));  // a wrong token: refused
  Journal_->Add(TResultJournal::NewEntry("Смирнов", 17, TokenOf("Смирнов")));
  auto student = AsStudent();
  EXPECT_EQ(SendJournal(*student, *Journal_), 1);
  EXPECT_EQ(Stored("Смирнов"), 1);
  EXPECT_EQ(Stored("ivanov"), 0);
  const std::string adminToken = Token(*student, "Admin", "admin");
  EXPECT_EQ(SendJournal(*student, *Journal_, {"Admin", adminToken}), 0);  // another login's token is not lent
  EXPECT_EQ(Stored("ivanov"), 0);
  EXPECT_EQ(SendJournal(*student, *Journal_, {"ivanov", Token(*student, "ivanov", "Qwe123")}), 1);
  EXPECT_EQ(Stored("ivanov"), 1);
  ASSERT_EQ(Journal_->Entries().size(), 1u);
  EXPECT_EQ(Journal_->Entries()[0].Login, "Admin");
  EXPECT_EQ(Stored("Admin"), 0);
}

// A machine connected as the database's owner may store any result anyway: it
// sends them with the token the server makes.
TEST_F(JournalTest, EntriesWithoutATokenGoOnTheOwnersConnection) {
  Journal_->Add(TResultJournal::NewEntry("ivanov", 17, ""));
  Journal_->Add(TResultJournal::NewEntry("Смирнов", 17, ""));
  EXPECT_EQ(SendKept(), 2);
  EXPECT_EQ(Stored("ivanov"), 1);
  EXPECT_EQ(Stored("Смирнов"), 1);
  EXPECT_TRUE(Journal_->Entries().empty());
}

TEST_F(JournalTest, TenStudentsAtTheSameMomentStoreTenRows) {
  std::vector<std::thread> students;
  std::vector<TStoreResult> results(10, TStoreResult::Kept);
  std::vector<std::unique_ptr<TResultJournal>> journals;
  const std::string token = TokenOf("class");
  for (int i = 0; i < 10; ++i)
    journals.push_back(std::make_unique<TResultJournal>(Journal_->File().string() + std::to_string(i)));
  for (int i = 0; i < 10; ++i)
    students.emplace_back([&, i] {
      TADOConnection connection("Data Source=" + Db_->Source());
      connection.Open();
      TADOQuery command(&connection);
      results[static_cast<size_t>(i)] = StoreResult(connection, command, *journals[static_cast<size_t>(i)], "class", token, 17);
    });
  for (std::thread& t : students) t.join();
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(results[static_cast<size_t>(i)], TStoreResult::Stored);
    std::filesystem::remove(journals[static_cast<size_t>(i)]->File());
  }
  EXPECT_EQ(Stored("class"), 10);
}

// The engine with a server that dies, stops answering or refuses, on the data
// layer's own test schema.
class ServerEngineTest : public ::testing::Test {
protected:
  void SetUp() override { Db_.CreateItems(); }
  static constexpr const char* kOneRow = "select * from moves where item = 3";
  TestDatabase Db_{TestDatabase::kServer};
};

TEST_F(ServerEngineTest, AServerKilledMidSessionIsReportedAndTheNextStatementReconnects) {
  TADOQuery query(&Db_.Connection());
  query.SQL().Add(kOneRow);
  query.Open();
  EXPECT_EQ(query.RecordCount(), 1);
  TestDatabase::SharedServer().Kill();
  query.Close();
  const std::string lost = ErrorOf([&] { query.Open(); });
  TestDatabase::SharedServer().Start();
  EXPECT_TRUE(lost.starts_with("Соединение с сервером базы данных") || lost.starts_with("Нет соединения с сервером"))
      << lost;
  EXPECT_FALSE(query.Active());
  query.Open();  // the connection is made again
  EXPECT_EQ(query.RecordCount(), 1);
}

// A server that stops answering (its process stopped, as a frozen machine would
// be): the statement is given up after the connection's timeout, and the wait
// handler runs all along, so that the windows keep painting.
TEST_F(ServerEngineTest, ASilentServerIsGivenUpInTimeWhileTheWaitHandlerRuns) {
  TADOConnection connection("Data Source=" + Db_.Source());
  connection.SetBusyTimeout(1500);
  connection.Open();
  TADOQuery query(&connection);
  query.SQL().Add("select pg_backend_pid()");
  query.Open();
  const pid_t backend = static_cast<pid_t>(query.Fields(0).AsInteger());
  int waits = 0;
  std::string inside;
  TDbEngine::SetWaitHandler([&] {
    if (++waits == 1) inside = ErrorOf([&] { connection.ExecuteDirect("select 1"); });
  });
  ASSERT_EQ(::kill(backend, SIGSTOP), 0);
  query.SQL().Clear();
  query.SQL().Add(kOneRow);
  const std::string message = ErrorOf([&] { query.Open(); });
  ::kill(backend, SIGCONT);
  TDbEngine::SetWaitHandler(nullptr);
  EXPECT_TRUE(message.starts_with("Сервер базы данных ") && message.ends_with(" не ответил за 2 с; действие прервано."))
      << message;
  EXPECT_GT(waits, 3);  // every few hundredths of a second, not once
  // A statement from inside the wait is refused, not mixed into the waiting one.
  EXPECT_EQ(inside, "Сервер базы данных ещё не ответил на предыдущее действие; это действие не выполнено.");
  EXPECT_FALSE(query.Active());
  query.Open();  // the next statement connects again
  EXPECT_EQ(query.RecordCount(), 1);

  // A server that takes no new connection: connecting is given up in time too.
  const int postmaster = TestDatabase::SharedServer().PostmasterPid();
  ASSERT_GT(postmaster, 0);
  waits = 0;
  TDbEngine::SetWaitHandler([&] { ++waits; });
  ASSERT_EQ(::kill(postmaster, SIGSTOP), 0);
  TADOConnection late("Data Source=" + Db_.Source());
  late.SetBusyTimeout(1000);
  const std::string refused = ErrorOf([&] { late.Open(); });
  ::kill(postmaster, SIGCONT);
  TDbEngine::SetWaitHandler(nullptr);
  EXPECT_TRUE(refused.ends_with(" не ответил за 1 с; подключиться не удалось.")) << refused;
  EXPECT_GT(waits, 3);
  EXPECT_FALSE(late.Connected());
}

TEST_F(ServerEngineTest, ARefusedConnectionSaysSoInRussian) {
  TADOConnection wrongDatabase("Data Source=" + TestDatabase::SharedServer().Uri("нет_такой_базы"));
  const std::string message = ErrorOf([&] { wrongDatabase.Open(); });
  EXPECT_TRUE(message.starts_with("Не удалось подключиться к серверу базы данных")) << message;
  EXPECT_FALSE(wrongDatabase.Connected());
  TADOConnection noServer("Data Source=postgresql://nobody@/x?host=/nonexistent-folder&connect_timeout=2");
  EXPECT_TRUE(ErrorOf([&] { noServer.Open(); }).starts_with("Не удалось подключиться к серверу базы данных"));
}
}  // namespace
