#include "core/link_texts.h"

#include <charconv>
#include <cstddef>
#include <initializer_list>

namespace core {
namespace {

// "<" name ":" length ">" parts...: the length counts the bytes of all the parts.
std::string field(std::string_view name, std::initializer_list<std::string_view> parts) {
  std::size_t length = 0;
  for (std::string_view part : parts) length += part.size();
  char digits[24];
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, length);
  (void)ec;  // 24 characters hold any size_t
  const std::string_view lengthText(digits, static_cast<std::size_t>(end - digits));

  std::string out;
  out.reserve(name.size() + lengthText.size() + 3 + length);
  out.append("<").append(name).append(":").append(lengthText).append(">");
  for (std::string_view part : parts) out.append(part);
  return out;
}

// s with `count` characters from the 0-based `pos` taken out (nothing beyond its end).
std::string withoutRange(std::string_view s, std::size_t pos, std::size_t count) {
  std::string out(s.substr(0, pos));
  if (pos + count < s.size()) out.append(s.substr(pos + count));
  return out;
}

}  // namespace

std::string spotClickCommand(std::string_view freq, std::string_view call) {
  return field("APP_CLICK_DXSPOT", {freq, "00|", call});
}

std::string spotDistrictCommand(std::string_view district) {
  std::string out = "<STATE:2>";
  out += withoutRange(district, 2, 3);
  out += "<CNTY:2>";
  out += withoutRange(district, 0, 3);
  return out;
}

std::string cwCommand(std::string_view qrg) { return field("APP_SET_FREQ_MODE", {qrg, "|CW-R"}); }

std::string ssbCommand(std::string_view qrg) { return field("APP_SET_FREQ_MODE", {qrg, "|USB"}); }

std::string frequencyText(std::uint32_t frequency) {
  char digits[16];
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, frequency);
  (void)ec;
  const std::string_view all(digits, static_cast<std::size_t>(end - digits));
  const std::size_t split = all.size() > 3 ? all.size() - 3 : 0;
  std::string out;
  out.reserve(all.size() + 1);
  out.append(all.substr(0, split)).append(",").append(all.substr(split));
  return out;
}

}  // namespace core
