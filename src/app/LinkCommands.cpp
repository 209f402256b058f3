// The commands for Logger32, one at a time. A command for Logger32's window goes out
// on a thread of its own, so that a slow or hung Logger32 never holds the windows:
// the title says so after kNoAnswerMs, and a tune that Logger32 takes later, within
// kGiveUpMs, still gets its district. The district follows the tune after the pause,
// from a timer: whatever runs meanwhile (a spot, a box, the operator's menu) cannot
// hold it back or slip a command in between.
#include <memory>
#include <thread>
#include <utility>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "ui/application.h"

namespace {

// Posted back when a command went out: wParam its serial, lParam what became of it.
UINT answerMessage() {
  static const UINT message = ui::privateMessage(L"ruDOZ.CommandAnswer");
  return message;
}
// Posted when the last command is done and actions wait for the end of the sequence.
UINT idleMessage() {
  static const UINT message = ui::privateMessage(L"ruDOZ.CommandsIdle");
  return message;
}
enum Answer : LPARAM { kNotTaken = 0, kTaken = 1, kWindowGone = 2 };

void setStatus(const std::string& text) {
  if (Form1) Form1->setCaption(text);
}

}  // namespace

void TForm2::Send(const LinkCommand& command, bool dropRepeat) {
  if (saidGoodbye_) return;
  if (dropRepeat) {
    const LinkCommand* last = !waiting_.empty() ? &waiting_.back() : running_ ? &*running_ : nullptr;
    if (last && *last == command) return;
  }
  waiting_.push_back(command);
  if (!running_) startNext();
}

void TForm2::WhenIdle(std::function<void()> action) {
  if (saidGoodbye_) return;
  if (!Busy()) {
    action();
    return;
  }
  whenIdle_.push_back(std::move(action));
}

void TForm2::startNext() {
  if (running_ || waiting_.empty()) return;
  running_ = std::move(waiting_.front());
  waiting_.pop_front();
  followUpOut_ = false;
  sendNow(running_->text);
}

void TForm2::sendNow(const std::string& text) {
  const std::uint64_t serial = ++sendSerial_;
  const HWND reply = handle();
  const HWND target = CommandWnd;
  // Without a link the command is lost without a word, and the sequence goes on as
  // if it had been taken: the pause keeps its length.
  if (!target) {
    PostMessageW(reply, answerMessage(), WPARAM(serial), kTaken);
    return;
  }
  awaitingAnswer_ = true;
  answerTimer_.setEnabled(false);
  answerTimer_.setEnabled(true);
  // The answer may never come back (a post that failed, a thread that could not
  // start): then the command is given up a little after its bound, as one that was
  // not taken, and the queue goes on.
  lostTimer_.setInterval(GiveUpMs + kLostAnswerMarginMs);
  lostTimer_.setEnabled(false);
  lostTimer_.setEnabled(true);
  // A window of this thread is called directly: a thread of its own would only wait
  // for this one.
  if (GetWindowThreadProcessId(target, nullptr) == GetCurrentThreadId()) {
    SendMessageA(target, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    PostMessageW(reply, answerMessage(), WPARAM(serial), kTaken);
    return;
  }
  auto owned = std::make_shared<const std::string>(text);
  // Logger32 busy for a while (not answering messages for 5 s counts as hung to the
  // system) still gets the whole bound: no SMTO_ABORTIFHUNG.
  try {
    std::thread([owned, target, reply, serial, bound = GiveUpMs, message = answerMessage(), post = PostAnswer] {
      DWORD_PTR result = 0;
      const bool taken = SendMessageTimeoutA(target, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(owned->c_str()),
                                             SMTO_NORMAL, bound, &result) != 0;
      post(reply, message, WPARAM(serial), taken ? kTaken : IsWindow(target) ? kNotTaken : kWindowGone);
    }).detach();
  } catch (const std::exception&) {
    // No thread: nothing went out.
    PostMessageW(reply, answerMessage(), WPARAM(serial), kNotTaken);
  }
}

void TForm2::commandTaken(std::uint64_t serial, bool taken, bool windowGone) {
  if (!running_ || serial != sendSerial_) return;  // given up, or the program is closing
  awaitingAnswer_ = false;
  answerTimer_.setEnabled(false);
  lostTimer_.setEnabled(false);
  if (!taken && !windowGone) {
    // Logger32 is there but took nothing within the bound: what waits behind it
    // would reach it stale, when it wakes.
    setStatus(texts::kNoAnswer);
    waiting_.clear();
    finishRunning();
    return;
  }
  // A late answer: the title no longer says there was none.
  if (Form1 && Form1->caption() == texts::kNoAnswer && CommandWnd) setStatus(texts::connected(PortName));
  if (taken && !followUpOut_ && !running_->followUp.empty()) {
    pauseTimer_.setEnabled(true);
    return;
  }
  finishRunning();
}

void TForm2::finishRunning() {
  running_.reset();
  followUpOut_ = false;
  pauseTimer_.setEnabled(false);
  startNext();
  if (!Busy() && !whenIdle_.empty()) PostMessageW(handle(), idleMessage(), 0, 0);
}

bool TForm2::handleCommandMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == answerMessage()) {
    commandTaken(std::uint64_t(wParam), lParam == kTaken, lParam == kWindowGone);
    return true;
  }
  if (msg == idleMessage()) {
    // Each action may start commands of its own; the rest then wait for those.
    while (!Busy() && !whenIdle_.empty()) {
      auto action = std::move(whenIdle_.front());
      whenIdle_.pop_front();
      ui::app().guard(action);
    }
    return true;
  }
  return false;
}

void TForm2::createCommandTimers() {
  answerTimer_.create(*this, kNoAnswerMs, false);
  answerTimer_.OnTimer = [this] {
    answerTimer_.setEnabled(false);
    if (awaitingAnswer_) setStatus(texts::kNoAnswer);
  };
  lostTimer_.create(*this, GiveUpMs + kLostAnswerMarginMs, false);
  lostTimer_.OnTimer = [this] {
    lostTimer_.setEnabled(false);
    if (awaitingAnswer_) commandTaken(sendSerial_, false, !IsWindow(CommandWnd));
  };
  pauseTimer_.create(*this, kClickPauseMs, false);
  pauseTimer_.OnTimer = [this] {
    pauseTimer_.setEnabled(false);
    if (!running_ || saidGoodbye_) return;
    followUpOut_ = true;
    sendNow(running_->followUp);
  };
}

void TForm2::sayGoodbye() {
  // Nothing more goes out: what waits is dropped, and answers still to come find
  // nothing running.
  saidGoodbye_ = true;
  waiting_.clear();
  whenIdle_.clear();
  running_.reset();
  awaitingAnswer_ = false;
  answerTimer_.setEnabled(false);
  lostTimer_.setEnabled(false);
  pauseTimer_.setEnabled(false);
}
