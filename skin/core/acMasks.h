#pragma once
// Skin mask values: how an options value becomes a mask, and the frame and
// border sizes painters read from a mask.
#include <string>
#include <string_view>

#include "platform/gfx/Types.h"
#include "skin/core/sMaskData.h"

// How an options value denotes an image, decided by its first character and
// the presence of "#" and ".BMP".
enum class TacMaskValueKind {
  mvNone,            // not an image ("N/A", numbers, "#", anything else)
  mvFileImage,       // "!FILE!count!type!imgtype[!wl!wt!wr!wb]"
  mvGlyph,           // "@llll@tttt@rrrr@bbbb@c@m"
  mvBorder,          // "^llll^tttt^rrrr^bbbb^wl^wt^wr^wb^c^m^s^w"
  mvTexture,         // "~llll~tttt~rrrr~bbbb~ss~m"
  mvSeparateBitmap,  // a bare bitmap file name
  mvLegacyRect       // "... (l t, r, b) (count, type, width, stretch)"
};

TacMaskValueKind ClassifyMaskValue(std::string_view value);

// Strict decimal conversion; raises EConvertError "'<text>' is not a valid integer value".
int StrictInt(std::string_view text);

// The fixed-position rectangle forms fill the geometry of a mask (section and
// key names are left to the caller). Bad digits raise EConvertError.
void ParseGlyphValue(std::string_view value, TsMaskData& mask);
void ParseBorderValue(std::string_view value, TsMaskData& mask);
void ParseTextureValue(std::string_view value, TsMaskData& mask);
// Legacy "#" rectangle: rectangle, count, mask type, border width, stretch mode.
void ParseLegacyValue(std::string_view value, TsMaskData& mask);

// The words of a file-image value after the leading "!".
struct TacFileImageValue {
  std::string FileName;
  int ImageCount = 0;
  int MaskType = 0;
  int ImgType = 0;
  bool HasBorders = false;
  int WL = 0, WT = 0, WR = 0, WB = 0;
};
TacFileImageValue ParseFileImageValue(std::string_view value);

// WL = WR = width div (ImageCount * 3); WT = WB = height div ((MaskType + 1) * 3).
void SetDefaultBorders(TsMaskData& mask);
// BorderWidth on all four sides when it is not 0, else the default borders.
void SetBordersFromWidth(TsMaskData& mask);

int MaskFrameWidth(const TsMaskData& mask);
int MaskFrameHeight(const TsMaskData& mask);
// Border slice sizes: the own width, else BorderWidth, else the frame size.
// A mask with ImageCount 0 gets ImageCount 1 first.
int MaskLeft(TsMaskData& mask);
int MaskTop(TsMaskData& mask);
int MaskRight(TsMaskData& mask);
int MaskBottom(TsMaskData& mask);
TSize MaskCellSize(const TsMaskData& mask);

// Upper case of ASCII letters (section, key and file names of skins are ASCII).
std::string UpperAscii(std::string_view text);
