#pragma once
// The windowless tool button: optional toggling within a group (GroupIndex),
// glyph and caption laid out by Layout, Margin and Spacing, flat look.
// Pressing a grouped button sends CM_BUTTONPRESSED to its siblings, which
// release; Down is already set when OnClick runs.
#include "forms/ButtonGlyph.h"
#include "forms/GraphicControl.h"
#include "platform/gfx/Bitmap.h"

class TSpeedButton : public TGraphicControl {
public:
  explicit TSpeedButton(TComponent* owner);
  std::string ClassName() const override { return "TSpeedButton"; }

  int GroupIndex() const { return GroupIndex_; }
  void SetGroupIndex(int index);
  bool Down() const { return Down_; }
  void SetDown(bool down);
  bool AllowAllUp() const { return AllowAllUp_; }
  void SetAllowAllUp(bool value);
  bool Flat() const { return Flat_; }
  void SetFlat(bool value);
  TBitmap& Glyph() { return Glyph_; }
  void SetGlyph(const TBitmap& glyph);
  int NumGlyphs() const { return NumGlyphs_; }
  void SetNumGlyphs(int n);
  TButtonLayout Layout() const { return Layout_; }
  void SetLayout(TButtonLayout layout);
  int Margin() const { return Margin_; }
  void SetMargin(int margin);
  int Spacing() const { return Spacing_; }
  void SetSpacing(int spacing);
  bool Transparent() const { return Transparent_; }
  void SetTransparent(bool value);
  TButtonState State() const { return State_; }

  void Click() override;
  void WndProc(TMessage& message) override;

protected:
  void Paint() override;
  void MouseDown(TMouseBtn button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseBtn button, TShiftState shift, int x, int y) override;
  // Tells the other buttons of the group that this one went down.
  void UpdateExclusive();
  void SetState(TButtonState state) { State_ = state; }
  bool Dragging() const { return Dragging_; }

private:
  int GroupIndex_ = 0;
  bool Down_ = false;
  bool AllowAllUp_ = false;
  bool Flat_ = false;
  TBitmap Glyph_;
  int NumGlyphs_ = 1;
  TButtonLayout Layout_ = blGlyphLeft;
  int Margin_ = -1;
  int Spacing_ = 4;
  bool Transparent_ = true;
  TButtonState State_ = bsUp;
  bool Dragging_ = false;
};
