#include "skin/render/acPixelKernels.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>

#if defined(__x86_64__) || defined(__i386__)
#define AC_X86 1
#include <immintrin.h>
#endif

namespace {

// Inlined into the wide kernels for their tails, so no call leaves AVX state
// behind for legacy-encoded code (that transition costs more than a row).
// old may be dst itself; out and old are read and written in step.
inline __attribute__((always_inline)) void BlendBytesScalar(std::uint8_t* dst, const std::uint8_t* old, const std::uint8_t* src,
                                                            std::size_t n, unsigned ua) {
  const unsigned ub = 255u - ua;
  for (std::size_t i = 0; i < n; ++i) dst[i] = static_cast<std::uint8_t>((old[i] * ua + src[i] * ub + 127u) >> 8);
}

inline __attribute__((always_inline)) void MaskBlendScalar(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m,
                                                           std::size_t n) {
  for (std::size_t i = 0; i < n; ++i)
    d[i] = static_cast<std::uint8_t>(((256u - m[i]) * s[i] + m[i] * d[i]) >> 8);
}

std::uint64_t MaskRowAroundKeysScalar(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m, std::size_t n) {
  std::uint64_t keys = 0;
  for (std::size_t i = 0; i + 3 <= n; i += 3) {
    if (s[i] == 255 && s[i + 1] == 0 && s[i + 2] == 255)
      keys |= std::uint64_t{1} << i;
    else
      MaskBlendScalar(d + i, s + i, m + i, 3);
  }
  return keys;
}

void MaskRowsAroundKeysScalar(std::uint8_t* d, std::ptrdiff_t dStride, const std::uint8_t* s, const std::uint8_t* m,
                              std::ptrdiff_t sStride, std::size_t n, int rows, std::uint64_t* keys) {
  for (int r = 0; r < rows; ++r, d += dStride, s += sStride, m += sStride) {
    const std::uint64_t found = MaskRowAroundKeysScalar(d, s, m, n);
    if (keys) keys[r] = found;
  }
}

inline __attribute__((always_inline)) void MaskBlendRepeatingScalar(std::uint8_t* d, const std::uint8_t* s,
                                                                    const std::uint8_t* m, std::size_t period,
                                                                    std::size_t phase, std::size_t n) {
  for (std::size_t i = 0, o = phase; i < n; ++i) {
    d[i] = static_cast<std::uint8_t>(((256u - m[o]) * s[o] + m[o] * d[i]) >> 8);
    if (++o == period) o = 0;
  }
}

// round(N / 100) with ties to even, N <= 25500.
inline std::uint8_t RoundHundredth(unsigned n) {
  const unsigned q = n / 100;
  const unsigned r = n - q * 100;
  return static_cast<std::uint8_t>(q + ((r + (q & 1)) > 50 ? 1 : 0));
}

inline __attribute__((always_inline)) void MixScalar(std::uint8_t* p, std::size_t from, std::size_t n, const TColorMix& mix) {
  std::size_t k = from % 48;
  for (std::size_t i = from; i < n; ++i) {
    p[i] = RoundHundredth(mix.Mul[k] * p[i] + mix.Add[k]);
    if (++k == 48) k = 0;
  }
}

#if AC_X86
// Every product and the sum stay below 65536, so 16-bit lanes are exact.
void BlendBytesSse2(std::uint8_t* dst, const std::uint8_t* old, const std::uint8_t* src, std::size_t n, unsigned ua) {
  const __m128i va = _mm_set1_epi16(static_cast<short>(ua));
  const __m128i vb = _mm_set1_epi16(static_cast<short>(255u - ua));
  const __m128i bias = _mm_set1_epi16(127);
  const __m128i zero = _mm_setzero_si128();
  std::size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(old + i));
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    __m128i lo = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), va),
                               _mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), vb));
    __m128i hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), va),
                               _mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), vb));
    lo = _mm_srli_epi16(_mm_add_epi16(lo, bias), 8);
    hi = _mm_srli_epi16(_mm_add_epi16(hi, bias), 8);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_packus_epi16(lo, hi));
  }
  BlendBytesScalar(dst + i, old + i, src + i, n - i, ua);
}

// One multiply-add per byte pair: with a' = a - 128 and b' = 127 - a (both fit a
// signed byte, and one of them is negative) D * a' + S * b' cannot saturate, and
// D * a + S * (255 - a) = D * a' + S * b' + 128 * (D + S).
__attribute__((target("avx2"))) void BlendBytesAvx2(std::uint8_t* dst, const std::uint8_t* old, const std::uint8_t* src, std::size_t n,
                                                    unsigned ua) {
  const int a1 = static_cast<int>(ua) - 128;
  const int b1 = 127 - static_cast<int>(ua);
  const __m256i weights = _mm256_set1_epi16(static_cast<short>((a1 & 0xFF) | ((b1 & 0xFF) << 8)));
  const __m256i ones = _mm256_set1_epi8(1);
  const __m256i bias = _mm256_set1_epi16(127);
  std::size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(old + i));
    const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
    const __m256i pairLo = _mm256_unpacklo_epi8(d, s);
    const __m256i pairHi = _mm256_unpackhi_epi8(d, s);
    __m256i lo = _mm256_add_epi16(_mm256_maddubs_epi16(pairLo, weights),
                                  _mm256_slli_epi16(_mm256_maddubs_epi16(pairLo, ones), 7));
    __m256i hi = _mm256_add_epi16(_mm256_maddubs_epi16(pairHi, weights),
                                  _mm256_slli_epi16(_mm256_maddubs_epi16(pairHi, ones), 7));
    lo = _mm256_srli_epi16(_mm256_add_epi16(lo, bias), 8);
    hi = _mm256_srli_epi16(_mm256_add_epi16(hi, bias), 8);
    // unpack and pack both work within 128-bit lanes, so the order comes back.
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_packus_epi16(lo, hi));
  }
  BlendBytesScalar(dst + i, old + i, src + i, n - i, ua);
}

