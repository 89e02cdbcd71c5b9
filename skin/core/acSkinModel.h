#pragma once
// The loaded skin model: selects a skin source, loads the options model and the images,
// and holds them. The skin manager component (skin/runtime) builds on it and announces
// changes to the windows.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Types.h"
#include "skin/core/acIniFile.h"
#include "skin/core/acModelLookup.h"
#include "skin/core/acSkinBudget.h"
#include "skin/core/acSectionChains.h"
#include "skin/core/acSkinPack.h"
#include "skin/core/sCommonIndexes.h"
#include "skin/core/sGeneralData.h"
#include "skin/core/sMaskData.h"
#include "skin/core/sSkinData.h"
#include "skin/core/sStoredSkin.h"

constexpr const char* kSkinEngineVersion = "6.44";
constexpr const char* kDefaultSkinDirectory = "c:\\Skins";
constexpr const char* kSkinVersionMessage =
    "This version of the skin is not fully supported by this release of the skin engine.\r\n"
    "The components must be updated to the latest version to use this skin.";

class TacSkinModel {
public:
  TacSkinModel();
  TacSkinModel(const TacSkinModel&) = delete;
  TacSkinModel& operator=(const TacSkinModel&) = delete;
  ~TacSkinModel();

  // --- Properties -------------------------------------------------------------
  bool ExtendedBorders() const { return ExtendedBorders_; }
  void SetExtendedBorders(bool value);
  bool Active() const { return Active_; }
  void SetActive(bool value);
  const std::vector<std::string>& CommonSections() const { return CommonSections_; }
  // Copies the lines, removes every space from lines that are not empty and not
  // comments, and reloads the skin.
  void SetCommonSections(const std::vector<std::string>& lines);
  int Saturation() const { return Saturation_; }
  void SetSaturation(int value);
  int HueOffset() const { return HueOffset_; }
  void SetHueOffset(int value);
  TsStoredSkins& InternalSkins() { return InternalSkins_; }
  const TsStoredSkins& InternalSkins() const { return InternalSkins_; }
  const std::string& SkinDirectory() const { return SkinDirectory_; }
  void SetSkinDirectory(const std::string& value);
  const std::string& SkinName() const { return SkinName_; }
  // Stores the name and, when active, loads that skin (package, folder or stored).
  void SetSkinName(const std::string& value);
  // VERSION of the loaded skin in its shortest "." form, or "N/A" while no skin is ready.
  std::string SkinInfo() const;
  void SetSkinInfo(const std::string&) {}
  std::string Version() const { return kSkinEngineVersion; }
  void SetVersion(const std::string&) {}

  // Called with the version warning (the window layer routes it to the message box).
  std::function<void(const std::string&)> OnShowMessage;
  std::function<void(TacSkinModel&)> OnBeforeChange;
  std::function<void(TacSkinModel&)> OnAfterChange;
  // Announcing a loaded or removed skin to the windows is hooked in here.
  std::function<void(TacSkinModel&)> OnNewSkin;
  std::function<void(TacSkinModel&)> OnSkinRemoved;

  // --- Run-time state ---------------------------------------------------------
  bool SkinIsPacked = false;  // the current skin's images come from a package reader
  TsSkinData SkinData;        // global values; SkinData.ImageFolder is the image folder
  std::unique_ptr<TBitmap> MasterBitmap;
  TacCommonIndexes CommonIndexes;
  // Extended window-border images and their content offsets (left, top, right, bottom).
  std::unique_ptr<TBitmap> ExBorderImages[2];
  TRect ExBorderOffsets;

  // The most one load may bring into memory (kMaxSkinBytes; tests lower it).
  void SetLoadLimit(std::uint64_t bytes) { LoadLimit_ = bytes; }

  // Folder of the running program, a path text ending with "\" (tests may set it).
  const std::string& ProgramFolder() const { return ProgramFolder_; }
  void SetProgramFolder(const std::string& folder) { ProgramFolder_ = folder; }

  // --- Loading ----------------------------------------------------------------
  // Decides packed or not and loads the skin of SkinName; may clear Active when there
  // is no skin at all. Errors of a bad skin propagate.
  void LoadNewSkin();
  // The package path: WithTrailingSeparator(SkinDirectory) + SkinName + ".asz".
  std::string PackagePath() const;
  std::string ResolvedSkinDirectory() const;
  void LoadPackageSkin();
  void LoadFolderOrInternalSkin();
  // Global values and sections from the options store or the stored skin; runs the
  // version check, merges CommonSections, fills mask slots and applies hue/saturation.
  void LoadSections();
  void CheckVersion();
  // Caches the common indexes, announces the new skin, then marks it ready.
  void NotifyNewSkin();
  // Marks the skin not ready, announces its removal and empties the model.
  void NotifySkinRemoved();

  // The options store and package reader; exist only while a skin is being loaded.
  TacIniFile* SkinFile() { return SkinFile_.get(); }
  TacSkinConvertor* Convertor() { return Convertor_.get(); }
  // The stored skin named by SkinName, or nullptr.
  TsStoredSkin* CurrentStoredSkin();

  // One key read through PARENTCLASS (a chain stops at the first section it meets
  // again); these walk one chain, the loader resolves every section at once.
  std::string ReadInheritedString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
  std::int32_t ReadInheritedInteger(const std::string& section, const std::string& key, std::int32_t defaultValue) const;
  // The PARENTCLASS chains of the options store's sections.
  TacSectionChains OptionsChains() const;

