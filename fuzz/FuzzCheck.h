#pragma once
// Helpers shared by the parser fuzz targets and their corpus replay tests.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

// A broken promise of the code under test: escapes every handler the targets
// have, so libFuzzer reports a crash and the replay test fails.
class EFuzzCheckFailed : public std::logic_error {
  using std::logic_error::logic_error;
};

inline void FuzzCheck(bool ok, const char* what) {
  if (!ok) throw EFuzzCheckFailed(what);
}

inline std::string_view FuzzBytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}
