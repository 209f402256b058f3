#include "core/spot_list_options.h"

#include <algorithm>

#include "core/ini_values.h"
#include "core/text.h"

namespace core {

std::optional<int> parseOptionMinutes(std::string_view text) {
  const auto value = parseIniInteger(trimBlanks(text));
  if (!value || *value < 0 || *value > kMaxOptionMinutes) return std::nullopt;
  return int(*value);
}

bool looksLikeWave(std::string_view firstBytes) {
  return firstBytes.size() >= 12 && firstBytes.substr(0, 4) == "RIFF" && firstBytes.substr(8, 4) == "WAVE";
}

AgeLimits ageLimits(const SpotListOptions& options) {
  const int skimmer = options.MaxAgeSkimmerMinutes > 0 ? options.MaxAgeSkimmerMinutes : options.MaxAgeMinutes;
  return {minutesToMillis(options.MaxAgeMinutes), minutesToMillis(skimmer)};
}

bool AlertThrottle::allow(std::string_view call, std::string_view district, Millis now, Millis window) {
  std::string key = toUpperAscii(call);
  key += '\t';
  key += toUpperAscii(district);
  if (const auto found = last_.find(key); found != last_.end()) {
    if (now - found->second < window) return false;
    found->second = now;
    return true;
  }
  // A long evening meets thousands of callsigns: those whose window has passed are
  // forgotten now and then, each time the count has doubled, so that the cost per
  // spot stays the same.
  if (last_.size() >= sweepAt_) {
    std::erase_if(last_, [&](const auto& entry) { return now - entry.second >= window; });
    sweepAt_ = std::max<std::size_t>(1024, 2 * last_.size());
  }
  last_.emplace(std::move(key), now);
  return true;
}

}  // namespace core
