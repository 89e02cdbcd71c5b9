#include <gtest/gtest.h>

#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "platform/base/Exception.h"
#include "skin/core/acSkinPack.h"
#include "skin/core/acSkinPackWriter.h"
#include "skin/core/acSkinSource.h"
#include "tests/support/ErrorOf.h"

namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

std::vector<std::uint8_t> RandomBytes(std::size_t count, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<std::uint8_t> out(count);
  for (auto& b : out) b = static_cast<std::uint8_t>(rng());
  return out;
}

void PutInt32(std::vector<std::uint8_t>& out, std::int32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>((static_cast<std::uint32_t>(value) >> shift) & 0xFF));
}

// Parses bytes with a freshly made reader that owns them.
std::unique_ptr<TacSkinConvertor> Parse(std::vector<std::uint8_t> bytes) {
  auto reader = std::make_unique<TacSkinConvertor>();
  reader->OwnSource(std::make_unique<TacMemoryStream>(std::move(bytes)));
  reader->ParsePackage();
  return reader;
}

std::string ParseError(std::vector<std::uint8_t> bytes) {
  try {
    Parse(std::move(bytes));
  } catch (const Exception& e) {
    return e.Message();
  }
  return "(no error)";
}

std::size_t StoredStreamLength(const std::vector<std::uint8_t>& data) {
  uLongf length = compressBound(static_cast<uLong>(data.size()));
  std::vector<std::uint8_t> packed(length);
  compress2(packed.data(), &length, data.data(), static_cast<uLong>(data.size()), 0);
  return length;
}

std::vector<std::uint8_t> SmallPackage() {
  return WritePackage({{"Options.dat", Bytes("[GLOBALINFO]\r\nVERSION=6.4\r\n")},
                       {"Master.bmp", RandomBytes(3000, 1)},
                       {"GlowRed.png", Bytes("png bytes")}});
}

}  // namespace

// Entries are inflated in place 64 KB at a time: sizes at and around the chunk and
// the empty entry come back byte for byte, and the entry after each starts right.
TEST(Package, EntriesAroundTheInflateChunkComeBackWhole) {
  std::vector<TacPackEntry> entries{{"Options.dat", Bytes("[GLOBALINFO]\r\n")}};
  const std::size_t sizes[] = {0, 1, 65535, 65536, 65537, 3 * 65536, 200001};
  for (std::size_t i = 0; i < std::size(sizes); ++i)
    entries.push_back({"e" + std::to_string(i) + ".bmp", RandomBytes(sizes[i], static_cast<unsigned>(i + 7))});
  for (const int level : {0, 9}) {
    const auto reader = Parse(WritePackage(entries, level));
    ASSERT_EQ(reader->Items.size(), std::size(sizes));
    for (std::size_t i = 0; i < std::size(sizes); ++i)
      EXPECT_EQ(reader->Items[i].Stream->Bytes(), entries[i + 1].Bytes) << sizes[i] << " bytes, level " << level;
  }
}

TEST(Package, WriterOutputParsesBackWithNamesFlagsAndContents) {
  const auto options = Bytes("[GLOBALINFO]\r\nVERSION=6.4\r\n");
  const auto master = RandomBytes(3000, 1);
  const auto reader = Parse(WritePackage({{"Options.dat", options},
                                          {"Master.bmp", master},
                                          {"Фон.BMP", Bytes("x")},
                                          {"GlowRed.png", Bytes("png bytes")}}));
  ASSERT_TRUE(reader->OptionsStream);
  EXPECT_EQ(reader->OptionsStream->Bytes(), options);
  EXPECT_EQ(reader->ImageCount, 3);
  ASSERT_EQ(reader->Items.size(), 3u);
  EXPECT_EQ(reader->Items[0].Name, "Master.bmp");
  EXPECT_TRUE(reader->Items[0].IsBitmap);
  EXPECT_EQ(reader->Items[0].Stream->Bytes(), master);
  EXPECT_EQ(reader->Items[1].Name, "Фон.BMP");  // stored as Windows-1251, read back as UTF-8
  EXPECT_TRUE(reader->Items[1].IsBitmap);
  EXPECT_EQ(reader->Items[2].Name, "GlowRed.png");
  EXPECT_FALSE(reader->Items[2].IsBitmap);
}

TEST(Package, NamesAreWindows1251OnDisk) {
  const auto bytes = WritePackage({{"Ж.bmp", Bytes("x")}});
  // magic, count, name length 5, then 0xC6 for "Ж"
  EXPECT_EQ(bytes[8], 5);
  EXPECT_EQ(bytes[12], 0xC6);
}

