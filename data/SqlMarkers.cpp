#include "data/SqlMarkers.h"

namespace {
bool IsNameByte(unsigned char c) {
  // Letters of any script (every byte of a multi-byte UTF-8 sequence), digits, "_".
  return c >= 0x80 || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
}  // namespace

SqlMarkers ParseSqlMarkers(std::string_view sql) {
  SqlMarkers out;
  out.EngineText.reserve(sql.size());
  size_t i = 0;
  while (i < sql.size()) {
    const char c = sql[i];
    if (c == '\'' || c == '"' || c == '[' || c == '`') {
      // Quoted text or name: copy through to the closing quote (doubled quotes stay inside).
      const char close = c == '[' ? ']' : c;
      size_t j = i + 1;
      while (j < sql.size()) {
        if (sql[j] == close) {
          if (close != ']' && j + 1 < sql.size() && sql[j + 1] == close) { j += 2; continue; }
          ++j;
          break;
        }
        ++j;
      }
      out.EngineText.append(sql.substr(i, j - i));
      i = j;
    } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      const size_t end = sql.find('\n', i);
      const size_t j = end == std::string_view::npos ? sql.size() : end;
      out.EngineText.append(sql.substr(i, j - i));
      i = j;
    } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
      const size_t end = sql.find("*/", i + 2);
      const size_t j = end == std::string_view::npos ? sql.size() : end + 2;
      out.EngineText.append(sql.substr(i, j - i));
      i = j;
    } else if (c == ':' && i + 1 < sql.size() && sql[i + 1] == ':') {
      out.EngineText.append("::");  // a doubled colon is not a marker
      i += 2;
    } else if (c == ':' && i + 1 < sql.size() && IsNameByte(static_cast<unsigned char>(sql[i + 1])) &&
               (i == 0 || !IsNameByte(static_cast<unsigned char>(sql[i - 1])))) {
      size_t j = i + 1;
      while (j < sql.size() && IsNameByte(static_cast<unsigned char>(sql[j]))) ++j;
      out.Names.emplace_back(sql.substr(i + 1, j - i - 1));
      out.EngineText.push_back('?');
      i = j;
    } else {
      out.EngineText.push_back(c);
      ++i;
    }
  }
  return out;
}
