// The image half of loading a skin: masks, the master bitmap, patterns, mask
// slots, colour adjustment and the cached indexes of frequently used items.
#include <algorithm>
#include <span>

#include "platform/base/Cp1251.h"
#include "platform/base/Exception.h"
#include "platform/gfx/ImageFile.h"
#include "skin/core/acMasks.h"
#include "skin/core/acSkinImage.h"
#include "skin/core/acSkinSource.h"
#include "skin/core/sHue.h"
#include "skin/core/acSkinModel.h"

namespace {

constexpr const char* kGlobalInfo = "GLOBALINFO";
constexpr int kPatternMinPixels = 90000;

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

std::unique_ptr<TBitmap> MakeMaster(TBitmap bitmap) {
  auto master = std::make_unique<TBitmap>(std::move(bitmap));
  master->SetPixelFormat(TPixelFormat::pf24bit);
  master->SetTransparent(true);
  master->SetTransparentColor(clFuchsia);
  return master;
}

// Copies a rectangle of 24-bit pixels between bitmaps of the same format.
void CopyRect(const TBitmap& from, int fx, int fy, TBitmap& to, int tx, int ty, int w, int h) {
  const int bpp = BitsPerPixel(from.PixelFormat()) / 8;
  for (int y = 0; y < h; ++y)
    std::copy_n(from.ScanLine(fy + y) + fx * bpp, static_cast<std::size_t>(w) * bpp, to.ScanLine(ty + y) + tx * bpp);
}

// The part of a mask rectangle that lies inside the bitmap.
bool ClipToBitmap(const TBitmap& bitmap, const TsMaskData& m, TRect& out) {
  out = TRect{m.Left, m.Top, m.Right, m.Bottom}.Intersect(TRect{0, 0, bitmap.Width(), bitmap.Height()});
  return !out.IsEmpty();
}

// A frame (w x h at x, y) of a picture as a new 32-bit bitmap; parts outside are left clear.
std::unique_ptr<TBitmap> CutFrame(const TBitmap& source, int x, int y, int w, int h) {
  auto frame = std::make_unique<TBitmap>(std::max(w, 0), std::max(h, 0), TPixelFormat::pf32bit, true);
  TBitmap src(source);
  src.SetPixelFormat(TPixelFormat::pf32bit);
  const TRect part = TRect{x, y, x + w, y + h}.Intersect(TRect{0, 0, src.Width(), src.Height()});
  if (!part.IsEmpty()) CopyRect(src, part.Left, part.Top, *frame, part.Left - x, part.Top - y, part.Width(), part.Height());
  return frame;
}

}  // namespace

// --- Lookups ----------------------------------------------------------------------

bool TacSkinModel::FindSkinImage(const std::string& reference, std::vector<std::uint8_t>& bytes) {
  std::span<const std::uint8_t> view;
  if (!FindSkinImage(reference, view, bytes)) return false;
  if (view.data() != bytes.data()) bytes.assign(view.begin(), view.end());
  return true;
}

bool TacSkinModel::FindSkinImage(const std::string& reference, std::span<const std::uint8_t>& view,
                                 std::vector<std::uint8_t>& storage) {
  if (reference.empty()) return false;
  if (SkinIsPacked) {
    if (!Convertor_) return false;
    TacImageItem* item = Convertor_->FindItem(reference);
    if (item == nullptr || !item->Stream) return false;
    item->Stream->Rewind();
    view = item->Stream->Bytes();  // the package's bytes, read in place
    return true;
  }
  const std::string path = reference.find(':') == std::string::npos ? SkinData.ImageFolder + reference : reference;
  if (!SkinFileExists(path)) return false;
  auto data = ReadSkinFile(path, &LoadBudget_);
  if (!data) return false;
  storage = std::move(*data);
  view = storage;
  return true;
}

TBitmap TacSkinModel::DecodeCounted(std::span<const std::uint8_t> bytes, const std::string& what,
                                    TBitmap (*decode)(std::span<const std::uint8_t>)) {
  // Four bytes a pixel covers every format a skin picture ends up in.
  if (const auto size = DeclaredImageSize(bytes)) {
    LoadBudget_.Take(std::uint64_t{size->Width} * size->Height * 4, what);
    return decode(bytes);
  }
  TBitmap image = decode(bytes);
  LoadBudget_.Take(static_cast<std::uint64_t>(image.Width()) * static_cast<std::uint64_t>(image.Height()) * 4, what);
  return image;
}