// The AVX2 blend 64 bytes a step.
__attribute__((target("avx512f,avx512bw"))) void BlendBytesAvx512(std::uint8_t* dst, const std::uint8_t* old,
                                                                 const std::uint8_t* src, std::size_t n, unsigned ua) {
  const int a1 = static_cast<int>(ua) - 128;
  const int b1 = 127 - static_cast<int>(ua);
  const __m512i weights = _mm512_set1_epi16(static_cast<short>((a1 & 0xFF) | ((b1 & 0xFF) << 8)));
  const __m512i ones = _mm512_set1_epi8(1);
  const __m512i bias = _mm512_set1_epi16(127);
  std::size_t i = 0;
  for (; i + 64 <= n; i += 64) {
    const __m512i d = _mm512_loadu_si512(old + i);
    const __m512i s = _mm512_loadu_si512(src + i);
    const __m512i pairLo = _mm512_unpacklo_epi8(d, s);
    const __m512i pairHi = _mm512_unpackhi_epi8(d, s);
    __m512i lo = _mm512_add_epi16(_mm512_maddubs_epi16(pairLo, weights),
                                  _mm512_slli_epi16(_mm512_maddubs_epi16(pairLo, ones), 7));
    __m512i hi = _mm512_add_epi16(_mm512_maddubs_epi16(pairHi, weights),
                                  _mm512_slli_epi16(_mm512_maddubs_epi16(pairHi, ones), 7));
    lo = _mm512_srli_epi16(_mm512_add_epi16(lo, bias), 8);
    hi = _mm512_srli_epi16(_mm512_add_epi16(hi, bias), 8);
    _mm512_storeu_si512(dst + i, _mm512_packus_epi16(lo, hi));
  }
  BlendBytesScalar(dst + i, old + i, src + i, n - i, ua);
}

// (256 - M) * S + M * D <= 256 * 255, so unsigned 16-bit lanes are exact.
void MaskBlendSse2(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m, std::size_t n) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i full = _mm_set1_epi16(256);
  std::size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    const __m128i vd = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
    const __m128i vs = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    const __m128i vm = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m + i));
    const auto half = [&](__m128i dd, __m128i ss, __m128i mm) {
      return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_sub_epi16(full, mm), ss), _mm_mullo_epi16(mm, dd)), 8);
    };
    const __m128i lo = half(_mm_unpacklo_epi8(vd, zero), _mm_unpacklo_epi8(vs, zero), _mm_unpacklo_epi8(vm, zero));
    const __m128i hi = half(_mm_unpackhi_epi8(vd, zero), _mm_unpackhi_epi8(vs, zero), _mm_unpackhi_epi8(vm, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_packus_epi16(lo, hi));
  }
  MaskBlendScalar(d + i, s + i, m + i, n - i);
}

__attribute__((target("avx2"), always_inline)) inline __m128i Load16(const std::uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
__attribute__((target("avx2"), always_inline)) inline __m256i Load32(const std::uint8_t* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

// Sixteen bytes as sixteen 16-bit lanes: (256 - M) * S + M * D >> 8.
__attribute__((target("avx2"), always_inline)) inline __m128i MaskBlend16(__m128i d, __m128i s, __m128i m) {
  const __m256i full = _mm256_set1_epi16(256);
  const __m256i vd = _mm256_cvtepu8_epi16(d), vs = _mm256_cvtepu8_epi16(s), vm = _mm256_cvtepu8_epi16(m);
  const __m256i v = _mm256_srli_epi16(
      _mm256_add_epi16(_mm256_mullo_epi16(_mm256_sub_epi16(full, vm), vs), _mm256_mullo_epi16(vm, vd)), 8);
  // packus works within 128-bit lanes: bytes 0-7 sit in quadword 0, bytes 8-15 in quadword 2.
  return _mm256_castsi256_si128(_mm256_permute4x64_epi64(_mm256_packus_epi16(v, v), 0x08));
}

__attribute__((target("avx2"), always_inline)) inline __m256i MaskBlend32(__m256i vd, __m256i vs, __m256i vm) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i full = _mm256_set1_epi16(256);
  const __m256i mlo = _mm256_unpacklo_epi8(vm, zero), mhi = _mm256_unpackhi_epi8(vm, zero);
  __m256i lo = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_sub_epi16(full, mlo), _mm256_unpacklo_epi8(vs, zero)),
                                _mm256_mullo_epi16(mlo, _mm256_unpacklo_epi8(vd, zero)));
  __m256i hi = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_sub_epi16(full, mhi), _mm256_unpackhi_epi8(vs, zero)),
                                _mm256_mullo_epi16(mhi, _mm256_unpackhi_epi8(vd, zero)));
  return _mm256_packus_epi16(_mm256_srli_epi16(lo, 8), _mm256_srli_epi16(hi, 8));
}

// Border slices give short rows (a 9-pixel edge is 27 bytes), so the ragged end is
// not left to a byte loop: the last full-width window, which overlaps bytes the
// main loop writes, is computed from the original bytes before that loop runs and
// stored after it. Each output byte depends on its own three inputs only, so the
// overlapping bytes are written twice with the same value.
__attribute__((target("avx2"))) void MaskBlendAvx2(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m,
                                                   std::size_t n) {
  if (n < 16) {
    MaskBlendScalar(d, s, m, n);
    return;
  }
  if (n <= 32) {
    const __m128i a = MaskBlend16(Load16(d), Load16(s), Load16(m));
    const std::size_t t = n - 16;
    const __m128i b = MaskBlend16(Load16(d + t), Load16(s + t), Load16(m + t));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), a);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + t), b);
    return;
  }
  const std::size_t t = n - 32;
  const __m256i last = MaskBlend32(Load32(d + t), Load32(s + t), Load32(m + t));
  for (std::size_t i = 0; i + 32 <= n; i += 32)
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), MaskBlend32(Load32(d + i), Load32(s + i), Load32(m + i)));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + t), last);
}

