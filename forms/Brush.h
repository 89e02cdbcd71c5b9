#pragma once
// The fill property object: a colour and a style (solid or clear).
#include "forms/Object.h"
#include "platform/gfx/SystemColors.h"
#include "platform/gfx/Types.h"

enum TBrushStyle { bsSolid, bsClear };

class TBrush : public TPersistent {
public:
  std::string ClassName() const override { return "TBrush"; }
  TColor Color() const { return Color_; }
  void SetColor(TColor color) {
    if (color == Color_ && Style_ == bsSolid) return;
    Color_ = color;
    Style_ = bsSolid;
    Changed();
  }
  TBrushStyle Style() const { return Style_; }
  void SetStyle(TBrushStyle style) {
    if (style == Style_) return;
    Style_ = style;
    Changed();
  }
  void Assign(const TPersistent& source) override {
    if (auto* b = dynamic_cast<const TBrush*>(&source)) {
      Color_ = b->Color_;
      Style_ = b->Style_;
      Changed();
      return;
    }
    TPersistent::Assign(source);
  }

  TNotifyEvent OnChange;

private:
  void Changed() {
    if (OnChange) OnChange(this);
  }
  TColor Color_ = clWhite;
  TBrushStyle Style_ = bsSolid;
};
