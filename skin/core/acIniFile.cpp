#include "skin/core/acIniFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "platform/base/Cp1251.h"
#include "platform/base/Exception.h"
#include "platform/base/TextHelpers.h"

namespace {


char UpperAsciiChar(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string FoldName(std::string_view name) {
  if (!AllAscii(name)) return UpperCaseUtf8(name);
  std::string out(name);
  for (char& c : out) c = UpperAsciiChar(c);
  return out;
}

TFoldedName::TFoldedName(std::string_view name) {
  if (name.size() <= sizeof(Short_) && AllAscii(name)) {
    for (std::size_t i = 0; i < name.size(); ++i) Short_[i] = UpperAsciiChar(name[i]);
    View_ = std::string_view(Short_, name.size());
  } else {
    Long_ = FoldName(name);
    View_ = Long_;
  }
}

bool SameTextUtf8(std::string_view a, std::string_view b) {
  // Latin letters compared in place; from the first other character on, both rests
  // are folded whole (a Latin letter is always one byte, so the split is exact).
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if ((x | y) >= 0x80) return UpperCaseUtf8(a.substr(i)) == UpperCaseUtf8(b.substr(i));
    if (x != y && UpperAsciiChar(a[i]) != UpperAsciiChar(b[i])) return false;
  }
  if (a.size() == b.size()) return true;
  const std::string_view rest = a.size() > b.size() ? a.substr(common) : b.substr(common);
  return !AllAscii(rest) && UpperCaseUtf8(rest).empty();
}

std::optional<std::int32_t> TryStrToInt(std::string_view text) {
  std::string_view s = text;
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  bool hex = false;
  if (!s.empty() && s.front() == '$') {
    hex = true;
    s.remove_prefix(1);
  } else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    hex = true;
    s.remove_prefix(2);
  }
  if (s.empty()) return std::nullopt;
  if (hex) {
    std::uint64_t value = 0;
    for (char c : s) {
      const int d = HexDigit(c);
      if (d < 0) return std::nullopt;
      value = value * 16 + static_cast<std::uint64_t>(d);
      if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    auto v = static_cast<std::uint32_t>(value);
    if (negative) v = 0u - v;
    return static_cast<std::int32_t>(v);
  }
  std::int64_t value = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > 2147483648LL) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::int32_t StrToIntStrict(std::string_view text) {
  const auto value = TryStrToInt(text);
  if (!value) throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
  return *value;
}

std::optional<double> TryStrToFloatDot(std::string_view text) {
  std::string_view s = TrimBlanks(text);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty() || !((s.front() >= '0' && s.front() <= '9') || s.front() == '.')) return std::nullopt;
  double value = 0;
  const auto result = std::from_chars(s.data(), s.data() + s.size(), value);
  if (result.ec != std::errc() || result.ptr != s.data() + s.size() || !std::isfinite(value)) return std::nullopt;
  return negative ? -value : value;
}

void TacIniFile::LoadFromCp1251(std::string_view bytes) { LoadFromText(Cp1251ToUtf8(bytes)); }

void TacIniFile::LoadFromText(std::string_view text) {
  Clear();
  TSection* current = nullptr;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    ReadLine(text.substr(start, end - start), current);
    if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
}

void TacIniFile::LoadFromLines(const std::vector<std::string>& lines) {
  Clear();
  TSection* current = nullptr;
  for (const std::string& line : lines) ReadLine(line, current);
}

void TacIniFile::ReadLine(std::string_view rawLine, TSection*& current) {
  const std::string_view line = TrimBlanks(rawLine);
  if (line.empty() || line.front() == ';') return;
  if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
    const std::string_view name = TrimBlanks(line.substr(1, line.size() - 2));
    current = FindSection(name);
    if (current == nullptr) current = &AddSection(name);
    return;
  }
  if (current == nullptr) return;  // lines before the first section belong to none
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return;
  const std::string_view key = TrimBlanks(line.substr(0, eq));
  if (key.empty()) return;
  AddKey(*current, key, TrimBlanks(line.substr(eq + 1)));  // a repeated key keeps its first value
}

