// Fills, frames, lines, polygons and single pixels of the device context.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/SystemColors.h"

namespace {

bool Drawable(const TBitmap* target) {
  return target && (target->PixelFormat() == TPixelFormat::pf24bit || target->PixelFormat() == TPixelFormat::pf32bit);
}

int BytesPerPixel(const TBitmap& target) { return target.PixelFormat() == TPixelFormat::pf32bit ? 4 : 3; }

TRect Normalized(const TRect& r) {
  return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right), std::max(r.Top, r.Bottom)};
}

// Solid fill of a device rectangle already inside the target.
void FillSolid(TBitmap& target, const TRect& r, COLORREF color) {
  const int bpp = BytesPerPixel(target);
  const std::uint8_t b = GetBValue(color), g = GetGValue(color), red = GetRValue(color);
  const int width = r.Width();
  std::uint8_t* first = target.ScanLine(r.Top) + r.Left * bpp;
  std::uint8_t* p = first;
  for (int x = 0; x < width; ++x, p += bpp) {
    p[0] = b;
    p[1] = g;
    p[2] = red;
    if (bpp == 4) p[3] = 255;
  }
  const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(bpp);
  for (int y = r.Top + 1; y < r.Bottom; ++y) std::memcpy(target.ScanLine(y) + r.Left * bpp, first, bytes);
}

// Pattern fill: the pattern repeats from the brush origin.
void FillPattern(TBitmap& target, const TRect& r, const TBitmap& pattern, TPoint origin) {
  const int bpp = BytesPerPixel(target);
  const int pbpp = BytesPerPixel(pattern);
  const int pw = pattern.Width(), ph = pattern.Height();
  for (int y = r.Top; y < r.Bottom; ++y) {
    const int py = ((y - origin.Y) % ph + ph) % ph;
    const std::uint8_t* prow = pattern.ScanLine(py);
    std::uint8_t* p = target.ScanLine(y) + r.Left * bpp;
    int px = ((r.Left - origin.X) % pw + pw) % pw;
    for (int x = r.Left; x < r.Right; ++x, p += bpp) {
      const std::uint8_t* s = prow + px * pbpp;
      p[0] = s[0];
      p[1] = s[1];
      p[2] = s[2];
      if (bpp == 4) p[3] = 255;
      if (++px == pw) px = 0;
    }
  }
}

// Dash patterns of styled pens, in pixels: on, off, on, off ...
struct TDashPattern {
  const int* Runs;
  int Count;
};

TDashPattern DashOf(int style) {
  static constexpr int kDot[] = {1, 1};
  static constexpr int kDash[] = {6, 2};
  static constexpr int kDashDot[] = {6, 2, 1, 2};
  static constexpr int kDashDotDot[] = {6, 2, 1, 2, 1, 2};
  switch (style) {
    case PS_DOT:
    case PS_ALTERNATE: return {kDot, 2};
    case PS_DASH: return {kDash, 2};
    case PS_DASHDOT: return {kDashDot, 4};
    case PS_DASHDOTDOT: return {kDashDotDot, 6};
    default: return {nullptr, 0};
  }
}

}  // namespace

void TDeviceContext::FillDeviceRect(const TRect& deviceRect, const TGdiBrush& brush) {
  if (!Drawable(Target_) || brush.Style == BS_NULL) return;
  const TRect rect = Normalized(deviceRect);
  for (const TRect& clip : Clip().Rects()) {
    const TRect part = clip.Intersect(rect);
    if (part.IsEmpty()) continue;
    if (brush.Style == BS_PATTERN && brush.Pattern && !brush.Pattern->Empty())
      FillPattern(*Target_, part, *brush.Pattern, DeviceOrg_);
    else
      FillSolid(*Target_, part, static_cast<COLORREF>(ColorToRGB(brush.Color)));
  }
}

