// The main window and the Logger32 link window, as the program makes them before
// the spot list window, with the link's timers slowed so that no search for
// Logger32 and no blinking gets into a test.
#pragma once

#include <memory>

#include "app/Unit1.h"
#include "app/Unit2.h"

struct MainAndLinkWindows {
  MainAndLinkWindows() {
    AlertFlag = 0;
    form1 = std::make_unique<TForm1>();
    Form1 = form1.get();
    form2 = std::make_unique<TForm2>();
    Form2 = form2.get();
    for (ui::Timer* t : {&Form2->Timer1, &Form2->Timer2, &Form2->Timer3, &Form2->Timer4}) t->setInterval(600000);
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
