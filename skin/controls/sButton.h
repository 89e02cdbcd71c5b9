#pragma once
// The skinned push button ("BUTTON" unless SkinData names another): the face is
// rebuilt from the skin section over what lies behind the button on every paint,
// copied into the window in one block, and cross-faded on hover and press.
#include <memory>
#include <string>

#include "forms/Button.h"
#include "skin/controls/acButtonLook.h"
#include "skin/controls/acPushButtonProperties.h"
#include "skin/runtime/sCommonData.h"

// Of the shared look it publishes the disabled look and the animated events; the
// glyph and caption placement belongs to the buttons that have a glyph.
class TsButton : public TButton,
                 public IacSkinnedControl,
                 public TacPushButtonProperties,
                 private TacButtonLookProperties {
public:
  // What scripts can read of it; registered when its layer's engine part starts.
  static void RegisterDriverProperties();
  explicit TsButton(TComponent* owner);
  ~TsButton() override;
  std::string ClassName() const override { return "TsButton"; }
  TsCommonData* SkinData() override { return SkinData_.get(); }

  using TacButtonLookProperties::DisabledKind;
  using TacButtonLookProperties::SetDisabledKind;
  using TacButtonLookProperties::AnimatEvents;
  using TacButtonLookProperties::SetAnimatEvents;

  void WndProc(TMessage& message) override;

protected:
  void Loaded() override;
  void Paint() override;
  // Rebuilds the face into the cache for a paint state.
  virtual void RenderFace(TacPaintState state);

  std::unique_ptr<TsCommonData> SkinData_;

private:
  void ButtonLookChanged(bool evenHidden) override;
};
