#pragma once
// Small text helpers every layer needs: ASCII-only case folding (names, schemes,
// charsets; Cyrillic folding is in Cp1251.h), trimming blanks, and the words a
// script reads for a flag, and the hash that lets a string-keyed map be searched
// by a string_view.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// 'A'..'Z' become 'a'..'z'; every other byte stays as it is (UTF-8 untouched).
std::string LowerAscii(std::string_view text);
// Without leading and trailing spaces and tabs.
std::string_view TrimBlanks(std::string_view text);
// "true" or "false".
std::string BoolText(bool value);

// Hash for maps keyed by std::string that are searched by std::string_view (with
// std::equal_to<>), so that a lookup builds no string.
struct TStringViewHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};
