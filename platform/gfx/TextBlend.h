#pragma once
// Pixel loops of text drawing: glyph coverage blended into 24- and 32-bit bitmaps.
#include <span>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/FontFace.h"
#include "platform/gfx/Types.h"

// A glyph with its pen position in device pixels.
struct TPlacedGlyph {
  const TGlyph* Glyph = nullptr;
  int X = 0;
};

// Blends the glyphs in `color` (0x00BBGGRR) with their pens on row `baseline`,
// inside the union of `clip` (device pixels; the rectangles must not overlap).
// 32-bit targets get alpha 255 wherever a glyph covers a pixel. Palette formats
// are left untouched.
void BlendGlyphs(TBitmap& target, std::span<const TRect> clip, std::span<const TPlacedGlyph> glyphs, int baseline,
                 COLORREF color);

// Glyph rows go through wide instructions where the machine has them (AVX-512 with
// byte permutes) unless TB_PIXEL_KERNELS caps the kernels below that; the per-pixel
// loop is the reference they match byte for byte. Switches the wide path on (where
// available) or off and returns whether it was in use, so tests can run both.
bool SetWideGlyphBlend(bool on);

// A solid rectangle (underlines, opaque text backgrounds), clipped the same way.
void FillClipped(TBitmap& target, std::span<const TRect> clip, const TRect& rect, COLORREF color);
