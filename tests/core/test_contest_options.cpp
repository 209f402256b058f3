// The contest options of the spot list: their values, the merge index and the
// ageing of rows, and which spots sound the alert.
#include <gtest/gtest.h>

#include "core/spot_list_options.h"
#include "core/spot_rows.h"

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

TEST(SpotRows, AStationsNewestRowMergesWithinItsWindowOnly) {
  core::SpotRows rows;
  const core::Millis window = minutesToMillis(30);
  rows.append("R3NEW", "KK-33", 0);
  rows.append("R3TWO", "MO-12", 1000);
  rows.append("R3NEW", "KK-33", minutesToMillis(5));  // a repeat listed while merging was off
  rows.append("R3NEW", "AB-12", minutesToMillis(6));  // the same callsign in another district
  const core::Millis later = minutesToMillis(20);
  const struct {
    const char* call;
    const char* district;
    core::Millis now, window;
    std::optional<int> row;
  } cases[] = {{"R3NEW", "KK-33", later, window, 2},        // the newest of the two
               {"r3new", "kk-33", later, window, 2},        // either case
               {"R3NEW", "AB-12", later, window, 3},
               {"R3TWO", "MO-12", later, window, 1},
               {"R3TWO", "MO-12", minutesToMillis(30) + 1001, window, {}},  // just past its window
               {"R3TWO", "MO-12", minutesToMillis(30) + 1000, window, 1},   // at its end
               {"R3NEW", "KK-33", later, 0, {}},            // merging off
               {"R9ZZZ", "KK-33", later, window, {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.call) + " " + c.district + " at " + std::to_string(c.now));
    EXPECT_EQ(rows.mergeable(c.call, c.district, c.now, c.window), c.row);
  }

  // Rows removed in front of a station's row move it up; its own removal forgets
  // it, also where an older row of it remains.
  rows.remove(0, 1);
  EXPECT_EQ(rows.mergeable("R3NEW", "KK-33", later, window), 1);
  rows.remove(1, 1);
  EXPECT_EQ(rows.mergeable("R3NEW", "KK-33", later, window), std::nullopt);
  EXPECT_EQ(rows.size(), 2);
  rows.remove(5, 3);  // outside: nothing
  EXPECT_EQ(rows.size(), 2);
  rows.clear();
  EXPECT_EQ(rows.mergeable("R3TWO", "MO-12", later, window), std::nullopt);
}

TEST(SpotRows, TheAgedRowsAreTheFirstOnes) {
  core::SpotRows rows;
  for (int minute = 0; minute < 10; ++minute) rows.append("R" + std::to_string(minute), "AB-12", minutesToMillis(minute));
  const core::Millis now = minutesToMillis(10);
  const struct {
    int maxAgeMinutes;
    int aged;
  } cases[] = {{0, 0}, {1, 9}, {5, 5}, {10, 0}, {1440, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.maxAgeMinutes);
    EXPECT_EQ(rows.agedCount(now, minutesToMillis(c.maxAgeMinutes)), c.aged);
  }
  // A row that merged took its place anew: it is young again.
  rows.remove(0, 1);
  rows.append("R0", "AB-12", now);
  EXPECT_EQ(rows.agedCount(now, minutesToMillis(5)), 4);
}

TEST(AlertThrottle, OncePerCallsignWithinTheWindow) {
  core::AlertThrottle throttle;
  const core::Millis window = minutesToMillis(10);
  const struct {
    const char* call;
    int second;
    bool sounds;
  } spots[] = {{"R3NEW", 0, true},   {"R3NEW", 60, false}, {"r3new", 599, false}, {"R3TWO", 599, true},
               {"R3NEW", 600, true}, {"R3NEW", 601, false}, {"R3TWO", 1198, false}, {"R3TWO", 1199, true}};
  for (const auto& s : spots) {
    SCOPED_TRACE(std::string(s.call) + " at " + std::to_string(s.second) + " s");
    EXPECT_EQ(throttle.allow(s.call, s.second * core::Millis(1000), window), s.sounds);
  }
  EXPECT_TRUE(throttle.allow("R3NEW", 602000, 0)) << "a window of 0 sounds every spot";
}

TEST(AlertThrottle, ForgetsTheCallsignsWhoseWindowHasPassed) {
  core::AlertThrottle throttle;
  const core::Millis window = minutesToMillis(10);
  for (int i = 0; i < 5000; ++i) throttle.allow("R" + std::to_string(i), i * core::Millis(1000), window);
  // Only the callsigns of the last ten minutes, and those since the last sweep, stay.
  EXPECT_LT(throttle.remembered(), 2500u);
  EXPECT_FALSE(throttle.allow("R4999", 5000 * core::Millis(1000), window));
}

}  // namespace
