#pragma once
// A private PostgreSQL 15 server for tests and benchmarks: a cluster made in a
// temporary folder, listening only on a socket in that folder, stopped and
// removed by the destructor. The server refuses to run as root, so when we are
// root the cluster belongs to the unprivileged "postgres" user and its programs
// run as that user.
#include <string>

class TPgServer {
public:
  // Makes and starts the cluster; throws std::runtime_error with the reason
  // (no server programs, initdb or the start failing).
  TPgServer();
  ~TPgServer();
  TPgServer(const TPgServer&) = delete;
  TPgServer& operator=(const TPgServer&) = delete;

  // True when the server's programs are installed.
  static bool Available();

  // A new empty database; returns its URI for the superuser.
  std::string CreateDatabase(const std::string& name);
  void DropDatabase(const std::string& name);
  // The URI of a database as some role (no password: the socket trusts).
  std::string Uri(const std::string& database, const std::string& role = "postgres") const;
  // Runs statements on a database as the superuser (psql-free: through libpq).
  void Execute(const std::string& database, const std::string& sql) const;

  // Kills the server outright, as a crash or a pulled cable would; Start brings it back.
  void Kill();
  void Stop();
  void Start();
  bool Running() const { return Running_; }
  // The server's main process (0 when it does not run): tests stop it with
  // SIGSTOP to make a server that accepts nothing and answers nothing.
  int PostmasterPid() const;
  const std::string& Folder() const { return Folder_; }

private:
  int Run(const std::string& command) const;
  std::string Folder_;
  bool Running_ = false;
};
