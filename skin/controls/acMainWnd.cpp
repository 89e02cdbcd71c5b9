#include "skin/controls/acMainWnd.h"

#include "forms/WinControl.h"
#include "platform/win/Message.h"
#include "platform/win/Paint.h"
#include "platform/win/PaintFlags.h"
#include "platform/win/Win.h"
#include "skin/runtime/acBroadcast.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/sCommonData.h"
#include "skin/runtime/sSkinManager.h"

namespace {
constexpr const char* kSubclassProp = "ACSBSC";

// The driver's report of a plain control under a window subclass: the subclass's section.
bool ReportSubclassed(TControl* control, std::string& section, int& index) {
  auto* windowed = dynamic_cast<TWinControl*>(control);
  if (!windowed || !windowed->HandleAllocated()) return false;
  TacMainWnd* wnd = TacMainWnd::Of(windowed->Handle());
  if (!wnd || wnd->Destroyed()) return false;
  section = wnd->SkinData().SkinSection();
  index = wnd->SkinData().SkinIndex();
  return true;
}

}  // namespace

void TacMainWnd::RegisterSkinReporter() { AddSkinReporter(ReportSubclassed); }

bool& TacMainWnd::DialogModeSetting() {
  static bool value = false;
  return value;
}

bool& TacMainWnd::NoVisualStylesSetting() {
  static bool value = false;
  return value;
}

TacMainWnd* TacMainWnd::Of(HWND window) { return static_cast<TacMainWnd*>(GetProp(window, kSubclassProp)); }

TacMainWnd::TacMainWnd(HWND window, TsCommonData* skinData, TsSkinManager* manager, const std::string& section)
    : Handle_(window), Control_(TWinControl::FromHandle(window)), SkinData_(skinData), Manager_(manager),
      Section_(section) {
  if (!SkinData_) {
    OwnedSkinData_ = std::make_unique<TsCommonData>(Control_, true);
    OwnedSkinData_->SetControlKind(TacControlKind::Adapter);
    SkinData_ = OwnedSkinData_.get();
  }
}

TacMainWnd::~TacMainWnd() {
  if (Installed_ && !Destroyed()) Uninstall();
}

bool TacMainWnd::Destroyed() const { return Destroyed_ || !IsWindow(Handle_); }

TsSkinManager* TacMainWnd::SkinManager() const { return Manager_ ? Manager_ : SkinData_->GetManager(); }

bool TacMainWnd::Skinned() const {
  TsSkinManager* manager = SkinManager();
  return manager && manager->Active() && SkinData_->IsSkinned();
}

void TacMainWnd::ResolveSection() {
  if (Manager_ && SkinData_->SkinManager() != Manager_) SkinData_->AssignManager(Manager_);
  SkinData_->ResolveSection();
}

void TacMainWnd::Install() {
  if (Installed_ || !Handle_) return;
  // Visual themes are never on in this window system, so switching them off for
  // the window (the dialog-style setting) has nothing to do.
  if (Manager_ && Manager_ != TsSkinManager::DefaultManager()) SkinData_->AssignManager(Manager_);
  if (SkinData_->SkinSection().empty() || SkinData_->SkinSection() == "UNKNOWN") {
    SkinData_->SetSkinSection(Section_);
  } else {
    ResolveSection();
  }
  DlgMode_ = DialogModeSetting();
  Initialize();
  WndText_ = GetWindowText(Handle_);
  SetProp(Handle_, kSubclassProp, this);
  if (Control_) {
    // A framework control: its message method is chained, so the control's own
    // handling (and whatever stands in front of it) stays intact behind us.
    OldMessageMethod_ = Control_->WindowProc;
    Control_->WindowProc = [this](TMessage& message) { Dispatch(message); };
    Control_->SetControlStyle(Control_->ControlStyle() + csOpaque);
  } else {
    OldWndProc_ = SetWindowProc(Handle_, MakeWindowProc<&TacMainWnd::ForeignWndProc>(this));
  }
  Installed_ = true;
  HookInstalled();
}

void TacMainWnd::Unhook() {
  if (!Installed_) return;
  Installed_ = false;
  if (Control_) {
    Control_->WindowProc = std::move(OldMessageMethod_);
    OldMessageMethod_ = nullptr;
  } else if (OldWndProc_) {
    SetWindowProc(Handle_, OldWndProc_);
  }
  if (GetProp(Handle_, kSubclassProp) == this) RemoveProp(Handle_, kSubclassProp);
}

