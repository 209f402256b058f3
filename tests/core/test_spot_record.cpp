#include "core/spot_record.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// What a reader leaves in a result that held "keep" before.
template <class Reader>
std::string read(Reader reader, std::string_view record) {
  std::string result = "keep";
  reader(record, result);
  return result;
}

struct Case {
  const char* record;
  const char* expected;
};

void check(void (*reader)(std::string_view, std::string&), std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.record);
    EXPECT_EQ(read(reader, c.record), c.expected);
  }
}

TEST(SpotRecord, ReadsCallsignByOneOrTwoLengthDigits) {
  check(core::findClx, {
      {"<DXSPOT_CALLSIGN:5>UA1AA<DXSPOT_FREQ:7>14025.0", "UA1AA"},
      {"<APP_DXSPOT_CALLSIGN:6>R9ABCD", "R9ABCD"},            // a longer tag name counts too
      {"<DXSPOT_CALLSIGN:12>UA1AAA/P/QRPX", "UA1AAA/P/QRP"},  // two digits, 12 bytes after ">"
      {"<DXSPOT_CALLSIGN:19>ABCDEFGHIJKLMNOPQRS", "ABCDEFGHIJKLMNOPQRS"},
      {"<DXSPOT_CALLSIGN:2>ua", "ua"},                        // no case change
      {"<DXSPOT_CALLSIGN:0>X", ""},
      {"<DXSPOT_CALLSIGN:9>UA1", "UA1"},                      // the record ends first
      {"<DXSPOT_CALLSIGN:1>R", "keep"},                       // "1>" is no number
      {"<DXSPOT_CALLSIGN:x>R", "keep"},
      {"<DXSPOT_CALLSIGN:", "keep"},
      {"<DXSPOT_CALLSIGN:1", "keep"},                         // two digits wanted, one there
      {"<DXSPOT_CALLSIGN:5>", ""},
      {"<dxspot_callsign:5>UA1AA", "keep"},                   // tag names are case-sensitive
      {"", "keep"},
      {"<DXSPOT_CALLSIGN:3>UA1<DXSPOT_CALLSIGN:3>UA2", "UA1"},  // the first occurrence counts
  });
}

TEST(SpotRecord, ReadsFrequencyByOneLengthDigitOnly) {
  check(core::findFreq, {
      {"<DXSPOT_FREQ:7>14025.0<DXSPOT_CALLSIGN:5>UA1AA", "14025.0"},
      {"<DXSPOT_FREQ:10>14025.0000", ">"},  // only "1" is read; the ">" lies at the value's place
      {"<DXSPOT_FREQ:0>", ""},
      {"<DXSPOT_FREQ:9>3505", "3505"},
      {"<DXSPOT_FREQ:-5>3505", "keep"},
      {"<DXSPOT_FREQ:", "keep"},
      {"DXSPOT_FRE", "keep"},
  });
}

TEST(SpotRecord, ReadsCommentUpperCasingLatinLettersOnly) {
  // "up RDA ab-12 " and Cyrillic "мск" (Windows-1251 0xEC 0xF1 0xEA).
  check(core::findComent, {
      {"<DXSPOT_COMMENT:5>ab-12<X:1>y", "AB-12"},
      {"<COMMENT:16>up rda ab-12 \xEC\xF1\xEA", "UP RDA AB-12 \xEC\xF1\xEA"},
      {"<COMMENT:0><DXSPOT_FREQ:1>7", ""},
      {"<COMMENT:99>tail", "TAIL"},
      {"<COMMENT:10>0123456789", "0123456789"},
      {"<COMMENT:05>abcde", ">ABCD"},  // "05" reads as 5, whose value starts at position 3
      {"<COMMENT:a>x", "keep"},
      {"<COMMENT:5", "keep"},
      {"<COMMENT:", "keep"},
      {"comment:5>abc", "keep"},
  });
}

TEST(SpotRecord, ReadsTimeAsHoursColonMinutes) {
  check(core::findTime, {
      {"<APP_DXSPOT_TIME:4>2359<X:0>", "23:59"},
      {"<DXSPOT_FREQ:1>7<APP_DXSPOT_TIME:4>0915", "09:15"},
      {"<APP_DXSPOT_TIME:4>235", "23:5"},
      {"<APP_DXSPOT_TIME:4>2", "2:"},
      {"<APP_DXSPOT_TIME:4>", ":"},
      {"<APP_DXSPOT_TIME:5>23590", "keep"},  // the whole tag is searched
  });
}

TEST(SpotRecord, ReadsSpotterByOneOrTwoLengthDigits) {
  check(core::findSpotter, {
      {"<DXSPOT_CALLSIGN:5>UA1AA<DXSPOT_SPOTTER:7>DK8NE-#<DXSPOT_FREQ:7>14025.0", "DK8NE-#"},
      {"<DXSPOT_SPOTTER:10>W3LPL-22-#", "W3LPL-22-#"},
      {"<DXSPOT_SPOTTER:0><X:1>y", ""},
      {"<DXSPOT_SPOTTER:9>DK8NE", "DK8NE"},  // the record ends first
      {"<DXSPOT_SPOTTER:123>DK8NE-#", "keep"},
      {"<DXSPOT_SPOTTER:7", "keep"},
      {"<DXSPOT_SPOTTER:>DK8NE-#", "keep"},
      {"<dxspot_spotter:7>DK8NE-#", "keep"},
  });
}

TEST(SpotRecord, ReadersAcceptAnyByteAroundTheirField) {
  static constexpr char bytes[] = "\0\xFF<DXSPOT_CALLSIGN:3>R\0A<DXSPOT_FREQ:1>\0";
  const std::string record(bytes, sizeof bytes - 1);
  EXPECT_EQ(read(core::findClx, record), std::string("R\0A", 3));
  EXPECT_EQ(read(core::findFreq, record), std::string("\0", 1));
}

TEST(SpotIntake, LetsOnlyRussianCallsignsThrough) {
  for (const char* call : {"R1ABC", "RA3XX", "R3DEMO", "UA1AAA", "UA1ABC", "UB5K", "UI8A", "UI9X", "R"}) {
    SCOPED_TRACE(call);
    EXPECT_TRUE(core::isRussianCall(call));
  }
  for (const char* call : {"UR5AA", "UT1A", "UN7Q", "UJ1A", "U", "r1abc", "ua1aaa", "DL1ABC", "", " R1A"}) {
    SCOPED_TRACE(call);
    EXPECT_FALSE(core::isRussianCall(call));
  }
}

}  // namespace
