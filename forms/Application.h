#pragma once
// The application object: creates the forms in order (the first becomes the
// main form), runs the event loop and shows errors that escape handlers in the
// error message box.
#include <exception>
#include <functional>
#include <string>

#include "forms/Component.h"
#include "forms/Forward.h"

using TExceptionEvent = std::function<void(TObject* sender, const std::exception_ptr& error)>;

class TApplication : public TComponent {
public:
  TApplication();
  ~TApplication() override;
  std::string ClassName() const override { return "TApplication"; }

  void Initialize() {}
  // Creates a form owned by the application, stores it in *reference before
  // OnCreate runs, and makes the first one created the main form.
  template <class T>
  T* CreateForm(T** reference = nullptr) {
    auto* form = new T(this);
    if (reference) *reference = form;
    form->AfterConstruction();
    if (!MainForm_) MainForm_ = form;
    return form;
  }
  // Shows the main form and runs the loop until Terminate or the main form closes.
  void Run();
  void Terminate();
  bool Terminated() const { return Terminated_; }
  // Handles everything pending without waiting.
  void ProcessMessages();
  // Dispatches one message, waiting for it; false when the loop must end.
  bool HandleMessage();
  // Shows the error in the error message box (or calls OnException).
  void HandleException(const std::exception_ptr& error);
  void ShowException(const std::string& message);

  TForm* MainForm() const { return MainForm_; }
  void ForgetMainForm() { MainForm_ = nullptr; }
  const std::string& Title() const { return Title_; }
  void SetTitle(const std::string& title);
  bool ShowMainForm() const { return ShowMainForm_; }
  void SetShowMainForm(bool value) { ShowMainForm_ = value; }
  int ExitCode() const { return ExitCode_; }

  TExceptionEvent OnException;
  // Called after the main form is shown, from inside the loop (the driver uses it).
  std::function<void()> OnStarted;

private:
  TForm* MainForm_ = nullptr;
  std::string Title_;
  bool Terminated_ = false;
  bool ShowMainForm_ = true;
  bool ShowingException_ = false;
  int ExitCode_ = 0;
};

// The process's application object (null before one is made).
extern TApplication* Application;

// The text of an error as the error box shows it.
std::string ExceptionMessage(const std::exception_ptr& error);
