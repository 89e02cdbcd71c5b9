#include "skin/paint/acMaskPaint.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>
#include <vector>

#include "skin/core/acSkinModel.h"
#include "skin/paint/acPaintBlocks.h"
#include "skin/render/acPixelKernels.h"
#include "skin/render/sBlend.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

const TBitmap* MaskPicture(const TsMaskData& mask) {
  const TBitmap* pic = mask.Image ? mask.Image.get() : (mask.Manager ? mask.Manager->MasterBitmap.get() : nullptr);
  return IsPaintable(pic) ? pic : nullptr;
}

TSize StateImageSize(const TsMaskData& mask) {
  const std::int64_t w = mask.ImageCount > 0 ? (static_cast<std::int64_t>(mask.Right) - mask.Left) / mask.ImageCount : 0;
  const std::int64_t rows = static_cast<std::int64_t>(mask.MaskType) + 1;
  const std::int64_t h = rows > 0 ? (static_cast<std::int64_t>(mask.Bottom) - mask.Top) / rows : 0;
  return {static_cast<int>(std::clamp<std::int64_t>(w, 0, INT_MAX)), static_cast<int>(std::clamp<std::int64_t>(h, 0, INT_MAX))};
}

int StateImageIndex(const TsMaskData& mask, TacPaintState state) { return std::max(0, std::min(StateNumber(state), mask.ImageCount - 1)); }

namespace {

inline bool IsKey(const std::uint8_t* p) { return p[0] == 255 && p[1] == 0 && p[2] == 255; }

// What lies behind target pixel (x, y): a pointer into the parent bitmap, or to
// the fill colour's bytes; null when the parent has no pixel there.
struct TBehind {
  const TBitmap* Parent = nullptr;
  int PB = 3;
  int Ox = 0, Oy = 0;
  std::uint8_t Fill[4] = {0, 0, 0, 255};

  explicit TBehind(const BackgroundInfo& bg) {
    if (bg.Ready && IsPaintable(bg.Bitmap)) {
      Parent = bg.Bitmap;
      PB = BytesOf(*Parent);
      Ox = bg.OffsetX;
      Oy = bg.OffsetY;
    }
    Fill[0] = static_cast<std::uint8_t>(bg.FillColor >> 16);
    Fill[1] = static_cast<std::uint8_t>(bg.FillColor >> 8);
    Fill[2] = static_cast<std::uint8_t>(bg.FillColor);
  }
  // Row of the parent for target row y, or null outside.
  const std::uint8_t* Row(int y) const {
    if (!Parent) return Fill;
    const long long py = static_cast<long long>(Oy) + y;
    return py >= 0 && py < Parent->Height() ? Parent->ScanLine(static_cast<int>(py)) : nullptr;
  }
  const std::uint8_t* At(const std::uint8_t* row, int x) const {
    if (!Parent) return Fill;
    if (!row) return nullptr;
    const long long px = static_cast<long long>(Ox) + x;
    return px >= 0 && px < Parent->Width() ? row + px * PB : nullptr;
  }
};

// Clips a draw of srcRect at (x, y) to the picture and the target.
bool ClipDraw(const TBitmap& dst, int& x, int& y, const TBitmap& pic, TRect& src, int maskOffset) {
  TRect bounds{0, 0, pic.Width(), pic.Height() - std::max(0, maskOffset)};
  if (src.Left < bounds.Left) x += bounds.Left - src.Left, src.Left = bounds.Left;
  if (src.Top < bounds.Top) y += bounds.Top - src.Top, src.Top = bounds.Top;
  src.Right = std::min(src.Right, bounds.Right);
  src.Bottom = std::min(src.Bottom, bounds.Bottom);
  if (x < 0) src.Left -= x, x = 0;
  if (y < 0) src.Top -= y, y = 0;
  src.Right = std::min(src.Right, src.Left + dst.Width() - x);
  src.Bottom = std::min(src.Bottom, src.Top + dst.Height() - y);
  return !src.IsEmpty();
}

// Key pixels among the first pixels of a row of n <= 63 bytes of 24-bit pixels (n a
// multiple of 3): bit 3k is set when pixel k is the key (a byte 255 starting a pixel,
// 0 after it and 255 after that). Slice rows are short, so they are looked at sixteen
// bytes a step.
std::uint64_t KeyPixelBits(const std::uint8_t* row, std::size_t n) {
#if defined(__SSE2__)
  if (n < 16) {
    std::uint8_t padded[16] = {};  // zeros start no key
    std::memcpy(padded, row, n);
    return KeyPixelBits(padded, 16) & ((std::uint64_t{1} << n) - 1);
  }
  const __m128i ff = _mm_set1_epi8(static_cast<char>(0xFF)), zero = _mm_setzero_si128();
  // Bytes 255 and 0 as bits; the last window ends at the row's end and overlaps bytes
  // already seen, which sets the same bits again.
  std::uint64_t high = 0, low = 0;
  const auto window = [&](std::size_t at) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + at));
    high |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, ff)))) << at;
    low |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, zero)))) << at;
  };
  std::size_t at = 0;
  for (; at + 16 <= n; at += 16) window(at);
  if (at < n) window(n - 16);
  return high & (low >> 1) & (high >> 2) & 0x1249249249249249ull;  // pixel starts 0, 3, ..., 60
#else
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i + 3 <= n; i += 3)
    if (IsKey(row + i)) bits |= std::uint64_t{1} << i;
  return bits;
