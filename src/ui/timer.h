// A timer whose ticks arrive as messages on the GUI thread.
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

  // A timer that belongs to a window stops ticking once that window is gone.
  void create(Control* owner, unsigned intervalMs, bool enabled);
  unsigned interval() const { return interval_; }
  void setInterval(unsigned ms);
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);

  // Runs inside its own error boundary.
  std::function<void()> OnTimer;

 private:
  static LRESULT CALLBACK windowProc(HWND, UINT, WPARAM, LPARAM);
  void restart();

  HWND window_ = nullptr;
  Control* owner_ = nullptr;
  unsigned interval_ = 1000;
  bool enabled_ = false;
};

}  // namespace ui
