#include "app/data/Schema.h"

#include <sqlite3.h>

#include <cctype>
#include <string>
#include <vector>

#include "data/TADOConnection.h"
#include "data/TADOQuery.h"
#include "platform/base/Exception.h"

namespace Schema {

std::string_view CreateTablesSql() {
  return R"(create table Пользователи (
  Логин text collate nocase,
  Пароль text collate binary,
  Группа text collate nocase
) strict;
create table БДТест (
  Вопрос text collate nocase,
  Ответ1 text collate nocase,
  Ответ2 text collate nocase,
  Ответ3 text collate nocase,
  Ответ4 text collate nocase,
  Ответ5 text collate nocase,
  ОтветПр integer
) strict;
create table Тесты (
  Пользователь text collate nocase,
  Верно integer
) strict;
create table Лекции (
  НазваниеЛекции text collate nocase,
  АдресЛекции text collate nocase
) strict;
create table Лабы (
  НазваниеЛабы text collate nocase,
  АдресЛабы text collate nocase
) strict;
create table Видео (
  НазваниеВидео text collate nocase,
  АдресВидео text collate nocase
) strict;
)";
}

void CreateTables(TADOConnection& connection) {
  connection.ExecuteDirect("begin");
  try {
    connection.ExecuteDirect(std::string(CreateTablesSql()));
    connection.ExecuteDirect("commit");
  } catch (...) {
    connection.ExecuteDirect("rollback");
    throw;
  }
}

void CheckTables(TADOConnection& connection) {
  TADOQuery query(&connection);
  for (std::string_view table : kTables) {
    query.SQL().Clear();
    query.SQL().Add("select * from " + std::string(table) + " where 0");
    query.Open();
  }
}

namespace {

// --- Reading the CREATE statement, token by token ---------------------------

struct TToken {
  std::size_t Begin, End;  // bytes of the statement
  char Kind;               // '(' ')' ',' 'w' (word or quoted name), 's' (string), 'o' (other)
};

std::vector<TToken> Tokens(std::string_view sql) {
  std::vector<TToken> out;
  std::size_t i = 0;
  auto closeQuoted = [&](char close) {  // a doubled closing quote stands for itself
    std::size_t j = i + 1;
    while (j < sql.size()) {
      if (sql[j] == close) {
        if (close != ']' && j + 1 < sql.size() && sql[j + 1] == close) {
          j += 2;
          continue;
        }
        return j + 1;
      }
      ++j;
    }
    throw EDatabaseError("unrecognized token in the definition of Пользователи");
  };
  while (i < sql.size()) {
    const char c = sql[i];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++i;
    } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      while (i < sql.size() && sql[i] != '\n') ++i;
    } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
      const std::size_t end = sql.find("*/", i + 2);
      i = end == std::string_view::npos ? sql.size() : end + 2;
    } else if (c == '(' || c == ')' || c == ',') {
      out.push_back({i, i + 1, c});
      ++i;
    } else if (c == '\'') {
      const std::size_t end = closeQuoted('\'');
      out.push_back({i, end, 's'});
      i = end;
    } else if (c == '"' || c == '`' || c == '[') {
      const std::size_t end = closeQuoted(c == '[' ? ']' : c);
      out.push_back({i, end, 'w'});
      i = end;
    } else if (static_cast<unsigned char>(c) >= 0x80 || std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$') {
      std::size_t j = i;
      while (j < sql.size() && (static_cast<unsigned char>(sql[j]) >= 0x80 || std::isalnum(static_cast<unsigned char>(sql[j])) ||
                                sql[j] == '_' || sql[j] == '$'))
        ++j;
      out.push_back({i, j, 'w'});
      i = j;
    } else {
      out.push_back({i, i + 1, 'o'});
      ++i;
    }
  }
  return out;
}

// A name as the engine compares it: quotes removed, ASCII letters folded.
std::string NameOf(std::string_view sql, const TToken& t) {
  std::string_view text = sql.substr(t.Begin, t.End - t.Begin);
  std::string out;
  if (!text.empty() && (text.front() == '"' || text.front() == '`' || text.front() == '[')) {
    const char close = text.front() == '[' ? ']' : text.front();
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
      out += text[i];
      if (text[i] == close && close != ']') ++i;  // doubled quote
    }
  } else {
    out = std::string(text);
  }
  for (char& ch : out)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch + 32);
  return out;
}

