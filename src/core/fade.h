// The fade of a styled button or check box between its resting, hover and pressed
// looks: two levels (percent) that a timer moves step by step, and the events that
// choose which step the timer runs.
#pragma once

namespace core {

enum TFadeSpeed { fsSlow, fsMedium, fsFast, fsVeryFast };

// Milliseconds between two fade steps, by speed.
constexpr int FadeIntervals[] = {40, 20, 12, 8};
constexpr int fadeInterval(TFadeSpeed speed) {
  return speed >= fsSlow && speed <= fsVeryFast ? FadeIntervals[speed] : FadeIntervals[fsSlow];
}

enum class FadeStep { None, FadeIn, FadeOut };
enum class FadeTimer { Continue, Stop };

struct FadeState {
  int overLevel = 0;   // weight of the hover image; 0 or below shows none
  int clickLevel = 0;  // weight of the pressed image; 0 or below shows none
  bool mouseInside = false;
  bool mousePressed = false;
  FadeStep step = FadeStep::None;
};

// One tick of each step; both ask for a repaint every time.
FadeTimer fadeInStep(FadeState& s);
FadeTimer fadeOutStep(FadeState& s);

// Events. Each returns true when it restarts the fade timer.
bool mouseEntered(FadeState& s);  // button and check box alike
namespace button {
bool mouseLeft(FadeState& s, bool down);
bool pressed(FadeState& s);
bool released(FadeState& s, bool down);
bool downChanged(FadeState& s, bool down);
}  // namespace button
namespace checkbox {
bool mouseLeft(FadeState& s);
bool pressed(FadeState& s);
bool released(FadeState& s);
}  // namespace checkbox

}  // namespace core
