#pragma once
// What lies behind an item being painted, and the request record a control sends its
// parent (command AC_GETCACHE) to learn it.
#include <cstdint>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/GdiObject.h"
#include "platform/gfx/Types.h"

// The parent's finished image with the offset of the item's coordinate origin in it
// (Ready), or only a plain colour. FillColor clFuchsia means that no colour is known.
struct BackgroundInfo {
  const TBitmap* Bitmap = nullptr;
  std::int32_t OffsetX = 0;
  std::int32_t OffsetY = 0;
  TColor FillColor = clFuchsia;
  bool Ready = false;

  static BackgroundInfo FromBitmap(const TBitmap* bitmap, std::int32_t offsetX, std::int32_t offsetY) {
    return BackgroundInfo{bitmap, offsetX, offsetY, clFuchsia, true};
  }
  static BackgroundInfo FromColor(TColor color) { return BackgroundInfo{nullptr, 0, 0, color, false}; }
};

// Answer kinds of a background request.
enum TacBGType : std::uint8_t { btUnknown = 0, btFill = 1, btCache = 2 };

// The background request record; its address travels in lParam of AC_GETCACHE.
struct TacBGInfo {
  TBitmap* Bmp = nullptr;      // answered bitmap
  TColor Color = 0;            // answered colour
  std::int32_t OffsetX = 0;    // the asking control's origin inside Bmp
  std::int32_t OffsetY = 0;
  TRect R{};                   // used when the parent paints itself
  TacBGType BgType = btUnknown;
  bool PleaseDraw = false;     // asks the parent to paint itself into DrawDC
  HDC DrawDC = nullptr;
};
