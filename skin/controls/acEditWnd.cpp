#include "skin/controls/acEditWnd.h"

#include "forms/Font.h"
#include "forms/WinControl.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/SystemColors.h"
#include "platform/win/Paint.h"
#include "platform/win/PaintFlags.h"
#include "platform/win/Win.h"
#include "skin/core/sGeneralData.h"
#include "skin/paint/acParentBg.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/sCommonData.h"
#include "skin/runtime/sSkinManager.h"

TacEditWnd::TacEditWnd(HWND window, TsCommonData* skinData, TsSkinManager* manager, const std::string& section,
                       bool recalculate)
    : TacBaseWnd(window, skinData, manager, section, recalculate) {
  if (Control_) {
    SavedColor_ = Control_->Color();
    SavedFontColor_ = Control_->Font().Color();
    ColorsSaved_ = true;
  }
}

TacEditWnd::~TacEditWnd() {
  if (Installed() && !Destroyed()) Uninstall();
}

TacPaintState TacEditWnd::FrameState() const { return HotIf(SkinData_->IsHot()); }

void TacEditWnd::Initialize() {
  TacBaseWnd::Initialize();
  ApplyColors();
}

void TacEditWnd::ApplyColors() {
  const TsGeneralData* section = Skinned() ? SkinData_->Section() : nullptr;
  if (!Control_) {
    OwnColor_ = section && !DlgMode_ ? static_cast<TColor>(section->Color) : ColorToRGB(clWindow);
    SkinData_->SetDirty(true);
    return;
  }
  if (!section) return;
  const bool hot = UsesHotValues(FrameState());
  if (!SkinData_->CustomColor()) Control_->SetColor(SkinData_->GetColor(hot));
  if (!SkinData_->CustomFont()) Control_->Font().SetColor(hot ? section->HotFontColor[0] : section->FontColor[0]);
  SkinData_->SetDirty(true);
}

void TacEditWnd::AcUninstall() {
  if (Control_ && ColorsSaved_) {
    if (!SkinData_->CustomColor()) Control_->SetColor(SavedColor_);
    if (!SkinData_->CustomFont()) Control_->Font().SetColor(SavedFontColor_);
  }
  TacBaseWnd::AcUninstall();
  if (IsWindowVisible(Handle_)) RedrawWindow(Handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
}

TRect TacEditWnd::ClientInWindow() const {
  TRect window, client;
  GetWindowRect(Handle_, &window);
  GetClientRect(Handle_, &client);
  TPoint origin{0, 0};
  ClientToScreen(Handle_, &origin);
  return client.Offset(origin.X - window.Left, origin.Y - window.Top);
}

void TacEditWnd::RebuildFace() {
  TRect window;
  GetWindowRect(Handle_, &window);
  SkinData_->EnsureCache();
  TBitmap& cache = *SkinData_->Cache();
  if (!Control_ && (cache.Width() != window.Width() || cache.Height() != window.Height()))
    cache.SetSize(window.Width(), window.Height());
  const TacPaintState state = FrameState();
  const TRect all{0, 0, cache.Width(), cache.Height()};
  if (Control_ && Control_->Parent()) {
    TacBGInfo request;
    GetParentBackground(request, Control_, false);
    if (request.BgType != btCache && request.Color == clFuchsia) BackgroundPending = true;
    PaintSectionForControl(*SkinData_, Control_->Parent(), true, state, all, {Control_->Left(), Control_->Top()},
                           &cache, false);
    RefreshCorners(*SkinData_, state);
  } else {
    PaintSection(*SkinData_, BackgroundInfo::FromColor(OwnColor_), true, state, all, {0, 0}, &cache, true);
  }
  SkinData_->SetDirty(false);
}

void TacEditWnd::PaintNonClient(HDC windowDc) {
  if (SkinData_->Dirty() || !SkinData_->HasCache()) RebuildFace();
  const TBitmap& cache = *SkinData_->Cache();
  // Only the ring: the client belongs to the control and the bars are drawn next.
  const int saved = windowDc->Save();
  windowDc->ExcludeClip(ClientInWindow());
  TRect window;
  GetWindowRect(Handle_, &window);
  for (int orientation : {SB_HORZ, SB_VERT}) {
    const TRect bar = BarRect(orientation);
    if (!bar.IsEmpty()) windowDc->ExcludeClip(bar.Offset(-window.Left, -window.Top));
  }
  const TRect box = SizeBoxRect(*this);
  if (!box.IsEmpty()) windowDc->ExcludeClip(box.Offset(-window.Left, -window.Top));
  BitBlt(windowDc, 0, 0, cache.Width(), cache.Height(), &const_cast<TBitmap&>(cache).Canvas(), 0, 0, SRCCOPY);
  windowDc->Restore(saved);
  PaintBars(windowDc);
}

bool TacEditWnd::OwnCommand(TacCommand command, TMessage& message) {
  if (command != AC_PREPARING) return TacBaseWnd::OwnCommand(command, message);
  RebuildFace();
  return true;
}

void TacEditWnd::AcWndProc(TMessage& message) {
  if (message.Msg == SM_ALPHACMD || !Skinned()) {
    TacBaseWnd::AcWndProc(message);
    return;
  }
  switch (message.Msg) {
    case WM_PAINT:
      if (SkinData_->Suspended()) {
        ValidateRect(Handle_, nullptr);
        message.Result = 0;
        return;
      }
      break;
    case WM_SIZE:
      TacBaseWnd::AcWndProc(message);
      SkinData_->SetDirty(true);
      RepaintFrame();
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TacBaseWnd::AcWndProc(message);
      SkinData_->SetFocused(message.Msg == WM_SETFOCUS);
      SkinData_->SetDirty(true);
      RepaintFrame();
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      TacBaseWnd::AcWndProc(message);
      SkinData_->SetMouseAbove(message.Msg == CM_MOUSEENTER);
      SkinData_->SetDirty(true);
      if (OwnedSkinData_) {
        if (SkinData_->MouseAbove())
          SkinData_->ShowGlow(false);
        else
          SkinData_->HideGlow();
      }
      RepaintFrame();
      return;
    // What can move the view: keys, presses, drags with the button held, typing,
    // scrolling. Our edits and list boxes are framework controls that send none of
    // the platform's edit and list-box notifications, so the framework's own
    // messages (key and mouse messages, CM_TEXTCHANGED, CM_CHANGED) stand in for them.
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_LBUTTONDOWN:
    case CM_TEXTCHANGED:
    case CM_CHANGED:
      TacBaseWnd::AcWndProc(message);
      RefreshBars(true);
      return;
    case WM_MOUSEMOVE:
      TacBaseWnd::AcWndProc(message);
      if (message.WParam & MK_LBUTTON) RefreshBars(true);
      return;
    case WM_VSCROLL:
    case WM_HSCROLL:
      TacBaseWnd::AcWndProc(message);
      if (!Busy) RefreshBars(true);
      return;
    case WM_PRINTCLIENT: {
      auto* dc = reinterpret_cast<HDC>(message.WParam);
      if (dc) PaintNonClient(dc);
      CallPrev(message);
      return;
    }
    default:
      break;
  }
  TacBaseWnd::AcWndProc(message);
}
