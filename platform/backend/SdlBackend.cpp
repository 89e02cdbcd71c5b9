#include "platform/backend/SdlBackend.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>

#include "platform/backend/SdlLibrary.h"
#include "platform/backend/X11Display.h"
#include "platform/win/Icons.h"
#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/SysCommands.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Window.h"

namespace {

int VirtualKeyOf(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + static_cast<int>(key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + static_cast<int>(key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + static_cast<int>(key - SDLK_F1);
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return VK_NUMPAD0 + 1 + static_cast<int>(key - SDLK_KP_1);
  switch (key) {
    case SDLK_RETURN: case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_HOME: return VK_HOME;
    case SDLK_END: return VK_END;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL: case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT: case SDLK_RALT: return VK_MENU;
    case SDLK_CAPSLOCK: return VK_CAPITAL;
    case SDLK_KP_0: return VK_NUMPAD0;
    case SDLK_MINUS: return VK_OEM_MINUS;
    case SDLK_EQUALS: return VK_OEM_PLUS;
    case SDLK_COMMA: return VK_OEM_COMMA;
    case SDLK_PERIOD: return VK_OEM_PERIOD;
    case SDLK_SLASH: return VK_OEM_2;
    case SDLK_SEMICOLON: return VK_OEM_1;
    default: return 0;
  }
}

SDL_SystemCursor SdlCursor(TCursorShape shape) {
  switch (shape) {
    case TCursorShape::Arrow: return SDL_SYSTEM_CURSOR_ARROW;
    case TCursorShape::IBeam: return SDL_SYSTEM_CURSOR_IBEAM;
    case TCursorShape::Wait: return SDL_SYSTEM_CURSOR_WAIT;
    case TCursorShape::Cross: return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case TCursorShape::UpArrow: return SDL_SYSTEM_CURSOR_ARROW;
    case TCursorShape::SizeNWSE: return SDL_SYSTEM_CURSOR_SIZENWSE;
    case TCursorShape::SizeNESW: return SDL_SYSTEM_CURSOR_SIZENESW;
    case TCursorShape::SizeWE: return SDL_SYSTEM_CURSOR_SIZEWE;
    case TCursorShape::SizeNS: return SDL_SYSTEM_CURSOR_SIZENS;
    case TCursorShape::SizeAll: return SDL_SYSTEM_CURSOR_SIZEALL;
    case TCursorShape::No: return SDL_SYSTEM_CURSOR_NO;
    case TCursorShape::Hand: return SDL_SYSTEM_CURSOR_HAND;
    case TCursorShape::AppStarting: return SDL_SYSTEM_CURSOR_WAITARROW;
    case TCursorShape::Help: return SDL_SYSTEM_CURSOR_ARROW;
  }
  return SDL_SYSTEM_CURSOR_ARROW;
}

}  // namespace

struct TSdlBackend::THeldEvents {
  std::deque<SDL_Event> Events;
};

TSdlBackend::TSdlBackend(TStart start) : Begin_(std::chrono::steady_clock::now()) {
  Held_ = std::make_unique<THeldEvents>();
  if (start == TStart::Ahead) {
    Starter_ = std::thread([this] { Start(); });
  } else {
    Start();
  }
}

bool TSdlBackend::Started() const {
  if (Starter_.joinable()) Starter_.join();
  return Ok_;
}

void TSdlBackend::Start() {
  if (!SdlLibraryError().empty()) {
    Error_ = "окна программы показать нельзя: " + SdlLibraryError();
    return;
  }
  // A GL framebuffer would recreate the X window and lose its properties.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    Error_ = SDL_GetError();
    return;
  }
  Ok_ = true;
  // No end-of-poll marker in the queue: SDL_PollEvent would answer "nothing"
  // on reaching one even with events queued behind it, and our wait would then
  // sleep on the connection while those events wait for a next poll.
  SDL_EventState(SDL_POLLSENTINEL, SDL_IGNORE);
  // Drivers of a real screen report the pointer's screen position.
  const char* driver = SDL_GetCurrentVideoDriver();
  ScreenPointer_ = driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
  // An X error (a request about a window another connection just destroyed) is
  // logged, never the end of the program.
  if (driver && std::strcmp(driver, "x11") == 0) TX11Display::InstallErrorHandler();
  Helper_ = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS);
  X11_ = std::make_unique<TX11Display>(Helper_);
  X11_->WatchStacking();
  // Windows are shaped where the X server can shape them (not offscreen, not Wayland).
  Shaping_ = X11_->CanShape();
  SDL_StartTextInput();
}

