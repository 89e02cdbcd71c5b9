// The internal skin "Lumen" as the program carries it: its package, its options
// text, and the model it loads into.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/gfx/ImageFile.h"
#include "skin/core/acIniFile.h"
#include "skin/core/acMasks.h"
#include "skin/core/acSkinPack.h"
#include "skin/core/acSkinModel.h"
#include "skin/internal/InternalSkin.h"

namespace {

const std::vector<std::string> kSectionOrder = {
    "GLOBALINFO", "SPLITTER", "MENUITEM", "MAINMENU", "COMBOBOX", "MENULINE", "PAGECONTROL", "SCROLLBAR1H",
    "SCROLLBAR2H", "SCROLLBAR1V", "SCROLLBAR2V", "STATUSBAR", "DIVIDER", "GROUPBOX", "PAGECONTROLBOTTOM", "TABCONTROL",
    "TABCONTROLBOTTOM", "TABCONTROLLEFT", "TABCONTROLRIGHT", "PAGECONTROLRIGHT", "PAGECONTROLLEFT", "CALCPANEL",
    "FORMTITLE", "PANEL_LOW", "DIALOG", "TOOLBAR", "PANEL", "EDIT", "DRAGBAR", "ALPHACOMBOBOX", "PROGRESSV", "GAUGE",
    "TABBOTTOM", "TABTOP", "TABLEFT", "TABRIGHT", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT", "SCROLLBTNTOP",
    "SCROLLSLIDERH", "SCROLLSLIDERV", "SPEEDBUTTON_SMALL", "FORM", "ALPHAEDIT", "BAR", "BARPANEL", "WEBBUTTON",
    "RADIOBUTTON", "CHECKBOX", "BUTTON_BIG", "BUTTON", "BARTITLE", "SPEEDBUTTON", "TOOLBUTTON", "EXTRALINE", "GRIPH",
    "HINT", "TRACKBAR", "BUTTON_HUGE", "UPDOWNBTN", "DIVIDERV", "PROGRESSH"};

using TLines = std::vector<std::pair<std::string, std::string>>;

const std::map<std::string, TLines> kGivenSections = {
    {"PANEL",
     {{"BORDERSMASK", "^0045^0054^0081^0090^0000^0000^0000^0000^1^0^1^2"},
      {"COLOR", "15390916"},
      {"GRADIENTDATA", "14396279;14730921;99;0;0;14730921;14730921;0;0;0"},
      {"GRADIENTPERCENT", "100"},
      {"HOTCOLOR", "15390916"},
      {"HOTGRADIENTDATA", "14396279;14730921;99;0;0;14730921;14730921;0;0;0"},
      {"HOTGRADIENTPERCENT", "100"}}},
    {"SPEEDBUTTON",
     {{"BORDERSMASK", "^0000^0180^0045^0210^0000^0000^0000^0000^3^1^5^0"},
      {"FADINGENABLED", "TRUE"},
      {"FADINGITERATIONS", "20"},
      {"HOTCOLOR", "16505484"},
      {"TRANSPARENCY", "100"},
      {"COLOR", "16772048"}}},
    {"BUTTON",
     {{"BORDERSMASK", "^0000^0000^0081^0054^0000^0000^0000^0000^3^1^5^0"},
      {"FADINGENABLED", "TRUE"},
      {"FADINGITERATIONS", "20"},
      {"FONTCOLOR", "5454116"},
      {"GRADIENTDATA", "16777215;11237449;99;0;0;11237449;11237449;0;0;0"},
      {"GRADIENTPERCENT", "100"},
      {"HOTGRADIENTDATA", "16777215;13732910;99;0;0;13732910;13732910;0;0;0"},
      {"HOTGRADIENTPERCENT", "100"},
      {"SHOWFOCUS", "TRUE"},
      {"TRANSPARENCY", "50"},
      {"COLOR", "16772048"}}},
    {"GROUPBOX",
     {{"BORDERSMASK", "^0000^0279^0012^0297^0000^0000^0000^0000^1^1^5^0"},
      {"COLOR", "14215660"},
      {"TRANSPARENCY", "100"},
      {"HOTCOLOR", "14215660"},
      {"HOTTRANSPARENCY", "100"}}},
    {"BAR",
     {{"BORDERSMASK", "^0135^0000^0180^0090^0000^0000^0000^0000^1^1^5^0"},
      {"TRANSPARENCY", "100"},
      {"HOTTRANSPARENCY", "100"},
      {"COLOR", "14075313"},
      {"HOTCOLOR", "16777215"}}}};

class InternalSkin : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    Reader = new TacSkinConvertor;
    Source = new TacMemoryStream(std::vector<std::uint8_t>(InternalSkinPackage().begin(), InternalSkinPackage().end()));
    Reader->BorrowSource(Source);
    Reader->ParsePackage();
    Options = new TacIniFile;
    Options->LoadFromCp1251(Reader->OptionsStream->View());
    Manager = new TacSkinModel;
    Manager->SetSkinDirectory("Z:\\no such skins");
    AddInternalSkin(*Manager);
    Manager->SetSkinName("TheFrog");
  }
  static void TearDownTestSuite() {
    delete Manager;
    delete Options;
    delete Reader;
    delete Source;
  }
  static TBitmap Entry(const std::string& name) {
    for (const TacImageItem& item : Reader->Items)
      if (item.Name == name) return LoadImageFromMemory(item.Stream->Bytes());
    ADD_FAILURE() << "no entry " << name;
    return {};
  }
  static inline TacMemoryStream* Source = nullptr;
  static inline TacSkinConvertor* Reader = nullptr;
  static inline TacIniFile* Options = nullptr;
  static inline TacSkinModel* Manager = nullptr;
};

