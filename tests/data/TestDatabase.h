#pragma once
// A fresh, empty database, removed afterwards: an SQLite file in its own
// temporary folder, or, when the suite runs with TEXTBOOK_TEST_ENGINE=postgres, a
// new database on the process's own private PostgreSQL server. Tests of what
// only a file can do (locks, damaged pages, the file's schema upgrade) skip
// themselves on the server with SKIP_UNLESS_FILE(). Tests of what only a server
// has ask for it whatever the run (TestDatabase::kServer), so that they run, not
// skip, wherever they are started.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "data/TADOConnection.h"
#include "data/TADOQuery.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TempFolder.h"

class TPgServer;

class TestDatabase {
public:
  enum TWhere { kRunEngine, kServer };
  explicit TestDatabase(TWhere where = kRunEngine);
  ~TestDatabase();
  // True when this run's databases live on the server.
  static bool OnServer();
  // The run's server (started on first use), or null for files.
  static TPgServer* Server();
  // The process's server whatever the run, started on first use.
  static TPgServer& SharedServer();
  bool InServer() const { return Server_ != nullptr; }
  const std::filesystem::path& Folder() const { return Folder_.Path(); }
  std::string Path() const { return (Folder_ / "db.mdb").string(); }
  // The data source: the file's path or the server database's URI.
  std::string Source() const { return Source_; }
  std::string ConnectionString() const { return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + Source_ + ";Persist Security Info=False"; }
  const std::string& DatabaseName() const { return Name_; }
  TADOConnection& Connection() { return *Connection_; }
  std::unique_ptr<TADOConnection> OpenSecond() const;
  // Runs a statement with up to three text or integer parameters a1..a3.
  int Exec(const std::string& sql);
  // The data layer's own test schema with its usual rows (tests/support/ItemsSchema.h).
  void CreateItems();

private:
  TTempFolder Folder_{"tb_data"};
  TPgServer* Server_ = nullptr;
  std::string Name_;
  std::string Source_;
  std::unique_ptr<TADOConnection> Connection_;
};

// One column of a dataset's rows as text (null as ""), from the first row on.
std::vector<std::string> ColumnOf(TDataSet& rows, int field = 0);

// In a test body: skips the test when the run's databases live on the server.
#define SKIP_UNLESS_FILE() \
  if (TestDatabase::OnServer()) GTEST_SKIP() << "a property of the database file"
