#include "skin/core/acSectionChains.h"

#include "skin/core/acIniFile.h"

TacSectionChains TacSectionChains::FromOptions(const TacIniFile& ini) {
  const auto& sections = ini.Sections();
  std::vector<int> parents;
  parents.reserve(sections.size());
  for (std::size_t i = 0; i < sections.size(); ++i) {
    const TacIniFile::TKey* key = sections[i].FindKey("PARENTCLASS");
    int index = -1;
    if (key != nullptr && !key->Value.empty() && key->Value != "?" && key->Value != sections[i].Name)
      index = ini.SectionIndexOf(key->Value);
    parents.push_back(index == static_cast<int>(i) ? -1 : index);
  }
  return TacSectionChains(std::move(parents));
}

TacSectionChains::TacSectionChains(std::vector<int> parents) : Parents_(std::move(parents)) {
  const std::size_t n = Parents_.size();
  for (int& p : Parents_)
    if (p < 0 || static_cast<std::size_t>(p) >= n) p = -1;
  LoopEntry_.assign(n, -1);
  OnLoop_.assign(n, 0);
  // Each section is walked once: a walk stops at a section an earlier walk reached
  // (whose loop entry is known) or at one of its own (a new loop).
  std::vector<int> walkOf(n, -1);
  std::vector<int> path;
  for (std::size_t start = 0; start < n; ++start) {
    if (walkOf[start] >= 0) continue;
    path.clear();
    int s = static_cast<int>(start);
    while (s >= 0 && walkOf[static_cast<std::size_t>(s)] < 0) {
      walkOf[static_cast<std::size_t>(s)] = static_cast<int>(start);
      path.push_back(s);
      s = Parents_[static_cast<std::size_t>(s)];
    }
    int tailEntry = -1;  // loop entry for the sections of the path off the loop
    std::size_t tailEnd = path.size();
    if (s >= 0 && walkOf[static_cast<std::size_t>(s)] == static_cast<int>(start)) {
      // A new loop: from s to the end of the path.
      std::size_t at = 0;
      while (path[at] != s) ++at;
      std::vector<int> loop(path.begin() + static_cast<std::ptrdiff_t>(at), path.end());
      for (int m : loop) {
        OnLoop_[static_cast<std::size_t>(m)] = 1;
        LoopEntry_[static_cast<std::size_t>(m)] = m;
      }
      Loops_.push_back(std::move(loop));
      tailEntry = s;
      tailEnd = at;
    } else if (s >= 0) {
      // Joined an earlier walk: a loop entry there carries over, except that a section
      // on a loop is its own entry and the tail meets the loop at that section.
      tailEntry = OnLoop_[static_cast<std::size_t>(s)] ? s : LoopEntry_[static_cast<std::size_t>(s)];
    }
    for (std::size_t i = 0; i < tailEnd; ++i) LoopEntry_[static_cast<std::size_t>(path[i])] = tailEntry;
  }
}

std::vector<int> TacSectionChains::ResolveOwn(const std::vector<char>& own) const {
  const std::size_t n = Parents_.size();
  std::vector<int> result(n, -1);
  std::vector<char> done(n, 0);
  // A section on a loop reads the whole loop from itself on: two passes backwards
  // round the loop give every member its first hit.
  for (const std::vector<int>& loop : Loops_) {
    const std::size_t len = loop.size();
    int next = -1;
    for (std::size_t k = 2 * len; k-- > 0;) {
      const int s = loop[k % len];
      if (own[static_cast<std::size_t>(s)]) next = s;
      if (k < len) {
        result[static_cast<std::size_t>(s)] = next;
        done[static_cast<std::size_t>(s)] = 1;
      }
    }
  }
  // Off the loops a section's chain is itself followed by its parent's chain.
  std::vector<int> path;
  for (std::size_t start = 0; start < n; ++start) {
    path.clear();
    int s = static_cast<int>(start);
    while (s >= 0 && !done[static_cast<std::size_t>(s)]) {
      path.push_back(s);
      s = Parents_[static_cast<std::size_t>(s)];
    }
    int hit = s >= 0 ? result[static_cast<std::size_t>(s)] : -1;
    for (std::size_t i = path.size(); i-- > 0;) {
      const int m = path[i];
      if (own[static_cast<std::size_t>(m)]) hit = m;
      result[static_cast<std::size_t>(m)] = hit;
      done[static_cast<std::size_t>(m)] = 1;
    }
  }
  return result;
}
