// The internal skin "Lumen" as the program carries it, checked by what the
// program needs of it rather than by how it was drawn: every section the
// controls ask for is there with its images, every picture decodes with the
// sizes its options give, the masks fit their pictures, and the package
// round-trips.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

#include "platform/gfx/ImageFile.h"
#include "skin/core/acIniFile.h"
#include "skin/core/acMasks.h"
#include "skin/core/acSkinModel.h"
#include "skin/core/acSkinPack.h"
#include "skin/core/acSkinPackWriter.h"
#include "skin/internal/InternalSkin.h"
#include "skin/runtime/acControlKinds.h"

namespace {

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

class InternalSkin : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    Source = new TacMemoryStream(std::vector<std::uint8_t>(InternalSkinPackage().begin(), InternalSkinPackage().end()));
    Reader = new TacSkinConvertor;
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
  // The package's pictures, decoded, by their upper-cased names as the options name them.
  static std::map<std::string, TBitmap> Pictures() {
    std::map<std::string, TBitmap> out;
    for (const TacImageItem& item : Reader->Items) out.emplace(Upper(item.Name), LoadImageFromMemory(item.Stream->Bytes()));
    return out;
  }
  static const TsGeneralData* Section(const std::string& name) { return Manager->Section(Manager->SectionIndexOf(name)); }
  static inline TacMemoryStream* Source = nullptr;
  static inline TacSkinConvertor* Reader = nullptr;
  static inline TacIniFile* Options = nullptr;
  static inline TacSkinModel* Manager = nullptr;
};

TEST_F(InternalSkin, LoadsAsTheStoredSkinWithItsVersion) {
  EXPECT_TRUE(Manager->Active());
  EXPECT_EQ(Manager->SkinName(), kInternalSkinName);
  EXPECT_EQ(Manager->SkinInfo(), "6.4");
  ASSERT_TRUE(Manager->MasterBitmap);
  // Every section of the options, in their order, the global one first.
  EXPECT_EQ(Options->SectionNames().front(), "GLOBALINFO");
  ASSERT_EQ(Manager->Sections().size(), Options->Sections().size());
  for (std::size_t i = 0; i < Options->Sections().size(); ++i)
    EXPECT_EQ(Manager->Sections()[i].SectionName, Options->Sections()[i].Name);
}

TEST_F(InternalSkin, EverySectionTheControlsAskForIsThereWithItsImages) {
  std::set<std::string> asked = {"FORM", "FORMTITLE", "DIALOG", "BAR", "MENUITEM"};
  for (TacControlKind kind : {TacControlKind::Edit, TacControlKind::Memo, TacControlKind::CheckBox, TacControlKind::Panel,
                              TacControlKind::ToolBar, TacControlKind::GroupBox, TacControlKind::DBEdit,
                              TacControlKind::SpeedButton, TacControlKind::Button, TacControlKind::BitBtn,
                              TacControlKind::EditWindow, TacControlKind::Adapter}) {
    ASSERT_FALSE(DefaultSectionOfKind(kind).empty()) << static_cast<int>(kind);
    asked.insert(std::string(DefaultSectionOfKind(kind)));
  }
  for (const std::string& name : asked) {
    const TsGeneralData* section = Section(name);
    ASSERT_NE(section, nullptr) << name;
    for (const auto& key : std::as_const(*Options).FindSection(name)->Keys) {
      // Its images are loaded, and a colour the options give is the colour loaded.
      if (ClassifyMaskValue(key.Value) != TacMaskValueKind::mvNone) {
        EXPECT_GE(Manager->MaskIndexOf(name, key.Name), 0) << name << "/" << key.Name;
      }
      if (key.Name == "COLOR") {
        EXPECT_EQ(section->Color, std::stoi(key.Value)) << name;
      }
    }
  }
  // The framed ones have a frame, their own or their parent's.
  for (const char* name : {"EDIT", "PANEL", "GROUPBOX", "SPEEDBUTTON", "BUTTON", "FORM", "BAR"})
    EXPECT_GE(Section(name)->BorderIndex, 0) << name;
  // A section without a frame of its own takes its parent's, and the parent exists.
  for (const TsGeneralData& s : Manager->Sections()) {
    if (s.ParentClass.empty()) continue;
    const TsGeneralData* parent = Section(s.ParentClass);
    ASSERT_NE(parent, nullptr) << s.SectionName << " names " << s.ParentClass;
    if (Manager->MaskIndexOf(s.SectionName, "BORDERSMASK") < 0) {
      EXPECT_EQ(s.BorderIndex, parent->BorderIndex) << s.SectionName;
    }
  }
}

