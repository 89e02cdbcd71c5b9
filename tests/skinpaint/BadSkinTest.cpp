// Broken skins loaded through a manager paint what they can and never crash: a
// parent chain that loops, masks outside the master bitmap, a texture of size 0,
// image counts of 0 and 10,000, a gradient of 1,000 stops.
#include <gtest/gtest.h>

#include <string>

#include "platform/gfx/ImageFile.h"
#include "tests/skinpaint/FadeTestKit.h"
#include "tests/skinpaint/PaintTestSkin.h"

namespace {

std::string ThousandStops() {
  std::string text;
  for (int i = 0; i < 1000; ++i) {
    if (i) text += ';';
    text += std::to_string(i * 4111 % 16777216) + ";" + std::to_string(i * 977 % 16777216) + ";" +
            std::to_string(i % 3) + ";0;0";
  }
  return text;
}

class BadSkin : public FadeTest {
protected:
  void Load() {
    Manager = std::make_unique<TsSkinManager>(nullptr);
    Manager->SetSkinDirectory("Z:\\no such skins");
    const std::string options = "[GLOBALINFO]\nVERSION=6.4\nMASTERBITMAP=MASTER.BMP\n"
                                "[LOOPA]\nPARENTCLASS=LOOPB\nCOLOR=255\nIMAGEPERCENT=50\n"
                                "[LOOPB]\nPARENTCLASS=LOOPA\nCOLOR=255\nIMAGEPERCENT=50\n"
                                "[OUTSIDE]\nCOLOR=65280\n"
                                "BORDERSMASK=^0020^0020^0090^0080^0004^0004^0004^0004^3^1^5^0\n"
                                "IMGTOPLEFT=@0060@0060@0070@0070@1@0\n"
                                "[TEXZERO]\nCOLOR=16711680\nIMAGEPERCENT=100\nGRADIENTPERCENT=30\n"
                                "GRADIENTDATA=0;0;100;0;0\nPATTERN=~0000~0000~0000~0000~00~0\n"
                                "HOTPATTERN=~0000~0000~0000~0000~04~0\n"
                                "[COUNTS]\nCOLOR=255\nBORDERSMASK=^0000^0000^0030^0010^0002^0002^0002^0002^3^0^5^0\n"
                                "[GRAD]\nCOLOR=0\nGRADIENTPERCENT=100\nGRADIENTDATA=" +
                                ThousandStops() + "\nHOTGRADIENTPERCENT=100\nHOTGRADIENTDATA=" + ThousandStops() +
                                "\n";
    TBitmap master(40, 30, TPixelFormat::pf24bit);
    master.Fill(0x808080);
    TsStoredSkin& skin = Manager->InternalSkins().Add();
    skin.Name = "Broken";
    skin.Data = TacMemoryStream(
        WritePackage({{"Options.dat", Cp1251Bytes(options)}, {"Master.bmp", SaveBmpToMemory(master)}}));
    Manager->SetSkinName("Broken");
    ASSERT_TRUE(Manager->SkinData.SkinReady);
  }
  // Paints the section every way the painter offers, in every state, over a parent.
  TBitmap PaintAll(const std::string& name) {
    const int index = Manager->SectionIndexOf(name);
    EXPECT_GE(index, 0) << name;
    TBitmap target = Filled(120, 60, 0x123456);
    const TBitmap parent = PatternedParent(200, 100);
    for (int state : {0, 1, 2, 9})
      for (const TRect& r : {TRect{0, 0, 120, 60}, TRect{3, 2, 8, 7}, TRect{0, 0, 1, 1}, TRect{10, 10, 10, 30}}) {
        PaintSectionByIndex(index, name, BackgroundInfo::FromBitmap(&parent, 5, 5), -1, -1, Manager.get(), &target,
                            {7, 3}, r, static_cast<TacPaintState>(state), true);
        TacPaintSource source;
        source.Manager = Manager.get();
        source.SkinIndex = index;
        source.BorderIndex = Manager->Section(index)->BorderIndex;
        PaintSection(source, BackgroundInfo::FromColor(0x00FFFF), true, static_cast<TacPaintState>(state), r, {}, &target, true);
      }
    PaintSectionByIndex(index, name, BackgroundInfo::FromColor(0xFFFFFF), -1, -1, Manager.get(), &target, {},
                        {0, 0, 120, 60}, TacPaintState::Normal, true);
    return target;
  }
};

TEST_F(BadSkin, LoopingParentChainPaintsItsOwnValues) {
  Load();
  const TBitmap t = PaintAll("LOOPA");
  EXPECT_EQ(t.Pixel(60, 30), 0x0000FF);  // no texture found anywhere up the loop: the colour
}

TEST_F(BadSkin, MasksOutsideTheMasterBitmapDrawWhatIsInside) {
  Load();
  const TBitmap t = PaintAll("OUTSIDE");
  EXPECT_EQ(t.Pixel(60, 30), 0x00FF00);
  // Masks pushed further out, and an image count far beyond the picture.
  for (int i = 0; TsMaskData* m = Manager->Mask(i); ++i) {
    m->Left += 5000;
    m->Right += 5000;
    m->ImageCount = 10000;
  }
  const TBitmap far = PaintAll("OUTSIDE");
  EXPECT_EQ(far.Pixel(60, 30), 0x00FF00);
}

TEST_F(BadSkin, TextureOfSizeZeroLeavesTheColour) {
  Load();
  const TBitmap t = PaintAll("TEXZERO");
  // The colour, under a gradient layer blended with byte 255 (each byte at most one lower).
  EXPECT_EQ(t.Pixel(60, 30), RGB(0, 0, 254));
}

TEST_F(BadSkin, ImageCountsOfZeroAndTenThousand) {
  Load();
  const int border = Manager->Section(Manager->SectionIndexOf("COUNTS"))->BorderIndex;
  ASSERT_GE(border, 0);
  TsMaskData& m = *Manager->Mask(border);
  m.ImageCount = 0;
  TBitmap t = PaintAll("COUNTS");
  EXPECT_EQ(t.Pixel(0, 0), 0x0000FF);  // no border drawn at all
  m.ImageCount = 10000;  // state images of width 0
  t = PaintAll("COUNTS");
  EXPECT_EQ(t.Pixel(60, 30), 0x0000FF);
  m.ImageCount = -3;
  m.MaskType = -1;
  t = PaintAll("COUNTS");
  EXPECT_EQ(t.Pixel(60, 30), 0x0000FF);
}

TEST_F(BadSkin, ThousandStopGradientPaints) {
  Load();
  const int index = Manager->SectionIndexOf("GRAD");
  ASSERT_EQ(Manager->Section(index)->GradientStops.size(), 1000u);
  const TBitmap t = PaintAll("GRAD");
  // Stops 0 and 1 are too thin for a row of 60; stop 2 (first colour 2 * 4111) starts at row 0.
  EXPECT_EQ(t.Pixel(0, 0), 8222);
}

}  // namespace
