#include "skin/render/sGradientPaint.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/gfx/DeviceContext.h"
#include "skin/render/acPixelKernels.h"

#if defined(__x86_64__) || defined(__SSE2__)
#include <immintrin.h>
#endif

namespace {

struct TChannels {
  float B, G, R;
};

TChannels ChannelsOf(std::int32_t color) {
  const auto c = static_cast<std::uint32_t>(color);
  return {static_cast<float>((c >> 16) & 0xFF), static_cast<float>((c >> 8) & 0xFF), static_cast<float>(c & 0xFF)};
}

std::uint8_t ToByte(float v) {
  // Default rounding mode: nearest, ties to even. The conversion instruction is what
  // lrint does, without a library call per channel.
#if defined(__x86_64__)
  const long r = static_cast<long>(_mm_cvtss_si64(_mm_set_ss(v)));
#else
  const long r = std::lrint(v);
#endif
  return static_cast<std::uint8_t>(std::clamp(r, 0L, 255L));
}

int PercentOf(const TsGradPie& stop) { return std::min<int>(stop.Percent, 100); }

void PaintVertical(TBitmap& bitmap, const TRect& r, const TsGradArray& stops, int bpp) {
  const int h = r.Height();
  const int last = r.Bottom - 1;
  const int width = r.Width();
  const std::ptrdiff_t stride = bitmap.Stride();
  int y = r.Top;
  for (std::size_t i = 0; i < stops.size(); ++i) {
    const int y0 = y;
    y = y0 + PercentOf(stops[i]) * h / 100;
    y = i + 1 == stops.size() ? last : std::min(y, last);
    if (y - y0 <= 0) continue;
    const TChannels a = ChannelsOf(stops[i].Color1);
    const TChannels b = ChannelsOf(stops[i].Color2);
    const float n = static_cast<float>(y - y0);
    const TChannels step{(b.B - a.B) / n, (b.G - a.G) / n, (b.R - a.R) / n};
    TChannels acc = a;
    std::uint8_t* row = bitmap.ScanLine(y0) + r.Left * bpp;
    for (int yy = y0; yy <= y; ++yy, row += stride) {
      const std::uint8_t pixel[4] = {ToByte(acc.B), ToByte(acc.G), ToByte(acc.R), 255};
      FillPixels(row, static_cast<std::size_t>(width), pixel, bpp);
      acc.B += step.B;
      acc.G += step.G;
      acc.R += step.R;
    }
  }
}

void PaintHorizontal(TBitmap& bitmap, const TRect& r, const TsGradArray& stops, int bpp) {
  const int w = r.Width();
  const int last = r.Right - 1;
  // Every row is the same: build the first one, copy it down.
  std::uint8_t* first = bitmap.ScanLine(r.Top) + r.Left * bpp;
  int x = r.Left;
  int drawnFrom = r.Right, drawnTo = r.Left - 1;
  for (std::size_t i = 0; i < stops.size(); ++i) {
    const int x0 = x;
    x = static_cast<int>(std::nearbyint(x0 + PercentOf(stops[i]) * static_cast<double>(w) / 100.0));
    x = i + 1 == stops.size() ? last : std::min(x, last);
    if (x - x0 <= 0) continue;
    drawnFrom = std::min(drawnFrom, x0);
    drawnTo = std::max(drawnTo, x);
    const TChannels a = ChannelsOf(stops[i].Color1);
    const TChannels b = ChannelsOf(stops[i].Color2);
    const float n = static_cast<float>(x - x0);
    const TChannels step{(b.B - a.B) / n, (b.G - a.G) / n, (b.R - a.R) / n};
    TChannels acc = a;
    std::uint8_t* p = first + (x0 - r.Left) * bpp;
    for (int xx = x0; xx <= x; ++xx, p += bpp) {
      p[0] = ToByte(acc.B);
      p[1] = ToByte(acc.G);
      p[2] = ToByte(acc.R);
      if (bpp == 4) p[3] = 255;
      acc.B += step.B;
      acc.G += step.G;
      acc.R += step.R;
    }
  }
  if (drawnTo < drawnFrom) return;
  const std::size_t bytes = static_cast<std::size_t>(drawnTo - drawnFrom + 1) * static_cast<std::size_t>(bpp);
  std::uint8_t* span = first + (drawnFrom - r.Left) * bpp;
  std::uint8_t* row = span + bitmap.Stride();
  for (int y = r.Top + 1; y < r.Bottom; ++y, row += bitmap.Stride()) std::memcpy(row, span, bytes);
}

void PaintTriangles(TBitmap& bitmap, const TRect& r, const TsGradArray& stops) {
  TRIVERTEX v[5];
  std::int32_t color = stops[0].Color1;
  for (std::size_t i = 0; i < 5; ++i) {
    if (i < stops.size()) color = stops[i].Color1;  // a missing stop repeats the previous colour
    const auto c = static_cast<std::uint32_t>(color);
    v[i].Red = static_cast<COLOR16>((c & 0xFF) << 8);
    v[i].Green = static_cast<COLOR16>(((c >> 8) & 0xFF) << 8);
    v[i].Blue = static_cast<COLOR16>(((c >> 16) & 0xFF) << 8);
    v[i].Alpha = 0xFF00;
  }
  const TPoint corner[5] = {{r.Left, r.Top},
                            {r.Left + r.Width() / 2, r.Top + r.Height() / 2},
                            {r.Right, r.Top},
                            {r.Right, r.Bottom},
                            {r.Left, r.Bottom}};
  for (int i = 0; i < 5; ++i) {
    v[i].x = corner[i].X;
    v[i].y = corner[i].Y;
  }
  const GRADIENT_TRIANGLE triangles[4] = {{0, 1, 2}, {1, 2, 3}, {0, 1, 4}, {4, 1, 3}};
  GradientFillTriangles(bitmap, r, v, 5, triangles, 4);
}

}  // namespace

void PaintGradient(TBitmap& bitmap, TRect rect, const TsGradArray& stops) {
  if (stops.empty()) return;
  const bool is32 = bitmap.PixelFormat() == TPixelFormat::pf32bit;
  if (!is32 && bitmap.PixelFormat() != TPixelFormat::pf24bit) return;
  if (bitmap.Width() < 2 || bitmap.Height() < 2) return;
  const TRect r{std::max(rect.Left, 0), std::max(rect.Top, 0), std::min(rect.Right, bitmap.Width()),
                std::min(rect.Bottom, bitmap.Height())};
  if (r.IsEmpty()) return;
  const int bpp = is32 ? 4 : 3;
  switch (stops.front().Mode) {
    case 0: PaintVertical(bitmap, r, stops, bpp); break;
    case 1: PaintHorizontal(bitmap, r, stops, bpp); break;
    case 2: PaintTriangles(bitmap, r, stops); break;
    default: break;  // unknown modes paint nothing
  }
}
