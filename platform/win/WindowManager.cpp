#include "platform/win/WindowManager.h"

#include <algorithm>

#include "platform/win/SystemMetrics.h"

namespace {

// Used until a backend is installed: a clock standing still at 0 that jumps to
// deadlines, and no display.
class TNullBackend final : public TDisplayBackend {
public:
  std::uint64_t Now() override { return Now_; }
  TSize ScreenSize() override { return {1280, 800}; }
  bool PerPixelAlphaAvailable() override { return true; }
  void ShowWindow(const TTopLevelView&) override {}
  void HideWindow(HWND) override {}
  void DestroyWindow(HWND) override {}
  void Present(const TTopLevelView&, const TRect&) override {}
  void SetZOrder(const std::vector<HWND>&) override {}
  void SetCursor(TCursorShape) override {}
  void SetCapture(bool) override {}
  void WaitForInput(int timeoutMs) override {
    if (timeoutMs > 0) Now_ += static_cast<std::uint64_t>(timeoutMs);
  }
  void Wake() override {}

private:
  std::uint64_t Now_ = 0;
};

}  // namespace

TWindowManager::TWindowManager() : Fallback_(std::make_unique<TNullBackend>()) {}

TWindowManager& TWindowManager::Instance() {
  static TWindowManager instance;
  return instance;
}

TWindow* TWindowManager::Find(HWND window) const {
  if (!window) return nullptr;
  auto it = Windows.find(IdFromHandle(window));
  return it == Windows.end() ? nullptr : it->second.get();
}

TWindow& TWindowManager::Require(HWND window) const { return *Windows.at(IdFromHandle(window)); }

TDisplayBackend& TWindowManager::Backend() { return Backend_ ? *Backend_ : *Fallback_; }

void TWindowManager::SetBackend(TDisplayBackend* backend) {
  Backend_ = backend;
  // A display just taken shows none of the program's cursors yet: the next
  // cursor set goes to it even when it is the one the display before showed.
  Cursor = nullptr;
}

void TWindowManager::Reset() {
  Tracker.reset();
  Windows.clear();
  Classes.clear();
  TopLevels.clear();
  Queue.clear();
  QuitPosted = false;
  QuitCode = 0;
  Timers.clear();
  Hooks.clear();
  Active = Focus = Capture = nullptr;
  AppActive = false;
  MousePos = {-1, -1};
  MouseWindow = nullptr;
  MouseHit = 0;
  TrackLeave = TrackNcLeave = TrackHover = nullptr;
  TrackClient = TrackNonClient = false;
  Cursor = nullptr;
  LastDownMsg = 0;
  LastDownWindow = nullptr;
  LastWasDouble = false;
  DoubleClickTime = 500;
  std::fill(std::begin(KeyState), std::end(KeyState), std::uint8_t{0});
}

void SetDisplayBackend(TDisplayBackend* backend) { WM().SetBackend(backend); }
TDisplayBackend& DisplayBackend() { return WM().Backend(); }

DWORD GetTickCount() { return static_cast<DWORD>(WM().Backend().Now()); }
std::uint64_t GetTickCount64() { return WM().Backend().Now(); }

// --- hooks ---------------------------------------------------------------------

HHOOK SetWindowsHookEx(int idHook, HOOKPROC proc, HINSTANCE, DWORD) {
  if (idHook != WH_CBT || !proc) return nullptr;
  auto& wm = WM();
  THook hook;
  hook.Handle = reinterpret_cast<HHOOK>(wm.NextHookId++);
  hook.Plain = proc;
  wm.Hooks.push_back(hook);
  return hook.Handle;
}

HHOOK SetWindowsHookEx(int idHook, THookProcFn proc, void* context) {
  if (idHook != WH_CBT || !proc) return nullptr;
  auto& wm = WM();
  THook hook;
  hook.Handle = reinterpret_cast<HHOOK>(wm.NextHookId++);
  hook.Fn = proc;
  hook.Context = context;
  wm.Hooks.push_back(hook);
  return hook.Handle;
}

bool UnhookWindowsHookEx(HHOOK handle) {
  auto& wm = WM();
  for (auto& hook : wm.Hooks) {
    if (hook.Handle == handle && !hook.Removed) {
      hook.Removed = true;  // erased once no chain walk is running
      if (wm.HookDepth == 0) {
        std::erase_if(wm.Hooks, [](const THook& h) { return h.Removed; });
      }
      return true;
    }
  }
  return false;
}

