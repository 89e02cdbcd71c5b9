// The skin manager: start-up with the main window's stored values, assignments,
// the default manager, colour queries and the start-up switch.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "skin/internal/InternalSkin.h"
#include "tests/skinruntime/RuntimeTestUtil.h"

namespace {

// Counts the broadcast deliveries of each command.
struct TDeliveryCounter {
  std::map<unsigned, int> ByCommand;
  void Attach() {
    TacBroadcast::Observer() = [this](TControl*, HWND, const TMessage& m, TacDelivery) { ++ByCommand[CommandOf(m.WParam)]; };
  }
};

std::vector<std::int32_t> SectionColours(const TsSkinManager& m) {
  std::vector<std::int32_t> colours;
  for (const TsGeneralData& s : m.Sections()) {
    colours.push_back(s.Color);
    colours.push_back(s.HotColor);
    for (std::int32_t c : s.FontColor) colours.push_back(c);
    for (std::int32_t c : s.HotFontColor) colours.push_back(c);
  }
  return colours;
}

std::vector<std::uint8_t> MasterPixels(const TsSkinManager& m) {
  if (!m.MasterBitmap) return {};
  return {m.MasterBitmap->Bits(), m.MasterBitmap->Bits() + m.MasterBitmap->SizeInBytes()};
}

}  // namespace

TEST_F(SkinRuntimeTest, MainWindowSettingsWithoutSkinFilesUseTheInternalSkin) {
  TsSkinManager* manager = nullptr;
  TTestSkinPanel* panel = nullptr;
  TDeliveryCounter counter;
  counter.Attach();
  NewForm([&](TForm* form) {
    manager = new TsSkinManager(form);
    manager->SetName("sSkinManager1");
    ApplyMainWindowSkinSettings(*manager);
    // Read while the window is read: loaded already, announced to nobody yet.
    EXPECT_EQ(manager->SkinInfo(), "N/A");
    panel = AddControl<TTestSkinPanel>(form, 0, 0, 100, 50);
  });
  EXPECT_TRUE(counter.ByCommand.empty()) << "the window being read is skipped by every broadcast";
  EXPECT_EQ(manager->SkinName(), kInternalSkinName);
  EXPECT_EQ(manager->SkinInfo(), "6.4");
  EXPECT_TRUE(manager->Active());
  EXPECT_TRUE(manager->IsDefault());
  EXPECT_EQ(manager->SkinDirectory(), "C:\\Tessaly\\Skins");
  EXPECT_EQ(manager->MenuSupport().IcoLineSkin, "ICOLINE");
  EXPECT_EQ(manager->MenuSupport().ExtraLineFont.Height(), -11);
  EXPECT_EQ(manager->ThirdParty().ThirdButtons(), "TButton");
  EXPECT_EQ(manager->ThirdParty().ThirdEdits(), " ");
  EXPECT_EQ(manager->ThirdLists[1], std::vector<std::string>{"TButton"});
  EXPECT_EQ(manager->ThirdLists[0], std::vector<std::string>{" "});
  // The control read after the manager binds to the internal skin's PANEL.
  EXPECT_EQ(panel->Data.SkinSection(), "PANEL");
  EXPECT_EQ(panel->Data.SkinIndex(), manager->SectionIndexOf("PANEL"));
  EXPECT_TRUE(panel->Data.IsSkinned());
  EXPECT_TRUE(manager->SkinHooked());
}

TEST_F(SkinRuntimeTest, MissingSkinWithoutStoredSkinsRemovesTheSkin) {
  TsSkinManager* manager = NewColourManager();
  ASSERT_EQ(manager->SkinInfo(), "6.4");
  TTestSkinPanel* panel = nullptr;
  NewForm([&](TForm* form) { panel = AddControl<TTestSkinPanel>(form, 0, 0, 50, 50); });
  ASSERT_TRUE(panel->Data.IsSkinned());
  manager->InternalSkins().Clear();

  TDeliveryCounter counter;
  counter.Attach();
  manager->SetSkinName("Missing");
  EXPECT_FALSE(manager->Active());
  EXPECT_EQ(manager->SkinName(), "Missing");
  EXPECT_EQ(manager->SkinInfo(), "N/A");
  EXPECT_EQ(counter.ByCommand[AC_REMOVESKIN], 2) << "the form and its panel";
  EXPECT_EQ(counter.ByCommand[AC_SETNEWSKIN], 0);
  EXPECT_EQ(panel->Received[AC_REMOVESKIN], 1);
  EXPECT_EQ(panel->Data.SkinIndex(), -1);
  EXPECT_TRUE(manager->Sections().empty());
  EXPECT_EQ(manager->CommonIndexes.GlobalInfo, -1);
  EXPECT_EQ(manager->GlobalColor(), ColorToRGB(clBtnFace));
  EXPECT_FALSE(manager->SkinHooked());
  EXPECT_FALSE(TsSkinManager::SkinChanging());
}

