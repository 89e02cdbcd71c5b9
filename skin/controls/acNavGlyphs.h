#pragma once
// The navigator's ten glyphs, drawn in code in the internal skin's family: dark
// navy arrows and bars, a blue plus and minus, a pencil, a green check, a red cross
// and a blue circular arrow. Each is a 32-bit picture with its own alpha (smooth
// edges over any face), 13 pixels high and 9 to 15 wide, made once per process.
#include "platform/gfx/Bitmap.h"

// index: 0 first, 1 prior, 2 next, 3 last, 4 insert, 5 delete, 6 edit, 7 post,
// 8 cancel, 9 refresh.
const TBitmap& NavGlyph(int index);
