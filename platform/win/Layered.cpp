// Layered windows: constant alpha, colour key and per-pixel alpha images.
#include <cstring>

#include "platform/win/Layered.h"
#include "platform/win/Paint.h"
#include "platform/win/WindowManager.h"

bool SetLayeredWindowAttributes(HWND window, COLORREF key, std::uint8_t alpha, DWORD flags) {
  TWindow* w = FindWindowObject(window);
  if (!w || w->Parent || !(w->ExStyle & WS_EX_LAYERED)) return false;
  const bool held = PaintHeld(*w);
  // Attributes and per-pixel images exclude each other, as classically.
  w->LayeredImage.reset();
  w->LayeredFlags = flags & (kLayeredColorKey | kLayeredConstAlpha);
  w->Alpha = (flags & LWA_ALPHA) ? alpha : 255;
  w->ColorKey = key;
  InvalidateWhole(window);
  // A window that showed nothing is painted before it shows anything.
  if (held && !PaintHeld(*w)) {
    PaintHeldWindow(window);
    if (!(w = FindWindowObject(window))) return false;
  }
  SyncBackendWindow(window);
  MarkImageDirty(window, {0, 0, w->Rect.Width(), w->Rect.Height()});
  return true;
}

bool GetLayeredWindowAttributes(HWND window, COLORREF* key, std::uint8_t* alpha, DWORD* flags) {
  TWindow* w = FindWindowObject(window);
  if (!w || !(w->ExStyle & WS_EX_LAYERED) || w->LayeredImage) return false;
  if (key) *key = w->ColorKey;
  if (alpha) *alpha = w->Alpha;
  if (flags) *flags = w->LayeredFlags & (kLayeredColorKey | kLayeredConstAlpha);
  return true;
}

bool UpdateLayeredWindow(HWND window, const TPoint* position, const TSize* size, const TBitmap& image,
                         const TPoint* sourceOrigin, COLORREF key, const BLENDFUNCTION* blend, DWORD flags) {
  TWindow* w = FindWindowObject(window);
  if (!w || w->Parent || !(w->ExStyle & WS_EX_LAYERED)) return false;
  if (image.PixelFormat() != TPixelFormat::pf32bit && image.PixelFormat() != TPixelFormat::pf24bit) return false;
  TSize target = size ? *size : TSize{w->Rect.Width(), w->Rect.Height()};
  TPoint src = sourceOrigin ? *sourceOrigin : TPoint{};
  if (target.cx <= 0 || target.cy <= 0 || src.X < 0 || src.Y < 0 || src.X + target.cx > image.Width() ||
      src.Y + target.cy > image.Height()) {
    return false;
  }
  if (position || size) {
    TPoint p = position ? *position : TPoint{w->Rect.Left, w->Rect.Top};
    SetWindowPos(window, nullptr, p.X, p.Y, target.cx, target.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    if (!(w = FindWindowObject(window))) return false;
  }
  auto copy = std::make_unique<TBitmap>(target.cx, target.cy, TPixelFormat::pf32bit, true);
  bool perPixel = (flags & ULW_ALPHA) && blend && (blend->AlphaFormat & AC_SRC_ALPHA) &&
                  image.PixelFormat() == TPixelFormat::pf32bit;
  for (int y = 0; y < target.cy; ++y) {
    const std::uint8_t* s = image.ScanLine(src.Y + y);
    std::uint8_t* d = copy->ScanLine(y);
    if (image.PixelFormat() == TPixelFormat::pf32bit) {
      std::memcpy(d, s + src.X * 4, static_cast<std::size_t>(target.cx) * 4);
      if (!perPixel) {
        for (int x = 0; x < target.cx; ++x) d[x * 4 + 3] = 255;
      }
    } else {
      for (int x = 0; x < target.cx; ++x) {
        const std::uint8_t* p = s + (src.X + x) * 3;
        d[x * 4] = p[0];
        d[x * 4 + 1] = p[1];
        d[x * 4 + 2] = p[2];
        d[x * 4 + 3] = 255;
      }
    }
  }
  w->LayeredImage = std::move(copy);
  w->LayeredFlags = (perPixel ? kLayeredPerPixel : 0) | ((flags & ULW_COLORKEY) ? kLayeredColorKey : 0);
  w->ColorKey = key;
  w->Alpha = (blend && (flags & ULW_ALPHA)) ? blend->SourceConstantAlpha : 255;
  SyncBackendWindow(window);
  MarkImageDirty(window, {0, 0, target.cx, target.cy});
  FlushPresents();
  return true;
}

bool PerPixelLayeredAvailable() { return WM().Backend().PerPixelAlphaAvailable(); }
