// The painter's quick paths against straight per-pixel definitions: random sizes
// (with and without row padding), both ways up, every kernel level.
#include <gtest/gtest.h>

#include <random>

#include "skin/paint/acMaskPaint.h"
#include "skin/paint/acPaintBlocks.h"
#include "skin/paint/sFade.h"
#include "skin/render/acPixelKernels.h"
#include "tests/skinpaint/PaintTestSkin.h"
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
  for (TacKernelLevel k : {TacKernelLevel::Scalar, TacKernelLevel::Sse2, TacKernelLevel::Avx2, TacKernelLevel::Avx512,
                           TacKernelLevel::Avx512Vbmi}) {
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

TEST(FastPaths, RepeatBytesLaysOutThePeriodFromItsPhase) {
  std::mt19937 rng(19);
  std::uniform_int_distribution<int> byte(0, 255);
  for (std::size_t period : {1u, 2u, 3u, 5u, 15u, 16u, 17u, 27u, 48u, 255u, 256u, 257u, 600u})
    for (std::size_t total : {0u, 1u, 7u, 15u, 16u, 17u, 31u, 100u, 246u, 1000u})
      for (std::size_t phase : {std::size_t{0}, period / 2, period - 1}) {
        std::vector<std::uint8_t> from(period), to(total + 8, 0xAB);
        for (auto& b : from) b = static_cast<std::uint8_t>(byte(rng));
        RepeatBytes(to.data(), from.data(), period, phase, total);
        for (std::size_t i = 0; i < total; ++i) ASSERT_EQ(to[i], from[(phase + i) % period]) << period << " " << total;
        for (std::size_t i = total; i < to.size(); ++i) ASSERT_EQ(to[i], 0xAB) << "past the end";
        if (period > kRepeatRunMax) continue;
        std::vector<std::uint8_t> run(period + kRepeatChunk), again(total + 8, 0xAB);
        MakeRepeatRun(run.data(), from.data(), period);
        RepeatFromRun(again.data(), run.data(), period, phase, total);
        ASSERT_EQ(again, to) << period << " " << total << " " << phase;
      }
}

// A colour fill writes every pixel of the clipped rectangle (alpha 255 on 32 bits) and
// nothing else, either way up, at every kernel level.
TEST(FastPaths, FillBlockWritesTheClippedRectangleOnly) {
  TKernelGuard guard;
  std::mt19937 rng(71);
  std::uniform_int_distribution<int> pos(-8, 40), coin(0, 1);
  for (TacKernelLevel k : {TacKernelLevel::Scalar, TacKernelLevel::Sse2, TacKernelLevel::Avx512Vbmi}) {
    SetKernelLevel(k);
    for (int round = 0; round < 60; ++round) {
      const TPixelFormat format = coin(rng) ? TPixelFormat::pf32bit : TPixelFormat::pf24bit;
      const TBitmap start = RandomBitmap(rng, 37, 23, format, coin(rng));
      TBitmap b = start;
      const TRect r{pos(rng), pos(rng), pos(rng), pos(rng)};
      FillBlock(b, r, 0x123456);
      for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
          const bool inside = x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
          ASSERT_EQ(b.Pixel32(x, y), inside ? 0xFF123456u : start.Pixel32(x, y))
              << "round " << round << " at " << x << "," << y;
        }
    }
  }
}

