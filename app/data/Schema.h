#pragma once
// The six tables of the textbook database. Columns are STRICT-typed: text columns
// compare with NOCASE (which the connection folds for Cyrillic too), except the
// password, which compares exactly (BINARY); the correct answer number and the
// score are integers, so the engine refuses anything else.
// Rows are identified by the engine's row id: no key column the windows would show.
#include <array>
#include <string>
#include <string_view>

class TADOConnection;

namespace Schema {
inline constexpr std::string_view kUsers = "Пользователи";
inline constexpr std::string_view kQuestions = "БДТест";
inline constexpr std::string_view kResults = "Тесты";
inline constexpr std::string_view kLectures = "Лекции";
inline constexpr std::string_view kLabs = "Лабы";
inline constexpr std::string_view kVideos = "Видео";
inline constexpr std::array<std::string_view, 6> kTables = {kUsers, kQuestions, kResults, kLectures, kLabs, kVideos};
inline constexpr std::string_view kPasswordColumn = "Пароль";

// The statement that creates all six tables.
std::string_view CreateTablesSql();
void CreateTables(TADOConnection& connection);
// Raises the engine's error ("no such table: ...") when a table is missing.
void CheckTables(TADOConnection& connection);

// True when `Пароль` compares exactly, or when there is no such column to upgrade.
bool PasswordsCompareExactly(TADOConnection& connection);
// Files made before passwords compared exactly declare `Пароль` with NOCASE, so
// "ADMIN" would delete the row of the password "admin". This rebuilds the users
// table with the password column BINARY, in one transaction that keeps every row
// with its row id, the table's other columns and options, its indexes and its
// triggers. Nothing happens when the column already compares exactly, or when
// the file is not sound (a table or the column missing, a failed quick check):
// the windows' own statements report that with the engine's words. When the
// file cannot be written or any step fails, the file is left exactly as it was and
// EDatabaseError says so, with the engine's reason.
void UpgradePasswordCollation(TADOConnection& connection);

// The users table's CREATE statement with the password column declared
// "collate binary" (any collation it had removed) and the table named newName.
// Raises EDatabaseError when the statement has no such column.
std::string WithBinaryPasswords(std::string_view createSql, std::string_view newName);
}  // namespace Schema
