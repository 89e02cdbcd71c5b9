// Block transfers: BitBlt with the classic raster operations, and StretchBlt
// (nearest pixel, or area averaging in HALFTONE mode).
#include <algorithm>
#include <cstring>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/SystemColors.h"

namespace {

bool Drawable(const TBitmap* target) {
  return target && (target->PixelFormat() == TPixelFormat::pf24bit || target->PixelFormat() == TPixelFormat::pf32bit);
}

bool UsesSource(DWORD rop) {
  return rop != PATCOPY && rop != PATINVERT && rop != DSTINVERT && rop != BLACKNESS && rop != WHITENESS;
}

bool KnownRop(DWORD rop) {
  switch (rop) {
    case SRCCOPY:
    case SRCPAINT:
    case SRCAND:
    case SRCINVERT:
    case SRCERASE:
    case NOTSRCCOPY:
    case PATCOPY:
    case PATINVERT:
    case DSTINVERT:
    case BLACKNESS:
    case WHITENESS: return true;
    default: return false;
  }
}

// The area of a bitmap as 32-bit B, G, R, A (opaque where the source has no alpha);
// coordinates outside the bitmap repeat its edge pixels.
TBitmap ToBgra(const TBitmap& source, const TRect& area) {
  TBitmap out(area.Width(), area.Height(), TPixelFormat::pf32bit, true);
  const int bits = BitsPerPixel(source.PixelFormat());
  const int maxX = source.Width() - 1, maxY = source.Height() - 1;
  for (int y = 0; y < area.Height(); ++y) {
    const int sy = std::clamp(area.Top + y, 0, maxY);
    const std::uint8_t* row = source.ScanLine(sy);
    std::uint8_t* d = out.ScanLine(y);
    for (int x = 0; x < area.Width(); ++x, d += 4) {
      const int sx = std::clamp(area.Left + x, 0, maxX);
      if (bits == 32) {
        std::memcpy(d, row + sx * 4, 4);
      } else if (bits == 24) {
        std::memcpy(d, row + sx * 3, 3);
        d[3] = 255;
      } else {
        const std::uint32_t c = source.Pixel32(sx, sy);
        d[0] = GetBValue(c);
        d[1] = GetGValue(c);
        d[2] = GetRValue(c);
        d[3] = 255;
      }
    }
  }
  return out;
}

#if defined(__x86_64__) || defined(__i386__)
#define TB_BLIT_X86 1
#include <immintrin.h>

// Four 3-byte pixels to four 4-byte ones per shuffle; a 16-byte load reads 4 bytes
// past the 4 pixels, so the vector loop stops 6 pixels before the row's end.
__attribute__((target("ssse3"))) int Widen24To32Ssse3(const std::uint8_t* s, std::uint8_t* d, int n) {
  const __m128i order = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
  const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  int x = 0;
  for (; x + 6 <= n; x += 4, s += 12, d += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm_or_si128(_mm_shuffle_epi8(v, order), alpha));
  }
  return x;
}

bool HasSsse3() {
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("ssse3") != 0;
  }();
  return has;
}
#endif

// One row of a source-using operation. SB/DB are bytes per pixel of source and
// destination; the operation is a template argument, picked once per call.
template <int SB, int DB, DWORD ROP>
void CombineRow(const std::uint8_t* s, std::uint8_t* d, int n) {
  if constexpr (SB == DB && ROP == SRCCOPY) {
    std::memcpy(d, s, static_cast<std::size_t>(n) * DB);
    return;
  } else if constexpr (SB == 3 && DB == 4 && ROP == SRCCOPY) {
    // A face shown on a 32-bit screen: one 4-byte load per pixel (its fourth byte is
    // the next pixel's, so the last pixel goes byte by byte) with the alpha forced.
    int x = 0;
#if TB_BLIT_X86
    if (HasSsse3()) {
      x = Widen24To32Ssse3(s, d, n);
      s += 3 * x;
      d += 4 * x;
    }
#endif
    for (; x + 1 < n; ++x, s += 3, d += 4) {
      std::uint32_t v;
      std::memcpy(&v, s, 4);
      v = (v & 0x00FFFFFFu) | 0xFF000000u;
      std::memcpy(d, &v, 4);
    }
    if (x < n) d[0] = s[0], d[1] = s[1], d[2] = s[2], d[3] = 255;
    return;
  } else {
    for (int x = 0; x < n; ++x, s += SB, d += DB) {
      for (int c = 0; c < 3; ++c) {
        if constexpr (ROP == SRCCOPY) d[c] = s[c];
        else if constexpr (ROP == SRCPAINT) d[c] |= s[c];
        else if constexpr (ROP == SRCAND) d[c] &= s[c];
        else if constexpr (ROP == SRCINVERT) d[c] ^= s[c];
        else if constexpr (ROP == SRCERASE) d[c] = static_cast<std::uint8_t>(s[c] & ~d[c]);
        else d[c] = static_cast<std::uint8_t>(~s[c]);  // NOTSRCCOPY
      }
      if constexpr (DB == 4) d[3] = (SB == 4 && ROP == SRCCOPY) ? s[3] : 255;
    }
  }
}

