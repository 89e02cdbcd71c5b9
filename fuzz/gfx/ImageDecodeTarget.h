#pragma once
// One decoder run on untrusted bytes, shared by the fuzzer and the corpus replay test.
#include <cstddef>
#include <cstdint>

// Decodes the data as BMP, PNG and JPEG in turn. Returns how many decoders accepted
// it; anything else than EInvalidGraphic / EOutOfResources escapes and is a bug.
int DecodeImageForFuzzing(const std::uint8_t* data, std::size_t size);
