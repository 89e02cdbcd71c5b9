#include "platform/base/Cp1251.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace {

// Code points of bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F.
constexpr std::array<char16_t, 64> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

char32_t ByteToCodePoint(unsigned char b) {
  if (b < 0x80) return b;
  if (b >= 0xC0) return 0x0410 + (b - 0xC0);
  return kHigh[b - 0x80];
}

}  // namespace

bool AllAscii(std::string_view text) {
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    if (word & 0x8080808080808080ull) return false;
  }
  for (; i < text.size(); ++i)
    if (static_cast<unsigned char>(text[i]) >= 0x80) return false;
  return true;
}

namespace {

int CodePointToByte(char32_t cp) {
  if (cp < 0x80) return static_cast<int>(cp);
  if (cp >= 0x0410 && cp <= 0x044F) return static_cast<int>(0xC0 + (cp - 0x0410));
  for (size_t i = 0; i < kHigh.size(); ++i)
    if (kHigh[i] == cp && cp != 0xFFFD) return static_cast<int>(0x80 + i);
  return -1;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool DecodeUtf8(std::string_view text, size_t& pos, char32_t& cp) {
  const auto b0 = static_cast<unsigned char>(text[pos++]);
  if (b0 < 0x80) {
    cp = b0;
    return true;
  }
  // The ranges of the second byte exclude overlong forms (C0 AF for '/'),
  // surrogates (ED A0 80) and code points past U+10FFFF (F4 90 80 80).
  int extra = 0;
  unsigned char low = 0x80, high = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    extra = 1;
    cp = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    extra = 2;
    cp = b0 & 0x0F;
    if (b0 == 0xE0) low = 0xA0;
    if (b0 == 0xED) high = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    extra = 3;
    cp = b0 & 0x07;
    if (b0 == 0xF0) low = 0x90;
    if (b0 == 0xF4) high = 0x8F;
  } else {
    cp = 0xFFFD;
    return false;
  }
  for (int i = 0; i < extra; ++i) {
    const auto b = pos < text.size() ? static_cast<unsigned char>(text[pos]) : 0;
    if (pos >= text.size() || b < low || b > high) {
      cp = 0xFFFD;  // the byte that does not fit begins the next character
      return false;
    }
    low = 0x80;
    high = 0xBF;
    cp = (cp << 6) | (b & 0x3F);
    ++pos;
  }
  return true;
}

char32_t NextCodePoint(std::string_view text, size_t& pos) {
  char32_t cp = 0;
  DecodeUtf8(text, pos, cp);
  return cp;
}

std::string Cp1251ToUtf8(std::string_view text) {
  if (AllAscii(text)) return std::string(text);
  // Sized first, then written in place: options files are mostly Latin, and a
  // byte-at-a-time append costs more than the conversion itself.
  std::size_t length = 0;
  for (char c : text) {
    const char32_t cp = ByteToCodePoint(static_cast<unsigned char>(c));
    length += cp < 0x80 ? 1 : cp < 0x800 ? 2 : 3;
  }
  std::string out(length, '\0');
  char* to = out.data();
  for (char c : text) {
    const char32_t cp = ByteToCodePoint(static_cast<unsigned char>(c));
    if (cp < 0x80) {
      *to++ = c;
    } else if (cp < 0x800) {
      *to++ = static_cast<char>(0xC0 | (cp >> 6));
      *to++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      *to++ = static_cast<char>(0xE0 | (cp >> 12));
      *to++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      *to++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

std::string Utf8ToCp1251(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    const int b = CodePointToByte(NextCodePoint(text, pos));
    out += b < 0 ? '?' : static_cast<char>(b);
  }
  return out;
}

char32_t UpperCodePoint(char32_t cp) {
  if (cp >= U'a' && cp <= U'z') return cp - 32;
  if (cp >= 0x0430 && cp <= 0x044F) return cp - 32;
  if (cp >= 0x0450 && cp <= 0x045F) return cp - 80;  // ё, ђ, ї ...
  return cp;
}

char32_t LowerCodePoint(char32_t cp) {
  if (cp >= U'A' && cp <= U'Z') return cp + 32;
  if (cp >= 0x0410 && cp <= 0x042F) return cp + 32;
  if (cp >= 0x0400 && cp <= 0x040F) return cp + 80;
  return cp;
}

namespace {
template <typename Fold>
std::string FoldUtf8(std::string_view text, Fold fold) {
  if (AllAscii(text)) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(fold(static_cast<unsigned char>(c)));
    return out;
  }
  std::string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    const auto b = static_cast<unsigned char>(text[pos]);
    if (b < 0x80) {
      out += static_cast<char>(fold(b));
      ++pos;
    } else {
      AppendUtf8(out, fold(NextCodePoint(text, pos)));
    }
  }
  return out;
}
}  // namespace

std::string UpperCaseUtf8(std::string_view text) {
  return FoldUtf8(text, [](char32_t cp) { return UpperCodePoint(cp); });
}
std::string LowerCaseUtf8(std::string_view text) {
  return FoldUtf8(text, [](char32_t cp) { return LowerCodePoint(cp); });
}
