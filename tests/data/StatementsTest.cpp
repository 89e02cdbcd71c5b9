// Every statement of the windows, run through the statement pattern on a fresh database.
#include <gtest/gtest.h>

#include "app/data/ConnectionSettings.h"
#include "app/data/Schema.h"
#include "app/data/Statements.h"
#include "data/TADOTable.h"
#include "platform/base/Exception.h"
#include "tests/data/TestDatabase.h"

namespace {
using Strings = std::vector<std::string>;
const char* const kOptionNames[5] = {"o1", "o2", "o3", "o4", "o5"};

class StatementsTest : public ::testing::Test {
protected:
  void SetUp() override { Schema::CreateTables(Db_.Connection()); }
  void AddMaterial(const TStatement& insert, const std::string& title, const Variant& address) {
    LoadStatement(Query_, insert);
    Query_.Parameters().ParamByName("a1").SetValue(Variant(title));
    Query_.Parameters().ParamByName("a2").SetValue(address);
    EXPECT_EQ(Query_.ExecSQL(), 1);
  }
  Strings Search(const TStatement& search, const std::string& text, int field = 0) {
    LoadStatement(Query_, search);
    Query_.Parameters().ParamByName("a").SetValue(Variant(Statements::SearchPattern(text)));
    Query_.Open();
    return ColumnOf(Query_, field);
  }
  Strings All(const TStatement& select, int field = 0) {
    LoadStatement(Query_, select);
    Query_.Open();
    return ColumnOf(Query_, field);
  }

  TestDatabase Db_;
  TADOQuery Query_{&Db_.Connection()};
};
}  // namespace

TEST_F(StatementsTest, TextsAreExactToTheSpace) {
  EXPECT_EQ(Statements::kSearchLectures.Lines[1], "where НазваниеЛекции  Like :a ");
  EXPECT_EQ(Statements::kSearchLabs.Lines[1], "where НазваниеЛабы Like :a ");
  EXPECT_EQ(Statements::kSearchQuestions.Lines[1], "where Вопрос  Like :a ");
  EXPECT_EQ(Statements::kDeleteLecture.Lines[0], "delete from Лекции ");
  EXPECT_EQ(Statements::kDeleteUser.Lines[1], "where Логин= :a1 and Пароль= :a2 ");
  EXPECT_EQ(Statements::kAddUser.Lines[0], "insert into Пользователи(Логин, Пароль, Группа) values (:a1,:a2,:a3 )");
  EXPECT_EQ(Statements::kAddUser.Count, 1);
  EXPECT_EQ(ConnectionSettings::kConnectionString,
            "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=db.mdb;Persist Security Info=False");
  LoadStatement(Query_, Statements::kSearchLectures);
  EXPECT_EQ(Query_.SQL().Text(), "select * from Лекции\r\nwhere НазваниеЛекции  Like :a ");
}

TEST_F(StatementsTest, MaterialsAddSearchDelete) {
  struct Kind { TStatement select, search, add, remove; };
  const Kind kinds[] = {
      {Statements::kSelectLectures, Statements::kSearchLectures, Statements::kAddLecture, Statements::kDeleteLecture},
      {Statements::kSelectLabs, Statements::kSearchLabs, Statements::kAddLab, Statements::kDeleteLab},
      {Statements::kSelectVideos, Statements::kSearchVideos, Statements::kAddVideo, Statements::kDeleteVideo}};
  for (const Kind& kind : kinds) {
    AddMaterial(kind.add, "Алгоритмы и исполнители", Variant("a.htm"));
    AddMaterial(kind.add, "Системы счисления", Variant("b.htm"));
    AddMaterial(kind.add, "Копия: алгоритмы", Variant("a.htm"));
    AddMaterial(kind.add, "Без адреса", Variant());
    AddMaterial(kind.add, "O'Reilly 100% \"точно\"", Variant("c.htm"));
    EXPECT_EQ(All(kind.select), (Strings{"Алгоритмы и исполнители", "Системы счисления", "Копия: алгоритмы",
                                         "Без адреса", "O'Reilly 100% \"точно\""}));
    EXPECT_EQ(All(kind.select, 1), (Strings{"a.htm", "b.htm", "a.htm", "", "c.htm"}));
    // Case-insensitive for Cyrillic; the text with quotes and "%" is a value, never part of the statement.
    EXPECT_EQ(Search(kind.search, "АЛГОРИТМ"), (Strings{"Алгоритмы и исполнители", "Копия: алгоритмы"}));
    EXPECT_EQ(Search(kind.search, "O'Reilly 100% \"т"), (Strings{"O'Reilly 100% \"точно\""}));
    EXPECT_EQ(Search(kind.search, "' or 1=1 --"), Strings{});
    EXPECT_EQ(Search(kind.search, "с_ст"), (Strings{"Системы счисления"}));  // "_" is a wildcard
    EXPECT_EQ(Search(kind.search, "").size(), 5u);
    // Reopening reruns the statement with its parameter: the search stays in force.
    Query_.Close();
    Query_.Open();
    EXPECT_EQ(Query_.RecordCount(), 5);
    // Deleting by address removes every row with that address; a null address is never matched.
    LoadStatement(Query_, kind.remove);
    Query_.ParamByName("a1").SetValue(Variant("a.htm"));
    EXPECT_EQ(Query_.ExecSQL(), 2);
    Query_.ParamByName("a1").SetValue(Variant());
    EXPECT_EQ(Query_.ExecSQL(), 0);
    EXPECT_EQ(All(kind.select), (Strings{"Системы счисления", "Без адреса", "O'Reilly 100% \"точно\""}));
  }
}

