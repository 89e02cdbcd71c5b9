#pragma once
// The compiled-in PNG files, in the order of TAppPicture (generated at build time).
#include <cstddef>

struct TAppPictureData {
  const unsigned char* Bytes;
  std::size_t Size;
  // An opaque picture also as a 24-bit BMP (null for the others).
  const unsigned char* Shown;
  std::size_t ShownSize;
};

extern const TAppPictureData kAppPictureData[];
extern const std::size_t kAppPictureDataCount;
