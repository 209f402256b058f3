// District codes against the district list and the operator's confirmations.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/text_file.h"

namespace core {

// What the district list says of a code. When several lines carry the code, the
// last one decides; `description` views into the list.
struct DistrictInfo {
  bool listed = false;               // some line carries the code
  bool valid = false;                // ... and the deciding one is not "deleted"
  std::string_view description;      // position 7 to the end of the deciding line
};
DistrictInfo lookUpDistrict(std::string_view districtListText, std::string_view code);

// Number of different district codes (first five characters) in a sorted
// confirmations list; an empty first line does not count.
int countConfirmed(const TextList& sortedConfirmations);
std::string cfmTitle(int count);  // "CFM-" followed by the count

// The line that confirms a district: of the lines that contain it anywhere, the
// first in the confirmations list's sorted order. Found in one pass over the file's
// bytes, without sorting: the verdict runs at every keystroke.
std::optional<std::string_view> firstConfirmation(std::string_view confirmationsText, std::string_view district);

}  // namespace core
