// Loading the global values and the section array of a skin.
#include <string_view>

#include "platform/base/Cp1251.h"
#include "platform/base/Exception.h"
#include "platform/gfx/SystemColors.h"
#include "skin/core/acSkinModel.h"

namespace {

constexpr const char* kGlobalInfo = "GLOBALINFO";

TsGradArray ParseStops(const std::string& data) { return data == " " ? TsGradArray{} : ParseGradient(data); }

std::vector<std::string> SplitSemicolons(std::string_view text) {
  std::vector<std::string> words;
  for (std::size_t start = 0;;) {
    const std::size_t sep = text.find(';', start);
    words.emplace_back(text.substr(start, sep == std::string_view::npos ? std::string_view::npos : sep - start));
    if (sep == std::string_view::npos) break;
    start = sep + 1;
  }
  return words;
}

// A stored skin keeps the five caption colours as one text: colour;left;top;right;bottom.
void ReadFiveColors(const std::string& text, std::int32_t (&colors)[5]) {
  const auto words = SplitSemicolons(text);
  if (words.size() != 5) {
    colors[0] = 0;
    for (int i = 1; i < 5; ++i) colors[i] = -1;
    return;
  }
  for (int i = 0; i < 5; ++i) colors[i] = StrToIntStrict(words[static_cast<std::size_t>(i)]);
}

}  // namespace

void TacSkinModel::LoadSections() {
  if (SkinFile_) {
    LoadSectionsFromFile();
  } else {
    const TsStoredSkin* skin = CurrentStoredSkin();
    if (skin == nullptr) return;
    LoadSectionsFromStoredSkin(*skin);
  }
  MergeCommonSections();
  FillMaskSlots();
  ShiftHue(HueOffset_);
  ShiftSaturation(Saturation_);
}

void TacSkinModel::LoadSectionsFromFile() {
  const TacIniFile& ini = *SkinFile_;
  SkinData.Version = TryStrToFloatDot(ini.ReadString(kGlobalInfo, "VERSION", "0")).value_or(0.0);
#define TS_READ_GLOBAL_Text(key, field, def) SkinData.field = ini.ReadString(kGlobalInfo, key, def);
#define TS_READ_GLOBAL_Int16(key, field, def) \
  SkinData.field = static_cast<std::int16_t>(ini.ReadInteger(kGlobalInfo, key, def));
#define TS_READ_GLOBAL_Color(key, field, def) SkinData.field = ini.ReadInteger(kGlobalInfo, key, def);
#define TS_READ_GLOBAL_Strict(key, field, def) \
  SkinData.field = static_cast<std::int16_t>(StrToIntStrict(ini.ReadString(kGlobalInfo, key, def)));
#define TS_READ_GLOBAL(kind, key, field, def) TS_READ_GLOBAL_##kind(key, field, def)
  TS_GLOBAL_KEYS(TS_READ_GLOBAL)
#undef TS_READ_GLOBAL
#undef TS_READ_GLOBAL_Strict
#undef TS_READ_GLOBAL_Color
#undef TS_READ_GLOBAL_Int16
#undef TS_READ_GLOBAL_Text
  if (SkinData.MaxHeight == 0) SkinData.MaxHeight = SkinData.TitleHeight;
  CheckVersion();

  Sections_.clear();
  const auto& sections = ini.Sections();
  Sections_.resize(sections.size());
  for (std::size_t i = 0; i < sections.size(); ++i) {
    Sections_[i].SectionName = sections[i].Name;
    const TacIniFile::TKey* parent = sections[i].FindKey("PARENTCLASS");
    Sections_[i].ParentClass = parent ? parent->Value : std::string();
  }
  // Key by key: each key's inheritance is resolved for all sections in one pass.
  const TacSectionChains chains = OptionsChains();
#define TS_FILL_SECTIONS(values, assign)                                 \
  {                                                                      \
    const auto all = values;                                             \
    for (std::size_t i = 0; i < Sections_.size(); ++i) assign;                  \
  }
#define TS_READ_SECTION_SysColor(key, field, def) \
  TS_FILL_SECTIONS(InheritedIntegers(chains, key, def), Sections_[i].field = ColorToRGB(all[i]))
#define TS_READ_SECTION_Color(key, field, def) TS_FILL_SECTIONS(InheritedIntegers(chains, key, def), Sections_[i].field = all[i])
#define TS_READ_SECTION_Integer(key, field, def) TS_FILL_SECTIONS(InheritedIntegers(chains, key, def), Sections_[i].field = all[i])
#define TS_READ_SECTION_Bool(key, field, def)                                      \
  TS_FILL_SECTIONS(InheritedStrings(chains, key, (def) ? "TRUE" : "FALSE"), \
                   Sections_[i].field = UpperCaseUtf8(all[i]) == "TRUE")
#define TS_READ_SECTION_Text(key, field, def) TS_FILL_SECTIONS(InheritedStrings(chains, key, def), Sections_[i].field = all[i])
#define TS_READ_SECTION(kind, key, field, def) TS_READ_SECTION_##kind(key, field, def)
  TS_SECTION_KEYS(TS_READ_SECTION)
#undef TS_READ_SECTION
#undef TS_READ_SECTION_Text
#undef TS_READ_SECTION_Bool
#undef TS_READ_SECTION_Integer
#undef TS_READ_SECTION_Color
#undef TS_READ_SECTION_SysColor
#undef TS_FILL_SECTIONS
  for (TsGeneralData& rec : Sections_) {
    rec.GradientStops = ParseStops(rec.GradientData);
    rec.HotGradientStops = ParseStops(rec.HotGradientData);
  }
}

