#pragma once
// Test images shared by the renderer benchmarks.
#include <cstdint>
#include <random>

#include "platform/gfx/Bitmap.h"

constexpr int kBenchWidth = 1024;
constexpr int kBenchHeight = 768;

inline TBitmap NoiseBitmap(int w, int h, TPixelFormat format, unsigned seed) {
  TBitmap b(w, h, format);
  std::mt19937 rng(seed);
  for (int y = 0; y < h; ++y) {
    std::uint8_t* row = b.ScanLine(y);
    for (std::ptrdiff_t i = 0; i < b.RowBytes(); ++i) row[i] = static_cast<std::uint8_t>(rng());
  }
  return b;
}
