#include "skin/paint/acPaintBlocks.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gfx/SystemColors.h"
#include "skin/render/acPixelKernels.h"

bool IsPaintable(const TBitmap* bitmap) {
  return bitmap && !bitmap->Empty() &&
         (bitmap->PixelFormat() == TPixelFormat::pf24bit || bitmap->PixelFormat() == TPixelFormat::pf32bit);
}

TRect ClipToBitmap(TRect rect, const TBitmap& bitmap) { return rect.Intersect({0, 0, bitmap.Width(), bitmap.Height()}); }

namespace {

// Cuts a copy of srcRect to (x, y) so that both ends lie inside their bitmaps;
// false when nothing is left.
bool ClipCopy(const TBitmap& dst, int& x, int& y, const TBitmap& src, TRect& srcRect) {
  if (srcRect.Left < 0) x -= srcRect.Left, srcRect.Left = 0;
  if (srcRect.Top < 0) y -= srcRect.Top, srcRect.Top = 0;
  srcRect.Right = std::min(srcRect.Right, src.Width());
  srcRect.Bottom = std::min(srcRect.Bottom, src.Height());
  if (x < 0) srcRect.Left -= x, x = 0;
  if (y < 0) srcRect.Top -= y, y = 0;
  srcRect.Right = std::min(srcRect.Right, srcRect.Left + dst.Width() - x);
  srcRect.Bottom = std::min(srcRect.Bottom, srcRect.Top + dst.Height() - y);
  return !srcRect.IsEmpty();
}

}  // namespace

void CopyBlock(TBitmap& dst, int x, int y, const TBitmap& src, TRect srcRect) {
  if (!IsPaintable(&dst) || !IsPaintable(&src) || !ClipCopy(dst, x, y, src, srcRect)) return;
  const int sb = BytesOf(src), db = BytesOf(dst);
  const int w = srcRect.Width(), h = srcRect.Height();
  if (sb == db) {
    // Same bitmap: walk rows away from the overlap.
    const bool up = &src == &dst && y > srcRect.Top;
    for (int i = 0; i < h; ++i) {
      const int r = up ? h - 1 - i : i;
      std::memmove(dst.ScanLine(y + r) + x * db, src.ScanLine(srcRect.Top + r) + srcRect.Left * sb,
                   static_cast<std::size_t>(w) * db);
    }
    return;
  }
  for (int r = 0; r < h; ++r) {
    const std::uint8_t* s = src.ScanLine(srcRect.Top + r) + srcRect.Left * sb;
    std::uint8_t* d = dst.ScanLine(y + r) + x * db;
    if (db == 4) {
      for (int i = 0; i < w; ++i, s += 3, d += 4) d[0] = s[0], d[1] = s[1], d[2] = s[2], d[3] = 255;
    } else {
      for (int i = 0; i < w; ++i, s += 4, d += 3) d[0] = s[0], d[1] = s[1], d[2] = s[2];
    }
  }
}

void FillBlock(TBitmap& dst, TRect rect, TColor color) {
  if (!IsPaintable(&dst)) return;
  rect = ClipToBitmap(rect, dst);
  if (rect.IsEmpty()) return;
  const TColor c = ColorToRGB(color);
  const int db = BytesOf(dst);
  // Every row written by the fill kernel: stores only, no row read back to be copied.
  std::uint8_t pixel[4];
  PutPixel(pixel, 0, db, c);
  std::uint8_t* row = dst.ScanLine(rect.Top) + rect.Left * db;
  const std::ptrdiff_t stride = dst.Stride();
  for (int y = rect.Top; y < rect.Bottom; ++y, row += stride) FillPixels(row, static_cast<std::size_t>(rect.Width()), pixel, db);
}

void TileBlock(TBitmap& dst, TRect area, const TBitmap& src, TRect srcRect) {
  srcRect = ClipToBitmap(srcRect, src);
  const int tw = srcRect.Width(), th = srcRect.Height();
  if (tw <= 0 || th <= 0 || !IsPaintable(&dst)) return;
  // Tiles wholly outside the target are skipped, not drawn and clipped.
  const TRect visible = area.Intersect({0, 0, dst.Width(), dst.Height()});
  if (visible.IsEmpty()) return;
  const int firstY = area.Top + (visible.Top - area.Top) / th * th;
  const int firstX = area.Left + (visible.Left - area.Left) / tw * tw;
  for (int y = firstY; y < visible.Bottom; y += th)
    for (int x = firstX; x < visible.Right; x += tw)
      CopyBlock(dst, x, y, src, {srcRect.Left, srcRect.Top, srcRect.Left + std::min(tw, area.Right - x),
                                 srcRect.Top + std::min(th, area.Bottom - y)});
}

void StretchBlock(TBitmap& dst, TRect dstRect, const TBitmap& src, TRect srcRect) {
  StretchBlock(dst, dstRect, src, srcRect, dstRect);
}

