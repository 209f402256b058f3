// The link window: the program's side of the Logger32 link. It finds Logger32,
// wins one of its ports, shows the state of the link in the main window's title,
// takes in spot records and frequency reports, and blinks the main window while
// the alert is raised.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "ui/edit.h"
#include "ui/form.h"
#include "ui/timer.h"

class TForm2 : public ui::Form {
 public:
  TForm2();
  ~TForm2() override;

  // The spot field Logger32 writes each spot record into (its handle goes to
  // Logger32 in SpotField).
  HWND SpotField() const { return Edit1.handle(); }
  // The handshake's steps and the search run (their timers tick).
  bool TryingPorts() const { return Timer2.enabled(); }
  bool Searching() const { return Timer3.enabled(); }
  // The timers stop; their handlers run only when called (tests drive them).
  void StopTimers();

  // The link state. Logger32 is a 32-bit program: its lParam values are taken as
  // their low 32 bits, unsigned.
  HWND Logger32Wnd = nullptr;       // receives every link message we send
  HWND LinkWnd = nullptr;           // this window, named to Logger32
  std::string PortName = "Logger32 1";
  std::optional<UINT> LinkMsg;      // none until the first port is tried
  HWND CommandWnd = nullptr;        // Logger32's command window; set: the link is up
  std::int32_t LastWParam = 0;
  std::uint32_t LastLParam = 0;
  int PortTry = 0;                  // last port tried, 0 = none yet

  void FormCreate();
  void FormClose(ui::CloseAction& action);
  // Sees every message taken from the queue; it never marks one handled.
  void ApplicationEvents1Message(const MSG& msg, bool& handled);
  void Timer2Timer();
  void Timer3Timer();
  void Timer4Timer();
  void Edit1Change();

  // SpotFeed on and off.
  void ClxOn();
  void ClxOf();

  // The fields of a spot record; each leaves its result unchanged when the record
  // yields nothing.
  static void findClx(const std::string& record, std::string& result);
  static void findFreq(const std::string& record, std::string& result);
  static void findComent(const std::string& record, std::string& result);
  static void findTime(const std::string& record, std::string& result);
  // The last spot record received.
  std::string SpotRecord() const { return Edit1.text(); }

  // Commands for Logger32 go out one at a time, in the order asked for: a tune and,
  // after its pause, its district (a spot click), or a mode command alone. While one
  // runs, the next ones wait; a repeat of the last one asked for (a double click) is
  // dropped when `dropRepeat`. Commands are lost without a word while there is no
  // link, and nothing goes out once the link has said goodbye.
  struct LinkCommand {
    std::string text;
    std::string followUp;  // sent kClickPauseMs after Logger32 took `text`
    bool operator==(const LinkCommand&) const = default;
  };
  void Send(const LinkCommand& command, bool dropRepeat = false);
  // A command is out or waits for its pause.
  bool Busy() const { return running_.has_value(); }
  // Runs `action` once no command runs any more (at once when none does): what the
  // operator asked for meanwhile (a menu, a dialog, a download) opens after it.
  void WhenIdle(std::function<void()> action);
  // Logger32 gets this long to take a command before the title says it did not,
  // and this long before the command and those waiting behind it are given up.
  static constexpr unsigned kNoAnswerMs = 2000;
  static constexpr unsigned kGiveUpMs = 10000;
  static constexpr unsigned kClickPauseMs = 700;
  unsigned GiveUpMs = kGiveUpMs;  // tests shorten it
  // An answer that never came back is taken for "not taken" this long after the
  // bound.
  static constexpr unsigned kLostAnswerMarginMs = 1000;
  // How the sending thread posts its answer back (tests lose it).
  using AnswerPost = BOOL (*)(HWND, UINT, WPARAM, LPARAM);
  AnswerPost PostAnswer = [](HWND w, UINT m, WPARAM wp, LPARAM lp) { return PostMessageW(w, m, wp, lp); };

 protected:
  // Link messages are handled here, where they are dispatched, so that no message
  // loop (an error box's, a modal dialog's) can take one away unseen.
  LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void findLogger32();
  // Logger32's window went away under a link: back to the search.
  void lostLogger32();
  void postLink(WPARAM code, LPARAM value) const;

  ui::Edit Edit1;    // the spot field: Logger32 writes each spot record into it
  ui::Timer Timer2;  // 1500 ms: the port handshake
  ui::Timer Timer3;  // 2000 ms: the search for Logger32 while it is not running
  ui::Timer Timer4;  // 10 s, running: stays where the main window is

  // The command queue (LinkCommands.cpp).
  void createCommandTimers();
  bool handleCommandMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  void sayGoodbye();
  void startNext();
  void sendNow(const std::string& text);
  void commandTaken(std::uint64_t serial, bool taken, bool windowGone);
  void finishRunning();
  ui::Timer answerTimer_;  // kNoAnswerMs after a command went out
  ui::Timer pauseTimer_;   // the pause between a tune and its district
  ui::Timer lostTimer_;    // GiveUpMs and a margin after a command went out
  std::deque<LinkCommand> waiting_;
  std::optional<LinkCommand> running_;
  bool followUpOut_ = false;     // the running command's district is the text out
  std::uint64_t sendSerial_ = 0;  // of the text out; answers to older ones are stale
  bool awaitingAnswer_ = false;
  bool saidGoodbye_ = false;
  std::deque<std::function<void()>> whenIdle_;

  int hookId_ = 0;
};

extern TForm2* Form2;
