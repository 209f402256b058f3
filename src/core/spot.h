// A spot as the program handles it: read once from Logger32's record, then handed
// from the link to the main window's lookup and on to the spot list.
#pragma once

#include <string>
#include <string_view>

namespace core {

// Where a looked-up callsign came from: a spot record of Logger32, or the
// operator's typing (listed with the last spot's frequency and time).
enum class SpotOrigin { Logger32, Typed };

// The intake a spot came through: Logger32's link, or the program's own DX cluster
// connection. Only the rule for a spot heard through both looks at it.
enum class SpotSource { Logger32, Cluster };

// What the verdict said of a district: none (not in the district list), new, new on
// the spot's band (confirmed on others), worked but not confirmed, confirmed.
enum class Verdict { None, New, NewBand, Worked, Confirmed };

// The fields of one spot record, each as its reader gives it (empty when the record
// has none): the callsign unchanged, the frequency text, the comment with a-z
// upper-cased, the time as "HH:MM", the spotter's callsign.
struct Spot {
  std::string call, freq, comment, time, spotter;
  SpotSource source = SpotSource::Logger32;
  bool operator==(const Spot&) const = default;
};

Spot readSpot(std::string_view record);
// A spot a skimmer made (by its spotter or by its comment), rather than an operator.
bool fromSkimmer(const Spot& spot);

}  // namespace core
