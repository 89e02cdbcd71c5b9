#pragma once
// Regions: sets of pixels kept as non-overlapping rectangles in y-x bands.
//
// The rectangles are sorted by top, then left. Rectangles of one band share top and
// bottom, never touch within the band, and vertically adjacent bands with the same
// spans are merged, so two equal pixel sets always have the same rectangle list.
#include <vector>

#include "platform/gfx/GdiObject.h"
#include "platform/gfx/Types.h"

class TBitmap;

// CombineRgn modes and results (classic numbers).
constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;
constexpr int ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

class TRegion {
public:
  TRegion() = default;
  explicit TRegion(const TRect& rect);
  TRegion(int left, int top, int right, int bottom) : TRegion(TRect{left, top, right, bottom}) {}

  // Pixels of the bitmap that are not the key colour (compared as 0x00BBGGRR),
  // placed with the bitmap's top-left pixel at (originX, originY).
  static TRegion FromBitmap(const TBitmap& bitmap, TColor keyColor, int originX = 0, int originY = 0);
  // Builds a region from arbitrary (possibly overlapping) rectangles.
  static TRegion FromRects(const std::vector<TRect>& rects);

  bool IsEmpty() const { return Rects_.empty(); }
  const std::vector<TRect>& Rects() const { return Rects_; }
  // Smallest rectangle holding every pixel; empty rectangle for an empty region.
  TRect Bounds() const { return Bounds_; }
  // NULLREGION, SIMPLEREGION or COMPLEXREGION.
  int Complexity() const;

  bool Contains(int x, int y) const;
  bool Contains(TPoint p) const { return Contains(p.X, p.Y); }
  // True when some pixel of the rectangle lies in the region.
  bool Intersects(const TRect& rect) const;

  void Offset(int dx, int dy);
  TRegion Offsetted(int dx, int dy) const;

  TRegion Union(const TRegion& other) const;
  TRegion Intersect(const TRegion& other) const;
  TRegion Subtract(const TRegion& other) const;
  TRegion Xor(const TRegion& other) const;
  TRegion Intersect(const TRect& rect) const;
  // One of the RGN_* modes; RGN_COPY returns *this. Unknown modes give an empty region.
  TRegion Combine(const TRegion& other, int mode) const;

  void Clear();

  friend bool operator==(const TRegion& a, const TRegion& b) { return a.Rects_ == b.Rects_; }

private:
  // Takes canonical rectangles (as described above) and computes the bounds.
  explicit TRegion(std::vector<TRect> canonical);
  static TRegion Combined(const TRegion& a, const TRegion& b, int mode);

  std::vector<TRect> Rects_;
  TRect Bounds_;
};

// Region handle for the classic wrappers.
class TGdiRegion : public TGdiObject {
public:
  TGdiRegion() = default;
  explicit TGdiRegion(TRegion region) : Region(std::move(region)) {}
  TRegion Region;
};

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rect);
// A region from the given rectangles (null or empty list gives an empty region).
HRGN CreateRegionFrom(const TRegion& region);
// Rewrites dest as src1 <mode> src2 (src2 unused for RGN_COPY); dest may be one of
// the sources. Returns the resulting complexity, or ERROR for bad handles or modes.
int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode);
bool PtInRegion(HRGN region, int x, int y);
bool RectInRegion(HRGN region, const RECT* rect);
// Returns the complexity after the move, ERROR for a bad handle.
int OffsetRgn(HRGN region, int dx, int dy);
// Stores the bounds, returns the complexity (ERROR for a bad handle).
int GetRgnBox(HRGN region, RECT* box);
bool EqualRgn(HRGN a, HRGN b);
bool SetRectRgn(HRGN region, int left, int top, int right, int bottom);
