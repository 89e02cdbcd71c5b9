// The textbook icon: coverage-sampled shapes, so its edges are smooth at 16 px.
#include "skin/frame/acAppIcon.h"

#include <algorithm>
#include <cmath>

namespace {

struct TRgb {
  int R, G, B;
};

constexpr TRgb kTile{0x77, 0xAB, 0xDB};    // panel gradient top
constexpr TRgb kTileEdge{0x49, 0x78, 0xAB};
constexpr TRgb kPage{0xFF, 0xFF, 0xFF};
constexpr TRgb kPageShade{0xD0, 0xEB, 0xFF};
constexpr TRgb kSpine{0x24, 0x39, 0x53};   // the navy of the texts
constexpr TRgb kLines{0x8C, 0xAA, 0xC8};

// Which layer covers (u, v) in a unit square (0..1); -1 none.
int LayerAt(double u, double v) {
  // Rounded tile.
  const double r = 0.2;
  const double cx = std::clamp(u, r, 1 - r), cy = std::clamp(v, r, 1 - r);
  const double d = std::hypot(u - cx, v - cy);
  if (d > r) return -1;
  const bool edge = d > r - 0.07 || u < 0.05 || v < 0.05 || u > 0.95 || v > 0.95;
  // Two pages, lifted at the outer corners, with a spine in the middle.
  const double pageTop = 0.24;
  const double sag = 0.05 * (1 - std::abs(u - 0.5) * 2);
  if (u > 0.16 && u < 0.84 && v > pageTop + sag && v < 0.80 + sag) {
    if (std::abs(u - 0.5) < 0.035) return 3;
    const double line = std::fmod((v - pageTop - sag) * 8.0, 1.0);
    if (v > 0.36 + sag && v < 0.70 + sag && line < 0.28 && std::abs(u - 0.5) > 0.09 && std::abs(u - 0.5) < 0.28)
      return 4;
    return u < 0.5 ? 2 : 5;
  }
  return edge ? 1 : 0;
}

TRgb LayerColor(int layer) {
  switch (layer) {
    case 0: return kTile;
    case 1: return kTileEdge;
    case 2: return kPage;
    case 3: return kSpine;
    case 4: return kLines;
    default: return kPageShade;
  }
}

}  // namespace

TBitmap DrawTextbookIcon(int size) {
  size = std::max(size, 1);
  TBitmap icon(size, size, TPixelFormat::pf32bit, true);
  constexpr int kSamples = 4;  // 4 x 4 samples a pixel
  for (int y = 0; y < size; ++y) {
    std::uint8_t* row = icon.ScanLine(y);
    for (int x = 0; x < size; ++x) {
      int r = 0, g = 0, b = 0, covered = 0;
      for (int sy = 0; sy < kSamples; ++sy)
        for (int sx = 0; sx < kSamples; ++sx) {
          const double u = (x + (sx + 0.5) / kSamples) / size, v = (y + (sy + 0.5) / kSamples) / size;
          const int layer = LayerAt(u, v);
          if (layer < 0) continue;
          const TRgb c = LayerColor(layer);
          r += c.R, g += c.G, b += c.B, ++covered;
        }
      std::uint8_t* p = row + x * 4;
      if (covered == 0) {
        p[0] = p[1] = p[2] = p[3] = 0;
        continue;
      }
      p[0] = static_cast<std::uint8_t>(b / covered);
      p[1] = static_cast<std::uint8_t>(g / covered);
      p[2] = static_cast<std::uint8_t>(r / covered);
      p[3] = static_cast<std::uint8_t>(covered * 255 / (kSamples * kSamples));
    }
  }
  return icon;
}