void TDeviceContext::FillRect(const TRect& rect, TColor color) {
  if (!Drawable(Target_) || rect.IsEmpty()) return;
  const TPoint org = ViewportOrg();
  const TRect device = rect.Offset(org.X, org.Y);
  const auto rgb = static_cast<COLORREF>(ColorToRGB(color));
  for (const TRect& clip : Clip().Rects()) {
    const TRect part = clip.Intersect(device);
    if (!part.IsEmpty()) FillSolid(*Target_, part, rgb);
  }
}

void TDeviceContext::FillRect(const TRect& rect, HBRUSH brush) {
  if (!brush || rect.IsEmpty()) return;
  const TPoint org = ViewportOrg();
  FillDeviceRect(rect.Offset(org.X, org.Y), *brush);
}

void TDeviceContext::FrameRect(const TRect& rect, HBRUSH brush) {
  if (!brush || rect.IsEmpty()) return;
  const TPoint org = ViewportOrg();
  const TRect r = rect.Offset(org.X, org.Y);
  FillDeviceRect({r.Left, r.Top, r.Right, r.Top + 1}, *brush);
  if (r.Height() > 1) FillDeviceRect({r.Left, r.Bottom - 1, r.Right, r.Bottom}, *brush);
  if (r.Height() > 2) {
    FillDeviceRect({r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1}, *brush);
    if (r.Width() > 1) FillDeviceRect({r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1}, *brush);
  }
}

void TDeviceContext::InvertDevicePixel(int x, int y, const TRegion& clip) {
  if (!clip.Contains(x, y)) return;
  std::uint8_t* p = Target_->ScanLine(y) + x * BytesPerPixel(*Target_);
  p[0] = static_cast<std::uint8_t>(~p[0]);
  p[1] = static_cast<std::uint8_t>(~p[1]);
  p[2] = static_cast<std::uint8_t>(~p[2]);
}

void TDeviceContext::DrawFocusRect(const TRect& rect) {
  if (!Drawable(Target_) || rect.IsEmpty()) return;
  const TPoint org = ViewportOrg();
  const TRect r = rect.Offset(org.X, org.Y);
  const TRegion& clip = Clip();
  // Every other pixel of a 50% pattern aligned to the device origin, inverted, so a
  // second call takes the rectangle away again. Each frame pixel is visited once.
  const auto dot = [&](int x, int y) {
    if (((x - DeviceOrg_.X + y - DeviceOrg_.Y) & 1) == 0) InvertDevicePixel(x, y, clip);
  };
  // Loops run over the visible part only, whatever the rectangle's size.
  const TRect b = clip.Bounds();
  const int xFrom = std::max(r.Left, b.Left), xTo = std::min(r.Right, b.Right);
  const int yFrom = std::max(r.Top + 1, b.Top), yTo = std::min(r.Bottom - 1, b.Bottom);
  for (int x = xFrom; x < xTo; ++x) dot(x, r.Top);
  if (r.Bottom - 1 > r.Top)
    for (int x = xFrom; x < xTo; ++x) dot(x, r.Bottom - 1);
  for (int y = yFrom; y < yTo; ++y) {
    dot(r.Left, y);
    if (r.Right - 1 > r.Left) dot(r.Right - 1, y);
  }
}

void TDeviceContext::PlotLinePixel(int x, int y, COLORREF color, const TRegion& clip) {
  if (!clip.Contains(x, y)) return;
  std::uint8_t* p = Target_->ScanLine(y) + x * BytesPerPixel(*Target_);
  const std::uint8_t pen[3] = {GetBValue(color), GetGValue(color), GetRValue(color)};
  for (int i = 0; i < 3; ++i) {
    std::uint8_t& d = p[i];
    switch (Rop2_) {
      case R2_BLACK: d = 0; break;
      case R2_WHITE: d = 255; break;
      case R2_NOT: d = static_cast<std::uint8_t>(~d); break;
      case R2_XORPEN: d = static_cast<std::uint8_t>(d ^ pen[i]); break;
      case R2_NOTXORPEN: d = static_cast<std::uint8_t>(~(d ^ pen[i])); break;
      case R2_NOP: break;
      default: d = pen[i]; break;
    }
  }
  if (Target_->PixelFormat() == TPixelFormat::pf32bit && Rop2_ != R2_NOP) p[3] = 255;
}

