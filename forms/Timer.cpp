#include "forms/Timer.h"

#include <map>

#include "forms/ExceptionHandler.h"
#include "platform/win/Timer.h"

namespace {
std::map<std::uintptr_t, TTimer*>& Timers() {
  static std::map<std::uintptr_t, TTimer*> timers;
  return timers;
}
}  // namespace


TTimer::TTimer(TComponent* owner) : TComponent(owner) { UpdateTimer(); }

TTimer::~TTimer() {
  Destroying();
  if (Id_) {
    KillTimer(nullptr, Id_);
    Timers().erase(Id_);
  }
}

void TTimer::SetEnabled(bool value) {
  if (value == Enabled_) return;
  Enabled_ = value;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned value) {
  if (value == Interval_) return;
  Interval_ = value;
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (Id_) {
    KillTimer(nullptr, Id_);
    Timers().erase(Id_);
    Id_ = 0;
  }
  if (!Enabled_ || Interval_ == 0 || IsLoading() || IsDestroying()) return;
  Id_ = SetTimer(nullptr, 0, Interval_, &TTimer::TimerProc);
  if (Id_) Timers()[Id_] = this;
}

void TTimer::TimerProc(HWND, unsigned, std::uintptr_t id, std::uint32_t) {
  auto it = Timers().find(id);
  if (it == Timers().end()) return;
  try {
    it->second->Timer();
  } catch (...) {
    HandleFrameworkException(std::current_exception());
  }
}

void TTimer::Timer() {
  if (Enabled_ && OnTimer) OnTimer(this);
}

