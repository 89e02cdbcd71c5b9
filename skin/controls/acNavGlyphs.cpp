#include "skin/controls/acNavGlyphs.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace {

struct TInk {
  std::uint8_t R, G, B;
};
constexpr TInk kNavy{0x24, 0x39, 0x53};
constexpr TInk kBlue{0x2E, 0x8C, 0xD1};
constexpr TInk kDeepBlue{0x1F, 0x5F, 0x9E};
constexpr TInk kGreen{0x2F, 0x8F, 0x4E};
constexpr TInk kRed{0xC6, 0x3B, 0x32};

using TShape = std::function<bool(double x, double y)>;

struct TPt {
  double X, Y;
};

// Inside a convex or concave polygon (even-odd rule).
bool InPolygon(const std::vector<TPt>& p, double x, double y) {
  bool inside = false;
  for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
    if ((p[i].Y > y) != (p[j].Y > y) && x < (p[j].X - p[i].X) * (y - p[i].Y) / (p[j].Y - p[i].Y) + p[i].X)
      inside = !inside;
  }
  return inside;
}

bool InRect(double x, double y, double l, double t, double r, double b) { return x >= l && x < r && y >= t && y < b; }

// Distance from a point to a segment.
double SegmentDistance(double x, double y, TPt a, TPt b) {
  const double dx = b.X - a.X, dy = b.Y - a.Y;
  const double len = dx * dx + dy * dy;
  double t = len > 0 ? ((x - a.X) * dx + (y - a.Y) * dy) / len : 0;
  t = std::clamp(t, 0.0, 1.0);
  const double px = a.X + t * dx - x, py = a.Y + t * dy - y;
  return std::sqrt(px * px + py * py);
}

// A glyph of the given width: each layer's shape is sampled 4 x 4 times per pixel.
class TGlyphCanvas {
public:
  explicit TGlyphCanvas(int width) : Bitmap_(std::make_unique<TBitmap>(width, 13, TPixelFormat::pf32bit, true)) {
    for (int y = 0; y < 13; ++y) std::fill_n(Bitmap_->ScanLine(y), static_cast<std::size_t>(width) * 4, 0);
  }
  void Layer(const TShape& shape, TInk ink) {
    for (int y = 0; y < Bitmap_->Height(); ++y) {
      std::uint8_t* row = Bitmap_->ScanLine(y);
      for (int x = 0; x < Bitmap_->Width(); ++x) {
        int hits = 0;
        for (int sy = 0; sy < 4; ++sy)
          for (int sx = 0; sx < 4; ++sx) hits += shape(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4) ? 1 : 0;
        if (hits == 0) continue;
        const int a = hits * 255 / 16;
        std::uint8_t* p = row + x * 4;
        // Over what this glyph already holds (straight alpha).
        const int da = p[3];
        const int oa = a + da * (255 - a) / 255;
        auto mix = [&](std::uint8_t src, std::uint8_t dst) {
          return static_cast<std::uint8_t>(oa == 0 ? 0 : (src * a + dst * da * (255 - a) / 255) / oa);
        };
        p[0] = mix(ink.B, p[0]);
        p[1] = mix(ink.G, p[1]);
        p[2] = mix(ink.R, p[2]);
        p[3] = static_cast<std::uint8_t>(oa);
      }
    }
  }
  std::unique_ptr<TBitmap> Take() { return std::move(Bitmap_); }

private:
  std::unique_ptr<TBitmap> Bitmap_;
};

// A triangle pointing left (dir -1) or right (dir 1) with its tip at x.
TShape Triangle(double tip, double base, int dir) {
  std::vector<TPt> p;
  if (dir < 0)
    p = {{tip, 6.5}, {base, 1.5}, {base, 11.5}};
  else
    p = {{tip, 6.5}, {base, 1.5}, {base, 11.5}};
  return [p](double x, double y) { return InPolygon(p, x, y); };
}

TShape Bar(double l, double r) {
  return [l, r](double x, double y) { return InRect(x, y, l, 1.5, r, 11.5); };
}