// A 24-bit face takes the painter's row-wise way through the slices; a 32-bit face
// takes the slice-by-slice compositing that defines the result. Their colours must
// agree for any border picture, mask band, holes, margins, modes and clipping.
TEST(FastPaths, BorderRowsAgreeWithSliceBySliceCompositing) {
  TKernelGuard guard;
  std::mt19937 rng(53);
  std::uniform_int_distribution<int> byte(0, 255), margin(0, 7), count(1, 3), mode(0, 7), coin(0, 1), size(1, 70),
      pos(-12, 30), side(2, 24);
  for (TacKernelLevel k : {TacKernelLevel::Scalar, TacKernelLevel::Sse2, TacKernelLevel::Avx2, TacKernelLevel::Avx512,
                           TacKernelLevel::Avx512Vbmi}) {
    SetKernelLevel(k);
    for (int round = 0; round < 150; ++round) {
      TPaintSkin skin;
      // Every third round with slices over 256 bytes a row, laid out without runs.
      const bool wide = round % 3 == 0;
      if (wide) skin.Model.MasterBitmap = std::make_unique<TBitmap>(300, 64, TPixelFormat::pf24bit);
      TBitmap& master = *skin.Model.MasterBitmap;
      for (int y = 0; y < master.Height(); ++y)
        for (int x = 0; x < master.Width(); ++x) {
          const int kind = byte(rng);
          // Some key pixels (holes; on wide slices in every third row only, else each row
          // would have some), some black mask rows, the rest random.
          const TColor c = kind < 20 && (!wide || y % 3 == 0) ? 0xFF00FF : (y % 5 == 0 && y >= 32) ? 0 : static_cast<TColor>(byte(rng) | byte(rng) << 8 | byte(rng) << 16);
          master.SetPixel(x, y, c);
        }
      const int images = wide ? 1 + coin(rng) : count(rng), maskType = coin(rng);
      const int frameW = wide ? 100 + side(rng) * 2 : side(rng) / images + 1;
      const int frameH = side(rng) / (maskType + 1) + 1;
      const int b = skin.AddMask("BUTTON", "BORDERSMASK", {0, 0, frameW * images, frameH * (maskType + 1)}, images, maskType,
                                 TacImgType::itisaBorder, mode(rng));
      TsMaskData& m = skin.Mask(b);
      m.WL = static_cast<std::int16_t>(margin(rng)), m.WT = static_cast<std::int16_t>(margin(rng));
      m.WR = static_cast<std::int16_t>(margin(rng)), m.WB = static_cast<std::int16_t>(margin(rng));
      const TBitmap start = RandomBitmap(rng, wide ? 400 : 40, 36, TPixelFormat::pf24bit, coin(rng));
      TBitmap face24 = start, face32 = start;
      face32.SetPixelFormat(TPixelFormat::pf32bit);
      const TBitmap parent = RandomBitmap(rng, 80, 80, TPixelFormat::pf24bit, false);
      const BackgroundInfo bg = coin(rng) ? BackgroundInfo::FromBitmap(&parent, 5, 7) : BackgroundInfo::FromColor(kKey);
      const int l = pos(rng), t = pos(rng);
      const TRect r{l, t, l + size(rng) * (wide ? 6 : 1), t + size(rng)};
      const bool centre = coin(rng), update = coin(rng);
      const int state = byte(rng) % 4;
      DrawBorderMask(face24, r, centre, bg, m, static_cast<TacPaintState>(state), update);
      DrawBorderMask(face32, r, centre, bg, m, static_cast<TacPaintState>(state), update);
      for (int y = 0; y < start.Height(); ++y)
        for (int x = 0; x < start.Width(); ++x)
          ASSERT_EQ(face24.Pixel(x, y), face32.Pixel(x, y))
              << "round " << round << " at " << x << "," << y << " rect " << r.Left << "," << r.Top << "," << r.Right
              << "," << r.Bottom << " mode " << m.StretchMode << " type " << maskType;
    }
  }
}

