#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "skin/core/acSkinCheck.h"
#include "skin/core/acSkinPackWriter.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> Text(std::string_view t) { return {t.begin(), t.end()}; }

void WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> Lines(const std::vector<TacSkinProblem>& problems) {
  std::vector<std::string> lines;
  for (const auto& p : problems) lines.push_back(FormatSkinProblem(p));
  return lines;
}

class PackageCheck : public ::testing::Test {
protected:
  TTempFolder Root{"skincore-check"};
};

const char* kFaulty =
    "[GLOBALINFO]\nVERSION=6,4\nMASTERBITMAP=MASTER.BMP\nSHADOW1BLUR=soft\n"
    "[BUTTON]\nPARENTCLASS=NOBODY\nTRANSPARENCY=half\nSHOWFOCUS=1\nGLYPHMASK=!Glow.png!1!0!4\n"
    "[PANEL]\nBORDERSMASK=^00x5^0054^0081^0090^0000^0000^0000^0000^1^0^1^2\nPATTERN=WOOD.JPG\n"
    "[A]\nPARENTCLASS=B\n[B]\nPARENTCLASS=A\n";

}  // namespace

TEST_F(PackageCheck, ReportsEveryProblemOfAPackage) {
  WriteFile(Root / "Faulty.asz", WritePackage({{"Options.dat", Text(kFaulty)}, {"Glow.png", Text("x")}}));
  const auto lines = Lines(CheckSkin((Root / "Faulty.asz").string()));
  const std::vector<std::string> expected = {
      "[GLOBALINFO] VERSION: '6,4' is not a number with \".\" and reads as 0",
      "[GLOBALINFO] SHADOW1BLUR: 'soft' is not a valid integer value",
      "[GLOBALINFO] MASTERBITMAP: image \"MASTER.BMP\" not found",
      "[BUTTON] PARENTCLASS: unknown parent \"NOBODY\"",
      "[A] PARENTCLASS: parent chain loops back to \"A\"",
      "[B] PARENTCLASS: parent chain loops back to \"B\"",
      "[BUTTON] TRANSPARENCY: 'half' is not an integer and counts as missing",
      "[BUTTON] SHOWFOCUS: '1' is neither TRUE nor FALSE and counts as false",
      "[BUTTON] GLYPHMASK: image \"Glow.png\" not found (references into a package must be upper case)",
      "[PANEL] BORDERSMASK: '00x5' is not a valid integer value",
      "[PANEL] PATTERN: image \"WOOD.JPG\" not found",
      "loading fails: '00x5' is not a valid integer value",  // masks load before the global values
  };
  EXPECT_EQ(lines, expected);
}

TEST_F(PackageCheck, CleanFolderSkinHasNoProblems) {
  WriteFile(Root / "Clean" / "Options.dat", Text("[GLOBALINFO]\nVERSION=6.4\n[BUTTON]\nCOLOR=1\n[BUTTON_BIG]\nPARENTCLASS=BUTTON\n"));
  EXPECT_EQ(Lines(CheckSkin((Root / "Clean").string())), std::vector<std::string>{});
}

TEST_F(PackageCheck, UnreadableSourcesAreReportedNotThrown) {
  WriteFile(Root / "Bad.asz", Text("garbage"));
  EXPECT_EQ(Lines(CheckSkin((Root / "Bad.asz").string())), std::vector<std::string>{"Loaded data is not a packed skin file"});
  EXPECT_EQ(Lines(CheckSkin((Root / "Missing.asz").string())).size(), 1u);
  fs::create_directories(Root / "NoOptions");
  EXPECT_EQ(Lines(CheckSkin((Root / "NoOptions").string())).size(), 1u);
}
