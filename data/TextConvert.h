#pragma once
// Text to integer the way the runtime's StrToInt reads it: optional leading blanks,
// an optional sign, decimal digits (or '$' and hex digits), nothing after them.
#include <cstdint>
#include <string>
#include <string_view>

bool TryStrToInt64(std::string_view text, int64_t& value);
// Raises EConvertError "'%s' is not a valid integer value" on failure.
int64_t StrToInt64(std::string_view text);
