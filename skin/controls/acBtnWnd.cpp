#include "skin/controls/acBtnWnd.h"

#include <algorithm>

#include "forms/Button.h"
#include "forms/Canvas.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/TextFlags.h"
#include "platform/win/Cursors.h"
#include "platform/win/Paint.h"
#include "platform/win/Win.h"
#include "skin/core/sGeneralData.h"
#include "skin/paint/acMaskPaint.h"
#include "skin/paint/acParentBg.h"
#include "skin/render/sBlend.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/acGlowEffects.h"
#include "skin/runtime/sCommonData.h"
#include "skin/runtime/sSkinManager.h"

namespace {
constexpr DWORD kDefPushButtonStyle = 0x0001;  // BS_DEFPUSHBUTTON
constexpr DWORD kMultiLineStyle = 0x2000;      // BS_MULTILINE
// The disabled face over a plain colour: 40 % face, 60 % colour, each channel
// rounded; holes (the key colour) stay holes.
void MixKeyedWithColor(TBitmap& face, TColor color) {
  for (int y = 0; y < face.Height(); ++y)
    for (int x = 0; x < face.Width(); ++x) {
      const TColor c = face.Pixel(x, y);
      if (c != kTransparentKey) face.SetPixel(x, y, DisabledMix(c, color));
    }
}

}  // namespace

TacBtnWnd::TacBtnWnd(HWND window, TsCommonData* skinData, TsSkinManager* manager, const std::string& section)
    : TacMainWnd(window, skinData, manager, section) {}

TacBtnWnd::~TacBtnWnd() {
  if (Installed() && !Destroyed()) Uninstall();
}

// Our push buttons are framework controls: the pushed look is the framework's
// Pressed(), as no platform button class reports a button state here.
bool TacBtnWnd::Pushed() const {
  const auto* button = dynamic_cast<const TButton*>(Control_);
  return button && button->Pressed();
}

bool TacBtnWnd::IsDefault() const {
  if (const auto* button = dynamic_cast<const TButton*>(Control_)) return button->Default();
  return (GetWindowLongPtr(Handle_, GWL_STYLE) & kDefPushButtonStyle) != 0;
}

bool TacBtnWnd::CursorInside() const {
  TPoint p;
  GetCursorPos(&p);
  TRect r;
  GetWindowRect(Handle_, &r);
  return r.Contains(p);
}

TacPaintState TacBtnWnd::PaintState() const {
  if (Pushed()) return TacPaintState::Pressed;
  if (!IsWindowEnabled(Handle_)) return TacPaintState::Normal;
  if (GetFocus() == Handle_) return TacPaintState::Hot;
  if (TsSkinManager* manager = SkinManager(); manager && manager->HotControl() == Handle_) return TacPaintState::Hot;
  return HotIf(IsDefault());
}

void TacBtnWnd::RebuildFace() {
  TsCommonData& d = *SkinData_;
  const TacPaintState state = PaintState();
  if (state == TacPaintState::Pressed) ReleaseAllGlows();
  TRect window;
  GetWindowRect(Handle_, &window);
  const int w = window.Width(), h = window.Height();
  d.EnsureCache();
  TBitmap& cache = *d.Cache();
  if (cache.Width() != w || cache.Height() != h) cache.SetSize(w, h);
  TacBGInfo request;
  BackgroundInfo bg = BackgroundInfo::FromColor(ColorToRGB(clBtnFace));
  TPoint offset{0, 0};
  if (Control_ && Control_->Parent()) {
    GetParentBackground(request, Control_, false);
    bg = BackgroundFromRequest(request);
    offset = {Control_->Left(), Control_->Top()};
  }
  PaintSection(d, bg, true, state, {0, 0, w, h}, offset, &cache, true);
  RefreshCorners(d, state);

  const std::string caption = Control_ ? Control_->Caption() : WndText_;
  const bool multiLine = (GetWindowLongPtr(Handle_, GWL_STYLE) & kMultiLineStyle) != 0 ||
                         (dynamic_cast<const TButton*>(Control_) && dynamic_cast<const TButton*>(Control_)->WordWrap());
  const unsigned wrap = multiLine ? DT_WORDBREAK : DT_SINGLELINE;
  TCanvas canvas;
  canvas.SetHandle(&cache.Canvas());
  if (Control_) canvas.Font().Assign(Control_->Font());
  canvas.Brush().SetStyle(bsClear);
  TRect text{0, 0, 0, 0};
  if (!caption.empty()) {
    text = {0, 0, w - 2, 0};
    canvas.DrawText(caption, text, DT_CALCRECT | DT_CENTER | DT_EXPANDTABS | DT_NOPREFIX | wrap);
  }
  const int tw = text.Width(), th = text.Height();
  TRect r{(w - tw) / 2 - 1, (h - th) / 2, w - (w - tw) / 2 + 2, h - (h - th) / 2};
  if (state == TacPaintState::Pressed) r = r.Offset(1, 1);
  const bool enabled = IsWindowEnabled(Handle_);
  if (!caption.empty()) {
    DrawSectionText(cache.Canvas(), caption, true, d.GetManager(), state, d.SkinIndex(),
                    DT_CENTER | DT_EXPANDTABS | wrap, r);
    const TsGeneralData* section = d.Section();
    if (enabled && GetFocus() == Handle_ && section && section->ShowFocus)
      cache.Canvas().DrawFocusRect(r.Inflate(1, 1));
  }
  canvas.SetHandle(nullptr);
  if (!enabled) {
    if (bg.Ready)
      PaintDisabledLook(cache, kDisabledBlend, Control_, offset, bg);
    else
      MixKeyedWithColor(cache, ColorToRGB(bg.FillColor));
  }
  d.SetDirty(false);
  ++RenderCount_;
}

