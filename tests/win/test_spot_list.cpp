// The spot list window in-process: its settings file beside the test program, the
// rows the lookup's alerts append, the commands a click sends into a command window
// of the Logger32 stand-in, the menu, both views, the frequency panel and the alert
// log.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <utility>

#include "app/ProgressU.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/VipU.h"
#include "core/most_wanted.h"
#include "logger32_standin.h"
#include "program_windows.h"
#include "support.h"
#include "ui/application.h"
#include "ui/canvas.h"
#include "ui/dialogs.h"

namespace {

using testing_support::pump;

using testing_support::Logger32StandIn;

// A handler of the spot list window run as its menu item or button runs it: inside
// the error boundary.
template <class F>
void guarded(F handler) {
  ui::app().guard(handler);
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

const std::vector<std::string> kKeyOrder = {
    "MyCall",    "AlwaysUpdate", "QrgPanel",  "MainTop",   "MainLeft",  "VipTop",    "VipLeft",
    "VipWidth",  "VipHeigth",    "SpotWidth", "FreqWidth", "RdaWidth",  "TimeWidth", "MwWidth",
    "FontName",  "FontSize",     "FontStyle", "FontCl",    "FixedColor", "Color",    "RussOnly"};

class SpotList : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::removeSettingsFile(TVip::SettingsPath());
    dir.writeLines("QJcfm.txt", {"CD-01;R1CCC;20m"});
    dir.writeLines("QJar.txt", {"AB-12 Abinsk", "CD-01 Other", "KK-33 Fresh"});
    dir.writeLines("RUdoz.txt", {"R3NEW KK-33", "R3TWO KK-33"});
    dir.writeLines("QJlook.txt", {"R9X"});
    dir.writeLines("QJreg.txt", {"AB-12 01.2020-LastQso 3.55%MW", "CD-01 02.2021-LastQso 22.5%MW",
                                 "EF-05 03.2022-LastQso 41%MW", "GH-07 04.2023-LastQso 75%MW",
                                 "KK-33 - \xCD\xE5 \xF1\xF2\xF3\xEF\xE0\xEB\xE0"});
    AlertFlag = 0;
    windows.emplace();  // the link's timers stopped
    // Logger32 on the test's own thread, made after the link window, which is not
    // searching any more: only its command window is known to the link.
    logger32.emplace(Logger32StandIn::Thread::TestThread);
    Form2->CommandWnd = logger32->commandWindow();
  }
  void TearDown() override {
    vip.reset();
    windows.reset();
    logger32.reset();
    pump();
    MSG m;
    while (PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    testing_support::removeSettingsFile(TVip::SettingsPath());
  }
  void createVip() {
    vip = std::make_unique<TVip>();
    Vip = vip.get();
  }
  void restartVip() {
    vip.reset();
    createVip();
  }
  void writeSettings(const std::vector<std::string>& lines) {
    std::string bytes = "[RD]\r\n";
    for (const auto& l : lines) bytes += l + "\r\n";
    std::ofstream(TVip::SettingsPath(), std::ios::binary) << bytes;
  }
  // The file's lines as "KEY=VALUE", the section line first.
  std::vector<std::string> settingsLines() const {
    std::vector<std::string> lines;
    std::istringstream in(readFile(TVip::SettingsPath()));
    for (std::string l; std::getline(in, l);)
      if (l.size() > 1) lines.push_back(l.substr(0, l.size() - (l.back() == '\r')));
    return lines;
  }
  std::string setting(const std::string& key) const {
    for (const auto& l : settingsLines())
      if (l.rfind(key + "=", 0) == 0) return l.substr(key.size() + 1);
    return "<missing>";
  }
  std::vector<std::string> rowTexts(int row) const {
    std::vector<std::string> r;
    for (int c = 0; c < 5; ++c) r.push_back(Vip->Cell(c, row));
    return r;
  }
  COLORREF cellPixel(int col, int row) const {
    const RECT r = Vip->CellRect(col, row);
    return testing_support::screenPixel(Vip->PartWindow(TVip::Part::Grid), r.right - 2, r.bottom - 2);
  }
  void clickRow(int row, ui::MouseButton button = ui::MouseButton::Left) { pressDrawnRow(row, button); }
  // What Logger32 got once every command asked for has gone out.
  std::vector<std::string> sent() {
    testing_support::settle();  // presses still in the queue start their sequences
    EXPECT_TRUE(testing_support::waitUntil([] { return !Form2->Busy(); }));
    testing_support::settle();
    return logger32->commands();
  }

  testing_support::ScratchDir dir;
  testing_support::MessageRecorder messages;
  std::optional<MainAndLinkWindows> windows;
  std::optional<Logger32StandIn> logger32;
  std::unique_ptr<TVip> vip;
};

TEST_F(SpotList, FirstStartTakesEveryDefault) {
  createVip();
  EXPECT_TRUE(messages.messages().empty());
  EXPECT_EQ(FindWindowA("TVip", "Vip"), Vip->handle());
  EXPECT_FALSE(Vip->visible());
  const LONG_PTR style = GetWindowLongPtrW(Vip->handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_TRUE(GetWindowLongPtrW(Vip->handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  EXPECT_EQ(std::make_tuple(Vip->MyCall(), Vip->AlwaysUpdate(), Vip->RussOnly(), Vip->QrgPanel(),
                            Vip->FrequencyPanelShown()),
            std::make_tuple("QQ0QQ", false, true, false, false));
  EXPECT_EQ(std::make_pair(Form1->left(), Form1->top()), std::make_pair(2, 80));
  EXPECT_EQ(std::make_tuple(Vip->left(), Vip->top(), Vip->height(), Vip->SavedWidth, Vip->SavedHeight),
            std::make_tuple(2, 150, 284, Vip->width(), 284));
  // Without widths in the file the columns fit what they hold, and the window all
  // five beside the scroll bar.
  EXPECT_GE(Vip->width(), 264);
  RECT grid{};
  GetClientRect(Vip->PartWindow(TVip::Part::Grid), &grid);
  EXPECT_LE(Vip->CellRect(4, 0).right, grid.right - GetSystemMetrics(SM_CXVSCROLL));
  const ui::Font& font = Vip->GridFont();
  for (const auto& [col, text] : {std::pair{0, "UA0ABC/P"}, {1, "14012.0"}, {2, "AB-12"}, {3, "18:04"}})
    EXPECT_LE(ui::textExtent(font, text).cx + 2, Vip->ColWidth(col)) << text;
  EXPECT_EQ(std::make_tuple(font.name, font.size(), font.bold, font.color),
            std::make_tuple("MS Sans Serif", 10, false, core::clNavy));
  EXPECT_EQ(std::make_tuple(Vip->GridFixedColor(), Vip->GridColor(), Vip->RowCount(), Vip->RowHeight()),
            std::make_tuple(0x5BFDD5u, 0xF7FFD9u, 2, 18));
  EXPECT_EQ(Vip->FrequencyText(), "QRG");
  EXPECT_EQ(Vip->HintOf(TVip::Part::RussOnlyBox), "Russ only");
  EXPECT_EQ(Vip->HintOf(TVip::Part::CfmButton), "DownLoad My CFM File");
}

TEST_F(SpotList, MissingRegionListIsReportedAndLeavesEveryRowWithoutValue) {
  dir.remove("QJreg.txt");
  createVip();
  ASSERT_EQ(messages.messages().size(), 1u);
  EXPECT_EQ(messages.messages()[0].text, "Нэма Файла QJreg.txt Go Setup and Press \"Обновить Most Wanted\"");
  Vip->AddSpot("R3NEW", "7012.0", "AB-12", "12:03");
  EXPECT_EQ(Vip->Cell(4, 1), "");
  EXPECT_EQ(Vip->MwValue("AB-12"), 0);
  // Once a list is there (the Most Wanted download reads it at once), the rows listed
  // before take their values and colours.
  dir.writeLines("QJreg.txt", {"AB-12 01.2020-LastQso 3.55%MW"});
  Vip->LoadRegionList();
  testing_support::settle();
  EXPECT_EQ(Vip->Cell(4, 1), "3");
  EXPECT_EQ(cellPixel(0, 1), RGB(249, 176, 182));
}

// The start-up box about the region list is open while Logger32 sends spots of new
// districts: the main window is on the screen, and the spots are listed.
TEST_F(SpotList, SpotsWhileAStartUpBoxIsOpenAreListed) {
  dir.remove("QJreg.txt");
  bool mainShown = false;
  ui::setMessageBoxHook([&](const std::string& text, const std::string&, unsigned) {
    mainShown = IsWindowVisible(Form1->handle());
    for (const char* call : {"R3NEW", "R3TWO"}) {
      const std::string record = std::string("<DXSPOT_CALLSIGN:5>") + call +
                                 "<DXSPOT_FREQ:7>14025.0<DXSPOT_COMMENT:2>cq<APP_DXSPOT_TIME:4>1201";
      SendMessageA(Form2->SpotField(), WM_SETTEXT, 0, LPARAM(record.c_str()));
    }
    EXPECT_EQ(text.rfind("\xCD\xFD\xEC\xE0 \xD4\xE0\xE9\xEB\xE0 QJreg.txt", 0), 0u);  // "Нэма Файла"
    return IDOK;
  });
  createVip();
  ui::setMessageBoxHook(nullptr);
  EXPECT_TRUE(mainShown);
  EXPECT_EQ(Vip->RowCount(), 4);
  EXPECT_EQ(std::make_pair(Vip->Cell(0, 1), Vip->Cell(0, 2)), std::make_pair(std::string("R3NEW"), std::string("R3TWO")));
}

TEST_F(SpotList, SettingsFileIsAppliedAsWritten) {
  writeSettings({"VipHeigth=300", "FontSize=0x0C", "VipLeft=-20", "MainLeft=-7", "MainTop=-3", "RussOnly=0",
                 "QrgPanel=1", "MyCall=R3ABC", "SpotWidth=$40", "Color=garbage"});
  createVip();
  EXPECT_EQ(Vip->height(), 300);
  EXPECT_EQ(Vip->SavedHeight, 300);
  EXPECT_EQ(Vip->GridFont().size(), 12);
  EXPECT_EQ(Vip->RowHeight(), 20);
  EXPECT_EQ(Vip->left(), -20);
  EXPECT_EQ(std::make_pair(Form1->left(), Form1->top()), std::make_pair(-7, -3));
  EXPECT_FALSE(Vip->RussOnly());
  EXPECT_TRUE(Vip->FrequencyPanelShown());
  EXPECT_EQ(Vip->MyCall(), "R3ABC");
  EXPECT_EQ(Vip->ColWidth(0), 64);
  EXPECT_EQ(Vip->GridColor(), 0xF7FFD9u);

  // Another spelling is not read; letters give the default; the minimum size holds;
  // a file with widths keeps them.
  EXPECT_EQ(Vip->ColWidth(1), 50);
  writeSettings({"VipHeight=400", "FontSize=twelve", "VipWidth=10"});
  restartVip();
  EXPECT_EQ(Vip->height(), 284);
  EXPECT_EQ(Vip->GridFont().size(), 10);
  EXPECT_EQ(Vip->width(), 88);
  EXPECT_EQ(Vip->SavedWidth, 88);
}

TEST_F(SpotList, ClosingTheMainWindowWritesTheFileTwiceInTableOrder) {
  createVip();
  Vip->SetColWidth(2, 61);
  Vip->SetMyCall("UA1ABC");
  Form1->setBounds(33, 44, Form1->width(), Form1->height());
  std::string firstWrite;
  auto close = Vip->OnClose;
  Vip->OnClose = [&](ui::CloseAction& action) {
    firstWrite = readFile(TVip::SettingsPath());
    close(action);
  };
  Form1->close();
  EXPECT_FALSE(Vip->visible());
  EXPECT_FALSE(firstWrite.empty());
  EXPECT_EQ(readFile(TVip::SettingsPath()), firstWrite);

  std::vector<std::string> keys;
  const auto lines = settingsLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "[RD]");
  for (std::size_t i = 1; i < lines.size(); ++i) keys.push_back(lines[i].substr(0, lines[i].find('=')));
  EXPECT_EQ(keys, kKeyOrder);
  EXPECT_EQ((std::vector<std::string>{setting("RdaWidth"), setting("MyCall"), setting("MainLeft"), setting("MainTop"),
                                      setting("FontCl"), setting("RussOnly")}),
            (std::vector<std::string>{"61", "UA1ABC", "33", "44", "8388608", "1"}));
  EXPECT_TRUE(messages.messages().empty());
}

TEST_F(SpotList, ProgressWindowKeepsItsPlaceAndSize) {
  writeSettings({"ProgressLeft=40", "ProgressTop=50", "ProgressWidth=600", "ProgressHeight=450"});
  createVip();
  auto progress = std::make_unique<TProgress>(Vip->ProgressPlace);
  Progress = progress.get();
  EXPECT_EQ(std::make_tuple(Progress->left(), Progress->top(), Progress->width(), Progress->height()),
            std::make_tuple(40, 50, 600, 450));
  Progress->setBounds(70, 80, 500, 400);
  Vip->WriteParams();
  EXPECT_EQ((std::vector<std::string>{setting("ProgressLeft"), setting("ProgressTop"), setting("ProgressWidth"),
                                      setting("ProgressHeight")}),
            (std::vector<std::string>{"70", "80", "500", "400"}));

  // Unchanged (the window not even made), the keys stay as the file held them, and
  // missing ones stay out.
  progress.reset();
  ASSERT_EQ(Progress, nullptr);
  writeSettings({"ProgressLeft=41"});
  restartVip();
  Vip->WriteParams();
  EXPECT_EQ((std::vector<std::string>{setting("ProgressLeft"), setting("ProgressTop"), setting("ProgressWidth"),
                                      setting("ProgressHeight")}),
            (std::vector<std::string>{"41", "<missing>", "<missing>", "<missing>"}));
}

TEST_F(SpotList, SetupViewAndGridView) {
  createVip();
  Form1->StartSetup();
  EXPECT_TRUE(Vip->visible());
  EXPECT_EQ(std::make_pair(Vip->width(), Vip->height()), std::make_pair(266, 203));
  EXPECT_FALSE(Vip->GridViewShown());
  EXPECT_TRUE(Vip->SetupViewShown());
  testing_support::snapshot(Vip->handle(), "spot-list-setup");
  Vip->close();  // in the setup view: the setup size is stored
  EXPECT_EQ(setting("VipWidth"), "266");
  EXPECT_EQ(setting("VipHeigth"), "203");

  Form1->ShowVip1Click();  // back to the grid, at the setup size
  EXPECT_TRUE(Vip->GridViewShown());
  EXPECT_FALSE(Vip->SetupViewShown());
  EXPECT_EQ(Vip->width(), 266);

  Vip->setBounds(Vip->left(), Vip->top(), 300, 250);
  guarded([] { Vip->MyCall1Click(); });
  Vip->SetQrgPanel(true);
  EXPECT_FALSE(Vip->FrequencyPanelShown());  // the panel follows the box at "Ok" only
  guarded([] { Vip->RbButton4Click(); });
  EXPECT_EQ(std::make_pair(Vip->width(), Vip->height()), std::make_pair(300, 250));
  EXPECT_EQ(setting("VipWidth"), "300");
  EXPECT_EQ(setting("QrgPanel"), "1");
  EXPECT_TRUE(Vip->FrequencyPanelShown());
  EXPECT_TRUE(Vip->GridViewShown());
  EXPECT_FALSE(Vip->SetupViewShown());

  Form1->StartSetup();
  Form1->SetTakesSpots(false);
  Form1->EnterCallsign("setup");  // typed: twice in the setup view, so the setup size is saved
  EXPECT_TRUE(Vip->SetupViewShown());
  guarded([] { Vip->RbButton4Click(); });
  EXPECT_EQ(std::make_pair(Vip->width(), Vip->height()), std::make_pair(266, 203));
  EXPECT_TRUE(messages.messages().empty());
}

TEST_F(SpotList, FontAndColourDialogsOpenWithTheirOwnLastChoiceAndOnlyBoldSurvives) {
  createVip();
  std::vector<ui::Font> opened;
  ui::Font next;
  bool confirm = true;
  ui::setFontDialogHook([&](ui::Font& f) {
    opened.push_back(f);
    f = next;
    return confirm;
  });
  next = {.name = "Arial", .height = 16, .bold = true, .italic = true, .color = core::clRed};
  guarded([] { Vip->Font1Click(); });
  EXPECT_EQ(Vip->GridFont().name, "Arial");
  EXPECT_EQ(Vip->RowHeight(), 20);
  EXPECT_FALSE(Vip->FontBold);  // bold with italic
  next.italic = false;
  guarded([] { Vip->Font1Click(); });
  EXPECT_TRUE(Vip->FontBold);
  next.name = "Courier New";
  confirm = false;
  guarded([] { Vip->Font1Click(); });
  EXPECT_EQ(Vip->GridFont().name, "Arial");
  ASSERT_EQ(opened.size(), 3u);
  EXPECT_EQ(opened[0].name, "MS Sans Serif");
  EXPECT_EQ(opened[0].size(), 8);
  EXPECT_FALSE(opened[0].bold);
  EXPECT_TRUE(opened[1].italic);  // the dialog's own last choice, not the grid's font
  EXPECT_FALSE(opened[2].italic);

  Vip->close();
  restartVip();
  EXPECT_TRUE(Vip->GridFont().bold);
  EXPECT_EQ(Vip->GridFont().name, "Arial");
  EXPECT_EQ(Vip->GridFont().color, core::clRed);
  confirm = true;
  next.italic = true;
  guarded([] { Vip->Font1Click(); });
  Vip->close();
  restartVip();
  EXPECT_FALSE(Vip->GridFont().bold);
  EXPECT_FALSE(Vip->GridFont().italic);
  ui::setFontDialogHook(nullptr);

  std::vector<core::Color> colours;
  confirm = true;
  ui::setColorDialogHook([&](core::Color& c) {
    colours.push_back(c);
    c = 0x123456 + core::Color(colours.size());
    return confirm;
  });
  guarded([] { Vip->Color1Click(); });
  guarded([] { Vip->FixedColor1Click(); });
  confirm = false;
  guarded([] { Vip->Color1Click(); });
  ui::setColorDialogHook(nullptr);
  EXPECT_EQ(colours, (std::vector<core::Color>{core::clBlack, 0x123457, 0x123458}));
  EXPECT_EQ(Vip->GridColor(), 0x123457u);
  EXPECT_EQ(Vip->GridFixedColor(), 0x123458u);
}

TEST_F(SpotList, UnwritableFileIsReportedByOkButNotByTheMainWindowsClose) {
  createVip();
  std::filesystem::create_directory(TVip::SettingsPath());
  Form1->StartSetup();
  guarded([] { Vip->RbButton4Click(); });
  ASSERT_EQ(messages.messages().size(), 1u);
  EXPECT_EQ(messages.messages()[0].text, "Unable to write to " + TVip::SettingsPath());
  EXPECT_TRUE(Vip->GridViewShown());  // the operator is not kept in the setup view
  EXPECT_FALSE(Vip->SetupViewShown());
  messages.clear();
  Vip->close();
  ASSERT_EQ(messages.messages().size(), 1u);
  EXPECT_FALSE(Vip->visible());  // the close box closes all the same
  messages.clear();
  Vip->show();
  Form1->close();
  EXPECT_TRUE(messages.messages().empty());
}

// The operator's file goes back as it was read: their spelling of a value, values
// the screen cannot take, their own lines, and the base addresses they may edit
// while ruDOZ runs. Only what the operator changes in the program is written anew.
TEST_F(SpotList, TheOperatorsFileKeepsWhatItHeldUnlessChangedHere) {
  writeSettings({"Note=mine", "; my own note", "a line without an equals sign", "VipWidth=10", "SpotWidth=$40",
                 "FontSize=0x0C", "CfmServer=http://old"});
  createVip();
  const std::wstring path = TVip::SettingsPathW();
  WritePrivateProfileStringW(L"RD", L"CfmServer", L"http://new", path.c_str());  // edited while ruDOZ runs
  WritePrivateProfileStringW(L"RD", L"RdaServer", L"http://rda", path.c_str());
  Vip->WriteParams();
  EXPECT_EQ((std::vector<std::string>{setting("Note"), setting("VipWidth"), setting("SpotWidth"), setting("FontSize"),
                                      setting("CfmServer"), setting("RdaServer")}),
            (std::vector<std::string>{"mine", "10", "$40", "0x0C", "http://new", "http://rda"}));
  Vip->SetColWidth(0, 70);
  Vip->setWidth(200);
  Vip->WriteParams();
  EXPECT_EQ(std::make_pair(setting("SpotWidth"), setting("VipWidth")), std::make_pair(std::string("70"), std::string("200")));
  const auto lines = settingsLines();
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 4),
            (std::vector<std::string>{"[RD]", "Note=mine", "; my own note", "a line without an equals sign"}));

  // Values no screen can show: nothing overflows on the way, the windows come onto
  // the screen (the main window at start, the spot list with its first spot) and
  // their new places are kept; the grid's values stay as the file held them.
  const std::vector<std::string> extremes = {"VipLeft=2147483647", "VipTop=-2147483648", "VipWidth=2147483647",
                                             "VipHeigth=2147483647", "SpotWidth=2147483647", "FreqWidth=-2147483648",
                                             "FontSize=100000", "MainLeft=2147483647", "MainTop=-2147483648"};
  writeSettings(extremes);
  restartVip();
  const auto onScreen = [](HWND window) {
    RECT r{}, work{};
    GetWindowRect(window, &r);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return r.left >= work.left && r.top >= work.top && r.right <= work.right && r.bottom <= work.bottom;
  };
  EXPECT_TRUE(onScreen(Form1->handle()));
  for (int i = 0; i < 30; ++i) Vip->AddSpot("R3X" + std::to_string(i), "14025.0", "AB-12", "12:00");
  EXPECT_EQ(Vip->RowCount(), 32);
  EXPECT_TRUE(onScreen(Vip->handle()));
  Vip->WriteParams();
  for (const std::string key : {"SpotWidth", "FreqWidth", "FontSize"}) {
    const auto line = std::find_if(extremes.begin(), extremes.end(), [&](const std::string& l) { return l.rfind(key, 0) == 0; });
    EXPECT_EQ(key + "=" + setting(key), *line);
  }
  EXPECT_EQ(std::make_pair(setting("VipLeft"), setting("MainLeft")),
            std::make_pair(std::to_string(Vip->left()), std::to_string(Form1->left())));

  // A window with a pixel or two on a screen is not on it: it comes onto it too.
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  writeSettings({"VipLeft=" + std::to_string(work.right - 2), "MainLeft=" + std::to_string(work.right - 2)});
  restartVip();
  Vip->AddSpot("R3X", "14025.0", "AB-12", "12:00");
  EXPECT_TRUE(onScreen(Form1->handle()));
  EXPECT_TRUE(onScreen(Vip->handle()));
  EXPECT_TRUE(messages.messages().empty());
}

TEST_F(SpotList, SpotsBecomeRowsColouredByMostWanted) {
  createVip();
  const struct {
    const char* rda;
    const char* mw;
    std::optional<COLORREF> colour;
  } rows[] = {{"AB-12", "3", RGB(249, 176, 182)}, {"CD-01", "22", RGB(255, 255, 0)}, {"EF-05", "41", RGB(128, 255, 128)},
              {"GH-07", "75", std::nullopt},      {"KK-33", "0", RGB(249, 176, 182)}, {"ZZ-99", "", std::nullopt}};
  for (const auto& r : rows) Vip->AddSpot("R3NEW", "7012.0", r.rda, "12:03");
  EXPECT_TRUE(Vip->visible());
  EXPECT_EQ(rowTexts(0), (std::vector<std::string>{"    Spot", " Freq", "  RDA", " Time", "MW%"}));
  EXPECT_EQ(Vip->RowCount(), 8);
  EXPECT_EQ(rowTexts(7), std::vector<std::string>(5));
  const COLORREF own = ui::colorRef(Vip->GridColor());
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(rows[i].rda);
    EXPECT_EQ(rowTexts(i + 1), (std::vector<std::string>{"R3NEW", "7012.0", rows[i].rda, "12:03", rows[i].mw}));
    for (int col : {0, 2}) EXPECT_EQ(cellPixel(col, i + 1), rows[i].colour.value_or(own)) << col;
  }
  EXPECT_EQ(Vip->MwValue("AB-12"), 3);
  EXPECT_EQ(Vip->MwValue("ZZ-99"), 0);
  testing_support::snapshot(Vip->handle(), "spot-list-colours");