TEST_F(SkinRuntimeTest, MissingSkinFallsBackToTheFirstStoredSkin) {
  TsSkinManager* manager = NewManager();
  AddStoredSkin(*manager, "Colours", kColourSkin);
  manager->SetSkinName("Missing");
  EXPECT_TRUE(manager->Active());
  EXPECT_EQ(manager->SkinName(), "Colours");
}

TEST_F(SkinRuntimeTest, HueOffsetThereAndBackRestoresTheStoredColours) {
  TsSkinManager* manager = NewManager();
  AddInternalSkin(*manager);
  manager->SetSkinName(kInternalSkinName);
  TTestSkinPanel* panel = nullptr;
  NewForm([&](TForm* form) { panel = AddControl<TTestSkinPanel>(form, 0, 0, 50, 50); });
  const auto colours = SectionColours(*manager);
  const auto pixels = MasterPixels(*manager);
  const int index = panel->Data.SkinIndex();
  ASSERT_FALSE(pixels.empty());
  panel->Received.clear();

  manager->SetHueOffset(120);
  EXPECT_NE(SectionColours(*manager), colours);
  EXPECT_NE(MasterPixels(*manager), pixels);
  EXPECT_EQ(panel->Received[AC_STOPFADING], 1);
  EXPECT_EQ(panel->Received[AC_REFRESH], 1);
  EXPECT_EQ(panel->Received[AC_SETNEWSKIN], 0) << "an adjustment refreshes, it announces no new skin";
  EXPECT_EQ(manager->SkinInfo(), "6.4");

  manager->SetHueOffset(0);
  EXPECT_EQ(SectionColours(*manager), colours);
  EXPECT_EQ(MasterPixels(*manager), pixels);
  EXPECT_EQ(panel->Data.SkinIndex(), index);
  EXPECT_EQ(panel->Received[AC_REFRESH], 2);

  manager->SetSaturation(-50);
  manager->SetSaturation(0);
  EXPECT_EQ(SectionColours(*manager), colours);
  EXPECT_EQ(MasterPixels(*manager), pixels);
}

TEST_F(SkinRuntimeTest, SecondManagerIsNotDefaultUntilTold) {
  TsSkinManager* first = NewManager();
  AddInternalSkin(*first);
  first->SetSkinName(kInternalSkinName);
  TsSkinManager* second = NewColourManager();
  TTestSkinPanel* panel = nullptr;
  NewForm([&](TForm* form) { panel = AddControl<TTestSkinPanel>(form, 0, 0, 50, 50); });

  EXPECT_TRUE(first->IsDefault());
  EXPECT_FALSE(second->IsDefault());
  EXPECT_EQ(panel->Data.GetManager(), first);
  EXPECT_EQ(panel->Received[AC_SETNEWSKIN], 0) << "the second manager's skin reaches only its own controls";

  second->SetIsDefault(false);
  EXPECT_FALSE(second->IsDefault());
  EXPECT_EQ(panel->Received[AC_SETNEWSKIN], 0);

  second->SetIsDefault(true);
  EXPECT_TRUE(second->IsDefault());
  EXPECT_FALSE(first->IsDefault());
  EXPECT_EQ(TsSkinManager::DefaultManager(), second);
  EXPECT_EQ(panel->Received[AC_SETNEWSKIN], 1);
  EXPECT_EQ(panel->Data.GetManager(), second);
  EXPECT_EQ(panel->Data.SkinIndex(), second->SectionIndexOf("PANEL"));
}

TEST_F(SkinRuntimeTest, DefaultManagerGoesWithItsManager) {
  TsSkinManager* first = NewManager();
  EXPECT_EQ(TsSkinManager::DefaultManager(), first);
  Managers.clear();
  EXPECT_EQ(TsSkinManager::DefaultManager(), nullptr);
  TsSkinManager* next = NewManager();
  EXPECT_TRUE(next->IsDefault());
}

TEST_F(SkinRuntimeTest, ReadOnlyTextsIgnoreAssignment) {
  TsSkinManager* manager = NewColourManager();
  manager->SetSkinInfo("9.9");
  EXPECT_EQ(manager->SkinInfo(), "6.4");
  manager->SetVersion("1.0");
  EXPECT_EQ(manager->Version(), "6.44");
}

