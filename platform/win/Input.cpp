// Activation, focus, capture, mouse and keyboard input routing.
#include <algorithm>

#include "platform/base/Cp1251.h"
#include "platform/win/Cursors.h"
#include "platform/win/HitTest.h"
#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WindowManager.h"

// --- activation and focus -------------------------------------------------------------

namespace {

// The modal window that holds the program up: the highest shown, enabled one.
HWND OpenModalWindow() {
  for (HWND top : WM().TopLevels) {
    TWindow* t = FindWindowObject(top);
    if (t && t->ModalDepth > 0 && (t->Style & WS_VISIBLE) && !(t->Style & WS_DISABLED)) return top;
  }
  return nullptr;
}

}  // namespace

void ActivateTopLevel(HWND window, bool byMouse) {
  auto& wm = WM();
  TWindow* w = wm.Find(window);
  if (!w || w->Parent || wm.Active == window) return;
  HWND previous = wm.Active;
  CBTACTIVATESTRUCT cbt{byMouse, previous};
  if (CallCbtHook(HCBT_ACTIVATE, reinterpret_cast<WPARAM>(window), reinterpret_cast<LPARAM>(&cbt)) != 0) return;
  if (!wm.Find(window)) return;
  if (previous && wm.Find(previous)) {
    SendMessage(previous, WM_NCACTIVATE, 0, reinterpret_cast<LPARAM>(window));
    SendMessage(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(previous) ? 1 : 0), reinterpret_cast<LPARAM>(window));
    if (wm.Focus && TopLevelOf(wm.Focus) == previous) {
      HWND lost = wm.Focus;
      wm.Focus = nullptr;
      SendMessage(lost, WM_KILLFOCUS, 0, 0);
    }
  }
  if (!wm.Find(window)) return;
  wm.Active = window;
  if (!wm.AppActive) {
    wm.AppActive = true;
    std::vector<HWND> tops = wm.TopLevels;
    for (HWND top : tops) SendMessage(top, WM_ACTIVATEAPP, 1, 0);
    if (!wm.Find(window)) return;
  }
  // Activation brings the window to the top of its band (topmost or not), unless it is there already.
  bool topmost = (wm.Require(window).ExStyle & WS_EX_TOPMOST) != 0;
  bool atTop = true;
  for (HWND h : wm.TopLevels) {
    if (h == window) break;
    TWindow* o = wm.Find(h);
    if (o && (o->Style & WS_VISIBLE) && o->Owner != window && (!topmost || (o->ExStyle & WS_EX_TOPMOST)) &&
        ((o->ExStyle & WS_EX_TOPMOST) != 0) == topmost) {
      atTop = false;
      break;
    }
  }
  if (!atTop) SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (!wm.Find(window) || wm.Active != window) return;
  wm.Backend().ActivateWindow(window);
  SendMessage(window, WM_NCACTIVATE, 1, reinterpret_cast<LPARAM>(previous));
  SendMessage(window, WM_ACTIVATE, MAKEWPARAM(byMouse ? WA_CLICKACTIVE : WA_ACTIVE, IsIconic(window) ? 1 : 0),
              reinterpret_cast<LPARAM>(previous));
}

void ActivateNextAfter(HWND window) {
  auto& wm = WM();
  if (wm.Active != window) return;
  for (HWND top : wm.TopLevels) {
    if (top == window) continue;
    TWindow* t = wm.Find(top);
    if (t && (t->Style & WS_VISIBLE) && !(t->Style & (WS_DISABLED | WS_MINIMIZE)) && !(t->ExStyle & WS_EX_NOACTIVATE) &&
        !(t->ExStyle & WS_EX_TOOLWINDOW)) {
      ActivateTopLevel(top, false);
      return;
    }
  }
  // Nothing else to activate: the program loses activation.
  wm.Active = nullptr;
  if (wm.Find(window)) {
    SendMessage(window, WM_NCACTIVATE, 0, 0);
    SendMessage(window, WM_ACTIVATE, WA_INACTIVE, 0);
  }
  if (wm.Focus) {
    HWND lost = wm.Focus;
    wm.Focus = nullptr;
    SendMessage(lost, WM_KILLFOCUS, 0, 0);
  }
  if (wm.AppActive) {
    wm.AppActive = false;
    std::vector<HWND> tops = wm.TopLevels;
    for (HWND top : tops) SendMessage(top, WM_ACTIVATEAPP, 0, 0);
  }
}

