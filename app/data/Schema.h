#pragma once
// The six tables of the textbook database. Columns are STRICT-typed: text columns
// compare with NOCASE (which the connection folds for Cyrillic too), the correct
// answer number and the score are integers, so the engine refuses anything else.
// Rows are identified by the engine's row id: no key column the windows would show.
#include <array>
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

// The statement that creates all six tables.
std::string_view CreateTablesSql();
void CreateTables(TADOConnection& connection);
// Raises the engine's error ("no such table: ...") when a table is missing.
void CheckTables(TADOConnection& connection);
}  // namespace Schema
