#pragma once
// The base of the window subclasses that skin plain controls: it stands in front
// of a window's handling (a framework control's message method, or the window
// procedure of a foreign window), answers the skin commands every subclass answers
// alike and passes everything else on. Derived classes paint their part of the
// control from a skin section.
//
// Use: construct, then Install(); Uninstall() (or destruction) gives the window its
// own handling back. A subclass whose window was destroyed unhooks itself and
// reports Destroyed(); its owner frees it and makes a new one for a new window.
#include <functional>
#include <memory>
#include <utility>
#include <string>

#include "forms/Forward.h"
#include "forms/Messages.h"
#include "platform/win/WinTypes.h"
#include "platform/win/WindowProc.h"
#include "skin/runtime/Forward.h"
#include "skin/runtime/acSkinCommands.h"

class TacMainWnd : private TacSkinCommands {
public:
  // Lets the driver report the section it paints with (its layer's engine part).
  static void RegisterSkinReporter();
  // skinData: null makes the subclass create and own one (kind 227); section is
  // given to the skin data when it has none yet.
  TacMainWnd(HWND window, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
  TacMainWnd(const TacMainWnd&) = delete;
  TacMainWnd& operator=(const TacMainWnd&) = delete;
  ~TacMainWnd() override;

  // Binds manager and skin data, initialises and installs the hook.
  void Install();
  // Restores the window's own handling and lets the class undo its changes.
  void Uninstall();

  HWND Handle() const { return Handle_; }
  // The framework control behind the window (null for a foreign window).
  TWinControl* Control() const { return Control_; }
  TsCommonData& SkinData() { return *SkinData_; }
  const TsCommonData& SkinData() const { return *SkinData_; }
  TsSkinManager* SkinManager() const;
  bool Installed() const { return Installed_; }
  // The window was destroyed: the subclass is dead and waits to be freed. A control
  // deleted outright destroys its window without passing the messages through its
  // message method, so a window that no longer exists counts as well.
  bool Destroyed() const;
  bool DlgMode() const { return DlgMode_; }
  const std::string& WndText() const { return WndText_; }
  bool Initialized() const { return Initialized_; }

  // Process-wide settings copied or read at creation.
  static bool& DialogModeSetting();
  static bool& NoVisualStylesSetting();

  // The subclass installed on a window (by its property "ACSBSC" or the hook
  // list), null when none.
  static TacMainWnd* Of(HWND window);

  // Passes a message to the window's own handling.
  void CallPrev(TMessage& message);
  LRESULT CallPrev(UINT msg, WPARAM wParam, LPARAM lParam);

protected:
  // The subclass's message handling; the base protocol is here.
  virtual void AcWndProc(TMessage& message);
  // The skin commands take the one path; what nobody answers goes to the window's own
  // handling. A subclass answers its own commands in OwnCommand and calls the base's.
  void TakeSkinChange(TsCommonData* data, TMessage& message, TacCommand command) override;
  void PassToChildren(const TMessage& message) override;
  void ParentPainted() override;
  bool AnswerBackground(TMessage& message) override;
  bool AnswerColor(TMessage& message) override;
  bool OwnCommand(TacCommand command, TMessage& message) override;
  // First initialisation, and again after a new skin.
  virtual void Initialize() { Initialized_ = true; }
  // Class-specific undoing at removal.
  virtual void AcUninstall() {}
  // The hook is in place (the scroll subclass recalculates the frame here).
  virtual void HookInstalled() {}
  // Repaints whatever the subclass paints (the whole window by default).
  virtual void RepaintAll();
  // Whether the manager is active and the section resolved.
  bool Skinned() const;
  void ResolveSection();

  HWND Handle_ = nullptr;
  TWinControl* Control_ = nullptr;
  TsCommonData* SkinData_ = nullptr;
  std::unique_ptr<TsCommonData> OwnedSkinData_;
  TsSkinManager* Manager_ = nullptr;
  bool Destroyed_ = false;
  bool DlgMode_ = false;
  std::string WndText_;
  bool Initialized_ = false;
  std::string Section_;

private:
  LRESULT ForeignWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  void Dispatch(TMessage& message);
  void Unhook();

  bool Installed_ = false;
  std::function<void(TMessage&)> OldMessageMethod_;
  TWindowProc OldWndProc_;
};

// Constructs a subclass and installs it.
template <class T, class... Args>
std::unique_ptr<T> InstallSubclass(Args&&... args) {
  auto wnd = std::make_unique<T>(std::forward<Args>(args)...);
  wnd->Install();
  return wnd;
}
