#include "platform/gfx/Region.h"

#include <algorithm>
#include <utility>

#include "platform/gfx/Bitmap.h"

namespace {

using TSpan = std::pair<int, int>;  // [first, second)
using TSpans = std::vector<TSpan>;

bool Keep(bool inA, bool inB, int mode) {
  switch (mode) {
    case RGN_AND: return inA && inB;
    case RGN_OR: return inA || inB;
    case RGN_XOR: return inA != inB;
    case RGN_DIFF: return inA && !inB;
    default: return inA;
  }
}

// Spans of the band of a canonical rectangle list that covers [y0, y1), starting
// the search at index `at` (advanced past bands that end at or above y0).
void BandSpans(const std::vector<TRect>& rects, std::size_t& at, int y0, TSpans& out) {
  out.clear();
  while (at < rects.size() && rects[at].Bottom <= y0) ++at;
  for (std::size_t i = at; i < rects.size() && rects[i].Top <= y0; ++i) out.emplace_back(rects[i].Left, rects[i].Right);
}

void CombineSpans(const TSpans& a, const TSpans& b, int mode, std::vector<int>& xs, TSpans& out) {
  out.clear();
  xs.clear();
  for (const auto& s : a) xs.insert(xs.end(), {s.first, s.second});
  for (const auto& s : b) xs.insert(xs.end(), {s.first, s.second});
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
  std::size_t ia = 0, ib = 0;
  for (std::size_t k = 0; k + 1 < xs.size(); ++k) {
    const int x0 = xs[k], x1 = xs[k + 1];
    while (ia < a.size() && a[ia].second <= x0) ++ia;
    while (ib < b.size() && b[ib].second <= x0) ++ib;
    const bool inA = ia < a.size() && a[ia].first <= x0;
    const bool inB = ib < b.size() && b[ib].first <= x0;
    if (!Keep(inA, inB, mode)) continue;
    if (!out.empty() && out.back().second == x0)
      out.back().second = x1;
    else
      out.emplace_back(x0, x1);
  }
}

// Appends one band, merging it into the band above when that one touches it and
// has the same spans.
class TBandWriter {
public:
  explicit TBandWriter(std::vector<TRect>& out) : Out_(out) {}
  void Add(int top, int bottom, const TSpans& spans) {
    if (spans.empty() || bottom <= top) return;
    if (LastCount_ == spans.size() && LastCount_ > 0 && Out_.back().Bottom == top) {
      const std::size_t first = Out_.size() - LastCount_;
      bool same = true;
      for (std::size_t i = 0; i < LastCount_ && same; ++i)
        same = Out_[first + i].Left == spans[i].first && Out_[first + i].Right == spans[i].second;
      if (same) {
        for (std::size_t i = first; i < Out_.size(); ++i) Out_[i].Bottom = bottom;
        return;
      }
    }
    for (const auto& s : spans) Out_.push_back({s.first, top, s.second, bottom});
    LastCount_ = spans.size();
  }

private:
  std::vector<TRect>& Out_;
  std::size_t LastCount_ = 0;
};

std::vector<int> BandEdges(const std::vector<TRect>& a, const std::vector<TRect>& b) {
  std::vector<int> ys;
  ys.reserve((a.size() + b.size()) * 2);
  for (const auto& r : a) ys.insert(ys.end(), {r.Top, r.Bottom});
  for (const auto& r : b) ys.insert(ys.end(), {r.Top, r.Bottom});
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  return ys;
}

}  // namespace

TRegion::TRegion(const TRect& rect) {
  if (!rect.IsEmpty()) {
    Rects_.push_back(rect);
    Bounds_ = rect;
  }
}

TRegion::TRegion(std::vector<TRect> canonical) : Rects_(std::move(canonical)) {
  if (Rects_.empty()) return;
  Bounds_ = {Rects_.front().Left, Rects_.front().Top, Rects_.front().Right, Rects_.back().Bottom};
  for (const auto& r : Rects_) {
    Bounds_.Left = std::min(Bounds_.Left, r.Left);
    Bounds_.Right = std::max(Bounds_.Right, r.Right);
  }
}

