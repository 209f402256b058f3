// The band of a spot's frequency and of the logs' band labels, and which spots came
// from a skimmer.
#include <gtest/gtest.h>

#include <string>

#include "core/band.h"
#include "core/skimmer.h"

namespace {

using core::Band;

TEST(Bands, EachBandFromItsFirstToItsLastKilohertz) {
  const struct {
    Band band;
    double first, last;  // kHz
  } bands[] = {{Band::m160, 1800, 2000},      {Band::m80, 3500, 4000},    {Band::m60, 5351.5, 5366.5},
               {Band::m40, 7000, 7300},       {Band::m30, 10100, 10150},  {Band::m20, 14000, 14350},
               {Band::m17, 18068, 18168},     {Band::m15, 21000, 21450},  {Band::m12, 24890, 24990},
               {Band::m10, 28000, 29700},     {Band::m6, 50000, 54000},   {Band::m4, 70000, 70500},
               {Band::m2, 144000, 148000},    {Band::cm70, 430000, 440000}};
  for (const auto& b : bands) {
    SCOPED_TRACE(core::bandName(b.band));  // as "14000.000000"
    EXPECT_EQ(core::bandOfFrequency(std::to_string(b.first)), b.band);
    EXPECT_EQ(core::bandOfFrequency(std::to_string(b.last)), b.band);
    EXPECT_EQ(core::bandOfFrequency(std::to_string(b.first - 0.1)), Band::None);
    EXPECT_EQ(core::bandOfFrequency(std::to_string(b.last + 0.1)), Band::None);
    EXPECT_EQ(core::bandOfLabel(core::bandName(b.band)), b.band);
  }
}

TEST(Bands, FrequencyInKilohertzOrMegahertzWithAPointOrAComma) {
  const struct {
    const char* text;
    Band band;
  } cases[] = {{"14025.0", Band::m20},    {"14025,0", Band::m20},  {" 14025.0\t", Band::m20}, {"14025", Band::m20},
               {"14.025", Band::m20},     {"14,025", Band::m20},   {"7", Band::m40},          {"1.83", Band::m160},
               {"430.1", Band::cm70},     {"5.3575", Band::m60},   {"14025.", Band::m20},     {"14350.0001", Band::m20},
               {"999.9", Band::None},     {"0.5", Band::None},     {"27555.0", Band::None},   {"14025000", Band::None},
               {"1000", Band::None},      {"14,025.0", Band::None}, {"14.025.0", Band::None}, {"-14025", Band::None},
               {"14 025", Band::None},    {".5", Band::None},      {"1e4", Band::None},       {"", Band::None},
               {"abc", Band::None},       {"99999999999999999999", Band::None}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(core::bandOfFrequency(c.text), c.band);
  }
}

TEST(Bands, LabelsOfTheConfirmationsAndOfAdif) {
  const struct {
    const char* label;
    Band band;
  } cases[] = {{"1.8", Band::m160}, {"3.5", Band::m80},  {"7", Band::m40},   {"10", Band::m30},    {"14", Band::m20},
               {"18", Band::m17},   {"21", Band::m15},   {"24", Band::m12},  {"28", Band::m10},    {"50", Band::m6},
               {"144", Band::m2},   {"430", Band::cm70}, {"20M", Band::m20}, {" 70Cm ", Band::cm70}, {"60m", Band::m60},
               {"4m", Band::m4},    {"11m", Band::None}, {"20", Band::None}, {"14.0", Band::None},   {"m", Band::None},
               {"23cm", Band::None}, {"", Band::None}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(core::bandOfLabel(c.label), c.band);
  }
  EXPECT_EQ(core::bandName(Band::None), "");
}

TEST(Skimmers, BySpotterOrByTheSignalAndSpeedOfTheComment) {
  for (const char* comment : {"12 DB 24 WPM CQ", "  5 DB 18 WPM", "CW 12 DB 24 WPM CQ", "CW    7 DB  22 WPM  CQ",
                              "RTTY 15 DB 45 BPS CQ", "-3 DB 22 WPM", "12 db 24 wpm", "PSK31 9 DB 31 BPS"})
    EXPECT_TRUE(core::isSkimmerComment(comment)) << comment;
  for (const char* comment : {"", "12 DB", "12DB 24WPM", "599 TNX", "+10 DB TNX", "123 DB 24 WPM", "12 DB 2400 WPM",
                              "12 DB 24 WPMX", "12 DBM 24 WPM", "CQ TEST 12 DB 24 WPM", "RDA AB-12 12 DB 24 WPM",
                              "CONTEST 12 DB 24 WPM", "12 DB 24", "CW"})
    EXPECT_FALSE(core::isSkimmerComment(comment)) << comment;
  for (const char* spotter : {"DK8NE-#", " W3LPL-2-# "}) EXPECT_TRUE(core::isSkimmerSpotter(spotter)) << spotter;
  for (const char* spotter : {"DK8NE", "DK8NE-1", "DK8NE#", "-#", "#", ""})
    EXPECT_FALSE(core::isSkimmerSpotter(spotter)) << spotter;

  EXPECT_TRUE(core::isSkimmerSpot("<DXSPOT_CALLSIGN:5>R3NEW<DXSPOT_SPOTTER:7>DK8NE-#<DXSPOT_COMMENT:2>CQ"));
  EXPECT_TRUE(core::isSkimmerSpot("<DXSPOT_SPOTTER:5>DK8NE<DXSPOT_COMMENT:15>cw 12 dB 24 WPM"));
  EXPECT_FALSE(core::isSkimmerSpot("<DXSPOT_SPOTTER:5>DK8NE<DXSPOT_COMMENT:9>rda ab-12"));
  EXPECT_FALSE(core::isSkimmerSpot("<DXSPOT_CALLSIGN:5>R3NEW<DXSPOT_FREQ:7>14025.0"));
}

}  // namespace
