#pragma once
// The skinned push button ("BUTTON" unless SkinData names another): the face is
// rebuilt from the skin section over what lies behind the button on every paint,
// copied into the window in one block, and cross-faded on hover and press.
#include <memory>
#include <string>

#include "forms/Button.h"
#include "skin/controls/acButtonCommon.h"
#include "skin/controls/acButtonLook.h"
#include "skin/paint/sFade.h"
#include "skin/runtime/sCommonData.h"

class TacButtonLogic;

// Of the shared look it publishes the disabled look and the animated events; the
// glyph and caption placement belongs to the buttons that have a glyph.
class TsButton : public TButton, public IacSkinnedControl, private TacButtonLookProperties {
public:
  // What scripts can read of it; registered when its layer's engine part starts.
  static void RegisterDriverProperties();
  explicit TsButton(TComponent* owner);
  ~TsButton() override;
  std::string ClassName() const override { return "TsButton"; }
  TsCommonData* SkinData() override { return SkinData_.get(); }

  bool ShowFocus() const;
  void SetShowFocus(bool value);
  int FocusMargin() const;
  void SetFocusMargin(int value);
  // Shows the pressed face permanently.
  bool Down() const;
  void SetDown(bool value);
  using TacButtonLookProperties::DisabledKind;
  using TacButtonLookProperties::SetDisabledKind;
  using TacButtonLookProperties::AnimatEvents;
  using TacButtonLookProperties::SetAnimatEvents;

  // 0 normal, 1 hot, 2 pressed.
  TacPaintState PaintState() const;
  // How many times the face was rebuilt.
  int RenderCount() const;
  TsFadeTimer* FadeTimer() const;

  void WndProc(TMessage& message) override;

protected:
  void Loaded() override;
  void Paint() override;
  // Rebuilds the face into the cache for a paint state.
  virtual void RenderFace(TacPaintState state);

  std::unique_ptr<TsCommonData> SkinData_;
  std::unique_ptr<TacButtonLogic> Logic_;

private:
  void ButtonLookChanged(bool evenHidden) override;
};
