#pragma once
// Smooth image scaling with separable filters and 16.16 fixed-point weights.
#include "platform/gfx/Bitmap.h"

enum TacStretchFilter {
  sfBox = 0,       // support 0.51
  sfTriangle = 1,  // 1
  sfHermite = 2,   // 1
  sfBell = 3,      // 1.5
  sfBSpline = 4,   // 2
  sfLanczos3 = 5,  // 3
  sfMitchell = 6,  // 2
};
constexpr int kStretchFilterCount = 7;

// Resamples src into dst at newWidth x newHeight (dst becomes 32-bit for a
// 32-bit source, else 24-bit). The same size just assigns. Raises Exception
// "Source bitmap is too small" for a source below 2 x 2. Unknown filter numbers
// use the box. dst may be src.
void SmoothStretch(const TBitmap& src, TBitmap& dst, int newWidth, int newHeight, int filter);

// The filter curve and its support, as used by SmoothStretch.
double StretchFilterValue(int filter, double x);
double StretchFilterSupport(int filter);
