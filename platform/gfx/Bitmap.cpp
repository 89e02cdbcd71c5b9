#include "platform/gfx/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/base/Exception.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/SystemColors.h"

int BitsPerPixel(TPixelFormat format) {
  switch (format) {
    case TPixelFormat::pf1bit: return 1;
    case TPixelFormat::pf4bit: return 4;
    case TPixelFormat::pf8bit: return 8;
    case TPixelFormat::pf24bit: return 24;
    case TPixelFormat::pf32bit: return 32;
  }
  return 24;
}

std::ptrdiff_t DibRowBytes(int width, TPixelFormat format) {
  const std::ptrdiff_t bits = static_cast<std::ptrdiff_t>(width) * BitsPerPixel(format);
  return ((bits + 31) / 32) * 4;
}

void CheckBitmapSize(int width, int height, TPixelFormat format) {
  if (width < 0 || height < 0)
    throw EOutOfResources("Invalid bitmap size " + std::to_string(width) + " x " + std::to_string(height));
  if (width > kMaxBitmapSide || height > kMaxBitmapSide)
    throw EOutOfResources("Bitmap of " + std::to_string(width) + " x " + std::to_string(height) +
                          " pixels is larger than the allowed 16384 x 16384");
  const auto bytes = static_cast<std::size_t>(DibRowBytes(width, format)) * static_cast<std::size_t>(height);
  if (bytes > kMaxBitmapBytes)
    throw EOutOfResources("Bitmap of " + std::to_string(width) + " x " + std::to_string(height) +
                          " pixels needs more than the allowed 256 MiB");
}

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat format, bool topDown) : Format_(format), TopDown_(topDown) {
  Reallocate(width, height, format);
}

TBitmap::TBitmap(const TBitmap& other) { Assign(other); }

TBitmap& TBitmap::operator=(const TBitmap& other) {
  if (this != &other) Assign(other);
  return *this;
}

TBitmap::TBitmap(TBitmap&& other) noexcept
    : Width_(other.Width_), Height_(other.Height_), Format_(other.Format_), TopDown_(other.TopDown_),
      RowBytes_(other.RowBytes_), Pixels_(std::move(other.Pixels_)), Palette_(std::move(other.Palette_)),
      Transparent_(other.Transparent_), TransparentColor_(other.TransparentColor_) {
  other.Width_ = other.Height_ = 0;
  other.RowBytes_ = 0;
  other.CanvasTargetChanged();
}

TBitmap& TBitmap::operator=(TBitmap&& other) noexcept {
  if (this == &other) return *this;
  Width_ = other.Width_;
  Height_ = other.Height_;
  Format_ = other.Format_;
  TopDown_ = other.TopDown_;
  RowBytes_ = other.RowBytes_;
  Pixels_ = std::move(other.Pixels_);
  Palette_ = std::move(other.Palette_);
  Transparent_ = other.Transparent_;
  TransparentColor_ = other.TransparentColor_;
  other.Width_ = other.Height_ = 0;
  other.RowBytes_ = 0;
  // Each bitmap keeps its own canvas: callers may hold it.
  CanvasTargetChanged();
  other.CanvasTargetChanged();
  return *this;
}

TBitmap::~TBitmap() = default;

void TBitmap::Assign(const TBitmap& other) {
  if (this == &other) return;
  // Copy first, so a failed allocation leaves this bitmap as it was.
  std::vector<std::uint8_t> pixels = other.Pixels_;
  std::vector<TRGBQuad> palette = other.Palette_;
  Width_ = other.Width_;
  Height_ = other.Height_;
  Format_ = other.Format_;
  TopDown_ = other.TopDown_;
  RowBytes_ = other.RowBytes_;
  Pixels_.swap(pixels);
  Palette_.swap(palette);
  Transparent_ = other.Transparent_;
  TransparentColor_ = other.TransparentColor_;
  // The canvas stays: callers may hold it; it only follows the new size.
  CanvasTargetChanged();
}

void TBitmap::CanvasTargetChanged() {
  if (Canvas_) Canvas_->TargetResized();
}