using TCombineRow = void (*)(const std::uint8_t*, std::uint8_t*, int);

template <int SB, int DB>
TCombineRow PickCombineFor(DWORD rop) {
  switch (rop) {
    case SRCPAINT: return CombineRow<SB, DB, SRCPAINT>;
    case SRCAND: return CombineRow<SB, DB, SRCAND>;
    case SRCINVERT: return CombineRow<SB, DB, SRCINVERT>;
    case SRCERASE: return CombineRow<SB, DB, SRCERASE>;
    case NOTSRCCOPY: return CombineRow<SB, DB, NOTSRCCOPY>;
    default: return CombineRow<SB, DB, SRCCOPY>;
  }
}

TCombineRow PickCombine(int sb, int db, DWORD rop) {
  if (sb == 3) return db == 3 ? PickCombineFor<3, 3>(rop) : PickCombineFor<3, 4>(rop);
  return db == 3 ? PickCombineFor<4, 3>(rop) : PickCombineFor<4, 4>(rop);
}

// Per destination position: the source pixels it covers and how much of each, in
// units of 1/dstLen of a source pixel (the weights of one position add up to srcLen).
struct TAxis {
  std::vector<int> First;
  std::vector<int> Count;
  std::vector<int> Offset;
  std::vector<std::uint32_t> Weights;
};

void BuildAxis(int dstLen, int srcLen, int from, int to, bool mirror, TAxis& axis) {
  for (int k = from; k < to; ++k) {
    const int i = mirror ? dstLen - 1 - k : k;
    const std::int64_t lo = static_cast<std::int64_t>(i) * srcLen, hi = lo + srcLen;
    const int j0 = static_cast<int>(lo / dstLen), j1 = static_cast<int>((hi - 1) / dstLen);
    axis.First.push_back(j0);
    axis.Count.push_back(j1 - j0 + 1);
    axis.Offset.push_back(static_cast<int>(axis.Weights.size()));
    for (int j = j0; j <= j1; ++j) {
      const std::int64_t a = std::max(lo, static_cast<std::int64_t>(j) * dstLen);
      const std::int64_t b = std::min(hi, static_cast<std::int64_t>(j + 1) * dstLen);
      axis.Weights.push_back(static_cast<std::uint32_t>(b - a));
    }
  }
}

}  // namespace

bool TDeviceContext::BlitFrom(const TBitmap& source, const TRect& srcRect, int dstX, int dstY, DWORD rop) {
  const TRect cut = srcRect.Intersect({0, 0, source.Width(), source.Height()});
  if (cut.IsEmpty()) return true;
  dstX += cut.Left - srcRect.Left;
  dstY += cut.Top - srcRect.Top;
  const TRect dst{dstX, dstY, dstX + cut.Width(), dstY + cut.Height()};
  const bool palette = BitsPerPixel(source.PixelFormat()) <= 8;
  const bool overlap = &source == Target_ && !cut.Intersect(dst).IsEmpty();
  if (palette || overlap) {
    const TBitmap copy = ToBgra(source, cut);
    return BlitFrom(copy, {0, 0, cut.Width(), cut.Height()}, dstX, dstY, rop);
  }
  const int sb = source.PixelFormat() == TPixelFormat::pf32bit ? 4 : 3;
  const int db = Target_->PixelFormat() == TPixelFormat::pf32bit ? 4 : 3;
  const TCombineRow combine = PickCombine(sb, db, rop);
  for (const TRect& clip : Clip().Rects()) {
    const TRect part = clip.Intersect(dst);
    if (part.IsEmpty()) continue;
    const int sx = cut.Left + part.Left - dst.Left;
    for (int y = part.Top; y < part.Bottom; ++y) {
      const std::uint8_t* s = source.ScanLine(cut.Top + y - dst.Top) + sx * sb;
      combine(s, Target_->ScanLine(y) + part.Left * db, part.Width());
    }
  }
  return true;
}

