#include "core/fade.h"

namespace core {

namespace {
constexpr int kClickStep = 25;
constexpr int kOverStep = 10;
}  // namespace

FadeTimer fadeInStep(FadeState& s) {
  if (s.mousePressed && s.mouseInside) {
    if (s.clickLevel >= 100) {
      s.clickLevel = 100;
      return FadeTimer::Stop;
    }
    s.clickLevel += kClickStep;
    return FadeTimer::Continue;
  }
  if (s.clickLevel > 0) s.clickLevel -= kClickStep;
  s.overLevel = s.overLevel < 100 ? s.overLevel + kOverStep : 100;
  return s.clickLevel <= 0 && s.overLevel >= 100 ? FadeTimer::Stop : FadeTimer::Continue;
}

FadeTimer fadeOutStep(FadeState& s) {
  if (s.clickLevel > 0) s.clickLevel -= kClickStep;
  // The hover level keeps falling while the pressed look fades, so it may pass
  // below 0 (to -30 at most); painting treats that as 0.
  if (s.overLevel > 0 || s.clickLevel > 0) {
    s.overLevel -= kOverStep;
    return FadeTimer::Continue;
  }
  s.overLevel = 0;
  s.clickLevel = 0;
  return FadeTimer::Stop;
}

bool mouseEntered(FadeState& s) {
  s.mouseInside = true;
  s.step = FadeStep::FadeIn;
  return true;
}

namespace button {

bool mouseLeft(FadeState& s, bool down) {
  if (down) return false;  // a down button keeps its pressed look
  s.mouseInside = false;
  s.step = FadeStep::FadeOut;
  return true;
}

bool pressed(FadeState& s) {
  s.mousePressed = true;
  s.mouseInside = true;
  s.step = FadeStep::FadeIn;
  return true;
}

bool released(FadeState& s, bool down) {
  if (s.mousePressed && !down) s.mousePressed = false;
  if (s.mouseInside) s.step = FadeStep::FadeIn;
  return true;
}

bool downChanged(FadeState& s, bool down) {
  if (down) {
    s.mouseInside = true;
    s.mousePressed = true;
    s.step = FadeStep::FadeIn;
  } else {
    s.mousePressed = false;
    s.step = FadeStep::FadeOut;
  }
  return true;
}

}  // namespace button

namespace checkbox {

bool mouseLeft(FadeState& s) {
  s.mouseInside = false;
  s.mousePressed = false;
  s.step = FadeStep::FadeOut;
  return true;
}

bool pressed(FadeState& s) {
  s.mousePressed = true;
  s.step = FadeStep::FadeIn;
  return true;
}

bool released(FadeState& s) {
  if (!s.mousePressed) return false;
  s.mousePressed = false;
  s.step = FadeStep::FadeIn;
  return true;
}

}  // namespace checkbox

}  // namespace core
