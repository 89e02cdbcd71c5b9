#include "skin/core/acSkinCheck.h"

#include <filesystem>

#include "platform/base/Cp1251.h"
#include "platform/base/Exception.h"
#include "skin/core/acIniFile.h"
#include "skin/core/acMasks.h"
#include "skin/core/acSectionChains.h"
#include "skin/core/acSkinBudget.h"
#include "skin/core/acSkinPack.h"
#include "skin/core/acSkinSource.h"
#include "skin/core/acSkinModel.h"

namespace {

namespace fs = std::filesystem;

struct TCheck {
  const TacIniFile& Ini;
  TacSkinConvertor* Reader;  // packed skins
  std::string Folder;        // folder skins: native path ending with "/"
  std::vector<TacSkinProblem>& Problems;

  void Add(const std::string& section, const std::string& key, const std::string& message) {
    Problems.push_back({section, key, message});
  }

  bool Found(const std::string& reference) const {
    if (Reader != nullptr) return Reader->FindItem(reference) != nullptr;
    return SkinFileExists(reference.find(':') == std::string::npos ? TextPath(Folder) + reference : reference);
  }

  void Reference(const std::string& section, const std::string& key, const std::string& reference) {
    if (Found(reference)) return;
    std::string message = "image \"" + reference + "\" not found";
    if (Reader != nullptr && UpperCaseUtf8(reference) != reference) message += " (references into a package must be upper case)";
    Add(section, key, message);
  }

  void Parents() {
    const TacSectionChains chains = TacSectionChains::FromOptions(Ini);
    const auto& sections = Ini.Sections();
    for (std::size_t i = 0; i < sections.size(); ++i) {
      const std::string& name = sections[i].Name;
      const std::string parent = Ini.ReadString(name, "PARENTCLASS", "");
      if (parent.empty() || parent == name) continue;
      if (!Ini.SectionExists(parent)) {
        Add(name, "PARENTCLASS", "unknown parent \"" + parent + "\"");
        continue;
      }
      const int entry = chains.LoopEntry(static_cast<int>(i));
      if (entry >= 0) Add(name, "PARENTCLASS", "parent chain loops back to \"" + sections[static_cast<std::size_t>(entry)].Name + "\"");
    }
  }

  void SectionValues() {
    for (const auto& section : Ini.Sections()) {
      const auto value = [&](const char* key) { return Ini.Value(section.Name, key); };
#define TS_CHECK_NUMBER(key)                                                              \
  if (const auto v = value(key); v && !TryStrToInt(*v))                                   \
    Add(section.Name, key, "'" + *v + "' is not an integer and counts as missing");
#define TS_CHECK_SysColor(key) TS_CHECK_NUMBER(key)
#define TS_CHECK_Color(key) TS_CHECK_NUMBER(key)
#define TS_CHECK_Integer(key) TS_CHECK_NUMBER(key)
#define TS_CHECK_Bool(key)                                                                \
  if (const auto v = value(key); v && !SameTextUtf8(*v, "TRUE") && !SameTextUtf8(*v, "FALSE")) \
    Add(section.Name, key, "'" + *v + "' is neither TRUE nor FALSE and counts as false");
#define TS_CHECK_Text(key)                                                                \
  if (const auto v = value(key); v && std::string_view(key).find("GRADIENTDATA") != std::string_view::npos) { \
    try {                                                                                 \
      ParseGradient(*v);                                                                  \
    } catch (const Exception& e) {                                                        \
      Add(section.Name, key, e.Message());                                                \
    }                                                                                     \
  }
#define TS_CHECK(kind, key, field, def) TS_CHECK_##kind(key)
      TS_SECTION_KEYS(TS_CHECK)
#undef TS_CHECK
#undef TS_CHECK_Text
#undef TS_CHECK_Bool
#undef TS_CHECK_Integer
#undef TS_CHECK_Color
#undef TS_CHECK_SysColor
#undef TS_CHECK_NUMBER
    }
  }

  void GlobalValues() {
    const char* gi = "GLOBALINFO";
    if (!Ini.SectionExists(gi)) {
      Add("", "", "no GLOBALINFO section: every global value keeps its default");
      return;
    }
    if (const auto v = Ini.Value(gi, "VERSION"); v && !TryStrToFloatDot(*v))
      Add(gi, "VERSION", "'" + *v + "' is not a number with \".\" and reads as 0");
#define TS_GLOBAL_CHECK_Text(key)
#define TS_GLOBAL_CHECK_Int16(key)                                                        \
  if (const auto v = Ini.Value(gi, key); v && !TryStrToInt(*v))                           \
    Add(gi, key, "'" + *v + "' is not an integer and counts as missing");
#define TS_GLOBAL_CHECK_Color(key) TS_GLOBAL_CHECK_Int16(key)
#define TS_GLOBAL_CHECK_Strict(key)                                                       \
  if (const auto v = Ini.Value(gi, key); v && !TryStrToInt(*v))                           \
    Add(gi, key, "'" + *v + "' is not a valid integer value");
#define TS_GLOBAL_CHECK(kind, key, field, def) TS_GLOBAL_CHECK_##kind(key)
    TS_GLOBAL_KEYS(TS_GLOBAL_CHECK)
#undef TS_GLOBAL_CHECK
#undef TS_GLOBAL_CHECK_Strict
#undef TS_GLOBAL_CHECK_Color
#undef TS_GLOBAL_CHECK_Int16
#undef TS_GLOBAL_CHECK_Text
    const std::string master = Ini.ReadString(gi, "MASTERBITMAP", "");
    if (!master.empty()) Reference(gi, "MASTERBITMAP", master);
  }

