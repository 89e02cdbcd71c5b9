#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/base/Exception.h"
#include "skin/core/acSkinPackWriter.h"
#include "skin/core/acSkinSource.h"
#include "skin/core/acSkinModel.h"
#include "tests/support/ErrorOf.h"

namespace fs = std::filesystem;

TEST(SkinSource, WithTrailingSeparator) {
  EXPECT_EQ(WithTrailingSeparator(""), "");
  EXPECT_EQ(WithTrailingSeparator("C"), "C:\\");
  EXPECT_EQ(WithTrailingSeparator("C:/x/"), "C:/x\\");
  EXPECT_EQ(WithTrailingSeparator("C:\\Skins\\"), "C:\\Skins\\");
  EXPECT_EQ(WithTrailingSeparator("C:\\Skins"), "C:\\Skins\\");
  EXPECT_EQ(WithTrailingSeparator("/"), "\\");
}

TEST(SkinSource, ResolveSkinDirectory) {
  const std::string program = "D:\\App\\Bin\\";
  EXPECT_EQ(ResolveSkinDirectory("..\\Skins", program), "D:\\App\\Skins");
  EXPECT_EQ(ResolveSkinDirectory("../Skins", program), "D:\\App\\Skins");
  EXPECT_EQ(ResolveSkinDirectory("Skins", program), "D:\\App\\Bin\\Skins");
  EXPECT_EQ(ResolveSkinDirectory(".\\Skins", program), "D:\\App\\Bin\\Skins");
  EXPECT_EQ(ResolveSkinDirectory("./Skins", program), "D:\\App\\Bin\\Skins");
  EXPECT_EQ(ResolveSkinDirectory("\\\\server\\share", program), "\\\\server\\share");
  EXPECT_EQ(ResolveSkinDirectory("C:\\Skins", program), "C:\\Skins");
  EXPECT_EQ(ResolveSkinDirectory("..", program), "D:\\App\\");
  EXPECT_EQ(ResolveSkinDirectory("", program), "D:\\App\\Bin\\");
  EXPECT_EQ(ResolveSkinDirectory("..\\x", "\\"), "x");
}

TEST(SkinSource, NativePathTurnsEveryBackslash) {
  EXPECT_EQ(NativePath("C:\\Tessaly\\Skins\\TheFrog.asz"), "C:/Tessaly/Skins/TheFrog.asz");
  EXPECT_EQ(TextPath("/tmp/a"), "\\tmp\\a");
}

namespace {

std::vector<std::uint8_t> Text(std::string_view t) { return {t.begin(), t.end()}; }

void WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A program folder and working directory of their own, with a "Skins" directory.
class SkinSourceChoice : public ::testing::Test {
protected:
  void SetUp() override {
    Root = fs::temp_directory_path() / ("skincore-source-" + std::to_string(getpid()));
    fs::remove_all(Root);
    fs::create_directories(Root / "Skins");
    OldCwd = fs::current_path();
    fs::current_path(Root);
    Manager = std::make_unique<TacSkinModel>();
    Manager->SetProgramFolder(TextPath(Root.string()) + "\\");
    Manager->SetSkinDirectory("Skins");
    Manager->OnShowMessage = [this](const std::string& m) { Messages.push_back(m); };
    TsStoredSkin& stored = Manager->InternalSkins().Add();
    stored.Name = "Lumen (внутренний)";
    stored.Data = TacMemoryStream(WritePackage({{"Options.dat", Text("[GLOBALINFO]\nVERSION=6.4\n[STORED]\n")}}));
  }
  void TearDown() override {
    Manager.reset();
    fs::current_path(OldCwd);
    fs::remove_all(Root);
  }

  fs::path Root;
  fs::path OldCwd;
  std::unique_ptr<TacSkinModel> Manager;
  std::vector<std::string> Messages;
};

}  // namespace

