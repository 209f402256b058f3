// When a spot was made. A record may carry the spot's own time of day (UTC, minutes
// only); a cluster's backlog at connect brings spots an hour old, and a spot list
// that ages its rows must count from that time, not from the spot's arrival.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace core {

// Milliseconds of a steady clock.
using Millis = std::int64_t;
constexpr Millis minutesToMillis(int minutes) { return Millis(minutes) * 60000; }

constexpr Millis kDayMillis = 24 * 60 * 60000;

// A spot time as findTime gives it, "HH:MM" (00:00 to 23:59, blanks around
// allowed), in minutes since midnight; nothing for anything else.
std::optional<int> parseSpotTime(std::string_view text);

// How long before `utcTimeOfDay` (milliseconds since 00:00 UTC) a spot of
// `spotMinute` was made. The time of day alone does not say which day: a spot of
// 23:58 seen at 00:03 is 5 minutes old. A spot time ahead of the clock is the two
// clocks disagreeing, and counts as now, up to kSkewMillis ahead; further ahead it
// is yesterday's. A backlog is a few hours old at most, while a PC clock set in
// local time under the wrong zone is off by hours: halfway round the day divides
// the two.
constexpr Millis kSkewMillis = kDayMillis / 2;
Millis spotAge(int spotMinute, Millis utcTimeOfDay);

// A spot as merging and ageing see its time.
struct SpotStamp {
  Millis made = 0;   // on the caller's steady clock: its arrival less its age
  std::string time;  // "HH:MM" UTC: its own time, or its arrival's when it has none
};
// The stamp of a spot arriving at `now` (steady clock) and `utcTimeOfDay`, whose
// record gave `spotTime` (empty or not a time: the spot counts from its arrival).
SpotStamp stampSpot(std::string_view spotTime, Millis now, Millis utcTimeOfDay);

}  // namespace core
