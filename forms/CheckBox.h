#pragma once
// The check box: unchecked, checked and (with AllowGrayed) grayed; a click or
// the space bar moves to the next state and fires OnClick.
#include "forms/CustomControl.h"
#include "platform/win/Messages.h"

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TCustomControl {
public:
  explicit TCheckBox(TComponent* owner);
  std::string ClassName() const override { return "TCheckBox"; }

  bool Checked() const { return State_ == cbChecked; }
  void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return State_; }
  virtual void SetState(TCheckBoxState state);
  bool AllowGrayed() const { return AllowGrayed_; }
  void SetAllowGrayed(bool value) { AllowGrayed_ = value; }
  // taRightJustify: box at the left, caption to its right (the usual look).
  TLeftRight Alignment() const { return Alignment_; }
  void SetAlignment(TLeftRight value);
  // The order of the classic framework: unchecked, checked, grayed, unchecked.
  virtual void Toggle();
  void Click() override;

protected:
  void Paint() override;
  void ControlKeyDown(WORD key, TShiftState shift) override;
  void ControlKeyUp(WORD key, TShiftState shift) override;
  LRESULT DialogCode() const override { return DLGC_BUTTON; }
  TRect BoxRect() const;

private:
  TCheckBoxState State_ = cbUnchecked;
  bool AllowGrayed_ = false;
  TLeftRight Alignment_ = lrRight;
  bool SpaceDown_ = false;
};
