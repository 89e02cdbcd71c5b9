// Skins that used to fail to load or overflowed: empty and zero-width images, hex
// gradient words, Cyrillic references in another letter case, corrupt and absurd
// packages, extreme saturation.
#include <gtest/gtest.h>

#include <climits>

#include "platform/base/Exception.h"
#include "skin/core/acSkinImage.h"
#include "skin/core/acSkinPack.h"
#include "skin/core/sGradient.h"
#include "skin/core/sHue.h"
#include "tests/skincore/MasksTestSkin.h"

namespace {

std::vector<std::uint8_t> BmpOf(int w, int h, TColor c) { return SaveBmpToMemory(Plain(w, h, c)); }

// A BMP whose header says it is 0 pixels wide.
std::vector<std::uint8_t> ZeroWidthBmp() {
  auto bytes = BmpOf(4, 4, 0x00FF00);
  bytes[18] = bytes[19] = bytes[20] = bytes[21] = 0;
  return bytes;
}

std::vector<std::uint8_t> ZeroWidthPng() {
  auto bytes = SavePngToMemory(Plain(4, 4, 0x00FF00));
  bytes[16] = bytes[17] = bytes[18] = bytes[19] = 0;
  return bytes;
}

TEST(ModelMends, EmptyAndZeroWidthImagesAreNoImage) {
  EXPECT_TRUE(DeclaresNoPixels({}));
  EXPECT_TRUE(DeclaresNoPixels(ZeroWidthBmp()));
  EXPECT_TRUE(DeclaresNoPixels(ZeroWidthPng()));
  EXPECT_FALSE(DeclaresNoPixels(BmpOf(4, 4, 0)));
  EXPECT_FALSE(DeclaresNoPixels(SaveJpegToMemory(Plain(4, 4, 0), 90)));

  const char* options = R"([GLOBALINFO]
VERSION=6.4
MASTERBITMAP=MASTER.BMP
[BUTTON]
GLYPH=!ZERO.PNG!1!0!2
OLDSTYLE=EMPTY.BMP
FLAT=THIN.BMP
BACK=NOTHING.JPG
)";
  std::unique_ptr<TacSkinModel> m;
  ASSERT_NO_THROW(m = ManagerWithPackage(options, {{"Master.bmp", {}},
                                                   {"Zero.png", ZeroWidthPng()},
                                                   {"Empty.bmp", {}},
                                                   {"Thin.bmp", ZeroWidthBmp()},
                                                   {"Nothing.jpg", {}}}));
  EXPECT_EQ(m->SkinInfo(), "6.4");
  EXPECT_EQ(m->MasterBitmap, nullptr);
  EXPECT_EQ(FindMask(*m, "BUTTON", "GLYPH"), nullptr);
  EXPECT_EQ(FindMask(*m, "BUTTON", "OLDSTYLE"), nullptr);
  EXPECT_EQ(FindMask(*m, "BUTTON", "FLAT"), nullptr);
  EXPECT_TRUE(m->Patterns().empty());
  EXPECT_GE(m->SectionIndexOf("BUTTON"), 0);
}

TEST(ModelMends, GradientWordsTakeEveryIntegerForm) {
  const TsGradArray stops = ParseGradient("$FF;0x10;$32;0;0;-$1;+7;0X64;1;0");
  ASSERT_EQ(stops.size(), 2u);
  EXPECT_EQ(stops[0].Color1, 255);
  EXPECT_EQ(stops[0].Color2, 16);
  EXPECT_EQ(stops[0].Percent, 50);
  EXPECT_EQ(stops[1].Color1, 0);  // negative colours become 0
  EXPECT_EQ(stops[1].Color2, 7);
  EXPECT_EQ(stops[1].Percent, 100);
  EXPECT_THROW(ParseGradient("$FG;0;0;0;0"), EConvertError);

  const auto m = ManagerWithPackage("[GLOBALINFO]\nVERSION=6.4\n[BAR]\nGRADIENTDATA=$FFFFFF;0x0;100;0;0\n", {});
  const int bar = m->SectionIndexOf("BAR");
  ASSERT_GE(bar, 0);
  ASSERT_EQ(m->Section(bar)->GradientStops.size(), 1u);
  EXPECT_EQ(m->Section(bar)->GradientStops[0].Color1, 0xFFFFFF);
}

TEST(ModelMends, CyrillicReferencesMatchEntriesInAnotherLetterCase) {
  const auto m = ManagerWithPackage("[GLOBALINFO]\nVERSION=6.4\n[КНОПКА]\nOLD=рамка.bmp\nBACK=фон.jpg\n",
                                    {{"Рамка.BMP", BmpOf(9, 6, 0x0000FF)},
                                     {"ФОН.jpg", SaveJpegToMemory(Plain(400, 300, 0x3366CC), 90)}});
  const TsMaskData* old = FindMask(*m, "КНОПКА", "OLD");
  ASSERT_NE(old, nullptr);
  EXPECT_EQ(old->Right, 9);
  ASSERT_EQ(m->Patterns().size(), 1u);
  EXPECT_EQ(m->Patterns()[0].Image->Width(), 400);
}

std::string ParseMessage(std::vector<std::uint8_t> bytes, TacSkinConvertor* out = nullptr) {
  TacSkinConvertor reader;
  reader.OwnSource(std::make_unique<TacMemoryStream>(std::move(bytes)));
  try {
    reader.ParsePackage();
  } catch (const Exception& e) {
    return e.Message();
  }
  if (out) out->ImageCount = reader.ImageCount;
  return "ok";
}

TEST(ModelMends, CorruptStreamsReportZlibsGenericText) {
  auto bytes = WritePackage({{"Options.dat", TextBytes("[GLOBALINFO]\r\nVERSION=6.4\r\n")}});
  const std::size_t firstStream = 8 + 4 + 11 + 4;
  ASSERT_EQ(bytes[firstStream], 0x78);
  for (std::size_t at : {firstStream + 1, firstStream + 2}) {
    auto bad = bytes;
    bad[at] ^= 0xFF;
    EXPECT_EQ(ParseMessage(bad), "data error") << at;
  }
}

TEST(ModelMends, NegativeEntryCountsDoNotOverflow) {
  for (std::int32_t count : {INT_MIN, -1, 0}) {
    std::vector<std::uint8_t> bytes{'A', 'S', 'z', 'f'};
    for (int shift = 0; shift < 32; shift += 8)
      bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(count) >> shift));
    TacSkinConvertor reader;
    EXPECT_EQ(ParseMessage(bytes, &reader), "ok") << count;
    EXPECT_EQ(reader.ImageCount, -1) << count;
  }
}

TEST(ModelMends, SaturationOfIntMinWrapsWithoutOverflow) {
  EXPECT_EQ(SaturationAmount(INT_MIN), 34);  // -(INT_MIN rem 101) = -(-34)
  EXPECT_EQ(SaturationAmount(INT_MAX), -(INT_MAX % 101));
  EXPECT_EQ(ShiftSaturationColor(0x336699, INT_MIN), ShiftSaturationColor(0x336699, -34));
}

}  // namespace
