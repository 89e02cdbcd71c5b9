#pragma once
// The skin lab: a skin's sections painted by the section painter, to look at.
#include <memory>
#include <string>

#include "platform/gfx/Bitmap.h"
#include "skin/core/acSkinModel.h"

// Loads "internal", a package file (.asz) or a skin folder holding Options.dat, with
// the colour adjustments; raises Exception when no skin results.
std::unique_ptr<TacSkinModel> LoadLabSkin(const std::string& what, int hueOffset = 0, int saturation = 0);

// Every section in states 0, 1 and 2 over a textured background, a cross-fade strip
// of a button, and rows painted with the hue shifted and the saturation changed.
TBitmap PaintLabSheet(const std::string& what);

// The textured background the sheet paints over (also the single-section default).
void PaintLabBackground(TBitmap& bitmap);
