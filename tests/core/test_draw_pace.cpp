// The pace at which a flood of spots reaches the screen.
#include <gtest/gtest.h>

#include <optional>

#include "core/draw_pace.h"

namespace {

using core::Millis;

// Spots every `gap` ms for 10 s through a window drawn at a 150 ms pace as the window
// does it: a change due later waits for a timer, which draws every change made
// meanwhile.
TEST(DrawPace, AHumanPaceIsDrawnAtOnceAFloodEvery150MsWithItsLatestSpot) {
  for (const Millis gap : {1000, 200, 150, 50, 16, 1}) {
    SCOPED_TRACE(gap);
    core::DrawPace pace(150);
    std::optional<Millis> timer, waitingSince;
    Millis lastDraw = -1000, longestWait = 0, shortestBetween = 1000;
    const auto draw = [&](Millis at) {
      pace.drawn(at);
      shortestBetween = std::min(shortestBetween, at - lastDraw);
      longestWait = std::max(longestWait, at - waitingSince.value_or(at));
      lastDraw = at;
      timer = waitingSince = std::nullopt;
    };
    for (Millis now = 0; now < 10000; now += gap) {
      if (timer && *timer <= now) draw(*timer);
      if (const Millis due = pace.due(now); due <= now) {
        draw(now);
      } else {
        timer = timer.value_or(due);
        waitingSince = waitingSince.value_or(now);
      }
    }
    EXPECT_EQ(longestWait == 0, gap >= 150) << "a human pace waits for nothing";
    EXPECT_LE(longestWait, 150) << "the latest spot is drawn within one interval";
    EXPECT_GE(shortestBetween, std::min<Millis>(gap, 150));
  }
  // No pace draws at once; a clock that went back waits no longer than an interval.
  EXPECT_EQ(core::DrawPace(0).due(7), 7);
  core::DrawPace pace(150);
  EXPECT_EQ(pace.due(7), 7) << "never drawn";
  pace.drawn(10000);
  EXPECT_EQ(pace.due(10100), 10150);
  EXPECT_EQ(pace.due(5000), 5150);
}

}  // namespace
