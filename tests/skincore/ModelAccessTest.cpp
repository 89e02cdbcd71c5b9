// The model's checked accessors: an index the loaded skin does not have is "none".
#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "skin/core/acSkinModel.h"
#include "skin/internal/InternalSkin.h"

namespace {

std::unique_ptr<TacSkinModel> LoadedModel() {
  auto model = std::make_unique<TacSkinModel>();
  model->SetSkinDirectory("Z:\\no such skins");
  AddInternalSkin(*model);
  model->SetSkinName(kInternalSkinName);
  return model;
}

}  // namespace

TEST(ModelAccess, IndexesOutsideTheLoadedSkinAreNone) {
  const auto model = LoadedModel();
  const TacSkinModel& m = *model;
  ASSERT_FALSE(m.Sections().empty());
  ASSERT_FALSE(m.Masks().empty());
  const int sections = static_cast<int>(m.Sections().size()), masks = static_cast<int>(m.Masks().size());
  const int patterns = static_cast<int>(m.Patterns().size());
  for (int bad : {-1, -2, INT_MIN}) {
    EXPECT_EQ(m.Section(bad), nullptr) << bad;
    EXPECT_EQ(m.Mask(bad), nullptr) << bad;
    EXPECT_EQ(m.Pattern(bad), nullptr) << bad;
  }
  EXPECT_EQ(m.Section(sections), nullptr);
  EXPECT_EQ(m.Mask(masks), nullptr);
  EXPECT_EQ(m.Pattern(patterns), nullptr);
  EXPECT_EQ(m.Section(INT_MAX), nullptr);
  EXPECT_EQ(m.Section(0), &m.Sections().front());
  EXPECT_EQ(m.Section(sections - 1), &m.Sections().back());
  EXPECT_EQ(m.Mask(masks - 1), &m.Masks().back());
  if (patterns > 0) {
    EXPECT_EQ(m.Pattern(patterns - 1), &m.Patterns().back());
  }
  EXPECT_FALSE(m.IsValidSection(sections));
  EXPECT_TRUE(m.IsValidSection(sections - 1));
}

TEST(ModelAccess, SectionsLeadToTheirMasksAndWritesReachTheModel) {
  const auto model = LoadedModel();
  const int button = model->SectionIndexOf("BUTTON");
  ASSERT_GE(button, 0);
  TsGeneralData* section = model->Section(button);
  ASSERT_NE(section, nullptr);
  EXPECT_EQ(section->SectionName, "BUTTON");
  ASSERT_NE(model->Mask(section->BorderIndex), nullptr);
  EXPECT_EQ(model->Mask(section->BorderIndex), &model->Masks()[static_cast<std::size_t>(section->BorderIndex)]);
  section->Color = 0x123456;
  EXPECT_EQ(model->Sections()[static_cast<std::size_t>(button)].Color, 0x123456);
}

TEST(ModelAccess, NothingIsFoundOnceTheSkinIsGone) {
  const auto model = LoadedModel();
  const int button = model->SectionIndexOf("BUTTON");
  ASSERT_NE(model->Section(button), nullptr);
  const int border = model->Section(button)->BorderIndex;
  model->SetActive(false);
  EXPECT_EQ(model->Section(button), nullptr);
  EXPECT_EQ(model->Mask(border), nullptr);
  EXPECT_EQ(model->Section(0), nullptr);
}
