#include "skin/runtime/acBroadcast.h"

#include <vector>

#include "forms/Application.h"
#include "forms/Form.h"
#include "platform/win/Message.h"
#include "platform/win/Window.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/acFormRegistry.h"

TacBroadcast::TObserver& TacBroadcast::Observer() {
  static TObserver observer;
  return observer;
}

bool TacBroadcast::AnswersHandled(HWND window) {
  return window && IsWindow(window) && SendMessage(window, SM_ALPHACMD, MakeCommandWParam(AC_CTRLHANDLED), 0) == 1;
}

bool TacBroadcast::AnswersHandled(TControl* control) {
  if (!control) return false;
  auto* windowed = dynamic_cast<TWinControl*>(control);
  if (windowed && windowed->HandleAllocated()) return AnswersHandled(windowed->Handle());
  return control->Perform(SM_ALPHACMD, MakeCommandWParam(AC_CTRLHANDLED), 0) == 1;
}

void TacBroadcast::SendToControl(TControl* control, const TMessage& message, TacDelivery how) {
  auto* windowed = dynamic_cast<TWinControl*>(control);
  // A form without a window yet is called directly.
  if (!windowed || !windowed->HandleAllocated()) how = TacDelivery::DirectCall;
  HWND window = how == TacDelivery::Message ? windowed->Handle() : nullptr;
  if (Observer()) Observer()(control, window, message, how);
  if (how == TacDelivery::Message)
    SendMessage(window, message.Msg, message.WParam, message.LParam);
  else
    control->Perform(message.Msg, message.WParam, message.LParam);
}

void TacBroadcast::ToControls(TWinControl* parent, const TMessage& message) {
  if (!parent) return;
  // A receiver may add or remove controls while it handles the command: walk a copy
  // and skip children that left meanwhile.
  std::vector<TControl*> children;
  children.reserve(static_cast<std::size_t>(parent->ControlCount()));
  for (int i = 0; i < parent->ControlCount(); ++i) children.push_back(parent->Controls(i));
  for (TControl* child : children) {
    if (!parent->ContainsControl(child)) continue;
    if (child->IsDestroying()) break;
    auto* windowed = dynamic_cast<TWinControl*>(child);
    if (!windowed || !windowed->HandleAllocated() || !IsWindow(windowed->Handle()))
      SendToControl(child, message, TacDelivery::DirectCall);
    else if (AnswersHandled(windowed->Handle()))
      SendToControl(child, message, TacDelivery::Message);
    else
      ToControls(windowed, message);
  }
}

void TacBroadcast::ToForm(TForm* form, const TMessage& message) {
  SendToControl(form, message, TacDelivery::Message);
  ToControls(form, message);
  // The framework's forms have no MDI client window; an MDI frame form is addressed
  // like any other.
}

void TacBroadcast::ToApplication(TacCommand command, LPARAM lParam, unsigned argument) {
  TMessage message;
  message.Msg = SM_ALPHACMD;
  message.WParam = MakeCommandWParam(command, argument);
  message.LParam = lParam;
  ToApplication(message);
}

void TacBroadcast::ToApplication(const TMessage& message) {
  if (Application) {
    // Collect first: receivers may create or free forms.
    std::vector<TForm*> forms;
    for (int i = Application->ComponentCount() - 1; i >= 0; --i)
      if (auto* form = dynamic_cast<TForm*>(Application->Components(i))) forms.push_back(form);
    for (TForm* form : forms) {
      bool stillThere = false;
      for (int i = 0; i < Application->ComponentCount() && !stillThere; ++i) stillThere = Application->Components(i) == form;
      if (!stillThere) continue;
      if (form->FormStyle() == fsMDIChild || form->IsDestroying() || form->IsLoading()) continue;
      if (AnswersHandled(form)) continue;  // its provider registered it: the second pass reaches it
      ToForm(form, message);
    }
  }
  const std::vector<TacRegisteredForm> registered = ProviderForms();
  for (const TacRegisteredForm& entry : registered) {
    bool stillThere = false;
    for (const TacRegisteredForm& now : ProviderForms()) stillThere = stillThere || now.Form == entry.Form;
    if (!stillThere || entry.Form->IsDestroying() || entry.Form->IsLoading()) continue;
    ToForm(entry.Form, message);
  }
  const std::vector<HWND> popups = SkinnedPopupWindows();
  for (HWND popup : popups) {
    if (!IsWindow(popup) || !IsWindowVisible(popup)) continue;
    if (Observer()) Observer()(nullptr, popup, message, TacDelivery::Message);
    SendMessage(popup, message.Msg, message.WParam, message.LParam);
  }
}

LRESULT SendAlphaCmd(TControl* receiver, TacCommand command, LPARAM lParam, unsigned argument) {
  if (!receiver) return 0;
  const WPARAM wParam = MakeCommandWParam(command, argument);
  auto* windowed = dynamic_cast<TWinControl*>(receiver);
  if (windowed && windowed->HandleAllocated()) return SendMessage(windowed->Handle(), SM_ALPHACMD, wParam, lParam);
  return receiver->Perform(SM_ALPHACMD, wParam, lParam);
}
