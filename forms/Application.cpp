#include "forms/Application.h"

#include "forms/Dialogs.h"
#include "forms/ExceptionHandler.h"
#include "forms/Form.h"
#include "platform/win/Icons.h"
#include "platform/win/Message.h"

TApplication* Application = nullptr;

void HandleFrameworkException(const std::exception_ptr& error) {
  if (Application) Application->HandleException(error);
}

std::string ExceptionMessage(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unknown error";
  }
}

TApplication::TApplication() : TComponent(nullptr) {
  if (!Application) Application = this;
}

TApplication::~TApplication() {
  Destroying();
  DestroyComponents();
  if (Application == this) Application = nullptr;
}

void TApplication::SetTitle(const std::string& title) {
  Title_ = title;
  SetApplicationTitle(title);  // the name a display lists for a window without a caption
}

void TApplication::Run() {
  if (MainForm_ && ShowMainForm_) {
    try {
      MainForm_->Show();
    } catch (...) {
      HandleException(std::current_exception());
    }
  }
  if (OnStarted) {
    try {
      OnStarted();
    } catch (...) {
      HandleException(std::current_exception());
    }
  }
  while (!Terminated_) {
    if (!HandleMessage()) break;
  }
}

bool TApplication::HandleMessage() {
  MSG msg;
  if (!GetMessage(&msg, nullptr, 0, 0)) {
    Terminated_ = true;
    ExitCode_ = static_cast<int>(msg.wParam);
    return false;
  }
  try {
    if (CallMessageFilter(msg)) return !Terminated_;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  } catch (...) {
    HandleException(std::current_exception());
  }
  return !Terminated_;
}

void TApplication::ProcessMessages() {
  try {
    if (!ProcessPendingMessages()) Terminated_ = true;
  } catch (...) {
    HandleException(std::current_exception());
  }
}

void TApplication::Terminate() {
  if (Terminated_) return;
  Terminated_ = true;
  PostQuitMessage(0);
}

void TApplication::HandleException(const std::exception_ptr& error) {
  if (OnException) {
    OnException(this, error);
    return;
  }
  ShowException(ExceptionMessage(error));
}

void TApplication::ShowException(const std::string& message) {
  if (ShowingException_) return;  // an error inside the error box goes nowhere
  ShowingException_ = true;
  try {
    MessageDlg(message, mtError, {mbOK});
  } catch (...) {
  }
  ShowingException_ = false;
}