std::unique_ptr<TBitmap> Make(int index) {
  switch (index) {
    case 0: {  // first: bar and left triangle
      TGlyphCanvas c(11);
      c.Layer(Bar(1, 3), kNavy);
      c.Layer(Triangle(3.5, 10, -1), kNavy);
      return c.Take();
    }
    case 1: {  // prior
      TGlyphCanvas c(9);
      c.Layer(Triangle(1.5, 7.5, -1), kNavy);
      return c.Take();
    }
    case 2: {  // next
      TGlyphCanvas c(9);
      c.Layer(Triangle(7.5, 1.5, 1), kNavy);
      return c.Take();
    }
    case 3: {  // last
      TGlyphCanvas c(11);
      c.Layer(Triangle(7.5, 1, 1), kNavy);
      c.Layer(Bar(8, 10), kNavy);
      return c.Take();
    }
    case 4: {  // insert: a plus
      TGlyphCanvas c(13);
      c.Layer([](double x, double y) { return InRect(x, y, 5.25, 1.5, 7.75, 11.5) || InRect(x, y, 1.5, 5.25, 11.5, 7.75); },
              kBlue);
      return c.Take();
    }
    case 5: {  // delete: a minus
      TGlyphCanvas c(13);
      c.Layer([](double x, double y) { return InRect(x, y, 1.5, 5.25, 11.5, 7.75); }, kBlue);
      return c.Take();
    }
    case 6: {  // edit: a pencil lying from the lower left to the upper right
      TGlyphCanvas c(13);
      const std::vector<TPt> body{{3.2, 11.2}, {1.6, 9.6}, {9.2, 2.0}, {10.8, 3.6}};
      const std::vector<TPt> tip{{1.6, 9.6}, {3.2, 11.2}, {0.8, 12.0}};
      const std::vector<TPt> cap{{9.2, 2.0}, {10.8, 3.6}, {12.2, 2.2}, {10.6, 0.6}};
      c.Layer([body](double x, double y) { return InPolygon(body, x, y); }, kNavy);
      c.Layer([tip](double x, double y) { return InPolygon(tip, x, y); }, kNavy);
      c.Layer([cap](double x, double y) { return InPolygon(cap, x, y); }, kBlue);
      return c.Take();
    }
    case 7: {  // post: a check mark
      TGlyphCanvas c(13);
      c.Layer([](double x, double y) {
        return SegmentDistance(x, y, {2.0, 6.8}, {5.0, 9.8}) < 1.25 || SegmentDistance(x, y, {5.0, 9.8}, {11.0, 2.6}) < 1.25;
      }, kGreen);
      return c.Take();
    }
    case 8: {  // cancel: a cross
      TGlyphCanvas c(11);
      c.Layer([](double x, double y) {
        return SegmentDistance(x, y, {2.0, 2.5}, {9.0, 10.5}) < 1.2 || SegmentDistance(x, y, {9.0, 2.5}, {2.0, 10.5}) < 1.2;
      }, kRed);
      return c.Take();
    }
    default: {  // refresh: an open ring with an arrow head at its upper right end
      TGlyphCanvas c(15);
      const double cx = 7.5, cy = 6.5;
      c.Layer([cx, cy](double x, double y) {
        const double dx = x - cx, dy = y - cy;
        const double r = std::sqrt(dx * dx + dy * dy);
        const bool gap = dx > 0 && dy < 0 && -dy > dx * 0.35;
        return r > 3.6 && r < 5.4 && !gap;
      }, kDeepBlue);
      const std::vector<TPt> head{{8.2, 0.0}, {13.2, 1.6}, {9.4, 5.4}};
      c.Layer([head](double x, double y) { return InPolygon(head, x, y); }, kDeepBlue);
      return c.Take();
    }
  }
}

}  // namespace

const TBitmap& NavGlyph(int index) {
  static std::array<std::unique_ptr<TBitmap>, 10> glyphs;
  index = std::clamp(index, 0, 9);
  auto& glyph = glyphs[static_cast<std::size_t>(index)];
  if (!glyph) glyph = Make(index);
  return *glyph;
}