int TacSkinModel::MaskIndexOf(const std::string& section, const std::string& key) const {
  if (section.empty()) return -1;
  if (Lookup_.Serves(Sections_, Masks_, Patterns_)) return Lookup_.Mask(section, key);
  for (std::size_t i = 0; i < Masks_.size(); ++i)
    if (Masks_[i].SectionName == section && Masks_[i].PropertyName == key) return static_cast<int>(i);
  return -1;
}

// Walks section -> PARENTCLASS -> ... and returns the first hit of `match`.
// The walk is bounded by the section count, so a looping chain ends.
template <typename Match>
static int InheritedLookup(const TsGeneralDataArray& sections, const TacModelLookup* lookup, int sectionIndex,
                           std::string section, Match match) {
  if (sectionIndex < 0 || section.empty()) return -1;
  if (lookup != nullptr && static_cast<std::size_t>(sectionIndex) < sections.size() &&
      sections[static_cast<std::size_t>(sectionIndex)].SectionName == section) {
    int hit = -1;
    lookup->Chains().Walk(sectionIndex, [&](int i) {
      hit = match(sections[static_cast<std::size_t>(i)].SectionName);
      return hit >= 0;
    });
    return hit;
  }
  for (std::size_t steps = 0; steps <= sections.size(); ++steps) {
    if (sectionIndex < 0 || section.empty()) return -1;
    const int hit = match(section);
    if (hit >= 0) return hit;
    if (static_cast<std::size_t>(sectionIndex) >= sections.size()) return -1;
    const std::string& parent = sections[static_cast<std::size_t>(sectionIndex)].ParentClass;
    if (parent.empty() || parent == section) return -1;
    int parentIndex = -1;
    for (std::size_t i = 0; i < sections.size(); ++i)
      if (sections[i].SectionName == parent) {
        parentIndex = static_cast<int>(i);
        break;
      }
    if (parentIndex < 0) return -1;
    sectionIndex = parentIndex;
    section = parent;
  }
  return -1;
}

const TacModelLookup* TacSkinModel::ServingLookup() const { return Lookup_.Serves(Sections_, Masks_, Patterns_) ? &Lookup_ : nullptr; }

int TacSkinModel::InheritedMaskIndexOf(int sectionIndex, const std::string& section, const std::string& key) const {
  return InheritedLookup(Sections_, ServingLookup(), sectionIndex, section, [&](const std::string& s) { return MaskIndexOf(s, key); });
}

int TacSkinModel::TextureIndexOf(int sectionIndex, const std::string& section, const std::string& key) const {
  if (Masks_.empty()) return -1;
  const TacModelLookup* lookup = ServingLookup();
  return InheritedLookup(Sections_, lookup, sectionIndex, section, [&](const std::string& s) {
    if (lookup != nullptr) return lookup->Texture(s, key);
    for (std::size_t i = 0; i < Masks_.size(); ++i)
      if (Masks_[i].ImgType == TacImgType::itisaTexture && Masks_[i].SectionName == s && Masks_[i].PropertyName == key)
        return static_cast<int>(i);
    return -1;
  });
}

int TacSkinModel::PatternIndexOf(int sectionIndex, const std::string& section, const std::string& key) const {
  const TacModelLookup* lookup = ServingLookup();
  return InheritedLookup(Sections_, lookup, sectionIndex, section, [&](const std::string& s) {
    if (lookup != nullptr) return lookup->Pattern(s, key);
    for (std::size_t i = 0; i < Patterns_.size(); ++i)
      if (Patterns_[i].SectionName == s && Patterns_[i].PropertyName == key) return static_cast<int>(i);
    return -1;
  });
}

// --- Masks ------------------------------------------------------------------------

void TacSkinModel::ReleaseImages() {
  Lookup_.Clear();
  Masks_.clear();
  Patterns_.clear();
  MasterBitmap.reset();
}

