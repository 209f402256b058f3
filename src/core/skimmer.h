// Spots that came from a skimmer (a receiver that decodes CW or RTTY by itself, as
// those of the Reverse Beacon Network) rather than from an operator. Skimmers spot
// the same station again every few minutes, so their rows may age sooner.
#pragma once

#include <string_view>

namespace core {

// A skimmer's spotter callsign ends in "-#" ("DK8NE-#", "W3LPL-2-#"); blanks around
// are ignored.
bool isSkimmerSpotter(std::string_view spotter);

// A skimmer's comment begins, after blanks and perhaps its mode ("CW", "RTTY",
// "PSK31": a letter, then letters or digits, six at most), with the signal and the
// speed: a signal of one or two digits, perhaps signed, "dB", a speed of one to
// three digits and "WPM" (or "BPS" for RTTY), each apart from the next by blanks,
// then the end or a blank: "12 dB 24 WPM CQ", "CW  5 dB 18 WPM". Case is ignored,
// since findComent upper-cases the comment. An operator's "+10 dB tnx" or
// "12dB 24WPM" somewhere in a comment is not taken for one.
bool isSkimmerComment(std::string_view comment);

// A spot record from a skimmer: by its spotter ("DXSPOT_SPOTTER") or by its comment.
bool isSkimmerSpot(std::string_view record);

}  // namespace core
