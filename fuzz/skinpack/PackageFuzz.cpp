// libFuzzer target for skin packages.
#include "fuzz/skinpack/PackageFuzzEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzPackageReader(data, size);
  return 0;
}
