// The award's web server names each region's map picture by a two-character map
// code; the region prefix of a district code (MO of MO-12) gives it.
#pragma once

#include <string_view>

namespace core {

// The map code of a region prefix, or empty when the prefix is not in the table
// (the prefix must match exactly, upper case).
std::string_view mapCode(std::string_view prefix);

}  // namespace core
