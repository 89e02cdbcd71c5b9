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

  int ParameterCount() const override { return ParameterCount_; }
  void Bind(int position, const Variant& value) override;
  bool Step() override;
  int ColumnCount() const override;
  std::string ColumnName(int column) const override;
  TFieldType ColumnType(int column) const override;
  Variant ColumnValue(int column) const override;
  int RowsChanged() const override { return RowsChanged_; }
  bool ColumnComparesExactly(int column) const override;

private:
  void Describe() const;
  TPgEngine& Engine_;
  std::string Text_;
  int ParameterCount_ = 0;
  std::vector<std::optional<std::string>> Values_;
  mutable pg_result* Description_ = nullptr;
  pg_result* Result_ = nullptr;
  int Row_ = -1;
  int RowsChanged_ = 0;
};
