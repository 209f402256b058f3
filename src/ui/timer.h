// A timer whose ticks arrive as WM_TIMER on its owner's window, on the GUI thread:
// the one way the program counts time. It stops for good when its owner goes.
#pragma once

#include <functional>

#include "ui/win.h"

namespace ui {

class Control;

class Timer {
 public:
  Timer() = default;
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  void create(Control& owner, unsigned intervalMs, bool enabled);
  unsigned interval() const { return interval_; }
  void setInterval(unsigned ms);
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);

  // Runs inside its own error boundary.
  std::function<void()> OnTimer;

 private:
  friend class Control;  // hands it its ticks, and tells it when it goes
  void tick();
  void restart();

  Control* owner_ = nullptr;
  UINT_PTR id_ = 0;
  unsigned interval_ = 1000;
  bool enabled_ = false;
};

}  // namespace ui
