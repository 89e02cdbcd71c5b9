#include "skin/core/acSkinModel.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

#include "platform/base/Cp1251.h"
#include "platform/base/Exception.h"
#include "skin/core/acSkinSource.h"

namespace {

// The options store and the package reader live only while a skin loads, whatever
// way the load ends.
class TLoadScope {
public:
  TLoadScope(std::unique_ptr<TacIniFile>& file, std::unique_ptr<TacSkinConvertor>& reader) : File_(file), Reader_(reader) {}
  ~TLoadScope() {
    File_.reset();
    Reader_.reset();
  }

private:
  std::unique_ptr<TacIniFile>& File_;
  std::unique_ptr<TacSkinConvertor>& Reader_;
};

std::string RemoveSpaces(const std::string& line) {
  std::string out;
  out.reserve(line.size());
  for (char c : line)
    if (c != ' ') out.push_back(c);
  return out;
}

}  // namespace

TacSkinModel::TacSkinModel() : ProgramFolder_(ProgramFolderText()) {}

TacSkinModel::~TacSkinModel() = default;

// --- Properties ---------------------------------------------------------------

void TacSkinModel::SetSkinName(const std::string& value) {
  SkinName_ = value;
  if (!Active_) return;
  if (OnBeforeChange) OnBeforeChange(*this);
  SkinData.SkinReady = false;
  LoadNewSkin();
  if (Active_)
    NotifyNewSkin();
  else
    NotifySkinRemoved();
  if (OnAfterChange) OnAfterChange(*this);
}

void TacSkinModel::SetActive(bool value) {
  if (value == Active_) return;
  Active_ = value;
  if (value) {
    SetSkinName(SkinName_);
  } else {
    NotifySkinRemoved();
    CacheCommonIndexes();
  }
}

void TacSkinModel::ReloadKeepingState() {
  if (!SkinData.SkinReady) return;
  SkinData.SkinReady = false;
  LoadNewSkin();
  if (Active_)
    NotifyNewSkin();
  else
    NotifySkinRemoved();
}

void TacSkinModel::SetHueOffset(int value) {
  if (value == HueOffset_) return;
  HueOffset_ = value;
  ReloadKeepingState();
}

void TacSkinModel::SetSaturation(int value) {
  if (value == Saturation_) return;
  Saturation_ = value;
  ReloadKeepingState();
}

void TacSkinModel::SetExtendedBorders(bool value) {
  if (value == ExtendedBorders_) return;
  ExtendedBorders_ = value;
  ReloadKeepingState();
}

void TacSkinModel::SetSkinDirectory(const std::string& value) {
  if (value == SkinDirectory_) return;
  SkinDirectory_ = value;
  SkinData.ImageFolder = ResolvedSkinDirectory();
}

void TacSkinModel::SetCommonSections(const std::vector<std::string>& lines) {
  CommonSections_.clear();
  for (const std::string& line : lines)
    CommonSections_.push_back(line.empty() || line.front() == ';' ? line : RemoveSpaces(line));
  SetSkinName(SkinName_);
}

std::string TacSkinModel::SkinInfo() const {
  if (!SkinData.SkinReady) return "N/A";
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, SkinData.Version);
  return std::string(buffer, result.ptr);
}

// --- Model announcements --------------------------------------------------------

void TacSkinModel::NotifyNewSkin() {
  SkinData.SkinReady = false;
  CacheCommonIndexes();
  if (OnNewSkin) OnNewSkin(*this);
  SkinData.SkinReady = true;
}

void TacSkinModel::NotifySkinRemoved() {
  SkinData.SkinReady = false;
  if (OnSkinRemoved) OnSkinRemoved(*this);
  ReleaseImages();
  Sections_.clear();
}

// --- Choosing the source ----------------------------------------------------------

std::string TacSkinModel::PackagePath() const { return WithTrailingSeparator(SkinDirectory_) + SkinName_ + ".asz"; }

std::string TacSkinModel::ResolvedSkinDirectory() const { return ResolveSkinDirectory(SkinDirectory_, ProgramFolder_); }

TsStoredSkin* TacSkinModel::CurrentStoredSkin() {
  const int index = InternalSkins_.IndexOf(SkinName_);
  return index < 0 ? nullptr : &InternalSkins_.Items(index);
}

void TacSkinModel::LoadNewSkin() {
  if (SkinFileExists(PackagePath())) {
    SkinIsPacked = true;
    LoadPackageSkin();
  } else {
    LoadFolderOrInternalSkin();
  }
}

