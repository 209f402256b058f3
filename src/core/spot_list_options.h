// The spot list's options for a contest evening: repeats of a station merged into
// its row, old rows removed (skimmers' sooner, if wished), listing without taking
// the focus, and an alert sound at most once per callsign and district in a while.
// Every option's default is the spot list as it always behaved.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/spot_rows.h"

namespace core {

struct SpotListOptions {
  int MergeMinutes = 0;   // a repeat within this many minutes updates its row; 0: off
  int MaxAgeMinutes = 0;  // rows older than this go; 0: off
  bool ListWithoutFocus = false;
  bool AlertSound = false;
  std::wstring AlertSoundFile;  // a wave file, its name as the operator gave it; empty: the system's exclamation sound
  int AlertSoundMinutes = 10;  // at most one sound per callsign and district within this many minutes
  // Rows whose last spot a skimmer made go after this many minutes; 0: as
  // MaxAgeMinutes. Last, so that the options written in order keep their places.
  int MaxAgeSkimmerMinutes = 0;

  bool operator==(const SpotListOptions&) const = default;
};

// The age limits the options set.
AgeLimits ageLimits(const SpotListOptions& options);

// The longest time an option counts in: a day.
constexpr int kMaxOptionMinutes = 1440;

// A number of minutes as the settings file or the options dialog gives it: a whole
// number from 0 to kMaxOptionMinutes, in the settings file's integer notation
// (decimal, "0x" or "$" hexadecimal), blanks around it allowed. Anything else is
// nothing, and the option keeps its default.
std::optional<int> parseOptionMinutes(std::string_view text);

// A wave file begins "RIFF", four bytes of length, "WAVE": anything else is not
// worth handing to the player.
bool looksLikeWave(std::string_view firstBytes);

// Which listed spots sound the alert: a callsign in a district sounds once, then
// not again until `window` has passed since; a rover moving on to a new district
// sounds there at once. Callsigns and districts compare with a–z in either case.
class AlertThrottle {
 public:
  // True when the callsign in the district may sound now; the sound then counts
  // from now.
  bool allow(std::string_view call, std::string_view district, Millis now, Millis window);
  std::size_t remembered() const { return last_.size(); }

 private:
  std::unordered_map<std::string, Millis> last_;  // callsign and district -> last sound
  std::size_t sweepAt_ = 1024;                    // forget those whose window has passed beyond this many
};

}  // namespace core