// 32 bytes a step from the runs (16 for rows under 32 bytes); the last window is
// computed before the loop (see MaskBlendAvx2). A step moves the offset into the
// period on by 32 mod period, so no step divides.
__attribute__((target("avx2"))) void MaskBlendRepeatingAvx2(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m,
                                                            std::size_t period, std::size_t phase, std::size_t n) {
  if (n < 16) {
    // A narrow slice's row: the runs can be read 16 bytes on, the target goes through a copy.
    alignas(16) std::uint8_t row[16] = {};
    std::memcpy(row, d, n);
    _mm_store_si128(reinterpret_cast<__m128i*>(row), MaskBlend16(Load16(row), Load16(s + phase), Load16(m + phase)));
    std::memcpy(d, row, n);
    return;
  }
  if (n < 32) {
    const std::size_t t = n - 16, o = (phase + t) % period;
    const __m128i a = MaskBlend16(Load16(d), Load16(s + phase), Load16(m + phase));
    const __m128i b = MaskBlend16(Load16(d + t), Load16(s + o), Load16(m + o));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), a);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + t), b);
    return;
  }
  const std::size_t t = n - 32, lo = (phase + t) % period, step = 32 % period;
  const __m256i last = MaskBlend32(Load32(d + t), Load32(s + lo), Load32(m + lo));
  std::size_t o = phase;
  for (std::size_t i = 0; i + 32 <= n; i += 32) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), MaskBlend32(Load32(d + i), Load32(s + o), Load32(m + o)));
    o += step;
    if (o >= period) o -= period;
  }
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + t), last);
}

// The AVX2 forms 64 bytes a step; the ragged end goes through masked loads and a
// masked store, so no byte outside the run is read from the target or written.
__attribute__((target("avx512f,avx512bw,avx512vl"), always_inline)) inline __m512i MaskBlend64(__m512i vd, __m512i vs,
                                                                                               __m512i vm) {
  const __m512i zero = _mm512_setzero_si512();
  const __m512i full = _mm512_set1_epi16(256);
  const __m512i mlo = _mm512_unpacklo_epi8(vm, zero), mhi = _mm512_unpackhi_epi8(vm, zero);
  const __m512i lo = _mm512_add_epi16(_mm512_mullo_epi16(_mm512_sub_epi16(full, mlo), _mm512_unpacklo_epi8(vs, zero)),
                                      _mm512_mullo_epi16(mlo, _mm512_unpacklo_epi8(vd, zero)));
  const __m512i hi = _mm512_add_epi16(_mm512_mullo_epi16(_mm512_sub_epi16(full, mhi), _mm512_unpackhi_epi8(vs, zero)),
                                      _mm512_mullo_epi16(mhi, _mm512_unpackhi_epi8(vd, zero)));
  return _mm512_packus_epi16(_mm512_srli_epi16(lo, 8), _mm512_srli_epi16(hi, 8));
}

__attribute__((target("avx512f,avx512bw,avx512vl"), always_inline)) inline __mmask64 FirstBytes(std::size_t n) {
  return n >= 64 ? ~__mmask64{0} : (__mmask64{1} << n) - 1;
}

__attribute__((target("avx512f,avx512bw,avx512vl"))) void MaskBlendAvx512(std::uint8_t* d, const std::uint8_t* s,
                                                                          const std::uint8_t* m, std::size_t n) {
  std::size_t i = 0;
  for (; i + 64 <= n; i += 64)
    _mm512_storeu_si512(d + i, MaskBlend64(_mm512_loadu_si512(d + i), _mm512_loadu_si512(s + i), _mm512_loadu_si512(m + i)));
  if (i == n) return;
  const __mmask64 k = FirstBytes(n - i);
  _mm512_mask_storeu_epi8(d + i, k, MaskBlend64(_mm512_maskz_loadu_epi8(k, d + i), _mm512_maskz_loadu_epi8(k, s + i),
                                                _mm512_maskz_loadu_epi8(k, m + i)));
}

// A corner's rows, each in one step: the keys found by two byte compares, every
// other pixel stored through a byte mask that leaves the keys' three bytes alone.
__attribute__((target("avx512f,avx512bw,avx512vl"))) void MaskRowsAroundKeysAvx512(std::uint8_t* d, std::ptrdiff_t dStride,
                                                                                   const std::uint8_t* s, const std::uint8_t* m,
                                                                                   std::ptrdiff_t sStride, std::size_t n,
                                                                                   int rows, std::uint64_t* keys) {
  const __mmask64 k = FirstBytes(n);
  const __m512i ff = _mm512_set1_epi8(static_cast<char>(0xFF)), zero = _mm512_setzero_si512();
  for (int r = 0; r < rows; ++r, d += dStride, s += sStride, m += sStride) {
    const __m512i vs = _mm512_maskz_loadu_epi8(k, s);
    const std::uint64_t high = _mm512_mask_cmpeq_epi8_mask(k, vs, ff);
    const std::uint64_t low = _mm512_mask_cmpeq_epi8_mask(k, vs, zero);
    const std::uint64_t found = high & (low >> 1) & (high >> 2) & 0x1249249249249249ull;  // pixel starts 0, 3, ..., 60
    const __mmask64 store = k & ~(found | found << 1 | found << 2);
    if (store)
      _mm512_mask_storeu_epi8(d, store, MaskBlend64(_mm512_maskz_loadu_epi8(k, d), vs, _mm512_maskz_loadu_epi8(k, m)));
    if (keys) keys[r] = found;
  }
}

// 32 % period without a division for the periods border slices give (over 16 bytes).
inline std::size_t HalfStep(std::size_t period) {
  if (period > 32) return 32;
  return period > 16 ? 32 - period : 32 % period;
}

// 64 source bytes from the runs as two halves, each from its own offset into the
// period (the runs hold 32 bytes past it); o moves on by 64 bytes.
__attribute__((target("avx512f,avx512bw,avx512vl"), always_inline)) inline __m512i RunBytes64(const std::uint8_t* run,
                                                                                              std::size_t o,
                                                                                              std::size_t second) {
  // Masked loads of each half: the upper one addresses 32 bytes before its bytes, which
  // its mask leaves unread.
  const __m512i low = _mm512_maskz_loadu_epi8(0xFFFFFFFFull, run + o);
  return _mm512_mask_loadu_epi8(low, ~0xFFFFFFFFull, run + second - 32);
}