TEST_F(InternalSkin, PackageHoldsTheSixFilesInOrder) {
  const auto& bytes = InternalSkinPackage();
  ASSERT_GE(bytes.size(), 8u);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "ASzf");
  ASSERT_TRUE(Reader->OptionsStream);
  std::vector<std::string> names;
  for (const TacImageItem& item : Reader->Items) names.push_back(item.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"ButtonHuge.bmp", "Master.bmp", "GlowBlue.png", "GlowRed.png",
                                              "GlowYellow.png"}));
  EXPECT_EQ(Reader->Items[0].Stream->Size(), 56374u);
  EXPECT_EQ(Reader->Items[1].Stream->Size(), 189654u);
}

TEST_F(InternalSkin, PicturesHaveTheirSizesAndDepths) {
  const TBitmap master = Entry("Master.bmp");
  EXPECT_EQ(master.Width(), 210);
  EXPECT_EQ(master.Height(), 300);
  EXPECT_EQ(master.PixelFormat(), TPixelFormat::pf24bit);
  const TBitmap huge = Entry("ButtonHuge.bmp");
  EXPECT_EQ(huge.Width(), 288);
  EXPECT_EQ(huge.Height(), 192);
  EXPECT_EQ(huge.PixelFormat(), TPixelFormat::pf8bit);
  for (const char* glow : {"GlowBlue.png", "GlowRed.png", "GlowYellow.png"}) {
    const TBitmap g = Entry(glow);
    EXPECT_EQ(g.Width(), 36) << glow;
    EXPECT_EQ(g.Height(), 34) << glow;
    EXPECT_EQ(g.PixelFormat(), TPixelFormat::pf32bit) << glow;
  }
}

TEST_F(InternalSkin, SectionsComeInTheListedOrderWithTheirParents) {
  EXPECT_EQ(Options->SectionNames(), kSectionOrder);
  ASSERT_EQ(Manager->Sections().size(), 63u);
  for (std::size_t i = 0; i < kSectionOrder.size(); ++i) EXPECT_EQ(Manager->Sections()[i].SectionName, kSectionOrder[i]);
  const std::map<std::string, std::string> parents = {
      {"SPLITTER", "SPEEDBUTTON_SMALL"}, {"COMBOBOX", "EDIT"}, {"PAGECONTROLBOTTOM", "PAGECONTROL"},
      {"TABCONTROL", "PAGECONTROL"}, {"TABCONTROLBOTTOM", "PAGECONTROLBOTTOM"}, {"TABCONTROLLEFT", "PAGECONTROLLEFT"},
      {"TABCONTROLRIGHT", "PAGECONTROLRIGHT"}, {"PAGECONTROLRIGHT", "PAGECONTROL"}, {"PAGECONTROLLEFT", "PAGECONTROL"},
      {"DIALOG", "FORM"}, {"ALPHACOMBOBOX", "ALPHAEDIT"}, {"BUTTON_BIG", "BUTTON"}};
  for (const TsGeneralData& s : Manager->Sections()) {
    const auto it = parents.find(s.SectionName);
    EXPECT_EQ(s.ParentClass, it == parents.end() ? "" : it->second) << s.SectionName;
  }
}

TEST_F(InternalSkin, GivenSectionsReadExactlyAsListed) {
  for (const auto& [name, lines] : kGivenSections) {
    const TacIniFile& options = *Options;
    const TacIniFile::TSection* section = options.FindSection(name);
    ASSERT_NE(section, nullptr) << name;
    TLines actual;
    for (const auto& key : section->Keys) actual.emplace_back(key.Name, key.Value);
    EXPECT_EQ(actual, lines) << name;
  }
}

