// The spot list's contest options in-process: their keys and their dialog, repeats
// merged into one row per station, old rows removed but never the one under the
// operator's hand, listing without taking the focus, and the alert sound counted
// through the players' seam. Time is the window's clock, set by the tests.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <utility>

#include "app/Radio.h"
#include "app/VipU.h"
#include "app/Texts.h"
#include "app/Unit1.h"
#include "core/link_texts.h"
#include "core/palette.h"
#include "logger32_standin.h"
#include "program_windows.h"
#include "support.h"
#include "ui/application.h"
#include "ui/gdi.h"
#include "ui/text.h"

namespace {

using core::minutesToMillis;
using testing_support::settle;

constexpr COLORREF kPink = 0xB6B0F9;  // the rows of AB-12, 3 %
using Field = TOptions::Field;
using Box = TOptions::Box;

// The dialog's OK, run as its button runs it: inside the error boundary.
void ok(TOptions& dialog) {
  ui::app().guard([&] { dialog.OkClick(); });
}
// "Options…" from the spot list's menu.
void openOptions() {
  ui::app().guard([] { Vip->Options1Click(); });
}
// Opens the options dialog `opens` times, taking the operator's steps in it, one each
// time the dialog's loop finds nothing to do; answers how many it took.
using DialogSteps = std::vector<std::function<void(TOptions&)>>;
std::size_t inOptionsDialog(const DialogSteps& steps, int opens = 1) {
  std::size_t next = 0;
  const int idle = ui::app().addIdleHandler([&] {
    if (Vip->OptionsDialog && IsWindowVisible(Vip->OptionsDialog->handle()) && next < steps.size()) {
      steps[next++](*Vip->OptionsDialog);
      PostMessageW(Vip->OptionsDialog->handle(), WM_NULL, 0, 0);
    }
  });
  for (int i = 0; i < opens; ++i) openOptions();
  ui::app().removeIdleHandler(idle);
  return next;
}

class SpotListOptions : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::removeSettingsFile(TVip::SettingsPath());
    dir.writeLines("QJcfm.txt", {"CD-01;R1CCC;20m"});
    dir.writeLines("QJar.txt", {"AB-12 Abinsk", "CD-01 Other"});
    dir.writeLines("RUdoz.txt", {"R3NEW AB-12"});
    dir.writeLines("QJlook.txt", {"R9X"});
    dir.writeLines("QJreg.txt", {"AB-12 01.2020-LastQso 3.55%MW", "CD-01 02.2021-LastQso 75%MW"});
    windows.emplace();
    // Logger32's command window on the test's own thread, which records every text.
    logger32.emplace(testing_support::Logger32StandIn::Thread::TestThread);
    Form2->CommandWnd = logger32->commandWindow();
    SetCursorPos(1200, 1000);  // away from every window, until a test puts it on a row
  }
  void TearDown() override {
    vip.reset();
    Vip = nullptr;
    windows.reset();
    logger32.reset();
    settle();
    testing_support::removeSettingsFile(TVip::SettingsPath());
  }
  void createVip(const std::vector<std::string>& settings) {
    std::string bytes = "[RD]\r\n";
    for (const auto& l : settings) bytes += l + "\r\n";
    std::ofstream(TVip::SettingsPath(), std::ios::binary) << bytes;
    vip.reset();
    vip = std::make_unique<TVip>();
    Vip = vip.get();
    Vip->Now = [this] { return clock; };
    // Noon UTC when the test's clock starts, so that spot times of 12:00 are fresh.
    Vip->UtcNow = [this] { return minutesToMillis(12 * 60) + clock; };
  }
  std::string setting(const std::string& key) const {
    std::ifstream in(TVip::SettingsPath(), std::ios::binary);
    for (std::string l; std::getline(in, l);)
      if (l.rfind(key + "=", 0) == 0) return l.substr(key.size() + 1, l.size() - key.size() - 1 - (l.back() == '\r'));
    return "<missing>";
  }
  std::vector<std::string> rowTexts(int row) const {
    std::vector<std::string> r;
    for (int c = 0; c < 4; ++c) r.push_back(Vip->Cell(c, row));
    return r;
  }
  std::vector<std::string> calls() const {
    std::vector<std::string> r;
    for (int row = 1; row < Vip->RowCount() - 1; ++row) r.push_back(Vip->Cell(0, row));
    return r;
  }
  // The pink rows the screen shows in the grid's first column, right of the text.
  int pinkRowsOnScreen() const {
    settle();
    const auto screen = testing_support::captureClient(Vip->PartWindow(TVip::Part::Grid));
    const int x = Vip->ColWidth(0) - 3;
    int rows = 0;
    for (int y = 0, before = false; y < screen.height; ++y) {
      const bool pink = screen.pixel(x, y) == kPink;
      rows += pink && !before;
      before = pink;
    }
    return rows;
  }
  void pointAtRow(int row) {
    const RECT r = Vip->CellRect(0, row);
    pointAt({5, (r.top + r.bottom) / 2});
  }
  // The pointer at a point of the grid's client area, where the program's loop has
  // noticed it.
  void pointAt(POINT at) {
    ClientToScreen(Vip->PartWindow(TVip::Part::Grid), &at);
    SetCursorPos(at.x, at.y);
    settle();
    ui::app().idle();
  }
  // Real presses of the left button where the pointer is: one click, or a double click.
  static void press(int clicks = 1) {
    std::vector<INPUT> input(std::size_t(2 * clicks));
    for (std::size_t i = 0; i < input.size(); ++i) {
      input[i].type = INPUT_MOUSE;
      input[i].mi.dwFlags = i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
    }
    SendInput(UINT(input.size()), input.data(), sizeof(INPUT));
  }
  // What Logger32 got once the click sequences are over.
  std::vector<std::string> sent() {
    settle();
    EXPECT_TRUE(testing_support::waitUntil([] { return !Form2->Busy(); }));
    return logger32->takeCommands();
  }
  std::string callUnderPointer() const {
    POINT pt{};
    GetCursorPos(&pt);
    ScreenToClient(Vip->PartWindow(TVip::Part::Grid), &pt);
    return Vip->Cell(0, Vip->CellAt(1, pt.y).row);
  }
  // Logger32 writes a spot record into the link window's spot field.
  static void spotFromLogger32(const std::string& call, const std::string& freq, const std::string& hhmm) {
    const std::string record = "<DXSPOT_CALLSIGN:" + std::to_string(call.size()) + ">" + call + "<DXSPOT_FREQ:" +
                               std::to_string(freq.size()) + ">" + freq + "<APP_DXSPOT_TIME:4>" + hhmm;
    SendMessageA(Form2->SpotField(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(record.c_str()));
  }

  testing_support::ScratchDir dir;
  testing_support::MessageRecorder messages;
  std::optional<MainAndLinkWindows> windows;
  std::optional<testing_support::Logger32StandIn> logger32;
  std::unique_ptr<TVip> vip;
  core::Millis clock = 0;
};

