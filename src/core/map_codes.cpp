#include "core/map_codes.h"

#include <algorithm>
#include <array>
#include <utility>

namespace core {
namespace {

using Pair = std::pair<std::string_view, std::string_view>;

// In order of prefix, so a binary search finds an entry.
constexpr std::array<Pair, 84> kMapCodes = {{
    {"AD", "6y"}, {"AL", "9y"}, {"AM", "0j"}, {"AR", "1o"}, {"BA", "9w"}, {"BO", "3z"},
    {"BR", "3y"}, {"BU", "0o"}, {"CB", "9a"}, {"CK", "0k"}, {"CN", "6p"}, {"CU", "4y"},
    {"DA", "6w"}, {"EA", "0d"}, {"GA", "9z"}, {"HA", "0w"}, {"HK", "0c"}, {"HM", "9j"},
    {"IN", "6q"}, {"IR", "0s"}, {"IV", "3u"}, {"KA", "2f"}, {"KB", "6x"}, {"KC", "6e"},
    {"KE", "9u"}, {"KG", "3x"}, {"KI", "4n"}, {"KK", "0a"}, {"KL", "1n"}, {"KM", "6i"},
    {"KN", "9q"}, {"KO", "9x"}, {"KR", "6a"}, {"KS", "3n"}, {"KT", "0z"}, {"KU", "3w"},
    {"LO", "1c"}, {"LP", "3g"}, {"MA", "3a"}, {"MD", "4u"}, {"MG", "0i"}, {"MO", "3d"},
    {"MR", "4s"}, {"MU", "1z"}, {"NN", "3t"}, {"NO", "1p"}, {"NS", "9o"}, {"NV", "1t"},
    {"OB", "9s"}, {"OM", "9m"}, {"OR", "3e"}, {"PE", "4f"}, {"PK", "0l"}, {"PM", "9f"},
    {"PS", "1w"}, {"RA", "3s"}, {"RK", "6k"}, {"RO", "6l"}, {"SA", "4c"}, {"SE", "6r"},
    {"SL", "0f"}, {"SM", "3l"}, {"SO", "6j"}, {"SP", "1a"}, {"SR", "4h"}, {"ST", "6h"},
    {"SV", "9c"}, {"TA", "4p"}, {"TB", "3r"}, {"TL", "3p"}, {"TN", "9l"}, {"TO", "9h"},
    {"TU", "0y"}, {"TV", "3i"}, {"UD", "4w"}, {"UL", "4l"}, {"VG", "4a"}, {"VL", "3v"},
    {"VO", "1q"}, {"VR", "3q"}, {"YA", "0q"}, {"YN", "9k"}, {"YR", "3m"}, {"ZK", "0u"},
}};

static_assert(std::is_sorted(kMapCodes.begin(), kMapCodes.end()));

}  // namespace

std::string_view mapCode(std::string_view prefix) {
  const auto it = std::lower_bound(kMapCodes.begin(), kMapCodes.end(), prefix,
                                   [](const Pair& entry, std::string_view key) { return entry.first < key; });
  return (it != kMapCodes.end() && it->first == prefix) ? it->second : std::string_view();
}

}  // namespace core
