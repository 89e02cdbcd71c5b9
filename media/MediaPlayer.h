#pragma once
// The embedded video player: a small control with its own Play and Stop
// buttons that plays a video file into another window (the display), scaled to
// a display rectangle. Pictures are timed by the window system's clock through
// a timer (so the headless display's virtual clock drives playback in tests);
// with the SDL display the sound plays through SDL audio and the picture
// follows the sound's clock. Decoding happens a little per tick, within a
// budget of real time, so a slow or broken file never holds the window.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "forms/CustomControl.h"
#include "forms/Forward.h"
#include "media/VideoDecoder.h"

class TAudioOutput;

enum TMPBtnType { btPlay, btStop };
enum TMPModes { mpNotReady, mpStopped, mpPlaying, mpRecording, mpSeeking, mpPaused, mpOpen };
enum TMPNotifyValues { nvSuccessful, nvSuperseded, nvAborted, nvFailure };

class TMediaPlayer : public TCustomControl {
public:
  // What scripts can read of it; registered when its layer's engine part starts.
  static void RegisterDriverProperties();
  explicit TMediaPlayer(TComponent* owner);
  ~TMediaPlayer() override;
  std::string ClassName() const override { return "TMediaPlayer"; }

  const std::string& FileName() const { return FileName_; }
  void SetFileName(const std::string& name) { FileName_ = name; }
  // When set, the next command that completes (playback reaching the end)
  // raises OnNotify; the flag then clears itself, as classically.
  bool Notify() const { return Notify_; }
  void SetNotify(bool value) { Notify_ = value; }
  TMPNotifyValues NotifyValue() const { return NotifyValue_; }
  TNotifyEvent OnNotify;

  // The window the pictures are shown in, and where in its client area.
  TWinControl* Display() const { return Display_; }
  void SetDisplay(TWinControl* display);
  TRect DisplayRect() const { return DisplayRect_; }
  void SetDisplayRect(const TRect& rect);

  // Opens FileName, closing any file open before. Raises EMediaError with the
  // media system's own text when the file cannot be opened.
  void Open();
  void Close();
  void Play();
  void Stop();
  TMPModes Mode() const { return Mode_; }
  // Seconds of the video shown so far (the time of the current picture).
  double Position() const { return Position_; }
  // Pictures put on the display since the file was opened.
  int FramesShown() const { return FramesShown_; }
  // Whether sound is playing along (only with a display that has sound).
  bool HasSound() const { return Audio_ != nullptr; }
  // The last picture shown, display-rectangle sized (empty before the first).
  const TBitmap& Picture() const { return Picture_; }
  // No picture is on the display, or every pixel of it has the display's own colour.
  bool PictureBlank() const;

  // Where a button sits in the control (client coordinates).
  TRect ButtonRect(TMPBtnType button) const;
  bool ButtonEnabled(TMPBtnType button) const;
  // What pressing a button does (also the mouse's way in).
  void ClickButton(TMPBtnType button);

  // Milliseconds between playback ticks, and the real time a tick may spend decoding.
  static constexpr unsigned kTickMs = 10;
  static constexpr int kDecodeBudgetMs = 8;

protected:
  void Paint() override;
  void MouseDown(TMouseBtn button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseBtn button, TShiftState shift, int x, int y) override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  int ButtonAt(int x, int y) const;
  void Tick(TObject*);
  double ClockNow();
  void ShowFront();
  void DrawPicture();
  void Hook(TWinControl* display);
  void Unhook();
  void Finish();
  void UpdateTimer();

  std::string FileName_;
  bool Notify_ = false;
  TMPNotifyValues NotifyValue_ = nvSuccessful;
  TWinControl* Display_ = nullptr;
  std::function<void(TMessage&)> DisplayOldProc_;
  TRect DisplayRect_;
  TMPModes Mode_ = mpNotReady;
  TVideoDecoder Decoder_;
  std::unique_ptr<TAudioOutput> Audio_;
  TTimer* Timer_ = nullptr;  // owned as a component
  TBitmap Picture_;
  bool PictureValid_ = false;
  bool AtEnd_ = false;
  int FramesShown_ = 0;
  double Position_ = 0;
  // The silent clock: the window clock's tick at Play and the position then.
  std::uint64_t StartTick_ = 0;
  double StartPosition_ = 0;
  // The sound clock may stall (a sound track shorter than the picture): then
  // the window clock carries on from where it stopped.
  double LastAudioClock_ = -1;
  std::uint64_t LastAudioChange_ = 0;
  int Pressed_ = -1;
};
