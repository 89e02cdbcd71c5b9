// Every instruction-set path of the byte kernels gives the scalar results: the
// tests force each level this machine runs (SetKernelLevel; TB_PIXEL_KERNELS does
// the same for a whole run).
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "skin/render/acPixelKernels.h"
#include "skin/render/sBlend.h"
#include "tests/skinrender/TestBitmaps.h"

namespace {

class KernelLevels : public ::testing::TestWithParam<TacKernelLevel> {
protected:
  void SetUp() override {
    Saved = KernelLevel();
    if (GetParam() > MachineKernelLevel()) GTEST_SKIP() << "this machine lacks the instruction set";
    ASSERT_EQ(SetKernelLevel(GetParam()), GetParam());
  }
  void TearDown() override { SetKernelLevel(Saved); }
  TacKernelLevel Saved = TacKernelLevel::Scalar;
};

TEST_P(KernelLevels, BlendBytesMatchesTheFormulaAtEveryLengthAndByte) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> byte(0, 255);
  for (std::size_t n : {1u, 15u, 16u, 17u, 31u, 32u, 33u, 100u, 1000u})
    for (int a : {0, 1, 127, 128, 254, 255}) {
      std::vector<std::uint8_t> d(n), s(n), expect(n);
      for (std::size_t i = 0; i < n; ++i) {
        d[i] = static_cast<std::uint8_t>(byte(rng));
        s[i] = static_cast<std::uint8_t>(byte(rng));
        expect[i] = static_cast<std::uint8_t>((d[i] * a + s[i] * (255 - a) + 127) / 256);
      }
      BlendBytes(d.data(), s.data(), n, a);
      ASSERT_EQ(d, expect) << "n = " << n << ", a = " << a;
    }
}

TEST_P(KernelLevels, MaskBlendIsThePictureThroughItsMask) {
  // Every picture byte against every mask byte, over a target that walks through all values.
  std::vector<std::uint8_t> d(65536 + 5), s(d.size()), m(d.size()), expect(d.size());
  for (std::size_t i = 0; i < d.size(); ++i) {
    s[i] = static_cast<std::uint8_t>(i & 0xFF);
    m[i] = static_cast<std::uint8_t>((i >> 8) & 0xFF);
    d[i] = static_cast<std::uint8_t>((i * 7) & 0xFF);
    // S + floor(M * (D - S) / 256), the compositing rule written with a signed difference.
    const int diff = m[i] * (d[i] - s[i]);
    expect[i] = static_cast<std::uint8_t>(s[i] + (diff >= 0 ? diff / 256 : -((-diff + 255) / 256)));
  }
  MaskBlendBytes(d.data(), s.data(), m.data(), d.size());
  EXPECT_EQ(d, expect);
}

TEST_P(KernelLevels, MaskBlendAtEveryShortLengthAndOffsetLeavesTheNeighboursAlone) {
  // Border slices hand the kernel short rows at any address; the ragged ends are
  // done with overlapping windows, which must neither change bytes outside the run
  // nor blend a byte twice.
  std::mt19937 rng(23);
  std::uniform_int_distribution<int> byte(0, 255);
  for (std::size_t n = 0; n <= 130; ++n)
    for (std::size_t offset : {0u, 1u, 3u, 7u}) {
      std::vector<std::uint8_t> d(n + offset + 40), s(d.size()), m(d.size());
      for (std::size_t i = 0; i < d.size(); ++i) {
        d[i] = static_cast<std::uint8_t>(byte(rng));
        s[i] = static_cast<std::uint8_t>(byte(rng));
        m[i] = static_cast<std::uint8_t>(i % 5 == 0 ? 0 : i % 7 == 0 ? 255 : byte(rng));
      }
      std::vector<std::uint8_t> expect = d;
      for (std::size_t i = offset; i < offset + n; ++i)
        expect[i] = static_cast<std::uint8_t>(((256 - m[i]) * s[i] + m[i] * d[i]) >> 8);
      MaskBlendBytes(d.data() + offset, s.data() + offset, m.data() + offset, n);
      ASSERT_EQ(d, expect) << "n = " << n << ", offset = " << offset;
    }
}

