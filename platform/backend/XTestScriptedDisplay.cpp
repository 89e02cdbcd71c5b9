#include "platform/backend/XTestScriptedDisplay.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include "platform/backend/SdlBackend.h"
#include "platform/gfx/ImageFile.h"
#include "platform/win/Cursors.h"
#include "platform/win/Message.h"
#include "platform/win/Timer.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Window.h"
#include "platform/win/WindowStyles.h"

namespace {

unsigned long KeysymOfVirtualKey(int vk) {
  if (vk >= 'A' && vk <= 'Z') return XK_a + static_cast<unsigned long>(vk - 'A');
  if (vk >= '0' && vk <= '9') return XK_0 + static_cast<unsigned long>(vk - '0');
  if (vk >= VK_F1 && vk <= VK_F12) return XK_F1 + static_cast<unsigned long>(vk - VK_F1);
  switch (vk) {
    case VK_RETURN: return XK_Return;
    case VK_ESCAPE: return XK_Escape;
    case VK_TAB: return XK_Tab;
    case VK_SPACE: return XK_space;
    case VK_BACK: return XK_BackSpace;
    case VK_DELETE: return XK_Delete;
    case VK_INSERT: return XK_Insert;
    case VK_HOME: return XK_Home;
    case VK_END: return XK_End;
    case VK_PRIOR: return XK_Prior;
    case VK_NEXT: return XK_Next;
    case VK_LEFT: return XK_Left;
    case VK_RIGHT: return XK_Right;
    case VK_UP: return XK_Up;
    case VK_DOWN: return XK_Down;
    case VK_CONTROL: return XK_Control_L;
    case VK_SHIFT: return XK_Shift_L;
    case VK_MENU: return XK_Alt_L;
    default: return 0;
  }
}

// Code points of UTF-8 text (a broken sequence ends it).
std::u32string CodePoints(const std::string& utf8) {
  std::u32string out;
  for (size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    const int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
    if (extra < 0 || i + static_cast<size_t>(extra) >= utf8.size() + (extra == 0 ? 1 : 0)) break;
    char32_t c = extra == 0 ? b : (b & (0x3F >> extra));
    for (int k = 1; k <= extra; ++k) c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    out += c;
    i += static_cast<size_t>(extra) + 1;
  }
  return out;
}

std::string Hex(unsigned long v) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%lx", v);
  return text;
}

std::string PointText(TPoint p) { return std::to_string(p.X) + "," + std::to_string(p.Y); }

}  // namespace

TXTestScriptedDisplay::TXTestScriptedDisplay(TSdlBackend& sdl) : Sdl_(sdl) {}

TXTestScriptedDisplay::~TXTestScriptedDisplay() {
  if (Watching_) SDL_DelEventWatch(&TXTestScriptedDisplay::Watch, this);
  if (Installed_ && &DisplayBackend() == this) Sdl_.Install();
}

void TXTestScriptedDisplay::Install() {
  SetDisplayBackend(this);
  Installed_ = true;
  if (!Watching_) SDL_AddEventWatch(&TXTestScriptedDisplay::Watch, this);
  Watching_ = true;
}

int TXTestScriptedDisplay::Watch(void* self, SDL_Event* event) {
  TAwaited& a = static_cast<TXTestScriptedDisplay*>(self)->Awaited_;
  switch (event->type) {
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (a.Buttons > 0) --a.Buttons;
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      if (a.Keys > 0) --a.Keys;
      break;
    case SDL_TEXTINPUT:
      if (a.Texts > 0) --a.Texts;
      break;
    default:
      break;
  }
  return 1;
}

// --- the display the window system sees: SDL's ------------------------------------------