TEST_F(SkinRuntimeTest, ActiveOffAndOnAgain) {
  TsSkinManager* manager = NewColourManager();
  TTestSkinPanel* panel = nullptr;
  NewForm([&](TForm* form) { panel = AddControl<TTestSkinPanel>(form, 0, 0, 50, 50); });
  int before = 0, after = 0;
  manager->OnBeforeChange = [&](TObject*) { ++before; };
  manager->OnAfterChange = [&](TObject*) { ++after; };
  panel->Received.clear();

  manager->SetActive(false);
  EXPECT_EQ(panel->Received[AC_REMOVESKIN], 1);
  EXPECT_EQ(panel->Data.SkinIndex(), -1);
  EXPECT_EQ(manager->CommonIndexes.GlobalInfo, -1);
  EXPECT_EQ(before, 0);

  manager->SetActive(true);
  EXPECT_EQ(before, 1);
  EXPECT_EQ(after, 1);
  EXPECT_EQ(panel->Received[AC_SETNEWSKIN], 1);
  EXPECT_EQ(panel->Received[AC_REFRESH], 1);
  EXPECT_TRUE(panel->Data.IsSkinned());
}

TEST_F(SkinRuntimeTest, BadSkinLoadRaisesAndLeavesTheChangeFlag) {
  TsSkinManager* manager = NewManager();
  AddStoredSkin(*manager, "Bad", "[GLOBALINFO]\nSHADOW1OFFSET=abc\n");
  TDeliveryCounter counter;
  counter.Attach();
  EXPECT_ANY_THROW(manager->SetSkinName("Bad"));
  EXPECT_TRUE(counter.ByCommand.empty()) << "no command after a failed load";
  EXPECT_TRUE(TsSkinManager::SkinChanging());
  EXPECT_EQ(manager->SkinInfo(), "N/A");
  AddStoredSkin(*manager, "Colours", kColourSkin);
  manager->SetSkinName("Colours");
  EXPECT_FALSE(TsSkinManager::SkinChanging());
  EXPECT_EQ(manager->SkinInfo(), "6.4");
}

TEST_F(SkinRuntimeTest, CommonSectionsLoseTheirSpacesAndReload) {
  TsSkinManager* manager = NewColourManager();
  manager->SetCommonSections({"[EXTRA SECTION]", "; a comment stays", "COLOR = 255", ""});
  EXPECT_EQ(manager->CommonSections(), (std::vector<std::string>{"[EXTRASECTION]", "; a comment stays", "COLOR=255", ""}));
  EXPECT_GE(manager->SectionIndexOf("EXTRASECTION"), 0);
}

TEST_F(SkinRuntimeTest, SkinDirectoryIsStoredWithoutReload) {
  TsSkinManager* manager = NewColourManager();
  TDeliveryCounter counter;
  counter.Attach();
  manager->SetSkinDirectory("D:\\Skins\\");
  EXPECT_EQ(manager->SkinDirectory(), "D:\\Skins\\");
  EXPECT_TRUE(counter.ByCommand.empty());
}

TEST_F(SkinRuntimeTest, VersionAboveLimitIsShownAndTheSkinUsed) {
  TsSkinManager* manager = NewManager();
  AddStoredSkin(*manager, "Future", "[GLOBALINFO]\nVERSION=300\n[PANEL]\nCOLOR=255\n");
  manager->SetSkinName("Future");
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_EQ(Messages[0], kSkinVersionMessage);
  EXPECT_TRUE(manager->Active());
  EXPECT_EQ(manager->SkinInfo(), "300");
}

TEST_F(SkinRuntimeTest, VersionSwitchShowsTheEngineVersionOnce) {
  const char* plain[] = {"textbook", "--headless"};
  EXPECT_FALSE(CheckVersionSwitch(2, const_cast<char**>(plain)));
  EXPECT_TRUE(Messages.empty());
  const char* asked[] = {"textbook", "/ACVer", "/acver"};
  EXPECT_TRUE(CheckVersionSwitch(3, const_cast<char**>(asked)));
  EXPECT_EQ(Messages, std::vector<std::string>{"Skin engine v6.44"});
}

