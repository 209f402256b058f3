// The link window driven in-process: link messages posted to it, its timer handlers
// called directly, and the stand-in for Logger32 on a thread of its own.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/VipU.h"
#include "core/color.h"
#include "logger32_standin.h"
#include "program_windows.h"
#include "support.h"
#include "ui/application.h"

namespace {

using testing_support::LinkMessage;
using testing_support::Logger32StandIn;

class LinkWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"RUdoz.txt", "QJar.txt", "QJcfm.txt", "QJlook.txt", "QJreg.txt"}) dir.copySample(name);
    testing_support::removeSettingsFile(TVip::SettingsPath());
    AlertFlag = 0;
    form1 = std::make_unique<TForm1>();
    Form1 = form1.get();
  }
  void TearDown() override {
    for (const auto& m : messages.messages()) ADD_FAILURE() << "message box: " << m.text;
    vip.reset();
    form2.reset();
    form1.reset();
    Form1 = nullptr;
    logger32.reset();
    drainQuit();
    AlertFlag = 0;
    testing_support::removeSettingsFile(TVip::SettingsPath());
  }

  // Creates the link window, with Logger32 running or not. Its timers and the main
  // window's blinking are stopped so that the tests alone drive the handlers.
  void createLinkWindow(bool withLogger32) {
    if (withLogger32) logger32 = std::make_unique<Logger32StandIn>();
    form2 = std::make_unique<TForm2>();
    Form2 = form2.get();
    stopLinkTimers(*form2);
    // The spot list window comes after the link window, as at start-up.
    vip = std::make_unique<TVip>();
    Vip = vip.get();
  }

  // Logger32's reply on a port, posted to the link window; the application's
  // message hook takes it from the queue.
  void reply(int port, WPARAM wParam, LPARAM lParam) {
    PostMessageA(Form2->handle(), logger32->id(port), wParam, lParam);
    ui::app().processMessages();
  }

  // Drives the handshake to port `port` being tried, with silence on the ports before.
  void tryUpTo(int port) {
    for (int i = 0; i < port; ++i) Form2->Timer2Timer();
    ui::app().processMessages();
  }

  void connectOnPort1() {
    tryUpTo(1);
    reply(1, 0, 1);
    reply(1, 3, reinterpret_cast<LPARAM>(logger32->commandWindow()));
    Form2->Timer2Timer();
    logger32->received();  // RegisterRequest, SpotField, SpotFeed
    logger32->clear();
  }

  // Connected on port 1, with two rows in the spot list to click.
  void connectedWithTwoRows() {
    createLinkWindow(true);
    connectOnPort1();
    Vip->AddSpot("R3AAA", "14025.0", "AB-12", "12:00");
    Vip->AddSpot("R3BBB", "7010.0", "CD-01", "12:01");
  }
  static void clickRow(int row) { pressDrawnRow(row); }

  static void drainQuit() {
    MSG m;
    while (PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  std::string title() const { return Form1->caption(); }

  std::unique_ptr<TForm1> form1;
  std::unique_ptr<TForm2> form2;
  std::unique_ptr<TVip> vip;
  std::unique_ptr<Logger32StandIn> logger32;
  testing_support::ScratchDir dir;
  testing_support::MessageRecorder messages;
};

TEST_F(LinkWindow, IsAHiddenBorderlessWindowWithAnAnsiSpotField) {
  form2 = std::make_unique<TForm2>();
  Form2 = form2.get();
  EXPECT_EQ(FindWindowA("TForm2", "Form2"), Form2->handle());
  EXPECT_EQ(Form2->LinkWnd, Form2->handle());
  EXPECT_FALSE(IsWindowVisible(Form2->handle()));
  EXPECT_EQ(GetWindowLongPtrW(Form2->handle(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME | WS_BORDER), 0);
  EXPECT_EQ(Form2->clientWidth(), 158);
  EXPECT_EQ(Form2->clientHeight(), 20);
  EXPECT_EQ(GetParent(Form2->SpotField()), Form2->handle());
  EXPECT_FALSE(IsWindowUnicode(Form2->SpotField()));

  EXPECT_FALSE(Form2->TryingPorts());
  EXPECT_TRUE(Form2->Searching());  // no Logger32 here: searching
  EXPECT_EQ(Form2->PortName, "Logger32 1");
  EXPECT_FALSE(Form2->LinkMsg.has_value());
}

// The timers at work, watched on the clock: the search every 2 s, the handshake's
// port every 1.5 s once Logger32 is found, the place of the main window taken every
// 10 s, and the main window's blinking every 200 ms.
TEST_F(LinkWindow, ItsTimersTickAtTheirOwnPace) {
  const ULONGLONG created = GetTickCount64();
  form2 = std::make_unique<TForm2>();
  Form2 = form2.get();
  AlertFlag = 1;
  std::vector<ULONGLONG> flips;  // when the main window's colour changed
  core::Color colour = Form1->color();
  const auto watching = [&](const std::function<bool()>& done, unsigned timeoutMs) {
    return testing_support::waitUntil(
        [&] {
          if (Form1->color() != colour) {
            colour = Form1->color();
            flips.push_back(GetTickCount64());
          }
          return done();
        },
        timeoutMs);
  };
  const auto since = [](ULONGLONG t) { return GetTickCount64() - t; };

  Form1->setCaption("CFM-12");
  ASSERT_TRUE(watching([&] { return title() == "No Logger32 run!"; }, 5000)) << "the search";
  EXPECT_GE(since(created), 1900u);
  EXPECT_LE(since(created), 3500u);

  logger32 = std::make_unique<Logger32StandIn>();
  ASSERT_TRUE(watching([&] { return title() == "Looking for Cat"; }, 5000)) << "Logger32 found";
  const ULONGLONG found = GetTickCount64();
  ASSERT_TRUE(watching([&] { return !logger32->receivedSoFar().empty(); }, 5000)) << "the first port";
  EXPECT_GE(since(found), 1400u);
  EXPECT_LE(since(found), 3000u);
  EXPECT_EQ(logger32->receivedSoFar().front().wParam, 1u);

  Form1->setBounds(37, 91, Form1->width(), Form1->height());
  ASSERT_TRUE(watching([&] { return Form2->left() == 37 && Form2->top() == 91; }, 15000)) << "the main window's place";
  EXPECT_GE(since(created), 9800u);
  EXPECT_LE(since(created), 13000u);

  ASSERT_GE(flips.size(), 4u) << "the main window blinks";
  for (std::size_t i = 1; i < flips.size(); ++i) EXPECT_GE(flips[i] - flips[i - 1], 150u) << "blink " << i;
  EXPECT_LE((flips.back() - flips.front()) / (flips.size() - 1), 500u) << "the blinking's pace";
  AlertFlag = 0;
}

TEST_F(LinkWindow, SearchesUntilLogger32Appears) {
  createLinkWindow(false);
  EXPECT_EQ(title(), "No Logger32 run!");
  Form1->setCaption("CFM-12");
  Form2->Timer3Timer();
  EXPECT_EQ(title(), "No Logger32 run!");  // written again on every tick
  EXPECT_TRUE(Form2->Searching());

  logger32 = std::make_unique<Logger32StandIn>();
  Form2->Timer3Timer();
  EXPECT_EQ(title(), "Looking for Cat");
  EXPECT_EQ(Form2->Logger32Wnd, logger32->window());
  EXPECT_FALSE(Form2->Searching());
  EXPECT_TRUE(Form2->TryingPorts());
  EXPECT_EQ(Form2->PortTry, 0);
  EXPECT_TRUE(logger32->received().empty());  // the first port is tried on the next handshake tick
}

TEST_F(LinkWindow, GrantedPortGetsSpotFieldThenSpotFeedAndConnects) {
  createLinkWindow(true);
  EXPECT_EQ(title(), "Looking for Cat");
  tryUpTo(2);
  EXPECT_EQ(title(), "QRL QRX PSE");
  const auto requests = logger32->received();
  ASSERT_EQ(requests.size(), 2u);
  for (int port : {1, 2}) {
    SCOPED_TRACE(port);
    const LinkMessage& m = requests[port - 1];
    EXPECT_EQ(m.port, port);
    EXPECT_EQ(m.wParam, 1u);
    EXPECT_EQ(m.lParam, reinterpret_cast<LPARAM>(Form2->handle()));
  }
  EXPECT_EQ(Form2->LinkMsg, logger32->id(2));
  EXPECT_EQ(Form2->PortName, "Logger32 2");

  logger32->clear();
  reply(2, 0, 1);  // Accepted
  const auto answer = logger32->received();
  ASSERT_EQ(answer.size(), 2u);
  EXPECT_EQ(answer[0].port, 2);
  EXPECT_EQ(answer[0].wParam, 2u);
  EXPECT_EQ(answer[0].lParam, reinterpret_cast<LPARAM>(Form2->SpotField()));
  EXPECT_EQ(answer[1].wParam, 3u);
  EXPECT_EQ(answer[1].lParam, 1);
  EXPECT_FALSE(answer[1].sent);

  Form2->Timer2Timer();  // a reply came: the port is waited for
  EXPECT_EQ(Form2->PortTry, 2);
  EXPECT_EQ(logger32->received().size(), 2u);
  EXPECT_TRUE(Form2->TryingPorts());

  reply(2, 3, reinterpret_cast<LPARAM>(logger32->commandWindow()));
  EXPECT_EQ(Form2->CommandWnd, logger32->commandWindow());
  Form2->Timer2Timer();
  EXPECT_EQ(title(), "Connected Logger32 2");
  EXPECT_FALSE(Form2->TryingPorts());

  reply(2, 0, 1);  // Accepted again: the spot field is named again
  EXPECT_EQ(logger32->received().size(), 4u);
}

TEST_F(LinkWindow, RepliesDecideWhetherTheNextPortIsTried) {
  createLinkWindow(true);
  tryUpTo(1);
  reply(1, 0, 0);  // (0, 0): as good as silence
  Form2->Timer2Timer();
  EXPECT_EQ(Form2->PortTry, 2);

  reply(2, 5, 7);  // anything else: waited for without limit
  for (int i = 0; i < 3; ++i) Form2->Timer2Timer();
  EXPECT_EQ(Form2->PortTry, 2);
  EXPECT_EQ(Form2->LastWParam, 5);
  EXPECT_EQ(Form2->LastLParam, 7u);

  // A message for the port tried before is not a link message any more.
  reply(1, 0, 1);
  EXPECT_EQ(Form2->LastWParam, 5);
  EXPECT_EQ(logger32->received().size(), 2u);  // no SpotField
}

TEST_F(LinkWindow, FivePortsWithoutAnswerEndInAllBusy) {
  createLinkWindow(true);
  tryUpTo(5);
  EXPECT_EQ(logger32->received().size(), 5u);
  Form2->Timer2Timer();
  EXPECT_EQ(title(), "All QRL Sorry -:((");
  // Neither the handshake nor the search for Logger32 runs on: no port is tried again.
  EXPECT_FALSE(Form2->TryingPorts());
  EXPECT_FALSE(Form2->Searching());
  ui::app().processMessages();
  EXPECT_EQ(logger32->received().size(), 5u);

  // A CommandWindow that comes now still makes the link usable.
  reply(5, 3, reinterpret_cast<LPARAM>(logger32->commandWindow()));
  EXPECT_EQ(Form2->CommandWnd, logger32->commandWindow());
  EXPECT_EQ(title(), "All QRL Sorry -:((");
}

TEST_F(LinkWindow, FrequencyReportKeepsTheTextAndZeroMeansCheckCat) {
  createLinkWindow(true);
  connectOnPort1();
  const struct {
    LPARAM value;
    const char* text;
  } cases[] = {{14025000, "14025,000"},  // the text's own rule is the core's table
               {-1, "4294967,295"}, {0xFFFFFFFF, "4294967,295"}, {0x100000000LL + 7, ",7"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    reply(1, 100, c.value);
    EXPECT_EQ(Vip->FrequencyText(), c.text);
    EXPECT_EQ(title(), "Connected Logger32 1");
  }
  EXPECT_EQ(Form2->LastLParam, 7u);
  reply(1, 100, 0);
  EXPECT_EQ(Vip->FrequencyText(), ",0");
  EXPECT_EQ(title(), "Check CAT");
  EXPECT_FALSE(Form2->TryingPorts());  // nothing writes "Connected" again
}

TEST_F(LinkWindow, SpotFieldKeepsLogger32sBytes) {
  createLinkWindow(true);
  // A comment in Windows-1251 Cyrillic ("РДА"), written the way Logger32 writes it.
  const std::string record = "<DXSPOT_CALLSIGN:5>UA1AA<COMMENT:3>\xD0\xC4\xC0<X:3>\x80\xFF\xB8";
  SendMessageA(Form2->SpotField(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(record.c_str()));
  EXPECT_EQ(Form2->SpotRecord(), record);
  std::string comment;
  TForm2::findComent(Form2->SpotRecord(), comment);
  EXPECT_EQ(comment, "\xD0\xC4\xC0");
}

TEST_F(LinkWindow, SpotIntakePassesRussianCallsignsOnly) {
  createLinkWindow(true);
  auto spot = [&](const std::string& call) {
    const std::string record = "<DXSPOT_CALLSIGN:" + std::to_string(call.size()) + ">" + call + "<DXSPOT_FREQ:1>7";
    SendMessageA(Form2->SpotField(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(record.c_str()));
  };
  // Which callsigns are Russian is the core's table; here the intake applies it.
  const struct {
    const char* call;
    bool passes;
  } cases[] = {{"R3DEMO", true}, {"UA1ABC", true}, {"UR5AA", false}, {"DL1ABC", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.call);
    Form1->EnterCallsign("EMPTY");
    spot(c.call);
    EXPECT_EQ(Form1->Callsign(), c.passes ? c.call : "EMPTY");
  }

  Vip->SetRussOnly(false);  // every callsign, even none at all
  spot("DL1ABC");
  EXPECT_EQ(Form1->Callsign(), "DL1ABC");
  SendMessageA(Form2->SpotField(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("<DXSPOT_FREQ:1>7"));
  EXPECT_EQ(Form1->Callsign(), "");

  Form1->SetTakesSpots(false);  // "L32" off: spots change nothing
  spot("R3DEMO");
  EXPECT_EQ(Form1->Callsign(), "");
}

TEST_F(LinkWindow, SameCallsignTwiceStartsOneLookup) {
  createLinkWindow(true);
  int lookups = 0;
  Form1->OnLookup = [&](const std::string&) { ++lookups; };
  const char* record = "<DXSPOT_CALLSIGN:6>UA1ABC<DXSPOT_FREQ:7>14025.0";
  SendMessageA(Form2->SpotField(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(record));
  SendMessageA(Form2->SpotField(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(record));
  EXPECT_EQ(lookups, 1);
  EXPECT_EQ(Form1->Callsign(), "UA1ABC");
}

TEST_F(LinkWindow, AlertBlinksTheMainWindowRedAndButtonFace) {
  createLinkWindow(false);
  AlertFlag = 1;
  std::vector<core::Color> seen;
  for (int i = 0; i < 5; ++i) {
    Form1->Timer1Timer();
    seen.push_back(Form1->color());
  }
  const std::vector<core::Color> blink = {core::clBtnFace, 255, core::clBtnFace, 255, core::clBtnFace};
  EXPECT_EQ(seen, blink);

  AlertFlag = 0;
  Form1->Timer1Timer();
  EXPECT_EQ(Form1->color(), core::clBtnFace);
  // The count starts afresh: the next alert's first tick shows the face again,
  // its second the red.
  AlertFlag = 1;
  seen.clear();
  for (int i = 0; i < 2; ++i) {
    Form1->Timer1Timer();
    seen.push_back(Form1->color());
  }
  EXPECT_EQ(seen, (std::vector<core::Color>{core::clBtnFace, 255}));
  AlertFlag = 0;
  Form1->Timer1Timer();
  Form1->setColor(core::clGreen);  // no other colour outlives a tick
  Form1->Timer1Timer();
  EXPECT_EQ(Form1->color(), core::clBtnFace);
}

TEST_F(LinkWindow, StaysHiddenWhereTheMainWindowIs) {
  createLinkWindow(false);
  Form1->setBounds(37, 91, Form1->width(), Form1->height());
  Form2->Timer4Timer();
  EXPECT_EQ(Form2->left(), 37);
  EXPECT_EQ(Form2->top(), 91);
  EXPECT_FALSE(IsWindowVisible(Form2->handle()));
}

TEST_F(LinkWindow, SpotFeedSwitchAndCommandTexts) {
  createLinkWindow(true);
  Form2->Send({"<APP_SET_FREQ_MODE:8>QRG|CW-R", {}});  // no link yet: lost
  connectOnPort1();
  Form2->ClxOf();
  Form2->ClxOn();
  ui::app().processMessages();
  const auto feed = logger32->received();
  ASSERT_EQ(feed.size(), 2u);
  EXPECT_EQ(feed[0].wParam, 3u);
  EXPECT_EQ(feed[0].lParam, 0);
  EXPECT_EQ(feed[1].lParam, 1);

  Form2->Send({"<STATE:2>AB<CNTY:2>12", {}});
  EXPECT_TRUE(testing_support::waitUntil([&] { return !Form2->Busy(); }));
  EXPECT_EQ(logger32->commands(), std::vector<std::string>{"<STATE:2>AB<CNTY:2>12"});
}

TEST_F(LinkWindow, ClosingSendsDisconnectOnlyAfterANonZeroCode) {
  createLinkWindow(true);
  tryUpTo(1);
  reply(1, 0, 1);  // only Accepted so far: its wParam is 0
  logger32->received();
  logger32->clear();
  Form2->close();
  ui::app().processMessages();
  EXPECT_TRUE(logger32->received().empty());
  EXPECT_EQ(Form2->handle(), nullptr);

  form2.reset();
  createLinkWindow(true);
  connectOnPort1();
  Form2->close();
  const auto disconnect = logger32->received();
  ASSERT_EQ(disconnect.size(), 1u);
  EXPECT_EQ(disconnect[0].wParam, 4u);
  EXPECT_EQ(disconnect[0].lParam, 0);
  EXPECT_TRUE(disconnect[0].sent);
}

TEST_F(LinkWindow, ClosingTheMainWindowClosesTheLinkWindowFirst) {
  createLinkWindow(true);
  connectOnPort1();
  Form1->close();
  EXPECT_EQ(Form2->handle(), nullptr);
  const auto disconnect = logger32->received();
  ASSERT_EQ(disconnect.size(), 1u);
  EXPECT_EQ(disconnect[0].wParam, 4u);
  EXPECT_TRUE(disconnect[0].sent);
}

TEST_F(LinkWindow, RepliesCountWhicheverLoopDispatchesThem) {
  createLinkWindow(true);
  tryUpTo(1);
  logger32->received();  // the RegisterRequest is in
  logger32->clear();
  // A message box's own loop, or any other that is not the application's, takes
  // Logger32's replies from the queue: they count all the same.
  for (auto [w, l] : {std::pair<WPARAM, LPARAM>{0, 1}, {3, reinterpret_cast<LPARAM>(logger32->commandWindow())},
                      {100, 14025000}}) {
    PostMessageA(Form2->handle(), logger32->id(1), w, l);
  }
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  EXPECT_EQ(Form2->CommandWnd, logger32->commandWindow());
  EXPECT_EQ(Vip->FrequencyText(), "14025,000");
  ASSERT_EQ(logger32->received().size(), 2u);  // SpotField, SpotFeed

  // Through the application's own loop a reply counts once, not twice.
  logger32->clear();
  reply(1, 0, 1);
  EXPECT_EQ(logger32->received().size(), 2u);
}

TEST_F(LinkWindow, Logger32RestartIsNoticedAndTheHandshakeRunsAgain) {
  createLinkWindow(true);
  connectOnPort1();
  ASSERT_EQ(title(), "Connected Logger32 1");
  Form1->setCaption("CFM-3");
  Form2->Timer3Timer();  // Logger32 lives: nothing changes
  EXPECT_EQ(title(), "CFM-3");
  EXPECT_TRUE(Form2->Searching());

  logger32.reset();  // killed
  Form2->Timer3Timer();
  EXPECT_EQ(title(), "No Logger32 run!");
  EXPECT_EQ(Form2->CommandWnd, nullptr);
  Form2->Timer3Timer();
  EXPECT_EQ(title(), "No Logger32 run!");

  logger32 = std::make_unique<Logger32StandIn>();  // started again
  Form2->Timer3Timer();
  EXPECT_EQ(title(), "Looking for Cat");
  EXPECT_EQ(Form2->Logger32Wnd, logger32->window());
  connectOnPort1();
  EXPECT_EQ(title(), "Connected Logger32 1");
}

TEST_F(LinkWindow, ClosingBesideAHungLogger32WaitsAFewSecondsOnly) {
  createLinkWindow(true);
  connectOnPort1();
  logger32->hangOnDisconnect();
  const DWORD start = GetTickCount();
  Form2->close();
  EXPECT_LT(GetTickCount() - start, 3000u) << "the disconnection has two seconds";
  ASSERT_EQ(logger32->receivedSoFar().size(), 1u);
  // The link window gave up while Logger32 still hangs in the disconnection.
  EXPECT_FALSE(logger32->disconnectHandled());
  EXPECT_EQ(Form2->handle(), nullptr);
}

// A hung Logger32 holds no window of ruDOZ: the title says so after two seconds; a
// tune it takes late still gets its district, one it never takes sends nothing
// after it, and the clicks made meanwhile are dropped with it.
TEST_F(LinkWindow, AHungLogger32HoldsNothingAndGetsOnlyWhatItTookInTime) {
  connectedWithTwoRows();
  const std::vector<std::string> first = {"<APP_CLICK_DXSPOT:15>14025.000|R3AAA", "<STATE:2>AB<CNTY:2>12"};

  logger32->hang();
  DWORD start = GetTickCount();
  clickRow(1);
  EXPECT_LT(GetTickCount() - start, 500u) << "the click returned at once";
  ASSERT_TRUE(testing_support::waitUntil([&] { return title() == "No answer from Logger32"; }, 5000));
  EXPECT_GE(GetTickCount() - start, TForm2::kNoAnswerMs - 100);
  logger32->wakeUp();  // within the bound: the tune is taken, the district follows
  ASSERT_TRUE(testing_support::waitUntil([&] { return !Form2->Busy(); }));
  EXPECT_EQ(logger32->commands(), first);
  EXPECT_EQ(title(), "Connected Logger32 1");

  // Past the bound the tune and the clicks behind it are given up.
  logger32.reset();
  logger32 = std::make_unique<Logger32StandIn>();
  Form2->Logger32Wnd = logger32->window();
  Form2->CommandWnd = logger32->commandWindow();
  Form2->GiveUpMs = 2500;
  logger32->hang();
  clickRow(1);
  clickRow(2);
  ASSERT_TRUE(testing_support::waitUntil([&] { return !Form2->Busy(); }, 8000));
  EXPECT_EQ(title(), "No answer from Logger32");
  logger32->wakeUp();
  logger32->received();  // Logger32 has handled all it was given
  const auto late = logger32->commands();
  EXPECT_LE(late.size(), 1u) << "at most the tune that timed out, never a district or a click after it";
  if (!late.empty()) {
    EXPECT_EQ(late[0], first[0]);
  }
}

// Logger32 busy past the point where the system calls it hung still gets the whole
// bound; an answer lost on its way back holds the queue no longer than the bound.
TEST_F(LinkWindow, ABusyLogger32GetsTheWholeBoundAndALostAnswerNoMore) {
  connectedWithTwoRows();
  logger32->hang();
  ASSERT_TRUE(testing_support::waitUntil([&] { return IsHungAppWindow(logger32->commandWindow()) != FALSE; }, 9000));
  clickRow(1);
  ASSERT_TRUE(testing_support::waitUntil([&] { return title() == "No answer from Logger32"; }, 5000));
  logger32->wakeUp();
  ASSERT_TRUE(testing_support::waitUntil([&] { return !Form2->Busy(); }));
  EXPECT_EQ(logger32->takeCommands(),
            (std::vector<std::string>{"<APP_CLICK_DXSPOT:15>14025.000|R3AAA", "<STATE:2>AB<CNTY:2>12"}));

  Form2->GiveUpMs = 1000;
  Form2->PostAnswer = [](HWND, UINT, WPARAM, LPARAM) { return FALSE; };
  clickRow(2);
  ASSERT_TRUE(testing_support::waitUntil([&] { return !Form2->Busy(); }, 6000));
  EXPECT_EQ(title(), "No answer from Logger32");
  Form2->PostAnswer = [](HWND w, UINT m, WPARAM wp, LPARAM lp) { return PostMessageW(w, m, wp, lp); };
  logger32->takeCommands();
  clickRow(2);
  ASSERT_TRUE(testing_support::waitUntil([&] { return !Form2->Busy(); }));
  EXPECT_EQ(logger32->takeCommands(),
            (std::vector<std::string>{"<APP_CLICK_DXSPOT:14>7010.000|R3BBB", "<STATE:2>CD<CNTY:2>01"}));
}

// Alt+Q between a tune and its district: the link says goodbye, and nothing goes out
// after it, neither the district nor a click made in the pause.
TEST_F(LinkWindow, NothingGoesOutAfterGoodbye) {
  connectedWithTwoRows();
  for (int row : {1, 2}) clickRow(row);
  ASSERT_TRUE(testing_support::waitUntil([&] { return logger32->commands().size() == 1; }));
  Form2->close();
  EXPECT_FALSE(testing_support::waitUntil([&] { return logger32->commands().size() > 1; }, 1500));
  EXPECT_EQ(logger32->commands(), std::vector<std::string>{"<APP_CLICK_DXSPOT:15>14025.000|R3AAA"});
  ASSERT_FALSE(logger32->receivedSoFar().empty());
  EXPECT_EQ(logger32->receivedSoFar().back().wParam, 4u) << "Disconnect came last";
}

TEST_F(LinkWindow, ErrorsWhileClosingTheLinkWindowAreNotReported) {
  createLinkWindow(false);
  Form2->OnClose = [](ui::CloseAction&) { throw std::runtime_error("the link window cannot close"); };
  Form1->close();
  EXPECT_TRUE(messages.messages().empty());  // TearDown names any box shown
  EXPECT_EQ(Form1->handle(), nullptr);       // the main window closed all the same
}

}  // namespace
