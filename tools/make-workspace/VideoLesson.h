#pragma once
// Writes a short video lesson: moving pictures and a tone, encoded by FFmpeg
// with the codecs named (for example "mpeg4" + "mp2" in AVI, "wmv2" + "wmav2" in WMV).
#include <string>

struct VideoLessonSpec {
  std::string Path;  // the container follows from the extension
  std::string VideoCodec;
  std::string AudioCodec;
  int Width = 320;
  int Height = 240;
  int FramesPerSecond = 25;
  int Seconds = 4;
  unsigned Theme = 0;  // picks colours and motion
};

// Raises std::runtime_error with FFmpeg's reason on failure.
void WriteVideoLesson(const VideoLessonSpec& spec);