// A name or a text literal for a statement, its own quotes doubled.
std::string Quoted(std::string_view name, char quote = '"') {
  std::string out(1, quote);
  for (char c : name) {
    out += c;
    if (c == quote) out += c;
  }
  return out + quote;
}

// --- Small engine helpers -----------------------------------------------------

std::string ColumnCollation(sqlite3* db) {
  const char* collation = nullptr;
  const std::string table(kUsers), column(kPasswordColumn);
  if (sqlite3_table_column_metadata(db, "main", table.c_str(), column.c_str(), nullptr, &collation, nullptr, nullptr,
                                    nullptr) != SQLITE_OK)
    return {};
  return collation ? collation : "BINARY";
}

// Rows of a query without parameters, every value as text ("" for null).
std::vector<std::vector<std::string>> Rows(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) throw EDatabaseError(sqlite3_errmsg(db));
  std::vector<std::vector<std::string>> rows;
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    std::vector<std::string> row;
    for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
      row.emplace_back(text ? text : "");
    }
    rows.push_back(std::move(row));
  }
  const std::string message = sqlite3_errmsg(db);
  sqlite3_finalize(stmt);
  if (rc != SQLITE_DONE) throw EDatabaseError(message);
  return rows;
}

void Exec(sqlite3* db, const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = error ? error : sqlite3_errmsg(db);
    sqlite3_free(error);
    throw EDatabaseError(message);
  }
}

constexpr std::string_view kUpgradeFailed =
    "Не удалось обновить базу данных, чтобы пароли сравнивались с учетом регистра букв; файл оставлен без изменений: ";
constexpr std::string_view kUpgradeTable = "Пользователи_upgrade";

}  // namespace

std::string WithBinaryPasswords(std::string_view sql, std::string_view newName) {
  const std::vector<TToken> tokens = Tokens(sql);
  std::size_t open = 0;
  while (open < tokens.size() && tokens[open].Kind != '(') ++open;
  if (open == tokens.size()) throw EDatabaseError("no column list in the definition of Пользователи");
  // The column list: elements split at commas outside inner parentheses.
  std::vector<std::pair<std::size_t, std::size_t>> elements;  // token ranges
  std::size_t depth = 0, start = open + 1, close = tokens.size();
  for (std::size_t i = open + 1; i < tokens.size(); ++i) {
    if (tokens[i].Kind == '(') ++depth;
    else if (tokens[i].Kind == ')' && depth > 0) --depth;
    else if (tokens[i].Kind == ')') {
      elements.emplace_back(start, i);
      close = i;
      break;
    } else if (tokens[i].Kind == ',' && depth == 0) {
      elements.emplace_back(start, i);
      start = i + 1;
    }
  }
  if (close == tokens.size()) throw EDatabaseError("unterminated column list in the definition of Пользователи");

  // Each element keeps its own text (spaces and comments included); only the
  // password column loses any "collate NAME" and gains ours.
  const std::string target(kPasswordColumn);
  std::string body;
  bool found = false;
  std::size_t textFrom = tokens[open].End;
  for (const auto& [from, to] : elements) {
    const std::size_t textTo = tokens[to].Begin;
    const bool isPassword = from < to && tokens[from].Kind == 'w' && NameOf(sql, tokens[from]) == target;
    if (!isPassword) {
      body += std::string(sql.substr(textFrom, textTo - textFrom));
    } else {
      found = true;
      const std::size_t columnEnd = tokens[to - 1].End;
      std::size_t copied = textFrom;
      for (std::size_t i = from; i + 1 < to; ++i) {
        if (tokens[i].Kind == 'w' && NameOf(sql, tokens[i]) == "collate") {
          body += std::string(sql.substr(copied, tokens[i].Begin - copied));
          copied = tokens[i + 1].End;
          while (copied < columnEnd && sql[copied] == ' ') ++copied;
          ++i;
        }
      }
      body += std::string(sql.substr(copied, columnEnd - copied));
      while (!body.empty() && body.back() == ' ') body.pop_back();
      body += " collate binary" + std::string(sql.substr(columnEnd, textTo - columnEnd));
    }
    if (to != close) body += ",";
    textFrom = tokens[to].End;
  }
  if (!found) throw EDatabaseError("no such column: " + target);
  const std::string tail(sql.substr(tokens[close].End));
  return "create table " + Quoted(newName) + " (" + body + ")" + tail;
}

bool PasswordsCompareExactly(TADOConnection& connection) {
  const std::string collation = ColumnCollation(connection.Handle());
  return collation.empty() || sqlite3_stricmp(collation.c_str(), "BINARY") == 0;
}