TacIniFile::TSection& TacIniFile::AddSection(std::string_view name) {
  SectionIndex_.emplace(FoldName(name), static_cast<std::uint32_t>(Sections_.size()));
  Sections_.push_back(TSection{std::string(name), {}, {}});
  return Sections_.back();
}

namespace {

// Sections with few keys are searched in place; larger ones get their index.
constexpr std::size_t kIndexedKeys = 12;

}  // namespace

void TacIniFile::AddKey(TSection& section, std::string_view key, std::string_view value) {
  const TFoldedName folded(key);
  if (section.FindFolded(folded.View()) != nullptr) return;
  section.Keys.push_back(TKey{std::string(key), std::string(value), std::string(folded.View())});
  if (section.Keys.size() == kIndexedKeys) {
    for (std::size_t i = 0; i < section.Keys.size(); ++i)
      section.KeyIndex.emplace(section.Keys[i].Folded, static_cast<std::uint32_t>(i));
  } else if (section.Keys.size() > kIndexedKeys) {
    section.KeyIndex.emplace(section.Keys.back().Folded, static_cast<std::uint32_t>(section.Keys.size() - 1));
  }
}

const TacIniFile::TKey* TacIniFile::TSection::FindKey(std::string_view key) const {
  const TFoldedName folded(key);
  return FindFolded(folded.View());
}

const TacIniFile::TKey* TacIniFile::TSection::FindFolded(std::string_view folded) const {
  if (Keys.size() < kIndexedKeys) {
    for (const TKey& k : Keys)
      if (k.Folded == folded) return &k;
    return nullptr;
  }
  const auto it = KeyIndex.find(folded);
  return it == KeyIndex.end() ? nullptr : &Keys[it->second];
}

std::vector<std::string> TacIniFile::SectionNames() const {
  std::vector<std::string> names;
  names.reserve(Sections_.size());
  for (const TSection& s : Sections_) names.push_back(s.Name);
  return names;
}

std::vector<std::string> TacIniFile::KeyNames(std::string_view section) const {
  std::vector<std::string> names;
  if (const TSection* s = FindSection(section))
    for (const TKey& k : s->Keys) names.push_back(k.Name);
  return names;
}

int TacIniFile::SectionIndexOf(std::string_view section) const {
  const TFoldedName folded(section);
  const auto it = SectionIndex_.find(folded.View());
  return it == SectionIndex_.end() ? -1 : static_cast<int>(it->second);
}

const TacIniFile::TSection* TacIniFile::FindSection(std::string_view section) const {
  const int index = SectionIndexOf(section);
  return index < 0 ? nullptr : &Sections_[static_cast<std::size_t>(index)];
}

TacIniFile::TSection* TacIniFile::FindSection(std::string_view section) {
  const int index = SectionIndexOf(section);
  return index < 0 ? nullptr : &Sections_[static_cast<std::size_t>(index)];
}

std::optional<std::string> TacIniFile::Value(std::string_view section, std::string_view key) const {
  if (const TSection* s = FindSection(section))
    if (const TKey* k = s->FindKey(key)) return k->Value;
  return std::nullopt;
}

std::string TacIniFile::ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const {
  auto v = Value(section, key);
  return v ? std::move(*v) : std::string(defaultValue);
}

std::int32_t TacIniFile::ReadInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const {
  const auto v = Value(section, key);
  if (!v) return defaultValue;
  return TryStrToInt(*v).value_or(defaultValue);
}

bool TacIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  const auto v = Value(section, key);
  if (!v) return defaultValue;
  return SameTextUtf8(*v, "TRUE");
}

void TacIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  TSection* s = FindSection(section);
  if (s == nullptr) s = &AddSection(section);
  if (const TKey* k = s->FindKey(key))
    s->Keys[static_cast<std::size_t>(k - s->Keys.data())].Value = std::string(value);
  else
    AddKey(*s, key, value);
}
