#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "platform/gfx/DeviceContext.h"
#include "tests/gfx/GfxTestUtil.h"

namespace {

TRIVERTEX Vertex(int x, int y, int r, int g, int b) {
  return {x, y, static_cast<COLOR16>(r), static_cast<COLOR16>(g), static_cast<COLOR16>(b), 0};
}

TEST(GradientFill, TriangleCoversPixelCentresWithTopLeftRule) {
  TBitmap b(8, 8, TPixelFormat::pf24bit);
  b.Fill(clBlack);
  const TRIVERTEX v[] = {Vertex(0, 0, 0xFF00, 0, 0), Vertex(8, 0, 0xFF00, 0, 0), Vertex(0, 8, 0xFF00, 0, 0)};
  const GRADIENT_TRIANGLE t{0, 1, 2};
  GradientFillTriangles(b, Rect(0, 0, 8, 8), v, 3, &t, 1);
  // Centres on the hypotenuse (x + y = 7) belong to a right/bottom edge: not filled.
  EXPECT_EQ(Picture(b, clRed),
            "#######.\n######..\n#####...\n####....\n###.....\n##......\n#.......\n........\n");
  // The other winding paints the same pixels.
  TBitmap c(8, 8, TPixelFormat::pf24bit);
  c.Fill(clBlack);
  const GRADIENT_TRIANGLE reversed{0, 2, 1};
  GradientFillTriangles(c, Rect(0, 0, 8, 8), v, 3, &reversed, 1);
  EXPECT_EQ(Picture(c, clRed), Picture(b, clRed));
}

TEST(GradientFill, TriangleInterpolatesAtPixelCentres) {
  TBitmap b(8, 8, TPixelFormat::pf32bit);
  // Red grows from 0 at x = 0 to 0x8000 at x = 8: at centre x + 0.5 it is 4096·(x + 0.5),
  // i.e. 16·x + 8 in 8 bits. Green does the same along y.
  const TRIVERTEX v[] = {Vertex(0, 0, 0, 0, 0), Vertex(8, 0, 0x8000, 0, 0), Vertex(0, 8, 0, 0x8000, 0)};
  const GRADIENT_TRIANGLE t{0, 1, 2};
  GradientFillTriangles(b, Rect(0, 0, 8, 8), v, 3, &t, 1);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x + y < 7; ++x)
      ASSERT_EQ(b.Pixel32(x, y), 0xFF000000u | RGB(static_cast<std::uint8_t>(16 * x + 8), static_cast<std::uint8_t>(16 * y + 8), 0))
          << x << "," << y;
  EXPECT_EQ(b.Pixel32(7, 7), 0u);  // outside: untouched
}