TEST_F(SpotListOptions, GarbageReadsAsTheDefaultAndUntouchedKeysStayOutOfTheFile) {
  createVip({"MergeMinutes=abc", "MaxAgeMinutes=-5", "ListWithoutFocus=yes", "AlertSound=1",
             "AlertSoundFile=C:\\sounds\\new one.wav", "AlertSoundMinutes=99999"});
  EXPECT_EQ(Vip->ContestOptions, (core::SpotListOptions{.AlertSound = true, .AlertSoundFile = L"C:\\sounds\\new one.wav"}));
  Vip->WriteParams();
  // Keys present keep what the operator wrote until the operator changes them here;
  // those never written stay out.
  EXPECT_EQ(setting("MergeMinutes"), "abc");
  EXPECT_EQ(setting("AlertSound"), "1");
  EXPECT_EQ(setting("AlertSoundMinutes"), "99999");

  testing_support::removeSettingsFile(TVip::SettingsPath());
  createVip({});
  EXPECT_EQ(Vip->ContestOptions, core::SpotListOptions{});
  Vip->WriteParams();
  for (const char* key : {"MergeMinutes", "MaxAgeMinutes", "ListWithoutFocus", "AlertSound", "AlertSoundFile",
                          "AlertSoundMinutes"})
    EXPECT_EQ(setting(key), "<missing>") << key;
  EXPECT_TRUE(messages.messages().empty());
}

TEST_F(SpotListOptions, TheDialogShowsTheOptionsAndOkKeepsOnlyWhatReadsRight) {
  createVip({"MaxAgeMinutes=45"});
  Vip->show();
  DialogSteps steps = {
      [](TOptions& d) {
        EXPECT_EQ(std::make_tuple(d.FieldText(Field::Merge), d.FieldText(Field::Age), d.Checked(Box::WithoutFocus),
                                  d.FieldText(Field::SoundMinutes), d.FieldText(Field::SoundFile)),
                  std::make_tuple("0", "45", false, "10", ""));
        // A spot listed meanwhile leaves the dialog in front, with the keyboard.
        Vip->AddSpot("R3NEW", "7012.0", "AB-12", "12:00");
        settle();
        EXPECT_EQ(GetActiveWindow(), d.handle());
        bool dialogAbove = false;
        for (HWND w = GetWindow(d.handle(), GW_HWNDNEXT); w && !dialogAbove; w = GetWindow(w, GW_HWNDNEXT))
          dialogAbove = w == Vip->handle();
        EXPECT_TRUE(dialogAbove);
        d.TypeInto(Field::Merge, "30 min");
        ok(d);
      },
      [](TOptions& d) {
        // Still open, the wrong field named in red, what was typed kept.
        EXPECT_TRUE(IsWindowVisible(d.handle()));
        EXPECT_EQ(d.ProblemText(), "Merge: whole minutes from 0 to 1440, please");
        EXPECT_EQ(d.FieldText(Field::Merge), "30 min");
        settle();
        const auto shown = testing_support::captureClient(d.ProblemWindow());
        EXPECT_GT(shown.count({0, 0, shown.width, shown.height}, [](COLORREF c) { return c == RGB(255, 0, 0); }), 20);
        testing_support::snapshot(d.handle(), "spot-list-options-wrong-value");
        d.TypeInto(Field::Merge, "30");
        d.TypeInto(Field::Age, "0x0F");
        d.SetChecked(Box::WithoutFocus, true);
        d.SetChecked(Box::Sound, true);
        d.TypeInto(Field::SoundMinutes, " 5 ");
        d.TypeInto(Field::SoundFile, "alert.wav");
        ok(d);
      }};
  EXPECT_EQ(inOptionsDialog(steps), steps.size());
  EXPECT_FALSE(IsWindowVisible(Vip->OptionsDialog->handle()));
  const core::SpotListOptions chosen{30, 15, true, true, L"alert.wav", 5};
  EXPECT_EQ(Vip->ContestOptions, chosen);
  // Kept at once, and read back at the next start.
  EXPECT_EQ((std::vector<std::string>{setting("MergeMinutes"), setting("MaxAgeMinutes"), setting("ListWithoutFocus"),
                                      setting("AlertSound"), setting("AlertSoundFile"), setting("AlertSoundMinutes")}),
            (std::vector<std::string>{"30", "15", "1", "1", "alert.wav", "5"}));
  vip.reset();
  vip = std::make_unique<TVip>();
  Vip = vip.get();
  EXPECT_EQ(Vip->ContestOptions, chosen);

  // Cancel, and the close box, change nothing.
  Vip->show();
  steps = {[](TOptions& d) {
             d.TypeInto(Field::Merge, "1");
             ui::app().guard([&] { d.CancelClick(); });
           },
           [](TOptions& d) {
             EXPECT_EQ(d.FieldText(Field::Merge), "30");
             d.TypeInto(Field::Merge, "2");
             d.close();
           }};
  EXPECT_EQ(inOptionsDialog(steps, 2), steps.size());
  EXPECT_EQ(Vip->ContestOptions, chosen);
  EXPECT_TRUE(messages.messages().empty());
}

