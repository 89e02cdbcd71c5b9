#pragma once
// The one connection to the textbook database: an SQLite file named by the
// connection string's "Data Source", relative names resolved against the
// working directory. Opened shared: other processes may use the file at the same
// time; a locked file is waited for up to BusyTimeout and then reported. A file
// replaced on disk while open (a new file moved over the old name) is opened
// again before the next statement, rather than written to in its old place.
#include <string>
#include <string_view>

struct sqlite3;

class TADOConnection {
public:
  TADOConnection() = default;
  explicit TADOConnection(std::string connectionString) : connectionString_(std::move(connectionString)) {}
  ~TADOConnection();
  TADOConnection(const TADOConnection&) = delete;
  TADOConnection& operator=(const TADOConnection&) = delete;

  const std::string& ConnectionString() const { return connectionString_; }
  void SetConnectionString(std::string text);
  // One value of the connection string ("" when absent); keys ignore letter case.
  static std::string ConnectionValue(std::string_view connectionString, std::string_view key);

  // Opens the file, which must exist: it is never created here.
  void Open();
  void Close();
  bool Connected() const { return db_ != nullptr; }
  void SetConnected(bool value) { value ? Open() : Close(); }

  int BusyTimeout() const { return busyTimeoutMs_; }
  void SetBusyTimeout(int milliseconds);
  // The full path of the open file.
  const std::string& DatabasePath() const { return path_; }
  // Runs statements that take no parameters (schema set-up, pragmas).
  void ExecuteDirect(const std::string& sql);

  // Creates an empty database file (used by the workspace generator and tests only).
  static void CreateDatabaseFile(const std::string& path);

  // The engine's connection for a new statement. When no statement and no
  // transaction is in progress and the file at the path is no longer the one
  // open, the file at the path is opened in its place first.
  sqlite3* Handle();

private:
  // Opens the file at `full` with the program's collation and reads its schema.
  static sqlite3* OpenFile(const std::string& full);
  void FollowReplacedFile();
  std::string connectionString_;
  std::string path_;
  sqlite3* db_ = nullptr;
  // The identity (device, inode) of the file opened.
  unsigned long long device_ = 0, inode_ = 0;
  int busyTimeoutMs_ = 5000;
};
