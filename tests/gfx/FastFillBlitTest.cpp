// The quick paths of Fill and of the 24-to-32-bit copy against per-pixel
// definitions, on random sizes, both ways up and with clipping.
#include <gtest/gtest.h>

#include <random>

#include "platform/gfx/DeviceContext.h"

namespace {

TBitmap RandomPixels(std::mt19937& rng, int w, int h, TPixelFormat format, bool topDown) {
  TBitmap b(w, h, format, topDown);
  std::uniform_int_distribution<std::uint32_t> any;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, static_cast<TColor>(any(rng) & 0xFFFFFF));
  return b;
}

}  // namespace

TEST(FastPaths, FillWritesEveryPixelAndOnlyThePixels) {
  std::mt19937 rng(31);
  std::uniform_int_distribution<int> size(1, 45), coin(0, 1);
  std::uniform_int_distribution<std::uint32_t> colour(0, 0xFFFFFF);
  for (int round = 0; round < 200; ++round) {
    const TPixelFormat format = coin(rng) ? TPixelFormat::pf32bit : TPixelFormat::pf24bit;
    TBitmap b = RandomPixels(rng, size(rng), size(rng), format, coin(rng));
    const auto c = static_cast<TColor>(colour(rng));
    b.Fill(c);
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) {
        ASSERT_EQ(b.Pixel(x, y), c) << round << " at " << x << "," << y;
        if (format == TPixelFormat::pf32bit) {
          ASSERT_EQ(b.Pixel32(x, y) >> 24, 255u);
        }
      }
  }
}

TEST(FastPaths, CopyOf24BitOnto32BitMatchesPerPixelCopy) {
  std::mt19937 rng(37);
  std::uniform_int_distribution<int> size(1, 40), coord(-8, 40), coin(0, 1);
  for (int round = 0; round < 300; ++round) {
    const TBitmap src = RandomPixels(rng, size(rng), size(rng), TPixelFormat::pf24bit, coin(rng));
    TBitmap dst = RandomPixels(rng, size(rng), size(rng), TPixelFormat::pf32bit, coin(rng));
    TBitmap expect = dst;
    const int dx = coord(rng), dy = coord(rng), sx = coord(rng), sy = coord(rng), w = size(rng), h = size(rng);
    const TRect clip{coord(rng), coord(rng), coord(rng) + 10, coord(rng) + 10};
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const int px = sx + x, py = sy + y, qx = dx + x, qy = dy + y;
        if (px < 0 || py < 0 || px >= src.Width() || py >= src.Height()) continue;
        if (qx < 0 || qy < 0 || qx >= dst.Width() || qy >= dst.Height()) continue;
        if (qx < clip.Left || qy < clip.Top || qx >= clip.Right || qy >= clip.Bottom) continue;
        expect.SetPixel(qx, qy, src.Pixel(px, py));
      }
    TDeviceContext s(const_cast<TBitmap&>(src)), d(dst);
    IntersectClipRect(&d, clip.Left, clip.Top, clip.Right, clip.Bottom);
    ASSERT_TRUE(BitBlt(&d, dx, dy, w, h, &s, sx, sy, SRCCOPY));
    for (int y = 0; y < dst.Height(); ++y)
      for (int x = 0; x < dst.Width(); ++x) ASSERT_EQ(dst.Pixel32(x, y), expect.Pixel32(x, y)) << round << " at " << x << "," << y;
  }
}

namespace {

// The canonical region of the pixels for which keep(x, y) holds, made from 1 x 1
// rectangles, so it never passes through a short cut.
template <class F>
TRegion RegionOfPixels(F keep) {
  std::vector<TRect> pixels;
  for (int y = -2; y < 72; ++y)  // beyond every random rectangle
    for (int x = -2; x < 72; ++x)
      if (keep(x, y)) pixels.push_back({x, y, x + 1, y + 1});
  return TRegion::FromRects(pixels);
}

TRegion RandomRegion(std::mt19937& rng) {
  std::uniform_int_distribution<int> count(0, 4), coord(0, 26), len(1, 14);
  std::vector<TRect> rects;
  for (int n = count(rng); n > 0; --n) {
    const int x = coord(rng), y = coord(rng);
    rects.push_back({x, y, x + len(rng), y + len(rng)});
  }
  return TRegion::FromRects(rects);
}

}  // namespace

TEST(FastPaths, RegionOperationsGiveTheCanonicalRegionOfTheirPixels) {
  std::mt19937 rng(41);
  std::uniform_int_distribution<int> coord(-2, 28), len(0, 30);
  for (int round = 0; round < 400; ++round) {
    const TRegion a = RandomRegion(rng), b = RandomRegion(rng);
    const TRect r{coord(rng), coord(rng), coord(rng) + len(rng), coord(rng) + len(rng)};
    ASSERT_EQ(a.Intersect(b), RegionOfPixels([&](int x, int y) { return a.Contains(x, y) && b.Contains(x, y); })) << round;
    ASSERT_EQ(a.Subtract(b), RegionOfPixels([&](int x, int y) { return a.Contains(x, y) && !b.Contains(x, y); })) << round;
    ASSERT_EQ(a.Union(b), RegionOfPixels([&](int x, int y) { return a.Contains(x, y) || b.Contains(x, y); })) << round;
    const auto inR = [&](int x, int y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; };
    const TRegion clipped = a.Intersect(r);
    ASSERT_EQ(clipped, RegionOfPixels([&](int x, int y) { return a.Contains(x, y) && inR(x, y); })) << round;
    ASSERT_EQ(clipped.Bounds(), RegionOfPixels([&](int x, int y) { return a.Contains(x, y) && inR(x, y); }).Bounds());
    ASSERT_EQ(a.Subtract(TRegion(r)).Bounds(), RegionOfPixels([&](int x, int y) { return a.Contains(x, y) && !inR(x, y); }).Bounds());
  }
}
