#pragma once
// Plain records describing a font request and its measured metrics.
#include <cstdint>
#include <string>

constexpr int FW_DONTCARE = 0;
constexpr int FW_THIN = 100;
constexpr int FW_LIGHT = 300;
constexpr int FW_NORMAL = 400;
constexpr int FW_MEDIUM = 500;
constexpr int FW_SEMIBOLD = 600;
constexpr int FW_BOLD = 700;
constexpr int FW_HEAVY = 900;

constexpr std::uint8_t ANSI_CHARSET = 0;
constexpr std::uint8_t DEFAULT_CHARSET = 1;
constexpr std::uint8_t RUSSIAN_CHARSET = 204;

// Height < 0: character (em) height in pixels; height > 0: cell height including
// internal leading; 0: a default size.
struct TLogFont {
  std::string FaceName;
  int Height = 0;
  int Weight = FW_NORMAL;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  friend bool operator==(const TLogFont&, const TLogFont&) = default;
};

using LOGFONT = TLogFont;

// Pitch-and-family bits of the classic metric record.
constexpr std::uint8_t TMPF_FIXED_PITCH = 0x01;  // set means variable pitch, as classically
constexpr std::uint8_t TMPF_VECTOR = 0x02;
constexpr std::uint8_t TMPF_TRUETYPE = 0x04;

struct TTextMetric {
  int tmHeight = 0;
  int tmAscent = 0;
  int tmDescent = 0;
  int tmInternalLeading = 0;
  int tmExternalLeading = 0;
  int tmAveCharWidth = 0;
  int tmMaxCharWidth = 0;
  int tmWeight = 0;
  int tmOverhang = 0;
  int tmDigitizedAspectX = 96;
  int tmDigitizedAspectY = 96;
  std::uint32_t tmFirstChar = 0x20;
  std::uint32_t tmLastChar = 0xFFFF;
  std::uint32_t tmDefaultChar = 0x3F;
  std::uint32_t tmBreakChar = 0x20;
  std::uint8_t tmItalic = 0;
  std::uint8_t tmUnderlined = 0;
  std::uint8_t tmStruckOut = 0;
  std::uint8_t tmPitchAndFamily = 0;
  std::uint8_t tmCharSet = RUSSIAN_CHARSET;
};

using TEXTMETRIC = TTextMetric;
