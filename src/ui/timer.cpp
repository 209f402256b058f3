#include "ui/timer.h"

#include "ui/application.h"
#include "ui/control.h"

namespace ui {

Timer::~Timer() {
  if (window_) DestroyWindow(window_);
}

void Timer::create(Control* owner, unsigned intervalMs, bool enabled) {
  static const ATOM cls = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Timer::windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ruDOZ.Timer";
    return RegisterClassExW(&wc);
  }();
  (void)cls;
  owner_ = owner;
  interval_ = intervalMs;
  enabled_ = enabled;
  window_ = CreateWindowExW(0, L"ruDOZ.Timer", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                            nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
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
  if (!window_) return;
  KillTimer(window_, 1);
  if (enabled_ && interval_ > 0) SetTimer(window_, 1, interval_, nullptr);
}

LRESULT CALLBACK Timer::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_TIMER) {
    auto* self = reinterpret_cast<Timer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && self->enabled_ && self->OnTimer && (!self->owner_ || self->owner_->handle()))
      app().guard([self] { self->OnTimer(); });
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace ui
