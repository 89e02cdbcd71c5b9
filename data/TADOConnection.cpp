#include "data/TADOConnection.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <filesystem>

#include "data/TSqliteStatement.h"
#include "data/TextCollation.h"
#include "platform/base/Exception.h"

namespace {
std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool SameAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != y) return false;
  }
  return true;
}
}  // namespace

TADOConnection::~TADOConnection() { Close(); }

void TADOConnection::SetConnectionString(std::string text) {
  if (db_) throw EDatabaseError("Operation is not allowed when the object is open.");
  connectionString_ = std::move(text);
}

std::string TADOConnection::ConnectionValue(std::string_view connectionString, std::string_view key) {
  size_t pos = 0;
  while (pos <= connectionString.size()) {
    // key=value pairs separated by ";"; a value may be quoted to hold ";".
    const size_t eq = connectionString.find('=', pos);
    if (eq == std::string_view::npos) break;
    const std::string_view name = Trim(connectionString.substr(pos, eq - pos));
    size_t valueStart = eq + 1;
    while (valueStart < connectionString.size() && connectionString[valueStart] == ' ') ++valueStart;
    std::string value;
    size_t next;
    if (valueStart < connectionString.size() && (connectionString[valueStart] == '"' || connectionString[valueStart] == '\'')) {
      const char quote = connectionString[valueStart];
      const size_t close = connectionString.find(quote, valueStart + 1);
      const size_t end = close == std::string_view::npos ? connectionString.size() : close;
      value = std::string(connectionString.substr(valueStart + 1, end - valueStart - 1));
      next = connectionString.find(';', end);
    } else {
      next = connectionString.find(';', valueStart);
      const size_t end = next == std::string_view::npos ? connectionString.size() : next;
      value = std::string(Trim(connectionString.substr(valueStart, end - valueStart)));
    }
    if (SameAscii(name, key)) return value;
    if (next == std::string_view::npos) break;
    pos = next + 1;
  }
  return {};
}

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

sqlite3* TADOConnection::OpenFile(const std::string& full) {
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

void TADOConnection::Open() {
  if (db_) return;
  const std::string source = ConnectionValue(connectionString_, "Data Source");
  if (source.empty()) throw EDatabaseError("Data source name not found and no default driver specified");
  std::error_code ec;
  std::filesystem::path path(source);
  if (path.is_relative()) path = std::filesystem::current_path(ec) / path;
  const std::string full = path.lexically_normal().string();
  sqlite3* db = OpenFile(full);
  sqlite3_busy_timeout(db, busyTimeoutMs_);
  db_ = db;
  path_ = full;
  if (!FileIdentity(full, device_, inode_)) device_ = inode_ = 0;
}

void TADOConnection::FollowReplacedFile() {
  // Only between statements: a statement or transaction in progress belongs to the open file.
  if (sqlite3_get_autocommit(db_) == 0 || sqlite3_next_stmt(db_, nullptr) != nullptr) return;
  unsigned long long device = 0, inode = 0;
  if (!FileIdentity(path_, device, inode) || (device == device_ && inode == inode_)) return;
  sqlite3* db = nullptr;
  try {
    db = OpenFile(path_);
  } catch (const std::exception&) {
    return;  // not (yet) a database: the old file serves, and its errors are reported
  }
  sqlite3_busy_timeout(db, busyTimeoutMs_);
  sqlite3_close_v2(db_);
  db_ = db;
  device_ = device;
  inode_ = inode;
}

void TADOConnection::Close() {
  if (!db_) return;
  sqlite3_close_v2(db_);
  db_ = nullptr;
  path_.clear();
}

void TADOConnection::SetBusyTimeout(int milliseconds) {
  busyTimeoutMs_ = milliseconds < 0 ? 0 : milliseconds;
  if (db_) sqlite3_busy_timeout(db_, busyTimeoutMs_);
}

sqlite3* TADOConnection::Handle() {
  if (!db_) throw EDatabaseError("Operation is not allowed when the object is closed.");
  FollowReplacedFile();
  return db_;
}

void TADOConnection::ExecuteDirect(const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(Handle(), sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = error ? error : sqlite3_errmsg(db_);
    sqlite3_free(error);
    throw EDatabaseError(message);
  }
}

void TADOConnection::CreateDatabaseFile(const std::string& path) {
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  const std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  // Touch the schema so that the file is really written.
  if (rc == SQLITE_OK) sqlite3_exec(db, "pragma user_version = 0", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  if (rc != SQLITE_OK) throw EDatabaseError(message);
}
