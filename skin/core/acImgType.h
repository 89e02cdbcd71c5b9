#pragma once
#include <cstdint>

// What a mask is used for; the numbers are the ones written in skin values.
enum class TacImgType : std::uint8_t { itisaBorder = 0, itisaTexture = 1, itisaGlyph = 2, itisaGlow = 3, itisaPngGlyph = 4 };
