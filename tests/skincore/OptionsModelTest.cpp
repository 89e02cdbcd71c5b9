#include <gtest/gtest.h>

#include "OptionsTestSkin.h"
#include "platform/base/Exception.h"
#include "platform/gfx/SystemColors.h"

namespace {

void ExpectWalked(bool value, int, const char* key) { EXPECT_TRUE(value) << key; }
void ExpectWalked(std::int32_t value, int n, const char* key) { EXPECT_EQ(value, n) << key; }
void ExpectWalked(const std::string& value, int n, const char* key) { EXPECT_EQ(value, "t" + std::to_string(n)) << key; }

}  // namespace

TEST(OptionsModel, EveryKeyOfTheSectionTableReachesItsField) {
  // One distinct value per key; the walk catches a key wired to the wrong field.
  std::string text = "[S]\n";
  int n = 100;
#define TS_WRITE(kind, key, field, def) text += std::string(key) + "=" + (std::string(#kind) == "Bool" ? "TRUE" : std::string(#kind) == "Text" ? std::string("t") + std::to_string(n) : std::to_string(n)) + "\n"; ++n;
  TS_SECTION_KEYS(TS_WRITE)
#undef TS_WRITE
  const auto manager = ManagerWithOptions(text);
  const TsGeneralData& s = Section(*manager, "S");
  ASSERT_EQ(s.SectionName, "S");
  n = 100;
#define TS_CHECK(kind, key, field, def) ExpectWalked(s.field, n++, key);
  TS_SECTION_KEYS(TS_CHECK)
#undef TS_CHECK
}

TEST(OptionsModel, DefaultsOfAnEmptySection) {
  const auto manager = ManagerWithOptions("[EMPTY]\n");
  const TsGeneralData& s = Section(*manager, "EMPTY");
  EXPECT_EQ(s.Color, 0xFFFFFF);
  EXPECT_EQ(s.HotColor, 0xFFFFFF);
  EXPECT_EQ(s.FontColor[0], 0);
  EXPECT_EQ(s.FontColor[4], -1);
  EXPECT_EQ(s.HotFontColor[0], 0);
  EXPECT_EQ(s.HotFontColor[1], -1);
  EXPECT_EQ(s.FadingIterations, 5);
  EXPECT_EQ(s.GradientData, " ");
  EXPECT_TRUE(s.GradientStops.empty());
  EXPECT_EQ(s.HotGradientData, "");
  EXPECT_FALSE(s.ShowFocus);
  EXPECT_EQ(s.BorderIndex, -1);
  EXPECT_EQ(s.ParentClass, "");
}

