#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "skin/render/acFastAccess.h"
#include "tests/skinrender/TestBitmaps.h"

TEST(FastAccess, AttachRefusesMissingTinyAndWrongDepth) {
  TacFast24 f24;
  EXPECT_FALSE(f24.Attach(nullptr));
  TBitmap narrow(1, 5), low(5, 1), deep(4, 4, TPixelFormat::pf32bit), ok(2, 2);
  EXPECT_FALSE(f24.Attach(&narrow));
  EXPECT_EQ(f24.Width, 0);
  EXPECT_FALSE(f24.Attach(&low));
  EXPECT_FALSE(f24.Attach(&deep));
  EXPECT_TRUE(f24.Attach(&ok));
  EXPECT_EQ(f24.Width, 2);
  // A failed attach forgets the previous bitmap.
  EXPECT_FALSE(f24.Attach(&narrow));
  EXPECT_EQ(f24.Width, 0);
  EXPECT_EQ(f24.Bitmap, nullptr);

  TacFast32 f32;
  TBitmap small32(1, 1, TPixelFormat::pf32bit);
  EXPECT_FALSE(f32.Attach(&small32));
  EXPECT_FALSE(f32.Attach(&ok));
  EXPECT_TRUE(f32.Attach(&deep));

  TacFastSum24 sum;
  EXPECT_FALSE(sum.Attach(&ok, &narrow));
  EXPECT_FALSE(sum.Attach(&deep, &ok));
  TBitmap wide(9, 3), tall(4, 7);
  ASSERT_TRUE(sum.Attach(&wide, &tall));
  EXPECT_EQ(sum.Width, 4);
  EXPECT_EQ(sum.Height, 3);
}

TEST(FastAccess, PixelsReadAndWriteInBothRowOrders) {
  for (bool topDown : {false, true}) {
    TBitmap b24(5, 4, TPixelFormat::pf24bit, topDown);
    b24.SetPixel(3, 2, 0x123456);
    TacFast24 f24;
    ASSERT_TRUE(f24.Attach(&b24));
    EXPECT_EQ(f24.Stride < 0, !topDown);
    EXPECT_EQ(f24.Pixel(3, 2), 0x123456);
    EXPECT_EQ(f24.Pixel(0, 0), 0);

    TBitmap b32(5, 4, TPixelFormat::pf32bit, topDown);
    TacFast32 f32;
    ASSERT_TRUE(f32.Attach(&b32));
    f32.SetPixel(4, 3, 0x80123456u);
    EXPECT_EQ(b32.Pixel32(4, 3), 0x80123456u);
    EXPECT_EQ(f32.Pixel(4, 3), 0x80123456u);
    EXPECT_EQ(ByteAt(b32, 4, 3, 0), 0x12);  // blue byte first in memory
    EXPECT_EQ(ByteAt(b32, 4, 3, 3), 0x80);
  }
}

TEST(FastAccess, FillRectClipsAndWritesTheValue) {
  TBitmap b(6, 5, TPixelFormat::pf32bit);
  TacFast32 f;
  ASSERT_TRUE(f.Attach(&b));
  f.FillRect(TRect{-3, 3, 2, 99}, 0xFF0000FFu);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(b.Pixel32(x, y), (x < 2 && y >= 3) ? 0xFF0000FFu : 0u) << x << "," << y;
}

// The exact blend formula for every blend byte and every byte pair, over
// lengths that exercise both the wide loop and its tail.
TEST(FastAccess, BlendBytesIsExactForAllInputs) {
  std::vector<std::uint8_t> d(65536 + 7), s(65536 + 7), expect(65536 + 7);
  for (int a = 0; a < 256; ++a) {
    for (int i = 0; i < 65536 + 7; ++i) {
      d[i] = static_cast<std::uint8_t>(i & 0xFF);
      s[i] = static_cast<std::uint8_t>((i >> 8) & 0xFF);
      expect[i] = static_cast<std::uint8_t>((d[i] * a + s[i] * (255 - a) + 127) / 256);
    }
    BlendBytes(d.data(), s.data(), d.size(), a);
    ASSERT_EQ(d, expect) << "a = " << a;
  }
  // Out-of-range bytes are clamped, not wrapped.
  std::uint8_t x = 255, y = 0;
  BlendBytes(&x, &y, 1, 1000);
  EXPECT_EQ(x, 254);
}

TEST(FastAccess, SumBlendCutsRectanglesToBothBitmaps) {
  std::mt19937 rng(7);
  TBitmap src = RandomBitmap(rng, 6, 6, TPixelFormat::pf24bit, true);
  TBitmap dst = RandomBitmap(rng, 5, 4, TPixelFormat::pf24bit, false);
  const TBitmap before = dst;
  TacFastSum24 sum;
  ASSERT_TRUE(sum.Attach(&src, &dst));
  sum.Alpha = 0;  // (S * 255 + 127) div 256: the source, a byte lower at most
  sum.SrcX1 = -2, sum.SrcY1 = 1, sum.SrcX2 = 100, sum.SrcY2 = 100;
  sum.DstX1 = 1, sum.DstY1 = 0, sum.DstX2 = 100, sum.DstY2 = 100;
  sum.Blend();
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) {
      const int sx = x - 1 - 2, sy = y + 1;  // source column -2 lands on x = 1
      const bool covered = sx >= 0 && sx < 6 && sy < 6;
      for (int c = 0; c < 3; ++c)
        EXPECT_EQ(ByteAt(dst, x, y, c), covered ? (ByteAt(src, sx, sy, c) * 255 + 127) / 256 : ByteAt(before, x, y, c))
            << x << "," << y;
    }
}

TEST(FastAccess, SharedInstancesAreDistinctAndLasting) {
  EXPECT_NE(&SharedFast24A(), &SharedFast24B());
  EXPECT_EQ(&SharedFast24A(), &SharedFast24A());
  EXPECT_EQ(&SharedFastSum24(), &SharedFastSum24());
  EXPECT_EQ(&SharedFast32(), &SharedFast32());
}
