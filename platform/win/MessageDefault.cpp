// The standard handling of every message.
#include "platform/win/Message.h"

#include <algorithm>
#include <cstring>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/SystemColors.h"
#include "platform/win/Cursors.h"
#include "platform/win/HitTest.h"
#include "platform/win/Icons.h"
#include "platform/win/Input.h"
#include "platform/win/NonClient.h"
#include "platform/win/Paint.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/SysCommands.h"
#include "platform/win/VirtualKeys.h"

bool FrameActive(HWND window) {
  TWindow* w = FindWindowObject(window);
  return w && w->NcActive;
}

namespace {

HBRUSH BackgroundBrush(const TWindowClass& cls) {
  auto value = reinterpret_cast<std::uintptr_t>(cls.Background);
  if (value == 0) return nullptr;
  if (value <= static_cast<std::uintptr_t>(kSystemColorCount)) return GetSysColorBrush(static_cast<int>(value) - 1);
  return cls.Background;
}

HCURSOR SizingCursor(LRESULT hit) {
  switch (hit) {
    case HTLEFT: case HTRIGHT: return LoadCursor(nullptr, IDC_SIZEWE);
    case HTTOP: case HTBOTTOM: return LoadCursor(nullptr, IDC_SIZENS);
    case HTTOPLEFT: case HTBOTTOMRIGHT: return LoadCursor(nullptr, IDC_SIZENWSE);
    case HTTOPRIGHT: case HTBOTTOMLEFT: return LoadCursor(nullptr, IDC_SIZENESW);
    default: return LoadCursor(nullptr, IDC_ARROW);
  }
}

// Runs `paint` with the context's origin moved by (dx, dy) and clipped to `clip` (logical, after the move).
template <class F>
void WithOrigin(HDC dc, int dx, int dy, const TRect* clip, F paint) {
  int saved = dc->Save();
  TPoint org = dc->UserViewportOrg();
  dc->SetUserViewportOrg({org.X + dx, org.Y + dy});
  if (clip) dc->IntersectClip(*clip);
  paint();
  dc->Restore(saved);
}

void Print(HWND window, HDC dc, LPARAM flags) {
  TWindow* w = FindWindowObject(window);
  if (!w || !dc) return;
  if ((flags & PRF_CHECKVISIBLE) && !IsWindowVisible(window)) return;
  if (flags & PRF_NONCLIENT) PaintDefaultFrame(window, dc, w->NcActive);
  if (!(w = FindWindowObject(window))) return;
  TRect client = ClientRect(window);
  int cx = w->Client.Left, cy = w->Client.Top;
  if (flags & (PRF_ERASEBKGND | PRF_CLIENT)) {
    WithOrigin(dc, cx, cy, &client, [&] {
      if (flags & PRF_ERASEBKGND) SendMessage(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
      if (flags & PRF_CLIENT) SendMessage(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), flags);
    });
  }
  if (!(flags & PRF_CHILDREN) || !(w = FindWindowObject(window))) return;
  std::vector<HWND> children(w->Children.rbegin(), w->Children.rend());
  for (HWND child : children) {
    TWindow* c = FindWindowObject(child);
    if (!c || !(c->Style & WS_VISIBLE)) continue;
    TRect clip{0, 0, c->Rect.Width(), c->Rect.Height()};
    WithOrigin(dc, cx + c->Rect.Left, cy + c->Rect.Top, &clip, [&] {
      SendMessage(child, WM_PRINT, reinterpret_cast<WPARAM>(dc), (flags | PRF_NONCLIENT) & ~PRF_CHECKVISIBLE);
    });
  }
}

LRESULT SysCommand(HWND window, WPARAM command, LPARAM lParam) {
  TPoint screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (command & 0xFFF0) {
    case SC_CLOSE: SendMessage(window, WM_CLOSE, 0, 0); return 0;
    case SC_MINIMIZE: ShowWindow(window, SW_MINIMIZE); return 0;
    case SC_MAXIMIZE: ShowWindow(window, SW_SHOWMAXIMIZED); return 0;
    case SC_RESTORE: ShowWindow(window, SW_RESTORE); return 0;
    case SC_MOVE:
      if (GetKeyState(VK_LBUTTON) & 0x8000) StartMoveSize(window, HTCAPTION, WM().MousePos);
      return 0;
    case SC_SIZE: {
      LRESULT hit = static_cast<LRESULT>(command & 0x000F) + HTLEFT - 1;
      if ((GetKeyState(VK_LBUTTON) & 0x8000) && IsSizingHitCode(hit)) StartMoveSize(window, hit, WM().MousePos);
      return 0;
    }
    case SC_VSCROLL: StartScrollTracking(window, SB_VERT, screen); return 0;
    case SC_HSCROLL: StartScrollTracking(window, SB_HORZ, screen); return 0;
    default: return 0;
  }
}

LRESULT NcButtonDown(HWND window, WPARAM hit, LPARAM lParam, bool dbl) {
  auto code = static_cast<LRESULT>(static_cast<std::intptr_t>(hit));
  switch (code) {
    case HTCAPTION:
      if (dbl) {
        TWindow* w = FindWindowObject(window);
        if (w && (w->Style & WS_MAXIMIZEBOX)) {
          SendMessage(window, WM_SYSCOMMAND, IsZoomed(window) || IsIconic(window) ? SC_RESTORE : SC_MAXIMIZE, lParam);
        } else if (w && IsIconic(window)) {
          SendMessage(window, WM_SYSCOMMAND, SC_RESTORE, lParam);
        }
        return 0;
      }
      SendMessage(window, WM_SYSCOMMAND, SC_MOVE | static_cast<WPARAM>(HTCAPTION), lParam);
      return 0;
    case HTSYSMENU:
      if (dbl) SendMessage(window, WM_SYSCOMMAND, SC_CLOSE, lParam);
      return 0;
    case HTCLOSE:
    case HTMAXBUTTON:
    case HTMINBUTTON:
    case HTHELP:
      StartCaptionButton(window, code);
      return 0;
    case HTVSCROLL:
      SendMessage(window, WM_SYSCOMMAND, SC_VSCROLL | static_cast<WPARAM>(HTVSCROLL), lParam);
      return 0;
    case HTHSCROLL:
      SendMessage(window, WM_SYSCOMMAND, SC_HSCROLL | static_cast<WPARAM>(HTHSCROLL), lParam);
      return 0;
    default:
      if (IsSizingHitCode(code)) {
        SendMessage(window, WM_SYSCOMMAND, SC_SIZE + static_cast<WPARAM>(code - HTLEFT + 1), lParam);
      }
      return 0;
  }
}

LRESULT NcCalcSize(const TWindow& w, WPARAM wParam, LPARAM lParam) {
  if (wParam) {
    auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
    if (p) p->rgrc[0] = DefaultClientRect(w, p->rgrc[0]);
  } else if (auto* r = reinterpret_cast<TRect*>(lParam)) {
    *r = DefaultClientRect(w, *r);
  }
  return 0;
}

LRESULT NcHitTest(HWND window, const TWindow& w, LPARAM lParam) {
  TPoint o = WindowScreenOrigin(window);
  return DefaultHitTest(w, {GET_X_LPARAM(lParam) - o.X, GET_Y_LPARAM(lParam) - o.Y});
}

LRESULT NcPaint(HWND window, const TWindow& w) {
  HDC dc = GetWindowDC(window);
  if (dc) {
    PaintDefaultFrame(window, dc, w.NcActive);
    ReleaseDC(window, dc);
  }
  return 0;
}

LRESULT NcActivate(HWND window, TWindow& w, WPARAM wParam) {
  w.NcActive = wParam != 0;
  InvalidateWindowArea(window, TRegion(), false, true, false);
  return 1;
}

LRESULT EraseBackground(HWND window, const TWindow& w, WPARAM wParam) {
  HBRUSH brush = BackgroundBrush(*w.Class);
  auto* dc = reinterpret_cast<HDC>(wParam);
  if (!brush || !dc) return 0;
  TRect r = ClientRect(window);
  dc->FillRect(r, brush);
  return 1;
}

LRESULT PaintNothing(HWND window) {
  PAINTSTRUCT ps;
  BeginPaint(window, &ps);
  EndPaint(window, &ps);
  return 0;
}

LRESULT SetText(HWND window, TWindow& w, LPARAM lParam) {
  w.Text = lParam ? reinterpret_cast<const char*>(lParam) : "";
  if ((w.Style & WS_CAPTION) == WS_CAPTION) InvalidateWindowArea(window, TRegion(), false, true, false);
  return 1;
}

LRESULT GetText(const TWindow& w, WPARAM wParam, LPARAM lParam) {
  auto* buffer = reinterpret_cast<char*>(lParam);
  if (!buffer || wParam == 0) return 0;
  std::size_t n = std::min(w.Text.size(), static_cast<std::size_t>(wParam) - 1);
  std::memcpy(buffer, w.Text.data(), n);
  buffer[n] = '\0';
  return static_cast<LRESULT>(n);
}

LRESULT SetCursorFor(HWND window, const TWindow& w, WPARAM wParam, LPARAM lParam) {
  LRESULT hit = static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(lParam)));
  if (w.Parent && SendMessage(w.Parent, WM_SETCURSOR, wParam, lParam)) return 1;
  // The parent's handling may have destroyed the window.
  const TWindow* still = FindWindowObject(window);
  if (!still) return 0;
  if (hit == HTCLIENT) {
    if (!still->Class->Cursor) return 0;
    SetCursor(still->Class->Cursor);
    return 1;
  }
  if (hit == HTERROR) return 0;
  SetCursor(SizingCursor(hit));
  return 1;
}

