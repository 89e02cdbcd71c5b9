#pragma once
// Name lookups over a loaded skin model, built once at the end of a load: sections by
// name, their parent chains, and the first mask, texture and pattern of each
// (section, key). A lookup describes the arrays it was built from and serves only
// while they keep their size and storage; a model assembled by hand is searched
// plainly.
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/base/TextHelpers.h"
#include "skin/core/acSectionChains.h"
#include "skin/core/sGeneralData.h"
#include "skin/core/sMaskData.h"

class TacModelLookup {
public:
  void Build(const TsGeneralDataArray& gd, const TsMaskArray& ma, const TsPatternArray& pa);
  void Clear() { *this = TacModelLookup(); }
  bool Serves(const TsGeneralDataArray& gd, const TsMaskArray& ma, const TsPatternArray& pa) const {
    return Built_ && gd.size() == SectionCount_ && gd.data() == SectionData_ && ma.size() == MaskCount_ &&
           ma.data() == MaskData_ && pa.size() == PatternCount_ && pa.data() == PatternData_;
  }

  int Section(std::string_view name) const { return Find(Sections_, name); }
  int Mask(std::string_view section, std::string_view key) const { return FindPair(Masks_, section, key); }
  int Texture(std::string_view section, std::string_view key) const { return FindPair(Textures_, section, key); }
  int Pattern(std::string_view section, std::string_view key) const { return FindPair(Patterns_, section, key); }
  const TacSectionChains& Chains() const { return Chains_; }

private:
  using TMap = std::unordered_map<std::string, int, TStringViewHash, std::equal_to<>>;
  static std::string Pair(std::string_view section, std::string_view key);
  static int Find(const TMap& map, std::string_view name) {
    const auto it = map.find(name);
    return it == map.end() ? -1 : it->second;
  }
  // Find(map, Pair(section, key)), the pair built on the stack when it is short.
  static int FindPair(const TMap& map, std::string_view section, std::string_view key);

  bool Built_ = false;
  std::size_t SectionCount_ = 0, MaskCount_ = 0, PatternCount_ = 0;
  const void* SectionData_ = nullptr;
  const void* MaskData_ = nullptr;
  const void* PatternData_ = nullptr;
  TMap Sections_, Masks_, Textures_, Patterns_;
  TacSectionChains Chains_;
};
