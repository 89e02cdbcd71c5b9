#pragma once
// The held-button repeat of a navigator's Prior and Next: the press acts at
// once, then again after 400 ms and every 100 ms while the button stays down
// and enabled. Both the plain and the skinned navigator buttons own one.
#include <functional>
#include <memory>

#include "forms/Forward.h"
#include "forms/Timer.h"

class TNavRepeat {
public:
  // `button` is watched for being still down; `action` is one step.
  TNavRepeat(TSpeedButton& button, std::function<void()> action);
  ~TNavRepeat();
  // Arms the timer and acts once; a failing action stops the repeat.
  void Start();
  void Stop();
  // The timer runs (between the press and its release).
  bool Running() const { return Timer_ && Timer_->Enabled(); }

private:
  void Tick();
  void Act();
  TSpeedButton& Button_;
  std::function<void()> Action_;
  std::unique_ptr<TTimer> Timer_;
};
