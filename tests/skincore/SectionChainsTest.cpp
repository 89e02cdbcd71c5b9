// Parent chains resolved once per load: every section's answer must equal the plain
// walk (follow parents until a section repeats), loops and tails into loops included.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "skin/core/acIniFile.h"
#include "skin/core/acSectionChains.h"
#include "skin/core/acSkinModel.h"
#include "skin/core/acSkinPackWriter.h"

namespace {

// The definition: the chain of s is s, parent(s), ... up to the first repeat.
int WalkFirst(const std::vector<int>& parents, int s, const std::vector<char>& own) {
  std::vector<char> seen(parents.size(), 0);
  while (s >= 0 && !seen[static_cast<std::size_t>(s)]) {
    if (own[static_cast<std::size_t>(s)]) return s;
    seen[static_cast<std::size_t>(s)] = 1;
    s = parents[static_cast<std::size_t>(s)];
  }
  return -1;
}

int WalkLoopEntry(const std::vector<int>& parents, int s) {
  std::vector<char> seen(parents.size(), 0);
  while (s >= 0) {
    if (seen[static_cast<std::size_t>(s)]) return s;
    seen[static_cast<std::size_t>(s)] = 1;
    s = parents[static_cast<std::size_t>(s)];
  }
  return -1;
}

}  // namespace

TEST(SectionChains, EverySectionGetsTheFirstHitOfItsOwnWalkOnRandomParentGraphs) {
  std::mt19937 random(12345);
  for (int round = 0; round < 300; ++round) {
    const int n = 1 + static_cast<int>(random() % 40);
    std::vector<int> parents(static_cast<std::size_t>(n));
    std::vector<char> own(static_cast<std::size_t>(n));
    const int ownPercent = static_cast<int>(random() % 60);
    for (int i = 0; i < n; ++i) {
      parents[static_cast<std::size_t>(i)] = random() % 5 == 0 ? -1 : static_cast<int>(random() % static_cast<unsigned>(n));
      if (parents[static_cast<std::size_t>(i)] == i) parents[static_cast<std::size_t>(i)] = -1;
      own[static_cast<std::size_t>(i)] = static_cast<int>(random() % 100) < ownPercent;
    }
    const TacSectionChains chains(parents);
    const std::vector<int> resolved = chains.ResolveOwn(own);
    for (int i = 0; i < n; ++i) {
      ASSERT_EQ(resolved[static_cast<std::size_t>(i)], WalkFirst(parents, i, own)) << "round " << round << " section " << i;
      ASSERT_EQ(chains.LoopEntry(i), WalkLoopEntry(parents, i)) << "round " << round << " section " << i;
      ASSERT_EQ(chains.Walk(i, [&](int s) { return own[static_cast<std::size_t>(s)] != 0; }), WalkFirst(parents, i, own));
    }
  }
}

TEST(SectionChains, ALoopReadsEachMemberFromItselfOnAndATailMeetsTheLoop) {
  // 0 -> 1 -> 2 -> 0, and 3 -> 4 -> 1.
  const TacSectionChains chains({1, 2, 0, 4, 1});
  const std::vector<int> onlyTwo = chains.ResolveOwn({0, 0, 1, 0, 0});
  EXPECT_EQ(onlyTwo, (std::vector<int>{2, 2, 2, 2, 2}));
  const std::vector<int> zeroAndOne = chains.ResolveOwn({1, 1, 0, 0, 0});
  EXPECT_EQ(zeroAndOne, (std::vector<int>{0, 1, 0, 1, 1}));
  EXPECT_EQ(chains.LoopEntry(0), 0);
  EXPECT_EQ(chains.LoopEntry(3), 1);
  // Parents out of range count as none.
  const TacSectionChains broken({7, -3});
  EXPECT_EQ(broken.Parent(0), -1);
  EXPECT_EQ(broken.LoopEntry(1), -1);
}

TEST(SectionChains, OptionsChainsFollowParentClassIgnoringCaseAndStopAtSelfMissingOrMarker) {
  TacIniFile ini;
  ini.LoadFromText(
      "[A]\nPARENTCLASS=b\n"
      "[B]\nPARENTCLASS=MISSING\n"
      "[C]\nPARENTCLASS=c\n"
      "[D]\nPARENTCLASS=?\n"
      "[E]\nPARENTCLASS=F\n"
      "[F]\nPARENTCLASS=e\n");
  const TacSectionChains chains = TacSectionChains::FromOptions(ini);
  EXPECT_EQ(chains.Parent(0), 1);
  EXPECT_EQ(chains.Parent(1), -1);
  EXPECT_EQ(chains.Parent(2), -1);
  EXPECT_EQ(chains.Parent(3), -1);
  EXPECT_EQ(chains.LoopEntry(4), 4);
  EXPECT_EQ(chains.LoopEntry(5), 5);
}

TEST(SectionChains, LoadedSectionsInheritThroughLongChainsAndLoopsAsTheSingleWalkDoes) {
  // A long chain whose root gives COLOR, a two-step loop and a tail into it; each
  // record must equal ReadInheritedInteger's walk for its own section.
  std::string text = "[GLOBALINFO]\nVERSION=6\n[S0]\nCOLOR=123\nBORDERSMASK=^0000^0000^0009^0009^0000^0000^0000^0000^1^0^1^1\n";
  for (int i = 1; i < 400; ++i) text += "[S" + std::to_string(i) + "]\nPARENTCLASS=S" + std::to_string(i - 1) + "\n";
  text += "[L1]\nPARENTCLASS=L2\nTRANSPARENCY=40\n[L2]\nPARENTCLASS=l1\nGLOW=3\n[T]\nPARENTCLASS=L2\n";
  TacSkinModel model;
  model.SetSkinDirectory("Z:\\no skins");
  TsStoredSkin& skin = model.InternalSkins().Add();
  skin.Name = "Chains";
  skin.Data = TacMemoryStream(WritePackage({{"Options.dat", std::vector<std::uint8_t>(text.begin(), text.end())}}, 1));
  model.SetSkinName("Chains");
  ASSERT_EQ(model.Sections().size(), 404u);
  const int last = model.SectionIndexOf("S399");
  ASSERT_GE(last, 0);
  EXPECT_EQ(model.Section(last)->Color, 123);
  EXPECT_EQ(model.Section(last)->BorderIndex, model.MaskIndexOf("S0", "BORDERSMASK"));
  EXPECT_GE(model.Section(last)->BorderIndex, 0);
  const auto& l1 = *model.Section(model.SectionIndexOf("L1"));
  const auto& l2 = *model.Section(model.SectionIndexOf("L2"));
  const auto& t = *model.Section(model.SectionIndexOf("T"));
  EXPECT_EQ(l1.Transparency, 40);
  EXPECT_EQ(l1.GlowCount, 3);
  EXPECT_EQ(l2.Transparency, 40);
  EXPECT_EQ(l2.GlowCount, 3);
  EXPECT_EQ(t.Transparency, 40);
  EXPECT_EQ(t.GlowCount, 3);
  EXPECT_EQ(t.Color, 0xFFFFFF);  // nobody in the loop gives COLOR: the default
}
