// The link window: the program's side of the Logger32 link. It finds Logger32,
// wins one of its ports, shows the state of the link in the main window's title,
// takes in spot records and frequency reports, and blinks the main window while
// the alert is raised.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ui/edit.h"
#include "ui/form.h"
#include "ui/timer.h"

class TForm2 : public ui::Form {
 public:
  TForm2();
  ~TForm2() override;

  ui::Edit Edit1;    // the spot field: Logger32 writes each spot record into it
  ui::Timer Timer1;  // 200 ms, running: the main window's alert blinking
  ui::Timer Timer2;  // 1500 ms: the port handshake
  ui::Timer Timer3;  // 2000 ms: the search for Logger32 while it is not running
  ui::Timer Timer4;  // 10 s, running: stays where the main window is

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
  int BlinkCount = 0;

  void FormCreate();
  void FormClose(ui::CloseAction& action);
  // Sees every message taken from the queue; it never marks one handled.
  void ApplicationEvents1Message(const MSG& msg, bool& handled);
  void Timer1Timer();
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

  // A text command into Logger32's command window; lost while there is no link.
  // False when Logger32 is there but did not take it within its bound (the title
  // then says so).
  bool SendCommand(const std::string& text) const;

 protected:
  // Link messages are handled here, where they are dispatched, so that no message
  // loop (an error box's, a modal dialog's) can take one away unseen.
  LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void findLogger32();
  // Logger32's window went away under a link: back to the search.
  void lostLogger32();
  void postLink(WPARAM code, LPARAM value) const;

  int hookId_ = 0;
};

extern TForm2* Form2;
