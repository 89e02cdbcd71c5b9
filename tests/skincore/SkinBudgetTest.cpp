// What one skin load may bring into memory: inflated entries, files read from a skin
// folder and decoded pictures count against one total; the options text has a
// smaller bound. Each case fails with ESkinTooLarge before the memory is taken.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/gfx/ImageFile.h"
#include "skin/core/acSkinBudget.h"
#include "skin/core/acSkinModel.h"
#include "skin/core/acSkinPack.h"
#include "skin/core/acSkinPackWriter.h"
#include "skin/core/acSkinSource.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> Text(std::string_view t) { return {t.begin(), t.end()}; }

void PutInt32(std::vector<std::uint8_t>& out, std::int32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>((static_cast<std::uint32_t>(value) >> shift) & 0xFF));
}

// A package whose entries declare sizes their (tiny) streams do not have: only the
// declarations matter, as the bound is checked before inflating.
std::vector<std::uint8_t> DeclaringPackage(const std::vector<std::pair<std::string, std::int32_t>>& entries) {
  std::vector<std::uint8_t> out{'A', 'S', 'z', 'f'};
  PutInt32(out, static_cast<std::int32_t>(entries.size()));
  for (const auto& [name, size] : entries) {
    PutInt32(out, static_cast<std::int32_t>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    PutInt32(out, size);
    const std::vector<std::uint8_t> stream = WritePackage({{"x", Text("x")}}, 1);  // some zlib bytes
    out.insert(out.end(), stream.end() - 9, stream.end());
  }
  return out;
}

std::string LoadError(TacSkinConvertor& reader) {
  try {
    reader.ParsePackage();
  } catch (const ESkinTooLarge& e) {
    return e.Message();
  } catch (const Exception& e) {
    return "other: " + e.Message();
  }
  return "loaded";
}

}  // namespace

TEST(SkinBudget, CountsUpToTheLimitAndNamesWhatPassesIt) {
  TacSkinBudget budget(100);
  budget.Take(60, "a.bmp");
  budget.Take(40, "b.bmp");
  EXPECT_EQ(budget.Used(), 100u);
  try {
    budget.Take(1, "c.bmp");
    FAIL() << "one byte past the limit was taken";
  } catch (const ESkinTooLarge& e) {
    EXPECT_NE(e.Message().find("«c.bmp»"), std::string::npos) << e.Message();
  }
  EXPECT_EQ(budget.Used(), 100u);
  TacSkinBudget huge;
  EXPECT_THROW(huge.Take(~0ull, "x"), ESkinTooLarge);  // no wrap-around
  EXPECT_EQ(huge.Limit(), kMaxSkinBytes);
}

TEST(SkinBudget, PackageEntriesCountTogetherBeforeTheyAreInflated) {
  // Sixteen entries of 20 MiB each pass one by one but not together (the reported
  // package: sixteen entries of 256 MiB each, in 4 MB).
  std::vector<std::pair<std::string, std::int32_t>> entries;
  for (int i = 0; i < 16; ++i) entries.emplace_back("Big" + std::to_string(i) + ".bmp", 20 << 20);
  TacMemoryStream source(DeclaringPackage(entries));
  TacSkinConvertor reader;
  reader.BorrowSource(&source);
  TacSkinBudget budget(100 << 20);
  reader.Budget = &budget;
  // The first entry's stream does not hold its declared size: it is inflated (and
  // fails as short) only when the total allows it.
  EXPECT_EQ(LoadError(reader), "other: Stream read error");
  EXPECT_EQ(budget.Used(), 20u << 20);

  // Honest entries: the first is inflated, the second passes the total.
  TacSkinBudget small(6 << 20);
  reader.Budget = &small;
  TacMemoryStream honest(WritePackage({{"A.bmp", std::vector<std::uint8_t>(4 << 20, 0)}, {"B.bmp", std::vector<std::uint8_t>(4 << 20, 0)}}, 1));
  reader.BorrowSource(&honest);
  const std::string error = LoadError(reader);
  EXPECT_NE(error.find("Скин слишком велик"), std::string::npos) << error;
  EXPECT_NE(error.find("«B.bmp»"), std::string::npos) << error;
  reader.ReleaseSource();
}

