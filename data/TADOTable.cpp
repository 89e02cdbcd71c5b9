#include "data/TADOTable.h"

#include "platform/base/Exception.h"

TADOTable::TADOTable(TADOConnection* connection, std::string tableName) : tableName_(std::move(tableName)) {
  SetConnection(connection);
}

void TADOTable::SetTableName(std::string name) {
  CheckInactive();
  tableName_ = std::move(name);
}

TDataSet::QuerySpec TADOTable::BuildQuery() {
  if (tableName_.empty()) throw EDatabaseError("Missing TableName property");
  std::string quoted = "\"";
  for (char c : tableName_) {
    if (c == '"') quoted.push_back('"');
    quoted.push_back(c);
  }
  quoted.push_back('"');
  return WithRowId("select * from " + quoted, 7, tableName_);
}
