#pragma once
// Every file of one fuzzer's corpus, in name order, with its bytes.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

struct TCorpusFile {
  std::string Name;
  std::vector<std::uint8_t> Bytes;
};

inline std::vector<TCorpusFile> ReadCorpus(const std::string& relative) {
  const std::filesystem::path dir = std::filesystem::path(TEXTBOOK_FUZZ_DIR) / relative;
  std::vector<TCorpusFile> files;
  if (!std::filesystem::is_directory(dir)) return files;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files.push_back({entry.path().filename().string(),
                     {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()}});
  }
  std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a.Name < b.Name; });
  return files;
}
