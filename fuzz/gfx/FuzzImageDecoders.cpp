// libFuzzer entry: BMP, PNG and JPEG decoders on arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "fuzz/gfx/ImageDecodeTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  DecodeImageForFuzzing(data, size);
  return 0;
}