// MaskBlend64 with the picture's share (256 - M) * S and the band M already in 16-bit lanes.
__attribute__((target("avx512f,avx512bw,avx512vl"), always_inline)) inline __m512i MaskBlendShared64(__m512i vd, __m512i slo,
                                                                                                     __m512i shi, __m512i mlo,
                                                                                                     __m512i mhi) {
  const __m512i zero = _mm512_setzero_si512();
  const __m512i lo = _mm512_add_epi16(slo, _mm512_mullo_epi16(mlo, _mm512_unpacklo_epi8(vd, zero)));
  const __m512i hi = _mm512_add_epi16(shi, _mm512_mullo_epi16(mhi, _mm512_unpackhi_epi8(vd, zero)));
  return _mm512_packus_epi16(_mm512_srli_epi16(lo, 8), _mm512_srli_epi16(hi, 8));
}

__attribute__((target("avx512f,avx512bw,avx512vl"))) void MaskBlendRepeatingRowAvx512(std::uint8_t* d, const std::uint8_t* s,
                                                                                      const std::uint8_t* m, std::size_t period,
                                                                                      std::size_t phase, std::size_t n) {
  const std::size_t step = HalfStep(period);
  std::size_t o = phase, i = 0;
  for (;; i += 64) {
    std::size_t second = o + step;
    if (second >= period) second -= period;
    const __m512i vs = RunBytes64(s, o, second), vm = RunBytes64(m, o, second);
    if (i + 64 > n) {
      if (i < n) {
        const __mmask64 k = FirstBytes(n - i);
        _mm512_mask_storeu_epi8(d + i, k, MaskBlend64(_mm512_maskz_loadu_epi8(k, d + i), vs, vm));
      }
      return;
    }
    _mm512_storeu_si512(d + i, MaskBlend64(_mm512_loadu_si512(d + i), vs, vm));
    o = second + step;
    if (o >= period) o -= period;
  }
}

// Several rows from one run column by column: the picture's and the band's share of each 64 bytes, (256 - M) * S
// and M, is worked out once and serves every target row, which then costs a multiply
// and an add per 16-bit lane.
__attribute__((target("avx512f,avx512bw,avx512vl"))) void MaskBlendRepeatingAvx512(std::uint8_t* d, std::ptrdiff_t dStride,
                                                                                   int rows, const std::uint8_t* s,
                                                                                   const std::uint8_t* m, std::ptrdiff_t sStride,
                                                                                   std::size_t period, std::size_t phase,
                                                                                   std::size_t n) {
  if (rows == 1 || sStride != 0) {
    for (int r = 0; r < rows; ++r, d += dStride, s += sStride, m += sStride) MaskBlendRepeatingRowAvx512(d, s, m, period, phase, n);
    return;
  }
  const std::size_t step = HalfStep(period);
  const __m512i zero = _mm512_setzero_si512(), full = _mm512_set1_epi16(256);
  std::size_t o = phase;
  for (std::size_t i = 0; i < n; i += 64) {
    std::size_t second = o + step;
    if (second >= period) second -= period;
    const __m512i vs = RunBytes64(s, o, second), vm = RunBytes64(m, o, second);
    const __m512i mlo = _mm512_unpacklo_epi8(vm, zero), mhi = _mm512_unpackhi_epi8(vm, zero);
    const __m512i slo = _mm512_mullo_epi16(_mm512_sub_epi16(full, mlo), _mm512_unpacklo_epi8(vs, zero));
    const __m512i shi = _mm512_mullo_epi16(_mm512_sub_epi16(full, mhi), _mm512_unpackhi_epi8(vs, zero));
    std::uint8_t* at = d + i;
    if (i + 64 > n) {
      const __mmask64 k = FirstBytes(n - i);
      for (int r = 0; r < rows; ++r, at += dStride)
        _mm512_mask_storeu_epi8(at, k, MaskBlendShared64(_mm512_maskz_loadu_epi8(k, at), slo, shi, mlo, mhi));
      return;
    }
    for (int r = 0; r < rows; ++r, at += dStride) _mm512_storeu_si512(at, MaskBlendShared64(_mm512_loadu_si512(at), slo, shi, mlo, mhi));
    o = second + step;
    if (o >= period) o -= period;
  }
}

void MaskBlendRepeatingSse2(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m, std::size_t period,
                            std::size_t phase, std::size_t n) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i full = _mm_set1_epi16(256);
  const auto blend = [&](const std::uint8_t* dd, const std::uint8_t* ss, const std::uint8_t* mm) {
    const __m128i vd = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dd));
    const __m128i vs = _mm_loadu_si128(reinterpret_cast<const __m128i*>(ss));
    const __m128i vm = _mm_loadu_si128(reinterpret_cast<const __m128i*>(mm));
    const auto half = [&](__m128i a, __m128i b, __m128i c) {
      return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_sub_epi16(full, c), b), _mm_mullo_epi16(c, a)), 8);
    };
    return _mm_packus_epi16(half(_mm_unpacklo_epi8(vd, zero), _mm_unpacklo_epi8(vs, zero), _mm_unpacklo_epi8(vm, zero)),
                            half(_mm_unpackhi_epi8(vd, zero), _mm_unpackhi_epi8(vs, zero), _mm_unpackhi_epi8(vm, zero)));
  };
  if (n < 16) {
    alignas(16) std::uint8_t row[16] = {};  // as in the AVX2 form
    std::memcpy(row, d, n);
    _mm_store_si128(reinterpret_cast<__m128i*>(row), blend(row, s + phase, m + phase));
    std::memcpy(d, row, n);
    return;
  }
  const std::size_t lo = (phase + n - 16) % period, step = 16 % period;
  const __m128i last = blend(d + n - 16, s + lo, m + lo);
  std::size_t o = phase, i = 0;
  for (; i + 16 <= n; i += 16) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), blend(d + i, s + o, m + o));
    o += step;
    if (o >= period) o -= period;
  }
  _mm_storeu_si128(reinterpret_cast<__m128i*>(d + n - 16), last);
}

