#include "media/HtmlTileCache.h"

#include <algorithm>
#include <cstring>

const THtmlTileCache::TTile* THtmlTileCache::Find(int index) {
  for (auto it = Tiles_.begin(); it != Tiles_.end(); ++it) {
    if (it->Index == index) {
      Tiles_.splice(Tiles_.begin(), Tiles_, it);
      return &Tiles_.front();
    }
  }
  return nullptr;
}

// Strips first..last (those missing) in one walk of the page.
void THtmlTileCache::Paint(THtmlDocument& page, int first, int last, int width) {
  const int rows = (last - first + 1) * kTileHeight;
  TBitmap strip(width, rows, TPixelFormat::pf32bit, true);
  page.Draw(strip, {0, -first * kTileHeight}, Bounds(0, 0, width, rows));
  ++Walks_;
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
  for (int index = first; index <= last; ++index) {
    if (Find(index)) continue;  // a strip between two missing ones
    TTile tile{index, TBitmap(width, kTileHeight, TPixelFormat::pf32bit, true)};
    for (int y = 0; y < kTileHeight; ++y)
      std::memcpy(tile.Pixels.ScanLine(y), strip.ScanLine((index - first) * kTileHeight + y), rowBytes);
    Tiles_.push_front(std::move(tile));
  }
  while (static_cast<int>(Tiles_.size()) > kMaxTiles) Tiles_.pop_back();
}

void THtmlTileCache::Draw(THtmlDocument& page, TBitmap& target, TPoint origin, const TRect& clip, int viewWidth) {
  const TRect area = clip.Intersect(Bounds(0, 0, target.Width(), target.Height()));
  if (area.IsEmpty()) return;
  const int width = std::max(page.Width(), viewWidth);
  const bool copyable = target.PixelFormat() == TPixelFormat::pf32bit;
  if (!copyable || width > kMaxWidthFactor * std::max(1, viewWidth) || page.LayoutWidth() < 0) {
    page.Draw(target, origin, area);
    return;
  }
  // Page rows [top, bottom) and columns [left, right) of the area.
  const int top = area.Top - origin.Y;
  const int bottom = area.Bottom - origin.Y;
  const int left = std::max(0, area.Left - origin.X);
  const int right = std::min(width, area.Right - origin.X);
  const int firstTile = std::max(0, top) / kTileHeight;
  const int lastTile = std::max(0, bottom - 1) / kTileHeight;
  if (top < 0 || right <= left || lastTile - firstTile + 1 > kMaxTiles) {
    page.Draw(target, origin, area);
    return;
  }
  int missingFrom = -1;
  int missingTo = -1;
  for (int index = firstTile; index <= lastTile; ++index) {
    if (Find(index)) continue;
    if (missingFrom < 0) missingFrom = index;
    missingTo = index;
  }
  if (missingFrom >= 0) Paint(page, missingFrom, missingTo, width);
  for (int index = firstTile; index <= lastTile; ++index) {
    const TTile* tile = Find(index);
    if (!tile) continue;
    const int tileTop = index * kTileHeight;
    const int from = std::max(top, tileTop);
    const int to = std::min(bottom, tileTop + kTileHeight);
    const std::size_t bytes = static_cast<std::size_t>(right - left) * 4;
    for (int y = from; y < to; ++y)
      std::memcpy(target.ScanLine(y + origin.Y) + (left + origin.X) * 4, tile->Pixels.ScanLine(y - tileTop) + left * 4,
                  bytes);
  }
  // Columns beyond the page (a view wider than the page) get the page colour.
  if (area.Right - origin.X > width) {
    const TRect beyond{std::max(area.Left, width + origin.X), area.Top, area.Right, area.Bottom};
    page.Draw(target, origin, beyond);
  }
}
