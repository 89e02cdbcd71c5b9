// Extended window-border images: from the skin's EXBORDER picture or from the
// program's own shadow pictures.
#include <gtest/gtest.h>

#include "skin/core/acSkinImage.h"
#include "tests/skincore/MasksTestSkin.h"

namespace {

std::unique_ptr<TacSkinModel> WithExtendedBorders(const std::string& options, const std::vector<TTestEntry>& images) {
  auto m = ManagerWithPackage(options, images);
  m->SetExtendedBorders(true);  // reloads the skin
  return m;
}

TEST(ExtendedBorders, OffWhenNotAsked) {
  auto m = ManagerWithPackage("[GLOBALINFO]\nFORMOFFSET=8\n", {});
  m->ExBorderOffsets = TRect{1, 2, 3, 4};
  m->CacheCommonIndexes();
  EXPECT_EQ(m->ExBorderOffsets, (TRect{0, 0, 0, 0}));
}

TEST(ExtendedBorders, BuiltInShadowsWithoutExBorder) {
  auto m = WithExtendedBorders("[GLOBALINFO]\nFORMOFFSET=8\n", {});
  EXPECT_EQ(m->ExBorderOffsets, (TRect{11, 7, 11, 11}));
  ASSERT_TRUE(m->ExBorderImages[0]);
  ASSERT_TRUE(m->ExBorderImages[1]);
  EXPECT_EQ(m->ExBorderImages[0]->Width(), 32);
  EXPECT_EQ(m->ExBorderImages[1]->Width(), 31);
  EXPECT_EQ(m->ExBorderImages[0]->PixelFormat(), TPixelFormat::pf32bit);
  // A shadow: clear at the outer corner, darkest next to the content.
  EXPECT_EQ(m->ExBorderImages[0]->Pixel32(0, 0) >> 24, 0u);
  EXPECT_GT(m->ExBorderImages[0]->Pixel32(16, 21) >> 24, m->ExBorderImages[0]->Pixel32(16, 28) >> 24);
  EXPECT_GT(m->ExBorderImages[0]->Pixel32(16, 21) >> 24, m->ExBorderImages[1]->Pixel32(16, 21) >> 24);

  SetDesktopCompositionQuery([] { return true; });
  m->CacheCommonIndexes();
  SetDesktopCompositionQuery(nullptr);
  EXPECT_EQ(m->ExBorderOffsets, (TRect{12, 8, 12, 12}));
}

TEST(ExtendedBorders, FromTheExBorderPicture) {
  // Two 20 x 16 frames: the left one red, the right one green.
  TBitmap frames(40, 16, TPixelFormat::pf32bit, true);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 40; ++x) {
      std::uint8_t* p = frames.ScanLine(y) + x * 4;
      p[0] = 0, p[1] = x < 20 ? 0 : 255, p[2] = x < 20 ? 255 : 0, p[3] = 200;
    }
  const std::vector<TTestEntry> images = {{"Frames.png", SavePngToMemory(frames)}};
  auto m = WithExtendedBorders("[GLOBALINFO]\nFORMOFFSET=2\nEXBORDER=!FRAMES.PNG!2!0!0!9!8!7!6\n", images);
  EXPECT_EQ(m->ExBorderOffsets, (TRect{7, 6, 5, 4}));  // borders minus FORMOFFSET
  ASSERT_TRUE(m->ExBorderImages[0]);
  EXPECT_EQ(m->ExBorderImages[0]->Width(), 20);
  EXPECT_EQ(m->ExBorderImages[1]->Height(), 16);
  EXPECT_EQ(m->ExBorderImages[0]->Pixel(3, 3), 0x00FF00);  // active: the second frame
  EXPECT_EQ(m->ExBorderImages[1]->Pixel(3, 3), 0x0000FF);  // inactive: the first

  auto mode = WithExtendedBorders("[GLOBALINFO]\nFORMOFFSET=5\nBORDERMODE=1\nEXBORDER=!FRAMES.PNG!1!0!0\n", images);
  EXPECT_EQ(mode->ExBorderOffsets, (TRect{5, 5, 5, 5}));
  EXPECT_EQ(mode->ExBorderImages[0]->Pixel(3, 3), mode->ExBorderImages[1]->Pixel(3, 3));
}

}  // namespace