// Exact division of N <= 25500 by 100: (N * 5243) >> 19.
inline __m128i MixLanes(__m128i c, __m128i mul, __m128i add) {
  const __m128i n = _mm_add_epi16(_mm_mullo_epi16(c, mul), add);
  const __m128i q = _mm_srli_epi16(_mm_mulhi_epu16(n, _mm_set1_epi16(5243)), 3);
  const __m128i r = _mm_sub_epi16(n, _mm_mullo_epi16(q, _mm_set1_epi16(100)));
  const __m128i odd = _mm_and_si128(q, _mm_set1_epi16(1));
  const __m128i up = _mm_cmpgt_epi16(_mm_add_epi16(r, odd), _mm_set1_epi16(50));
  return _mm_sub_epi16(q, up);  // up is -1 where rounding goes up
}

void MixSse2(std::uint8_t* p, std::size_t n, const TColorMix& mix) {
  __m128i mul[6], add[6];
  for (int k = 0; k < 6; ++k) {
    mul[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(mix.Mul + 8 * k));
    add[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(mix.Add + 8 * k));
  }
  const __m128i zero = _mm_setzero_si128();
  std::size_t i = 0;
  int phase = 0;
  for (; i + 16 <= n; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const __m128i lo = MixLanes(_mm_unpacklo_epi8(v, zero), mul[2 * phase], add[2 * phase]);
    const __m128i hi = MixLanes(_mm_unpackhi_epi8(v, zero), mul[2 * phase + 1], add[2 * phase + 1]);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), _mm_packus_epi16(lo, hi));
    phase = phase == 2 ? 0 : phase + 1;
  }
  MixScalar(p, i, n, mix);
}

__attribute__((target("avx2"))) inline __m256i MixLanes256(__m256i c, __m256i mul, __m256i add) {
  const __m256i n = _mm256_add_epi16(_mm256_mullo_epi16(c, mul), add);
  const __m256i q = _mm256_srli_epi16(_mm256_mulhi_epu16(n, _mm256_set1_epi16(5243)), 3);
  const __m256i r = _mm256_sub_epi16(n, _mm256_mullo_epi16(q, _mm256_set1_epi16(100)));
  const __m256i odd = _mm256_and_si256(q, _mm256_set1_epi16(1));
  const __m256i up = _mm256_cmpgt_epi16(_mm256_add_epi16(r, odd), _mm256_set1_epi16(50));
  return _mm256_sub_epi16(q, up);
}

__attribute__((target("avx2"))) void MixAvx2(std::uint8_t* p, std::size_t n, const TColorMix& mix) {
  // Three 16-byte steps make one 48-byte period.
  __m256i mul[3], add[3];
  for (int k = 0; k < 3; ++k) {
    mul[k] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(mix.Mul + 16 * k));
    add[k] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(mix.Add + 16 * k));
  }
  std::size_t i = 0;
  for (; i + 48 <= n; i += 48)
    for (int k = 0; k < 3; ++k) {
      const __m256i c = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 16 * k)));
      const __m256i r = MixLanes256(c, mul[k], add[k]);
      const __m128i packed = _mm_packus_epi16(_mm256_castsi256_si128(r), _mm256_extracti128_si256(r, 1));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i + 16 * k), packed);
    }
  MixScalar(p, i, n, mix);
}

// The same mix 32 bytes a step in 16-bit lanes: t = mul * c + add + 50 rounds half up
// as floor(t / 100) ((t * 5243) >> 19 is exact for t < 43699); a tie (t a multiple
// of 100) with an odd quotient goes back down to the even one.
__attribute__((target("avx512f,avx512bw"))) inline __m512i MixLanes512(__m512i c, __m512i mul, __m512i add50) {
  const __m512i t = _mm512_add_epi16(_mm512_mullo_epi16(c, mul), add50);
  const __m512i q = _mm512_srli_epi16(_mm512_mulhi_epu16(t, _mm512_set1_epi16(5243)), 3);
  const __mmask32 odd = _mm512_test_epi16_mask(q, _mm512_set1_epi16(1));
  const __mmask32 tie = _mm512_mask_cmpeq_epi16_mask(odd, _mm512_mullo_epi16(q, _mm512_set1_epi16(100)), t);
  return _mm512_mask_sub_epi16(q, tie, q, _mm512_set1_epi16(1));
}

__attribute__((target("avx512f,avx512bw"))) void MixAvx512(std::uint8_t* p, std::size_t n, const TColorMix& mix) {
  // Three 32-byte steps make two 48-byte periods.
  __m512i mul[3], add50[3];
  for (int k = 0; k < 3; ++k) {
    alignas(64) std::uint16_t m[32], a[32];
    for (int i = 0; i < 32; ++i) {
      m[i] = mix.Mul[(32 * k + i) % 48];
      a[i] = static_cast<std::uint16_t>(mix.Add[(32 * k + i) % 48] + 50);
    }
    mul[k] = _mm512_load_si512(m);
    add50[k] = _mm512_load_si512(a);
  }
  std::size_t i = 0;
  for (; i + 96 <= n; i += 96)
    for (int k = 0; k < 3; ++k) {
      std::uint8_t* at = p + i + 32 * k;
      const __m512i c = _mm512_cvtepu8_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(at)));
      // The masked form: the plain one reads an undefined register that GCC warns about.
      const __m256i packed = _mm512_mask_cvtepi16_epi8(_mm256_setzero_si256(), ~__mmask32{0}, MixLanes512(c, mul[k], add50[k]));
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), packed);
    }
  MixScalar(p, i, n, mix);
}

// A mix whose weights repeat every 3 or 4 bytes (the pixel's channels) gives every
// byte value of a channel one result: 256-byte tables, made by the arithmetic mix
// above, then looked up 64 bytes a step with byte permutes. Period 0: no such repeat.
int MixChannelPeriod(const TColorMix& mix) {
  for (int period : {3, 4}) {
    bool repeats = true;
    for (int j = period; j < 48 && repeats; ++j)
      repeats = mix.Mul[j] == mix.Mul[j - period] && mix.Add[j] == mix.Add[j - period];
    if (repeats) return period;
  }
  return 0;
}

// Below this many bytes the tables cost more than they save.
constexpr std::size_t kMixTableMinBytes = 1024;

struct alignas(64) TMixTables {
  // One 256-byte table per channel; 288 bytes so that the arithmetic mix fills it in whole steps.
  std::uint8_t T[4][288];
};

