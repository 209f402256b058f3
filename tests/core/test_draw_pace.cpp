// The pace at which a flood of spots reaches the screen.
#include <gtest/gtest.h>

#include <vector>

#include "core/draw_pace.h"

namespace {

using core::Millis;

// Spots every `gap` ms for `count` spots through a window drawn at its pace: the
// times it was drawn, and how long each spot waited to be shown.
struct Drawn {
  std::vector<Millis> draws;
  Millis longestWait = 0;
};
Drawn feed(Millis interval, Millis gap, int count) {
  core::DrawPace pace(interval);
  Drawn d;
  std::optional<Millis> due;  // the drawing the held changes wait for
  std::vector<Millis> waiting;
  const auto draw = [&](Millis at) {
    pace.drawn(at);
    d.draws.push_back(at);
    for (Millis made : waiting) d.longestWait = std::max(d.longestWait, at - made);
    waiting.clear();
    due.reset();
  };
  for (int i = 0; i < count; ++i) {
    const Millis now = 1000 + i * gap;
    if (due && *due <= now) draw(*due);
    waiting.push_back(now);
    const Millis when = pace.due(now);
    if (when <= now) draw(now);
    else if (!due) due = when;
  }
  if (due) draw(*due);
  return d;
}

TEST(DrawPace, AHumanPaceIsDrawnAtOnceAFloodAFewTimesASecondWithItsLastSpot) {
  const struct {
    Millis gap;
    int count;
    std::size_t draws;  // all of them
    bool waits;
  } cases[] = {
      {1000, 10, 10, false},  // a spot a second
      {200, 10, 10, false},   // five a second: still every one, at once
      {16, 625, 68, true},    // a contest's 62.5 a second for 10 s: every 150 ms
      {50, 200, 68, true},    // 20 a second for 10 s
      {1, 3, 2, true},        // a burst: the first at once, the rest together
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.gap);
    const Drawn d = feed(150, c.gap, c.count);
    EXPECT_EQ(d.draws.size(), c.draws);
    if (c.waits)
      EXPECT_LE(d.longestWait, 150) << "the latest spot is drawn within one interval";
    else
      EXPECT_EQ(d.longestWait, 0);
    EXPECT_EQ(d.draws.front(), 1000) << "the first spot after a quiet spell is drawn at once";
    for (std::size_t i = 1; i < d.draws.size(); ++i) EXPECT_GE(d.draws[i] - d.draws[i - 1], std::min<Millis>(150, c.gap));
  }
}

TEST(DrawPace, NoPaceAndAClockThatWentBackWaitNoLongerThanOneInterval) {
  core::DrawPace none(0);
  none.drawn(500);
  EXPECT_EQ(none.due(510), 510);
  core::DrawPace pace(150);
  EXPECT_EQ(pace.due(7), 7) << "never drawn";
  pace.drawn(10000);
  EXPECT_EQ(pace.due(10100), 10150);
  EXPECT_EQ(pace.due(5000), 5150);
}

}  // namespace
