#include "app/data/Schema.h"

#include <cctype>
#include <string>
#include <vector>

#include "app/data/ServerSchema.h"
#include "data/TADOConnection.h"
#include "data/TADOQuery.h"
#include "data/TDbEngine.h"
#include "platform/base/Exception.h"

namespace Schema {

std::string CreateTablesSql() {
  std::string sql;
  for (std::size_t i = 0; i < kColumns.size(); ++i) {
    const TColumn& c = kColumns[i];
    if (i == 0 || kColumns[i - 1].Table != c.Table) sql += "create table " + std::string(c.Table) + " (\n";
    sql += "  " + std::string(c.Name) + " " + std::string(c.Type);
    if (!c.Collation.empty()) sql += " collate " + std::string(c.Collation);
    sql += i + 1 == kColumns.size() || kColumns[i + 1].Table != c.Table ? "\n) strict;\n" : ",\n";
  }
  return sql;
}

void CreateTables(TADOConnection& connection) {
  const bool server = connection.Engine().Kind() == TDbEngineKind::Postgres;
  connection.ExecuteDirect("begin");
  try {
    connection.ExecuteDirect(server ? ServerSchema::CreateTablesSql() : CreateTablesSql());
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
    query.SQL().Add("select * from " + std::string(table) + " where 1 = 0");
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
    throw EDatabaseError("unrecognized token in a table definition");
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

// Names compare as the file engine compares them: ASCII letters folded.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

// Rows of a query without parameters, every value as text ("" for null).
std::vector<std::vector<std::string>> Rows(TDbEngine& engine, const std::string& sql) {
  const auto statement = engine.Prepare(sql);
  std::vector<std::vector<std::string>> rows;
  while (statement->Step()) {
    std::vector<std::string> row;
    for (int i = 0; i < statement->ColumnCount(); ++i) {
      const Variant value = statement->ColumnValue(i);
      row.push_back(value.IsNull() ? std::string() : value.AsString());
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

void Exec(TDbEngine& engine, const std::string& sql) { engine.ExecuteDirect(sql); }

// The CREATE statement of a table (its name compared as the engine does), or ""
// when there is none or the schema cannot be read (a damaged file is left to
// the windows' own errors).
std::string TableDefinition(TDbEngine& engine, std::string_view table) {
  try {
    for (const auto& row : Rows(engine, "select name, sql from sqlite_schema where type = 'table'"))
      if (SameName(row.at(0), table)) return row.at(1);
  } catch (const EDatabaseError&) {
  }
  return {};
}

// The declared collation of a column ("BINARY" when none is declared), read from
// its table's definition, or "" when there is no such table or column. The
// column's own "collate NAME" stands at the top level of its definition; one
// inside parentheses belongs to an expression (a check, a generated value).
std::string ColumnCollation(TDbEngine& engine, std::string_view table, std::string_view column) {
  const std::string sql = TableDefinition(engine, table);
  if (sql.empty()) return {};
  const std::vector<TToken> tokens = Tokens(sql);
  std::size_t i = 0;
  while (i < tokens.size() && tokens[i].Kind != '(') ++i;
  std::string wanted(column);
  for (char& ch : wanted)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch + 32);
  std::size_t depth = 0;
  bool atElementStart = true, inColumn = false;
  std::string collation;
  for (++i; i < tokens.size(); ++i) {
    const TToken& t = tokens[i];
    if (t.Kind == '(') {
      ++depth;
    } else if (t.Kind == ')') {
      if (depth == 0) break;
      --depth;
    } else if (t.Kind == ',' && depth == 0) {
      if (inColumn) break;
      atElementStart = true;
      continue;
    } else if (depth == 0 && atElementStart) {
      inColumn = t.Kind == 'w' && NameOf(sql, t) == wanted;
    } else if (depth == 0 && inColumn && t.Kind == 'w' && NameOf(sql, t) == "collate" && i + 1 < tokens.size()) {
      collation = NameOf(sql, tokens[i + 1]);
      ++i;
    }
    atElementStart = false;
  }
  if (!inColumn) return {};
  return collation.empty() ? "BINARY" : collation;
}

// The columns of one table whose collation differs from the one they should have.
std::vector<std::pair<std::string, std::string>> StaleColumns(TDbEngine& engine, std::string_view table) {
  std::vector<std::pair<std::string, std::string>> out;
  for (const TColumn& c : kColumns) {
    if (c.Table != table || c.Collation.empty()) continue;
    const std::string have = ColumnCollation(engine, c.Table, c.Name);
    if (!have.empty() && !SameName(have, c.Collation)) out.emplace_back(std::string(c.Name), std::string(c.Collation));
  }
  return out;
}

// Replaces one table by a copy whose columns compare as `columns` says: every row
// with its row id, then the table's indexes and triggers made again. Runs inside
// the caller's transaction.
void RebuildTable(TDbEngine& db, const std::string& table, const std::vector<std::pair<std::string, std::string>>& columns) {
  const std::string work = table + "_upgrade";
  const auto create = Rows(db, "select sql from sqlite_schema where type = 'table' and name = " + Quoted(table, '\''));
  if (create.empty()) throw EDatabaseError("no such table: " + table);
  const auto extras = Rows(db, "select sql from sqlite_schema where tbl_name = " + Quoted(table, '\'') +
                                   " and type in ('index', 'trigger') and sql is not null");
  bool withoutRowid = false;
  for (const auto& row : Rows(db, "select name, wr from pragma_table_list where schema = 'main'"))
    if (row.at(0) == table) withoutRowid = row.at(1) == "1";
  std::string names;
  bool rowidNamed = false;  // a column called rowid hides the row id itself
  for (const auto& row : Rows(db, "select name, hidden from pragma_table_xinfo(" + Quoted(table, '\'') + ")")) {
    if (row.at(1) != "0") continue;  // generated columns fill themselves
    if (!names.empty()) names += ", ";
    names += Quoted(row.at(0));
    rowidNamed = rowidNamed || SameName(row.at(0), "rowid");
  }
  if (!withoutRowid && !rowidNamed) names = "rowid, " + names;
  const std::string before = Rows(db, "select count(*) from " + Quoted(table)).at(0).at(0);

  Exec(db, WithCollations(create.at(0).at(0), work, columns));
  Exec(db, "insert into " + Quoted(work) + " (" + names + ") select " + names + " from " + Quoted(table));
  if (Rows(db, "select count(*) from " + Quoted(work)).at(0).at(0) != before)
    throw EDatabaseError("the copy of " + table + " lost rows");
  Exec(db, "drop table " + Quoted(table));
  Exec(db, "alter table " + Quoted(work) + " rename to " + Quoted(table));
  for (const auto& row : extras) Exec(db, row.at(0));
}

}  // namespace

std::string WithCollations(std::string_view sql, std::string_view newName,
                           const std::vector<std::pair<std::string, std::string>>& columns) {
  const std::vector<TToken> tokens = Tokens(sql);
  std::size_t open = 0;
  while (open < tokens.size() && tokens[open].Kind != '(') ++open;
  if (open == tokens.size()) throw EDatabaseError("no column list in the definition of " + std::string(newName));
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
  if (close == tokens.size()) throw EDatabaseError("unterminated column list in the definition of " + std::string(newName));

  // The collation a column element gets, or null when it is left as it is.
  auto targetOf = [&](std::size_t from, std::size_t to) -> const std::string* {
    if (from >= to || tokens[from].Kind != 'w') return nullptr;
    const std::string name = NameOf(sql, tokens[from]);
    for (const auto& [column, collation] : columns) {
      std::string folded = column;
      for (char& ch : folded)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch + 32);
      if (folded == name) return &collation;
    }
    return nullptr;
  };

  // Each element keeps its own text (spaces and comments included); only the
  // named columns lose any "collate NAME" and gain their own.
  std::string body;
  std::size_t textFrom = tokens[open].End;
  for (const auto& [from, to] : elements) {
    const std::size_t textTo = tokens[to].Begin;
    const std::string* target = targetOf(from, to);
    if (!target) {
      body += std::string(sql.substr(textFrom, textTo - textFrom));
    } else {
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
      body += " collate " + *target + std::string(sql.substr(columnEnd, textTo - columnEnd));
    }
    if (to != close) body += ",";
    textFrom = tokens[to].End;
  }
  const std::string tail(sql.substr(tokens[close].End));
  return "create table " + Quoted(newName) + " (" + body + ")" + tail;
}

bool IsCurrent(TADOConnection& connection) {
  // A server's tables are made by textbook-db as they must be from the start.
  if (connection.Engine().Kind() == TDbEngineKind::Postgres) return true;
  for (std::string_view table : kTables)
    if (!StaleColumns(connection.Engine(), table).empty()) return false;
  return true;
}

void Upgrade(TADOConnection& connection) {
  if (IsCurrent(connection)) return;
  TDbEngine& db = connection.Engine();
  // Only a sound file is upgraded: with a table missing or damaged pages the
  // windows report the engine's own error, and the file must stay as it was.
  for (std::string_view table : kTables)
    if (TableDefinition(db, table).empty()) return;
  try {
    if (Rows(db, "pragma quick_check").at(0).at(0) != "ok") return;
  } catch (const std::exception&) {
    return;
  }
  if (db.InTransaction()) throw EDatabaseError(std::string(kUpgradeFailed) + "a transaction is already open");

  // Foreign keys must be off while a table is replaced (a connection setting,
  // outside the transaction); renaming must not touch views and triggers. A
  // read-only file refuses the transaction itself.
  const bool foreignKeys = Rows(db, "pragma foreign_keys").at(0).at(0) == "1";
  const bool legacyAlter = Rows(db, "pragma legacy_alter_table").at(0).at(0) == "1";
  auto quietly = [&](const char* sql) {
    try {
      db.ExecuteDirect(sql);
    } catch (const std::exception&) {
    }
  };
  auto restore = [&] {
    if (!legacyAlter) quietly("pragma legacy_alter_table = off");
    if (foreignKeys) quietly("pragma foreign_keys = on");
  };
  try {
    if (foreignKeys) Exec(db, "pragma foreign_keys = off");
    if (!legacyAlter) Exec(db, "pragma legacy_alter_table = on");
    Exec(db, "begin immediate");
    try {
      for (std::string_view table : kTables) {
        const auto stale = StaleColumns(db, table);
        if (!stale.empty()) RebuildTable(db, std::string(table), stale);
      }
      // Indexes that name NOCASE themselves were built by the program's old
      // replacement of it: build them again with the engine's own.
      Exec(db, "reindex nocase");
      if (!IsCurrent(connection)) throw EDatabaseError("a column still compares the old way");
      if (foreignKeys && !Rows(db, "pragma foreign_key_check").empty()) throw EDatabaseError("FOREIGN KEY constraint failed");
      Exec(db, "commit");
    } catch (...) {
      quietly("rollback");
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
