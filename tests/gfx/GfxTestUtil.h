#pragma once
// Helpers of the graphics tests.
#include <string>

#include "platform/gfx/Bitmap.h"

// Text picture of a bitmap: one character per pixel, from a colour → char map
// ('.' for anything not listed), rows separated by '\n'.
inline std::string Picture(const TBitmap& b, TColor on, char onChar = '#', TColor other = -1, char otherChar = 'o') {
  std::string s;
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      const TColor c = b.Pixel(x, y);
      s += c == on ? onChar : (other >= 0 && c == other ? otherChar : '.');
    }
    s += '\n';
  }
  return s;
}
