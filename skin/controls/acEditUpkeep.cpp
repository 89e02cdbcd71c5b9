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

void TacOwnedEditWnd::AcWndProc(TMessage& message) {
  TacEditWnd::AcWndProc(message);
  // The subclass has done its part; the control owning it decides about its life.
  if (message.Msg == SM_ALPHACMD && IsAnnouncement(CommandOf(message.WParam))) CallPrev(message);
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

void TacEditUpkeep::SkinChanging(TacCommand command) {
  // The subclass (when there was one) has already taken itself off and given the
  // control its colours back; it is freed at the next upkeep, never here, where its
  // own handling may still be running.
  if (command == AC_REMOVESKIN && Wnd_ && Wnd_->Installed() && !Wnd_->Destroyed()) Wnd_->Uninstall();
}

void TacEditUpkeep::SkinChanged(TacCommand command) {
  if (command == AC_REMOVESKIN) {
    // Without the subclass the platform computes and paints its own frame and bars again.
    if (Control_.HandleAllocated())
      SetWindowPos(Control_.Handle(), nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    Update();
    if (TacOwnedEditWnd* wnd = Wnd()) wnd->Reinitialize();
  }
  RedrawWithFrame();
}

void TacEditUpkeep::ParentPainted(bool repaintClient) {
  if (!SkinData_.Suspended()) return;
  SkinData_.SetSuspended(false);
  if (Control_.HandleAllocated())
    RedrawWindow(Control_.Handle(), nullptr, nullptr,
                 repaintClient ? RDW_INVALIDATE | RDW_FRAME | RDW_ERASE : RDW_FRAME | RDW_INVALIDATE);
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

