#pragma once
// The look properties the three skinned buttons share, kept in one block with one
// set of published accessors. A change that shows asks the button to rebuild its
// face; setting the value a property already has changes nothing.
#include "forms/Controls.h"
#include "skin/controls/acButtonCommon.h"
#include "skin/paint/sFade.h"

struct TacButtonLook {
  TAlignment Alignment = taCenter;
  TAlignment TextAlignment = taCenter;
  int Blend = 0;  // 0..100
  TsDisabledKind DisabledKind{dkBlended};
  TsDisabledGlyphKind DisabledGlyphKind{dgBlended};
  bool Grayed = false;
  bool Reflected = false;
  bool ShowCaption = true;
  bool DrawOverBorder = true;
  int TextOffset = 0;
  TacAnimatEvents AnimatEvents{aeGlobalDef};
};

class TacButtonLookProperties {
public:
  virtual ~TacButtonLookProperties() = default;

  TAlignment Alignment() const { return Look_.Alignment; }
  void SetAlignment(TAlignment value) { Change(Look_.Alignment, value); }
  TAlignment TextAlignment() const { return Look_.TextAlignment; }
  void SetTextAlignment(TAlignment value) { Change(Look_.TextAlignment, value); }
  int Blend() const { return Look_.Blend; }
  void SetBlend(int value);  // clamped to 0..100
  TsDisabledKind DisabledKind() const { return Look_.DisabledKind; }
  void SetDisabledKind(TsDisabledKind value) { Change(Look_.DisabledKind, value); }
  TsDisabledGlyphKind DisabledGlyphKind() const { return Look_.DisabledGlyphKind; }
  void SetDisabledGlyphKind(TsDisabledGlyphKind value) { Change(Look_.DisabledGlyphKind, value); }
  bool Grayed() const { return Look_.Grayed; }
  void SetGrayed(bool value) { Change(Look_.Grayed, value); }
  bool Reflected() const { return Look_.Reflected; }
  // The reflection changes the button's extent too: shown even while hidden.
  void SetReflected(bool value) { Change(Look_.Reflected, value, true); }
  bool ShowCaption() const { return Look_.ShowCaption; }
  void SetShowCaption(bool value) { Change(Look_.ShowCaption, value); }
  bool DrawOverBorder() const { return Look_.DrawOverBorder; }
  void SetDrawOverBorder(bool value) { Change(Look_.DrawOverBorder, value); }
  int TextOffset() const { return Look_.TextOffset; }
  void SetTextOffset(int value) { Change(Look_.TextOffset, value); }
  // Which changes of state animate; read when they happen, so nothing repaints.
  TacAnimatEvents AnimatEvents() const { return Look_.AnimatEvents; }
  void SetAnimatEvents(TacAnimatEvents value) { Look_.AnimatEvents = value; }

protected:
  // A property changed: the face is rebuilt (evenHidden: also while the button is hidden).
  virtual void ButtonLookChanged(bool evenHidden) = 0;

  TacButtonLook Look_;

private:
  template <class T>
  void Change(T& field, const T& value, bool evenHidden = false) {
    if (field == value) return;
    field = value;
    ButtonLookChanged(evenHidden);
  }
};
