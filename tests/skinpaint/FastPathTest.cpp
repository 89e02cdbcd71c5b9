// The painter's quick paths against straight per-pixel definitions: random sizes
// (with and without row padding), both ways up, every kernel level.
#include <gtest/gtest.h>

#include <random>

#include "skin/paint/sFade.h"
#include "skin/render/acPixelKernels.h"
#include "tests/skinrender/TestBitmaps.h"

namespace {

// Restores the kernel level a test forced.
struct TKernelGuard {
  TacKernelLevel Saved = KernelLevel();
  ~TKernelGuard() { SetKernelLevel(Saved); }
};

}  // namespace

TEST(FastPaths, FadeFrameMatchesPerPixelBlend) {
  TKernelGuard guard;
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> size(2, 70), level(0, 21), coin(0, 1);
  for (TacKernelLevel k : {TacKernelLevel::Scalar, TacKernelLevel::Sse2, TacKernelLevel::Avx2}) {
    SetKernelLevel(k);
    for (int round = 0; round < 150; ++round) {
      const int w = size(rng), h = size(rng);
      const bool down = coin(rng);
      const TBitmap old = RandomBitmap(rng, w, h, TPixelFormat::pf24bit, down);
      // The new face is sometimes stored the other way up: rows still match by index.
      const TBitmap fresh = RandomBitmap(rng, w, h, TPixelFormat::pf24bit, round % 5 == 0 ? !down : down);
      TBitmap frame(3, 3, TPixelFormat::pf24bit, round % 7 == 0 ? !down : down);
      const int n = level(rng);
      ComputeFadeFrame(frame, old, fresh, n, 20);
      const int a = FadeBlendByte(n, 20);
      ASSERT_EQ(frame.Width(), w);
      ASSERT_EQ(frame.Height(), h);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w * 3; ++x) {
          const int expect = (old.ScanLine(y)[x] * a + fresh.ScanLine(y)[x] * (255 - a) + 127) >> 8;
          ASSERT_EQ(frame.ScanLine(y)[x], expect) << "round " << round << " at " << x / 3 << "," << y;
        }
    }
  }
}