  // More rows than the view holds: the newest is the lowest visible row.
  for (int i = 0; i < 30; ++i) Vip->AddSpot(std::to_string(i) + "R", "14000.0", "CD-01", "12:00");
  const int last = Vip->RowCount() - 2;
  EXPECT_EQ(Vip->Cell(0, last), "29R");
  EXPECT_EQ(Vip->TopRow() + Vip->VisibleRowCount() - 1, last);

  guarded([] { Vip->CLEAR1Click(); });
  EXPECT_EQ(Vip->RowCount(), 2);
  EXPECT_EQ(rowTexts(1), std::vector<std::string>(5));
  EXPECT_EQ(Vip->Cell(0, 0), "    Spot");
  Vip->AddSpot("R3NEW", "7012.0", "AB-12", "12:03");
  guarded([] { Vip->ClearClose1Click(); });
  EXPECT_EQ(Vip->RowCount(), 2);
  EXPECT_FALSE(Vip->visible());
  EXPECT_NE(setting("VipWidth"), "<missing>");
}

TEST_F(SpotList, TheNewestRowIsWhollyInViewWhateverTheWindowsHeight) {
  createVip();
  for (const int height : {284, 500, 501, 517, 733}) {
    SCOPED_TRACE(height);
    Vip->CLEAR1Click();
    Vip->setBounds(Vip->left(), Vip->top(), Vip->width(), height);
    Vip->applyHeld();
    RECT client{};
    for (int i = 0; i < 45; ++i) {
      Vip->AddSpot("R3N" + std::to_string(i), "14025.0", "AB-12", "12:00");
      GetClientRect(Vip->PartWindow(TVip::Part::Grid), &client);
      const RECT newest = Vip->CellRect(0, Vip->RowCount() - 2);
      ASSERT_FALSE(IsRectEmpty(&newest)) << "spot " << i + 1;
      ASSERT_LE(newest.bottom, client.bottom) << "spot " << i + 1;
    }
  }
}

