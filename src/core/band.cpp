#include "core/band.h"

#include <array>
#include <optional>

#include "core/text.h"

namespace core {
namespace {

struct BandInfo {
  Band band;
  std::string_view name;      // as ADIF writes it
  std::string_view mhzLabel;  // as the confirmations write it; "" when they have none
  std::uint64_t firstHz, lastHz;
};

constexpr std::array<BandInfo, kBandCount - 1> kBands{{
    {Band::m160, "160m", "1.8", 1'800'000, 2'000'000},
    {Band::m80, "80m", "3.5", 3'500'000, 4'000'000},
    {Band::m60, "60m", "", 5'351'500, 5'366'500},
    {Band::m40, "40m", "7", 7'000'000, 7'300'000},
    {Band::m30, "30m", "10", 10'100'000, 10'150'000},
    {Band::m20, "20m", "14", 14'000'000, 14'350'000},
    {Band::m17, "17m", "18", 18'068'000, 18'168'000},
    {Band::m15, "15m", "21", 21'000'000, 21'450'000},
    {Band::m12, "12m", "24", 24'890'000, 24'990'000},
    {Band::m10, "10m", "28", 28'000'000, 29'700'000},
    {Band::m6, "6m", "50", 50'000'000, 54'000'000},
    {Band::m4, "4m", "", 70'000'000, 70'500'000},
    {Band::m2, "2m", "144", 144'000'000, 148'000'000},
    {Band::cm70, "70cm", "430", 430'000'000, 440'000'000},
}};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<std::uint64_t> frequencyHz(std::string_view text) {
  text = trimBlanks(text);
  const std::size_t sep = text.find_first_of(".,");
  const std::string_view whole = text.substr(0, sep);
  const std::string_view fraction = sep == std::string_view::npos ? std::string_view() : text.substr(sep + 1);
  // Nine digits of kHz already lie far above every band.
  if (whole.empty() || whole.size() > 9) return std::nullopt;
  std::uint64_t units = 0;
  for (char c : whole) {
    if (!isDigit(c)) return std::nullopt;
    units = units * 10 + std::uint64_t(c - '0');
  }
  for (char c : fraction)
    if (!isDigit(c)) return std::nullopt;
  // Below 1000 the unit is MHz (fraction down to Hz: six digits), else kHz (three).
  const bool mhz = units < 1000;
  std::uint64_t hz = units * (mhz ? 1'000'000 : 1'000);
  std::uint64_t scale = mhz ? 100'000 : 100;
  for (std::size_t i = 0; i < fraction.size() && scale > 0; ++i, scale /= 10)
    hz += std::uint64_t(fraction[i] - '0') * scale;
  return hz;
}

std::string_view bandName(Band band) {
  for (const BandInfo& info : kBands)
    if (info.band == band) return info.name;
  return {};
}

Band bandOfFrequency(std::string_view text) {
  const auto hz = frequencyHz(text);
  if (!hz) return Band::None;
  for (const BandInfo& info : kBands)
    if (*hz >= info.firstHz && *hz <= info.lastHz) return info.band;
  return Band::None;
}

Band bandOfLabel(std::string_view label) {
  label = trimBlanks(label);
  if (label.empty()) return Band::None;
  for (const BandInfo& info : kBands)
    if (equalNoCase(label, info.name) || label == info.mhzLabel) return info.band;
  return Band::None;
}

}  // namespace core