void TDeviceContext::LineTo(TPoint point) {
  const TPoint from = Position_;
  Position_ = point;
  if (!Drawable(Target_) || !Pen_ || Pen_->Style == PS_NULL) return;
  const TRegion& clip = Clip();
  if (clip.IsEmpty()) return;
  const TPoint org = ViewportOrg();
  const std::int64_t x0 = std::int64_t{from.X} + org.X, y0 = std::int64_t{from.Y} + org.Y;
  const std::int64_t dx = std::int64_t{point.X} + org.X - x0, dy = std::int64_t{point.Y} + org.Y - y0;
  const bool xMajor = std::abs(dx) >= std::abs(dy);
  // Pixels 0 .. n-1 along the major axis; the end point itself is not drawn.
  const std::int64_t n = xMajor ? std::abs(dx) : std::abs(dy);
  if (n == 0) return;
  const std::int64_t minorLength = xMajor ? std::abs(dy) : std::abs(dx);
  const int majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1;
  const int minorStep = (xMajor ? dy : dx) > 0 ? 1 : -1;
  const std::int64_t major0 = xMajor ? x0 : y0, minor0 = xMajor ? y0 : x0;
  // Only the steps whose major coordinate lies inside the clip bounds are walked,
  // so a line of any length costs at most the bitmap's size.
  const TRect bounds = clip.Bounds();
  const std::int64_t lo = xMajor ? bounds.Left : bounds.Top, hi = (xMajor ? bounds.Right : bounds.Bottom) - 1;
  std::int64_t first = majorStep > 0 ? lo - major0 : major0 - hi;
  std::int64_t last = majorStep > 0 ? hi - major0 : major0 - lo;
  first = std::max<std::int64_t>(first, 0);
  last = std::min<std::int64_t>(last, n - 1);
  if (first > last) return;
  const COLORREF penColor = static_cast<COLORREF>(ColorToRGB(Pen_->Color));
  const COLORREF gapColor = static_cast<COLORREF>(BkColor_);
  const TDashPattern dash = DashOf(Pen_->Style);
  int run = 0;
  std::int64_t left = 0;
  if (dash.Count) {
    std::int64_t period = 0;
    for (int k = 0; k < dash.Count; ++k) period += dash.Runs[k];
    std::int64_t phase = first % period;
    while (phase >= dash.Runs[run]) phase -= dash.Runs[run++];
    left = dash.Runs[run] - phase;
  }
  // Minor coordinate of step i: minor0 + round(i · minorLength / n), halves rounded up,
  // kept as quotient and remainder so each step is an addition.
  const std::int64_t twoN = 2 * n;
  std::int64_t q = (2 * first * minorLength + n) / twoN, r = (2 * first * minorLength + n) % twoN;
  for (std::int64_t i = first; i <= last; ++i) {
    const std::int64_t major = major0 + majorStep * i, minor = minor0 + minorStep * q;
    const bool on = dash.Count == 0 || (run % 2) == 0;
    if (minor >= INT32_MIN && minor <= INT32_MAX) {
      const int px = static_cast<int>(xMajor ? major : minor), py = static_cast<int>(xMajor ? minor : major);
      if (on)
        PlotLinePixel(px, py, penColor, clip);
      else if (BkMode_ == OPAQUE)
        PlotLinePixel(px, py, gapColor, clip);
    }
    if (dash.Count && --left == 0) {
      run = (run + 1) % dash.Count;
      left = dash.Runs[run];
    }
    r += 2 * minorLength;
    if (r >= twoN) {
      r -= twoN;
      ++q;
    }
  }
}