TEST(GradientFill, SharedEdgesAreCoveredExactlyOnce) {
  std::mt19937 rng(99);
  std::uniform_int_distribution<int> coord(0, 30);
  int tested = 0;
  for (int round = 0; round < 100; ++round) {
    // A quadrilateral split along a diagonal: every pixel inside goes to one triangle.
    TRIVERTEX v[] = {Vertex(coord(rng), coord(rng), 0xFF00, 0, 0), Vertex(coord(rng), coord(rng), 0xFF00, 0, 0),
                     Vertex(coord(rng), coord(rng), 0xFF00, 0, 0), Vertex(coord(rng), coord(rng), 0xFF00, 0, 0)};
    if (round == 0) {
      // A square split along x = y: the diagonal runs through pixel centres.
      const int corners[4][2] = {{0, 0}, {8, 0}, {8, 8}, {0, 8}};
      for (int k = 0; k < 4; ++k) v[k].x = corners[k][0], v[k].y = corners[k][1];
    }
    // Only a split of a quadrilateral whose corners 1 and 3 lie on opposite sides of
    // the diagonal 0-2 gives two triangles that do not overlap.
    const auto side = [&](const TRIVERTEX& p) {
      return static_cast<long long>(v[2].x - v[0].x) * (p.y - v[0].y) - static_cast<long long>(v[2].y - v[0].y) * (p.x - v[0].x);
    };
    if (side(v[1]) * side(v[3]) >= 0) continue;
    const GRADIENT_TRIANGLE first{0, 1, 2}, second{0, 2, 3};
    TBitmap a(32, 32, TPixelFormat::pf24bit), c(32, 32, TPixelFormat::pf24bit);
    GradientFillTriangles(a, Rect(0, 0, 32, 32), v, 4, &first, 1);
    GradientFillTriangles(c, Rect(0, 0, 32, 32), v, 4, &second, 1);
    // Signs of the pixel centre against the three edges of a triangle (doubled
    // coordinates keep everything integral), made positive inside.
    const auto signs = [&](int i0, int i1, int i2, int x, int y, long long out[3]) {
      const int idx[3] = {i0, i1, i2};
      long long area = 0;
      for (int k = 0; k < 3; ++k) {
        const TRIVERTEX& p = v[idx[k]];
        const TRIVERTEX& q = v[idx[(k + 1) % 3]];
        out[k] = 2LL * (q.x - p.x) * (2 * y + 1 - 2 * p.y) - 2LL * (q.y - p.y) * (2 * x + 1 - 2 * p.x);
        area += out[k];
      }
      if (area < 0)
        for (int k = 0; k < 3; ++k) out[k] = -out[k];
    };
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        const bool inA = a.Pixel(x, y) == clRed, inC = c.Pixel(x, y) == clRed;
        ASSERT_FALSE(inA && inC) << "painted twice at " << x << "," << y;
        long long sa[3], sc[3];
        signs(0, 1, 2, x, y, sa);
        signs(0, 2, 3, x, y, sc);
        // sa[2] and sc[0] belong to the shared diagonal 2-0 / 0-2.
        const bool strictlyA = sa[0] > 0 && sa[1] > 0 && sa[2] > 0;
        const bool strictlyC = sc[0] > 0 && sc[1] > 0 && sc[2] > 0;
        const bool onDiagonal = sa[2] == 0 && sa[0] > 0 && sa[1] > 0 && sc[1] > 0 && sc[2] > 0;
        if (strictlyA) {
          ASSERT_TRUE(inA) << x << "," << y;
        }
        if (strictlyC) {
          ASSERT_TRUE(inC) << x << "," << y;
        }
        if (onDiagonal) {
          ASSERT_TRUE(inA || inC) << "gap on the shared edge at " << x << "," << y;
        }
      }
    ++tested;
  }
  EXPECT_GT(tested, 20);
}

TEST(GradientFill, RandomTrianglesMatchBarycentricReference) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> coord(-5, 40), channel(0, 0xFFFF);
  for (int round = 0; round < 50; ++round) {
    TRIVERTEX v[3];
    for (auto& p : v) p = Vertex(coord(rng), coord(rng), channel(rng), channel(rng), channel(rng));
    const double area = (v[1].x - v[0].x) * double(v[2].y - v[0].y) - (v[1].y - v[0].y) * double(v[2].x - v[0].x);
    if (area == 0) continue;
    TBitmap b(36, 36, TPixelFormat::pf24bit);
    const GRADIENT_TRIANGLE t{0, 1, 2};
    GradientFillTriangles(b, Rect(0, 0, 36, 36), v, 3, &t, 1);
    for (int y = 0; y < 36; ++y)
      for (int x = 0; x < 36; ++x) {
        const double px = x + 0.5, py = y + 0.5;
        const auto edge = [&](const TRIVERTEX& a, const TRIVERTEX& c) {
          return ((c.x - a.x) * (py - a.y) - (c.y - a.y) * (px - a.x)) / area;
        };
        const double w0 = edge(v[1], v[2]), w1 = edge(v[2], v[0]), w2 = edge(v[0], v[1]);
        if (w0 < -1e-9 || w1 < -1e-9 || w2 < -1e-9) {
          ASSERT_EQ(b.Pixel(x, y), 0) << "outside pixel painted at " << x << "," << y;
          continue;
        }
        if (w0 < 1e-9 || w1 < 1e-9 || w2 < 1e-9) continue;  // on an edge: top-left rule decides
        const double red = (w0 * v[0].Red + w1 * v[1].Red + w2 * v[2].Red) / 256.0;
        const COLORREF got = static_cast<COLORREF>(b.Pixel(x, y));
        ASSERT_NEAR(GetRValue(got), std::floor(red), 1.0) << x << "," << y;
      }
  }
}