// The file names the operator types keep every character on their way to the
// system; the settings file, which is Windows-1251, keeps their short form, which
// names the same files at the next start. A name it could not keep is refused.
TEST_F(SpotListOptions, FileNamesKeepEveryCharacter) {
  const std::wstring folder = ui::widen(dir.path()) + L"\\Sounds \u0109\u00fc";  // not in Windows-1251
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  const std::wstring sound = folder + L"\\alert \u0109.wav", log = folder + L"\\log \u00fc.adi";
  const auto write = [](const std::wstring& name, const std::string& bytes) {
    HANDLE f = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD done = 0;
    WriteFile(f, bytes.data(), DWORD(bytes.size()), &done, nullptr);
    CloseHandle(f);
  };
  write(sound, std::string("RIFF\x24\0\0\0WAVEfmt ", 16) + std::string(32, '\0'));
  write(log, "<EOH>\r\n<CALL:5>R3NEW<CNTY:5>AB-12<BAND:3>20m<EOR>\r\n");
  createVip({"AlertSound=1"});
  std::vector<std::wstring> played;
  Vip->Sound.playFile = [&](const std::wstring& path) {
    played.push_back(path);
    return true;
  };
  const DialogSteps steps = {
      [&](TOptions& d) {
        d.TypeInto(Field::SoundFile, folder + L"\\missing \u0109.wav");  // no file, so no short form
        ok(d);
      },
      [&](TOptions& d) {
        EXPECT_EQ(d.ProblemText(), "Sound file: the settings file cannot keep this name; rename the file or its folder");
        d.TypeInto(Field::SoundFile, sound);
        d.TypeInto(Field::WorkedLog, log);
        ok(d);
      }};
  ASSERT_EQ(inOptionsDialog(steps), steps.size());
  EXPECT_EQ(Vip->ContestOptions.AlertSoundFile, sound);
  Vip->AddSpot("R3NEW", "7012.0", "AB-12", "12:00");
  EXPECT_EQ(played, std::vector<std::wstring>{sound});
  Form1->EnterDistrict("AB-12");
  EXPECT_EQ(Form1->VerdictText(), "Worked RDA");

  const auto sameFile = [](const std::wstring& a, const std::wstring& b) {
    wchar_t la[MAX_PATH] = {}, lb[MAX_PATH] = {};
    return GetLongPathNameW(a.c_str(), la, MAX_PATH) && GetLongPathNameW(b.c_str(), lb, MAX_PATH) &&
           lstrcmpiW(la, lb) == 0;
  };
  for (const auto& [key, name] : {std::pair{"AlertSoundFile", sound}, std::pair{"WorkedLog", log}}) {
    SCOPED_TRACE(key);
    const std::string kept = setting(key);
    EXPECT_EQ(kept.find('?'), std::string::npos) << kept;
    EXPECT_TRUE(sameFile(ui::widen(kept), name)) << kept;
  }
  vip.reset();
  vip = std::make_unique<TVip>();
  Vip = vip.get();
  Vip->Sound.playFile = [&](const std::wstring& path) {
    played.push_back(path);
    return true;
  };
  Vip->AddSpot("R3TWO", "7012.0", "AB-12", "12:00");
  ASSERT_EQ(played.size(), 2u);
  EXPECT_TRUE(sameFile(played[1], sound));
  EXPECT_TRUE(messages.messages().empty());
}

// The i-th spot of a feed of 50 stations, one a second, in two districts: callsign,
// frequency, district and time.
std::vector<std::string> feedSpot(int i) {
  const int station = (i * 7) % 50;
  // All on 20 m: a repeat merges with its station's row of the same band.
  std::string call = "R", freq = std::to_string(14000 + i % 300), time = std::to_string(10 + i / 60);
  call += std::to_string(station) + "AA";
  freq += ".0";
  time += ":" + std::to_string(10 + i % 50);
  return {call, freq, station % 2 ? "AB-12" : "CD-01", time};
}