TRegion TRegion::Combined(const TRegion& a, const TRegion& b, int mode) {
  std::vector<TRect> out;
  TBandWriter writer(out);
  const std::vector<int> ys = BandEdges(a.Rects_, b.Rects_);
  std::size_t ia = 0, ib = 0;
  TSpans sa, sb, spans;
  std::vector<int> xs;
  for (std::size_t k = 0; k + 1 < ys.size(); ++k) {
    BandSpans(a.Rects_, ia, ys[k], sa);
    BandSpans(b.Rects_, ib, ys[k], sb);
    CombineSpans(sa, sb, mode, xs, spans);
    writer.Add(ys[k], ys[k + 1], spans);
  }
  return TRegion(std::move(out));
}

TRegion TRegion::FromRects(const std::vector<TRect>& rects) {
  std::vector<TRect> sorted;
  for (const auto& r : rects)
    if (!r.IsEmpty()) sorted.push_back(r);
  std::vector<int> ys = BandEdges(sorted, {});
  std::vector<TRect> out;
  TBandWriter writer(out);
  TSpans raw, merged;
  for (std::size_t k = 0; k + 1 < ys.size(); ++k) {
    raw.clear();
    for (const auto& r : sorted)
      if (r.Top <= ys[k] && r.Bottom >= ys[k + 1]) raw.emplace_back(r.Left, r.Right);
    std::sort(raw.begin(), raw.end());
    merged.clear();
    for (const auto& s : raw) {
      if (!merged.empty() && s.first <= merged.back().second)
        merged.back().second = std::max(merged.back().second, s.second);
      else
        merged.push_back(s);
    }
    writer.Add(ys[k], ys[k + 1], merged);
  }
  return TRegion(std::move(out));
}

TRegion TRegion::FromBitmap(const TBitmap& bitmap, TColor keyColor, int originX, int originY) {
  std::vector<TRect> out;
  TBandWriter writer(out);
  const auto key = static_cast<std::uint32_t>(keyColor) & 0x00FFFFFFu;
  const int width = bitmap.Width();
  const int bits = BitsPerPixel(bitmap.PixelFormat());
  TSpans spans;
  for (int y = 0; y < bitmap.Height(); ++y) {
    spans.clear();
    const std::uint8_t* row = bitmap.ScanLine(y);
    int runStart = -1;
    for (int x = 0; x <= width; ++x) {
      bool solid = false;
      if (x < width) {
        std::uint32_t c;
        if (bits >= 24) {
          const std::uint8_t* p = row + x * (bits / 8);
          c = RGB(p[2], p[1], p[0]);
        } else {
          c = bitmap.Pixel32(x, y) & 0x00FFFFFFu;
        }
        solid = c != key;
      }
      if (solid && runStart < 0) runStart = x;
      if (!solid && runStart >= 0) {
        spans.emplace_back(runStart + originX, x + originX);
        runStart = -1;
      }
    }
    writer.Add(y + originY, y + originY + 1, spans);
  }
  return TRegion(std::move(out));
}

