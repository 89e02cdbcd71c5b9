#include "forms/CustomControl.h"

#include "forms/Canvas.h"

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), Canvas_(std::make_unique<TCanvas>()) {}
TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC dc) {
  Canvas_->SetHandle(dc);
  Canvas_->Font().Assign(Font());
  Canvas_->Brush().SetColor(Color());
  Paint();
  Canvas_->SetHandle(nullptr);
}
