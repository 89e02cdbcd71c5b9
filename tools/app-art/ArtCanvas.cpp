#include "tools/app-art/ArtCanvas.h"

#include <algorithm>
#include <cmath>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/GdiObject.h"

TArtRgb Rgb(unsigned hex) {
  return {((hex >> 16) & 0xFF) / 255.0, ((hex >> 8) & 0xFF) / 255.0, (hex & 0xFF) / 255.0};
}

TArtRgb Mix(TArtRgb a, TArtRgb b, double t) {
  return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t};
}

namespace {

double Clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

TArtBox Grow(TArtBox b, double by) { return {b.Left - by, b.Top - by, b.Right + by, b.Bottom + by}; }

}  // namespace

TArtShape Circle(double cx, double cy, double r) {
  return {[=](double x, double y) { return std::hypot(x - cx, y - cy) - r; }, {cx - r, cy - r, cx + r, cy + r}};
}

TArtShape Ellipse(double cx, double cy, double rx, double ry) {
  // A close approximation of the true distance, good enough for anti-aliasing.
  return {[=](double x, double y) {
            const double px = (x - cx) / rx, py = (y - cy) / ry;
            const double k0 = std::hypot(px, py);
            const double k1 = std::hypot(px / rx, py / ry);
            if (k1 < 1e-9) return -std::min(rx, ry);
            return k0 * (k0 - 1.0) / k1;
          },
          {cx - rx, cy - ry, cx + rx, cy + ry}};
}

TArtShape RoundRect(double left, double top, double right, double bottom, double radius) {
  const double cx = (left + right) / 2, cy = (top + bottom) / 2;
  const double hx = (right - left) / 2, hy = (bottom - top) / 2;
  radius = std::min({radius, hx, hy});
  return {[=](double x, double y) {
            const double qx = std::fabs(x - cx) - (hx - radius), qy = std::fabs(y - cy) - (hy - radius);
            return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - radius;
          },
          {left, top, right, bottom}};
}

TArtShape Capsule(double x0, double y0, double x1, double y1, double halfWidth) {
  return {[=](double x, double y) {
            const double ex = x1 - x0, ey = y1 - y0, wx = x - x0, wy = y - y0;
            const double len2 = ex * ex + ey * ey;
            const double t = len2 > 0 ? Clamp01((wx * ex + wy * ey) / len2) : 0;
            return std::hypot(wx - ex * t, wy - ey * t) - halfWidth;
          },
          {std::min(x0, x1) - halfWidth, std::min(y0, y1) - halfWidth, std::max(x0, x1) + halfWidth,
           std::max(y0, y1) + halfWidth}};
}

TArtShape Polygon(std::vector<double> xy) {
  TArtBox box{1e9, 1e9, -1e9, -1e9};
  for (std::size_t i = 0; i + 1 < xy.size(); i += 2) {
    box.Left = std::min(box.Left, xy[i]);
    box.Right = std::max(box.Right, xy[i]);
    box.Top = std::min(box.Top, xy[i + 1]);
    box.Bottom = std::max(box.Bottom, xy[i + 1]);
  }
  return {[xy = std::move(xy)](double x, double y) {
            const std::size_t n = xy.size() / 2;
            double d = (x - xy[0]) * (x - xy[0]) + (y - xy[1]) * (y - xy[1]);
            double s = 1.0;
            for (std::size_t i = 0, j = n - 1; i < n; j = i, ++i) {
              const double vix = xy[2 * i], viy = xy[2 * i + 1], vjx = xy[2 * j], vjy = xy[2 * j + 1];
              const double ex = vjx - vix, ey = vjy - viy, wx = x - vix, wy = y - viy;
              const double len2 = ex * ex + ey * ey;
              const double t = len2 > 0 ? Clamp01((wx * ex + wy * ey) / len2) : 0;
              const double bx = wx - ex * t, by = wy - ey * t;
              d = std::min(d, bx * bx + by * by);
              const bool c1 = y >= viy, c2 = y < vjy, c3 = ex * wy > ey * wx;
              if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) s = -s;
            }
            return s * std::sqrt(d);
          },
          box};
}

