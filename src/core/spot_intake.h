// What the main window does with a spot that reaches it, and which comment a lookup
// may read: rules of the lookup's intake, apart from the windows that carry them out.
#pragma once

#include <string_view>

#include "core/spot.h"

namespace core {

// A spot either starts no lookup, goes into the callsign field (whose change looks
// it up), or is looked up again with the field as it stands: the field already
// holds its callsign (the station spotted again, often with nobody else between),
// and the spot list merges repeats, which live on exactly those spots. Without
// merging a repeat changes nothing and is not looked up.
enum class SpotIntake { Ignore, EnterCallsign, LookUpAgain };

struct IntakeSwitches {
  bool takesSpots = true;  // "L32" ticked
  bool russOnly = true;    // the spot list takes Russian stations only
  bool merging = false;    // the spot list merges a station's repeats
};

SpotIntake spotIntake(const Spot& spot, std::string_view callsignField, const IntakeSwitches& switches);

// A spot's comment names the district of the station it was written about. A spot's
// own lookup reads its comment; a typed callsign reads the last spot's comment only
// when it is that spot's callsign (a-z in either case), otherwise no comment at all.
std::string_view lookupComment(std::string_view callsign, const Spot& lastSpot, bool ownSpot);

}  // namespace core
