// Replays the committed corpus of the options-plus-masks fuzzer in the normal run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz/skinmodel/SkinModelFuzzEntry.h"

namespace {

std::vector<std::uint8_t> ReadCorpusFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SkinModelFuzzCorpus, EveryInputLoadsOrFailsCleanly) {
  const std::filesystem::path corpus = std::filesystem::path(SKINCORE_REPO_DIR) / "fuzz" / "skinmodel" / "corpus";
  ASSERT_TRUE(std::filesystem::is_directory(corpus)) << corpus;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    if (!entry.is_regular_file()) continue;
    ++files;
    const auto bytes = ReadCorpusFile(entry.path());
    SCOPED_TRACE(entry.path().filename().string());
    const TSkinModelFuzzResult result = FuzzSkinModel(bytes.data(), bytes.size());
    const std::string name = entry.path().filename().string();
    // The seeds that are whole skins must really load, or the fuzzer would only
    // ever see the early failure paths.
    if (name == "lumen-options.txt") {
      EXPECT_TRUE(result.Loaded);
      EXPECT_EQ(result.Sections, 63u);
      EXPECT_GT(result.Masks, 60u);
    }
    if (name == "exborder.txt") {
      // Border, EXBORDER, close icon, its glow, and the small photo as a texture.
      EXPECT_TRUE(result.Loaded);
      EXPECT_EQ(result.Masks, 5u);
    }
    if (name == "letters.txt") {
      EXPECT_FALSE(result.Loaded);  // the conversion error ends the load
    }
  }
  EXPECT_GE(files, 5);
}

}  // namespace
