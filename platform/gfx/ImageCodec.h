#pragma once
// Shared checks of the image codecs (not part of the public interface).
#include <cstdint>

#include "platform/gfx/Bitmap.h"

// Raises EOutOfResources when an image of the declared size may not be made; the
// message names the image kind ("PNG image of 20000 x 10 pixels ...").
void CheckImageSize(const char* kind, std::int64_t width, std::int64_t height, TPixelFormat format);
