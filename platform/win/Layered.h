#pragma once
// Layered windows: constant alpha and per-pixel alpha images.
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/GdiObject.h"
#include "platform/win/WinTypes.h"

constexpr DWORD LWA_COLORKEY = 0x00000001;
constexpr DWORD LWA_ALPHA = 0x00000002;

constexpr DWORD ULW_COLORKEY = 0x00000001;
constexpr DWORD ULW_ALPHA = 0x00000002;
constexpr DWORD ULW_OPAQUE = 0x00000004;

constexpr std::uint8_t AC_SRC_OVER = 0x00;
constexpr std::uint8_t AC_SRC_ALPHA = 0x01;

struct BLENDFUNCTION {
  std::uint8_t BlendOp = AC_SRC_OVER;
  std::uint8_t BlendFlags = 0;
  std::uint8_t SourceConstantAlpha = 255;
  std::uint8_t AlphaFormat = 0;
};

// Constant alpha (LWA_ALPHA) and/or colour key for a WS_EX_LAYERED window.
bool SetLayeredWindowAttributes(HWND window, COLORREF key, std::uint8_t alpha, DWORD flags);
bool GetLayeredWindowAttributes(HWND window, COLORREF* key, std::uint8_t* alpha, DWORD* flags);

// Per-pixel alpha: the window shows `image` (32 bits, premultiplied B, G, R, A
// when AC_SRC_ALPHA) at `position` with `size`; null position/size keep the
// current ones. The image is copied. The window's own painting is not shown
// while it is in this mode.
bool UpdateLayeredWindow(HWND window, const TPoint* position, const TSize* size, const TBitmap& image,
                         const TPoint* sourceOrigin, COLORREF key, const BLENDFUNCTION* blend, DWORD flags);

// True when the running backend shows per-pixel alpha top-level windows.
bool PerPixelLayeredAvailable();