std::uint64_t TXTestScriptedDisplay::Now() { return Sdl_.Now(); }
TSize TXTestScriptedDisplay::ScreenSize() { return Sdl_.ScreenSize(); }
bool TXTestScriptedDisplay::PerPixelAlphaAvailable() { return Sdl_.PerPixelAlphaAvailable(); }
bool TXTestScriptedDisplay::MinimizesNatively() { return Sdl_.MinimizesNatively(); }
void TXTestScriptedDisplay::ActivateWindow(HWND window) { Sdl_.ActivateWindow(window); }
void TXTestScriptedDisplay::ShowWindow(const TTopLevelView& view) { Sdl_.ShowWindow(view); }
void TXTestScriptedDisplay::HideWindow(HWND window) { Sdl_.HideWindow(window); }
void TXTestScriptedDisplay::DestroyWindow(HWND window) { Sdl_.DestroyWindow(window); }
void TXTestScriptedDisplay::Present(const TTopLevelView& view, const TRect& dirty) { Sdl_.Present(view, dirty); }
void TXTestScriptedDisplay::SetZOrder(const std::vector<HWND>& topToBottom) { Sdl_.SetZOrder(topToBottom); }
void TXTestScriptedDisplay::SetCursor(TCursorShape shape) { Sdl_.SetCursor(shape); }
void TXTestScriptedDisplay::SetCapture(bool captured) { Sdl_.SetCapture(captured); }
void TXTestScriptedDisplay::Wake() { Sdl_.Wake(); }

bool TXTestScriptedDisplay::SdlPending() {
  return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0;
}

void TXTestScriptedDisplay::WaitForInput(int timeoutMs) {
  // The next line runs only when the program has nothing to do and no input
  // of the last line is still on its way.
  if (Idle_ && timeoutMs != 0 && !Awaited_.Any()) {
    SDL_PumpEvents();
    if (!SdlPending()) {
      if (!Idle_()) PostQuitMessage(0);
      return;
    }
  }
  if (Awaited_.Any() && (timeoutMs < 0 || timeoutMs > 10)) timeoutMs = 10;
  Sdl_.WaitForInput(timeoutMs);
}

// --- running the program ---------------------------------------------------------------

void TXTestScriptedDisplay::SyncProgram() {
  // Everything the server sent the program before now lies in its queue.
  for (const auto& [xwindow, window] : XWindows()) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_Window* native = Sdl_.NativeWindow(window); native && SDL_GetWindowWMInfo(native, &info)) {
      XSync(info.info.x11.display, False);
      return;
    }
  }
}

void TXTestScriptedDisplay::Drain() {
  SyncProgram();
  const std::uint64_t limit = Now() + InputLimitMs;
  for (;;) {
    if (!ProcessPendingMessages()) return;
    SDL_PumpEvents();
    if (!SdlPending() || Now() > limit) break;
    Sdl_.WaitForInput(0);
  }
  ProcessPendingMessages();
}

void TXTestScriptedDisplay::Settle() {
  const std::uint64_t limit = Now() + InputLimitMs;
  for (;;) {
    Drain();
    // Shown, and where the program has it: a window manager may map or place
    // a window later, and the program follows a window it moved.
    bool settled = true;
    for (const auto& [xwindow, window] : XWindows()) {
      if (!Sdl_.NativeShown(window)) continue;
      const TRect onScreen = X_.Bounds(xwindow);
      const TRect own = TopLevelView(window).Bounds;
      if (onScreen.IsEmpty() || onScreen.Left != own.Left || onScreen.Top != own.Top) settled = false;
    }
    if (settled || Now() > limit) return;
    Sdl_.WaitForInput(5);
  }
}

std::string TXTestScriptedDisplay::Deliver(const std::string& what, const TPoint* pointer) {
  X_.Sync();
  const std::uint64_t limit = Now() + InputLimitMs;
  auto pointerThere = [pointer] {
    if (!pointer) return true;
    TPoint at;
    return GetCursorPos(&at) && at.X == pointer->X && at.Y == pointer->Y;
  };
  while (Awaited_.Any() || !pointerThere()) {
    if (Now() > limit) {
      std::string why = what + ": the program did not receive it within " + std::to_string(InputLimitMs) + " ms";
      if (Awaited_.Keys > 0 || Awaited_.Texts > 0) {
        const unsigned long focus = X_.KeyboardFocus();
        why += focus ? " (the keyboard goes to X window " + Hex(focus) + (Owner(focus) ? ", one of the program's)" : ", not the program's)")
                     : " (no X window has the keyboard)";
      }
      if (!pointerThere()) {
        TPoint at;
        GetCursorPos(&at);
        why += " (the pointer stands at " + PointText(X_.Pointer()) + ", the program saw it at " + PointText(at) + ")";
      }
      Awaited_ = {};
      return why;
    }
    if (!ProcessPendingMessages()) {
      Awaited_ = {};
      return "";
    }
    Sdl_.WaitForInput(10);
  }
  Drain();
  return "";
}