TEST_F(StatementsTest, NullTitleMatchesNoSearch) {
  AddMaterial(Statements::kAddLecture, "Есть", Variant("x"));
  Db_.Exec("insert into Лекции(АдресЛекции) values ('y')");
  EXPECT_EQ(Search(Statements::kSearchLectures, ""), Strings{"Есть"});
  EXPECT_EQ(All(Statements::kSelectLectures), (Strings{"Есть", ""}));
}

// A search runs through the connection on long titles and long searches too.
TEST_F(StatementsTest, SearchThroughTheConnection) {
  const std::string huge = std::string(1 << 20, 'a') + "b";
  for (const std::string& title : {std::string("Алгоритмы"), std::string("Циклы 100%"), huge})
    AddMaterial(Statements::kAddLecture, title, Variant("x.htm"));
  const auto count = [&](const std::string& text) { return Search(Statements::kSearchLectures, text).size(); };
  EXPECT_EQ(count(std::string(4096, 'A') + "B"), 1u);
  EXPECT_EQ(count("АЛГОРИТМ"), 1u);
  EXPECT_EQ(count(""), 3u);
  EXPECT_EQ(count("%"), 3u);
  EXPECT_EQ(count("_"), 3u);
  EXPECT_EQ(count("0%"), 1u);  // the user's "%" is a wildcard, as the engine's Like has it
  EXPECT_EQ(count("ы 1_0"), 1u);
  EXPECT_EQ(count("нет такого"), 0u);
  // The compiled pattern is kept per statement; a new value recompiles it.
  EXPECT_EQ(count("цикл"), 1u);
  EXPECT_EQ(count("алгоритм"), 1u);
}

TEST_F(StatementsTest, ResultsStoredAndViewedPerUser) {
  for (auto [user, score] : {std::pair{"Иванов", 12}, {"Admin", 30}, {"иванов", 3}, {"Петров", 0}}) {
    LoadStatement(Query_, Statements::kStoreResult);
    Query_.ParamByName("a1").SetValue(Variant(user));
    Query_.ParamByName("a2").SetValue(Variant(score));
    Query_.ExecSQL();
  }
  EXPECT_EQ(All(Statements::kSelectResults, 1), (Strings{"12", "30", "3", "0"}));
  EXPECT_EQ(Query_.FieldCount(), 2);
  EXPECT_EQ(Query_.FieldByName("Верно").DataType(), TFieldType::ftInteger);
  LoadStatement(Query_, Statements::kSelectResults);
  Query_.SQL().Add(std::string(Statements::kResultsOfUser));
  // Exactly the login asked for: "иванов" and "ИВАНОВ" are other logins.
  Query_.ParamByName("a").SetValue(Variant("Иванов"));
  Query_.Open();
  EXPECT_EQ(ColumnOf(Query_, 1), (Strings{"12"}));
  EXPECT_EQ(Query_.RecordCount(), 1);
  Query_.Close();
  Query_.ParamByName("a").SetValue(Variant("ИВАНОВ"));
  Query_.Open();
  EXPECT_EQ(Query_.RecordCount(), 0);
  // A score that is not a number is refused by the engine.
  LoadStatement(Query_, Statements::kStoreResult);
  Query_.ParamByName("a1").SetValue(Variant("x"));
  Query_.ParamByName("a2").SetValue(Variant("abc"));
  EXPECT_EQ(ErrorOf<EDatabaseError>([&] { Query_.ExecSQL(); }),
            TestDatabase::OnServer()
                ? "Сервер базы данных отклонил действие: invalid input syntax for type integer: \"abc\""
                : "cannot store TEXT value in INTEGER column Тесты.Верно");
}