void TacSkinModel::LoadOptionsFromReader() {
  if (!Convertor_ || !Convertor_->OptionsStream) throw Exception("The skin package holds no Options.dat");
  Convertor_->OptionsStream->Rewind();
  SkinFile_ = std::make_unique<TacIniFile>();
  SkinFile_->LoadFromCp1251(Convertor_->OptionsStream->View());
}

void TacSkinModel::BuildModel() {
  LoadMasks();
  LoadPatterns();
  LoadSections();
  CacheCommonIndexes();
}

void TacSkinModel::LoadPackageSkin() {
  if (!Active_) return;
  TLoadScope scope(SkinFile_, Convertor_);
  SkinFile_.reset();
  LoadBudget_ = TacSkinBudget(LoadLimit_);
  LoadPackageFile(PackagePath(), Convertor_, true, &LoadBudget_);
  LoadOptionsFromReader();
  SkinData.ImageFolder = ResolvedSkinDirectory() + "\\";
  BuildModel();
}

void TacSkinModel::LoadFolderOrInternalSkin() {
  if (!Active_) return;
  TLoadScope scope(SkinFile_, Convertor_);
  SkinFile_.reset();
  const std::string folder = ResolvedSkinDirectory() + "\\" + SkinName_ + "\\";
  const std::string optionsPath = folder + "Options.dat";
  LoadBudget_ = TacSkinBudget(LoadLimit_);
  if (SkinFileExists(optionsPath)) {
    SkinIsPacked = false;
    if (const auto size = SkinFileSize(optionsPath)) CheckSkinOptionsSize(*size, "Options.dat");
    const auto bytes = ReadSkinFile(optionsPath, &LoadBudget_);
    if (!bytes) throw EFileError("Cannot open file \"" + optionsPath + "\"");
    SkinFile_ = std::make_unique<TacIniFile>();
    SkinFile_->LoadFromCp1251(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    SkinData.ImageFolder = folder;
  } else {
    SkinData.ImageFolder.clear();
    int index = InternalSkins_.IndexOf(SkinName_);
    if (index < 0) {
      if (InternalSkins_.Count() == 0) {
        Active_ = false;
        return;
      }
      SkinName_ = InternalSkins_.Items(0).Name;
      index = 0;
    }
    TsStoredSkin& skin = InternalSkins_.Items(index);
    if (!skin.Data.Empty()) {
      SkinIsPacked = true;
      Convertor_ = std::make_unique<TacSkinConvertor>();
      Convertor_->Budget = &LoadBudget_;
      Convertor_->BorrowSource(&skin.Data);
      Convertor_->ParsePackage();
      Convertor_->ReleaseSource();  // the stored skin keeps owning its bytes
      LoadOptionsFromReader();
    } else {
      SkinIsPacked = false;
    }
  }
  BuildModel();
}

// --- Reading with inheritance ---------------------------------------------------------

TacSectionChains TacSkinModel::OptionsChains() const {
  return SkinFile_ ? TacSectionChains::FromOptions(*SkinFile_) : TacSectionChains();
}

namespace {

// An inherited text is given unless missing or the marker "?"; an inherited integer
// unless missing, not an integer, or -1. The caller folds the key once for all the
// sections it asks.
const std::string* GivenText(const TacIniFile::TSection& section, std::string_view key) {
  const TacIniFile::TKey* k = section.FindFolded(key);
  return k != nullptr && k->Value != "?" ? &k->Value : nullptr;
}

std::optional<std::int32_t> GivenInteger(const TacIniFile::TSection& section, std::string_view key) {
  const TacIniFile::TKey* k = section.FindFolded(key);
  if (k == nullptr) return std::nullopt;
  const auto v = TryStrToInt(k->Value);
  if (!v || *v == -1) return std::nullopt;
  return v;
}

}  // namespace

std::vector<std::string> TacSkinModel::InheritedStrings(const TacSectionChains& chains, const char* keyName,
                                                        const std::string& defaultValue) const {
  const auto& sections = SkinFile_->Sections();
  const TFoldedName folded(keyName);
  const std::string_view key = folded.View();
  const std::vector<int> from = chains.Resolve([&](int i) { return GivenText(sections[static_cast<std::size_t>(i)], key) != nullptr; });
  std::vector<std::string> values(from.size(), defaultValue);
  for (std::size_t i = 0; i < from.size(); ++i)
    if (from[i] >= 0) values[i] = *GivenText(sections[static_cast<std::size_t>(from[i])], key);
  return values;
}

std::vector<std::int32_t> TacSkinModel::InheritedIntegers(const TacSectionChains& chains, const char* keyName,
                                                          std::int32_t defaultValue) const {
  const auto& sections = SkinFile_->Sections();
  const TFoldedName folded(keyName);
  const std::string_view key = folded.View();
  const std::vector<int> from = chains.Resolve([&](int i) { return GivenInteger(sections[static_cast<std::size_t>(i)], key).has_value(); });
  std::vector<std::int32_t> values(from.size(), defaultValue);
  for (std::size_t i = 0; i < from.size(); ++i)
    if (from[i] >= 0) values[i] = *GivenInteger(sections[static_cast<std::size_t>(from[i])], key);
  return values;
}

std::string TacSkinModel::ReadInheritedString(const std::string& section, const std::string& keyName,
                                               const std::string& defaultValue) const {
  if (!SkinFile_) return defaultValue;
  const int start = SkinFile_->SectionIndexOf(section);
  if (start < 0) return defaultValue;
  const TacSectionChains chains = OptionsChains();
  const auto& sections = SkinFile_->Sections();
  const TFoldedName folded(keyName);
  const std::string_view key = folded.View();
  const int hit = chains.Walk(start, [&](int i) { return GivenText(sections[static_cast<std::size_t>(i)], key) != nullptr; });
  return hit < 0 ? defaultValue : *GivenText(sections[static_cast<std::size_t>(hit)], key);
}

std::int32_t TacSkinModel::ReadInheritedInteger(const std::string& section, const std::string& keyName,
                                                 std::int32_t defaultValue) const {
  if (!SkinFile_) return defaultValue;
  const int start = SkinFile_->SectionIndexOf(section);
  if (start < 0) return defaultValue;
  const TacSectionChains chains = OptionsChains();
  const auto& sections = SkinFile_->Sections();
  const TFoldedName folded(keyName);
  const std::string_view key = folded.View();
  const int hit = chains.Walk(start, [&](int i) { return GivenInteger(sections[static_cast<std::size_t>(i)], key).has_value(); });
  return hit < 0 ? defaultValue : *GivenInteger(sections[static_cast<std::size_t>(hit)], key);
}

int TacSkinModel::AddSection(TsGeneralData section) {
  Sections_.push_back(std::move(section));
  return static_cast<int>(Sections_.size()) - 1;
}

int TacSkinModel::AddMask(TsMaskData mask) {
  Masks_.push_back(std::move(mask));
  return static_cast<int>(Masks_.size()) - 1;
}

int TacSkinModel::SectionIndexOf(const std::string& name) const {
  if (Lookup_.Serves(Sections_, Masks_, Patterns_)) return Lookup_.Section(name);
  for (std::size_t i = 0; i < Sections_.size(); ++i)
    if (Sections_[i].SectionName == name) return static_cast<int>(i);
  return -1;
}

void TacSkinModel::CheckVersion() {
  if (SkinData.Version > 255 && OnShowMessage) OnShowMessage(kSkinVersionMessage);
}

std::string TacSkinModel::ListSkins(std::vector<std::string>& list, int mode) const {
  namespace fs = std::filesystem;
  list.clear();
  for (int i = 0; i < InternalSkins_.Count(); ++i) list.push_back(InternalSkins_.Items(i).Name);
  const std::string dir = ResolvedSkinDirectory();
  if (SkinDirectoryExists(dir)) {
    std::vector<fs::directory_entry> entries;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(ExistingNativePath(dir), ec)) entries.push_back(entry);
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.path().filename() < b.path().filename(); });
    for (const auto& entry : entries) {
      const std::string name = entry.path().filename().string();
      if (name.empty() || name.front() == '.') continue;
      std::error_code entryEc;
      if (entry.is_directory(entryEc)) {
        if ((mode == 0 || mode == 2) && SkinFileExists(dir + "\\" + name + "\\Options.dat")) list.push_back(name);
      } else if ((mode == 1 || mode == 2) && name.size() > 4 && name.ends_with(".asz")) {
        list.push_back(name.substr(0, name.find('.')));
      }
    }
  }
  const std::string first = list.empty() ? std::string() : list.front();
  std::stable_sort(list.begin(), list.end(),
                   [](const std::string& a, const std::string& b) { return UpperCaseUtf8(a) < UpperCaseUtf8(b); });
  return first;
}
