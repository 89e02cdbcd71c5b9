#pragma once
// Painting: update regions, device contexts and the paint cycle.
//
// Each top-level window keeps its whole image (frame included) as a 32-bit
// bitmap; a window's device context draws into that image with its origin at
// the window (or client) corner, clipped to the visible region: inside the
// ancestors' clients, outside clipped children and siblings, inside window
// regions.
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/GdiObject.h"
#include "platform/win/PaintFlags.h"
#include "platform/win/WinTypes.h"

// erase: WM_ERASEBKGND will be sent by BeginPaint. Rects are client coordinates.
bool InvalidateRect(HWND window, const TRect* rect, bool erase);
bool InvalidateRgn(HWND window, HRGN region, bool erase);
bool ValidateRect(HWND window, const TRect* rect);
bool ValidateRgn(HWND window, HRGN region);
bool RedrawWindow(HWND window, const TRect* rect, HRGN region, UINT flags);
// Sends WM_PAINT at once when the window has an update region.
bool UpdateWindow(HWND window);
bool GetUpdateRect(HWND window, TRect* rect, bool erase);
// Copies the update region (client coordinates) into `region`; returns its type.
int GetUpdateRgn(HWND window, HRGN region, bool erase);

HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
bool EndPaint(HWND window, const PAINTSTRUCT* paint);
HDC GetDC(HWND window);          // client area
HDC GetWindowDC(HWND window);    // whole window, frame included
HDC GetDCEx(HWND window, HRGN clip, DWORD flags);
int ReleaseDC(HWND window, HDC dc);

// The whole image of a top-level window (null for children and dead handles).
const TBitmap* WindowImage(HWND window);
// Paints everything pending (non-client and client) of every window now.
void UpdateAllWindows();
// Sends WM_PRINT to `window` into `dc` (a helper for tools and tests).
void PrintWindow(HWND window, HDC dc, UINT flags);
