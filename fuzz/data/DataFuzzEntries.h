#pragma once
// Inputs for the data layer's small parsers: filter expressions, `like`
// patterns, statement markers, text conversions and collation, numbers, the
// connection string and the reader of stored table definitions. Where a simple
// reference exists the result is compared with it. Errors the layer raises
// (Exception and its kinds) are expected; anything else escapes.
#include <sqlite3.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/data/Schema.h"
#include "data/LikePattern.h"
#include "data/SqlMarkers.h"
#include "data/TADOConnection.h"
#include "data/TFilterExpression.h"
#include "data/TextCollation.h"
#include "data/TextConvert.h"
#include "data/Variant.h"
#include "fuzz/FuzzCheck.h"
#include "platform/base/Cp1251.h"
#include "platform/base/Exception.h"

// The input split at its first line break: (before, after).
inline std::pair<std::string_view, std::string_view> FuzzSplit(std::string_view text) {
  const std::size_t cut = text.find('\n');
  if (cut == std::string_view::npos) return {text, {}};
  return {text.substr(0, cut), text.substr(cut + 1)};
}

// A filter over three columns (the first compares exactly), tried on rows with
// text, numbers and nulls. Returns true when the expression was accepted.
inline bool FuzzFilter(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = FuzzBytes(data, size);
  auto resolve = [](std::string_view name) -> int {
    if (SameFoldedText(name, "Логин")) return 0;
    if (SameFoldedText(name, "Верно")) return 1;
    if (SameFoldedText(name, "Группа")) return 2;
    return -1;
  };
  auto exact = [](int column) { return column == 0; };
  try {
    const TFilterExpression filter(text, resolve, exact);
    const std::vector<std::vector<Variant>> rows = {
        {Variant("O'Brien"), Variant(5), Variant("ИВТ-21")},
        {Variant(), Variant(), Variant()},
        {Variant(""), Variant(int64_t{-9223372036854775807LL - 1}), Variant("ёлка")},
        {Variant("12"), Variant(12), Variant("%_")},
    };
    for (const auto& row : rows) {
      bool first = false;
      try {
        first = filter.Matches(row);
      } catch (const Exception&) {
        continue;
      }
      FuzzCheck(filter.Matches(row) == first, "a filter that answers differently twice");
    }
    return true;
  } catch (const Exception&) {
    return false;
  }
}

// `like` by the book, on folded code points: a table of which pattern prefix
// matches which text prefix. Slow, but plainly right.
inline bool ReferenceLike(std::string_view pattern, std::string_view text, char32_t escape) {
  std::vector<char32_t> p, t;
  TLikePattern::Fold(pattern, p);
  TLikePattern::Fold(text, t);
  const char32_t foldedEscape = escape ? UpperCodePoint(escape) : 0;
  enum TKind { Literal, AnyOne, AnyRun };
  std::vector<std::pair<TKind, char32_t>> tokens;
  for (std::size_t i = 0; i < p.size(); ++i) {
    if (foldedEscape && p[i] == foldedEscape) {
      if (i + 1 == p.size()) return false;
      tokens.emplace_back(Literal, p[++i]);
    } else if (p[i] == U'%') {
      tokens.emplace_back(AnyRun, 0);
    } else if (p[i] == U'_') {
      tokens.emplace_back(AnyOne, 0);
    } else {
      tokens.emplace_back(Literal, p[i]);
    }
  }
  // row[j]: the tokens so far match the first j characters of the text.
  std::vector<char> row(t.size() + 1, 0), next(t.size() + 1);
  row[0] = 1;
  for (const auto& [kind, c] : tokens) {
    std::fill(next.begin(), next.end(), 0);
    for (std::size_t j = 0; j <= t.size(); ++j) {
      if (kind == AnyRun) next[j] = row[j] || (j > 0 && next[j - 1]);
      else if (j > 0 && row[j - 1]) next[j] = kind == AnyOne || t[j - 1] == c;
    }
    row.swap(next);
  }
  return row[t.size()];
}

// The first byte picks the escape character; the rest is "pattern\ntext".
inline bool FuzzLike(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > 2048) return false;  // the reference is quadratic
  const char32_t escapes[] = {0, U'\\', U'!', U'ж'};
  const char32_t escape = escapes[data[0] % 4];
  const auto [pattern, text] = FuzzSplit(FuzzBytes(data + 1, size - 1));
  const bool matches = TLikePattern(pattern, escape).Matches(text);
  FuzzCheck(matches == ReferenceLike(pattern, text, escape), "like disagrees with the reference");
  FuzzCheck(FoldedLike(pattern, text, escape) == matches, "FoldedLike disagrees with TLikePattern");
  std::vector<char32_t> folded;
  TLikePattern::Fold(text, folded);
  FuzzCheck(TLikePattern(pattern, escape).MatchesFolded(folded) == matches, "folded text matches otherwise");
  return matches;
}

// Every marker becomes one "?", and nothing else changes the count of them.
inline void FuzzSqlMarkers(const std::uint8_t* data, std::size_t size) {
  const std::string_view sql = FuzzBytes(data, size);
  const SqlMarkers markers = ParseSqlMarkers(sql);
  const auto questions = [](std::string_view text) { return std::count(text.begin(), text.end(), '?'); };
  FuzzCheck(questions(markers.EngineText) == questions(sql) + static_cast<long>(markers.Names.size()),
            "markers and question marks do not add up");
  for (const std::string& name : markers.Names) FuzzCheck(!name.empty(), "a marker without a name");
  FuzzCheck(markers.EngineText.size() <= sql.size(), "the engine's text is longer than the statement");
}

