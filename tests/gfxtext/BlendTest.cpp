// The glyph blending loops against a naive per-pixel reference.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "platform/gfx/TextBlend.h"
#include "tests/gfxtext/TextTestSupport.h"

using namespace gfxtext;

namespace {

TGlyph RandomGlyph(std::mt19937& rng) {
  TGlyph g;
  g.Width = static_cast<int>(rng() % 17);
  g.Rows = static_cast<int>(rng() % 19) + 1;
  g.Left = static_cast<int>(rng() % 7) - 3;
  g.Top = static_cast<int>(rng() % 20);
  g.Advance = g.Width;
  g.Coverage.resize(static_cast<std::size_t>(g.Width) * g.Rows);
  for (auto& c : g.Coverage) {
    const unsigned pick = rng() % 4;
    c = pick == 0 ? 0 : pick == 1 ? 255 : static_cast<std::uint8_t>(rng() % 256);
  }
  return g;
}

void Scribble(TBitmap& bitmap, std::mt19937& rng) {
  const int bpp = bitmap.PixelFormat() == TPixelFormat::pf32bit ? 4 : 3;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width() * bpp; ++x) bitmap.ScanLine(y)[x] = static_cast<std::uint8_t>(rng());
}

// Each test runs with the wide glyph rows (where the machine has them) and without.
class GlyphBlendPaths : public ::testing::TestWithParam<bool> {
protected:
  void SetUp() override {
    Saved = SetWideGlyphBlend(GetParam());
    if (GetParam() && !SetWideGlyphBlend(true)) GTEST_SKIP() << "this machine lacks the wide instructions";
  }
  void TearDown() override { SetWideGlyphBlend(Saved); }
  bool Saved = false;
};

INSTANTIATE_TEST_SUITE_P(Paths, GlyphBlendPaths, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Wide" : "Reference"; });

TEST_P(GlyphBlendPaths, MatchesTheReferenceOnRandomLayouts) {
  std::mt19937 rng(20261209);
  for (int round = 0; round < 300; ++round) {
    const TPixelFormat format = round % 2 ? TPixelFormat::pf32bit : TPixelFormat::pf24bit;
    const int width = 1 + static_cast<int>(rng() % 41);
    const int height = 1 + static_cast<int>(rng() % 37);
    TBitmap bitmap(width, height, format, round % 3 == 0);
    Scribble(bitmap, rng);
    const TBitmap before = bitmap;
    std::vector<TGlyph> glyphs;
    for (int i = 0; i < 4; ++i) glyphs.push_back(RandomGlyph(rng));
    std::vector<TPlacedGlyph> placed;
    int pen = static_cast<int>(rng() % 30) - 15;
    for (const TGlyph& g : glyphs) {
      placed.push_back({&g, pen});
      pen += g.Width + 6 + static_cast<int>(rng() % 5);  // bearings of ±3 never overlap
    }
    // Two disjoint clip rectangles, partly outside the bitmap.
    const int split = static_cast<int>(rng() % (width + 1));
    const std::vector<TRect> clip = {{-5, -3, split, height / 2 + 2}, {split, static_cast<int>(rng() % 5), width + 9, height + 4}};
    const int baseline = static_cast<int>(rng() % (height + 20)) - 5;
    const COLORREF color = static_cast<COLORREF>(rng() & 0xFFFFFF);
    BlendGlyphs(bitmap, clip, placed, baseline, color);

    const int bpp = format == TPixelFormat::pf32bit ? 4 : 3;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        int cov = 0;
        bool visible = false;
        for (const TRect& c : clip) visible = visible || c.Contains({x, y});
        for (const TPlacedGlyph& p : placed) {
          const int gx = x - p.X - p.Glyph->Left;
          const int gy = y - (baseline - p.Glyph->Top);
          if (gx >= 0 && gx < p.Glyph->Width && gy >= 0 && gy < p.Glyph->Rows)
            cov = p.Glyph->Coverage[static_cast<std::size_t>(gy) * p.Glyph->Width + gx];
        }
        const std::uint8_t* was = before.ScanLine(y) + x * bpp;
        const std::uint8_t* now = bitmap.ScanLine(y) + x * bpp;
        const unsigned src[3] = {GetBValue(color), GetGValue(color), GetRValue(color)};
        for (int ch = 0; ch < 3; ++ch) {
          const int expected = !visible || cov == 0
                                   ? was[ch]
                                   : static_cast<int>(std::lround((src[ch] * cov + was[ch] * (255.0 - cov)) / 255.0));
          ASSERT_EQ(now[ch], expected) << "round " << round << " at " << x << "," << y << " channel " << ch;
        }
        if (bpp == 4) {
          ASSERT_EQ(now[3], visible && cov ? 255 : was[3]) << "alpha at " << x << "," << y;
        }
      }
  }
}

