#pragma once
// A prepared statement that finalizes itself; every engine failure becomes
// EDatabaseError with the engine's own text.
#include <cstdint>
#include <string>
#include <string_view>

#include "data/Variant.h"

struct sqlite3;
struct sqlite3_stmt;

class TSqliteStatement {
public:
  // Prepares one statement; text after it other than blanks is refused.
  TSqliteStatement(sqlite3* db, std::string_view text);
  ~TSqliteStatement();
  TSqliteStatement(const TSqliteStatement&) = delete;
  TSqliteStatement& operator=(const TSqliteStatement&) = delete;

  int ParameterCount() const;
  void Bind(int position, const Variant& value);  // position from 1
  // True while a row is ready; false when done.
  bool Step();
  int ColumnCount() const;
  std::string ColumnName(int column) const;
  std::string ColumnDeclType(int column) const;  // empty when the column is an expression
  // True when the column comes straight from a table column declared to compare
  // exactly (BINARY, the engine's default); false for other collations and expressions.
  bool ColumnComparesExactly(int column) const;
  Variant ColumnValue(int column) const;
  int64_t ColumnInt64(int column) const;
  sqlite3_stmt* Handle() const { return stmt_; }

private:
  [[noreturn]] void Fail() const;
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};