TEST_F(InternalSkin, EveryPictureDecodesWithTheSizesItsOptionsGive) {
  const std::map<std::string, TBitmap> pictures = Pictures();
  ASSERT_FALSE(pictures.empty());
  std::set<std::string> named;
  for (const auto& section : Options->Sections())
    for (const auto& key : section.Keys) {
      const std::string where = section.Name + "/" + key.Name + " = " + key.Value;
      if (SameTextUtf8(key.Name, "MASTERBITMAP")) {
        named.insert(Upper(key.Value));
        const auto it = pictures.find(Upper(key.Value));
        ASSERT_NE(it, pictures.end()) << where;
        // The master keeps colour keys, not an alpha channel; the model shows this very picture.
        EXPECT_EQ(it->second.PixelFormat(), TPixelFormat::pf24bit) << where;
        EXPECT_EQ(Manager->MasterBitmap->Width(), it->second.Width());
        EXPECT_EQ(Manager->MasterBitmap->Height(), it->second.Height());
        continue;
      }
      if (ClassifyMaskValue(key.Value) != TacMaskValueKind::mvFileImage) continue;
      const TacFileImageValue value = ParseFileImageValue(key.Value);
      named.insert(Upper(value.FileName));
      const auto it = pictures.find(Upper(value.FileName));
      ASSERT_NE(it, pictures.end()) << where;
      const TBitmap& picture = it->second;
      ASSERT_GT(value.ImageCount, 0) << where;
      EXPECT_GT(picture.Width(), 0) << where;
      EXPECT_EQ(picture.Width() % value.ImageCount, 0) << where;
      EXPECT_EQ(picture.Height() % (value.MaskType + 1), 0) << where;
      // A picture with its own transparency is read with its alpha.
      if (Upper(value.FileName).ends_with(".PNG")) {
        EXPECT_EQ(picture.PixelFormat(), TPixelFormat::pf32bit) << where;
      }
      // The model's mask is the whole picture, split into those frames.
      const int index = Manager->MaskIndexOf(section.Name, key.Name);
      ASSERT_GE(index, 0) << where;
      const TsMaskData& mask = *Manager->Mask(index);
      ASSERT_TRUE(mask.Image) << where;
      EXPECT_EQ(mask.Image->Width(), picture.Width()) << where;
      EXPECT_EQ(MaskFrameWidth(mask) * value.ImageCount, picture.Width()) << where;
      EXPECT_EQ(MaskFrameHeight(mask) * (value.MaskType + 1), picture.Height()) << where;
    }
  // Every picture of the package is used, every one used is in the package.
  std::set<std::string> carried;
  for (const auto& [name, picture] : pictures) carried.insert(name);
  EXPECT_EQ(named, carried);
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

TEST_F(InternalSkin, PackageRoundTrips) {
  const auto& bytes = InternalSkinPackage();
  ASSERT_GE(bytes.size(), 8u);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "ASzf");
  ASSERT_TRUE(Reader->OptionsStream);
  // Options first, then the pictures: written again as they were read, stored
  // as the program carries them, the package is the same to the byte.
  std::vector<TacPackEntry> entries{{"Options.dat", Reader->OptionsStream->Bytes()}};
  for (const TacImageItem& item : Reader->Items) entries.push_back({item.Name, item.Stream->Bytes()});
  EXPECT_EQ(WritePackage(entries, 0), bytes);
  // Deflated, it reads back to the same files.
  TacSkinConvertor again;
  again.OwnSource(std::make_unique<TacMemoryStream>(WritePackage(entries, 9)));
  again.ParsePackage();
  ASSERT_TRUE(again.OptionsStream);
  EXPECT_EQ(again.OptionsStream->Bytes(), Reader->OptionsStream->Bytes());
  ASSERT_EQ(again.Items.size(), Reader->Items.size());
  for (std::size_t i = 0; i < again.Items.size(); ++i) {
    EXPECT_EQ(again.Items[i].Name, Reader->Items[i].Name);
    EXPECT_EQ(again.Items[i].Stream->Bytes(), Reader->Items[i].Stream->Bytes()) << again.Items[i].Name;
  }
}

TEST_F(InternalSkin, SlotsAndCachedIndexesAreFound) {
  const auto slot = [&](const char* name) { return Section(name)->BorderIndex; };
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
