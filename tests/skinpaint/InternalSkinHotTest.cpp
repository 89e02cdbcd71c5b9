// The internal skin's containers look the same hot as normal: a panel under the
// mouse or a group box caption painted in state 1 must not fall back to white.
#include <gtest/gtest.h>

#include "skin/core/acSkinModel.h"
#include "skin/internal/InternalSkin.h"
#include "skin/paint/sStyleSimply.h"
#include "tests/skinpaint/PaintTestSkin.h"

namespace {

TEST(InternalSkinHot, ContainersPaintTheirNormalLookInTheHotStates) {
  TacSkinModel model;
  model.SetSkinDirectory("Z:\\no such skins");
  AddInternalSkin(model);
  model.SetSkinName(kInternalSkinName);
  ASSERT_TRUE(model.SkinData.SkinReady);
  const TBitmap parent = PatternedParent(200, 120);
  for (const char* name : {"PANEL", "GROUPBOX"}) {
    const int index = model.SectionIndexOf(name);
    ASSERT_GE(index, 0) << name;
    const TsGeneralData& s = *model.Section(index);
    EXPECT_EQ(s.HotColor, s.Color) << name;
    EXPECT_EQ(s.HotTransparency, s.Transparency) << name;
    EXPECT_EQ(s.HotGradientPercent, s.GradientPercent) << name;
    TBitmap normal = Filled(90, 40, 0x123456);
    PaintSectionByIndex(index, name, BackgroundInfo::FromBitmap(&parent, 0, 0), -1, -1, &model, &normal, {7, 9},
                        {0, 0, 90, 40}, TacPaintState::Normal, true);
    for (int state : {1, 2}) {
      TBitmap hot = Filled(90, 40, 0x123456);
      PaintSectionByIndex(index, name, BackgroundInfo::FromBitmap(&parent, 0, 0), -1, -1, &model, &hot, {7, 9},
                          {0, 0, 90, 40}, static_cast<TacPaintState>(state), true);
      // Inside the border the hot face is the normal face (the border mask may differ by state).
      int differing = 0;
      for (int y = 4; y < 36; ++y)
        for (int x = 4; x < 86; ++x) differing += hot.Pixel(x, y) != normal.Pixel(x, y) ? 1 : 0;
      EXPECT_EQ(differing, 0) << name << " state " << state;
      EXPECT_NE(hot.Pixel(45, 20), 0xFFFFFF) << name << " state " << state;
    }
  }
  // The group box is see-through inside: the parent shows through in every state.
  const int groupBox = model.SectionIndexOf("GROUPBOX");
  TBitmap hot = Filled(90, 40, 0x123456);
  PaintSectionByIndex(groupBox, "GROUPBOX", BackgroundInfo::FromBitmap(&parent, 0, 0), -1, -1, &model, &hot, {7, 9},
                      {0, 0, 90, 40}, TacPaintState::Hot, true);
  EXPECT_EQ(hot.Pixel(45, 20), parent.Pixel(52, 29));
}

}  // namespace