LRESULT MouseActivate(const TWindow& w, WPARAM wParam, LPARAM lParam) {
  if (w.Parent) {
    LRESULT r = SendMessage(w.Parent, WM_MOUSEACTIVATE, wParam, lParam);
    if (r) return r;
  }
  return MA_ACTIVATE;
}

LRESULT WindowPosChanged(HWND window, const TWindow& w, LPARAM lParam) {
  auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
  if (!wp) return 0;
  const TWindow* now = &w;
  if (!(wp->flags & SWP_NOSIZE)) {
    WPARAM kind = (now->Style & WS_MINIMIZE) ? SIZE_MINIMIZED : (now->Style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
    SendMessage(window, WM_SIZE, kind,
                MAKELPARAM(static_cast<WORD>(now->Client.Width()), static_cast<WORD>(now->Client.Height())));
    if (!(now = FindWindowObject(window))) return 0;
  }
  if (!(wp->flags & SWP_NOMOVE)) {
    SendMessage(window, WM_MOVE, 0,
                MAKELPARAM(static_cast<WORD>(now->Rect.Left + now->Client.Left), static_cast<WORD>(now->Rect.Top + now->Client.Top)));
  }
  return 0;
}

LRESULT KeyDown(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SYSKEYDOWN && wParam == static_cast<WPARAM>(VK_F4) && (lParam & (1 << 29))) {
    PostMessage(TopLevelOf(window), WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
  }
  // The menu key and Shift+F10 ask for the context menu at the focus (-1: no point).
  if (wParam == static_cast<WPARAM>(VK_APPS) || (wParam == static_cast<WPARAM>(VK_F10) && (GetKeyState(VK_SHIFT) & 0x8000)))
    SendMessage(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), -1);
  return 0;
}