void UpgradePasswordCollation(TADOConnection& connection) {
  sqlite3* db = connection.Handle();
  if (!db) throw EDatabaseError("Operation is not allowed when the object is closed.");
  if (PasswordsCompareExactly(connection)) return;
  // Only a sound file is upgraded: with a table missing or damaged pages the
  // windows report the engine's own error, and the file must stay as it was.
  for (std::string_view table : kTables) {
    const std::string name(table);
    if (sqlite3_table_column_metadata(db, "main", name.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr) !=
        SQLITE_OK)
      return;
  }
  try {
    if (Rows(db, "pragma quick_check").at(0).at(0) != "ok") return;
  } catch (const std::exception&) {
    return;
  }
  if (sqlite3_db_readonly(db, "main") == 1) throw EDatabaseError(std::string(kUpgradeFailed) + "attempt to write a readonly database");
  if (sqlite3_get_autocommit(db) == 0) throw EDatabaseError(std::string(kUpgradeFailed) + "a transaction is already open");

  const std::string users(kUsers);
  // Foreign keys must be off while the table is replaced (a connection setting,
  // outside the transaction); renaming must not touch views and triggers.
  const bool foreignKeys = Rows(db, "pragma foreign_keys").at(0).at(0) == "1";
  const bool legacyAlter = Rows(db, "pragma legacy_alter_table").at(0).at(0) == "1";
  if (foreignKeys) Exec(db, "pragma foreign_keys = off");
  if (!legacyAlter) Exec(db, "pragma legacy_alter_table = on");
  auto restore = [&] {
    if (!legacyAlter) sqlite3_exec(db, "pragma legacy_alter_table = off", nullptr, nullptr, nullptr);
    if (foreignKeys) sqlite3_exec(db, "pragma foreign_keys = on", nullptr, nullptr, nullptr);
  };
  try {
    Exec(db, "begin immediate");
    try {
      const auto create = Rows(db, "select sql from sqlite_schema where type = 'table' and name = " + Quoted(users, '\''));
      if (create.empty()) throw EDatabaseError("no such table: " + users);
      const auto extras = Rows(db, "select sql from sqlite_schema where tbl_name = " + Quoted(users, '\'') +
                                       " and type in ('index', 'trigger') and sql is not null");
      bool withoutRowid = false;
      for (const auto& row : Rows(db, "select name, wr from pragma_table_list where schema = 'main'"))
        if (row.at(0) == users) withoutRowid = row.at(1) == "1";
      std::string columns;
      bool rowidNamed = false;  // a column called rowid hides the row id itself
      for (const auto& row : Rows(db, "select name, hidden from pragma_table_xinfo(" + Quoted(users, '\'') + ")")) {
        if (row.at(1) != "0") continue;  // generated columns fill themselves
        if (!columns.empty()) columns += ", ";
        columns += Quoted(row.at(0));
        rowidNamed = rowidNamed || sqlite3_stricmp(row.at(0).c_str(), "rowid") == 0;
      }
      if (!withoutRowid && !rowidNamed) columns = "rowid, " + columns;
      const std::string before = Rows(db, "select count(*) from " + Quoted(users)).at(0).at(0);

      Exec(db, WithBinaryPasswords(create.at(0).at(0), kUpgradeTable));
      Exec(db, "insert into " + Quoted(kUpgradeTable) + " (" + columns + ") select " + columns + " from " + Quoted(users));
      if (Rows(db, "select count(*) from " + Quoted(kUpgradeTable)).at(0).at(0) != before)
        throw EDatabaseError("the copy of Пользователи lost rows");
      Exec(db, "drop table " + Quoted(users));
      Exec(db, "alter table " + Quoted(kUpgradeTable) + " rename to " + Quoted(users));
      for (const auto& row : extras) Exec(db, row.at(0));
      if (!PasswordsCompareExactly(connection)) throw EDatabaseError("the password column still ignores letter case");
      if (foreignKeys && !Rows(db, "pragma foreign_key_check").empty()) throw EDatabaseError("FOREIGN KEY constraint failed");
      Exec(db, "commit");
    } catch (...) {
      sqlite3_exec(db, "rollback", nullptr, nullptr, nullptr);
      throw;
    }
  } catch (const std::exception& e) {
    restore();
    const std::string message = e.what();
    throw EDatabaseError(message.starts_with(kUpgradeFailed) ? message : std::string(kUpgradeFailed) + message);
  }
  restore();
}

}  // namespace Schema
