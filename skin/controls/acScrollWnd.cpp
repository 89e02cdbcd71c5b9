#include "skin/controls/acScrollWnd.h"

#include "forms/WinControl.h"
#include "platform/win/HitTest.h"
#include "platform/win/Paint.h"
#include "platform/win/PaintFlags.h"
#include "platform/win/ScrollInfo.h"
#include "platform/win/SysCommands.h"
#include "platform/win/Win.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/sCommonData.h"
#include "skin/runtime/sSkinManager.h"

namespace {

TPoint PointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongPtr(window, GWL_STYLE)); }

}  // namespace

TacScrollWnd::TacScrollWnd(HWND window, TsCommonData* skinData, TsSkinManager* manager, const std::string& section,
                           bool recalculate)
    : TacMainWnd(window, skinData, manager, section),
      HBar_(std::make_unique<TacScrollBar>(this, SB_HORZ)),
      VBar_(std::make_unique<TacScrollBar>(this, SB_VERT)),
      Recalculate_(recalculate) {
  HBar_->ReadInfo(Handle_);
  VBar_->ReadInfo(Handle_);
  LeftScrollBar = (GetWindowLongPtr(Handle_, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  const DWORD style = StyleOf(Handle_);
  HBar_->Wanted = (style & WS_HSCROLL) != 0;
  VBar_->Wanted = (style & WS_VSCROLL) != 0;
}

TacScrollWnd::~TacScrollWnd() {
  if (Installed() && !Destroyed()) Uninstall();
  ForgetScrollInteraction(Handle_);
}

void TacScrollWnd::Initialize() {
  TacMainWnd::Initialize();
  HBar_->ReadInfo(Handle_);
  VBar_->ReadInfo(Handle_);
}

void TacScrollWnd::HookInstalled() {
  // The platform computes the frame again, now through us, without room for its bars.
  if (Recalculate_)
    SetWindowPos(Handle_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TacScrollWnd::AcUninstall() {
  ForgetScrollInteraction(Handle_);
  // Without us the platform reserves room for its own bars again.
  if (IsWindowVisible(Handle_) || Recalculate_)
    SetWindowPos(Handle_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TacScrollWnd::BarDrawnEnabled(int orientation) const {
  const TacScrollBar& bar = orientation == SB_VERT ? *VBar_ : *HBar_;
  if (!bar.Enabled(Handle_)) return false;
  return !Control_ || Control_->Enabled();
}

TRect TacScrollWnd::BarRect(int orientation) const {
  TRect w;
  GetWindowRect(Handle_, &w);
  const int tv = VBar_->Thickness(), th = HBar_->Thickness();
  if (orientation == SB_HORZ) {
    if (!HBar_->Visible) return {};
    TRect r;
    r.Bottom = w.Bottom - EdgeBottom;
    r.Top = r.Bottom - th;
    r.Left = w.Left + EdgeLeft + (LeftScrollBar && VBar_->Visible ? tv : 0);
    r.Right = w.Right - EdgeRight - (!LeftScrollBar && VBar_->Visible ? tv : 0);
    return r;
  }
  if (!VBar_->Visible) return {};
  TRect r;
  r.Top = w.Top + EdgeTop;
  r.Bottom = w.Bottom - EdgeBottom - (HBar_->Visible ? th : 0);
  if (LeftScrollBar) {
    r.Left = w.Left + EdgeLeft;
    r.Right = r.Left + tv;
  } else {
    r.Right = w.Right - EdgeRight;
    r.Left = r.Right - tv;
  }
  return r;
}

void TacScrollWnd::RefreshBars(bool repaint) {
  if (SkinData_->Suspended()) return;
  HBar_->ReadInfo(Handle_);
  VBar_->ReadInfo(Handle_);
  if (repaint && IsWindowVisible(Handle_)) {
    HDC dc = GetWindowDC(Handle_);
    if (!dc) return;
    PaintBars(dc);
    ReleaseDC(Handle_, dc);
  }
}

void TacScrollWnd::PaintBars(HDC windowDc) {
  PaintScrollBar(*this, *HBar_, windowDc);
  PaintScrollBar(*this, *VBar_, windowDc);
  PaintSizeBox(*this, windowDc);
}

void TacScrollWnd::RepaintFrame() {
  if (IsWindowVisible(Handle_)) RedrawWindow(Handle_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
}

void TacScrollWnd::PaintNonClient(HDC windowDc) { PaintBars(windowDc); }

void TacScrollWnd::NcCalcSize(TMessage& message) {
  const DWORD style = StyleOf(Handle_);
  TRect* rect = message.WParam != 0 ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam)->rgrc[0]
                                    : reinterpret_cast<TRect*>(message.LParam);
  if (!rect) {
    CallPrev(message);
    return;
  }
  const TRect window = *rect;
  if (style & (WS_HSCROLL | WS_VSCROLL)) {
    // The platform must not reserve room for bars of its own.
    StyleGuard = true;
    SetWindowLongPtr(Handle_, GWL_STYLE, static_cast<LONG_PTR>(style & ~(WS_HSCROLL | WS_VSCROLL)));
    CallPrev(message);
    SetWindowLongPtr(Handle_, GWL_STYLE, static_cast<LONG_PTR>(style));
    StyleGuard = false;
  } else {
    CallPrev(message);
  }
  TRect& client = *rect;
  EdgeLeft = client.Left - window.Left;
  EdgeTop = client.Top - window.Top;
  EdgeRight = window.Right - client.Right;
  EdgeBottom = window.Bottom - client.Bottom;
  HBar_->Wanted = (style & WS_HSCROLL) != 0;
  HBar_->Visible = HBar_->Wanted && client.Height() >= HBar_->Thickness();
  if (HBar_->Visible) client.Bottom -= HBar_->Thickness();
  VBar_->Wanted = (style & WS_VSCROLL) != 0;
  VBar_->Visible = VBar_->Wanted && client.Width() >= VBar_->Thickness();
  if (VBar_->Visible) {
    if (LeftScrollBar)
      client.Left += VBar_->Thickness();
    else
      client.Right -= VBar_->Thickness();
  }
}

LRESULT TacScrollWnd::NcHitTest(TMessage& message) {
  const TPoint p = PointOf(message.LParam);
  if (HBar_->Visible && BarRect(SB_HORZ).Contains(p)) return HBar_->Enabled(Handle_) ? HTHSCROLL : HTNOWHERE;
  if (VBar_->Visible && BarRect(SB_VERT).Contains(p)) return VBar_->Enabled(Handle_) ? HTVSCROLL : HTNOWHERE;
  if (SizeBoxRect(*this).Contains(p) && SizeBoxHasGrip(*this)) return HTBOTTOMRIGHT;
  CallPrev(message);
  return message.Result;
}

void TacScrollWnd::ParentPainted() {
  if (!SkinData_->Suspended()) {
    if (BackgroundPending) {
      BackgroundPending = false;
      SkinData_->SetDirty(true);
      RepaintFrame();
    }
    return;
  }
  SkinData_->SetSuspended(false);
  BackgroundPending = false;
  if (IsWindowVisible(Handle_))
    RedrawWindow(Handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN);
}

bool TacScrollWnd::AnswerColor(TMessage& message) {
  message.Result = static_cast<LRESULT>(SkinData_->GetColor(false, Handle_));
  return true;
}

bool TacScrollWnd::OwnCommand(TacCommand command, TMessage& message) {
  if (command != AC_SETSUSPENDED) return TacMainWnd::OwnCommand(command, message);
  SkinData_->SetSuspended(message.WParamLo() == 1);
  message.Result = 0;
  return true;
}

void TacScrollWnd::AcWndProc(TMessage& message) {
  if (message.Msg == SM_ALPHACMD || !Skinned()) {
    TacMainWnd::AcWndProc(message);
    return;
  }
  TacScrollInteraction& sb = ScrollInteraction();
  switch (message.Msg) {
    case WM_NCCALCSIZE:
      NcCalcSize(message);
      return;
    case WM_NCHITTEST:
      message.Result = NcHitTest(message);
      return;
    case WM_NCPAINT:
      if (IsWindowVisible(Handle_)) {
        if (SkinData_->Dirty()) SendMessage(Handle_, SM_ALPHACMD, MakeCommandWParam(AC_PREPARING), 0);
        if (!SkinData_->Suspended() && !Busy) {
          HBar_->ReadInfo(Handle_);
          VBar_->ReadInfo(Handle_);
          HDC dc = GetWindowDC(Handle_);
          if (dc) {
            PaintNonClient(dc);
            ReleaseDC(Handle_, dc);
          }
        }
      }
      message.Result = 0;
      return;
    case WM_NCMOUSEMOVE:
      ScrollNcMouseMove(*this, static_cast<LRESULT>(message.WParam));
      break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (ScrollNcLButtonDown(*this, static_cast<LRESULT>(message.WParam), PointOf(message.LParam))) {
        message.Result = 0;
        return;
      }
      break;
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
      if (message.WParam == static_cast<WPARAM>(HTHSCROLL) || message.WParam == static_cast<WPARAM>(HTVSCROLL)) {
        message.Result = 0;
        return;
      }
      break;
    case WM_SYSCOMMAND:
      if ((message.WParam & 0xFFF0) == SC_VSCROLL || (message.WParam & 0xFFF0) == SC_HSCROLL) {
        message.Result = 0;
        return;
      }
      break;
    case WM_TIMER:
      if (ScrollTimer(*this, static_cast<UINT_PTR>(message.WParam))) {
        message.Result = 0;
        return;
      }
      CallPrev(message);
      if (!Busy && !ThumbTracking) RefreshBars(true);
      return;
    case WM_MOUSEMOVE:
      if (sb.Window == Handle_ && sb.PressedPart != kSBNone) {
        TPoint p = PointOf(message.LParam);
        ClientToScreen(Handle_, &p);
        ScrollMouseMove(*this, p);
        message.Result = 0;
        return;
      }
      break;
    case WM_LBUTTONUP:
      if (sb.Window == Handle_ && sb.PressedPart != kSBNone) {
        ScrollLButtonUp(*this);
        message.Result = 0;
        return;
      }
      break;
    case WM_CAPTURECHANGED:
      if (sb.Window == Handle_ && sb.PressedPart != kSBNone && reinterpret_cast<HWND>(message.LParam) != Handle_)
        ScrollLButtonUp(*this);
      break;
    case WM_MOUSEWHEEL:
    case CM_MOUSEWHEEL:
      CallPrev(message);
      if (!Busy) RefreshBars(true);
      return;
    case CM_FOCUSCHANGED:
      CallPrev(message);
      RefreshBars(true);
      return;
    case WM_STYLECHANGING:
      if (StyleGuard) return;
      break;
    case WM_STYLECHANGED:
      if (StyleGuard) return;
      if (static_cast<int>(static_cast<std::intptr_t>(message.WParam)) == GWL_EXSTYLE)
        LeftScrollBar = (GetWindowLongPtr(Handle_, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
      break;
    default:
      break;
  }
  TacMainWnd::AcWndProc(message);
}
