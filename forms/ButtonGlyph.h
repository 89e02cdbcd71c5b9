#pragma once
// Glyph and caption placement shared by speed buttons and bit buttons: the
// classic layout rules (Margin -1 centres, Spacing -1 spreads) and the glyph
// cell chosen by button state.
#include <string>

#include "forms/Forward.h"
#include "platform/gfx/Forward.h"
#include "platform/gfx/Types.h"

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
using TNumGlyphs = int;

struct TButtonLayoutResult {
  TPoint GlyphPos;
  TRect TextBounds;
};

// Places a glyph of `glyphSize` and a caption of `textSize` in `client`.
TButtonLayoutResult CalcButtonLayout(const TRect& client, TSize glyphSize, TSize textSize, TButtonLayout layout,
                                     int margin, int spacing);

// Draws the glyph cell for the state (cells: up, disabled, down, exclusive;
// missing cells fall back to the first; a disabled glyph without its own cell is
// drawn grey). The glyph's bottom-left pixel is its transparent colour.
void DrawButtonGlyph(TCanvas& canvas, const TBitmap& glyph, int numGlyphs, TButtonState state, TPoint pos);

// Draws the caption (single line, '&' prefixes), embossed when disabled.
void DrawButtonCaption(TCanvas& canvas, const std::string& caption, TRect bounds, TButtonState state,
                       unsigned extraFlags = 0);

// A raised or sunken push-button frame; the rectangle shrinks inside it.
void DrawButtonFace(TCanvas& canvas, TRect& rect, bool down, bool flatHot, bool flat);
