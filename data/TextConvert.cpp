#include "data/TextConvert.h"

#include <limits>

#include "platform/base/Exception.h"

bool TryStrToInt64(std::string_view text, int64_t& value) {
  size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  int base = 10;
  if (pos < text.size() && text[pos] == '$') { base = 16; ++pos; }
  if (pos >= text.size()) return false;
  // Accumulate as a negative number so that the minimum value fits.
  const int64_t kMin = std::numeric_limits<int64_t>::min();
  int64_t acc = 0;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return false;
    if (acc < (kMin + digit) / base) return false;
    acc = acc * base - digit;
  }
  if (!negative) {
    if (acc == kMin) return false;
    acc = -acc;
  }
  value = acc;
  return true;
}

int64_t StrToInt64(std::string_view text) {
  int64_t value = 0;
  if (!TryStrToInt64(text, value)) throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
  return value;
}
