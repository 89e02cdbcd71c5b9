#include "forms/db/NavRepeat.h"

#include "forms/SpeedButton.h"

namespace {
constexpr unsigned kRepeatPause = 400;
constexpr unsigned kRepeatInterval = 100;
}  // namespace

TNavRepeat::TNavRepeat(TSpeedButton& button, std::function<void()> action)
    : Button_(button), Action_(std::move(action)) {}

TNavRepeat::~TNavRepeat() { Stop(); }

void TNavRepeat::Stop() {
  if (Timer_) Timer_->SetEnabled(false);
}

void TNavRepeat::Start() {
  if (!Timer_) {
    Timer_ = std::make_unique<TTimer>(nullptr);
    Timer_->OnTimer = [this](TObject*) { Tick(); };
  }
  Timer_->SetEnabled(false);
  Timer_->SetInterval(kRepeatPause);
  Timer_->SetEnabled(true);
  Act();
}

void TNavRepeat::Tick() {
  Timer_->SetInterval(kRepeatInterval);
  // Repeats only while the button is still held down under the pointer.
  if (Button_.State() != bsDown || !Button_.Enabled()) return;
  Act();
}

void TNavRepeat::Act() {
  try {
    Action_();
  } catch (...) {
    Stop();
    throw;
  }
}