TEST_F(SpotList, ClickTunesLogger32AndSendsTheDistrictAfterThePause) {
  createVip();
  Vip->AddSpot("R3DEMO", "14025.0", "AB-12", "12:01");
  const DWORD start = GetTickCount();
  clickRow(1);
  EXPECT_EQ(logger32->commands(), std::vector<std::string>{"<APP_CLICK_DXSPOT:16>14025.000|R3DEMO"});
  EXPECT_EQ(sent(), (std::vector<std::string>{"<APP_CLICK_DXSPOT:16>14025.000|R3DEMO", "<STATE:2>AB<CNTY:2>12"}));
  EXPECT_GE(GetTickCount() - start, TForm2::kClickPauseMs - 20) << "the district after the pause";
  EXPECT_EQ(Vip->HitRow, 1);
  EXPECT_EQ(Vip->CurrentCell(), (ui::GridCoord{0, 1}));

  logger32->takeCommands();
  clickRow(2);  // the empty slot
  clickRow(0);  // the title row
  EXPECT_EQ(sent(), std::vector<std::string>{"<APP_CLICK_DXSPOT:3>00|"});

  logger32->takeCommands();
  clickRow(2, ui::MouseButton::Right);  // selects only
  EXPECT_EQ(Vip->CurrentCell(), (ui::GridCoord{0, 2}));
  clickRow(1, ui::MouseButton::Right);
  EXPECT_EQ(Vip->CurrentCell(), (ui::GridCoord{0, 1}));
  Form2->CommandWnd = nullptr;  // no link: the click is lost without a word
  clickRow(1);
  EXPECT_TRUE(sent().empty());
  EXPECT_TRUE(messages.messages().empty());
}

