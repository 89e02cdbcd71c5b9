#pragma once
// One record per section of a loaded skin, in file order; a skin index is a
// position in the section array.
#include <cstdint>
#include <string>
#include <vector>

#include "skin/core/sGradient.h"

// Section keys read through PARENTCLASS inheritance: X(kind, key, field, default).
// Kinds: SysColor (a system colour becomes its RGB at load), Color (stored as
// written), Integer, Bool ("TRUE" in any case), Text. The gradient stops are parsed
// from GradientData/HotGradientData after the walk.
#define TS_SECTION_KEYS(X)                                   \
  X(SysColor, "COLOR", Color, 0xFFFFFF)                      \
  X(Color, "FONTCOLOR", FontColor[0], 0)                     \
  X(Color, "TCLEFT", FontColor[1], -1)                       \
  X(Color, "TCTOP", FontColor[2], -1)                        \
  X(Color, "TCRIGHT", FontColor[3], -1)                      \
  X(Color, "TCBOTTOM", FontColor[4], -1)                     \
  X(Color, "HOTFONTCOLOR", HotFontColor[0], 0)               \
  X(Color, "HOTTCLEFT", HotFontColor[1], -1)                 \
  X(Color, "HOTTCTOP", HotFontColor[2], -1)                  \
  X(Color, "HOTTCRIGHT", HotFontColor[3], -1)                \
  X(Color, "HOTTCBOTTOM", HotFontColor[4], -1)               \
  X(Bool, "GIVEOWNFONT", GiveOwnFont, false)                 \
  X(Integer, "GLOW", GlowCount, 0)                           \
  X(Integer, "GLOWMARGIN", GlowMargin, 0)                    \
  X(Bool, "RESERVEDBOOLEAN", ReservedBoolean, false)         \
  X(Integer, "TRANSPARENCY", Transparency, 0)                \
  X(Integer, "GRADIENTPERCENT", GradientPercent, 0)          \
  X(Text, "GRADIENTDATA", GradientData, " ")                 \
  X(Integer, "IMAGEPERCENT", ImagePercent, 0)                \
  X(Bool, "SHOWFOCUS", ShowFocus, false)                     \
  X(Bool, "FADINGENABLED", FadingEnabled, false)             \
  X(Integer, "FADINGITERATIONS", FadingIterations, 5)        \
  X(Color, "HOTCOLOR", HotColor, 0xFFFFFF)                   \
  X(Integer, "HOTTRANSPARENCY", HotTransparency, 0)          \
  X(Integer, "HOTGRADIENTPERCENT", HotGradientPercent, 0)    \
  X(Text, "HOTGRADIENTDATA", HotGradientData, "")            \
  X(Integer, "HOTIMAGEPERCENT", HotImagePercent, 0)

// Keys whose mask indexes fill the five mask slots, in slot order.
#define TS_MASK_SLOT_KEYS(X)          \
  X("BORDERSMASK", BorderIndex)       \
  X("IMGTOPLEFT", ImgTopLeft)         \
  X("IMGTOPRIGHT", ImgTopRight)       \
  X("IMGBTMLEFT", ImgBtmLeft)         \
  X("IMGBTMRIGHT", ImgBtmRight)

struct TsGeneralData {
  std::string ParentClass;  // PARENTCLASS, read directly
  std::string SectionName;  // as written in the file
  std::int32_t Color = 0xFFFFFF;
  std::int32_t FontColor[5] = {0, -1, -1, -1, -1};     // caption colour, then left/top/right/bottom contours
  std::int32_t HotFontColor[5] = {0, -1, -1, -1, -1};
  bool GiveOwnFont = false;
  std::int32_t GlowCount = 0;
  std::int32_t GlowMargin = 0;
  bool ReservedBoolean = false;
  std::int32_t Transparency = 0;
  std::int32_t GradientPercent = 0;
  std::string GradientData = " ";
  TsGradArray GradientStops;
  std::int32_t ImagePercent = 0;
  bool ShowFocus = false;
  bool FadingEnabled = false;
  std::int32_t FadingIterations = 5;
  std::int32_t HotColor = 0xFFFFFF;
  std::int32_t HotTransparency = 0;
  std::int32_t HotGradientPercent = 0;
  std::string HotGradientData;
  TsGradArray HotGradientStops;
  std::int32_t HotImagePercent = 0;
  // Mask indexes, filled after the sections are read; -1 = none.
  std::int32_t BorderIndex = -1;
  std::int32_t ImgTopLeft = -1;
  std::int32_t ImgTopRight = -1;
  std::int32_t ImgBtmLeft = -1;
  std::int32_t ImgBtmRight = -1;
};

using TsGeneralDataArray = std::vector<TsGeneralData>;