TEST_P(KernelLevels, CornerRowsBlendAroundTheirKeyPixelsAndNameThem) {
  // Rows of every whole-pixel length up to the kernel's one step, at any address,
  // keys anywhere (and key-like bytes that start no pixel), neighbours untouched.
  std::mt19937 rng(31);
  std::uniform_int_distribution<int> byte(0, 255);
  for (std::size_t n = 0; n <= kMaskRowAroundKeysMax; n += 3)
    for (std::size_t offset : {0u, 1u, 5u})
      for (int round = 0; round < 12; ++round) {
        std::vector<std::uint8_t> d(n + offset + 70), s(d.size()), m(d.size());
        for (std::size_t i = 0; i < d.size(); ++i) {
          d[i] = static_cast<std::uint8_t>(byte(rng));
          s[i] = static_cast<std::uint8_t>(byte(rng) < 40 ? (byte(rng) < 128 ? 0 : 255) : byte(rng));
          m[i] = static_cast<std::uint8_t>(byte(rng));
        }
        std::uint64_t keysExpected = 0;
        for (std::size_t p = 0; p < n; p += 3)
          if (byte(rng) < 50 + round * 10) {
            s[offset + p] = 255, s[offset + p + 1] = 0, s[offset + p + 2] = 255;
          }
        // The pixel after the row's end is a key too; it is not the row's.
        s[offset + n] = 255, s[offset + n + 1] = 0, s[offset + n + 2] = 255;
        std::vector<std::uint8_t> expect = d;
        for (std::size_t p = 0; p < n; p += 3) {
          const std::uint8_t* px = &s[offset + p];
          if (px[0] == 255 && px[1] == 0 && px[2] == 255) {
            keysExpected |= std::uint64_t{1} << p;
            continue;
          }
          for (std::size_t c = p; c < p + 3; ++c)
            expect[offset + c] = static_cast<std::uint8_t>(((256 - m[offset + c]) * s[offset + c] + m[offset + c] * d[offset + c]) >> 8);
        }
        const std::uint64_t keys = MaskBlendRowAroundKeys(d.data() + offset, s.data() + offset, m.data() + offset, n);
        ASSERT_EQ(keys, keysExpected) << "n = " << n << ", offset = " << offset;
        ASSERT_EQ(d, expect) << "n = " << n << ", offset = " << offset;
      }
}

TEST_P(KernelLevels, CornerRowsInOneCallMatchTheRowByRowKernelAtAnyStride) {
  // A corner's rows come from a bottom-up picture (negative stride) into a target
  // whose rows lie the other way; every row is blended around its keys and names
  // them, the gaps between rows untouched, with or without the keys asked for.
  std::mt19937 rng(37);
  std::uniform_int_distribution<int> byte(0, 255);
  constexpr std::ptrdiff_t kGap = 80;  // row pitch of both buffers, wider than any row
  for (std::size_t n : {3u, 15u, 27u, 48u, 63u})
    for (int rows : {1, 2, 9, 23})
      for (bool wantKeys : {false, true}) {
        const std::size_t size = static_cast<std::size_t>(kGap) * static_cast<std::size_t>(rows) + 2 * kGap;
        std::vector<std::uint8_t> d(size), s(size), m(size);
        for (std::size_t i = 0; i < size; ++i) {
          d[i] = static_cast<std::uint8_t>(byte(rng));
          s[i] = static_cast<std::uint8_t>(byte(rng));
          m[i] = static_cast<std::uint8_t>(byte(rng));
        }
        // Target rows go down from the first row, picture rows up from the last one.
        std::uint8_t* dFirst = d.data() + 5;
        std::uint8_t* const sFirst = s.data() + kGap * rows + 7;
        const std::uint8_t* mFirst = m.data() + kGap * rows + 7;
        for (int r = 0; r < rows; ++r)
          for (std::size_t p = 0; p < n; p += 3)
            if (byte(rng) < 60 || (r == 0 && p + 3 == n)) {
              std::uint8_t* px = sFirst - kGap * r + p;
              px[0] = 255, px[1] = 0, px[2] = 255;
            }
        // Key-like bytes that start no pixel, and a key just past the row's end.
        if (n >= 9) sFirst[1] = 255, sFirst[2] = 0, sFirst[3] = 255;
        sFirst[n] = 255, sFirst[n + 1] = 0, sFirst[n + 2] = 255;
        std::vector<std::uint8_t> expect = d;
        std::vector<std::uint64_t> keysExpected(static_cast<std::size_t>(rows));
        for (int r = 0; r < rows; ++r) {
          std::uint8_t* e = expect.data() + 5 + kGap * r;
          const std::uint8_t *sr = sFirst - kGap * r, *mr = mFirst - kGap * r;
          for (std::size_t p = 0; p < n; p += 3) {
            if (sr[p] == 255 && sr[p + 1] == 0 && sr[p + 2] == 255) {
              keysExpected[static_cast<std::size_t>(r)] |= std::uint64_t{1} << p;
              continue;
            }
            for (std::size_t c = p; c < p + 3; ++c) e[c] = static_cast<std::uint8_t>(((256 - mr[c]) * sr[c] + mr[c] * e[c]) >> 8);
          }
        }
        std::vector<std::uint64_t> keys(static_cast<std::size_t>(rows), 0xDEADu);
        MaskBlendRowsAroundKeys(dFirst, kGap, sFirst, mFirst, -kGap, n, rows, wantKeys ? keys.data() : nullptr);
        ASSERT_EQ(d, expect) << "n = " << n << ", rows = " << rows;
        ASSERT_NE(keysExpected[0], 0u) << "row 0 ends in a key";
        if (wantKeys) {
          ASSERT_EQ(keys, keysExpected) << "n = " << n << ", rows = " << rows;
        }
      }
}