namespace {

// One row of a pattern operation; the operation and depth are template
// arguments, picked once per call.
template <int DB, DWORD ROP>
void PatternRow(std::uint8_t* d, int n, const std::uint8_t* c) {
  for (int x = 0; x < n; ++x, d += DB) {
    if constexpr (ROP == DSTINVERT) {
      for (int i = 0; i < 3; ++i) d[i] = static_cast<std::uint8_t>(~d[i]);
    } else if constexpr (ROP == PATINVERT) {
      for (int i = 0; i < 3; ++i) d[i] = static_cast<std::uint8_t>(d[i] ^ c[i]);
      if constexpr (DB == 4) d[3] = 255;
    } else {
      d[0] = c[0], d[1] = c[1], d[2] = c[2];
      if constexpr (DB == 4) d[3] = 255;
    }
  }
}

using TPatternRow = void (*)(std::uint8_t*, int, const std::uint8_t*);

template <int DB>
TPatternRow PickPatternFor(DWORD rop) {
  if (rop == DSTINVERT) return PatternRow<DB, DSTINVERT>;
  if (rop == PATINVERT) return PatternRow<DB, PATINVERT>;
  return PatternRow<DB, PATCOPY>;
}

}  // namespace

bool TDeviceContext::BitBlt(int x, int y, int width, int height, const TDeviceContext* source, int srcX, int srcY,
                            DWORD rop) {
  if (!Drawable(Target_) || !KnownRop(rop) || width < 0 || height < 0) return false;
  if (width == 0 || height == 0) return true;
  const TPoint org = ViewportOrg();
  const TRect dst{x + org.X, y + org.Y, x + org.X + width, y + org.Y + height};
  if (!UsesSource(rop)) {
    if (rop == PATCOPY && Brush_ && Brush_->Style == BS_PATTERN) {
      FillDeviceRect(dst, *Brush_);
      return true;
    }
    if (rop == PATCOPY && (!Brush_ || Brush_->Style == BS_NULL)) return true;
    COLORREF color = rop == WHITENESS ? 0xFFFFFF : 0;
    if ((rop == PATCOPY || rop == PATINVERT) && Brush_) color = static_cast<COLORREF>(ColorToRGB(Brush_->Color));
    const int db = Target_->PixelFormat() == TPixelFormat::pf32bit ? 4 : 3;
    const TPatternRow row = db == 4 ? PickPatternFor<4>(rop) : PickPatternFor<3>(rop);
    const std::uint8_t bytes[3] = {GetBValue(color), GetGValue(color), GetRValue(color)};
    for (const TRect& clip : Clip().Rects()) {
      const TRect part = clip.Intersect(dst);
      for (int yy = part.Top; yy < part.Bottom; ++yy) row(Target_->ScanLine(yy) + part.Left * db, part.Width(), bytes);
    }
    return true;
  }
  if (!source || !source->Target_) return false;
  const TPoint so = source->ViewportOrg();
  const TRect src{srcX + so.X, srcY + so.Y, srcX + so.X + width, srcY + so.Y + height};
  return BlitFrom(*source->Target_, src, dst.Left, dst.Top, rop);
}

bool TDeviceContext::DrawBitmap(int x, int y, const TBitmap& source, const TRect& sourceRect, DWORD rop) {
  if (!Drawable(Target_) || !KnownRop(rop) || !UsesSource(rop)) return false;
  const TPoint org = ViewportOrg();
  return BlitFrom(source, sourceRect, x + org.X, y + org.Y, rop);
}