TEST_F(SkinRuntimeTest, ColourQueries) {
  TsSkinManager* manager = NewColourManager();
  EXPECT_EQ(manager->GlobalColor(), 12632256);
  EXPECT_EQ(manager->GlobalFontColor(), 255);
  EXPECT_EQ(manager->GlobalHotColor(), 65280);
  EXPECT_EQ(manager->EditHighlightTextColor(), 32768);
  EXPECT_EQ(manager->MenuHighlightColor(), 8421376);
  EXPECT_EQ(manager->MenuHighlightTextColor(), 65535);

  TsSkinManager* bare = NewManager();
  AddStoredSkin(*bare, "Bare", "[MENUITEM]\nHOTCOLOR=16777215\nHOTFONTCOLOR=255\n");
  bare->SetSkinName("Bare");
  EXPECT_EQ(bare->GlobalColor(), ColorToRGB(clBtnFace));
  EXPECT_EQ(bare->GlobalFontColor(), clFuchsia);
  EXPECT_EQ(bare->GlobalHotColor(), ColorToRGB(clWindow));
  EXPECT_EQ(bare->EditHighlightTextColor(), clFuchsia);
  EXPECT_EQ(bare->MenuHighlightColor(), ColorToRGB(clHighlight)) << "white is no highlight";
  EXPECT_EQ(bare->MenuHighlightTextColor(), ColorToRGB(clHighlightText)) << "the highlight colour fails the test";
}

TEST_F(SkinRuntimeTest, ListSkinsModes) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("skinruntime_list_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "Folder");
  fs::create_directories(dir / ".Hidden");
  std::ofstream(dir / "Folder" / "Options.dat") << "[GLOBALINFO]\n";
  std::ofstream(dir / ".Hidden" / "Options.dat") << "[GLOBALINFO]\n";
  for (const char* name : {"Blue.asz", "Dark.ASZ", "Green.v2.asz", ".dot.asz"}) std::ofstream(dir / name) << "x";

  TsSkinManager* manager = NewManager();
  manager->SetProgramFolder("");
  manager->SetSkinDirectory(dir.string());
  AddStoredSkin(*manager, "Stored", kColourSkin);
  std::vector<std::string> list;
  EXPECT_EQ(manager->ListSkins(list, 1), "Stored");
  EXPECT_EQ(list, (std::vector<std::string>{"Blue", "Green", "Stored"}));
  manager->ListSkins(list, 0);
  EXPECT_EQ(list, (std::vector<std::string>{"Folder", "Stored"}));
  manager->ListSkins(list, 2);
  EXPECT_EQ(list, (std::vector<std::string>{"Blue", "Folder", "Green", "Stored"}));
  fs::remove_all(dir);
}

TEST_F(SkinRuntimeTest, MainManagerAnnouncesToEarlierWindowsOnceWhenRead) {
  TTestSkinPanel* earlier = nullptr;
  NewForm([&](TForm* form) { earlier = AddControl<TTestSkinPanel>(form, 0, 0, 40, 40); });
  EXPECT_EQ(earlier->Data.SkinIndex(), -1) << "no manager yet";
  earlier->Received.clear();
  TsSkinManager* manager = nullptr;
  NewForm([&](TForm* form) {
    manager = new TsSkinManager(form);
    ApplyMainWindowSkinSettings(*manager);
    EXPECT_EQ(earlier->Received[AC_SETNEWSKIN], 0) << "nothing is announced while the manager is read";
  });
  EXPECT_EQ(earlier->Received[AC_SETNEWSKIN], 1);
  EXPECT_EQ(earlier->Received[AC_REFRESH], 0) << "the first announcement locks no redrawing and refreshes nothing";
  EXPECT_EQ(earlier->Data.SkinIndex(), manager->SectionIndexOf("PANEL"));
}

TEST_F(SkinRuntimeTest, ExtendedBordersRebuildAndRefresh) {
  TsSkinManager* manager = NewManager();
  AddInternalSkin(*manager);
  manager->SetSkinName(kInternalSkinName);
  TTestSkinPanel* panel = nullptr;
  NewForm([&](TForm* form) { panel = AddControl<TTestSkinPanel>(form, 0, 0, 40, 40); });
  panel->Received.clear();
  manager->SetExtendedBorders(true);
  EXPECT_TRUE(manager->ExtendedBorders());
  EXPECT_TRUE(manager->ExBorderImages[0] != nullptr);
  EXPECT_EQ(panel->Received[AC_REFRESH], 1);
  manager->SetExtendedBorders(true);
  EXPECT_EQ(panel->Received[AC_REFRESH], 1) << "no change, no reload";
}