#endif
}

// Whether a row of n bytes of 24-bit pixels holds a key pixel.
bool HasKeyPixel(const std::uint8_t* row, std::size_t n) {
  // Steps of 63 bytes (21 pixels); the rest starts on a pixel at least 16 bytes
  // before the end, or at the row's start.
  std::size_t i = 0;
  for (; i + 63 <= n; i += 63)
    if (KeyPixelBits(row + i, 63)) return true;
  if (i == n) return false;
  const std::size_t from = n >= 18 ? std::min(i, n - 18) : 0;
  return KeyPixelBits(row + from, n - from) != 0;
}

}  // namespace

void CompositeMasked(TBitmap& dst, int x, int y, const TBitmap& pic, TRect src, int maskOffset,
                     const BackgroundInfo& bg, bool update) {
  if (!IsPaintable(&dst) || !IsPaintable(&pic) || maskOffset <= 0 || !ClipDraw(dst, x, y, pic, src, maskOffset)) return;
  const int sb = BytesOf(pic), db = BytesOf(dst);
  const TBehind behind(bg);
  const bool blendKeys = !update && bg.Ready;
  static_assert(kMaskRowAroundKeysMax >= 21 * 3, "a corner row of 21 pixels is one kernel step");
  if (sb == 3 && db == 3 && src.Width() <= 21 && !blendKeys && MaskBlendTakesAnyLength()) {
    // A corner in kernel calls of up to 64 rows, each row one step that leaves the
    // holes and names them.
    const std::size_t n = static_cast<std::size_t>(src.Width()) * 3;
    std::uint64_t keys[64];
    for (int r0 = 0; r0 < src.Height(); r0 += 64) {
      const int rows = std::min(64, src.Height() - r0);
      const int top = src.Top + r0;
      MaskBlendRowsAroundKeys(dst.ScanLine(y + r0) + x * 3, dst.Stride(), pic.ScanLine(top) + src.Left * 3,
                              pic.ScanLine(top + maskOffset) + src.Left * 3, pic.Stride(), n, rows,
                              update ? keys : nullptr);
      if (!update) continue;
      for (int r = 0; r < rows; ++r) {
        if (!keys[r]) continue;
        const std::uint8_t* prow = behind.Row(y + r0 + r);
        std::uint8_t* d = dst.ScanLine(y + r0 + r) + x * 3;
        for (std::uint64_t k = keys[r]; k; k &= k - 1) {
          const int j = __builtin_ctzll(k) / 3;
          if (const std::uint8_t* bp = behind.At(prow, x + j)) d[j * 3] = bp[0], d[j * 3 + 1] = bp[1], d[j * 3 + 2] = bp[2];
        }
      }
    }
    return;
  }
  for (int r = 0; r < src.Height(); ++r) {
    const std::uint8_t* s = pic.ScanLine(src.Top + r) + src.Left * sb;
    const std::uint8_t* m = pic.ScanLine(src.Top + r + maskOffset) + src.Left * sb;
    std::uint8_t* d = dst.ScanLine(y + r) + x * db;
    const std::uint8_t* prow = update ? behind.Row(y + r) : nullptr;
    const int w = src.Width();
    if (sb == 3 && db == 3) {
      // Runs of picture pixels go through the byte kernel; holes are handled one by one.
      if (w <= 21) {
        // A corner's row: its holes found at once, then visited by their bits.
        std::uint64_t keys = blendKeys ? 0 : KeyPixelBits(s, static_cast<std::size_t>(w) * 3);
        int i = 0;
        while (keys) {
          const int j = __builtin_ctzll(keys) / 3;
          keys &= keys - 1;
          if (j > i) MaskBlendBytes(d + i * 3, s + i * 3, m + i * 3, static_cast<std::size_t>(j - i) * 3);
          if (update)
            if (const std::uint8_t* bp = behind.At(prow, x + j)) d[j * 3] = bp[0], d[j * 3 + 1] = bp[1], d[j * 3 + 2] = bp[2];
          i = j + 1;
        }
        if (w > i) MaskBlendBytes(d + i * 3, s + i * 3, m + i * 3, static_cast<std::size_t>(w - i) * 3);
        continue;
      }
      for (int i = 0; i < w;) {
        int j = i;
        if (!blendKeys)
          while (j < w && !IsKey(s + j * 3)) ++j;
        else
          j = w;
        if (j > i) MaskBlendBytes(d + i * 3, s + i * 3, m + i * 3, static_cast<std::size_t>(j - i) * 3);
        if (j < w && update) {
          if (const std::uint8_t* bp = behind.At(prow, x + j)) d[j * 3] = bp[0], d[j * 3 + 1] = bp[1], d[j * 3 + 2] = bp[2];
        }
        i = j + 1;
      }
      continue;
    }
    for (int i = 0; i < w; ++i, s += sb, m += sb, d += db) {
      if (IsKey(s) && !blendKeys) {
        if (!update) continue;
        const std::uint8_t* bp = behind.At(prow, x + i);
        if (!bp) continue;
        d[0] = bp[0], d[1] = bp[1], d[2] = bp[2];
        if (db == 4) d[3] = 255;
        continue;
      }
      for (int c = 0; c < 3; ++c) d[c] = static_cast<std::uint8_t>(((256 - m[c]) * s[c] + m[c] * d[c]) >> 8);
    }
  }
}

