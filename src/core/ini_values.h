// Values of the settings file as the program reads and writes them: integers with
// an optional minus and "0x" or "$" hexadecimal, booleans as integers, colours as
// decimal integers. A value that does not parse gives the caller's default.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace core {

// The integer a settings value holds, or nothing for anything that is not one:
// decimal digits with an optional leading minus, or "0x", "0X" or "$" followed by
// up to eight hexadecimal digits (a 32-bit pattern, so "$FFFFFFFF" is -1).
// Decimal values outside the 32-bit range do not parse.
std::optional<std::int32_t> parseIniInteger(std::string_view text);

inline std::int32_t iniInteger(std::string_view text, std::int32_t fallback) {
  return parseIniInteger(text).value_or(fallback);
}
// Any integer but 0 is true.
inline bool iniBool(std::string_view text, bool fallback) {
  const auto v = parseIniInteger(text);
  return v ? *v != 0 : fallback;
}

inline std::string iniText(std::int32_t value) { return std::to_string(value); }
inline std::string iniText(bool value) { return value ? "1" : "0"; }

}  // namespace core
