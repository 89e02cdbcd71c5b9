// The textbook icon: coverage-sampled shapes, so its edges are smooth at 16 px.
#include "skin/frame/acAppIcon.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr unsigned kTile = 0x77ABDB;  // panel gradient top
constexpr unsigned kTileEdge = 0x4978AB;
constexpr unsigned kPage = 0xFFFFFF;
constexpr unsigned kPageShade = 0xD0EBFF;
constexpr unsigned kSpine = 0x243953;  // the navy of the texts
constexpr unsigned kLines = 0x8CAAC8;

// The pages lift towards the spine: their edges fall by `Sag` from the outer
// corners to the middle.
constexpr double kPageTop = 0.24, kPageBottom = 0.80, kSag = 0.05;
double Sag(double u) { return kSag * (1 - std::abs(u - 0.5) * 2); }

// A band that follows the pages' slope from u0 to u1, `top` below the page top.
TIconShape Band(double u0, double u1, double top, double bottom, unsigned rgb) {
  return {TIconShape::TKind::Polygon,
          {{u0, kPageTop + Sag(u0) + top},
           {u1, kPageTop + Sag(u1) + top},
           {u1, kPageTop + Sag(u1) + bottom},
           {u0, kPageTop + Sag(u0) + bottom}},
          0,
          rgb};
}

std::vector<TIconShape> MakeShapes() {
  using K = TIconShape::TKind;
  const double height = kPageBottom - kPageTop;
  std::vector<TIconShape> shapes = {
      {K::RoundRect, {{0, 0}, {1, 1}}, 0.2, kTileEdge},
      {K::RoundRect, {{0.07, 0.07}, {0.93, 0.93}}, 0.13, kTile},
      Band(0.16, 0.5, 0, height, kPage),
      Band(0.5, 0.84, 0, height, kPageShade),
  };
  // The spine: its top and bottom bend at the middle, so it is two bands.
  shapes.push_back(Band(0.465, 0.5, 0, height, kSpine));
  shapes.push_back(Band(0.5, 0.535, 0, height, kSpine));
  // Three lines of text on each page.
  for (int line = 1; line <= 3; ++line) {
    const double top = line * 0.125, bottom = top + 0.035;
    shapes.push_back(Band(0.22, 0.41, top, bottom, kLines));
    shapes.push_back(Band(0.59, 0.78, top, bottom, kLines));
  }
  return shapes;
}

bool Covers(const TIconShape& s, double u, double v) {
  switch (s.Kind) {
    case TIconShape::TKind::RoundRect: {
      const auto [l, t] = s.Points[0];
      const auto [r, b] = s.Points[1];
      if (u < l || u > r || v < t || v > b) return false;
      const double cx = std::clamp(u, l + s.Radius, r - s.Radius), cy = std::clamp(v, t + s.Radius, b - s.Radius);
      return std::hypot(u - cx, v - cy) <= s.Radius;
    }
    case TIconShape::TKind::Polygon:
      // Inside a clockwise convex polygon (y down): right of no edge.
      for (size_t i = 0; i < s.Points.size(); ++i) {
        const auto [x0, y0] = s.Points[i];
        const auto [x1, y1] = s.Points[(i + 1) % s.Points.size()];
        if ((x1 - x0) * (v - y0) - (y1 - y0) * (u - x0) < 0) return false;
      }
      return true;
  }
  return false;
}

}  // namespace

const std::vector<TIconShape>& TextbookIconShapes() {
  static const std::vector<TIconShape> shapes = MakeShapes();
  return shapes;
}

TBitmap DrawTextbookIcon(int size) {
  size = std::max(size, 1);
  const std::vector<TIconShape>& shapes = TextbookIconShapes();
  TBitmap icon(size, size, TPixelFormat::pf32bit, true);
  constexpr int kSamples = 4;  // 4 x 4 samples a pixel
  for (int y = 0; y < size; ++y) {
    std::uint8_t* row = icon.ScanLine(y);
    for (int x = 0; x < size; ++x) {
      unsigned r = 0, g = 0, b = 0, covered = 0;
      for (int sy = 0; sy < kSamples; ++sy)
        for (int sx = 0; sx < kSamples; ++sx) {
          const double u = (x + (sx + 0.5) / kSamples) / size, v = (y + (sy + 0.5) / kSamples) / size;
          auto top = std::find_if(shapes.rbegin(), shapes.rend(), [&](const TIconShape& s) { return Covers(s, u, v); });
          if (top == shapes.rend()) continue;
          r += top->Rgb >> 16, g += (top->Rgb >> 8) & 0xFF, b += top->Rgb & 0xFF, ++covered;
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

std::string TextbookIconSvg() {
  constexpr double kUnits = 256;
  std::string svg =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n";
  char buffer[160];
  for (const TIconShape& s : TextbookIconShapes()) {
    switch (s.Kind) {
      case TIconShape::TKind::RoundRect: {
        const auto [l, t] = s.Points[0];
        const auto [r, b] = s.Points[1];
        std::snprintf(buffer, sizeof buffer,
                      "  <rect x=\"%.2f\" y=\"%.2f\" width=\"%.2f\" height=\"%.2f\" rx=\"%.2f\" fill=\"#%06X\" stroke=\"none\"/>\n",
                      l * kUnits, t * kUnits, (r - l) * kUnits, (b - t) * kUnits, s.Radius * kUnits, s.Rgb);
        svg += buffer;
        break;
      }
      case TIconShape::TKind::Polygon: {
        svg += "  <polygon points=\"";
        for (size_t i = 0; i < s.Points.size(); ++i) {
          std::snprintf(buffer, sizeof buffer, "%s%.2f,%.2f", i ? " " : "", s.Points[i].first * kUnits,
                        s.Points[i].second * kUnits);
          svg += buffer;
        }
        std::snprintf(buffer, sizeof buffer, "\" fill=\"#%06X\" stroke=\"none\"/>\n", s.Rgb);
        svg += buffer;
        break;
      }
    }
  }
  return svg + "</svg>\n";
}
