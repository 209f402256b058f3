// The amateur bands from 160 m to 70 cm, and the band of a frequency or of a band
// label as the spot records, the confirmations and the ADIF log write them.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace core {

// None is "no band we know": a frequency outside every band below, a text that is
// no frequency, a label we do not know. Such spots of one station share that one
// band: they are rare (a 5 MHz channel outside the 60 m segment, 11 m, a typo), and
// a band of their own per odd frequency text would keep a station's repeats from
// merging on exactly the bands this table does not know.
enum class Band : std::uint8_t { None, m160, m80, m60, m40, m30, m20, m17, m15, m12, m10, m6, m4, m2, cm70 };
constexpr int kBandCount = int(Band::cm70) + 1;

// "160m" ... "70cm"; "" for None.
std::string_view bandName(Band band);

// The band of a frequency text as Logger32 gives it: kHz with a decimal point
// ("14025.0"), or a comma ("14025,0"), or MHz ("14.025"); blanks around allowed.
// A value below 1000 is MHz: no band lies below 1000 kHz, and none above 1000 MHz,
// so the two never meet. One decimal separator at most, digits only otherwise.
// Each band's edges belong to it (14000.0 and 14350.0 are 20 m, 14350.1 is not).
Band bandOfFrequency(std::string_view text);
// The same text's frequency in Hz; nothing when it is not one of those forms.
std::optional<std::uint64_t> frequencyHz(std::string_view text);

// The band of a label: the confirmations' MHz figures ("1.8", "3.5", "7", "10",
// "14", "18", "21", "24", "28", "50", "144", "430") or ADIF's names ("160m",
// "20m", "70cm", in any case); blanks around allowed. Anything else is None.
Band bandOfLabel(std::string_view label);

}  // namespace core
