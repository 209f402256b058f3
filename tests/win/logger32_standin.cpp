#include "logger32_standin.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <utility>

namespace testing_support {

namespace {

constexpr UINT kMarker = WM_APP + 1;
constexpr UINT kHang = WM_APP;

}  // namespace

Logger32StandIn::Logger32StandIn(Thread where) : where_(where) {
  for (int i = 0; i < 5; ++i) ids_[i] = RegisterWindowMessageA(("Logger32 " + std::to_string(i + 1)).c_str());
  if (where_ == Thread::TestThread) {
    createWindows();
    return;
  }
  std::promise<void> ready;
  auto created = ready.get_future();
  thread_ = std::thread([this, &ready] {
    createWindows();
    ready.set_value();
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
    DestroyWindow(command_);
    DestroyWindow(main_);
  });
  created.wait();
}

Logger32StandIn::~Logger32StandIn() {
  if (where_ == Thread::TestThread) {
    DestroyWindow(command_);
    DestroyWindow(main_);
    return;
  }
  wakeUp();
  PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
  thread_.join();
}

void Logger32StandIn::createWindows() {
  static const ATOM cls = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "Logger32StandIn";
    return RegisterClassA(&wc);
  }();
  (void)cls;
  main_ = CreateWindowExA(0, "Logger32StandIn", "Logger32", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, this);
  command_ = CreateWindowExA(0, "Logger32StandIn", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, this);
  threadId_ = GetCurrentThreadId();
}

std::vector<LinkMessage> Logger32StandIn::received() {
  const unsigned marker = ++markersSent_;
  PostMessageA(main_, kMarker, marker, 0);
  if (where_ == Thread::TestThread) {
    // The test's own thread handles the marker, behind what was posted before it.
    const ULONGLONG end = GetTickCount64() + 10000;
    MSG m;
    while (markersBack_ < marker && GetTickCount64() < end) {
      if (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
      } else {
        Sleep(1);
      }
    }
    if (markersBack_ < marker) ADD_FAILURE() << "Logger32's window did not answer";
    return received_;
  }
  std::unique_lock lock(mutex_);
  if (!changed_.wait_for(lock, std::chrono::seconds(10), [&] { return markersBack_ >= marker; }))
    ADD_FAILURE() << "Logger32's window did not answer";
  return received_;
}

std::vector<LinkMessage> Logger32StandIn::receivedSoFar() const {
  std::lock_guard lock(mutex_);
  return received_;
}

void Logger32StandIn::clear() {
  std::lock_guard lock(mutex_);
  received_.clear();
}

std::vector<std::string> Logger32StandIn::commands() const {
  std::lock_guard lock(mutex_);
  return commands_;
}

std::vector<std::string> Logger32StandIn::takeCommands() {
  std::lock_guard lock(mutex_);
  return std::exchange(commands_, {});
}

void Logger32StandIn::onNextCommand(std::function<void()> action) {
  std::lock_guard lock(mutex_);
  onNextCommand_ = std::move(action);
}

void Logger32StandIn::hang() {
  if (where_ == Thread::TestThread) {
    ADD_FAILURE() << "a Logger32 on the test's own thread cannot hang";
    return;
  }
  PostMessageA(main_, kHang, 0, 0);
  std::unique_lock lock(mutex_);
  if (!changed_.wait_for(lock, std::chrono::seconds(10), [&] { return hanging_; }))
    ADD_FAILURE() << "Logger32's window did not start to hang";
}

void Logger32StandIn::wakeUp() {
  std::lock_guard lock(mutex_);
  awake_ = true;
  changed_.notify_all();
}

bool Logger32StandIn::disconnectHandled() const {
  std::lock_guard lock(mutex_);
  return disconnectHandled_;
}

void Logger32StandIn::hangHere() {
  std::unique_lock lock(mutex_);
  hanging_ = true;
  changed_.notify_all();
  changed_.wait_for(lock, std::chrono::minutes(1), [&] { return awake_; });
}

LRESULT CALLBACK Logger32StandIn::proc(HWND w, UINT m, WPARAM wParam, LPARAM lParam) {
  if (m == WM_NCCREATE)
    SetWindowLongPtrA(w, GWLP_USERDATA, LONG_PTR(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
  auto* self = reinterpret_cast<Logger32StandIn*>(GetWindowLongPtrA(w, GWLP_USERDATA));
  if (self && w == self->main_) {
    for (int i = 0; i < 5; ++i) {
      if (m != self->ids_[i]) continue;
      bool hangNow = false;
      {
        std::lock_guard lock(self->mutex_);
        self->received_.push_back({i + 1, wParam, lParam, InSendMessage() != FALSE});
        hangNow = wParam == 4 && self->hangOnDisconnect_ && self->where_ == Thread::OwnThread;
      }
      if (hangNow) {  // a hung Logger32 takes its time
        self->hangHere();
        std::lock_guard lock(self->mutex_);
        self->disconnectHandled_ = true;
      }
    }
    if (m == kHang) self->hangHere();
    if (m == kMarker) {
      std::lock_guard lock(self->mutex_);
      self->markersBack_ = unsigned(wParam);
      self->changed_.notify_all();
    }
  }
  if (self && w == self->command_ && m == WM_SETTEXT) {
    std::function<void()> action;
    {
      std::lock_guard lock(self->mutex_);
      self->commands_.emplace_back(reinterpret_cast<const char*>(lParam));
      action = std::exchange(self->onNextCommand_, nullptr);
    }
    if (action) action();
  }
  return DefWindowProcA(w, m, wParam, lParam);
}

}  // namespace testing_support