// Every coverage over every old byte, in each channel, for inks at the ends and
// between, on glyphs wider than one vector step: the result is round((ink * a +
// old * (255 - a)) / 255), with alpha 255 wherever a pixel is covered at all.
TEST_P(GlyphBlendPaths, EveryCoverageOverEveryByteRoundsAsTheFormula) {
  TGlyph g;
  g.Width = 256 + 7;  // ragged last step
  g.Rows = 256;
  g.Top = 256;
  g.Coverage.resize(static_cast<std::size_t>(g.Width) * g.Rows);
  for (int y = 0; y < g.Rows; ++y)
    for (int x = 0; x < g.Width; ++x) g.Coverage[static_cast<std::size_t>(y) * g.Width + x] = static_cast<std::uint8_t>(x);
  const TPlacedGlyph placed[] = {{&g, 1}};
  const TRect clip[] = {{0, 0, 1000, 1000}};
  for (TPixelFormat format : {TPixelFormat::pf24bit, TPixelFormat::pf32bit})
    for (COLORREF color : {COLORREF{0}, COLORREF{0xFFFFFF}, COLORREF{0x2E80D1}, COLORREF{0x01FE7F}}) {
      const int bpp = format == TPixelFormat::pf32bit ? 4 : 3;
      TBitmap bitmap(g.Width + 2, g.Rows, format, true);
      for (int y = 0; y < g.Rows; ++y) std::memset(bitmap.ScanLine(y), y, static_cast<std::size_t>(bitmap.Width()) * bpp);
      BlendGlyphs(bitmap, clip, placed, g.Top, color);
      const unsigned ink[3] = {GetBValue(color), GetGValue(color), GetRValue(color)};
      for (int y = 0; y < g.Rows; ++y) {
        const std::uint8_t* row = bitmap.ScanLine(y);
        ASSERT_EQ(row[0], y) << "the pixel before the glyph";
        ASSERT_EQ(row[(bitmap.Width() - 1) * bpp], y) << "the pixel after the glyph";
        for (int x = 0; x < g.Width; ++x) {
          const unsigned a = x & 0xFF;
          const std::uint8_t* p = row + (x + 1) * bpp;
          for (int ch = 0; ch < 3; ++ch) {
            const unsigned expected = (ink[ch] * a + static_cast<unsigned>(y) * (255 - a) + 127) / 255;
            ASSERT_EQ(p[ch], expected) << "coverage " << a << " over " << y << ", channel " << ch << ", ink " << color;
          }
          if (bpp == 4) {
            ASSERT_EQ(p[3], a ? 255 : y) << "alpha at coverage " << a;
          }
        }
      }
    }
}

TEST(GlyphBlend, PaletteTargetsAreLeftAlone) {
  TBitmap bitmap(20, 20, TPixelFormat::pf8bit);
  const TBitmap before = bitmap;
  TGlyph g;
  g.Width = g.Rows = 5;
  g.Top = 5;
  g.Coverage.assign(25, 255);
  const TPlacedGlyph placed[] = {{&g, 2}};
  const TRect clip[] = {{0, 0, 20, 20}};
  BlendGlyphs(bitmap, clip, placed, 10, 0);
  FillClipped(bitmap, clip, {0, 0, 20, 20}, 0);
  EXPECT_EQ(std::memcmp(bitmap.Bits(), before.Bits(), bitmap.SizeInBytes()), 0);
}

TEST(GlyphBlend, TwentyFourAndThirtyTwoBitTargetsShowTheSameText) {
  TFontFace& face = Face("Arial", -16);
  for (bool topDown : {false, true}) {
    TBitmap rgb = Canvas(260, 30, TPixelFormat::pf24bit, topDown);
    TBitmap rgba = Canvas(260, 30, TPixelFormat::pf32bit, !topDown);
    for (TBitmap* bitmap : {&rgb, &rgba}) {
      TWholeTarget whole(*bitmap, 0x402010);
      TRect rect{4, 4, 256, 26};
      DrawTextOn(face, {}, "Грамматика и орфография", rect, DT_SINGLELINE, &whole.Target);
    }
    EXPECT_TRUE(SamePixels(rgb, rgba));
    EXPECT_FALSE(InkBox(rgb).IsEmpty());
    // Alpha 255 exactly where ink landed, untouched (0) elsewhere.
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 260; ++x)
        ASSERT_EQ(rgba.ScanLine(y)[x * 4 + 3], Rgb(rgba, x, y) != kPaper ? 255 : 0) << x << "," << y;
  }
}

}  // namespace
