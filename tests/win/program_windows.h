// The main window and the Logger32 link window, as the program makes them before
// the spot list window, with the link's timers and the blinking stopped so that no
// search for Logger32 and no blinking gets into a test.
#pragma once

#include <memory>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/VipU.h"
#include "support.h"

// The link's timers and the main window's blinking stopped: only a test runs their
// handlers.
inline void stopLinkTimers(TForm2& link) {
  link.StopTimers();
  if (Form1) Form1->StopBlinking();
}

struct MainAndLinkWindows {
  MainAndLinkWindows() {
    AlertFlag = 0;
    form1 = std::make_unique<TForm1>();
    Form1 = form1.get();
    form2 = std::make_unique<TForm2>();
    Form2 = form2.get();
    stopLinkTimers(*form2);
  }
  ~MainAndLinkWindows() {
    Form2 = nullptr;
    form2.reset();
    Form1 = nullptr;
    form1.reset();
  }
  std::unique_ptr<TForm1> form1;
  std::unique_ptr<TForm2> form2;
};

// A press on a row of the spot list as the operator makes one: on the row the screen
// shows there (what the list holds is drawn first), handled at once.
inline void pressDrawnRow(int row, ui::MouseButton button = ui::MouseButton::Left) {
  testing_support::drawNow(*Vip);
  const RECT r = Vip->CellRect(0, row);
  Vip->SG1MouseDown(button, {}, 5, (r.top + r.bottom) / 2);
}