void CopyWithKey(TBitmap& dst, int x, int y, const TBitmap& pic, TRect src, const BackgroundInfo& bg, bool update) {
  if (!IsPaintable(&dst) || !IsPaintable(&pic) || !ClipDraw(dst, x, y, pic, src, 0)) return;
  const int sb = BytesOf(pic), db = BytesOf(dst);
  const TBehind behind(bg);
  for (int r = 0; r < src.Height(); ++r) {
    const std::uint8_t* s = pic.ScanLine(src.Top + r) + src.Left * sb;
    std::uint8_t* d = dst.ScanLine(y + r) + x * db;
    const std::uint8_t* prow = update ? behind.Row(y + r) : nullptr;
    for (int i = 0; i < src.Width(); ++i, s += sb, d += db) {
      const std::uint8_t* from = s;
      if (IsKey(s)) {
        if (!update) continue;
        from = behind.At(prow, x + i);
        if (!from) continue;
      }
      d[0] = from[0], d[1] = from[1], d[2] = from[2];
      if (db == 4) d[3] = 255;
    }
  }
}

bool ComputeBorderSlices(const TsMaskData& mask, TRect rect, TacPaintState state, TacBorderSlices& s) {
  if (state == TacPaintState::Normal && (mask.StretchMode & 2)) return false;
  if (rect.Width() < 2 || rect.Height() < 2 || !mask.Manager || mask.ImageCount <= 0) return false;
  s.L = mask.WL, s.T = mask.WT, s.R = mask.WR, s.B = mask.WB;
  auto shrink = [](int& lo, int& hi, int size) {
    if (size < lo + hi) {
      const int e = (lo + hi - size) / 2;
      lo -= e;
      hi -= e;
      if (size % 2 != 0) hi -= 1;
      lo = std::max(lo, 0);
      hi = std::max(hi, 0);
    }
  };
  shrink(s.L, s.R, rect.Width());
  shrink(s.T, s.B, rect.Height());
  const TSize size = StateImageSize(mask);
  s.W = size.cx, s.H = size.cy;
  s.X0 = mask.Left + StateImageIndex(mask, state) * s.W;
  s.Y0 = mask.Top;
  s.CW = std::max(s.W - s.L - s.R, 0);
  s.CH = std::max(s.H - s.T - s.B, 0);
  return true;
}

namespace {

static_assert(kRepeatChunk >= kMaskRunTail, "the runs serve the repeating mask blend");

bool AllZero(const std::uint8_t* p, std::size_t n) {
#if defined(__SSE2__)
  if (n >= 16) {
    // The last window ends at n and may overlap bytes already seen.
    __m128i any = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n - 16));
    for (std::size_t i = 0; i + 16 <= n; i += 16) any = _mm_or_si128(any, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)));
    return _mm_movemask_epi8(_mm_cmpeq_epi8(any, _mm_setzero_si128())) == 0xFFFF;
  }
#endif
  if (n >= 8) {
    // Two words, the second ending at n (they may overlap).
    std::uint64_t a, b;
    std::memcpy(&a, p, 8);
    std::memcpy(&b, p + n - 8, 8);
    return (a | b) == 0;
  }
  std::uint8_t any = 0;
  for (std::size_t i = 0; i < n; ++i) any |= p[i];
  return any == 0;
}

// Whether n bytes at a and b are equal; slice rows are short, so no library call.
bool SameBytes(const std::uint8_t* a, const std::uint8_t* b, std::size_t n) {
#if defined(__SSE2__)
  if (n >= 16) {
    // The last window ends at n and may overlap bytes already compared.
    const auto differ = [&](std::size_t at) {
      const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + at));
      const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + at));
      return _mm_movemask_epi8(_mm_cmpeq_epi8(x, y)) != 0xFFFF;
    };
    for (std::size_t i = 0; i + 16 <= n; i += 16)
      if (differ(i)) return false;
    return !differ(n - 16);
  }
#endif
  if (n >= 8) {
    std::uint64_t a0, a1, b0, b1;
    std::memcpy(&a0, a, 8), std::memcpy(&a1, a + n - 8, 8);
    std::memcpy(&b0, b, 8), std::memcpy(&b1, b + n - 8, 8);
    return ((a0 ^ b0) | (a1 ^ b1)) == 0;
  }
  std::uint8_t diff = 0;
  for (std::size_t i = 0; i < n; ++i) diff |= a[i] ^ b[i];
  return diff == 0;
}

// Whether rows rows of n bytes are equal between a (aStride apart) and b (bStride
// apart): every row's differences gathered and looked at once, as a kept slice's rows
// nearly always are what the picture holds.
bool SameRows(const std::uint8_t* a, std::ptrdiff_t aStride, const std::uint8_t* b, std::ptrdiff_t bStride, std::size_t n,
              int rows) {
#if defined(__SSE2__)
  if (n >= 16) {
    __m128i diff = _mm_setzero_si128();
    const auto window = [&](std::size_t at) {
      diff = _mm_or_si128(diff, _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + at)),
                                              _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + at))));
    };
    for (int r = 0; r < rows; ++r, a += aStride, b += bStride) {
      for (std::size_t i = 0; i + 16 <= n; i += 16) window(i);
      window(n - 16);  // the last window ends at n and may overlap bytes already compared
    }
    return _mm_movemask_epi8(_mm_cmpeq_epi8(diff, _mm_setzero_si128())) == 0xFFFF;
  }
