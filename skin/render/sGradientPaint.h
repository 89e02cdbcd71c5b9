#pragma once
// Painting of the gradient descriptions of skin sections (see skin/core/sGradient.h).
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Types.h"
#include "skin/core/sGradient.h"

// Fills rect (clipped to the bitmap) with the stops; the first stop's mode picks
// vertical bands (0), horizontal bands (1) or the four-triangle fill (2).
// 24- and 32-bit bitmaps (alpha 255); nothing for no stops or other depths.
void PaintGradient(TBitmap& bitmap, TRect rect, const TsGradArray& stops);