TEST_F(StatementsTest, UsersAddDeleteAndAdministratorPasswordChange) {
  auto addUser = [&](const char* login, const char* password, const char* group) {
    LoadStatement(Query_, Statements::kAddUser);
    ASSERT_EQ(Query_.Parameters().Count(), 3);
    Query_.ParamByName("a1").SetValue(Variant(login));
    Query_.ParamByName("a2").SetValue(Variant(password));
    Query_.ParamByName("a3").SetValue(Variant(group));
    Query_.ExecSQL();
  };
  auto deleteUser = [&](const char* login, const char* password) {
    LoadStatement(Query_, Statements::kDeleteUser);
    Query_.ParamByName("a1").SetValue(Variant(login));
    Query_.ParamByName("a2").SetValue(Variant(password));
    return Query_.ExecSQL();
  };
  addUser("Admin", "admin", "");
  addUser("Иванов", "пароль1", "9А");
  addUser("Петров", "qwerty", "");
  addUser("Иванов", "другой", "9Б");  // a duplicate login is a second row
  EXPECT_EQ(All(Statements::kSelectLogins), (Strings{"Admin", "Иванов", "Петров", "Иванов"}));
  EXPECT_EQ(All(Statements::kSelectPasswords), (Strings{"admin", "пароль1", "qwerty", "другой"}));
  EXPECT_EQ(deleteUser("Иванов", "неверный"), 0);
  EXPECT_EQ(deleteUser("Иванов", "пароль1"), 1);
  // The administrator's password is replaced: delete with the old one, insert with the new.
  EXPECT_EQ(deleteUser("Admin", "wrong"), 0);
  EXPECT_EQ(deleteUser("Admin", "admin"), 1);
  addUser("Admin", "новый", "");
  EXPECT_EQ(All(Statements::kSelectLogins), (Strings{"Петров", "Иванов", "Admin"}));
  EXPECT_EQ(All(Statements::kSelectPasswords), (Strings{"qwerty", "другой", "новый"}));
}

TEST_F(StatementsTest, TesterColumnsPairByRowAndQuestionSearch) {
  TADOQuery insert(&Db_.Connection());
  insert.SQL().Add("insert into БДТест values (:q, :o1, :o2, :o3, :o4, :o5, :r)");
  for (int i = 0; i < 50; ++i) {
    insert.ParamByName("q").SetValue(Variant("Вопрос " + std::to_string(i)));
    for (int k = 1; k <= 5; ++k) insert.ParamByName(kOptionNames[k - 1]).SetValue(Variant(std::to_string(i) + "/" + std::to_string(k)));
    insert.ParamByName("r").SetValue(i % 7 == 0 ? Variant() : Variant(std::to_string(i % 5 + 1)));  // text "3" stored as 3
    insert.ExecSQL();
  }
  // Deleting and re-adding rows must not break the pairing of the separate selects.
  Db_.Exec("delete from БДТест where ОтветПр = 2");
  insert.ParamByName("q").SetValue(Variant("Вопрос new"));
  insert.ParamByName("r").SetValue(Variant(4));
  insert.ExecSQL();

  const Strings questions = All(Statements::kSelectQuestionTexts);
  std::vector<Strings> answers;
  for (const TStatement& s : Statements::kSelectAnswers) answers.push_back(All(s));
  const Strings correct = All(Statements::kSelectCorrectAnswers);
  ASSERT_EQ(questions.size(), correct.size());
  LoadStatement(Query_, Statements::kSelectAllQuestions);
  Query_.Open();
  ASSERT_EQ(Query_.RecordCount(), static_cast<int>(questions.size()));
  for (size_t i = 0; i < questions.size(); ++i) {
    Query_.SetRecNo(static_cast<int>(i) + 1);
    EXPECT_EQ(questions[i], Query_.FieldByName("Вопрос").AsString());
    for (int k = 0; k < 5; ++k) EXPECT_EQ(answers[static_cast<size_t>(k)][i], Query_.Fields(k + 1).AsString());
    EXPECT_EQ(correct[i], Query_.FieldByName("ОтветПр").AsString());
  }
  EXPECT_EQ(correct[0], "");  // null reads as the empty text
  EXPECT_EQ(Search(Statements::kSearchQuestions, "вопрос 4").size(), 9u);  // 4, 40 … 49 less 41 and 46
  EXPECT_EQ(Search(Statements::kSearchQuestions, "NEW"), Strings{"Вопрос new"});
}

