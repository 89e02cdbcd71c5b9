#pragma once
#include <memory>

#include "forms/WinControl.h"

// The windowed control that paints itself through a canvas.
class TCustomControl : public TWinControl {
public:
  explicit TCustomControl(TComponent* owner);
  ~TCustomControl() override;
  std::string ClassName() const override { return "TCustomControl"; }
  TCanvas& Canvas() { return *Canvas_; }

protected:
  void PaintWindow(HDC dc) override;

private:
  std::unique_ptr<TCanvas> Canvas_;
};