__attribute__((target("avx512f,avx512bw"))) void MakeMixTables(const TColorMix& mix, int period, TMixTables& out) {
  for (int ch = 0; ch < period; ++ch) {
    TColorMix one;
    for (int j = 0; j < 48; ++j) {
      one.Mul[j] = mix.Mul[ch];
      one.Add[j] = mix.Add[ch];
    }
    for (int c = 0; c < 288; ++c) out.T[ch][c] = static_cast<std::uint8_t>(c);
    MixAvx512(out.T[ch], 288, one);
  }
}

// One channel's table applied to all 64 bytes; the top bit picks the upper 128 entries.
__attribute__((target("avx512f,avx512bw,avx512vbmi"), always_inline)) inline __m512i LookUpChannel(
    __m512i v, __mmask64 high, const __m512i (&t)[4]) {
  return _mm512_mask_blend_epi8(high, _mm512_permutex2var_epi8(t[0], v, t[1]), _mm512_permutex2var_epi8(t[2], v, t[3]));
}

// 64 bytes through the channel tables; channel ch's bytes are those set in pick[ch].
template <int Period>
__attribute__((target("avx512f,avx512bw,avx512vbmi"), always_inline)) inline __m512i LookUp(
    __m512i v, const __m512i (&t)[4][4], const __mmask64* pick) {
  const __mmask64 high = _mm512_movepi8_mask(v);
  __m512i r = LookUpChannel(v, high, t[0]);
  for (int ch = 1; ch < Period; ++ch) r = _mm512_mask_blend_epi8(pick[ch], r, LookUpChannel(v, high, t[ch]));
  return r;
}

template <int Period>
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void MixRowsByTables(std::uint8_t* first, std::ptrdiff_t step,
                                                                         int rows, std::size_t n, const TMixTables& tables) {
  __m512i t[4][4];
  for (int ch = 0; ch < Period; ++ch)
    for (int q = 0; q < 4; ++q) t[ch][q] = _mm512_loadu_si512(tables.T[ch] + 64 * q);
  // A step of 64 bytes moves the channel pattern on by 64 mod Period bytes.
  __mmask64 pick[Period][Period];
  for (int phase = 0; phase < Period; ++phase)
    for (int ch = 0; ch < Period; ++ch) {
      std::uint64_t m = 0;
      for (int i = 0; i < 64; ++i)
        if ((phase + i) % Period == ch) m |= std::uint64_t{1} << i;
      pick[phase][ch] = m;
    }
  for (int r = 0; r < rows; ++r) {
    std::uint8_t* p = first + r * step;
    std::size_t i = 0;
    int phase = 0;
    for (; i + 64 <= n; i += 64) {
      _mm512_storeu_si512(p + i, LookUp<Period>(_mm512_loadu_si512(p + i), t, pick[phase]));
      phase = (phase + 64) % Period;
    }
    if (i < n) {
      const __mmask64 tail = (std::uint64_t{1} << (n - i)) - 1;
      _mm512_mask_storeu_epi8(p + i, tail, LookUp<Period>(_mm512_maskz_loadu_epi8(tail, p + i), t, pick[phase]));
    }
  }
}

__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void MixRowsVbmi(std::uint8_t* first, std::ptrdiff_t step,
                                                                     int rows, std::size_t n, const TColorMix& mix) {
  const int period = MixChannelPeriod(mix);
  if (period == 0 || n * static_cast<std::size_t>(rows) < kMixTableMinBytes) {
    for (int r = 0; r < rows; ++r) MixAvx512(first + r * step, n, mix);
    return;
  }
  TMixTables tables;
  MakeMixTables(mix, period, tables);
  if (period == 3)
    MixRowsByTables<3>(first, step, rows, n, tables);
  else
    MixRowsByTables<4>(first, step, rows, n, tables);
}

// Three-byte pixels: 192 bytes are three vectors, starting on channels 0, 2 and 1.
struct TFillLanes {
  alignas(64) std::uint8_t Channel[3][64];
  constexpr TFillLanes() : Channel{} {
    for (int k = 0; k < 3; ++k)
      for (int i = 0; i < 64; ++i) Channel[k][i] = static_cast<std::uint8_t>((64 * k + i) % 3);
  }
};
constexpr TFillLanes kFillLanes{};

// Whole vectors, the rest by masked stores (at most three).
__attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi"))) void FillPixelsVbmi(std::uint8_t* p, std::size_t count,
                                                                                    const std::uint8_t* pixel, int bpp) {
  const std::size_t total = count * static_cast<std::size_t>(bpp);
  const std::uint32_t word = pixel[0] | (std::uint32_t{pixel[1]} << 8) | (std::uint32_t{pixel[2]} << 16) |
                             (bpp == 4 ? std::uint32_t{pixel[3]} << 24 : 0);
  const __m512i v = _mm512_set1_epi32(static_cast<int>(word));
  std::size_t done = 0;
  // A row of 64 bytes or more ends with one whole vector that overlaps bytes already
  // written with the same values (masked stores cost more than plain ones).
  if (bpp == 4) {
    for (; done + 64 <= total; done += 64) _mm512_storeu_si512(p + done, v);
    if (done == total) return;
    if (total >= 64)
      _mm512_storeu_si512(p + total - 64, v);
    else
      _mm512_mask_storeu_epi8(p, FirstBytes(total), v);
    return;
  }
  __m512i part[3];
  for (int k = 0; k < 3; ++k) part[k] = _mm512_maskz_permutexvar_epi8(~__mmask64{0}, _mm512_load_si512(kFillLanes.Channel[k]), v);
  for (; done + 192 <= total; done += 192)
    for (int k = 0; k < 3; ++k) _mm512_storeu_si512(p + done + 64 * k, part[k]);
  if (total < 64) {
    _mm512_mask_storeu_epi8(p, FirstBytes(total), part[0]);
    return;
  }
  for (int k = 0; done + 64 <= total; ++k, done += 64) _mm512_storeu_si512(p + done, part[k]);
  // total is whole pixels, so total - 64 starts on the pixel's third byte: part 2.
  if (done < total) _mm512_storeu_si512(p + total - 64, part[2]);
}

bool HasAvx512Vbmi() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512vbmi");
}

bool HasAvx512() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl");
}

bool HasAvx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
}
#endif

