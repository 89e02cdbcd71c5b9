// Loading the image half of a skin from a package: every value form, the master
// bitmap, JPEG patterns and their size rule, lookups with inheritance, mask slots
// and failures that must reach whoever loads the skin.
#include <gtest/gtest.h>

#include "platform/base/Exception.h"
#include "skin/core/acMasks.h"
#include "tests/skincore/MasksTestSkin.h"
#include "tests/support/ErrorOf.h"

namespace {

std::vector<std::uint8_t> Png(const TBitmap& b) { return SavePngToMemory(b); }
std::vector<std::uint8_t> Bmp(const TBitmap& b) { return SaveBmpToMemory(b); }
std::vector<std::uint8_t> Jpeg(int w, int h) { return SaveJpegToMemory(Plain(w, h, 0x3366CC), 90); }

// A 36 x 34 RGBA glow with one fully transparent white pixel at (0, 0).
TBitmap Glow() {
  TBitmap b(36, 34, TPixelFormat::pf32bit, true);
  for (int y = 0; y < 34; ++y)
    for (int x = 0; x < 36; ++x) {
      std::uint8_t* p = b.ScanLine(y) + x * 4;
      p[0] = 40, p[1] = 60, p[2] = 220, p[3] = 128;
    }
  std::uint8_t* corner = b.ScanLine(0);
  corner[0] = corner[1] = corner[2] = 255, corner[3] = 0;
  return b;
}

const char* kOptions = R"([GLOBALINFO]
MASTERBITMAP=MASTER.BMP
BICONCLOSEGLOW0=!GLOWRED.PNG!1!0!4
LOWERGLOW=!glowred.png!1!0!4
BICONCLOSE=@0000@0000@0012@0010@3@1
[BUTTON]
BORDERSMASK=^0000^0000^0081^0054^0000^0000^0000^0000^3^1^5^0
PATTERN=~0000~0060~0006~0066~10~1
[BUTTON_BIG]
PARENTCLASS=BUTTON
COLOR=16772048
[BUTTON_HUGE]
BORDERSMASK=!BUTTONHUGE.BMP!3!1!0
TEXTUREFILE=!BUTTONHUGE.BMP!1!0!1
[GRIPH]
BORDERSMASK=N/A
[Mixed]
Glyph=@0000@0000@0010@0010@1@0
PLAIN=plain.bmp
OLD=# (0 0, 30, 30) (3, 1, 2, 1)
HASH=#
PHOTO=big.jpg
SMALLPHOTO=SMALL.JPG
)";

std::vector<TTestEntry> Images() {
  TBitmap huge(288, 192, TPixelFormat::pf8bit);
  huge.Fill(0x808080);
  return {{"Master.bmp", Bmp(Plain(210, 300, 0x40A0E0))},
          {"GlowRed.png", Png(Glow())},
          {"ButtonHuge.bmp", Bmp(huge)},
          {"Plain.bmp", Bmp(Plain(30, 20, 0x123456))},
          {"Big.jpg", Jpeg(300, 300)},
          {"Small.jpg", Jpeg(299, 300)}};
}

class MaskLoading : public ::testing::Test {
protected:
  void SetUp() override { Manager = ManagerWithPackage(kOptions, Images()); }
  std::unique_ptr<TacSkinModel> Manager;
};