TSdlBackend::~TSdlBackend() {
  Started();
  if (Installed_ && &DisplayBackend() == this) SetDisplayBackend(nullptr);
  for (auto& [h, n] : Windows_) {
    if (n.Window) SDL_DestroyWindow(n.Window);
  }
  if (Helper_) SDL_DestroyWindow(Helper_);
  for (auto& [k, c] : Cursors_) SDL_FreeCursor(c);
  if (Ok_) SDL_Quit();
}

void TSdlBackend::Install() {
  SetDisplayBackend(this);
  Installed_ = true;
}

std::uint64_t TSdlBackend::Now() {
  return static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - Begin_).count());
}

TSize TSdlBackend::ScreenSize() {
  SDL_Rect r;
  if (Started() && SDL_GetDisplayBounds(0, &r) == 0) return {r.w, r.h};
  return {1280, 800};
}

TSdlBackend::TNative* TSdlBackend::Native(HWND window) {
  auto it = Windows_.find(window);
  return it == Windows_.end() ? nullptr : &it->second;
}

HWND TSdlBackend::FromNativeId(std::uint32_t id) const {
  for (const auto& [h, n] : Windows_) {
    if (n.Window && SDL_GetWindowID(n.Window) == id) return h;
  }
  return nullptr;
}

void TSdlBackend::ShowWindow(const TTopLevelView& view) {
  if (!Started()) return;
  TNative& n = Windows_[view.Window];
  int w = std::max(1, view.Bounds.Width());
  int h = std::max(1, view.Bounds.Height());
  bool fresh = false;
  // A window that gains or loses its region is made again, shaped or plain.
  const bool wantShaped = Shaping_ && view.Region != nullptr;
  if (n.Window && n.Shaped != wantShaped) {
    SDL_DestroyWindow(n.Window);
    n.Window = nullptr;
    n.Shown = false;
    n.Shape.clear();
  }
  if (!n.Window) {
    Uint32 flags = SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE;
    if (view.Topmost) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    if (view.ToolWindow || view.NoActivate) flags |= SDL_WINDOW_SKIP_TASKBAR;
    // Hints and other windows that never activate stay out of the window manager's
    // hands (it would give them the keyboard when they appear).
    if (view.NoActivate || view.ClickThrough) flags |= SDL_WINDOW_TOOLTIP;
    // The window manager's title (task bar, window list) is the form's caption.
    n.Title = GetWindowText(view.Window);
    if (n.Title.empty()) n.Title = ApplicationTitle();
    // A shaped window is not resizable by others: the program sizes it.
    if (wantShaped) flags &= ~static_cast<Uint32>(SDL_WINDOW_RESIZABLE);
    n.Window = SDL_CreateWindow(n.Title.c_str(), view.Bounds.Left, view.Bounds.Top, w, h, flags);
    if (!n.Window) return;
    n.Shaped = wantShaped;
    n.Bounds = view.Bounds;
    n.Topmost = view.Topmost;
    n.XWindow = TX11Display::WindowOf(n.Window);
    n.Owner = nullptr;
    n.Modal = false;
    n.Iconic = false;
    n.Focused = false;
    fresh = true;
  }
  SyncTitle(view.Window, n);
  ApplyHints(n, view);
  // A minimised window keeps its native place and size: it is iconified or unmapped.
  if (FollowMinimized(n, view)) return;
  if (view.Bounds.Left != n.Bounds.Left || view.Bounds.Top != n.Bounds.Top) {
    SDL_SetWindowPosition(n.Window, view.Bounds.Left, view.Bounds.Top);
  }
  bool resized = view.Bounds.Width() != n.Bounds.Width() || view.Bounds.Height() != n.Bounds.Height();
  if (resized) SDL_SetWindowSize(n.Window, w, h);
  n.Bounds = view.Bounds;
  if (resized && n.Shown) {
    // Resizing may raise the native window; put the windows above it back on top.
    auto self = std::find(Order_.begin(), Order_.end(), view.Window);
    for (auto it = std::make_reverse_iterator(self); it != Order_.rend(); ++it) {
      TNative* above = Native(*it);
      if (above && above->Window && above->Shown) SDL_RaiseWindow(above->Window);
    }
  }
  if (view.Topmost != n.Topmost) {
    SDL_SetWindowAlwaysOnTop(n.Window, view.Topmost ? SDL_TRUE : SDL_FALSE);
    n.Topmost = view.Topmost;
  }
  if (n.Shaped) ApplyShape(n, view);
  if (fresh || view.Alpha != n.Alpha) {
    n.Alpha = view.Alpha;
    SDL_SetWindowOpacity(n.Window, static_cast<float>(view.Alpha) / 255.0f);
  }
  // A fully transparent window shows nothing: keep it unmapped, which also
  // works where opacity is not supported (no compositor).
  bool wantShown = view.Alpha > 0;
  if (wantShown && !n.Shown) {
    SDL_ShowWindow(n.Window);
    SDL_SetWindowPosition(n.Window, view.Bounds.Left, view.Bounds.Top);
    n.Shown = true;
    // SDL gives a window it maps the keyboard when it saw no window manager at start:
    // one that never activates gives it back to the active window.
    if (view.NoActivate || view.ClickThrough)
      if (HWND active = GetActiveWindow(); active && active != view.Window) ActivateWindow(active);
    // Mapping raises it: the windows that stand above it go back on top.
    auto self = std::find(Order_.begin(), Order_.end(), view.Window);
    if (self != Order_.end())
      for (auto it = std::make_reverse_iterator(self); it != Order_.rend(); ++it) {
        TNative* above = Native(*it);
        if (above && above->Window && above->Shown) SDL_RaiseWindow(above->Window);
      }
    Blit(n, view, {0, 0, view.Bounds.Width(), view.Bounds.Height()});
  } else if (!wantShown && n.Shown) {
    SDL_HideWindow(n.Window);
    n.Shown = false;
  } else if (resized && n.Shown) {
    Blit(n, view, {0, 0, view.Bounds.Width(), view.Bounds.Height()});
  }
}

