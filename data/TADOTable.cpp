#include "data/TADOTable.h"

#include "data/TADOConnection.h"
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
  return WithRowId("select * from " + QuoteSqlName(tableName_), 7, tableName_);
}