#endif
  for (int r = 0; r < rows; ++r, a += aStride, b += bStride)
    if (!SameBytes(a, b, n)) return false;
  return true;
}

// What the rows of a short slice give, worked out once per picture rather than per
// face: each source row's run (and its mask band's) and whether the row holds holes
// or a clear mask. A slice is found again by where its rows lie; every use compares
// the kept periods with the picture's bytes and works a row out again when they
// differ, so a picture changed in place, or another one at the same address, is
// never drawn from stale runs.
struct TSliceRows {
  const std::uint8_t* PicAt = nullptr;  // source row 0 at the slice's left
  std::ptrdiff_t Stride = 0;
  std::size_t Period = 0;
  int Rows = 0, MaskOffset = 0;
  bool Masked = false;
  std::vector<std::uint8_t> PicRuns, BandRuns;
  std::vector<std::uint8_t> Holes, Clear;  // a flag a row

  bool Is(const std::uint8_t* at, std::ptrdiff_t stride, std::size_t period, int rows, bool masked, int maskOffset) const {
    return PicAt == at && Stride == stride && Period == period && Rows == rows && Masked == masked &&
           (!masked || MaskOffset == maskOffset);
  }
};

// Kept slices: a few dozen cover every border a window shows; the least recently
// made is replaced. Slices taller than kKeptRunBytes of runs are laid out every time.
constexpr std::size_t kKeptSlices = 48, kKeptRunBytes = 16384;

// Buffers of the row-by-row repetition, kept from one slice to the next so that a
// face's slices allocate nothing once the first face is drawn. Slices are drawn one
// after the other, never nested.
struct TRowScratch {
  TSliceRows Uncached;
  TSliceRows Kept[kKeptSlices];
  std::size_t NextKept = 0;
  std::vector<std::uint8_t> PicLine, BandLine;
  std::vector<std::pair<int, int>> Runs;
  std::vector<int> KeysAt;
};

TRowScratch& RowScratch() {
  thread_local TRowScratch scratch;
  return scratch;
}

// The repetition of a slice row by row: each source row is laid out once across the
// visible width (picture and mask band), then every target row it repeats on is done
// in one pass, so a slice of one pixel costs no more per pixel than a wide one. A row
// is drawn in one of four ways: copied, blended through its mask band, or either of
// those between the picture's holes (which keep the target).
class TRowRepeat {
public:
  TRowRepeat(TBitmap& target, const TBitmap& pic, bool masked, int maskOffset, TRect area, TRect visible, TRect src)
      : Target_(target), Pic_(pic), Masked_(masked), MaskOffset_(maskOffset), Visible_(visible), Src_(src),
        Sw_(src.Width()), Sh_(src.Height()), W_(visible.Width()), Phase_((visible.Left - area.Left) % Sw_),
        Period_(static_cast<std::size_t>(Sw_) * 3), RunBytes_(Period_ + kRepeatChunk),
        // A width that shows the slice at most once needs no repetition: its rows come
        // straight from the picture (narrow rows still go through runs, whose kernel
        // reads whole vectors there, unless the kernels take any length).
        Direct_(Phase_ + W_ <= Sw_ && (RowBytes() >= 16 || MaskBlendTakesAnyLength())),
        Short_(!Direct_ && Period_ <= kRepeatRunMax),
        PicAt_(pic.ScanLine(src.Top) + src.Left * 3), PicStride_(pic.Stride()),
        TargetAt_(target.ScanLine(0) + visible.Left * 3), TargetStride_(target.Stride()), Area_(area),
        PicLine_(RowScratch().PicLine), BandLine_(RowScratch().BandLine), Runs_(RowScratch().Runs),
        KeysAt_(RowScratch().KeysAt) {}

  void Draw() {
    if (Masked_ && Direct_ && RowBytes() <= kMaskRowAroundKeysMax && MaskBlendTakesAnyLength()) {
      DrawAroundKeys();
      return;
    }
    if (Short_) Rows_ = &ShortRows();
    if (Short_ && Masked_ && Visible_.Height() < 2 * Sh_ && !std::memchr(Rows_->Holes.data(), 1, Rows_->Holes.size())) {
      // Most source rows show once: runs of consecutive target rows from consecutive
      // runs, a call each (a clear mask row blends to the picture, as a copy would give).
      ForRowBlocks([&](int y, int k, int rows) {
        MaskBlendRepeatingRows(TargetRow(y), TargetStride_, rows, PicRun(k), BandRun(k),
                               static_cast<std::ptrdiff_t>(RunBytes_), Period_, PhaseBytes(), RowBytes());
      });
      return;
    }
    for (int k = 0; k < Sh_; ++k) {
      // Target rows using source row k, from the first visible one.
      int y = Area_.Top + k;
      if (y < Visible_.Top) y += (Visible_.Top - y + Sh_ - 1) / Sh_ * Sh_;
      if (y >= Visible_.Bottom) continue;
      const bool holes = Rows_ ? Rows_->Holes[k] : HasKeys(k);
      // A black mask row composites to the picture itself: a copy gives the same bytes.
      const bool opaque = !Masked_ || (Rows_ ? Rows_->Clear[k] : MaskRowIsClear(k));
      if (!Masked_ || (opaque && !holes))
        CopyRows(k, y);
      else if (!holes)
        BlendRows(k, y);
      else if (opaque)
        CopyRowsBetweenHoles(k, y);
      else
        BlendRowsBetweenHoles(k, y);
    }
  }

private:
  // A narrow slice shown at most once across (a side edge): runs of consecutive
  // target rows from consecutive source rows, each row in one kernel step that
  // leaves the holes, so no row is searched for holes or a clear mask first.
  void DrawAroundKeys() {
    ForRowBlocks([&](int y, int k, int rows) {
      MaskBlendRowsAroundKeys(TargetRow(y), TargetStride_, PicRow(k) + PhaseBytes(), BandRow(k) + PhaseBytes(), PicStride_,
                              RowBytes(), rows, nullptr);
    });
  }

