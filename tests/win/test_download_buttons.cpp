// The setup panel's downloads and the region map against the local web stand-in:
// the messages, the files they leave and the requests the stand-in saw.
#include <gtest/gtest.h>

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
  Vip->RbButton3.click();
  EXPECT_EQ(shown(), Texts{});
  EXPECT_EQ(Vip->caption(), "Download OK  CFM-300");
  EXPECT_EQ(readWholeFile("QJcfm.txt"), sample("QJcfm.txt"));
  EXPECT_EQ(Form1->CfmList, nullptr);
  Vip->Edit1.setText("UA1 ABC&x");
  Vip->RbButton3.click();
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
  EXPECT_EQ(progress.Label1.caption(), "confirmed 1 of 1 active districts, 100.0 %");
  EXPECT_NE(progress.Label3.caption(), "");  // QQ-00
  Vip->RbButton5.click();
  const int active = progress.Figures.totals.active;
  EXPECT_GT(active, 2000);
  EXPECT_EQ(progress.Label1.caption().rfind("confirmed 1 of " + std::to_string(active) + " active", 0), 0u);
  Vip->RbButton3.click();
  EXPECT_EQ(progress.Label1.caption().rfind("confirmed 300 of " + std::to_string(active) + " active", 0), 0u);
  EXPECT_EQ(progress.Label3.caption(), "");
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
    Vip->RbButton3.click();
    Vip->RbButton5.click();
    Vip->RbButton6.click();
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

// A captive portal's page or an empty answer in place of a list: the confirmations
// do not drop to CFM-0 and the district list stays.
TEST_F(Downloads, ListsRefuseAWebPageOrNothing) {
  start(base, base);
  const struct {
    const char* fault;
    const char* reason;
  } cases[] = {{"mode=body&file=regions.html", "The server sent a web page, not the list."},
               {"mode=empty", "The server sent an empty list."}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    webFault(c.fault);
    for (const char* name : {"QJcfm.txt", "QJar.txt"}) dir.write(name, kOld);
    Vip->setCaption("Vip");
    Vip->RbButton3.click();
    Vip->RbButton5.click();
    const Texts said = shown();
    ASSERT_EQ(said.size(), 2u);
    for (const std::string& text : said) EXPECT_NE(text.find(c.reason), std::string::npos) << text;
    EXPECT_EQ(Vip->caption(), "Vip");
    for (const char* name : {"QJcfm.txt", "QJar.txt"}) EXPECT_EQ(readWholeFile(name), kOld);
    testing_support::webClear();
  }
}

TEST_F(Downloads, DistrictListAndMostWanted) {
  start(base, base);
  dir.write("QJar.txt", kOld);
  Vip->RbButton5.click();
  EXPECT_EQ(shown(), Texts{"Download succesful!"});
  EXPECT_EQ(readWholeFile("QJar.txt"), sample("QJar.txt"));

  Vip->RbButton6.click();
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

  // A page with nothing usable is reported and the region list stays.
  const std::string good = readWholeFile("QJreg.txt");
  webFault("mode=body&file=regions-empty.html&count=1");
  Vip->RbButton6.click();
  const Texts said = shown();
  ASSERT_EQ(said.size(), 2u);
  EXPECT_EQ(said[0], "Download succesful!");
  EXPECT_NE(said[1].find("QJreg.txt is kept as it was."), std::string::npos) << said[1];
  EXPECT_EQ(readWholeFile("QJreg.txt"), good);
}

TEST_F(Downloads, MissingAddressNamesTheKeyAndFile) {
  start("", "");
  served();
  Vip->RbButton3.click();
  Vip->RbButton5.click();
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
  EXPECT_EQ(Map->Image1.picture().width(), 600);
  EXPECT_EQ(Map->width(), 608);
  EXPECT_EQ(Map->height(), 420);
  showMapOfRow(2);
  EXPECT_EQ(Map->width(), 488);
  EXPECT_EQ(Map->height(), 380);
  showMapOfRow(3);  // the empty slot row
  showMapOfRow(0);  // the title "  RDA": no map code
  EXPECT_EQ(served(), (Texts{"GET /map/3d.jpg 200", "GET /map/0u.jpg 200", "GET /map/.jpg 404"}));
  EXPECT_EQ(shown(), (Texts{"Error while downloading Map\r\nThe server answered 404 Not Found.", kMapFailed}));

  // A body that is no JPEG is refused before it replaces the picture; one that
  // claims an absurd size gets the decoder's report. The picture stays.
  const struct {
    const char* file;
    Texts said;
  } bad[] = {{"regions.html", {"Error while downloading Map\r\nThe server sent no JPEG picture.", kMapFailed}},
             {"map/huge.jpg",
              {"The picture is 60000 x 60000 pixels; pictures above 4096 x 4096 are not shown."}}};
  for (const auto& b : bad) {
    SCOPED_TRACE(b.file);
    webFault(std::string("mode=body&count=1&file=") + b.file);
    showMapOfRow(1);
    EXPECT_EQ(shown(), b.said);
    EXPECT_EQ(Map->Image1.picture().width(), 480);
  }
  EXPECT_EQ(readWholeFile("qjMap.jpg").substr(0, 3), "\xFF\xD8\xFF");

  Map->close();
  EXPECT_FALSE(Map->visible());
  showMapOfRow(1);
  EXPECT_TRUE(Map->visible());
}

}  // namespace