// Writes count pixels of one colour with 8-byte stores of the repeating pattern
// (three words hold eight 3-byte pixels), so rows cost no library calls and no
// loads of bytes just written.
void FillWords(std::uint8_t* p, std::size_t count, const std::uint8_t* pixel, int bpp) {
  const std::size_t total = count * static_cast<std::size_t>(bpp);
  const std::uint64_t v = pixel[0] | (std::uint64_t{pixel[1]} << 8) | (std::uint64_t{pixel[2]} << 16) |
                          (bpp == 4 ? std::uint64_t{pixel[3]} << 24 : 0);
  std::size_t done = 0;
  if (bpp == 3) {
    const std::uint64_t w0 = v | (v << 24) | (v << 48);                // b g r b g r b g
    const std::uint64_t w1 = (v >> 16) | (v << 8) | (v << 32) | (v << 56);  // r b g r b g r b
    const std::uint64_t w2 = (v >> 8) | (v << 16) | (v << 40);        // g r b g r b g r
#if defined(__SSE2__)
    // 48 bytes (sixteen pixels) in three 16-byte stores.
    const __m128i a = _mm_set_epi64x(static_cast<long long>(w1), static_cast<long long>(w0));
    const __m128i b = _mm_set_epi64x(static_cast<long long>(w0), static_cast<long long>(w2));
    const __m128i c = _mm_set_epi64x(static_cast<long long>(w2), static_cast<long long>(w1));
    for (; done + 48 <= total; done += 48) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(p + done), a);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(p + done + 16), b);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(p + done + 32), c);
    }
#endif
    for (; done + 24 <= total; done += 24) {
      std::memcpy(p + done, &w0, 8);
      std::memcpy(p + done + 8, &w1, 8);
      std::memcpy(p + done + 16, &w2, 8);
    }
  } else {
    const std::uint64_t w = v | (v << 32);
#if defined(__SSE2__)
    const __m128i a = _mm_set1_epi64x(static_cast<long long>(w));
    for (; done + 16 <= total; done += 16) _mm_storeu_si128(reinterpret_cast<__m128i*>(p + done), a);
#endif
    for (; done + 8 <= total; done += 8) std::memcpy(p + done, &w, 8);
  }
  // Whole pixels are left (done is a multiple of the pixel size).
  for (; done < total; done += static_cast<std::size_t>(bpp)) {
    if (bpp == 3)
      std::memcpy(p + done, pixel, 3);
    else
      std::memcpy(p + done, pixel, 4);
  }
}

using TBlendFn = void (*)(std::uint8_t*, const std::uint8_t*, const std::uint8_t*, std::size_t, unsigned);
using TMixFn = void (*)(std::uint8_t*, std::size_t, const TColorMix&);
using TMixRowsFn = void (*)(std::uint8_t*, std::ptrdiff_t, int, std::size_t, const TColorMix&);
using TMaskFn = void (*)(std::uint8_t*, const std::uint8_t*, const std::uint8_t*, std::size_t);
using TMaskRepFn = void (*)(std::uint8_t*, std::ptrdiff_t, int, const std::uint8_t*, const std::uint8_t*, std::ptrdiff_t,
                            std::size_t, std::size_t, std::size_t);
using TFillFn = void (*)(std::uint8_t*, std::size_t, const std::uint8_t*, int);
using TMaskRowsFn = void (*)(std::uint8_t*, std::ptrdiff_t, const std::uint8_t*, const std::uint8_t*, std::ptrdiff_t,
                             std::size_t, int, std::uint64_t*);

void MaskPortable(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m, std::size_t n) {
  MaskBlendScalar(d, s, m, n);
}
void BlendPortable(std::uint8_t* dst, const std::uint8_t* old, const std::uint8_t* src, std::size_t n, unsigned ua) {
  BlendBytesScalar(dst, old, src, n, ua);
}
void MixPortable(std::uint8_t* p, std::size_t n, const TColorMix& mix) { MixScalar(p, 0, n, mix); }
// A level without work shared between rows mixes them one by one.
template <TMixFn Mix>
void MixEachRow(std::uint8_t* first, std::ptrdiff_t step, int rows, std::size_t n, const TColorMix& mix) {
  for (int r = 0; r < rows; ++r) Mix(first + r * step, n, mix);
}
void FillPortable(std::uint8_t* p, std::size_t count, const std::uint8_t* pixel, int bpp) {
  for (std::size_t i = 0; i < count; ++i, p += bpp)
    for (int c = 0; c < bpp; ++c) p[c] = pixel[c];
}
void MaskRepPortable(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m, std::size_t period, std::size_t phase,
                     std::size_t n) {
  MaskBlendRepeatingScalar(d, s, m, period, phase, n);
}
// A level whose repeating kernel takes one row does the rows one by one.
template <void (*Row)(std::uint8_t*, const std::uint8_t*, const std::uint8_t*, std::size_t, std::size_t, std::size_t)>
void MaskRepEachRow(std::uint8_t* d, std::ptrdiff_t dStride, int rows, const std::uint8_t* s, const std::uint8_t* m,
                    std::ptrdiff_t sStride, std::size_t period, std::size_t phase, std::size_t n) {
  for (int r = 0; r < rows; ++r, d += dStride, s += sStride, m += sStride) Row(d, s, m, period, phase, n);
}

// The kernels in use: chosen on first use, and again by SetKernelLevel.
struct TKernels {
  TacKernelLevel Level = TacKernelLevel::Scalar;
  TBlendFn Blend = BlendPortable;
  TMixRowsFn Mix = MixEachRow<MixPortable>;
  TMaskFn Mask = MaskPortable;
  TMaskRepFn MaskRep = MaskRepEachRow<MaskRepPortable>;
  TFillFn Fill = FillPortable;
  TMaskRowsFn MaskRows = MaskRowsAroundKeysScalar;
};