TArtShape Union(const TArtShape& a, const TArtShape& b) {
  return {[a, b](double x, double y) { return std::min(a.Distance(x, y), b.Distance(x, y)); },
          {std::min(a.Box.Left, b.Box.Left), std::min(a.Box.Top, b.Box.Top), std::max(a.Box.Right, b.Box.Right),
           std::max(a.Box.Bottom, b.Box.Bottom)}};
}

TArtShape Intersect(const TArtShape& a, const TArtShape& b) {
  return {[a, b](double x, double y) { return std::max(a.Distance(x, y), b.Distance(x, y)); },
          {std::max(a.Box.Left, b.Box.Left), std::max(a.Box.Top, b.Box.Top), std::min(a.Box.Right, b.Box.Right),
           std::min(a.Box.Bottom, b.Box.Bottom)}};
}

TArtShape Subtract(const TArtShape& a, const TArtShape& b) {
  return {[a, b](double x, double y) { return std::max(a.Distance(x, y), -b.Distance(x, y)); }, a.Box};
}

TArtShape Outline(const TArtShape& shape, double width) {
  return {[shape, width](double x, double y) { return std::fabs(shape.Distance(x, y)) - width / 2; },
          Grow(shape.Box, width / 2)};
}

TArtShape Offset(const TArtShape& shape, double dx, double dy) {
  return {[shape, dx, dy](double x, double y) { return shape.Distance(x - dx, y - dy); },
          {shape.Box.Left + dx, shape.Box.Top + dy, shape.Box.Right + dx, shape.Box.Bottom + dy}};
}

TArtPaint Solid(TArtRgb c) {
  return [c](double, double) { return c; };
}

TArtPaint Linear(double x0, double y0, TArtRgb a, double x1, double y1, TArtRgb b) {
  const double ex = x1 - x0, ey = y1 - y0, len2 = ex * ex + ey * ey;
  return [=](double x, double y) { return Mix(a, b, len2 > 0 ? Clamp01(((x - x0) * ex + (y - y0) * ey) / len2) : 0); };
}

TArtPaint Radial(double cx, double cy, double r, TArtRgb a, TArtRgb b) {
  return [=](double x, double y) { return Mix(a, b, Clamp01(std::hypot(x - cx, y - cy) / r)); };
}

TArtCanvas::TArtCanvas(int width, int height)
    : Width_(width), Height_(height), Px_(static_cast<std::size_t>(width) * height * 4, 0.0f) {}

void TArtCanvas::Blend(int index, TArtRgb c, double a) {
  float* p = &Px_[static_cast<std::size_t>(index) * 4];
  const double keep = 1.0 - a;
  p[0] = static_cast<float>(c.R * a + p[0] * keep);
  p[1] = static_cast<float>(c.G * a + p[1] * keep);
  p[2] = static_cast<float>(c.B * a + p[2] * keep);
  p[3] = static_cast<float>(a + p[3] * keep);
}

void TArtCanvas::Fill(const TArtShape& shape, const TArtPaint& paint, double opacity, double softness) {
  if (softness < 1) softness = 1;
  const TArtBox box = Grow(shape.Box, softness);
  const int x0 = std::max(0, static_cast<int>(std::floor(box.Left)));
  const int y0 = std::max(0, static_cast<int>(std::floor(box.Top)));
  const int x1 = std::min(Width_, static_cast<int>(std::ceil(box.Right)) + 1);
  const int y1 = std::min(Height_, static_cast<int>(std::ceil(box.Bottom)) + 1);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double cover = Clamp01(0.5 - shape.Distance(px, py) / softness);
      if (cover <= 0) continue;
      Blend(y * Width_ + x, paint(px, py), cover * opacity);
    }
  }
}

