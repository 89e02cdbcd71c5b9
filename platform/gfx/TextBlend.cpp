#include "platform/gfx/TextBlend.h"

#include <cstdint>

namespace {

// Blue and red share one multiply (16-bit lanes, bits 0-15 and 16-31); each lane
// gets the exact round((s * a + d * (255 - a)) / 255) by the add-shift division.
inline std::uint32_t MixPair(std::uint32_t src, std::uint32_t dst, std::uint32_t cov) {
  const std::uint32_t v = src * cov + dst * (255u - cov) + 0x00800080u;
  return ((v + ((v >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
}

inline std::uint8_t Mix(unsigned src, unsigned dst, unsigned cov) {
  const unsigned v = src * cov + dst * (255u - cov) + 128u;
  return static_cast<std::uint8_t>((v + (v >> 8)) >> 8);
}

template <int kBpp>
void BlendLoop(TBitmap& target, std::span<const TRect> clip, std::span<const TPlacedGlyph> glyphs, int baseline,
               COLORREF color) {
  const unsigned red = GetRValue(color);
  const unsigned green = GetGValue(color);
  const unsigned blue = GetBValue(color);
  const std::uint32_t blueRed = blue | (red << 16);
  const TRect bounds{0, 0, target.Width(), target.Height()};
  std::uint8_t* const row0 = target.ScanLine(0);
  const std::ptrdiff_t stride = target.Stride();
  for (const TPlacedGlyph& placed : glyphs) {
    const TGlyph& g = *placed.Glyph;
    if (g.Width == 0) continue;
    const int gx = placed.X + g.Left;
    const int gy = baseline - g.Top;
    const TRect box = TRect{gx, gy, gx + g.Width, gy + g.Rows}.Intersect(bounds);
    if (box.IsEmpty()) continue;
    for (const TRect& c : clip) {
      const TRect r = box.Intersect(c);
      if (r.IsEmpty()) continue;
      const int width = r.Width();
      const std::uint8_t* cov = g.Coverage.data() + static_cast<std::ptrdiff_t>(r.Top - gy) * g.Width + (r.Left - gx);
      std::uint8_t* row = row0 + static_cast<std::ptrdiff_t>(r.Top) * stride + static_cast<std::ptrdiff_t>(r.Left) * kBpp;
      for (int y = r.Top; y < r.Bottom; ++y, cov += g.Width, row += stride) {
        std::uint8_t* p = row;
        for (int x = 0; x < width; ++x, p += kBpp) {
          const unsigned a = cov[x];
          if (a == 0) continue;
          if (a == 255) {
            p[0] = static_cast<std::uint8_t>(blue);
            p[1] = static_cast<std::uint8_t>(green);
            p[2] = static_cast<std::uint8_t>(red);
          } else {
            const std::uint32_t pair = MixPair(blueRed, p[0] | (static_cast<std::uint32_t>(p[2]) << 16), a);
            p[0] = static_cast<std::uint8_t>(pair);
            p[1] = Mix(green, p[1], a);
            p[2] = static_cast<std::uint8_t>(pair >> 16);
          }
          if constexpr (kBpp == 4) p[3] = 255;
        }
      }
    }
  }
}

template <int kBpp>
void FillLoop(TBitmap& target, std::span<const TRect> clip, const TRect& rect, COLORREF color) {
  const TRect box = rect.Intersect({0, 0, target.Width(), target.Height()});
  if (box.IsEmpty()) return;
  const auto red = static_cast<std::uint8_t>(GetRValue(color));
  const auto green = static_cast<std::uint8_t>(GetGValue(color));
  const auto blue = static_cast<std::uint8_t>(GetBValue(color));
  std::uint8_t* const row0 = target.ScanLine(0);
  const std::ptrdiff_t stride = target.Stride();
  for (const TRect& c : clip) {
    const TRect r = box.Intersect(c);
    if (r.IsEmpty()) continue;
    std::uint8_t* row = row0 + static_cast<std::ptrdiff_t>(r.Top) * stride + static_cast<std::ptrdiff_t>(r.Left) * kBpp;
    for (int y = r.Top; y < r.Bottom; ++y, row += stride) {
      std::uint8_t* p = row;
      for (int x = r.Left; x < r.Right; ++x, p += kBpp) {
        p[0] = blue;
        p[1] = green;
        p[2] = red;
        if constexpr (kBpp == 4) p[3] = 255;
      }
    }
  }
}

}  // namespace

void BlendGlyphs(TBitmap& target, std::span<const TRect> clip, std::span<const TPlacedGlyph> glyphs, int baseline,
                 COLORREF color) {
  if (target.Empty()) return;
  switch (target.PixelFormat()) {
    case TPixelFormat::pf24bit: BlendLoop<3>(target, clip, glyphs, baseline, color); return;
    case TPixelFormat::pf32bit: BlendLoop<4>(target, clip, glyphs, baseline, color); return;
    case TPixelFormat::pf1bit:
    case TPixelFormat::pf4bit:
    case TPixelFormat::pf8bit: return;
  }
}

void FillClipped(TBitmap& target, std::span<const TRect> clip, const TRect& rect, COLORREF color) {
  if (target.Empty()) return;
  switch (target.PixelFormat()) {
    case TPixelFormat::pf24bit: FillLoop<3>(target, clip, rect, color); return;
    case TPixelFormat::pf32bit: FillLoop<4>(target, clip, rect, color); return;
    case TPixelFormat::pf1bit:
    case TPixelFormat::pf4bit:
    case TPixelFormat::pf8bit: return;
  }
}
