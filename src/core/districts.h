// District codes against the district list and the operator's confirmations.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/text_file.h"

namespace core {

// What the district list says of a code. When several lines carry the code, the
// last one decides; the views point into the list.
struct DistrictInfo {
  bool listed = false;           // some line carries the code
  bool valid = false;            // ... and the deciding one is not "deleted"
  std::string_view description;  // the deciding line from position 7 (the semicolon form: its title)
  std::string_view successor;    // the code a deleted district hands on to; empty for none
};
// In the list's form (districtListForm): in the tabbed form a line whose first five
// characters are the code, in the semicolon form a line after the header whose
// first field is the code.
DistrictInfo lookUpDistrict(std::string_view districtListText, std::string_view code);

// The codes judged for a district, in order: the code itself and, while the one
// reached is deleted and names a successor, that successor; a code met before ends
// the chain. The last one is the code finally judged.
std::vector<std::string> successorChain(std::string_view districtListText, std::string_view code);

// Number of different districts in a sorted confirmations list: in the plain form
// different first five characters (an empty first line does not count), in the CSV
// form different RDA fields.
int countConfirmed(const TextList& sortedConfirmations);
std::string cfmTitle(int count);  // "CFM-" followed by the count

// The line that confirms a district, as the operator reads it. In the plain form,
// of the lines that contain the district anywhere, the first in the confirmations
// list's sorted order, as it stands; in the CSV form, of the lines whose RDA field
// is the district, the first in that order, its fields separated by blanks. Found
// in one pass over the file's bytes, without sorting: the verdict runs at every
// keystroke.
std::optional<std::string> firstConfirmation(std::string_view confirmationsText, std::string_view district);

}  // namespace core