TEST_P(KernelLevels, RepeatingMaskBlendTakesPictureAndMaskFromThePeriod) {
  std::mt19937 rng(29);
  std::uniform_int_distribution<int> byte(0, 255);
  for (std::size_t period : {1u, 3u, 9u, 15u, 16u, 17u, 27u, 31u, 32u, 33u, 60u, 64u})
    for (std::size_t n = 0; n <= 130; n += (n < 70 ? 1 : 7))
      for (std::size_t phase : {std::size_t{0}, period / 3, period - 1}) {
        std::vector<std::uint8_t> s(period + kMaskRunTail), m(period + kMaskRunTail), d(n + 24);
        for (std::size_t i = 0; i < period; ++i) {
          s[i] = static_cast<std::uint8_t>(byte(rng));
          m[i] = static_cast<std::uint8_t>(i % 4 == 0 ? 0 : byte(rng));
        }
        for (std::size_t i = period; i < period + kMaskRunTail; ++i) s[i] = s[i - period], m[i] = m[i - period];
        for (auto& b : d) b = static_cast<std::uint8_t>(byte(rng));
        std::vector<std::uint8_t> expect = d;
        for (std::size_t i = 0; i < n; ++i) {
          const std::size_t o = (phase + i) % period;
          expect[i + 4] = static_cast<std::uint8_t>(((256 - m[o]) * s[o] + m[o] * d[i + 4]) >> 8);
        }
        MaskBlendRepeating(d.data() + 4, s.data(), m.data(), period, phase, n);
        ASSERT_EQ(d, expect) << "period " << period << ", n " << n << ", phase " << phase;
      }
}

TEST_P(KernelLevels, RepeatingMaskBlendOverSeveralRowsBlendsEachRowAlone) {
  // One run over the rows a slice row repeats on (run stride 0), or each row from its
  // own run (a slice's rows one after the other): each target row blended from its
  // period over its own bytes (rows up or down the buffer), the bytes between rows untouched.
  std::mt19937 rng(41);
  std::uniform_int_distribution<int> byte(0, 255);
  for (std::size_t period : {3u, 15u, 27u, 33u, 64u})
    for (std::size_t n : {1u, 30u, 64u, 65u, 200u, 330u})
      for (int rows : {1, 2, 5})
        for (std::ptrdiff_t pitch : {std::ptrdiff_t{400}, std::ptrdiff_t{-400}})
          for (bool ownRuns : {false, true}) {
            const std::size_t phase = (period * 2) / 3;
            const std::ptrdiff_t runStride = ownRuns ? static_cast<std::ptrdiff_t>(period + kMaskRunTail + 5) : 0;
            const std::size_t runBytes = static_cast<std::size_t>(runStride) * 5 + period + kMaskRunTail;
            std::vector<std::uint8_t> s(runBytes), m(runBytes), d(400 * 6);
            for (int r = 0; r < 5; ++r) {
              std::uint8_t* sr = s.data() + runStride * r;
              std::uint8_t* mr = m.data() + runStride * r;
              for (std::size_t i = 0; i < period; ++i) {
                sr[i] = static_cast<std::uint8_t>(byte(rng));
                mr[i] = static_cast<std::uint8_t>(i % 4 == 0 ? 0 : byte(rng));
              }
              for (std::size_t i = period; i < period + kMaskRunTail; ++i) sr[i] = sr[i - period], mr[i] = mr[i - period];
            }
            for (auto& b : d) b = static_cast<std::uint8_t>(byte(rng));
            std::uint8_t* first = d.data() + (pitch > 0 ? 3 : 400 * 5 + 3);
            std::vector<std::uint8_t> expect = d;
            for (int r = 0; r < rows; ++r) {
              std::uint8_t* e = expect.data() + (first - d.data()) + pitch * r;
              const std::uint8_t* sr = s.data() + runStride * r;
              const std::uint8_t* mr = m.data() + runStride * r;
              for (std::size_t i = 0; i < n; ++i) {
                const std::size_t o = (phase + i) % period;
                e[i] = static_cast<std::uint8_t>(((256 - mr[o]) * sr[o] + mr[o] * e[i]) >> 8);
              }
            }
            MaskBlendRepeatingRows(first, pitch, rows, s.data(), m.data(), runStride, period, phase, n);
            ASSERT_EQ(d, expect) << "period " << period << ", n " << n << ", rows " << rows << ", pitch " << pitch
                                 << (ownRuns ? ", a run a row" : ", one run");
          }
}