TEST_F(SkinSourceChoice, PackageComesFirst) {
  WriteFile(Root / "Skins" / "TheFrog.asz", WritePackage({{"Options.dat", Text("[PACKAGE]\n")}}));
  WriteFile(Root / "Skins" / "TheFrog" / "Options.dat", Text("[FOLDER]\n"));
  Manager->SetSkinName("TheFrog");
  EXPECT_TRUE(Manager->SkinIsPacked);
  EXPECT_EQ(Manager->SectionIndexOf("PACKAGE"), 0);
  EXPECT_EQ(Manager->SkinData.ImageFolder, TextPath(Root.string()) + "\\Skins\\");
  EXPECT_EQ(Manager->SkinName(), "TheFrog");
  EXPECT_EQ(Manager->SkinFile(), nullptr);  // the options store lives only during the load
  EXPECT_EQ(Manager->Convertor(), nullptr);
  EXPECT_TRUE(Messages.empty());
}

TEST_F(SkinSourceChoice, FolderSkinWhenThereIsNoPackage) {
  WriteFile(Root / "Skins" / "TheFrog" / "Options.dat", Text("[FOLDER]\nCOLOR=1\n"));
  Manager->SetSkinName("TheFrog");
  EXPECT_FALSE(Manager->SkinIsPacked);
  EXPECT_EQ(Manager->SectionIndexOf("FOLDER"), 0);
  EXPECT_EQ(Manager->SkinData.ImageFolder, TextPath(Root.string()) + "\\Skins\\TheFrog\\");
  EXPECT_TRUE(Manager->SkinData.SkinReady);
}

TEST_F(SkinSourceChoice, FirstStoredSkinWhenNothingIsOnDisk) {
  Manager->SetSkinName("TheFrog");
  EXPECT_TRUE(Manager->Active());
  EXPECT_EQ(Manager->SkinName(), "Lumen (внутренний)");
  EXPECT_TRUE(Manager->SkinIsPacked);
  EXPECT_EQ(Manager->SkinData.ImageFolder, "");
  EXPECT_EQ(Manager->SectionIndexOf("STORED"), 1);
  EXPECT_EQ(Manager->SkinInfo(), "6.4");
  EXPECT_FALSE(Manager->InternalSkins()[0].Data.Empty());  // the stored skin keeps its bytes
  EXPECT_TRUE(Messages.empty());
}

TEST_F(SkinSourceChoice, NoSkinAtAllMakesTheManagerInactiveSilently) {
  Manager->InternalSkins().Clear();
  Manager->SetSkinName("Missing");
  EXPECT_FALSE(Manager->Active());
  EXPECT_TRUE(Manager->Sections().empty());
  EXPECT_EQ(Manager->SkinInfo(), "N/A");
  EXPECT_TRUE(Messages.empty());
  // Becoming active again loads once a skin exists.
  WriteFile(Root / "Skins" / "Missing" / "Options.dat", Text("[BACK]\n"));
  Manager->SetActive(true);
  EXPECT_TRUE(Manager->Active());
  EXPECT_EQ(Manager->SectionIndexOf("BACK"), 0);
}

TEST_F(SkinSourceChoice, PackagePathIsRelativeToTheWorkingDirectory) {
  // The program lives elsewhere: the package is still found through the working directory,
  // while the image folder is resolved against the program's folder.
  WriteFile(Root / "Skins" / "TheFrog.asz", WritePackage({{"Options.dat", Text("[PACKAGE]\n")}}));
  Manager->SetProgramFolder("\\elsewhere\\bin\\");
  Manager->SetSkinDirectory("Skins\\");
  Manager->SetSkinName("TheFrog");
  EXPECT_EQ(Manager->PackagePath(), "Skins\\TheFrog.asz");
  EXPECT_TRUE(Manager->SkinIsPacked);
  EXPECT_EQ(Manager->SectionIndexOf("PACKAGE"), 0);
  EXPECT_EQ(Manager->SkinData.ImageFolder, "\\elsewhere\\bin\\Skins\\\\");
  Manager->SetSkinDirectory("C");
  EXPECT_EQ(Manager->PackagePath(), "C:\\TheFrog.asz");
}

