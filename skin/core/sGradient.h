#pragma once
// Gradient descriptions of skin sections (GRADIENTDATA / HOTGRADIENTDATA), parsed
// once when the skin loads and painted by the renderer.
#include <cstdint>
#include <string_view>
#include <vector>

struct TsGradPie {
  std::int32_t Color1 = 0;   // RGB at the start of the band
  std::int32_t Color2 = 0;   // RGB at the end of the band
  std::uint8_t Percent = 0;  // band length, 0..100 % of the rectangle's height or width
  std::int32_t Mode = 0;     // first stop only: 0 vertical, 1 horizontal, 2 four-corner triangles
  friend bool operator==(const TsGradPie&, const TsGradPie&) = default;
};

using TsGradArray = std::vector<TsGradPie>;

// Five numbers per stop separated by ';' (colour 1, colour 2, percent, mode, reserved);
// a trailing incomplete group is dropped. " " and "" give no stops. A field that is
// not a number raises EConvertError "'<field>' is not a valid integer value".
TsGradArray ParseGradient(std::string_view text);