int TRegion::Complexity() const {
  if (Rects_.empty()) return NULLREGION;
  return Rects_.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

bool TRegion::Contains(int x, int y) const {
  if (!Bounds_.Contains({x, y})) return false;
  // First rectangle of the band holding y: bottoms never decrease along the list.
  auto it = std::upper_bound(Rects_.begin(), Rects_.end(), y, [](int v, const TRect& r) { return v < r.Bottom; });
  for (; it != Rects_.end() && it->Top <= y; ++it)
    if (x >= it->Left && x < it->Right) return true;
  return false;
}

bool TRegion::Intersects(const TRect& rect) const {
  if (rect.IsEmpty() || Bounds_.Intersect(rect).IsEmpty()) return false;
  for (const auto& r : Rects_)
    if (!r.Intersect(rect).IsEmpty()) return true;
  return false;
}

void TRegion::Offset(int dx, int dy) {
  for (auto& r : Rects_) r = r.Offset(dx, dy);
  if (!Rects_.empty()) Bounds_ = Bounds_.Offset(dx, dy);
}

TRegion TRegion::Offsetted(int dx, int dy) const {
  TRegion copy = *this;
  copy.Offset(dx, dy);
  return copy;
}

// The short cuts below return what the band sweep would: a region's rectangles are
// always canonical (bands merged, spans neither touching nor overlapping), and the
// sweep of a canonical region against nothing that changes it gives it back as it is.
// Window painting builds many regions from a few rectangles, so they matter there.
namespace {
bool Covers(const TRect& outer, const TRect& inner) {
  return outer.Left <= inner.Left && outer.Top <= inner.Top && outer.Right >= inner.Right && outer.Bottom >= inner.Bottom;
}
}  // namespace

TRegion TRegion::Union(const TRegion& other) const {
  if (other.Rects_.empty()) return *this;
  if (Rects_.empty()) return other;
  return Combined(*this, other, RGN_OR);
}
TRegion TRegion::Intersect(const TRegion& other) const {
  if (Rects_.empty() || other.Rects_.empty() || Bounds_.Intersect(other.Bounds_).IsEmpty()) return {};
  if (other.Rects_.size() == 1) return Intersect(other.Rects_.front());
  if (Rects_.size() == 1 && Covers(Rects_.front(), other.Bounds_)) return other;
  return Combined(*this, other, RGN_AND);
}
TRegion TRegion::Subtract(const TRegion& other) const {
  if (Rects_.empty()) return {};
  if (other.Rects_.empty() || Bounds_.Intersect(other.Bounds_).IsEmpty()) return *this;
  if (other.Rects_.size() == 1 && Covers(other.Rects_.front(), Bounds_)) return {};
  return Combined(*this, other, RGN_DIFF);
}
TRegion TRegion::Xor(const TRegion& other) const { return Combined(*this, other, RGN_XOR); }

TRegion TRegion::Intersect(const TRect& rect) const {
  if (Rects_.size() == 1) return TRegion(Rects_.front().Intersect(rect));
  if (Rects_.empty() || rect.IsEmpty() || Bounds_.Intersect(rect).IsEmpty()) return {};
  if (Covers(rect, Bounds_)) return *this;
  return Combined(*this, TRegion(rect), RGN_AND);
}

TRegion TRegion::Combine(const TRegion& other, int mode) const {
  switch (mode) {
    case RGN_AND: return Intersect(other);
    case RGN_OR: return Union(other);
    case RGN_XOR: return Xor(other);
    case RGN_DIFF: return Subtract(other);
    case RGN_COPY: return *this;
    default: return {};
  }
}

void TRegion::Clear() {
  Rects_.clear();
  Bounds_ = {};
}

// --- classic wrappers ----------------------------------------------------------

namespace {

TGdiRegion* LiveRegion(HRGN region) {
  if (!IsGdiObject(region)) return nullptr;
  return region;
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  // Classic behaviour: swapped corners are put in order.
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  return new TGdiRegion(TRegion(TRect{left, top, right, bottom}));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
  if (!rect) return nullptr;
  return CreateRectRgn(rect->Left, rect->Top, rect->Right, rect->Bottom);
}

HRGN CreateRegionFrom(const TRegion& region) { return new TGdiRegion(region); }

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode) {
  TGdiRegion* d = LiveRegion(dest);
  TGdiRegion* a = LiveRegion(src1);
  TGdiRegion* b = LiveRegion(src2);
  if (!d || !a || (mode != RGN_COPY && !b) || mode < RGN_AND || mode > RGN_COPY) return ERROR;
  d->Region = mode == RGN_COPY ? a->Region : a->Region.Combine(b->Region, mode);
  return d->Region.Complexity();
}

bool PtInRegion(HRGN region, int x, int y) {
  const TGdiRegion* r = LiveRegion(region);
  return r && r->Region.Contains(x, y);
}

bool RectInRegion(HRGN region, const RECT* rect) {
  const TGdiRegion* r = LiveRegion(region);
  return r && rect && r->Region.Intersects(*rect);
}

int OffsetRgn(HRGN region, int dx, int dy) {
  TGdiRegion* r = LiveRegion(region);
  if (!r) return ERROR;
  r->Region.Offset(dx, dy);
  return r->Region.Complexity();
}

int GetRgnBox(HRGN region, RECT* box) {
  const TGdiRegion* r = LiveRegion(region);
  if (!r || !box) return ERROR;
  *box = r->Region.Bounds();
  return r->Region.Complexity();
}

bool EqualRgn(HRGN a, HRGN b) {
  const TGdiRegion* ra = LiveRegion(a);
  const TGdiRegion* rb = LiveRegion(b);
  return ra && rb && ra->Region == rb->Region;
}

bool SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
  TGdiRegion* r = LiveRegion(region);
  if (!r) return false;
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  r->Region = TRegion(TRect{left, top, right, bottom});
  return true;
}
