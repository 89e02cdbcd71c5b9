#include "media/HtmlCharset.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "platform/base/Cp1251.h"
#include "platform/base/TextHelpers.h"

namespace {

constexpr std::size_t kSniffBytes = 4096;

// The value after "charset=" inside one <meta ...> tag.
std::string CharsetInMeta(std::string_view tag) {
  const std::size_t at = tag.find("charset");
  if (at == std::string_view::npos) return {};
  std::size_t p = at + 7;
  while (p < tag.size() && (tag[p] == ' ' || tag[p] == '\t' || tag[p] == '\r' || tag[p] == '\n')) ++p;
  if (p >= tag.size() || tag[p] != '=') return {};
  ++p;
  while (p < tag.size() && (tag[p] == ' ' || tag[p] == '"' || tag[p] == '\'')) ++p;
  std::size_t end = p;
  while (end < tag.size() && (std::isalnum(static_cast<unsigned char>(tag[end])) || tag[end] == '-' ||
                              tag[end] == '_' || tag[end] == ':' || tag[end] == '.'))
    ++end;
  return std::string(tag.substr(p, end - p));
}

THtmlCharset FromName(const std::string& name, bool& known) {
  known = true;
  if (name == "utf-8" || name == "utf8") return THtmlCharset::Utf8;
  if (name == "windows-1251" || name == "cp1251" || name == "x-cp1251" || name == "win-1251" ||
      name == "cp-1251")
    return THtmlCharset::Windows1251;
  if (name == "iso-8859-1" || name == "latin1" || name == "latin-1" || name == "windows-1252" ||
      name == "us-ascii" || name == "ascii" || name == "iso8859-1")
    return THtmlCharset::Latin1;
  known = false;
  return THtmlCharset::Utf8;
}

// Russian text in Windows-1251 comes as long runs of bytes 0xC0..0xFF; Latin-1
// text has an accented letter here and there between ASCII letters.
bool LooksLikeCp1251(std::string_view bytes) {
  std::size_t high = 0;
  std::size_t inRuns = 0;
  std::size_t run = 0;
  auto endRun = [&] {
    if (run >= 3) inRuns += run;
    run = 0;
  };
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 0xC0) {
      ++high;
      ++run;
    } else if (c >= 0x80) {
      ++high;
      endRun();
    } else {
      endRun();
    }
  }
  endRun();
  return high > 0 && inRuns * 2 >= high;
}

bool HasHighBytes(std::string_view bytes) {
  return std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

std::string Latin1ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (const char c : bytes) AppendUtf8(out, static_cast<unsigned char>(c));
  return out;
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size());
  char32_t pendingHigh = 0;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    const char32_t unit = bigEndian ? (a << 8 | b) : (b << 8 | a);
    if (unit >= 0xD800 && unit < 0xDC00) {
      if (pendingHigh) AppendUtf8(out, 0xFFFD);
      pendingHigh = unit;
      continue;
    }
    if (unit >= 0xDC00 && unit < 0xE000) {
      AppendUtf8(out, pendingHigh ? 0x10000 + ((pendingHigh - 0xD800) << 10) + (unit - 0xDC00) : 0xFFFD);
      pendingHigh = 0;
      continue;
    }
    if (pendingHigh) AppendUtf8(out, 0xFFFD);
    pendingHigh = 0;
    AppendUtf8(out, unit);
  }
  if (pendingHigh) AppendUtf8(out, 0xFFFD);
  return out;
}

// The parser reads a C string: a NUL would cut the page short.
void ReplaceNul(std::string& text) {
  if (text.find('\0') == std::string::npos) return;
  std::string out;
  out.reserve(text.size() + 16);
  for (const char c : text) {
    if (c == '\0')
      out += "\xEF\xBF\xBD";
    else
      out += c;
  }
  text.swap(out);
}

}  // namespace

const char* HtmlCharsetName(THtmlCharset charset) {
  switch (charset) {
    case THtmlCharset::Utf8: return "utf-8";
    case THtmlCharset::Utf16Le: return "utf-16le";
    case THtmlCharset::Utf16Be: return "utf-16be";
    case THtmlCharset::Windows1251: return "windows-1251";
    case THtmlCharset::Latin1: return "iso-8859-1";
  }
  return "utf-8";
}

bool IsValidUtf8(std::string_view s) {
  char32_t cp = 0;
  for (std::size_t i = 0; i < s.size();)
    if (!DecodeUtf8(s, i, cp)) return false;
  return true;
}

std::string DeclaredHtmlCharset(std::string_view bytes) {
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") return "utf-8";
  if (bytes.size() >= 2 && bytes.substr(0, 2) == "\xFF\xFE") return "utf-16le";
  if (bytes.size() >= 2 && bytes.substr(0, 2) == "\xFE\xFF") return "utf-16be";
  const std::string head = LowerAscii(bytes.substr(0, std::min(bytes.size(), kSniffBytes)));
  std::size_t pos = 0;
  while ((pos = head.find("<meta", pos)) != std::string::npos) {
    const std::size_t end = head.find('>', pos);
    const std::string_view tag = std::string_view(head).substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    std::string charset = CharsetInMeta(tag);
    if (!charset.empty()) return charset;
    pos += 5;
  }
  return {};
}

THtmlDecoded DecodeHtmlBytes(std::string_view bytes) {
  THtmlDecoded out;
  out.Declared = DeclaredHtmlCharset(bytes);
  if (out.Declared == "utf-16le" || out.Declared == "utf-16be" || out.Declared == "utf-16") {
    const bool bom = bytes.size() >= 2 && (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF");
    if (bom) {
      const bool big = bytes.substr(0, 2) == "\xFE\xFF";
      out.Charset = big ? THtmlCharset::Utf16Be : THtmlCharset::Utf16Le;
      out.Text = Utf16ToUtf8(bytes.substr(2), big);
      ReplaceNul(out.Text);
      return out;
    }
    // A meta inside 8-bit text cannot be right about UTF-16: judge by the bytes.
  }
  std::string_view body = bytes;
  if (body.size() >= 3 && body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);
  bool known = false;
  THtmlCharset charset = FromName(out.Declared, known);
  const bool high = HasHighBytes(body);
  if (high) {
    const bool validUtf8 = IsValidUtf8(body);
    if (charset == THtmlCharset::Utf8 || !known) {
      if (!validUtf8) charset = LooksLikeCp1251(body) || charset == THtmlCharset::Utf8 ? THtmlCharset::Windows1251
                                                                                    : THtmlCharset::Latin1;
    } else if (validUtf8) {
      // Every high byte forms a UTF-8 sequence: no real 8-bit text does that.
      charset = THtmlCharset::Utf8;
    } else if (charset == THtmlCharset::Latin1 && LooksLikeCp1251(body)) {
      charset = THtmlCharset::Windows1251;
    }
  }
  out.Charset = charset;
  switch (charset) {
    case THtmlCharset::Windows1251: out.Text = Cp1251ToUtf8(body); break;
    case THtmlCharset::Latin1: out.Text = Latin1ToUtf8(body); break;
    case THtmlCharset::Utf8:
    case THtmlCharset::Utf16Le:
    case THtmlCharset::Utf16Be: out.Text = std::string(body); break;
  }
  ReplaceNul(out.Text);
  return out;
}
