// The DrawText rules over a face: measuring agrees with drawing, alignment,
// prefixes, ellipsis, tabs and clipping.
#include <gtest/gtest.h>

#include <string>

#include "tests/gfxtext/TextTestSupport.h"

using namespace gfxtext;

namespace {

const char* const kSentence = "Съешь же ещё этих мягких французских булок, да выпей чаю";

struct TDrawn {
  TBitmap Bitmap;
  int Result = 0;
};

TDrawn Draw(TFontFace& face, std::string_view text, TRect rect, unsigned format, int width = 400, int height = 200,
            TTextStyle style = {}) {
  TDrawn drawn{Canvas(width, height)};
  TWholeTarget whole(drawn.Bitmap);
  drawn.Result = DrawTextOn(face, style, text, rect, format, &whole.Target);
  return drawn;
}

TRect Calc(TFontFace& face, std::string_view text, TRect rect, unsigned format, int* result = nullptr) {
  const int r = DrawTextOn(face, {}, text, rect, format | DT_CALCRECT, nullptr);
  if (result) *result = r;
  return rect;
}

// The ink of text drawn where the calculated rectangle says lies inside it, and
// reaches its edges (glyph bearings allow a pixel or two of margin).
void ExpectInkFills(const TRect& ink, const TRect& calc, int slack = 2) {
  EXPECT_GE(ink.Left, calc.Left - 1);
  EXPECT_LE(ink.Right, calc.Right + 1);
  EXPECT_GE(ink.Top, calc.Top);
  EXPECT_LE(ink.Bottom, calc.Bottom);
  EXPECT_LE(ink.Left - calc.Left, slack);
  EXPECT_LE(calc.Right - ink.Right, slack);
}

TEST(DrawTextCalc, SingleLineRectangleBoundsTheInk) {
  for (const char* name : {"Arial", "Palatino Linotype", "MS Sans Serif"}) {
    TFontFace& face = Face(name, -16);
    int result = 0;
    const TRect calc = Calc(face, "Привет, мир", {10, 20, 10, 20}, DT_SINGLELINE, &result);
    EXPECT_EQ(calc.Left, 10);
    EXPECT_EQ(calc.Top, 20);
    EXPECT_EQ(calc.Height(), face.Height()) << name;
    EXPECT_EQ(result, face.Height());
    // The advance width, or a pixel more where the last letter's ink overhangs it.
    const int extent = TextExtentOf(face, "Привет, мир").cx;
    EXPECT_GE(calc.Width(), extent) << name;
    EXPECT_LE(calc.Width(), extent + 1) << name;
    const TDrawn drawn = Draw(face, "Привет, мир", calc, DT_SINGLELINE);
    SCOPED_TRACE(name);
    ExpectInkFills(InkBox(drawn.Bitmap), calc);
  }
}

TEST(DrawTextCalc, WordBrokenRectangleMatchesTheDrawnLines) {
  TFontFace& face = Face("Arial", -13);
  const TRect box{5, 5, 165, 300};
  int result = 0;
  const TRect calc = Calc(face, kSentence, box, DT_WORDBREAK, &result);
  const int lines = calc.Height() / face.Height();
  EXPECT_EQ(calc.Height() % face.Height(), 0);
  EXPECT_GE(lines, 3);
  EXPECT_EQ(result, calc.Height());
  EXPECT_LE(calc.Width(), box.Width());
  EXPECT_GT(calc.Width(), box.Width() - 60);

  const TDrawn inBox = Draw(face, kSentence, box, DT_WORDBREAK);
  const TDrawn inCalc = Draw(face, kSentence, calc, DT_WORDBREAK);
  EXPECT_EQ(inBox.Result, calc.Height());
  // Drawing into the measured rectangle breaks the lines at the same words.
  EXPECT_TRUE(SamePixels(inBox.Bitmap, inCalc.Bitmap));
  const TRect ink = InkBox(inCalc.Bitmap);
  ExpectInkFills(ink, calc, 3);
  // The last line carries ink; nothing lies below it.
  EXPECT_GT(InkCount(inCalc.Bitmap, {calc.Left, calc.Bottom - face.Height(), calc.Right, calc.Bottom}), 10);
  EXPECT_LE(ink.Bottom, calc.Bottom);
}

TEST(DrawTextCalc, CentredAndRightAlignedMeasureTheSame) {
  TFontFace& face = Face("Palatino Linotype", -15);
  for (unsigned align : {DT_CENTER, DT_RIGHT}) {
    const TRect calc = Calc(face, kSentence, {0, 0, 180, 0}, DT_WORDBREAK | align);
    const TDrawn drawn = Draw(face, kSentence, calc, DT_WORDBREAK | align);
    ExpectInkFills(InkBox(drawn.Bitmap), calc, 3);
  }
}

TEST(DrawTextCalc, LineBreaksAndLongWords) {
  TFontFace& face = Face("Arial", -13);
  EXPECT_EQ(Calc(face, "один\nдва\r\nтри", {0, 0, 300, 0}, 0).Height(), 3 * face.Height());
  EXPECT_EQ(Calc(face, "один\nдва", {0, 0, 300, 0}, DT_SINGLELINE).Height(), face.Height());
  EXPECT_EQ(Calc(face, "один\n", {0, 0, 300, 0}, 0).Height(), face.Height());
  // A word wider than the line is kept whole (the rectangle widens) unless edit-control
  // breaking splits it.
  const char* word = "Электроэнцефалографический";
  const int wordWidth = TextExtentOf(face, word).cx;
  const TRect whole = Calc(face, word, {0, 0, 60, 0}, DT_WORDBREAK);
  EXPECT_EQ(whole.Width(), wordWidth);
  EXPECT_EQ(whole.Height(), face.Height());
  const TRect split = Calc(face, word, {0, 0, 60, 0}, DT_WORDBREAK | DT_EDITCONTROL);
  EXPECT_LE(split.Width(), 60);
  EXPECT_GE(split.Height(), 3 * face.Height());
  // Empty text measures nothing.
  int result = -1;
  EXPECT_TRUE(Calc(face, "", {3, 4, 50, 60}, 0, &result).IsEmpty());
  EXPECT_EQ(result, 0);
}

TEST(DrawTextAlign, HorizontalFlagsPlaceTheInk) {
  TFontFace& face = Face("Arial", -16);
  const TRect box{20, 10, 380, 40};
  const int width = Calc(face, "Учебник", box, DT_SINGLELINE).Width();
  // Unclipped, so that the last letter's overhang past the rectangle shows too.
  const TRect left = InkBox(Draw(face, "Учебник", box, DT_SINGLELINE | DT_LEFT | DT_NOCLIP).Bitmap);
  const TRect centre = InkBox(Draw(face, "Учебник", box, DT_SINGLELINE | DT_CENTER | DT_NOCLIP).Bitmap);
  const TRect right = InkBox(Draw(face, "Учебник", box, DT_SINGLELINE | DT_RIGHT | DT_NOCLIP).Bitmap);
  EXPECT_NEAR(left.Left, box.Left, 2);
  EXPECT_NEAR(right.Right, box.Right, 2);
  EXPECT_NEAR(centre.Left, box.Left + (box.Width() - width) / 2, 2);
  // Same glyphs, only shifted.
  EXPECT_EQ(right.Width(), left.Width());
  EXPECT_EQ(centre.Left - left.Left, (box.Width() - width) / 2);
  EXPECT_EQ(right.Left - left.Left, box.Width() - width);
}

TEST(DrawTextAlign, VerticalFlagsOnASingleLine) {
  TFontFace& face = Face("Arial", -16);
  const TRect box{0, 20, 300, 120};
  const int h = face.Height();
  const TDrawn top = Draw(face, "Ура", box, DT_SINGLELINE | DT_TOP);
  const TDrawn middle = Draw(face, "Ура", box, DT_SINGLELINE | DT_VCENTER);
  const TDrawn bottom = Draw(face, "Ура", box, DT_SINGLELINE | DT_BOTTOM);
  const int topInk = InkBox(top.Bitmap).Top;
  EXPECT_GE(topInk, box.Top);
  EXPECT_EQ(InkBox(middle.Bitmap).Top - topInk, (box.Height() - h) / 2);
  EXPECT_EQ(InkBox(bottom.Bitmap).Top - topInk, box.Height() - h);
  // Results: the height, or the offset from the top to the bottom of the text.
  EXPECT_EQ(top.Result, h);
  EXPECT_EQ(middle.Result, (box.Height() - h) / 2 + h);
  EXPECT_EQ(bottom.Result, box.Height());
  // Vertical centring needs a single line.
  const TDrawn multi = Draw(face, "Ура", box, DT_VCENTER);
  EXPECT_EQ(InkBox(multi.Bitmap).Top, topInk);
}

TEST(DrawTextPrefix, AmpersandUnderlinesTheNextLetter) {
  TFontFace& face = Face("Arial", -16);
  const TRect box{10, 10, 300, 40};
  const TDrawn marked = Draw(face, "&Файл", box, DT_SINGLELINE);
  const TDrawn plain = Draw(face, "Файл", box, DT_SINGLELINE);
  const TDrawn literal = Draw(face, "&Файл", box, DT_SINGLELINE | DT_NOPREFIX);
  const TDrawn hidden = Draw(face, "&Файл", box, DT_SINGLELINE | DT_HIDEPREFIX);
  const int underline = box.Top + face.Ascent() + face.UnderlineOffset();
  const int firstWidth = face.Glyph(U'Ф').Advance;
  const TRect underFirst{box.Left, underline, box.Left + firstWidth, underline + face.UnderlineThickness()};
  const TRect underRest{box.Left + firstWidth + 1, underline, 300, underline + face.UnderlineThickness()};
  EXPECT_EQ(InkCount(marked.Bitmap, underFirst), firstWidth);
  EXPECT_EQ(InkCount(marked.Bitmap, underRest), InkCount(plain.Bitmap, underRest));
  EXPECT_LT(InkCount(plain.Bitmap, underFirst), firstWidth);
  // The prefix is not drawn; without the underline it is the plain text.
  EXPECT_TRUE(SamePixels(hidden.Bitmap, plain.Bitmap));
  EXPECT_FALSE(SamePixels(marked.Bitmap, plain.Bitmap));
  // DT_NOPREFIX shows the ampersand itself.
  EXPECT_EQ(Calc(face, "&Файл", box, DT_SINGLELINE | DT_NOPREFIX).Width(), TextExtentOf(face, "&Файл").cx);
  EXPECT_GT(InkBox(literal.Bitmap).Width(), InkBox(plain.Bitmap).Width());
  // "&&" is one literal ampersand, with nothing underlined.
  EXPECT_EQ(Calc(face, "Он && она", box, DT_SINGLELINE).Width(), TextExtentOf(face, "Он & она").cx);
  EXPECT_TRUE(SamePixels(Draw(face, "Он && она", box, DT_SINGLELINE).Bitmap,
                         Draw(face, "Он & она", box, DT_SINGLELINE | DT_NOPREFIX).Bitmap));
}

TEST(DrawTextPrefix, PrefixOnlyDrawsJustTheUnderline) {
  TFontFace& face = Face("Arial", -16);
  const TDrawn only = Draw(face, "О&тмена", {0, 0, 300, 30}, DT_SINGLELINE | DT_PREFIXONLY);
  const TRect ink = InkBox(only.Bitmap);
  EXPECT_EQ(ink.Height(), face.UnderlineThickness());
  EXPECT_EQ(ink.Left, face.Glyph(U'О').Advance);
  EXPECT_EQ(ink.Width(), TextExtentOf(face, "От").cx - TextExtentOf(face, "О").cx);
}

TEST(DrawTextEllipsis, LongLinesShortenToFit) {
  TFontFace& face = Face("Arial", -13);
  const TRect box{0, 0, 120, 20};
  for (unsigned flag : {DT_END_ELLIPSIS, DT_WORD_ELLIPSIS}) {
    const TRect calc = Calc(face, kSentence, box, DT_SINGLELINE | flag);
    EXPECT_LE(calc.Width(), box.Width());
    EXPECT_GT(calc.Width(), box.Width() - 30);
    // The shortened line is some beginning of the text followed by three dots.
    const std::string_view text = kSentence;
    bool found = false;
    for (std::size_t cut = 1; cut < text.size() && !found; ++cut) {
      if ((static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) continue;
      found = TextExtentOf(face, std::string(text.substr(0, cut)) + "...").cx == calc.Width() &&
              text[cut - 1] != ' ';
    }
    EXPECT_TRUE(found) << flag;
    const TDrawn drawn = Draw(face, kSentence, box, DT_SINGLELINE | flag);
    EXPECT_LE(InkBox(drawn.Bitmap).Right, calc.Right + 1);
  }
  // Text that fits is left alone.
  EXPECT_EQ(Calc(face, "Да", box, DT_SINGLELINE | DT_END_ELLIPSIS), Calc(face, "Да", box, DT_SINGLELINE));
  // On several lines the end variant shortens only the end of the text, the word
  // variant every line that does not fit.
  const std::string lines = "Электроэнцефалография\nи\nэлектроэнцефалография";
  const TRect narrow{0, 0, 80, 100};
  const TRect wide = Calc(face, lines, narrow, 0);
  const TRect end = Calc(face, lines, narrow, DT_END_ELLIPSIS);
  const TRect every = Calc(face, lines, narrow, DT_WORD_ELLIPSIS);
  EXPECT_GT(wide.Width(), narrow.Width());
  EXPECT_EQ(end.Width(), wide.Width());  // the first line stays long
  EXPECT_LE(every.Width(), narrow.Width());
  TDrawn drawn = Draw(face, lines, narrow, DT_END_ELLIPSIS | DT_NOCLIP);
  EXPECT_GT(InkBox(drawn.Bitmap).Right, narrow.Right);
  EXPECT_LE(InkCount(drawn.Bitmap, {narrow.Right + 1, 2 * face.Height(), 400, 3 * face.Height()}), 0);
  // The word variant ends at a whole word.
  const TRect word = Calc(face, "Первое второе третье", {0, 0, 110, 20}, DT_SINGLELINE | DT_WORD_ELLIPSIS);
  EXPECT_EQ(word.Width(), TextExtentOf(face, "Первое второе...").cx > 110 ? TextExtentOf(face, "Первое...").cx
                                                                         : TextExtentOf(face, "Первое второе...").cx);
}

TEST(DrawTextTabs, ExpandedTabsStopAtEightAverageWidths) {
  TFontFace& face = Face("Arial", -13);
  const int stop = 8 * face.Metric().tmAveCharWidth;
  const TRect box{0, 0, 400, 20};
  const int b = TextExtentOf(face, "б").cx;
  EXPECT_EQ(Calc(face, "а\tб", box, DT_SINGLELINE | DT_EXPANDTABS).Width(), stop + b);
  EXPECT_EQ(Calc(face, "а\t\tб", box, DT_SINGLELINE | DT_EXPANDTABS).Width(), 2 * stop + b);
  EXPECT_EQ(Calc(face, "\tб", box, DT_SINGLELINE | DT_EXPANDTABS).Width(), stop + b);
  // DT_TABSTOP carries the tab size in the second byte (which is why it cannot be
  // combined with DT_CALCRECT and the other flags of that byte).
  const TRect four = InkBox(Draw(face, "\tб", box, DT_SINGLELINE | DT_EXPANDTABS | DT_TABSTOP | (4u << 8)).Bitmap);
  EXPECT_NEAR(four.Left, 4 * face.Metric().tmAveCharWidth, 2);
  // Unexpanded, a tab is as wide as a space.
  EXPECT_EQ(Calc(face, "а\tб", box, DT_SINGLELINE).Width(), TextExtentOf(face, "а б").cx);
  // The tab glyph is at its stop when drawn.
  const TRect ink = InkBox(Draw(face, "\tб", box, DT_SINGLELINE | DT_EXPANDTABS).Bitmap);
  EXPECT_NEAR(ink.Left, stop, 2);
}

// Texts drawn again are not laid out again; what is kept must be told apart by the
// text, the width where lines break, the tab size and the face.
TEST(DrawTextKept, ALayoutIsTakenOnlyForTheSameTextWidthTabsAndFace) {
  TFontFace& face = Face("Arial", -13);
  const std::string text = "Раз два три четыре пять шесть (kept)";
  const int line = face.Height();
  EXPECT_EQ(Calc(face, text, {0, 0, 400, 0}, DT_WORDBREAK).Height(), line);
  EXPECT_GE(Calc(face, text, {0, 0, 60, 0}, DT_WORDBREAK).Height(), 4 * line);
  EXPECT_EQ(Calc(face, text, {0, 0, 400, 0}, DT_WORDBREAK).Height(), line);
  // Texts of one length in bytes.
  const TDrawn one = Draw(face, "Урок один", {0, 0, 200, 30}, DT_SINGLELINE);
  const TDrawn other = Draw(face, "Урок пять", {0, 0, 200, 30}, DT_SINGLELINE);
  EXPECT_FALSE(SamePixels(one.Bitmap, other.Bitmap));
  // More texts than are kept, then the first again: drawn as it was.
  for (int i = 0; i < 40; ++i) Draw(face, "Урок " + std::to_string(i), {0, 0, 200, 30}, DT_SINGLELINE);
  EXPECT_TRUE(SamePixels(Draw(face, "Урок один", {0, 0, 200, 30}, DT_SINGLELINE).Bitmap, one.Bitmap));
  // The tab size rides in the format: right-aligned, the letter after the tab ends at
  // the right edge whatever the size.
  const unsigned tabs = DT_SINGLELINE | DT_EXPANDTABS | DT_TABSTOP | DT_RIGHT;
  const TDrawn two = Draw(face, "\tб", {0, 0, 400, 20}, tabs | (2u << 8));
  const TDrawn six = Draw(face, "\tб", {0, 0, 400, 20}, tabs | (6u << 8));
  EXPECT_NEAR(InkBox(two.Bitmap).Right, 400, 2);
  EXPECT_TRUE(SamePixels(two.Bitmap, six.Bitmap));
  // Another face lays the same text out with its own glyphs.
  TFontFace& larger = Face("Arial", -26);
  EXPECT_EQ(Calc(larger, text, {0, 0, 4000, 0}, DT_WORDBREAK).Height(), larger.Height());
  EXPECT_GT(Calc(larger, text, {0, 0, 4000, 0}, DT_WORDBREAK).Width(), Calc(face, text, {0, 0, 4000, 0}, DT_WORDBREAK).Width() * 3 / 2);
}

TEST(DrawTextClip, TheRectangleClipsUnlessNoClip) {
  TFontFace& face = Face("Arial", -20);
  const TRect box{50, 10, 110, 22};  // narrower and lower than the text
  const TDrawn clipped = Draw(face, kSentence, box, DT_SINGLELINE);
  const TRect ink = InkBox(clipped.Bitmap);
  EXPECT_FALSE(ink.IsEmpty());
  EXPECT_EQ(ink.Intersect(box), ink);
  const TDrawn free = Draw(face, kSentence, box, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(InkBox(free.Bitmap).Right, box.Right + 50);
  EXPECT_GT(InkBox(free.Bitmap).Bottom, box.Bottom);
  // Inside the rectangle both agree.
  for (int y = box.Top; y < box.Bottom; ++y)
    for (int x = box.Left; x < box.Right; ++x) ASSERT_EQ(Rgb(clipped.Bitmap, x, y), Rgb(free.Bitmap, x, y));
}

TEST(DrawTextClip, ARegionOfSeveralRectanglesClips) {
  TFontFace& face = Face("MS Sans Serif", -16);
  TBitmap full = Canvas(300, 40);
  TBitmap parted = Canvas(300, 40);
  TWholeTarget whole(full);
  const TRect parts[] = {{0, 0, 40, 40}, {80, 0, 120, 15}, {80, 15, 300, 40}};
  TTextTarget target = whole.Target;
  target.Bitmap = &parted;
  target.Clip = parts;
  TRect rect{5, 5, 295, 35};
  DrawTextOn(face, {}, kSentence, rect, DT_SINGLELINE | DT_NOCLIP, &whole.Target);
  rect = {5, 5, 295, 35};
  DrawTextOn(face, {}, kSentence, rect, DT_SINGLELINE | DT_NOCLIP, &target);
  int inside = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 300; ++x) {
      bool in = false;
      for (const TRect& p : parts) in = in || p.Contains({x, y});
      if (in) {
        ASSERT_EQ(Rgb(parted, x, y), Rgb(full, x, y)) << x << "," << y;
        inside += Rgb(full, x, y) != kPaper;
      } else {
        ASSERT_EQ(Rgb(parted, x, y), kPaper) << x << "," << y;
      }
    }
  EXPECT_GT(inside, 50);
  // An empty clip draws nothing but still answers the height.
  TBitmap none = Canvas(300, 40);
  target.Bitmap = &none;
  target.Clip = {};
  rect = {5, 5, 295, 35};
  EXPECT_EQ(DrawTextOn(face, {}, kSentence, rect, DT_SINGLELINE, &target), face.Height());
  EXPECT_TRUE(InkBox(none).IsEmpty());
}

TEST(DrawTextStyle, UnderlineStrikeOutAndOpaqueCells) {
  TFontFace& face = Face("Arial", -16);
  const TRect box{10, 10, 300, 40};
  const int width = Calc(face, "Тест", box, DT_SINGLELINE).Width();
  const int baseline = box.Top + face.Ascent();
  const TDrawn under = Draw(face, "Тест", box, DT_SINGLELINE, 400, 200, {true, false});
  const int ul = baseline + face.UnderlineOffset();
  EXPECT_EQ(InkCount(under.Bitmap, {box.Left, ul, box.Left + width, ul + 1}), width);
  EXPECT_EQ(InkCount(under.Bitmap, {box.Left + width, ul, 400, ul + 1}), 0);
  const TDrawn struck = Draw(face, "Тест", box, DT_SINGLELINE, 400, 200, {false, true});
  const int so = baseline - face.StrikeOutOffset();
  EXPECT_EQ(InkCount(struck.Bitmap, {box.Left, so, box.Left + width, so + 1}), width);
  EXPECT_GT(so, box.Top);
  EXPECT_LT(so, baseline);

  TBitmap bitmap = Canvas(400, 60);
  TWholeTarget whole(bitmap, 0x0000FF);
  whole.Target.Opaque = true;
  whole.Target.BkColor = 0x00FF00;
  TRect rect = box;
  DrawTextOn(face, {}, "Тест", rect, DT_SINGLELINE, &whole.Target);
  // Exactly the measured cell is covered: green background, red glyphs, nothing white.
  EXPECT_EQ(InkBox(bitmap), (TRect{box.Left, box.Top, box.Left + width, box.Top + face.Height()}));
  for (int y = box.Top; y < box.Top + face.Height(); ++y)
    for (int x = box.Left; x < box.Left + width; ++x) {
      const COLORREF c = Rgb(bitmap, x, y);
      ASSERT_EQ(GetBValue(c), 0);
      ASSERT_EQ(GetRValue(c) + GetGValue(c), 255) << x << "," << y;  // a mix of the two only
    }
}

TEST(DrawTextLines, EditControlHidesAPartlyVisibleLastLine) {
  TFontFace& face = Face("Arial", -13);
  const int h = face.Height();
  const TRect box{0, 0, 300, 2 * h + h / 2};
  const TDrawn normal = Draw(face, "первая\nвторая\nтретья", box, 0);
  const TDrawn edit = Draw(face, "первая\nвторая\nтретья", box, DT_EDITCONTROL);
  EXPECT_GT(InkCount(normal.Bitmap, {0, 2 * h, 300, box.Bottom}), 0);
  EXPECT_EQ(InkCount(edit.Bitmap, {0, 2 * h, 300, box.Bottom}), 0);
  EXPECT_GT(InkCount(edit.Bitmap, {0, h, 300, 2 * h}), 0);
}

TEST(DrawTextInput, BrokenUtf8AndStrayAmpersandsAreHarmless) {
  TFontFace& face = Face("Arial", -13);
  const std::string broken = std::string("Да\xD0") + "\xFF\xC3" + "нет&";
  const TDrawn drawn = Draw(face, broken, {0, 0, 300, 30}, DT_SINGLELINE);
  EXPECT_EQ(drawn.Result, face.Height());
  EXPECT_FALSE(InkBox(drawn.Bitmap).IsEmpty());
  // A rectangle far outside the bitmap draws nothing and does not fault.
  const TDrawn outside = Draw(face, kSentence, {-5000, -5000, -4000, -4990}, DT_SINGLELINE, 50, 50);
  EXPECT_TRUE(InkBox(outside.Bitmap).IsEmpty());
  const TDrawn partly = Draw(face, kSentence, {-150, -5, 400, 30}, DT_SINGLELINE, 50, 50);
  EXPECT_FALSE(InkBox(partly.Bitmap).IsEmpty());
}

}  // namespace