void TSdlBackend::ApplyHints(TNative& n, const TTopLevelView& view) {
  // The window manager keeps an owned window above its owner and a modal one
  // above everything it holds up; both are said before the window is mapped.
  if (view.Owner != n.Owner) {
    TNative* owner = Native(view.Owner);
    const bool known = owner && owner->XWindow;
    X11_->SetOwner(n.XWindow, known ? owner->XWindow : 0);
    n.Owner = known ? view.Owner : nullptr;
  }
  if (view.Modal != n.Modal) {
    X11_->SetModal(n.XWindow, view.Modal);
    n.Modal = view.Modal;
  }
}

bool TSdlBackend::MinimizesNatively() { return Started() && X11_ && X11_->Ok(); }

bool TSdlBackend::WindowManagerRunning() { return Started() && X11_ && X11_->WindowManagerRunning(); }

bool TSdlBackend::FollowMinimized(TNative& n, const TTopLevelView& view) {
  if (!MinimizesNatively()) return false;
  if (view.Minimized) {
    if (!n.Iconic) {
      n.Iconic = true;
      // A window manager iconifies it (and restores it from its task list);
      // without one it is unmapped until the program restores it.
      if (n.Shown && WindowManagerRunning()) {
        SDL_MinimizeWindow(n.Window);
      } else if (n.Shown) {
        SDL_HideWindow(n.Window);
        n.Shown = false;
      }
    }
    return true;
  }
  if (n.Iconic) {
    n.Iconic = false;
    if (n.Shown) SDL_RestoreWindow(n.Window);
  }
  return false;
}

void TSdlBackend::ApplyShape(TNative& n, const TTopLevelView& view) {
  const int w = std::max(1, view.Bounds.Width()), h = std::max(1, view.Bounds.Height());
  std::vector<TRect> rects;
  if (view.Region)
    for (const TRect& r : *view.Region)
      if (const TRect c = r.Intersect({0, 0, w, h}); !c.IsEmpty()) rects.push_back(c);
  // The window's size travels with its shape: a resized window is shaped again.
  rects.push_back({0, 0, -w, -h});
  if (rects == n.Shape) return;
  n.Shape = rects;
  rects.pop_back();
  // The rectangles go to the server as they are: no mask is made pixel by pixel.
  X11_->SetShape(n.XWindow, rects);
}

bool TSdlBackend::NativeShaped(HWND window) {
  TNative* n = Native(window);
  return n && n->Window && n->Shaped && X11_->Shaped(n->XWindow);
}

