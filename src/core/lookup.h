// The callsign lookup's rules: district from a spot comment and the watch list;
// the callbook search comes with them.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/callbook.h"

namespace core {

// A candidate district code named in a spot comment (the comment as the link
// window's comment reader returns it), or empty text. `isDistrict` checks a code
// against the district list; it is asked only where the comment's form calls for it.
using DistrictCheck = std::function<bool(const std::string& code)>;
std::string commentRda(std::string_view comment, const DistrictCheck& isDistrict);

// A watch-list entry matches when, upper-cased, it occurs in the callsign field's
// text as typed. An empty entry never matches.
bool watchEntryMatches(std::string_view entry, std::string_view callsignField);

}  // namespace core