void TacSkinModel::LoadSectionsFromStoredSkin(const TsStoredSkin& skin) {
  SkinData.Version = skin.Version;
  SkinData.Author = skin.Author;
  SkinData.Description = skin.Description;
  SkinData.Shadow1Color = skin.Shadow1Color;
  SkinData.Shadow1Offset = static_cast<std::int16_t>(skin.Shadow1Offset);
  SkinData.Shadow1Blur = static_cast<std::int16_t>(skin.Shadow1Blur);
  SkinData.Shadow1Transparency = static_cast<std::int16_t>(skin.Shadow1Transparency);
  SkinData.BorderColor = skin.BorderColor;
  CheckVersion();

  Sections_.clear();
  for (const TsSkinGeneral& item : skin.GeneralData) {
    TsGeneralData rec;
    rec.SectionName = item.SectionName;
    rec.ParentClass = item.ParentClass;
    rec.Color = item.Color;
    rec.ReservedBoolean = item.ReservedBoolean;
    rec.GiveOwnFont = item.GiveOwnFont;
    rec.GlowCount = item.GlowCount;
    rec.GlowMargin = item.GlowMargin;
    rec.Transparency = item.Transparency;
    rec.GradientPercent = item.GradientPercent;
    rec.ImagePercent = item.ImagePercent;
    rec.GradientData = item.GradientData;
    rec.GradientStops = ParseStops(item.GradientData);
    rec.ShowFocus = item.ShowFocus;
    rec.FadingEnabled = item.FadingEnabled;
    rec.FadingIterations = item.FadingIterations;
    rec.HotColor = item.HotColor;
    rec.HotTransparency = item.HotTransparency;
    rec.HotGradientPercent = item.HotGradientPercent;
    rec.HotGradientData = item.HotGradientData;
    rec.HotGradientStops = ParseStops(item.HotGradientData);
    rec.HotImagePercent = item.HotImagePercent;
    ReadFiveColors(item.HotFontColor, rec.HotFontColor);
    ReadFiveColors(item.FontColor, rec.FontColor);
    Sections_.push_back(std::move(rec));
  }
}

void TacSkinModel::MergeCommonSections() {
  if (CommonSections_.empty()) return;
  TacIniFile common;
  common.LoadFromLines(CommonSections_);
  for (const TacIniFile::TSection& section : common.Sections()) {
    if (SectionIndexOf(section.Name) >= 0) continue;
    const std::string parentName = UpperCaseUtf8(common.ReadString(section.Name, "PARENTCLASS", "-1"));
    const TsGeneralData* parent = nullptr;
    for (const TsGeneralData& candidate : Sections_)
      if (UpperCaseUtf8(candidate.SectionName) == parentName) {
        parent = &candidate;
        break;
      }
    TsGeneralData rec;
    rec.SectionName = section.Name;
    rec.ParentClass = parentName;
    const auto own = [&](const char* key) { return common.Value(section.Name, key); };
    // Integers: an invalid value or -1 counts as absent. The glow keys are not taken
    // from the parent.
    const auto integer = [&](const char* key, std::int32_t parentValue, std::int32_t def) {
      if (const auto text = own(key))
        if (const auto v = TryStrToInt(*text); v && *v != -1) return *v;
      const std::string_view k(key);
      if (k == "GLOW" || k == "GLOWMARGIN") return 0;
      return parent != nullptr ? parentValue : def;
    };
#define TS_MERGE_INT(key, field, def) rec.field = integer(key, parent != nullptr ? parent->field : 0, def);
#define TS_MERGE_SysColor(key, field, def) TS_MERGE_INT(key, field, def)
#define TS_MERGE_Color(key, field, def) TS_MERGE_INT(key, field, def)
#define TS_MERGE_Integer(key, field, def) TS_MERGE_INT(key, field, def)
#define TS_MERGE_Bool(key, field, def)                      \
  if (const auto text = own(key))                           \
    rec.field = UpperCaseUtf8(*text) == "TRUE";             \
  else                                                      \
    rec.field = parent != nullptr ? parent->field : (def);
#define TS_MERGE_Text(key, field, def) \
  if (const auto text = own(key))      \
    rec.field = *text;                 \
  else                                 \
    rec.field = parent != nullptr ? parent->field : std::string(def);
#define TS_MERGE(kind, key, field, def) TS_MERGE_##kind(key, field, def)
    TS_SECTION_KEYS(TS_MERGE)
#undef TS_MERGE
#undef TS_MERGE_Text
#undef TS_MERGE_Bool
#undef TS_MERGE_Integer
#undef TS_MERGE_Color
#undef TS_MERGE_SysColor
#undef TS_MERGE_INT
    rec.GradientStops = ParseStops(rec.GradientData);
    rec.HotGradientStops = ParseStops(rec.HotGradientData);
    Sections_.push_back(std::move(rec));
  }
}
