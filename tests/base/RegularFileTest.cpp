// Whole files named by documents and skins: read only when regular, never blocking,
// refused from the recorded size before reading, and held to the limit when the
// record understates what the file holds.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "platform/base/RegularFile.h"
#include "tests/support/TempFolder.h"

namespace {

class RegularFileTest : public testing::Test {
protected:
  std::string Write(const std::string& name, const std::string& contents) {
    const std::filesystem::path path = Dir / name;
    std::ofstream(path, std::ios::binary) << contents;
    return path.string();
  }
  TTempFolder Dir{"regular-file"};
};

std::string AsText(const TRegularFileRead& read) { return std::string(read.Bytes.begin(), read.Bytes.end()); }

}  // namespace

TEST_F(RegularFileTest, ReadsARegularFileUpToAndIncludingTheLimit) {
  const std::string path = Write("four", "abcd");
  const TRegularFileRead exact = ReadRegularFile(path, 4);
  EXPECT_EQ(exact.Status, TRegularFileStatus::Ok);
  EXPECT_EQ(AsText(exact), "abcd");
  EXPECT_EQ(exact.Size, 4u);

  const TRegularFileRead over = ReadRegularFile(path, 3);
  EXPECT_EQ(over.Status, TRegularFileStatus::TooLarge);
  EXPECT_EQ(over.Size, 4u) << "the caller reports the size found";
  EXPECT_TRUE(over.Bytes.empty());

  const TRegularFileRead empty = ReadRegularFile(Write("empty", ""), 0);
  EXPECT_EQ(empty.Status, TRegularFileStatus::Ok);
  EXPECT_TRUE(empty.Bytes.empty());
}

TEST_F(RegularFileTest, RefusesWhatIsNotARegularFileWithoutBlocking) {
  const std::string pipe = (Dir / "pipe").string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(ReadRegularFile(pipe, 1 << 20).Status, TRegularFileStatus::NotRegular) << "no writer: must not wait";
  EXPECT_EQ(ReadRegularFile("/dev/zero", 1 << 20).Status, TRegularFileStatus::NotRegular);
  EXPECT_EQ(ReadRegularFile(Dir.string(), 1 << 20).Status, TRegularFileStatus::NotRegular);
  EXPECT_EQ(ReadRegularFile((Dir / "missing").string(), 1 << 20).Status, TRegularFileStatus::CannotOpen);
}

TEST_F(RegularFileTest, AHugeSparseFileIsRefusedFromItsRecordedSize) {
  const std::string path = (Dir / "sparse").string();
  Write("sparse", "");
  std::filesystem::resize_file(path, 8ull << 30);
  const TRegularFileRead read = ReadRegularFile(path, 1 << 20);
  EXPECT_EQ(read.Status, TRegularFileStatus::TooLarge);
  EXPECT_EQ(read.Size, 8ull << 30);
}

TEST_F(RegularFileTest, AFileHoldingMoreThanItsRecordSaysIsHeldToTheLimit) {
  // Kernel files report a size of 0 and still have contents.
  const TRegularFileRead whole = ReadRegularFile("/proc/self/status", 1 << 20);
  ASSERT_EQ(whole.Status, TRegularFileStatus::Ok);
  EXPECT_NE(AsText(whole).find("Name:"), std::string::npos);

  const TRegularFileRead capped = ReadRegularFile("/proc/self/status", 16);
  EXPECT_EQ(capped.Status, TRegularFileStatus::TooLarge);
  EXPECT_GT(capped.Size, 16u);
  EXPECT_TRUE(capped.Bytes.empty());
}
