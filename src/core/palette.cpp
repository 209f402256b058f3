#include "core/palette.h"

#include <charconv>

namespace core {
namespace {

// The Most Wanted share as a whole number; nothing for what is none.
std::optional<long long> share(std::string_view mwText) {
  std::string_view digits = mwText;
  if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.remove_prefix(1);
  if (digits.empty()) return std::nullopt;
  long long v = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
  if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return mwText.front() == '-' ? -v : v;
}

// 0: under 15, 1: under 30, 2: under 50; nothing above.
std::optional<int> shareBand(std::string_view mwText) {
  const auto v = share(mwText);
  if (!v || *v >= 50) return std::nullopt;
  return *v < 15 ? 0 : *v < 30 ? 1 : 2;
}

}  // namespace

BarLook verdictLook(Verdict verdict, Palette palette) {
  if (palette == Palette::HighContrast) return {clWindow, clWindowText};
  const bool told = palette == Palette::ColourBlind;
  switch (verdict) {
    case Verdict::Confirmed:
      return {told ? rgb(86, 180, 233) : clGreen, clBtnText};
    case Verdict::Worked:
      return {told ? rgb(240, 228, 66) : rgb(255, 200, 0), clBtnText};
    case Verdict::NewBand:
      return {told ? rgb(204, 121, 167) : rgb(64, 160, 255), clBtnText};
    case Verdict::New:
    case Verdict::None:
      break;
  }
  return {told ? rgb(230, 159, 0) : clRed, clBtnText};
}

std::optional<Color> rowColor(std::string_view mwText, Verdict verdict, Palette palette) {
  if (palette == Palette::HighContrast) return std::nullopt;
  const bool told = palette == Palette::ColourBlind;
  if (verdict == Verdict::Worked) return told ? rgb(215, 215, 215) : rgb(176, 216, 240);
  const auto band = shareBand(mwText);
  if (!band) return std::nullopt;
  static constexpr Color kDescribed[] = {kMwPink, kMwYellow, kMwLightGreen};
  static constexpr Color kTold[] = {rgb(247, 197, 120), rgb(245, 238, 150), rgb(180, 220, 245)};
  return (told ? kTold : kDescribed)[*band];
}

std::string_view rowColorMeaning(std::string_view mwText, Verdict verdict) {
  if (verdict == Verdict::Worked) return "worked, not confirmed";
  const auto band = shareBand(mwText);
  if (!band) return {};
  static constexpr std::string_view kMeaning[] = {"Most Wanted, under 15 %", "Most Wanted, under 30 %",
                                                  "Most Wanted, under 50 %"};
  return kMeaning[*band];
}

}  // namespace core
