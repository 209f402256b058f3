#include "ui/timer.h"

#include <algorithm>

#include "ui/application.h"
#include "ui/control.h"

namespace ui {

Timer::~Timer() {
  if (!owner_) return;
  if (owner_->handle()) KillTimer(owner_->handle(), id_);
  auto& timers = owner_->timers_;
  timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
}

void Timer::create(Control& owner, unsigned intervalMs, bool enabled) {
  owner_ = &owner;
  id_ = owner.nextTimerId_++;
  owner.timers_.push_back(this);
  interval_ = intervalMs;
  enabled_ = enabled;
  restart();
}

void Timer::setInterval(unsigned ms) {
  if (ms == interval_) return;
  interval_ = ms;
  restart();
}

void Timer::setEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  restart();
}

void Timer::restart() {
  if (!owner_ || !owner_->handle()) return;
  KillTimer(owner_->handle(), id_);
  if (enabled_ && interval_ > 0) SetTimer(owner_->handle(), id_, interval_, nullptr);
}

void Timer::tick() {
  if (enabled_ && OnTimer) app().guard([this] { OnTimer(); });
}

}  // namespace ui
