#include "skin/controls/acEditUpkeep.h"

#include "forms/DriverProperties.h"
#include "forms/WinControl.h"
#include "platform/base/TextHelpers.h"
#include "platform/win/Paint.h"
#include "platform/win/PaintFlags.h"
#include "platform/win/Win.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/sCommonData.h"
#include "skin/runtime/sSkinManager.h"

namespace {
bool IsAnnouncement(TacCommand command) {
  return command == AC_SETNEWSKIN || command == AC_REMOVESKIN || command == AC_REFRESH;
}
}  // namespace

TacOwnedEditWnd::TacOwnedEditWnd(HWND window, TsCommonData* skinData) : TacEditWnd(window, skinData, nullptr, "EDIT") {}

bool TacOwnedEditWnd::AcCommand(TMessage& message) {
  const TacCommand command = CommandOf(message.WParam);
  if (!IsAnnouncement(command)) return TacEditWnd::AcCommand(message);
  // The subclass does its part, then the control gets the command (false sends it on).
  TacEditWnd::AcCommand(message);
  return false;
}

TacEditUpkeep::~TacEditUpkeep() { Free(); }

TacOwnedEditWnd* TacEditUpkeep::Wnd() const {
  return Wnd_ && Wnd_->Installed() && !Wnd_->Destroyed() ? Wnd_.get() : nullptr;
}

void TacEditUpkeep::Free() {
  if (!Wnd_) return;
  if (Wnd_->Installed() && !Wnd_->Destroyed()) Wnd_->Uninstall();
  Wnd_.reset();
}

void TacEditUpkeep::Update() {
  const bool skinned = SkinData_.IsSkinned() && !Control_.IsDestroying();
  if (!skinned) {
    Free();
    return;
  }
  if (Wnd()) return;
  // A subclass whose window went (or that the skin's removal took off) is replaced.
  Free();
  if (!Control_.HandleAllocated() || !Control_.Parent()) return;
  Wnd_ = std::make_unique<TacOwnedEditWnd>(Control_.Handle(), &SkinData_);
  Wnd_->Install();
  ++Created_;
}

void TacEditUpkeep::RedrawWithFrame() {
  if (Control_.HandleAllocated() && IsWindowVisible(Control_.Handle()))
    RedrawWindow(Control_.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
}

bool TacEditUpkeep::HandleAnnouncement(TMessage& message) {
  if (message.Msg != SM_ALPHACMD) return false;
  const TacCommand command = CommandOf(message.WParam);
  if (!IsAnnouncement(command)) return false;
  auto* manager = reinterpret_cast<TsSkinManager*>(message.LParam);
  if (manager != SkinData_.GetManager()) return true;
  switch (command) {
    case AC_SETNEWSKIN:
      SkinData_.HandleCommand(message);
      Update();
      if (TacOwnedEditWnd* wnd = Wnd()) wnd->Reinitialize();
      RedrawWithFrame();
      break;
    case AC_REMOVESKIN:
      // The subclass (when there was one) has already taken itself off and given
      // the control its colours back; it is freed at the next upkeep, never here,
      // where its own handling may still be running. Without it the platform
      // computes and paints its own frame and bars again.
      if (Wnd_ && Wnd_->Installed() && !Wnd_->Destroyed()) Wnd_->Uninstall();
      SkinData_.HandleCommand(message);
      if (Control_.HandleAllocated())
        SetWindowPos(Control_.Handle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      RedrawWithFrame();
      break;
    case AC_REFRESH:
      SkinData_.HandleCommand(message);
      Update();
      if (TacOwnedEditWnd* wnd = Wnd()) wnd->Reinitialize();
      RedrawWithFrame();
      break;
    case AC_GETPROVIDER: case AC_SETCHANGEDIFNECESSARY: case AC_PARENTPAINTED: case AC_CTRLHANDLED:
    case AC_SETSUSPENDED: case AC_LOCKBACKGROUND: case AC_ISSUSPENDED: case AC_GETPARENTCHANGED:
    case AC_SECTIONCHANGED: case AC_MENUS: case AC_STOPFADING: case AC_SETDIRTY: case AC_REPAINT:
    case AC_GETBGCHANGED: case AC_PARENTMOVED: case AC_GETCOLOR: case AC_SETPARENTCHANGED: case AC_PREPARING:
    case AC_SCROLLS: case AC_CONTROLLOADED: case AC_GETSKININDEX: case AC_ADAPTERQUERY: case AC_MOUSEENTER:
    case AC_MOUSELEAVE: case AC_SUSPENDED: case AC_RESUMED: case AC_GETCACHE: case AC_SCROLLBARS:
    case AC_UPDATEOPACITY: case AC_ADAPTER51: case AC_ADAPTER52: case AC_GETAPPLICATION:
    case AC_GETCLIENTOFFSET:
    default:
      break;
  }
  message.Result = 0;
  return true;
}

bool EditFamilyCommand(TWinControl& control, TsCommonData& skinData, TMessage& message, bool repaintClient) {
  if (message.Msg != SM_ALPHACMD) return false;
  switch (CommandOf(message.WParam)) {
    case AC_PARENTPAINTED:
      if (skinData.Suspended) {
        skinData.Suspended = false;
        if (control.HandleAllocated())
          RedrawWindow(control.Handle(), nullptr, nullptr,
                       repaintClient ? RDW_INVALIDATE | RDW_FRAME | RDW_ERASE : RDW_FRAME | RDW_INVALIDATE);
      }
      message.Result = 0;
      return true;
    case AC_CTRLHANDLED:
      message.Result = 1;
      return true;
    case AC_SETNEWSKIN: case AC_REMOVESKIN: case AC_REFRESH: case AC_GETPROVIDER:
    case AC_SETCHANGEDIFNECESSARY: case AC_SETSUSPENDED: case AC_LOCKBACKGROUND: case AC_ISSUSPENDED:
    case AC_GETPARENTCHANGED: case AC_SECTIONCHANGED: case AC_MENUS: case AC_STOPFADING: case AC_SETDIRTY:
    case AC_REPAINT: case AC_GETBGCHANGED: case AC_PARENTMOVED: case AC_GETCOLOR: case AC_SETPARENTCHANGED:
    case AC_PREPARING: case AC_SCROLLS: case AC_CONTROLLOADED: case AC_GETSKININDEX: case AC_ADAPTERQUERY:
    case AC_MOUSEENTER: case AC_MOUSELEAVE: case AC_SUSPENDED: case AC_RESUMED: case AC_GETCACHE:
    case AC_SCROLLBARS: case AC_UPDATEOPACITY: case AC_ADAPTER51: case AC_ADAPTER52: case AC_GETAPPLICATION:
    case AC_GETCLIENTOFFSET:
    default:
      return false;
  }
}

// Scripts read the skin's state and switch it off and on again through the main
// window's manager: "set Form1.sSkinManager1.Active false".
void RegisterSkinManagerDriverProperties() {
  using P = TDriverProperties;
  P::Register<TsSkinManager>("Active", [](TsSkinManager& m) { return BoolText(m.Active()); });
  P::RegisterSetter<TsSkinManager>("Active", [](TsSkinManager& m, const std::string& value) -> std::string {
    if (value != "true" && value != "false") return "expected true or false, found '" + value + "'";
    m.SetActive(value == "true");
    return {};
  });
}

