// Replays the committed decoder corpus through the fuzzer's own entry point.
#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz/gfx/ImageDecodeTarget.h"
#include "platform/gfx/ImageFile.h"

namespace {

TEST(FuzzCorpus, EverySeedDecodesOrIsRefusedCleanly) {
  const std::filesystem::path corpus = TEXTBOOK_GFX_CORPUS;
  ASSERT_TRUE(std::filesystem::is_directory(corpus)) << corpus;
  int files = 0, accepted = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    if (!entry.is_regular_file()) continue;
    const std::vector<std::uint8_t> data = ReadWholeFile(entry.path().string());
    // Any exception other than the two refusals escapes and fails the test.
    accepted += DecodeImageForFuzzing(data.data(), data.size());
    ++files;
  }
  EXPECT_GE(files, 10);
  // The valid seeds decode, each by exactly one decoder.
  EXPECT_GE(accepted, 5);
}

}  // namespace