  // Fills list with the available skins, sorted ignoring case, and returns the first
  // name found: stored skins, then in the resolved skin directory sub-folders holding
  // Options.dat (mode 0 or 2) and "*.asz" files (mode 1 or 2).
  std::string ListSkins(std::vector<std::string>& list, int mode) const;

  // --- Section lookups --------------------------------------------------------
  int SectionIndexOf(const std::string& name) const;
  bool IsValidSection(int index) const { return Section(index) != nullptr; }

  // The section, mask or pattern an index names: null for -1 ("none") and for any
  // index the loaded skin does not have, so callers never index the arrays themselves.
  const TsGeneralData* Section(int index) const { return At(Sections_, index); }
  TsGeneralData* Section(int index) { return At(Sections_, index); }
  const TsMaskData* Mask(int index) const { return At(Masks_, index); }
  TsMaskData* Mask(int index) { return At(Masks_, index); }
  const TsPatternData* Pattern(int index) const { return At(Patterns_, index); }
  TsPatternData* Pattern(int index) { return At(Patterns_, index); }
  // All of them, read-only and in order (sections in file order, masks in load order),
  // for loops over the whole model.
  std::span<const TsGeneralData> Sections() const { return Sections_; }
  std::span<const TsMaskData> Masks() const { return Masks_; }
  std::span<const TsPatternData> Patterns() const { return Patterns_; }
  // A model put together by hand (tests, tools) grows by these; each returns the new index.
  int AddSection(TsGeneralData section);
  int AddMask(TsMaskData mask);

  // --- Image half (acSkinModelImages.cpp and the mask units) ------------------
  void LoadMasks();
  void LoadPatterns();
  void FillMaskSlots();
  void ShiftHue(int degrees);
  void ShiftSaturation(int amount);
  void CacheCommonIndexes();
  void ReleaseImages();  // masks, patterns and the master bitmap
  // Locates an image named by the options file: a package item (upper-cased name
  // equals reference) or a file in ImageFolder / an absolute path.
  bool FindSkinImage(const std::string& reference, std::vector<std::uint8_t>& bytes);
  // The same without copying: view shows a package entry in place, or a file read
  // into storage.
  bool FindSkinImage(const std::string& reference, std::span<const std::uint8_t>& view, std::vector<std::uint8_t>& storage);
  // Decodes a skin picture with decode, counting its pixels against the load's budget
  // (before decoding when the header tells the size).
  TBitmap DecodeCounted(std::span<const std::uint8_t> bytes, const std::string& what,
                        TBitmap (*decode)(std::span<const std::uint8_t>));
  int MaskIndexOf(const std::string& section, const std::string& key) const;
  int InheritedMaskIndexOf(int sectionIndex, const std::string& section, const std::string& key) const;
  int TextureIndexOf(int sectionIndex, const std::string& section, const std::string& key) const;
  int PatternIndexOf(int sectionIndex, const std::string& section, const std::string& key) const;
  // Extended-border images and offsets from EXBORDER or the built-in shadows.
  void BuildExtendedBorders();

protected:
  // Plain stores for the manager component, which runs its own assignment steps
  // around the loading functions above.
  void StoreSkinName(const std::string& value) { SkinName_ = value; }
  void StoreActive(bool value) { Active_ = value; }
  void StoreHueOffset(int value) { HueOffset_ = value; }
  void StoreSaturation(int value) { Saturation_ = value; }
  void StoreExtendedBorders(bool value) { ExtendedBorders_ = value; }
  void StoreCommonSections(std::vector<std::string> lines) { CommonSections_ = std::move(lines); }
  // Empties the sections (the images go with ReleaseImages).
  void ClearSections() { Sections_.clear(); }

private:
  template <typename Array>
  static auto At(Array& items, int index) -> decltype(items.data()) {
    return index >= 0 && static_cast<std::size_t>(index) < items.size() ? items.data() + index : nullptr;
  }
  // Image half helpers (acSkinModelImages.cpp).
  void AddMaskFromValue(const std::string& section, const std::string& key, const std::string& value);
  void LoadCommonSectionMasks();
  std::vector<int> HueKeepingMasks() const;
  void LoadSectionsFromFile();
  // One key through inheritance for every section of the options store, in order.
  std::vector<std::string> InheritedStrings(const TacSectionChains& chains, const char* key, const std::string& defaultValue) const;
  std::vector<std::int32_t> InheritedIntegers(const TacSectionChains& chains, const char* key, std::int32_t defaultValue) const;
  void LoadSectionsFromStoredSkin(const TsStoredSkin& skin);
  void MergeCommonSections();
  void ReloadKeepingState();
  void LoadOptionsFromReader();
  void BuildModel();  // masks, patterns, sections, cached indexes

  TsGeneralDataArray Sections_;
  TsMaskArray Masks_;
  TsPatternArray Patterns_;
  bool ExtendedBorders_ = false;
  bool Active_ = true;
  std::vector<std::string> CommonSections_;
  int Saturation_ = 0;
  int HueOffset_ = 0;
  TsStoredSkins InternalSkins_;
  std::string SkinDirectory_ = kDefaultSkinDirectory;
  std::string SkinName_;
  std::string ProgramFolder_;

  std::unique_ptr<TacIniFile> SkinFile_;
  std::unique_ptr<TacSkinConvertor> Convertor_;
  // What the current load has brought into memory (files, inflated entries, pictures).
  TacSkinBudget LoadBudget_;
  std::uint64_t LoadLimit_ = kMaxSkinBytes;
  // Name lookups of the model as last loaded (built with the mask slots).
  TacModelLookup Lookup_;
  const TacModelLookup* ServingLookup() const;
};
