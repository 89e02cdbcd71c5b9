#pragma once
#include <memory>

#include "forms/WinControl.h"

// The windowless control painted by its parent.
class TGraphicControl : public TControl {
public:
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;
  std::string ClassName() const override { return "TGraphicControl"; }
  TCanvas& Canvas() { return *Canvas_; }
  void WndProc(TMessage& message) override;

private:
  std::unique_ptr<TCanvas> Canvas_;
};
