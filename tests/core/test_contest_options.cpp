// The contest options of the spot list: their values, the merge index by station
// and band, the ageing of rows by when their spots were made, and which spots
// sound the alert.
#include <gtest/gtest.h>

#include "core/spot_list_options.h"
#include "core/spot_rows.h"
#include "core/text.h"

namespace {

using core::minutesToMillis;

TEST(ContestOptions, MinutesFromZeroToADayAndAnythingElseIsNothing) {
  const struct {
    const char* text;
    std::optional<int> expected;
  } cases[] = {{"0", 0},         {"30", 30},       {" 12\t", 12},        {"1440", 1440},      {"0x1E", 30},
               {"$10", 16},      {"1441", {}},     {"-1", {}},           {"", {}},            {"ten", {}},
               {"12 min", {}},   {"1.5", {}},      {"99999999999", {}},  {"-0x10", {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(core::parseOptionMinutes(c.text), c.expected);
  }
}

TEST(ContestOptions, OnlyARiffWaveHeaderIsAWaveFile) {
  EXPECT_TRUE(core::looksLikeWave(std::string("RIFF\x24\0\0\0WAVEfmt ", 16)));
  for (const std::string bytes : {"", "RIFF\x24\0\0\0WAV", "RIFF\x24\0\0\0AVI LIST", "ID3\x03 mp3 data here",
                                  "<html>not found</html>"}) {
    SCOPED_TRACE(bytes);
    EXPECT_FALSE(core::looksLikeWave(bytes));
  }
}

// A spot of the station on 20 m, made when it arrives, at no time of its own.
core::ListedSpot spot(const char* call, const char* district, core::Band band = core::Band::m20, core::Millis made = 0,
                bool skimmer = false, const char* time = "") {
  return {call, district, band, skimmer, made, time};
}

TEST(SpotRows, AStationsNewestRowOnItsBandMergesWithinItsWindowOnly) {
  core::SpotRows rows;
  const core::Millis window = minutesToMillis(30);
  rows.append(spot("R3NEW", "KK-33"), 0);
  rows.append(spot("R3TWO", "MO-12"), 1000);
  rows.append(spot("R3NEW", "KK-33"), minutesToMillis(5));  // a repeat listed while merging was off
  rows.append(spot("R3NEW", "AB-12"), minutesToMillis(6));  // the same callsign in another district
  rows.append(spot("R3NEW", "KK-33", core::Band::m40), minutesToMillis(7));  // and on another band
  const core::Millis later = minutesToMillis(20);
  const struct {
    core::ListedSpot spot;
    core::Millis now, window;
    std::optional<int> row;
  } cases[] = {{spot("R3NEW", "KK-33"), later, window, 2},  // the newest of the two
               {spot("r3new", "kk-33"), later, window, 2},  // either case
               {spot("R3NEW", "AB-12"), later, window, 3},  {spot("R3TWO", "MO-12"), later, window, 1},
               {spot("R3NEW", "KK-33", core::Band::m40), later, window, 4},
               {spot("R3NEW", "KK-33", core::Band::m15), later, window, {}},
               {spot("R3TWO", "MO-12"), minutesToMillis(30) + 1001, window, {}},  // just past its window
               {spot("R3TWO", "MO-12"), minutesToMillis(30) + 1000, window, 1},   // at its end
               {spot("R3NEW", "KK-33"), later, 0, {}},                            // merging off
               {spot("R9ZZZ", "KK-33"), later, window, {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.spot.call) + " " + std::string(core::bandName(c.spot.band)) + " at " +
                 std::to_string(c.now));
    EXPECT_EQ(rows.mergeable(c.spot, c.now, c.window), c.row);
  }

  // Rows removed in front of a station's row move it up; its own removal forgets
  // it, also where an older row of it remains.
  rows.remove(0, 1);
  EXPECT_EQ(rows.mergeable(spot("R3NEW", "KK-33"), later, window), 1);
  rows.remove(1, 1);
  EXPECT_EQ(rows.mergeable(spot("R3NEW", "KK-33"), later, window), std::nullopt);
  EXPECT_EQ(rows.size(), 3);
  rows.remove(5, 3);  // outside: nothing
  EXPECT_EQ(rows.size(), 3);
  rows.clear();
  EXPECT_EQ(rows.mergeable(spot("R3TWO", "MO-12"), later, window), std::nullopt);
}

TEST(SpotRows, AMergedRowCountsItsSpotsSinceTheFirst) {
  core::SpotRows rows;
  const core::Millis window = minutesToMillis(30);
  const struct {
    const char* time;
    core::Band band;
    int row, spots;  // the new row, and its count
    const char* since;
  } spots[] = {{"18:04", core::Band::m20, 0, 1, ""},
               {"18:06", core::Band::m40, 1, 1, ""},  // another band: a row of its own
               {"18:09", core::Band::m20, 1, 2, "\xB7 2 spots since 18:04"},
               {"18:15", core::Band::m20, 1, 3, "\xB7 3 spots since 18:04"},
               {"18:16", core::Band::m40, 1, 2, "\xB7 2 spots since 18:06"}};
  for (const auto& s : spots) {
    SCOPED_TRACE(s.time);
    const core::ListedSpot next = spot("R3NEW", "KK-33", s.band, 0, false, s.time);
    const auto merged = rows.mergeable(next, 0, window);
    rows.append(next, 0, merged);
    if (merged) rows.remove(*merged, 1);
    ASSERT_EQ(rows.size() - 1, s.row);
    EXPECT_EQ(rows.spotCount(s.row), s.spots);
    EXPECT_EQ(core::spotsSinceText(rows.spotCount(s.row), rows.firstTime(s.row)), s.since);
  }
}

TEST(SpotRows, RowsAgeByWhenTheirSpotWasMadeOutOfTheirOrder) {
  core::SpotRows rows;
  const core::Millis now = minutesToMillis(180);
  // Made at minutes 170, 175 by a skimmer, 60 (a backlog), 178, 150 and 179 by skimmers, 100.
  for (const auto& [minute, skimmer] : {std::pair{170, false}, {175, true}, {60, false}, {178, false}, {150, true},
                                        {179, true}, {100, false}})
    rows.append(spot("R3NEW", "KK-33", core::Band::m20, minutesToMillis(minute), skimmer), now);
  const struct {
    int normal, skimmer;
    std::vector<int> aged;
  } cases[] = {{0, 0, {}},     {45, 45, {2, 6}}, {45, 4, {1, 2, 4, 6}}, {0, 4, {1, 4}},
               {200, 200, {}}, {9, 0, {0, 2, 6}}, {1, 1, {0, 1, 2, 3, 4, 6}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.normal) + " and " + std::to_string(c.skimmer) + " minutes");
    const core::AgeLimits limits{minutesToMillis(c.normal), minutesToMillis(c.skimmer)};
    // Asked twice: rows left in place (the one under the pointer) are aged still.
    EXPECT_EQ(rows.aged(now, limits), c.aged);
    EXPECT_EQ(rows.aged(now, limits), c.aged);
  }
  // The aged rows removed, the others are still found, at their new places.
  const core::AgeLimits limits{minutesToMillis(45), minutesToMillis(4)};
  for (int row : {6, 4, 2, 1}) rows.remove(row, 1);
  EXPECT_EQ(rows.aged(now, limits), std::vector<int>{});
  EXPECT_EQ(rows.aged(now + minutesToMillis(50), limits), (std::vector<int>{0, 1, 2}));

  // Many rows go at once, aged or not yet; those left age once each.
  rows.clear();
  for (int i = 0; i < 1000; ++i) rows.append(spot("R3NEW", "KK-33", core::Band::m20, minutesToMillis(i)), 0);
  const core::AgeLimits halfADay{minutesToMillis(450), 0};
  EXPECT_EQ(rows.aged(minutesToMillis(1100), halfADay).size(), 650u);  // made before minute 650
  rows.remove(0, 600);
  const auto aged = rows.aged(minutesToMillis(1100), halfADay);
  ASSERT_EQ(aged.size(), 50u);
  EXPECT_EQ(aged.back(), 49);
}

TEST(SpotRows, ASpotOlderThanItsLimitIsNotListed) {
  const core::AgeLimits limits{minutesToMillis(45), minutesToMillis(10)}, skimmersOnly{0, minutesToMillis(10)};
  const struct {
    core::Millis made;
    bool skimmer;
    core::AgeLimits limits;
    bool tooOld;
  } cases[] = {{minutesToMillis(55), false, limits, false}, {minutesToMillis(55) - 1, false, limits, true},
               {minutesToMillis(90), true, limits, false},  {minutesToMillis(90) - 1, true, limits, true},
               {0, false, {}, false},                       {0, true, skimmersOnly, true}};
  for (const auto& c : cases) {
    const core::ListedSpot s = spot("R3NEW", "KK-33", core::Band::m20, c.made, c.skimmer);
    EXPECT_EQ(core::tooOldToList(s, minutesToMillis(100), c.limits), c.tooOld) << c.made << " " << c.skimmer;
  }
  // The skimmers' limit left at 0 is the operators'.
  core::SpotListOptions chosen;
  chosen.MaxAgeMinutes = 45;
  EXPECT_EQ(core::ageLimits(chosen).skimmer, minutesToMillis(45));
  chosen.MaxAgeSkimmerMinutes = 10;
  EXPECT_EQ(core::ageLimits(chosen).skimmer, minutesToMillis(10));
  EXPECT_EQ(core::ageLimits(chosen).normal, minutesToMillis(45));
}

TEST(SpotTime, AgeCountsAcrossMidnightAndAFutureTimeIsNow) {
  const auto utc = [](int h, int m, int s) { return core::Millis(((h * 60 + m) * 60 + s) * 1000); };
  const struct {
    const char* spot;
    core::Millis utcNow, age;
  } cases[] = {{"23:58", utc(0, 3, 0), minutesToMillis(5)},   {"18:04", utc(18, 4, 30), 30000},
               {"16:00", utc(18, 0, 0), minutesToMillis(120)},  // a backlog
               {"18:05", utc(18, 4, 30), 0},                    // a clock behind
               {"20:00", utc(18, 0, 0), 0},                     {"01:00", utc(23, 0, 0), 0},
               {"06:00", utc(18, 0, 0), minutesToMillis(720)},  // half a day: yesterday's
               {"05:59", utc(18, 0, 0), 0},                     {" 00:00 ", utc(0, 0, 0), 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.spot);
    const auto minute = core::parseSpotTime(c.spot);
    ASSERT_TRUE(minute.has_value());
    EXPECT_EQ(core::spotAge(*minute, c.utcNow), c.age);
    const core::SpotStamp stamp = core::stampSpot(c.spot, 5'000'000, c.utcNow);
    EXPECT_EQ(stamp.made, 5'000'000 - c.age);
    EXPECT_EQ(stamp.time, core::trimBlanks(c.spot));
  }
  // No time of its own: the spot counts from its arrival, and shows that time.
  for (const char* none : {"", "24:00", "12:60", "1200", "12-00", "9:15", "ab:cd", ":"}) {
    SCOPED_TRACE(none);
    EXPECT_FALSE(core::parseSpotTime(none).has_value());
    const core::SpotStamp stamp = core::stampSpot(none, 5'000'000, utc(9, 7, 59));
    EXPECT_EQ(stamp.made, 5'000'000);
    EXPECT_EQ(stamp.time, "09:07");
  }
}

TEST(AlertThrottle, OncePerCallsignAndDistrictWithinTheWindow) {
  core::AlertThrottle throttle;
  const core::Millis window = minutesToMillis(10);
  const struct {
    const char* call;
    const char* district;
    int second;
    bool sounds;
  } spots[] = {{"R3NEW", "KK-33", 0, true},    {"R3NEW", "KK-33", 60, false}, {"R3NEW", "AB-12", 61, true},
               {"r3new", "kk-33", 599, false}, {"R3TWO", "KK-33", 599, true}, {"R3NEW", "KK-33", 600, true},
               {"R3NEW", "KK-33", 601, false}, {"R3NEW", "AB-12", 660, false}, {"R3NEW", "AB-12", 661, true},
               {"R3TWO", "KK-33", 1198, false}, {"R3TWO", "KK-33", 1199, true}};
  for (const auto& s : spots) {
    SCOPED_TRACE(std::string(s.call) + " " + s.district + " at " + std::to_string(s.second) + " s");
    EXPECT_EQ(throttle.allow(s.call, s.district, s.second * core::Millis(1000), window), s.sounds);
  }
  EXPECT_TRUE(throttle.allow("R3NEW", "KK-33", 602000, 0)) << "a window of 0 sounds every spot";
}

TEST(AlertThrottle, ForgetsTheCallsignsWhoseWindowHasPassed) {
  core::AlertThrottle throttle;
  const core::Millis window = minutesToMillis(10);
  for (int i = 0; i < 5000; ++i) throttle.allow("R" + std::to_string(i), "KK-33", i * core::Millis(1000), window);
  // Only the callsigns of the last ten minutes, and those since the last sweep, stay.
  EXPECT_LT(throttle.remembered(), 2500u);
  EXPECT_FALSE(throttle.allow("R4999", "KK-33", 5000 * core::Millis(1000), window));
}

}  // namespace
