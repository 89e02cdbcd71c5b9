#pragma once
// A fresh textbook database in its own temporary folder, removed afterwards.
#include <filesystem>
#include <memory>
#include <string>

#include "app/data/Schema.h"
#include "data/TADOConnection.h"
#include "data/TADOQuery.h"

class TestDatabase {
public:
  explicit TestDatabase(bool withSchema = true);
  ~TestDatabase();
  const std::filesystem::path& Folder() const { return folder_; }
  std::string Path() const { return (folder_ / "db.mdb").string(); }
  std::string ConnectionString() const { return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + Path() + ";Persist Security Info=False"; }
  TADOConnection& Connection() { return *connection_; }
  std::unique_ptr<TADOConnection> OpenSecond() const;
  // Runs a statement with up to three text or integer parameters a1..a3.
  int Exec(const std::string& sql);

private:
  std::filesystem::path folder_;
  std::unique_ptr<TADOConnection> connection_;
};
