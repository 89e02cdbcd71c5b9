#pragma once
// Device-independent bitmap with direct row access.
//
// Rows are padded to 4 bytes as in classic DIBs. A bottom-up bitmap keeps row 0
// at the end of its buffer, so Stride() (address of row 1 minus row 0) is
// negative; pixel loops walk rows through ScanLine(0) and Stride().
// 24-bit pixels are bytes B, G, R; 32-bit pixels are B, G, R, A.
// 1-, 4- and 8-bit bitmaps are palette-indexed (most-significant bits first).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gfx/Types.h"

enum class TPixelFormat { pf1bit, pf4bit, pf8bit, pf24bit, pf32bit };

int BitsPerPixel(TPixelFormat format);

struct TRGBQuad {
  std::uint8_t Blue = 0;
  std::uint8_t Green = 0;
  std::uint8_t Red = 0;
  std::uint8_t Reserved = 0;
  friend bool operator==(const TRGBQuad&, const TRGBQuad&) = default;
};

class TDeviceContext;

// Largest bitmap the program agrees to allocate.
constexpr int kMaxBitmapSide = 16384;
constexpr std::size_t kMaxBitmapBytes = 256u * 1024u * 1024u;

class TBitmap {
public:
  TBitmap();
  TBitmap(int width, int height, TPixelFormat format = TPixelFormat::pf24bit, bool topDown = false);
  TBitmap(const TBitmap& other);
  TBitmap& operator=(const TBitmap& other);
  TBitmap(TBitmap&& other) noexcept;
  TBitmap& operator=(TBitmap&& other) noexcept;
  ~TBitmap();

  // Deep copy of pixels, format, orientation, palette and transparency.
  void Assign(const TBitmap& other);

  int Width() const { return Width_; }
  int Height() const { return Height_; }
  bool Empty() const { return Width_ == 0 || Height_ == 0; }
  // Reallocates with zeroed pixels when the size changes (an unchanged size keeps
  // the pixels). Raises EOutOfResources beyond the size limits, leaving the bitmap as
  // it was.
  void SetSize(int width, int height);
  void SetWidth(int width) { SetSize(width, Height_); }
  void SetHeight(int height) { SetSize(Width_, height); }

  TPixelFormat PixelFormat() const { return Format_; }
  // Converts the pixels to the new format (palette formats expand through the
  // palette; 24 to 32 sets alpha 255; to palette formats picks the nearest entry).
  void SetPixelFormat(TPixelFormat format);

  bool TopDown() const { return TopDown_; }
  // Changes the row order in memory, keeping the picture.
  void SetTopDown(bool topDown);

  std::uint8_t* ScanLine(int y) { return Row0() + static_cast<std::ptrdiff_t>(y) * Stride(); }
  const std::uint8_t* ScanLine(int y) const { return Row0() + static_cast<std::ptrdiff_t>(y) * Stride(); }
  std::ptrdiff_t Stride() const { return TopDown_ ? RowBytes_ : -RowBytes_; }
  std::ptrdiff_t RowBytes() const { return RowBytes_; }
  std::uint8_t* Bits() { return Pixels_.data(); }
  const std::uint8_t* Bits() const { return Pixels_.data(); }
  std::size_t SizeInBytes() const { return Pixels_.size(); }

  std::vector<TRGBQuad>& Palette() { return Palette_; }
  const std::vector<TRGBQuad>& Palette() const { return Palette_; }

  // Pixel access for tests and tools; hot loops use ScanLine and Stride.
  // Colours are 0x00BBGGRR (system colours are resolved); Pixel32 adds the alpha
  // byte on top, 0xAABBGGRR (255 for formats without alpha). Outside the bitmap
  // Pixel gives 0 and SetPixel does nothing.
  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor color);
  std::uint32_t Pixel32(int x, int y) const;

  bool Transparent() const { return Transparent_; }
  void SetTransparent(bool value) { Transparent_ = value; }
  TColor TransparentColor() const { return TransparentColor_; }
  void SetTransparentColor(TColor color) { TransparentColor_ = color; }

  // Fills every pixel with one colour (alpha 255 for 32-bit; the nearest palette
  // entry for palette formats).
  void Fill(TColor color);

  // A device context drawing into this bitmap, created on first use. It lives as
  // long as the bitmap and survives Assign, assignment and format changes.
  TDeviceContext& Canvas();

private:
  std::uint8_t* Row0() { return Pixels_.data() + (TopDown_ || Height_ == 0 ? 0 : (Height_ - 1) * RowBytes_); }
  const std::uint8_t* Row0() const { return Pixels_.data() + (TopDown_ || Height_ == 0 ? 0 : (Height_ - 1) * RowBytes_); }
  void Reallocate(int width, int height, TPixelFormat format);
  void CanvasTargetChanged();

  int Width_ = 0;
  int Height_ = 0;
  TPixelFormat Format_ = TPixelFormat::pf24bit;
  bool TopDown_ = false;
  std::ptrdiff_t RowBytes_ = 0;
  std::vector<std::uint8_t> Pixels_;
  std::vector<TRGBQuad> Palette_;
  bool Transparent_ = false;
  TColor TransparentColor_ = clFuchsia;
  std::unique_ptr<TDeviceContext> Canvas_;
};

// Row size of a DIB row of the given width and depth, padded to 4 bytes.
std::ptrdiff_t DibRowBytes(int width, TPixelFormat format);
// Raises EOutOfResources with a clear message when a bitmap of this size may not be made.
void CheckBitmapSize(int width, int height, TPixelFormat format);
