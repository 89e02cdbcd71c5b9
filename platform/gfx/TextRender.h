#pragma once
// Text layout and drawing over a sized face, independent of the device context:
// the DrawText rules (alignment, word break, tabs, '&' prefixes, ellipsis,
// clipping) and single runs for TextOut and extents. Text is UTF-8.
#include <span>
#include <string_view>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/FontFace.h"
#include "platform/gfx/TextFlags.h"
#include "platform/gfx/Types.h"

// Where and how text lands; rectangles and positions given to the calls below
// are logical and `Origin` is added to reach device pixels.
struct TTextTarget {
  TBitmap* Bitmap = nullptr;
  std::span<const TRect> Clip;  // device pixels, non-overlapping (borrowed)
  TPoint Origin;
  COLORREF TextColor = 0;
  COLORREF BkColor = 0xFFFFFF;
  bool Opaque = false;  // fill each line's cell with BkColor first
};

// Decorations that belong to the logical font rather than the face.
struct TTextStyle {
  bool Underline = false;
  bool StrikeOut = false;
};

// The classic DrawText: returns the height of the text (with DT_VCENTER or
// DT_BOTTOM on a single line, the offset from rect.Top to the bottom of the
// text). With DT_CALCRECT (or no target) nothing is drawn and DT_CALCRECT
// makes `rect` bound the text exactly where it would be drawn.
int DrawTextOn(TFontFace& face, TTextStyle style, std::string_view utf8, TRect& rect, unsigned format,
               const TTextTarget* target);

// Width of the run and cell height, no prefix or tab processing.
TSize TextExtentOf(TFontFace& face, std::string_view utf8);

// One run with its cell's top-left at (x, y), clipped only by the target.
void TextOutOn(TFontFace& face, TTextStyle style, int x, int y, std::string_view utf8, const TTextTarget& target);

// Glyph run drawing at a baseline, for callers that position text themselves
// (device pixels, no origin).
void DrawTextRun(TBitmap& target, std::span<const TRect> clip, TFontFace& face, int x, int baseline,
                 std::string_view utf8, COLORREF color);
