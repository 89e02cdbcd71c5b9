#pragma once
// The SQLite engine: one database file, opened shared. A locked file is waited
// for up to the busy timeout and then reported with the engine's own text. A file
// replaced on disk while open (a new file moved over the old name) is opened
// again before the next statement, rather than written to in its old place.
#include <string>

#include "data/TDbEngine.h"

struct sqlite3;

class TSqliteEngine : public TDbEngine {
public:
  // Opens the file, which must exist: it is never created here.
  TSqliteEngine(const std::string& fullPath, int busyTimeoutMs);
  ~TSqliteEngine() override;

  TDbEngineKind Kind() const override { return TDbEngineKind::Sqlite; }
  std::unique_ptr<TDbStatement> Prepare(std::string_view text) override;
  void ExecuteDirect(const std::string& sql) override;
  std::string_view RowIdColumn() const override { return "rowid"; }
  std::string RowIdMatch() const override { return "rowid = ?"; }
  std::string SameValue(std::string_view quotedColumn) const override;
  void SetBusyTimeout(int milliseconds) override;
  bool InTransaction() const override;
  std::string Location() const override { return Path_; }

  // The connection for a new statement, following a replaced file first.
  sqlite3* Handle();
  // Creates an empty database file.
  static void CreateFile(const std::string& path);

private:
  // Opens the file with the program's collation and reads its schema.
  static sqlite3* OpenFile(const std::string& full);
  void FollowReplacedFile();
  std::string Path_;
  sqlite3* Db_ = nullptr;
  int BusyTimeoutMs_;
  // The identity (device, inode) of the file opened.
  unsigned long long Device_ = 0, Inode_ = 0;
};
