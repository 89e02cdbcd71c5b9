#pragma once
// Global values of a loaded skin (section GLOBALINFO), one object per manager.
#include <cstdint>
#include <string>

// Keys read directly from GLOBALINFO, in reading order: X(kind, key, field, default).
// Kinds: Int16 (invalid text counts as missing), Color (32-bit), Strict (read as text,
// converted, a non-number fails the load), Text. VERSION is read first, separately.
#define TS_GLOBAL_KEYS(X)                               \
  X(Text, "AUTHOR", Author, "")                         \
  X(Text, "DESCRIPTION", Description, "")               \
  X(Int16, "BORDERWIDTH", BorderWidth, 4)               \
  X(Int16, "TITLEHEIGHT", TitleHeight, 30)              \
  X(Int16, "MAXHEIGHT", MaxHeight, 0)                   \
  X(Int16, "FORMOFFSET", FormOffset, 8)                 \
  X(Int16, "CENTEROFFSET", CenterOffset, 0)             \
  X(Int16, "BORDERMODE", BorderMode, 0)                 \
  X(Color, "SHADOW1COLOR", Shadow1Color, 0)             \
  X(Strict, "SHADOW1OFFSET", Shadow1Offset, "0")        \
  X(Strict, "SHADOW1BLUR", Shadow1Blur, "-1")           \
  X(Strict, "SHADOW1TRANSPARENCY", Shadow1Transparency, "0") \
  X(Int16, "BISPACE", BISpace, 0)                       \
  X(Int16, "BIVALIGN", BIVAlign, 0)                     \
  X(Int16, "BIRIGHT", BIRight, 0)                       \
  X(Int16, "BILEFT", BILeft, 0)                         \
  X(Color, "BORDERCOLOR", BorderColor, 0)               \
  X(Int16, "BIKEEPHUE", BIKeepHue, 0)                   \
  X(Strict, "BICONCLOSEGLOW", BICloseGlow, "0")         \
  X(Strict, "BICONCLOSEGLOWMARGIN", BICloseGlowMargin, "0") \
  X(Strict, "BICONMAXGLOW", BIMaxGlow, "0")             \
  X(Strict, "BICONMAXGLOWMARGIN", BIMaxGlowMargin, "0") \
  X(Strict, "BICONMINGLOW", BIMinGlow, "0")             \
  X(Strict, "BICONMINGLOWMARGIN", BIMinGlowMargin, "0")

struct TsSkinData {
  double Version = 0;  // VERSION, "." as decimal separator; 0 when unreadable
  std::string Author;
  std::string Description;
  std::int16_t BorderWidth = 4;
  std::int16_t TitleHeight = 30;
  std::int16_t MaxHeight = 0;  // 0 in the file becomes TitleHeight
  std::int16_t FormOffset = 8;
  std::int16_t CenterOffset = 0;
  std::int16_t BorderMode = 0;
  std::int32_t Shadow1Color = 0;
  std::int16_t Shadow1Offset = 0;
  std::int16_t Shadow1Blur = -1;
  std::int16_t Shadow1Transparency = 0;
  std::int16_t BISpace = 0;
  std::int16_t BIVAlign = 0;
  std::int16_t BIRight = 0;
  std::int16_t BILeft = 0;
  std::int32_t BorderColor = 0;
  std::int16_t BIKeepHue = 0;
  std::int16_t BICloseGlow = 0;
  std::int16_t BICloseGlowMargin = 0;
  std::int16_t BIMaxGlow = 0;
  std::int16_t BIMaxGlowMargin = 0;
  std::int16_t BIMinGlow = 0;
  std::int16_t BIMinGlowMargin = 0;

  std::string ImageFolder;  // folder of a folder skin's images, ending with "\"; empty otherwise
  bool SkinReady = false;   // a skin is loaded and has been announced
};