// One options value of a section; appends a mask when the value denotes one.
void TacSkinModel::AddMaskFromValue(const std::string& section, const std::string& key, const std::string& value) {
  TsMaskData mask;
  mask.Manager = this;
  switch (ClassifyMaskValue(value)) {
    case TacMaskValueKind::mvNone:
      return;
    case TacMaskValueKind::mvGlyph:
      ParseGlyphValue(value, mask);
      break;
    case TacMaskValueKind::mvBorder:
      ParseBorderValue(value, mask);
      break;
    case TacMaskValueKind::mvTexture:
      ParseTextureValue(value, mask);
      break;
    case TacMaskValueKind::mvFileImage: {
      const std::string file = value.substr(1, value.find('!', 1) == std::string::npos ? std::string::npos
                                                                                         : value.find('!', 1) - 1);
      const std::string upper = UpperAscii(file);
      const bool isBmp = Contains(upper, ".BMP");
      if (!isBmp && !Contains(upper, ".PNG")) return;
      std::vector<std::uint8_t> storage;
      std::span<const std::uint8_t> bytes;
      if (!FindSkinImage(file, bytes, storage) || DeclaresNoPixels(bytes)) return;
      TBitmap image = DecodeCounted(bytes, file, isBmp ? LoadBmpFromMemory : DecodeSkinPng);
      if (image.Width() == 0) return;
      const TacFileImageValue words = ParseFileImageValue(value);
      mask.ImgType = static_cast<TacImgType>(std::clamp(words.ImgType, 0, 4));
      if (isBmp && mask.ImgType != TacImgType::itisaTexture) image.SetPixelFormat(TPixelFormat::pf24bit);
      mask.ImageCount = static_cast<std::int16_t>(std::clamp(words.ImageCount, -32768, 32767));
      mask.MaskType = static_cast<std::int16_t>(std::clamp(words.MaskType, -32768, 32767));
      mask.StretchMode = 4;
      mask.Right = image.Width();
      mask.Bottom = image.Height();
      mask.Image = std::make_unique<TBitmap>(std::move(image));
      if (words.HasBorders) {
        mask.WL = static_cast<std::int16_t>(std::clamp(words.WL, -32768, 32767));
        mask.WT = static_cast<std::int16_t>(std::clamp(words.WT, -32768, 32767));
        mask.WR = static_cast<std::int16_t>(std::clamp(words.WR, -32768, 32767));
        mask.WB = static_cast<std::int16_t>(std::clamp(words.WB, -32768, 32767));
      } else {
        SetDefaultBorders(mask);
      }
      break;
    }
    case TacMaskValueKind::mvSeparateBitmap: {
      std::vector<std::uint8_t> storage;
      std::span<const std::uint8_t> bytes;
      // Upper-cased as entry names are, Cyrillic letters included.
      if (!FindSkinImage(UpperCaseUtf8(value), bytes, storage) || DeclaresNoPixels(bytes)) return;
      TBitmap image = DecodeCounted(bytes, value, LoadBmpFromMemory);
      if (image.Width() == 0) return;
      image.SetPixelFormat(TPixelFormat::pf24bit);
      mask.ImageCount = 3;
      mask.MaskType = 1;
      mask.Right = image.Width();
      mask.Bottom = image.Height();
      mask.Image = std::make_unique<TBitmap>(std::move(image));
      SetDefaultBorders(mask);
      mask.SectionName = UpperAscii(section);
      mask.PropertyName = UpperAscii(key);
      Masks_.push_back(std::move(mask));
      return;
    }
    case TacMaskValueKind::mvLegacyRect:
      ParseLegacyValue(value, mask);
      mask.SectionName = UpperAscii(section);
      mask.PropertyName = UpperAscii(key);
      Masks_.push_back(std::move(mask));
      return;
  }
  mask.SectionName = section;
  mask.PropertyName = key;
  Masks_.push_back(std::move(mask));
}

