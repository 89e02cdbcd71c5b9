#include "forms/Dialogs.h"

#include <memory>

#include "forms/Application.h"
#include "forms/CustomEdit.h"
#include "forms/InputForm.h"
#include "forms/MessageForm.h"

namespace {
// Dialog forms live while they run and are destroyed afterwards.
template <class T, class... A>
std::unique_ptr<T> MakeDialog(A&&... args) {
  auto form = std::make_unique<T>(nullptr, std::forward<A>(args)...);
  form->AfterConstruction();
  return form;
}
}  // namespace

TForm* CreateMessageDialog(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons) {
  auto* form = new TMessageForm(nullptr, message, type, buttons);
  form->AfterConstruction();
  return form;
}

TModalResult MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons) {
  auto form = MakeDialog<TMessageForm>(message, type, buttons);
  return form->ShowModal();
}

void ShowMessage(const std::string& message) { MessageDlg(message, mtCustom, {mbOK}); }

int MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  TMsgDlgButtons buttons;
  switch (flags & 0x0F) {
    case MB_OKCANCEL: buttons = {mbOK, mbCancel}; break;
    case MB_ABORTRETRYIGNORE: buttons = {mbAbort, mbRetry, mbIgnore}; break;
    case MB_YESNOCANCEL: buttons = {mbYes, mbNo, mbCancel}; break;
    case MB_YESNO: buttons = {mbYes, mbNo}; break;
    case MB_RETRYCANCEL: buttons = {mbRetry, mbCancel}; break;
    default: buttons = {mbOK}; break;
  }
  TMsgDlgType type = mtCustom;
  switch (flags & 0xF0) {
    case MB_ICONERROR: type = mtError; break;
    case MB_ICONQUESTION: type = mtConfirmation; break;
    case MB_ICONWARNING: type = mtWarning; break;
    case MB_ICONINFORMATION: type = mtInformation; break;
    default: break;
  }
  auto form = MakeDialog<TMessageForm>(text, type, buttons);
  if (!caption.empty()) form->SetCaption(caption);
  return form->ShowModal();
}

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  auto form = MakeDialog<TInputForm>(caption, prompt, value);
  if (form->ShowModal() != mrOk) return false;
  value = form->Edit->Text();
  return true;
}

std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& defaultValue) {
  std::string value = defaultValue;
  return InputQuery(caption, prompt, value) ? value : defaultValue;
}
