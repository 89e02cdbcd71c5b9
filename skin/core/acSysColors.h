#pragma once
// System colours named by skin values (high byte 0xFF, index in the low byte).
#include <functional>

#include "platform/gfx/Types.h"

// The current RGB value of system colour index (COLOR_BTNFACE = 15 ...).
TColor SkinSysColor(int index);
// A colour whose high byte is 0xFF becomes its system colour's RGB; others unchanged.
TColor SkinColorToRGB(TColor color);
// Replaces the source of system colours (the platform's, or a test's); empty restores
// the built-in classic table.
void SetSkinSysColorSource(std::function<TColor(int)> source);
