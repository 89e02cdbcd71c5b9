#pragma once
// A component that fires OnTimer every Interval milliseconds of the program's
// clock while Enabled.
#include "forms/Component.h"
#include "platform/win/WinTypes.h"

class TTimer : public TComponent {
public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  std::string ClassName() const override { return "TTimer"; }

  bool Enabled() const { return Enabled_; }
  void SetEnabled(bool value);
  unsigned Interval() const { return Interval_; }
  void SetInterval(unsigned value);
  void Loaded() override;

  TNotifyEvent OnTimer;
  // Re-arms after OnTimer changes (call when assigning OnTimer at run time).
  void UpdateTimer();

protected:
  virtual void Timer();

private:
  static void TimerProc(HWND window, unsigned message, std::uintptr_t id, std::uint32_t time);
  bool Enabled_ = true;
  unsigned Interval_ = 1000;
  std::uintptr_t Id_ = 0;
};

