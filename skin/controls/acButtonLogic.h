#pragma once
// The behaviour TsButton and TsBitBtn share. The framework's push button paints
// itself (there is no platform button class whose owner-drawn style the skin could
// switch on), so the skinned buttons take over by overriding Paint and the
// framework's handling of the mouse, keys, focus and the skin commands; this class
// holds that state and logic, and each button supplies only its face.
#include <functional>
#include <memory>
#include <optional>

#include "forms/Forward.h"
#include "forms/Messages.h"
#include "forms/Timer.h"
#include "platform/gfx/GdiObject.h"
#include "platform/gfx/Region.h"
#include "platform/gfx/Types.h"
#include "skin/controls/Forward.h"
#include "skin/paint/sFade.h"
#include "skin/runtime/Forward.h"
#include "skin/runtime/acPaintState.h"
#include "skin/runtime/acSkinCommands.h"
#include "skin/runtime/sBackground.h"

// Background (and border mask) of a push button's face for a state; returns what lies behind.
namespace acButtonFace {
BackgroundInfo PaintBackgroundAndBorder(TsCommonData& data, TControl& control, TacPaintState state, bool border);
void PaintBorder(TsCommonData& data, TControl& control, TacPaintState state, const BackgroundInfo& bg);
// The face's visible pixels: the control's rectangle less the runs of key-coloured
// pixels in the four corner slices of the section's border mask for the state.
TRegion VisibleRegion(TsCommonData& data, int width, int height, TacPaintState state);
}  // namespace acButtonFace

class TacButtonLogic : private TacSkinCommands {
public:
  // look: the button's shared properties; rebuild draws the face into the skin data's
  // cache for a paint state; activeDefault tells whether Enter presses the button now
  // (the default-button look).
  TacButtonLogic(TButton& button, TsCommonData& data, const TacButtonLook& look,
                 std::function<void(TacPaintState state)> rebuild, std::function<bool()> activeDefault);
  ~TacButtonLogic();

  // Before the button's own handling; true when the message is fully handled.
  bool BeforeMessage(TMessage& message);
  // After the framework's handling (mouse release, focus).
  void AfterMessage(const TMessage& message);
  // The window paint: rebuilds the face and copies it; false when unskinned.
  bool PaintWindow(HDC dc);
  TacPaintState PaintState() const;
  void RebuildNow();
  // Clicks faster than the press fade show the pressed face this long (ms).
  static constexpr unsigned kPressedHold = 30;
  bool Holding() const { return Hold_ && Hold_->Enabled(); }
  // A property of the face changed: it is rebuilt at the next paint.
  void LookChanged();

  bool Down = false;
  bool ShowFocus = true;
  int FocusMargin = 1;
  bool FaceChanged = true;
  bool PressedByMouse = false;
  bool DefaultLook = false;
  bool ForcedPressed = false;
  int RenderCount = 0;
  TsFadeTimer* Fade = nullptr;

private:
  void Change(bool half, TacAnimatEvent event);
  void SkinChanging(TacCommand command) override;
  void SkinChanged(TacCommand command) override;
  void ParentPainted() override;
  bool OwnCommand(TacCommand command, TMessage& message) override;
  // Applies the region of the last rebuilt face; the parent repaints what a shrunk
  // button no longer covers.
  void ApplyRegion();
  void DropRegion();
  void Repaint();
  void ReleaseFade();

  TButton& Button_;
  TsCommonData& Data_;
  const TacButtonLook& Look_;
  std::function<void(TacPaintState)> Rebuild_;
  std::function<bool()> ActiveDefault_;
  // Keeps the pressed face on screen a moment after a click quicker than the press fade.
  std::unique_ptr<TTimer> Hold_;
  std::optional<TRegion> PendingRegion_;
  std::optional<TRegion> AppliedRegion_;
  TRect LastBounds_;
  bool Releasing_ = false;  // between the release and the framework's click
  bool PendingEnter_ = false;
  bool PendingLeave_ = false;
};
