// A spot must cost no window work that changes nothing, and the layout that waits
// for the end of a handler must still be the one every reader and the screen see.
#include <gtest/gtest.h>

#include <map>

#include "main_window_fixture.h"

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

TEST_F(Churn, WhatIsAlreadySoCostsNoWindowMessage) {
  form->Edit2.setText("AB-12");
  form->ListBox1.setBounds(0, 24, 257, 53);
  pump();
  {
    SentMessages sent;
    form->setCaption(form->caption());
    form->Edit2.setText("AB-12");
    form->ListBox1.setBounds(0, 24, 257, 53);
    form->ListBox1.setHeight(form->ListBox1.height());
    form->StatusBar1.show();
    form->ListBox1.show();
    form->applyHeld();  // what the event held reaches the screen
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
    form->ListBox1.hide();
    form->ListBox1.setHeight(17);
    EXPECT_FALSE(form->ListBox1.visible());
    EXPECT_EQ(form->ListBox1.height(), 17);
    form->ListBox1.setHeight(53);
    form->ListBox1.show();
    pump();
    EXPECT_EQ(sent.of(WM_WINDOWPOSCHANGING), 0);
    EXPECT_EQ(sent.of(WM_SHOWWINDOW), 0);
    EXPECT_TRUE(IsWindowVisible(form->ListBox1.handle()));
  }
  // Emptying what is empty writes nothing, but clearing a field still runs its
  // handler every time.
  int runs = 0;
  form->Edit2.OnChange = [&] { ++runs; };
  form->Edit2.clear();
  form->ListBox1.clear();
  SentMessages sent;
  form->Edit2.clear();
  form->ListBox1.clear();
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(sent.of(WM_SETTEXT), 0);
  EXPECT_EQ(sent.of(LB_RESETCONTENT), 0);
  EXPECT_EQ(form->Edit2.text(), "");
}

TEST_F(Churn, HandlerReadingTheSizeRightAfterAChangeSeesTheNewLayout) {
  form->Edit2.setText("KK-33");  // a new district: the red bar, the list box as it was
  const int before = form->height();
  int heightSeen = 0, clientSeen = 0, barTopSeen = 0, barHeightSeen = 0;
  form->Edit2.OnChange = [&] {
    form->Edit2Change();
    heightSeen = form->height();
    clientSeen = form->clientHeight();
    barTopSeen = form->StatusBar1.top();
    barHeightSeen = form->StatusBar1.height();
  };
  form->Edit2.setText("AB-12");  // confirmed: the list box grows by 18
  EXPECT_EQ(heightSeen, before + 18);
  EXPECT_EQ(clientSeen, 24 + form->ListBox1.height() + barHeightSeen);
  EXPECT_EQ(barTopSeen, clientSeen - barHeightSeen);
}

TEST_F(Churn, WindowTakesItsSizeAfterTheHandlerWithoutAnyoneAsking) {
  form->Edit2.setText("AB-12");
  pump();
  const int before = screenHeight(form->handle());
  RECT bar{};
  // Another confirmed district grows the list box by 18; nobody reads a size here.
  form->Edit2.setText("CD-01");
  pump();
  EXPECT_EQ(screenHeight(form->handle()), before + 18);
  GetWindowRect(form->StatusBar1.handle(), &bar);
  RECT client{};
  GetClientRect(form->handle(), &client);
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