void TBitmap::Reallocate(int width, int height, TPixelFormat format) {
  CheckBitmapSize(width, height, format);
  // Build everything first so a failed allocation leaves the bitmap as it was.
  const std::ptrdiff_t rowBytes = DibRowBytes(width, format);
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(rowBytes) * static_cast<std::size_t>(height), 0);
  std::vector<TRGBQuad> palette;
  if (BitsPerPixel(format) <= 8) {
    const std::size_t entries = std::size_t{1} << BitsPerPixel(format);
    if (Palette_.size() == entries) {
      palette = Palette_;
    } else {
      // A gray ramp until the caller sets the real palette.
      palette.assign(entries, {});
      for (std::size_t i = 0; i < entries; ++i) {
        const auto v = static_cast<std::uint8_t>(i * 255 / (entries - 1));
        palette[i] = {v, v, v, 0};
      }
    }
  }
  Width_ = width;
  Height_ = height;
  Format_ = format;
  RowBytes_ = rowBytes;
  Pixels_.swap(pixels);
  Palette_.swap(palette);
  if (Canvas_) Canvas_->TargetResized();
}

void TBitmap::SetSize(int width, int height) {
  if (width == Width_ && height == Height_ && !Pixels_.empty()) return;
  Reallocate(width, height, Format_);
}

namespace {

int PaletteIndex(const std::uint8_t* row, int x, int bits) {
  switch (bits) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
    default: return row[x];
  }
}

void SetPaletteIndex(std::uint8_t* row, int x, int bits, int index) {
  switch (bits) {
    case 1: {
      const int shift = 7 - (x & 7);
      row[x >> 3] = static_cast<std::uint8_t>((row[x >> 3] & ~(1 << shift)) | ((index & 1) << shift));
      break;
    }
    case 4: {
      const int shift = (x & 1) ? 0 : 4;
      row[x >> 1] = static_cast<std::uint8_t>((row[x >> 1] & ~(0x0F << shift)) | ((index & 0x0F) << shift));
      break;
    }
    default: row[x] = static_cast<std::uint8_t>(index);
  }
}

int NearestPaletteEntry(const std::vector<TRGBQuad>& palette, int r, int g, int b) {
  int best = 0;
  int bestDistance = 1 << 30;
  for (std::size_t i = 0; i < palette.size(); ++i) {
    const int dr = palette[i].Red - r, dg = palette[i].Green - g, db = palette[i].Blue - b;
    const int d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) {
      bestDistance = d;
      best = static_cast<int>(i);
      if (d == 0) break;
    }
  }
  return best;
}

}  // namespace

std::uint32_t TBitmap::Pixel32(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width_ || y >= Height_) return 0;
  const std::uint8_t* row = ScanLine(y);
  const int bits = BitsPerPixel(Format_);
  if (bits <= 8) {
    const int index = PaletteIndex(row, x, bits);
    if (static_cast<std::size_t>(index) >= Palette_.size()) return 0xFF000000u;
    const TRGBQuad& q = Palette_[static_cast<std::size_t>(index)];
    return 0xFF000000u | RGB(q.Red, q.Green, q.Blue);
  }
  if (bits == 24) {
    const std::uint8_t* p = row + x * 3;
    return 0xFF000000u | RGB(p[2], p[1], p[0]);
  }
  const std::uint8_t* p = row + x * 4;
  return (static_cast<std::uint32_t>(p[3]) << 24) | RGB(p[2], p[1], p[0]);
}

TColor TBitmap::Pixel(int x, int y) const { return static_cast<TColor>(Pixel32(x, y) & 0x00FFFFFF); }

void TBitmap::SetPixel(int x, int y, TColor color) {
  if (x < 0 || y < 0 || x >= Width_ || y >= Height_) return;
  std::uint8_t* row = ScanLine(y);
  const auto c = static_cast<COLORREF>(ColorToRGB(color));
  const int bits = BitsPerPixel(Format_);
  if (bits <= 8) {
    SetPaletteIndex(row, x, bits, NearestPaletteEntry(Palette_, GetRValue(c), GetGValue(c), GetBValue(c)));
    return;
  }
  std::uint8_t* p = row + x * (bits / 8);
  p[0] = GetBValue(c);
  p[1] = GetGValue(c);
  p[2] = GetRValue(c);
  if (bits == 32) p[3] = 255;
}