void TacMainWnd::Uninstall() {
  if (!Installed_) return;
  if (!IsWindow(Handle_)) {
    // The window (and with it a framework control) is gone: nothing to give back.
    Installed_ = false;
    Destroyed_ = true;
    return;
  }
  Unhook();
  if (!Destroyed_) AcUninstall();
}

void TacMainWnd::CallPrev(TMessage& message) {
  if (Control_ && OldMessageMethod_) {
    OldMessageMethod_(message);
  } else if (Control_) {
    Control_->WndProc(message);
  } else if (OldWndProc_) {
    message.Result = CallWindowProc(OldWndProc_, Handle_, message.Msg, message.WParam, message.LParam);
  } else {
    message.Result = DefWindowProc(Handle_, message.Msg, message.WParam, message.LParam);
  }
}

LRESULT TacMainWnd::CallPrev(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage message{msg, wParam, lParam};
  CallPrev(message);
  return message.Result;
}

LRESULT TacMainWnd::ForeignWndProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage message{msg, wParam, lParam};
  Dispatch(message);
  return message.Result;
}

void TacMainWnd::Dispatch(TMessage& message) {
  if (message.Msg == WM_DESTROY || message.Msg == WM_NCDESTROY) {
    SkinData_->HideGlow();
    // The window goes: the subclass unhooks and waits to be replaced. Nothing of
    // this object is touched once the message has been passed on and unhooked.
    Unhook();
    Destroyed_ = true;
    CallPrev(message);
    return;
  }
  AcWndProc(message);
}

void TacMainWnd::RepaintAll() {
  if (IsWindowVisible(Handle_))
    RedrawWindow(Handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
}

void TacMainWnd::TakeSkinChange(TsCommonData*, TMessage&, TacCommand command) {
  // The control behind the window (when it has skin data of its own) takes the change
  // itself; the subclass only follows the section and repaints.
  if (command == AC_REMOVESKIN) {
    Uninstall();
    return;
  }
  ResolveSection();
  SkinData_->SetDirty(true);
  if (command == AC_REFRESH) SkinData_->SetSuspended(false);
  Initialize();
  RepaintAll();
}

void TacMainWnd::PassToChildren(const TMessage& message) {
  // Broadcasts reach a window answering command 7 by message; its children are ours to pass on.
  if (Control_ && Control_->ControlCount() > 0) TacBroadcast::ToControls(Control_, message);
}

void TacMainWnd::ParentPainted() {
  if (!SkinData_->Suspended()) return;
  SkinData_->SetSuspended(false);
  RepaintAll();
}

bool TacMainWnd::AnswerBackground(TMessage& message) {
  if (message.LParam != 0) SkinData_->AnswerBackground(*reinterpret_cast<TacBGInfo*>(message.LParam), false, Handle_);
  return true;
}

bool TacMainWnd::AnswerColor(TMessage& message) {
  // The window's own answer first (a skinned parent chain), else the section colour.
  CallPrev(message);
  if (message.Result == 0 && Skinned()) message.Result = static_cast<LRESULT>(SkinData_->GetColor(false, Handle_));
  return true;
}

bool TacMainWnd::OwnCommand(TacCommand command, TMessage& message) {
  if (command == AC_ISSUSPENDED) {
    message.Result = SkinData_->Suspended() ? 1 : 0;
    return true;
  }
  if (command == AC_PREPARING) {
    SkinData_->SetDirty(true);
    return true;
  }
  return false;
}

void TacMainWnd::AcWndProc(TMessage& message) {
  if (message.Msg == SM_ALPHACMD) {
    if (!RunSkinCommand(SkinData_, message, SkinManager())) CallPrev(message);
    return;
  }
  if (!Skinned()) {
    CallPrev(message);
    return;
  }
  switch (message.Msg) {
    case WM_CHANGEUISTATE:
      message.Result = 0;
      return;
    case WM_SIZE:
      SkinData_->SetDirty(true);
      break;
    case WM_SETTEXT:
      CallPrev(message);
      WndText_ = GetWindowText(Handle_);
      return;
    case WM_MOUSEMOVE:
      if (IsWindowEnabled(Handle_))
        if (TsSkinManager* manager = TsSkinManager::DefaultManager()) manager->SetHotControl(Handle_);
      break;
    case WM_PRINTCLIENT: {
      TMessage paint;
      paint.Msg = WM_PAINT;
      paint.WParam = message.WParam;
      AcWndProc(paint);
      message.Result = paint.Result;
      return;
    }
    default:
      break;
  }
  CallPrev(message);
}