TEST(Package, OptionsEntryIsFoundIgnoringCaseAndInAnyPosition) {
  for (const char* name : {"options.dat", "OPTIONS.DAT", "Options.dat"}) {
    const auto reader = Parse(WritePackage({{"a.bmp", Bytes("A")}, {"b.png", Bytes("B")}, {name, Bytes("[X]")}}));
    ASSERT_TRUE(reader->OptionsStream) << name;
    EXPECT_EQ(reader->OptionsStream->View(), "[X]");
    ASSERT_EQ(reader->Items.size(), 2u);
    EXPECT_EQ(reader->Items[0].Name, "a.bmp");
    EXPECT_EQ(reader->Items[1].Name, "b.png");
  }
}

TEST(Package, EmptyPackageHasNoOptionsAndNoItems) {
  const auto reader = Parse(WritePackage({}));
  EXPECT_FALSE(reader->OptionsStream);
  EXPECT_TRUE(reader->Items.empty());
  EXPECT_EQ(reader->ImageCount, -1);
}

TEST(Package, NegativeCountReadsNoEntriesAndTrailingBytesAreIgnored) {
  std::vector<std::uint8_t> bytes = {'A', 'S', 'z', 'f'};
  PutInt32(bytes, -3);
  bytes.push_back(0xEE);
  const auto reader = Parse(bytes);
  EXPECT_TRUE(reader->Items.empty());
  auto withTail = WritePackage({{"a.bmp", Bytes("A")}});
  withTail.insert(withTail.end(), {1, 2, 3, 4, 5});
  EXPECT_EQ(Parse(withTail)->Items.size(), 1u);
}

// Stored (level 0) deflate blocks make the compressed length predictable, so the first
// entry's end can be walked across the 65,536-byte input blocks byte by byte.
TEST(Package, EntryBoundariesAnywhereAroundInputBlocksAreReadExactly) {
  const auto second = RandomBytes(700, 7);
  const std::string firstName = "First.bmp";
  const std::size_t header = 8 + 4 + firstName.size() + 4;
  for (std::size_t blockEdge : {kPackInputBlock, 2 * kPackInputBlock}) {
    for (int delta = -12; delta <= 12; ++delta) {
      const std::size_t target = blockEdge + static_cast<std::size_t>(delta);  // offset of the first stream's end
      std::size_t size = target - header;
      std::vector<std::uint8_t> first;
      for (int tries = 0; tries < 20; ++tries) {
        first = RandomBytes(size, static_cast<unsigned>(size));
        const std::size_t end = header + StoredStreamLength(first);
        if (end == target) break;
        size = size + target - end;
      }
      ASSERT_EQ(header + StoredStreamLength(first), target);
      const auto bytes = WritePackage({{firstName, first}, {"Second.png", second}, {"Options.dat", Bytes("[A]")}}, 0);
      const auto reader = Parse(bytes);
      ASSERT_EQ(reader->Items.size(), 2u) << "delta " << delta;
      EXPECT_EQ(reader->Items[0].Stream->Bytes(), first) << "delta " << delta;
      EXPECT_EQ(reader->Items[1].Stream->Bytes(), second) << "delta " << delta;
      ASSERT_TRUE(reader->OptionsStream);
      EXPECT_EQ(reader->OptionsStream->View(), "[A]");
      EXPECT_EQ(reader->SourceStream->Position(), bytes.size());  // last stream ends at the end
    }
  }
}

TEST(Package, CompressedEntriesLargerThanOneBlockReadCorrectly) {
  const auto big = RandomBytes(200000, 3);
  std::vector<std::uint8_t> text(300000, 'a');
  const auto reader = Parse(WritePackage({{"a.bmp", big}, {"b.bmp", text}, {"c.bmp", {}}}));
  ASSERT_EQ(reader->Items.size(), 3u);
  EXPECT_EQ(reader->Items[0].Stream->Bytes(), big);
  EXPECT_EQ(reader->Items[1].Stream->Bytes(), text);
  EXPECT_TRUE(reader->Items[2].Stream->Empty());
}

TEST(Package, FindItemMatchesUpperCasedNamesOnly) {
  const auto reader = Parse(SmallPackage());
  EXPECT_NE(reader->FindItem("MASTER.BMP"), nullptr);
  EXPECT_EQ(reader->FindItem("Master.bmp"), nullptr);
  EXPECT_EQ(reader->FindItem("master.bmp"), nullptr);
  EXPECT_EQ(reader->FindItem("GLOWRED.PNG")->Name, "GlowRed.png");
}

TEST(Package, DataWithoutMagicIsRefusedAndTheReaderCleared) {
  for (const auto& bytes : {Bytes(""), Bytes("ASz"), Bytes("aszf\x01\0\0\0"), Bytes("PK\x03\x04 some zip")}) {
    TacSkinConvertor reader;
    reader.OwnSource(std::make_unique<TacMemoryStream>(bytes));
    EXPECT_EQ(ErrorOf([&] { reader.ParsePackage(); }), "Loaded data is not a packed skin file");
    EXPECT_EQ(reader.SourceStream, nullptr);
    EXPECT_TRUE(reader.Items.empty());
  }
}

