// Default interactions of the standard frame: moving, sizing and caption buttons.
// They run while the left button is held, fed by mouse input, so they work the
// same on every backend (the program moves and sizes its windows itself).
#include "platform/win/NonClient.h"

#include <algorithm>

#include "platform/win/HitTest.h"
#include "platform/win/Message.h"
#include "platform/win/SysCommands.h"
#include "platform/win/SystemMetrics.h"

namespace {

class TMoveSizeTracker final : public TSystemTracker {
public:
  LRESULT Hit = HTCAPTION;
  TPoint Start;
  TRect StartRect;  // parent coordinates
  TSize MinSize;
  TSize MaxSize;

  void MouseMove(TPoint screen) override {
    int dx = screen.X - Start.X;
    int dy = screen.Y - Start.Y;
    TRect r = StartRect;
    if (Hit == HTCAPTION) {
      r = r.Offset(dx, dy);
    } else {
      if (Hit == HTLEFT || Hit == HTTOPLEFT || Hit == HTBOTTOMLEFT) r.Left = std::min(r.Left + dx, r.Right - MinSize.cx);
      if (Hit == HTRIGHT || Hit == HTTOPRIGHT || Hit == HTBOTTOMRIGHT) r.Right = std::max(r.Right + dx, r.Left + MinSize.cx);
      if (Hit == HTTOP || Hit == HTTOPLEFT || Hit == HTTOPRIGHT) r.Top = std::min(r.Top + dy, r.Bottom - MinSize.cy);
      if (Hit == HTBOTTOM || Hit == HTBOTTOMLEFT || Hit == HTBOTTOMRIGHT) r.Bottom = std::max(r.Bottom + dy, r.Top + MinSize.cy);
      if (r.Width() > MaxSize.cx) {
        if (r.Left != StartRect.Left) r.Left = r.Right - MaxSize.cx; else r.Right = r.Left + MaxSize.cx;
      }
      if (r.Height() > MaxSize.cy) {
        if (r.Top != StartRect.Top) r.Top = r.Bottom - MaxSize.cy; else r.Bottom = r.Top + MaxSize.cy;
      }
    }
    HWND window = Window;
    SendMessage(window, Hit == HTCAPTION ? WM_MOVING : WM_SIZING,
                Hit == HTCAPTION ? 0 : static_cast<WPARAM>(Hit - HTLEFT + 1), reinterpret_cast<LPARAM>(&r));
    if (!IsWindow(window)) return;
    SetWindowPos(window, nullptr, r.Left, r.Top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  }

  void ButtonUp(TPoint screen) override {
    MouseMove(screen);
    HWND window = Window;
    EndTracker();
    SendMessage(window, WM_EXITSIZEMOVE, 0, 0);
  }

  void Cancel() override {
    if (IsWindow(Window)) {
      SetWindowPos(Window, nullptr, StartRect.Left, StartRect.Top, StartRect.Width(), StartRect.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
      SendMessage(Window, WM_EXITSIZEMOVE, 0, 0);
    }
  }
};

class TCaptionButtonTracker final : public TSystemTracker {
public:
  LRESULT Hit = HTCLOSE;
  bool Shown = true;

  bool Over(TPoint screen) const {
    TWindow* w = FindWindowObject(Window);
    if (!w) return false;
    TPoint o = WindowScreenOrigin(Window);
    return DefaultHitTest(*w, {screen.X - o.X, screen.Y - o.Y}) == Hit;
  }

  void MouseMove(TPoint screen) override {
    bool over = Over(screen);
    if (over != Shown) {
      Shown = over;
      InvalidateWindowArea(Window, TRegion(), false, true, false);
    }
  }

  void ButtonUp(TPoint screen) override {
    bool over = Over(screen);
    HWND window = Window;
    LRESULT hit = Hit;
    EndTracker();
    InvalidateWindowArea(window, TRegion(), false, true, false);
    if (!over) return;
    WPARAM command = 0;
    switch (hit) {
      case HTCLOSE: command = SC_CLOSE; break;
      case HTMAXBUTTON: command = IsZoomed(window) ? SC_RESTORE : SC_MAXIMIZE; break;
      case HTMINBUTTON: command = IsIconic(window) ? SC_RESTORE : SC_MINIMIZE; break;
      case HTHELP: command = SC_CONTEXTHELP; break;
      default: return;
    }
    SendMessage(window, WM_SYSCOMMAND, command, PointToLParam(screen));
  }

  void Cancel() override { InvalidateWindowArea(Window, TRegion(), false, true, false); }
};

}  // namespace

void StartMoveSize(HWND window, LRESULT hit, TPoint screen) {
  TWindow* w = FindWindowObject(window);
  if (!w || (w->Style & WS_MAXIMIZE)) return;
  if (hit != HTCAPTION && (!IsSizingHitCode(hit) || !(w->Style & WS_THICKFRAME))) return;
  auto tracker = std::make_unique<TMoveSizeTracker>();
  tracker->Window = window;
  tracker->Hit = hit;
  tracker->Start = screen;
  tracker->StartRect = w->Rect;
  MINMAXINFO mmi;
  mmi.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  mmi.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  if (!w->Parent) SendMessage(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  if (!IsWindow(window)) return;
  tracker->MinSize = {mmi.ptMinTrackSize.X, mmi.ptMinTrackSize.Y};
  tracker->MaxSize = {std::max(mmi.ptMaxTrackSize.X, mmi.ptMinTrackSize.X), std::max(mmi.ptMaxTrackSize.Y, mmi.ptMinTrackSize.Y)};
  SendMessage(window, WM_ENTERSIZEMOVE, 0, 0);
  if (!IsWindow(window)) return;
  StartTracker(std::move(tracker));
}

void StartCaptionButton(HWND window, LRESULT hit) {
  if (!IsWindow(window)) return;
  auto tracker = std::make_unique<TCaptionButtonTracker>();
  tracker->Window = window;
  tracker->Hit = hit;
  StartTracker(std::move(tracker));
  InvalidateWindowArea(window, TRegion(), false, true, false);
}

LRESULT PressedCaptionButton(HWND window) {
  auto* t = dynamic_cast<TCaptionButtonTracker*>(WM().Tracker.get());
  return (t && t->Window == window && t->Shown) ? t->Hit : HTNOWHERE;
}
