// The main window driven in-process: activation, the verdict of the district field,
// the list box rule, Alt+W/Alt+Q and the error boundaries around missing files.
#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "main_window_fixture.h"
#include "ui/application.h"
#include "ui/canvas.h"
#include "ui/dialogs.h"

using testing_support::MessageRecorder;
using testing_support::pump;
using testing_support::settle;
using testing_support::waitUntil;
using testing_support::ScratchDir;

namespace {

const char* const kNoSuch = "Нет такого";

class MainWindow : public MainWindowTest {
 protected:
  COLORREF barPixel() {
    const RECT bar = form->PartRect(TForm1::Part::VerdictBar);
    return testing_support::screenPixel(form->handle(), bar.left + 6, bar.top + 8);
  }
  // The window that shows a part of the main window, found where the part lies.
  HWND partWindow(TForm1::Part part) const {
    const RECT r = form->PartRect(part);
    return ChildWindowFromPointEx(form->handle(), {(r.left + r.right) / 2, (r.top + r.bottom) / 2}, CWP_SKIPINVISIBLE);
  }
};

// The visible push buttons among a window's children.
int visiblePushButtons(HWND parent) {
  int n = 0;
  for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    char cls[16] = {};
    GetClassNameA(w, cls, sizeof cls);
    const LONG_PTR type = GetWindowLongPtrA(w, GWL_STYLE) & BS_TYPEMASK;
    n += lstrcmpiA(cls, "Button") == 0 && IsWindowVisible(w) && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
  }
  return n;
}

TEST_F(MainWindow, StartsAsAStayOnTopToolWindowShowingTheConfirmedCount) {
  EXPECT_EQ(form->caption(), "CFM-2");
  EXPECT_TRUE(shown().empty());
  const LONG_PTR ex = GetWindowLongPtrW(form->handle(), GWL_EXSTYLE);
  const LONG_PTR style = GetWindowLongPtrW(form->handle(), GWL_STYLE);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  wchar_t cls[32] = {};
  GetClassNameW(form->handle(), cls, 32);
  EXPECT_STREQ(cls, L"TForm1");

  EXPECT_TRUE(form->TakesSpots());
  EXPECT_FALSE(form->ConfirmingListShown());
  EXPECT_FALSE(form->VerdictShown());
  EXPECT_EQ(visiblePushButtons(form->handle()), 0) << "the lookup's button stays hidden";
  EXPECT_TRUE(form->CallsignFocused());
  // Auto-size: the two fields and the check box, inside the 1-pixel inner border;
  // the check box as far from the district field as designed (a field made wider
  // for its font moves it).
  const RECT takesSpots = form->PartRect(TForm1::Part::TakesSpots);
  EXPECT_EQ(form->clientWidth(), takesSpots.left + 41);
  EXPECT_EQ(takesSpots.left - form->PartRect(TForm1::Part::District).right, 160 - 96 - 49);
  EXPECT_EQ(form->clientHeight(), 22);
  testing_support::snapshot(form->handle(), "main-window-start");

  // The district field shows five characters of the widest district whole.
  form->EnterDistrict("MM-88");
  form->applyHeld();
  const HWND district = partWindow(TForm1::Part::District);
  ASSERT_NE(district, form->handle());
  RECT field{};
  GetClientRect(district, &field);
  const LRESULT last = SendMessageW(district, EM_POSFROMCHAR, 4, 0);
  HDC dc = GetDC(district);
  HGDIOBJ old = SelectObject(dc, HGDIOBJ(SendMessageW(district, WM_GETFONT, 0, 0)));
  SIZE eight{};
  GetTextExtentPoint32W(dc, L"8", 1, &eight);
  SelectObject(dc, old);
  ReleaseDC(district, dc);
  EXPECT_LE(short(LOWORD(last)) + eight.cx, field.right);
}

