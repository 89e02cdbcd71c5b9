#include "forms/Button.h"

#include "forms/Canvas.h"
#include "forms/Form.h"
#include "forms/ButtonGlyph.h"
#include "platform/win/Messages.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Window.h"

TButton::TButton(TComponent* owner) : TCustomControl(owner) {
  ControlStyle_ = {csSetCaption, csDoubleClicks, csCaptureMouse, csClickEvents, csOpaque};
  SetBounds(0, 0, 75, 25);
  TabStop_ = true;
  SetColor(clBtnFace);
}

void TButton::SetDefault(bool value) {
  if (value == Default_) return;
  Default_ = value;
  Invalidate();
}

void TButton::SetWordWrap(bool value) {
  if (value == WordWrap_) return;
  WordWrap_ = value;
  Invalidate();
}

void TButton::Click() {
  // The form learns the result before the handler runs, as classically.
  if (auto* form = dynamic_cast<TForm*>(GetParentForm(this))) {
    if (ModalResult_ != 0) form->SetModalResult(ModalResult_);
  }
  TCustomControl::Click();
}

LRESULT TButton::DialogCode() const { return DLGC_BUTTON | (IsActiveDefault() ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON); }

bool TButton::IsActiveDefault() const {
  HWND focus = GetFocus();
  TWinControl* focused = TWinControl::FromHandle(focus);
  if (focused == this) return true;
  if (focused && dynamic_cast<TButton*>(focused) && GetParentForm(focused) == GetParentForm(this)) return false;
  return Default_;
}

void TButton::MouseDown(TMouseBtn button, TShiftState shift, int x, int y) {
  if (button == mbLeft && Enabled()) {
    Tracking_ = true;
    Pressed_ = true;
    Repaint();
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TButton::MouseMove(TShiftState shift, int x, int y) {
  if (Tracking_) {
    bool inside = ClientRect().Contains({x, y});
    if (inside != Pressed_) {
      Pressed_ = inside;
      Repaint();
    }
  }
  TCustomControl::MouseMove(shift, x, y);
}

void TButton::MouseUp(TMouseBtn button, TShiftState shift, int x, int y) {
  if (button == mbLeft && Tracking_) {
    Tracking_ = false;
    Pressed_ = false;
    Invalidate();
  }
  TCustomControl::MouseUp(button, shift, x, y);
}

void TButton::ControlKeyDown(WORD key, TShiftState) {
  if (key == VK_SPACE && !SpaceDown_) {
    SpaceDown_ = true;
    Pressed_ = true;
    Repaint();
  }
}

void TButton::ControlKeyUp(WORD key, TShiftState) {
  if (key == VK_SPACE && SpaceDown_) {
    SpaceDown_ = false;
    Pressed_ = false;
    Invalidate();
    Click();
  }
}

void TButton::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_DIALOGKEY: {
      bool enter = message.WParam == VK_RETURN && IsActiveDefault();
      bool esc = message.WParam == VK_ESCAPE && Cancel_;
      if ((enter || esc) && CanFocus()) {
        Click();
        message.Result = 1;
        return;
      }
      break;
    }
    case WM_KILLFOCUS:
      if (SpaceDown_) {
        SpaceDown_ = false;
        Pressed_ = false;
      }
      break;
    case WM_SETFOCUS:
    case CM_FOCUSCHANGED: break;
    default: break;
  }
  TCustomControl::WndProc(message);
}

void TButton::Paint() {
  TCanvas& c = Canvas();
  TRect r = ClientRect();
  c.Brush().SetColor(Color());
  c.FillRect(r);
  bool focused = Focused();
  if (IsActiveDefault() && Enabled()) {
    c.Brush().SetColor(cl3DDkShadow);
    c.FrameRect(r);
    r = r.Inflate(-1, -1);
  }
  DrawButtonFace(c, r, Pressed_, false, false);
  TRect content = r;
  if (Pressed_) content = content.Offset(1, 1);
  c.Font().Assign(Font());
  PaintContent(content, Enabled());
  if (focused) c.DrawFocusRect(r.Inflate(-2, -2));
}

void TButton::PaintContent(TRect rect, bool enabled) {
  Canvas().Font().Assign(Font());
  unsigned extra = WordWrap_ ? DT_WORDBREAK : 0;
  if (WordWrap_) {
    TRect calc = rect.Inflate(-2, 0);
    Canvas().DrawText(Caption(), calc, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
    int off = (rect.Height() - calc.Height()) / 2;
    rect = {rect.Left + 2, rect.Top + off, rect.Right - 2, rect.Top + off + calc.Height()};
  }
  DrawButtonCaption(Canvas(), Caption(), rect, enabled ? bsUp : bsDisabled, extra);
}