HWND SetActiveWindow(HWND window) {
  auto& wm = WM();
  HWND previous = wm.Active;
  HWND top = TopLevelOf(window);
  if (!top) return previous;
  ActivateTopLevel(top, false);
  return previous;
}

HWND GetActiveWindow() { return WM().Active; }
bool SetForegroundWindow(HWND window) {
  if (!IsWindow(window)) return false;
  SetActiveWindow(window);
  return true;
}
HWND GetForegroundWindow() { return WM().Active; }

HWND SetFocus(HWND window) {
  auto& wm = WM();
  HWND previous = wm.Focus;
  if (window && !wm.Find(window)) return nullptr;
  if (window == previous) return previous;
  if (CallCbtHook(HCBT_SETFOCUS, reinterpret_cast<WPARAM>(window), reinterpret_cast<LPARAM>(previous)) != 0) {
    return nullptr;
  }
  if (window) {
    HWND top = TopLevelOf(window);
    // A window held up by a modal one takes neither the focus nor the activation.
    if (TWindow* t = wm.Find(top); t && (t->Style & WS_DISABLED) && OpenModalWindow()) return nullptr;
    if (wm.Active != top) ActivateTopLevel(top, false);
    if (!wm.Find(window)) return previous;
    if (wm.Focus == window) return previous;  // activation already focused it
    previous = wm.Focus;
  }
  wm.Focus = window;
  if (previous && wm.Find(previous)) SendMessage(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
  if (window && wm.Focus == window) SendMessage(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
  return previous;
}

HWND GetFocus() { return WM().Focus; }

// --- capture -----------------------------------------------------------------------

HWND SetCapture(HWND window) {
  auto& wm = WM();
  HWND previous = wm.Capture;
  if (!wm.Find(window)) return previous;
  if (wm.Tracker && wm.Tracker->Window != window) {
    auto tracker = std::move(wm.Tracker);
    tracker->Cancel();
  }
  wm.Capture = window;
  wm.Backend().SetCapture(true);
  if (previous && previous != window) SendMessage(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
  return previous;
}

bool ReleaseCapture() {
  auto& wm = WM();
  HWND previous = wm.Capture;
  if (!previous) return true;
  wm.Capture = nullptr;
  wm.Backend().SetCapture(false);
  SendMessage(previous, WM_CAPTURECHANGED, 0, 0);
  return true;
}

HWND GetCapture() { return WM().Capture; }

void StartTracker(std::unique_ptr<TSystemTracker> tracker) {
  auto& wm = WM();
  HWND window = tracker->Window;
  SetCapture(window);
  wm.Tracker = std::move(tracker);
}

void EndTracker() {
  auto& wm = WM();
  auto tracker = std::move(wm.Tracker);
  if (tracker && wm.Capture == tracker->Window) ReleaseCapture();
}

void WindowDestroyedInput(HWND window) {
  auto& wm = WM();
  auto inside = [window](HWND h) { return h && (h == window || IsChild(window, h)); };
  if (wm.Tracker && inside(wm.Tracker->Window)) {
    auto tracker = std::move(wm.Tracker);
    tracker->Cancel();
  }
  if (inside(wm.Capture)) ReleaseCapture();
  if (inside(wm.Focus)) {
    HWND lost = wm.Focus;
    wm.Focus = nullptr;
    SendMessage(lost, WM_KILLFOCUS, 0, 0);
  }
  if (wm.Active == window) ActivateNextAfter(window);
  if (inside(wm.MouseWindow)) wm.MouseWindow = nullptr;
}

// --- mouse-leave tracking ---------------------------------------------------------------

namespace {

constexpr UINT_PTR kHoverTimerId = 0xFFF0;

// Hover comes when the pointer rests in the tracked window's client for the hover time.
void RestartHover() {
  auto& wm = WM();
  HWND window = wm.TrackHover;
  if (!window) return;
  SetSystemTimer(window, kHoverTimerId, wm.HoverTime, [window]() {
    auto& m = WM();
    KillSystemTimer(window, kHoverTimerId);
    if (m.TrackHover != window) return;
    m.TrackHover = nullptr;
    if (m.MouseWindow == window && m.MouseHit == HTCLIENT) {
      TPoint p = m.MousePos;
      ScreenToClient(window, &p);
      PostMessage(window, WM_MOUSEHOVER, 0, PointToLParam(p));
    }
  });
}

}  // namespace

bool TrackMouseEvent(TRACKMOUSEEVENT* track) {
  auto& wm = WM();
  if (!track) return false;
  if (track->dwFlags & TME_QUERY) {
    track->dwFlags = 0;
    if (wm.TrackLeave) {
      track->hwndTrack = wm.TrackLeave;
      track->dwFlags = TME_LEAVE;
    }
    if (wm.TrackNcLeave) {
      track->hwndTrack = wm.TrackNcLeave;
      track->dwFlags = TME_LEAVE | TME_NONCLIENT;
    }
    return true;
  }
  if (!wm.Find(track->hwndTrack)) return false;
  if (track->dwFlags & TME_HOVER) {
    if (track->dwFlags & TME_CANCEL) {
      if (wm.TrackHover == track->hwndTrack) wm.TrackHover = nullptr;
      KillSystemTimer(track->hwndTrack, kHoverTimerId);
    } else {
      wm.TrackHover = track->hwndTrack;
      wm.HoverTime = track->dwHoverTime == HOVER_DEFAULT || track->dwHoverTime == 0 ? 400 : track->dwHoverTime;
      RestartHover();
    }
    if (!(track->dwFlags & TME_LEAVE)) return true;
  }
  bool nonClient = (track->dwFlags & TME_NONCLIENT) != 0;
  HWND& slot = nonClient ? wm.TrackNcLeave : wm.TrackLeave;
  if (track->dwFlags & TME_CANCEL) {
    if (slot == track->hwndTrack) slot = nullptr;
    return true;
  }
  if (!(track->dwFlags & TME_LEAVE)) return true;
  // Already outside: the leave message comes at once.
  bool inside = wm.MouseWindow == track->hwndTrack && ((wm.MouseHit == HTCLIENT) != nonClient);
  if (!inside) {
    PostMessage(track->hwndTrack, nonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
    slot = nullptr;
    return true;
  }
  slot = track->hwndTrack;
  return true;
}

HWND WindowUnderMouse() { return WM().MouseWindow; }

// --- cursors -----------------------------------------------------------------------------

namespace {

struct TCursorEntry {
  std::uintptr_t Id;
  TCursorShape Shape;
};
constexpr TCursorEntry kCursors[] = {
    {IDC_ARROW, TCursorShape::Arrow},       {IDC_IBEAM, TCursorShape::IBeam},       {IDC_WAIT, TCursorShape::Wait},
    {IDC_CROSS, TCursorShape::Cross},       {IDC_UPARROW, TCursorShape::UpArrow},   {IDC_SIZENWSE, TCursorShape::SizeNWSE},
    {IDC_SIZENESW, TCursorShape::SizeNESW}, {IDC_SIZEWE, TCursorShape::SizeWE},     {IDC_SIZENS, TCursorShape::SizeNS},
    {IDC_SIZEALL, TCursorShape::SizeAll},   {IDC_NO, TCursorShape::No},             {IDC_HAND, TCursorShape::Hand},
    {IDC_APPSTARTING, TCursorShape::AppStarting}, {IDC_HELP, TCursorShape::Help},
};

}  // namespace

HCURSOR LoadCursor(HINSTANCE, std::uintptr_t id) {
  for (const auto& c : kCursors) {
    if (c.Id == id) return reinterpret_cast<HCURSOR>(id);
  }
  return nullptr;
}

TCursorShape CursorShape(HCURSOR cursor) {
  auto id = reinterpret_cast<std::uintptr_t>(cursor);
  for (const auto& c : kCursors) {
    if (c.Id == id) return c.Shape;
  }
  return TCursorShape::Arrow;
}

HCURSOR SetCursor(HCURSOR cursor) {
  auto& wm = WM();
  HCURSOR previous = wm.Cursor;
  if (cursor != previous) {
    wm.Cursor = cursor;
    wm.Backend().SetCursor(CursorShape(cursor));
  }
  return previous;
}

HCURSOR GetCursor() { return WM().Cursor; }

bool GetCursorPos(TPoint* point) {
  if (!point) return false;
  *point = WM().MousePos;
  return true;
}

bool SetCursorPos(int x, int y) {
  InputMouseMove({x, y});
  return true;
}

// --- mouse input ----------------------------------------------------------------------------

namespace {

WPARAM MouseKeyFlags() {
  auto& wm = WM();
  WPARAM flags = 0;
  if (wm.KeyState[VK_LBUTTON] & 0x80) flags |= MK_LBUTTON;
  if (wm.KeyState[VK_RBUTTON] & 0x80) flags |= MK_RBUTTON;
  if (wm.KeyState[VK_MBUTTON] & 0x80) flags |= MK_MBUTTON;
  if (wm.KeyState[VK_SHIFT] & 0x80) flags |= MK_SHIFT;
  if (wm.KeyState[VK_CONTROL] & 0x80) flags |= MK_CONTROL;
  return flags;
}

LPARAM ClientLParam(HWND window, TPoint screen) {
  ScreenToClient(window, &screen);
  return PointToLParam(screen);
}

void UpdateLeaveTracking(HWND target, LRESULT hit) {
  auto& wm = WM();
  if (wm.TrackLeave && (wm.TrackLeave != target || hit != HTCLIENT)) {
    HWND h = wm.TrackLeave;
    wm.TrackLeave = nullptr;
    PostMessage(h, WM_MOUSELEAVE, 0, 0);
  }
  if (wm.TrackNcLeave && (wm.TrackNcLeave != target || hit == HTCLIENT)) {
    HWND h = wm.TrackNcLeave;
    wm.TrackNcLeave = nullptr;
    PostMessage(h, WM_NCMOUSELEAVE, 0, 0);
  }
}

// Where the mouse goes now: the capture window (as client input) or the window under it.
HWND RouteMouse(TPoint screen, LRESULT* hit) {
  auto& wm = WM();
  if (wm.Capture && wm.Find(wm.Capture)) {
    *hit = HTCLIENT;
    return wm.Capture;
  }
  return FindMouseTarget(screen, hit);
}

void SendSetCursor(HWND target, LRESULT hit, UINT mouseMessage) {
  if (!target) {
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    return;
  }
  SendMessage(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
              MAKELPARAM(static_cast<WORD>(static_cast<std::int16_t>(hit)), static_cast<WORD>(mouseMessage)));
}

UINT ButtonMessage(TMouseButton button, bool down, bool nonClient, bool dbl) {
  UINT base = 0;
  switch (button) {
    case TMouseButton::Left: base = WM_LBUTTONDOWN; break;
    case TMouseButton::Right: base = WM_RBUTTONDOWN; break;
    case TMouseButton::Middle: base = WM_MBUTTONDOWN; break;
  }
  UINT msg = base + (down ? (dbl ? 2u : 0u) : 1u);
  if (nonClient) msg = msg - WM_LBUTTONDOWN + WM_NCLBUTTONDOWN;
  return msg;
}

int ButtonKey(TMouseButton button) {
  switch (button) {
    case TMouseButton::Left: return VK_LBUTTON;
    case TMouseButton::Right: return VK_RBUTTON;
    case TMouseButton::Middle: return VK_MBUTTON;
  }
  return VK_LBUTTON;
}

}  // namespace

void InputMouseMove(TPoint screen) {
  auto& wm = WM();
  wm.MousePos = screen;
  if (wm.Tracker) {
    wm.Tracker->MouseMove(screen);
    return;
  }
  LRESULT hit = HTNOWHERE;
  HWND target = RouteMouse(screen, &hit);
  UpdateLeaveTracking(target, hit);  // under capture the target is the capture window
  if (wm.Capture && wm.TrackLeave == wm.Capture) {
    // Under capture the leave comes when the pointer is outside the window.
    TRect r = WindowRect(wm.Capture);
    if (!r.Contains(screen)) UpdateLeaveTracking(nullptr, HTNOWHERE);
  }
  wm.MouseWindow = target;
  wm.MouseHit = hit;
  if (wm.TrackHover) {
    if (wm.TrackHover != target || hit != HTCLIENT) {
      KillSystemTimer(wm.TrackHover, kHoverTimerId);
      wm.TrackHover = nullptr;
    } else {
      RestartHover();
    }
  }
  if (!target) return;
  if (!wm.Capture) SendSetCursor(target, hit, WM_MOUSEMOVE);
  if (!wm.Find(target)) return;
  if (hit == HTCLIENT) {
    PostMessage(target, WM_MOUSEMOVE, MouseKeyFlags(), ClientLParam(target, screen));
  } else {
    PostMessage(target, WM_NCMOUSEMOVE, static_cast<WPARAM>(hit), PointToLParam(screen));
  }
}

namespace {

// The top-level window the program shows at a desktop point (click-through ones skipped).
HWND TopLevelAt(TPoint screen) {
  for (HWND top : WM().TopLevels) {
    TWindow* t = FindWindowObject(top);
    if (!t || !(t->Style & WS_VISIBLE)) continue;
    if ((t->ExStyle & (WS_EX_LAYERED | WS_EX_TRANSPARENT)) == (WS_EX_LAYERED | WS_EX_TRANSPARENT)) continue;
    if (InWindowShape(*t, {screen.X - t->Rect.Left, screen.Y - t->Rect.Top})) return top;
  }
  return nullptr;
}

// Brings the open modal window forward and gives it the activation.
bool ReturnToModal() {
  HWND modal = OpenModalWindow();
  if (!modal) return false;
  SetWindowPos(modal, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  if (WM().Active != modal && IsWindow(modal)) ActivateTopLevel(modal, true);
  return true;
}

}  // namespace

void InputWindowRaised(HWND window, bool activated) {
  auto& wm = WM();
  TWindow* w = wm.Find(window);
  if (!w || w->Parent || !(w->Style & WS_VISIBLE)) return;
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (!wm.Find(window)) return;
  // The display's order changed under us: it is told ours again even when ours stayed.
  SyncBackendZOrder();
  if (!activated || wm.Active == window) return;
  if (w->Style & WS_DISABLED) {
    ReturnToModal();
  } else if (!(w->ExStyle & WS_EX_NOACTIVATE)) {
    ActivateTopLevel(window, false);
  }
}

void InputMouseButton(TMouseButton button, bool down, TPoint screen, HWND display) {
  auto& wm = WM();
  wm.MousePos = screen;
  if (down && display && !wm.Tracker && !wm.Capture) {
    TWindow* d = wm.Find(display);
    HWND shown = TopLevelAt(screen);
    if (d && !d->Parent && shown && shown != display &&
        (d->ExStyle & (WS_EX_LAYERED | WS_EX_TRANSPARENT)) != (WS_EX_LAYERED | WS_EX_TRANSPARENT))
      InputWindowRaised(display, false);
  }
  int key = ButtonKey(button);
  if (down) {
    wm.KeyState[key] = static_cast<std::uint8_t>((wm.KeyState[key] | 0x80) ^ 0x01);
  } else {
    wm.KeyState[key] &= 0x7F;
  }
  if (wm.Tracker) {
    if (!down && button == TMouseButton::Left) wm.Tracker->ButtonUp(screen);
    return;
  }
  LRESULT hit = HTNOWHERE;
  HWND target = RouteMouse(screen, &hit);
  wm.MouseWindow = target;
  wm.MouseHit = hit;
  if (!target) return;
  bool nonClient = hit != HTCLIENT;

  if (down) {
    HWND top = TopLevelOf(target);
    TWindow* t = wm.Find(top);
    // A press on a window held up by a modal one brings the modal one back instead.
    if (t && (t->Style & WS_DISABLED) && !wm.Capture && ReturnToModal()) return;
    if (t && top != wm.Active && !(t->ExStyle & WS_EX_NOACTIVATE) && !wm.Capture) {
      LRESULT ma = SendMessage(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top),
                               MAKELPARAM(static_cast<WORD>(static_cast<std::int16_t>(hit)),
                                          static_cast<WORD>(ButtonMessage(button, true, false, false))));
      if (ma == MA_ACTIVATE || ma == MA_ACTIVATEANDEAT) ActivateTopLevel(top, true);
      if (ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT) return;
      if (!wm.Find(target)) return;
    }
    SendSetCursor(target, hit, ButtonMessage(button, true, false, false));
    if (!wm.Find(target)) return;
  }

  bool dbl = false;
  if (down) {
    UINT plain = ButtonMessage(button, true, nonClient, false);
    std::uint64_t now = wm.Backend().Now();
    TWindow* tw = wm.Find(target);
    bool classWants = tw && ((tw->Class->Style & CS_DBLCLKS) || nonClient);
    int dx = std::abs(screen.X - wm.LastDownPos.X);
    int dy = std::abs(screen.Y - wm.LastDownPos.Y);
    if (classWants && !wm.LastWasDouble && wm.LastDownMsg == plain && wm.LastDownWindow == target &&
        now - wm.LastDownTime <= wm.DoubleClickTime && dx <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
        dy <= GetSystemMetrics(SM_CYDOUBLECLK) / 2) {
      dbl = true;
    }
    wm.LastWasDouble = dbl;
    wm.LastDownMsg = plain;
    wm.LastDownWindow = target;
    wm.LastDownTime = now;
    wm.LastDownPos = screen;
  }
  UINT msg = ButtonMessage(button, down, nonClient, dbl);
  if (nonClient) {
    PostMessage(target, msg, static_cast<WPARAM>(hit), PointToLParam(screen));
  } else {
    PostMessage(target, msg, MouseKeyFlags(), ClientLParam(target, screen));
  }
}

void InputMouseWheel(int delta, TPoint screen, bool horizontal) {
  auto& wm = WM();
  wm.MousePos = screen;
  if (wm.Tracker) return;
  // The wheel goes to the focus window, as classically; the parent chain may pass it on.
  HWND target = wm.Focus;
  if (!target) {
    LRESULT hit = HTNOWHERE;
    target = RouteMouse(screen, &hit);
  }
  if (!target) return;
  PostMessage(target, horizontal ? WM_MOUSEHWHEEL : WM_MOUSEWHEEL,
              MAKEWPARAM(static_cast<WORD>(MouseKeyFlags()), static_cast<WORD>(static_cast<std::int16_t>(delta))),
              PointToLParam(screen));
}

void InputMouseLeftDesktop() {
  auto& wm = WM();
  if (wm.Capture || wm.Tracker) return;
  UpdateLeaveTracking(nullptr, HTNOWHERE);
  wm.MouseWindow = nullptr;
}

// --- keyboard ------------------------------------------------------------------------------

void InputKey(int virtualKey, bool down) {
  auto& wm = WM();
  if (virtualKey <= 0 || virtualKey > 255) return;
  bool wasDown = (wm.KeyState[virtualKey] & 0x80) != 0;
  if (down) {
    wm.KeyState[virtualKey] = static_cast<std::uint8_t>(wm.KeyState[virtualKey] | 0x80);
    if (!wasDown) wm.KeyState[virtualKey] ^= 0x01;
  } else {
    wm.KeyState[virtualKey] &= 0x7F;
  }
  // Left/right variants keep the generic key in step.
  auto mirror = [&](int generic, int left, int right) {
    bool any = (wm.KeyState[left] & 0x80) || (wm.KeyState[right] & 0x80);
    if (virtualKey == left || virtualKey == right) {
      wm.KeyState[generic] = static_cast<std::uint8_t>((wm.KeyState[generic] & 0x01) | (any ? 0x80 : 0));
    }
  };
  mirror(VK_SHIFT, VK_LSHIFT, VK_RSHIFT);
  mirror(VK_CONTROL, VK_LCONTROL, VK_RCONTROL);
  mirror(VK_MENU, VK_LMENU, VK_RMENU);

  if (wm.Tracker && down && virtualKey == VK_ESCAPE) {
    auto tracker = std::move(wm.Tracker);
    tracker->Cancel();
    if (wm.Capture == tracker->Window) ReleaseCapture();
    return;
  }
  HWND target = wm.Focus ? wm.Focus : wm.Active;
  if (!target) return;
  bool alt = (wm.KeyState[VK_MENU] & 0x80) != 0;
  bool sys = alt || virtualKey == VK_F10 || (!wm.Focus && wm.Active);
  if (wm.Focus && virtualKey == VK_MENU) sys = true;
  DWORD lParam = 1;
  if (alt) lParam |= 1u << 29;
  if (wasDown) lParam |= 1u << 30;
  if (!down) lParam |= (1u << 30) | (1u << 31);
  UINT msg = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  PostMessage(target, msg, static_cast<WPARAM>(virtualKey), static_cast<LPARAM>(lParam));
}

void InputText(const std::string& utf8) {
  auto& wm = WM();
  HWND target = wm.Focus ? wm.Focus : wm.Active;
  if (!target) return;
  // Strictly: bytes that are not well-formed UTF-8 arrive as U+FFFD, never as
  // the character an overlong form spells or as a lone surrogate.
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t cp = NextCodePoint(utf8, i);
    if (cp >= 0x10000) {
      PostMessage(target, WM_CHAR, 0xD800 + ((cp - 0x10000) >> 10), 1);
      PostMessage(target, WM_CHAR, 0xDC00 + ((cp - 0x10000) & 0x3FF), 1);
    } else {
      PostMessage(target, WM_CHAR, cp, 1);
    }
  }
}

short GetKeyState(int virtualKey) {
  if (virtualKey <= 0 || virtualKey > 255) return 0;
  std::uint8_t s = WM().KeyState[virtualKey];
  short result = static_cast<short>(s & 0x01);
  if (s & 0x80) result = static_cast<short>(result | static_cast<short>(0x8000));
  return result;
}

short GetAsyncKeyState(int virtualKey) { return static_cast<short>(GetKeyState(virtualKey) & static_cast<short>(0x8000)); }
