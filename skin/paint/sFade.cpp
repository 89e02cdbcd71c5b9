#include "skin/paint/sFade.h"

#include <algorithm>

#include "forms/Application.h"
#include "forms/Controls.h"
#include "forms/WinControl.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/Paint.h"
#include "platform/win/VirtualKeys.h"
#include "skin/paint/acPaintBlocks.h"
#include "skin/render/acPixelKernels.h"
#include "skin/render/sBlend.h"
#include "skin/runtime/acCommands.h"
#include "skin/runtime/sCommonData.h"
#include "skin/runtime/sSkinManager.h"

namespace {

LRESULT SendToControl(TControl* control, TacCommand command, LPARAM lParam = 0) {
  if (!control) return 0;
  const WPARAM w = MakeCommandWParam(command);
  if (auto* win = dynamic_cast<TWinControl*>(control); win && win->HandleAllocated())
    return SendMessage(win->Handle(), SM_ALPHACMD, w, lParam);
  return control->Perform(SM_ALPHACMD, w, lParam);
}

bool Terminating() { return Application && Application->Terminated(); }

bool Gone(const TControl* control) { return !control || control->IsDestroying(); }

// Copies src into *dst, making the bitmap when needed.
void CopyInto(std::unique_ptr<TBitmap>& dst, const TBitmap& src) {
  if (!dst) dst = std::make_unique<TBitmap>();
  dst->Assign(src);
}

}  // namespace

bool AnimationWanted(TacAnimatEvent event, TacAnimatEvents events, TsSkinManager* manager) {
  if (events.Contains(event)) return true;
  if (!events.Contains(aeGlobalDef) || event == aeGlobalDef) return false;
  if (!manager) manager = TsSkinManager::DefaultManager();
  if (!manager) return false;
  static constexpr TacBtnEvent kMatching[] = {beMouseEnter, beMouseLeave, beMouseDown, beMouseUp};
  return manager->AnimEffects().Buttons.Events.Contains(kMatching[event]);
}

int FadeBlendByte(int level, int iterations) {
  if (iterations == 0) return 255;
  const long long a = 255 - static_cast<long long>(level) * 256 / iterations;
  return static_cast<int>(std::clamp<long long>(a, 0, 255));
}

void ComputeFadeFrame(TBitmap& frame, const TBitmap& newFace, int level, int iterations) {
  BlendWholeBitmaps(frame, newFace, FadeBlendByte(level, iterations));
}

void ComputeFadeFrame(TBitmap& frame, const TBitmap& oldFace, const TBitmap& newFace, int level, int iterations) {
  const auto fits = [](const TBitmap& b) { return b.PixelFormat() == TPixelFormat::pf24bit && b.Width() >= 2 && b.Height() >= 2; };
  if (!fits(oldFace) || !fits(newFace) || oldFace.Width() != newFace.Width() || oldFace.Height() != newFace.Height()) {
    frame.Assign(oldFace);
    frame.SetPixelFormat(TPixelFormat::pf24bit);
    return;
  }
  if (frame.PixelFormat() != TPixelFormat::pf24bit) frame.SetPixelFormat(TPixelFormat::pf24bit);
  frame.SetSize(oldFace.Width(), oldFace.Height());
  const int a = FadeBlendByte(level, iterations);
  const std::size_t bytes = static_cast<std::size_t>(oldFace.Width()) * 3;
  const int h = oldFace.Height();
  // Rows without padding, stored the same way up in all three: the bytes are one run,
  // blended in one call (no per-row tails, no per-row calls).
  const std::ptrdiff_t stride = frame.Stride();
  if (static_cast<std::size_t>(stride < 0 ? -stride : stride) == bytes && oldFace.Stride() == stride &&
      newFace.Stride() == stride) {
    const int first = stride < 0 ? h - 1 : 0;
    BlendBytesInto(frame.ScanLine(first), oldFace.ScanLine(first), newFace.ScanLine(first), bytes * static_cast<std::size_t>(h), a);
    return;
  }
  for (int y = 0; y < h; ++y) BlendBytesInto(frame.ScanLine(y), oldFace.ScanLine(y), newFace.ScanLine(y), bytes, a);
}

bool SectionFades(const TsCommonData& data) {
  const TsGeneralData* s = data.Section();
  return s && s->FadingEnabled;
}

int SectionFadeIterations(const TsCommonData& data) {
  const TsGeneralData* s = data.Section();
  return s ? s->FadingIterations : 0;
}

// --- TsAnimTimer ---------------------------------------------------------------------

TsAnimTimer::TsAnimTimer() : TTimer(nullptr), StartImage(std::make_unique<TBitmap>()),
                             FrameImage(std::make_unique<TBitmap>()) {
  SetEnabled(false);
}

void TsAnimTimer::Setup(TsCommonData* data) {
  OwnerData = data;
  SetInterval(kFadeInterval);
  Iterations = data ? SectionFadeIterations(*data) : 0;
}

void TsAnimTimer::Step() {
  TControl* control = OwnerData ? OwnerData->Control() : nullptr;
  if (!Busy && !Gone(control) && Iterations != 0 && Level >= 0) {
    Busy = true;
    if (OwnerData->Cache())
      ComputeFadeFrame(*FrameImage, *StartImage, *OwnerData->Cache(), Level, Iterations);
    else
      FrameImage->Assign(*StartImage);
    SendToControl(control, AC_SETSUSPENDED);
    SendToControl(control, AC_REPAINT);
    Busy = false;
  }
  ++Level;
}

