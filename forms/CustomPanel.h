#pragma once
// The container panel: bevels, border, caption and its alignment.
#include "forms/WinControl.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
using TPanelBevel = TBevelCut;

class TCustomPanel : public TCustomControl {
public:
  explicit TCustomPanel(TComponent* owner);
  std::string ClassName() const override { return "TCustomPanel"; }

  TPanelBevel BevelInner() const { return BevelInner_; }
  void SetBevelInner(TPanelBevel value);
  TPanelBevel BevelOuter() const { return BevelOuter_; }
  void SetBevelOuter(TPanelBevel value);
  int BevelWidth() const { return BevelWidth_; }
  void SetBevelWidth(int value);
  int BorderWidth() const { return BorderWidth_; }
  void SetBorderWidth(int value);
  TBorderStyle BorderStyle() const { return BorderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  TAlignment Alignment() const { return Alignment_; }
  void SetAlignment(TAlignment value);
  TTextLayout VerticalAlignment() const { return VerticalAlignment_; }
  void SetVerticalAlignment(TTextLayout value);

protected:
  void Paint() override;
  void AdjustClientRect(TRect& rect) const override;
  void CreateParams(TCreateParams& params) override;
  // The width taken by bevels and border on each side.
  int FrameWidth() const;

private:
  TPanelBevel BevelInner_ = bvNone;
  TPanelBevel BevelOuter_ = bvRaised;
  int BevelWidth_ = 1;
  int BorderWidth_ = 0;
  TBorderStyle BorderStyle_ = bsNone;
  TAlignment Alignment_ = taCenter;
  TTextLayout VerticalAlignment_ = tlCenter;
};

class TPanel : public TCustomPanel {
public:
  explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
  std::string ClassName() const override { return "TPanel"; }
};
