#pragma once
// Pixel blends used by the section painter, disabled looks and fades. Every
// routine clips to both bitmaps and silently does nothing when nothing is
// left, when a bitmap is below 2 x 2 pixels or when the depths do not fit.
// Colours are RGB (0x00BBGGRR).
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Types.h"

// Blends srcRect of src onto dst at dstPoint with blend byte a (0..255):
// D := (D * a + S * (255 - a) + 127) div 256 for every byte, alpha included for
// 32 bits. a = 255 keeps (nearly) the destination, a = 0 gives the source.
// Both bitmaps 24-bit or both 32-bit; mixed depths do nothing.
void BlendBitmaps(TBitmap& dst, const TBitmap& src, int a, TPoint dstPoint, TRect srcRect);

// The same blend over the whole area of two 24-bit bitmaps of equal size.
void BlendWholeBitmaps(TBitmap& dst, const TBitmap& src, int a);

// Every channel c of the covered pixels becomes f * c + (1 - f) * colour with
// f = percent / 100, rounded to nearest (ties to even); 32-bit alpha is kept.
// Right and bottom edges of rect are inclusive here.
void BlendColorRect(TBitmap& bitmap, TRect rect, int percent, TColor color);

// Blends srcRect of src (right and bottom inclusive) onto dst from (x, y):
// every channel becomes round(S - t * (S - D)), ties to even, so t = 0 gives the
// source and t = 1 keeps the destination. Source pixels equal to key are
// skipped unless key has 0xFF in its high byte (no key). Any mix of 24 and 32
// bits; destination alpha is left as it was.
void BlendKeyed(TBitmap& dst, int x, int y, TColor key, double t, TRect srcRect, const TBitmap& src);

// 24-bit only: every pixel becomes (blue + green + red) div 3 in all channels.
void GrayBitmap(TBitmap& bitmap);
// The same, leaving pixels equal to key untouched.
void GrayBitmapExceptKey(TBitmap& bitmap, TColor key);

// Copies the whole 24-bit src to dst at (x, y), skipping key-coloured source
// pixels; a 32-bit dst gets alpha 255 for the copied pixels.
void CopyKeyed(TBitmap& dst, const TBitmap& src, int x, int y, TColor key);

// 32-bit only: rect (right and bottom exclusive) becomes colour with alpha 255.
void FillRect32(TBitmap& bitmap, TRect rect, TColor color);
