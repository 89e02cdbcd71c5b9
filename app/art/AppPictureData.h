#pragma once
// The compiled-in PNG files, in the order of TAppPicture (generated at build time).
#include <cstddef>

struct TAppPictureData {
  const unsigned char* Bytes;
  std::size_t Size;
  // The picture as a BMP: 24-bit when opaque, else 32-bit with its alpha (null
  // when the build wrote none).
  const unsigned char* Shown;
  std::size_t ShownSize;
};

extern const TAppPictureData kAppPictureData[];
extern const std::size_t kAppPictureDataCount;
