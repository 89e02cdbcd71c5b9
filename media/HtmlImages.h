#pragma once
// Pictures of HTML documents: PNG, JPEG and BMP through platform/gfx, GIF
// through giflib; kept decoded (32-bit BGRA, straight alpha, top-down) and,
// for pictures shown at another size, kept scaled to that size.
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <tuple>
#include <unordered_map>

#include "platform/gfx/Bitmap.h"

// The first frame of a GIF, with its transparent colour as alpha 0. Raises
// EInvalidGraphic for data giflib cannot read, EOutOfResources for huge sizes.
TBitmap LoadGifFromMemory(std::span<const std::uint8_t> data);
// Any picture the view shows, as 32-bit BGRA top-down.
TBitmap LoadHtmlPicture(std::span<const std::uint8_t> data);
// Bilinear scaling of a 32-bit picture (box-averaged first when shrinking a lot).
TBitmap ScalePicture(const TBitmap& source, int width, int height);
// Blends a 32-bit picture at device (x, y) onto a 24- or 32-bit target, inside `clip`.
void BlendPicture(TBitmap& target, const TRect& clip, const TBitmap& picture, int x, int y);

class THtmlImageCache {
public:
  // The picture of a file, decoded on first use; null when it cannot be shown.
  const TBitmap* Get(const std::string& path);
  // The picture at the given size (the original when the size is its own).
  const TBitmap* Get(const std::string& path, int width, int height);
  void Clear();

private:
  std::unordered_map<std::string, std::unique_ptr<TBitmap>> Pictures_;
  std::map<std::tuple<std::string, int, int>, std::unique_ptr<TBitmap>> Scaled_;
};
