// The libFuzzer entry of the parser targets: the header and the function come from
// the target's definitions, so the corpus replay tests call the very same code.
#include <cstddef>
#include <cstdint>

#include TEXTBOOK_FUZZ_HEADER

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TEXTBOOK_FUZZ_ENTRY(data, size);
  return 0;
}
