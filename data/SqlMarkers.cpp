#include "data/SqlMarkers.h"

namespace {
bool IsNameByte(unsigned char c) {
  // Letters of any script (every byte of a multi-byte UTF-8 sequence), digits, "_".
  return c >= 0x80 || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

// The end of the quoted text or comment starting at i, or i when none starts there.
size_t SkipQuotedOrComment(std::string_view sql, size_t i) {
  const char c = sql[i];
  if (c == '\'' || c == '"' || c == '[' || c == '`') {
    // Quoted text or name: through the closing quote (doubled quotes stay inside).
    const char close = c == '[' ? ']' : c;
    size_t j = i + 1;
    while (j < sql.size()) {
      if (sql[j] == close) {
        if (close != ']' && j + 1 < sql.size() && sql[j + 1] == close) { j += 2; continue; }
        return j + 1;
      }
      ++j;
    }
    return j;
  }
  if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
    const size_t end = sql.find('\n', i);
    return end == std::string_view::npos ? sql.size() : end;
  }
  if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
    const size_t end = sql.find("*/", i + 2);
    return end == std::string_view::npos ? sql.size() : end + 2;
  }
  return i;
}
}  // namespace

SqlMarkers ParseSqlMarkers(std::string_view sql) {
  SqlMarkers out;
  out.EngineText.reserve(sql.size());
  size_t i = 0;
  while (i < sql.size()) {
    const char c = sql[i];
    if (const size_t j = SkipQuotedOrComment(sql, i); j != i) {
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

std::string NumberedMarkers(std::string_view text, int& count) {
  std::string out;
  out.reserve(text.size() + 8);
  count = 0;
  size_t i = 0;
  while (i < text.size()) {
    if (const size_t j = SkipQuotedOrComment(text, i); j != i) {
      out.append(text.substr(i, j - i));
      i = j;
    } else if (text[i] == '?') {
      out += "$" + std::to_string(++count);
      ++i;
    } else {
      out.push_back(text[i++]);
    }
  }
  return out;
}

bool HasSecondStatement(std::string_view text) {
  bool ended = false;
  size_t i = 0;
  while (i < text.size()) {
    const size_t j = SkipQuotedOrComment(text, i);
    const char c = text[i];
    const bool comment = j != i && (c == '-' || c == '/');
    if (j != i && !comment && ended) return true;
    if (j != i) {
      i = j;
      continue;
    }
    if (c == ';') ended = true;
    else if (ended && c != ' ' && c != '\t' && c != '\r' && c != '\n') return true;
    ++i;
  }
  return false;
}
