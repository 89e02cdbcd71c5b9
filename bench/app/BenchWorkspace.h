#pragma once
// The demo workspace in a temporary folder, made once per benchmark program by
// the workspace generator and removed at its end.
#include <cstdlib>
#include <filesystem>
#include <string>

struct TBenchWorkspace {
  std::filesystem::path Dir;

  TBenchWorkspace() {
    std::string pattern = (std::filesystem::temp_directory_path() / "textbook-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    Dir = pattern;
    const std::string make = std::string(MAKE_WORKSPACE) + " '" + Dir.string() + "' > /dev/null";
    if (std::system(make.c_str()) != 0) std::abort();
  }
  ~TBenchWorkspace() { std::filesystem::remove_all(Dir); }
  TBenchWorkspace(const TBenchWorkspace&) = delete;
  TBenchWorkspace& operator=(const TBenchWorkspace&) = delete;
};
