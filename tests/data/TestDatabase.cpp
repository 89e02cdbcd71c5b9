#include "tests/data/TestDatabase.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "platform/base/Exception.h"
#include "tests/support/ItemsSchema.h"
#include "tools/pg-server/TPgServer.h"

namespace {
// Numbers the server databases of this process.
std::atomic<int> counter{0};
}  // namespace

std::vector<std::string> ColumnOf(TDataSet& rows, int field) {
  std::vector<std::string> out;
  for (rows.First(); !rows.Eof(); rows.Next()) out.push_back(rows.Fields(field).AsString());
  return out;
}

bool TestDatabase::OnServer() {
  const char* engine = std::getenv("TEXTBOOK_TEST_ENGINE");
  return engine && std::strcmp(engine, "postgres") == 0;
}

TPgServer& TestDatabase::SharedServer() {
  // One server for the whole process, stopped when it ends.
  static TPgServer server;
  return server;
}

TPgServer* TestDatabase::Server() { return OnServer() ? &SharedServer() : nullptr; }

TestDatabase::TestDatabase(TWhere where)
    : Server_(where == kServer ? &SharedServer() : Server()) {
  if (Server_) {
    Name_ = "t" + std::to_string(counter++);
    Source_ = Server_->CreateDatabase(Name_);
  } else {
    Source_ = Path();
    TADOConnection::CreateDatabaseFile(Path());
  }
  Connection_ = std::make_unique<TADOConnection>(ConnectionString());
  Connection_->Open();
  // Tests do not need every commit on the platter.
  if (!Server_) Connection_->ExecuteDirect("pragma synchronous = off");
}

TestDatabase::~TestDatabase() {
  Connection_.reset();
  if (Server_) {
    try {
      Server_->DropDatabase(Name_);
    } catch (...) {  // a test that killed the server leaves its database to the cluster's removal
    }
  }
}

std::unique_ptr<TADOConnection> TestDatabase::OpenSecond() const {
  auto second = std::make_unique<TADOConnection>(ConnectionString());
  second->Open();
  return second;
}

int TestDatabase::Exec(const std::string& sql) {
  TADOQuery query(Connection_.get());
  query.SQL().Add(sql);
  return query.ExecSQL();
}

void TestDatabase::CreateItems() {
  ItemsSchema::Create(*Connection_);
  ItemsSchema::Fill(*Connection_);
}
