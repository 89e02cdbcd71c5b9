#pragma once
// Every statement the windows issue, line by line, exactly as written: the spaces
// inside and at the ends of the lines are part of them.
#include <array>
#include <initializer_list>
#include <string>
#include <string_view>

class TADOQuery;

struct TStatement {
  std::array<std::string_view, 2> Lines{};
  int Count = 0;
};

namespace Statements {
inline constexpr TStatement One(std::string_view line) { return {{line, {}}, 1}; }
inline constexpr TStatement Two(std::string_view a, std::string_view b) { return {{a, b}, 2}; }

// Login window.
inline constexpr TStatement kSelectLogins = One("select Логин from Пользователи");
inline constexpr TStatement kSelectPasswords = One("select Пароль from Пользователи");
// Each login with its own row's password, in one statement: two selects paired by
// row position break as soon as the engine walks an index for one of them.
inline constexpr TStatement kSelectAccounts = One("select Логин, Пароль from Пользователи");
// On a server: 2 when the first row with login a1 has password a2, 1 when its
// password differs, 0 when no row has that login (app/data/ServerSchema.h).
inline constexpr TStatement kCheckLogin = One("select tb_check_login(:a1, :a2)");
// On a server, after a successful check: the token results of login a1 are
// stored with (null for a wrong password).
inline constexpr TStatement kResultToken = One("select tb_result_token(:a1, :a2)");

// Tester: one select per column, paired by row position.
inline constexpr TStatement kSelectQuestionTexts = One("select Вопрос from БДТест");
inline constexpr std::array<TStatement, 5> kSelectAnswers = {
    One("select Ответ1 from БДТест"), One("select Ответ2 from БДТест"), One("select Ответ3 from БДТест"),
    One("select Ответ4 from БДТест"), One("select Ответ5 from БДТест")};
inline constexpr TStatement kSelectCorrectAnswers = One("select ОтветПр from БДТест");
// Tester: every column of a question row read by one statement, so the values
// of one row stay together whatever order the engine walks the table in.
inline constexpr TStatement kSelectQuestionRows =
    One("select Вопрос, Ответ1, Ответ2, Ответ3, Ответ4, Ответ5, ОтветПр from БДТест");
inline constexpr TStatement kStoreResult = Two("Insert into Тесты(Пользователь,Верно)", "values(:a1,:a2)");
// On a server the result goes with its token and its key: stored (1) only under
// the login the token was given to, and once however often it is sent (0 when
// the key is there already; app/data/ResultStore.h).
inline constexpr TStatement kStoreHandIn = One("select tb_store_result(:t, :a1, :a2, :k)");

// Test bank editor.
inline constexpr TStatement kSelectAllQuestions = One("select * from БДТест");
inline constexpr TStatement kSearchQuestions = Two("select * from БДТест", "where Вопрос  Like :a ");

// Results.
inline constexpr TStatement kSelectResults = One("select * from Тесты");
inline constexpr std::string_view kResultsOfUser = "where Пользователь= :a";

// Materials browser.
inline constexpr TStatement kSelectLectures = One("select * from Лекции");
inline constexpr TStatement kSelectLabs = One("select * from Лабы");
inline constexpr TStatement kSelectVideos = One("select * from Видео");
inline constexpr TStatement kSearchLectures = Two("select * from Лекции", "where НазваниеЛекции  Like :a ");
inline constexpr TStatement kSearchLabs = Two("select * from Лабы", "where НазваниеЛабы Like :a ");
inline constexpr TStatement kSearchVideos = Two("select * from Видео", "where НазваниеВидео Like :a ");
inline constexpr TStatement kAddLecture = Two("Insert into Лекции(НазваниеЛекции,АдресЛекции)", "values(:a1,:a2)");
inline constexpr TStatement kAddLab = Two("Insert into Лабы(НазваниеЛабы,АдресЛабы)", "values(:a1,:a2)");
inline constexpr TStatement kAddVideo = Two("Insert into Видео(НазваниеВидео,АдресВидео)", "values(:a1,:a2)");
inline constexpr TStatement kDeleteLecture = Two("delete from Лекции ", "where АдресЛекции=:a1");
inline constexpr TStatement kDeleteLab = Two("delete from Лабы ", "where АдресЛабы=:a1");
inline constexpr TStatement kDeleteVideo = Two("delete from Видео ", "where АдресВидео=:a1");

// User administration.
inline constexpr std::string_view kUsersTable = "Пользователи";
inline constexpr TStatement kAddUser = One("insert into Пользователи(Логин, Пароль, Группа) values (:a1,:a2,:a3 )");
inline constexpr TStatement kDeleteUser = Two("delete from Пользователи ", "where Логин= :a1 and Пароль= :a2 ");
inline constexpr std::string_view kAdminLogin = "Admin";

// "%" + text + "%": the value of a search's parameter.
std::string SearchPattern(std::string_view text);
// "Логин = 'text'" with every single quote inside doubled.
std::string UsersFilter(std::string_view login);
}  // namespace Statements

// The statement pattern: close the dataset, clear its text and parameters, append
// the statement's lines. The caller then sets the parameters and opens or executes.
void LoadStatement(TADOQuery& query, const TStatement& statement);