TEST_F(InternalSkin, LoadsAsTheStoredSkinWithItsVersion) {
  EXPECT_TRUE(Manager->Active());
  EXPECT_EQ(Manager->SkinName(), kInternalSkinName);
  EXPECT_EQ(Manager->SkinInfo(), "6.4");
  EXPECT_EQ(Manager->Section(Manager->SectionIndexOf("DIALOG"))->Color, 14998481);
  ASSERT_TRUE(Manager->MasterBitmap);
  EXPECT_EQ(Manager->MasterBitmap->Width(), 210);
}

TEST_F(InternalSkin, EveryImageValueResolvesToAMaskInsideItsPicture) {
  int images = 0;
  for (const auto& section : Options->Sections())
    for (const auto& key : section.Keys) {
      if (SameTextUtf8(key.Name, "MASTERBITMAP")) continue;
      const TacMaskValueKind kind = ClassifyMaskValue(key.Value);
      if (kind == TacMaskValueKind::mvNone) continue;
      ++images;
      const int index = Manager->MaskIndexOf(section.Name, key.Name);
      ASSERT_GE(index, 0) << section.Name << "/" << key.Name << " = " << key.Value;
      const TsMaskData& m = *Manager->Mask(index);
      const TBitmap& picture = m.Image ? *m.Image : *Manager->MasterBitmap;
      EXPECT_LE(m.Right, picture.Width()) << section.Name << "/" << key.Name;
      EXPECT_LE(m.Bottom, picture.Height()) << section.Name << "/" << key.Name;
      EXPECT_GT(MaskFrameWidth(m), 0) << section.Name << "/" << key.Name;
      EXPECT_EQ((m.Right - m.Left) % m.ImageCount, 0) << section.Name << "/" << key.Name;
      EXPECT_EQ((m.Bottom - m.Top) % (m.MaskType + 1), 0) << section.Name << "/" << key.Name;
    }
  EXPECT_EQ(static_cast<std::size_t>(images), Manager->Masks().size());
  EXPECT_TRUE(Manager->Patterns().empty());
}

TEST_F(InternalSkin, SlotsAndCachedIndexesAreFound) {
  const auto slot = [&](const char* name) {
    return Manager->Section(Manager->SectionIndexOf(name))->BorderIndex;
  };
  EXPECT_EQ(slot("BUTTON_BIG"), Manager->MaskIndexOf("BUTTON", "BORDERSMASK"));
  EXPECT_EQ(slot("COMBOBOX"), Manager->MaskIndexOf("EDIT", "BORDERSMASK"));
  EXPECT_EQ(slot("GRIPH"), -1);
  for (const char* s : {"PANEL", "SPEEDBUTTON", "BUTTON", "GROUPBOX", "BAR"}) EXPECT_GE(slot(s), 0) << s;
  const TacCommonIndexes& c = Manager->CommonIndexes;
  EXPECT_EQ(c.GlobalInfo, 0);
  EXPECT_GE(c.CheckBoxChecked, 0);
  EXPECT_GE(c.RadioButtonUnChecked, 0);
  EXPECT_GE(c.SmallBoxGrayed, 0);
  EXPECT_EQ(c.RadioButtonGrayed, -1);
  EXPECT_GE(c.ComboBoxGlyph, 0);
  EXPECT_GE(c.ScrollBtnTop.Glyph, 0);
  EXPECT_GE(c.ScrollSliderH.Border, 0);
  EXPECT_GE(c.ScrollBar1V.Border, 0);
  EXPECT_GE(c.TabRight.Border, 0);
  EXPECT_EQ(c.ComboBtn.Section, -1);
}

// The art itself: rounded corners are holes, the three states differ.
TEST_F(InternalSkin, ButtonFramesHaveRoundCornersAndDistinctStates) {
  const TBitmap& master = *Manager->MasterBitmap;
  const TsMaskData& button = *Manager->Mask(Manager->MaskIndexOf("BUTTON", "BORDERSMASK"));
  const int w = MaskFrameWidth(button), h = MaskFrameHeight(button);
  std::set<std::vector<TColor>> frames;
  for (int state = 0; state < 3; ++state) {
    const int x0 = button.Left + state * w;
    EXPECT_EQ(master.Pixel(x0, button.Top), clFuchsia) << state;
    EXPECT_EQ(master.Pixel(x0 + w - 1, button.Top + h - 1), clFuchsia) << state;
    EXPECT_NE(master.Pixel(x0 + w / 2, button.Top), clFuchsia) << state;  // the top edge is drawn
    // Mask band: the outline is opaque, the key corner fully clear.
    EXPECT_EQ(master.Pixel(x0 + w / 2, button.Top + h) & 0xFF, 0) << state;
    EXPECT_EQ(master.Pixel(x0, button.Top + h), clWhite) << state;
    std::vector<TColor> pixels;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) pixels.push_back(master.Pixel(x0 + x, button.Top + y));
    frames.insert(pixels);
  }
  EXPECT_EQ(frames.size(), 3u);
}

}  // namespace
