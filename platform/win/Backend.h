#pragma once
// The seam between the window system and a display.
//
// The window system keeps every top-level window's whole image (frame included)
// and tells the backend what to show; the backend shows the images, feeds input
// back through Input.h and supplies the one clock. It never sees child windows.
#include <cstdint>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Types.h"
#include "platform/win/Cursors.h"
#include "platform/win/WinTypes.h"

// Everything the backend needs to show one top-level window.
struct TTopLevelView {
  HWND Window = nullptr;
  TRect Bounds;                 // screen coordinates
  const TBitmap* Image = nullptr;  // 32-bit top-down, Bounds-sized
  bool Topmost = false;
  bool ToolWindow = false;
  bool NoActivate = false;
  bool ClickThrough = false;     // WS_EX_LAYERED | WS_EX_TRANSPARENT
  bool PerPixelAlpha = false;    // Image alpha is premultiplied and meaningful
  std::uint8_t Alpha = 255;      // constant alpha
  bool HasColorKey = false;
  COLORREF ColorKey = 0;
  const std::vector<TRect>* Region = nullptr;  // window region in window coordinates; null = whole window
  HWND Owner = nullptr;          // the window it belongs to (stays above it)
  bool Modal = false;            // holds up the rest of the program
  bool Minimized = false;
};

class TDisplayBackend {
public:
  virtual ~TDisplayBackend() = default;

  // Milliseconds since an arbitrary start; never goes backwards.
  virtual std::uint64_t Now() = 0;
  virtual TSize ScreenSize() = 0;
  virtual bool PerPixelAlphaAvailable() = 0;
  // The display minimises windows itself (iconified or hidden): a minimised window
  // is parked off the desktop instead of shown as a small strip.
  virtual bool MinimizesNatively() { return false; }

  // A top-level window became visible or changed (bounds, alpha, flags).
  virtual void ShowWindow(const TTopLevelView& view) = 0;
  virtual void HideWindow(HWND window) = 0;
  // The window is gone for good.
  virtual void DestroyWindow(HWND window) = 0;
  // Part of the image (window coordinates) changed; show it.
  virtual void Present(const TTopLevelView& view, const TRect& dirty) = 0;
  // Visible top-level windows, topmost first.
  virtual void SetZOrder(const std::vector<HWND>& topToBottom) = 0;
  // The window became the active one: it should get the keyboard.
  virtual void ActivateWindow(HWND) {}
  virtual void SetCursor(TCursorShape shape) = 0;
  // The window system holds mouse capture (the backend should keep delivering
  // mouse input while the pointer is outside every window).
  virtual void SetCapture(bool captured) = 0;

  // Waits until input arrives or `timeoutMs` passes (-1: no limit) and delivers
  // input through Input.h. A headless backend returns at once; a virtual clock
  // may jump to the deadline instead.
  virtual void WaitForInput(int timeoutMs) = 0;
  // Asks a blocked WaitForInput to return (a message was posted).
  virtual void Wake() = 0;
  // Called again and again while the program waits for something outside it (a
  // database server) instead of for input: the display's own events are read,
  // so that uncovered windows are shown again and the window system gets its
  // answers, while input is held until the next WaitForInput; a wait longer
  // than a moment shows the busy cursor until then.
  virtual void ServeWhileBusy() {}
};

// Installs the backend the window system uses (not owned). Null restores the
// built-in fallback (virtual clock starting at 0, nothing shown).
void SetDisplayBackend(TDisplayBackend* backend);
TDisplayBackend& DisplayBackend();

// One clock for everything: timers, double clicks, animations.
DWORD GetTickCount();
std::uint64_t GetTickCount64();

// Views of all visible top-level windows, bottom first (for composing a desktop).
std::vector<TTopLevelView> VisibleTopLevelViews();
TTopLevelView TopLevelView(HWND window);
