#pragma once
// Inputs for the video player's open path: the bytes are written to a file that
// the decoder opens, as the player opens a lesson's video, then a few pictures
// are decoded and scaled. FFmpeg's refusals are expected; anything else escapes.
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "media/VideoDecoder.h"

inline const std::filesystem::path& VideoFuzzFile() {
  static const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("textbook-fuzz-video-" + std::to_string(::getpid()) + ".bin");
  return file;
}

// Returns true when the file opened as a video.
inline bool FuzzVideo(const std::uint8_t* data, std::size_t size) {
  {
    std::ofstream out(VideoFuzzFile(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  TVideoDecoder decoder;
  try {
    decoder.Open(VideoFuzzFile().string());
  } catch (const EMediaError&) {
    return false;
  }
  FuzzCheck(decoder.Width() > 0 && decoder.Height() > 0, "an open video without a picture size");
  FuzzCheck(decoder.FrameInterval() > 0, "an open video without a frame interval");
  TBitmap target(48, 36, TPixelFormat::pf32bit, true);
  try {
    for (int round = 0; round < 3 && !decoder.Finished(); ++round) {
      decoder.Pump(2, std::chrono::milliseconds(50));
      decoder.ScaleFront(target, TRect{-5, 2, 40, 60});
      if (decoder.QueuedFrames()) decoder.DropFront();
    }
    decoder.Rewind();
    decoder.Pump(1, std::chrono::milliseconds(50));
  } catch (const EMediaError&) {
  }
  return true;
}