TEST_F(MainWindow, VerdictOfEachKindOfDistrict) {
  const struct {
    const char* typed;
    const char* title;
    bool bar;
    const char* panel;
    COLORREF colour;
    int alertAfter;  // -1: unchanged
  } cases[] = {
      {"ab-12", "Абинский район", true, "RDA Status CFM", RGB(0, 128, 0), 0},
      {"KK-33", "Fresh district", true, "New RDA !", RGB(255, 0, 0), 1},
      {"EF-05", "Old district deleted", false, "", 0, -1},
      {"GH-07", "Ghost Deleted", true, "New RDA !", RGB(255, 0, 0), 1},
      {"QQ-00", kNoSuch, false, "", 0, -1},
      {"ZZ-01", "", true, "New RDA !", RGB(255, 0, 0), 1},
  };
  for (const auto& c : cases) {
    for (std::uint8_t before : {std::uint8_t(0), std::uint8_t(1)}) {
      SCOPED_TRACE(std::string(c.typed) + " with the alert at " + std::to_string(before));
      form->ClearDistrict();
      AlertFlag = before;
      form->EnterDistrict(c.typed);
      EXPECT_EQ(form->caption(), c.title);
      EXPECT_EQ(form->VerdictShown(), c.bar);
      EXPECT_EQ(AlertFlag, c.alertAfter < 0 ? before : c.alertAfter);
      if (c.bar) {
        EXPECT_EQ(form->VerdictText(), c.panel);
        EXPECT_EQ(barPixel(), c.colour);
        EXPECT_TRUE(form->ConfirmingListShown());
      }
    }
  }
  EXPECT_TRUE(shown().empty());
}

TEST_F(MainWindow, ConfirmedDistrictShowsTheFirstConfirmingLineInSortedOrder) {
  form->EnterDistrict("AB-12");
  EXPECT_EQ(form->ConfirmingList(), std::vector<std::string>{"AB-12;RK3BBB;2020"});
  EXPECT_EQ(form->ConfirmingListHeight(), 35 + 18);
  testing_support::snapshot(form->handle(), "main-window-cfm");

  // A new district leaves the list box as it was and turns the bar red.
  form->EnterDistrict("KK-33");
  EXPECT_EQ(form->ConfirmingList(), std::vector<std::string>{"AB-12;RK3BBB;2020"});
  EXPECT_EQ(form->ConfirmingListHeight(), 53);
  testing_support::snapshot(form->handle(), "main-window-new");

  form->EnterDistrict("EF-05");
  testing_support::snapshot(form->handle(), "main-window-deleted");
  form->EnterDistrict("QQ-00");
  testing_support::snapshot(form->handle(), "main-window-unknown");
}

TEST_F(MainWindow, ListBoxGrowsByEighteenUpTo395AndTheWindowFollows) {
  const char* districts[] = {"AB-12", "CD-01"};
  int expected = 35;
  for (int i = 0; i < 24; ++i) {
    form->EnterDistrict(districts[i % 2]);
    expected = std::min(expected + 18, 395);
    ASSERT_EQ(form->ConfirmingListHeight(), expected) << "after " << i + 1 << " confirmed districts";
    ASSERT_EQ(form->ConfirmingList().size(), 1u);
  }
  const RECT bar = form->PartRect(TForm1::Part::VerdictBar);
  EXPECT_EQ(bar.bottom - bar.top, 17);
  EXPECT_EQ(form->clientHeight(), 24 + 395 + 17);
  EXPECT_EQ(form->clientWidth(), 257);
}

TEST_F(MainWindow, EmptyConfirmationsShowNoVerdictButClearTheAlert) {
  dir.write("QJcfm.txt", "");
  AlertFlag = 1;
  form->EnterDistrict("AB-12");
  EXPECT_FALSE(form->VerdictShown());
  EXPECT_EQ(AlertFlag, 0);
}

TEST_F(MainWindow, TypingWIntoTheDistrictFieldClearsIt) {
  for (const char* w : {"w", "W"}) {
    form->EnterDistrict("AB-12");
    form->EnterDistrict(w);
    EXPECT_EQ(form->District(), "");
    EXPECT_EQ(form->caption(), kNoSuch);
    EXPECT_FALSE(form->VerdictShown());
  }
}