void TSdlBackend::HideWindow(HWND window) {
  TNative* n = Native(window);
  if (n && n->Window && n->Shown) {
    SDL_HideWindow(n->Window);
    n->Shown = false;
  }
}

void TSdlBackend::DestroyWindow(HWND window) {
  auto it = Windows_.find(window);
  if (it == Windows_.end()) return;
  if (it->second.Window) SDL_DestroyWindow(it->second.Window);
  Windows_.erase(it);
  std::erase(Order_, window);
}

void TSdlBackend::Blit(TNative& n, const TTopLevelView& view, const TRect& dirty) {
  if (!n.Window || !n.Shown || !view.Image) return;
  SDL_Surface* surface = SDL_GetWindowSurface(n.Window);
  if (!surface) return;
  const TBitmap& image = *view.Image;
  TRect r = dirty.Intersect({0, 0, std::min(image.Width(), surface->w), std::min(image.Height(), surface->h)});
  if (r.IsEmpty()) return;
  if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
  // The surface is B, G, R, X: the layout of our 32-bit images.
  for (int y = r.Top; y < r.Bottom; ++y) {
    const std::uint8_t* src = image.ScanLine(y) + r.Left * 4;
    auto* dst = static_cast<std::uint8_t*>(surface->pixels) + static_cast<std::ptrdiff_t>(y) * surface->pitch + r.Left * 4;
    std::memcpy(dst, src, static_cast<std::size_t>(r.Width()) * 4);
  }
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  SDL_Rect rect{r.Left, r.Top, r.Width(), r.Height()};
  SDL_UpdateWindowSurfaceRects(n.Window, &rect, 1);
}

void TSdlBackend::Present(const TTopLevelView& view, const TRect& dirty) {
  TNative* n = Native(view.Window);
  if (!n) return;
  SyncTitle(view.Window, *n);
  Blit(*n, view, dirty);
}

void TSdlBackend::SyncTitle(HWND window, TNative& native) {
  if (!native.Window) return;
  std::string text = GetWindowText(window);
  // A window without a caption (the login window) is listed under the program's name.
  if (text.empty()) text = ApplicationTitle();
  if (text == native.Title) return;
  native.Title = std::move(text);
  SDL_SetWindowTitle(native.Window, native.Title.c_str());
}

void TSdlBackend::SyncTitles() {
  for (auto& [h, n] : Windows_)
    if (IsWindow(h)) SyncTitle(h, n);
}

SDL_Window* TSdlBackend::NativeWindow(HWND window) {
  TNative* n = Native(window);
  return n ? n->Window : nullptr;
}

bool TSdlBackend::NativeShown(HWND window) {
  TNative* n = Native(window);
  return n && n->Window && (SDL_GetWindowFlags(n->Window) & SDL_WINDOW_SHOWN) != 0 && n->Shown;
}

void TSdlBackend::SetZOrder(const std::vector<HWND>& topToBottom) {
  if (topToBottom == Order_) return;
  // Raise from the bottom up so the first ends on top; topmost windows last of all.
  Order_ = topToBottom;
  RestackedAt_ = Now();
  for (auto it = topToBottom.rbegin(); it != topToBottom.rend(); ++it) {
    TNative* n = Native(*it);
    if (n && n->Window && n->Shown && !n->Iconic) SDL_RaiseWindow(n->Window);
  }
}

void TSdlBackend::ActivateWindow(HWND window) {
  TNative* n = Native(window);
  if (!n || !n->Window || !n->Shown || n->Iconic || !X11_->Viewable(n->XWindow)) return;
  // The keyboard goes where the program's active window is: without a window
  // manager nobody else moves it (and it is lost when the box that had it goes).
  FocusAsked_ = window;
  FocusAskedAt_ = Now();
  SDL_SetWindowInputFocus(n->Window);
}

// Someone else (a window manager, another program) restacked our windows: the one
// they put on top of ours goes on top in the program too.
void TSdlBackend::CheckStacking() {
  StackCheckAt_ = 0;
  std::vector<std::uint64_t> ours;
  for (HWND h : Order_) {
    TNative* n = Native(h);
    if (n && n->Shown && !n->Iconic && n->XWindow) ours.push_back(n->XWindow);
  }
  if (ours.size() < 2) return;
  const std::vector<std::uint64_t> stacked = X11_->Stacking(ours);
  if (stacked.empty() || stacked.size() != ours.size() || stacked.front() == ours.front()) {
    RefusedTop_ = 0;
    return;
  }
  // The same disagreement again: the window manager keeps its order (a window it
  // holds above another); asking once more would only restack for ever.
  if (RefusedTop_ == stacked.front()) return;
  RefusedTop_ = stacked.front();
  for (const auto& [h, n] : Windows_) {
    if (n.XWindow != stacked.front()) continue;
    Order_.clear();  // the display's order is no longer ours: it is told again
    InputWindowRaised(h, false);
    return;
  }
}