void TacBtnWnd::PaintWindow(HDC given) {
  if (!Initialized_) Initialize();
  PAINTSTRUCT ps;
  HDC dc = given ? given : BeginPaint(Handle_, &ps);
  if (!SkinData_->Suspended() && dc) {
    SkinData_->SetDirty(true);
    RebuildFace();
    const TBitmap& cache = *SkinData_->Cache();
    BitBlt(dc, 0, 0, cache.Width(), cache.Height(), &const_cast<TBitmap&>(cache).Canvas(), 0, 0, SRCCOPY);
  }
  if (!given) EndPaint(Handle_, &ps);
}

void TacBtnWnd::RepaintAll() {
  if (!IsWindowVisible(Handle_)) return;
  InvalidateRect(Handle_, nullptr, false);
  UpdateWindow(Handle_);
}

void TacBtnWnd::AcUninstall() {
  Hovered_ = false;
  if (IsWindowVisible(Handle_)) InvalidateRect(Handle_, nullptr, true);
}

void TacBtnWnd::Quietly(TMessage& message) {
  const bool visible = IsWindowVisible(Handle_);
  if (visible) SendMessage(Handle_, WM_SETREDRAW, 0, 0);
  CallPrev(message);
  if (visible) SendMessage(Handle_, WM_SETREDRAW, 1, 0);
  SkinData_->SetDirty(true);
  RepaintAll();
}

bool TacBtnWnd::OwnCommand(TacCommand command, TMessage& message) {
  if (command == AC_MOUSEENTER) {
    if (CursorInside()) {
      Hovered_ = true;
      SkinData_->SetMouseAbove(true);
      SkinData_->SetDirty(true);
      SkinData_->SetSuspended(false);
      RepaintAll();
      SkinData_->ShowGlow(false);
    }
    return true;
  }
  if (command == AC_MOUSELEAVE) {
    ReleaseAllGlows();
    SkinData_->HideGlow();
    Hovered_ = false;
    SkinData_->SetMouseAbove(false);
    SkinData_->SetSuspended(false);
    SkinData_->SetDirty(true);
    RepaintAll();
    return true;
  }
  return TacMainWnd::OwnCommand(command, message);
}

void TacBtnWnd::AcWndProc(TMessage& message) {
  if (message.Msg == SM_ALPHACMD || !Skinned()) {
    TacMainWnd::AcWndProc(message);
    return;
  }
  switch (message.Msg) {
    case WM_PAINT:
      PaintWindow(reinterpret_cast<HDC>(message.WParam));
      message.Result = 0;
      return;
    case WM_PRINTCLIENT:
      PaintWindow(reinterpret_cast<HDC>(message.WParam));
      message.Result = 0;
      return;
    case WM_ERASEBKGND:
      message.Result = 1;
      return;
    case WM_NCPAINT:
    case WM_CHANGEUISTATE:
    case WM_UPDATEUISTATE:
      message.Result = 0;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (IsWindowEnabled(Handle_)) {
        Quietly(message);
        SkinData_->SetFocused(message.Msg == WM_SETFOCUS);
        return;
      }
      break;
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
    case WM_SETTEXT:
    case CM_TEXTCHANGED:
      if (IsWindowVisible(Handle_)) {
        Quietly(message);
        if (message.Msg == WM_SETTEXT) WndText_ = GetWindowText(Handle_);
        return;
      }
      break;
    case WM_MOUSEMOVE: {
      TacMainWnd::AcWndProc(message);
      // The manager learns who is under the mouse; leaving hands the hot state back.
      if (TsSkinManager* manager = TsSkinManager::DefaultManager()) {
        if (CursorInside() && IsWindowEnabled(Handle_))
          manager->SetHotControl(Handle_);
        else if (manager->HotControl() == Handle_)
          manager->SetHotControl(nullptr);
      }
      return;
    }
    case CM_MOUSELEAVE:
      // The framework tells its controls when the mouse left; moves outside the
      // window never reach a button without the capture.
      CallPrev(message);
      if (TsSkinManager* manager = TsSkinManager::DefaultManager(); manager && manager->HotControl() == Handle_)
        manager->SetHotControl(nullptr);
      return;
    case WM_MOVE:
      CallPrev(message);
      if (const TsGeneralData* section = SkinData_->Section();
          section && (section->Transparency > 0 || (UsesHotValues(PaintState()) && section->HotTransparency > 0))) {
        SkinData_->SetDirty(true);
        RepaintAll();
      }
      return;
    default:
      break;
  }
  TacMainWnd::AcWndProc(message);
}
