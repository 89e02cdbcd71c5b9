#include "tests/data/TestDatabase.h"

#include <atomic>
#include <unistd.h>

namespace {
std::filesystem::path MakeFolder() {
  static std::atomic<int> counter{0};
  auto folder = std::filesystem::temp_directory_path() /
                ("tb_data_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}
}  // namespace

TestDatabase::TestDatabase(bool withSchema) : folder_(MakeFolder()) {
  TADOConnection::CreateDatabaseFile(Path());
  connection_ = std::make_unique<TADOConnection>(ConnectionString());
  connection_->Open();
  // Tests do not need every commit on the platter.
  connection_->ExecuteDirect("pragma synchronous = off");
  if (withSchema) Schema::CreateTables(*connection_);
}

TestDatabase::~TestDatabase() {
  connection_.reset();
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
