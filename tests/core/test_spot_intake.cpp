// Which spots a lookup takes, which comment it reads, and what a station's repeats
// do to its row: a feed as a cluster night brings it, the same station again and
// again, often with nobody else between, and late spots from a node's backlog.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/spot_intake.h"
#include "core/spot_rows.h"

namespace {

using core::SpotIntake;

// A feed goes through the intake as the main window takes it: a spot entering the
// field leaves its callsign there, the field keeps it otherwise.
std::vector<SpotIntake> feed(const std::vector<const char*>& calls, core::IntakeSwitches switches) {
  std::string field;
  std::vector<SpotIntake> seen;
  for (const char* call : calls) {
    const core::Spot spot{call, "14025.0", "", "12:00", ""};
    seen.push_back(core::spotIntake(spot, field, switches));
    if (seen.back() == SpotIntake::EnterCallsign) field = call;
  }
  return seen;
}

TEST(SpotIntake, RepeatsAreLookedUpAgainOnlyWhileTheListMerges) {
  constexpr auto I = SpotIntake::Ignore, E = SpotIntake::EnterCallsign, A = SpotIntake::LookUpAgain;
  const std::vector<const char*> night = {"UA1AAA", "UA1AAA", "DL1ABC", "UA1AAA", "DL1ABC", "UA1AAA", "R2BB", "UA1AAA"};
  const struct {
    const char* name;
    core::IntakeSwitches switches;
    std::vector<SpotIntake> expected;
  } cases[] = {
      // Russian stations only: the foreign spots between never reach the field, so
      // every UA1AAA after the first is a repeat.
      {"merging, Russ only", {true, true, true}, {E, A, I, A, I, A, E, E}},
      {"no merging, Russ only", {true, true, false}, {E, I, I, I, I, I, E, E}},
      {"merging, everyone", {true, false, true}, {E, A, E, E, E, E, E, E}},
      {"no merging, everyone", {true, false, false}, {E, I, E, E, E, E, E, E}},
      {"L32 unticked", {false, false, true}, {I, I, I, I, I, I, I, I}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(feed(night, c.switches), c.expected);
  }
  // A field that differs only in case is another text to the edit control.
  EXPECT_EQ(core::spotIntake({"UA1AAA", "", "", "", ""}, "ua1aaa", {true, true, true}), SpotIntake::EnterCallsign);
  EXPECT_EQ(core::spotIntake({"", "", "", "", ""}, "", {true, false, true}), SpotIntake::Ignore);
}

TEST(SpotIntake, ACommentSpeaksForItsOwnStation) {
  const core::Spot last{"UA1AAA", "14025.0", "RDA MO-12", "12:00", "R9XX"};
  const struct {
    const char* callsign;
    bool ownSpot;
    const char* comment;
  } cases[] = {{"UA1AAA", true, "RDA MO-12"},   // the spot's own lookup
               {"UA1AAA", false, "RDA MO-12"},  // typed: the last spot's station
               {"ua1aaa", false, "RDA MO-12"},  // in either case
               {"RA3AA", false, ""},            // another station typed
               {"UA1AA", false, ""},            // a keystroke on the way
               {"R", false, ""},
               {"", false, ""},
               {"UA1AAA/P", false, ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.callsign);
    EXPECT_EQ(core::lookupComment(c.callsign, last, c.ownSpot), c.comment);
  }
}

TEST(SpotRows, ALateSpotCountsButDoesNotTurnItsRowBack) {
  core::SpotRows rows;
  const core::Millis window = core::minutesToMillis(120), hour = core::minutesToMillis(60);
  const auto station = [](core::Millis made, core::Band band = core::Band::m20) {
    return core::ListedSpot{"UA8HHH", "KK-33", band, false, made, "", false};
  };
  const core::Millis now = 3 * hour;
  // Spotted a minute ago, then a backlog spot of 58 minutes ago, then a fresh one.
  const struct {
    core::Millis made;
    core::Band band;
    bool newest;
  } feed[] = {{now - core::minutesToMillis(1), core::Band::m20, true},
              {now - core::minutesToMillis(58), core::Band::m20, false},
              {now, core::Band::m40, true},  // another band: a row of its own
              {now, core::Band::m20, true}};
  for (const auto& f : feed) {
    const auto merged = rows.mergeable(station(f.made, f.band), now, window);
    EXPECT_EQ(rows.append(station(f.made, f.band), now, merged), f.newest);
    if (merged) rows.remove(*merged, 1);
  }
  ASSERT_EQ(rows.size(), 2);
  EXPECT_EQ(rows.spotCount(1), 3) << "the late spot counted on 20 m";
  // The 20 m row ages from its newest spot: an hour's limit keeps it two minutes
  // after the late spot would have let it go.
  const core::AgeLimits limits{hour, 0};
  EXPECT_TRUE(rows.aged(now + core::minutesToMillis(2), limits).empty());
  EXPECT_EQ(rows.aged(now + hour + 1, limits), (std::vector<int>{0, 1}));
}

}  // namespace