TEST(GradientFill, HorizontalAndVerticalRectangles) {
  TBitmap b(4, 3, TPixelFormat::pf24bit);
  const TRIVERTEX v[] = {Vertex(0, 0, 0, 0xFF00, 0), Vertex(4, 3, 0x8000, 0xFF00, 0)};
  const GRADIENT_RECT r{0, 1};
  GradientFillRects(b, Rect(0, 0, 4, 3), v, 2, &r, 1, false);
  // The first column has the first vertex's colour exactly; each column adds 1/4.
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) ASSERT_EQ(b.Pixel(x, y), static_cast<TColor>(RGB(static_cast<std::uint8_t>(32 * x), 255, 0)));
  const TRIVERTEX w[] = {Vertex(0, 0, 0x9000, 0, 0), Vertex(4, 3, 0, 0, 0)};
  GradientFillRects(b, Rect(0, 0, 4, 3), w, 2, &r, 1, true);
  EXPECT_EQ(GetRValue(static_cast<COLORREF>(b.Pixel(2, 0))), 0x90);
  EXPECT_EQ(GetRValue(static_cast<COLORREF>(b.Pixel(2, 1))), 0x60);
  EXPECT_EQ(GetRValue(static_cast<COLORREF>(b.Pixel(2, 2))), 0x30);
}

TEST(GradientFill, DeviceContextAppliesViewportAndClip) {
  TBitmap b(6, 4, TPixelFormat::pf32bit);
  HDC dc = &b.Canvas();
  SetViewportOrgEx(dc, 2, 0, nullptr);
  IntersectClipRect(dc, 0, 1, 10, 3);
  const TRIVERTEX v[] = {Vertex(0, 0, 0xFF00, 0xFF00, 0xFF00), Vertex(2, 4, 0xFF00, 0xFF00, 0xFF00)};
  const GRADIENT_RECT r{0, 1};
  ASSERT_TRUE(GradientFill(dc, v, 2, &r, 1, GRADIENT_FILL_RECT_H));
  EXPECT_EQ(Picture(b, clWhite), "......\n..##..\n..##..\n......\n");
  EXPECT_EQ(b.Pixel32(2, 1), 0xFFFFFFFFu);
  EXPECT_FALSE(GradientFill(dc, v, 2, &r, 1, 7));
  // Out-of-range vertex indexes are skipped, not read.
  const GRADIENT_TRIANGLE bad{0, 1, 9};
  EXPECT_TRUE(GradientFill(dc, v, 2, &bad, 1, GRADIENT_FILL_TRIANGLE));
}

}  // namespace

namespace {

TEST(GradientFill, FarVerticesAreSkippedWithoutOverflow) {
  TBitmap b(4, 4, TPixelFormat::pf24bit);
  const TRIVERTEX v[] = {Vertex(-2000000000, -2000000000, 0xFF00, 0, 0), Vertex(2000000000, 0, 0xFF00, 0, 0),
                         Vertex(0, 2000000000, 0xFF00, 0, 0), Vertex(4, 4, 0xFF00, 0, 0)};
  const GRADIENT_TRIANGLE t{0, 1, 2};
  GradientFillTriangles(b, Rect(0, 0, 4, 4), v, 4, &t, 1);
  const GRADIENT_RECT r{0, 3};
  GradientFillRects(b, Rect(0, 0, 4, 4), v, 4, &r, 1, false);
  EXPECT_EQ(Picture(b, clBlack), "####\n####\n####\n####\n");
  // The largest accepted coordinates still draw correctly.
  const TRIVERTEX big[] = {Vertex(-(1 << 20), -(1 << 20), 0xFF00, 0, 0), Vertex(1 << 20, -(1 << 20), 0xFF00, 0, 0),
                           Vertex(0, 1 << 20, 0xFF00, 0, 0)};
  GradientFillTriangles(b, Rect(0, 0, 4, 4), big, 3, &t, 1);
  EXPECT_EQ(Picture(b, clRed), "####\n####\n####\n####\n");
}

}  // namespace
