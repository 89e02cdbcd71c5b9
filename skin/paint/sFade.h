#pragma once
// Cross-fades of skinned buttons and check boxes: when the look changes on a hover
// or press, the control blends its old face into the new one in steps 10 ms apart.
// TsAnimTimer serves window-less buttons (the button shows the frames), TsFadeTimer
// windowed controls (it draws the frames into the window unless the control does).
#include <memory>

#include "forms/Sets.h"
#include "forms/Timer.h"
#include "platform/gfx/Bitmap.h"

class TsCommonData;
class TsSkinManager;
class TControl;

enum TacAnimatEvent { aeMouseEnter, aeMouseLeave, aeMouseDown, aeMouseUp, aeGlobalDef };
using TacAnimatEvents = TSet<TacAnimatEvent>;

constexpr unsigned kFadeInterval = 10;  // ms

// True when event animates: it is in events, or events hold aeGlobalDef and the
// manager's AnimEffects.Buttons.Events hold the matching member.
bool AnimationWanted(TacAnimatEvent event, TacAnimatEvents events, TsSkinManager* manager = nullptr);

// The blend byte of step level of iterations: 255 - level * 256 div iterations, 0..255.
int FadeBlendByte(int level, int iterations);
// frame := old (already in frame) blended with the new face at that step. Images of
// different sizes or below 2 x 2 leave the old face.
void ComputeFadeFrame(TBitmap& frame, const TBitmap& newFace, int level, int iterations);
// The same in one pass from the old face: frame becomes a 24-bit bitmap of its size.
void ComputeFadeFrame(TBitmap& frame, const TBitmap& oldFace, const TBitmap& newFace, int level, int iterations);

// Whether the control's section fades, and its number of steps.
bool SectionFades(const TsCommonData& data);
int SectionFadeIterations(const TsCommonData& data);

class TsAnimTimer : public TTimer {
public:
  TsAnimTimer();
  std::string ClassName() const override { return "TsAnimTimer"; }

  // Owner data, 10 ms, iteration count from the section.
  void Setup(TsCommonData* data);
  void Step();
  bool Finished();

  bool Busy = false;
  std::unique_ptr<TBitmap> StartImage;
  std::unique_ptr<TBitmap> FrameImage;
  TsCommonData* OwnerData = nullptr;
  int Iterations = 0;
  int Level = 0;

protected:
  void Timer() override;
};

class TsFadeTimer : public TTimer {
public:
  explicit TsFadeTimer(TComponent* owner);
  std::string ClassName() const override { return "TsFadeTimer"; }

  void Setup(TsCommonData* data);
  void Step();
  bool Finished();
  // 0 stopped, 1 fading in; the timer runs exactly when it is not 0.
  void SetRunning(int value);
  int Running() const { return Running_; }

  TsCommonData* OwnerData = nullptr;
  int Iterations = 0;
  int Level = 0;
  bool Half = false;  // the kind of change that started the fade
  std::unique_ptr<TBitmap> StartImage;

protected:
  void Timer() override;

private:
  int Running_ = 0;
};

// The routines below keep the control's timer in a field of the control (null when
// none); a control calls EndFade on that field before it is destroyed.
//
// After every hover or press change of a windowed control: fade when wanted and
// possible, else repaint at once; then show or hide the hover glow.
void FadeOrRepaint(TsFadeTimer*& timer, TsCommonData& data, bool half, int direction, bool animate);
// After a state change: the hover glow shows while the mouse is over the control and no
// mouse button is held, and goes otherwise (a section without GLOW shows none).
void UpdateHoverGlow(TsCommonData& data);
// Starts (or restarts) the fade. A fade of the same kind still under way is
// reversed from where it stands: the new fade takes as many steps as the
// interrupted one had shown, so the face never jumps.
void BeginFade(TsFadeTimer*& timer, TsCommonData& data, bool half, int direction);
void EndFade(TsFadeTimer*& timer, TsCommonData& data);
