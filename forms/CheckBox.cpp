#include "forms/CheckBox.h"

#include "forms/Canvas.h"
#include "platform/win/VirtualKeys.h"

TCheckBox::TCheckBox(TComponent* owner) : TCustomControl(owner) {
  ControlStyle_ = {csSetCaption, csDoubleClicks, csCaptureMouse, csClickEvents, csParentBackground};
  SetBounds(0, 0, 97, 17);
  TabStop_ = true;
  SetParentColor(true);
}

void TCheckBox::SetState(TCheckBoxState state) {
  if (state == State_) return;
  State_ = state;
  Invalidate();
  if (!IsLoading()) TCustomControl::Click();
}

void TCheckBox::SetAlignment(TLeftRight value) {
  Alignment_ = value;
  Invalidate();
}

void TCheckBox::Toggle() {
  switch (State_) {
    case cbUnchecked: SetState(cbChecked); break;
    case cbChecked: SetState(AllowGrayed_ ? cbGrayed : cbUnchecked); break;
    case cbGrayed: SetState(cbUnchecked); break;
  }
}

// A click moves to the next state; the state change fires OnClick.
void TCheckBox::Click() { Toggle(); }

void TCheckBox::ControlKeyDown(WORD key, TShiftState) {
  if (key == VK_SPACE) SpaceDown_ = true;
}

void TCheckBox::ControlKeyUp(WORD key, TShiftState) {
  if (key == VK_SPACE && SpaceDown_) {
    SpaceDown_ = false;
    Toggle();
  }
}

TRect TCheckBox::BoxRect() const {
  int y = (Height() - 13) / 2;
  if (Alignment_ == lrRight) return Bounds(0, y, 13, 13);
  return Bounds(Width() - 13, y, 13, 13);
}

void TCheckBox::Paint() {
  TCanvas& c = Canvas();
  c.Brush().SetColor(Color());
  c.FillRect(ClientRect());
  TRect box = BoxRect();
  TRect inner = box;
  c.Frame3D(inner, clBtnShadow, clBtnHighlight, 1);
  c.Frame3D(inner, cl3DDkShadow, cl3DLight, 1);
  c.Brush().SetColor(State_ == cbGrayed || !Enabled() ? clBtnFace : clWindow);
  c.FillRect(inner);
  if (State_ != cbUnchecked) {
    TColor mark = ColorToRGB(State_ == cbGrayed || !Enabled() ? clBtnShadow : clWindowText);
    // The tick: three pixels thick, down then up.
    int x0 = inner.Left + 1, y0 = inner.Top + 3;
    for (int i = 0; i < 7; ++i) {
      int y = i < 3 ? y0 + i : y0 + 4 - i;
      for (int t = 0; t < 3; ++t) c.SetPixel(x0 + i, y + t + 1, mark);
    }
  }
  c.Font().Assign(Font());
  c.Brush().SetStyle(bsClear);
  if (!Enabled()) c.Font().SetColor(clGrayText);
  TRect text = Alignment_ == lrRight ? TRect{17, 0, Width(), Height()} : TRect{0, 0, Width() - 17, Height()};
  TRect calc = text;
  c.DrawText(Caption(), calc, DT_SINGLELINE | DT_CALCRECT);
  int top = (Height() - calc.Height()) / 2;
  TRect caption{text.Left, top, text.Left + calc.Width(), top + calc.Height()};
  if (Alignment_ == lrLeft) caption = caption.Offset(text.Width() - calc.Width(), 0);
  c.DrawText(Caption(), caption, DT_SINGLELINE | DT_LEFT);
  if (Focused()) c.DrawFocusRect(caption.Inflate(1, 0).Intersect(ClientRect()));
}