void TSdlBackend::SetCursor(TCursorShape shape) {
  Cursor_ = shape;
  if (!BusyCursor_) ShowCursor(shape);
}

void TSdlBackend::ShowCursor(TCursorShape shape) {
  if (!Started()) return;
  int key = static_cast<int>(shape);
  SDL_Cursor*& cursor = Cursors_[key];
  if (!cursor) cursor = SDL_CreateSystemCursor(SdlCursor(shape));
  if (cursor) SDL_SetCursor(cursor);
}

void TSdlBackend::ServeWhileBusy() {
  if (!Started()) return;
  const std::uint64_t now = Now();
  if (!BusySince_) BusySince_ = now;
  if (!BusyCursor_ && now - BusySince_ >= kBusyCursorAfterMs) {
    ShowCursor(TCursorShape::Wait);
    BusyCursor_ = true;
  }
  // Reading the events answers the window manager (SDL replies to its pings).
  // Only what runs none of the program's code is handled now: an uncovered
  // window gets its kept image back, a restacking is noted. Everything else
  // (input, close requests, moves) waits, in order, for the program's loop.
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    const bool exposed = event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED;
    if (exposed || event.type == SDL_SYSWMEVENT) Handle(event);
    else Held_->Events.push_back(event);
  }
}

void TSdlBackend::EndBusy() {
  BusySince_ = 0;
  if (!BusyCursor_) return;
  BusyCursor_ = false;
  ShowCursor(Cursor_);
}

void TSdlBackend::SetCapture(bool captured) {
  // While a button is held the pressed native window keeps getting the mouse
  // (SDL's automatic capture). An explicit pointer grab on top of it made X
  // drop the release, so the window system's capture stays logical.
  Captured_ = captured;
}

void TSdlBackend::Wake() {
  // Single-threaded: GetMessage looks at the queue before it waits.
}

// Event positions are relative to the native window; ours know where they are.
TPoint TSdlBackend::EventPoint(std::uint32_t windowId, int x, int y) const {
  // Event coordinates are relative to where the native window stood when the event
  // was made; while the program moves that window (a drag by the title band holds
  // the capture) the pointer's own screen position is the one to trust.
  if (ScreenPointer_ && Captured_) return GlobalMouse();
  HWND h = FromNativeId(windowId);
  auto it = Windows_.find(h);
  if (!h || it == Windows_.end()) return GlobalMouse();
  return {it->second.Bounds.Left + x, it->second.Bounds.Top + y};
}

TPoint TSdlBackend::GlobalMouse() const {
  int x = 0, y = 0;
  SDL_GetGlobalMouseState(&x, &y);
  return {x, y};
}

void TSdlBackend::WaitForInput(int timeoutMs) {
  if (!Started()) {
    if (timeoutMs < 0) PostQuitMessage(1);
    return;
  }
  // Back in the program's loop: a busy spell is over, and what came meanwhile
  // goes first, one event at a time.
  EndBusy();
  // A caption set on a window that paints no title bar (a borderless form)
  // reaches no paint: the titles are compared before every wait.
  SyncTitles();
  SDL_Event event;
  if (!Held_->Events.empty()) {
    event = Held_->Events.front();
    Held_->Events.pop_front();
    Handle(event);
    return;
  }
  if (X11_->Ok()) {
    // Restacking by others is looked at once our own raises have settled.
    const std::uint64_t now = Now();
    if (StackCheckAt_ && now >= StackCheckAt_) {
      CheckStacking();
      return;
    }
    if (StackCheckAt_) {
      const int untilCheck = static_cast<int>(StackCheckAt_ - now);
      timeoutMs = timeoutMs < 0 ? untilCheck : std::min(timeoutMs, untilCheck);
    }
    // Waiting on the connection ourselves: SDL's own wait would send its wake-up
    // messages to our newest window from a second connection.
    if (!SDL_PollEvent(&event)) {
      if (timeoutMs == 0) return;
      X11_->Wait(timeoutMs);
      if (!SDL_PollEvent(&event)) return;
    }
    Handle(event);
    return;
  }
  int got = timeoutMs < 0 ? SDL_WaitEvent(&event) : SDL_WaitEventTimeout(&event, timeoutMs);
  // One event at a time: what it posts is dispatched before the next one is
  // read, so a press starts a move or size while the button is still down.
  if (got) Handle(event);
}

