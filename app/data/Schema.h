#pragma once
// The six tables of the textbook database. Columns are STRICT-typed; every text
// column names its collation: logins, passwords and material addresses compare
// exactly (BINARY), the other texts without regard to letter case for Latin and
// Cyrillic letters (our own collation, which other tools do not have, so they
// cannot index or compare these columns in another order). The correct answer
// number and the score are integers, so the engine refuses anything else.
// Rows are identified by the engine's row id: no key column the windows would show.
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/TextCollation.h"

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

inline constexpr std::string_view kExact = "binary";
inline constexpr std::string_view kFolding = kFoldingCollation;

struct TColumn {
  std::string_view Table, Name, Type;
  std::string_view Collation;  // empty for integers
};
// Every column of the six tables, in table order.
inline constexpr std::array<TColumn, 18> kColumns = {{
    {kUsers, "Логин", "text", kExact},
    {kUsers, "Пароль", "text", kExact},
    {kUsers, "Группа", "text", kFolding},
    {kQuestions, "Вопрос", "text", kFolding},
    {kQuestions, "Ответ1", "text", kFolding},
    {kQuestions, "Ответ2", "text", kFolding},
    {kQuestions, "Ответ3", "text", kFolding},
    {kQuestions, "Ответ4", "text", kFolding},
    {kQuestions, "Ответ5", "text", kFolding},
    {kQuestions, "ОтветПр", "integer", {}},
    {kResults, "Пользователь", "text", kExact},
    {kResults, "Верно", "integer", {}},
    {kLectures, "НазваниеЛекции", "text", kFolding},
    {kLectures, "АдресЛекции", "text", kExact},
    {kLabs, "НазваниеЛабы", "text", kFolding},
    {kLabs, "АдресЛабы", "text", kExact},
    {kVideos, "НазваниеВидео", "text", kFolding},
    {kVideos, "АдресВидео", "text", kExact},
}};

// The statement that creates all six tables.
std::string CreateTablesSql();
void CreateTables(TADOConnection& connection);
// Raises the engine's error ("no such table: ...") when a table is missing.
void CheckTables(TADOConnection& connection);

// True when every text column of the six tables compares as kColumns says; a
// table or column that is missing counts as current (nothing to upgrade there).
bool IsCurrent(TADOConnection& connection);
// Files of older versions declared every text column NOCASE, which SQLite folds
// for ASCII only and which the program used to replace with its own folding, so
// an index built by another tool disagreed with the program's comparisons. This
// rebuilds every table whose text columns compare otherwise than kColumns says,
// in one transaction that keeps every row with its row id, the table's other
// columns and options, its indexes (built again, in the new order) and its
// triggers. Nothing happens when the file is current, or when it is not sound (a
// table missing, a failed quick check): the windows' own statements report that
// with the engine's words. When the file cannot be written or any step fails, the
// file is left exactly as it was and EDatabaseError says so (kUpgradeFailed and
// the engine's reason).
void Upgrade(TADOConnection& connection);
inline constexpr std::string_view kUpgradeFailed =
    "Не удалось обновить базу данных, чтобы логины, пароли и адреса сравнивались с учетом регистра букв; "
    "файл оставлен без изменений: ";

// A table's CREATE statement renamed to newName, each column named in `columns`
// declared with the collation given (any collation it had removed); columns
// that the statement lacks are skipped. Raises EDatabaseError when the
// statement cannot be read.
std::string WithCollations(std::string_view createSql, std::string_view newName,
                           const std::vector<std::pair<std::string, std::string>>& columns);
}  // namespace Schema
