// The award progress window in-process: its figures against the main window's
// title, faults shown inside it, sorting and the needed list with real clicks
// (SendInput, the path the system's own mouse input takes), and what the screen
// shows of it. The clipboard is read back in the end-to-end test.
#include <gtest/gtest.h>

#include <memory>

#include "app/ProgressU.h"
#include "app/Unit1.h"
#include "support.h"
#include "ui/application.h"

#include <commctrl.h>  // after the Windows headers it builds on

namespace {

using testing_support::pump;
using testing_support::waitUntil;
using Texts = std::vector<std::string>;

// The award's list as it is published: region headers, tab-separated code lines,
// notes after further tabs, a retired district with its successor, LF line ends.
const std::string kList =
    "РЕСПУБЛИКА АДЫГЕЯ (АДЫГЕЯ)\t(AD)\tUA6Y\n"
    "AD-01\tАдыгейск\t\t\n"
    "AD-02\tГиагинский район\n"
    "AD-03\tКошехабльский район\n"
    "AD-04\tМайкопский район\n"
    "AD-05\tКрасногвардейский район\tdeleted\tAD-02\n"
    "АЛТАЙСКИЙ КРАЙ\t(AL)\tUA9Y\n"
    "AL-01\tБарнаул\n"
    "AL-02\tБийск\n"
    "МОСКВА\t(MA)\tUA3\n"
    "MA-01\tАрбат\n"
    "MA-02\tБасманный\n"
    "MA-03\tЗамоскворечье\n";
// AD-05 was confirmed before it was retired; ZZ-99 is not in the list.
const std::string kConfirmations =
    "AD-01;UA6YA;20;CW\nAD-01;R6YY;40;SSB\nAD-05;RA6YZ;15;CW\nAL-01;UA9YAB;20;FT8\nMA-01;R3AA;20;CW\nZZ-99;R0ZZ;10;CW\n";

// A left click at a point of a window's client area, through the system's input.
void realClick(HWND window, POINT pt) {
  ClientToScreen(window, &pt);
  SetCursorPos(pt.x, pt.y);
  pump();
  ASSERT_EQ(WindowFromPoint(pt), window) << "something lies over the point clicked";
  INPUT clicks[2] = {};
  clicks[0].type = clicks[1].type = INPUT_MOUSE;
  clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, clicks, sizeof(INPUT));
}

POINT centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// Pixels of a colour inside a part of a window's client area, as the screen shows it.
int pixelsOf(HWND window, RECT part, COLORREF colour) {
  const testing_support::ScreenImage image = testing_support::captureClient(window, part);
  int n = 0;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) n += image.pixel(x, y) == colour;
  return n;
}

// Pixels that are text (dark) rather than the white of the list's background.
int textPixels(HWND window, RECT part) {
  const testing_support::ScreenImage image = testing_support::captureClient(window, part);
  int n = 0;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      const COLORREF c = image.pixel(x, y);
      n += GetRValue(c) + GetGValue(c) + GetBValue(c) < 300;
    }
  return n;
}

class ProgressWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.write("QJar.txt", kList);
    dir.write("QJcfm.txt", kConfirmations);
    dir.writeLines("RUdoz.txt", {});
    dir.writeLines("QJlook.txt", {});
    form1 = std::make_unique<TForm1>();
    Form1 = form1.get();
    // Out of the way of the progress window, which the clicks must reach.
    Form1->setBounds(900, 700, Form1->width(), Form1->height());
    progress = std::make_unique<TProgress>();
    Progress = progress.get();
  }
  void TearDown() override {
    progress.reset();
    form1.reset();
    Form1 = nullptr;
    pump();
  }
  // "Progress" from the main window's menu.
  void open() {
    ui::app().guard([] { Form1->Progress1Click(); });
    ASSERT_TRUE(waitUntil([] { return GetForegroundWindow() == Progress->handle(); }));
  }
  Texts column(int c) const {
    Texts out;
    for (const auto& row : Progress->TableRows()) out.push_back(row.at(std::size_t(c)));
    return out;
  }
  Texts needed() const { return Progress->NeededLines(); }
  std::string lines() const {
    return Progress->TotalsText() + "|" + Progress->DeletedText() + "|" + Progress->WarningText();
  }
  void clickColumnTitle(core::ProgressColumn c) {
    HWND header = ListView_GetHeader(Progress->PartWindow(TProgress::Part::Table));
    RECT r{};
    Header_GetItemRect(header, int(c), &r);
    realClick(header, centre(r));
  }

  testing_support::ScratchDir dir;
  testing_support::MessageRecorder messages;
  std::unique_ptr<TForm1> form1;
  std::unique_ptr<TProgress> progress;
};