TEST_F(SpotListOptions, RepeatsOfAStationMergeIntoOneRowWithItsLastSpot) {
  createVip({"MergeMinutes=30"});
  for (int i = 0; i < 1000; ++i) {
    clock = i * core::Millis(1000);
    const auto s = feedSpot(i);
    Vip->AddSpot(s[0], s[1], s[2], s[3]);
  }
  ASSERT_EQ(Vip->RowCount(), 52);
  // The rows in the order of their stations' last spots, each with its last
  // frequency and time.
  for (int row = 1; row <= 50; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(rowTexts(row), feedSpot(950 + row - 1));
  }
  EXPECT_EQ(Vip->TopRow() + Vip->VisibleRowCount() - 1, 50) << "the newest row lowest in view";

  // A click on a merged row tunes to its last frequency.
  pressDrawnRow(50);
  const auto commands = sent();  // the rows hold still while the click is on its way
  ASSERT_FALSE(commands.empty());
  EXPECT_EQ(commands[0], "<APP_CLICK_DXSPOT:15>14099.000|R43AA");

  // On the screen: three spots of one station are one row; past the window a
  // repeat is a row of its own.
  ui::app().guard([] { Vip->CLEAR1Click(); });
  for (int i = 0; i < 3; ++i) Vip->AddSpot("R3NEW", "7012." + std::to_string(i), "AB-12", "12:0" + std::to_string(i));
  EXPECT_EQ(calls(), std::vector<std::string>{"R3NEW"});
  EXPECT_EQ(pinkRowsOnScreen(), 1);
  clock += minutesToMillis(30) + 1;
  Vip->AddSpot("R3NEW", "7013.0", "AB-12", "12:31");
  EXPECT_EQ(pinkRowsOnScreen(), 2);
  testing_support::snapshot(Vip->handle(), "spot-list-merged");

  // A typed callsign is listed with the last spot's frequency in a row of its own:
  // the station's spot row keeps its frequency.
  ui::app().guard([] { Vip->CLEAR1Click(); });
  for (const auto& [call, freq] : {std::pair{"R3NEW", "14001.1"}, {"R2OTH", "14002.2"}}) {
    const std::string record = std::string("<DXSPOT_CALLSIGN:5>") + call + "<DXSPOT_FREQ:7>" + freq;
    SendMessageA(Form2->SpotField(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(record.c_str()));
  }
  Form1->EnterCallsign("R3NEW");  // R2OTH has no district: no alert of its own, not listed
  EXPECT_EQ(calls(), (std::vector<std::string>{"R3NEW", "R3NEW"}));
  EXPECT_EQ(rowTexts(1)[1], "14001.1");
  EXPECT_EQ(rowTexts(2)[1], "14002.2");
}

TEST_F(SpotListOptions, OldRowsGoOnceAMinuteAndAtEachSpot) {
  createVip({"MaxAgeMinutes=1", "MergeMinutes=30"});
  const auto spot = [&](const char* call, core::Millis second) {
    clock = second * 1000;
    Vip->AddSpot(call, "7012.0", "AB-12", "");  // no time of their own: aged from their arrival
  };
  spot("R1AA", 0);
  spot("R2AA", 30);
  spot("R3AA", 50);
  EXPECT_EQ(pinkRowsOnScreen(), 3);
  clock = 61000;
  Vip->Timer1Timer();
  EXPECT_EQ(calls(), (std::vector<std::string>{"R2AA", "R3AA"}));
  spot("R4AA", 95);
  EXPECT_EQ(calls(), (std::vector<std::string>{"R3AA", "R4AA"}));
  EXPECT_EQ(pinkRowsOnScreen(), 2);
  // A callsign typed now is listed now, though it shows the time of the last spot,
  // long past the limit.
  spotFromLogger32("R2OTH", "14002.2", "1150");
  Form1->EnterCallsign("R3NEW");
  EXPECT_EQ(calls(), (std::vector<std::string>{"R3AA", "R4AA", "R3NEW"}));
  EXPECT_EQ(rowTexts(3)[3], "11:50");
  EXPECT_TRUE(messages.messages().empty());
}

// With real pointer input: what the operator's hand rests on does not move while
// rows above it merge away and age out, and a press tunes the row that stood under
// it when the button went down, also when spots that move the rows are handled
// before the press.
TEST_F(SpotListOptions, TheRowUnderTheHandStaysAndThePressedRowIsTheOneSent) {
  createVip({"MaxAgeMinutes=10", "MergeMinutes=30"});
  const auto callOf = [](int i) { return "R1S" + std::string(i < 10 ? "0" : "") + std::to_string(i); };
  for (int i = 0; i < 30; ++i) {
    clock = i * 1000;
    Vip->AddSpot(callOf(i), "14" + std::to_string(100 + i) + ".0", "AB-12", "12:00");
  }
  settle();
  const int top = Vip->TopRow(), rested = top + 3;
  ASSERT_GT(top, 2);
  const std::string restedCall = Vip->Cell(0, rested), topCall = Vip->Cell(0, top);
  pointAtRow(rested);
  ASSERT_EQ(callUnderPointer(), restedCall);

  // A repeat of the station at the top of the view, and then every row aged out.
  clock = 40000;
  Vip->AddSpot(topCall, "14200.0", "AB-12", "12:01");
  settle();
  EXPECT_EQ(callUnderPointer(), restedCall);
  clock = minutesToMillis(10) + 30 * 1000;
  Vip->Timer1Timer();
  settle();
  EXPECT_EQ(callUnderPointer(), restedCall);
  EXPECT_EQ(calls().front(), topCall) << "rows above the view went, those in it stay";

  press();
  const std::string restedFreq = "14" + std::to_string(100 + rested - 1) + ".0";
  EXPECT_EQ(sent(), (std::vector<std::string>{core::spotClickCommand(restedFreq, restedCall), "<STATE:2>AB<CNTY:2>12"}));

  // The hand gone, what waited goes: the merged row and the aged ones.
  SetCursorPos(1200, 1000);
  settle();
  ui::app().idle();  // where the program's loop notices the mouse has gone
  EXPECT_EQ(calls(), std::vector<std::string>{topCall});
  for (int i = 0; i < 3; ++i) Vip->AddSpot(callOf(40 + i), "14300.0", "AB-12", "12:03");
  settle();  // drawn: what the press below meets

  // A press made before spots that move the rows, handled after them.
  const int pressedRow = Vip->TopRow() + 2;
  const std::string pressedCall = Vip->Cell(0, pressedRow);
  const RECT r = Vip->CellRect(0, pressedRow);
  PostMessageW(Vip->PartWindow(TVip::Part::Grid), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, (r.top + r.bottom) / 2));
  PostMessageW(Vip->PartWindow(TVip::Part::Grid), WM_LBUTTONUP, 0, MAKELPARAM(5, (r.top + r.bottom) / 2));
  Sleep(50);
  clock += 5000;
  Vip->AddSpot(Vip->Cell(0, 1), "14300.0", "AB-12", "12:02");  // the first row merges away
  ASSERT_NE(Vip->Cell(0, pressedRow), pressedCall) << "the rows moved under the press";
  const auto got = sent();
  ASSERT_FALSE(got.empty());
  EXPECT_NE(got[0].find("|" + pressedCall), std::string::npos) << got[0];
  EXPECT_TRUE(messages.messages().empty());
}

