#pragma once
// A whole table as an editable snapshot; Filter and Locate work on its rows.
#include <string>

#include "data/TDataSet.h"

class TADOTable : public TDataSet {
public:
  TADOTable() = default;
  TADOTable(TADOConnection* connection, std::string tableName);

  const std::string& TableName() const { return TableName_; }
  void SetTableName(std::string name);

protected:
  QuerySpec BuildQuery() override;

private:
  std::string TableName_;
};