  // The visible target rows as runs that take consecutive source rows: draw(y, k, rows)
  // for target rows y.. from source rows k...
  template <class F>
  void ForRowBlocks(F&& draw) const {
    for (int y = Visible_.Top; y < Visible_.Bottom;) {
      const int k = (y - Area_.Top) % Sh_;
      const int rows = std::min(Sh_ - k, Visible_.Bottom - y);
      draw(y, k, rows);
      y += rows;
    }
  }

  // Rows through addresses taken once (row 0 and the stride), as the pixel loops do.
  const std::uint8_t* PicRow(int k) const { return PicAt_ + static_cast<std::ptrdiff_t>(k) * PicStride_; }
  const std::uint8_t* BandRow(int k) const { return PicRow(k + MaskOffset_); }
  std::uint8_t* TargetRow(int y) const { return TargetAt_ + static_cast<std::ptrdiff_t>(y) * TargetStride_; }
  std::size_t PhaseBytes() const { return static_cast<std::size_t>(Phase_) * 3; }
  std::size_t RowBytes() const { return static_cast<std::size_t>(W_) * 3; }
  const std::uint8_t* PicRun(int k) const { return Rows_->PicRuns.data() + RunBytes_ * static_cast<std::size_t>(k); }
  const std::uint8_t* BandRun(int k) const { return Rows_->BandRuns.data() + RunBytes_ * static_cast<std::size_t>(k); }

  // Short slices: the runs the rows are laid out from, made for every source row
  // first (so the copies never wait for bytes just stored) or kept from a face before.
  TSliceRows& ShortRows() const {
    TRowScratch& scratch = RowScratch();
    const std::size_t bytes = RunBytes_ * static_cast<std::size_t>(Sh_);
    if (bytes > kKeptRunBytes) {
      TSliceRows& rows = scratch.Uncached;
      Prepare(rows);
      for (int k = 0; k < Sh_; ++k) MakeRow(rows, k);
      return rows;
    }
    for (TSliceRows& rows : scratch.Kept)
      if (rows.Is(PicAt_, PicStride_, Period_, Sh_, Masked_, MaskOffset_)) {
        const auto runStride = static_cast<std::ptrdiff_t>(RunBytes_);
        if (SameRows(PicRun(rows, 0), runStride, PicRow(0), PicStride_, Period_, Sh_) &&
            (!Masked_ || SameRows(BandRun(rows, 0), runStride, BandRow(0), PicStride_, Period_, Sh_)))
          return rows;
        for (int k = 0; k < Sh_; ++k)
          if (!SameBytes(PicRun(rows, k), PicRow(k), Period_) ||
              (Masked_ && !SameBytes(BandRun(rows, k), BandRow(k), Period_)))
            MakeRow(rows, k);
        return rows;
      }
    TSliceRows& rows = scratch.Kept[scratch.NextKept];
    scratch.NextKept = (scratch.NextKept + 1) % kKeptSlices;
    Prepare(rows);
    for (int k = 0; k < Sh_; ++k) MakeRow(rows, k);
    return rows;
  }

  void Prepare(TSliceRows& rows) const {
    const std::size_t bytes = RunBytes_ * static_cast<std::size_t>(Sh_);
    rows.PicAt = PicAt_, rows.Stride = PicStride_, rows.Period = Period_, rows.Rows = Sh_;
    rows.Masked = Masked_, rows.MaskOffset = MaskOffset_;
    if (rows.PicRuns.size() < bytes) rows.PicRuns.resize(bytes);
    if (Masked_ && rows.BandRuns.size() < bytes) rows.BandRuns.resize(bytes);
    rows.Holes.assign(static_cast<std::size_t>(Sh_), 0);
    rows.Clear.assign(static_cast<std::size_t>(Sh_), 0);
  }

  void MakeRow(TSliceRows& rows, int k) const {
    MakeRepeatRun(rows.PicRuns.data() + RunBytes_ * static_cast<std::size_t>(k), PicRow(k), Period_);
    if (Masked_) MakeRepeatRun(rows.BandRuns.data() + RunBytes_ * static_cast<std::size_t>(k), BandRow(k), Period_);
    rows.Holes[static_cast<std::size_t>(k)] = HasKeys(k);
    rows.Clear[static_cast<std::size_t>(k)] = Masked_ && MaskRowIsClear(k);
  }

  std::uint8_t* PicRun(TSliceRows& rows, int k) const { return rows.PicRuns.data() + RunBytes_ * static_cast<std::size_t>(k); }
  std::uint8_t* BandRun(TSliceRows& rows, int k) const { return rows.BandRuns.data() + RunBytes_ * static_cast<std::size_t>(k); }