void StretchBlock(TBitmap& dst, TRect dstRect, const TBitmap& src, TRect srcRect, TRect clip) {
  if (!IsPaintable(&dst) || !IsPaintable(&src) || dstRect.IsEmpty()) return;
  const TRect srcCut = ClipToBitmap(srcRect, src);
  if (srcCut != srcRect || srcRect.IsEmpty()) {
    // A source reaching outside its bitmap shrinks to what is there.
    if (srcCut.IsEmpty()) return;
    srcRect = srcCut;
  }
  const TRect vis = ClipToBitmap(dstRect, dst).Intersect(clip);
  if (vis.IsEmpty()) return;
  if (dstRect.Width() == srcRect.Width() && dstRect.Height() == srcRect.Height()) {
    CopyBlock(dst, vis.Left, vis.Top, src, vis.Offset(srcRect.Left - dstRect.Left, srcRect.Top - dstRect.Top));
    return;
  }
  const int sb = BytesOf(src), db = BytesOf(dst);
  const std::int64_t dw = dstRect.Width(), dh = dstRect.Height(), sw = srcRect.Width(), sh = srcRect.Height();
  std::vector<int> columns(static_cast<std::size_t>(vis.Width()));
  for (int x = vis.Left; x < vis.Right; ++x)
    columns[static_cast<std::size_t>(x - vis.Left)] =
        srcRect.Left + static_cast<int>((2 * (x - dstRect.Left) + 1) * sw / (2 * dw));
  for (int y = vis.Top; y < vis.Bottom; ++y) {
    const int sy = srcRect.Top + static_cast<int>((2 * (y - dstRect.Top) + 1) * sh / (2 * dh));
    const std::uint8_t* s = src.ScanLine(sy);
    std::uint8_t* d = dst.ScanLine(y) + vis.Left * db;
    for (int c : columns) {
      const std::uint8_t* p = s + c * sb;
      d[0] = p[0], d[1] = p[1], d[2] = p[2];
      if (db == 4) d[3] = sb == 4 ? p[3] : 255;
      d += db;
    }
  }
}

void MakeRepeatRun(std::uint8_t* run, const std::uint8_t* period, std::size_t periodBytes) {
  constexpr std::size_t kHalf = kRepeatChunk / 2;
  if (periodBytes >= kHalf && periodBytes < kRepeatChunk) {
    // Fixed-size copies only: the period by two overlapping halves, then the first
    // chunk again after it, half by half (the second half reads bytes the first wrote).
    std::memcpy(run, period, kHalf);
    std::memcpy(run + periodBytes - kHalf, period + periodBytes - kHalf, kHalf);
    std::memcpy(run + periodBytes, run, kHalf);
    std::memcpy(run + periodBytes + kHalf, run + kHalf, kHalf);
    return;
  }
  if (periodBytes < kRepeatChunk) {
    // The period, then what is already laid out copied after it, doubling each time.
    std::memcpy(run, period, periodBytes);
    for (std::size_t done = periodBytes, total = periodBytes + kRepeatChunk; done < total; done *= 2)
      std::memcpy(run + done, run, std::min(done, total - done));
    return;
  }
  // Fixed-size copies read from the period only (the last one overlaps with equal bytes).
  std::size_t i = 0;
  for (; i + kRepeatChunk <= periodBytes; i += kRepeatChunk) std::memcpy(run + i, period + i, kRepeatChunk);
  if (i < periodBytes) std::memcpy(run + periodBytes - kRepeatChunk, period + periodBytes - kRepeatChunk, kRepeatChunk);
  std::memcpy(run + periodBytes, period, kRepeatChunk);
}

void RepeatFromRun(std::uint8_t* to, const std::uint8_t* run, std::size_t periodBytes, std::size_t phase,
                   std::size_t total) {
  if (periodBytes == 0 || total == 0) return;
  phase %= periodBytes;
  constexpr std::size_t kHalf = kRepeatChunk / 2;
  if (total < kHalf) {
    for (std::size_t i = 0, o = phase; i < total; ++i) {
      to[i] = run[o];
      if (++o == periodBytes) o = 0;
    }
    return;
  }
  // The last window ends at total and overlaps bytes already written with equal ones.
  if (total < kRepeatChunk) {
    std::memcpy(to, run + phase, kHalf);
    std::memcpy(to + total - kHalf, run + (phase + total - kHalf) % periodBytes, kHalf);
    return;
  }
  // A chunk moves the offset into the period on by kRepeatChunk mod period.
  const std::size_t step = kRepeatChunk % periodBytes;
  std::size_t o = phase, i = 0;
  for (; i + kRepeatChunk <= total; i += kRepeatChunk) {
    std::memcpy(to + i, run + o, kRepeatChunk);
    o += step;
    if (o >= periodBytes) o -= periodBytes;
  }
  if (i < total) std::memcpy(to + total - kRepeatChunk, run + (phase + total - kRepeatChunk) % periodBytes, kRepeatChunk);
}

void RepeatBytes(std::uint8_t* to, const std::uint8_t* period, std::size_t periodBytes, std::size_t phase,
                 std::size_t total) {
  if (periodBytes == 0 || total == 0) return;
  phase %= periodBytes;
  if (periodBytes > kRepeatRunMax || total < kRepeatChunk) {
    // Long periods: a few large copies (one period, then doubling what is written).
    std::size_t x = std::min(periodBytes - phase, total);
    std::memcpy(to, period + phase, x);
    if (x < total) {
      const std::size_t first = std::min(phase, total - x);
      std::memcpy(to + x, period, first);
      x += first;
    }
    while (x < total) {
      const std::size_t n = std::min(x / periodBytes * periodBytes, total - x);
      std::memcpy(to + x, to + x - x / periodBytes * periodBytes, n);
      x += n;
    }
    return;
  }
  std::uint8_t run[kRepeatRunMax + kRepeatChunk];
  MakeRepeatRun(run, period, periodBytes);
  RepeatFromRun(to, run, periodBytes, phase, total);
}
