// Settings values, the spot list options' minutes and the region list's Most
// Wanted readers on arbitrary bytes.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/ini_values.h"
#include "core/most_wanted.h"
#include "core/spot_list_options.h"
#include "core/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  // A parsed decimal integer writes back as the same text, leading zeros and a
  // minus before zero aside.
  if (const auto v = core::parseIniInteger(text)) {
    const std::string written = core::iniText(*v);
    if (core::parseIniInteger(written) != v) std::abort();
    const bool plainDecimal = !text.empty() && text.find_first_of("xX$") == std::string_view::npos &&
                              text.front() != '0' && text.substr(0, 2) != "-0";
    if (plainDecimal && written != text) std::abort();
  }

  // An option's minutes lie within a day and write back as what they read.
  if (const auto minutes = core::parseOptionMinutes(text)) {
    if (*minutes < 0 || *minutes > core::kMaxOptionMinutes) std::abort();
    if (core::parseOptionMinutes(core::iniText(std::int32_t(*minutes))) != minutes) std::abort();
  }

  // Every district of the list has a whole value of at most two digits, and the
  // row colour of that value's text agrees with the bounds.
  const core::TextList regions = core::TextList::fromText(text, true);
  for (std::string_view line : regions) {
    const auto value = core::mostWantedValue(regions, line.substr(0, 5));
    if (!value || *value <= -10 || *value >= 100 || *value != std::floor(*value)) std::abort();
    const auto colour = core::mostWantedColor(core::mostWantedText(*value));
    if ((*value < 50) != colour.has_value()) std::abort();
  }
  (void)core::mostWantedColor(text);
  return 0;
}
