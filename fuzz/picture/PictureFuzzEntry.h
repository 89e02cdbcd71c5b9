#pragma once
// Inputs for the HTML view's pictures: the bytes of a GIF (or any picture the
// view shows), decoded and scaled to a size taken from the input's last bytes.
// Refusals of the decoders are expected; anything else escapes.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/FuzzCheck.h"
#include "media/HtmlImages.h"
#include "platform/base/Exception.h"

// Returns true when the bytes decoded to a picture.
inline bool FuzzPicture(const std::uint8_t* data, std::size_t size) {
  TBitmap picture;
  try {
    picture = LoadHtmlPicture(std::span<const std::uint8_t>(data, size));
  } catch (const EInvalidGraphic&) {
    return false;
  } catch (const EOutOfResources&) {
    return false;
  }
  FuzzCheck(picture.Width() > 0 && picture.Height() > 0, "a decoded picture without pixels");
  FuzzCheck(picture.PixelFormat() == TPixelFormat::pf32bit, "a decoded picture that is not 32-bit");
  if (static_cast<long long>(picture.Width()) * picture.Height() > 1 << 20) return true;  // scaling time only
  // Shrinking a lot, enlarging, and both at once in one direction each.
  const int w = size >= 2 ? 1 + data[size - 2] % 97 : 7;
  const int h = size >= 1 ? 1 + data[size - 1] % 89 : 5;
  const int sizes[][2] = {{w, h}, {1, 1}, {picture.Width() * 3, 2}, {2, picture.Height() * 3}};
  for (const auto& [sw, sh] : sizes) {
    if (sw > 4096 || sh > 4096) continue;
    const TBitmap scaled = ScalePicture(picture, sw, sh);
    FuzzCheck(scaled.Width() == sw && scaled.Height() == sh, "scaled picture of another size");
    TBitmap target(32, 24, TPixelFormat::pf24bit);
    BlendPicture(target, TRect{0, 0, 32, 24}, scaled, -3, -2);
  }
  return true;
}
