#include "core/fade.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using core::FadeState;
using core::FadeStep;
using core::FadeTimer;

// Runs the timer until the step stops it; returns the levels after each tick.
std::vector<std::pair<int, int>> runUntilStopped(FadeState& s) {
  std::vector<std::pair<int, int>> ticks;
  for (int guard = 0; guard < 100; ++guard) {
    const FadeTimer t = s.step == FadeStep::FadeIn ? core::fadeInStep(s) : core::fadeOutStep(s);
    ticks.emplace_back(s.overLevel, s.clickLevel);
    if (t == FadeTimer::Stop) return ticks;
  }
  ADD_FAILURE() << "the fade never stopped";
  return ticks;
}

TEST(FadeIntervals, BySpeed) {
  EXPECT_EQ(core::fadeInterval(core::fsSlow), 40);
  EXPECT_EQ(core::fadeInterval(core::fsMedium), 20);
  EXPECT_EQ(core::fadeInterval(core::fsFast), 12);
  EXPECT_EQ(core::fadeInterval(core::fsVeryFast), 8);
}

TEST(ButtonFade, HoverPressReleaseAndLeave) {
  FadeState s;
  ASSERT_TRUE(core::mouseEntered(s));
  auto hover = runUntilStopped(s);
  ASSERT_EQ(hover.size(), 10u);  // 10 ticks to the hover look
  EXPECT_EQ(hover[0], std::make_pair(10, 0));
  EXPECT_EQ(hover.back(), std::make_pair(100, 0));

  ASSERT_TRUE(core::button::pressed(s));
  auto press = runUntilStopped(s);
  ASSERT_EQ(press.size(), 5u);  // 4 ticks and the closing one
  EXPECT_EQ(press[3], std::make_pair(100, 100));
  EXPECT_EQ(press[4], std::make_pair(100, 100));

  ASSERT_TRUE(core::button::released(s, false));
  EXPECT_FALSE(s.mousePressed);
  auto release = runUntilStopped(s);
  ASSERT_EQ(release.size(), 4u);
  EXPECT_EQ(release.back(), std::make_pair(100, 0));

  ASSERT_TRUE(core::button::mouseLeft(s, false));
  auto leave = runUntilStopped(s);
  ASSERT_EQ(leave.size(), 11u);  // 10 steps down and the one that finds rest
  EXPECT_EQ(leave[9], std::make_pair(0, 0));
  EXPECT_EQ(s.step, FadeStep::FadeOut);
}

TEST(ButtonFade, GroupedButtonPassesBelowZeroOnTheWayUp) {
  FadeState s;
  core::button::downChanged(s, true);
  EXPECT_TRUE(s.mouseInside && s.mousePressed);
  runUntilStopped(s);
  EXPECT_EQ(s.clickLevel, 100);
  EXPECT_EQ(s.overLevel, 0);

  core::button::downChanged(s, false);
  const auto up = runUntilStopped(s);
  const std::vector<std::pair<int, int>> expected = {{-10, 75}, {-20, 50}, {-30, 25}, {0, 0}};
  EXPECT_EQ(up, expected);
}

TEST(ButtonFade, EventTable) {
  FadeState down;
  down.mousePressed = down.mouseInside = true;
  down.step = FadeStep::FadeIn;
  EXPECT_FALSE(core::button::mouseLeft(down, true));  // a down button ignores leaving
  EXPECT_TRUE(down.mouseInside);

  EXPECT_TRUE(core::button::released(down, true));  // stays pressed while down
  EXPECT_TRUE(down.mousePressed);

  FadeState outside;
  outside.mousePressed = true;
  outside.step = FadeStep::FadeOut;
  EXPECT_TRUE(core::button::released(outside, false));  // restarts, keeps its step
  EXPECT_FALSE(outside.mousePressed);
  EXPECT_EQ(outside.step, FadeStep::FadeOut);
}

TEST(CheckBoxFade, EventTable) {
  FadeState s;
  EXPECT_TRUE(core::checkbox::pressed(s));
  EXPECT_TRUE(s.mousePressed);
  EXPECT_FALSE(s.mouseInside);  // unlike the button, pressing does not mark inside
  EXPECT_TRUE(core::checkbox::mouseLeft(s));
  EXPECT_FALSE(s.mousePressed);  // leaving with the button held clears the press
  EXPECT_EQ(s.step, FadeStep::FadeOut);
  EXPECT_FALSE(core::checkbox::released(s));  // released outside: nothing restarts
  EXPECT_EQ(s.step, FadeStep::FadeOut);

  core::mouseEntered(s);
  core::checkbox::pressed(s);
  const auto press = runUntilStopped(s);
  EXPECT_EQ(press.size(), 5u);
  EXPECT_TRUE(core::checkbox::released(s));
  EXPECT_EQ(s.step, FadeStep::FadeIn);
}

}  // namespace
