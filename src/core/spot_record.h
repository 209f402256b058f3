// Reading the fields of a spot record that Logger32 writes into the spot field.
//
// A record is tagged text: "<NAME:LEN>VALUE...". Each reader finds its tag by a
// case-sensitive search for the first occurrence of a fixed text and takes the value
// by the declared length. When the tag is missing or its length cannot be read, the
// caller's result is left as it was, so callers can keep a default in it.
#pragma once

#include <string>
#include <string_view>

namespace core {

// "DXSPOT_CALLSIGN": one length digit for 2..9, two digits for 10..19. A declared
// length of 1 reads "1>" as the length and yields nothing.
void findClx(std::string_view record, std::string& call);

// "DXSPOT_FREQ": exactly one length digit; a declared "10" yields ">".
void findFreq(std::string_view record, std::string& freq);

// "COMMENT:": one or two length digits; the value with a..z upper-cased and every
// other byte (Cyrillic included) as it was.
void findComent(std::string_view record, std::string& comment);

// "<APP_DXSPOT_TIME:4>": four characters presented as "HH:MM".
void findTime(std::string_view record, std::string& time);

// "DXSPOT_SPOTTER": one or two length digits before the ">"; the spotter's callsign
// unchanged ("DK8NE-#" for a skimmer of the Reverse Beacon Network).
void findSpotter(std::string_view record, std::string& spotter);

// The spot intake's test for a Russian station: begins with "R", or with "U" and a
// second letter from "A" to "I". Case-sensitive.
bool isRussianCall(std::string_view call);

}  // namespace core
