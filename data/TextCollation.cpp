#include "data/TextCollation.h"

#include <sqlite3.h>

#include <string>

#include "data/LikePattern.h"
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

int FoldingCollation(void*, int lenA, const void* a, int lenB, const void* b) {
  return CompareFoldedText(std::string_view(static_cast<const char*>(a), static_cast<size_t>(lenA)),
                           std::string_view(static_cast<const char*>(b), static_cast<size_t>(lenB)));
}

struct TCompiledLike {
  TLikePattern Pattern;
  char32_t Escape;
};

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
  // The pattern is compiled once per statement and kept with its argument, so a
  // search over many rows does not rebuild its tables row by row.
  auto* compiled = static_cast<TCompiledLike*>(sqlite3_get_auxdata(context, 0));
  if (compiled == nullptr || compiled->Escape != escape) {
    compiled = new TCompiledLike{TLikePattern({pattern, patternLen}, escape), escape};
    sqlite3_set_auxdata(context, 0, compiled, [](void* p) { delete static_cast<TCompiledLike*>(p); });
    compiled = static_cast<TCompiledLike*>(sqlite3_get_auxdata(context, 0));
    if (compiled == nullptr) {  // not kept (out of memory): match without the cache
      sqlite3_result_int(context, FoldedLike({pattern, patternLen}, {text, textLen}, escape) ? 1 : 0);
      return;
    }
  }
  sqlite3_result_int(context, compiled->Pattern.Matches({text, textLen}) ? 1 : 0);
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
  return TLikePattern(pattern, escape).Matches(text);
}

int RegisterTextCollation(sqlite3* db) {
  int rc = sqlite3_create_collation(db, std::string(kFoldingCollation).c_str(), SQLITE_UTF8, nullptr, FoldingCollation);
  if (rc != SQLITE_OK) return rc;
  const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
  rc = sqlite3_create_function(db, "like", 2, flags, nullptr, LikeFunction, nullptr, nullptr);
  if (rc != SQLITE_OK) return rc;
  return sqlite3_create_function(db, "like", 3, flags, nullptr, LikeFunction, nullptr, nullptr);
}
