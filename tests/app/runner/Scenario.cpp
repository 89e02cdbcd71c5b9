// Runs one scenario script on the real program, on a fresh workspace:
//   app-scenario --program TEXTBOOK --make-workspace TOOL --script FILE
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
#include <sstream>
#include <string>
#include <vector>

#include "data/TADOConnection.h"
#include "data/TADOQuery.h"
#include "tests/app/runner/HeadlessRun.h"

namespace fs = std::filesystem;

namespace {

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

std::string Rows(const fs::path& database, const std::string& select) {
  TADOConnection connection("Data Source=" + database.string());
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

}  // namespace

int main(int argc, char** argv) {
  std::string program, makeWorkspace, scriptArg;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string key = argv[i];
    if (key == "--program") program = argv[i + 1];
    else if (key == "--make-workspace") makeWorkspace = argv[i + 1];
    else if (key == "--script") scriptArg = argv[i + 1];
  }
  if (program.empty() || makeWorkspace.empty() || scriptArg.empty()) {
    std::cerr << "usage: app-scenario --program P --make-workspace M --script FILE\n";
    return 2;
  }
  const fs::path script = fs::absolute(scriptArg);
  program = fs::absolute(program).string();  // the program runs in the workspace
  fs::path dir;
  switch (MakeFreshWorkspace(makeWorkspace, "textbook-scenario", dir)) {
    case TWorkspaceResult::NoFolder: return Fail("cannot make a temporary folder", dir);
    case TWorkspaceResult::MakeFailed: return Fail("make-workspace failed", dir);
    case TWorkspaceResult::Made: break;
  }
  const fs::path errors = dir.string() + ".stderr";

  const std::vector<TDirective> directives = ReadDirectives(script);
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
      } else if (d.Name != "stderr" && d.Name != "after" && d.Name != "after-sqlite3") {
        return Fail("unknown directive #@ " + d.Name, dir);
      }
    }
  } catch (const std::exception& e) {
    return Fail(std::string("preparing the workspace: ") + e.what(), dir);
  }

  const auto before = Snapshot(dir);
  const int status = RunHeadless(program, dir, script, errors);
  const std::string errorText = ReadFile(errors);
  std::cerr << errorText;
  if (status != expectedExit)
    return Fail("exit status " + std::to_string(status) + ", expected " + std::to_string(expectedExit), dir);
  if (unchanged && Snapshot(dir) != before) return Fail("the workspace changed", dir);
  for (const fs::path& f : immutable) SetImmutable(f, false);
  for (const TDirective& d : directives) {
    if (d.Name == "stderr" && errorText.find(d.Argument) == std::string::npos)
      return Fail("error output lacks '" + d.Argument + "'", dir);
    if (d.Name != "after" && d.Name != "after-sqlite3") continue;
    const size_t eq = d.Argument.find(" == ");
    if (eq == std::string::npos) return Fail("#@ " + d.Name + " needs ' == '", dir);
    const std::string expected = d.Argument.substr(eq + 4);
    std::string found;
    if (d.Name == "after-sqlite3") {
      bool ok = false;
      found = Shell(dir / "db.mdb", d.Argument.substr(0, eq), ok);
    } else {
      try {
        found = Rows(dir / "db.mdb", d.Argument.substr(0, eq));
      } catch (const std::exception& e) {
        found = std::string("error: ") + e.what();
      }
    }
    if (found != expected) return Fail(d.Argument.substr(0, eq) + ": expected '" + expected + "', found '" + found + "'", dir);
  }
  fs::remove_all(dir);
  fs::remove(errors);
  return 0;
}
