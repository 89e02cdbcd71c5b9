#include "tools/skin-art/LumenExtras.h"

#include <algorithm>
#include <cmath>

#include "tools/skin-art/ArtCell.h"
#include "tools/skin-art/LumenPaint.h"

using namespace lumen;

TBitmap PaintGlow(unsigned rgb) {
  constexpr int kW = 36, kH = 34;
  // A soft halo around a 12 x 12 core (the glow's default borders are 12 and 11),
  // strongest at the core's edge and fading out towards the picture's edge.
  const TArtColor c = Hex(rgb);
  TBitmap glow(kW, kH, TPixelFormat::pf32bit, true);
  for (int y = 0; y < kH; ++y) {
    std::uint8_t* row = glow.ScanLine(y);
    for (int x = 0; x < kW; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double dx = std::max({12.0 - px, 0.0, px - 24.0});
      const double dy = std::max({11.0 - py, 0.0, py - 23.0});
      const double d = std::sqrt(dx * dx + dy * dy);
      double a = 1.0 - d / 11.5;
      a = a <= 0 ? 0 : a * a * (3 - 2 * a);  // smoothstep
      if (dx == 0 && dy == 0) a = 1.0;
      const int alpha = static_cast<int>(std::lround(a * 150));
      std::uint8_t* p = row + x * 4;
      if (alpha == 0) {
        p[0] = p[1] = p[2] = p[3] = 0;
        continue;
      }
      p[0] = static_cast<std::uint8_t>(std::lround(c.B));
      p[1] = static_cast<std::uint8_t>(std::lround(c.G));
      p[2] = static_cast<std::uint8_t>(std::lround(c.R));
      p[3] = static_cast<std::uint8_t>(alpha);
    }
  }
  return glow;
}

TBitmap PaintHugeButton() {
  constexpr int kCell = 96;
  TBitmap rgb(kCell * 3, kCell * 2, TPixelFormat::pf24bit);
  const unsigned outlines[3] = {0x6F8FB2, kHotBlue, kDeepBlue};
  const unsigned tops[3] = {0xFFFFFF, 0xFFFFFF, 0xC9DCEC};
  const unsigned bottoms[3] = {0xB7CCE2, 0xA6D5F5, 0x86A8CB};
  for (int state = 0; state < 3; ++state) {
    TArtCell cell(kCell, kCell);
    const double r = 12;
    const TArtShape outer = RoundRect(1, 1, kCell - 1, kCell - 1, r);
    const TArtShape inner = RoundRect(2.5, 2.5, kCell - 2.5, kCell - 2.5, r - 1.5);
    // A faint drop shadow below the plate, then the plate with its own face.
    cell.Paint(RoundRect(1, 3, kCell - 1, kCell, r), Hex(kNavy), state == 2 ? 0.0 : 0.12);
    cell.Paint(outer, Hex(outlines[state]), 1.0);
    cell.PaintVertical(inner, Hex(tops[state]), Hex(bottoms[state]), 2.5, kCell - 2.5, 1.0);
    if (state < 2)
      cell.Paint(Ring(inner, RoundRect(3.5, 3.5, kCell - 3.5, kCell - 3.5, r - 2.5)), Hex(kWhite), 0.7);
    else
      cell.Paint(Ring(inner, RoundRect(2.5, 4.5, kCell - 2.5, kCell - 2.5, r - 1.5)), Hex(kNavy), 0.25);
    cell.WriteMasked(rgb, state * kCell, 0);
  }
  // An 8-bit palette: the 24-bit colours are few (three ramps, greys, the key).
  TBitmap out(rgb.Width(), rgb.Height(), TPixelFormat::pf8bit);
  std::vector<TRGBQuad> palette;
  palette.push_back({255, 0, 255, 0});  // the key, index 0
  for (int g = 0; g <= 255; g += 3) palette.push_back({static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(g), 0});
  auto ramp = [&](unsigned a, unsigned b, int steps) {
    const TArtColor ca = Hex(a), cb = Hex(b);
    for (int i = 0; i < steps; ++i) {
      const TArtColor m = Mix(ca, cb, steps > 1 ? static_cast<double>(i) / (steps - 1) : 0);
      palette.push_back({static_cast<std::uint8_t>(std::lround(m.B)), static_cast<std::uint8_t>(std::lround(m.G)),
                         static_cast<std::uint8_t>(std::lround(m.R)), 0});
    }
  };
  for (int s = 0; s < 3; ++s) ramp(tops[s], bottoms[s], 32);
  for (int s = 0; s < 3; ++s) ramp(outlines[s], 0xFFFFFF, 12);
  ramp(kNavy, 0xFFFFFF, 256 - static_cast<int>(palette.size()));
  palette.resize(256);
  out.Palette() = palette;
  for (int y = 0; y < rgb.Height(); ++y)
    for (int x = 0; x < rgb.Width(); ++x) out.SetPixel(x, y, rgb.Pixel(x, y));
  return out;
}
