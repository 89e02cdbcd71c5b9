#pragma once
// Masks on a target bitmap: the nine-slice border of one state image, glyphs and
// corner images, and the compositing of a picture through its mask band.
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Types.h"
#include "skin/core/sMaskData.h"
#include "skin/runtime/acPaintState.h"
#include "skin/runtime/sBackground.h"

// Magenta: skin pixels of this colour are holes.
constexpr TColor kTransparentKey = 0xFF00FF;

// The picture the mask rectangle lies in: the mask's own image, or its manager's
// master bitmap; null when neither is there.
const TBitmap* MaskPicture(const TsMaskData& mask);
// Size of one state image: (Right - Left) div ImageCount by (Bottom - Top) div (MaskType + 1).
TSize StateImageSize(const TsMaskData& mask);
// min(state, ImageCount - 1), at least 0.
int StateImageIndex(const TsMaskData& mask, TacPaintState state);

// Composites srcRect of pic onto dst at (x, y) through the mask band maskOffset rows
// below it: D := S + floor(M * (D - S) / 256) per channel. Key pixels take what
// lies behind when update is set (bg's parent pixel at bg offset + target position,
// or FillColor), are blended like others with Ready, else stay.
void CompositeMasked(TBitmap& dst, int x, int y, const TBitmap& pic, TRect srcRect, int maskOffset,
                     const BackgroundInfo& bg, bool update);
// Copies srcRect of pic to (x, y); key pixels take what lies behind when update is
// set and stay as they are otherwise.
void CopyWithKey(TBitmap& dst, int x, int y, const TBitmap& pic, TRect srcRect, const BackgroundInfo& bg, bool update);

// The nine slices of a border mask for one rectangle and state.
struct TacBorderSlices {
  int L = 0, T = 0, R = 0, B = 0;  // margins after shrinking to the rectangle
  int X0 = 0, Y0 = 0;              // top-left of the state image in the picture
  int W = 0, H = 0;                // state image size
  int CW = 0, CH = 0;              // centre slice size in the picture
};
// False when the border draws nothing for this rectangle and state.
bool ComputeBorderSlices(const TsMaskData& mask, TRect rect, TacPaintState state, TacBorderSlices& out);

// Nine-slice border of the state image min(state, ImageCount - 1) over rect.
// bg must already map target positions onto parent pixels.
void DrawBorderMask(TBitmap& target, TRect rect, bool fillCentre, const BackgroundInfo& bg, const TsMaskData& mask,
                    TacPaintState state, bool updateCorners);

// One state image of a glyph entry with its top-left at p.
void DrawGlyphMask(TBitmap& target, TPoint p, TacPaintState state, int useAlpha, const TsMaskData& mask,
                   const BackgroundInfo& bg);

// Corner flags of RefreshCorners.
constexpr int kCornerTopLeft = 1, kCornerBottomLeft = 2, kCornerTopRight = 4, kCornerBottomRight = 8;
// Refreshes the requested corner slices of the border over what lies behind (bg
// maps target positions onto parent pixels): the slice's key pixels take the parent's
// pixels (or bg's colour), a keyed slice's other pixels are copied again, and a masked
// slice's other pixels keep the face they were composited on. Nothing changes when
// nothing is known behind or when the border is not drawn in this state. Calling
// it twice gives what calling it once does.
void RecompositeCorners(TBitmap& target, TRect rect, const TsMaskData& mask, TacPaintState state, int corners,
                        const BackgroundInfo& bg);
