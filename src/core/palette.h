// The program's colours in one place: the verdict bar's and the spot rows', in the
// described palette, in one told apart with every common colour-vision deficiency,
// and in the system's own colours while Windows is in high contrast.
#pragma once

#include <optional>
#include <string_view>

#include "core/color.h"
#include "core/spot.h"

namespace core {

enum class Palette {
  Described,     // red for new, green for confirmed; pink, yellow, light green rows
  ColourBlind,   // orange for new, sky blue for confirmed (Okabe and Ito's colours)
  HighContrast,  // the system's colours: the texts say it all
};

// The verdict bar's background and text.
struct BarLook {
  Color background;
  Color text;
};
BarLook verdictLook(Verdict verdict, Palette palette);

// A data row's background by its Most Wanted text and its verdict: a district worked
// but not confirmed has a tint of its own. Nothing keeps the grid's own colour: an
// empty text, one that is not a whole number, a share of 50 and above.
std::optional<Color> rowColor(std::string_view mwText, Verdict verdict, Palette palette);

// What the row's colour tells, in words: "Most Wanted, under 15 %", "worked, not
// confirmed"; empty for a row without a colour of its own.
std::string_view rowColorMeaning(std::string_view mwText, Verdict verdict);

// The described palette's row colours.
constexpr Color kMwPink = 11972857;       // below 15
constexpr Color kMwYellow = 65535;        // 15 to 29
constexpr Color kMwLightGreen = 8454016;  // 30 to 49

}  // namespace core
