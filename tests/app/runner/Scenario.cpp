// Runs scenario scripts on the real program, each on a fresh workspace:
//   app-scenario --program TEXTBOOK --make-workspace TOOL --script FILE...
//                [--engine postgres --textbook-db TOOL] [--real-display none|openbox]
// Headless by default; with --real-display the program runs on a private Xvfb
// (under openbox, or with no window manager), its input going through the X server.
// With --engine postgres a private PostgreSQL server is started for the run; each
// workspace's prepared db.mdb is copied onto it (textbook-db copy), the program
// opens it through TEXTBOOK_DATABASE, and the "after" checks read the server.
// Scripts about the file itself (removing or overwriting db.mdb, dropping a
// table, triggers and indexes of the file) and checks that name the file's row
// ids run against the file only.
// Lines of the script starting with "#@" prepare the workspace and check the run
// (the driver itself reads them as comments):
//   #@ sql STATEMENT          run on db.mdb before the program starts
//   #@ sqlite3 STATEMENTS     run on db.mdb by the stock sqlite3 shell before the program
//                             starts (another tool's work: its own NOCASE, its indexes)
//   #@ immutable FILE         the file cannot be written, even by root, while the program
//                             runs (read-only media); the test is skipped (status 77)
//                             where the file system has no immutable attribute
//   #@ remove FILE            delete a file of the workspace
//   #@ write FILE TEXT        replace a file's bytes with TEXT
//   #@ exit N                 the exit status the run must end with (default 0)
//   #@ stderr TEXT            the program's error output must contain TEXT
//   #@ unchanged              every file of the workspace stays byte for byte, none appears
//   #@ file-only LINE         on a server run the script runs without this line
//   #@ no-server REASON       the script is skipped on a server run, for the reason given
//   #@ after SELECT == ROWS   after the run: the rows of SELECT, columns joined by "|",
//                             rows by ";", must equal ROWS
//   #@ after-sqlite3 SQL == OUTPUT  after the run: the stock sqlite3 shell's output
//                             (lines joined by ";") must equal OUTPUT
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "data/TADOConnection.h"
#include "data/TADOQuery.h"
#include "tests/app/runner/HeadlessRun.h"
#include "tests/realdisplay/XSession.h"
#include "tools/pg-server/TPgServer.h"

namespace fs = std::filesystem;

namespace {

// A real-display run that takes longer is stuck: its stacks are taken before
// ctest's own limit (120 s) would kill the runner and lose them.
constexpr int kRealDisplayLimitSeconds = 90;

struct TDirective {
  std::string Name;
  std::string Argument;
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::vector<TDirective> ReadDirectives(const fs::path& script) {
  std::vector<TDirective> out;
  std::istringstream in(ReadFile(script));
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("#@ ", 0) != 0) continue;
    const std::string rest = line.substr(3);
    const size_t space = rest.find(' ');
    out.push_back({rest.substr(0, space), space == std::string::npos ? "" : rest.substr(space + 1)});
  }
  return out;
}

// Every regular file under the workspace with its bytes.
std::map<std::string, std::string> Snapshot(const fs::path& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(dir))
    if (entry.is_regular_file()) files[fs::relative(entry.path(), dir).string()] = ReadFile(entry.path());
  return files;
}

std::string Rows(const std::string& source, const std::string& select) {
  TADOConnection connection("Data Source=" + source);
  connection.Open();
  TADOQuery query(&connection);
  query.SQL().Add(select);
  query.Open();
  std::string out;
  for (query.First(); !query.Eof(); query.Next()) {
    if (!out.empty()) out += ";";
    for (int i = 0; i < query.FieldCount(); ++i) {
      if (i) out += "|";
      out += query.Fields(i).AsString();
    }
  }
  return out;
}

// The stock sqlite3 shell on a database: its output and error output, lines
// joined by ";"; `ok` tells whether it succeeded.
std::string Shell(const fs::path& database, const std::string& sql, bool& ok) {
  const fs::path input = database.string() + ".shell.sql";
  std::ofstream(input, std::ios::binary | std::ios::trunc) << sql << "\n";
  const std::string command = "sqlite3 -bail '" + database.string() + "' < '" + input.string() + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  std::string out;
  if (pipe) {
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
  }
  ok = pipe && pclose(pipe) == 0;
  fs::remove(input);
  while (!out.empty() && out.back() == '\n') out.pop_back();
  for (char& c : out)
    if (c == '\n') c = ';';
  return out;
}

// Sets or clears a file's immutable attribute; false when that cannot be done here.
bool SetImmutable(const fs::path& file, bool on) {
  const std::string command = std::string("chattr ") + (on ? "+i" : "-i") + " '" + file.string() + "' 2>/dev/null";
  return std::system(command.c_str()) == 0;
}