void TBitmap::Fill(TColor color) {
  const auto c = static_cast<COLORREF>(ColorToRGB(color));
  const int bits = BitsPerPixel(Format_);
  if (bits <= 8) {
    const int index = NearestPaletteEntry(Palette_, GetRValue(c), GetGValue(c), GetBValue(c));
    for (int y = 0; y < Height_; ++y) {
      std::uint8_t* row = ScanLine(y);
      for (int x = 0; x < Width_; ++x) SetPaletteIndex(row, x, bits, index);
    }
    return;
  }
  const int bpp = bits / 8;
  std::uint8_t pixel[4] = {GetBValue(c), GetGValue(c), GetRValue(c), 255};
  if (Width_ <= 0 || Height_ <= 0) return;
  // The first row in memory is laid out once (one pixel, then copies of what is
  // already there, doubling), every other row is a copy of it; padding stays as it was.
  const std::size_t rowBytes = static_cast<std::size_t>(Width_) * static_cast<std::size_t>(bpp);
  std::uint8_t* first = Pixels_.data();
  std::memcpy(first, pixel, static_cast<std::size_t>(bpp));
  for (std::size_t done = static_cast<std::size_t>(bpp); done < rowBytes;) {
    const std::size_t n = std::min(done, rowBytes - done);
    std::memcpy(first + done, first, n);
    done += n;
  }
  for (int y = 1; y < Height_; ++y) std::memcpy(first + static_cast<std::size_t>(y) * static_cast<std::size_t>(RowBytes_), first, rowBytes);
}

void TBitmap::SetTopDown(bool topDown) {
  if (topDown == TopDown_) return;
  std::vector<std::uint8_t> flipped(Pixels_.size());
  for (int y = 0; y < Height_; ++y)
    std::memcpy(flipped.data() + static_cast<std::size_t>(Height_ - 1 - y) * static_cast<std::size_t>(RowBytes_),
                Pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(RowBytes_),
                static_cast<std::size_t>(RowBytes_));
  Pixels_.swap(flipped);
  TopDown_ = topDown;
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == Format_) return;
  TBitmap converted(Width_, Height_, format, TopDown_);
  converted.Transparent_ = Transparent_;
  converted.TransparentColor_ = TransparentColor_;
  const int srcBits = BitsPerPixel(Format_);
  const int dstBits = BitsPerPixel(format);
  if (dstBits <= 8 && srcBits <= 8 && Palette_.size() <= converted.Palette_.size())
    std::copy(Palette_.begin(), Palette_.end(), converted.Palette_.begin());
  if (srcBits <= 8 && dstBits >= 24) {
    // Palette pictures of skins become 24-bit on every load: one table lookup a pixel.
    std::uint8_t colors[256][4] = {};  // indexes past the palette are black
    for (std::size_t i = 0; i < std::min<std::size_t>(Palette_.size(), 256); ++i)
      colors[i][0] = Palette_[i].Blue, colors[i][1] = Palette_[i].Green, colors[i][2] = Palette_[i].Red;
    const int db = dstBits / 8;
    for (int y = 0; y < Height_; ++y) {
      const std::uint8_t* src = ScanLine(y);
      std::uint8_t* dst = converted.ScanLine(y);
      for (int x = 0; x < Width_; ++x, dst += db) {
        const std::uint8_t* c = colors[srcBits == 8 ? src[x] : PaletteIndex(src, x, srcBits)];
        dst[0] = c[0];
        dst[1] = c[1];
        dst[2] = c[2];
        if (db == 4) dst[3] = 255;
      }
    }
    Format_ = converted.Format_;
    RowBytes_ = converted.RowBytes_;
    Pixels_.swap(converted.Pixels_);
    Palette_.swap(converted.Palette_);
    if (Canvas_) Canvas_->TargetResized();
    return;
  }
  for (int y = 0; y < Height_; ++y) {
    const std::uint8_t* src = ScanLine(y);
    std::uint8_t* dst = converted.ScanLine(y);
    if (srcBits >= 24 && dstBits >= 24) {
      const int sb = srcBits / 8, db = dstBits / 8;
      for (int x = 0; x < Width_; ++x) {
        dst[x * db] = src[x * sb];
        dst[x * db + 1] = src[x * sb + 1];
        dst[x * db + 2] = src[x * sb + 2];
        if (db == 4) dst[x * db + 3] = 255;
      }
    } else if (srcBits <= 8 && dstBits <= 8 && Palette_.size() <= converted.Palette_.size()) {
      for (int x = 0; x < Width_; ++x) SetPaletteIndex(dst, x, dstBits, PaletteIndex(src, x, srcBits));
    } else {
      for (int x = 0; x < Width_; ++x) converted.SetPixel(x, y, static_cast<TColor>(Pixel32(x, y) & 0xFFFFFF));
    }
  }
  // Take the pixels but keep this bitmap's canvas: callers may hold it.
  Format_ = converted.Format_;
  RowBytes_ = converted.RowBytes_;
  Pixels_.swap(converted.Pixels_);
  Palette_.swap(converted.Palette_);
  if (Canvas_) Canvas_->TargetResized();
}

TDeviceContext& TBitmap::Canvas() {
  if (!Canvas_) Canvas_ = std::make_unique<TDeviceContext>(*this);
  return *Canvas_;
}
