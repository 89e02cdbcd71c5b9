#pragma once
// Parent chains of skin sections, resolved once per load. Every section names at most
// one parent, so following parents from a section runs along a tail and may end in a
// loop (A -> B -> A). A chain is read from its section up to the first section met a
// second time; asking "which section of the chain first has X" for every section at
// once costs one pass over the sections, loops included.
#include <cstdint>
#include <vector>

class TacIniFile;

class TacSectionChains {
public:
  // The PARENTCLASS chains of an options store's sections: an empty or "?" parent,
  // the section itself or a missing section ends a chain.
  static TacSectionChains FromOptions(const TacIniFile& ini);

  TacSectionChains() = default;
  // parents[i]: the parent's position, or -1 when section i has none (a section
  // naming itself or a missing section has none).
  explicit TacSectionChains(std::vector<int> parents);

  int Count() const { return static_cast<int>(Parents_.size()); }
  int Parent(int section) const { return Parents_[static_cast<std::size_t>(section)]; }
  // The first section that the chain of `section` meets twice, or -1 when the chain
  // ends without looping.
  int LoopEntry(int section) const { return LoopEntry_[static_cast<std::size_t>(section)]; }

  // For every section, the first section of its chain for which has(index) holds, or
  // -1. has is asked once per section.
  template <typename Has>
  std::vector<int> Resolve(Has has) const {
    std::vector<char> own(Parents_.size());
    for (std::size_t i = 0; i < own.size(); ++i) own[i] = has(static_cast<int>(i)) ? 1 : 0;
    return ResolveOwn(own);
  }
  std::vector<int> ResolveOwn(const std::vector<char>& own) const;

  // Walks the chain of `section` until visit(index) returns true; returns that
  // index or -1. At most Count() steps.
  template <typename Visit>
  int Walk(int section, Visit visit) const {
    for (int steps = 0; section >= 0 && steps <= Count(); ++steps) {
      if (visit(section)) return section;
      section = Parent(section);
    }
    return -1;
  }

private:
  std::vector<int> Parents_;
  std::vector<int> LoopEntry_;
  // Sections that lie on a loop, loop by loop, each in parent order.
  std::vector<std::vector<int>> Loops_;
  std::vector<char> OnLoop_;
};