TEST_F(SkinRuntimeTest, ApplicationHookSwallowsThemeChanges) {
  TsSkinManager* manager = NewManager();
  HWND hookWindow = FindWindow("TacAppHookWindow", nullptr);
  ASSERT_NE(hookWindow, nullptr);
  EXPECT_EQ(SendMessage(hookWindow, WM_THEMECHANGED, 0, 0), 1);
  manager->SetSkinnedPopups(false);
  EXPECT_EQ(SendMessage(hookWindow, WM_THEMECHANGED, 0, 0), 0);
  Managers.clear();
  EXPECT_EQ(FindWindow("TacAppHookWindow", nullptr), nullptr) << "the hook goes with the default manager";
}

// A broken stored skin on disk: the main window's manager starts with the internal
// skin and says once, in a message box and on the standard error stream, which skin
// failed and why.
class BrokenStoredSkinTest : public SkinRuntimeTest {
protected:
  void SetUp() override {
    SkinRuntimeTest::SetUp();
    Root = std::filesystem::temp_directory_path() / ("skinruntime-broken-" + std::to_string(getpid()));
    std::filesystem::remove_all(Root);
    std::filesystem::create_directories(Root / "C:" / "Tessaly" / "Skins");
    OldCwd = std::filesystem::current_path();
    std::filesystem::current_path(Root);
  }
  void TearDown() override {
    SkinRuntimeTest::TearDown();
    std::filesystem::current_path(OldCwd);
    std::filesystem::remove_all(Root);
  }
  void Write(const std::filesystem::path& relative, const std::string& bytes) {
    std::filesystem::create_directories((Root / relative).parent_path());
    std::ofstream(Root / relative, std::ios::binary) << bytes;
  }
  TsSkinManager* StartMainManager(std::string& errors) {
    TsSkinManager* manager = nullptr;
    testing::internal::CaptureStderr();
    NewForm([&](TForm* form) {
      manager = new TsSkinManager(form);
      manager->SetName("sSkinManager1");
      ApplyMainWindowSkinSettings(*manager);
    });
    errors = testing::internal::GetCapturedStderr();
    return manager;
  }
  std::filesystem::path Root, OldCwd;
};

TEST_F(BrokenStoredSkinTest, ABrokenPackageGivesTheInternalSkinAndOneMessage) {
  Write("C:/Tessaly/Skins/TheFrog.asz", "not a package at all");
  std::string errors;
  TsSkinManager* manager = StartMainManager(errors);
  ASSERT_NE(manager, nullptr);
  EXPECT_TRUE(manager->Active());
  EXPECT_EQ(manager->SkinName(), kInternalSkinName);
  EXPECT_EQ(manager->SkinInfo(), "6.4");
  EXPECT_GE(manager->SectionIndexOf("PANEL"), 0);
  ASSERT_EQ(Messages.size(), 1u);
  const std::string& text = Messages[0];
  EXPECT_NE(text.find("Не удалось загрузить скин «TheFrog»"), std::string::npos) << text;
  EXPECT_NE(text.find("TheFrog.asz"), std::string::npos) << text;
  EXPECT_NE(text.find("Loaded data is not a packed skin file"), std::string::npos) << text;
  EXPECT_NE(text.find("Используется внутренний скин «Lumen (внутренний)»"), std::string::npos) << text;
  EXPECT_EQ(errors, text + "\n");
  EXPECT_FALSE(TsSkinManager::SkinChanging());
}

TEST_F(BrokenStoredSkinTest, ABrokenSkinFolderGivesTheInternalSkinWithTheReason) {
  Write("C:/Tessaly/Skins/TheFrog/Options.dat", "[GLOBALINFO]\r\nSHADOW1OFFSET=abc\r\n");
  std::string errors;
  TsSkinManager* manager = StartMainManager(errors);
  EXPECT_EQ(manager->SkinName(), kInternalSkinName);
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_NE(Messages[0].find("'abc' is not a valid integer value"), std::string::npos) << Messages[0];
  EXPECT_NE(Messages[0].find("TheFrog"), std::string::npos);
  EXPECT_NE(errors.find("Не удалось загрузить скин «TheFrog»"), std::string::npos);
}

TEST_F(BrokenStoredSkinTest, AGoodStoredSkinOnDiskIsUsedSilently) {
  Write("C:/Tessaly/Skins/TheFrog/Options.dat", "[GLOBALINFO]\r\nVERSION=7.5\r\n[PANEL]\r\nCOLOR=255\r\n");
  std::string errors;
  TsSkinManager* manager = StartMainManager(errors);
  EXPECT_EQ(manager->SkinName(), "TheFrog");
  EXPECT_TRUE(Messages.empty());
  EXPECT_TRUE(errors.empty()) << errors;
}