void TDeviceContext::Rectangle(const TRect& rect) {
  const TRect r = Normalized(rect);
  if (r.IsEmpty()) return;
  const bool hasPen = Pen_ && Pen_->Style != PS_NULL;
  if (Brush_) {
    const TRect inside = hasPen ? TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}
                                // Classic: without a pen the fill stops one pixel short.
                                : TRect{r.Left, r.Top, r.Right - 1, r.Bottom - 1};
    if (!inside.IsEmpty()) FillRect(inside, Brush_);
  }
  if (!hasPen) return;
  const TPoint saved = Position_;
  MoveTo({r.Left, r.Top});
  LineTo({r.Right - 1, r.Top});
  LineTo({r.Right - 1, r.Bottom - 1});
  LineTo({r.Left, r.Bottom - 1});
  LineTo({r.Left, r.Top});
  Position_ = saved;
}

void TDeviceContext::Polygon(const TPoint* points, int count) {
  if (!points || count < 2 || !Drawable(Target_)) return;
  const TPoint org = ViewportOrg();
  if (Brush_ && Brush_->Style != BS_NULL && count >= 3) {
    int top = points[0].Y, bottom = points[0].Y;
    for (int i = 1; i < count; ++i) {
      top = std::min(top, points[i].Y);
      bottom = std::max(bottom, points[i].Y);
    }
    struct TCrossing {
      double X;
      int Winding;
    };
    std::vector<TCrossing> crossings;
    // A pixel is inside when its centre is; rows are sampled at y + 0.5. Only rows
    // and columns inside the clip bounds are worked out.
    const TRect bounds = Clip().Bounds();
    top = std::max(top, bounds.Top - org.Y);
    bottom = std::min(bottom, bounds.Bottom - org.Y);
    const double minX = bounds.Left - org.X - 1.0, maxX = bounds.Right - org.X + 1.0;
    for (int y = top; y < bottom; ++y) {
      const double cy = y + 0.5;
      crossings.clear();
      for (int i = 0; i < count; ++i) {
        const TPoint a = points[i], b = points[(i + 1) % count];
        if (a.Y == b.Y) continue;
        const bool down = b.Y > a.Y;
        const int y0 = down ? a.Y : b.Y, y1 = down ? b.Y : a.Y;
        if (cy < y0 || cy >= y1) continue;
        const double x = a.X + (cy - a.Y) * (double(b.X) - a.X) / (double(b.Y) - a.Y);
        crossings.push_back({std::clamp(x, minX, maxX), down ? 1 : -1});
      }
      std::sort(crossings.begin(), crossings.end(), [](const TCrossing& p, const TCrossing& q) { return p.X < q.X; });
      int winding = 0;
      for (std::size_t k = 0; k + 1 < crossings.size(); ++k) {
        winding += crossings[k].Winding;
        const bool inside = PolyFillMode_ == WINDING ? winding != 0 : (k % 2) == 0;
        if (!inside) continue;
        const int x0 = static_cast<int>(std::ceil(crossings[k].X - 0.5));
        const int x1 = static_cast<int>(std::ceil(crossings[k + 1].X - 0.5));
        if (x1 > x0) FillDeviceRect({x0 + org.X, y + org.Y, x1 + org.X, y + 1 + org.Y}, *Brush_);
      }
    }
  }
  if (Pen_ && Pen_->Style != PS_NULL) {
    const TPoint saved = Position_;
    MoveTo(points[0]);
    for (int i = 1; i <= count; ++i) LineTo(points[i % count]);
    Position_ = saved;
  }
}

COLORREF TDeviceContext::GetPixel(int x, int y) const {
  const TPoint org = ViewportOrg();
  if (!Target_ || !Clip().Contains(x + org.X, y + org.Y)) return CLR_INVALID;
  return static_cast<COLORREF>(Target_->Pixel(x + org.X, y + org.Y));
}

COLORREF TDeviceContext::SetPixel(int x, int y, TColor color) {
  const TPoint org = ViewportOrg();
  if (!Drawable(Target_) || !Clip().Contains(x + org.X, y + org.Y)) return CLR_INVALID;
  const COLORREF c = static_cast<COLORREF>(ColorToRGB(color)) & 0xFFFFFF;
  Target_->SetPixel(x + org.X, y + org.Y, static_cast<TColor>(c));
  return c;
}
