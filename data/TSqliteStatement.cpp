#include "data/TSqliteStatement.h"

#include <sqlite3.h>

#include <cstdio>

#include "platform/base/Exception.h"

TSqliteStatement::TSqliteStatement(sqlite3* db, std::string_view text) : db_(db) {
  if (!db_) throw EDatabaseError("Connection cannot be used to perform this operation. It is either closed or invalid in this context.");
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(db_, text.data(), static_cast<int>(text.size()), &stmt_, &tail) != SQLITE_OK) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    Fail();
  }
  if (!stmt_) throw EDatabaseError("Command text was not set for the command object.");
  // One statement per command: a second one after ";" is refused, not run.
  for (const char* p = tail; p && p < text.data() + text.size(); ++p) {
    if (*p != ' ' && *p != '\t' && *p != '\r' && *p != '\n' && *p != ';') {
      sqlite3_finalize(stmt_);
      stmt_ = nullptr;
      throw EDatabaseError("Characters found after end of SQL statement.");
    }
  }
}

TSqliteStatement::~TSqliteStatement() { sqlite3_finalize(stmt_); }

void TSqliteStatement::Fail() const { throw EDatabaseError(sqlite3_errmsg(db_)); }

int TSqliteStatement::ParameterCount() const { return sqlite3_bind_parameter_count(stmt_); }

void TSqliteStatement::Bind(int position, const Variant& value) {
  int rc = SQLITE_OK;
  switch (value.GetKind()) {
    case Variant::Kind::Null: rc = sqlite3_bind_null(stmt_, position); break;
    case Variant::Kind::Integer: rc = sqlite3_bind_int64(stmt_, position, value.AsInteger()); break;
    case Variant::Kind::Text: {
      const std::string text = value.AsString();
      rc = sqlite3_bind_text(stmt_, position, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
      break;
    }
  }
  if (rc != SQLITE_OK) Fail();
}

bool TSqliteStatement::Step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  Fail();
}

int TSqliteStatement::ColumnCount() const { return sqlite3_column_count(stmt_); }

std::string TSqliteStatement::ColumnName(int column) const {
  const char* name = sqlite3_column_name(stmt_, column);
  return name ? name : "";
}

std::string TSqliteStatement::ColumnDeclType(int column) const {
  const char* type = sqlite3_column_decltype(stmt_, column);
  return type ? type : "";
}

bool TSqliteStatement::ColumnComparesExactly(int column) const {
  const char* database = sqlite3_column_database_name(stmt_, column);
  const char* table = sqlite3_column_table_name(stmt_, column);
  const char* origin = sqlite3_column_origin_name(stmt_, column);
  if (!database || !table || !origin) return false;
  const char* collation = nullptr;
  if (sqlite3_table_column_metadata(db_, database, table, origin, nullptr, &collation, nullptr, nullptr, nullptr) !=
      SQLITE_OK)
    return false;
  return !collation || sqlite3_stricmp(collation, "BINARY") == 0;
}

bool TSqliteStatement::ColumnText(int column, std::string_view& text) const {
  // One call that takes the connection's lock instead of three: the value is
  // read before the next step and by this thread only, as the statement is.
  sqlite3_value* value = sqlite3_column_value(stmt_, column);
  const int type = sqlite3_value_type(value);
  if (type != SQLITE_TEXT && type != SQLITE_BLOB) return false;
  const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(value));
  text = std::string_view(bytes ? bytes : "", static_cast<size_t>(sqlite3_value_bytes(value)));
  return true;
}

Variant TSqliteStatement::ColumnValue(int column) const {
  switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_NULL: return Variant();
    case SQLITE_INTEGER: return Variant(static_cast<int64_t>(sqlite3_column_int64(stmt_, column)));
    case SQLITE_FLOAT: {
      char buffer[32];
      std::snprintf(buffer, sizeof buffer, "%.15g", sqlite3_column_double(stmt_, column));
      return Variant(buffer);
    }
    default: {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
      const int bytes = sqlite3_column_bytes(stmt_, column);
      return Variant(std::string(text ? text : "", static_cast<size_t>(bytes)));
    }
  }
}

TFieldType TSqliteStatement::ColumnType(int column) const {
  std::string upper = ColumnDeclType(column);
  for (auto& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return upper.find("INT") != std::string::npos ? TFieldType::ftInteger : TFieldType::ftString;
}

int TSqliteStatement::RowsChanged() const { return sqlite3_changes(db_); }