void TacSkinModel::LoadMasks() {
  ReleaseImages();
  if (SkinFile_) {
    const std::string masterName = SkinFile_->ReadString(kGlobalInfo, "MASTERBITMAP", "");
    std::vector<std::uint8_t> storage;
    std::span<const std::uint8_t> bytes;
    if (!masterName.empty() && FindSkinImage(masterName, bytes, storage) && !DeclaresNoPixels(bytes))
      MasterBitmap = MakeMaster(DecodeCounted(bytes, masterName, DecodeSkinPicture));
    for (const TacIniFile::TSection& section : SkinFile_->Sections()) {
      const bool global = SameTextUtf8(section.Name, kGlobalInfo);
      for (const TacIniFile::TKey& key : section.Keys) {
        if (global && SameTextUtf8(key.Name, "MASTERBITMAP")) continue;
        AddMaskFromValue(section.Name, key.Name, key.Value);
      }
    }
  } else if (const TsStoredSkin* skin = CurrentStoredSkin()) {
    if (!skin->MasterBitmap.Empty()) MasterBitmap = MakeMaster(skin->MasterBitmap);
    for (const TsSkinImage& item : skin->Images) {
      TsMaskData mask;
      mask.Manager = this;
      if (!item.Name.empty()) {
        mask.Image = std::make_unique<TBitmap>(item.Image);
        mask.Image->SetPixelFormat(TPixelFormat::pf24bit);
        mask.Right = mask.Image->Width();
        mask.Bottom = mask.Image->Height();
      } else {
        mask.Left = item.Left;
        mask.Top = item.Top;
        mask.Right = item.Right;
        mask.Bottom = item.Bottom;
      }
      mask.SectionName = UpperAscii(item.SectionName);
      mask.PropertyName = UpperAscii(item.PropertyName);
      mask.ImageCount = item.ImageCount;
      mask.MaskType = item.MaskType;
      mask.BorderWidth = item.BorderWidth;
      mask.StretchMode = item.StretchMode;
      mask.ImgType = item.ImgType;
      mask.WL = item.WL;
      mask.WT = item.WT;
      mask.WR = item.WR;
      mask.WB = item.WB;
      if (mask.ImageCount == 0) {
        mask.ImageCount = 3;
        mask.MaskType = 1;
      }
      if (mask.WL == 0 && mask.WT == 0 && mask.WR == 0 && mask.WB == 0) SetBordersFromWidth(mask);
      Masks_.push_back(std::move(mask));
    }
  }
  LoadCommonSectionMasks();
}

// CommonSections add only legacy rectangles and bare bitmap files; the files are
// always looked up in the image folder, even for a packed skin.
void TacSkinModel::LoadCommonSectionMasks() {
  if (CommonSections_.empty()) return;
  TacIniFile common;
  common.LoadFromLines(CommonSections_);
  for (const TacIniFile::TSection& section : common.Sections()) {
    if (UpperAscii(section.Name) == kGlobalInfo) continue;
    for (const TacIniFile::TKey& key : section.Keys) {
      const std::string& value = key.Value;
      TsMaskData mask;
      mask.Manager = this;
      mask.SectionName = UpperAscii(section.Name);
      mask.PropertyName = UpperAscii(key.Name);
      if (value.find('#') != std::string::npos && value != "#") {
        if (!MasterBitmap) continue;
        ParseLegacyValue(value, mask);
      } else if (Contains(UpperAscii(value), ".BMP")) {
        const std::string path = value.find(':') == std::string::npos ? SkinData.ImageFolder + value : value;
        const auto bytes = SkinFileExists(path) ? ReadSkinFile(path, &LoadBudget_) : std::nullopt;
        if (!bytes || DeclaresNoPixels(*bytes)) continue;
        TBitmap image = DecodeCounted(*bytes, value, LoadBmpFromMemory);
        if (image.Width() == 0) continue;
        image.SetPixelFormat(TPixelFormat::pf24bit);
        mask.ImageCount = 3;
        mask.MaskType = 1;
        mask.Right = image.Width();
        mask.Bottom = image.Height();
        mask.Image = std::make_unique<TBitmap>(std::move(image));
        SetDefaultBorders(mask);
      } else {
        continue;
      }
      Masks_.push_back(std::move(mask));
    }
  }
}

// --- Patterns ---------------------------------------------------------------------

