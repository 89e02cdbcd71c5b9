#include "forms/GraphicControl.h"

#include "forms/Canvas.h"
#include "platform/win/Messages.h"

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), Canvas_(std::make_unique<TCanvas>()) {}
TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WndProc(TMessage& message) {
  if (message.Msg == WM_PAINT && message.WParam) {
    Canvas_->SetHandle(reinterpret_cast<HDC>(message.WParam));
    Canvas_->Font().Assign(Font());
    Canvas_->Brush().SetColor(Color());
    Paint();
    Canvas_->SetHandle(nullptr);
    return;
  }
  TControl::WndProc(message);
}
