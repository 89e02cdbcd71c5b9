#pragma once
// The windowless text label: transparent by default, sizes itself to its
// caption (AutoSize), wraps words, aligns horizontally and vertically.
#include "forms/WinControl.h"

class TCustomLabel : public TGraphicControl {
public:
  explicit TCustomLabel(TComponent* owner);
  std::string ClassName() const override { return "TCustomLabel"; }

  bool AutoSize() const { return AutoSize_; }
  void SetAutoSize(bool value);
  bool WordWrap() const { return WordWrap_; }
  void SetWordWrap(bool value);
  TAlignment Alignment() const { return Alignment_; }
  void SetAlignment(TAlignment value);
  TTextLayout Layout() const { return Layout_; }
  void SetLayout(TTextLayout value);
  bool Transparent() const { return !ControlStyle_.Contains(csOpaque); }
  void SetTransparent(bool value);
  bool ShowAccelChar() const { return ShowAccelChar_; }
  void SetShowAccelChar(bool value);
  TWinControl* FocusControl() const { return FocusControl_; }
  void SetFocusControl(TWinControl* control);

  void WndProc(TMessage& message) override;
  void Loaded() override;

protected:
  void Paint() override;
  void AdjustSize() override;
  void Notification(TComponent* component, TOperation operation) override;
  // DT_* flags of the caption.
  unsigned TextFlags() const;
  // Draws the caption into rect (measures with DT_CALCRECT in flags).
  virtual void DoDrawText(TRect& rect, unsigned flags);

private:
  bool AutoSize_ = true;
  bool WordWrap_ = false;
  TAlignment Alignment_ = taLeftJustify;
  TTextLayout Layout_ = tlTop;
  bool ShowAccelChar_ = true;
  TWinControl* FocusControl_ = nullptr;
};

class TLabel : public TCustomLabel {
public:
  explicit TLabel(TComponent* owner) : TCustomLabel(owner) {}
  std::string ClassName() const override { return "TLabel"; }
};
