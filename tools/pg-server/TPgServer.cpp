#include "tools/pg-server/TPgServer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <stdexcept>

#include "data/TADOConnection.h"

namespace {
constexpr const char* kBin = "/usr/lib/postgresql/15/bin";
constexpr const char* kPort = "5432";  // names the socket file only; the folder is ours

// Commands run as "postgres" when we are root: the server refuses root.
std::string AsServerUser(const std::string& command) {
  if (geteuid() != 0) return command;
  return "runuser -u postgres -- " + command;
}
// The folder of the cluster must be reachable by the server's user: as root, a
// temporary folder others cannot enter (a TMPDIR under /root, say) gives way to /tmp.
std::filesystem::path TemporaryBase() {
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  if (geteuid() != 0) return base;
  for (std::filesystem::path p = base;; p = p.parent_path()) {
    struct stat st {};
    if (::stat(p.c_str(), &st) != 0 || (st.st_mode & S_IXOTH) == 0) return "/tmp";
    if (p == p.parent_path()) return base;
  }
}
}  // namespace

bool TPgServer::Available() { return std::filesystem::exists(std::string(kBin) + "/initdb"); }

int TPgServer::Run(const std::string& command) const {
  // The server writes its own log (server.log); the programs' output goes beside it.
  const std::string line = AsServerUser(command) + " >> '" + Folder_ + "/programs.log' 2>&1";
  return std::system(line.c_str());
}

TPgServer::TPgServer() {
  if (!Available()) throw std::runtime_error(std::string("PostgreSQL 15 is not installed (") + kBin + ")");
  std::string pattern = (TemporaryBase() / "textbook-pg-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder for the server");
  Folder_ = pattern;
  if (geteuid() == 0) {
    const passwd* user = getpwnam("postgres");
    if (!user || chown(Folder_.c_str(), user->pw_uid, user->pw_gid) != 0) {
      std::filesystem::remove_all(Folder_);
      throw std::runtime_error("cannot give the server's folder to the user postgres");
    }
  }
  // No syncing: the cluster lives as long as the test.
  if (Run(std::string(kBin) + "/initdb -N -D '" + Folder_ + "/data' -A trust -E UTF8 --locale=C.UTF-8 -U postgres") != 0) {
    std::filesystem::remove_all(Folder_);
    throw std::runtime_error("initdb failed");
  }
  try {
    Start();
  } catch (...) {
    std::filesystem::remove_all(Folder_);
    throw;
  }
}

TPgServer::~TPgServer() {
  if (Running_) Stop();
  std::error_code ec;
  std::filesystem::remove_all(Folder_, ec);
}

void TPgServer::Start() {
  const std::string options = "-p " + std::string(kPort) + " -k " + Folder_ +
                              " -c listen_addresses= -c fsync=off -c full_page_writes=off -c max_connections=120";
  if (Run(std::string(kBin) + "/pg_ctl -D '" + Folder_ + "/data' -o '" + options + "' -w -t 120 -l '" + Folder_ +
          "/server.log' start") != 0)
    throw std::runtime_error("the server did not start; see " + Folder_ + "/server.log");
  Running_ = true;
}

void TPgServer::Stop() {
  Run(std::string(kBin) + "/pg_ctl -D '" + Folder_ + "/data' -m fast -w stop");
  Running_ = false;
}

void TPgServer::Kill() {
  // Immediate: every server process quits at once, nothing is shut down cleanly.
  Run(std::string(kBin) + "/pg_ctl -D '" + Folder_ + "/data' -m immediate -w stop");
  Running_ = false;
}

std::string TPgServer::Uri(const std::string& database, const std::string& role) const {
  return "postgresql://" + role + "@/" + database + "?host=" + Folder_ + "&port=" + kPort;
}

void TPgServer::Execute(const std::string& database, const std::string& sql) const {
  TADOConnection connection("Data Source=" + Uri(database));
  connection.SetBusyTimeout(60000);
  connection.Open();
  connection.ExecuteDirect(sql);
}

std::string TPgServer::CreateDatabase(const std::string& name) {
  Execute("postgres", "create database \"" + name + "\"");
  return Uri(name);
}

void TPgServer::DropDatabase(const std::string& name) {
  Execute("postgres", "drop database if exists \"" + name + "\" with (force)");
}

int TPgServer::PostmasterPid() const {
  if (!Running_) return 0;
  std::ifstream file(Folder_ + "/data/postmaster.pid");
  int pid = 0;
  file >> pid;
  return pid;
}
