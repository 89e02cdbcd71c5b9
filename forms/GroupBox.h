#pragma once
// A captioned frame around a group of controls.
#include "forms/CustomControl.h"

class TGroupBox : public TCustomControl {
public:
  explicit TGroupBox(TComponent* owner);
  std::string ClassName() const override { return "TGroupBox"; }

protected:
  void Paint() override;
  void AdjustClientRect(TRect& rect) const override;
  int CaptionHeight() const;
};
