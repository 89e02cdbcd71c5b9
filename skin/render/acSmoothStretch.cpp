#include "skin/render/acSmoothStretch.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <vector>

#include "platform/base/Exception.h"

namespace {

TacStretchFilter FilterOf(int filter) {
  return filter >= 0 && filter < kStretchFilterCount ? static_cast<TacStretchFilter>(filter) : sfBox;
}

double Sinc(double x) {
  if (x == 0.0) return 1.0;
  const double px = std::numbers::pi * x;
  return std::sin(px) / px;
}

// Contributions of source pixels to each output position: flat arrays indexed
// through Start, byte offsets already multiplied by the pixel or row size.
struct TContributions {
  std::vector<int> Start;             // size n + 1
  std::vector<std::ptrdiff_t> Offset; // source offset of each contributor
  std::vector<int> Weight;            // 16.16
};

// Half-sample symmetric mirror, periodic, so any index lands inside 0..n-1.
int Mirror(int j, int n) {
  const int period = 2 * n;
  j %= period;
  if (j < 0) j += period;
  return j < n ? j : period - 1 - j;
}

TContributions BuildContributions(int srcSize, int dstSize, TacStretchFilter filter, std::ptrdiff_t unit) {
  TContributions c;
  c.Start.reserve(static_cast<std::size_t>(dstSize) + 1);
  const double scale = static_cast<double>(dstSize) / srcSize;
  const double support = StretchFilterSupport(filter);
  // Shrinking widens the filter by the scale so every source pixel counts.
  const double fscale = scale < 1.0 ? scale : 1.0;
  const double width = support / fscale;
  std::vector<double> raw;
  std::vector<int> index;
  for (int i = 0; i < dstSize; ++i) {
    c.Start.push_back(static_cast<int>(c.Weight.size()));
    // Pixel centres of both grids line up.
    const double center = (i + 0.5) / scale - 0.5;
    const int left = static_cast<int>(std::floor(center - width));
    const int right = static_cast<int>(std::ceil(center + width));
    raw.clear();
    index.clear();
    double total = 0.0;
    for (int j = left; j <= right; ++j) {
      const double w = StretchFilterValue(filter, (center - j) * fscale) * fscale;
      if (w == 0.0) continue;
      raw.push_back(w);
      index.push_back(Mirror(j, srcSize));
      total += w;
    }
    if (raw.empty() || std::fabs(total) < 1e-9) {
      // No weight reached a pixel: take the nearest one.
      c.Offset.push_back(Mirror(static_cast<int>(std::lround(center)), srcSize) * unit);
      c.Weight.push_back(65536);
      continue;
    }
    // Normalised so the integer weights sum to exactly 1.0: flat areas stay flat.
    int sum = 0;
    std::size_t largest = 0;
    const std::size_t first = c.Weight.size();
    for (std::size_t k = 0; k < raw.size(); ++k) {
      const int w = static_cast<int>(std::lround(raw[k] / total * 65536.0));
      c.Offset.push_back(index[k] * unit);
      c.Weight.push_back(w);
      sum += w;
      if (std::abs(w) > std::abs(c.Weight[first + largest])) largest = k;
    }
    c.Weight[first + largest] += 65536 - sum;
  }
  c.Start.push_back(static_cast<int>(c.Weight.size()));
  return c;
}

std::uint8_t ClampShift(int sum) {
  const int v = sum >> 16;
  return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

template <int Bpp>
void HorizontalPass(const TBitmap& src, TBitmap& dst, const TContributions& c) {
  const int w = dst.Width();
  const int h = dst.Height();
  const std::uint8_t* sRow = src.ScanLine(0);
  std::uint8_t* dRow = dst.ScanLine(0);
  const int* start = c.Start.data();
  const std::ptrdiff_t* offset = c.Offset.data();
  const int* weight = c.Weight.data();
  for (int y = 0; y < h; ++y, sRow += src.Stride(), dRow += dst.Stride()) {
    std::uint8_t* d = dRow;
    for (int x = 0; x < w; ++x, d += Bpp) {
      int acc[Bpp] = {};
      for (int k = start[x]; k < start[x + 1]; ++k) {
        const std::uint8_t* s = sRow + offset[k];
        const int wk = weight[k];
        for (int ch = 0; ch < Bpp; ++ch) acc[ch] += wk * s[ch];
      }
      for (int ch = 0; ch < Bpp; ++ch) d[ch] = ClampShift(acc[ch]);
    }
  }
}

void VerticalPass(const TBitmap& src, TBitmap& dst, const TContributions& c, int bpp) {
  const std::size_t rowBytes = static_cast<std::size_t>(dst.Width()) * static_cast<std::size_t>(bpp);
  std::vector<int> acc(rowBytes);
  const std::uint8_t* row0 = src.ScanLine(0);
  int* a = acc.data();
  for (int y = 0; y < dst.Height(); ++y) {
    std::fill(acc.begin(), acc.end(), 0);
    for (int k = c.Start[static_cast<std::size_t>(y)]; k < c.Start[static_cast<std::size_t>(y) + 1]; ++k) {
      const std::uint8_t* s = row0 + c.Offset[static_cast<std::size_t>(k)];
      const int wk = c.Weight[static_cast<std::size_t>(k)];
      for (std::size_t i = 0; i < rowBytes; ++i) a[i] += wk * s[i];
    }
    std::uint8_t* d = dst.ScanLine(y);
    for (std::size_t i = 0; i < rowBytes; ++i) d[i] = ClampShift(a[i]);
  }
}

}  // namespace

double StretchFilterSupport(int filter) {
  switch (FilterOf(filter)) {
    case sfBox: return 0.51;
    case sfTriangle: return 1.0;
    case sfHermite: return 1.0;
    case sfBell: return 1.5;
    case sfBSpline: return 2.0;
    case sfLanczos3: return 3.0;
    case sfMitchell: return 2.0;
  }
  return 0.51;
}

double StretchFilterValue(int filter, double x) {
  const double ax = std::fabs(x);
  switch (FilterOf(filter)) {
    case sfBox: return ax <= 0.5 ? 1.0 : 0.0;
    case sfTriangle: return ax < 1.0 ? 1.0 - ax : 0.0;
    case sfHermite: return ax < 1.0 ? (2.0 * ax - 3.0) * ax * ax + 1.0 : 0.0;
    case sfBell:
      if (ax < 0.5) return 0.75 - ax * ax;
      if (ax < 1.5) return 0.5 * (ax - 1.5) * (ax - 1.5);
      return 0.0;
    case sfBSpline:
      if (ax < 1.0) return 0.5 * ax * ax * ax - ax * ax + 2.0 / 3.0;
      if (ax < 2.0) return (2.0 - ax) * (2.0 - ax) * (2.0 - ax) / 6.0;
      return 0.0;
    case sfLanczos3: return ax < 3.0 ? Sinc(x) * Sinc(x / 3.0) : 0.0;
    case sfMitchell: {
      constexpr double b = 1.0 / 3.0;
      constexpr double c = 1.0 / 3.0;
      const double x2 = ax * ax;
      const double x3 = x2 * ax;
      if (ax < 1.0) return ((12 - 9 * b - 6 * c) * x3 + (-18 + 12 * b + 6 * c) * x2 + (6 - 2 * b)) / 6.0;
      if (ax < 2.0) return ((-b - 6 * c) * x3 + (6 * b + 30 * c) * x2 + (-12 * b - 48 * c) * ax + (8 * b + 24 * c)) / 6.0;
      return 0.0;
    }
  }
  return 0.0;
}

void SmoothStretch(const TBitmap& src, TBitmap& dst, int newWidth, int newHeight, int filter) {
  if (src.Width() < 2 || src.Height() < 2) throw Exception("Source bitmap is too small");
  if (newWidth == src.Width() && newHeight == src.Height()) {
    if (&dst != &src) dst.Assign(src);
    return;
  }
  // Work on a private 24- or 32-bit copy when the depth differs or dst is src.
  const bool is32 = src.PixelFormat() == TPixelFormat::pf32bit;
  const TPixelFormat format = is32 ? TPixelFormat::pf32bit : TPixelFormat::pf24bit;
  TBitmap copy;
  const TBitmap* source = &src;
  if (src.PixelFormat() != format || &dst == &src) {
    copy.Assign(src);
    copy.SetPixelFormat(format);
    source = &copy;
  }
  dst.SetPixelFormat(format);
  dst.SetSize(std::max(newWidth, 0), std::max(newHeight, 0));
  if (dst.Empty()) return;

  const int bpp = is32 ? 4 : 3;
  const TacStretchFilter f = FilterOf(filter);
  TBitmap work(dst.Width(), source->Height(), format, true);
  const TContributions across = BuildContributions(source->Width(), dst.Width(), f, bpp);
  if (is32)
    HorizontalPass<4>(*source, work, across);
  else
    HorizontalPass<3>(*source, work, across);
  const TContributions down = BuildContributions(source->Height(), dst.Height(), f, work.Stride());
  VerticalPass(work, dst, down, bpp);
}