TEST_F(MainWindow, AltWEmptiesBothFieldsWhateverElseIsHeld) {
  for (ui::ShiftState shift : {ui::ShiftState{false, true, false}, ui::ShiftState{true, true, false},
                               ui::ShiftState{false, true, true}}) {
    form->EnterCallsign("UA1AAA");
    form->EnterDistrict("AB-12");
    ASSERT_TRUE(form->ConfirmingListShown());
    form->FocusDistrict();
    form->FormKeyDown('W', shift);
    EXPECT_EQ(form->Callsign(), "");
    EXPECT_EQ(form->District(), "");
    EXPECT_FALSE(form->ConfirmingListShown());
    EXPECT_FALSE(form->VerdictShown());
    EXPECT_EQ(form->caption(), kNoSuch);
    EXPECT_TRUE(form->CallsignFocused());
  }
  // Also when both fields were empty already.
  form->setCaption("CFM-2");
  form->FormKeyDown('W', {false, true, false});
  EXPECT_EQ(form->caption(), kNoSuch);
}

// Keys typed while the program was busy (a download that ends in a box) are not
// taken by the box: they reach their field once it is closed, Shift as it was held.
TEST_F(MainWindow, KeysTypedAheadOfABoxReachTheirFieldAfterIt) {
  ui::setMessageBoxHook(nullptr);  // a real box, closed by a hand of its own
  form->FocusCallsign();
  settle();
  std::vector<INPUT> keys;
  for (const auto& [vk, up] : {std::pair{VK_SHIFT, false}, {'R', false}, {'R', true}, {VK_SHIFT, true}, {'3', false},
                              {'3', true}, {VK_RETURN, false}, {VK_RETURN, true}}) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = WORD(vk);
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    keys.push_back(in);
  }
  SendInput(UINT(keys.size()), keys.data(), sizeof(INPUT));
  std::thread closer([] {
    HWND box = nullptr;
    for (int i = 0; i < 250 && !box; ++i, Sleep(20)) box = FindWindowW(L"#32770", L"ruDOZ");
    if (box) PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  ui::showMessage("The download failed.");
  closer.join();
  settle();
  EXPECT_EQ(form->Callsign(), "R3");
}

TEST_F(MainWindow, LettersWithoutAltDoNothingAndAltQCloses) {
  form->EnterCallsign("UA1AAA");
  form->FormKeyDown('W', {});
  form->FormKeyDown('Q', {true, false, true});
  EXPECT_EQ(form->Callsign(), "UA1AAA");
  EXPECT_TRUE(IsWindowVisible(form->handle()));
  form->FormKeyDown('Q', {false, true, false});
  pump();
  EXPECT_EQ(form->handle(), nullptr);
  EXPECT_TRUE(ui::app().terminated());
}

TEST_F(MainWindow, MissingDistrictListIsReportedAndTriedAgainNextTime) {
  dir.remove("QJar.txt");
  form->EnterDistrict("AB-12");
  ASSERT_EQ(shown().size(), 1u);
  EXPECT_EQ(shown()[0].caption, "ruDOZ");
  EXPECT_EQ(shown()[0].text.rfind("Cannot open file \"QJar.txt\". ", 0), 0u) << shown()[0].text;
  EXPECT_GT(shown()[0].text.size(), std::string("Cannot open file \"QJar.txt\". ").size());
  EXPECT_EQ(form->caption(), kNoSuch);
  EXPECT_FALSE(form->VerdictShown());

  dir.writeLines("QJar.txt", {"AB-12 Back again"});
  form->EnterDistrict("ab-12");
  EXPECT_EQ(form->caption(), "Back again");
  EXPECT_TRUE(form->VerdictShown());
  EXPECT_EQ(shown().size(), 1u);
}

TEST_F(MainWindow, MissingConfirmationsEndTheCheckWithTheAlertCleared) {
  dir.remove("QJcfm.txt");
  AlertFlag = 1;
  form->EnterDistrict("AB-12");
  ASSERT_EQ(shown().size(), 1u);
  EXPECT_EQ(shown()[0].text.rfind("Cannot open file \"QJcfm.txt\". ", 0), 0u);
  EXPECT_EQ(form->caption(), "Абинский район");
  EXPECT_EQ(AlertFlag, 0);
  EXPECT_FALSE(form->VerdictShown());
}

TEST(MainWindowStart, MissingConfirmationsAtActivationKeepTheTitle) {
  ScratchDir dir;
  MessageRecorder messages;
  auto form = std::make_unique<TForm1>();
  Form1 = form.get();
  form->bringToFront();
  settle();
  ASSERT_EQ(messages.messages().size(), 1u);
  EXPECT_EQ(messages.messages()[0].text.rfind("Cannot open file \"QJcfm.txt\". ", 0), 0u);
  EXPECT_EQ(form->caption(), "ruDOZ");
  Form1 = nullptr;
}

TEST_F(MainWindow, TaskbarShowsOneButtonNamedRuDOZThatBringsTheMainWindowBack) {
  // Windows gives a button to a visible top-level window that is not owned and not a
  // tool window (or is an app window).
  auto hasButton = [](HWND w) {
    const LONG_PTR ex = GetWindowLongPtrW(w, GWL_EXSTYLE);
    return IsWindowVisible(w) && !GetWindow(w, GW_OWNER) &&
           (!(ex & WS_EX_TOOLWINDOW) || (ex & WS_EX_APPWINDOW));
  };
  const HWND application = ui::app().ownerWindow();
  EXPECT_FALSE(hasButton(form->handle()));  // the main window stays a tool window
  EXPECT_EQ(GetWindow(form->handle(), GW_OWNER), application);
  EXPECT_TRUE(hasButton(application));
  wchar_t name[16] = {};
  GetWindowTextW(application, name, 16);
  EXPECT_STREQ(name, L"ruDOZ");

  // The button minimises the program and brings it back, active.
  SendMessageW(application, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(form->handle()); })) << "the main window hidden";
  SendMessageW(application, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(form->handle()) && GetActiveWindow() == form->handle(); }))
      << "the main window shown and active";
}