void TacSkinModel::LoadPatterns() {
  Patterns_.clear();
  if (SkinFile_) {
    for (const TacIniFile::TSection& section : SkinFile_->Sections())
      for (const TacIniFile::TKey& key : section.Keys) {
        const std::string value = UpperCaseUtf8(key.Value.empty() ? "-" : key.Value);
        if (!Contains(value, ".JPG") && !Contains(value, ".JPEG")) continue;
        std::vector<std::uint8_t> storage;
        std::span<const std::uint8_t> bytes;
        if (!FindSkinImage(value, bytes, storage) || DeclaresNoPixels(bytes)) continue;
        TBitmap image = DecodeCounted(bytes, value, LoadJpegFromMemory);
        if (image.Width() == 0) continue;
        if (static_cast<long long>(image.Width()) * image.Height() >= kPatternMinPixels) {
          Patterns_.push_back({std::make_unique<TBitmap>(std::move(image)), UpperAscii(section.Name), UpperAscii(key.Name)});
        } else {
          // Small pictures tile faster as textures.
          TsMaskData mask;
          image.SetPixelFormat(TPixelFormat::pf24bit);
          mask.Image = std::make_unique<TBitmap>(std::move(image));
          mask.ImgType = TacImgType::itisaTexture;
          mask.ImageCount = 1;
          mask.SectionName = UpperAscii(section.Name);
          mask.PropertyName = UpperAscii(key.Name);
          mask.Manager = this;
          Masks_.push_back(std::move(mask));
        }
      }
  } else if (const TsStoredSkin* skin = CurrentStoredSkin()) {
    for (const TsSkinPattern& item : skin->Patterns) {
      const TBitmap* image = &item.Image;
      if (image->Empty())
        for (const TsSkinPattern& other : skin->Patterns)
          if (&other != &item && other.Name == item.Name && !other.Image.Empty()) {
            image = &other.Image;
            break;
          }
      Patterns_.push_back({std::make_unique<TBitmap>(*image), UpperAscii(item.SectionName), UpperAscii(item.PropertyName)});
    }
  }
  if (CommonSections_.empty()) return;
  TacIniFile common;
  common.LoadFromLines(CommonSections_);
  for (const TacIniFile::TSection& section : common.Sections())
    for (const TacIniFile::TKey& key : section.Keys) {
      const std::string value = UpperAscii(key.Value);
      if (!Contains(value, ".JPG") && !Contains(value, ".JPEG")) continue;
      const std::string path = value.find(':') == std::string::npos ? SkinData.ImageFolder + value : value;
      const auto bytes = SkinFileExists(path) ? ReadSkinFile(path, &LoadBudget_) : std::nullopt;
      if (!bytes || DeclaresNoPixels(*bytes)) continue;
      TBitmap image = DecodeCounted(*bytes, value, LoadJpegFromMemory);
      if (image.Width() == 0) continue;
      Patterns_.push_back({std::make_unique<TBitmap>(std::move(image)), UpperAscii(section.Name), UpperAscii(key.Name)});
    }
}

// --- Mask slots -------------------------------------------------------------------

void TacSkinModel::FillMaskSlots() {
  // The arrays are complete now: index them once and resolve each slot key for all
  // sections in one pass over the chains.
  Lookup_.Build(Sections_, Masks_, Patterns_);
  const TacSectionChains& chains = Lookup_.Chains();
  const auto own = [&](const char* key) {
    return chains.Resolve([&](int i) { return Lookup_.Mask(Section(i)->SectionName, key) >= 0; });
  };
#define TS_FILL_SLOT(key, field)                                                                   \
  {                                                                                                \
    const std::vector<int> from = own(key);                                                        \
    for (std::size_t i = 0; i < Sections_.size(); ++i)                                                    \
      Sections_[i].field = Sections_[i].SectionName == kGlobalInfo || from[i] < 0 || Sections_[i].SectionName.empty()   \
                        ? -1                                                                       \
                        : Lookup_.Mask(Section(from[i])->SectionName, key);    \
  }
  TS_MASK_SLOT_KEYS(TS_FILL_SLOT)
#undef TS_FILL_SLOT
}

// --- Colour adjustment --------------------------------------------------------------

