#pragma once
// A statement over the connection. Changing the text closes the query and
// re-reads its parameters, one per ":name" marker in order of appearance; they
// are bound by position, never spliced into the text. Open runs a select into a
// snapshot; ExecSQL runs an insert, update or delete.
#include <string>

#include "data/TDataSet.h"
#include "data/TParameters.h"
#include "data/TSQLLines.h"

class TADOQuery : public TDataSet {
public:
  TADOQuery();
  explicit TADOQuery(TADOConnection* connection);

  TSQLLines& SQL() { return Sql_; }
  const TSQLLines& SQL() const { return Sql_; }
  TParameters& Parameters() { return Parameters_; }
  // Shorthand for Parameters().ParamByName(name).
  TParameter& ParamByName(std::string_view name) { return Parameters_.ParamByName(name); }

  // Runs a statement that returns no rows; returns the number of rows changed.
  int ExecSQL();
  int RowsAffected() const { return RowsAffected_; }

  // The table of "select * from Table [where ...]", empty for other statements.
  static std::string EditableTableOf(std::string_view sql);

protected:
  QuerySpec BuildQuery() override;

private:
  void SqlChanged();
  TSQLLines Sql_;
  TParameters Parameters_;
  int RowsAffected_ = 0;
};