TEST(OptionsModel, SystemColoursAreConvertedForColorOnly) {
  const auto manager = ManagerWithOptions("[S]\nCOLOR=-16777201\nHOTCOLOR=-16777201\nFONTCOLOR=-16777201\n");
  const TsGeneralData& s = Section(*manager, "S");
  EXPECT_EQ(s.Color, static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(s.HotColor, -16777201);
  EXPECT_EQ(s.FontColor[0], -16777201);
}

TEST(OptionsModel, SystemColourIsTheCurrentOneAtLoad) {
  SetSysColor(COLOR_BTNFACE, RGB(1, 2, 3));
  const auto manager = ManagerWithOptions("[S]\nCOLOR=-16777201\n");
  ResetSysColors();
  EXPECT_EQ(Section(*manager, "S").Color, static_cast<TColor>(RGB(1, 2, 3)));
}

TEST(OptionsModel, MinusOneAndQuestionMarkAreLookedUpInTheParent) {
  const auto manager = ManagerWithOptions(
      "[BASE]\nFONTCOLOR=255\nTRANSPARENCY=50\nGRADIENTDATA=1;2;3;4;5\nSHOWFOCUS=TRUE\n"
      "[CHILD]\nPARENTCLASS=BASE\nFONTCOLOR=-1\nTRANSPARENCY=abc\nGRADIENTDATA=?\n"
      "[ORPHAN]\nFONTCOLOR=-1\n"
      "[LOST]\nPARENTCLASS=NOWHERE\nTRANSPARENCY=-1\n");
  const TsGeneralData& child = Section(*manager, "CHILD");
  EXPECT_EQ(child.ParentClass, "BASE");
  EXPECT_EQ(child.FontColor[0], 255);
  EXPECT_EQ(child.Transparency, 50);  // invalid integers count as missing
  EXPECT_EQ(child.GradientData, "1;2;3;4;5");
  ASSERT_EQ(child.GradientStops.size(), 1u);
  EXPECT_TRUE(child.ShowFocus);
  EXPECT_EQ(Section(*manager, "ORPHAN").FontColor[0], 0);
  EXPECT_EQ(Section(*manager, "LOST").Transparency, 0);
}

TEST(OptionsModel, LongInheritanceChainsAreFollowedToTheirEnd) {
  const auto manager = ManagerWithOptions(
      "[D]\nPARENTCLASS=C\n[C]\nPARENTCLASS=B\n[B]\nPARENTCLASS=A\n[A]\nGLOW=3\nCOLOR=123\n");
  EXPECT_EQ(Section(*manager, "D").GlowCount, 3);
  EXPECT_EQ(Section(*manager, "D").Color, 123);
}

TEST(OptionsModel, ParentLoopsEndWithTheDefaults) {
  const auto manager = ManagerWithOptions(
      "[SELF]\nPARENTCLASS=SELF\nCOLOR=77\n"
      "[A]\nPARENTCLASS=B\nCOLOR=5\n[B]\nPARENTCLASS=A\n"
      "[P]\nPARENTCLASS=Q\n[Q]\nPARENTCLASS=R\n[R]\nPARENTCLASS=q\n");
  EXPECT_EQ(Section(*manager, "SELF").Color, 77);
  EXPECT_EQ(Section(*manager, "SELF").FadingIterations, 5);
  EXPECT_EQ(Section(*manager, "B").Color, 5);  // B -> A has it
  EXPECT_EQ(Section(*manager, "B").Transparency, 0);
  EXPECT_EQ(Section(*manager, "P").Color, 0xFFFFFF);
  EXPECT_EQ(Section(*manager, "P").HotGradientData, "");
}

TEST(OptionsModel, BooleansCompareWithTrueIgnoringCase) {
  const auto manager = ManagerWithOptions("[A]\nSHOWFOCUS=true\nFADINGENABLED=1\nGIVEOWNFONT=yes\nRESERVEDBOOLEAN=True\n");
  const TsGeneralData& a = Section(*manager, "A");
  EXPECT_TRUE(a.ShowFocus);
  EXPECT_FALSE(a.FadingEnabled);
  EXPECT_FALSE(a.GiveOwnFont);
  EXPECT_TRUE(a.ReservedBoolean);
}

TEST(OptionsModel, GradientStopsAreParsedAndTheTrailingGroupDropped) {
  const auto manager = ManagerWithOptions("[A]\nGRADIENTDATA=1;2;150;0;0;3;4\nHOTGRADIENTDATA=-5;7;-3;2;0\n");
  const TsGeneralData& a = Section(*manager, "A");
  ASSERT_EQ(a.GradientStops.size(), 1u);
  EXPECT_EQ(a.GradientStops[0], (TsGradPie{1, 2, 100, 0}));
  ASSERT_EQ(a.HotGradientStops.size(), 1u);
  EXPECT_EQ(a.HotGradientStops[0], (TsGradPie{0, 7, 0, 2}));
}

TEST(OptionsModel, SectionsKeepFileOrderAndAreComparedExactly) {
  const auto manager = ManagerWithOptions("[GLOBALINFO]\n[panel]\n[BUTTON]\n[PANEL_LOW]\n");
  ASSERT_EQ(manager->Sections().size(), 4u);
  EXPECT_EQ(manager->Sections()[1].SectionName, "panel");
  EXPECT_EQ(manager->SectionIndexOf("PANEL"), -1);
  EXPECT_EQ(manager->SectionIndexOf("panel"), 1);
  EXPECT_EQ(manager->SectionIndexOf("BUTTON"), 2);
  EXPECT_TRUE(manager->IsValidSection(3));
  EXPECT_FALSE(manager->IsValidSection(4));
  EXPECT_FALSE(manager->IsValidSection(-1));
}

TEST(OptionsModel, GlobalValuesAndTheirDefaults) {
  auto manager = ManagerWithOptions("[GLOBALINFO]\nVERSION=6.4\nAUTHOR=Кто-то\nTITLEHEIGHT=24\nBORDERCOLOR=$FF\nSHADOW1BLUR=3\n");
  const TsSkinData& d = manager->SkinData;
  EXPECT_EQ(d.Version, 6.4);
  EXPECT_EQ(manager->SkinInfo(), "6.4");
  EXPECT_EQ(d.Author, "Кто-то");
  EXPECT_EQ(d.TitleHeight, 24);
  EXPECT_EQ(d.MaxHeight, 24);  // 0 becomes TITLEHEIGHT
  EXPECT_EQ(d.BorderWidth, 4);
  EXPECT_EQ(d.FormOffset, 8);
  EXPECT_EQ(d.BorderColor, 255);
  EXPECT_EQ(d.Shadow1Blur, 3);
  EXPECT_EQ(d.Shadow1Offset, 0);

  manager = ManagerWithOptions("[OTHER]\n");
  EXPECT_EQ(manager->SkinData.Version, 0);
  EXPECT_EQ(manager->SkinData.Shadow1Blur, -1);
  EXPECT_EQ(manager->SkinData.TitleHeight, 30);
  EXPECT_EQ(manager->SkinData.MaxHeight, 30);
  EXPECT_EQ(manager->SkinInfo(), "0");
}

TEST(OptionsModel, VersionWithACommaReadsAsZero) {
  EXPECT_EQ(ManagerWithOptions("[GLOBALINFO]\nVERSION=6,4\n")->SkinData.Version, 0);
}

TEST(OptionsModel, EveryStrictGlobalKeyRefusesText) {
#define TS_STRICT(kind, key, field, def)                                                    \
  if (std::string_view(#kind) == "Strict") {                                               \
    try {                                                                                  \
      ManagerWithOptions(std::string("[GLOBALINFO]\n") + key + "=4x\n");                   \
      ADD_FAILURE() << key;                                                                \
    } catch (const EConvertError& e) {                                                     \
      EXPECT_EQ(e.Message(), "'4x' is not a valid integer value") << key;                  \
    }                                                                                      \
  }
  TS_GLOBAL_KEYS(TS_STRICT)
#undef TS_STRICT
}

TEST(OptionsModel, NonStrictGlobalIntegersFallBackToTheirDefaults) {
  const auto manager = ManagerWithOptions("[GLOBALINFO]\nBORDERWIDTH=wide\nFORMOFFSET=\n");
  EXPECT_EQ(manager->SkinData.BorderWidth, 4);
  EXPECT_EQ(manager->SkinData.FormOffset, 8);
}

TEST(OptionsModel, TooNewASkinIsAnnouncedAndStillLoaded) {
  auto manager = std::make_unique<TacSkinModel>();
  std::vector<std::string> messages;
  manager->OnShowMessage = [&](const std::string& m) { messages.push_back(m); };
  manager->SetSkinDirectory("Z:\\none");
  TsStoredSkin& skin = manager->InternalSkins().Add();
  skin.Name = "New";
  const std::string text = "[GLOBALINFO]\nVERSION=256.5\n[PANEL]\nCOLOR=1\n";
  skin.Data = TacMemoryStream(WritePackage({{"Options.dat", std::vector<std::uint8_t>(text.begin(), text.end())}}));
  manager->SetSkinName("New");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0],
            "This version of the skin is not fully supported by this release of the skin engine.\r\n"
            "The components must be updated to the latest version to use this skin.");
  EXPECT_EQ(manager->SectionIndexOf("PANEL"), 1);
  EXPECT_EQ(manager->SkinInfo(), "256.5");
}