std::string TXTestScriptedDisplay::MoveFirst(TPoint p) {
  Settle();
  TPoint at;
  if (GetCursorPos(&at) && at.X == p.X && at.Y == p.Y && X_.Pointer().X == p.X && X_.Pointer().Y == p.Y) return "";
  X_.MoveTo(p);
  X_.Sync();
  // Motion reaches the program only over one of its windows.
  if (!Owner(X_.UnderPointer())) {
    Drain();
    return "";
  }
  return Deliver("move to " + PointText(p), &p);
}

void TXTestScriptedDisplay::Advance(int ms) {
  const std::uint64_t end = Now() + static_cast<std::uint64_t>(ms < 0 ? 0 : ms);
  for (;;) {
    if (!ProcessPendingMessages()) return;
    const std::uint64_t now = Now();
    if (now >= end) break;
    const int left = static_cast<int>(end - now);
    const int timer = NextTimerDelay();
    Sdl_.WaitForInput(timer < 0 ? left : std::min(timer, left));
  }
  Drain();
}

std::string TXTestScriptedDisplay::MouseMove(TPoint p) { return MoveFirst(p); }

std::string TXTestScriptedDisplay::Click(TPoint p, TMouseButton button, int count) {
  if (std::string error = MoveFirst(p); !error.empty()) return error;
  // The press goes to the window the server has under the pointer: wait until
  // that is the program's window there, not the frame of one just hidden that
  // a window manager has not taken down yet (bounded: a window of another
  // program may stand there, and then the click is its).
  if (HWND there = GetAncestor(WindowFromPoint(p), GA_ROOT)) {
    const std::uint64_t limit = Now() + InputLimitMs;
    while (Owner(X_.UnderPointer()) != there && Now() <= limit) {
      Drain();
      Sdl_.WaitForInput(5);
    }
  }
  const int number = button == TMouseButton::Right ? 3 : button == TMouseButton::Middle ? 2 : 1;
  Awaited_.Buttons += 2 * count;
  for (int i = 0; i < count; ++i) {
    X_.Button(number, true);
    X_.Button(number, false);
  }
  return Deliver((count == 2 ? "double click at " : "click at ") + PointText(p));
}

std::string TXTestScriptedDisplay::Key(const std::vector<int>& modifiers, int virtualKey) {
  Settle();
  std::vector<unsigned long> syms;
  for (int m : modifiers) syms.push_back(KeysymOfVirtualKey(m));
  syms.push_back(KeysymOfVirtualKey(virtualKey));
  for (unsigned long s : syms)
    if (!s) return "no X key for virtual key " + std::to_string(virtualKey);
  Awaited_.Keys += 2 * static_cast<int>(syms.size());
  for (unsigned long s : syms) X_.Key(s, true);
  for (auto it = syms.rbegin(); it != syms.rend(); ++it) X_.Key(*it, false);
  return Deliver("key " + std::to_string(virtualKey));
}

std::string TXTestScriptedDisplay::Text(const std::string& utf8) {
  Settle();
  std::u32string characters = CodePoints(utf8);
  // Keys for the characters no key types are lent before the first is pressed:
  // a mapping that changed while the program still looks up earlier keys
  // would give them the wrong characters. A text needing more such keys than
  // the server has spare goes in parts, each delivered before the next mapping.
  while (!characters.empty()) {
    const size_t part = X_.LendablePrefix(characters);
    if (part == 0 || !X_.Lend(characters.substr(0, part))) return "type: no spare keycode to lend";
    for (size_t i = 0; i < part; ++i) {
      if (!X_.TypeCharacter(characters[i])) {
        Awaited_ = {};
        return "no X key can type U+" + Hex(characters[i]).substr(2);
      }
      ++Awaited_.Texts;
    }
    if (std::string error = Deliver("type '" + utf8 + "'"); !error.empty()) return error;
    characters.erase(0, part);
  }
  return "";
}