TEST_P(KernelLevels, FillWritesEveryPixelOfTheRunAndNothingPast) {
  const std::uint8_t pixel[4] = {0x12, 0xFE, 0x80, 0x3C};
  for (int bpp : {3, 4})
    for (std::size_t count = 0; count <= 150; count += (count < 70 ? 1 : 9))
      for (std::size_t offset : {0u, 1u, 5u}) {
        std::vector<std::uint8_t> row(count * 4 + 80, 0xA5);
        std::vector<std::uint8_t> expect = row;
        for (std::size_t i = 0; i < count * static_cast<std::size_t>(bpp); ++i)
          expect[offset + i] = pixel[i % static_cast<std::size_t>(bpp)];
        FillPixels(row.data() + offset, count, pixel, bpp);
        ASSERT_EQ(row, expect) << bpp << " bytes a pixel, " << count << " pixels at " << offset;
      }
}

// Every percent, every byte value in every channel, colours at the ends and between,
// over rows long enough for the widest steps and with tails of every length.
TEST_P(KernelLevels, ColourMixAgreesWithTheFormulaForEveryByte) {
  for (int bpp : {3, 4})
    for (std::uint32_t color : {0x000000u, 0xFFFFFFu, 0x4080C1u, 0xEAD8C4u})
      for (int percent = 0; percent <= 100; ++percent) {
        // p * c + (100 - p) * colour per colour byte (blue, green, red); alpha kept.
        TColorMix mix;
        for (int j = 0; j < 48; ++j) {
          const int ch = j % bpp;
          const unsigned k = ch == 3 ? 0 : (color >> (8 * (2 - ch))) & 0xFF;
          mix.Mul[j] = static_cast<std::uint16_t>(ch == 3 ? 100 : percent);
          mix.Add[j] = static_cast<std::uint16_t>((100 - percent) * k);
        }
        for (std::size_t n : {256u * 12 + 95u, 1u, 47u, 97u}) {
          std::vector<std::uint8_t> p(n), expect(n);
          for (std::size_t i = 0; i < n; ++i) {
            p[i] = static_cast<std::uint8_t>((i / static_cast<std::size_t>(bpp) * 7 + i) & 0xFF);
            const std::size_t k = i % 48;
            const unsigned v = mix.Mul[k] * p[i] + mix.Add[k], q = v / 100, r = v % 100;
            expect[i] = static_cast<std::uint8_t>(q + (r > 50 || (r == 50 && (q & 1)) ? 1 : 0));
          }
          MixColorBytes(p.data(), n, mix);
          ASSERT_EQ(p, expect) << "bpp " << bpp << ", colour " << color << ", " << percent << " %, n " << n;
        }
      }
}