// Applies f to every adjustable colour of the sections and global values. System
// colours and "not given" (-1) carry no RGB and are left alone.
template <typename F>
static void ForEachModelColor(TsGeneralDataArray& sections, TsSkinData& data, F f) {
  auto adjust = [&](std::int32_t& c) {
    if (c >= 0) c = f(c);
  };
  for (TsGeneralData& s : sections) {
    adjust(s.Color);
    adjust(s.HotColor);
    for (std::int32_t& c : s.FontColor) adjust(c);
    for (std::int32_t& c : s.HotFontColor) adjust(c);
    for (TsGradPie& stop : s.GradientStops) adjust(stop.Color1), adjust(stop.Color2);
    for (TsGradPie& stop : s.HotGradientStops) adjust(stop.Color1), adjust(stop.Color2);
  }
  adjust(data.Shadow1Color);
  adjust(data.BorderColor);
}

std::vector<int> TacSkinModel::HueKeepingMasks() const {
  std::vector<std::string> keys;
  if (SkinData.BIKeepHue != 0) keys = {"BICONCLOSE", "SICONCLOSE"};
  if (SkinData.BIKeepHue == 1)
    for (const char* k : {"BICONMAX", "BICONMIN", "BICONNORM", "BICONHELP", "SICONMAX", "SICONMIN", "SICONNORM"})
      keys.emplace_back(k);
  std::vector<int> result;
  for (const std::string& key : keys)
    for (const std::string& name : {key, key + "GLOW0"}) {
      const int index = MaskIndexOf(kGlobalInfo, name);
      if (index >= 0) result.push_back(index);
    }
  return result;
}

void TacSkinModel::ShiftHue(int degrees) {
  if (degrees == 0) return;
  const std::vector<int> keep = HueKeepingMasks();
  // Icons cut from the master bitmap are saved before the shift and put back after it.
  std::vector<std::pair<TRect, TBitmap>> saved;
  if (MasterBitmap)
    for (int index : keep) {
      const TsMaskData& m = *Mask(index);
      TRect r;
      if (m.Image || !ClipToBitmap(*MasterBitmap, m, r)) continue;
      TBitmap copy(r.Width(), r.Height(), TPixelFormat::pf24bit);
      CopyRect(*MasterBitmap, r.Left, r.Top, copy, 0, 0, r.Width(), r.Height());
      saved.emplace_back(r, std::move(copy));
    }
  if (MasterBitmap) ShiftHueBitmap(*MasterBitmap, degrees);
  for (const auto& [r, copy] : saved) CopyRect(copy, 0, 0, *MasterBitmap, r.Left, r.Top, r.Width(), r.Height());
  for (std::size_t i = 0; i < Masks_.size(); ++i) {
    if (!Masks_[i].Image || std::find(keep.begin(), keep.end(), static_cast<int>(i)) != keep.end()) continue;
    ShiftHueBitmap(*Masks_[i].Image, degrees);
  }
  ForEachModelColor(Sections_, SkinData, [degrees](std::int32_t c) { return ShiftHueColor(c, degrees); });
}

void TacSkinModel::ShiftSaturation(int amount) {
  if (amount == 0) return;
  if (MasterBitmap) ShiftSaturationBitmap(*MasterBitmap, amount);
  for (TsMaskData& m : Masks_)
    if (m.Image) ShiftSaturationBitmap(*m.Image, amount);
  ForEachModelColor(Sections_, SkinData, [amount](std::int32_t c) { return ShiftSaturationColor(c, amount); });
}

// --- Cached indexes -----------------------------------------------------------------

