#pragma once
// A prepared statement that finalizes itself; every engine failure becomes
// EDatabaseError with the engine's own text.
#include <cstdint>
#include <string>
#include <string_view>

#include "data/TDbEngine.h"

struct sqlite3;
struct sqlite3_stmt;

class TSqliteStatement : public TDbStatement {
public:
  // Prepares one statement; text after it other than blanks is refused.
  TSqliteStatement(sqlite3* db, std::string_view text);
  ~TSqliteStatement() override;
  TSqliteStatement(const TSqliteStatement&) = delete;
  TSqliteStatement& operator=(const TSqliteStatement&) = delete;

  int ParameterCount() const override;
  void Bind(int position, const Variant& value) override;
  bool Step() override;
  int ColumnCount() const override;
  std::string ColumnName(int column) const override;
  // Integer when the declared type has "INT" in it (the engine's integer affinity).
  TFieldType ColumnType(int column) const override;
  Variant ColumnValue(int column) const override;
  bool ColumnText(int column, std::string_view& text) const override;
  int RowsChanged() const override;
  bool ColumnComparesExactly(int column) const override;
  std::string ColumnDeclType(int column) const;  // empty when the column is an expression
  sqlite3_stmt* Handle() const { return Stmt_; }

private:
  [[noreturn]] void Fail() const;
  sqlite3* Db_;
  sqlite3_stmt* Stmt_ = nullptr;
};