// A single hole anywhere along a slice row, rows of one to several sixteen-pixel
// steps and the ragged step at their end: the row-wise way must find it and leave
// it alone as the slice-by-slice way does.
TEST(FastPaths, ALoneHoleAnywhereInASliceRowIsKept) {
  TKernelGuard guard;
  SetKernelLevel(TacKernelLevel::Avx512Vbmi);
  for (int frameW : {4, 6, 7, 9, 16, 17, 20, 23, 24, 33, 50})
    for (int hole = 1; hole < frameW - 1; ++hole) {
      TPaintSkin skin;
      TBitmap& master = *skin.Model.MasterBitmap;
      for (int y = 0; y < 6; ++y)
        for (int x = 0; x < frameW; ++x) master.SetPixel(x, y, static_cast<TColor>(0x203040 + x * 0x010203 + y * 0x0A0000));
      skin.FillMaster({0, 3, frameW, 6}, 0x404040);  // the mask band: partly see-through everywhere
      master.SetPixel(hole, 1, kKey);
      const int b = skin.AddMask("BUTTON", "BORDERSMASK", {0, 0, frameW, 6}, 1, 1, TacImgType::itisaBorder, 4);
      TsMaskData& m = skin.Mask(b);
      m.WL = m.WT = m.WR = m.WB = 1;
      std::mt19937 rng(static_cast<unsigned>(frameW * 100 + hole));
      const TBitmap start = RandomBitmap(rng, frameW * 2 + 5, 8, TPixelFormat::pf24bit, true);
      TBitmap face24 = start, face32 = start;
      face32.SetPixelFormat(TPixelFormat::pf32bit);
      const TRect r{0, 0, frameW * 2 + 5, 8};
      DrawBorderMask(face24, r, true, BackgroundInfo::FromColor(kKey), m, TacPaintState::Normal, false);
      DrawBorderMask(face32, r, true, BackgroundInfo::FromColor(kKey), m, TacPaintState::Normal, false);
      ASSERT_EQ(face24.Pixel(hole, 1), start.Pixel(hole, 1)) << "width " << frameW << ", hole " << hole;
      for (int y = 0; y < start.Height(); ++y)
        for (int x = 0; x < start.Width(); ++x)
          ASSERT_EQ(face24.Pixel(x, y), face32.Pixel(x, y)) << "width " << frameW << ", hole " << hole << " at " << x << "," << y;
    }
}

// Compositing through the mask band onto a 24-bit target blends the runs between holes
// through the byte kernel; a 32-bit target goes pixel by pixel. Rows of every width up
// to three of the kernel's widest steps, holes around the sixteen-pixel marks, with and
// without what lies behind.
TEST(FastPaths, CompositedHolesAgreeWithThePixelByPixelWay) {
  TKernelGuard guard;
  std::mt19937 rng(61);
  std::uniform_int_distribution<int> byte(0, 255), coin(0, 1);
  const TBitmap parent = RandomBitmap(rng, 80, 20, TPixelFormat::pf24bit, false);
  for (TacKernelLevel k : {TacKernelLevel::Scalar, TacKernelLevel::Avx2, TacKernelLevel::Avx512Vbmi}) {
    SetKernelLevel(k);
    for (int w = 1; w <= 48; ++w)
      for (int round = 0; round < 4; ++round) {
        TBitmap pic = RandomBitmap(rng, w, 6, TPixelFormat::pf24bit, true);
        for (int y = 0; y < 3; ++y)
          for (int x = 0; x < w; ++x)
            if (x % 16 == 15 || x % 16 == 0 ? coin(rng) : byte(rng) < 30) pic.SetPixel(x, y, kKey);
        const TBitmap start = RandomBitmap(rng, w + 6, 5, TPixelFormat::pf24bit, coin(rng));
        TBitmap t24 = start, t32 = start;
        t32.SetPixelFormat(TPixelFormat::pf32bit);
        const BackgroundInfo bg = round % 2 ? BackgroundInfo::FromBitmap(&parent, 3, 2) : BackgroundInfo::FromColor(0x00FF00);
        const bool update = round >= 2;
        CompositeMasked(t24, 2, 1, pic, {0, 0, w, 3}, 3, bg, update);
        CompositeMasked(t32, 2, 1, pic, {0, 0, w, 3}, 3, bg, update);
        for (int y = 0; y < start.Height(); ++y)
          for (int x = 0; x < start.Width(); ++x)
            ASSERT_EQ(t24.Pixel(x, y), t32.Pixel(x, y)) << "width " << w << ", round " << round << " at " << x << "," << y;
      }
  }
}

