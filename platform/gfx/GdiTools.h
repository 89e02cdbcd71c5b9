#pragma once
// Brushes, pens and bitmap handles: the drawing tools a device context selects.
#include <memory>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/GdiObject.h"
#include "platform/gfx/Types.h"

// Brush styles (classic numbers).
constexpr int BS_SOLID = 0;
constexpr int BS_NULL = 1;
constexpr int BS_HOLLOW = BS_NULL;
constexpr int BS_PATTERN = 3;

// Pen styles (classic numbers). Pens are one pixel wide whatever width is asked.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_DASHDOT = 3;
constexpr int PS_DASHDOTDOT = 4;
constexpr int PS_NULL = 5;
constexpr int PS_INSIDEFRAME = 6;
constexpr int PS_ALTERNATE = 8;

class TGdiBrush : public TGdiObject {
public:
  TGdiBrush(int style, TColor color) : Style(style), Color(color) {}
  // A pattern brush tiles a copy of the bitmap, aligned to the device origin.
  explicit TGdiBrush(const TBitmap& pattern);
  int Style = BS_SOLID;
  TColor Color = clBlack;  // RGB, system colours already resolved
  std::unique_ptr<TBitmap> Pattern;
};

class TGdiPen : public TGdiObject {
public:
  TGdiPen(int style, int width, TColor color) : Style(style), Width(width), Color(color) {}
  int Style = PS_SOLID;
  int Width = 1;
  TColor Color = clBlack;  // RGB, system colours already resolved
};

// A bitmap handle either owns its bitmap or borrows one that outlives it.
class TGdiBitmap : public TGdiObject {
public:
  explicit TGdiBitmap(std::unique_ptr<TBitmap> owned) : Owned_(std::move(owned)), Bitmap_(Owned_.get()) {}
  explicit TGdiBitmap(TBitmap& borrowed) : Bitmap_(&borrowed) {}
  TBitmap& Bitmap() const { return *Bitmap_; }

private:
  std::unique_ptr<TBitmap> Owned_;
  TBitmap* Bitmap_;
};

HBRUSH CreateSolidBrush(TColor color);
HBRUSH CreatePatternBrush(HBITMAP pattern);
HPEN CreatePen(int style, int width, TColor color);
// A new zeroed bitmap owned by the handle (24 or 32 bits; other depths as asked).
HBITMAP CreateBitmapHandle(int width, int height, TPixelFormat format = TPixelFormat::pf24bit);
// Takes ownership of the bitmap.
HBITMAP CreateBitmapHandle(std::unique_ptr<TBitmap> bitmap);
// Borrows the bitmap: it must outlive the handle.
HBITMAP WrapBitmap(TBitmap& bitmap);
// A bitmap of the depth of the device's target (24-bit when it has none).
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// The bitmap behind a handle, or null.
TBitmap* BitmapOf(HBITMAP bitmap);
