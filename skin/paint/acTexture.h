#pragma once
// Textures: a picture repeated or stretched over a rectangle by fill mode, and the
// masked tiler for textures that carry a mask band.
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Types.h"
#include "skin/core/sMaskData.h"
#include "skin/runtime/sBackground.h"

// Fills rect of target with the picture (picRect of pic) by mode:
//   0 tile, 1 stretch, 2 one tiled row along the top, 3 one tiled column down the
//   left, 4 stretched strip along the top, 5 stretched strip down the left, 6 one
//   tiled row along the bottom, 7 one tiled column down the right, 10 tile without
//   the last clipped row.
// rect comes back as the part left uncovered, or with Right -1 when nothing is left.
// A picture without area and unknown modes draw nothing and leave all of rect.
void FillTexture(TBitmap& target, TRect& rect, const TBitmap& pic, TRect picRect, int mode);
// The same for a texture mask (its picture in the mask's image or the master bitmap).
void FillTexture(TBitmap& target, TRect& rect, const TsMaskData& mask, int mode);
// A pattern picture, always tiled over all of rect from its top-left.
void FillPattern(TBitmap& target, TRect rect, const TBitmap& picture);

// Tiles the picture band of a mask with MaskType 1 over rect, each tile composited
// through the mask band onto the pixels there, key pixels showing what lies behind
// (bg maps target positions onto parent pixels). Mode 10 draws whole tiles only and
// fills the strips left at the right and bottom with what lies behind; other modes
// clip the last column and row.
void TileMasked(TBitmap& target, TRect rect, const TsMaskData& mask, const BackgroundInfo& bg);

// Puts what lies behind into area of target: a block of the parent bitmap (none
// when the parent bitmap is the target), or the fill colour.
void PutBehind(TBitmap& target, TRect area, const BackgroundInfo& bg);