// With merging on, every spot of a station reaches its row on its band, also when
// it is the callsign the field already holds (Russian stations only: the foreign
// spot between never reaches the field); a late spot counts but keeps the row's
// newest frequency and time.
TEST_F(SpotListOptions, EveryRepeatFromLogger32ReachesItsRow) {
  createVip({"MergeMinutes=30"});
  spotFromLogger32("R3NEW", "14025.0", "1200");
  spotFromLogger32("R3NEW", "14030.0", "1201");
  spotFromLogger32("R3NEW", "7010.0", "1202");
  spotFromLogger32("DL1ABC", "14000.0", "1203");
  spotFromLogger32("R3NEW", "14027.0", "1204");
  spotFromLogger32("R3NEW", "14021.0", "1110");  // a node's backlog, late
  ASSERT_EQ(Vip->RowCount(), 4);
  EXPECT_EQ(rowTexts(1), (std::vector<std::string>{"R3NEW", "7010.0", "AB-12", "12:02"}));
  EXPECT_EQ(rowTexts(2), (std::vector<std::string>{"R3NEW", "14027.0", "AB-12", "12:04"}));
  // A click tunes where the station was spotted last.
  pointAtRow(2);
  press();
  EXPECT_EQ(sent(), (std::vector<std::string>{core::spotClickCommand("14027.0", "R3NEW"), "<STATE:2>AB<CNTY:2>12"}));
  EXPECT_TRUE(messages.messages().empty());
}

// With real pointer input, a press names the row drawn under it wherever it lies:
// the lowest rows of a long view, the empty slot and the blank space below the rows
// (the empty click), the partly shown row at the foot of a view (a double click is
// one click on it), and a row resting under the pointer while the first row merges.
TEST_F(SpotListOptions, EveryPressNamesTheRowDrawnUnderIt) {
  createVip({"MergeMinutes=30"});
  const auto callOf = [](int i) { return "UA3" + std::string{char('A' + i / 26), char('A' + i % 26)} + "A"; };
  const auto freqOf = [](int i) { return std::to_string(14000 + i) + ".0"; };
  const auto fill = [&](int rows) {
    ui::app().guard([] { Vip->CLEAR1Click(); });
    for (int i = 0; i < rows; ++i) Vip->AddSpot(callOf(i), freqOf(i), "AB-12", "12:00");
    settle();
  };
  const std::vector<std::string> emptyClick = {core::spotClickCommand("", "")};
  const auto tuned = [&](int i) {
    return std::vector<std::string>{core::spotClickCommand(freqOf(i), callOf(i)), "<STATE:2>AB<CNTY:2>12"};
  };
  Vip->setBounds(Vip->left(), 0, Vip->width(), 1000);
  for (const int rows : {20, 40}) {
    SCOPED_TRACE(rows);
    fill(rows);
    ASSERT_EQ(Vip->TopRow(), 1);
    const int pitch = Vip->CellRect(0, 2).top - Vip->CellRect(0, 1).top;
    const RECT last = Vip->CellRect(0, rows);
    const struct {
      const char* where;
      int y;
      std::vector<std::string> commands;
    } presses[] = {{"the last row's foot", int(last.bottom) - 1, tuned(rows - 1)},
                   {"the last row's middle", int(last.top + last.bottom) / 2, tuned(rows - 1)},
                   {"the row above it", int(last.top) - pitch / 2, tuned(rows - 2)},
                   {"the empty slot", int(last.top) + pitch + pitch / 2, emptyClick},
                   {"the blank space", int(last.top) + 5 * pitch, emptyClick}};
    for (const auto& p : presses) {
      SCOPED_TRACE(p.where);
      pointAt({5, p.y});
      press();
      EXPECT_EQ(sent(), p.commands);
    }
  }

  // A view that cuts its lowest row in half: a double click on that row tunes it
  // once, and the view stays.
  fill(30);
  RECT grid{};
  GetClientRect(Vip->PartWindow(TVip::Part::Grid), &grid);
  const int pitch = Vip->CellRect(0, 2).top - Vip->CellRect(0, 1).top;
  Vip->setBounds(Vip->left(), 0, Vip->width(), Vip->height() - 600 - (int(grid.bottom) - 600) % pitch + pitch / 2);
  settle();
  GetClientRect(Vip->PartWindow(TVip::Part::Grid), &grid);
  const int top = Vip->TopRow(), cut = top + Vip->VisibleRowCount();
  ASSERT_LT(cut, Vip->RowCount() - 1) << "a data row at the view's foot";
  ASSERT_GT(Vip->CellRect(0, cut).bottom, grid.bottom) << "the row is cut";
  pointAt({5, (int(Vip->CellRect(0, cut).top) + int(grid.bottom)) / 2});
  press(2);
  EXPECT_EQ(sent(), tuned(cut - 1));
  EXPECT_EQ(Vip->TopRow(), top);

  // The pointer resting on a row of a list longer than its view: the first row (the
  // current one, never pressed) and then the row under the pointer are spotted again.
  SetCursorPos(1200, 1000);
  Vip->setBounds(Vip->left(), 0, Vip->width(), 300);
  fill(30);
  ASSERT_GT(Vip->TopRow(), 1);
  pointAtRow(Vip->TopRow() + 2);
  const std::string rested = callUnderPointer();
  clock += 1000;
  Vip->AddSpot(callOf(0), "14500.0", "AB-12", "12:01");
  settle();
  EXPECT_EQ(callUnderPointer(), rested);
  Vip->AddSpot(rested, "14501.0", "AB-12", "12:01");
  settle();
  EXPECT_EQ(callUnderPointer(), rested);
  press();
  const auto got = sent();
  ASSERT_FALSE(got.empty());
  EXPECT_NE(got[0].find("|" + rested), std::string::npos) << got[0];
  testing_support::snapshot(Vip->handle(), "spot-list-pressed-rows");
  EXPECT_TRUE(messages.messages().empty());
}

