#pragma once
// Colour adjustment of a loaded skin: hue rotation and saturation change of
// colours and of skin pictures.
#include <cstdint>

#include "platform/gfx/Types.h"

class TBitmap;

// Rotates the hue of an RGB colour (0x00BBGGRR) by the given degrees. Grey
// colours (saturation 0) come back unchanged; the high byte is kept.
TColor ShiftHueColor(TColor color, int degrees);

// The signed amount -100..100 used for a manager saturation value s:
// (-s) mod 101 with the sign of -s.
int SaturationAmount(int saturation);

// Changes the saturation of an RGB colour: every channel moves towards
// (negative saturation) or away from (positive) the average of the three.
TColor ShiftSaturationColor(TColor color, int saturation);

// The same on every pixel of a picture, except the transparent key (magenta)
// and grey pixels. 32-bit pictures keep their alpha; palette pictures are made
// 24-bit first.
void ShiftHueBitmap(TBitmap& bitmap, int degrees);
void ShiftSaturationBitmap(TBitmap& bitmap, int saturation);
