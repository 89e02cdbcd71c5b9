#pragma once
// Helpers shared by the text tests: a canvas, ink boxes and a specimen writer.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/base/Cp1251.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/FontEngine.h"
#include "platform/gfx/TextRender.h"

namespace gfxtext {

constexpr COLORREF kPaper = 0xFFFFFF;
constexpr COLORREF kInk = 0x000000;

// A white canvas of the given format; alpha bytes of 32-bit pixels start at 0.
inline TBitmap Canvas(int width, int height, TPixelFormat format = TPixelFormat::pf24bit, bool topDown = false) {
  TBitmap bitmap(width, height, format, topDown);
  const int bpp = format == TPixelFormat::pf32bit ? 4 : 3;
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = bitmap.ScanLine(y);
    std::memset(row, 0xFF, static_cast<std::size_t>(width) * bpp);
    if (bpp == 4)
      for (int x = 0; x < width; ++x) row[x * 4 + 3] = 0;
  }
  return bitmap;
}

// Colour of a pixel without alpha (0x00BBGGRR).
inline COLORREF Rgb(const TBitmap& bitmap, int x, int y) {
  return static_cast<COLORREF>(bitmap.Pixel(x, y)) & 0xFFFFFF;
}

// Smallest rectangle holding every pixel that is not `paper`; empty when none.
inline TRect InkBox(const TBitmap& bitmap, COLORREF paper = kPaper) {
  TRect box{bitmap.Width(), bitmap.Height(), 0, 0};
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      if (Rgb(bitmap, x, y) != paper) {
        box.Left = std::min(box.Left, x);
        box.Top = std::min(box.Top, y);
        box.Right = std::max(box.Right, x + 1);
        box.Bottom = std::max(box.Bottom, y + 1);
      }
  return box.IsEmpty() ? TRect{} : box;
}

inline int InkCount(const TBitmap& bitmap, const TRect& area, COLORREF paper = kPaper) {
  int count = 0;
  const TRect r = area.Intersect({0, 0, bitmap.Width(), bitmap.Height()});
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) count += Rgb(bitmap, x, y) != paper;
  return count;
}

inline bool SamePixels(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (Rgb(a, x, y) != Rgb(b, x, y)) return false;
  return true;
}

// A target covering the whole bitmap.
struct TWholeTarget {
  explicit TWholeTarget(TBitmap& bitmap, COLORREF color = kInk) : Bounds{0, 0, bitmap.Width(), bitmap.Height()} {
    Target.Bitmap = &bitmap;
    Target.Clip = std::span<const TRect>(&Bounds, 1);
    Target.TextColor = color;
  }
  TRect Bounds;
  TTextTarget Target;
};

inline TFontFace& Face(const std::string& name, int height, int weight = 400, bool italic = false) {
  return TFontEngine::Instance().Face(TLogFont{name, height, weight, italic});
}

// Writes a binary PPM when TEXTBOOK_TEXT_SPECIMEN names a folder, for a person to look at.
inline void MaybeWriteSpecimen(const TBitmap& bitmap, const std::string& name) {
  const char* folder = std::getenv("TEXTBOOK_TEXT_SPECIMEN");
  if (!folder || !*folder) return;
  std::ofstream out(std::string(folder) + "/" + name + ".ppm", std::ios::binary);
  out << "P6\n" << bitmap.Width() << " " << bitmap.Height() << "\n255\n";
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) {
      const COLORREF c = Rgb(bitmap, x, y);
      const char rgb[3] = {static_cast<char>(GetRValue(c)), static_cast<char>(GetGValue(c)),
                           static_cast<char>(GetBValue(c))};
      out.write(rgb, 3);
    }
}

}  // namespace gfxtext
