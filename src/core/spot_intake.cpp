#include "core/spot_intake.h"

#include "core/spot_record.h"
#include "core/text.h"

namespace core {

SpotIntake spotIntake(const Spot& spot, std::string_view callsignField, const IntakeSwitches& switches) {
  if (!switches.takesSpots) return SpotIntake::Ignore;
  if (switches.russOnly && !isRussianCall(spot.call)) return SpotIntake::Ignore;
  // The field compares as the edit control does: the same text is no change.
  if (callsignField != spot.call) return SpotIntake::EnterCallsign;
  return switches.merging && !spot.call.empty() ? SpotIntake::LookUpAgain : SpotIntake::Ignore;
}

std::string_view lookupComment(std::string_view callsign, const Spot& lastSpot, bool ownSpot) {
  if (ownSpot) return lastSpot.comment;
  if (callsign.empty() || toUpperAscii(callsign) != toUpperAscii(lastSpot.call)) return {};
  return lastSpot.comment;
}

}  // namespace core
