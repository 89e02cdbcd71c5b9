// BMP reading and writing. Every field is checked against the data before use.
#include <cstring>

#include "platform/base/Exception.h"
#include "platform/gfx/ImageCodec.h"
#include "platform/gfx/ImageFile.h"

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;
constexpr std::size_t kFileHeaderSize = 14;

[[noreturn]] void Fail(const std::string& what) { throw EInvalidGraphic("Bitmap image is not valid: " + what); }

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t U32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// One channel of a bit-field pixel: where it sits and how to widen it to 8 bits.
struct TChannel {
  std::uint32_t Mask = 0;
  int Shift = 0;
  int Bits = 0;

  explicit TChannel(std::uint32_t mask) : Mask(mask) {
    if (!mask) return;
    while (!((mask >> Shift) & 1)) ++Shift;
    while (Shift + Bits < 32 && ((mask >> (Shift + Bits)) & 1)) ++Bits;
    if (Shift + Bits < 32 && (mask >> (Shift + Bits)) != 0) Fail("colour masks must be contiguous");
  }
  std::uint8_t Get(std::uint32_t pixel, std::uint8_t missing) const {
    if (!Mask) return missing;
    const std::uint32_t v = (pixel & Mask) >> Shift;
    if (Bits >= 8) return static_cast<std::uint8_t>(v >> (Bits - 8));
    return static_cast<std::uint8_t>(v * 255u / ((1u << Bits) - 1u));
  }
};

TPixelFormat FormatOfBits(int bits) {
  switch (bits) {
    case 1: return TPixelFormat::pf1bit;
    case 4: return TPixelFormat::pf4bit;
    case 8: return TPixelFormat::pf8bit;
    case 32: return TPixelFormat::pf32bit;
    default: return TPixelFormat::pf24bit;  // 16- and 24-bit files
  }
}

// Run-length data of 8- or 4-bit pixels into a bottom-up bitmap. Runs and literal
// groups that reach past the right edge are cut there; data ending without the
// end-of-bitmap marker leaves the remaining pixels at palette entry 0.
void DecodeRle(TBitmap& bitmap, const std::uint8_t* p, std::size_t n, int bits) {
  const int width = bitmap.Width(), height = bitmap.Height();
  int x = 0, y = 0;
  const auto put = [&](int value) {
    if (x < width && y < height) {
      std::uint8_t* row = bitmap.Bits() + static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap.RowBytes());
      if (bits == 8) {
        row[x] = static_cast<std::uint8_t>(value);
      } else {
        std::uint8_t& b = row[x / 2];
        b = (x % 2 == 0) ? static_cast<std::uint8_t>((b & 0x0F) | (value << 4)) : static_cast<std::uint8_t>((b & 0xF0) | value);
      }
    }
    ++x;
  };
  std::size_t i = 0;
  while (i + 2 <= n && y < height) {
    const int count = p[i], value = p[i + 1];
    i += 2;
    if (count > 0) {
      for (int k = 0; k < count && x < width; ++k) put(bits == 8 ? value : (k % 2 == 0 ? value >> 4 : value & 0x0F));
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      return;
    } else if (value == 2) {  // move right and up
      if (i + 2 > n) return;
      x += p[i];
      y += p[i + 1];
      i += 2;
    } else {  // literal pixels, padded to a 16-bit boundary
      const std::size_t bytes = bits == 8 ? static_cast<std::size_t>(value) : (static_cast<std::size_t>(value) + 1) / 2;
      if (i + bytes > n) Fail("the run-length data is truncated");
      for (int k = 0; k < value; ++k) {
        const int v = bits == 8 ? p[i + static_cast<std::size_t>(k)] : (k % 2 == 0 ? p[i + static_cast<std::size_t>(k / 2)] >> 4 : p[i + static_cast<std::size_t>(k / 2)] & 0x0F);
        if (x < width) put(v); else ++x;
      }
      i += bytes + (bytes % 2);
    }
  }
}

}  // namespace

