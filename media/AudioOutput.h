#pragma once
// Sound for the video player: a queue of interleaved signed 16-bit samples fed
// from the UI thread into an SDL audio device (no callback, so no thread of
// ours). It exists only while the SDL display runs; on the headless display the
// player is silent and its picture follows the window system's clock instead.
#include <cstddef>
#include <cstdint>
#include <memory>

class TAudioOutput {
public:
  ~TAudioOutput();
  TAudioOutput(const TAudioOutput&) = delete;
  TAudioOutput& operator=(const TAudioOutput&) = delete;

  // An opened, paused device, or null when there is no display with sound
  // (headless) or the device cannot be opened. Never throws.
  static std::unique_ptr<TAudioOutput> Open(int sampleRate, int channels);

  int SampleRate() const { return Rate_; }
  int Channels() const { return Channels_; }
  // Appends samples (frames × channels of int16). Returns false when the device refused them.
  bool Queue(const std::int16_t* samples, std::size_t frames);
  // Seconds of sound queued but not yet played.
  double Buffered() const;
  // Seconds of the queued stream that have been played since the last Clear.
  double Clock() const;
  void SetPaused(bool paused);
  bool Paused() const { return Paused_; }
  // Drops what is queued and restarts the clock at 0.
  void Clear();

private:
  TAudioOutput() = default;
  std::uint32_t Device_ = 0;
  int Rate_ = 0;
  int Channels_ = 0;
  bool Paused_ = true;
  std::uint64_t QueuedBytes_ = 0;  // since the last Clear
};
