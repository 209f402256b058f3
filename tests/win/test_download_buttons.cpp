// The setup panel's downloads and the region map against the local web stand-in:
// the messages, the files they leave and the requests the stand-in saw.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>

#include "app/MapU.h"
#include "app/ProgressU.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/VipU.h"
#include "program_windows.h"
#include "support.h"
#include "ui/application.h"
#include "webstand_support.h"

namespace {

using testing_support::pump;
using testing_support::readWholeFile;
using testing_support::webFault;
using Texts = std::vector<std::string>;

const std::string kOld = "old content\r\nkept byte for byte\r\n";
const char* const kMapFailed = " Не удалось нарисовать картинку! Sorry :-((";

std::string sample(const std::string& name) { return readWholeFile(std::string(RUDOZ_SAMPLE_DIR) + "/" + name); }

std::string percentEncoded(const std::string& bytes) {
  std::string out;
  for (const unsigned char c : bytes) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%%%02X", c);
    out += std::isalnum(c) ? std::string(1, char(c)) : hex;
  }
  return out;
}

Texts lines(const std::string& text) {
  Texts out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

class Downloads : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::removeSettingsFile(TVip::SettingsPath());
    base = testing_support::webBase();
    testing_support::webClear();
    for (const char* name : {"QJar.txt", "QJcfm.txt", "QJreg.txt", "RUdoz.txt", "QJlook.txt"}) dir.copySample(name);
    windows.emplace();
  }
  void TearDown() override {
    testing_support::webClear();
    map.reset();
    vip.reset();
    windows.reset();
    pump();
    testing_support::removeSettingsFile(TVip::SettingsPath());
  }
  void start(const std::string& cfmServer, const std::string& rdaServer, bool alwaysUpdate = false) {
    std::ofstream(TVip::SettingsPath(), std::ios::binary)
        << "[RD]\r\nMyCall=ua1abc\r\nAlwaysUpdate=" << (alwaysUpdate ? 1 : 0) << "\r\nCfmServer=" << cfmServer
        << "\r\nRdaServer=" << rdaServer << "\r\n";
    vip = std::make_unique<TVip>();
    map = std::make_unique<TMap>();
  }
  // The paths the stand-in served since the last look, with their answers.
  Texts served() {
    Texts out;
    for (const std::string& l : lines(testing_support::webLog()))
      if (l.find("/_admin/") == std::string::npos) out.push_back(l);
    Texts fresh(out.begin() + std::min(seen, out.size()), out.end());
    seen = out.size();
    return fresh;
  }
  Texts shown() {
    Texts out;
    for (const auto& m : messages.messages()) out.push_back(m.text);
    messages.clear();
    return out;
  }
  // A download button of the setup panel, run as the button runs it: inside the
  // error boundary.
  static void press(void (TVip::*button)()) {
    ui::app().guard([&] { (Vip->*button)(); });
  }
  void showMapOfRow(int row) {
    Vip->HitRow = row;
    ui::app().guard([] { Vip->ShowMap1Click(); });
  }

  testing_support::ScratchDir dir;
  testing_support::MessageRecorder messages;
  std::string base;
  std::size_t seen = 0;
  std::optional<MainAndLinkWindows> windows;
  std::unique_ptr<TVip> vip;
  std::unique_ptr<TMap> map;
};

TEST_F(Downloads, OwnConfirmationsAsTypedAndEncoded) {
  start(base, base);
  served();
  dir.write("QJcfm.txt", kOld);
  press(&TVip::RbButton3Click);
  EXPECT_EQ(shown(), Texts{});
  EXPECT_EQ(Vip->caption(), "Download OK  CFM-300");
  EXPECT_EQ(readWholeFile("QJcfm.txt"), sample("QJcfm.txt"));
  EXPECT_EQ(Form1->CfmList, nullptr);
  Vip->SetMyCall("UA1 ABC&x");
  press(&TVip::RbButton3Click);
  EXPECT_EQ(served(), (Texts{"GET /rda/csv?call=ua1abc 200", "GET /rda/csv?call=UA1%20ABC%26x 200"}));
}

TEST_F(Downloads, BothListDownloadsRefreshTheProgressWindow) {
  start(base, base);
  TProgress progress;
  Progress = &progress;
  dir.write("QJcfm.txt", "AD-09;UA1ABC\nQQ-00;X\n");
  dir.write("QJar.txt", "AD-09\tx\n");
  progress.Refresh();
  progress.show();
  EXPECT_EQ(progress.TotalsText(), "confirmed 1 of 1 active districts, 100.0 %");
  EXPECT_NE(progress.WarningText(), "");  // QQ-00
  press(&TVip::RbButton5Click);
  const int active = progress.Figures.totals.active;
  EXPECT_GT(active, 2000);
  EXPECT_EQ(progress.TotalsText().rfind("confirmed 1 of " + std::to_string(active) + " active", 0), 0u);
  press(&TVip::RbButton3Click);
  EXPECT_EQ(progress.TotalsText().rfind("confirmed 300 of " + std::to_string(active) + " active", 0), 0u);
  EXPECT_EQ(progress.WarningText(), "");
  EXPECT_EQ(shown(), Texts{"Download succesful!"});
  Progress = nullptr;
}

