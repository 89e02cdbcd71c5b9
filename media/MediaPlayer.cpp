#include "media/MediaPlayer.h"

#include <algorithm>

#include "forms/Canvas.h"
#include "forms/DriverProperties.h"
#include "forms/Timer.h"
#include "media/AudioOutput.h"
#include "platform/base/TextHelpers.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/SystemColors.h"
#include "platform/win/Backend.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"

namespace {
constexpr int kButtonWidth = 28;
constexpr int kButtonCount = 2;
// Pictures kept decoded ahead: a few, more with sound so that the sound,
// which arrives interleaved with them, stays ahead of the speaker.
constexpr std::size_t kSilentQueue = 3;
constexpr std::size_t kSoundQueue = 8;
// The sound clock counts as stalled after this many milliseconds without moving.
constexpr std::uint64_t kAudioStallMs = 300;
constexpr int kSoundRate = 44100;
constexpr int kSoundChannels = 2;
}  // namespace

TMediaPlayer::TMediaPlayer(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, kButtonWidth * kButtonCount + 1, 30);
  ControlStyle_ = {csCaptureMouse, csOpaque};
  SetColor(clBtnFace);
  Timer_ = new TTimer(this);
  Timer_->SetEnabled(false);
  Timer_->SetInterval(kTickMs);
  Timer_->OnTimer = [this](TObject* sender) { Tick(sender); };
  Timer_->UpdateTimer();
}

TMediaPlayer::~TMediaPlayer() {
  Destroying();
  Unhook();
  Timer_->SetEnabled(false);
  Decoder_.Close();
  Audio_.reset();
}

// --- display -------------------------------------------------------------------------

void TMediaPlayer::SetDisplay(TWinControl* display) {
  if (display == Display_) return;
  Unhook();
  Display_ = display;
  if (Display_) Hook(Display_);
  DrawPicture();
}

void TMediaPlayer::Hook(TWinControl* display) {
  display->FreeNotification(this);
  DisplayOldProc_ = display->WindowProc;
  // The display paints itself first; the picture goes on top of what it painted.
  display->WindowProc = [this](TMessage& message) {
    auto old = DisplayOldProc_;
    old(message);
    if (message.Msg == WM_PAINT) DrawPicture();
  };
}

void TMediaPlayer::Unhook() {
  if (!Display_) return;
  if (DisplayOldProc_) Display_->WindowProc = DisplayOldProc_;
  DisplayOldProc_ = nullptr;
  Display_->RemoveFreeNotification(this);
  if (Display_->HandleAllocated()) InvalidateRect(Display_->Handle(), nullptr, true);
  Display_ = nullptr;
}

void TMediaPlayer::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == opRemove && component == Display_) {
    // The display is going away: its procedure goes with it.
    DisplayOldProc_ = nullptr;
    Display_ = nullptr;
  }
}

void TMediaPlayer::SetDisplayRect(const TRect& rect) {
  DisplayRect_ = rect;
  const int w = std::max(0, rect.Width()), h = std::max(0, rect.Height());
  if (w == 0 || h == 0) {
    Picture_ = TBitmap();
  } else {
    Picture_ = TBitmap(std::min(w, kMaxBitmapSide), std::min(h, kMaxBitmapSide), TPixelFormat::pf32bit, true);
  }
  // The picture at the old size is no longer right; a stopped player shows the
  // next one at the new size.
  PictureValid_ = false;
  if (Display_ && Display_->HandleAllocated()) InvalidateRect(Display_->Handle(), nullptr, true);
  UpdateTimer();
}

void TMediaPlayer::DrawPicture() {
  if (!PictureValid_ || !Display_ || !Display_->HandleAllocated() || Picture_.Empty()) return;
  HWND window = Display_->Handle();
  HDC dc = GetDC(window);
  if (!dc) return;
  dc->DrawBitmap(DisplayRect_.Left, DisplayRect_.Top, Picture_, {0, 0, Picture_.Width(), Picture_.Height()});
  ReleaseDC(window, dc);
}

// --- commands ------------------------------------------------------------------------

void TMediaPlayer::Open() {
  Close();
  Decoder_.Open(FileName_);  // raises with FFmpeg's text
  Audio_ = Decoder_.HasAudio() ? TAudioOutput::Open(kSoundRate, kSoundChannels) : nullptr;
  if (Audio_) {
    TAudioOutput* audio = Audio_.get();
    Decoder_.SetAudioSink(audio->SampleRate(), audio->Channels(),
                          [audio](const std::int16_t* samples, std::size_t frames) { audio->Queue(samples, frames); });
  } else {
    Decoder_.SetAudioSink(0, 0, nullptr);
  }
  Mode_ = mpStopped;
  AtEnd_ = false;
  FramesShown_ = 0;
  Position_ = 0;
  PictureValid_ = false;
  UpdateTimer();  // cues the first picture
  Invalidate();
}