bool TDeviceContext::StretchBlt(int x, int y, int width, int height, const TDeviceContext* source, int srcX, int srcY,
                                int srcWidth, int srcHeight, DWORD rop) {
  if (!Drawable(Target_) || !KnownRop(rop)) return false;
  if (width == 0 || height == 0) return true;
  if (width == srcWidth && height == srcHeight && width > 0 && height > 0)
    return BitBlt(x, y, width, height, source, srcX, srcY, rop);
  if (!UsesSource(rop)) {
    const TRect r{std::min(x, x + width), std::min(y, y + height), std::max(x, x + width), std::max(y, y + height)};
    return BitBlt(r.Left, r.Top, r.Width(), r.Height(), nullptr, 0, 0, rop);
  }
  if (!source || !source->Target_ || srcWidth == 0 || srcHeight == 0) return false;
  const TBitmap& srcBitmap = *source->Target_;
  // Opposite signs of the widths (heights) mirror the picture.
  const bool mirrorX = (width < 0) != (srcWidth < 0);
  const bool mirrorY = (height < 0) != (srcHeight < 0);
  const TPoint org = ViewportOrg(), so = source->ViewportOrg();
  const TRect dst{std::min(x, x + width) + org.X, std::min(y, y + height) + org.Y,
                  std::max(x, x + width) + org.X, std::max(y, y + height) + org.Y};
  const TRect src{std::min(srcX, srcX + srcWidth) + so.X, std::min(srcY, srcY + srcHeight) + so.Y,
                  std::max(srcX, srcX + srcWidth) + so.X, std::max(srcY, srcY + srcHeight) + so.Y};
  if (src.Intersect({0, 0, srcBitmap.Width(), srcBitmap.Height()}).IsEmpty()) return false;
  const TRegion& clip = Clip();
  const TRect needed = dst.Intersect(clip.Bounds());
  if (needed.IsEmpty()) return true;
  const int dw = dst.Width(), dh = dst.Height(), sw = src.Width(), sh = src.Height();
  // Painting never throws: a source area beyond the bitmap limits is refused.
  if (sw > kMaxBitmapSide || sh > kMaxBitmapSide ||
      static_cast<std::size_t>(sw) * static_cast<std::size_t>(sh) * 4 > kMaxBitmapBytes)
    return false;
  const TBitmap pixels = ToBgra(srcBitmap, src);
  TBitmap out(needed.Width(), needed.Height(), TPixelFormat::pf32bit, true);
  const int fromX = needed.Left - dst.Left, toX = needed.Right - dst.Left;
  const int fromY = needed.Top - dst.Top, toY = needed.Bottom - dst.Top;

  if (StretchMode_ == HALFTONE) {
    TAxis ax, ay;
    BuildAxis(dw, sw, fromX, toX, mirrorX, ax);
    BuildAxis(dh, sh, fromY, toY, mirrorY, ay);
    const int outW = needed.Width();
    std::vector<std::uint64_t> acc(static_cast<std::size_t>(outW) * 4);
    const std::uint64_t total = static_cast<std::uint64_t>(sw) * static_cast<std::uint64_t>(sh);
    for (int k = 0; k < needed.Height(); ++k) {
      std::fill(acc.begin(), acc.end(), 0);
      const std::size_t ky = static_cast<std::size_t>(k);
      for (int t = 0; t < ay.Count[ky]; ++t) {
        const std::uint64_t wy = ay.Weights[static_cast<std::size_t>(ay.Offset[ky] + t)];
        const std::uint8_t* row = pixels.ScanLine(ay.First[ky] + t);
        for (int c = 0; c < outW; ++c) {
          const std::size_t kc = static_cast<std::size_t>(c);
          const std::uint32_t* w = ax.Weights.data() + ax.Offset[kc];
          const std::uint8_t* p = row + ax.First[kc] * 4;
          std::uint32_t h0 = 0, h1 = 0, h2 = 0, h3 = 0;
          for (int u = 0; u < ax.Count[kc]; ++u, p += 4) {
            h0 += w[u] * p[0];
            h1 += w[u] * p[1];
            h2 += w[u] * p[2];
            h3 += w[u] * p[3];
          }
          std::uint64_t* a = acc.data() + kc * 4;
          a[0] += wy * h0;
          a[1] += wy * h1;
          a[2] += wy * h2;
          a[3] += wy * h3;
        }
      }
      std::uint8_t* d = out.ScanLine(k);
      for (std::size_t i = 0; i < acc.size(); ++i) d[i] = static_cast<std::uint8_t>((acc[i] + total / 2) / total);
    }
  } else {
    // Nearest pixel: each destination pixel centre maps into the source.
    std::vector<int> columns(static_cast<std::size_t>(needed.Width()));
    for (int k = fromX; k < toX; ++k) {
      const int i = mirrorX ? dw - 1 - k : k;
      columns[static_cast<std::size_t>(k - fromX)] =
          static_cast<int>((static_cast<std::int64_t>(2 * i + 1) * sw) / (2 * static_cast<std::int64_t>(dw)));
    }
    for (int k = fromY; k < toY; ++k) {
      const int i = mirrorY ? dh - 1 - k : k;
      const int sy = static_cast<int>((static_cast<std::int64_t>(2 * i + 1) * sh) / (2 * static_cast<std::int64_t>(dh)));
      const std::uint8_t* s = pixels.ScanLine(sy);
      std::uint8_t* d = out.ScanLine(k - fromY);
      for (std::size_t c = 0; c < columns.size(); ++c, d += 4) std::memcpy(d, s + columns[c] * 4, 4);
    }
  }
  // The source had alpha only when it was a 32-bit bitmap; ToBgra made others opaque.
  return BlitFrom(out, {0, 0, out.Width(), out.Height()}, needed.Left, needed.Top, rop);
}
