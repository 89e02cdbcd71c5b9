#pragma once
// What the SDL display needs of X11 that SDL does not offer: an error handler
// that logs instead of ending the process, whether a window manager runs, owner
// and modal hints, the real stacking order of our windows, and waiting on the
// connection without SDL's wake-up messages (SDL sends them to the newest
// window from a second connection; a window destroyed meanwhile made the
// server answer BadWindow, which Xlib's default handler turns into exit).
#include <cstdint>
#include <vector>

#include "platform/gfx/Types.h"

struct SDL_Window;
union SDL_Event;

class TX11Display {
public:
  // Null connection when SDL does not run on X11 (offscreen, dummy, Wayland).
  explicit TX11Display(SDL_Window* anyWindow);
  bool Ok() const { return Display_ != nullptr; }

  // Logs X errors on stderr instead of letting Xlib end the process (every
  // connection of the process, SDL's included). Installed once per process.
  static void InstallErrorHandler();
  // Errors seen by the handler so far (tests).
  static int ErrorCount();

  static std::uint64_t WindowOf(SDL_Window* window);

  bool WindowManagerRunning();
  // WM_TRANSIENT_FOR (0 = none) and _NET_WM_STATE_MODAL of an unmapped or mapped window.
  void SetOwner(std::uint64_t window, std::uint64_t owner);
  void SetModal(std::uint64_t window, bool modal);
  bool Viewable(std::uint64_t window);
  // Window shapes (the X shape extension): whether the server has it, a
  // window's shape set to the union of rectangles (window coordinates; none:
  // nothing of the window shows), and whether a window has a shape of its own.
  bool CanShape();
  void SetShape(std::uint64_t window, const std::vector<TRect>& rects);
  bool Shaped(std::uint64_t window);
  // Our windows as the server stacks them, topmost first (unmapped ones left out).
  std::vector<std::uint64_t> Stacking(const std::vector<std::uint64_t>& windows);
  // Root structure events (a window manager restacking frames) reach SDL as
  // system events; tells whether an SDL event is one that may change stacking.
  void WatchStacking();
  bool IsStackingEvent(const SDL_Event& event) const;
  // Waits until the connection has something to read, up to timeoutMs (-1: no limit).
  void Wait(int timeoutMs);

private:
  void* Display_ = nullptr;
  std::uint64_t Root_ = 0;
};