  bool HasKeys(int k) const { return HasKeyPixel(PicRow(k), Period_); }
  bool MaskRowIsClear(int k) const { return AllZero(BandRow(k), Period_); }

  // A source row laid out across the visible width (target pixel x shows source pixel
  // (phase + x) mod sw).
  void Spread(const std::uint8_t* from, std::uint8_t* to) const { RepeatBytes(to, from, Period_, PhaseBytes(), RowBytes()); }

  void CopyRows(int k, int y) {
    if (Short_) {
      for (; y < Visible_.Bottom; y += Sh_) RepeatFromRun(TargetRow(y), PicRun(k), Period_, PhaseBytes(), RowBytes());
      return;
    }
    // A row copied to one target row only is laid out there directly.
    if (y + Sh_ >= Visible_.Bottom) {
      Spread(PicRow(k), TargetRow(y));
      return;
    }
    LayOutLines(k, false);
    for (; y < Visible_.Bottom; y += Sh_) std::memcpy(TargetRow(y), PicLineAt_, RowBytes());
  }

  void BlendRows(int k, int y) {
    if (Short_) {
      int rows = 1;  // a slice row shows once or twice on most faces: counted, not divided
      for (int next = y + Sh_; next < Visible_.Bottom; next += Sh_) ++rows;
      MaskBlendRepeatingRows(TargetRow(y), TargetStride_ * Sh_, rows, PicRun(k), BandRun(k), 0, Period_, PhaseBytes(),
                             RowBytes());
      return;
    }
    LayOutLines(k, true);
    for (; y < Visible_.Bottom; y += Sh_) MaskBlendBytes(TargetRow(y), PicLineAt_, BandLineAt_, RowBytes());
  }

  void CopyRowsBetweenHoles(int k, int y) {
    FindRuns(k);
    if (Short_) {
      for (; y < Visible_.Bottom; y += Sh_)
        for (const auto& [i, j] : Runs_)
          RepeatFromRun(TargetRow(y) + i * 3, PicRun(k), Period_, static_cast<std::size_t>(Phase_ + i) * 3,
                        static_cast<std::size_t>(j - i) * 3);
      return;
    }
    LayOutLines(k, false);
    for (; y < Visible_.Bottom; y += Sh_)
      for (const auto& [i, j] : Runs_)
        std::memcpy(TargetRow(y) + i * 3, PicLineAt_ + i * 3, static_cast<std::size_t>(j - i) * 3);
  }

  void BlendRowsBetweenHoles(int k, int y) {
    FindRuns(k);
    if (Short_) {
      for (; y < Visible_.Bottom; y += Sh_)
        for (const auto& [i, j] : Runs_)
          MaskBlendRepeating(TargetRow(y) + i * 3, PicRun(k), BandRun(k), Period_,
                             static_cast<std::size_t>(Phase_ + i) * 3, static_cast<std::size_t>(j - i) * 3);
      return;
    }
    LayOutLines(k, true);
    for (; y < Visible_.Bottom; y += Sh_)
      for (const auto& [i, j] : Runs_)
        MaskBlendBytes(TargetRow(y) + i * 3, PicLineAt_ + i * 3, BandLineAt_ + i * 3,
                       static_cast<std::size_t>(j - i) * 3);
  }

  // Long slices: the picture row (and its mask band) laid out once for every target row;
  // a slice shown once is read where it is.
  void LayOutLines(int k, bool band) {
    if (Direct_) {
      PicLineAt_ = PicRow(k) + PhaseBytes();
      BandLineAt_ = band ? BandRow(k) + PhaseBytes() : nullptr;
      return;
    }
    PicLine_.resize(RowBytes());
    Spread(PicRow(k), PicLine_.data());
    PicLineAt_ = PicLine_.data();
    if (!band) return;
    BandLine_.resize(RowBytes());
    Spread(BandRow(k), BandLine_.data());
    BandLineAt_ = BandLine_.data();
  }

  // The picture's pixels between holes, found once for every row that repeats it. The
  // holes repeat with the slice: their places in the first repetition are found in the
  // source row, then stepped across the row.
  void FindRuns(int k) {
    Runs_.clear();
    KeysAt_.clear();
    const std::uint8_t* row = PicRow(k);
    for (int i = 0; i < Sw_; ++i)
      if (IsKey(row + i * 3)) KeysAt_.push_back((i - Phase_ + Sw_) % Sw_);
    std::sort(KeysAt_.begin(), KeysAt_.end());
    int start = 0;
    for (int base = 0; base < W_; base += Sw_)
      for (const int kx : KeysAt_) {
        const int x = base + kx;
        if (x >= W_) break;
        if (x > start) Runs_.emplace_back(start, x);
        start = x + 1;
      }
    if (start < W_) Runs_.emplace_back(start, W_);
  }

  TBitmap& Target_;
  const TBitmap& Pic_;
  const bool Masked_;
  const int MaskOffset_;
  const TRect Visible_, Src_;
  const int Sw_, Sh_, W_, Phase_;
  const std::size_t Period_, RunBytes_;
  const bool Direct_, Short_;
  const std::uint8_t* const PicAt_;  // source row 0 at the slice's left
  const std::ptrdiff_t PicStride_;
  std::uint8_t* const TargetAt_;  // target row 0 at the visible left
  const std::ptrdiff_t TargetStride_;
  const std::uint8_t *PicLineAt_ = nullptr, *BandLineAt_ = nullptr;  // see LayOutLines
  const TRect Area_;
  const TSliceRows* Rows_ = nullptr;  // short slices only
  std::vector<std::uint8_t>&PicLine_, &BandLine_;
  std::vector<std::pair<int, int>>& Runs_;
  std::vector<int>& KeysAt_;
};

