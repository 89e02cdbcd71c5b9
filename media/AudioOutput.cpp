#include "media/AudioOutput.h"

#include <SDL.h>

std::unique_ptr<TAudioOutput> TAudioOutput::Open(int sampleRate, int channels) {
  // Sound goes with the SDL display only: the headless display has no speakers
  // and its virtual clock must not be overtaken by a real one.
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0 || sampleRate <= 0 || channels <= 0) return nullptr;
  if (SDL_WasInit(SDL_INIT_AUDIO) == 0 && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
  SDL_AudioSpec want{};
  want.freq = sampleRate;
  want.format = AUDIO_S16SYS;
  want.channels = static_cast<Uint8>(channels);
  want.samples = 1024;
  want.callback = nullptr;  // queued from the UI thread
  SDL_AudioSpec have{};
  const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (device == 0) return nullptr;
  std::unique_ptr<TAudioOutput> out(new TAudioOutput);
  out->Device_ = device;
  out->Rate_ = have.freq;
  out->Channels_ = have.channels;
  return out;
}

TAudioOutput::~TAudioOutput() {
  if (Device_) SDL_CloseAudioDevice(Device_);
}

bool TAudioOutput::Queue(const std::int16_t* samples, std::size_t frames) {
  const std::size_t bytes = frames * static_cast<std::size_t>(Channels_) * sizeof(std::int16_t);
  if (bytes == 0) return true;
  if (SDL_QueueAudio(Device_, samples, static_cast<Uint32>(bytes)) != 0) return false;
  QueuedBytes_ += bytes;
  return true;
}

double TAudioOutput::Buffered() const {
  const double bytesPerSecond = static_cast<double>(Rate_) * Channels_ * sizeof(std::int16_t);
  return SDL_GetQueuedAudioSize(Device_) / bytesPerSecond;
}

double TAudioOutput::Clock() const {
  const double bytesPerSecond = static_cast<double>(Rate_) * Channels_ * sizeof(std::int16_t);
  const std::uint64_t pending = SDL_GetQueuedAudioSize(Device_);
  const std::uint64_t played = QueuedBytes_ > pending ? QueuedBytes_ - pending : 0;
  return static_cast<double>(played) / bytesPerSecond;
}

void TAudioOutput::SetPaused(bool paused) {
  Paused_ = paused;
  SDL_PauseAudioDevice(Device_, paused ? 1 : 0);
}

void TAudioOutput::Clear() {
  SDL_ClearQueuedAudio(Device_);
  QueuedBytes_ = 0;
}