void TMediaPlayer::Close() {
  Mode_ = mpNotReady;
  Decoder_.Close();
  Audio_.reset();
  PictureValid_ = false;
  AtEnd_ = false;
  Pressed_ = -1;
  UpdateTimer();
  if (Display_ && Display_->HandleAllocated()) InvalidateRect(Display_->Handle(), nullptr, true);
  Invalidate();
}

void TMediaPlayer::Play() {
  if (!Decoder_.IsOpen() || Mode_ == mpPlaying) return;
  if (AtEnd_) {
    Decoder_.Rewind();
    if (Audio_) Audio_->Clear();
    AtEnd_ = false;
    Position_ = 0;
  }
  StartTick_ = GetTickCount64();
  StartPosition_ = Position_;
  Mode_ = mpPlaying;
  if (Audio_) {
    LastAudioClock_ = -1;
    LastAudioChange_ = StartTick_;
    Audio_->SetPaused(false);
  }
  UpdateTimer();
  Invalidate();
}

void TMediaPlayer::Stop() {
  if (Mode_ != mpPlaying) return;
  Mode_ = mpStopped;
  if (Audio_) Audio_->SetPaused(true);
  UpdateTimer();
  Invalidate();
}

void TMediaPlayer::Finish() {
  Mode_ = mpStopped;
  AtEnd_ = true;
  if (Audio_) Audio_->SetPaused(true);
  UpdateTimer();
  Invalidate();
  if (Notify_) {
    Notify_ = false;
    NotifyValue_ = nvSuccessful;
    if (OnNotify) OnNotify(this);
  }
}

void TMediaPlayer::UpdateTimer() {
  const bool cueing = Mode_ == mpStopped && !PictureValid_ && !AtEnd_ && !Decoder_.Finished();
  const bool run = Decoder_.IsOpen() && (Mode_ == mpPlaying || cueing);
  if (Timer_) Timer_->SetEnabled(run);
}

// --- playback ------------------------------------------------------------------------

double TMediaPlayer::ClockNow() {
  const std::uint64_t now = GetTickCount64();
  if (!Audio_) return StartPosition_ + static_cast<double>(now - StartTick_) / 1000.0;
  const double clock = Audio_->Clock() + Decoder_.AudioStart();
  if (clock != LastAudioClock_) {
    LastAudioClock_ = clock;
    LastAudioChange_ = now;
    return clock;
  }
  if (now - LastAudioChange_ > kAudioStallMs) return clock + static_cast<double>(now - LastAudioChange_) / 1000.0;
  return clock;
}

void TMediaPlayer::ShowFront() {
  Position_ = Decoder_.FrontTime();
  if (Picture_.Empty()) return;
  Decoder_.ScaleFront(Picture_, {0, 0, Picture_.Width(), Picture_.Height()});
  PictureValid_ = true;
  ++FramesShown_;
  DrawPicture();
}

void TMediaPlayer::Tick(TObject*) {
  if (!Decoder_.IsOpen()) {
    UpdateTimer();
    return;
  }
  const auto budget = std::chrono::milliseconds(kDecodeBudgetMs);
  const TVideoDecoder::TPump pump = Decoder_.Pump(Audio_ ? kSoundQueue : kSilentQueue, budget);
  if (Mode_ != mpPlaying) {
    // Cueing: the first picture is shown as soon as it is decoded; it stays
    // queued, to be shown again when playing starts.
    if (Decoder_.QueuedFrames() > 0) ShowFront();
    if (PictureValid_ || pump == TVideoDecoder::TPump::End) {
      if (Picture_.Empty()) PictureValid_ = true;  // nothing to show into: stop cueing
      Timer_->SetEnabled(false);
    }
    return;
  }
  const double clock = ClockNow();
  // Pictures whose time has passed are dropped unseen, except the last one due.
  while (Decoder_.QueuedFrames() >= 2 && Decoder_.FrameTime(1) <= clock) Decoder_.DropFront();
  if (Decoder_.QueuedFrames() > 0 && Decoder_.FrontTime() <= clock) {
    ShowFront();
    Decoder_.DropFront();
  }
  if (pump == TVideoDecoder::TPump::End && Decoder_.QueuedFrames() == 0) Finish();
}

bool TMediaPlayer::PictureBlank() const {
  if (!PictureValid_ || Picture_.Empty()) return true;
  const TColor panel = Display_ ? ColorToRGB(Display_->Color()) : clBlack;
  for (int y = 0; y < Picture_.Height(); ++y)
    for (int x = 0; x < Picture_.Width(); ++x)
      if (Picture_.Pixel(x, y) != panel) return false;
  return true;
}

