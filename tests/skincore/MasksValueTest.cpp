// Mask values parsed without a skin: the fixed-position forms, legacy rectangles,
// file-image words, and the frame and margin sizes painters read.
#include <gtest/gtest.h>

#include "platform/base/Exception.h"
#include "skin/core/acMasks.h"
#include "tests/support/ErrorOf.h"

namespace {

TsMaskData Border(const std::string& value) {
  TsMaskData m;
  ParseBorderValue(value, m);
  return m;
}

TEST(MaskValues, ClassifiedByFirstCharacterThenHashAndBmp) {
  EXPECT_EQ(ClassifyMaskValue("!GLOWRED.PNG!1!0!4"), TacMaskValueKind::mvFileImage);
  EXPECT_EQ(ClassifyMaskValue("@0049@0210@0097@0246@3@1"), TacMaskValueKind::mvGlyph);
  EXPECT_EQ(ClassifyMaskValue("^0045^0054^0081^0090^0000^0000^0000^0000^1^0^1^2"), TacMaskValueKind::mvBorder);
  EXPECT_EQ(ClassifyMaskValue("~0172~0165~0178~0177~10~1"), TacMaskValueKind::mvTexture);
  EXPECT_EQ(ClassifyMaskValue("button.Bmp"), TacMaskValueKind::mvSeparateBitmap);
  EXPECT_EQ(ClassifyMaskValue("# (0 0, 10, 10)"), TacMaskValueKind::mvLegacyRect);
  // A bitmap name with "#" is a legacy rectangle, not a file.
  EXPECT_EQ(ClassifyMaskValue("A#B.BMP"), TacMaskValueKind::mvLegacyRect);
  for (const char* none : {"#", "N/A", "", "15390916", "TRUE", "texture.png", "photo.jpg"})
    EXPECT_EQ(ClassifyMaskValue(none), TacMaskValueKind::mvNone) << none;
}

TEST(MaskValues, GlyphFromTheInternalSkin) {
  TsMaskData m;
  ParseGlyphValue("@0049@0210@0097@0246@3@1", m);
  EXPECT_EQ((TRect{m.Left, m.Top, m.Right, m.Bottom}), (TRect{49, 210, 97, 246}));
  EXPECT_EQ(m.ImageCount, 3);
  EXPECT_EQ(m.MaskType, 1);
  EXPECT_EQ(m.ImgType, TacImgType::itisaGlyph);
  EXPECT_EQ(MaskFrameWidth(m), 16);
  EXPECT_EQ(MaskFrameHeight(m), 18);
  EXPECT_EQ(m.WL + m.WT + m.WR + m.WB + m.BorderWidth, 0);
  // With no borders at all, the margins are the frame size.
  EXPECT_EQ(MaskLeft(m), 16);
  EXPECT_EQ(MaskTop(m), 18);
  EXPECT_EQ(MaskCellSize(m), (TSize{16, 18}));
}

TEST(MaskValues, BorderWidthFillsAllFourBorders) {
  const TsMaskData panel = Border("^0045^0054^0081^0090^0000^0000^0000^0000^1^0^1^2");
  EXPECT_EQ(panel.BorderWidth, 2);
  EXPECT_EQ(panel.StretchMode, 1);
  EXPECT_EQ(panel.MaskType, 0);
  EXPECT_EQ(panel.WL, 2);
  EXPECT_EQ(panel.WT, 2);
  EXPECT_EQ(panel.WR, 2);
  EXPECT_EQ(panel.WB, 2);
  EXPECT_EQ(panel.ImgType, TacImgType::itisaBorder);
}

TEST(MaskValues, DefaultBordersComeFromTheFrameSize) {
  const TsMaskData speed = Border("^0000^0180^0045^0210^0000^0000^0000^0000^3^1^5^0");
  EXPECT_EQ(MaskFrameWidth(speed), 15);
  EXPECT_EQ(MaskFrameHeight(speed), 15);
  EXPECT_EQ(speed.WL, 5);  // 45 div 9
  EXPECT_EQ(speed.WR, 5);
  EXPECT_EQ(speed.WT, 5);  // 30 div 6
  EXPECT_EQ(speed.WB, 5);
  EXPECT_EQ(speed.StretchMode, 5);
}

TEST(MaskValues, ExplicitBordersWin) {
  TsMaskData m = Border("^0180^0000^0210^0030^0004^0003^0002^0001^2^1^0^7");
  EXPECT_EQ(m.WL, 4);
  EXPECT_EQ(m.WT, 3);
  EXPECT_EQ(m.WR, 2);
  EXPECT_EQ(m.WB, 1);
  EXPECT_EQ(m.BorderWidth, 7);
  EXPECT_EQ(MaskLeft(m), 4);
  EXPECT_EQ(MaskBottom(m), 1);
}

TEST(MaskValues, TextureReadsStretchModeAndOptionalMaskType) {
  TsMaskData m;
  ParseTextureValue("~0172~0165~0178~0177~10~1", m);
  EXPECT_EQ((TRect{m.Left, m.Top, m.Right, m.Bottom}), (TRect{172, 165, 178, 177}));
  EXPECT_EQ(m.StretchMode, 10);
  EXPECT_EQ(m.MaskType, 1);
  EXPECT_EQ(m.ImageCount, 1);
  EXPECT_EQ(m.ImgType, TacImgType::itisaTexture);
  TsMaskData shortForm;
  ParseTextureValue("~0172~0165~0178~0177~04", shortForm);
  EXPECT_EQ(shortForm.StretchMode, 4);
  EXPECT_EQ(shortForm.MaskType, 0);
}

TEST(MaskValues, LettersOrMissingDigitsAreConversionErrors) {
  TsMaskData m;
  EXPECT_EQ(ErrorOf<EConvertError>([&] { ParseBorderValue("^00a5^0054^0081^0090^0000^0000^0000^0000^1^0^1^2", m); }),
            "'00a5' is not a valid integer value");
  try {
    ParseGlyphValue("@0049@0210@0097@0246@3", m);  // mask type missing
    FAIL() << "a short value must not load";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'' is not a valid integer value");
  }
  EXPECT_THROW(ParseTextureValue("~0172~0165~0178", m), EConvertError);
  EXPECT_THROW(ParseBorderValue("^0000^0180^0045^0210^0000^0000^0000^0000^x^1^5^0", m), EConvertError);
}

TEST(MaskValues, LegacyRectangleWithAllNumbers) {
  TsMaskData m;
  ParseLegacyValue("#BTN (10 20, 70, 60) (3, 1, 2, 0)", m);
  EXPECT_EQ((TRect{m.Left, m.Top, m.Right, m.Bottom}), (TRect{10, 20, 70, 60}));
  EXPECT_EQ(m.ImageCount, 3);
  EXPECT_EQ(m.MaskType, 1);
  EXPECT_EQ(m.BorderWidth, 2);
  EXPECT_EQ(m.StretchMode, 0);
  EXPECT_EQ(m.WL, 2);
  EXPECT_EQ(m.WB, 2);
  EXPECT_FALSE(m.Image);
}

TEST(MaskValues, LegacyRectangleDefaultsAndLimits) {
  TsMaskData m;
  ParseLegacyValue("# (0 0, 30 30)", m);
  EXPECT_EQ(m.Right, 30);
  EXPECT_EQ(m.Bottom, 30);
  EXPECT_EQ(m.ImageCount, 1);
  EXPECT_EQ(m.MaskType, 0);
  EXPECT_EQ(m.BorderWidth, 0);
  EXPECT_EQ(m.StretchMode, 1);
  EXPECT_EQ(m.WL, 10);  // 30 div 3
  EXPECT_EQ(m.WT, 10);
  TsMaskData limits;
  ParseLegacyValue("# (0 0, 60, 40) (0, -3, -2)", limits);
  EXPECT_EQ(limits.ImageCount, 1);
  EXPECT_EQ(limits.MaskType, 0);
  EXPECT_EQ(limits.BorderWidth, 0);
  EXPECT_THROW(ParseLegacyValue("# (0 0, 6O, 40)", m), EConvertError);
}

TEST(MaskValues, FileImageWords) {
  const TacFileImageValue huge = ParseFileImageValue("!BUTTONHUGE.BMP!3!1!0");
  EXPECT_EQ(huge.FileName, "BUTTONHUGE.BMP");
  EXPECT_EQ(huge.ImageCount, 3);
  EXPECT_EQ(huge.MaskType, 1);
  EXPECT_EQ(huge.ImgType, 0);
  EXPECT_FALSE(huge.HasBorders);
  const TacFileImageValue bordered = ParseFileImageValue("!FRAME.PNG!1!0!4!6!5!4!3");
  EXPECT_TRUE(bordered.HasBorders);
  EXPECT_EQ(bordered.WL, 6);
  EXPECT_EQ(bordered.WB, 3);
  EXPECT_THROW(ParseFileImageValue("!GLOW.PNG!one!0!4"), EConvertError);
}

TEST(MaskValues, FrameSizesGuardAgainstZero) {
  TsMaskData m;
  m.Right = 40;
  m.Bottom = 20;
  m.ImageCount = 0;
  m.MaskType = -1;
  EXPECT_EQ(MaskFrameWidth(m), 0);
  EXPECT_EQ(MaskFrameHeight(m), 0);
  // Asking for a margin first makes the frame count 1.
  EXPECT_EQ(MaskLeft(m), 40);
  EXPECT_EQ(m.ImageCount, 1);
  // An own picture is cut in three columns and two rows.
  m.Image = std::make_unique<TBitmap>(36, 34);
  EXPECT_EQ(MaskCellSize(m), (TSize{12, 17}));
}

}  // namespace