TEST_F(SpotListOptions, TheSoundPlaysOncePerCallsignInItsWindowAndFallsBackSilently) {
  dir.write("alert.wav", std::string("RIFF\x24\0\0\0WAVEfmt ", 16) + std::string(32, '\0'));
  dir.write("text.wav", "not a sound at all");
  createVip({"AlertSound=1", "AlertSoundMinutes=10"});
  int files = 0, exclamations = 0;
  bool refuse = false;
  Vip->Sound.playFile = [&](const std::wstring&) {
    ++files;
    return !refuse;
  };
  Vip->Sound.playExclamation = [&] { ++exclamations; };
  const struct {
    const char* call;
    int minute;
    const wchar_t* file;
    bool refused;
    int files, exclamations;  // calls of each player for the spot
  } spots[] = {{"R3NEW", 0, L"", false, 0, 1},          {"R3NEW", 5, L"alert.wav", false, 0, 0},
               {"R3TWO", 5, L"alert.wav", false, 1, 0}, {"R3NEW", 10, L"missing.wav", false, 0, 1},
               {"R3ONE", 11, L"text.wav", false, 0, 1}, {"R3TRE", 12, L"alert.wav", true, 1, 1},
               {"R3TWO", 14, L"alert.wav", false, 0, 0}, {"R3TWO", 15, L"alert.wav", false, 1, 0}};
  for (const auto& s : spots) {
    SCOPED_TRACE(std::string(s.call) + " at minute " + std::to_string(s.minute));
    clock = minutesToMillis(s.minute);
    Vip->ContestOptions.AlertSoundFile = s.file;
    refuse = s.refused;
    files = exclamations = 0;
    Vip->AddSpot(s.call, "7012.0", "AB-12", "12:00");
    EXPECT_EQ(std::make_pair(files, exclamations), std::make_pair(s.files, s.exclamations));
  }
  // A district already worked is listed without an alarm: no sound either.
  files = exclamations = 0;
  Vip->AddSpot("R3WKD", "7012.0", "CD-01", "12:00", {core::SpotOrigin::Logger32, false, core::Verdict::Worked});
  EXPECT_EQ(files + exclamations, 0);
  EXPECT_TRUE(messages.messages().empty());
}

// A contest by band: a station keeps a row per band with its count; a cluster's
// backlog is not listed; skimmers' rows go sooner; a rover sounds in each district,
// typing never.
TEST_F(SpotListOptions, AContestByBand) {
  createVip({"MergeMinutes=30", "MaxAgeMinutes=60", "MaxAgeSkimmerMinutes=10", "AlertSound=1"});
  int sounds = 0;
  Vip->Sound.playExclamation = [&] { ++sounds; };
  for (int i = 0; i < 20; ++i) {
    clock = i * 30000;
    const bool forty = i % 2;
    Vip->AddSpot("R3NEW", (forty ? "70" : "140") + std::to_string(10 + i) + ".0", "AB-12",
                 "12:" + std::string(i < 20 ? "0" : "") + std::to_string(i / 2 % 10));
  }
  ASSERT_EQ(calls(), (std::vector<std::string>{"R3NEW", "R3NEW"}));
  EXPECT_EQ(sounds, 1) << "one station in one district sounds once";
  // Each row tunes to its band's last frequency; its hover title counts its spots.
  const std::vector<std::string> lastFreq = {"14028.0", "7029.0"};
  for (int row = 1; row <= 2; ++row) {
    SCOPED_TRACE(row);
    const RECT r = Vip->CellRect(0, row);
    Vip->SG1MouseMove({}, 5, (r.top + r.bottom) / 2);
    EXPECT_NE(Vip->caption().find("\xB7 10 spots since 12:0"), std::string::npos) << Vip->caption();
    logger32->takeCommands();
    pressDrawnRow(row);
    settle();
    ASSERT_TRUE(testing_support::waitUntil([] { return !Form2->Busy(); }));
    const auto commands = logger32->takeCommands();
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands[0], core::spotClickCommand(rowTexts(row)[1], "R3NEW"));
    EXPECT_EQ(rowTexts(row)[1], lastFreq[std::size_t(row - 1)]);
  }

  // A rover in a second district sounds at once; a callsign typed never does.
  Vip->AddSpot("R3NEW", "14030.0", "CD-01", "12:10");
  EXPECT_EQ(sounds, 2);
  Vip->AddSpot("R9TYP", "14030.0", "CD-01", "12:10", {core::SpotOrigin::Typed});
  EXPECT_EQ(sounds, 2);

  // A backlog spot two hours old is not listed at all.
  const auto before = calls();
  Vip->AddSpot("R3OLD", "14031.0", "AB-12", "10:05");
  EXPECT_EQ(calls(), before);

  // A skimmer's row goes after 10 minutes, an operator's stays.
  Vip->CLEAR1Click();
  clock = minutesToMillis(60);
  Vip->AddSpot("R1SKM", "14040.0", "AB-12", "13:00", {core::SpotOrigin::Logger32, /*skimmer=*/true});
  Vip->AddSpot("R1OPR", "14041.0", "AB-12", "13:00");
  clock = minutesToMillis(71);
  Vip->Timer1Timer();
  EXPECT_EQ(calls(), std::vector<std::string>{"R1OPR"});
  EXPECT_TRUE(messages.messages().empty());
}

