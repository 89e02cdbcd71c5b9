#include "platform/gfx/Region.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/gfx/Bitmap.h"

namespace {

// Pixel-by-pixel reference: the region's pixel set over a window.
std::vector<bool> PixelSet(const TRegion& r, const TRect& window) {
  std::vector<bool> out;
  for (int y = window.Top; y < window.Bottom; ++y)
    for (int x = window.Left; x < window.Right; ++x) out.push_back(r.Contains(x, y));
  return out;
}

void ExpectCanonical(const TRegion& r) {
  const auto& rects = r.Rects();
  for (std::size_t i = 0; i < rects.size(); ++i) {
    EXPECT_FALSE(rects[i].IsEmpty());
    if (i == 0) continue;
    const TRect& a = rects[i - 1];
    const TRect& b = rects[i];
    if (a.Top == b.Top) {
      EXPECT_EQ(a.Bottom, b.Bottom);
      EXPECT_LT(a.Right, b.Left) << "spans of one band must not touch";
    } else {
      EXPECT_GE(b.Top, a.Bottom) << "bands must not overlap";
    }
  }
}

TEST(Region, RectangleBasics) {
  const TRegion r(2, 3, 6, 5);
  EXPECT_EQ(r.Complexity(), SIMPLEREGION);
  EXPECT_EQ(r.Bounds(), Rect(2, 3, 6, 5));
  EXPECT_TRUE(r.Contains(2, 3));
  EXPECT_TRUE(r.Contains(5, 4));
  EXPECT_FALSE(r.Contains(6, 4));  // right and bottom are exclusive
  EXPECT_FALSE(r.Contains(5, 5));
  EXPECT_TRUE(TRegion(Rect(5, 5, 5, 9)).IsEmpty());
  EXPECT_EQ(TRegion().Complexity(), NULLREGION);
}

TEST(Region, CombineOperations) {
  const TRegion a(0, 0, 10, 10), b(5, 5, 15, 15);
  const TRegion both = a.Union(b);
  EXPECT_EQ(both.Complexity(), COMPLEXREGION);
  EXPECT_EQ(both.Bounds(), Rect(0, 0, 15, 15));
  EXPECT_EQ(both.Rects(), (std::vector<TRect>{{0, 0, 10, 5}, {0, 5, 15, 10}, {5, 10, 15, 15}}));
  EXPECT_EQ(a.Intersect(b), TRegion(5, 5, 10, 10));
  const TRegion diff = a.Subtract(b);
  EXPECT_EQ(diff.Rects(), (std::vector<TRect>{{0, 0, 10, 5}, {0, 5, 5, 10}}));
  const TRegion x = a.Xor(b);
  EXPECT_FALSE(x.Contains(7, 7));
  EXPECT_TRUE(x.Contains(2, 7));
  EXPECT_TRUE(x.Contains(12, 12));
  EXPECT_EQ(x, both.Subtract(a.Intersect(b)));
  EXPECT_EQ(a.Combine(b, RGN_COPY), a);
  EXPECT_TRUE(a.Combine(b, 99).IsEmpty());
}

TEST(Region, AdjacentRectanglesMergeToOneCanonicalForm) {
  // Same pixels built in different orders compare equal.
  const TRegion left(0, 0, 5, 10), right(5, 0, 10, 10);
  EXPECT_EQ(left.Union(right), TRegion(0, 0, 10, 10));
  const TRegion top(0, 0, 10, 5), bottom(0, 5, 10, 10);
  EXPECT_EQ(top.Union(bottom), TRegion(0, 0, 10, 10));
  EXPECT_EQ(TRegion::FromRects({{0, 0, 5, 10}, {5, 0, 10, 5}, {5, 5, 10, 10}, {2, 2, 4, 4}}), TRegion(0, 0, 10, 10));
  EXPECT_EQ(TRegion(0, 0, 10, 10).Subtract(TRegion(0, 0, 10, 10)).Complexity(), NULLREGION);
}

TEST(Region, RandomCombinationsMatchPixelReference) {
  std::mt19937 rng(1234);
  std::uniform_int_distribution<int> coord(0, 20);
  const TRect window{-1, -1, 22, 22};
  for (int round = 0; round < 200; ++round) {
    TRegion a, b;
    for (int k = 0; k < 4; ++k) {
      a = a.Union(TRegion(coord(rng), coord(rng), coord(rng), coord(rng)));
      b = b.Union(TRegion(coord(rng), coord(rng), coord(rng), coord(rng)));
    }
    for (int mode : {RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF}) {
      const TRegion c = a.Combine(b, mode);
      ExpectCanonical(c);
      const auto pa = PixelSet(a, window), pb = PixelSet(b, window), pc = PixelSet(c, window);
      for (std::size_t i = 0; i < pc.size(); ++i) {
        bool expected = false;
        switch (mode) {
          case RGN_AND: expected = pa[i] && pb[i]; break;
          case RGN_OR: expected = pa[i] || pb[i]; break;
          case RGN_XOR: expected = pa[i] != pb[i]; break;
          default: expected = pa[i] && !pb[i]; break;
        }
        ASSERT_EQ(pc[i], expected) << "mode " << mode << " round " << round << " pixel " << i;
      }
    }
  }
}

TEST(Region, FromBitmapSkipsKeyPixels) {
  // A 4×3 picture with magenta corners (a rounded button).
  TBitmap b(4, 3, TPixelFormat::pf24bit);
  b.Fill(clBlue);
  b.SetPixel(0, 0, clFuchsia);
  b.SetPixel(3, 0, clFuchsia);
  b.SetPixel(0, 2, clFuchsia);
  b.SetPixel(3, 2, clFuchsia);
  const TRegion r = TRegion::FromBitmap(b, clFuchsia);
  EXPECT_EQ(r.Rects(), (std::vector<TRect>{{1, 0, 3, 1}, {0, 1, 4, 2}, {1, 2, 3, 3}}));
  EXPECT_FALSE(r.Contains(0, 0));
  EXPECT_TRUE(r.Contains(0, 1));
  const TRegion moved = TRegion::FromBitmap(b, clFuchsia, 10, 20);
  EXPECT_EQ(moved, r.Offsetted(10, 20));
  // All key: empty region; no key pixel: the whole rectangle.
  TBitmap key(3, 3, TPixelFormat::pf32bit);
  key.Fill(clFuchsia);
  EXPECT_TRUE(TRegion::FromBitmap(key, clFuchsia).IsEmpty());
  EXPECT_EQ(TRegion::FromBitmap(key, clBlack), TRegion(0, 0, 3, 3));
}

TEST(Region, IdenticalRowsOfABitmapFormOneBand) {
  TBitmap b(5, 6, TPixelFormat::pf24bit);
  b.Fill(clWhite);
  for (int y = 0; y < 6; ++y) b.SetPixel(2, y, clFuchsia);
  const TRegion r = TRegion::FromBitmap(b, clFuchsia);
  EXPECT_EQ(r.Rects(), (std::vector<TRect>{{0, 0, 2, 6}, {3, 0, 5, 6}}));
}

TEST(Region, OffsetAndIntersects) {
  TRegion r = TRegion(0, 0, 4, 4).Union(TRegion(10, 10, 12, 12));
  r.Offset(-2, 3);
  EXPECT_EQ(r.Bounds(), Rect(-2, 3, 10, 15));
  EXPECT_TRUE(r.Contains(-2, 3));
  EXPECT_FALSE(r.Intersects(Rect(3, 3, 7, 12)));
  EXPECT_TRUE(r.Intersects(Rect(9, 14, 20, 20)));
}

TEST(Region, ClassicWrappers) {
  HRGN a = CreateRectRgn(0, 0, 10, 10);
  HRGN b = CreateRectRgn(15, 15, 5, 5);  // swapped corners are ordered
  HRGN d = CreateRectRgn(0, 0, 0, 0);
  RECT box;
  EXPECT_EQ(GetRgnBox(b, &box), SIMPLEREGION);
  EXPECT_EQ(box, Rect(5, 5, 15, 15));
  EXPECT_EQ(CombineRgn(d, a, b, RGN_OR), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(d, 14, 14));
  EXPECT_FALSE(PtInRegion(d, 14, 2));
  EXPECT_EQ(CombineRgn(d, a, b, RGN_AND), SIMPLEREGION);
  EXPECT_EQ(GetRgnBox(d, &box), SIMPLEREGION);
  EXPECT_EQ(box, Rect(5, 5, 10, 10));
  EXPECT_EQ(CombineRgn(d, d, d, RGN_DIFF), NULLREGION);  // destination may be a source
  EXPECT_EQ(CombineRgn(d, a, nullptr, RGN_COPY), SIMPLEREGION);
  EXPECT_TRUE(EqualRgn(d, a));
  EXPECT_EQ(CombineRgn(d, a, nullptr, RGN_OR), ERROR);
  EXPECT_EQ(CombineRgn(d, a, b, 0), ERROR);
  EXPECT_EQ(OffsetRgn(d, 100, 0), SIMPLEREGION);
  EXPECT_FALSE(EqualRgn(d, a));
  RECT probe = Rect(105, 5, 106, 6);
  EXPECT_TRUE(RectInRegion(d, &probe));
  HRGN indirect = CreateRectRgnIndirect(&probe);
  EXPECT_EQ(GetRgnBox(indirect, &box), SIMPLEREGION);
  EXPECT_TRUE(DeleteObject(a));
  // A deleted handle is refused, not dereferenced.
  EXPECT_EQ(CombineRgn(d, a, b, RGN_OR), ERROR);
  EXPECT_FALSE(DeleteObject(a));
  EXPECT_FALSE(PtInRegion(a, 1, 1));
  for (HRGN h : {b, d, indirect}) EXPECT_TRUE(DeleteObject(h));
}

}  // namespace
