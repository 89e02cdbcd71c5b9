#include "skin/render/sBlend.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "platform/gfx/SystemColors.h"
#include "skin/render/acFastAccess.h"
#include "skin/render/acPixelKernels.h"

namespace {

bool Is24(const TBitmap& b) { return b.PixelFormat() == TPixelFormat::pf24bit; }
bool Is32(const TBitmap& b) { return b.PixelFormat() == TPixelFormat::pf32bit; }
bool BigEnough(const TBitmap& b) { return b.Width() >= 2 && b.Height() >= 2; }
bool Direct(const TBitmap& b) { return (Is24(b) || Is32(b)) && BigEnough(b); }

// System colours resolve to their RGB first.
std::uint32_t Rgb(TColor c) { return static_cast<std::uint32_t>(ColorToRGB(c)) & 0xFFFFFFu; }

// f * c + (1 - f) * k with f = p / 100 is exactly (p * c + (100 - p) * k) / 100.
TColorMix MakeColorMix(int percent, std::uint32_t rgb, int bpp) {
  const int k[4] = {static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                    static_cast<int>(rgb & 0xFF), 0};
  TColorMix mix;
  for (int j = 0; j < 48; ++j) {
    const int ch = j % bpp;
    const bool alpha = ch == 3;  // kept as it is
    mix.Mul[j] = static_cast<std::uint16_t>(alpha ? 100 : percent);
    mix.Add[j] = static_cast<std::uint16_t>(alpha ? 0 : (100 - percent) * k[ch]);
  }
  return mix;
}

// round(S - t * d) for d = S - D in -255..255, split so the per-pixel work is
// integer: Base[d] is the rounded offset, or its floor when the value lies
// exactly halfway (Tie), where the parity of S + Base decides.
struct TKeyedTables {
  int Base[511];
  std::uint8_t Tie[511];
};

TKeyedTables MakeKeyedTables(double t) {
  TKeyedTables k;
  for (int d = -255; d <= 255; ++d) {
    const double u = -t * d;
    const double fl = std::floor(u);
    const double frac = u - fl;
    const int i = d + 255;
    k.Tie[i] = frac == 0.5 ? 1 : 0;
    k.Base[i] = static_cast<int>(fl) + (frac > 0.5 ? 1 : 0);
  }
  return k;
}

template <int SrcBpp, int DstBpp, bool Keyed>
void KeyedLoop(std::uint8_t* dRow, std::ptrdiff_t dStride, const std::uint8_t* sRow, std::ptrdiff_t sStride,
               int width, int height, std::uint32_t key, const TKeyedTables& k) {
  const int* base = k.Base + 255;
  const std::uint8_t* tie = k.Tie + 255;
  for (int y = 0; y < height; ++y, dRow += dStride, sRow += sStride) {
    const std::uint8_t* s = sRow;
    std::uint8_t* d = dRow;
    for (int x = 0; x < width; ++x, s += SrcBpp, d += DstBpp) {
      if constexpr (Keyed) {
        const std::uint32_t rgb = static_cast<std::uint32_t>(s[2]) | (static_cast<std::uint32_t>(s[1]) << 8) |
                                  (static_cast<std::uint32_t>(s[0]) << 16);
        if (rgb == key) continue;
      }
      for (int c = 0; c < 3; ++c) {
        const int sv = s[c];
        const int diff = sv - d[c];
        int v = sv + base[diff];
        v += v & tie[diff];
        d[c] = static_cast<std::uint8_t>(v);
      }
    }
  }
}

template <int SrcBpp, int DstBpp>
void KeyedDispatch(bool keyed, std::uint8_t* dRow, std::ptrdiff_t dStride, const std::uint8_t* sRow,
                   std::ptrdiff_t sStride, int width, int height, std::uint32_t key, const TKeyedTables& k) {
  if (keyed)
    KeyedLoop<SrcBpp, DstBpp, true>(dRow, dStride, sRow, sStride, width, height, key, k);
  else
    KeyedLoop<SrcBpp, DstBpp, false>(dRow, dStride, sRow, sStride, width, height, key, k);
}

template <bool Keyed>
void GrayLoop(TBitmap& bitmap, std::uint32_t key) {
  const int w = bitmap.Width();
  const std::ptrdiff_t stride = bitmap.Stride();
  std::uint8_t* row = bitmap.ScanLine(0);
  for (int y = 0; y < bitmap.Height(); ++y, row += stride) {
    std::uint8_t* p = row;
    for (int x = 0; x < w; ++x, p += 3) {
      if constexpr (Keyed) {
        const std::uint32_t rgb = static_cast<std::uint32_t>(p[2]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                                  (static_cast<std::uint32_t>(p[0]) << 16);
        if (rgb == key) continue;
      }
      const auto g = static_cast<std::uint8_t>((p[0] + p[1] + p[2]) / 3);
      p[0] = g;
      p[1] = g;
      p[2] = g;
    }
  }
}

template <int DstBpp>
void CopyKeyedLoop(std::uint8_t* dRow, std::ptrdiff_t dStride, const std::uint8_t* sRow, std::ptrdiff_t sStride,
                   int width, int height, std::uint32_t key) {
  for (int y = 0; y < height; ++y, dRow += dStride, sRow += sStride) {
    const std::uint8_t* s = sRow;
    std::uint8_t* d = dRow;
    for (int x = 0; x < width; ++x, s += 3, d += DstBpp) {
      const std::uint32_t rgb = static_cast<std::uint32_t>(s[2]) | (static_cast<std::uint32_t>(s[1]) << 8) |
                                (static_cast<std::uint32_t>(s[0]) << 16);
      if (rgb == key) continue;
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
      if constexpr (DstBpp == 4) d[3] = 255;
    }
  }
}

}  // namespace

void BlendBitmaps(TBitmap& dst, const TBitmap& src, int a, TPoint dstPoint, TRect srcRect) {
  // Whatever would fall left of or above the destination is cut from the source.
  if (dstPoint.X < 0) {
    srcRect.Left -= dstPoint.X;
    dstPoint.X = 0;
  }
  if (dstPoint.Y < 0) {
    srcRect.Top -= dstPoint.Y;
    dstPoint.Y = 0;
  }
  if (dstPoint.X >= dst.Width() || dstPoint.Y >= dst.Height() || srcRect.IsEmpty()) return;
  auto run = [&](TacFastSumBase& sum) {
    sum.Alpha = std::clamp(a, 0, 255);
    sum.SrcX1 = srcRect.Left;
    sum.SrcY1 = srcRect.Top;
    sum.SrcX2 = srcRect.Right;
    sum.SrcY2 = srcRect.Bottom;
    sum.DstX1 = dstPoint.X;
    sum.DstY1 = dstPoint.Y;
    sum.DstX2 = dst.Width();
    sum.DstY2 = dst.Height();
    sum.Blend();
    sum.Detach();
  };
  if (Is32(src) && Is32(dst)) {
    TacFastSum32 sum;
    if (sum.Attach(&src, &dst)) run(sum);
  } else if (Is24(src) && Is24(dst)) {
    TacFastSum24& sum = SharedFastSum24();
    if (sum.Attach(&src, &dst)) run(sum);
  }
}

void BlendWholeBitmaps(TBitmap& dst, const TBitmap& src, int a) {
  if (dst.Width() != src.Width() || dst.Height() != src.Height()) return;
  if (!Is24(dst) || !Is24(src)) return;
  BlendBitmaps(dst, src, a, TPoint{0, 0}, TRect{0, 0, src.Width(), src.Height()});
}

void BlendColorRect(TBitmap& bitmap, TRect rect, int percent, TColor color) {
  if (!Direct(bitmap)) return;
  const int left = std::max(rect.Left, 0);
  const int top = std::max(rect.Top, 0);
  const int right = std::min(rect.Right, bitmap.Width() - 1);  // inclusive
  const int bottom = std::min(rect.Bottom, bitmap.Height() - 1);
  if (right < left || bottom < top) return;
  const int bpp = Is32(bitmap) ? 4 : 3;
  const TColorMix mix = MakeColorMix(std::clamp(percent, 0, 100), Rgb(color), bpp);
  const std::size_t bytes = static_cast<std::size_t>(right - left + 1) * static_cast<std::size_t>(bpp);
  // Rows in memory order, whichever way up the bitmap is stored.
  const std::ptrdiff_t stride = bitmap.Stride();
  std::uint8_t* row = bitmap.ScanLine(stride < 0 ? bottom : top) + left * bpp;
  const std::ptrdiff_t step = stride < 0 ? -stride : stride;
  MixColorRows(row, step, bottom - top + 1, bytes, mix);
}

void BlendKeyed(TBitmap& dst, int x, int y, TColor key, double t, TRect srcRect, const TBitmap& src) {
  if (!Direct(dst) || !Direct(src)) return;
  // Source rectangle with inclusive right and bottom, cut to the source; the
  // column srcRect.Left always lands on x.
  int sLeft = std::max(srcRect.Left, 0);
  int sTop = std::max(srcRect.Top, 0);
  const int sRight = std::min(srcRect.Right, src.Width() - 1);
  const int sBottom = std::min(srcRect.Bottom, src.Height() - 1);
  int dLeft = x + (sLeft - srcRect.Left);
  int dTop = y + (sTop - srcRect.Top);
  if (dLeft < 0) {
    sLeft -= dLeft;
    dLeft = 0;
  }
  if (dTop < 0) {
    sTop -= dTop;
    dTop = 0;
  }
  const int width = std::min(sRight - sLeft + 1, dst.Width() - dLeft);
  const int height = std::min(sBottom - sTop + 1, dst.Height() - dTop);
  if (width <= 0 || height <= 0) return;

  if (!(t >= 0.0)) t = 0.0;  // also catches NaN
  if (t > 1.0) t = 1.0;
  const TKeyedTables tables = MakeKeyedTables(t);
  const bool keyed = ((static_cast<std::uint32_t>(key) >> 24) & 0xFF) != 0xFF;
  const std::uint32_t k = static_cast<std::uint32_t>(key);
  const int sBpp = Is32(src) ? 4 : 3;
  const int dBpp = Is32(dst) ? 4 : 3;
  const std::uint8_t* s = src.ScanLine(sTop) + sLeft * sBpp;
  std::uint8_t* d = dst.ScanLine(dTop) + dLeft * dBpp;
  const std::ptrdiff_t ss = src.Stride();
  const std::ptrdiff_t ds = dst.Stride();
  if (sBpp == 3 && dBpp == 3)
    KeyedDispatch<3, 3>(keyed, d, ds, s, ss, width, height, k, tables);
  else if (sBpp == 3)
    KeyedDispatch<3, 4>(keyed, d, ds, s, ss, width, height, k, tables);
  else if (dBpp == 3)
    KeyedDispatch<4, 3>(keyed, d, ds, s, ss, width, height, k, tables);
  else
    KeyedDispatch<4, 4>(keyed, d, ds, s, ss, width, height, k, tables);
}

void GrayBitmap(TBitmap& bitmap) {
  if (!Is24(bitmap) || !BigEnough(bitmap)) return;
  GrayLoop<false>(bitmap, 0);
}

void GrayBitmapExceptKey(TBitmap& bitmap, TColor key) {
  if (!Is24(bitmap) || !BigEnough(bitmap)) return;
  // A system colour as key is compared by the RGB it stands for.
  GrayLoop<true>(bitmap, static_cast<std::uint32_t>(ColorToRGB(key)));
}

void CopyKeyed(TBitmap& dst, const TBitmap& src, int x, int y, TColor key) {
  if (!Direct(dst) || !Is24(src) || !BigEnough(src)) return;
  int sLeft = 0, sTop = 0;
  if (x < 0) {
    sLeft = -x;
    x = 0;
  }
  if (y < 0) {
    sTop = -y;
    y = 0;
  }
  const int width = std::min(src.Width() - sLeft, dst.Width() - x);
  const int height = std::min(src.Height() - sTop, dst.Height() - y);
  if (width <= 0 || height <= 0) return;
  key = ColorToRGB(key);  // a system colour as key is compared by its RGB
  const int dBpp = Is32(dst) ? 4 : 3;
  const std::uint8_t* s = src.ScanLine(sTop) + sLeft * 3;
  std::uint8_t* d = dst.ScanLine(y) + x * dBpp;
  if (dBpp == 4)
    CopyKeyedLoop<4>(d, dst.Stride(), s, src.Stride(), width, height, static_cast<std::uint32_t>(key));
  else
    CopyKeyedLoop<3>(d, dst.Stride(), s, src.Stride(), width, height, static_cast<std::uint32_t>(key));
}

void FillRect32(TBitmap& bitmap, TRect rect, TColor color) {
  TacFast32& fast = SharedFast32();
  if (!fast.Attach(&bitmap)) return;
  fast.FillRect(rect, 0xFF000000u | Rgb(color));
  fast.Detach();
}