TBitmap LoadBmpFromMemory(std::span<const std::uint8_t> data) {
  const std::uint8_t* d = data.data();
  const std::size_t size = data.size();
  if (size < kFileHeaderSize + 4) Fail("the file is too short");
  if (d[0] != 'B' || d[1] != 'M') Fail("the file does not start with BM");
  const std::uint32_t offBits = U32(d + 10);
  const std::uint32_t headerSize = U32(d + 14);
  if (headerSize != 12 && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 64 &&
      headerSize != 108 && headerSize != 124)
    Fail("unsupported header size " + std::to_string(headerSize));
  if (size < kFileHeaderSize + headerSize) Fail("the header is truncated");
  const std::uint8_t* h = d + kFileHeaderSize;

  std::int64_t width, height;
  int bits;
  std::uint32_t compression = kBiRgb, colorsUsed = 0;
  std::size_t paletteEntrySize = 4;
  if (headerSize == 12) {
    width = U16(h + 4);
    height = U16(h + 6);
    bits = U16(h + 10);
    paletteEntrySize = 3;
  } else {
    width = static_cast<std::int32_t>(U32(h + 4));
    height = static_cast<std::int32_t>(U32(h + 8));
    bits = U16(h + 14);
    compression = U32(h + 16);
    colorsUsed = U32(h + 32);
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    Fail("unsupported depth of " + std::to_string(bits) + " bits per pixel");
  const bool rle = compression == kBiRle8 || compression == kBiRle4;
  if ((compression == kBiRle8 && bits != 8) || (compression == kBiRle4 && bits != 4))
    Fail("run-length compression does not match the depth");
  if (rle && height < 0) Fail("run-length compressed bitmaps cannot be top-down");
  const bool bitfields = compression == kBiBitfields || compression == kBiAlphaBitfields;
  if (compression != kBiRgb && !bitfields && !rle) Fail("unsupported compression " + std::to_string(compression));
  if (bitfields && bits != 16 && bits != 32) Fail("bit fields need 16 or 32 bits per pixel");
  const bool topDown = height < 0;
  if (topDown) height = -height;
  const TPixelFormat format = FormatOfBits(bits);
  CheckImageSize("Bitmap image", width, height, format);

  // Masks: inside the larger headers, else right after a 40-byte header.
  std::size_t afterHeader = kFileHeaderSize + headerSize;
  std::uint32_t masks[4] = {0, 0, 0, 0};
  if (bitfields) {
    const std::size_t maskCount = compression == kBiAlphaBitfields ? 4 : 3;
    const std::uint8_t* m = h + 40;
    if (headerSize == 40) {
      if (size < afterHeader + maskCount * 4) Fail("the colour masks are truncated");
      afterHeader += maskCount * 4;
    } else if (headerSize < 40 + maskCount * 4) {
      // A 52-byte header holds three masks: none for alpha.
      Fail("the header has no room for colour masks");
    }
    for (std::size_t i = 0; i < maskCount; ++i) masks[i] = U32(m + i * 4);
    if (headerSize >= 56) masks[3] = U32(h + 52);
  } else if (bits == 16) {
    masks[0] = 0x7C00;
    masks[1] = 0x03E0;
    masks[2] = 0x001F;
  }

  TBitmap bitmap(static_cast<int>(width), static_cast<int>(height), format, topDown);

  if (bits <= 8) {
    const std::size_t maxEntries = std::size_t{1} << bits;
    std::size_t entries = colorsUsed == 0 || colorsUsed > maxEntries ? maxEntries : colorsUsed;
    if (afterHeader + entries * paletteEntrySize > size) Fail("the palette is truncated");
    auto& palette = bitmap.Palette();
    palette.assign(maxEntries, TRGBQuad{});
    for (std::size_t i = 0; i < entries; ++i) {
      const std::uint8_t* q = d + afterHeader + i * paletteEntrySize;
      palette[i] = {q[0], q[1], q[2], 0};
    }
  }

  if (rle) {
    if (offBits < afterHeader || offBits > size) Fail("the pixel data offset is out of range");
    DecodeRle(bitmap, d + offBits, size - offBits, bits);
    return bitmap;
  }

  const std::size_t fileRowBytes = ((static_cast<std::size_t>(width) * static_cast<std::size_t>(bits) + 31) / 32) * 4;
  const std::size_t pixelBytes = fileRowBytes * static_cast<std::size_t>(height);
  if (offBits < afterHeader || offBits > size) Fail("the pixel data offset is out of range");
  if (size - offBits < pixelBytes) Fail("the pixel data is truncated");
  const std::uint8_t* pixels = d + offBits;

  // Row k of the file is row k of memory in a bitmap of the same orientation.
  const auto rowOf = [&](std::size_t k) {
    return bitmap.Bits() + k * static_cast<std::size_t>(bitmap.RowBytes());
  };
  const bool standard32 = bits == 32 && (!bitfields || (masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF &&
                                                        (masks[3] == 0 || masks[3] == 0xFF000000u)));
  if (bits == 32 && standard32) {
    std::memcpy(bitmap.Bits(), pixels, pixelBytes);
    // The fourth byte of classic 32-bit files is unused (zero); such a picture is opaque.
    const bool hasAlphaMask = bitfields && masks[3] != 0;
    bool anyAlpha = false;
    for (std::size_t i = 3; i < pixelBytes && !anyAlpha; i += 4) anyAlpha = bitmap.Bits()[i] != 0;
    if (!anyAlpha || (bitfields && !hasAlphaMask))
      for (std::size_t i = 3; i < pixelBytes; i += 4) bitmap.Bits()[i] = 255;
  } else if (bits == 16 || bits == 32) {
    const TChannel r(masks[0]), g(masks[1]), b(masks[2]), a(masks[3]);
    const int outBytes = bits == 32 ? 4 : 3;
    for (std::size_t k = 0; k < static_cast<std::size_t>(height); ++k) {
      const std::uint8_t* src = pixels + k * fileRowBytes;
      std::uint8_t* dst = rowOf(k);
      for (std::int64_t x = 0; x < width; ++x, dst += outBytes) {
        const std::uint32_t px = bits == 32 ? U32(src + x * 4) : U16(src + x * 2);
        dst[0] = b.Get(px, 0);
        dst[1] = g.Get(px, 0);
        dst[2] = r.Get(px, 0);
        if (outBytes == 4) dst[3] = a.Get(px, 255);
      }
    }
  } else {
    std::memcpy(bitmap.Bits(), pixels, pixelBytes);
  }
  return bitmap;
}

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

std::vector<std::uint8_t> SaveBmpToMemory(const TBitmap& bitmap, bool bitfields32) {
  const int bits = BitsPerPixel(bitmap.PixelFormat());
  const bool bitfields = bitfields32 && bits == 32;
  const std::uint32_t headerSize = bitfields ? 108 : 40;
  const std::size_t paletteEntries = bits <= 8 ? (std::size_t{1} << bits) : 0;
  const std::uint32_t offBits = static_cast<std::uint32_t>(kFileHeaderSize + headerSize + paletteEntries * 4);
  const std::size_t pixelBytes = bitmap.SizeInBytes();
  std::vector<std::uint8_t> out;
  out.reserve(offBits + pixelBytes);
  out.push_back('B');
  out.push_back('M');
  Put32(out, static_cast<std::uint32_t>(offBits + pixelBytes));
  Put32(out, 0);
  Put32(out, offBits);
  Put32(out, headerSize);
  Put32(out, static_cast<std::uint32_t>(bitmap.Width()));
  Put32(out, static_cast<std::uint32_t>(bitmap.TopDown() ? -bitmap.Height() : bitmap.Height()));
  Put16(out, 1);
  Put16(out, static_cast<std::uint32_t>(bits));
  Put32(out, bitfields ? kBiBitfields : kBiRgb);
  Put32(out, static_cast<std::uint32_t>(pixelBytes));
  Put32(out, 2835);  // 72 dpi
  Put32(out, 2835);
  Put32(out, static_cast<std::uint32_t>(paletteEntries));
  Put32(out, 0);
  if (bitfields) {
    Put32(out, 0x00FF0000);
    Put32(out, 0x0000FF00);
    Put32(out, 0x000000FF);
    Put32(out, 0xFF000000);
    Put32(out, 0x73524742);  // 'sRGB'
    for (int i = 0; i < 12; ++i) Put32(out, 0);  // endpoints and gamma, unused for sRGB
  }
  for (std::size_t i = 0; i < paletteEntries; ++i) {
    const TRGBQuad q = i < bitmap.Palette().size() ? bitmap.Palette()[i] : TRGBQuad{};
    out.insert(out.end(), {q.Blue, q.Green, q.Red, 0});
  }
  out.insert(out.end(), bitmap.Bits(), bitmap.Bits() + pixelBytes);
  return out;
}
