#pragma once
// Icons: small pictures with per-pixel alpha, addressed by handle, and the
// application's icon that window frames show when a window has none of its own.
#include <string>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/GdiObject.h"
#include "platform/win/WinTypes.h"

constexpr WPARAM ICON_SMALL = 0;
constexpr WPARAM ICON_BIG = 1;

// An icon from a 32-bit image (straight alpha) or a 24-bit one (opaque); the image
// is copied. Null for an empty image.
HICON CreateIconFromImage(const TBitmap& image);
bool DestroyIcon(HICON icon);
// The icon's picture (32 bits, straight alpha), or null for a stale handle.
const TBitmap* IconImage(HICON icon);
// Draws the icon scaled to cx x cy (0 keeps its size) with its alpha over the
// device context's bitmap at (x, y).
bool DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy);

// The window's icon set by WM_SETICON (or SetWindowIcon), else null.
HICON WindowIcon(HWND window, WPARAM kind);
// Stores the icon the window shows (as WM_SETICON does); returns the previous one.
HICON SetWindowIcon(HWND window, WPARAM kind, HICON icon);

// The program's icon (null until the program sets one; not owned by callers).
HICON ApplicationIcon();
void SetApplicationIcon(HICON icon);
// The program's name: what the display lists for a window without a caption.
const std::string& ApplicationTitle();
void SetApplicationTitle(const std::string& title);
