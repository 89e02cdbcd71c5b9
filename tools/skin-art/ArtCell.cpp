#include "tools/skin-art/ArtCell.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSamples = 4;

int Clamp255(double v) {
  const long n = std::lround(v);
  return static_cast<int>(std::clamp<long>(n, 0, 255));
}

}  // namespace

TArtShape RoundRectCorners(double left, double top, double right, double bottom, double radius, bool tl, bool tr,
                           bool br, bool bl) {
  return [=](double x, double y) {
    if (x < left || x > right || y < top || y > bottom) return false;
    auto outside = [&](double cx, double cy) {
      const double dx = x - cx, dy = y - cy;
      return dx * dx + dy * dy > radius * radius;
    };
    if (tl && x < left + radius && y < top + radius) return !outside(left + radius, top + radius);
    if (tr && x > right - radius && y < top + radius) return !outside(right - radius, top + radius);
    if (br && x > right - radius && y > bottom - radius) return !outside(right - radius, bottom - radius);
    if (bl && x < left + radius && y > bottom - radius) return !outside(left + radius, bottom - radius);
    return true;
  };
}

TArtShape RoundRect(double left, double top, double right, double bottom, double radius) {
  return RoundRectCorners(left, top, right, bottom, radius, true, true, true, true);
}

TArtShape Rectangle(double left, double top, double right, double bottom) {
  return [=](double x, double y) { return x >= left && x <= right && y >= top && y <= bottom; };
}

TArtShape Ring(TArtShape outer, TArtShape inner) {
  return [=](double x, double y) { return outer(x, y) && !inner(x, y); };
}

TArtShape Union(TArtShape a, TArtShape b) {
  return [=](double x, double y) { return a(x, y) || b(x, y); };
}

TArtShape Circle(double cx, double cy, double radius) {
  return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius; };
}

TArtShape Segment(double x0, double y0, double x1, double y1, double halfWidth) {
  return [=](double x, double y) {
    const double dx = x1 - x0, dy = y1 - y0;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((x - x0) * dx + (y - y0) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double px = x0 + t * dx - x, py = y0 + t * dy - y;
    return px * px + py * py <= halfWidth * halfWidth;
  };
}

TArtColor Hex(unsigned rgb) {
  return {static_cast<double>((rgb >> 16) & 0xFF), static_cast<double>((rgb >> 8) & 0xFF),
          static_cast<double>(rgb & 0xFF)};
}

TArtColor Mix(TArtColor a, TArtColor b, double t) {
  return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t};
}

TArtCell::TArtCell(int width, int height)
    : Width_(width), Height_(height), R_(width * height), G_(width * height), B_(width * height),
      A_(width * height), Inside_(static_cast<std::size_t>(width * height), false) {}

void TArtCell::Claim(const TArtShape& shape) {
  Claimed_ = true;
  for (int y = 0; y < Height_; ++y)
    for (int x = 0; x < Width_; ++x)
      if (shape(x + 0.5, y + 0.5)) Inside_[static_cast<std::size_t>(y * Width_ + x)] = true;
}

void TArtCell::Paint(const TArtShape& shape, TArtColor color, double opacity) {
  PaintVertical(shape, color, color, 0, 1, opacity);
}

void TArtCell::PaintVertical(const TArtShape& shape, TArtColor top, TArtColor bottom, double y0, double y1,
                             double opacity) {
  for (int y = 0; y < Height_; ++y) {
    const double t = y1 > y0 ? std::clamp((y + 0.5 - y0) / (y1 - y0), 0.0, 1.0) : 0.0;
    const TArtColor c = Mix(top, bottom, t);
    for (int x = 0; x < Width_; ++x) {
      int hits = 0;
      for (int sy = 0; sy < kSamples; ++sy)
        for (int sx = 0; sx < kSamples; ++sx)
          if (shape(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples)) ++hits;
      if (hits == 0) continue;
      const double a = opacity * hits / (kSamples * kSamples);
      const std::size_t i = static_cast<std::size_t>(y * Width_ + x);
      // Straight-alpha "over".
      const double outA = a + A_[i] * (1 - a);
      if (outA <= 0) continue;
      R_[i] = (c.R * a + R_[i] * A_[i] * (1 - a)) / outA;
      G_[i] = (c.G * a + G_[i] * A_[i] * (1 - a)) / outA;
      B_[i] = (c.B * a + B_[i] * A_[i] * (1 - a)) / outA;
      A_[i] = outA;
    }
  }
}

void PutPixel(TBitmap& target, int x, int y, double r, double g, double b) {
  target.SetPixel(x, y, static_cast<TColor>(Clamp255(r) | (Clamp255(g) << 8) | (Clamp255(b) << 16)));
}

void TArtCell::WriteMasked(TBitmap& target, int x, int y) const {
  for (int j = 0; j < Height_; ++j)
    for (int i = 0; i < Width_; ++i) {
      const std::size_t k = static_cast<std::size_t>(j * Width_ + i);
      const int alpha = Clamp255(A_[k] * 255);
      // Beside a claimed face, a pixel of the outline's soft edge that is less than half
      // covered becomes a hole: the painter composites masked pixels over the control's
      // face, where it would show as a light dot against a darker parent.
      const bool fringe = Claimed_ && !Inside_[k] && A_[k] < 0.5;
      if (alpha == 0 || fringe) {
        target.SetPixel(x + i, y + j, Inside_[k] ? static_cast<TColor>(0xFEFEFE) : clFuchsia);
        PutPixel(target, x + i, y + j + Height_, 255, 255, 255);
        continue;
      }
      double r = R_[k], g = G_[k], b = B_[k];
      // A picture pixel that happens to be the key would become a hole.
      if (Clamp255(r) == 255 && Clamp255(g) == 0 && Clamp255(b) == 255) g = 1;
      PutPixel(target, x + i, y + j, r, g, b);
      const int m = 255 - alpha;
      PutPixel(target, x + i, y + j + Height_, m, m, m);
    }
}

void TArtCell::WriteKeyed(TBitmap& target, int x, int y, TArtColor base) const {
  for (int j = 0; j < Height_; ++j)
    for (int i = 0; i < Width_; ++i) {
      const std::size_t k = static_cast<std::size_t>(j * Width_ + i);
      if (A_[k] < 0.5) {
        target.SetPixel(x + i, y + j, clFuchsia);
        continue;
      }
      const double a = A_[k];
      double r = R_[k] * a + base.R * (1 - a), g = G_[k] * a + base.G * (1 - a), b = B_[k] * a + base.B * (1 - a);
      if (Clamp255(r) == 255 && Clamp255(g) == 0 && Clamp255(b) == 255) g = 1;
      PutPixel(target, x + i, y + j, r, g, b);
    }
}

void TArtCell::WriteAlpha(TBitmap& target, int x, int y) const {
  for (int j = 0; j < Height_; ++j) {
    std::uint8_t* row = target.ScanLine(y + j);
    for (int i = 0; i < Width_; ++i) {
      const std::size_t k = static_cast<std::size_t>(j * Width_ + i);
      std::uint8_t* p = row + (x + i) * 4;
      const int alpha = Clamp255(A_[k] * 255);
      p[0] = static_cast<std::uint8_t>(alpha ? Clamp255(B_[k]) : 0);
      p[1] = static_cast<std::uint8_t>(alpha ? Clamp255(G_[k]) : 0);
      p[2] = static_cast<std::uint8_t>(alpha ? Clamp255(R_[k]) : 0);
      p[3] = static_cast<std::uint8_t>(alpha);
    }
  }
}
