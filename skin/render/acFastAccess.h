#pragma once
// Fast pixel access over 24- and 32-bit bitmaps: the row-0 address and the row
// stride are taken once at attach time, so per-pixel work is plain pointer math.
// None of these classes owns the bitmaps it is attached to.
#include <cassert>
#include <cstddef>
#include <cstdint>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Types.h"
#include "skin/render/acPixelKernels.h"

// The attached bitmap's geometry, shared by the 24- and 32-bit readers.
class TacFastView {
public:
  void Detach();

  TBitmap* Bitmap = nullptr;
  int Width = 0;
  int Height = 0;
  std::uint8_t* Row0 = nullptr;
  std::ptrdiff_t Stride = 0;  // address of row 1 minus row 0; negative for bottom-up

protected:
  // Fails (Width 0) for a missing bitmap, another depth, or one below 2 x 2.
  bool AttachAs(TBitmap* bitmap, TPixelFormat format);
};

// Reads pixels of a 24-bit bitmap.
class TacFast24 : public TacFastView {
public:
  bool Attach(TBitmap* bitmap) { return AttachAs(bitmap, TPixelFormat::pf24bit); }

  // RGB (0x00BBGGRR) at (x, y); the caller keeps x, y inside the bitmap.
  TColor Pixel(int x, int y) const {
    assert(x >= 0 && y >= 0 && x < Width && y < Height);
    const std::uint8_t* p = Row0 + static_cast<std::ptrdiff_t>(y) * Stride + x * 3;
    return static_cast<TColor>(p[2] | (p[1] << 8) | (p[0] << 16));
  }
};

// Reads and writes pixels of a 32-bit bitmap.
class TacFast32 : public TacFastView {
public:
  bool Attach(TBitmap* bitmap) { return AttachAs(bitmap, TPixelFormat::pf32bit); }

  // 0xAABBGGRR at (x, y).
  std::uint32_t Pixel(int x, int y) const {
    assert(x >= 0 && y >= 0 && x < Width && y < Height);
    const std::uint8_t* p = Row0 + static_cast<std::ptrdiff_t>(y) * Stride + x * 4;
    return static_cast<std::uint32_t>(p[2]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[0]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
  }
  void SetPixel(int x, int y, std::uint32_t value) {
    assert(x >= 0 && y >= 0 && x < Width && y < Height);
    std::uint8_t* p = Row0 + static_cast<std::ptrdiff_t>(y) * Stride + x * 4;
    p[0] = static_cast<std::uint8_t>(value >> 16);
    p[1] = static_cast<std::uint8_t>(value >> 8);
    p[2] = static_cast<std::uint8_t>(value);
    p[3] = static_cast<std::uint8_t>(value >> 24);
  }
  // Writes value (0xAABBGGRR) into rect (right and bottom exclusive), clipped to the bitmap.
  void FillRect(const TRect& rect, std::uint32_t value);
};

// Blends a rectangle of one bitmap onto another of the same depth:
// D := (D * Alpha + S * (255 - Alpha) + 127) div 256 for every byte.
// Rectangles are (x1, y1) inclusive to (x2, y2) exclusive.
class TacFastSumBase {
public:
  void Detach();
  // Blends SrcX1..SrcX2 x SrcY1..SrcY2 onto the destination from (DstX1, DstY1);
  // the area is cut to both bitmaps and to the destination rectangle.
  void Blend();

  const TBitmap* Source = nullptr;
  TBitmap* Destination = nullptr;
  int Width = 0;   // the smaller of the two widths
  int Height = 0;  // the smaller of the two heights
  const std::uint8_t* SrcRow0 = nullptr;
  std::ptrdiff_t SrcStride = 0;
  std::uint8_t* DstRow0 = nullptr;
  std::ptrdiff_t DstStride = 0;
  int Alpha = 0;
  int DstX1 = 0, DstY1 = 0, DstX2 = 0, DstY2 = 0;
  int SrcX1 = 0, SrcY1 = 0, SrcX2 = 0, SrcY2 = 0;

protected:
  bool AttachAs(const TBitmap* source, TBitmap* destination, TPixelFormat format);
  int BytesPerPixel_ = 3;

private:
  int SrcWidth_ = 0, SrcHeight_ = 0, DstWidth_ = 0, DstHeight_ = 0;
};

class TacFastSum24 : public TacFastSumBase {
public:
  // Fails when either bitmap is missing, not 24-bit, or below 2 x 2.
  bool Attach(const TBitmap* source, TBitmap* destination) {
    BytesPerPixel_ = 3;
    return AttachAs(source, destination, TPixelFormat::pf24bit);
  }
};

class TacFastSum32 : public TacFastSumBase {
public:
  bool Attach(const TBitmap* source, TBitmap* destination) {
    BytesPerPixel_ = 4;
    return AttachAs(source, destination, TPixelFormat::pf32bit);
  }
};

// The process-wide instances, reattached on each use; not reentrant.
TacFast24& SharedFast24A();
TacFast24& SharedFast24B();
TacFastSum24& SharedFastSum24();
TacFast32& SharedFast32();