void Select(TKernels& k, TacKernelLevel level) {
  k.Level = std::min(level, MachineKernelLevel());
  k.Blend = BlendPortable;
  k.Mix = MixEachRow<MixPortable>;
  k.Mask = MaskPortable;
  k.MaskRep = MaskRepEachRow<MaskRepPortable>;
  k.Fill = FillPortable;
  k.MaskRows = MaskRowsAroundKeysScalar;
#if AC_X86
  if (k.Level >= TacKernelLevel::Sse2) k.Fill = FillWords;
  if (k.Level >= TacKernelLevel::Avx512Vbmi) k.Fill = FillPixelsVbmi;
  if (k.Level >= TacKernelLevel::Avx2) {
    k.Blend = BlendBytesAvx2;
    k.Mix = MixEachRow<MixAvx2>;
    k.Mask = MaskBlendAvx2;
    k.MaskRep = MaskRepEachRow<MaskBlendRepeatingAvx2>;
    if (k.Level >= TacKernelLevel::Avx512) {
      k.Blend = BlendBytesAvx512;
      k.Mask = MaskBlendAvx512;
      k.MaskRep = MaskBlendRepeatingAvx512;
      k.MaskRows = MaskRowsAroundKeysAvx512;
      k.Mix = k.Level == TacKernelLevel::Avx512Vbmi ? MixRowsVbmi : MixEachRow<MixAvx512>;
    }
  } else if (k.Level == TacKernelLevel::Sse2) {
    k.Blend = BlendBytesSse2;
    k.Mix = MixEachRow<MixSse2>;
    k.Mask = MaskBlendSse2;
    k.MaskRep = MaskRepEachRow<MaskBlendRepeatingSse2>;
  }
#endif
}

TacKernelLevel LevelFromEnvironment() {
  const char* text = std::getenv("TB_PIXEL_KERNELS");
  const std::string_view v = text ? text : "";
  if (v == "scalar") return TacKernelLevel::Scalar;
  if (v == "sse2") return TacKernelLevel::Sse2;
  if (v == "avx2") return TacKernelLevel::Avx2;
  if (v == "avx512") return TacKernelLevel::Avx512;
  return TacKernelLevel::Avx512Vbmi;
}

TKernels& Kernels() {
  static TKernels k = [] {  // once per process, safe from static initialisers
    TKernels chosen;
    Select(chosen, LevelFromEnvironment());
    return chosen;
  }();
  return k;
}

}  // namespace

TacKernelLevel MachineKernelLevel() {
#if AC_X86
  static const TacKernelLevel level = HasAvx512()   ? (HasAvx512Vbmi() ? TacKernelLevel::Avx512Vbmi : TacKernelLevel::Avx512)
                                      : HasAvx2()   ? TacKernelLevel::Avx2
                                                    : TacKernelLevel::Sse2;
  return level;
#else
  return TacKernelLevel::Scalar;
#endif
}

TacKernelLevel KernelLevel() { return Kernels().Level; }

bool MaskBlendTakesAnyLength() { return Kernels().Level >= TacKernelLevel::Avx512; }

TacKernelLevel SetKernelLevel(TacKernelLevel level) {
  Select(Kernels(), level);
  return Kernels().Level;
}

void BlendBytes(std::uint8_t* dst, const std::uint8_t* src, std::size_t n, int a) {
  Kernels().Blend(dst, dst, src, n, static_cast<unsigned>(std::clamp(a, 0, 255)));
}

void BlendBytesInto(std::uint8_t* out, const std::uint8_t* old, const std::uint8_t* src, std::size_t n, int a) {
  Kernels().Blend(out, old, src, n, static_cast<unsigned>(std::clamp(a, 0, 255)));
}

void MixColorBytes(std::uint8_t* p, std::size_t n, const TColorMix& mix) { Kernels().Mix(p, 0, 1, n, mix); }

void MixColorRows(std::uint8_t* first, std::ptrdiff_t step, int rows, std::size_t n, const TColorMix& mix) {
  if (rows > 0 && n > 0) Kernels().Mix(first, step, rows, n, mix);
}

void MaskBlendBytes(std::uint8_t* dst, const std::uint8_t* src, const std::uint8_t* mask, std::size_t n) {
  Kernels().Mask(dst, src, mask, n);
}

void MaskBlendRepeating(std::uint8_t* dst, const std::uint8_t* src, const std::uint8_t* mask, std::size_t period,
                        std::size_t phase, std::size_t n) {
  if (period == 0) return;
  Kernels().MaskRep(dst, 0, 1, src, mask, 0, period, phase < period ? phase : phase % period, n);
}

void MaskBlendRepeatingRows(std::uint8_t* dst, std::ptrdiff_t dstStride, int rows, const std::uint8_t* src,
                            const std::uint8_t* mask, std::ptrdiff_t srcStride, std::size_t period, std::size_t phase,
                            std::size_t n) {
  if (period == 0 || rows <= 0 || n == 0) return;
  Kernels().MaskRep(dst, dstStride, rows, src, mask, srcStride, period, phase < period ? phase : phase % period, n);
}

std::uint64_t MaskBlendRowAroundKeys(std::uint8_t* dst, const std::uint8_t* src, const std::uint8_t* mask, std::size_t n) {
  if (n == 0 || n > kMaskRowAroundKeysMax || n % 3 != 0) return MaskRowAroundKeysScalar(dst, src, mask, std::min(n, kMaskRowAroundKeysMax) / 3 * 3);
  std::uint64_t keys = 0;
  Kernels().MaskRows(dst, 0, src, mask, 0, n, 1, &keys);
  return keys;
}

void MaskBlendRowsAroundKeys(std::uint8_t* dst, std::ptrdiff_t dstStride, const std::uint8_t* src, const std::uint8_t* mask,
                             std::ptrdiff_t srcStride, std::size_t n, int rows, std::uint64_t* keys) {
  if (rows <= 0) return;
  if (n == 0 || n > kMaskRowAroundKeysMax || n % 3 != 0)
    MaskRowsAroundKeysScalar(dst, dstStride, src, mask, srcStride, std::min(n, kMaskRowAroundKeysMax) / 3 * 3, rows, keys);
  else
    Kernels().MaskRows(dst, dstStride, src, mask, srcStride, n, rows, keys);
}

void FillPixels(std::uint8_t* p, std::size_t count, const std::uint8_t* pixel, int bpp) {
  if (count > 0 && (bpp == 3 || bpp == 4)) Kernels().Fill(p, count, pixel, bpp);
}