void TacSkinModel::CacheCommonIndexes() {
  TacCommonIndexes& c = CommonIndexes;
  c = TacCommonIndexes{};
  c.GlobalInfo = SectionIndexOf(kGlobalInfo);
  auto global = [&](const char* key) { return InheritedMaskIndexOf(c.GlobalInfo, kGlobalInfo, key); };
  c.CheckBoxChecked = global("BOXCHECKED");
  c.CheckBoxUnChecked = global("BOXUNCHECKED");
  c.CheckBoxGrayed = global("BOXGRAYED");
  c.RadioButtonChecked = global("RADIOCHECKED");
  c.RadioButtonUnChecked = global("RADIOUNCHECKED");
  c.RadioButtonGrayed = global("RADIOGRAYED");
  c.SmallBoxChecked = global("SMALLCHECKED");
  c.SmallBoxUnChecked = global("SMALLUNCHECKED");
  c.SmallBoxGrayed = global("SMALLGRAYED");
  c.ExBorder = global("EXBORDER");

  c.ComboBtn.Section = SectionIndexOf("COMBOBTN");
  c.ComboBtn.Border = MaskIndexOf("COMBOBTN", "BORDERSMASK");
  c.ComboBtn.Texture = TextureIndexOf(c.ComboBtn.Section, "COMBOBTN", "PATTERN");
  c.ComboBtn.HotTexture = TextureIndexOf(c.ComboBtn.Section, "COMBOBTN", "HOTPATTERN");
  c.ComboBoxGlyph = MaskIndexOf("COMBOBOX", "GLYPHMASK");

  auto tab = [&](TacSectionMaskIndexes& t, const char* name) {
    t.Section = SectionIndexOf(name);
    t.Border = InheritedMaskIndexOf(t.Section, name, "BORDERSMASK");
  };
  tab(c.TabTop, "TABTOP");
  tab(c.TabBottom, "TABBOTTOM");
  tab(c.TabLeft, "TABLEFT");
  tab(c.TabRight, "TABRIGHT");

  auto part = [&](TacSectionMaskIndexes& t, const char* name, bool glyph) {
    t.Section = SectionIndexOf(name);
    t.Border = InheritedMaskIndexOf(t.Section, name, "BORDERSMASK");
    if (glyph && t.Section >= 0) t.Glyph = InheritedMaskIndexOf(t.Section, name, "GLYPHMASK");
    t.Texture = InheritedMaskIndexOf(t.Section, name, "PATTERN");
    t.HotTexture = InheritedMaskIndexOf(t.Section, name, "HOTPATTERN");
  };
  part(c.ScrollBtnTop, "SCROLLBTNTOP", true);
  part(c.ScrollBtnBottom, "SCROLLBTNBOTTOM", true);
  part(c.ScrollBtnLeft, "SCROLLBTNLEFT", true);
  part(c.ScrollBtnRight, "SCROLLBTNRIGHT", true);
  part(c.ScrollSliderV, "SCROLLSLIDERV", true);
  part(c.ScrollSliderH, "SCROLLSLIDERH", true);
  part(c.ScrollBar1H, "SCROLLBAR1H", false);
  part(c.ScrollBar1V, "SCROLLBAR1V", false);
  part(c.ScrollBar2H, "SCROLLBAR2H", false);
  part(c.ScrollBar2V, "SCROLLBAR2V", false);

  BuildExtendedBorders();
}

void TacSkinModel::BuildExtendedBorders() {
  if (!Active() || !ExtendedBorders()) {
    ExBorderOffsets = TRect{};
    return;
  }
  ExBorderImages[0].reset();
  ExBorderImages[1].reset();
  const int exIndex = CommonIndexes.ExBorder;
  if (const TsMaskData* exBorder = Mask(exIndex)) {
    const TsMaskData& m = *exBorder;
    const int offset = SkinData.FormOffset;
    if (SkinData.BorderMode != 0)
      ExBorderOffsets = TRect{offset, offset, offset, offset};
    else
      ExBorderOffsets = TRect{m.WL - offset, m.WT - offset, m.WR - offset, m.WB - offset};
    const TBitmap* source = m.Image ? m.Image.get() : MasterBitmap.get();
    const int x0 = m.Image ? 0 : m.Left, y0 = m.Image ? 0 : m.Top;
    const int w = MaskFrameWidth(m), h = MaskFrameHeight(m);
    if (source) {
      ExBorderImages[1] = CutFrame(*source, x0, y0, w, h);
      ExBorderImages[0] = m.ImageCount == 1 ? std::make_unique<TBitmap>(*ExBorderImages[1])
                                            : CutFrame(*source, x0 + w, y0, w, h);
    }
  } else {
    // Our own shadow pictures: the active one for active windows, the other for inactive.
    const int extra = DesktopCompositionEnabled() ? 1 : 0;
    ExBorderOffsets = TRect{11 + extra, 7 + extra, 11 + extra, 11 + extra};
    ExBorderImages[0] = std::make_unique<TBitmap>(BuiltInShadowImage(TacShadowImage::Active));
    ExBorderImages[1] = std::make_unique<TBitmap>(BuiltInShadowImage(TacShadowImage::Inactive));
  }
  for (auto& image : ExBorderImages)
    if (image) ClearTransparentWhite(*image);
}
