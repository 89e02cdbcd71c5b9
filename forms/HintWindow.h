#pragma once
// Hints: a small topmost window with a line of text that appears when the
// pointer rests over a control whose ShowHint is set and whose Hint is not
// empty, after HintPause (500 ms) on the window system's clock; it goes on
// leaving the control, on a press of a mouse button or a key, or after
// HintHidePause. Moving from a shown hint to another hinted control shows the
// new hint after HintShortPause.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "forms/WinControl.h"

// The window that shows one hint; derived (skinned) hint windows paint their own face.
class THintWindow : public TCustomControl {
public:
  explicit THintWindow(TComponent* owner);
  std::string ClassName() const override { return "THintWindow"; }

  // Places the window at the screen rectangle with the text and shows it
  // without taking the focus.
  virtual void ActivateHint(const TRect& rect, const std::string& hint);
  void ReleaseHandle();
  // The screen size the text needs (no wider than maxWidth).
  virtual TRect CalcHintRect(int maxWidth, const std::string& hint);
  bool Active() const { return Active_; }

protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;

private:
  bool Active_ = false;
};

// The application's hint state: which control is pointed at, the pause timer
// and the one hint window.
class THintManager {
public:
  THintManager();
  ~THintManager();

  bool ShowHint() const { return ShowHint_; }
  // Off hides a shown hint and shows none until switched on again.
  void SetShowHint(bool value);
  int HintPause() const { return HintPause_; }
  void SetHintPause(int ms) { HintPause_ = ms; }
  int HintShortPause() const { return HintShortPause_; }
  void SetHintShortPause(int ms) { HintShortPause_ = ms; }
  int HintHidePause() const { return HintHidePause_; }
  void SetHintHidePause(int ms) { HintHidePause_ = ms; }

  // The shown hint window (null while none is shown) and its text.
  THintWindow* HintWindow() const;
  bool HintShowing() const;
  const std::string& HintText() const { return Text_; }
  // The control whose hint is pending or shown.
  TControl* HintControl() const { return Control_; }
  void CancelHint();

  // Makes the hint windows of this kind (skinned hint windows set their own).
  std::function<std::unique_ptr<THintWindow>()> HintWindowClass;

  // Told by the framework: the pointer entered or left a control, a button or key went down.
  void MouseActivity(TControl* control, UINT msg);
  // The pause elapsed.
  void TimerFired(UINT_PTR id);

private:
  void StartTimer(UINT_PTR id, int ms);
  void StopTimers();
  void ShowNow();
  HWND TimerWindow();

  bool ShowHint_ = true;
  int HintPause_ = 500;
  int HintShortPause_ = 50;
  int HintHidePause_ = 2500;
  TControl* Control_ = nullptr;
  std::string Text_;
  std::unique_ptr<THintWindow> Window_;
  HWND TimerWindow_ = nullptr;
  std::optional<std::uint64_t> LeftShownAt_;  // when a shown hint went because the pointer left
};

// The process's hint state (made on first use).
THintManager& HintManager();

// A control shows hints when its own ShowHint is set (ParentShowHint copies the parent's).
bool ControlWantsHint(const TControl* control);