void TSdlBackend::Handle(const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT:
      PostQuitMessage(0);
      break;
    case SDL_MOUSEMOTION:
      InputMouseMove(EventPoint(e.motion.windowID, e.motion.x, e.motion.y));
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      TMouseButton b = e.button.button == SDL_BUTTON_RIGHT    ? TMouseButton::Right
                       : e.button.button == SDL_BUTTON_MIDDLE ? TMouseButton::Middle
                                                              : TMouseButton::Left;
      TPoint p = EventPoint(e.button.windowID, e.button.x, e.button.y);
      InputMouseMove(p);
      InputMouseButton(b, e.type == SDL_MOUSEBUTTONDOWN, p, FromNativeId(e.button.windowID));
      break;
    }
    case SDL_MOUSEWHEEL:
      InputMouseWheel(e.wheel.y * 120, GlobalMouse());
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      int vk = VirtualKeyOf(e.key.keysym.sym);
      if (vk) InputKey(vk, e.type == SDL_KEYDOWN);
      break;
    }
    case SDL_TEXTINPUT:
      InputText(e.text.text);
      break;
    case SDL_WINDOWEVENT: {
      HWND h = FromNativeId(e.window.windowID);
      if (!h) break;
      TNative* n = Native(h);
      switch (e.window.event) {
        case SDL_WINDOWEVENT_EXPOSED: {
          TTopLevelView view = TopLevelView(h);
          if (n && view.Image) Blit(*n, view, {0, 0, view.Bounds.Width(), view.Bounds.Height()});
          break;
        }
        case SDL_WINDOWEVENT_CLOSE:
          PostMessage(h, WM_SYSCOMMAND, SC_CLOSE, 0);
          break;
        case SDL_WINDOWEVENT_MINIMIZED:
          // The window manager iconified it: the window follows.
          if (n && !n->Iconic && !IsIconic(h)) {
            n->Iconic = true;
            PostMessage(h, WM_SYSCOMMAND, SC_MINIMIZE, 0);
          }
          break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SHOWN:
          // Restored from the window manager's list, or mapped by another program.
          if (n && IsIconic(h)) {
            n->Iconic = false;
            n->Shown = true;
            PostMessage(h, WM_SYSCOMMAND, SC_RESTORE, 0);
          }
          break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          // The first keyboard a window gets is its mapping's (SDL's own without a
          // window manager, the window manager's placement policy with one), not a
          // person's choice: a window the program did not activate hands it back.
          if (n && !n->Focused) {
            n->Focused = true;
            if (h != GetActiveWindow() && h != FocusAsked_) {
              if (HWND active = GetActiveWindow()) ActivateWindow(active);
              break;
            }
          }
          // Activated by the window manager (not our own request echoing back).
          if (h != GetActiveWindow() && h != FocusAsked_ && Now() - FocusAskedAt_ > 300) InputWindowRaised(h, true);
          break;
        case SDL_WINDOWEVENT_MOVED:
          // A window manager placed the window elsewhere: follow it.
          if (n && (e.window.data1 != n->Bounds.Left || e.window.data2 != n->Bounds.Top)) {
            n->Bounds = n->Bounds.Offset(e.window.data1 - n->Bounds.Left, e.window.data2 - n->Bounds.Top);
            SetWindowPos(h, nullptr, e.window.data1, e.window.data2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
          }
          break;
        case SDL_WINDOWEVENT_LEAVE:
          // Moving from one of our windows into another is not leaving.
          if (!WindowFromPoint(GlobalMouse())) InputMouseLeftDesktop();
          break;
        default:
          break;
      }
      break;
    }
    case SDL_SYSWMEVENT:
      if (X11_->IsStackingEvent(e)) {
        const std::uint64_t settled = RestackedAt_ + 250;
        StackCheckAt_ = std::max(Now() + 30, settled);
      }
      break;
    default:
      break;
  }
}
