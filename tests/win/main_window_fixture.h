// A main window on its own scratch folder of reference files, with message boxes
// recorded.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/Unit1.h"
#include "support.h"

class MainWindowTest : public ::testing::Test {
 protected:
  // The reference files every test starts from; a test changes them as it needs.
  virtual void writeFiles() {
    dir.writeLines("QJcfm.txt", {"AB-12;UA1AAA;2019", "AB-12;RK3BBB;2020", "CD-01;R1CCC;20m", "", "CD-01;R1CCC;20m"});
    dir.writeLines("QJar.txt", {"AB-12\tАбинский район", "CD-01 Other district", "EF-05 Old district",
                                "EF-05 Old district deleted", "GH-07 Ghost Deleted", "KK-33 Fresh district", "ZZ-01"});
    dir.writeLines("RUdoz.txt", {"UA1AAAB KK-33", "UA1AAA\tZZ-01", "UA1AAA AB-12", "UA1AAA CD-01", "R3NEW KK-33",
                                 "R9OLD CD-01", "SETUP CD-01"});
    dir.writeLines("QJlook.txt", {"R9X"});
  }
  void SetUp() override {
    writeFiles();
    AlertFlag = 0;
    form = std::make_unique<TForm1>();
    Form1 = form.get();
    // The blinking is driven by the tests that look at it.
    form->StopBlinking();
    form->bringToFront();
    testing_support::settle();
  }
  void TearDown() override {
    Form1 = nullptr;
    form.reset();
    testing_support::pump();
  }
  const std::vector<testing_support::ShownMessage>& shown() const { return messages.messages(); }
  // True when the n-th message box reports that the file cannot be opened.
  bool cannotOpen(std::size_t n, const std::string& file) const {
    return n < shown().size() && shown()[n].caption == "ruDOZ" &&
           shown()[n].text.rfind("Cannot open file \"" + file + "\". ", 0) == 0;
  }

  testing_support::ScratchDir dir;
  testing_support::MessageRecorder messages;
  std::unique_ptr<TForm1> form;
};
