#include "forms/CustomPanel.h"

#include <algorithm>

#include "forms/Canvas.h"

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
  ControlStyle_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks,
                   csReplicatable, csParentBackground};
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
  SetParentColor(true);
}

void TCustomPanel::SetBevelInner(TPanelBevel value) {
  if (value == BevelInner_) return;
  BevelInner_ = value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelOuter(TPanelBevel value) {
  if (value == BevelOuter_) return;
  BevelOuter_ = value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelWidth(int value) {
  value = std::max(1, value);
  if (value == BevelWidth_) return;
  BevelWidth_ = value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBorderWidth(int value) {
  value = std::max(0, value);
  if (value == BorderWidth_) return;
  BorderWidth_ = value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle value) {
  if (value == BorderStyle_) return;
  BorderStyle_ = value;
  RecreateWnd();
}

void TCustomPanel::SetAlignment(TAlignment value) {
  if (value == Alignment_) return;
  Alignment_ = value;
  Invalidate();
}

void TCustomPanel::SetVerticalAlignment(TTextLayout value) {
  if (value == VerticalAlignment_) return;
  VerticalAlignment_ = value;
  Invalidate();
}

void TCustomPanel::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  if (BorderStyle_ == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

int TCustomPanel::FrameWidth() const {
  int w = BorderWidth_;
  if (BevelOuter_ != bvNone) w += BevelWidth_;
  if (BevelInner_ != bvNone) w += BevelWidth_;
  return w;
}

void TCustomPanel::AdjustClientRect(TRect& rect) const {
  int w = FrameWidth();
  rect = rect.Inflate(-w, -w);
}

void TCustomPanel::Paint() {
  TCanvas& c = Canvas();
  TRect rect = ClientRect();
  TColor face = ParentBackground() && Parent() && ParentColor() ? Parent()->Color() : Color();
  c.Brush().SetColor(face);
  c.FillRect(rect);
  auto bevel = [&](TPanelBevel kind) {
    switch (kind) {
      case bvNone: break;
      case bvLowered: c.Frame3D(rect, clBtnShadow, clBtnHighlight, BevelWidth_); break;
      case bvRaised: c.Frame3D(rect, clBtnHighlight, clBtnShadow, BevelWidth_); break;
      case bvSpace: rect = rect.Inflate(-BevelWidth_, -BevelWidth_); break;
    }
  };
  bevel(BevelOuter_);
  rect = rect.Inflate(-BorderWidth_, -BorderWidth_);
  bevel(BevelInner_);
  if (Caption().empty()) return;
  c.Font().Assign(Font());
  c.Brush().SetStyle(bsClear);
  unsigned flags = DT_SINGLELINE | DT_EXPANDTABS;
  switch (Alignment_) {
    case taLeftJustify: flags |= DT_LEFT; break;
    case taRightJustify: flags |= DT_RIGHT; break;
    case taCenter: flags |= DT_CENTER; break;
  }
  switch (VerticalAlignment_) {
    case tlTop: flags |= DT_TOP; break;
    case tlCenter: flags |= DT_VCENTER; break;
    case tlBottom: flags |= DT_BOTTOM; break;
  }
  if (!Enabled()) c.Font().SetColor(clGrayText);
  c.DrawText(Caption(), rect, flags);
}
