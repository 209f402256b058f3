// When what a spot changed reaches the screen. A person reads a few verdicts a
// second: a change made when its window last drew a spot at least `interval` ago is
// drawn at once (so every spot at a human pace, and the first of a flood); one made
// sooner waits until `interval` after that drawing, and is drawn together with every
// change made meanwhile, the latest spot's showing.
#pragma once

#include <optional>

#include "core/spot_time.h"

namespace core {

class DrawPace {
 public:
  explicit DrawPace(Millis interval) : interval_(interval) {}
  // When a change made at `now` is to be drawn: `now`, or later.
  Millis due(Millis now) const;
  // The window drew the changes of spots at `at`.
  void drawn(Millis at) { drawn_ = at; }

 private:
  Millis interval_;
  std::optional<Millis> drawn_;
};

}  // namespace core