TEST_F(SpotListOptions, ListingWithoutFocusLeavesTheOperatorInTheCallsignField) {
  for (const bool withoutFocus : {false, true}) {
    SCOPED_TRACE(withoutFocus ? "ListWithoutFocus=1" : "ListWithoutFocus=0");
    createVip({withoutFocus ? "ListWithoutFocus=1" : "ListWithoutFocus=0", "VipLeft=330", "VipTop=10"});
    Form1->bringToFront();
    Form1->FocusCallsign();
    settle();
    ASSERT_EQ(GetForegroundWindow(), Form1->handle());
    Vip->AddSpot("R3NEW", "7012.0", "AB-12", "12:00");
    settle();
    EXPECT_TRUE(IsWindowVisible(Vip->handle()));
    EXPECT_EQ(GetForegroundWindow(), withoutFocus ? Form1->handle() : Vip->handle());
    EXPECT_EQ(Form1->CallsignFocused(), withoutFocus);
    // The list shows its titles and the row all the same.
    EXPECT_EQ(Vip->Cell(0, 0), "    Spot");
    EXPECT_EQ(pinkRowsOnScreen(), 1);
  }
}

// The radio's way: Logger32 by default; rigctld at the address typed, kept in the
// settings; a port that is no port is refused.
TEST_F(SpotListOptions, RadioWayAndAddress) {
  createVip({});
  EXPECT_EQ(CurrentRadioSettings(), RadioSettings{});
  const auto choose = [](bool rigctld, const char* port) {
    return [=](TOptions& d) {
      d.SetChecked(Box::Rigctld, rigctld);
      d.TypeInto(Field::RigPort, port);
      ok(d);
    };
  };
  const DialogSteps steps = {[&](TOptions& d) {
                               EXPECT_EQ(std::make_tuple(d.Checked(Box::Rigctld), d.FieldText(Field::RigHost),
                                                         d.FieldText(Field::RigPort)),
                                         std::make_tuple(false, "127.0.0.1", "4532"));
                               choose(true, "65536")(d);
                             },
                             [&](TOptions& d) {
                               EXPECT_EQ(d.ProblemText(), "Radio port: a number from 1 to 65535, please");
                               testing_support::snapshot(d.handle(), "spot-list-options-radio");
                               choose(true, "1")(d);  // nothing listens there
                             }};
  ASSERT_EQ(inOptionsDialog(steps), steps.size());
  EXPECT_EQ(CurrentRadioSettings(), (RadioSettings{RadioSettings::Way::Rigctld, "127.0.0.1", 1}));
  // The default host needs no line.
  EXPECT_EQ((std::vector<std::string>{setting("Radio"), setting("RigHost"), setting("RigPort")}),
            (std::vector<std::string>{"rigctld", "<missing>", "1"}));
  EXPECT_TRUE(testing_support::waitUntil([] { return Form1->caption() == "No rigctld at 127.0.0.1:1 (not reached)"; }))
      << Form1->caption();
  // Back to Logger32: a click goes to its command window again.
  ASSERT_EQ(inOptionsDialog({choose(false, "1")}), 1u);
  EXPECT_EQ(setting("Radio"), "Logger32");
  Vip->AddSpot("R3NEW", "7012.0", "AB-12", "12:00");
  pressDrawnRow(1);
  EXPECT_TRUE(testing_support::waitUntil([&] { return !logger32->commands().empty(); }));
  EXPECT_EQ(logger32->commands().front(), core::spotClickCommand("7012.0", "R3NEW"));
  StopRadio();
}

}  // namespace

// What the grid held each time it painted (the rows wholly in view, from the top
// down: what the screen shows until the next paint), watched from the window
// procedure, outside the program's own code; and what a screen reader hears.
using DrawnRow = std::pair<std::string, std::string>;  // callsign, frequency
struct PaintAndReaderWatch {
  static inline WNDPROC original = nullptr;
  static inline std::vector<DrawnRow> drawn;
  static inline std::map<std::pair<HWND, DWORD>, int> heard;  // events by window
  static LRESULT CALLBACK proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    const LRESULT r = CallWindowProcW(original, h, m, w, l);
    if (m == WM_PAINT) {
      drawn.clear();
      for (int row = Vip->TopRow(); row < std::min(Vip->RowCount() - 1, Vip->TopRow() + Vip->VisibleRowCount()); ++row)
        drawn.push_back({Vip->Cell(0, row), Vip->Cell(1, row)});
    }
    return r;
  }
  static void CALLBACK listen(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG, DWORD, DWORD) {
    if (object == OBJID_CLIENT) ++heard[{hwnd, event}];
  }
  explicit PaintAndReaderWatch(HWND grid) : grid_(grid) {
    drawn.clear();
    heard.clear();
    original = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(grid, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&proc)));
    hook_ = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_NAMECHANGE, nullptr, &listen, GetCurrentProcessId(), 0,
                            WINEVENT_OUTOFCONTEXT);
  }
  ~PaintAndReaderWatch() {
    SetWindowLongPtrW(grid_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    UnhookWinEvent(hook_);
  }
  HWND grid_;
  HWINEVENTHOOK hook_;
};

