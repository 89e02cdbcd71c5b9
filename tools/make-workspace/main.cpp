// make-workspace DIR [--force | --upgrade]: a ready classroom workspace in DIR:
// db.mdb with the six tables, accounts, a question bank, lectures, labs, two video
// lessons and Clear.htm. Material paths are relative, so the program finds them
// when it runs with DIR as its working directory. An existing db.mdb is kept
// unless --force; --upgrade only brings an existing db.mdb up to date (logins,
// passwords and addresses compared exactly, indexes rebuilt in that order).
#include <exception>
#include <iostream>
#include <string>

#include "tools/make-workspace/Workspace.h"

namespace {
int Usage(std::ostream& out, int status) {
  out << "usage: make-workspace DIR [--force | --upgrade]\n"
         "  Creates a classroom workspace in DIR; an existing DIR/db.mdb is replaced only with --force.\n"
         "  --upgrade changes nothing but an existing DIR/db.mdb, so that logins, passwords\n"
         "  and addresses compare exactly (the textbook does the same when it starts).\n";
  return status;
}
}  // namespace

int main(int argc, char** argv) {
  std::string dir;
  bool force = false, upgrade = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--force") force = true;
    else if (arg == "--upgrade") upgrade = true;
    else if (arg == "--help" || arg == "-h") return Usage(std::cout, 0);
    else if (dir.empty() && !arg.starts_with("-")) dir = arg;
    else return Usage(std::cerr, 2);
  }
  if (dir.empty() || (force && upgrade)) return Usage(std::cerr, 2);
  try {
    return upgrade ? UpgradeWorkspace(dir, std::cout, std::cerr) : MakeWorkspace(dir, force, std::cout, std::cerr);
  } catch (const std::exception& e) {
    std::cerr << "make-workspace: " << e.what() << "\n";
    return 1;
  }
}
