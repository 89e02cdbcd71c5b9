#include <gtest/gtest.h>

#include "OptionsTestSkin.h"

namespace {

const char* kSkin =
    "[GLOBALINFO]\n"
    "[BUTTON]\nCOLOR=100\nTRANSPARENCY=40\nGLOW=2\nGLOWMARGIN=3\nSHOWFOCUS=TRUE\nGRADIENTDATA=1;2;3;4;5\nFONTCOLOR=9\n"
    "[PANEL]\nCOLOR=200\n";

}  // namespace

TEST(OptionsCommonSections, NewSectionsInheritFromTheParentRecord) {
  const auto manager = ManagerWithOptions(kSkin, {"; extra sections", "", "[MYBUTTON]", "PARENTCLASS = button",
                                                  "COLOR = $10", "TRANSPARENCY=-1", "FONTCOLOR=bad"});
  ASSERT_EQ(manager->Sections().size(), 4u);
  const TsGeneralData& mine = manager->Sections()[3];
  EXPECT_EQ(mine.SectionName, "MYBUTTON");
  EXPECT_EQ(mine.ParentClass, "BUTTON");  // upper-cased
  EXPECT_EQ(mine.Color, 16);
  EXPECT_EQ(mine.Transparency, 40);  // -1 counts as absent
  EXPECT_EQ(mine.FontColor[0], 9);   // an invalid integer counts as absent
  EXPECT_TRUE(mine.ShowFocus);
  EXPECT_EQ(mine.GradientData, "1;2;3;4;5");
  EXPECT_EQ(mine.GradientStops.size(), 1u);
  EXPECT_EQ(mine.GlowCount, 0);  // the glow keys are not inherited here
  EXPECT_EQ(mine.GlowMargin, 0);
  EXPECT_EQ(mine.BorderIndex, -1);
}

TEST(OptionsCommonSections, ExistingSectionsStayAndSpacesAreRemoved) {
  const auto manager = ManagerWithOptions(kSkin, {"[PANEL]", "COLOR=1", "[NEW ONE]", "SHOW FOCUS = true", "GLOW=4"});
  EXPECT_EQ(manager->CommonSections()[3], "SHOWFOCUS=true");
  EXPECT_EQ(manager->CommonSections()[2], "[NEWONE]");
  EXPECT_EQ(Section(*manager, "PANEL").Color, 200);
  const TsGeneralData& added = Section(*manager, "NEWONE");
  EXPECT_EQ(added.SectionName, "NEWONE");
  EXPECT_EQ(added.ParentClass, "-1");
  EXPECT_TRUE(added.ShowFocus);
  EXPECT_EQ(added.GlowCount, 4);
  EXPECT_EQ(added.Color, 0xFFFFFF);
  EXPECT_EQ(added.FadingIterations, 5);
}

TEST(OptionsCommonSections, ColoursAreNotConvertedAndLinesBeforeASectionAreDropped) {
  const auto manager = ManagerWithOptions(kSkin, {"COLOR=5", "[X]", "COLOR=-16777201"});
  ASSERT_EQ(manager->Sections().size(), 4u);
  EXPECT_EQ(Section(*manager, "X").Color, -16777201);
}

TEST(OptionsCommonSections, AssigningReloadsTheSkin) {
  auto manager = ManagerWithOptions(kSkin);
  EXPECT_EQ(manager->Sections().size(), 3u);
  manager->SetCommonSections({"[EXTRA]", "COLOR=1"});
  EXPECT_EQ(manager->Sections().size(), 4u);
  manager->SetCommonSections({});
  EXPECT_EQ(manager->Sections().size(), 3u);
}
