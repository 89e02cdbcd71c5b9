#include "skin/core/acModelLookup.h"

#include <cstring>

std::string TacModelLookup::Pair(std::string_view section, std::string_view key) {
  std::string pair;
  pair.reserve(section.size() + key.size() + 1);
  pair.append(section).push_back('\0');  // names hold no NUL: the pair splits one way only
  pair.append(key);
  return pair;
}

int TacModelLookup::FindPair(const TMap& map, std::string_view section, std::string_view key) {
  char shortPair[96];
  if (section.size() + key.size() + 1 > sizeof(shortPair)) return Find(map, Pair(section, key));
  std::memcpy(shortPair, section.data(), section.size());
  shortPair[section.size()] = '\0';
  std::memcpy(shortPair + section.size() + 1, key.data(), key.size());
  return Find(map, std::string_view(shortPair, section.size() + key.size() + 1));
}

void TacModelLookup::Build(const TsGeneralDataArray& gd, const TsMaskArray& ma, const TsPatternArray& pa) {
  Clear();
  // emplace keeps the first of equal names, as the plain searches find the first.
  for (std::size_t i = 0; i < gd.size(); ++i) Sections_.emplace(gd[i].SectionName, static_cast<int>(i));
  std::vector<int> parents(gd.size(), -1);
  for (std::size_t i = 0; i < gd.size(); ++i) {
    const std::string& parent = gd[i].ParentClass;
    if (parent.empty() || parent == gd[i].SectionName) continue;
    parents[i] = Section(parent);
  }
  Chains_ = TacSectionChains(std::move(parents));
  for (std::size_t i = 0; i < ma.size(); ++i) {
    const std::string pair = Pair(ma[i].SectionName, ma[i].PropertyName);
    Masks_.emplace(pair, static_cast<int>(i));
    if (ma[i].ImgType == TacImgType::itisaTexture) Textures_.emplace(pair, static_cast<int>(i));
  }
  for (std::size_t i = 0; i < pa.size(); ++i) Patterns_.emplace(Pair(pa[i].SectionName, pa[i].PropertyName), static_cast<int>(i));
  Built_ = true;
  SectionCount_ = gd.size();
  MaskCount_ = ma.size();
  PatternCount_ = pa.size();
  SectionData_ = gd.data();
  MaskData_ = ma.data();
  PatternData_ = pa.data();
}