// A flood of 50 spots a second from Logger32 with merging on, real presses among
// them: each press names the row the screen showed under the pointer when the button
// went down (the rows drawn a batch at a time, the model ahead of them); after the
// flood the main window shows the last spot's verdict and the list a row for every
// station and band, at its last frequency.
TEST_F(SpotListOptions, InAFloodEveryPressNamesTheRowDrawnAndTheLastSpotIsShown) {
  std::vector<std::string> book;
  const auto callOf = [](int i) { return "R3F" + std::string(1, char('A' + i)) + "A"; };
  for (int i = 0; i < 10; ++i) book.push_back(callOf(i) + (i < 8 ? " AB-12" : " CD-01"));  // two confirmed
  dir.writeLines("RUdoz.txt", book);
  createVip({"MergeMinutes=30"});
  windows->form1->show();
  spotFromLogger32(callOf(0), "14001.0", "1200");
  Vip->setBounds(400, 0, Vip->width(), 900);  // beside the main window, not over it
  settle();
  const HWND grid = Vip->PartWindow(TVip::Part::Grid);
  const PaintAndReaderWatch watch(grid);
  const auto& drawn = PaintAndReaderWatch::drawn;
  const int pitch = Vip->CellRect(0, 2).top - Vip->CellRect(0, 1).top;

  std::map<std::pair<std::string, bool>, std::string> lastFreq;  // station, on 20 m: frequency
  lastFreq[{callOf(0), true}] = "14001.0";
  std::vector<std::string> expected;
  int ahead = 0;  // presses where the model's row under the pointer was not the one drawn
  const DWORD start = GetTickCount();
  for (int i = 1; i <= 150; ++i) {
    testing_support::waitUntil([&] { return GetTickCount() - start >= DWORD(i * 20); }, 1000);
    const int station = (i * 7) % 10;
    const bool twenty = i % 3 != 0;
    const std::string freq = std::to_string(twenty ? 14000 + i : 7000 + i) + ".0";
    spotFromLogger32(callOf(station), freq, "1201");
    if (station < 8) lastFreq[{callOf(station), twenty}] = freq;
    if (i % 10 != 5 || i < 20) continue;
    // Onto a drawn row, or just below the rows drawn; pressed before anything more is
    // handled, so before any paint.
    const int rows = int(drawn.size());
    const int index = i % 20 == 5 && rows < Vip->VisibleRowCount() ? rows : (i / 10) % rows;
    POINT at{5, pitch + index * pitch + pitch / 2};
    const int model = Vip->CellAt(1, at.y).row;
    const DrawnRow shown = index < rows ? drawn[std::size_t(index)] : DrawnRow{};
    ahead += shown != (model > 0 && model < Vip->RowCount() - 1 ? DrawnRow{Vip->Cell(0, model), Vip->Cell(1, model)} : DrawnRow{});
    expected.push_back(core::spotClickCommand(shown.second, shown.first));
    if (!shown.first.empty()) expected.push_back("<STATE:2>AB<CNTY:2>12");
    ClientToScreen(grid, &at);
    SetCursorPos(at.x, at.y);
    press();
    SetCursorPos(1200, 1000);
  }
  EXPECT_GT(ahead, 0) << "no press met rows that were not drawn yet";
  EXPECT_EQ(sent(), expected);
  ui::app().idle();  // the pointer gone: rows held under it catch up
  settle();

  // The last spot (i = 150: station 0, a new district) on the screen.
  std::set<DrawnRow> rows, wanted;
  for (int row = 1; row < Vip->RowCount() - 1; ++row) rows.insert({Vip->Cell(0, row), Vip->Cell(1, row)});
  for (const auto& [key, freq] : lastFreq) wanted.insert({key.first, freq});
  EXPECT_EQ(rows, wanted);
  EXPECT_EQ(Vip->RowCount() - 2, int(wanted.size()));
  // A reader hears of the rows a batch at a time, and of the verdict as it is drawn.
  const auto heard = [](HWND w, DWORD event) { return PaintAndReaderWatch::heard[{w, event}]; };
  EXPECT_GT(heard(grid, EVENT_OBJECT_REORDER), 0);
  EXPECT_LT(heard(grid, EVENT_OBJECT_CREATE), 60) << "of 120 listed spots";
  const RECT barRect = Form1->PartRect(TForm1::Part::VerdictBar);
  const HWND bar = ChildWindowFromPointEx(Form1->handle(), {barRect.left + 3, barRect.top + 3}, CWP_SKIPINVISIBLE);
  EXPECT_LT(heard(bar, EVENT_OBJECT_NAMECHANGE), 30) << "of 150 spots, the verdict changing at about every third";
  EXPECT_EQ(Form1->Callsign(), callOf(0));
  EXPECT_EQ(Form1->VerdictText(), texts::kNew);
  EXPECT_EQ(testing_support::screenPixel(Form1->handle(), barRect.left + 3, (barRect.top + barRect.bottom) / 2),
            ui::colorRef(core::verdictLook(core::Verdict::New, core::Palette::Described).background));
  EXPECT_TRUE(messages.messages().empty());
}