namespace {

LRESULT CallHookAt(int index, int code, WPARAM wParam, LPARAM lParam) {
  auto& wm = WM();
  for (int i = index; i >= 0; --i) {
    if (i >= static_cast<int>(wm.Hooks.size())) continue;
    THook hook = wm.Hooks[static_cast<std::size_t>(i)];
    if (hook.Removed) continue;
    ++wm.HookDepth;
    LRESULT result = hook.Plain ? hook.Plain(code, wParam, lParam) : hook.Fn(hook.Context, code, wParam, lParam);
    --wm.HookDepth;
    if (wm.HookDepth == 0) std::erase_if(wm.Hooks, [](const THook& h) { return h.Removed; });
    return result;
  }
  return 0;
}

}  // namespace

LRESULT CallNextHookEx(HHOOK current, int code, WPARAM wParam, LPARAM lParam) {
  auto& wm = WM();
  for (int i = static_cast<int>(wm.Hooks.size()) - 1; i >= 0; --i) {
    if (wm.Hooks[static_cast<std::size_t>(i)].Handle == current) return CallHookAt(i - 1, code, wParam, lParam);
  }
  return 0;
}

LRESULT CallCbtHook(int code, WPARAM wParam, LPARAM lParam) {
  auto& wm = WM();
  if (wm.Hooks.empty()) return 0;
  return CallHookAt(static_cast<int>(wm.Hooks.size()) - 1, code, wParam, lParam);
}

DWORD GetCurrentThreadId() { return 1; }

// --- metrics -------------------------------------------------------------------

int GetSystemMetrics(int index) {
  // Only the screen's own metrics ask the display (which may still be starting).
  const auto screen = [] { return WM().Backend().ScreenSize(); };
  switch (index) {
    case SM_CXSCREEN: case SM_CXFULLSCREEN: case SM_CXVIRTUALSCREEN: case SM_CXMAXIMIZED: return screen().cx;
    case SM_CYSCREEN: case SM_CYVIRTUALSCREEN: case SM_CYMAXIMIZED: return screen().cy;
    case SM_CYFULLSCREEN: return screen().cy - 19;
    case SM_CXMAXTRACK: return screen().cx + 12;
    case SM_CYMAXTRACK: return screen().cy + 12;
    case SM_XVIRTUALSCREEN: case SM_YVIRTUALSCREEN: return 0;
    case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CYVSCROLL: case SM_CXHSCROLL: return 17;
    case SM_CYVTHUMB: case SM_CXHTHUMB: return 17;
    case SM_CYCAPTION: return 19;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME: case SM_CYFRAME: return 4;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CYMENU: return 19;
    case SM_CYSMCAPTION: return 16;
    case SM_CXSIZE: case SM_CYSIZE: return 18;
    case SM_CXSMSIZE: case SM_CYSMSIZE: return 15;
    case SM_CXMENUSIZE: case SM_CYMENUSIZE: return 18;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return 27;
    case SM_CXMINTRACK: return 112;
    case SM_CYMINTRACK: return 27;
    case SM_CXMINIMIZED: return 160;
    case SM_CYMINIMIZED: return 24;
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: return 4;
    case SM_CXDRAG: case SM_CYDRAG: return 4;
    case SM_CXMENUCHECK: case SM_CYMENUCHECK: return 13;
    case SM_MOUSEWHEELPRESENT: return 1;
    case SM_CMONITORS: return 1;
    case SM_CXFOCUSBORDER: case SM_CYFOCUSBORDER: return 1;
    case SM_CXPADDEDBORDER: return 0;
    case SM_SWAPBUTTON: return 0;
    default: return 0;
  }
}

UINT GetDoubleClickTime() { return WM().DoubleClickTime; }
bool SetDoubleClickTime(UINT ms) {
  WM().DoubleClickTime = ms == 0 ? 500 : ms;
  return true;
}
UINT GetCaretBlinkTime() { return 530; }

long DwmIsCompositionEnabled(int* enabled) {
  if (enabled) *enabled = 0;
  return 0;
}
long SetWindowTheme(HWND, const char*, const char*) { return 0; }
bool IsThemeActive() { return false; }
bool IsAppThemed() { return false; }
