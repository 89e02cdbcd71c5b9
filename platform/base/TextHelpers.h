#pragma once
// Small text helpers every layer needs: ASCII-only case folding (names, schemes,
// charsets; Cyrillic folding is in Cp1251.h), trimming blanks, and the words a
// script reads for a flag.
#include <string>
#include <string_view>

// 'A'..'Z' become 'a'..'z'; every other byte stays as it is (UTF-8 untouched).
std::string LowerAscii(std::string_view text);
// Without leading and trailing spaces and tabs.
std::string_view TrimBlanks(std::string_view text);
// "true" or "false".
std::string BoolText(bool value);
