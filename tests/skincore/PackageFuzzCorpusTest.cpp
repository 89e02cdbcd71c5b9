#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "fuzz/skinpack/PackageFuzzEntry.h"

namespace {

namespace fs = std::filesystem;

fs::path CorpusDir() { return fs::path(SKINCORE_REPO_DIR) / "fuzz" / "skinpack" / "corpus"; }

std::vector<std::uint8_t> Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string ParseOutcome(const std::vector<std::uint8_t>& bytes) {
  try {
    TacSkinConvertor reader;
    reader.OwnSource(std::make_unique<TacMemoryStream>(bytes));
    reader.ParsePackage();
  } catch (const Exception& e) {
    return e.Message();
  }
  return "ok";
}

}  // namespace

TEST(PackageFuzzCorpus, EveryInputRunsThroughTheFuzzEntryPoint) {
  int files = 0;
  for (const auto& entry : fs::directory_iterator(CorpusDir())) {
    const auto bytes = Read(entry.path());
    EXPECT_NO_THROW(FuzzPackageReader(bytes.data(), bytes.size())) << entry.path();
    ++files;
  }
  EXPECT_GE(files, 10);
}

TEST(PackageFuzzCorpus, NamedInputsEndAsExpected) {
  const std::map<std::string, std::string> expected = {
      {"valid.asz", "ok"},
      {"options-last.asz", "ok"},
      {"empty.asz", "ok"},
      {"stored-blocks.asz", "ok"},
      {"bad-strict.asz", "ok"},  // the package is fine; its options are not
      {"no-magic.asz", "Loaded data is not a packed skin file"},
      {"truncated.asz", "Stream read error"},
      {"absurd-size.asz", "Stream read error"},
      {"absurd-count.asz", "Stream read error"},
      {"corrupt.asz", "data error"},
  };
  for (const auto& [name, outcome] : expected) EXPECT_EQ(ParseOutcome(Read(CorpusDir() / name)), outcome) << name;
}