// One border slice drawn by the mask's kind: composited through the mask band,
// copied with the key, or copied plainly.
struct TSliceDrawer {
  TBitmap& Target;
  const TBitmap& Pic;
  const TsMaskData& Mask;
  int MaskOffset;

  void Corner(int x, int y, TRect src, const BackgroundInfo& bg, bool update) const {
    if (Mask.MaskType == 1)
      CompositeMasked(Target, x, y, Pic, src, MaskOffset, bg, update);
    else
      CopyWithKey(Target, x, y, Pic, src, bg, update);
  }
  void Piece(int x, int y, TRect src) const {
    if (Mask.MaskType == 1)
      CompositeMasked(Target, x, y, Pic, src, MaskOffset, BackgroundInfo{}, false);
    else
      CopyBlock(Target, x, y, Pic, src);
  }
  // Repeats the slice src over area (clipped at its ends), or stretches it when asked.
  void Fill(TRect area, TRect src, bool stretch) const {
    if (area.IsEmpty()) return;
    if (stretch && Mask.MaskType != 1) {
      if (!src.IsEmpty()) StretchBlock(Target, area, Pic, src);
      return;
    }
    const int sw = src.Width(), sh = src.Height();
    if (sw <= 0 || sh <= 0) return;  // a slice without length draws nothing
    const TRect visible = area.Intersect({0, 0, Target.Width(), Target.Height()});
    if (visible.IsEmpty()) return;
    if (BytesOf(Pic) == 3 && BytesOf(Target) == 3 && src == ClipToBitmap(src, Pic) &&
        (Mask.MaskType != 1 || src.Bottom + MaskOffset <= Pic.Height())) {
      TRowRepeat(Target, Pic, Mask.MaskType == 1, MaskOffset, area, visible, src).Draw();
      return;
    }
    for (int y = area.Top + (visible.Top - area.Top) / sh * sh; y < visible.Bottom; y += sh)
      for (int x = area.Left + (visible.Left - area.Left) / sw * sw; x < visible.Right; x += sw)
        Piece(x, y, {src.Left, src.Top, src.Left + std::min(sw, area.Right - x), src.Top + std::min(sh, area.Bottom - y)});
  }

};

}  // namespace

void DrawBorderMask(TBitmap& target, TRect rect, bool fillCentre, const BackgroundInfo& bg, const TsMaskData& mask,
                    TacPaintState state, bool updateCorners) {
  TacBorderSlices s;
  if (!IsPaintable(&target) || !ComputeBorderSlices(mask, rect, state, s)) return;
  const TBitmap* pic = MaskPicture(mask);
  if (!pic) return;
  const TSliceDrawer draw{target, *pic, mask, (mask.Bottom - mask.Top) / 2};
  const bool stretch = (mask.StretchMode & 1) != 0;
  const int xr = s.X0 + s.L + s.CW, yb = s.Y0 + s.H - s.B;
  const TRect r = rect;
  draw.Corner(r.Left, r.Top, {s.X0, s.Y0, s.X0 + s.L, s.Y0 + s.T}, bg, updateCorners);
  draw.Fill({r.Left, r.Top + s.T, r.Left + s.L, r.Bottom - s.B}, {s.X0, s.Y0 + s.T, s.X0 + s.L, s.Y0 + s.T + s.CH},
            stretch);
  draw.Fill({r.Left + s.L, r.Top, r.Right - s.R, r.Top + s.T}, {s.X0 + s.L, s.Y0, s.X0 + s.L + s.CW, s.Y0 + s.T},
            stretch);
  draw.Corner(r.Left, r.Bottom - s.B, {s.X0, yb, s.X0 + s.L, yb + s.B}, bg, updateCorners);
  draw.Fill({r.Left + s.L, r.Bottom - s.B, r.Right - s.R, r.Bottom}, {s.X0 + s.L, yb, s.X0 + s.L + s.CW, yb + s.B},
            stretch);
  draw.Corner(r.Right - s.R, r.Bottom - s.B, {xr, yb, xr + s.R, yb + s.B}, bg, updateCorners);
  draw.Corner(r.Right - s.R, r.Top, {xr, s.Y0, xr + s.R, s.Y0 + s.T}, bg, updateCorners);
  draw.Fill({r.Right - s.R, r.Top + s.T, r.Right, r.Bottom - s.B}, {xr, s.Y0 + s.T, xr + s.R, s.Y0 + s.T + s.CH},
            stretch);
  if (fillCentre && (mask.StretchMode & 4))
    draw.Fill({r.Left + s.L, r.Top + s.T, r.Right - s.R, r.Bottom - s.B},
              {s.X0 + s.L, s.Y0 + s.T, s.X0 + s.L + s.CW, s.Y0 + s.T + s.CH}, stretch);
}