// The operator clicks again before the district of the first click has gone out.
TEST_F(SpotList, OneClickSequenceAtATimeEachWithTheDistrictOfItsOwnRow) {
  createVip();
  Vip->AddSpot("R3AAA", "14025.0", "AB-12", "12:01");
  Vip->AddSpot("R3BBB", "7010.0", "CD-01", "12:02");
  const std::vector<std::string> first = {"<APP_CLICK_DXSPOT:15>14025.000|R3AAA", "<STATE:2>AB<CNTY:2>12"};
  const std::vector<std::string> second = {"<APP_CLICK_DXSPOT:14>7010.000|R3BBB", "<STATE:2>CD<CNTY:2>01"};
  auto post = [&](UINT msg, int row) {
    const RECT r = Vip->CellRect(0, row);
    PostMessageW(Vip->PartWindow(TVip::Part::Grid), msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(5, (r.top + r.bottom) / 2));
  };
  // A press on the second row, waiting in the queue when the first click's pause
  // begins.
  post(WM_LBUTTONDOWN, 2);
  post(WM_LBUTTONUP, 2);
  clickRow(1);
  std::vector<std::string> both = first;
  both.insert(both.end(), second.begin(), second.end());
  EXPECT_EQ(sent(), both);

  // A CW click in the pause goes out behind the district, not between.
  logger32->takeCommands();
  clickRow(1);
  guarded([] { Vip->RbButton1Click(); });
  std::vector<std::string> withCw = first;
  withCw.push_back("<APP_SET_FREQ_MODE:8>QRG|CW-R");
  EXPECT_EQ(sent(), withCw);

  // A double click on one row is one click.
  logger32->takeCommands();
  for (UINT msg : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) post(msg, 1);
  EXPECT_EQ(sent(), first);

  // "Clear All" while the click is on its way: the district is the one the clicked
  // row held.
  logger32->takeCommands();
  logger32->onNextCommand([] { Vip->CLEAR1Click(); });
  clickRow(1);
  EXPECT_EQ(sent(), first);
  EXPECT_EQ(Vip->RowCount(), 2);
  EXPECT_TRUE(messages.messages().empty());
}

