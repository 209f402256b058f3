// The spot list and the verdict for screen readers, the keyboard and colour-blind
// eyes, in-process: the grid's accessible object as a reader takes it (through
// AccessibleObjectFromWindow; the end-to-end test takes it from another process),
// the events a reader hears, real key presses, the palettes on the screen, and the
// spoken alert through its seam.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <oleacc.h>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/VipU.h"
#include "core/link_texts.h"
#include "logger32_standin.h"
#include "program_windows.h"
#include "support.h"
#include "ui/accessible_grid.h"
#include "ui/application.h"
#include "ui/text.h"

namespace {

using testing_support::settle;

// The events a reader hears, from the program's own windows.
std::vector<std::pair<DWORD, LONG>>& heard() {
  static std::vector<std::pair<DWORD, LONG>> events;
  return events;
}
void CALLBACK listen(HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG child, DWORD, DWORD) {
  // The grid's rows, and the windows themselves (the verdict bar among them).
  if (object == OBJID_CLIENT || object == OBJID_WINDOW) heard().emplace_back(event, child);
}

class Access : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::removeSettingsFile(TVip::SettingsPath());
    dir.writeLines("QJcfm.txt", {"CD-01;R1CCC;20m"});
    dir.writeLines("QJar.txt", {"AB-12 Abinsk", "CD-01 Other", "KK-33 Fresh"});
    dir.writeLines("RUdoz.txt", {"R3NEW KK-33", "R1CCC CD-01"});
    dir.writeLines("QJlook.txt", {"R9X"});
    dir.writeLines("QJreg.txt", {"AB-12 01.2020-LastQso 3.55%MW", "KK-33 04.2023-LastQso 22%MW"});
    windows.emplace();
    logger32.emplace(testing_support::Logger32StandIn::Thread::TestThread);
    Form2->CommandWnd = logger32->commandWindow();
    SetCursorPos(1200, 1000);
  }
  void TearDown() override {
    if (hook) UnhookWinEvent(hook);
    vip.reset();
    Vip = nullptr;
    windows.reset();
    logger32.reset();
    settle();
    testing_support::removeSettingsFile(TVip::SettingsPath());
  }
  void createVip(const std::string& settings = "") {
    std::ofstream(TVip::SettingsPath(), std::ios::binary) << "[RD]\r\nVipLeft=330\r\nVipTop=10\r\n" << settings;
    vip = std::make_unique<TVip>();
    Vip = vip.get();
  }
  std::vector<std::string> sent() {
    settle();
    EXPECT_TRUE(testing_support::waitUntil([] { return !Form2->Busy(); }));
    return logger32->takeCommands();
  }
  // What the screen shows at the middle of a row's first cell.
  COLORREF rowPixel(int row) const {
    const RECT r = Vip->CellRect(0, row);
    return testing_support::screenPixel(Vip->PartWindow(TVip::Part::Grid), r.right - 3, (r.top + r.bottom) / 2);
  }

  testing_support::ScratchDir dir;
  testing_support::MessageRecorder messages;
  std::optional<MainAndLinkWindows> windows;
  std::optional<testing_support::Logger32StandIn> logger32;
  std::unique_ptr<TVip> vip;
  HWINEVENTHOOK hook = nullptr;
};

std::string text(BSTR b) {
  const std::string t = b ? ui::narrow(b) : std::string();
  SysFreeString(b);
  return t;
}

