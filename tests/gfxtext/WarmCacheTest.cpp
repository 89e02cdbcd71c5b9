// Warm-cache drawing allocates nothing, and random strings and flags keep the
// measured rectangle and the drawing in agreement.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Text.h"
#include "tests/gfxtext/TextTestSupport.h"

namespace {
std::atomic<long> gAllocations{0};
}  // namespace

// Counts every allocation of the test program.
void* operator new(std::size_t size) {
  ++gAllocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

using namespace gfxtext;

namespace {

TEST(WarmCache, DrawTextThroughAContextAllocatesNothing) {
  TBitmap bitmap = Canvas(400, 60);
  TDeviceContext dc(bitmap);
  HFONT font = CreateFontIndirect({"Arial", -13});
  SelectObject(&dc, font);
  const char* text = "Тест &№1:\tвыберите\nправильный ответ из пяти вариантов";
  const unsigned formats[] = {DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_END_ELLIPSIS,
                              DT_WORDBREAK | DT_EXPANDTABS, DT_CALCRECT | DT_WORDBREAK};
  for (unsigned format : formats) {  // warms faces, glyphs and scratch buffers
    TRect rect{0, 0, 150, 60};
    DrawText(&dc, text, &rect, format);
  }
  TextOut(&dc, 0, 0, text);
  TSize size;
  GetTextExtentPoint32(&dc, text, &size);
  const long before = gAllocations.load();
  for (int i = 0; i < 10; ++i)
    for (unsigned format : formats) {
      TRect rect{0, 0, 150, 60};
      DrawText(&dc, text, &rect, format);
    }
  TextOut(&dc, 0, 0, text);
  GetTextExtentPoint32(&dc, text, &size);
  EXPECT_EQ(gAllocations.load() - before, 0);
  DeleteObject(font);
}

std::string RandomText(std::mt19937& rng) {
  static const char* const kPieces[] = {"Урок", " ", "  ", "\t", "\n", "&", "&&", "тест", "A", "Ёж",
                                        "длинноесловобезпробелов", ",", "й", "\r\n", "W", "…"};
  std::string text;
  const int count = static_cast<int>(rng() % 14);
  for (int i = 0; i < count; ++i) text += kPieces[rng() % std::size(kPieces)];
  return text;
}

TEST(DrawTextProperty, RandomTextStaysInsideItsMeasuredRectangle) {
  std::mt19937 rng(7);
  const unsigned optional[] = {DT_CENTER, DT_RIGHT, DT_WORDBREAK, DT_SINGLELINE, DT_EXPANDTABS, DT_NOPREFIX,
                               DT_END_ELLIPSIS, DT_WORD_ELLIPSIS, DT_EDITCONTROL, DT_HIDEPREFIX, DT_RTLREADING};
  const char* const faces[] = {"Arial", "Palatino Linotype", "MS Sans Serif"};
  for (int round = 0; round < 150; ++round) {
    TFontFace& face = Face(faces[round % 3], -11 - static_cast<int>(rng() % 10), rng() % 2 ? 700 : 400, rng() % 4 == 0);
    const std::string text = RandomText(rng);
    unsigned format = 0;
    for (unsigned flag : optional)
      if (rng() % 3 == 0) format |= flag;
    if (format & DT_RIGHT) format &= ~DT_CENTER;
    const int width = 20 + static_cast<int>(rng() % 200);
    TRect calc{30, 20, 30 + width, 20};
    const int height = DrawTextOn(face, {}, text, calc, format | DT_CALCRECT, nullptr);
    SCOPED_TRACE("round " + std::to_string(round) + " format " + std::to_string(format) + " text \"" + text + "\"");
    ASSERT_EQ(height, calc.Height());
    if (text.empty()) continue;
    ASSERT_EQ(calc.Height() % face.Height(), 0);
    // Without the rectangle's clip the drawing must still stay inside the measured box
    // (but for glyph overhangs: italics may lean a few pixels out).
    TBitmap bitmap = Canvas(520, 400);
    TWholeTarget whole(bitmap);
    TRect draw = calc;
    DrawTextOn(face, {}, text, draw, format | DT_NOCLIP, &whole.Target);
    const TRect ink = InkBox(bitmap);
    if (ink.IsEmpty()) continue;
    const int slack = face.Metric().tmItalic ? face.Height() / 3 : 2;
    EXPECT_GE(ink.Left, calc.Left - slack);
    EXPECT_LE(ink.Right, calc.Right + slack);
    EXPECT_GE(ink.Top, calc.Top);
    EXPECT_LE(ink.Bottom, calc.Bottom + 1);
    // Clipped to the measured rectangle, upright text loses nothing on the right,
    // top or bottom (a first letter may still lean out to the left).
    if (face.Metric().tmItalic) continue;
    TBitmap clipped = Canvas(520, 400);
    TWholeTarget clippedWhole(clipped);
    draw = calc;
    DrawTextOn(face, {}, text, draw, format, &clippedWhole.Target);
    for (int y = 0; y < 400; ++y)
      for (int x = calc.Left; x < 520; ++x)
        ASSERT_EQ(Rgb(clipped, x, y), Rgb(bitmap, x, y)) << x << "," << y;
  }
}

}  // namespace
