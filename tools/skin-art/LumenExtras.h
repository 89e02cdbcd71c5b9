#pragma once
// The internal skin's pictures outside the master bitmap.
#include "platform/gfx/Bitmap.h"

// 36 x 34 RGBA glow around a caption button, in the colour given (0xRRGGBB).
TBitmap PaintGlow(unsigned rgb);
// 288 x 192 8-bit picture of the large button: three 96 x 96 states over their mask band.
TBitmap PaintHugeButton();
