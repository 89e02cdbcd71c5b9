#include "forms/GroupBox.h"

#include "forms/Canvas.h"

TGroupBox::TGroupBox(TComponent* owner) : TCustomControl(owner) {
  ControlStyle_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csReplicatable,
                   csParentBackground};
  SetBounds(0, 0, 185, 105);
  SetParentColor(true);
}

int TGroupBox::CaptionHeight() const {
  TCanvas measure;
  measure.Font().Assign(Font());
  return measure.TextHeight("0");
}

void TGroupBox::AdjustClientRect(TRect& rect) const {
  int h = CaptionHeight();
  rect.Top += h;
  rect = rect.Inflate(-2, -2);
}

void TGroupBox::Paint() {
  TCanvas& c = Canvas();
  c.Brush().SetColor(Color());
  c.FillRect(ClientRect());
  int h = CaptionHeight();
  TRect frame{0, h / 2, Width(), Height()};
  // Etched frame: shadow line with a highlight line one pixel in.
  c.Brush().SetColor(clBtnHighlight);
  c.FrameRect(frame.Offset(1, 1).Intersect({0, 0, Width(), Height()}));
  c.Brush().SetColor(clBtnShadow);
  c.FrameRect({frame.Left, frame.Top, frame.Right - 1, frame.Bottom - 1});
  if (Caption().empty()) return;
  c.Font().Assign(Font());
  TRect text{8, 0, Width() - 8, h};
  TRect calc = text;
  c.DrawText(Caption(), calc, DT_SINGLELINE | DT_CALCRECT);
  calc = {8, 0, 8 + calc.Width() + 2, h};
  c.Brush().SetColor(Color());
  c.FillRect(calc);
  c.Brush().SetStyle(bsClear);
  if (!Enabled()) c.Font().SetColor(clGrayText);
  calc.Left += 1;
  c.DrawText(Caption(), calc, DT_SINGLELINE | DT_LEFT);
}
