#include "skin/runtime/acThirdParty.h"

namespace {

struct TThirdEntry {
  const char* Property;
  const char* Kind;
  const char* Default;
};

// By index (the published order differs).
constexpr std::array<TThirdEntry, kThirdPartyCount> kEntries = [] {
  std::array<TThirdEntry, kThirdPartyCount> entries{};
#define AC_THIRD_ENTRY(index, name, kind, defaultValue) entries[index] = TThirdEntry{#name, kind, defaultValue};
  AC_THIRD_PARTY_LIST(AC_THIRD_ENTRY)
#undef AC_THIRD_ENTRY
  return entries;
}();

}  // namespace

const char* TacThirdPartyList::KindName(int index) { return kEntries.at(static_cast<std::size_t>(index)).Kind; }
const char* TacThirdPartyList::DefaultText(int index) { return kEntries.at(static_cast<std::size_t>(index)).Default; }
const char* TacThirdPartyList::PropertyName(int index) { return kEntries.at(static_cast<std::size_t>(index)).Property; }

void TacThirdPartyList::FillDefaults() {
  for (int i = 0; i < kThirdPartyCount; ++i)
    if (Texts_[static_cast<std::size_t>(i)].empty()) Texts_[static_cast<std::size_t>(i)] = DefaultText(i);
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line.push_back(c);
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}
