#include "core/most_wanted.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace core {
namespace {

// A plain number: optional minus, digits, an optional point with digits after it;
// at least one digit.
std::optional<double> plainNumber(std::string_view s) {
  if (s.empty()) return std::nullopt;
  std::size_t i = s.front() == '-' ? 1 : 0;
  bool digits = false, point = false;
  for (; i < s.size(); ++i) {
    if (s[i] >= '0' && s[i] <= '9') {
      digits = true;
    } else if (s[i] == '.' && !point) {
      point = true;
    } else {
      return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  return std::strtod(std::string(s).c_str(), nullptr);
}

}  // namespace

std::optional<std::string_view> regionLine(const TextList& regions, std::string_view district) {
  std::optional<std::string_view> found;
  for (std::string_view line : regions)
    if (line.substr(0, 5) == district) found = line;
  return found;
}

std::optional<double> mostWantedValue(const TextList& regions, std::string_view d) {
  const auto line = regionLine(regions, d);
  if (!line) return std::nullopt;
  std::string piece(line->size() > 22 ? line->substr(22, 2) : std::string_view());
  if (piece.find('.') != std::string::npos && piece.size() > 1) piece.erase(1, 1);
  return plainNumber(piece).value_or(0.0);
}

std::string mostWantedText(double value) {
  if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e15)
    return std::to_string(static_cast<long long>(value));
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return buffer;
}

std::optional<Color> mostWantedColor(std::string_view mwText) {
  return rowColor(mwText, Verdict::New, Palette::Described);
}

}  // namespace core