// --- the buttons ---------------------------------------------------------------------

TRect TMediaPlayer::ButtonRect(TMPBtnType button) const {
  const int index = button == btPlay ? 0 : 1;
  return {index * kButtonWidth, 0, (index + 1) * kButtonWidth + 1, Height()};
}

bool TMediaPlayer::ButtonEnabled(TMPBtnType button) const {
  if (!Enabled() || !Decoder_.IsOpen()) return false;
  return button == btPlay ? Mode_ != mpPlaying : Mode_ == mpPlaying;
}

int TMediaPlayer::ButtonAt(int x, int y) const {
  for (TMPBtnType b : {btPlay, btStop}) {
    const TRect r = ButtonRect(b);
    if (x >= r.Left && x < r.Right - (b == btPlay ? 1 : 0) && y >= r.Top && y < r.Bottom) return b;
  }
  return -1;
}

void TMediaPlayer::ClickButton(TMPBtnType button) {
  if (!ButtonEnabled(button)) return;
  if (button == btPlay) Play();
  else Stop();
}

void TMediaPlayer::MouseDown(TMouseBtn button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  const int at = ButtonAt(x, y);
  if (at < 0 || !ButtonEnabled(static_cast<TMPBtnType>(at))) return;
  Pressed_ = at;
  Invalidate();
}

void TMediaPlayer::MouseUp(TMouseBtn button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (button != mbLeft || Pressed_ < 0) return;
  const int pressed = Pressed_;
  Pressed_ = -1;
  Invalidate();
  if (ButtonAt(x, y) == pressed) ClickButton(static_cast<TMPBtnType>(pressed));
}

void TMediaPlayer::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Brush().SetColor(Color());
  canvas.FillRect(ClientRect());
  for (TMPBtnType b : {btPlay, btStop}) {
    TRect r = ButtonRect(b);
    const bool down = Pressed_ == b;
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(r);
    canvas.Pen().SetColor(cl3DDkShadow);
    canvas.Brush().SetStyle(bsClear);
    canvas.Rectangle(r);
    canvas.Brush().SetStyle(bsSolid);
    r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    if (down) canvas.Frame3D(r, clBtnShadow, clBtnHighlight, 1);
    else canvas.Frame3D(r, clBtnHighlight, clBtnShadow, 1);
    // The glyph: a triangle for Play, a square for Stop, grey when the button cannot act.
    const bool enabled = ButtonEnabled(b);
    const TColor ink = enabled ? (b == btPlay ? TColor(0x00008000) : TColor(0x00000080)) : clGrayText;
    canvas.Brush().SetColor(ink);
    const int size = std::max(4, std::min(r.Width(), r.Height()) / 2);
    const int cx = (r.Left + r.Right) / 2 + (down ? 1 : 0);
    const int cy = (r.Top + r.Bottom) / 2 + (down ? 1 : 0);
    if (b == btPlay) {
      // Right-pointing triangle, one column at a time.
      const int left = cx - size / 3;
      for (int i = 0; i <= size / 2; ++i)
        canvas.FillRect({left + i, cy - size / 2 + i, left + i + 1, cy + size / 2 - i + 1});
    } else {
      const int half = size * 2 / 5;
      canvas.FillRect({cx - half, cy - half, cx + half, cy + half});
    }
  }
}

namespace {
const char* ModeName(TMPModes mode) {
  switch (mode) {
    case mpNotReady: return "mpNotReady";
    case mpStopped: return "mpStopped";
    case mpPlaying: return "mpPlaying";
    case mpRecording: return "mpRecording";
    case mpSeeking: return "mpSeeking";
    case mpPaused: return "mpPaused";
    case mpOpen: return "mpOpen";
  }
  return "?";
}

}  // namespace

// What scripts can read of the player.
void TMediaPlayer::RegisterDriverProperties() {
  TDriverProperties::Register<TMediaPlayer>("FileName", [](TMediaPlayer& p) { return p.FileName(); });
  TDriverProperties::Register<TMediaPlayer>(
      "Mode", [](TMediaPlayer& p) { return std::string(ModeName(p.Mode())); }, TDumpAs::Text, "mode");
  TDriverProperties::Register<TMediaPlayer>(
      "FramesShown", [](TMediaPlayer& p) { return std::to_string(p.FramesShown()); }, TDumpAs::Raw, "framesShown");
  TDriverProperties::Register<TMediaPlayer>("PictureBlank",
                                            [](TMediaPlayer& p) { return BoolText(p.PictureBlank()); });
  TDriverProperties::Register<TMediaPlayer>("Notify",
                                            [](TMediaPlayer& p) { return BoolText(p.Notify()); });
}

