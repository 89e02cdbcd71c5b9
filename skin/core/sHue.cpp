#include "skin/core/sHue.h"

#include <cmath>

#include "platform/gfx/Bitmap.h"

namespace {

struct TRgb {
  int R, G, B;
};

// Six-sector HSV rotation. Floating point, as the hue arithmetic is defined
// that way; inlined so the pixel loops do not call out per pixel.
inline TRgb RotateHue(int r, int g, int b, int degrees) {
  const int maxC = r > g ? (r > b ? r : b) : (g > b ? g : b);
  const int minC = r < g ? (r < b ? r : b) : (g < b ? g : b);
  if (maxC == minC) return {r, g, b};
  const double delta = maxC - minC;
  double hue;
  if (maxC == r)
    hue = 60.0 * (g - b) / delta;
  else if (maxC == g)
    hue = 60.0 * (b - r) / delta + 120.0;
  else
    hue = 60.0 * (r - g) / delta + 240.0;
  int h = static_cast<int>(std::lround(hue + degrees)) % 360;
  if (h < 0) h += 360;
  const double v = maxC;
  const double s = delta / maxC;
  const int sector = h / 60;
  const double f = (h - sector * 60) / 60.0;
  const double p = v * (1.0 - s);
  const double q = v * (1.0 - s * f);
  const double t = v * (1.0 - s * (1.0 - f));
  double rr = v, gg = v, bb = v;
  switch (sector) {
    case 0: rr = v; gg = t; bb = p; break;
    case 1: rr = q; gg = v; bb = p; break;
    case 2: rr = p; gg = v; bb = t; break;
    case 3: rr = p; gg = q; bb = v; break;
    case 4: rr = t; gg = p; bb = v; break;
    default: rr = v; gg = p; bb = q; break;
  }
  auto channel = [](double c) {
    const long value = std::lround(c);
    return static_cast<int>(value < 0 ? 0 : (value > 255 ? 255 : value));
  };
  return {channel(rr), channel(gg), channel(bb)};
}

// c + a * (m - c) / 100 with m = sum / 3, rounded half away from zero and
// clamped; kept in integers: (300c + a(sum - 3c)) / 300.
inline int SaturateChannel(int c, int sum, int amount) {
  const int n = 300 * c + amount * (sum - 3 * c);
  const int v = n >= 0 ? (n + 150) / 300 : -((-n + 150) / 300);
  return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// Pixels left alone: the transparent key and greys.
inline bool KeepPixel(int r, int g, int b) {
  return (r == 255 && g == 0 && b == 255) || (r == g && g == b);
}

void PrepareBitmap(TBitmap& bitmap) {
  if (bitmap.PixelFormat() != TPixelFormat::pf24bit && bitmap.PixelFormat() != TPixelFormat::pf32bit)
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
}

}  // namespace

TColor ShiftHueColor(TColor color, int degrees) {
  if (degrees == 0) return color;
  const TRgb out = RotateHue(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF, degrees);
  return static_cast<TColor>((static_cast<std::uint32_t>(color) & 0xFF000000u) |
                             static_cast<std::uint32_t>(out.R | (out.G << 8) | (out.B << 16)));
}

int SaturationAmount(int saturation) {
  // C++ remainder keeps the sign of the dividend, which is the rule wanted here;
  // negating after the remainder cannot overflow for INT_MIN.
  return -(saturation % 101);
}

TColor ShiftSaturationColor(TColor color, int saturation) {
  const int amount = SaturationAmount(saturation);
  if (amount == 0) return color;
  const int r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
  const int sum = r + g + b;
  const int nr = SaturateChannel(r, sum, amount);
  const int ng = SaturateChannel(g, sum, amount);
  const int nb = SaturateChannel(b, sum, amount);
  return static_cast<TColor>((static_cast<std::uint32_t>(color) & 0xFF000000u) |
                             static_cast<std::uint32_t>(nr | (ng << 8) | (nb << 16)));
}

void ShiftHueBitmap(TBitmap& bitmap, int degrees) {
  if (degrees == 0 || bitmap.Empty()) return;
  PrepareBitmap(bitmap);
  const int bytesPerPixel = bitmap.PixelFormat() == TPixelFormat::pf32bit ? 4 : 3;
  const int width = bitmap.Width();
  std::uint8_t* row = bitmap.ScanLine(0);
  const std::ptrdiff_t stride = bitmap.Stride();
  // Skins repeat few colours; remember the last one to skip most conversions.
  int lastIn = -1, lastOut = 0;
  for (int y = 0; y < bitmap.Height(); ++y, row += stride) {
    std::uint8_t* p = row;
    for (int x = 0; x < width; ++x, p += bytesPerPixel) {
      const int b = p[0], g = p[1], r = p[2];
      if (KeepPixel(r, g, b)) continue;
      const int key = r | (g << 8) | (b << 16);
      if (key != lastIn) {
        const TRgb out = RotateHue(r, g, b, degrees);
        lastIn = key;
        lastOut = out.R | (out.G << 8) | (out.B << 16);
      }
      p[0] = static_cast<std::uint8_t>(lastOut >> 16);
      p[1] = static_cast<std::uint8_t>(lastOut >> 8);
      p[2] = static_cast<std::uint8_t>(lastOut);
    }
  }
}

void ShiftSaturationBitmap(TBitmap& bitmap, int saturation) {
  const int amount = SaturationAmount(saturation);
  if (amount == 0 || bitmap.Empty()) return;
  PrepareBitmap(bitmap);
  const int bytesPerPixel = bitmap.PixelFormat() == TPixelFormat::pf32bit ? 4 : 3;
  const int width = bitmap.Width();
  std::uint8_t* row = bitmap.ScanLine(0);
  const std::ptrdiff_t stride = bitmap.Stride();
  for (int y = 0; y < bitmap.Height(); ++y, row += stride) {
    std::uint8_t* p = row;
    for (int x = 0; x < width; ++x, p += bytesPerPixel) {
      const int b = p[0], g = p[1], r = p[2];
      if (KeepPixel(r, g, b)) continue;
      const int sum = r + g + b;
      p[0] = static_cast<std::uint8_t>(SaturateChannel(b, sum, amount));
      p[1] = static_cast<std::uint8_t>(SaturateChannel(g, sum, amount));
      p[2] = static_cast<std::uint8_t>(SaturateChannel(r, sum, amount));
    }
  }
}
