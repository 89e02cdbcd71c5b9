#pragma once
// Pictures of a skin outside the options text: decoding helpers for mask and
// pattern files, and the built-in window-shadow pictures.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "platform/gfx/Bitmap.h"

// PNG pictures use fully transparent white (0x00FFFFFF) for "nothing"; the
// painters expect such pixels to be all zero.
void ClearTransparentWhite(TBitmap& bitmap);

// A PNG decoded to 32 bits with its alpha, transparent white cleared. Decoder
// errors propagate (EInvalidGraphic with the decoder's text).
TBitmap DecodeSkinPng(std::span<const std::uint8_t> bytes);

// A master or mask picture in any of the three formats, chosen by signature
// (BMP when none matches, so the BMP decoder reports what is wrong).
TBitmap DecodeSkinPicture(std::span<const std::uint8_t> bytes);
// The width and height a BMP, PNG or JPEG header declares, or nullopt when the
// bytes carry no header this can read.
struct TacDeclaredSize {
  std::uint32_t Width = 0;
  std::uint32_t Height = 0;
};
std::optional<TacDeclaredSize> DeclaredImageSize(std::span<const std::uint8_t> bytes);
// True for an image that has no pixels to show: no bytes at all, or a BMP, PNG or
// JPEG header declaring a width or height of 0. Such images count as "no image".
bool DeclaresNoPixels(std::span<const std::uint8_t> bytes);

// The program's own shadow pictures for extended window borders, 32-bit with
// alpha: "acSHDA" (32 x 32, active windows) and "acSHDI" (31 x 31, inactive).
// Drawn once on first use.
enum class TacShadowImage { Active, Inactive };
const TBitmap& BuiltInShadowImage(TacShadowImage which);

// Whether the desktop composes windows (it widens the shadow offsets by one).
// The window layer installs the real query; without one the answer is false.
void SetDesktopCompositionQuery(std::function<bool()> query);
bool DesktopCompositionEnabled();
