#include "data/TADOTable.h"

#include "data/TADOConnection.h"
#include "platform/base/Exception.h"

TADOTable::TADOTable(TADOConnection* connection, std::string tableName) : TableName_(std::move(tableName)) {
  SetConnection(connection);
}

void TADOTable::SetTableName(std::string name) {
  CheckInactive();
  TableName_ = std::move(name);
}

TDataSet::QuerySpec TADOTable::BuildQuery() {
  if (TableName_.empty()) throw EDatabaseError("Missing TableName property");
  return WithRowId("select * from " + QuoteSqlName(TableName_), 7, TableName_);
}
