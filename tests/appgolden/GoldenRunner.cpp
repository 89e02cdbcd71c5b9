// Golden images of the windows: runs the textbook on a fresh demo workspace with a
// script of "shot FORM FILE" lines and compares every image with golden/FILE.
//   app-golden --program TEXTBOOK --make-workspace TOOL --script shots.txt --golden DIR
// A mismatch writes the image found as DIR/<case>-FAILED.png and names both files.
// With TEXTBOOK_UPDATE_GOLDEN=1 the images found replace the golden ones.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/gfx/ImageFile.h"
#include "tests/app/runner/HeadlessRun.h"

namespace fs = std::filesystem;

namespace {

struct TCase {
  std::string Form;
  std::string File;
};

std::vector<TCase> ReadCases(const fs::path& script) {
  std::vector<TCase> cases;
  std::ifstream in(script);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string action, form, file;
    if (words >> action >> form >> file && action == "shot") cases.push_back({form, file});
  }
  return cases;
}

std::string Hex(TColor c) {
  char text[16];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
  return text;
}

// "" when the images are equal, else what differs.
std::string Compare(const TBitmap& expected, const TBitmap& found) {
  if (expected.Width() != found.Width() || expected.Height() != found.Height())
    return "size " + std::to_string(found.Width()) + "x" + std::to_string(found.Height()) + ", expected " +
           std::to_string(expected.Width()) + "x" + std::to_string(expected.Height());
  long differing = 0;
  std::string first;
  for (int y = 0; y < found.Height(); ++y)
    for (int x = 0; x < found.Width(); ++x) {
      const TColor a = expected.Pixel(x, y) & 0xFFFFFF, b = found.Pixel(x, y) & 0xFFFFFF;
      if (a == b) continue;
      if (differing++ == 0)
        first = " (first at " + std::to_string(x) + "," + std::to_string(y) + ": expected " + Hex(a) + ", found " +
                Hex(b) + ")";
    }
  return differing ? std::to_string(differing) + " pixels differ" + first : "";
}

}  // namespace

int main(int argc, char** argv) {
  std::string program, makeWorkspace, scriptArg, goldenArg;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string key = argv[i];
    if (key == "--program") program = argv[i + 1];
    else if (key == "--make-workspace") makeWorkspace = argv[i + 1];
    else if (key == "--script") scriptArg = argv[i + 1];
    else if (key == "--golden") goldenArg = argv[i + 1];
  }
  if (program.empty() || makeWorkspace.empty() || scriptArg.empty() || goldenArg.empty()) {
    std::cerr << "usage: app-golden --program P --make-workspace M --script FILE --golden DIR\n";
    return 2;
  }
  const fs::path script = fs::absolute(scriptArg), golden = fs::absolute(goldenArg);
  program = fs::absolute(program).string();
  const char* update = std::getenv("TEXTBOOK_UPDATE_GOLDEN");
  const bool updating = update && *update && std::string(update) != "0";

  fs::path dir;
  switch (MakeFreshWorkspace(makeWorkspace, "textbook-golden", dir)) {
    case TWorkspaceResult::NoFolder: std::cerr << "FAILED: cannot make a temporary folder\n"; return 1;
    case TWorkspaceResult::MakeFailed:
      std::cerr << "FAILED: make-workspace failed (workspace kept at " << dir << ")\n";
      return 1;
    case TWorkspaceResult::Made: break;
  }
  const fs::path errors = dir.string() + ".stderr";
  const int status = RunHeadless(program, dir, script, errors);
  if (status != 0) {
    std::ifstream in(errors);
    std::cerr << in.rdbuf() << "\nFAILED: the program ended with status " << status << " (workspace kept at " << dir
              << ")\n";
    return 1;
  }

  int failures = 0;
  const std::vector<TCase> cases = ReadCases(script);
  if (cases.empty()) {
    std::cerr << "FAILED: the script shoots no window\n";
    return 1;
  }
  fs::create_directories(golden);
  for (const TCase& c : cases) {
    const fs::path found = dir / c.File, expected = golden / c.File;
    const fs::path failed = golden / (fs::path(c.File).stem().string() + "-FAILED.png");
    if (!fs::exists(found)) {
      std::cerr << "FAILED: " << c.Form << " was not shot into " << c.File << "\n";
      ++failures;
      continue;
    }
    if (updating) {
      fs::copy_file(found, expected, fs::copy_options::overwrite_existing);
      fs::remove(failed);
      std::cout << "updated " << expected.string() << "\n";
      continue;
    }
    std::string difference;
    try {
      difference = fs::exists(expected) ? Compare(LoadPngFromFile(expected.string()), LoadPngFromFile(found.string()))
                                        : "no golden image yet";
    } catch (const std::exception& e) {
      difference = std::string("cannot read the images: ") + e.what();
    }
    if (difference.empty()) {
      fs::remove(failed);
      std::cout << "ok " << c.File << "\n";
      continue;
    }
    fs::copy_file(found, failed, fs::copy_options::overwrite_existing);
    std::cerr << "FAILED: " << c.Form << ": " << difference << "\n  expected " << expected.string() << "\n  found    "
              << failed.string() << "\n";
    ++failures;
  }
  if (failures == 0) {
    fs::remove_all(dir);
    fs::remove(errors);
  } else {
    std::cerr << "(workspace kept at " << dir << ")\n";
  }
  return failures == 0 ? 0 : 1;
}
