#include "platform/gfx/SystemColors.h"

#include <gtest/gtest.h>

#include "platform/gfx/GdiTools.h"

namespace {

TEST(SystemColors, ConstantsNameTheirIndexes) {
  EXPECT_EQ(static_cast<std::uint32_t>(clBtnFace), 0xFF00000Fu);
  EXPECT_EQ(static_cast<std::uint32_t>(clGradientInactiveCaption), 0xFF00001Cu);
  EXPECT_EQ(static_cast<std::uint32_t>(clScrollBar), 0xFF000000u);
  EXPECT_EQ(static_cast<std::uint32_t>(clMenuBar), 0xFF00001Eu);
}

TEST(SystemColors, ClassicDefaultScheme) {
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(212, 208, 200));
  EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), RGB(128, 128, 128));
  EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), RGB(64, 64, 64));
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(10, 36, 106));
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
  EXPECT_EQ(GetSysColor(COLOR_INFOBK), RGB(255, 255, 225));
  EXPECT_EQ(GetSysColor(COLOR_GRADIENTACTIVECAPTION), RGB(166, 202, 240));
  EXPECT_EQ(GetSysColor(-1), 0u);
  EXPECT_EQ(GetSysColor(31), 0u);
}

TEST(SystemColors, ColorToRgbResolvesOnlySystemColours) {
  EXPECT_EQ(ColorToRGB(clBtnFace), static_cast<TColor>(RGB(212, 208, 200)));
  EXPECT_EQ(ColorToRGB(clRed), clRed);
  EXPECT_EQ(ColorToRGB(0x00123456), 0x00123456);
  EXPECT_EQ(ColorToRGB(clNone), clNone);
}

TEST(SystemColors, BrushesAreStockAndFollowTheScheme) {
  HBRUSH brush = GetSysColorBrush(COLOR_BTNFACE);
  ASSERT_NE(brush, nullptr);
  EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), brush);
  EXPECT_FALSE(DeleteObject(brush));
  EXPECT_EQ(brush->Color, static_cast<TColor>(RGB(212, 208, 200)));
  ASSERT_TRUE(SetSysColor(COLOR_BTNFACE, RGB(1, 2, 3)));
  EXPECT_EQ(ColorToRGB(clBtnFace), static_cast<TColor>(RGB(1, 2, 3)));
  EXPECT_EQ(brush->Color, static_cast<TColor>(RGB(1, 2, 3)));
  ResetSysColors();
  EXPECT_EQ(brush->Color, static_cast<TColor>(RGB(212, 208, 200)));
  EXPECT_EQ(GetSysColorBrush(99), nullptr);
}

}  // namespace
