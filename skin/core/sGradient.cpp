#include "skin/core/sGradient.h"

#include <algorithm>
#include <string>

#include "platform/base/Exception.h"
#include "skin/core/acIniFile.h"

namespace {

std::int32_t ParseField(std::string_view field) {
  std::string_view trimmed = field;
  while (!trimmed.empty() && (trimmed.front() == ' ' || trimmed.front() == '\t')) trimmed.remove_prefix(1);
  while (!trimmed.empty() && (trimmed.back() == ' ' || trimmed.back() == '\t')) trimmed.remove_suffix(1);
  // The same integer forms as every other key: sign, decimal, "$" or "0x" hexadecimal.
  const auto value = TryStrToInt(trimmed);
  if (trimmed.empty() || !value) throw EConvertError("'" + std::string(field) + "' is not a valid integer value");
  return *value;
}

}  // namespace

TsGradArray ParseGradient(std::string_view text) {
  TsGradArray stops;
  if (text.empty() || text == " ") return stops;
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t sep = text.find(';', start);
    fields.push_back(text.substr(start, sep == std::string_view::npos ? std::string_view::npos : sep - start));
    if (sep == std::string_view::npos) break;
    start = sep + 1;
  }
  const std::size_t count = fields.size() / 5;
  stops.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    TsGradPie stop;
    stop.Color1 = std::max(0, ParseField(fields[i * 5]));
    stop.Color2 = std::max(0, ParseField(fields[i * 5 + 1]));
    stop.Percent = static_cast<std::uint8_t>(std::clamp(ParseField(fields[i * 5 + 2]), 0, 100));
    stop.Mode = ParseField(fields[i * 5 + 3]);
    stops.push_back(stop);
  }
  return stops;
}