int Fail(const std::string& message, const fs::path& dir) {
  std::cerr << "FAILED: " << message << "\n(workspace kept at " << dir.string() << ")\n";
  return 1;
}


bool FileOnly(const TDirective& d) {
  const bool aboutTheFile = ((d.Name == "remove" || d.Name == "write" || d.Name == "immutable") &&
                             d.Argument.starts_with("db.mdb")) ||
                            d.Name == "sqlite3";
  const bool fileSql = d.Name == "sql" && (d.Argument.starts_with("drop ") || d.Argument.starts_with("create ") ||
                                           d.Argument.starts_with("analyze"));
  return aboutTheFile || fileSql;
}

struct TServerRun {
  TPgServer* Server = nullptr;
  std::string TextbookDb;
  int Counter = 0;
  std::string RealDisplay;  // empty: headless; "none" or a window manager
};

// 0 passed, 1 failed, 3 skipped (file-only on a server run).
int RunScript(const fs::path& script, const std::string& program, const std::string& makeWorkspace, TServerRun& run) {
  fs::path dir;
  switch (MakeFreshWorkspace(makeWorkspace, "textbook-scenario", dir)) {
    case TWorkspaceResult::NoFolder: return Fail("cannot make a temporary folder", dir);
    case TWorkspaceResult::MakeFailed: return Fail("make-workspace failed", dir);
    case TWorkspaceResult::Made: break;
  }
  const fs::path errors = dir.string() + ".stderr";

  const std::vector<TDirective> directives = ReadDirectives(script);
  if (run.Server) {
    for (const TDirective& d : directives)
      if (FileOnly(d)) {
        fs::remove_all(dir);
        return 3;
      }
  }
  int expectedExit = 0;
  bool unchanged = false;
  std::vector<fs::path> immutable;
  // Files made immutable are released on every way out, so the folder can go.
  struct TRelease {
    std::vector<fs::path>& Files;
    ~TRelease() {
      for (const fs::path& f : Files) SetImmutable(f, false);
    }
  } release{immutable};
  try {
    for (const TDirective& d : directives) {
      if (d.Name == "sql") {
        TADOConnection connection("Data Source=" + (dir / "db.mdb").string());
        connection.Open();
        connection.ExecuteDirect(d.Argument);
      } else if (d.Name == "sqlite3") {
        bool ok = false;
        const std::string out = Shell(dir / "db.mdb", d.Argument, ok);
        if (!ok) return Fail("sqlite3 refused '" + d.Argument + "': " + out, dir);
      } else if (d.Name == "immutable") {
        if (!SetImmutable(dir / d.Argument, true)) {
          std::cerr << "SKIPPED: no immutable attribute here\n";
          fs::remove_all(dir);
          return 77;
        }
        immutable.push_back(dir / d.Argument);
      } else if (d.Name == "remove") {
        fs::remove(dir / d.Argument);
      } else if (d.Name == "write") {
        const size_t space = d.Argument.find(' ');
        std::ofstream(dir / d.Argument.substr(0, space), std::ios::binary | std::ios::trunc)
            << (space == std::string::npos ? "" : d.Argument.substr(space + 1));
      } else if (d.Name == "exit") {
        expectedExit = std::stoi(d.Argument);
      } else if (d.Name == "unchanged") {
        unchanged = true;
      } else if (d.Name != "stderr" && d.Name != "after" && d.Name != "after-sqlite3" && d.Name != "file-only" &&
                 d.Name != "no-server") {
        return Fail("unknown directive #@ " + d.Name, dir);
      }
    }
  } catch (const std::exception& e) {
    return Fail(std::string("preparing the workspace: ") + e.what(), dir);
  }

  std::string source = (dir / "db.mdb").string();
  if (run.Server) {
    // The prepared file goes onto the server; the program opens the server.
    const std::string name = "s" + std::to_string(run.Counter++);
    run.Server->DropDatabase(name);
    source = run.Server->CreateDatabase(name);
    const std::string copy = run.TextbookDb + " copy '" + (dir / "db.mdb").string() + "' '" + source + "' > /dev/null";
    if (std::system(copy.c_str()) != 0) return Fail("textbook-db copy failed", dir);
    setenv("TEXTBOOK_DATABASE", source.c_str(), 1);
    // The journal of kept results lives beside the workspace, not in our home.
    setenv("XDG_DATA_HOME", (dir.string() + ".data").c_str(), 1);
  }
  fs::path toRun = script;
  if (run.Server) {
    // Lines about what only the file has are left out of the server's run.
    std::istringstream in(ReadFile(script));
    std::string line, kept;
    while (std::getline(in, line)) {
      bool drop = false;
      for (const TDirective& d : directives) drop = drop || (d.Name == "file-only" && d.Argument == line);
      if (!drop) kept += line + "\n";
    }
    toRun = dir.string() + ".script";
    std::ofstream(toRun, std::ios::binary | std::ios::trunc) << kept;
  }
  const auto before = Snapshot(dir);
  int status = 0;
  if (run.RealDisplay.empty()) {
    status = RunHeadless(program, dir, toRun, errors);
  } else {
    TXSession session(run.RealDisplay == "none" ? "" : run.RealDisplay);
    if (!session.Ok()) return Fail(session.Error(), dir);
    setenv("DISPLAY", session.Display().c_str(), 1);
    status = RunProgramScript(program, dir, toRun, errors, {"--real-display"}, kRealDisplayLimitSeconds);
  }
  if (toRun != script) fs::remove(toRun);
  const std::string errorText = ReadFile(errors);
  std::cerr << errorText;
  if (status == kProgramDidNotEnd)
    return Fail("the program did not end within " + std::to_string(kRealDisplayLimitSeconds) +
                    " s; its threads' stacks are above",
                dir);
  if (status != expectedExit)
    return Fail("exit status " + std::to_string(status) + ", expected " + std::to_string(expectedExit), dir);
  if (unchanged && Snapshot(dir) != before) return Fail("the workspace changed", dir);
  for (const fs::path& f : immutable) SetImmutable(f, false);
  for (const TDirective& d : directives) {
    if (d.Name == "stderr" && errorText.find(d.Argument) == std::string::npos)
      return Fail("error output lacks '" + d.Argument + "'", dir);
    if (d.Name != "after" && d.Name != "after-sqlite3") continue;
    // The file's own row ids and the sqlite3 shell's view are the file's alone.
    if (run.Server && (d.Name == "after-sqlite3" || d.Argument.find("rowid") != std::string::npos)) continue;
    const size_t eq = d.Argument.find(" == ");
    if (eq == std::string::npos) return Fail("#@ " + d.Name + " needs ' == '", dir);
    const std::string expected = d.Argument.substr(eq + 4);
    std::string found;
    if (d.Name == "after-sqlite3") {
      bool ok = false;
      found = Shell(dir / "db.mdb", d.Argument.substr(0, eq), ok);
    } else {
      try {
        found = Rows(source, d.Argument.substr(0, eq));
      } catch (const std::exception& e) {
        found = std::string("error: ") + e.what();
      }
    }
    if (found != expected) return Fail(d.Argument.substr(0, eq) + ": expected '" + expected + "', found '" + found + "'", dir);
  }
  fs::remove_all(dir);
  fs::remove_all(dir.string() + ".data");
  fs::remove(errors);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string program, makeWorkspace, engine, textbookDb, realDisplay;
  std::vector<std::string> scripts;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string key = argv[i];
    if (key == "--program") program = argv[i + 1];
    else if (key == "--make-workspace") makeWorkspace = argv[i + 1];
    else if (key == "--script") scripts.push_back(argv[i + 1]);
    else if (key == "--engine") engine = argv[i + 1];
    else if (key == "--textbook-db") textbookDb = argv[i + 1];
    else if (key == "--real-display") realDisplay = argv[i + 1];
  }
  if (program.empty() || makeWorkspace.empty() || scripts.empty() ||
      (!engine.empty() && (engine != "postgres" || textbookDb.empty())) ||
      (!realDisplay.empty() && realDisplay != "none" && realDisplay != "openbox")) {
    std::cerr << "usage: app-scenario --program P --make-workspace M --script FILE... [--engine postgres --textbook-db T]"
                 " [--real-display none|openbox]\n";
    return 2;
  }
  program = fs::absolute(program).string();  // the program runs in the workspace
  TServerRun run;
  run.RealDisplay = realDisplay;
  std::unique_ptr<TPgServer> server;
  if (engine == "postgres") {
    server = std::make_unique<TPgServer>();
    run.Server = server.get();
    run.TextbookDb = fs::absolute(textbookDb).string();
  }
  int failed = 0;
  for (const std::string& script : scripts) {
    const int result = RunScript(fs::absolute(script), program, makeWorkspace, run);
    if (scripts.size() > 1)
      std::cerr << (result == 0 ? "passed  " : result == 3 ? "skipped " : "FAILED  ") << script << "\n";
    if (result == 1) ++failed;
  }
  return failed == 0 ? 0 : 1;
}