namespace {

// Renders the text white on black; the green channel is its coverage.
TBitmap TextCoverage(const std::string& utf8, const TArtFont& font, TSize& size) {
  TLogFont lf;
  lf.FaceName = font.Face;
  lf.Height = -font.Height;
  lf.Weight = font.Bold ? FW_BOLD : FW_NORMAL;
  lf.Italic = font.Italic;
  HFONT handle = CreateFontIndirect(lf);
  TBitmap probe(1, 1);
  HFONT old = probe.Canvas().SelectFont(handle);
  size = probe.Canvas().TextExtent(utf8);
  probe.Canvas().SelectFont(old);
  TBitmap cover(std::max(1, size.cx), std::max(1, size.cy), TPixelFormat::pf24bit, true);
  cover.Fill(clBlack);
  TDeviceContext& dc = cover.Canvas();
  old = dc.SelectFont(handle);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(clWhite);
  dc.TextOut(0, 0, utf8);
  dc.SelectFont(old);
  DeleteObject(handle);
  return cover;
}

}  // namespace

TSize TArtCanvas::TextSize(const std::string& utf8, const TArtFont& font) {
  TSize size;
  TextCoverage(utf8, font, size);
  return size;
}

TSize TArtCanvas::Text(double x, double y, const std::string& utf8, const TArtFont& font, const TArtPaint& paint,
                       double opacity) {
  TSize size;
  const TBitmap cover = TextCoverage(utf8, font, size);
  const int ox = static_cast<int>(std::lround(x)), oy = static_cast<int>(std::lround(y));
  for (int row = 0; row < cover.Height(); ++row) {
    const int ty = oy + row;
    if (ty < 0 || ty >= Height_) continue;
    const std::uint8_t* src = cover.ScanLine(row);
    for (int col = 0; col < cover.Width(); ++col) {
      const int tx = ox + col;
      const double a = src[col * 3 + 1] / 255.0 * opacity;
      if (tx < 0 || tx >= Width_ || a <= 0) continue;
      Blend(ty * Width_ + tx, paint(tx + 0.5, ty + 0.5), a);
    }
  }
  return size;
}

void TArtCanvas::Draw(const TArtCanvas& layer, int x, int y, double opacity) {
  for (int row = 0; row < layer.Height_; ++row) {
    const int ty = y + row;
    if (ty < 0 || ty >= Height_) continue;
    for (int col = 0; col < layer.Width_; ++col) {
      const int tx = x + col;
      if (tx < 0 || tx >= Width_) continue;
      const float* s = &layer.Px_[(static_cast<std::size_t>(row) * layer.Width_ + col) * 4];
      const double a = s[3] * opacity;
      if (a <= 0) continue;
      float* p = &Px_[(static_cast<std::size_t>(ty) * Width_ + tx) * 4];
      const double keep = 1.0 - a;
      for (int k = 0; k < 3; ++k) p[k] = static_cast<float>(s[k] * opacity + p[k] * keep);
      p[3] = static_cast<float>(a + p[3] * keep);
    }
  }
}

TArtCanvas TArtCanvas::FromBitmap(const TBitmap& bitmap) {
  TArtCanvas c(bitmap.Width(), bitmap.Height());
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) {
      const std::uint32_t p = bitmap.Pixel32(x, y);
      const float a = static_cast<float>((p >> 24) / 255.0);
      float* out = &c.Px_[(static_cast<std::size_t>(y) * c.Width_ + x) * 4];
      out[0] = static_cast<float>((p & 0xFF) / 255.0) * a;
      out[1] = static_cast<float>(((p >> 8) & 0xFF) / 255.0) * a;
      out[2] = static_cast<float>(((p >> 16) & 0xFF) / 255.0) * a;
      out[3] = a;
    }
  return c;
}

TBitmap TArtCanvas::ToBitmap() const {
  TBitmap out(Width_, Height_, TPixelFormat::pf32bit, true);
  for (int y = 0; y < Height_; ++y) {
    std::uint8_t* row = out.ScanLine(y);
    for (int x = 0; x < Width_; ++x) {
      const float* p = &Px_[(static_cast<std::size_t>(y) * Width_ + x) * 4];
      const double a = p[3];
      auto channel = [a](float v) {
        const double straight = a > 0 ? v / a : 0;
        return static_cast<std::uint8_t>(std::lround(Clamp01(straight) * 255));
      };
      row[x * 4 + 0] = channel(p[2]);
      row[x * 4 + 1] = channel(p[1]);
      row[x * 4 + 2] = channel(p[0]);
      row[x * 4 + 3] = static_cast<std::uint8_t>(std::lround(Clamp01(a) * 255));
    }
  }
  return out;
}
