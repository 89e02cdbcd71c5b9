#include "data/TextCollation.h"

#include <sqlite3.h>

#include "platform/base/Cp1251.h"

namespace {
// Decodes and folds the next character; ASCII takes the short way.
inline char32_t NextFolded(std::string_view text, size_t& pos) {
  const auto b = static_cast<unsigned char>(text[pos]);
  if (b < 0x80) {
    ++pos;
    return (b >= 'a' && b <= 'z') ? b - 32 : b;
  }
  return UpperCodePoint(NextCodePoint(text, pos));
}

int NocaseCollation(void*, int lenA, const void* a, int lenB, const void* b) {
  return CompareFoldedText(std::string_view(static_cast<const char*>(a), static_cast<size_t>(lenA)),
                           std::string_view(static_cast<const char*>(b), static_cast<size_t>(lenB)));
}

void LikeFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
  // like(pattern, text [, escape]); a null on either side matches nothing.
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
    sqlite3_result_null(context);
    return;
  }
  char32_t escape = 0;
  if (argc == 3) {
    const auto* esc = reinterpret_cast<const char*>(sqlite3_value_text(argv[2]));
    const std::string_view escText(esc ? esc : "", static_cast<size_t>(sqlite3_value_bytes(argv[2])));
    size_t pos = 0;
    if (escText.empty() || (escape = NextCodePoint(escText, pos), pos != escText.size())) {
      sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
      return;
    }
  }
  const auto* pattern = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
  const size_t patternLen = static_cast<size_t>(sqlite3_value_bytes(argv[0]));
  const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
  const size_t textLen = static_cast<size_t>(sqlite3_value_bytes(argv[1]));
  if (!pattern || !text) {
    sqlite3_result_error_nomem(context);
    return;
  }
  sqlite3_result_int(context, FoldedLike({pattern, patternLen}, {text, textLen}, escape) ? 1 : 0);
}
}  // namespace

int CompareFoldedText(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const char32_t ca = NextFolded(a, i);
    const char32_t cb = NextFolded(b, j);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

bool SameFoldedText(std::string_view a, std::string_view b) { return CompareFoldedText(a, b) == 0; }

bool FoldedLike(std::string_view pattern, std::string_view text, char32_t escape) {
  // Iterative matcher with one backtrack point (the last "%"), linear in practice.
  size_t p = 0, t = 0;
  size_t starP = std::string_view::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size()) {
      size_t next = p;
      char32_t pc = NextFolded(pattern, next);
      bool literal = false;
      if (escape != 0 && pc == UpperCodePoint(escape)) {
        if (next >= pattern.size()) return false;  // a dangling escape matches nothing
        pc = NextFolded(pattern, next);
        literal = true;
      }
      if (!literal && pc == U'%') {
        starP = p = next;
        starT = t;
        continue;
      }
      size_t tNext = t;
      const char32_t tc = NextFolded(text, tNext);
      if ((!literal && pc == U'_') || pc == tc) {
        p = next;
        t = tNext;
        continue;
      }
    }
    if (starP == std::string_view::npos) return false;
    // Let the last "%" swallow one more character and retry.
    p = starP;
    NextFolded(text, starT);
    t = starT;
  }
  while (p < pattern.size()) {
    size_t next = p;
    if (NextFolded(pattern, next) != U'%') return false;
    p = next;
  }
  return true;
}

int RegisterTextCollation(sqlite3* db) {
  int rc = sqlite3_create_collation(db, "NOCASE", SQLITE_UTF8, nullptr, NocaseCollation);
  if (rc != SQLITE_OK) return rc;
  const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
  rc = sqlite3_create_function(db, "like", 2, flags, nullptr, LikeFunction, nullptr, nullptr);
  if (rc != SQLITE_OK) return rc;
  return sqlite3_create_function(db, "like", 3, flags, nullptr, LikeFunction, nullptr, nullptr);
}
