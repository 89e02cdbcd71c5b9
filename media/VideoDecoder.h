#pragma once
// The video player's decoding side over FFmpeg: opens a file, decodes it a
// little at a time within a budget of real time (so a slow or broken file never
// holds the window), keeps a few decoded pictures ready and scales the first
// into a bitmap through libswscale. Sound, when asked for, is resampled by
// libswresample to interleaved 16-bit samples and handed to a sink.
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/base/Exception.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Types.h"

struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;
struct SwrContext;

// The media system could not open or read a file; the text is FFmpeg's own, or
// ours for a frame size the file's header gets wrong.
class EMediaError : public Exception { using Exception::Exception; };

// FFmpeg's text for one of its error codes.
std::string MediaErrorText(int code);
// Our text for a file whose header gives a frame size that cannot be shown.
std::string FrameSizeErrorText();

class TVideoDecoder {
public:
  using TClock = std::chrono::steady_clock;
  // Interleaved signed 16-bit samples: frames × channels values.
  using TAudioSink = std::function<void(const std::int16_t* samples, std::size_t frames)>;

  TVideoDecoder();
  ~TVideoDecoder();
  TVideoDecoder(const TVideoDecoder&) = delete;
  TVideoDecoder& operator=(const TVideoDecoder&) = delete;

  // Opens a file, closing the one open before. Raises EMediaError with
  // FFmpeg's text when the file cannot be opened or holds no video.
  void Open(const std::string& path);
  void Close();
  bool IsOpen() const { return Format_ != nullptr; }
  const std::string& FileName() const { return Path_; }

  int Width() const;
  int Height() const;
  // Seconds per frame as the stream declares it (1/25 when it declares nothing).
  double FrameInterval() const { return FrameInterval_; }
  bool HasAudio() const { return AudioStream_ >= 0; }

  // Sound: with a sink, audio is decoded and resampled to the given rate and
  // channel count; without one (the default) audio packets are skipped.
  void SetAudioSink(int sampleRate, int channels, TAudioSink sink);
  // Stream time in seconds of the first sample handed to the sink (0 before any).
  double AudioStart() const { return AudioStart_; }

  enum class TPump { Ready, Busy, End };
  // Decodes until `frames` pictures are queued (Ready), the budget of real time
  // is spent first (Busy), or the input is over and nothing more will come (End).
  TPump Pump(std::size_t frames, TClock::duration budget);

  std::size_t QueuedFrames() const { return Frames_.size(); }
  // Stream time in seconds of the first queued picture (from 0 at the start).
  double FrontTime() const { return FrameTime(0); }
  // Stream time of the i-th queued picture (0 when there is none).
  double FrameTime(std::size_t i) const { return i < Frames_.size() ? Frames_[i].Time : 0; }
  void DropFront();
  // Scales the first queued picture into `rect` of a 32-bit top-down bitmap
  // (the part inside the bitmap). Does nothing without a queued picture.
  void ScaleFront(TBitmap& target, const TRect& rect);
  // The input is over and every picture has been taken.
  bool Finished() const { return InputEnded_ && Drained_ && Frames_.empty(); }

  // Back to the first picture.
  void Rewind();

private:
  struct TQueued {
    AVFrame* Frame;
    double Time;
  };
  bool ReceiveVideo();
  void ReceiveAudio();
  void HandlePacket(AVPacket* packet);
  void ClearQueue();
  void SetDeadline(TClock::duration fromNow) { Deadline_ = TClock::now() + fromNow; }
  static int InterruptCallback(void* self);

  std::string Path_;
  AVFormatContext* Format_ = nullptr;
  AVCodecContext* Video_ = nullptr;
  AVCodecContext* Audio_ = nullptr;
  int VideoStream_ = -1;
  int AudioStream_ = -1;
  double VideoTimeBase_ = 0;
  double AudioTimeBase_ = 0;
  std::int64_t VideoStart_ = 0;  // stream timestamps of time 0
  std::int64_t AudioStartTs_ = 0;
  double FrameInterval_ = 0.04;
  double LastTime_ = -1;
  AVFrame* Scratch_ = nullptr;
  AVPacket* Packet_ = nullptr;
  std::deque<TQueued> Frames_;
  bool InputEnded_ = false;  // no more packets; the decoder has been told
  bool Drained_ = false;     // the decoder has given its last picture
  TClock::time_point Deadline_ = TClock::time_point::max();

  SwsContext* Scaler_ = nullptr;
  std::vector<std::uint8_t> ScaleBuffer_;

  SwrContext* Resampler_ = nullptr;
  TAudioSink AudioSink_;
  int SinkRate_ = 0;
  int SinkChannels_ = 0;
  double AudioStart_ = 0;
  bool AudioStarted_ = false;
  std::vector<std::int16_t> AudioBuffer_;
};
