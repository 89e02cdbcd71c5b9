#pragma once
// Painted strips of a laid-out page, kept for scrolling.
//
// litehtml walks the whole element tree on every draw, however small the clip,
// so painting a thin band that scrolls into view costs as much as painting the
// screen. The view therefore paints the page in strips of kTileHeight rows (all
// strips a paint needs in one walk) and copies the band it needs from them; a
// wheel step mostly only copies.
#include <list>
#include <memory>

#include "media/HtmlDocument.h"
#include "platform/gfx/Bitmap.h"

class THtmlTileCache {
public:
  static constexpr int kTileHeight = 512;
  static constexpr int kMaxTiles = 12;
  // Pages wider than this many view widths are drawn directly (strips would be too big).
  static constexpr int kMaxWidthFactor = 2;

  // Forgets every strip (the page, its layout or its look changed).
  void Clear() { Tiles_.clear(); }
  // Draws the part of the page inside `clip` (target pixels); the page's (0, 0)
  // lands on target pixel `origin`. `viewWidth` is the width the page is shown at.
  void Draw(THtmlDocument& page, TBitmap& target, TPoint origin, const TRect& clip, int viewWidth);
  int TileCount() const { return static_cast<int>(Tiles_.size()); }
  // How many times strips were painted by the page (one walk each).
  int WalkCount() const { return Walks_; }

private:
  struct TTile {
    int Index = 0;
    TBitmap Pixels;
  };
  const TTile* Find(int index);
  void Paint(THtmlDocument& page, int first, int last, int width);

  std::list<TTile> Tiles_;  // most recently used first
  int Walks_ = 0;
};
