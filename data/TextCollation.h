#pragma once
// The program's text comparison that ignores letter case for Latin and Cyrillic
// letters. SQLite's own NOCASE folds ASCII only; it is left as it is, because an
// index built by another tool with it must stay in the order that tool gave it.
// Columns that fold Cyrillic too name a collation of our own instead, which
// other tools do not have: they refuse to compare or index such a column rather
// than silently fold it another way. `Like` is replaced (a function, no index
// depends on it).
#include <string_view>

struct sqlite3;

// <0, 0, >0 comparing code point by code point after upper-casing both sides.
int CompareFoldedText(std::string_view a, std::string_view b);
bool SameFoldedText(std::string_view a, std::string_view b);
// Like with "%" (any run) and "_" (one character); escape is 0 for none. Linear
// for "%text%" searches, never worse than text length × pattern length (TLikePattern).
bool FoldedLike(std::string_view pattern, std::string_view text, char32_t escape = 0);
// The name of our folding collation, as the schema declares it.
inline constexpr std::string_view kFoldingCollation = "textbook_nocase";
// Registers the folding collation and like() on a connection; returns an SQLite code.
int RegisterTextCollation(sqlite3* db);