TEST_F(Downloads, EveryFailureKeepsTheFileAndSaysWhy) {
  start(base, base);
  const struct {
    const char* name;
    const char* fault;
    const char* reason;
  } cases[] = {{"404", "mode=404", "The server answered 404 Not Found."},
               {"refused", "", "127.0.0.1:1 refused the connection."}};  // every kind: the DownloadFile tests
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string server = *c.fault ? base : "http://127.0.0.1:1";
    if (*c.fault) webFault(c.fault);
    Vip->CfmServer = Vip->RdaServer = server;
    for (const char* name : {"QJcfm.txt", "QJar.txt", "QJreg.txt", "QJreg.htm"}) dir.write(name, kOld);
    Vip->setCaption("Vip");
    press(&TVip::RbButton3Click);
    press(&TVip::RbButton5Click);
    press(&TVip::RbButton6Click);
    const std::string why = std::string("\r\n") + c.reason + "\r\n";
    EXPECT_EQ(shown(), (Texts{"Error while downloading ua1abc.csv from " + server + " !" + why + "QJcfm.txt is kept as it was.",
                              "Error while downloading rda_rus.txt from " + server + " !" + why + "QJar.txt is kept as it was.",
                              "Error while downloading rda_reg.txt from " + server + "/rda !" + why +
                                  "QJreg.txt is kept as it was."}));
    EXPECT_EQ(Vip->caption(), "Vip");
    for (const char* name : {"QJcfm.txt", "QJar.txt", "QJreg.txt", "QJreg.htm"}) EXPECT_EQ(readWholeFile(name), kOld);
    testing_support::webClear();
  }
}

// An answer that is not a list does not replace one: the confirmations do not drop
// to CFM-0 and the district list stays. The service's CSV is a list; an answer
// without a confirmation replaces only a file without one.
TEST_F(Downloads, OnlyAListReplacesAList) {
  start(base, base);
  const std::string held = "AB-12;R1ABC;20m\r\n";
  const std::string header = "\"RDA\",\"Date\",\"Time\",\"Band\",\"Mode\",\"Correspondent\"\r\n";
  const struct {
    const char* name;
    std::string body;
    bool confirmationsTaken, listTaken;
  } cases[] = {
      {"a line break", "\r\n", false, false},
      {"64 blank lines, then a page", std::string(64, '\n') + "<html><body>Portal</body></html>", false, false},
      {"a plain-text error", "Service unavailable", false, false},
      {"the CSV header alone", header, false, false},
      {"the service's CSV", header + "\"AB-12\",\"01 Jan 2020\",\"12:00\",\"14\",\"CW\",\"R1ABC\"\r\n", true, false},
      {"plain lines", "CD-01;R1CCC;40m\r\n", true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (const char* name : {"QJcfm.txt", "QJar.txt"}) dir.write(name, held);
    webFault("mode=text&text=" + percentEncoded(c.body));
    press(&TVip::RbButton3Click);
    press(&TVip::RbButton5Click);
    testing_support::webClear();
    EXPECT_EQ(readWholeFile("QJcfm.txt"), c.confirmationsTaken ? c.body : held);
    EXPECT_EQ(readWholeFile("QJar.txt"), c.listTaken ? c.body : held);
    // One box for each list, a reason in each that is not taken.
    const Texts said = shown();
    EXPECT_EQ(said.size(), std::size_t(2 - c.confirmationsTaken)) << testing::PrintToString(said);
  }
  // A new operator's file holds no confirmation: the empty answer is taken.
  dir.write("QJcfm.txt", "");
  webFault("mode=text&count=1&text=" + percentEncoded(header));
  press(&TVip::RbButton3Click);
  EXPECT_EQ(readWholeFile("QJcfm.txt"), header);
  EXPECT_EQ(Vip->caption(), "Download OK  CFM-0");
  EXPECT_EQ(shown(), Texts{});
}

TEST_F(Downloads, DistrictListAndMostWanted) {
  start(base, base);
  dir.write("QJar.txt", kOld);
  press(&TVip::RbButton5Click);
  EXPECT_EQ(shown(), Texts{"Download succesful!"});
  EXPECT_EQ(readWholeFile("QJar.txt"), sample("QJar.txt"));

  press(&TVip::RbButton6Click);
  EXPECT_EQ(shown(), Texts{"Download succesful!"});
  const Texts region = lines(readWholeFile("QJreg.txt"));
  EXPECT_EQ(region.size(), lines(sample("QJreg.txt")).size());
  for (const std::string& l : region) {
    ASSERT_TRUE(l.size() > 6 && l[2] == '-' && l.back() == '\r') << l;
    const bool activated = l.find("-LastQso ") == 13 && l.ends_with("%MW\r");
    ASSERT_TRUE(activated || l.ends_with(" - Не ступала покрышка А/М!\r")) << l;
  }
  EXPECT_NE(std::find(region.begin(), region.end(), "AD-02 12.2011-LastQso 3.55%MW\r"), region.end());
  EXPECT_TRUE(std::is_sorted(region.begin(), region.end()));  // codes only: case plays no part

  // A page with nothing usable, or lines without a share, is reported in one box and
  // the region list stays.
  const std::string good = readWholeFile("QJreg.txt");
  for (const std::string fault : {"mode=body&file=regions-empty.html&count=1", "mode=text&count=1&text=Captive%20portal"}) {
    SCOPED_TRACE(fault);
    webFault(fault);
    press(&TVip::RbButton6Click);
    const Texts said = shown();
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find("QJreg.txt is kept as it was."), std::string::npos) << said[0];
    EXPECT_EQ(readWholeFile("QJreg.txt"), good);
  }
}

