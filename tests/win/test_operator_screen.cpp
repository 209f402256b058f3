// What the operator sees, read off the screen after every step of the sequences
// used every day: the verdict bar's colour and whether its text is drawn, the list
// box's height, the fields, the title, the spot list window's view and newest row,
// and the frequency strip. The whole program runs as it starts (every window but the
// progress window, the settings file, the region list) and is driven with real
// keyboard and mouse input and with spot records written into the spot field as
// Logger32 writes them.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>
#include <optional>

#include "app/MapU.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/VipU.h"
#include "program_windows.h"
#include "support.h"
#include "ui/application.h"
#include "ui/text.h"

namespace {

using testing_support::ScreenImage;
using testing_support::settle;

// What the screen shows of a window's client area once the program is idle.
ScreenImage screenOf(HWND window) {
  settle();
  return testing_support::captureClient(window);
}

constexpr COLORREF kGreen = RGB(0, 128, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kTitleRow = 0x5BFDD5;  // the grid's title row as the settings default it
constexpr COLORREF kPink = 0xB6B0F9, kYellow = RGB(255, 255, 0), kLightGreen = 0x80FF80;
constexpr COLORREF kPanelColour = 0xE3DFDF;
constexpr int kFieldsHeight = 24;  // the two fields' row above the list box
constexpr int kBarHeight = 17;
constexpr int kProbeX = 150;  // between the district field and "L32": only the list box and the bar

bool dark(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 100; }
bool navy(COLORREF c) { return GetBValue(c) > 90 && GetRValue(c) < 70 && GetGValue(c) < 70; }

// ---------------------------------------------------------------- real input

void sendInput(std::vector<INPUT> events) {
  SendInput(UINT(events.size()), events.data(), sizeof(INPUT));
}

INPUT keyEvent(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}

void pressKeys(std::initializer_list<WORD> held, WORD key) {
  std::vector<INPUT> events;
  for (WORD h : held) events.push_back(keyEvent(h, false));
  events.push_back(keyEvent(key, false));
  events.push_back(keyEvent(key, true));
  for (auto it = std::rbegin(held); it != std::rend(held); ++it) events.push_back(keyEvent(*it, true));
  sendInput(events);
}

void typeText(const std::string& text) {
  for (char ch : text) {
    const SHORT scan = VkKeyScanA(ch);
    const bool shift = (scan >> 8) & 1;
    if (shift) pressKeys({VK_SHIFT}, WORD(scan & 0xFF));
    else pressKeys({}, WORD(scan & 0xFF));
  }
}

// A left click at a point of a window's client area.
void click(HWND window, int x, int y) {
  POINT pt{x, y};
  ClientToScreen(window, &pt);
  SetCursorPos(pt.x, pt.y);
  settle();
  INPUT down{}, up{};
  down.type = up.type = INPUT_MOUSE;
  down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  sendInput({down, up});
  settle();
}

// ---------------------------------------------------------------- the program

std::string fieldText(TForm1::Part field) {
  return field == TForm1::Part::Callsign ? Form1->Callsign() : Form1->District();
}

class Program {
 public:
  Program() {
    testing_support::removeSettingsFile(TVip::SettingsPath());
    std::ofstream(TVip::SettingsPath(), std::ios::binary)
        << "[RD]\r\nMainTop=10\r\nMainLeft=2\r\nVipTop=10\r\nVipLeft=330\r\nQrgPanel=0\r\n";
    // The award's district list as it is published: tab-separated, region header
    // lines, LF line ends.
    dir.write("QJar.txt",
              "\xD0\xC5\xD1\xCF\xD3\xC1\xCB\xC8\xCA\xC0 \xD2\xC5\xD1\xD2 (\xD2\xC5\xD1\xD2)\t(AB)\tUA1A\n"
              "AB-12\t\xC0\xE1\xE8\xED\xF1\xEA\xE8\xE9 \xF0\xE0\xE9\xEE\xED\n"
              "CD-01\tOther district\n"
              "EF-05\tOld district deleted\n"
              "GH-05\tGorny district\n"
              "KK-33\tFresh district\n"
              "MO-12\tMoscow district\n");
    dir.writeLines("QJcfm.txt", {"AB-12;UA1AAA;2019", "GH-05;R1GGG;2020", "CD-01;R1CCC;20m"});
    dir.writeLines("RUdoz.txt", {"R1AAA AB-12", "R1GGG GH-05", "R3NEW KK-33", "R3TWO MO-12"});
    dir.writeLines("QJlook.txt", {"R9X"});
    dir.writeLines("QJreg.txt", {"KK-33 01.2020-LastQso 3.55%MW", "MO-12 02.2021-LastQso 22.5%MW"});
    AlertFlag = 0;
    // No Logger32 here, and the link's timers and the blinking stopped: the search and
    // the blinking stay out of the title and the window's colour, so that each step
    // shows only what it did.
    windows.emplace();
    vip = std::make_unique<TVip>();
    Vip = vip.get();
    map = std::make_unique<TMap>();
    Map = map.get();
    Form1->bringToFront();
    settle();
  }
  ~Program() {
    Map = nullptr;
    map.reset();
    Vip = nullptr;
    vip.reset();
    windows.reset();
    settle();
    testing_support::removeSettingsFile(TVip::SettingsPath());
  }

  // Logger32 writes a spot record into the spot field.
  void spot(const std::string& call, const std::string& comment = "cq") {
    const std::string record = "<DXSPOT_CALLSIGN:" + std::to_string(call.size()) + ">" + call +
                               "<DXSPOT_FREQ:7>14025.0<DXSPOT_COMMENT:" + std::to_string(comment.size()) + ">" +
                               comment + "<APP_DXSPOT_TIME:4>1201";
    SendMessageA(Form2->SpotField(), WM_SETTEXT, 0, LPARAM(record.c_str()));
  }
  // The operator clicks into a field of the main window and types over its text.
  void typeInto(TForm1::Part field, const std::string& text) {
    const RECT r = Form1->PartRect(field);
    click(Form1->handle(), r.right - 6, (r.top + r.bottom) / 2);
    pressKeys({}, VK_END);
    pressKeys({VK_SHIFT}, VK_HOME);
    typeText(text);
    ASSERT_TRUE(testing_support::waitUntil([&] { return fieldText(field) == text; })) << "the typed text";
  }
  void altW() {
    const RECT r = Form1->PartRect(TForm1::Part::Callsign);
    click(Form1->handle(), r.left + 6, r.top + 6);
    pressKeys({VK_MENU}, 'W');
    ASSERT_TRUE(testing_support::waitUntil([] { return Form1->Callsign().empty() && Form1->District().empty(); }))
        << "Alt+W";
  }
  // The operator's clicks in the spot list window's setup view.
  void clickOk() { click(Vip->handle(), 96 + 25, 120 + 8); }
  void clickQrgBox() { click(Vip->handle(), 8 + 20, 64 + 8); }
  void frequencyReport(LPARAM hz) {
    Form2->LinkMsg = RegisterWindowMessageA("Logger32 1");
    PostMessageW(Form2->handle(), *Form2->LinkMsg, 100, hz);
  }

  testing_support::ScratchDir dir;
  testing_support::MessageRecorder messages;
  std::optional<MainAndLinkWindows> windows;
  std::unique_ptr<TVip> vip;
  std::unique_ptr<TMap> map;
};

// ---------------------------------------------------------------- what the screen shows

enum class Bar { Hidden, Confirmed, New };
enum class View { Hidden, Grid, Setup };

struct Expected {
  Bar bar;
  int listBox;        // its height on the screen; 0 when not shown
  const char* title;  // nullptr: not looked at
  View vip;
  std::optional<COLORREF> newestRow = {};  // the newest data row's colour, in the grid view
  const char* qrg = nullptr;               // the frequency strip's text; nullptr: no strip
};

// The main window: the bar, the list box, the fields and the title.
void checkMainWindow(const Expected& e) {
  const ScreenImage screen = screenOf(Form1->handle());
  const int h = screen.height;
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  auto barColoured = [](COLORREF c) { return c == kGreen || c == kRed; };

  int listRows = 0;
  for (int y = kFieldsHeight; y < h; ++y) {
    const COLORREF c = screen.pixel(kProbeX, y);
    if (c == face || barColoured(c)) break;
    ++listRows;
  }
  EXPECT_EQ(listRows, e.listBox) << "the list box's height on the screen";
  if (e.listBox > 0) {
    EXPECT_EQ(screen.pixel(kProbeX, kFieldsHeight + e.listBox / 2), kWhite) << "the list box";
  }

  const RECT wholeBelowFields{0, kFieldsHeight, screen.width, h};
  if (e.bar == Bar::Hidden) {
    EXPECT_EQ(screen.count(wholeBelowFields, barColoured), 0) << "a verdict bar where none should be";
  } else {
    const COLORREF colour = e.bar == Bar::Confirmed ? kGreen : kRed;
    const int top = h - kBarHeight;
    EXPECT_EQ(screen.pixel(4, top + 8), colour) << "the bar's colour";
    EXPECT_GT(screen.count({3, top + 3, screen.width - 3, top + kBarHeight - 3}, dark), 20)
        << "the bar's text is not drawn";
    EXPECT_EQ(top, kFieldsHeight + e.listBox) << "the bar right under the list box";
  }

  for (const TForm1::Part field : {TForm1::Part::Callsign, TForm1::Part::District}) {
    // Inside the field's frame.
    RECT r = Form1->PartRect(field);
    InflateRect(&r, -4, -4);
    int inkColumns = 0;  // the caret is one column
    for (int x = r.left; x < r.right; ++x) inkColumns += screen.count({x, r.top, x + 1, r.bottom}, dark) > 0;
    EXPECT_EQ(inkColumns > 2, !fieldText(field).empty()) << "field holding \"" << fieldText(field) << "\" as drawn";
  }
  if (e.title) {
    wchar_t title[256] = {};
    GetWindowTextW(Form1->handle(), title, 256);
    EXPECT_EQ(ui::narrow(title), e.title) << "the title";
  }
}

// The part of a label between the two windows that lie over its ends, in the spot
// list window's client area.
RECT between(HWND label, HWND leftEnd, HWND rightEnd) {
  RECT l{}, a{}, b{};
  GetWindowRect(label, &l);
  GetWindowRect(leftEnd, &a);
  GetWindowRect(rightEnd, &b);
  RECT r{a.right, l.top, b.left, l.bottom};
  MapWindowPoints(HWND_DESKTOP, Vip->handle(), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// How wide the frequency strip's texts are drawn, from their first to their last
// dark column, at the strip's font.
int inkWidth(const std::string& text) {
  const struct {
    const char* text;
    int pixels;
  } widths[] = {{"QRG", 54}, {"14025,000", 140}};
  for (const auto& w : widths)
    if (text == w.text) return w.pixels;
  ADD_FAILURE() << "no width known for \"" << text << "\"";
  return -1;
}

// The spot list window: its view, its newest row and the frequency strip.
void checkSpotList(const Expected& e) {
  EXPECT_EQ(IsWindowVisible(Vip->handle()) != FALSE, e.vip != View::Hidden) << "the spot list window shown";
  if (e.vip == View::Hidden) return;
  const ScreenImage screen = screenOf(Vip->handle());
  const bool titleRow = screen.count({8, 6, 60, 16}, [](COLORREF c) { return c == kTitleRow; }) > 0;
  const bool setupField = screen.pixel(83, 18) == kWhite;
  if (e.vip == View::Grid) {
    EXPECT_TRUE(titleRow) << "the grid's title row";
    EXPECT_FALSE(setupField) << "the setup panel's callsign field";
    if (e.newestRow) {
      RECT cell = Vip->CellRect(2, Vip->RowCount() - 2);
      MapWindowPoints(Vip->PartWindow(TVip::Part::Grid), Vip->handle(), reinterpret_cast<POINT*>(&cell), 2);
      EXPECT_EQ(screen.pixel(cell.left + 1, cell.bottom - 1), *e.newestRow) << "the newest row's colour";
    }
  } else {
    EXPECT_FALSE(titleRow) << "the grid's title row in the setup view";
    EXPECT_TRUE(setupField) << "the setup panel's callsign field";
  }

  // The strip's label shows the panels' colour where the grid would show its own.
  const bool strip = screen.pixel(screen.width / 2, screen.height - 4) == kPanelColour;
  EXPECT_EQ(strip, e.qrg != nullptr) << "the frequency strip shown";
  if (!e.qrg || !strip) return;
  // The label between the CW and SSB buttons that lie over its ends.
  const RECT label = between(Vip->PartWindow(TVip::Part::FrequencyLabel), Vip->PartWindow(TVip::Part::CwButton),
                             Vip->PartWindow(TVip::Part::SsbButton));
  int first = -1, last = -1;
  for (int x = label.left; x < label.right; ++x)
    if (screen.count({x, label.top, x + 1, label.bottom}, navy) > 0) {
      if (first < 0) first = x;
      last = x;
    }
  ASSERT_GE(first, 0) << "the frequency text is not drawn";
  EXPECT_NEAR(last - first + 1, inkWidth(e.qrg), 1) << "the frequency strip shows \"" << e.qrg << "\"";
}

struct Step {
  const char* what;
  std::function<void(Program&)> act;
  Expected expect;
};

const char* const kNoSuch = "\xCD\xE5\xF2 \xF2\xE0\xEA\xEE\xE3\xEE";  // "Нет такого"
const char* const kAbinsk = "\xC0\xE1\xE8\xED\xF1\xEA\xE8\xE9 \xF0\xE0\xE9\xEE\xED";

TEST(OperatorScreen, EveryStepOfTheDailySequencesEndsPaintedAsItShould) {
  Program program;
  const Step steps[] = {
      {"typed: a confirmed district", [](Program& p) { p.altW(); p.typeInto(TForm1::Part::District, "GH-05"); },
       {Bar::Confirmed, 35, "Gorny district", View::Hidden}},
      {"typed: confirmed after confirmed", [](Program& p) { p.typeInto(TForm1::Part::District, "AB-12"); },
       {Bar::Confirmed, 53, kAbinsk, View::Hidden}},
      {"typed: the list box grows to 395",
       [](Program& p) {
         for (int i = 0; i < 19; ++i) p.typeInto(TForm1::Part::District, i % 2 ? "AB-12" : "GH-05");
       },
       {Bar::Confirmed, 395, "Gorny district", View::Hidden}},
      {"typed: one more stays at 395", [](Program& p) { p.typeInto(TForm1::Part::District, "AB-12"); },
       {Bar::Confirmed, 395, kAbinsk, View::Hidden}},
      {"spot: a confirmed district", [](Program& p) { p.spot("R1AAA"); }, {Bar::Confirmed, 35, kAbinsk, View::Hidden}},
      {"spot: confirmed after confirmed", [](Program& p) { p.spot("R1GGG"); },
       {Bar::Confirmed, 35, "Gorny district", View::Hidden}},
      {"spot: the comment names a second confirmed district",
       [](Program& p) { p.spot("R1AAA", "RDA GH-05"); }, {Bar::Confirmed, 53, "Gorny district", View::Hidden}},
      {"spot: confirmed after confirmed again", [](Program& p) { p.spot("R1GGG"); },
       {Bar::Confirmed, 35, "Gorny district", View::Hidden}},
      {"spot: new after confirmed lists a row", [](Program& p) { p.spot("R3NEW"); },
       {Bar::New, 17, "Fresh district", View::Grid, kPink}},
      {"typed: confirmed after new", [](Program& p) { p.typeInto(TForm1::Part::District, "AB-12"); },
       {Bar::Confirmed, 35, kAbinsk, View::Grid, kPink}},
      {"typed: new after confirmed", [](Program& p) { p.typeInto(TForm1::Part::District, "KK-33"); },
       {Bar::New, 35, "Fresh district", View::Grid, kPink}},
      {"typed: a deleted district", [](Program& p) { p.typeInto(TForm1::Part::District, "EF-05"); },
       {Bar::Hidden, 35, "Old district deleted", View::Grid, kPink}},
      {"typed: an unknown code", [](Program& p) { p.typeInto(TForm1::Part::District, "QQ-00"); },
       {Bar::Hidden, 35, kNoSuch, View::Grid, kPink}},
      // The alert is still raised (the window blinks), but the lookup of the emptied
      // field raised none of its own: nothing is listed, the main window stays the
      // active one, and the title tells the emptied district's verdict.
      {"Alt+W", [](Program& p) { p.altW(); }, {Bar::Hidden, 0, kNoSuch, View::Grid, kPink}},
      {"the setup view", [](Program&) { Form1->Setup1Click(); }, {Bar::Hidden, 0, kNoSuch, View::Setup}},
      {"spot: a new district while the setup view shows", [](Program& p) { p.spot("R3TWO"); },
       {Bar::New, 17, "Moscow district", View::Setup}},
      {"Ok: back to the grid view", [](Program& p) { p.clickOk(); },
       {Bar::New, 17, "Moscow district", View::Grid, kYellow}},
      {"the frequency strip switched on",
       [](Program& p) {
         Form1->Setup1Click();
         settle();
         p.clickQrgBox();
         p.clickOk();
       },
       {Bar::New, 17, "Moscow district", View::Grid, kYellow, "QRG"}},
      {"a frequency report", [](Program& p) { p.frequencyReport(14025000); },
       {Bar::New, 17, "Moscow district", View::Grid, kYellow, "14025,000"}},
      {"the frequency strip switched off",
       [](Program& p) {
         Form1->Setup1Click();
         settle();
         p.clickQrgBox();
         p.clickOk();
       },
       {Bar::New, 17, "Moscow district", View::Grid, kYellow}},
      {"Show Vip after Setup",
       [](Program&) {
         Form1->Setup1Click();
         settle();
         Form1->ShowVip1Click();
       },
       {Bar::New, 17, "Moscow district", View::Grid, kYellow}},
      {"typed: a confirmed district ends the alert", [](Program& p) { p.typeInto(TForm1::Part::District, "AB-12"); },
       {Bar::Confirmed, 35, kAbinsk, View::Grid, kYellow}},
      {"spot lists a row while the operator types a callsign",
       [](Program& p) {
         p.typeInto(TForm1::Part::Callsign, "R9");
         p.spot("R3NEW");
       },
       {Bar::New, 17, "Fresh district", View::Grid, kPink}},
  };
  int n = 0;
  for (const Step& step : steps) {
    SCOPED_TRACE(std::to_string(++n) + ". " + step.what);
    step.act(program);
    if (::testing::Test::HasFatalFailure()) return;
    checkMainWindow(step.expect);
    checkSpotList(step.expect);
    if (::testing::Test::HasFailure()) {
      testing_support::snapshot(Form1->handle(), "operator-screen-" + std::to_string(n) + "-main");
      testing_support::snapshot(Vip->handle(), "operator-screen-" + std::to_string(n) + "-vip");
    }
  }
  EXPECT_TRUE(program.messages.messages().empty());
}

}  // namespace
