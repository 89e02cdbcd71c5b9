#include "forms/CustomLabel.h"

#include "forms/Canvas.h"

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
  ControlStyle_ = {csReplicatable};
  SetBounds(0, 0, 65, 17);
  SetParentColor(true);
}

void TCustomLabel::SetAutoSize(bool value) {
  if (value == AutoSize_) return;
  AutoSize_ = value;
  AdjustSize();
}

void TCustomLabel::SetWordWrap(bool value) {
  if (value == WordWrap_) return;
  WordWrap_ = value;
  AdjustSize();
  Invalidate();
}

void TCustomLabel::SetAlignment(TAlignment value) {
  if (value == Alignment_) return;
  Alignment_ = value;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout value) {
  if (value == Layout_) return;
  Layout_ = value;
  Invalidate();
}

void TCustomLabel::SetTransparent(bool value) {
  if (value == Transparent()) return;
  ControlStyle_.Set(csOpaque, !value);
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool value) {
  if (value == ShowAccelChar_) return;
  ShowAccelChar_ = value;
  AdjustSize();
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* control) {
  if (FocusControl_) RemoveFreeNotification(FocusControl_);
  FocusControl_ = control;
  if (control) FreeNotification(control);
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == FocusControl_) FocusControl_ = nullptr;
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustSize();
}

unsigned TCustomLabel::TextFlags() const {
  unsigned flags = DT_EXPANDTABS;
  if (WordWrap_) flags |= DT_WORDBREAK;
  if (!ShowAccelChar_) flags |= DT_NOPREFIX;
  switch (Alignment_) {
    case taLeftJustify: flags |= DT_LEFT; break;
    case taRightJustify: flags |= DT_RIGHT; break;
    case taCenter: flags |= DT_CENTER; break;
  }
  return flags;
}

void TCustomLabel::DoDrawText(TRect& rect, unsigned flags) {
  TCanvas& c = Canvas();
  std::string text = Caption();
  if ((flags & DT_CALCRECT) && (text.empty() || (ShowAccelChar_ && text == "&"))) text = " ";
  c.Font().Assign(Font());
  c.Brush().SetStyle(bsClear);
  if (!Enabled() && !(flags & DT_CALCRECT)) {
    TRect r = rect.Offset(1, 1);
    c.Font().SetColor(clBtnHighlight);
    c.DrawText(text, r, flags);
    c.Font().SetColor(clBtnShadow);
    c.DrawText(text, rect, flags);
    return;
  }
  c.DrawText(text, rect, flags);
}

void TCustomLabel::Paint() {
  TCanvas& c = Canvas();
  if (!Transparent()) {
    c.Brush().SetColor(Color());
    c.FillRect(ClientRect());
  }
  TRect rect = ClientRect();
  unsigned flags = TextFlags();
  if (Layout_ != tlTop) {
    TRect calc = rect;
    DoDrawText(calc, flags | DT_CALCRECT);
    int offset = rect.Height() - calc.Height();
    if (Layout_ == tlCenter) offset /= 2;
    rect.Top += offset;
  }
  DoDrawText(rect, flags);
}

void TCustomLabel::AdjustSize() {
  if (!AutoSize_ || IsLoading()) return;
  TRect rect = ClientRect();
  if (!WordWrap_) rect.Right = rect.Left + 100000;
  DoDrawText(rect, TextFlags() | DT_CALCRECT);
  int w = WordWrap_ ? Width() : rect.Width();
  int h = rect.Height();
  int left = Left();
  if (!WordWrap_ && Alignment_ == taRightJustify) left += Width() - w;
  else if (!WordWrap_ && Alignment_ == taCenter) left += (Width() - w) / 2;
  SetBounds(left, Top(), w, h);
}

void TCustomLabel::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      Invalidate();
      AdjustSize();
      Invalidate();
      return;
    default: break;
  }
  TGraphicControl::WndProc(message);
}
