// Logger32 as the tests meet it: its main window, titled "Logger32", which takes the
// link messages of the five ports, and its command window, into which the program
// writes its commands. Both record what they get.
//
// By default both windows live on a thread of their own, as Logger32's windows live
// in a process of their own: what the link window posts to Logger32 never passes
// the program's own message hook, the program sends its commands through a thread
// of its own, and Logger32 can hang. On the test's own thread instead, the program
// calls the command window directly, and what runs at a command runs on the test's
// thread (the operator doing something while a click is on its way).
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ui/win.h"

namespace testing_support {

struct LinkMessage {
  int port;  // 1..5
  WPARAM wParam;
  LPARAM lParam;
  bool sent;  // SendMessage from the program's thread, not a post
};

class Logger32StandIn {
 public:
  enum class Thread { OwnThread, TestThread };
  explicit Logger32StandIn(Thread where = Thread::OwnThread);
  ~Logger32StandIn();
  Logger32StandIn(const Logger32StandIn&) = delete;
  Logger32StandIn& operator=(const Logger32StandIn&) = delete;

  HWND window() const { return main_; }
  HWND commandWindow() const { return command_; }
  // The link message of a port, 1..5.
  UINT id(int port) const { return ids_[port - 1]; }

  // Every link message received so far. A marker posted to Logger32's window now
  // comes back only after all that was posted to it before, so whatever the program
  // has sent by now is in.
  std::vector<LinkMessage> received();
  // What has arrived, without asking Logger32's window: for a Logger32 that hangs.
  std::vector<LinkMessage> receivedSoFar() const;
  // Forgets the link messages received so far.
  void clear();

  // The texts written into the command window, in their order.
  std::vector<std::string> commands() const;
  // The texts written so far, forgotten here.
  std::vector<std::string> takeCommands();
  // Runs once, on the command window's thread, when the next text has arrived.
  void onNextCommand(std::function<void()> action);

  // The handling of Disconnect hangs until wakeUp().
  void hangOnDisconnect() {
    std::lock_guard lock(mutex_);
    hangOnDisconnect_ = true;
  }
  // Logger32 hangs now: its thread handles nothing until wakeUp(). Only on a
  // thread of its own.
  void hang();
  void wakeUp();
  bool disconnectHandled() const;

 private:
  static LRESULT CALLBACK proc(HWND w, UINT m, WPARAM wParam, LPARAM lParam);
  void createWindows();
  // Blocks Logger32's thread until wakeUp(); a minute at the most, should a test
  // forget it.
  void hangHere();

  Thread where_;
  UINT ids_[5] = {};
  HWND main_ = nullptr;
  HWND command_ = nullptr;
  DWORD threadId_ = 0;
  std::thread thread_;
  unsigned markersSent_ = 0;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  unsigned markersBack_ = 0;
  bool hangOnDisconnect_ = false;
  bool hanging_ = false, awake_ = false, disconnectHandled_ = false;
  std::vector<LinkMessage> received_;
  std::vector<std::string> commands_;
  std::function<void()> onNextCommand_;
};

}  // namespace testing_support
