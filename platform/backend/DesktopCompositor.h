#pragma once
// Composes top-level window images into one desktop picture: by z-order,
// clipped by window regions, blended by constant or per-pixel alpha.
//
// Blending (each channel, integer, round(x / 255) computed exactly):
//   constant alpha a:          d = round((s * a + d * (255 - a)) / 255)
//   per-pixel, premultiplied:  A = round(sa * a / 255);
//                              d = round(s * a / 255) + round(d * (255 - A) / 255)
// Colour-keyed pixels (RGB equal to the key) are skipped. The desktop's alpha
// bytes carry no meaning.
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/win/Backend.h"

// views: bottom first. The desktop is 32-bit top-down; it is filled with
// `background` first.
void ComposeDesktop(TBitmap& desktop, const std::vector<TTopLevelView>& views, TColor background);
