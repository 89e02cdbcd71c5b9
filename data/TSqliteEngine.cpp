#include "data/TSqliteEngine.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include "data/TSqliteStatement.h"
#include "data/TextCollation.h"
#include "platform/base/Exception.h"

namespace {
// The file's device and inode; false when it cannot be read.
bool FileIdentity(const std::string& path, unsigned long long& device, unsigned long long& inode) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return false;
  device = static_cast<unsigned long long>(info.st_dev);
  inode = static_cast<unsigned long long>(info.st_ino);
  return true;
}
}  // namespace

sqlite3* TSqliteEngine::OpenFile(const std::string& full) {
  // SQLITE_OPEN_READWRITE without CREATE: a missing file is an error, never a new database.
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(full.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    const std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    sqlite3_close(db);
    throw EDatabaseError(message);
  }
  sqlite3_extended_result_codes(db, 0);
  if (RegisterTextCollation(db) != SQLITE_OK) {
    const std::string message = sqlite3_errmsg(db);
    sqlite3_close(db);
    throw EDatabaseError(message);
  }
  // The file is read lazily; read the schema now so that a file that is not a
  // database (or a damaged one) fails here rather than at the first query.
  try {
    TSqliteStatement check(db, "select count(*) from sqlite_master");
    check.Step();
  } catch (...) {
    sqlite3_close(db);
    throw;
  }
  return db;
}

TSqliteEngine::TSqliteEngine(const std::string& fullPath, int busyTimeoutMs)
    : Path_(fullPath), BusyTimeoutMs_(busyTimeoutMs) {
  Db_ = OpenFile(fullPath);
  sqlite3_busy_timeout(Db_, BusyTimeoutMs_);
  if (!FileIdentity(fullPath, Device_, Inode_)) Device_ = Inode_ = 0;
}

void TSqliteEngine::FollowReplacedFile() {
  // Only between statements: a statement or transaction in progress belongs to the open file.
  if (sqlite3_get_autocommit(Db_) == 0 || sqlite3_next_stmt(Db_, nullptr) != nullptr) return;
  unsigned long long device = 0, inode = 0;
  if (!FileIdentity(Path_, device, inode) || (device == Device_ && inode == Inode_)) return;
  sqlite3* db = nullptr;
  try {
    db = OpenFile(Path_);
  } catch (const std::exception&) {
    return;  // not (yet) a database: the old file serves, and its errors are reported
  }
  sqlite3_busy_timeout(db, BusyTimeoutMs_);
  sqlite3_close_v2(Db_);
  Db_ = db;
  Device_ = device;
  Inode_ = inode;
}

sqlite3* TSqliteEngine::Handle() {
  FollowReplacedFile();
  return Db_;
}

TSqliteEngine::~TSqliteEngine() { sqlite3_close_v2(Db_); }

std::unique_ptr<TDbStatement> TSqliteEngine::Prepare(std::string_view text) {
  return std::make_unique<TSqliteStatement>(Handle(), text);
}

void TSqliteEngine::ExecuteDirect(const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(Handle(), sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = error ? error : sqlite3_errmsg(Db_);
    sqlite3_free(error);
    throw EDatabaseError(message);
  }
}

std::string TSqliteEngine::SameValue(std::string_view quotedColumn) const {
  // A blob was read as text and comes back bound as text, which never equals a
  // blob: it is compared as a blob then. Any other value meets the column's
  // affinity as a bare marker would, so a real read as "2" still finds 2.0.
  const std::string column(quotedColumn);
  return column + " is (select case when typeof(" + column + ") = 'blob' then cast(v as blob) else v end from (select ? as v)) collate binary";
}

void TSqliteEngine::SetBusyTimeout(int milliseconds) {
  BusyTimeoutMs_ = milliseconds;
  sqlite3_busy_timeout(Db_, milliseconds);
}

bool TSqliteEngine::InTransaction() const { return sqlite3_get_autocommit(Db_) == 0; }

void TSqliteEngine::CreateFile(const std::string& path) {
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  const std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  // Touch the schema so that the file is really written.
  if (rc == SQLITE_OK) sqlite3_exec(db, "pragma user_version = 0", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  if (rc != SQLITE_OK) throw EDatabaseError(message);
}