bool TsAnimTimer::Finished() {
  TControl* control = OwnerData ? OwnerData->Control() : nullptr;
  if (IsDestroying() || Gone(control) || Terminating()) return true;
  if (Level >= 0 && Level <= Iterations) return false;
  SendToControl(control, AC_STOPFADING);  // the button's reply frees this timer
  return true;
}

void TsAnimTimer::Timer() {
  if (IsDestroying() || Finished()) return;
  Step();
}

// --- TsFadeTimer ---------------------------------------------------------------------

TsFadeTimer::TsFadeTimer(TComponent* owner) : TTimer(owner), StartImage(std::make_unique<TBitmap>()) {
  SetRunning(0);
}

void TsFadeTimer::SetRunning(int value) {
  Running_ = value;
  if (value == 0 && Level < 0) Level = 1;
  SetEnabled(value != 0);
}

void TsFadeTimer::Setup(TsCommonData* data) {
  OwnerData = data;
  if (data && data->Cache()) CopyInto(StartImage, *data->Cache());
  SetInterval(kFadeInterval);
  Iterations = data ? SectionFadeIterations(*data) : 0;
}

bool TsFadeTimer::Finished() {
  TControl* control = OwnerData ? OwnerData->Control() : nullptr;
  if (!OwnerData || Gone(control) || Terminating()) {
    Running_ = 0;
    return false;
  }
  if (Level > Iterations || Level < 0) {
    SendToControl(control, AC_STOPFADING);  // the control calls EndFade and repaints
    return true;
  }
  return false;
}

void TsFadeTimer::Timer() {
  if (!OwnerData || Gone(OwnerData->Control()) || IsDestroying()) return;
  if (!Finished() && Running_ == 1) Step();
}

void TsFadeTimer::Step() {
  TControl* control = OwnerData ? OwnerData->Control() : nullptr;
  if (Gone(control) || Iterations == 0) return;
  if (!control->Enabled()) {
    SetEnabled(false);
    Iterations = 0;
    OwnerData->Invalidate();
    return;
  }
  TBitmap frame;  // the one temporary bitmap of a step
  if (OwnerData->Cache()) {
    ComputeFadeFrame(frame, *StartImage, *OwnerData->Cache(), Level, Iterations);
  } else {
    frame.Assign(*StartImage);
    frame.SetPixelFormat(TPixelFormat::pf24bit);
  }
  auto* win = dynamic_cast<TWinControl*>(control);
  HWND window = win && win->HandleAllocated() ? win->Handle() : nullptr;
  HDC dc = window ? GetDC(window) : nullptr;
  const int saved = dc ? SaveDC(dc) : 0;
  if (!Gone(control) && Iterations != 0) {
    if (SendToControl(control, AC_SCROLLS, reinterpret_cast<LPARAM>(&frame)) == 0 && dc)
      dc->DrawBitmap(0, 0, frame, {0, 0, frame.Width(), frame.Height()});
  }
  if (dc && !Gone(control)) {
    RestoreDC(dc, saved);
    ReleaseDC(window, dc);
  }
  ++Level;
}

// --- Routines of the windowed controls ----------------------------------------------------

void EndFade(TsFadeTimer*& timer, TsCommonData&) {
  if (!timer || timer->IsDestroying()) return;
  timer->SetEnabled(false);
  timer->SetRunning(0);
  TsFadeTimer* dying = timer;
  timer = nullptr;
  delete dying;
}

void BeginFade(TsFadeTimer*& timer, TsCommonData& data, bool half, int direction) {
  if (!SectionFades(data)) return;
  int shown = 0;  // frames an interrupted fade of the same kind had shown
  if (!timer) {
    timer = new TsFadeTimer(data.Control());
    timer->SetRunning(0);
  } else if (timer->Running() != 0 && timer->Half == half && timer->Level >= 1 && timer->Level <= timer->Iterations) {
    shown = timer->Level - 1;
  }
  const int oldIterations = timer->Iterations;
  timer->Setup(&data);
  if (half) timer->Iterations /= 2;
  timer->Half = half;
  timer->Level = 1;
  if (shown > 0 && oldIterations > 0) {
    // The start image now holds the face the interrupted fade was heading for; starting
    // that many steps from the end continues from the face on the screen.
    const int stepsBack = static_cast<int>(static_cast<long long>(shown) * timer->Iterations / oldIterations);
    timer->Level = std::max(1, timer->Iterations - stepsBack + 1);
  }
  SendToControl(data.Control(), AC_PREPARING);
  timer->SetRunning(direction);
}

void FadeOrRepaint(TsFadeTimer*& timer, TsCommonData& data, bool half, int direction, bool animate) {
  if (!data.IsSkinned()) return;
  if (animate && !TsSkinManager::SkinChanging() && SectionFades(data) && data.Cache() && !data.Dirty()) {
    data.SetDirty(true);
    BeginFade(timer, data, half, direction);
  } else {
    data.SetDirty(true);
    if (timer) EndFade(timer, data);
    if (data.Control()) data.Control()->Invalidate();
  }
  UpdateHoverGlow(data);
}

void UpdateHoverGlow(TsCommonData& data) {
  const bool buttonHeld = (GetAsyncKeyState(VK_LBUTTON) & 0x8000) || (GetAsyncKeyState(VK_RBUTTON) & 0x8000);
  if (data.MouseAbove() && !buttonHeld)
    data.ShowGlow(false);
  else
    data.HideGlow();
}