TEST_F(SkinSourceChoice, StoredPackageWithoutMagicFailsAndKeepsItsBytes) {
  Manager->InternalSkins()[0].Data = TacMemoryStream(Text("not a package"));
  EXPECT_EQ(ErrorOf([&] { Manager->SetSkinName("Lumen (внутренний)"); }), "Loaded data is not a packed skin file");
  EXPECT_EQ(Manager->InternalSkins()[0].Data.View(), "not a package");
  EXPECT_EQ(Manager->Convertor(), nullptr);
  EXPECT_FALSE(Manager->SkinData.SkinReady);
}

TEST_F(SkinSourceChoice, PackageWithoutOptionsFails) {
  WriteFile(Root / "Skins" / "Bare.asz", WritePackage({{"Master.bmp", Text("x")}}));
  EXPECT_THROW(Manager->SetSkinName("Bare"), Exception);
  EXPECT_EQ(Manager->SkinFile(), nullptr);
}

TEST_F(SkinSourceChoice, ReloadingAfterAnAdjustmentReadsTheSourceAgain) {
  WriteFile(Root / "Skins" / "TheFrog" / "Options.dat", Text("[ONE]\n"));
  Manager->SetSkinName("TheFrog");
  EXPECT_EQ(Manager->SectionIndexOf("ONE"), 0);
  WriteFile(Root / "Skins" / "TheFrog.asz", WritePackage({{"Options.dat", Text("[TWO]\n")}}));
  Manager->SetHueOffset(0);  // unchanged: no reload
  EXPECT_EQ(Manager->SectionIndexOf("ONE"), 0);
  Manager->SetSaturation(10);
  EXPECT_EQ(Manager->SectionIndexOf("TWO"), 0);
  EXPECT_TRUE(Manager->SkinIsPacked);
}

TEST_F(SkinSourceChoice, ListSkinsByMode) {
  WriteFile(Root / "Skins" / "Dark.asz", WritePackage({}));
  WriteFile(Root / "Skins" / "Loud.ASZ", WritePackage({}));
  WriteFile(Root / "Skins" / "aqua.v2.asz", WritePackage({}));
  WriteFile(Root / "Skins" / "Beach" / "Options.dat", Text("[A]\n"));
  WriteFile(Root / "Skins" / ".Hidden" / "Options.dat", Text("[A]\n"));
  fs::create_directories(Root / "Skins" / "Empty");
  std::vector<std::string> list;
  EXPECT_EQ(Manager->ListSkins(list, 1), "Lumen (внутренний)");
  EXPECT_EQ(list, (std::vector<std::string>{"aqua", "Dark", "Lumen (внутренний)"}));
  Manager->ListSkins(list, 0);
  EXPECT_EQ(list, (std::vector<std::string>{"Beach", "Lumen (внутренний)"}));
  Manager->ListSkins(list, 2);
  EXPECT_EQ(list, (std::vector<std::string>{"aqua", "Beach", "Dark", "Lumen (внутренний)"}));
  Manager->InternalSkins().Clear();
  Manager->SetSkinDirectory("Nowhere");
  EXPECT_EQ(Manager->ListSkins(list, 2), "");
  EXPECT_TRUE(list.empty());
}

TEST_F(SkinSourceChoice, FileNamesMatchIgnoringCaseAsOnTheSkinsHomeSystem) {
  WriteFile(Root / "Skins" / "TheFrog" / "OPTIONS.DAT", Text("[FOLDER]\n"));
  WriteFile(Root / "Skins" / "TheFrog" / "Master.bmp", Text("BM"));
  const std::string folder = TextPath(Root.string()) + "\\skins\\THEFROG\\";
  EXPECT_TRUE(SkinFileExists(folder + "MASTER.BMP"));
  EXPECT_EQ(ExistingNativePath(folder + "MASTER.BMP"), (Root / "Skins" / "TheFrog" / "Master.bmp").string());
  EXPECT_TRUE(SkinDirectoryExists(TextPath(Root.string()) + "\\SKINS"));
  EXPECT_FALSE(SkinFileExists(folder + "MASTER.PNG"));
  EXPECT_EQ(ExistingNativePath("\\no\\such\\Thing"), "/no/such/Thing");
  Manager->SetSkinName("thefrog");
  EXPECT_FALSE(Manager->SkinIsPacked);
  EXPECT_EQ(Manager->SectionIndexOf("FOLDER"), 0);
}