// A rectangle's rows in one call: rows up and down memory, lengths across the point
// where tables pay and with tails of every length, mixes that repeat with the pixel
// and one that does not. Bytes between and around the rows stay as they were.
TEST_P(KernelLevels, ColourMixOverRowsAgreesWithTheFormulaAndKeepsTheGaps) {
  std::mt19937 rng(41);
  std::uniform_int_distribution<int> byte(0, 255), percent(0, 100);
  for (int kind : {3, 4, 0})
    for (std::size_t n : {1u, 63u, 64u, 65u, 130u, 200u, 1023u, 1024u, 3072u + 17u})
      for (int rows : {1, 3, 9})
        for (bool up : {false, true}) {
          TColorMix mix;
          const int p = percent(rng);
          for (int j = 0; j < 48; ++j) {
            // kind 0: weights that follow no pixel size at all.
            const int ch = kind == 0 ? j : j % kind;
            const int mul = kind == 0 ? (j * 7) % 101 : ch == 3 ? 100 : p;
            mix.Mul[j] = static_cast<std::uint16_t>(mul);
            mix.Add[j] = static_cast<std::uint16_t>((100 - mul) * ((ch * 97 + 31) % 256));
          }
          const std::size_t gap = 5, stride = n + gap;
          std::vector<std::uint8_t> buf(stride * static_cast<std::size_t>(rows) + gap);
          for (auto& b : buf) b = static_cast<std::uint8_t>(byte(rng));
          std::vector<std::uint8_t> expect = buf;
          for (int r = 0; r < rows; ++r)
            for (std::size_t i = 0; i < n; ++i) {
              std::uint8_t& e = expect[gap + stride * static_cast<std::size_t>(r) + i];
              const unsigned v = mix.Mul[i % 48] * e + mix.Add[i % 48], q = v / 100, rem = v % 100;
              e = static_cast<std::uint8_t>(q + (rem > 50 || (rem == 50 && (q & 1)) ? 1 : 0));
            }
          const std::ptrdiff_t step = up ? -static_cast<std::ptrdiff_t>(stride) : static_cast<std::ptrdiff_t>(stride);
          std::uint8_t* first = buf.data() + gap + (up ? stride * static_cast<std::size_t>(rows - 1) : 0);
          MixColorRows(first, step, rows, n, mix);
          ASSERT_EQ(buf, expect) << "kind " << kind << ", n " << n << ", rows " << rows << (up ? ", upwards" : "");
        }
}

TEST_P(KernelLevels, ColourMixRoundsTiesToEven) {
  std::mt19937 rng(5);
  for (int percent : {0, 1, 33, 50, 99, 100})
    for (TPixelFormat f : {TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
      TBitmap b = RandomBitmap(rng, 37, 3, f, true);
      const TBitmap before = b;
      const TColor color = 0x4080C0;
      BlendColorRect(b, {0, 0, 36, 2}, percent, color);
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 37; ++x)
          for (int c = 0; c < 3; ++c) {
            const int col = (color >> (8 * (2 - c))) & 0xFF;  // byte c is blue, green, red
            // round((p * c + (100 - p) * colour) / 100), ties to even, in integers.
            const int n = percent * ByteAt(before, x, y, c) + (100 - percent) * col;
            const int q = n / 100, r = n % 100;
            ASSERT_EQ(ByteAt(b, x, y, c), q + (r > 50 || (r == 50 && (q & 1)) ? 1 : 0))
                << percent << " at " << x << "," << y << " channel " << c;
          }
    }
}

TEST_P(KernelLevels, WholeBitmapBlendAgreesWithTheScalarPath) {
  std::mt19937 rng(3);
  const TBitmap src = RandomBitmap(rng, 53, 7, TPixelFormat::pf24bit, false);
  const TBitmap start = RandomBitmap(rng, 53, 7, TPixelFormat::pf24bit, false);
  TBitmap here = start;
  BlendWholeBitmaps(here, src, 77);
  const TacKernelLevel level = KernelLevel();
  SetKernelLevel(TacKernelLevel::Scalar);
  TBitmap scalar = start;
  BlendWholeBitmaps(scalar, src, 77);
  SetKernelLevel(level);
  EXPECT_TRUE(SamePixels(here, scalar));
}

INSTANTIATE_TEST_SUITE_P(Paths, KernelLevels,
                         ::testing::Values(TacKernelLevel::Scalar, TacKernelLevel::Sse2, TacKernelLevel::Avx2,
                                           TacKernelLevel::Avx512, TacKernelLevel::Avx512Vbmi),
                         [](const auto& info) {
                           switch (info.param) {
                             case TacKernelLevel::Scalar: return std::string("Scalar");
                             case TacKernelLevel::Sse2: return std::string("Sse2");
                             case TacKernelLevel::Avx2: return std::string("Avx2");
                             case TacKernelLevel::Avx512: return std::string("Avx512");
                             case TacKernelLevel::Avx512Vbmi: return std::string("Avx512Vbmi");
                           }
                           return std::string("Unknown");
                         });

TEST(KernelLevelsMachine, LevelsNeverExceedTheMachine) {
  const TacKernelLevel saved = KernelLevel();
  EXPECT_LE(SetKernelLevel(TacKernelLevel::Avx512Vbmi), MachineKernelLevel());
  EXPECT_EQ(SetKernelLevel(TacKernelLevel::Scalar), TacKernelLevel::Scalar);
  SetKernelLevel(saved);
}

}  // namespace
