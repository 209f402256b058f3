// The region list "QJreg.txt" as the spot list reads it: the Most Wanted value of a
// district, the hint line of a district, the text of the value and the colour a
// row takes from it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/color.h"
#include "core/palette.h"
#include "core/text_file.h"

namespace core {

// The Most Wanted value of district d: of the lines whose first five characters
// are d exactly, the last one counts; its characters 23 and 24 (as many as exist),
// without their second character when a full stop is among them, read as a
// number, 0 when they are none. Nothing when no line names d.
std::optional<double> mostWantedValue(const TextList& regions, std::string_view d);

// The last line whose first five characters equal the district, or nothing.
std::optional<std::string_view> regionLine(const TextList& regions, std::string_view district);

// The shortest decimal text of a value: 12 as "12", 12.5 as "12.5".
std::string mostWantedText(double value);

// The background a data row takes from its Most Wanted text in the described
// palette (see palette.h): nothing for an empty text, one that is not a whole
// number, or a value of 50 and above (the grid's own colour stays).
std::optional<Color> mostWantedColor(std::string_view mwText);

}  // namespace core
