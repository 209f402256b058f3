// Text commands to Logger32 and the frequency text of its frequency reports.
//
// A command is a run of "<NAME:LEN>VALUE" fields; LEN is the byte count of the value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace core {

// "<APP_CLICK_DXSPOT:LEN>" freq "00|" call: tunes Logger32 to a spot.
std::string spotClickCommand(std::string_view freq, std::string_view call);

// "<STATE:2>" region "<CNTY:2>" number, cut from a district code such as "AB-12":
// the region is the code without its 3rd to 5th characters, the number the code
// without its 1st to 3rd. Both lengths stay the digit 2, as Logger32 expects them.
std::string spotDistrictCommand(std::string_view district);

// "<APP_SET_FREQ_MODE:LEN>" qrg "|CW-R" and "... qrg "|USB".
std::string cwCommand(std::string_view qrg);
std::string ssbCommand(std::string_view qrg);

// The decimal digits with "," in front of the last three, or in front of all of
// them when there are fewer than four: 14025000 -> "14025,000", 123 -> ",123".
std::string frequencyText(std::uint32_t frequency);

}  // namespace core
