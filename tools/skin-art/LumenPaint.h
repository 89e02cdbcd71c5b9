#pragma once
// Drawing recipes shared by the Lumen skin pictures.
#include "tools/skin-art/ArtCell.h"

namespace lumen {

// The family palette (0xRRGGBB).
constexpr unsigned kNavy = 0x243953;
constexpr unsigned kInk = 0x2C4A6E;
constexpr unsigned kSteel = 0x7F9DB9;
constexpr unsigned kSteelLight = 0x9DB4CB;
constexpr unsigned kSky = 0x8CDAFB;
constexpr unsigned kPaleSky = 0xD0EBFF;
constexpr unsigned kHotBlue = 0x2E8CD1;
constexpr unsigned kDeepBlue = 0x1F5F9E;
constexpr unsigned kPanel = 0xC4D8EA;
constexpr unsigned kForm = 0xD1DBE4;
constexpr unsigned kPaper = 0xECE9D8;
constexpr unsigned kWhite = 0xFFFFFF;
constexpr unsigned kCloseRed = 0xD9534A;

// Which corners are round and which side, if any, stays open (tabs).
enum class TOpenSide { None, Top, Bottom, Left, Right };

struct TFrameLook {
  unsigned Outline = kSteel;
  double OutlineAlpha = 1.0;
  unsigned Highlight = kWhite;  // one pixel inside the outline
  double HighlightAlpha = 0.0;
  unsigned Fill = kWhite;        // the face inside, usually left clear
  double FillAlpha = 0.0;
  bool Inset = false;            // pressed: a soft shadow along the top and left inside
};

// A 1-pixel rounded outline with optional inner highlight, face and inset shadow.
void PaintFrame(TArtCell& cell, double radius, const TFrameLook& look, TOpenSide open = TOpenSide::None);

TArtShape Triangle(double x0, double y0, double x1, double y1, double x2, double y2);

}  // namespace lumen
