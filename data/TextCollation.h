#pragma once
// One text comparison for the whole program: `=`, `Like`, the table filter and
// `Locate` all ignore letter case for Latin and Cyrillic letters, as the classic
// engine does. SQLite folds ASCII only, so the connection replaces its NOCASE
// collation and its like() function with these.
#include <string_view>

struct sqlite3;

// <0, 0, >0 comparing code point by code point after upper-casing both sides.
int CompareFoldedText(std::string_view a, std::string_view b);
bool SameFoldedText(std::string_view a, std::string_view b);
// Like with "%" (any run) and "_" (one character); escape is 0 for none. Linear
// for "%text%" searches, never worse than text length × pattern length (TLikePattern).
bool FoldedLike(std::string_view pattern, std::string_view text, char32_t escape = 0);
// Registers the NOCASE collation and like() on a connection; returns an SQLite code.
int RegisterTextCollation(sqlite3* db);
