#pragma once
// The textbook's own icon, drawn in code in the skin's blues: an open book on a
// rounded pale-sky tile. Frames show it when a window has no icon of its own.
#include "platform/gfx/Bitmap.h"

// A size x size picture, 32 bits with straight alpha (size 16 and up look right).
TBitmap DrawTextbookIcon(int size);