TEST_F(ProgressWindow, SampleFiguresAddUpToTheTitlesCount) {
  for (const char* name : {"QJar.txt", "QJcfm.txt"}) dir.copySample(name);
  Form1->FormActivate();
  ASSERT_EQ(Form1->caption(), "CFM-300");
  open();
  EXPECT_EQ(FindWindowA("TProgress", "RDA Progress"), Progress->handle());
  EXPECT_FALSE(GetWindowLongPtrW(Progress->handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  // The totals line names the title's count; the rows add up to the totals.
  const core::ProgressTotals& totals = Progress->Figures.totals;
  // The sample list has 2699 active districts.
  EXPECT_EQ(Progress->TotalsText(), "confirmed 300 of 2699 active districts, 11.1 %");
  EXPECT_EQ(totals.active, 2699);
  EXPECT_EQ(Progress->DeletedText(), "confirmed deleted districts: 0");
  EXPECT_EQ(Progress->WarningText(), "");
  int confirmed = 0, active = 0, neededCount = 0;
  const auto rows = Progress->TableRows();
  for (const auto& row : rows) {
    confirmed += std::stoi(row.at(2));
    active += std::stoi(row.at(3));
    neededCount += std::stoi(row.at(4));
  }
  EXPECT_EQ(rows.size(), Progress->Figures.regions.size());
  EXPECT_GT(rows.size(), 80u);
  EXPECT_EQ(confirmed, 300);
  EXPECT_EQ(active, totals.active);
  EXPECT_EQ(neededCount, totals.active - 300);
  testing_support::snapshot(Progress->handle(), "progress-sample");
}

TEST_F(ProgressWindow, RetiredConfirmedAndUnknownCodes) {
  Form1->FormActivate();
  ASSERT_EQ(Form1->caption(), "CFM-5");  // 3 active, 1 retired, 1 unknown
  open();
  EXPECT_EQ(lines(),
            "confirmed 3 of 9 active districts, 33.3 %|confirmed deleted districts: 1|"
            "1 confirmed code is not in the district list (an old list?): ZZ-99");
  EXPECT_EQ(column(0), (Texts{"AD", "AL", "MA"}));
  EXPECT_EQ(column(2), (Texts{"1", "1", "1"}));
  EXPECT_EQ(column(3), (Texts{"4", "2", "3"}));  // AD-05 retired: not active
  EXPECT_EQ(column(4), (Texts{"3", "1", "2"}));  // ... and not needed
  EXPECT_EQ(column(5), (Texts{"25.0", "50.0", "33.3"}));

  // The names as the screen gets them, whatever the system's code page.
  wchar_t name[64] = {};
  ListView_GetItemText(Progress->PartWindow(TProgress::Part::Table), 0, 1, name, 64);
  EXPECT_STREQ(name, L"РЕСПУБЛИКА АДЫГЕЯ (АДЫГЕЯ)");

  // The warning is painted in red; without unknown codes there is none.
  const HWND warningWindow = Progress->PartWindow(TProgress::Part::Warning);
  RECT warning{};
  GetClientRect(warningWindow, &warning);
  EXPECT_GT(pixelsOf(warningWindow, warning, RGB(255, 0, 0)), 30);
  // The band box stands whole beside the warning, even once the warning paints
  // itself again: no other part over it, its frame's top and bottom lines unlike
  // the window's face above and below it.
  const HWND band = Progress->PartWindow(TProgress::Part::BandChoice);
  RECT box{}, r{}, overlap{};
  GetWindowRect(band, &box);
  for (const auto part : {TProgress::Part::Warning, TProgress::Part::Table, TProgress::Part::Copy})
    EXPECT_FALSE(GetWindowRect(Progress->PartWindow(part), &r) && IntersectRect(&overlap, &box, &r)) << int(part);
  RedrawWindow(warningWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  testing_support::settle();
  const auto frame = testing_support::captureScreen({box.left, box.top - 1, box.right, box.bottom + 1});
  for (const auto& [line, beside] : {std::pair{1, 0}, std::pair{frame.height - 2, frame.height - 1}}) {
    const COLORREF face = frame.pixel(frame.width / 2, beside);
    EXPECT_GT(frame.count({0, line, frame.width, line + 1}, [&](COLORREF c) { return c != face; }), frame.width / 2);
  }
  testing_support::snapshot(Progress->handle(), "progress-warning");
  // Fixed confirmations count when the window is next brought to the front.
  dir.write("QJcfm.txt", "AD-01;UA6YA\n");
  Form1->bringToFront();
  ASSERT_TRUE(waitUntil([] { return GetForegroundWindow() == Form1->handle(); }));
  EXPECT_NE(Progress->WarningText(), "");
  Progress->bringToFront();
  ASSERT_TRUE(waitUntil([] { return Progress->WarningText().empty(); }));
  EXPECT_EQ(pixelsOf(warningWindow, warning, RGB(255, 0, 0)), 0);
}

TEST_F(ProgressWindow, FaultsAreShownInsideTheWindowAndPass) {
  open();
  dir.remove("QJar.txt");
  Progress->FormActivate();
  Progress->FormActivate();
  EXPECT_TRUE(messages.messages().empty());
  EXPECT_EQ(Progress->WarningText().rfind("Cannot open file \"QJar.txt\". ", 0), 0u) << Progress->WarningText();
  EXPECT_EQ(Progress->TotalsText(), "");
  EXPECT_TRUE(Progress->TableRows().empty());
  dir.remove("QJcfm.txt");
  Progress->FormActivate();
  EXPECT_NE(Progress->WarningText().find("  Cannot open file \"QJcfm.txt\". "), std::string::npos);

  dir.write("QJar.txt", kList);
  dir.write("QJcfm.txt", kConfirmations);
  Progress->FormActivate();
  EXPECT_EQ(Progress->TotalsText(), "confirmed 3 of 9 active districts, 33.3 %");
  EXPECT_EQ(Progress->TableRows().size(), 3u);
  EXPECT_TRUE(messages.messages().empty());
}

TEST_F(ProgressWindow, SortingAndTheNeededListWithRealClicks) {
  open();
  HWND list = Progress->PartWindow(TProgress::Part::Table);
  clickColumnTitle(core::ProgressColumn::Needed);
  ASSERT_TRUE(waitUntil([&] { return column(0) == Texts{"AL", "MA", "AD"}; })) << column(0).front();
  clickColumnTitle(core::ProgressColumn::Needed);
  ASSERT_TRUE(waitUntil([&] { return column(0) == Texts{"AD", "MA", "AL"}; })) << column(0).front();
  HDITEMW title{};
  title.mask = HDI_FORMAT;
  Header_GetItem(ListView_GetHeader(list), int(core::ProgressColumn::Needed), &title);
  EXPECT_TRUE(title.fmt & HDF_SORTDOWN);
  clickColumnTitle(core::ProgressColumn::Name);
  ASSERT_TRUE(waitUntil([&] { return column(0) == Texts{"AL", "MA", "AD"}; }));  // А, М, Р

  // A click on the first row, Алтайский край, lists what it still needs.
  EXPECT_EQ(Progress->SelectedRegionText(), "Select a region to list the districts it still needs");
  const RECT row = Progress->TableRowRect(0);
  realClick(list, {row.left + 20, (row.top + row.bottom) / 2});
  ASSERT_TRUE(waitUntil([&] { return Progress->SelectedRow() == 0; }));
  EXPECT_EQ(Progress->SelectedRegionText(), "Needed in AL (АЛТАЙСКИЙ КРАЙ): 1");
  EXPECT_EQ(needed(), Texts{"AL-02  Бийск"});
  EXPECT_GT(pixelsOf(list, row, GetSysColor(COLOR_HIGHLIGHT)), (row.right - row.left) * 4);

  // Another region: the needed list follows. On screen each item holds text and
  // nothing lies below the last.
  realClick(list, centre(Progress->TableRowRect(2)));
  ASSERT_TRUE(waitUntil([&] { return Progress->SelectedRow() == 2; }));
  EXPECT_EQ(needed(), (Texts{"AD-02  Гиагинский район", "AD-03  Кошехабльский район", "AD-04  Майкопский район"}));
  HWND box = Progress->PartWindow(TProgress::Part::Needed);
  RECT item{}, client{};
  for (int i = 0; i < 3; ++i) {
    SendMessageW(box, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
    EXPECT_GT(textPixels(box, item), 20) << "item " << i;
  }
  GetClientRect(box, &client);
  EXPECT_EQ(textPixels(box, {client.left, item.bottom, client.right, client.bottom}), 0);
  testing_support::snapshot(Progress->handle(), "progress-needed");

  // A new confirmation: the region stays selected and its list shrinks.
  dir.write("QJcfm.txt", kConfirmations + "AD-03;R6AA\n");
  Progress->FormActivate();
  EXPECT_EQ(Progress->TableRows().at(std::size_t(Progress->SelectedRow())).at(0), "AD");
  EXPECT_EQ(needed(), (Texts{"AD-02  Гиагинский район", "AD-04  Майкопский район"}));
}

}  // namespace
