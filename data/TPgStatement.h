#pragma once
// A statement on the server. Asking for its columns before it runs prepares it
// (unnamed) and describes it, so that a bad select fails before any value is
// bound; the first Step sends the text with its bound values in one round trip
// and keeps the whole result client-side.
#include <optional>
#include <string>
#include <vector>

#include "data/TDbEngine.h"

struct pg_result;
class TPgEngine;

class TPgStatement : public TDbStatement {
public:
  TPgStatement(TPgEngine& engine, std::string_view text);
  ~TPgStatement() override;
  TPgStatement(const TPgStatement&) = delete;
  TPgStatement& operator=(const TPgStatement&) = delete;

  int ParameterCount() const override { return parameterCount_; }
  void Bind(int position, const Variant& value) override;
  bool Step() override;
  int ColumnCount() const override;
  std::string ColumnName(int column) const override;
  TFieldType ColumnType(int column) const override;
  Variant ColumnValue(int column) const override;
  int RowsChanged() const override { return rowsChanged_; }
  bool ColumnComparesExactly(int column) const override;

private:
  void Describe() const;
  TPgEngine& engine_;
  std::string text_;
  int parameterCount_ = 0;
  std::vector<std::optional<std::string>> values_;
  mutable pg_result* description_ = nullptr;
  pg_result* result_ = nullptr;
  int row_ = -1;
  int rowsChanged_ = 0;
};