LRESULT RightButtonUp(HWND window, LPARAM lParam) {
  TPoint at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ClientToScreen(window, &at);
  SendMessage(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), PointToLParam(at));
  return 0;
}

LRESULT CancelMode(HWND window) {
  if (WM().Tracker && WM().Tracker->Window == window) {
    auto tracker = std::move(WM().Tracker);
    tracker->Cancel();
  }
  if (GetCapture() == window) ReleaseCapture();
  return 0;
}

}  // namespace

LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TWindow* w = FindWindowObject(window);
  if (!w) return 0;
  switch (message) {
    case WM_NCCREATE: return 1;
    case WM_NCCALCSIZE: return NcCalcSize(*w, wParam, lParam);
    case WM_NCHITTEST: return NcHitTest(window, *w, lParam);
    case WM_NCPAINT: return NcPaint(window, *w);
    case WM_NCACTIVATE: return NcActivate(window, *w, wParam);
    case WM_ERASEBKGND: return EraseBackground(window, *w, wParam);
    case WM_PAINT: return PaintNothing(window);
    case WM_PRINT:
      Print(window, reinterpret_cast<HDC>(wParam), lParam);
      return 0;
    case WM_PRINTCLIENT: return 0;
    case WM_SETREDRAW:
      w->RedrawOff = wParam == 0;
      return 0;
    case WM_SETTEXT: return SetText(window, *w, lParam);
    case WM_GETTEXT: return GetText(*w, wParam, lParam);
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->Text.size());
    case WM_SETICON: return reinterpret_cast<LRESULT>(SetWindowIcon(window, wParam, reinterpret_cast<HICON>(lParam)));
    case WM_GETICON: return reinterpret_cast<LRESULT>(WindowIcon(window, wParam == ICON_BIG ? ICON_BIG : ICON_SMALL));
    case WM_SETCURSOR: return SetCursorFor(window, *w, wParam, lParam);
    case WM_MOUSEACTIVATE: return MouseActivate(*w, wParam, lParam);
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !(w->Style & WS_MINIMIZE)) SetFocus(window);
      return 0;
    case WM_NCLBUTTONDOWN: return NcButtonDown(window, wParam, lParam, false);
    case WM_NCLBUTTONDBLCLK: return NcButtonDown(window, wParam, lParam, true);
    case WM_SYSCOMMAND: return SysCommand(window, wParam, lParam);
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_WINDOWPOSCHANGED: return WindowPosChanged(window, *w, lParam);
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: return w->Parent ? SendMessage(w->Parent, message, wParam, lParam) : 0;
    case WM_SYSKEYDOWN:
    case WM_KEYDOWN: return KeyDown(window, message, wParam, lParam);
    case WM_RBUTTONUP: return RightButtonUp(window, lParam);
    case WM_CONTEXTMENU:
      // Unanswered, the request goes up to the parent window.
      if ((w->Style & WS_CHILD) && w->Parent) return SendMessage(w->Parent, WM_CONTEXTMENU, wParam, lParam);
      return 0;
    case WM_CANCELMODE: return CancelMode(window);
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLORBTN: case WM_CTLCOLORDLG: case WM_CTLCOLORSTATIC: case WM_CTLCOLORSCROLLBAR:
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    default:
      return 0;
  }
}