TEST(Package, CorruptStreamFailsWithZlibsGenericMessage) {
  auto bytes = SmallPackage();
  const std::size_t firstStream = 8 + 4 + 11 + 4;
  ASSERT_EQ(bytes[firstStream], 0x78);
  auto badHeader = bytes;
  badHeader[firstStream + 1] ^= 0x01;
  EXPECT_EQ(ParseError(badHeader), "data error");
  auto badBlock = bytes;
  badBlock[firstStream + 2] = 0xFF;  // block type 3 does not exist
  EXPECT_EQ(ParseError(badBlock), "data error");
  auto badAdler = WritePackage({{"a.bmp", Bytes("abc")}});
  badAdler[badAdler.size() - 1] ^= 0xFF;
  EXPECT_EQ(ParseError(badAdler), "data error");
}

TEST(Package, EveryTruncationFailsWithStreamReadError) {
  const auto bytes = SmallPackage();
  for (std::size_t length = 4; length < bytes.size(); ++length) {
    std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_EQ(ErrorOf<EReadError>([&] { Parse(cut); }), "Stream read error") << "length " << length;
  }
}

TEST(Package, LyingSizesFailWithStreamReadError) {
  const auto body = Bytes("hello world");
  uLongf packedSize = compressBound(static_cast<uLong>(body.size()));
  std::vector<std::uint8_t> packed(packedSize);
  ASSERT_EQ(compress2(packed.data(), &packedSize, body.data(), static_cast<uLong>(body.size()), 9), Z_OK);
  packed.resize(packedSize);
  const auto package = [&](std::int32_t nameLength, std::int32_t size) {
    std::vector<std::uint8_t> out = {'A', 'S', 'z', 'f'};
    PutInt32(out, 1);
    PutInt32(out, nameLength);
    out.insert(out.end(), {'a', '.', 'b', 'm', 'p'});
    PutInt32(out, size);
    out.insert(out.end(), packed.begin(), packed.end());
    return out;
  };
  EXPECT_EQ(Parse(package(5, 11))->Items[0].Stream->View(), "hello world");
  EXPECT_EQ(ParseError(package(5, 0x7FFFFFFF)), "Stream read error");  // absurd size
  EXPECT_EQ(ParseError(package(5, 100000)), "Stream read error");      // stream ends early
  EXPECT_EQ(ParseError(package(5, 5)), "Stream read error");           // stream is longer
  EXPECT_EQ(ParseError(package(5, -1)), "Stream read error");
  EXPECT_EQ(ParseError(package(0x7FFFFFFF, 11)), "Stream read error");  // absurd name
  EXPECT_EQ(ParseError(package(-2, 11)), "Stream read error");
  std::vector<std::uint8_t> manyEntries = {'A', 'S', 'z', 'f'};
  PutInt32(manyEntries, 0x7FFFFFFF);
  EXPECT_EQ(ParseError(manyEntries), "Stream read error");
}

TEST(Package, BorrowedSourceSurvivesClearing) {
  TacMemoryStream data(SmallPackage());
  {
    TacSkinConvertor reader;
    reader.BorrowSource(&data);
    reader.ParsePackage();
    EXPECT_EQ(reader.Items.size(), 2u);
    reader.ClearPackage();
    EXPECT_EQ(reader.SourceStream, nullptr);
  }
  EXPECT_EQ(data.Bytes(), SmallPackage());
}

TEST(Package, LoadPackageFileLeavesTheReaderAloneWhenTheFileIsMissing) {
  const auto dir = std::filesystem::temp_directory_path() / "skincore-package-file";
  std::filesystem::create_directories(dir);
  const auto bytes = SmallPackage();
  std::ofstream(dir / "Skin.asz", std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));

  std::unique_ptr<TacSkinConvertor> reader;
  LoadPackageFile(TextPath((dir / "Missing.asz").string()), reader, true);
  EXPECT_FALSE(reader);

  LoadPackageFile(TextPath((dir / "Skin.asz").string()), reader, true);
  ASSERT_TRUE(reader);
  EXPECT_EQ(reader->Items.size(), 2u);
  EXPECT_EQ(reader->SourceStream, nullptr);  // released

  TacSkinConvertor* same = reader.get();
  LoadPackageFile(TextPath((dir / "Missing.asz").string()), reader, true);
  EXPECT_EQ(reader.get(), same);
  EXPECT_EQ(reader->Items.size(), 2u);

  LoadPackageFile(TextPath((dir / "Skin.asz").string()), reader, false);
  ASSERT_NE(reader->SourceStream, nullptr);
  EXPECT_EQ(reader->SourceStream->Size(), bytes.size());
  std::filesystem::remove_all(dir);
}
