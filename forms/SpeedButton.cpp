#include "forms/SpeedButton.h"
#include "forms/Canvas.h"
#include "platform/gfx/TextFlags.h"

#include <algorithm>

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 23, 22);
  ControlStyle_ = {csCaptureMouse, csDoubleClicks};
  SetParentColor(true);
}

void TSpeedButton::SetGroupIndex(int index) {
  if (index == GroupIndex_) return;
  GroupIndex_ = index;
  UpdateExclusive();
}

void TSpeedButton::SetDown(bool down) {
  if (GroupIndex_ == 0) down = false;
  if (down == Down_) return;
  // The pressed button of a group stays down unless the group allows all up.
  if (Down_ && !AllowAllUp_) return;
  Down_ = down;
  if (down) {
    if (State_ == bsUp) Invalidate();
    State_ = bsExclusive;
  } else {
    State_ = bsUp;
    Repaint();
  }
  if (down) UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool value) {
  if (value == AllowAllUp_) return;
  AllowAllUp_ = value;
  UpdateExclusive();
}

void TSpeedButton::SetFlat(bool value) {
  if (value == Flat_) return;
  Flat_ = value;
  Invalidate();
}

void TSpeedButton::SetGlyph(const TBitmap& glyph) {
  Glyph_.Assign(glyph);
  if (!Glyph_.Empty() && Glyph_.Height() > 0 && Glyph_.Width() % Glyph_.Height() == 0) {
    int n = Glyph_.Width() / Glyph_.Height();
    if (n >= 1 && n <= 4) NumGlyphs_ = n;
  }
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(int n) {
  n = std::clamp(n, 1, 4);
  if (n == NumGlyphs_) return;
  NumGlyphs_ = n;
  Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout layout) {
  if (layout == Layout_) return;
  Layout_ = layout;
  Invalidate();
}

void TSpeedButton::SetMargin(int margin) {
  if (margin == Margin_ || margin < -1) return;
  Margin_ = margin;
  Invalidate();
}

void TSpeedButton::SetSpacing(int spacing) {
  if (spacing == Spacing_) return;
  Spacing_ = spacing;
  Invalidate();
}

void TSpeedButton::SetTransparent(bool value) {
  if (value == Transparent_) return;
  Transparent_ = value;
  ControlStyle_.Set(csOpaque, !value);
  Invalidate();
}

void TSpeedButton::UpdateExclusive() {
  if (GroupIndex_ == 0 || !Parent()) return;
  TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(GroupIndex_), reinterpret_cast<LPARAM>(this), 0};
  Parent()->Broadcast(m);
}

void TSpeedButton::Click() { TControl::Click(); }

void TSpeedButton::MouseDown(TMouseBtn button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button == mbLeft && Enabled()) {
    if (!Down_) {
      State_ = bsDown;
      Invalidate();
    }
    Dragging_ = true;
  }
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!Dragging_) return;
  TButtonState next = Down_ ? bsExclusive : bsUp;
  if (x >= 0 && x < ClientWidth() && y >= 0 && y <= ClientHeight()) next = Down_ ? bsExclusive : bsDown;
  if (next != State_) {
    State_ = next;
    Invalidate();
  }
}

void TSpeedButton::MouseUp(TMouseBtn button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (button != mbLeft || !Dragging_) return;
  Dragging_ = false;
  bool doClick = x >= 0 && x < ClientWidth() && y >= 0 && y <= ClientHeight();
  if (GroupIndex_ == 0) {
    State_ = bsUp;
    if (doClick) Invalidate();
  } else if (doClick) {
    SetDown(!Down_);
    if (Down_) Repaint();
  } else {
    if (Down_) State_ = bsExclusive;
    Repaint();
  }
  if (doClick) Click();
}

void TSpeedButton::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_BUTTONPRESSED:
      if (static_cast<int>(message.WParam) == GroupIndex_ && GroupIndex_ != 0) {
        auto* sender = reinterpret_cast<TSpeedButton*>(message.LParam);
        if (sender != this) {
          if (sender->Down() && Down_) {
            Down_ = false;
            State_ = bsUp;
            Invalidate();
          }
          AllowAllUp_ = sender->AllowAllUp();
        }
      }
      return;
    case CM_ENABLEDCHANGED:
      if (!Enabled()) {
        State_ = bsDisabled;
        Dragging_ = false;
      } else if (State_ == bsDisabled) {
        State_ = Down_ && GroupIndex_ != 0 ? bsExclusive : bsUp;
      }
      Invalidate();
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      TGraphicControl::WndProc(message);
      if (Flat_ && Enabled()) Invalidate();
      return;
    case CM_VISIBLECHANGED:
      TGraphicControl::WndProc(message);
      if (!Visible()) SetMouseInControl(false);
      return;
    default: break;
  }
  TGraphicControl::WndProc(message);
}

void TSpeedButton::Paint() {
  TCanvas& c = Canvas();
  if (!Enabled()) State_ = bsDisabled;
  else if (State_ == bsDisabled) State_ = Down_ && GroupIndex_ != 0 ? bsExclusive : bsUp;
  TRect r = ClientRect();
  bool pressed = State_ == bsDown || State_ == bsExclusive;
  if (!Transparent_ || !Flat_) {
    c.Brush().SetColor(Color());
    c.FillRect(r);
  }
  DrawButtonFace(c, r, pressed, MouseInControl() && Enabled(), Flat_);
  if (State_ == bsExclusive && (!Flat_ || !MouseInControl())) {
    // The checkered face of a button held down by its group.
    TColor hi = ColorToRGB(clBtnHighlight);
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left + ((y - r.Top) & 1); x < r.Right; x += 2) c.SetPixel(x, y, hi);
  }
  c.Font().Assign(Font());
  TRect textRect{0, 0, ClientWidth(), 0};
  TSize textSize{0, 0};
  if (!Caption().empty()) {
    c.DrawText(Caption(), textRect, DT_CALCRECT | DT_SINGLELINE);
    textSize = {textRect.Width(), textRect.Height()};
  }
  TSize glyphSize{Glyph_.Empty() ? 0 : Glyph_.Width() / std::max(1, NumGlyphs_), Glyph_.Empty() ? 0 : Glyph_.Height()};
  TRect client = ClientRect();
  if (pressed) client = client.Offset(1, 1);
  TButtonLayoutResult lay = CalcButtonLayout(client, glyphSize, textSize, Layout_, Margin_, Spacing_);
  DrawButtonGlyph(c, Glyph_, NumGlyphs_, State_, lay.GlyphPos);
  DrawButtonCaption(c, Caption(), lay.TextBounds, State_);
}
