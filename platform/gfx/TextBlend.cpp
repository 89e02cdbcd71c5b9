#include "platform/gfx/TextBlend.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#if defined(__x86_64__) || defined(__i386__)
#define TB_GLYPH_X86 1
#include <immintrin.h>
#endif

namespace {

// Blue and red share one multiply (16-bit lanes, bits 0-15 and 16-31); each lane
// gets the exact round((s * a + d * (255 - a)) / 255) by the add-shift division.
inline std::uint32_t MixPair(std::uint32_t src, std::uint32_t dst, std::uint32_t cov) {
  const std::uint32_t v = src * cov + dst * (255u - cov) + 0x00800080u;
  return ((v + ((v >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
}

inline std::uint8_t Mix(unsigned src, unsigned dst, unsigned cov) {
  const unsigned v = src * cov + dst * (255u - cov) + 128u;
  return static_cast<std::uint8_t>((v + (v >> 8)) >> 8);
}

// The text colour as each kernel takes it.
struct TInk {
  unsigned Red = 0, Green = 0, Blue = 0;
  std::uint32_t BlueRed = 0;
  explicit TInk(COLORREF color)
      : Red(GetRValue(color)), Green(GetGValue(color)), Blue(GetBValue(color)), BlueRed(Blue | (Red << 16)) {}
};

// The part of one glyph inside one clip rectangle: its first target and coverage rows.
struct TGlyphPart {
  std::uint8_t* Row = nullptr;
  const std::uint8_t* Cov = nullptr;
  int Width = 0, Rows = 0;
  std::ptrdiff_t Stride = 0, CovStride = 0;
};

// The reference: one pixel at a time, uncovered pixels skipped, full ones set.
template <int kBpp>
void BlendPartScalar(const TGlyphPart& part, const TInk& ink) {
  std::uint8_t* row = part.Row;
  const std::uint8_t* cov = part.Cov;
  for (int y = 0; y < part.Rows; ++y, cov += part.CovStride, row += part.Stride) {
    std::uint8_t* p = row;
    for (int x = 0; x < part.Width; ++x, p += kBpp) {
      const unsigned a = cov[x];
      if (a == 0) continue;
      if (a == 255) {
        p[0] = static_cast<std::uint8_t>(ink.Blue);
        p[1] = static_cast<std::uint8_t>(ink.Green);
        p[2] = static_cast<std::uint8_t>(ink.Red);
      } else {
        const std::uint32_t pair = MixPair(ink.BlueRed, p[0] | (static_cast<std::uint32_t>(p[2]) << 16), a);
        p[0] = static_cast<std::uint8_t>(pair);
        p[1] = Mix(ink.Green, p[1], a);
        p[2] = static_cast<std::uint8_t>(pair >> 16);
      }
      if constexpr (kBpp == 4) p[3] = 255;
    }
  }
}

#if TB_GLYPH_X86
// Mix for 16-bit lanes of coverage, old byte and ink byte.
__attribute__((target("avx512f,avx512bw"), always_inline)) inline __m512i MixLanes(__m512i a, __m512i d, __m512i s) {
  const __m512i v = _mm512_add_epi16(
      _mm512_add_epi16(_mm512_mullo_epi16(s, a), _mm512_mullo_epi16(d, _mm512_sub_epi16(_mm512_set1_epi16(255), a))),
      _mm512_set1_epi16(128));
  return _mm512_srli_epi16(_mm512_add_epi16(v, _mm512_srli_epi16(v, 8)), 8);
}

// Byte i of a vector of kBpp-byte pixels: its pixel, and its channel.
template <int kBpp>
struct TPixelLanes {
  alignas(64) std::uint8_t Pixel[64];
  alignas(64) std::uint8_t Channel[64];
  std::uint64_t Alpha = 0;  // the fourth bytes
  constexpr TPixelLanes() {
    for (int i = 0; i < 64; ++i) {
      Pixel[i] = static_cast<std::uint8_t>(std::min(i / kBpp, 64 / kBpp - 1));
      Channel[i] = static_cast<std::uint8_t>(i % kBpp);
      if (i % kBpp == 3) Alpha |= std::uint64_t{1} << i;
    }
  }
};
template <int kBpp>
constexpr TPixelLanes<kBpp> kLanes{};

// A glyph row a vector at a time (21 pixels of 3 bytes, 16 of 4): each pixel's
// coverage spread over its bytes by a byte permute, then the same rounding as Mix in
// 16-bit lanes. That rounding is exact, so coverage 0 gives the old byte and 255 the
// ink: no pixel needs the reference's special cases. Masked loads and stores keep the
// bytes past the row's end untouched.
template <int kBpp>
__attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi"))) void BlendPartVbmi(const TGlyphPart& part,
                                                                                   const TInk& ink) {
  constexpr int kPixels = 64 / kBpp;
  const __m512i order = _mm512_load_si512(kLanes<kBpp>.Pixel);
  const __m512i zero = _mm512_setzero_si512();
  const __m512i inkV = _mm512_maskz_permutexvar_epi8(~__mmask64{0}, _mm512_load_si512(kLanes<kBpp>.Channel),
                                               _mm512_set1_epi32(static_cast<int>(ink.Blue | ink.Green << 8 | ink.Red << 16 | 0xFF000000u)));
  const __m512i inkLo = _mm512_unpacklo_epi8(inkV, zero), inkHi = _mm512_unpackhi_epi8(inkV, zero);
  std::uint8_t* row = part.Row;
  const std::uint8_t* cov = part.Cov;
  for (int y = 0; y < part.Rows; ++y, cov += part.CovStride, row += part.Stride)
    for (int x = 0; x < part.Width; x += kPixels) {
      const int n = std::min(kPixels, part.Width - x);
      const __mmask64 pixels = (std::uint64_t{1} << n) - 1;
      const __mmask64 bytes = n * kBpp >= 64 ? ~__mmask64{0} : (std::uint64_t{1} << (n * kBpp)) - 1;
      const __m512i a = _mm512_maskz_permutexvar_epi8(~__mmask64{0}, order, _mm512_maskz_loadu_epi8(pixels, cov + x));
      std::uint8_t* p = row + x * kBpp;
      const __m512i d = _mm512_maskz_loadu_epi8(bytes, p);
      __m512i r = _mm512_packus_epi16(MixLanes(_mm512_unpacklo_epi8(a, zero), _mm512_unpacklo_epi8(d, zero), inkLo),
                                      MixLanes(_mm512_unpackhi_epi8(a, zero), _mm512_unpackhi_epi8(d, zero), inkHi));
      if constexpr (kBpp == 4) r = _mm512_mask_mov_epi8(r, kLanes<kBpp>.Alpha & _mm512_test_epi8_mask(a, a), inkV);
      _mm512_mask_storeu_epi8(p, bytes, r);
    }
}

bool MachineHasVbmi() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
         __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi");
}
#else
bool MachineHasVbmi() { return false; }
#endif

// The pixel kernels' cap (TB_PIXEL_KERNELS) holds here too: below avx512vbmi the
// reference loop runs.
bool WideWanted() {
  const char* text = std::getenv("TB_PIXEL_KERNELS");
  const std::string_view v = text ? text : "";
  return !(v == "scalar" || v == "sse2" || v == "avx2" || v == "avx512");
}

bool& WideInUse() {
  static bool inUse = MachineHasVbmi() && WideWanted();
  return inUse;
}

template <int kBpp>
void BlendLoop(TBitmap& target, std::span<const TRect> clip, std::span<const TPlacedGlyph> glyphs, int baseline,
               COLORREF color) {
  const TInk ink(color);
  const bool wide = WideInUse();
  const TRect bounds{0, 0, target.Width(), target.Height()};
  std::uint8_t* const row0 = target.ScanLine(0);
  const std::ptrdiff_t stride = target.Stride();
  for (const TPlacedGlyph& placed : glyphs) {
    const TGlyph& g = *placed.Glyph;
    if (g.Width == 0) continue;
    const int gx = placed.X + g.Left;
    const int gy = baseline - g.Top;
    const TRect box = TRect{gx, gy, gx + g.Width, gy + g.Rows}.Intersect(bounds);
    if (box.IsEmpty()) continue;
    for (const TRect& c : clip) {
      const TRect r = box.Intersect(c);
      if (r.IsEmpty()) continue;
      TGlyphPart part;
      part.Cov = g.Coverage.data() + static_cast<std::ptrdiff_t>(r.Top - gy) * g.Width + (r.Left - gx);
      part.Row = row0 + static_cast<std::ptrdiff_t>(r.Top) * stride + static_cast<std::ptrdiff_t>(r.Left) * kBpp;
      part.Width = r.Width();
      part.Rows = r.Height();
      part.Stride = stride;
      part.CovStride = g.Width;
#if TB_GLYPH_X86
      if (wide) {
        BlendPartVbmi<kBpp>(part, ink);
        continue;
      }
#endif
      BlendPartScalar<kBpp>(part, ink);
    }
  }
}

template <int kBpp>
void FillLoop(TBitmap& target, std::span<const TRect> clip, const TRect& rect, COLORREF color) {
  const TRect box = rect.Intersect({0, 0, target.Width(), target.Height()});
  if (box.IsEmpty()) return;
  const auto red = static_cast<std::uint8_t>(GetRValue(color));
  const auto green = static_cast<std::uint8_t>(GetGValue(color));
  const auto blue = static_cast<std::uint8_t>(GetBValue(color));
  std::uint8_t* const row0 = target.ScanLine(0);
  const std::ptrdiff_t stride = target.Stride();
  for (const TRect& c : clip) {
    const TRect r = box.Intersect(c);
    if (r.IsEmpty()) continue;
    std::uint8_t* row = row0 + static_cast<std::ptrdiff_t>(r.Top) * stride + static_cast<std::ptrdiff_t>(r.Left) * kBpp;
    for (int y = r.Top; y < r.Bottom; ++y, row += stride) {
      std::uint8_t* p = row;
      for (int x = r.Left; x < r.Right; ++x, p += kBpp) {
        p[0] = blue;
        p[1] = green;
        p[2] = red;
        if constexpr (kBpp == 4) p[3] = 255;
      }
    }
  }
}

}  // namespace

void BlendGlyphs(TBitmap& target, std::span<const TRect> clip, std::span<const TPlacedGlyph> glyphs, int baseline,
                 COLORREF color) {
  if (target.Empty()) return;
  switch (target.PixelFormat()) {
    case TPixelFormat::pf24bit: BlendLoop<3>(target, clip, glyphs, baseline, color); return;
    case TPixelFormat::pf32bit: BlendLoop<4>(target, clip, glyphs, baseline, color); return;
    case TPixelFormat::pf1bit:
    case TPixelFormat::pf4bit:
    case TPixelFormat::pf8bit: return;
  }
}

void FillClipped(TBitmap& target, std::span<const TRect> clip, const TRect& rect, COLORREF color) {
  if (target.Empty()) return;
  switch (target.PixelFormat()) {
    case TPixelFormat::pf24bit: FillLoop<3>(target, clip, rect, color); return;
    case TPixelFormat::pf32bit: FillLoop<4>(target, clip, rect, color); return;
    case TPixelFormat::pf1bit:
    case TPixelFormat::pf4bit:
    case TPixelFormat::pf8bit: return;
  }
}

bool SetWideGlyphBlend(bool on) {
  const bool was = WideInUse();
  WideInUse() = on && MachineHasVbmi();
  return was;
}
