#include "skin/controls/acPushButtonProperties.h"

#include "skin/controls/acButtonLogic.h"

TacPushButtonProperties::TacPushButtonProperties() = default;
TacPushButtonProperties::~TacPushButtonProperties() = default;

bool TacPushButtonProperties::ShowFocus() const { return Logic_->ShowFocus; }
void TacPushButtonProperties::SetShowFocus(bool value) {
  Logic_->ShowFocus = value;
  Logic_->LookChanged();
}
int TacPushButtonProperties::FocusMargin() const { return Logic_->FocusMargin; }
void TacPushButtonProperties::SetFocusMargin(int value) { Logic_->FocusMargin = value; }
bool TacPushButtonProperties::Down() const { return Logic_->Down; }
void TacPushButtonProperties::SetDown(bool value) {
  if (value == Logic_->Down) return;
  Logic_->Down = value;
  Logic_->LookChanged();
}
TacPaintState TacPushButtonProperties::PaintState() const { return Logic_->PaintState(); }
int TacPushButtonProperties::RenderCount() const { return Logic_->RenderCount; }
TsFadeTimer* TacPushButtonProperties::FadeTimer() const { return Logic_->Fade; }