TEST_F(Downloads, MissingAddressNamesTheKeyAndFile) {
  start("", "");
  served();
  press(&TVip::RbButton3Click);
  press(&TVip::RbButton5Click);
  Vip->AddSpot("R3AA", "14025.0", "MO-12", "12:00");
  showMapOfRow(1);  // one message, not a failed picture after it
  const Texts said = shown();
  ASSERT_EQ(said.size(), 3u);
  EXPECT_NE(said[0].find("CfmServer="), std::string::npos) << said[0];
  EXPECT_NE(said[1].find("RdaServer="), std::string::npos) << said[1];
  EXPECT_EQ(said[2], said[1]);
  EXPECT_NE(said[0].find(TVip::SettingsPath()), std::string::npos) << said[0];
  EXPECT_EQ(said[0].find("Close ruDOZ"), said[0].find("\r\n") + 2) << "closed first, or the edit is read only at the next start";
  EXPECT_EQ(served(), Texts{});
}

TEST_F(Downloads, UpdateAtStartWithoutNetworkTellsAndGoesOn) {
  start("http://127.0.0.1:1", base, true);
  EXPECT_EQ(shown(), Texts{"Error while downloading ua1abc.csv from http://127.0.0.1:1 !\r\n127.0.0.1:1 refused the "
                           "connection.\r\nQJcfm.txt is kept as it was."});
  EXPECT_FALSE(Vip->RegionList.empty());
}

TEST_F(Downloads, ShowMapOfARow) {
  start(base, base);
  // Hidden until the first map, at its own place, not on top.
  EXPECT_FALSE(Map->visible());
  EXPECT_EQ(Map->caption(), "Map");
  EXPECT_EQ((std::vector<int>{Map->left(), Map->top(), Map->width(), Map->height()}),
            (std::vector<int>{443, 156, 526, 385}));
  EXPECT_EQ(GetWindowLongW(Map->handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  wchar_t windowClass[16] = {};
  GetClassNameW(Map->handle(), windowClass, 16);
  EXPECT_EQ(std::wstring(windowClass), L"TMap");
  Vip->AddSpot("R3AA", "14025.0", "MO-12", "12:00");
  Vip->AddSpot("R0ZZ", "7010.0", "ZK-03", "12:01");
  served();
  showMapOfRow(1);
  EXPECT_EQ(shown(), Texts{});
  EXPECT_TRUE(Map->visible());
  EXPECT_EQ(Map->Picture().width(), 600);
  EXPECT_EQ(Map->width(), 608);
  EXPECT_EQ(Map->height(), 420);
  showMapOfRow(2);
  EXPECT_EQ(Map->width(), 488);
  EXPECT_EQ(Map->height(), 380);
  showMapOfRow(3);  // the empty slot row
  showMapOfRow(0);  // the title "  RDA": no map code
  EXPECT_EQ(served(), (Texts{"GET /map/3d.jpg 200", "GET /map/0u.jpg 200", "GET /map/.jpg 404"}));
  EXPECT_EQ(shown(), Texts{std::string("Error while downloading Map\r\nThe server answered 404 Not Found.\r\n") + kMapFailed});

  // A body that is no JPEG is refused before it replaces the picture; one that
  // claims an absurd size gets the decoder's report. The picture stays.
  const struct {
    const char* file;
    Texts said;
  } bad[] = {{"regions.html", {std::string("Error while downloading Map\r\nThe server sent no JPEG picture.\r\n") + kMapFailed}},
             {"map/huge.jpg",
              {"The picture is 60000 x 60000 pixels; pictures above 4096 x 4096 are not shown."}}};
  for (const auto& b : bad) {
    SCOPED_TRACE(b.file);
    webFault(std::string("mode=body&count=1&file=") + b.file);
    showMapOfRow(1);
    EXPECT_EQ(shown(), b.said);
    EXPECT_EQ(Map->Picture().width(), 480);
  }
  EXPECT_EQ(readWholeFile("qjMap.jpg").substr(0, 3), "\xFF\xD8\xFF");

  Map->close();
  EXPECT_FALSE(Map->visible());
  showMapOfRow(1);
  EXPECT_TRUE(Map->visible());
}

}  // namespace
