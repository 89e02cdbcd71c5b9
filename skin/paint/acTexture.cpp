#include "skin/paint/acTexture.h"

#include <algorithm>

#include "skin/paint/acMaskPaint.h"
#include "skin/paint/acPaintBlocks.h"

namespace {
constexpr TRect kNothingLeft{0, 0, -1, 0};
}

void FillTexture(TBitmap& target, TRect& rect, const TBitmap& pic, TRect picRect, int mode) {
  picRect = ClipToBitmap(picRect, pic);
  const int tw = picRect.Width(), th = picRect.Height();
  if (tw <= 0 || th <= 0 || !IsPaintable(&target) || !IsPaintable(&pic) || rect.IsEmpty()) return;
  const TRect r = rect;
  switch (mode) {
    case 0:
      TileBlock(target, r, pic, picRect);
      rect = kNothingLeft;
      break;
    case 1:
      StretchBlock(target, r, pic, picRect);
      rect = kNothingLeft;
      break;
    case 2:
      TileBlock(target, {r.Left, r.Top, r.Right, std::min(r.Bottom, r.Top + th)}, pic, picRect);
      rect.Top = r.Top + th;
      break;
    case 3:
      TileBlock(target, {r.Left, r.Top, std::min(r.Right, r.Left + tw), r.Bottom}, pic, picRect);
      rect.Left = r.Left + tw;
      break;
    case 4:
      // A texture taller than the rectangle is cut at its bottom, not squeezed.
      StretchBlock(target, {r.Left, r.Top, r.Right, r.Top + th}, pic, picRect, r);
      rect.Top = r.Top + th;
      break;
    case 5:
      StretchBlock(target, {r.Left, r.Top, r.Left + tw, r.Bottom}, pic, picRect, r);
      rect.Left = r.Left + tw;
      break;
    case 6:
      TileBlock(target, {r.Left, std::max(r.Top, r.Bottom - th), r.Right, r.Bottom}, pic, picRect);
      rect.Bottom = r.Bottom - th;
      break;
    case 7:
      TileBlock(target, {std::max(r.Left, r.Right - tw), r.Top, r.Right, r.Bottom}, pic, picRect);
      rect.Right = r.Right - tw;
      break;
    case 10: {
      // Only rows whose top lies above Bottom - th: the bottom strip keeps its pixels.
      int bottom = r.Top;
      while (bottom < r.Bottom - th) bottom += th;
      if (bottom > r.Top) TileBlock(target, {r.Left, r.Top, r.Right, bottom}, pic, picRect);
      rect = kNothingLeft;
      break;
    }
    default:
      return;  // modes skins do not define draw nothing
  }
  if (rect.IsEmpty()) rect = kNothingLeft;
}

void FillTexture(TBitmap& target, TRect& rect, const TsMaskData& mask, int mode) {
  const TBitmap* pic = MaskPicture(mask);
  if (!pic) return;
  FillTexture(target, rect, *pic, mask.R(), mode);
}

void FillPattern(TBitmap& target, TRect rect, const TBitmap& picture) {
  TileBlock(target, rect, picture, {0, 0, picture.Width(), picture.Height()});
}

void PutBehind(TBitmap& target, TRect area, const BackgroundInfo& bg) {
  if (area.IsEmpty()) return;
  if (bg.Ready) {
    if (bg.Bitmap && bg.Bitmap != &target) CopyBlock(target, area.Left, area.Top, *bg.Bitmap, area.Offset(bg.OffsetX, bg.OffsetY));
  } else {
    FillBlock(target, area, bg.FillColor);
  }
}

void TileMasked(TBitmap& target, TRect rect, const TsMaskData& mask, const BackgroundInfo& bg) {
  const TBitmap* pic = MaskPicture(mask);
  if (!pic || !IsPaintable(&target) || rect.IsEmpty()) return;
  const int band = (mask.Bottom - mask.Top) / 2;
  const TRect tile = TRect{mask.Left, mask.Top, mask.Right, mask.Top + band}.Intersect(
      {0, 0, pic->Width(), pic->Height() - band});
  const int tw = tile.Width(), th = tile.Height();
  if (tw <= 0 || th <= 0) return;
  const TRect visible = rect.Intersect({0, 0, target.Width(), target.Height()});
  if (visible.IsEmpty()) return;
  const bool whole = mask.StretchMode == 10;
  int right = rect.Right, bottom = rect.Bottom;
  if (whole) {
    right = rect.Left + rect.Width() / tw * tw;
    bottom = rect.Top + rect.Height() / th * th;
  }
  for (int y = rect.Top + (visible.Top - rect.Top) / th * th; y < std::min(bottom, visible.Bottom); y += th)
    for (int x = rect.Left + (visible.Left - rect.Left) / tw * tw; x < std::min(right, visible.Right); x += tw)
      CompositeMasked(target, x, y, *pic,
                      {tile.Left, tile.Top, tile.Left + std::min(tw, right - x), tile.Top + std::min(th, bottom - y)},
                      band, bg, true);
  if (whole) {
    PutBehind(target, {right, rect.Top, rect.Right, bottom}, bg);
    PutBehind(target, {rect.Left, bottom, rect.Right, rect.Bottom}, bg);
  }
}
