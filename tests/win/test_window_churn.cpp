// A spot must cost no window work that changes nothing, and the layout that waits
// for the end of a handler must still be the one every reader and the screen see.
#include <gtest/gtest.h>

#include <map>

#include "main_window_fixture.h"
#include "ui/list_box.h"
#include "ui/status_bar.h"

using testing_support::pump;

namespace {

// Counts the messages sent to any window of this thread while it lives.
class SentMessages {
 public:
  SentMessages() {
    counts_ = &counts;
    hook_ = SetWindowsHookExW(WH_CALLWNDPROC, &record, nullptr, GetCurrentThreadId());
  }
  ~SentMessages() {
    UnhookWindowsHookEx(hook_);
    counts_ = nullptr;
  }
  int of(UINT message) const { return counts.count(message) ? counts.at(message) : 0; }
  std::map<UINT, int> counts;

 private:
  static LRESULT CALLBACK record(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && counts_) ++(*counts_)[reinterpret_cast<CWPSTRUCT*>(lParam)->message];
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static inline std::map<UINT, int>* counts_ = nullptr;
  HHOOK hook_;
};

int screenHeight(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r.bottom - r.top;
}

using Churn = MainWindowTest;

// The main window's lower part as a form of the test's own lays it out: a list box
// under the fields' row and a bar, the window fitting itself to them.
struct ListAndBar : ui::Form {
  ListAndBar() {
    create({.className = "TChurnTestForm", .caption = "Churn", .left = 40, .top = 300, .width = 301, .height = 94});
    setBorderWidth(1);
    setAutoSize(true);
    list.create(this, 0, 24, 257, 35);
    bar.create(this, 0, 48, 291, 17);
    bar.setPanelText("RDA Status CFM");
    show();
  }
  ui::ListBox list;
  ui::StatusBar bar;
};

TEST_F(Churn, WhatIsAlreadySoCostsNoWindowMessage) {
  form->EnterDistrict("AB-12");
  ListAndBar other;
  other.list.setBounds(0, 24, 257, 53);
  pump();
  {
    SentMessages sent;
    form->setCaption(form->caption());
    form->EnterDistrict("AB-12");
    other.list.setBounds(0, 24, 257, 53);
    other.list.setHeight(other.list.height());
    other.bar.show();
    other.list.show();
    form->applyHeld();  // what the event held reaches the screen
    other.applyHeld();
    EXPECT_EQ(sent.of(WM_SETTEXT), 0);
    EXPECT_EQ(sent.of(WM_WINDOWPOSCHANGING), 0);
    EXPECT_EQ(sent.of(WM_SHOWWINDOW), 0);
    form->setCaption("Other");  // the counter sees a real change
    form->applyHeld();
    EXPECT_EQ(sent.of(WM_SETTEXT), 1);
  }
  {
    // Hidden and shrunk, then back as it was within one event: readers see each
    // step, the window is never touched.
    SentMessages sent;
    other.list.hide();
    other.list.setHeight(17);
    EXPECT_FALSE(other.list.visible());
    EXPECT_EQ(other.list.height(), 17);
    other.list.setHeight(53);
    other.list.show();
    pump();
    EXPECT_EQ(sent.of(WM_WINDOWPOSCHANGING), 0);
    EXPECT_EQ(sent.of(WM_SHOWWINDOW), 0);
    EXPECT_TRUE(IsWindowVisible(other.list.handle()));
  }
  // Emptying what is empty writes nothing, but clearing a field still runs its
  // handler every time.
  int runs = 0;
  form->OnVerdict = [&](const std::string&) { ++runs; };
  form->ClearDistrict();
  other.list.clear();
  form->applyHeld();
  SentMessages sent;
  form->ClearDistrict();
  other.list.clear();
  form->applyHeld();
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(sent.of(WM_SETTEXT), 0);
  EXPECT_EQ(sent.of(LB_RESETCONTENT), 0);
  EXPECT_EQ(form->District(), "");
}

TEST_F(Churn, HandlerReadingTheSizeRightAfterAChangeSeesTheNewLayout) {
  form->EnterDistrict("KK-33");  // a new district: the red bar, the list box as it was
  const int before = form->height();
  // Read right after the change, while the layout is still held back from the screen.
  form->EnterDistrict("AB-12");  // confirmed: the list box grows by 18
  const int heightSeen = form->height(), clientSeen = form->clientHeight();
  const RECT bar = form->PartRect(TForm1::Part::VerdictBar);
  const int barHeightSeen = bar.bottom - bar.top;
  EXPECT_EQ(heightSeen, before + 18);
  // The fields' row, the list box of 53 and the bar of 17, the bar at the bottom.
  EXPECT_EQ(form->ConfirmingListHeight(), 53);
  EXPECT_EQ(barHeightSeen, 17);
  EXPECT_EQ(clientSeen, 24 + 53 + 17);
  EXPECT_EQ(bar.top, 24 + 53);
}

TEST_F(Churn, WindowTakesItsSizeAfterTheHandlerWithoutAnyoneAsking) {
  form->EnterDistrict("AB-12");
  pump();
  const int before = screenHeight(form->handle());
  // Another confirmed district grows the list box by 18; nobody reads a size here.
  form->EnterDistrict("CD-01");
  pump();
  EXPECT_EQ(screenHeight(form->handle()), before + 18);
  RECT client{};
  GetClientRect(form->handle(), &client);
  // The bar's window, found where the bar lies, ends at the bottom of the client
  // area, and the screen shows the green bar there.
  const RECT barPart = form->PartRect(TForm1::Part::VerdictBar);
  const HWND barWindow =
      ChildWindowFromPointEx(form->handle(), {5, (barPart.top + barPart.bottom) / 2}, CWP_SKIPINVISIBLE);
  ASSERT_NE(barWindow, form->handle());
  RECT bar{};
  GetWindowRect(barWindow, &bar);
  testing_support::settle();
  EXPECT_EQ(testing_support::screenPixel(form->handle(), 4, client.bottom - 9), RGB(0, 128, 0));
  MapWindowPoints(form->handle(), HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
  EXPECT_EQ(bar.bottom, client.bottom);  // the bar stays at the bottom
  // Alt+W hides the list box and the bar: the window shrinks to the fields, whose
  // lowest is the L32 box (top 5, 17 high).
  form->FormKeyDown('W', {.alt = true});
  pump();
  GetClientRect(form->handle(), &client);
  EXPECT_EQ(client.bottom, 5 + 17);
}

}  // namespace
