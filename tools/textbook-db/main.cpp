// textbook-db init URL [--demo] [--student-role NAME]
// textbook-db copy FROM TO
// textbook-db upgrade URL
// See TextbookDb.h.
#include <iostream>
#include <string>
#include <vector>

#include "tools/textbook-db/TextbookDb.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return RunTextbookDb(args, std::cout, std::cerr);
}