TEST_F(MainWindow, HugeDistrictDescriptionIsClippedInTheTitleOnly) {
  // Tens of megabytes of description: no screen shows that, and a title that long
  // is more than the display server takes. The "deleted" at its end still counts.
  const std::string description(17u << 20, 'x');
  dir.writeLines("QJar.txt", {"AB-12 " + description, "CD-01 " + description + " deleted"});
  form->EnterDistrict("AB-12");
  EXPECT_TRUE(form->VerdictShown());
  const std::string title = form->caption();
  EXPECT_GE(title.size(), 1000u);
  EXPECT_LT(title.size(), 10000u);
  EXPECT_EQ(title, description.substr(0, title.size()));
  form->EnterDistrict("CD-01");
  EXPECT_FALSE(form->VerdictShown());
  EXPECT_TRUE(shown().empty());
}

}  // namespace

namespace {

TEST_F(MainWindow, TabsOfThePublishedListShowAsOneBlankInTheTitle) {
  // As the award publishes it: tabs between the parts, notes after more tabs, LF.
  dir.write("QJar.txt",
            "AB-12\t\xC0\xE1\xE8\xED\xF1\xEA\xE8\xE9 \xF0\xE0\xE9\xEE\xED\t\t\tnew 01.01.2001\t\t\n"
            "EF-05\tOld district\t\tdeleted\t***\n"
            "GH-05\tOlder district\t\tdeleted\tAB-12\n");
  form->EnterDistrict("AB-12");
  form->applyHeld();
  wchar_t title[128] = {};
  GetWindowTextW(form->handle(), title, 128);
  EXPECT_EQ(std::wstring(title), L"\u0410\u0431\u0438\u043d\u0441\u043a\u0438\u0439 \u0440\u0430\u0439\u043e\u043d new 01.01.2001");
  EXPECT_TRUE(form->VerdictShown());
  form->EnterDistrict("EF-05");  // what is compared keeps its tabs: still retired, with no successor
  form->applyHeld();
  GetWindowTextW(form->handle(), title, 128);
  EXPECT_EQ(std::wstring(title), L"Old district deleted ***");
  EXPECT_FALSE(form->VerdictShown());
  // A deleted district that names its successor is judged by it, the title naming both.
  form->EnterDistrict("GH-05");
  form->applyHeld();
  GetWindowTextW(form->handle(), title, 128);
  EXPECT_EQ(std::wstring(title),
            L"GH-05 deleted -> AB-12 \u0410\u0431\u0438\u043d\u0441\u043a\u0438\u0439 \u0440\u0430\u0439\u043e\u043d new 01.01.2001");
  EXPECT_TRUE(form->VerdictShown());
}

}  // namespace
