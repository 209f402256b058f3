#include "core/draw_pace.h"

#include <algorithm>

namespace core {

Millis DrawPace::due(Millis now) const {
  if (!drawn_ || interval_ <= 0) return now;
  // A clock that went back waits no longer than one interval.
  const Millis next = std::min(*drawn_, now) + interval_;
  return std::max(now, next);
}

}  // namespace core