TEST_F(Access, TheGridReadsAsATableOfRowsAndTunesOne) {
  createVip();
  hook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_NAMECHANGE, nullptr, &listen, GetCurrentProcessId(), 0,
                         WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  Vip->AddSpot("R9ABC", "14025.0", "AB-12", "18:04");
  Vip->AddSpot("R9DEF", "7012.0", "CD-01", "18:05");
  Vip->AddSpot("R9GHI", "3525.0", "KK-33", "18:06");
  settle();

  IAccessible* table = nullptr;
  ASSERT_EQ(AccessibleObjectFromWindow(Vip->PartWindow(TVip::Part::Grid), DWORD(OBJID_CLIENT), ui::kIID_IAccessible,
                                       reinterpret_cast<void**>(&table)),
            S_OK);
  long rows = 0;
  ASSERT_EQ(table->get_accChildCount(&rows), S_OK);
  EXPECT_EQ(rows, 3);
  const std::vector<std::string> names = {"R9ABC, 14025.0, AB-12, 18:04, 3 %", "R9DEF, 7012.0, CD-01, 18:05",
                                          "R9GHI, 3525.0, KK-33, 18:06, 22 %"};
  const std::vector<std::string> descriptions = {"Most Wanted, under 15 %", "", "Most Wanted, under 30 %"};
  for (long child = 1; child <= 3; ++child) {
    SCOPED_TRACE(child);
    VARIANT id{};
    id.vt = VT_I4;
    id.lVal = child;
    BSTR name = nullptr, description = nullptr, action = nullptr;
    table->get_accName(id, &name);
    table->get_accDescription(id, &description);
    table->get_accDefaultAction(id, &action);
    EXPECT_EQ(text(name), names[std::size_t(child - 1)]);
    EXPECT_EQ(text(description), descriptions[std::size_t(child - 1)]);
    EXPECT_EQ(text(action), "Tune");
    VARIANT role{};
    table->get_accRole(id, &role);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_ROW);
  }
  // The default action of row 3 is the click sequence of row 3.
  VARIANT third{};
  third.vt = VT_I4;
  third.lVal = 3;
  EXPECT_EQ(table->accDoDefaultAction(third), S_OK);
  const std::vector<std::string> tuneThird = {core::spotClickCommand("3525.0", "R9GHI"), "<STATE:2>KK<CNTY:2>33"};
  EXPECT_EQ(sent(), tuneThird);
  // The child stays that row while rows above it go, and is refused once it is gone.
  Vip->ContestOptions.MergeMinutes = 30;
  Vip->AddSpot("R9ABC", "14026.0", "AB-12", "18:07");  // the first row merges away
  EXPECT_EQ(table->accDoDefaultAction(third), S_OK);
  EXPECT_EQ(sent(), tuneThird);
  Vip->AddSpot("R9GHI", "3526.0", "KK-33", "18:08");
  EXPECT_EQ(table->accDoDefaultAction(third), E_INVALIDARG);
  VARIANT role{};
  role.vt = VT_BSTR;  // a failed call leaves no stale value behind
  EXPECT_EQ(table->get_accRole(third, &role), E_INVALIDARG);
  EXPECT_EQ(role.vt, VT_EMPTY);
  EXPECT_TRUE(sent().empty());
  table->Release();

  // What became of rows: added (three above), merged, aged out, all cleared.
  const auto count = [](DWORD event) {
    int n = 0;
    for (const auto& e : heard()) n += e.first == event && e.second > 0;
    return n;
  };
  EXPECT_EQ(count(EVENT_OBJECT_CREATE), 5);
  Vip->ContestOptions.MaxAgeMinutes = 1;
  Vip->Now = [] { return core::Millis(GetTickCount64()) + core::minutesToMillis(5); };
  Vip->Timer1Timer();
  settle();
  EXPECT_EQ(count(EVENT_OBJECT_DESTROY), 5) << "the merged rows and the aged ones";
  EXPECT_TRUE(messages.messages().empty());
}

// The verdict bar reads as its text, and a reader hears when it changes.
TEST_F(Access, TheVerdictReadsAsItsText) {
  createVip();
  hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, &listen, GetCurrentProcessId(), 0,
                         WINEVENT_OUTOFCONTEXT);
  Form1->EnterCallsign("R1CCC");
  settle();
  const RECT bar = Form1->PartRect(TForm1::Part::VerdictBar);
  HWND barWindow = ChildWindowFromPointEx(Form1->handle(), {(bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2},
                                          CWP_SKIPINVISIBLE);
  wchar_t shown[64] = {};
  GetWindowTextW(barWindow, shown, 64);
  EXPECT_EQ(std::wstring(shown), L"RDA Status CFM");
  heard().clear();
  Form1->EnterCallsign("R3NEW");
  settle();
  GetWindowTextW(barWindow, shown, 64);
  EXPECT_EQ(std::wstring(shown), L"New RDA !");
  EXPECT_FALSE(heard().empty()) << "the name-changed event of the bar";
}