// Windows-1251 and back, case mapping and the folding comparison.
inline void FuzzTextConversion(const std::uint8_t* data, std::size_t size) {
  const auto [a, b] = FuzzSplit(FuzzBytes(data, size));
  // Every Windows-1251 byte but 0x98 (no character) comes back as it was.
  std::string expected(a);
  std::replace(expected.begin(), expected.end(), '\x98', '?');
  FuzzCheck(Utf8ToCp1251(Cp1251ToUtf8(a)) == expected, "Windows-1251 does not come back");
  // Any bytes read as UTF-8: one code point per step, and a valid encoding again.
  std::string again;
  for (std::size_t pos = 0; pos < a.size();) {
    const std::size_t before = pos;
    AppendUtf8(again, NextCodePoint(a, pos));
    FuzzCheck(pos > before && pos <= a.size(), "decoding does not advance");
  }
  std::string twice;
  for (std::size_t pos = 0; pos < again.size();) AppendUtf8(twice, NextCodePoint(again, pos));
  FuzzCheck(twice == again, "re-encoded text decodes to something else");
  Utf8ToCp1251(a);
  // The folding comparison is an order, and case does not change it.
  const int ab = CompareFoldedText(a, b), ba = CompareFoldedText(b, a);
  FuzzCheck((ab < 0) == (ba > 0) && (ab == 0) == (ba == 0), "comparison is not antisymmetric");
  FuzzCheck(CompareFoldedText(a, a) == 0, "text differs from itself");
  FuzzCheck(SameFoldedText(UpperCaseUtf8(again), LowerCaseUtf8(again)), "upper and lower case compare differently");
  FuzzCheck(SameFoldedText(a, b) == (ab == 0), "equality and order disagree");
}

// Integers as the runtime reads them, against a plain reference in 128 bits.
inline void FuzzNumber(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = FuzzBytes(data, size);
  std::size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  int base = 10;
  if (pos < text.size() && text[pos] == '$') base = 16, ++pos;
  bool valid = pos < text.size();
  __int128 magnitude = 0;
  for (; valid && pos < text.size(); ++pos) {
    const char c = text[pos];
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) valid = false;
    else magnitude = std::min<__int128>(magnitude * base + digit, __int128{1} << 64);
  }
  const __int128 reference = negative ? -magnitude : magnitude;
  valid = valid && reference >= std::numeric_limits<int64_t>::min() && reference <= std::numeric_limits<int64_t>::max();

  int64_t value = 0;
  const bool read = TryStrToInt64(text, value);
  FuzzCheck(read == valid, "integer accepted or refused against the reference");
  if (read) FuzzCheck(value == static_cast<int64_t>(reference), "integer read wrongly");
  try {
    FuzzCheck(StrToInt64(text) == value && read, "StrToInt64 accepted what TryStrToInt64 refused");
  } catch (const EConvertError&) {
    FuzzCheck(!read, "StrToInt64 refused what TryStrToInt64 read");
  }
  try {
    FuzzCheck(Variant(std::string(text)).AsInteger() == value && read, "the variant read another integer");
  } catch (const EVariantError&) {
    FuzzCheck(!read, "the variant refused an integer");
  }
}

// Values of the connection string's keys: never longer than the string.
inline void FuzzConnectionString(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = FuzzBytes(data, size);
  for (std::string_view key : {"Data Source", "provider", "Persist Security Info", "", "x"}) {
    const std::string value = TADOConnection::ConnectionValue(text, key);
    FuzzCheck(value.size() <= text.size(), "a value longer than the string");
  }
  // A value without separators or quotes reads back as given, blanks trimmed.
  if (text.find(';') == std::string_view::npos && text.find_first_not_of(" ") != std::string_view::npos &&
      text[text.find_first_not_of(" ")] != '"' && text[text.find_first_not_of(" ")] != '\'') {
    std::string_view trimmed = text;
    while (!trimmed.empty() && (trimmed.front() == ' ' || trimmed.front() == '\t')) trimmed.remove_prefix(1);
    while (!trimmed.empty() && (trimmed.back() == ' ' || trimmed.back() == '\t')) trimmed.remove_suffix(1);
    const std::string pairs = "Provider=x; Data Source = " + std::string(text);
    FuzzCheck(TADOConnection::ConnectionValue(pairs, "data source") == trimmed, "a plain value reads otherwise");
  }
}

// A stored table definition with its columns' collations replaced: when the
// engine reads the definition, it reads the rewritten one too.
inline bool FuzzTableDefinition(const std::uint8_t* data, std::size_t size) {
  const std::string_view sql = FuzzBytes(data, size);
  static sqlite3* db = [] {
    sqlite3* handle = nullptr;
    sqlite3_open(":memory:", &handle);
    RegisterTextCollation(handle);
    return handle;
  }();
  const std::vector<std::pair<std::string, std::string>> columns = {
      {"Логин", "binary"}, {"Группа", std::string(kFoldingCollation)}, {"a", "nocase"}};
  std::string rewritten;
  try {
    rewritten = Schema::WithCollations(sql, "Новая", columns);
  } catch (const EDatabaseError&) {
    return false;
  }
  auto parses = [](const std::string& text) {
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db, text.c_str(), static_cast<int>(text.size()), &statement, &tail);
    const bool whole = rc == SQLITE_OK && statement && std::string_view(tail).find_first_not_of(" \t\r\n;") == std::string_view::npos;
    sqlite3_finalize(statement);
    return whole;
  };
  const std::string original(sql);
  if (original.find('\0') == std::string::npos && parses(original))
    FuzzCheck(parses(rewritten), "the rewritten definition does not parse");
  return true;
}
