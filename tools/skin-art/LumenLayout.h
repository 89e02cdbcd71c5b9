#pragma once
// The internal skin "Lumen": where every mask lies in the master bitmap, how it
// is drawn, and the options text that names it. One table feeds both the
// picture and Options.dat, so the two cannot drift apart.
#include <functional>
#include <string>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "tools/skin-art/ArtCell.h"

constexpr int kMasterWidth = 210;
constexpr int kMasterHeight = 300;

// Paints state frame `state` (0 normal, 1 hot, 2 pressed) into a cell.
using TArtPainter = std::function<void(TArtCell& cell, int state)>;

struct TArtMask {
  std::string Section;
  std::string Key;
  char Form = '^';  // '^' border, '@' glyph, '~' texture
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int ImageCount = 1;
  int MaskType = 1;
  int StretchMode = 0;
  int BorderWidth = 0;
  int WL = 0, WT = 0, WR = 0, WB = 0;
  TArtPainter Painter;
  TArtColor KeyBase;  // what half-covered pixels of a keyed (MaskType 0) cell are flattened onto
};

// Every mask of the master bitmap, in no particular order.
const std::vector<TArtMask>& LumenMasks();
// The options value text of a mask ("^0045^0054...").
std::string MaskValueText(const TArtMask& mask);
// Checks the table: inside the bitmap, frames dividing the rectangle, no two
// different rectangles overlapping. Returns the problems found.
std::vector<std::string> CheckLayout(const std::vector<TArtMask>& masks);
// The 210 x 300 24-bit master bitmap.
TBitmap PaintMaster();

// Colours as written in the options file: decimal 0x00BBGGRR from 0xRRGGBB.
int OptColor(unsigned rgb);