TEST_F(SpotList, PointerOverARowShowsItsRegionLine) {
  createVip();
  Vip->AddSpot("R3NEW", "7012.0", "AB-12", "12:03");
  Vip->AddSpot("R3NEW", "7012.0", "", "12:03");
  const auto overRow = [&](int row) {
    const RECT r = Vip->CellRect(0, row);
    Vip->SG1MouseMove({}, 5, (r.top + r.bottom) / 2);
  };
  overRow(1);
  EXPECT_EQ(Vip->caption(), "AB-12 01.2020-LastQso 3.55%MW");
  overRow(2);  // no district: the line stays
  EXPECT_EQ(Vip->caption(), "AB-12 01.2020-LastQso 3.55%MW");
  EXPECT_EQ(Vip->HitRow, 2);
}

TEST_F(SpotList, FrequencyPanelSendsTheLabelsFrequencyWithTheMode) {
  createVip();
  guarded([] { Vip->RbButton1Click(); });
  guarded([] { Vip->RbButton2Click(); });
  Form2->LinkMsg = RegisterWindowMessageA("Logger32 1");
  bool handled = false;
  MSG report{};
  report.hwnd = Form2->handle();
  report.message = *Form2->LinkMsg;
  report.wParam = 100;
  report.lParam = 14025000;
  Form2->ApplicationEvents1Message(report, handled);
  EXPECT_EQ(Vip->FrequencyText(), "14025,000");
  guarded([] { Vip->RbButton1Click(); });
  guarded([] { Vip->RbButton2Click(); });
  EXPECT_EQ(sent(),
            (std::vector<std::string>{"<APP_SET_FREQ_MODE:8>QRG|CW-R", "<APP_SET_FREQ_MODE:7>QRG|USB",
                                      "<APP_SET_FREQ_MODE:14>14025,000|CW-R", "<APP_SET_FREQ_MODE:13>14025,000|USB"}));
}

