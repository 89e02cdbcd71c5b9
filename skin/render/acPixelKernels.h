#pragma once
// Byte-run kernels behind the blends. Each picks its widest instruction set
// once at start-up; the scalar forms define the results. The environment variable
// TB_PIXEL_KERNELS (scalar, sse2, avx2, avx512 or avx512vbmi; anything else is the best) or
// SetKernelLevel caps the choice, so that every path can be tested on any machine.
#include <cstddef>
#include <cstdint>

// D := (D * a + S * (255 - a) + 127) >> 8 over n bytes; a is clamped to 0..255.
void BlendBytes(std::uint8_t* dst, const std::uint8_t* src, std::size_t n, int a);
// The same with the old bytes read from old: out := (old * a + src * (255 - a) + 127) >> 8.
void BlendBytesInto(std::uint8_t* out, const std::uint8_t* old, const std::uint8_t* src, std::size_t n, int a);

// A picture composited through its mask band, per byte:
// D := ((256 - M) * S + M * D) >> 8, which is S + floor(M * (D - S) / 256)
// (a black mask gives the picture, a white one nearly keeps the target).
void MaskBlendBytes(std::uint8_t* dst, const std::uint8_t* src, const std::uint8_t* mask, std::size_t n);
// The same with picture and mask repeating every period bytes: byte i takes
// S = src[(phase + i) % period] and M = mask[(phase + i) % period]. src and mask hold
// period + kMaskRunTail bytes (the period, then its first 32 bytes again; a period
// shorter than 32 bytes repeats as often as it takes). phase < period.
constexpr std::size_t kMaskRunTail = 32;
void MaskBlendRepeating(std::uint8_t* dst, const std::uint8_t* src, const std::uint8_t* mask, std::size_t period,
                        std::size_t phase, std::size_t n);
// The same over rows target rows, row r at dst + r * dstStride taking its runs from
// src + r * srcStride and mask + r * srcStride: a slice's rows one after the other, or
// with srcStride 0 one run over the rows a slice row repeats on down a rectangle.
void MaskBlendRepeatingRows(std::uint8_t* dst, std::ptrdiff_t dstStride, int rows, const std::uint8_t* src,
                            const std::uint8_t* mask, std::ptrdiff_t srcStride, std::size_t period, std::size_t phase,
                            std::size_t n);

// A short row of 24-bit pixels (n <= 63 bytes, a multiple of 3: a border corner's
// row) composited as MaskBlendBytes does, except that the picture's key pixels
// (255, 0, 255) keep the target. Returns the key pixels as bits, bit 3k for pixel k.
// Bytes past the 63rd or of a last partial pixel are left alone.
constexpr std::size_t kMaskRowAroundKeysMax = 63;
std::uint64_t MaskBlendRowAroundKeys(std::uint8_t* dst, const std::uint8_t* src, const std::uint8_t* mask, std::size_t n);
// The same over rows rows in one call (a corner, or an edge the rectangle shows at
// most once across): row r's target at dst + r * dstStride, its picture and mask
// band at src + r * srcStride and mask + r * srcStride. When keys is given, row r's
// key pixels go to keys[r].
void MaskBlendRowsAroundKeys(std::uint8_t* dst, std::ptrdiff_t dstStride, const std::uint8_t* src, const std::uint8_t* mask,
                             std::ptrdiff_t srcStride, std::size_t n, int rows, std::uint64_t* keys);

// Whether the mask kernels in use finish a run of any length in whole-vector steps
// (masked loads and stores), so that a short row costs about what one step does.
bool MaskBlendTakesAnyLength();

// count pixels of bpp (3 or 4) bytes, all equal to pixel[0..bpp).
void FillPixels(std::uint8_t* p, std::size_t count, const std::uint8_t* pixel, int bpp);

// Per-byte weights for a colour mix, repeating every 48 bytes (a multiple of 3-
// and 4-byte pixels): byte j becomes round((Mul[j % 48] * c + Add[j % 48]) / 100),
// ties to even. Mul <= 100 and Mul * 255 + Add <= 25500.
struct TColorMix {
  std::uint16_t Mul[48];
  std::uint16_t Add[48];
};

// Applies the mix to n bytes starting at a byte whose pattern index is 0.
void MixColorBytes(std::uint8_t* p, std::size_t n, const TColorMix& mix);
// The same over rows rows of n bytes each, row r starting at first + r * step
// (each at pattern index 0). Work done once per call (tables) is shared by the rows.
void MixColorRows(std::uint8_t* first, std::ptrdiff_t step, int rows, std::size_t n, const TColorMix& mix);

// Instruction sets the kernels can use, narrowest first.
// Avx512 (with its byte and word forms) widens the blend, the colour mix and the
// mask kernels (whose ragged ends go through masked loads and stores). Avx512Vbmi adds the byte permutes, with
// which the colour mix of a whole rectangle looks every byte up in tables made once.
enum class TacKernelLevel { Scalar, Sse2, Avx2, Avx512, Avx512Vbmi };
// The widest level this machine runs (Scalar off x86).
TacKernelLevel MachineKernelLevel();
// The level in use: the machine's, capped by TB_PIXEL_KERNELS when set.
TacKernelLevel KernelLevel();
// Caps the kernels at level (never above the machine's); returns the level now in use.
TacKernelLevel SetKernelLevel(TacKernelLevel level);