// Real key presses: Tab to the grid, Down twice, Enter tunes row 3; the selection
// follows its row when rows go above it.
TEST_F(Access, TheKeyboardReachesAndTunesTheRows) {
  createVip();
  for (const char* call : {"R9ABC", "R9DEF", "R9GHI", "R9JKL"}) Vip->AddSpot(call, "14025.0", "AB-12", "18:04");
  Vip->bringToFront();
  settle();
  std::vector<INPUT> keys;
  for (const WORD vk : {WORD(VK_TAB), WORD(VK_DOWN), WORD(VK_DOWN), WORD(VK_RETURN)})
    for (const bool up : {false, true}) {
      INPUT in{};
      in.type = INPUT_KEYBOARD;
      in.ki.wVk = vk;
      in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
      keys.push_back(in);
    }
  SendInput(UINT(keys.size()), keys.data(), sizeof(INPUT));
  settle();
  EXPECT_EQ(sent(), (std::vector<std::string>{core::spotClickCommand("14025.0", "R9GHI"), "<STATE:2>AB<CNTY:2>12"}));
  EXPECT_EQ(Vip->CurrentCell().row, 3);
  EXPECT_TRUE(messages.messages().empty());
}

// The palettes on the screen: the described colours by default, others told apart
// with every common colour-vision deficiency with Palette=1.
TEST_F(Access, PalettesOnTheScreen) {
  struct Case {
    const char* settings;
    COLORREF newBar, confirmedBar, pinkRow;
  };
  const Case cases[] = {{"", RGB(255, 0, 0), RGB(0, 128, 0), RGB(249, 176, 182)},
                        {"Palette=1\r\n", RGB(230, 159, 0), RGB(86, 180, 233), RGB(247, 197, 120)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings);
    createVip(c.settings);
    Form1->StopBlinking();
    const auto barPixel = [&] {
      settle();
      const RECT bar = Form1->PartRect(TForm1::Part::VerdictBar);
      return testing_support::screenPixel(Form1->handle(), bar.left + 4, bar.top + 3);
    };
    Form1->EnterCallsign("R3NEW");
    EXPECT_EQ(barPixel(), c.newBar);
    Form1->EnterCallsign("R1CCC");
    EXPECT_EQ(barPixel(), c.confirmedBar);
    Vip->AddSpot("R9ABC", "14025.0", "AB-12", "18:04");
    settle();
    EXPECT_EQ(rowPixel(Vip->RowCount() - 2), c.pinkRow);
    testing_support::snapshot(Vip->handle(), std::string("access-palette-") + (*c.settings ? "1" : "0"));
    vip.reset();
    Vip = nullptr;
  }
}

// Spoken alerts through their seam: spots from Logger32 that raise the alert, never
// the operator's typing; without a voice, silence after the first try.
TEST_F(Access, AlertsAreSpokenAndSilentWithoutAVoice) {
  createVip("SpeakAlerts=1\r\n");
  std::vector<std::wstring> said;
  bool voice = true;
  Form1->Speech.speak = [&](const std::wstring& words) {
    said.push_back(words);
    return voice;
  };
  const auto spot = [](const std::string& call) {
    const std::string record = "<DXSPOT_CALLSIGN:5>" + call + "<DXSPOT_FREQ:7>14025.0";
    SendMessageA(Form2->SpotField(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(record.c_str()));
  };
  spot("R3NEW");
  Form1->EnterCallsign("R3NEW ");  // typed: not spoken
  spot("R1CCC");                   // confirmed: not spoken
  EXPECT_EQ(said, std::vector<std::wstring>{L"New RDA KK-33"});
  voice = false;
  spot("R3NEW");
  spot("R1CCC");
  spot("R3NEW");
  EXPECT_EQ(said.size(), 2u) << "tried once without a voice, then silent";
  EXPECT_TRUE(messages.messages().empty());
}

}  // namespace