// The verdicts beyond new and confirmed: a district in the worked log but not
// confirmed, and one confirmed on another band than the spot's.
TEST_F(SpotList, WorkedAndNewBandVerdicts) {
  dir.writeLines("RUdoz.txt", {"R3ABK AB-12", "R3NEW KK-33", "R3TWO KK-33"});
  dir.write("worked.adi", "Logger32 export\n<EOH>\n<CALL:5>R1AAA <CNTY:5>AB-12 <BAND:3>20M <MODE:2>CW <EOR>\n");
  writeSettings({"WorkedLog=worked.adi"});
  createVip();
  Form1->StopBlinking();
  const auto spot = [](const std::string& call, const std::string& freq) {
    const std::string record = "<DXSPOT_CALLSIGN:" + std::to_string(call.size()) + ">" + call + "<DXSPOT_FREQ:" +
                               std::to_string(freq.size()) + ">" + freq;
    SendMessageA(Form2->SpotField(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(record.c_str()));
  };
  // Worked, not confirmed: its own bar, listed in a colour of its own, no alarm.
  spot("R3ABK", "14025.0");
  EXPECT_EQ(Form1->VerdictText(), "Worked RDA");
  EXPECT_EQ(Form1->VerdictColor(), core::rgb(255, 200, 0));
  EXPECT_EQ(AlertFlag, 0);
  ASSERT_EQ(rowTexts(1)[0], "R3ABK");
  testing_support::settle();
  EXPECT_EQ(cellPixel(0, 1), RGB(176, 216, 240));
  for (int tick = 0; tick < 3; ++tick) {
    Form1->Timer1Timer();
    EXPECT_EQ(Form1->color(), core::clBtnFace) << "no blinking";
  }

  // Appended while the program runs, the log counts within a few seconds.
  spot("R3NEW", "14026.0");
  EXPECT_EQ(Form1->VerdictText(), "New RDA !");
  dir.write("worked.adi", "<EOH>\n<CNTY:5>AB-12<BAND:3>20m<EOR>\n<CNTY:5>KK-33<BAND:3>40m<EOR>\n");
  const DWORD appended = GetTickCount();
  EXPECT_TRUE(testing_support::waitUntil(
      [] {
        Form1->ClearDistrict();
        Form1->EnterDistrict("KK-33");
        return Form1->VerdictText() == "Worked RDA";
      },
      6000));
  EXPECT_LT(GetTickCount() - appended, 4000u);

  // By band: AB-12 confirmed on 20 m only; heard on 40 m it is new there, on 20 m
  // confirmed; worked on 40 m (KK-33) it is worked.
  dir.write("QJcfm.txt", "\"RDA\",\"Band\",\"Mode\"\r\n\"AB-12\",\"14\",\"CW\"\r\n\"KK-33\",\"14\",\"SSB\"\r\n");
  Form1->SetBandVerdict(true);
  const struct {
    const char* call;
    const char* freq;
    const char* verdict;
    std::uint8_t alert;
  } byBand[] = {{"R3ABK", "7025.0", "New band RDA", 1}, {"R3NEW", "7020.0", "Worked RDA", 0},
                {"R3ABK", "14025.0", "RDA Status CFM", 0}, {"R3TWO", "7020.0", "Worked RDA", 0}};
  for (const auto& c : byBand) {
    SCOPED_TRACE(std::string(c.call) + " on " + c.freq);
    spot("DL1AA", "14000.0");  // another station between, so that the callsign changes
    spot(c.call, c.freq);
    EXPECT_EQ(Form1->VerdictText(), c.verdict);
    EXPECT_EQ(AlertFlag, c.alert);
  }
  EXPECT_EQ(Form1->LastVerdict(), core::Verdict::Worked);
  EXPECT_TRUE(messages.messages().empty());

  // Rewritten with a byte order mark, a UTF-8 name, KK33, a record whose NAME runs
  // past its <EOR> and a QSO with Germany: the bad record is named once, the rest counts.
  Form1->SetBandVerdict(false);
  dir.writeLines("QJcfm.txt", {"CD-01;R1CCC;20m"});
  dir.write("worked.adi", "\xEF\xBB\xBF<EOH>\n<CALL:6>R3AAAA<NAME:8>\xD0\x9F\xD1\x91\xD1\x82\xD1\x80<CNTY:4>kk33<EOR>\n"
                          "<CNTY:5>AB-12<NAME:40>Ivan<EOR>\n<CALL:6>DL1ABC<DXCC:3>230<CNTY:5>AB-12<EOR>\n");
  const auto verdictOf = [](const char* district) {
    Form1->ClearDistrict();
    Form1->EnterDistrict(district);
    return Form1->VerdictText();
  };
  // Each look runs the verdict, which reads the log when it is due.
  EXPECT_TRUE(testing_support::waitUntil([&] { return verdictOf("KK-33") == "Worked RDA" && !messages.messages().empty(); }));
  EXPECT_EQ(verdictOf("AB-12"), "New RDA !");
  ASSERT_EQ(messages.messages().size(), 1u);
  EXPECT_EQ(messages.messages()[0].text.rfind("Worked log \"worked.adi\", line 3: the field NAME declares 40", 0), 0u);
  messages.clear();

  // A log that cannot be read counts for nothing.
  dir.remove("worked.adi");
  Form1->SetWorkedLog(L"worked.adi");
  Form1->ClearDistrict();
  Form1->EnterDistrict("KK-33");
  EXPECT_EQ(Form1->VerdictText(), "New RDA !");
}

TEST_F(SpotList, AlertsAreListedAndLoggedOnlyIntoAnExistingLog) {
  createVip();
  Form1->SetTakesSpots(false);  // the spot below starts no lookup of its own
  const char* record = "<DXSPOT_CALLSIGN:5>R9ABC<DXSPOT_FREQ:6>7012.0<APP_DXSPOT_TIME:4>0915";
  SendMessageA(Form2->SpotField(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(record));

  Form1->EnterCallsign("R3NEW");
  EXPECT_EQ(rowTexts(1), (std::vector<std::string>{"R3NEW", "7012.0", "KK-33", "09:15", "0"}));
  EXPECT_FALSE(std::filesystem::exists("QJmis.txt"));

  const std::string earlier = "UA1AAA:  AB-12  1.1.2020  1:00:00\r\n\r\n\xC0\xFF odd line\r\n";
  dir.write("QJmis.txt", earlier);
  Form1->EnterCallsign("R3TWO");
  const std::string log = readFile("QJmis.txt");
  ASSERT_EQ(log.rfind(earlier, 0), 0u);
  const std::string added = log.substr(earlier.size());
  EXPECT_EQ(added.rfind("R3TWO:  KK-33  ", 0), 0u) << added;
  EXPECT_EQ(added.find("\r\n"), added.size() - 2) << added;

  // A log another program holds open without letting it be replaced stays whole,
  // and nothing is left beside it.
  HANDLE held = CreateFileA("QJmis.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Form1->EnterCallsign("R3NEW");
  CloseHandle(held);
  EXPECT_EQ(readFile("QJmis.txt"), log);
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 6);  // the five reference files and the log
  EXPECT_EQ(Vip->RowCount(), 5);

  // A log the operator keeps in UTF-8 is not re-encoded: its lines stay as they are.
  const std::string utf8 = "\xEF\xBB\xBFRA1AAA:  AB-12  \xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0\r\n";
  dir.write("QJmis.txt", utf8);
  Form1->EnterCallsign("R3TWO");
  EXPECT_EQ(readFile("QJmis.txt").rfind(utf8 + "R3TWO:  KK-33  ", 0), 0u);

  // The line is added at the end, the earlier bytes as they were, after a line
  // break when the last line has none; a program that holds the log open and lets
  // others write does not keep the line out.
  const std::string unended = "UA1AAA:  AB-12\n\nlast";
  dir.write("QJmis.txt", unended);
  held = CreateFileA("QJmis.txt", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Form1->EnterCallsign("R3NEW");
  CloseHandle(held);
  EXPECT_EQ(readFile("QJmis.txt").rfind(unended + "\r\nR3NEW:  KK-33  ", 0), 0u) << readFile("QJmis.txt");
  EXPECT_TRUE(messages.messages().empty());
}

}  // namespace
