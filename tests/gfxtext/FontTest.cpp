// Face resolution, metrics, the glyph cache and Cyrillic coverage.
#include <gtest/gtest.h>

#include "platform/gfx/FontEngine.h"
#include "tests/gfxtext/TextTestSupport.h"

using namespace gfxtext;

namespace {

const char* const kFaces[] = {"Arial", "Palatino Linotype", "MS Sans Serif"};
const char* const kAlphabet = "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя";

TEST(FontResolve, ClassicNamesGoToTheirMetricCompatibleFamilies) {
  TFontEngine& engine = TFontEngine::Instance();
  EXPECT_EQ(engine.Resolve("Arial", 400, false).Family, "Liberation Sans");
  EXPECT_EQ(engine.Resolve("Palatino Linotype", 400, false).Family, "P052");
  EXPECT_EQ(engine.Resolve("MS Sans Serif", 400, false).Family, "DejaVu Sans");
  // Names are matched without regard to case, as the classic font mapper does.
  EXPECT_EQ(engine.Resolve("arial", 400, false).File, engine.Resolve("Arial", 400, false).File);
}

TEST(FontResolve, StylesPickRealBoldAndItalicFiles) {
  TFontEngine& engine = TFontEngine::Instance();
  const TResolvedFont& regular = engine.Resolve("Arial", 400, false);
  const TResolvedFont& bold = engine.Resolve("Arial", 700, false);
  const TResolvedFont& italic = engine.Resolve("Palatino Linotype", 400, true);
  EXPECT_NE(bold.File, regular.File);
  EXPECT_NE(bold.Style.find("Bold"), std::string::npos) << bold.Style;
  EXPECT_FALSE(bold.Embolden);  // a real bold file, no synthesis
  EXPECT_EQ(italic.Family, "P052");
  EXPECT_NE(italic.Style.find("Italic"), std::string::npos) << italic.Style;
  EXPECT_FALSE(italic.Oblique);
  EXPECT_FALSE(regular.Embolden || regular.Oblique);
}

TEST(FontResolve, UnknownAndEmptyNamesStillGiveACyrillicFace) {
  for (const char* name : {"No Such Face 4711", ""}) {
    TFontFace& face = Face(name, -12);
    EXPECT_FALSE(face.Resolved().File.empty()) << name;
    EXPECT_TRUE(face.HasGlyph(U'Ж')) << name << " -> " << face.Resolved().Family;
  }
}

TEST(FontMetrics, NegativeHeightIsTheEmSize) {
  for (const char* name : kFaces) {
    TFontFace& face = Face(name, -11);
    const TTextMetric& m = face.Metric();
    EXPECT_EQ(face.PixelSize(), 11) << name;
    EXPECT_EQ(m.tmHeight, m.tmAscent + m.tmDescent) << name;
    EXPECT_EQ(m.tmInternalLeading, m.tmHeight - 11) << name;
    EXPECT_GT(m.tmInternalLeading, 0) << name;
    EXPECT_GT(m.tmAveCharWidth, 2) << name;
    EXPECT_GE(m.tmMaxCharWidth, m.tmAveCharWidth) << name;
    EXPECT_EQ(m.tmWeight, 400) << name;
  }
  // An 8-point caption keeps a cell a line of controls can be laid out with.
  EXPECT_GE(Face("Arial", -11).Metric().tmHeight, 12);
  EXPECT_LE(Face("Arial", -11).Metric().tmHeight, 14);
}

TEST(FontMetrics, PositiveHeightIsTheCellHeight) {
  for (const char* name : kFaces) {
    for (int height : {13, 16, 24, 33}) {
      TFontFace& face = Face(name, height);
      EXPECT_EQ(face.Metric().tmHeight, height) << name;
      EXPECT_LT(face.PixelSize(), height) << name;
      EXPECT_EQ(face.Metric().tmInternalLeading, height - face.PixelSize()) << name;
    }
  }
}

TEST(FontMetrics, StyleAndOddHeights) {
  TFontFace& bold = Face("Arial", -11, 700);
  EXPECT_EQ(bold.Metric().tmWeight, 700);
  EXPECT_GE(bold.Glyph(U'Ш').Advance, Face("Arial", -11).Glyph(U'Ш').Advance);
  EXPECT_EQ(Face("Arial", -11, 400, true).Metric().tmItalic, 1);
  EXPECT_GT(Face("Arial", 0).PixelSize(), 0);  // 0 asks for a default size
  EXPECT_LE(Face("Arial", -1000000).PixelSize(), 1000);  // absurd sizes are clamped
  EXPECT_LE(Face("Arial", 1000000).PixelSize(), 1000);
}

TEST(FontCache, FacesAndGlyphsAreMadeOnce) {
  TFontEngine& engine = TFontEngine::Instance();
  TFontFace& first = engine.Face({"Arial", -13});
  TFontFace& again = engine.Face({"Arial", -13, 400, false, true, true});  // decorations share the face
  EXPECT_EQ(&first, &again);
  EXPECT_NE(&first, &engine.Face({"Arial", -14}));
  const TGlyph* glyph = &first.Glyph(U'Щ');
  EXPECT_EQ(&first.Glyph(U'Щ'), glyph);
  TBitmap bitmap = Canvas(200, 30);
  TWholeTarget whole(bitmap);
  TRect rect{0, 0, 200, 30};
  // The first layout also caches the space and the ellipsis dot; drawing again makes nothing new.
  DrawTextOn(first, {}, "Щ", rect, DT_SINGLELINE, &whole.Target);
  const std::size_t cached = first.CachedGlyphCount();
  rect = {0, 0, 200, 30};
  DrawTextOn(first, {}, "Щ", rect, DT_SINGLELINE, &whole.Target);
  EXPECT_EQ(first.CachedGlyphCount(), cached);
  EXPECT_EQ(&first.Glyph(U'Щ'), glyph);
  // Outside the direct table too.
  const TGlyph* arrow = &first.Glyph(U'→');
  EXPECT_EQ(&first.Glyph(U'→'), arrow);
}

TEST(FontGlyphs, EveryCyrillicLetterHasInkInsideItsCell) {
  for (const char* name : kFaces) {
    for (int height : {-9, -11, -12, -13, -16, -21, -24}) {
      TFontFace& face = Face(name, height);
      const std::string_view alphabet = kAlphabet;
      for (std::size_t pos = 0; pos < alphabet.size();) {
        const std::size_t at = pos;
        const char32_t cp = NextCodePoint(alphabet, pos);
        const std::string letter(alphabet.substr(at, pos - at));
        EXPECT_TRUE(face.HasGlyph(cp)) << name << " " << letter;
        const TGlyph& g = face.Glyph(cp);
        int ink = 0;
        for (std::uint8_t c : g.Coverage) ink += c > 64;
        EXPECT_GT(ink, 3) << name << " " << height << " " << letter;
        EXPECT_GT(g.Advance, 2) << name << " " << letter;
        // Within the cell, so that text clipped to its cell keeps the marks of Ё and Й
        // and the descenders.
        EXPECT_LE(g.Top, face.Ascent()) << name << " " << height << " " << letter;
        EXPECT_LE(g.Rows - g.Top, face.Metric().tmDescent) << name << " " << height << " " << letter;
      }
    }
  }
}

TEST(FontGlyphs, MissingCodePointsComeFromTheFallbackFace) {
  TFontFace& face = Face("Arial", -16);
  const char32_t check = U'✓';
  ASSERT_FALSE(face.HasGlyph(check)) << "Liberation Sans gained a check mark; pick another code point";
  const TGlyph& g = face.Glyph(check);
  int ink = 0;
  for (std::uint8_t c : g.Coverage) ink += c > 64;
  EXPECT_GT(ink, 5);
  EXPECT_GT(g.Advance, 0);
}

// The fallback's file is opened for the first code point a face lacks, not
// with the face: captions in letters the file has never open it.
TEST(FontGlyphs, TheFallbackFaceOpensWithTheFirstMissingCodePoint) {
  TFontEngine& engine = TFontEngine::Instance();
  const std::size_t before = engine.FaceCount();
  TFontFace& face = Face("Arial", -23);  // a size no other test asks for
  ASSERT_EQ(engine.FaceCount(), before + 1);
  for (char32_t cp : std::u32string(U"Уроки Тесты Lessons 0123")) EXPECT_GT(face.Glyph(cp).Advance, 0);
  EXPECT_EQ(engine.FaceCount(), before + 1);
  const TGlyph& mark = face.Glyph(U'✓');
  EXPECT_EQ(engine.FaceCount(), before + 2);
  EXPECT_GT(mark.Advance, 0);
  // Asked once: a second missing code point borrows from the same face.
  face.Glyph(U'✗');
  EXPECT_EQ(engine.FaceCount(), before + 2);
}

TEST(FontGlyphs, ControlCharactersDrawNothing) {
  TFontFace& face = Face("Arial", -16);
  for (char32_t cp : {U'\t', U'\n', U'\r', U'\x01', U'\x7F'}) {
    EXPECT_EQ(face.Glyph(cp).Advance, 0);
    EXPECT_TRUE(face.Glyph(cp).Coverage.empty());
  }
}

}  // namespace