TEST_F(StatementsTest, UsersFilterAndLocate) {
  Db_.Exec("insert into Пользователи values ('Admin','1',''), ('O''Brien','2','9А'), ('Ёжиков','3',null), ('Петров','4','')");
  TADOTable table(&Db_.Connection(), std::string(Statements::kUsersTable));
  table.Open();
  EXPECT_EQ(Statements::UsersFilter("O'Brien"), "Логин = 'O''Brien'");
  // Logins compare exactly, as the engine's `=` on that column does.
  table.SetFilter(Statements::UsersFilter("o'brien"));
  table.SetFiltered(true);
  EXPECT_EQ(table.RecordCount(), 0);
  table.SetFilter(Statements::UsersFilter("O'Brien"));
  ASSERT_EQ(table.RecordCount(), 1);
  EXPECT_EQ(table.FieldByName("Логин").AsString(), "O'Brien");
  table.SetFilter(Statements::UsersFilter(""));
  EXPECT_EQ(table.RecordCount(), 0);
  // Groups ignore case, Cyrillic letters included.
  table.SetFilter("Группа = '9а'");
  EXPECT_EQ(table.RecordCount(), 1);
  // The filter stays in force across reopening.
  table.SetFilter(Statements::UsersFilter("Ёжиков"));
  table.Close();
  table.Open();
  ASSERT_EQ(table.RecordCount(), 1);
  EXPECT_EQ(table.FieldByName("Группа").AsString(), "");
  table.SetFiltered(false);
  EXPECT_EQ(table.RecordCount(), 4);
  EXPECT_TRUE(table.Locate("Логин", Variant("Петров")));
  EXPECT_EQ(table.RecNo(), 4);
  EXPECT_FALSE(table.Locate("Логин", Variant("ПЕТРОВ")));
  EXPECT_FALSE(table.Locate("Логин", Variant("Сидоров")));
  EXPECT_EQ(table.RecNo(), 4);  // stays where it was
  EXPECT_TRUE(table.Locate("Логин", Variant("O'B"), static_cast<unsigned>(TLocateOption::loPartialKey)));
  EXPECT_EQ(table.RecNo(), 2);
  EXPECT_FALSE(table.Locate("Логин", Variant("o'b"), static_cast<unsigned>(TLocateOption::loPartialKey)));
  // Asked for, any letter case.
  EXPECT_TRUE(table.Locate("Логин", Variant("ёЖИКОВ"), static_cast<unsigned>(TLocateOption::loCaseInsensitive)));
  EXPECT_EQ(table.RecNo(), 3);
  EXPECT_FALSE(table.Locate("Логин", Variant("")));
  EXPECT_THROW(table.Locate("Нет", Variant("x")), EDatabaseError);
}

TEST_F(StatementsTest, WorkingDirectoryResolvesTheDataSource) {
  SKIP_UNLESS_FILE();
  const auto old = std::filesystem::current_path();
  std::filesystem::current_path(Db_.Folder());
  TADOConnection connection{std::string(ConnectionSettings::kConnectionString)};
  connection.Open();
  std::filesystem::current_path(old);
  EXPECT_EQ(connection.DatabasePath(), Db_.Path());
  TADOQuery query(&connection);
  LoadStatement(query, Statements::kSelectLogins);
  query.Open();
  EXPECT_EQ(query.RecordCount(), 0);
  EXPECT_TRUE(query.Eof());
  EXPECT_TRUE(query.Bof());
}