TEST(SkinBudget, AParseWithoutABudgetHasTheDefaultTotal) {
  // 2 x 200 MiB declared: the second passes the default total before inflating.
  TacMemoryStream source(DeclaringPackage({{"Options.dat", 10}, {"A.bmp", 200 << 20}, {"B.bmp", 200 << 20}}));
  TacSkinConvertor reader;
  reader.BorrowSource(&source);
  // The first entry is short, so it fails first; the order of checks is what is shown.
  EXPECT_EQ(LoadError(reader), "other: Stream read error");
  TacSkinBudget budget;
  budget.Take(100 << 20, "earlier");
  TacMemoryStream second(DeclaringPackage({{"A.bmp", 200 << 20}}));
  reader.Budget = &budget;
  reader.BorrowSource(&second);
  EXPECT_NE(LoadError(reader).find("«A.bmp»"), std::string::npos);
  reader.ReleaseSource();
}

TEST(SkinBudget, AnOptionsEntryLargerThanItsBoundFailsBeforeInflating) {
  TacMemoryStream source(DeclaringPackage({{"options.DAT", static_cast<std::int32_t>(kMaxSkinOptionsBytes + 1)}}));
  TacSkinConvertor reader;
  reader.BorrowSource(&source);
  const std::string error = LoadError(reader);
  EXPECT_NE(error.find("Файл настроек скина «options.DAT» больше допустимых 1 МБ"), std::string::npos) << error;
  reader.ReleaseSource();
}

// A skin folder in a directory of its own.
class SkinFolderBudget : public ::testing::Test {
protected:
  void SetUp() override {
    Root = fs::temp_directory_path() / ("skincore-budget-" + std::to_string(getpid()));
    fs::remove_all(Root);
    fs::create_directories(Root / "Skins" / "Big");
    Model.SetProgramFolder(TextPath(Root.string()) + "\\");
    Model.SetSkinDirectory("Skins");
  }
  void TearDown() override { fs::remove_all(Root); }
  void Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(Root / "Skins" / "Big" / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  std::string LoadError() {
    try {
      Model.SetSkinName("Big");
    } catch (const ESkinTooLarge& e) {
      return e.Message();
    } catch (const Exception& e) {
      return "other: " + e.Message();
    }
    return "loaded";
  }
  fs::path Root;
  TacSkinModel Model;
};

TEST_F(SkinFolderBudget, AnOversizedOptionsFileIsRefusedWithoutReadingIt) {
  Write("Options.dat", Text("[GLOBALINFO]\nVERSION=6\n"));
  fs::resize_file(Root / "Skins" / "Big" / "Options.dat", kMaxSkinOptionsBytes + 1);  // sparse: nothing to read
  EXPECT_EQ(LoadError(), "Файл настроек скина «Options.dat» больше допустимых 1 МБ");
}

TEST_F(SkinFolderBudget, AnOversizedMasterFileIsRefusedWithoutReadingIt) {
  Write("Options.dat", Text("[GLOBALINFO]\nMASTERBITMAP=MASTER.BMP\n"));
  Write("MASTER.BMP", Text("BM"));
  fs::resize_file(Root / "Skins" / "Big" / "MASTER.BMP", kMaxSkinBytes + 1);
  const std::string error = LoadError();
  EXPECT_NE(error.find("Скин слишком велик: с «MASTER.BMP»"), std::string::npos) << error;
}

TEST_F(SkinFolderBudget, EveryDecodedPictureCountsSoRepeatedLargeMasksStop) {
  // One 300 x 300 picture (352 KiB as pixels) named by five keys: with a total of
  // 1 MiB two fit, the third does not, whatever the small file's size.
  Model.SetLoadLimit(1 << 20);
  TBitmap big(300, 300, TPixelFormat::pf24bit);
  big.Fill(0x336699);
  Write("BIG.PNG", SavePngToMemory(big));
  std::string options = "[GLOBALINFO]\nVERSION=6\n[S]\n";
  for (int i = 0; i < 5; ++i) options += "K" + std::to_string(i) + "=!BIG.PNG!1!0!0\n";
  Write("Options.dat", Text(options));
  const std::string error = LoadError();
  EXPECT_NE(error.find("Скин слишком велик: с «BIG.PNG»"), std::string::npos) << error;
}

TEST_F(SkinFolderBudget, AFifoInPlaceOfAPictureIsNoPictureAndDoesNotHang) {
  Write("Options.dat", Text("[GLOBALINFO]\nMASTERBITMAP=MASTER.BMP\n"));
  ASSERT_EQ(mkfifo((Root / "Skins" / "Big" / "MASTER.BMP").c_str(), 0600), 0);
  EXPECT_FALSE(ReadSkinFile(TextPath((Root / "Skins" / "Big" / "MASTER.BMP").string())).has_value());
  EXPECT_EQ(LoadError(), "loaded");
  EXPECT_EQ(Model.MasterBitmap, nullptr);
}
