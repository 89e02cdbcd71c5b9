#include <cstddef>
#include <cstdint>

#include "fuzz/skinmodel/SkinModelFuzzEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzSkinModel(data, size);
  return 0;
}
