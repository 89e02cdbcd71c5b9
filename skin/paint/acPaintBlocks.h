#pragma once
// Block work of the section painter on 24- and 32-bit bitmaps: clipped copies,
// fills, tiles and a nearest-pixel stretch, all through row pointers. Every
// routine clips to both bitmaps and does nothing for other depths.
#include <cstddef>
#include <cstdint>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Types.h"

// 24 or 32 bits per pixel.
bool IsPaintable(const TBitmap* bitmap);
inline int BytesOf(const TBitmap& bitmap) { return bitmap.PixelFormat() == TPixelFormat::pf32bit ? 4 : 3; }

// Copies srcRect of src to dst with its top-left at (x, y); a 24-bit source
// gives alpha 255 in a 32-bit destination. src may be dst (rows are moved).
void CopyBlock(TBitmap& dst, int x, int y, const TBitmap& src, TRect srcRect);
// Fills rect (right and bottom exclusive) with the colour (system colours
// resolved), alpha 255.
void FillBlock(TBitmap& dst, TRect rect, TColor color);
// Repeats srcRect over area from area's top-left; the last column and row are clipped.
void TileBlock(TBitmap& dst, TRect area, const TBitmap& src, TRect srcRect);
// Stretches srcRect over dstRect, nearest pixel.
void StretchBlock(TBitmap& dst, TRect dstRect, const TBitmap& src, TRect srcRect);
// The same, drawing only the part of dstRect inside clip.
void StretchBlock(TBitmap& dst, TRect dstRect, const TBitmap& src, TRect srcRect, TRect clip);

// srcRect cut to the bitmap's bounds.
TRect ClipToBitmap(TRect rect, const TBitmap& bitmap);

// Pixel (x, y) as 0x00BBGGRR through a row pointer; the caller stays inside.
inline TColor PixelAt(const std::uint8_t* row, int x, int bytes) {
  const std::uint8_t* p = row + x * bytes;
  return static_cast<TColor>(p[2] | (p[1] << 8) | (p[0] << 16));
}
inline void PutPixel(std::uint8_t* row, int x, int bytes, TColor c) {
  std::uint8_t* p = row + x * bytes;
  p[0] = static_cast<std::uint8_t>(c >> 16);
  p[1] = static_cast<std::uint8_t>(c >> 8);
  p[2] = static_cast<std::uint8_t>(c);
  if (bytes == 4) p[3] = 255;
}

// to[i] = period[(phase + i) % periodBytes] for i < total: a slice laid out across a
// row. Short periods go by fixed 32-byte copies from a run of the period, so a
// 9-pixel slice spread over a wide row costs no library calls. to must not overlap period.
void RepeatBytes(std::uint8_t* to, const std::uint8_t* period, std::size_t periodBytes, std::size_t phase,
                 std::size_t total);
// The same in two steps, for callers that lay out many rows: the run (the period and
// its first 32 bytes again, periodBytes + kRepeatChunk bytes, periodBytes <= kRepeatRunMax)
// is made first, well before the copies read it back. The run also serves the
// repeating mask blend (kMaskRunTail bytes past the period).
constexpr std::size_t kRepeatChunk = 32, kRepeatRunMax = 256;
void MakeRepeatRun(std::uint8_t* run, const std::uint8_t* period, std::size_t periodBytes);
void RepeatFromRun(std::uint8_t* to, const std::uint8_t* run, std::size_t periodBytes, std::size_t phase,
                   std::size_t total);