std::string TXTestScriptedDisplay::RaiseFromOutside(HWND window) {
  Settle();
  unsigned long target = 0;
  for (const auto& [xwindow, owner] : XWindows())
    if (owner == window) target = xwindow;
  if (!target) return "raise: the window is not on the screen";
  X_.Raise(target);
  // Answered when no look at the stacking is due and the server's order of our
  // windows is the program's (a window manager may also have refused the raise).
  const std::uint64_t limit = Now() + InputLimitMs;
  for (;;) {
    Drain();
    std::vector<HWND> ours;
    const std::vector<TTopLevelView> views = VisibleTopLevelViews();
    for (auto it = views.rbegin(); it != views.rend(); ++it)
      if (it->Alpha > 0 && Sdl_.NativeShown(it->Window)) ours.push_back(it->Window);
    if (!Sdl_.StackCheckPending() && ServerStacking() == ours) return "";
    if (Now() > limit) return "raise: the program's order of its windows did not follow the screen's";
    Sdl_.WaitForInput(10);
  }
}

// --- what the screen shows ---------------------------------------------------------------

std::map<unsigned long, HWND> TXTestScriptedDisplay::XWindows() {
  std::map<unsigned long, HWND> out;
  for (const TTopLevelView& view : VisibleTopLevelViews()) {
    SDL_Window* native = Sdl_.NativeWindow(view.Window);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (native && SDL_GetWindowWMInfo(native, &info) && info.subsystem == SDL_SYSWM_X11)
      out[info.info.x11.window] = view.Window;
  }
  return out;
}

HWND TXTestScriptedDisplay::Owner(unsigned long xwindow) {
  if (!xwindow) return nullptr;
  const auto windows = XWindows();
  for (unsigned long w : X_.Lineage(xwindow))
    if (auto it = windows.find(w); it != windows.end()) return it->second;
  return nullptr;
}

std::vector<HWND> TXTestScriptedDisplay::Stacking() {
  Settle();
  return ServerStacking();
}

std::vector<HWND> TXTestScriptedDisplay::ServerStacking() {
  // Each of our windows stands where its outermost ancestor (a frame) stands.
  std::map<unsigned long, HWND> byTop;
  for (const auto& [xwindow, window] : XWindows()) {
    const auto lineage = X_.Lineage(xwindow);
    if (!lineage.empty()) byTop[lineage.back()] = window;
  }
  std::vector<HWND> out;
  for (unsigned long top : X_.TopLevelsTopFirst())
    if (auto it = byTop.find(top); it != byTop.end()) out.push_back(it->second);
  return out;
}

HWND TXTestScriptedDisplay::KeyboardWindow() {
  Settle();
  return Owner(X_.KeyboardFocus());
}

bool TXTestScriptedDisplay::SaveDesktopPng(const std::string& path) {
  Settle();
  const TSize size = X_.ScreenSize();
  TBitmap picture = X_.Grab({0, 0, size.cx, size.cy});
  if (picture.Width() == 0) return false;
  picture.SetPixelFormat(TPixelFormat::pf24bit);
  SavePngToFile(picture, path);
  return true;
}

bool TXTestScriptedDisplay::SaveWindowPng(HWND window, const std::string& path) {
  Settle();
  for (const auto& [xwindow, owner] : XWindows()) {
    if (owner != window) continue;
    TBitmap picture = X_.Grab(X_.Bounds(xwindow));
    if (picture.Width() == 0) return false;
    picture.SetPixelFormat(TPixelFormat::pf24bit);
    SavePngToFile(picture, path);
    return true;
  }
  return false;
}
