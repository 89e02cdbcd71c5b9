#pragma once
// The program's command line: one table of switches gives the parser, the
// Russian --help text and the checks of the tests. A new switch is one row in
// CommandLine.cpp and, where it carries a setting, one field here.
#include <string>
#include <vector>

struct TCommandLine {
  bool Help = false;           // --help: print the switches, start nothing
  bool Version = false;        // --version
  bool SkinVersion = false;    // "/acver": the skin engine's version box at start-up
  bool UserWorkspace = false;  // --user-workspace: the per-user workspace (the menu entry passes it)
  std::string Workspace;       // --workspace DIR
  std::string Database;        // --database URL (app/data/DatabaseChoice.h)
  // The driver's switches (--headless, --script FILE, --real-display) in their order, for the program runner.
  std::vector<std::string> DriverArguments;
  std::string Error;  // a bad command line, in Russian; the program then ends with status 2
};

// Reads argv[1 .. argc-1]. Unknown switches, stray words and missing values set Error.
TCommandLine ParseCommandLine(int argc, const char* const* argv);

// The --help text: usage and every switch with its meaning, in Russian.
std::string CommandLineHelp();
// The --version line, "textbook <version>".
std::string CommandLineVersion();
// The names of every switch the program takes (for the tests that walk them).
std::vector<std::string> CommandLineSwitches();
