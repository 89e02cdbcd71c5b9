#pragma once
// A display on SDL2: every visible top-level window is a borderless native
// window showing the window's whole image. The program paints its own frames
// and moves and sizes the native windows itself, so everything works with or
// without a window manager. The clock is real; waiting blocks in SDL until an
// event arrives or the next timer is due.
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/win/Backend.h"

class TX11Display;
struct SDL_Window;
struct SDL_Cursor;
union SDL_Event;

class TSdlBackend final : public TDisplayBackend {
public:
  // Now: SDL is loaded and its video started before the constructor returns.
  // Ahead: on a thread of its own while the program goes on (loading SDL and
  // starting its video take as long as the program's own start); whatever needs
  // the started display waits for it, the clock does not.
  enum class TStart { Now, Ahead };
  explicit TSdlBackend(TStart start = TStart::Now);
  ~TSdlBackend() override;
  // False when SDL could not start video (no display); the message says why.
  // Both wait for a start made ahead.
  bool Ok() const { return Started(); }
  const char* Error() const { return Started() ? "" : Error_.c_str(); }
  void Install();

  std::uint64_t Now() override;
  TSize ScreenSize() override;
  bool PerPixelAlphaAvailable() override { return false; }
  bool MinimizesNatively() override;
  void ShowWindow(const TTopLevelView& view) override;
  void HideWindow(HWND window) override;
  void DestroyWindow(HWND window) override;
  void Present(const TTopLevelView& view, const TRect& dirty) override;
  void SetZOrder(const std::vector<HWND>& topToBottom) override;
  void ActivateWindow(HWND window) override;
  void SetCursor(TCursorShape shape) override;
  void SetCapture(bool captured) override;
  void WaitForInput(int timeoutMs) override;
  void Wake() override;
  void ServeWhileBusy() override;
  // After this long busy the busy cursor shows.
  static constexpr int kBusyCursorAfterMs = 300;

  // The native window of a top-level window (null when none), and whether it is
  // mapped: for tests and tools that look at what the desktop shows.
  SDL_Window* NativeWindow(HWND window);
  bool NativeShown(HWND window);
  // A look at how others restacked our windows is due.
  bool StackCheckPending() const { return StackCheckAt_ != 0; }
  // Gives every native window its window's current text as title.
  void SyncTitles();
  // Whether windows with a region are shown shaped (the video driver can shape
  // windows), so that what lies behind shows outside the region.
  bool ShapingAvailable() const { return Started() && Shaping_; }
  bool NativeShaped(HWND window);
  // Whether a window manager runs on the display (X11 only).
  bool WindowManagerRunning();

private:
  // Loads SDL, starts its video and the X11 helpers (sets Ok_ or Error_).
  void Start();
  // Waits for a start made ahead (the program's thread only); true when it worked.
  bool Started() const;
  struct TNative {
    SDL_Window* Window = nullptr;
    TRect Bounds;
    std::uint8_t Alpha = 255;
    bool Shown = false;
    bool Topmost = false;
    bool Shaped = false;             // made to take a shape (the window has a region)
    std::vector<TRect> Shape;        // the region last given to it
    std::string Title;
    std::uint64_t XWindow = 0;       // the X11 window (0 elsewhere)
    HWND Owner = nullptr;            // owner given to the display (transient for)
    bool Modal = false;
    bool Iconic = false;             // minimised: iconified by the window manager, or unmapped
    bool Focused = false;            // has had the keyboard since it was made
  };
  void ApplyHints(TNative& native, const TTopLevelView& view);
  // Minimises or restores the native window; true when it is minimised now.
  bool FollowMinimized(TNative& native, const TTopLevelView& view);
  void CheckStacking();
  // Gives a shaped native window the window's region (rounded frame corners).
  void ApplyShape(TNative& native, const TTopLevelView& view);
  void SyncTitle(HWND window, TNative& native);
  TNative* Native(HWND window);
  HWND FromNativeId(std::uint32_t id) const;
  void Handle(const SDL_Event& event);
  TPoint GlobalMouse() const;
  TPoint EventPoint(std::uint32_t windowId, int x, int y) const;
  void Blit(TNative& native, const TTopLevelView& view, const TRect& dirty);
  void ShowCursor(TCursorShape shape);
  // Ends a busy spell: the cursor asked for last comes back.
  void EndBusy();

  bool Ok_ = false;
  std::string Error_;
  std::chrono::steady_clock::time_point Begin_;  // the clock's zero
  mutable std::thread Starter_;                   // the start made ahead, until waited for
  std::map<HWND, TNative> Windows_;
  std::vector<HWND> Order_;
  std::map<int, SDL_Cursor*> Cursors_;
  TCursorShape Cursor_ = TCursorShape::Arrow;  // the one the program asked for last
  std::uint64_t BusySince_ = 0;                 // 0: not busy
  bool BusyCursor_ = false;
  struct THeldEvents;
  std::unique_ptr<THeldEvents> Held_;  // input read while busy, in order
  bool Installed_ = false;
  bool Shaping_ = false;
  bool ScreenPointer_ = false;  // SDL_GetGlobalMouseState gives the screen position
  bool Captured_ = false;       // the window system holds the mouse (moving, sizing)
  SDL_Window* Helper_ = nullptr;  // hidden, lives as long as the backend: the X11 connection
  std::unique_ptr<TX11Display> X11_;
  std::uint64_t StackCheckAt_ = 0;  // 0: no check pending
  std::uint64_t RestackedAt_ = 0;   // our own last restack (its echoes are not someone else's)
  std::uint64_t RefusedTop_ = 0;    // the display's top window we followed last time, in vain
  HWND FocusAsked_ = nullptr;
  std::uint64_t FocusAskedAt_ = 0;
};