// A narrow composite taller than one kernel call of rows (a side piece of a tall
// window): every row blended around its holes and, when asked, the holes given what
// lies behind at their own row, as the pixel-by-pixel way does.
TEST(FastPaths, ANarrowCompositeOfManyRowsKeepsEachRowsHoles) {
  TKernelGuard guard;
  std::mt19937 rng(67);
  std::uniform_int_distribution<int> byte(0, 255);
  const TBitmap parent = RandomBitmap(rng, 40, 200, TPixelFormat::pf24bit, false);
  for (TacKernelLevel k : {TacKernelLevel::Scalar, TacKernelLevel::Avx2, TacKernelLevel::Avx512Vbmi}) {
    SetKernelLevel(k);
    for (int rows : {63, 64, 65, 150}) {
      TBitmap pic = RandomBitmap(rng, 9, rows * 2, TPixelFormat::pf24bit, rows % 2 == 0);
      for (int y = 0; y < rows; ++y)
        for (int x = 0; x < 9; ++x)
          if (byte(rng) < 40) pic.SetPixel(x, y, kKey);
      const TBitmap start = RandomBitmap(rng, 14, rows + 4, TPixelFormat::pf24bit, false);
      for (bool update : {false, true}) {
        TBitmap t24 = start, t32 = start;
        t32.SetPixelFormat(TPixelFormat::pf32bit);
        const BackgroundInfo bg = BackgroundInfo::FromBitmap(&parent, 4, 3);
        CompositeMasked(t24, 3, 2, pic, {0, 0, 9, rows}, rows, bg, update);
        CompositeMasked(t32, 3, 2, pic, {0, 0, 9, rows}, rows, bg, update);
        for (int y = 0; y < start.Height(); ++y)
          for (int x = 0; x < start.Width(); ++x)
            ASSERT_EQ(t24.Pixel(x, y), t32.Pixel(x, y)) << rows << " rows, update " << update << " at " << x << "," << y;
      }
    }
  }
}

// The row-wise way keeps what a short slice's rows hold from one face to the next.
// A picture changed in place between faces (a pixel, a hole made or filled, a mask
// band row cleared) must be drawn as it is now, as the slice-by-slice way draws it.
TEST(FastPaths, APictureChangedBetweenFacesIsDrawnAsItIsNow) {
  TKernelGuard guard;
  std::mt19937 rng(71);
  std::uniform_int_distribution<int> byte(0, 255), change(0, 3);
  for (TacKernelLevel k : {TacKernelLevel::Scalar, TacKernelLevel::Avx2, TacKernelLevel::Avx512Vbmi}) {
    SetKernelLevel(k);
    TPaintSkin skin;
    TBitmap& master = *skin.Model.MasterBitmap;
    constexpr int kFrameW = 12, kFrameH = 10;  // the picture's upper half, its mask band below
    for (int y = 0; y < kFrameH * 2; ++y)
      for (int x = 0; x < kFrameW; ++x) master.SetPixel(x, y, static_cast<TColor>(byte(rng) | byte(rng) << 8 | byte(rng) << 16));
    const int b = skin.AddMask("BUTTON", "BORDERSMASK", {0, 0, kFrameW, kFrameH * 2}, 1, 1, TacImgType::itisaBorder, 4);
    TsMaskData& m = skin.Mask(b);
    m.WL = m.WT = m.WR = m.WB = 3;
    const TBitmap start = RandomBitmap(rng, 60, 30, TPixelFormat::pf24bit, true);
    const TRect r{2, 1, 58, 29};
    for (int face = 0; face < 40; ++face) {
      // Something in the slices' rows changes after every face but the first.
      const int x = byte(rng) % kFrameW, y = byte(rng) % kFrameH;
      if (face > 0) switch (change(rng)) {
          case 0: master.SetPixel(x, y, static_cast<TColor>(byte(rng) << 8 | byte(rng))); break;
          case 1: master.SetPixel(x, y, kKey); break;
          case 2: master.SetPixel(x, y + kFrameH, static_cast<TColor>(byte(rng) << 16 | byte(rng))); break;
          default:
            for (int i = 0; i < kFrameW; ++i) master.SetPixel(i, y + kFrameH, 0);
        }
      TBitmap face24 = start, face32 = start;
      face32.SetPixelFormat(TPixelFormat::pf32bit);
      DrawBorderMask(face24, r, true, BackgroundInfo::FromColor(kKey), m, TacPaintState::Normal, false);
      DrawBorderMask(face32, r, true, BackgroundInfo::FromColor(kKey), m, TacPaintState::Normal, false);
      for (int py = 0; py < start.Height(); ++py)
        for (int px = 0; px < start.Width(); ++px)
          ASSERT_EQ(face24.Pixel(px, py), face32.Pixel(px, py)) << "face " << face << " at " << px << "," << py;
    }
  }
}
