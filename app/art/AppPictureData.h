#pragma once
// The compiled-in PNG files, in the order of TAppPicture (generated at build time).
#include <cstddef>

struct TAppPictureData {
  const unsigned char* Bytes;
  std::size_t Size;
};

extern const TAppPictureData kAppPictureData[];
extern const std::size_t kAppPictureDataCount;
