// Gradient fills: triangles with barycentric colours, and horizontal or vertical
// rectangles. Exact integer arithmetic; no division inside the pixel loops.
#include <algorithm>

#include "platform/gfx/DeviceContext.h"

namespace {

// Beyond a million pixels the exact 64-bit arithmetic would overflow; no real
// drawing comes near it, so such vertices are skipped.
constexpr int kMaxCoordinate = 1 << 20;

bool Reasonable(const TRIVERTEX& v) {
  return v.x >= -kMaxCoordinate && v.x <= kMaxCoordinate && v.y >= -kMaxCoordinate && v.y <= kMaxCoordinate;
}

bool Drawable(const TBitmap& target) {
  return target.PixelFormat() == TPixelFormat::pf24bit || target.PixelFormat() == TPixelFormat::pf32bit;
}

// floor(n / d) and the remainder in [0, d), for d > 0.
void FloorDiv(std::int64_t n, std::int64_t d, std::int64_t& q, std::int64_t& r) {
  q = n / d;
  r = n % d;
  if (r < 0) {
    r += d;
    --q;
  }
}

// A value floor(N / A) that follows N as it grows by a fixed step per pixel.
struct TStepper {
  std::int64_t Q = 0, R = 0, StepQ = 0, StepR = 0, A = 1;
  void Start(std::int64_t n, std::int64_t step, std::int64_t a) {
    A = a;
    FloorDiv(n, a, Q, R);
    FloorDiv(step, a, StepQ, StepR);
  }
  void Next() {
    Q += StepQ;
    R += StepR;
    if (R >= A) {
      R -= A;
      ++Q;
    }
  }
  std::uint8_t Byte() const { return static_cast<std::uint8_t>(std::clamp<std::int64_t>(Q, 0, 0xFFFF) >> 8); }
};

struct TVec {
  std::int64_t X, Y;
};

// Twice the signed area of (a, b, p): positive when p lies right of a→b on screen.
std::int64_t Edge(TVec a, TVec b, TVec p) { return (b.X - a.X) * (p.Y - a.Y) - (b.Y - a.Y) * (p.X - a.X); }

bool TopLeft(TVec a, TVec b) { return (a.Y == b.Y && b.X > a.X) || b.Y < a.Y; }

void FillTriangle(TBitmap& target, const TRect& clip, const TRIVERTEX& v0, const TRIVERTEX& v1In,
                  const TRIVERTEX& v2In) {
  // Doubled coordinates put pixel centres on odd integers.
  const TRIVERTEX* v1 = &v1In;
  const TRIVERTEX* v2 = &v2In;
  TVec p0{2LL * v0.x, 2LL * v0.y}, p1{2LL * v1->x, 2LL * v1->y}, p2{2LL * v2->x, 2LL * v2->y};
  std::int64_t area = Edge(p0, p1, p2);
  if (area == 0) return;
  if (area < 0) {
    std::swap(v1, v2);
    std::swap(p1, p2);
    area = -area;
  }
  const TRect box = TRect{static_cast<int>(std::min({v0.x, v1->x, v2->x})), static_cast<int>(std::min({v0.y, v1->y, v2->y})),
                          static_cast<int>(std::max({v0.x, v1->x, v2->x})) + 1,
                          static_cast<int>(std::max({v0.y, v1->y, v2->y})) + 1}
                        .Intersect(clip);
  if (box.IsEmpty()) return;
  // Edge k is opposite vertex k; its value is that vertex's barycentric weight.
  const TVec ea[3] = {p1, p2, p0}, eb[3] = {p2, p0, p1};
  std::int64_t bias[3];
  for (int k = 0; k < 3; ++k) bias[k] = TopLeft(ea[k], eb[k]) ? 0 : -1;
  const std::int64_t colors[4][3] = {{v0.Red, v1->Red, v2->Red},
                                     {v0.Green, v1->Green, v2->Green},
                                     {v0.Blue, v1->Blue, v2->Blue},
                                     {0, 0, 0}};
  // Per pixel step (2 in doubled units) of each weight.
  std::int64_t dw[3];
  for (int k = 0; k < 3; ++k) dw[k] = -(eb[k].Y - ea[k].Y) * 2;
  const int bpp = target.PixelFormat() == TPixelFormat::pf32bit ? 4 : 3;
  for (int y = box.Top; y < box.Bottom; ++y) {
    const TVec start{2LL * box.Left + 1, 2LL * y + 1};
    std::int64_t w[3];
    for (int k = 0; k < 3; ++k) w[k] = Edge(ea[k], eb[k], start);
    TStepper channel[3];
    for (int c = 0; c < 3; ++c) {
      const std::int64_t n = w[0] * colors[c][0] + w[1] * colors[c][1] + w[2] * colors[c][2];
      const std::int64_t step = dw[0] * colors[c][0] + dw[1] * colors[c][1] + dw[2] * colors[c][2];
      channel[c].Start(n, step, area);
    }
    std::uint8_t* p = target.ScanLine(y) + box.Left * bpp;
    for (int x = box.Left; x < box.Right; ++x, p += bpp) {
      if (w[0] + bias[0] >= 0 && w[1] + bias[1] >= 0 && w[2] + bias[2] >= 0) {
        p[0] = channel[2].Byte();
        p[1] = channel[1].Byte();
        p[2] = channel[0].Byte();
        if (bpp == 4) p[3] = 255;
      }
      w[0] += dw[0];
      w[1] += dw[1];
      w[2] += dw[2];
      channel[0].Next();
      channel[1].Next();
      channel[2].Next();
    }
  }
}

void FillRectGradient(TBitmap& target, const TRect& clip, const TRIVERTEX& a, const TRIVERTEX& b, bool vertical) {
  const TRect r{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
  const TRect box = r.Intersect(clip);
  if (box.IsEmpty()) return;
  // Colours follow the geometry: the vertex further left (or up) starts the ramp.
  const bool aFirst = vertical ? a.y <= b.y : a.x <= b.x;
  const TRIVERTEX& first = aFirst ? a : b;
  const TRIVERTEX& last = aFirst ? b : a;
  const std::int64_t length = vertical ? r.Height() : r.Width();
  const std::int64_t c0[3] = {first.Red, first.Green, first.Blue};
  const std::int64_t c1[3] = {last.Red, last.Green, last.Blue};
  const int bpp = target.PixelFormat() == TPixelFormat::pf32bit ? 4 : 3;
  if (vertical) {
    for (int y = box.Top; y < box.Bottom; ++y) {
      std::uint8_t rgb[3];
      for (int c = 0; c < 3; ++c) {
        std::int64_t q, rem;
        FloorDiv(c0[c] * length + (c1[c] - c0[c]) * (y - r.Top), length, q, rem);
        rgb[c] = static_cast<std::uint8_t>(std::clamp<std::int64_t>(q, 0, 0xFFFF) >> 8);
      }
      std::uint8_t* p = target.ScanLine(y) + box.Left * bpp;
      for (int x = box.Left; x < box.Right; ++x, p += bpp) {
        p[0] = rgb[2], p[1] = rgb[1], p[2] = rgb[0];
        if (bpp == 4) p[3] = 255;
      }
    }
    return;
  }
  TStepper channel[3];
  for (int y = box.Top; y < box.Bottom; ++y) {
    for (int c = 0; c < 3; ++c)
      channel[c].Start(c0[c] * length + (c1[c] - c0[c]) * (box.Left - r.Left), c1[c] - c0[c], length);
    std::uint8_t* p = target.ScanLine(y) + box.Left * bpp;
    for (int x = box.Left; x < box.Right; ++x, p += bpp) {
      p[0] = channel[2].Byte(), p[1] = channel[1].Byte(), p[2] = channel[0].Byte();
      if (bpp == 4) p[3] = 255;
      channel[0].Next();
      channel[1].Next();
      channel[2].Next();
    }
  }
}

}  // namespace

void GradientFillTriangles(TBitmap& target, const TRect& clip, const TRIVERTEX* vertices, int vertexCount,
                           const GRADIENT_TRIANGLE* triangles, int triangleCount) {
  if (!vertices || !triangles || !Drawable(target)) return;
  const TRect area = clip.Intersect({0, 0, target.Width(), target.Height()});
  if (area.IsEmpty()) return;
  const auto count = static_cast<std::uint32_t>(std::max(vertexCount, 0));
  for (int i = 0; i < triangleCount; ++i) {
    const GRADIENT_TRIANGLE& t = triangles[i];
    if (t.Vertex1 >= count || t.Vertex2 >= count || t.Vertex3 >= count) continue;
    if (!Reasonable(vertices[t.Vertex1]) || !Reasonable(vertices[t.Vertex2]) || !Reasonable(vertices[t.Vertex3])) continue;
    FillTriangle(target, area, vertices[t.Vertex1], vertices[t.Vertex2], vertices[t.Vertex3]);
  }
}

void GradientFillRects(TBitmap& target, const TRect& clip, const TRIVERTEX* vertices, int vertexCount,
                       const GRADIENT_RECT* rects, int rectCount, bool vertical) {
  if (!vertices || !rects || !Drawable(target)) return;
  const TRect area = clip.Intersect({0, 0, target.Width(), target.Height()});
  if (area.IsEmpty()) return;
  const auto count = static_cast<std::uint32_t>(std::max(vertexCount, 0));
  for (int i = 0; i < rectCount; ++i) {
    const GRADIENT_RECT& r = rects[i];
    if (r.UpperLeft >= count || r.LowerRight >= count) continue;
    if (!Reasonable(vertices[r.UpperLeft]) || !Reasonable(vertices[r.LowerRight])) continue;
    FillRectGradient(target, area, vertices[r.UpperLeft], vertices[r.LowerRight], vertical);
  }
}

bool TDeviceContext::GradientFill(const TRIVERTEX* vertices, int vertexCount, const void* mesh, int meshCount,
                                  std::uint32_t mode) {
  if (!Target_ || !vertices || !mesh || vertexCount <= 0 || meshCount < 0) return false;
  if (mode != GRADIENT_FILL_TRIANGLE && mode != GRADIENT_FILL_RECT_H && mode != GRADIENT_FILL_RECT_V) return false;
  const TPoint org = ViewportOrg();
  std::vector<TRIVERTEX> moved(vertices, vertices + vertexCount);
  for (auto& v : moved) {
    // Sums that leave the drawable range become "too far" rather than wrapping.
    const std::int64_t x = std::int64_t{v.x} + org.X, y = std::int64_t{v.y} + org.Y;
    v.x = static_cast<int>(std::clamp<std::int64_t>(x, -2 * kMaxCoordinate, 2 * kMaxCoordinate));
    v.y = static_cast<int>(std::clamp<std::int64_t>(y, -2 * kMaxCoordinate, 2 * kMaxCoordinate));
  }
  for (const TRect& clip : Clip().Rects()) {
    if (mode == GRADIENT_FILL_TRIANGLE)
      GradientFillTriangles(*Target_, clip, moved.data(), vertexCount, static_cast<const GRADIENT_TRIANGLE*>(mesh),
                            meshCount);
    else
      GradientFillRects(*Target_, clip, moved.data(), vertexCount, static_cast<const GRADIENT_RECT*>(mesh), meshCount,
                        mode == GRADIENT_FILL_RECT_V);
  }
  return true;
}