  void Images() {
    for (const auto& section : Ini.Sections()) {
      for (const auto& key : section.Keys) {
        if (SameTextUtf8(section.Name, "GLOBALINFO") && SameTextUtf8(key.Name, "MASTERBITMAP")) continue;
        const std::string& v = key.Value;
        const std::string upper = UpperCaseUtf8(v);
        try {
          TsMaskData mask;
          switch (ClassifyMaskValue(v)) {
            case TacMaskValueKind::mvFileImage: {
              const TacFileImageValue words = ParseFileImageValue(v);
              const std::string file = UpperCaseUtf8(words.FileName);
              if (file.find(".BMP") != std::string::npos || file.find(".PNG") != std::string::npos)
                Reference(section.Name, key.Name, words.FileName);
              else
                Add(section.Name, key.Name, "file image \"" + words.FileName + "\" is neither .BMP nor .PNG");
              break;
            }
            case TacMaskValueKind::mvGlyph: ParseGlyphValue(v, mask); break;
            case TacMaskValueKind::mvBorder: ParseBorderValue(v, mask); break;
            case TacMaskValueKind::mvTexture: ParseTextureValue(v, mask); break;
            case TacMaskValueKind::mvSeparateBitmap: Reference(section.Name, key.Name, upper); break;
            case TacMaskValueKind::mvLegacyRect: ParseLegacyValue(v, mask); break;
            case TacMaskValueKind::mvNone:
              if (upper.find(".JPG") != std::string::npos || upper.find(".JPEG") != std::string::npos)
                Reference(section.Name, key.Name, upper);
              break;
          }
        } catch (const Exception& e) {
          Add(section.Name, key.Name, e.Message());
        }
      }
    }
  }
};

void LoadModel(const fs::path& path, bool packed, std::vector<TacSkinProblem>& problems) {
  TacSkinModel manager;
  manager.SetProgramFolder("");
  manager.OnShowMessage = [&](const std::string& m) { problems.push_back({"", "", "message: " + m}); };
  const fs::path absolute = fs::absolute(path);
  manager.SetSkinDirectory(TextPath(absolute.parent_path().string()));
  try {
    manager.SetSkinName(packed ? absolute.stem().string() : absolute.filename().string());
    if (!manager.Active()) problems.push_back({"", "", "the skin manager found no skin at " + path.string()});
  } catch (const std::exception& e) {
    problems.push_back({"", "", std::string("loading fails: ") + e.what()});
  }
}

}  // namespace

std::string FormatSkinProblem(const TacSkinProblem& p) {
  if (p.Section.empty()) return p.Message;
  return "[" + p.Section + "] " + (p.Key.empty() ? "" : p.Key + ": ") + p.Message;
}

std::vector<TacSkinProblem> CheckSkin(const std::string& nativePath) {
  std::vector<TacSkinProblem> problems;
  std::error_code ec;
  const bool isFolder = fs::is_directory(nativePath, ec);
  TacIniFile ini;
  std::unique_ptr<TacSkinConvertor> reader;
  std::string folder;
  try {
    if (isFolder) {
      folder = nativePath;
      if (folder.back() != '/') folder += '/';
      if (const auto size = SkinFileSize(TextPath(folder + "Options.dat"))) CheckSkinOptionsSize(*size, "Options.dat");
      const auto bytes = ReadSkinFile(TextPath(folder + "Options.dat"));
      if (!bytes) {
        problems.push_back({"", "", "no Options.dat in " + nativePath});
        return problems;
      }
      ini.LoadFromCp1251(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    } else {
      if (!fs::is_regular_file(nativePath, ec)) {
        problems.push_back({"", "", "no such file or folder: " + nativePath});
        return problems;
      }
      LoadPackageFile(TextPath(nativePath), reader, true);
      if (!reader || !reader->OptionsStream) {
        problems.push_back({"", "", "the package holds no Options.dat"});
        return problems;
      }
      ini.LoadFromCp1251(reader->OptionsStream->View());
    }
  } catch (const std::exception& e) {
    problems.push_back({"", "", e.what()});
    return problems;
  }
  TCheck check{ini, reader.get(), folder, problems};
  check.GlobalValues();
  check.Parents();
  check.SectionValues();
  check.Images();
  if (!isFolder) {
    const fs::path p(nativePath);
    if (p.extension() != ".asz") problems.push_back({"", "", "the manager only finds packages named *.asz"});
  }
  LoadModel(fs::path(nativePath).lexically_normal(), !isFolder, problems);
  return problems;
}