namespace {

// Key pixels of srcRect take what lies behind; every other target pixel stays.
void PutBehindKeys(TBitmap& dst, int x, int y, const TBitmap& pic, TRect src, const BackgroundInfo& bg) {
  if (!ClipDraw(dst, x, y, pic, src, 0)) return;
  const int sb = BytesOf(pic), db = BytesOf(dst);
  const TBehind behind(bg);
  for (int r = 0; r < src.Height(); ++r) {
    const std::uint8_t* s = pic.ScanLine(src.Top + r) + src.Left * sb;
    std::uint8_t* d = dst.ScanLine(y + r) + x * db;
    const std::uint8_t* prow = behind.Row(y + r);
    for (int i = 0; i < src.Width(); ++i, s += sb, d += db) {
      if (!IsKey(s)) continue;
      const std::uint8_t* from = behind.At(prow, x + i);
      if (!from) continue;
      d[0] = from[0], d[1] = from[1], d[2] = from[2];
      if (db == 4) d[3] = 255;
    }
  }
}

}  // namespace

void RecompositeCorners(TBitmap& target, TRect rect, const TsMaskData& mask, TacPaintState state, int corners,
                        const BackgroundInfo& bg) {
  TacBorderSlices s;
  // A border not drawn in this state (StretchMode flag 2 in state 0) has no corners to refresh.
  if (!IsPaintable(&target) || !ComputeBorderSlices(mask, rect, state, s)) return;
  const TBitmap* pic = MaskPicture(mask);
  if (!pic) return;
  // Nothing known behind: the corners keep what they show rather than take the key colour.
  if (!bg.Ready && bg.FillColor == kTransparentKey) return;
  const int xr = s.X0 + s.L + s.CW, yb = s.Y0 + s.H - s.B;
  // Only the holes take what lies behind now. A masked slice's other pixels were
  // composited over the control's own face when the border was drawn, and a pixel the
  // mask band leaves clear inside the outline shows that face; putting the parent
  // under the whole slice would punch parent-coloured squares into the face, and
  // compositing again would darken the half-clear pixels at every refresh.
  auto corner = [&](int x, int y, TRect src) {
    if (mask.MaskType == 1)
      PutBehindKeys(target, x, y, *pic, src, bg);
    else
      CopyWithKey(target, x, y, *pic, src, bg, true);
  };
  if (corners & kCornerTopLeft) corner(rect.Left, rect.Top, {s.X0, s.Y0, s.X0 + s.L, s.Y0 + s.T});
  if (corners & kCornerBottomLeft) corner(rect.Left, rect.Bottom - s.B, {s.X0, yb, s.X0 + s.L, yb + s.B});
  if (corners & kCornerTopRight) corner(rect.Right - s.R, rect.Top, {xr, s.Y0, xr + s.R, s.Y0 + s.T});
  if (corners & kCornerBottomRight) corner(rect.Right - s.R, rect.Bottom - s.B, {xr, yb, xr + s.R, yb + s.B});
}

void DrawGlyphMask(TBitmap& target, TPoint p, TacPaintState state, int useAlpha, const TsMaskData& mask,
                   const BackgroundInfo& bg) {
  if (!IsPaintable(&target) || mask.ImageCount <= 0) return;
  const TSize size = StateImageSize(mask);
  const int x0 = mask.Left + StateImageIndex(mask, state) * size.cx;
  TRect src{x0, mask.Top, x0 + size.cx, mask.Top + size.cy};
  const TBitmap* pic = nullptr;
  bool own = false;
  if (mask.Image && IsPaintable(mask.Image.get()) && mask.Image->Width() >= mask.Right &&
      mask.Image->Height() >= mask.Bottom) {
    pic = mask.Image.get();
    own = true;
  } else if (mask.Manager && IsPaintable(mask.Manager->MasterBitmap.get())) {
    pic = mask.Manager->MasterBitmap.get();  // an own picture too small for the rectangle is not used
  }
  if (!pic) return;
  if (mask.MaskType == 1) {
    int x = p.X, y = p.Y;
    const int maskOffset = (mask.Bottom - mask.Top) / 2;
    if (maskOffset <= 0 || !ClipDraw(target, x, y, *pic, src, maskOffset)) return;
    const int sb = BytesOf(*pic), db = BytesOf(target);
    const int boost = useAlpha == 1 ? 0 : 100;
    for (int r = 0; r < src.Height(); ++r) {
      const std::uint8_t* s = pic->ScanLine(src.Top + r) + src.Left * sb;
      const std::uint8_t* m = pic->ScanLine(src.Top + r + maskOffset) + src.Left * sb;
      std::uint8_t* d = target.ScanLine(y + r) + x * db;
      for (int i = 0; i < src.Width(); ++i, s += sb, m += sb, d += db) {
        if (IsKey(s)) continue;
        for (int c = 0; c < 3; ++c) {
          const int mm = std::min(m[c] + boost, 255);
          d[c] = static_cast<std::uint8_t>(std::clamp(s[c] + ((mm * (d[c] - s[c])) >> 8), 0, 255));
        }
        if (db == 4) d[3] = 255;
      }
    }
  } else if (useAlpha == 1) {
    CopyWithKey(target, p.X, p.Y, *pic, src, bg, true);
  } else if (own) {
    CopyWithKey(target, p.X, p.Y, *pic, src, BackgroundInfo{}, false);
  } else {
    // Half glyph, half target.
    if (src.IsEmpty()) return;
    BlendKeyed(target, p.X, p.Y, kTransparentKey, 0.5, {src.Left, src.Top, src.Right - 1, src.Bottom - 1}, *pic);
  }
}
