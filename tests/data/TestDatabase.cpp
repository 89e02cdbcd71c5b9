#include "tests/data/TestDatabase.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "platform/base/Exception.h"
#include "tools/pg-server/TPgServer.h"

namespace {
std::atomic<int> counter{0};

std::filesystem::path MakeFolder() {
  auto folder = std::filesystem::temp_directory_path() /
                ("tb_data_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}
}  // namespace

bool TestDatabase::OnServer() {
  const char* engine = std::getenv("TEXTBOOK_TEST_ENGINE");
  return engine && std::strcmp(engine, "postgres") == 0;
}

TPgServer* TestDatabase::Server() {
  if (!OnServer()) return nullptr;
  // One server for the whole run, stopped when the process ends.
  static TPgServer server;
  return &server;
}

TestDatabase::TestDatabase(bool withSchema) : folder_(MakeFolder()) {
  if (TPgServer* server = Server()) {
    name_ = "t" + std::to_string(counter++);
    source_ = server->CreateDatabase(name_);
  } else {
    source_ = Path();
    TADOConnection::CreateDatabaseFile(Path());
  }
  connection_ = std::make_unique<TADOConnection>(ConnectionString());
  connection_->Open();
  // Tests do not need every commit on the platter.
  if (!OnServer()) connection_->ExecuteDirect("pragma synchronous = off");
  if (withSchema) Schema::CreateTables(*connection_);
}

TestDatabase::~TestDatabase() {
  connection_.reset();
  if (TPgServer* server = Server()) {
    try {
      server->DropDatabase(name_);
    } catch (...) {  // a test that killed the server leaves its database to the cluster's removal
    }
  }
  std::error_code ec;
  std::filesystem::remove_all(folder_, ec);
}

std::unique_ptr<TADOConnection> TestDatabase::OpenSecond() const {
  auto second = std::make_unique<TADOConnection>(ConnectionString());
  second->Open();
  return second;
}

int TestDatabase::Exec(const std::string& sql) {
  TADOQuery query(connection_.get());
  query.SQL().Add(sql);
  return query.ExecSQL();
}

std::string ErrorOf(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const Exception& e) {
    return e.Message();
  }
  return "(no error)";
}
