#pragma once
// The in-memory options store of a skin: INI text whose sections and keys are found
// ignoring letter case and listed in file order. Text is held as UTF-8; files and
// package entries are Windows-1251 and converted on loading.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/base/TextHelpers.h"

class TacIniFile {
public:
  // Searched by std::string_view: a lookup builds no string.
  using TNameIndex = std::unordered_map<std::string, std::uint32_t, TStringViewHash, std::equal_to<>>;

  struct TKey {
    std::string Name;
    std::string Value;
    std::string Folded;  // Name as lookups compare it (FoldName)
  };
  struct TSection {
    std::string Name;
    std::vector<TKey> Keys;
    // Folded key name -> position in Keys, once a section has many keys: lookups stay
    // constant-time however many keys it has.
    TNameIndex KeyIndex;
    const TKey* FindKey(std::string_view key) const;
    const TKey* FindFolded(std::string_view folded) const;
  };

  TacIniFile() = default;

  // Replaces the contents with Windows-1251 text (an options file or package entry).
  void LoadFromCp1251(std::string_view bytes);
  // Replaces the contents with UTF-8 text.
  void LoadFromText(std::string_view text);
  // Replaces the contents with the lines given (UTF-8).
  void LoadFromLines(const std::vector<std::string>& lines);
  void Clear() {
    Sections_.clear();
    SectionIndex_.clear();
  }

  // Section names in file order, as written. A repeated header continues the first
  // section of that name; a repeated key keeps its first value.
  std::vector<std::string> SectionNames() const;
  std::vector<std::string> KeyNames(std::string_view section) const;
  const std::vector<TSection>& Sections() const { return Sections_; }
  const TSection* FindSection(std::string_view section) const;
  // Position of the section in Sections(), or -1.
  int SectionIndexOf(std::string_view section) const;
  bool SectionExists(std::string_view section) const { return FindSection(section) != nullptr; }

  std::optional<std::string> Value(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
  // Decimal or "$"/"0x" hexadecimal; defaultValue when missing or not an integer.
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const;
  // "TRUE" in any letter case is true, any other present text false.
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

  void WriteString(std::string_view section, std::string_view key, std::string_view value);

private:
  TSection* FindSection(std::string_view section);
  TSection& AddSection(std::string_view name);
  static void AddKey(TSection& section, std::string_view key, std::string_view value);
  // One line of options text; `current` is the section its keys go to.
  void ReadLine(std::string_view rawLine, TSection*& current);
  std::vector<TSection> Sections_;
  // Upper-cased section name -> position in Sections_.
  TNameIndex SectionIndex_;
};

// The letter-case-free form of a name that lookups compare: names are equal ignoring
// case exactly when their folded forms are equal.
std::string FoldName(std::string_view name);

// FoldName without an allocation for the short Latin names nearly every lookup uses.
class TFoldedName {
public:
  explicit TFoldedName(std::string_view name);
  TFoldedName(const TFoldedName&) = delete;
  TFoldedName& operator=(const TFoldedName&) = delete;
  std::string_view View() const { return View_; }

private:
  char Short_[48];
  std::string Long_;
  std::string_view View_;
};

// Letter-case-insensitive comparison of UTF-8 text (Latin and Cyrillic).
bool SameTextUtf8(std::string_view a, std::string_view b);
// Integer text: optional sign, decimal or "$"/"0x" hexadecimal (hex wraps to 32 bits).
std::optional<std::int32_t> TryStrToInt(std::string_view text);
// As TryStrToInt; raises EConvertError "'<text>' is not a valid integer value".
std::int32_t StrToIntStrict(std::string_view text);
// Decimal fraction with "." whatever the user's locale; nullopt when unreadable.
std::optional<double> TryStrToFloatDot(std::string_view text);
