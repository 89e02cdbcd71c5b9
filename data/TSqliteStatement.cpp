#include "data/TSqliteStatement.h"

#include <sqlite3.h>

#include <charconv>

#include "platform/base/Exception.h"

TSqliteStatement::TSqliteStatement(sqlite3* db, std::string_view text) : Db_(db) {
  if (!Db_) throw EDatabaseError("Connection cannot be used to perform this operation. It is either closed or invalid in this context.");
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(Db_, text.data(), static_cast<int>(text.size()), &Stmt_, &tail) != SQLITE_OK) {
    sqlite3_finalize(Stmt_);
    Stmt_ = nullptr;
    Fail();
  }
  if (!Stmt_) throw EDatabaseError("Command text was not set for the command object.");
  // One statement per command: a second one after ";" is refused, not run.
  for (const char* p = tail; p && p < text.data() + text.size(); ++p) {
    if (*p != ' ' && *p != '\t' && *p != '\r' && *p != '\n' && *p != ';') {
      sqlite3_finalize(Stmt_);
      Stmt_ = nullptr;
      throw EDatabaseError("Characters found after end of SQL statement.");
    }
  }
}

TSqliteStatement::~TSqliteStatement() { sqlite3_finalize(Stmt_); }

void TSqliteStatement::Fail() const {
  const int code = sqlite3_extended_errcode(Db_);
  if (code == SQLITE_CONSTRAINT_UNIQUE || code == SQLITE_CONSTRAINT_PRIMARYKEY)
    throw EDatabaseDuplicateError(sqlite3_errmsg(Db_));
  throw EDatabaseError(sqlite3_errmsg(Db_));
}

int TSqliteStatement::ParameterCount() const { return sqlite3_bind_parameter_count(Stmt_); }

void TSqliteStatement::Bind(int position, const Variant& value) {
  int rc = SQLITE_OK;
  switch (value.GetKind()) {
    case Variant::Kind::Null: rc = sqlite3_bind_null(Stmt_, position); break;
    case Variant::Kind::Integer: rc = sqlite3_bind_int64(Stmt_, position, value.AsInteger()); break;
    case Variant::Kind::Text: {
      const std::string text = value.AsString();
      rc = sqlite3_bind_text(Stmt_, position, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
      break;
    }
  }
  if (rc != SQLITE_OK) Fail();
}

bool TSqliteStatement::Step() {
  const int rc = sqlite3_step(Stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  Fail();
}

int TSqliteStatement::ColumnCount() const { return sqlite3_column_count(Stmt_); }

std::string TSqliteStatement::ColumnName(int column) const {
  const char* name = sqlite3_column_name(Stmt_, column);
  return name ? name : "";
}

std::string TSqliteStatement::ColumnDeclType(int column) const {
  const char* type = sqlite3_column_decltype(Stmt_, column);
  return type ? type : "";
}

bool TSqliteStatement::ColumnComparesExactly(int column) const {
  const char* database = sqlite3_column_database_name(Stmt_, column);
  const char* table = sqlite3_column_table_name(Stmt_, column);
  const char* origin = sqlite3_column_origin_name(Stmt_, column);
  if (!database || !table || !origin) return false;
  const char* collation = nullptr;
  if (sqlite3_table_column_metadata(Db_, database, table, origin, nullptr, &collation, nullptr, nullptr, nullptr) !=
      SQLITE_OK)
    return false;
  return !collation || sqlite3_stricmp(collation, "BINARY") == 0;
}

bool TSqliteStatement::ColumnText(int column, std::string_view& text) const {
  // One call that takes the connection's lock instead of three: the value is
  // read before the next step and by this thread only, as the statement is.
  sqlite3_value* value = sqlite3_column_value(Stmt_, column);
  const int type = sqlite3_value_type(value);
  if (type != SQLITE_TEXT && type != SQLITE_BLOB) return false;
  const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(value));
  text = std::string_view(bytes ? bytes : "", static_cast<size_t>(sqlite3_value_bytes(value)));
  return true;
}

Variant TSqliteStatement::ColumnValue(int column) const {
  switch (sqlite3_column_type(Stmt_, column)) {
    case SQLITE_NULL: return Variant();
    case SQLITE_INTEGER: return Variant(static_cast<int64_t>(sqlite3_column_int64(Stmt_, column)));
    case SQLITE_FLOAT: {
      // As "%.15g" prints it, but in the C locale whatever the process's: the
      // display's start may switch the locale for a moment on its own thread.
      char buffer[32];
      const auto end = std::to_chars(buffer, buffer + sizeof buffer, sqlite3_column_double(Stmt_, column),
                                     std::chars_format::general, 15).ptr;
      return Variant(std::string(buffer, end));
    }
    default: {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(Stmt_, column));
      const int bytes = sqlite3_column_bytes(Stmt_, column);
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

int TSqliteStatement::RowsChanged() const { return sqlite3_changes(Db_); }
