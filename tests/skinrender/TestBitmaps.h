#pragma once
// Helpers shared by the renderer tests: random bitmaps and raw byte access.
#include <cstdint>
#include <random>

#include "platform/gfx/Bitmap.h"

inline int Bpp(const TBitmap& b) { return b.PixelFormat() == TPixelFormat::pf32bit ? 4 : 3; }

inline std::uint8_t& ByteAt(TBitmap& b, int x, int y, int c) { return b.ScanLine(y)[x * Bpp(b) + c]; }
inline std::uint8_t ByteAt(const TBitmap& b, int x, int y, int c) { return b.ScanLine(y)[x * Bpp(b) + c]; }

inline TBitmap RandomBitmap(std::mt19937& rng, int w, int h, TPixelFormat format, bool topDown) {
  TBitmap b(w, h, format, topDown);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w * Bpp(b); ++x) b.ScanLine(y)[x] = static_cast<std::uint8_t>(byte(rng));
  return b;
}

// Pixel bytes equal (row padding ignored).
inline bool SamePixels(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.PixelFormat() != b.PixelFormat()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width() * Bpp(a); ++x)
      if (a.ScanLine(y)[x] != b.ScanLine(y)[x]) return false;
  return true;
}
