#include <gtest/gtest.h>

#include "platform/base/Exception.h"
#include "skin/core/acSkinModel.h"

namespace {

std::unique_ptr<TacSkinModel> ManagerWithStored(const std::function<void(TsStoredSkin&)>& fill) {
  auto manager = std::make_unique<TacSkinModel>();
  manager->SetSkinDirectory("Z:\\none");
  TsStoredSkin& skin = manager->InternalSkins().Add();
  skin.Name = "Stored";
  fill(skin);
  manager->SetSkinName("Stored");
  return manager;
}

}  // namespace

TEST(StoredSkin, IndexOfIsExactAndFirstMatchWins) {
  TsStoredSkins skins;
  skins.Add().Name = "Lumen (внутренний)";
  skins.Add().Name = "Dark";
  skins.Add().Name = "Dark";
  EXPECT_EQ(skins.IndexOf("Dark"), 1);
  EXPECT_EQ(skins.IndexOf("dark"), -1);
  EXPECT_EQ(skins.IndexOf("Lumen (внутренний)"), 0);
  EXPECT_EQ(skins.IndexOf(""), -1);
  EXPECT_EQ(skins.Count(), 3);
}

TEST(StoredSkin, DefaultsOfANewItem) {
  TsStoredSkin skin;
  EXPECT_EQ(skin.Shadow1Blur, -1);
  EXPECT_EQ(skin.BorderColor, 0xFF00FF);
  EXPECT_TRUE(skin.Data.Empty());
}

TEST(StoredSkin, CollectionsBecomeTheModelWithoutInheritance) {
  const auto manager = ManagerWithStored([](TsStoredSkin& skin) {
    skin.Version = 6.4;
    skin.Author = "A";
    skin.Shadow1Blur = 2;
    skin.BorderColor = 77;
    TsSkinGeneral base;
    base.SectionName = "BUTTON";
    base.Color = -16777201;  // kept as written
    base.Transparency = 50;
    base.GradientData = "1;2;150;0;0";
    base.HotGradientData = "";
    base.FontColor = "255;1;2;3;4";
    base.HotFontColor = "1;2";
    base.FadingIterations = 20;
    base.ShowFocus = true;
    skin.GeneralData.push_back(base);
    TsSkinGeneral child;
    child.SectionName = "BUTTON_BIG";
    child.ParentClass = "BUTTON";
    child.GradientData = " ";
    skin.GeneralData.push_back(child);
  });
  ASSERT_TRUE(manager->Active());
  EXPECT_FALSE(manager->SkinIsPacked);
  ASSERT_EQ(manager->Sections().size(), 2u);
  const TsGeneralData& button = manager->Sections()[0];
  EXPECT_EQ(button.Color, -16777201);
  EXPECT_EQ(button.Transparency, 50);
  EXPECT_EQ(button.FadingIterations, 20);
  EXPECT_TRUE(button.ShowFocus);
  ASSERT_EQ(button.GradientStops.size(), 1u);
  EXPECT_EQ(button.GradientStops[0].Percent, 100);
  EXPECT_TRUE(button.HotGradientStops.empty());
  EXPECT_EQ(button.FontColor[0], 255);
  EXPECT_EQ(button.FontColor[4], 4);
  EXPECT_EQ(button.HotFontColor[0], 0);  // not five words
  EXPECT_EQ(button.HotFontColor[1], -1);
  const TsGeneralData& big = manager->Sections()[1];
  EXPECT_EQ(big.ParentClass, "BUTTON");
  EXPECT_EQ(big.Transparency, 0);  // no inheritance from the collection
  EXPECT_TRUE(big.GradientStops.empty());
  EXPECT_EQ(manager->SkinData.Version, 6.4);
  EXPECT_EQ(manager->SkinData.Author, "A");
  EXPECT_EQ(manager->SkinData.Shadow1Blur, 2);
  EXPECT_EQ(manager->SkinData.BorderColor, 77);
  EXPECT_EQ(manager->SkinInfo(), "6.4");
}

TEST(StoredSkin, FontColorWordsAreStrict) {
  try {
    ManagerWithStored([](TsStoredSkin& skin) {
      TsSkinGeneral g;
      g.SectionName = "A";
      g.FontColor = "1;2;x3;4;5";
      skin.GeneralData.push_back(g);
    });
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'x3' is not a valid integer value");
  }
}

TEST(StoredSkin, CommonSectionsAreMergedIntoACollectionSkin) {
  auto manager = std::make_unique<TacSkinModel>();
  manager->SetSkinDirectory("Z:\\none");
  TsStoredSkin& skin = manager->InternalSkins().Add();
  skin.Name = "S";
  TsSkinGeneral g;
  g.SectionName = "PANEL";
  g.Color = 5;
  skin.GeneralData.push_back(g);
  manager->SetCommonSections({"[SUB]", "PARENTCLASS=PANEL"});
  manager->SetSkinName("S");
  ASSERT_EQ(manager->Sections().size(), 2u);
  EXPECT_EQ(manager->Sections()[1].Color, 5);
}