TEST_F(MaskLoading, MasterBitmapIs24BitWithMagentaKey) {
  ASSERT_TRUE(Manager->MasterBitmap);
  EXPECT_EQ(Manager->MasterBitmap->Width(), 210);
  EXPECT_EQ(Manager->MasterBitmap->PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_TRUE(Manager->MasterBitmap->Transparent());
  EXPECT_EQ(Manager->MasterBitmap->TransparentColor(), clFuchsia);
  // The master's key is not itself a mask.
  EXPECT_EQ(Manager->MaskIndexOf("GLOBALINFO", "MASTERBITMAP"), -1);
}

TEST_F(MaskLoading, PngGlowBecomesAn32BitGlyphWithDefaultBorders) {
  const TsMaskData* glow = FindMask(*Manager, "GLOBALINFO", "BICONCLOSEGLOW0");
  ASSERT_NE(glow, nullptr);
  ASSERT_TRUE(glow->Image);
  EXPECT_EQ(glow->Image->PixelFormat(), TPixelFormat::pf32bit);
  EXPECT_EQ((TRect{glow->Left, glow->Top, glow->Right, glow->Bottom}), (TRect{0, 0, 36, 34}));
  EXPECT_EQ(glow->ImgType, TacImgType::itisaPngGlyph);
  EXPECT_EQ(glow->StretchMode, 4);
  EXPECT_EQ(glow->WL, 12);
  EXPECT_EQ(glow->WR, 12);
  EXPECT_EQ(glow->WT, 11);
  EXPECT_EQ(glow->WB, 11);
  EXPECT_EQ(glow->Manager, Manager.get());
  // Transparent white is cleared; ordinary pixels keep colour and alpha.
  EXPECT_EQ(glow->Image->Pixel32(0, 0), 0u);
  EXPECT_EQ(glow->Image->Pixel32(5, 5), 0x80283CDCu);
}

TEST_F(MaskLoading, PackageReferencesMustBeUpperCase) {
  EXPECT_EQ(Manager->MaskIndexOf("GLOBALINFO", "LOWERGLOW"), -1);
  EXPECT_EQ(Manager->MaskIndexOf("Mixed", "PLAIN"), -1);  // "plain.bmp" is upper-cased before the lookup...
  const TsMaskData* plain = FindMask(*Manager, "MIXED", "PLAIN");  // ...and names upper-cased too
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(plain->ImageCount, 3);
  EXPECT_EQ(plain->MaskType, 1);
  EXPECT_EQ(plain->Image->PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_EQ(plain->WL, 3);  // 30 div 9
  EXPECT_EQ(plain->WT, 3);  // 20 div 6
}

TEST_F(MaskLoading, BitmapFilesAreMade24BitUnlessTheyAreTextures) {
  const TsMaskData* huge = FindMask(*Manager, "BUTTON_HUGE", "BORDERSMASK");
  ASSERT_NE(huge, nullptr);
  EXPECT_EQ(huge->Image->PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_EQ(MaskFrameWidth(*huge), 96);
  EXPECT_EQ(MaskFrameHeight(*huge), 96);
  EXPECT_EQ(huge->WL, 32);
  EXPECT_EQ(huge->WT, 32);
  const TsMaskData* texture = FindMask(*Manager, "BUTTON_HUGE", "TEXTUREFILE");
  ASSERT_NE(texture, nullptr);
  EXPECT_EQ(texture->ImgType, TacImgType::itisaTexture);
  EXPECT_EQ(texture->Image->PixelFormat(), TPixelFormat::pf8bit);
}

TEST_F(MaskLoading, NamesAreKeptAsWrittenForTheFixedForms) {
  EXPECT_GE(Manager->MaskIndexOf("Mixed", "Glyph"), 0);
  EXPECT_EQ(Manager->MaskIndexOf("MIXED", "GLYPH"), -1);
  EXPECT_EQ(Manager->MaskIndexOf("", "Glyph"), -1);
  const TsMaskData* old = FindMask(*Manager, "MIXED", "OLD");
  ASSERT_NE(old, nullptr);
  EXPECT_EQ(old->ImageCount, 3);
  EXPECT_EQ(old->WL, 2);
  EXPECT_FALSE(old->Image);
  EXPECT_EQ(Manager->MaskIndexOf("MIXED", "HASH"), -1);
  EXPECT_EQ(Manager->MaskIndexOf("GRIPH", "BORDERSMASK"), -1);
}

TEST_F(MaskLoading, JpegOfNinetyThousandPixelsIsAPatternSmallerOneATexture) {
  ASSERT_EQ(Manager->Patterns().size(), 1u);
  EXPECT_EQ(Manager->Patterns()[0].SectionName, "MIXED");
  EXPECT_EQ(Manager->Patterns()[0].PropertyName, "PHOTO");
  EXPECT_EQ(Manager->Patterns()[0].Image->Width(), 300);
  const TsMaskData* small = FindMask(*Manager, "MIXED", "SMALLPHOTO");
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(small->ImgType, TacImgType::itisaTexture);
  EXPECT_EQ(small->ImageCount, 1);
  EXPECT_EQ(small->Image->Width(), 299);
  EXPECT_EQ((TRect{small->Left, small->Top, small->Right, small->Bottom}), (TRect{}));
  const int mixed = Manager->SectionIndexOf("Mixed");
  EXPECT_EQ(Manager->PatternIndexOf(mixed, "MIXED", "SMALLPHOTO"), -1);
}

TEST_F(MaskLoading, SlotsInheritThroughParentClass) {
  const TsGeneralData& big = *Manager->Section(Manager->SectionIndexOf("BUTTON_BIG"));
  EXPECT_EQ(big.BorderIndex, Manager->MaskIndexOf("BUTTON", "BORDERSMASK"));
  EXPECT_GE(big.BorderIndex, 0);
  const TsGeneralData& griph = *Manager->Section(Manager->SectionIndexOf("GRIPH"));
  EXPECT_EQ(griph.BorderIndex, -1);
  const TsGeneralData& global = *Manager->Section(Manager->SectionIndexOf("GLOBALINFO"));
  EXPECT_EQ(global.BorderIndex, -1);
  EXPECT_EQ(global.ImgTopLeft, -1);
}

TEST_F(MaskLoading, TextureLookupCountsOnlyTextures) {
  const int big = Manager->SectionIndexOf("BUTTON_BIG");
  EXPECT_EQ(Manager->TextureIndexOf(big, "BUTTON_BIG", "BORDERSMASK"), -1);
  EXPECT_EQ(Manager->InheritedMaskIndexOf(big, "BUTTON_BIG", "BORDERSMASK"), Manager->MaskIndexOf("BUTTON", "BORDERSMASK"));
  EXPECT_EQ(Manager->InheritedMaskIndexOf(-1, "BUTTON", "BORDERSMASK"), -1);
  EXPECT_EQ(Manager->InheritedMaskIndexOf(big, "", "BORDERSMASK"), -1);
}

TEST(MaskLoadingFailures, BrokenPngOrJpegEndsTheLoadWithTheDecoderError) {
  const std::vector<std::uint8_t> notPng = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 1, 2, 3, 4, 5};
  EXPECT_THROW(ManagerWithPackage("[A]\nX=!BROKEN.PNG!1!0!4\n", {{"Broken.png", notPng}}), EInvalidGraphic);
  const std::vector<std::uint8_t> notJpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10, 'J', 'F', 'I', 'F', 0};
  EXPECT_THROW(ManagerWithPackage("[A]\nX=BROKEN.JPG\n", {{"Broken.jpg", notJpeg}}), EInvalidGraphic);
}

TEST(MaskLoadingFailures, LettersInARectangleEndTheLoad) {
  EXPECT_EQ(ErrorOf<EConvertError>([&] {
              ManagerWithPackage("[A]\nBORDERSMASK=^0000^00x0^0010^0010^0000^0000^0000^0000^1^0^0^0\n", {});
            }),
            "'00x0' is not a valid integer value");
}

TEST(MaskLoadingFailures, MissingFilesAndMissingMasterAreSkipped) {
  auto m = ManagerWithPackage("[GLOBALINFO]\nMASTERBITMAP=MASTER.BMP\n[A]\nX=!NONE.PNG!1!0!4\nY=NONE.BMP\nZ=NONE.JPG\n"
                              "W=# (0 0, 4, 4)\n",
                              {});
  EXPECT_FALSE(m->MasterBitmap);
  EXPECT_EQ(m->MaskIndexOf("A", "X"), -1);
  EXPECT_EQ(m->MaskIndexOf("A", "Y"), -1);
  EXPECT_TRUE(m->Patterns().empty());
  // A legacy rectangle of the options file needs no master to be recorded.
  EXPECT_GE(m->MaskIndexOf("A", "W"), 0);
}

TEST(MaskLookups, ParentLoopEnds) {
  auto m = ManagerWithPackage("[A]\nPARENTCLASS=B\n[B]\nPARENTCLASS=A\n[C]\nPARENTCLASS=C\n", {});
  const int a = m->SectionIndexOf("A");
  EXPECT_EQ(m->InheritedMaskIndexOf(a, "A", "BORDERSMASK"), -1);
  EXPECT_EQ(m->PatternIndexOf(a, "A", "PATTERN"), -1);
  EXPECT_EQ(m->InheritedMaskIndexOf(m->SectionIndexOf("C"), "C", "BORDERSMASK"), -1);
}

TEST(MaskLookups, CommonSectionsAddLegacyRectanglesOnlyWithAMaster) {
  const std::vector<TTestEntry> master = {{"Master.bmp", SaveBmpToMemory(Plain(64, 64, 0x808080))}};
  auto with = std::make_unique<TacSkinModel>();
  with->SetSkinDirectory("Z:\\none");
  TsStoredSkin& skin = with->InternalSkins().Add();
  skin.Name = "S";
  skin.Data = TacMemoryStream(WritePackage({{"Options.dat", TextBytes("[GLOBALINFO]\nMASTERBITMAP=MASTER.BMP\n")},
                                            {"Master.bmp", master[0].Bytes}}));
  with->SetCommonSections({"[EXTRA]", "BORDERSMASK=# (0,0,30,30) (3,1)", "[GLOBALINFO]", "X=# (0,0,3,3)"});
  with->SetSkinName("S");
  const TsMaskData* extra = FindMask(*with, "EXTRA", "BORDERSMASK");
  ASSERT_NE(extra, nullptr);
  EXPECT_EQ(extra->ImageCount, 3);
  EXPECT_EQ(with->MaskIndexOf("GLOBALINFO", "X"), -1);
  const int section = with->SectionIndexOf("EXTRA");
  ASSERT_GE(section, 0);
  EXPECT_EQ(with->Section(section)->BorderIndex, with->MaskIndexOf("EXTRA", "BORDERSMASK"));

  auto without = ManagerWithPackage("[A]\nCOLOR=1\n", {});
  without->SetCommonSections({"[EXTRA]", "BORDERSMASK=# (0,0,30,30)"});
  EXPECT_EQ(without->MaskIndexOf("EXTRA", "BORDERSMASK"), -1);
}

TEST(MaskLookups, StoredSkinImagesBecomeMasks) {
  TacSkinModel m;
  m.SetSkinDirectory("Z:\\none");
  TsStoredSkin& skin = m.InternalSkins().Add();
  skin.Name = "Old";
  skin.MasterBitmap = Plain(40, 40, 0x00FF00);
  TsSkinGeneral& button = skin.GeneralData.emplace_back();
  button.SectionName = "BUTTON";
  TsSkinImage& rect = skin.Images.emplace_back();
  rect.SectionName = "button";
  rect.PropertyName = "bordersmask";
  rect.Right = 30;
  rect.Bottom = 20;  // ImageCount 0 becomes 3 frames over 2 rows
  TsSkinImage& own = skin.Images.emplace_back();
  own.Name = "own";
  own.SectionName = "BUTTON";
  own.PropertyName = "GLYPHMASK";
  own.Image = Plain(12, 6, 0x0000FF, TPixelFormat::pf32bit);
  own.ImageCount = 2;
  own.BorderWidth = 3;
  m.SetSkinName("Old");
  ASSERT_TRUE(m.MasterBitmap);
  const TsMaskData* border = FindMask(m, "BUTTON", "BORDERSMASK");
  ASSERT_NE(border, nullptr);
  EXPECT_EQ(border->ImageCount, 3);
  EXPECT_EQ(border->MaskType, 1);
  EXPECT_EQ(border->WL, 3);  // 30 div 9
  EXPECT_EQ(border->WT, 3);  // 20 div 6
  const TsMaskData* glyph = FindMask(m, "BUTTON", "GLYPHMASK");
  ASSERT_NE(glyph, nullptr);
  EXPECT_EQ(glyph->Image->PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_EQ(glyph->Right, 12);
  EXPECT_EQ(glyph->WL, 3);
  EXPECT_EQ(m.Sections()[0].BorderIndex, m.MaskIndexOf("BUTTON", "BORDERSMASK"));
}

}  // namespace
