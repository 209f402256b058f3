// The DX cluster in-process: its keys and its group in the options dialog, the
// Browse buttons, OK connecting afresh (the title tells the state, a node that is
// not there is retried), the spot road taking a spot heard through both intakes
// once, and a row's hover title naming its spotter.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/ClusterIntake.h"
#include "app/SpotRoad.h"
#include "app/VipU.h"
#include "program_windows.h"
#include "support.h"
#include "ui/application.h"
#include "ui/file_dialog.h"

namespace {

using Field = TOptions::Field;
using testing_support::settle;

class ClusterOptions : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.writeLines("QJar.txt", {"AB-12 Abinsk"});
    dir.writeLines("RUdoz.txt", {"R3NEW AB-12"});
    dir.writeLines("QJcfm.txt", {"CD-01;R1CCC;20m"});
    dir.writeLines("QJlook.txt", {"R9X"});
    dir.writeLines("QJreg.txt", {"AB-12 01.2020-LastQso 3.55%MW"});
    std::ofstream(TVip::SettingsPath(), std::ios::binary)
        << "[RD]\r\nMyCall=UA1ABC\r\nClusterHost=127.0.0.1\r\nClusterPort=1\r\nClusterBacklog=abc\r\n"
           "ClusterRetrySeconds=1\r\n";
    windows.emplace();
    vip = std::make_unique<TVip>();
    Vip = vip.get();
    cluster = std::make_unique<TCluster>();
  }
  void TearDown() override {
    cluster.reset();
    vip.reset();
    Vip = nullptr;
    windows.reset();
    ui::setFileDialogHook({});
    SetSpotTaker({});
    settle();
    testing_support::removeSettingsFile(TVip::SettingsPath());
  }
  std::string setting(const std::string& key) const {
    std::ifstream in(TVip::SettingsPath(), std::ios::binary);
    for (std::string l; std::getline(in, l);)
      if (l.rfind(key + "=", 0) == 0) return l.substr(key.size() + 1, l.size() - key.size() - 1 - (l.back() == '\r'));
    return "<missing>";
  }
  // Opens "Options…" and takes the steps, one each time its loop is idle.
  std::size_t inDialog(const std::vector<std::function<void(TOptions&)>>& steps) {
    std::size_t next = 0;
    const int idle = ui::app().addIdleHandler([&] {
      if (Vip->OptionsDialog && IsWindowVisible(Vip->OptionsDialog->handle()) && next < steps.size()) {
        steps[next++](*Vip->OptionsDialog);
        PostMessageW(Vip->OptionsDialog->handle(), WM_NULL, 0, 0);
      }
    });
    ui::app().guard([] { Vip->Options1Click(); });
    ui::app().removeIdleHandler(idle);
    return next;
  }

  testing_support::ScratchDir dir;
  std::optional<MainAndLinkWindows> windows;
  std::unique_ptr<TVip> vip;
  std::unique_ptr<TCluster> cluster;
};

TEST_F(ClusterOptions, TheDialogKeepsTheSettingsAndOkConnectsAfresh) {
  EXPECT_EQ(Vip->ClusterOptions.backlog, 30);  // "abc" reads as the default
  std::vector<std::wstring> browsedFrom;
  ui::setFileDialogHook([&](const std::wstring& current) -> std::optional<std::wstring> {
    browsedFrom.push_back(current);
    return browsedFrom.size() == 1 ? std::optional<std::wstring>(L"C:\\Logs\\log.adi") : std::nullopt;
  });
  const std::vector<std::function<void(TOptions&)>> steps = {
      [](TOptions& d) {
        EXPECT_EQ(std::vector<std::string>({d.FieldText(Field::ClusterHost), d.FieldText(Field::ClusterPort),
                                            d.FieldText(Field::ClusterCall), d.FieldText(Field::ClusterBacklog)}),
                  std::vector<std::string>({"127.0.0.1", "1", "", "30"}));
        d.TypeInto(Field::WorkedLog, L"old.adi");
        d.BrowseLogClick();   // chosen
        d.BrowseSoundClick(); // cancelled: the field stays
        d.TypeInto(Field::ClusterPort, "70000");
        d.OkClick();
      },
      [](TOptions& d) {
        EXPECT_EQ(d.ProblemText(), "Port: a number from 1 to 65535, please");
        d.TypeInto(Field::ClusterPort, " 7300 ");
        d.TypeInto(Field::ClusterCall, " UA1ABC-2 ");
        d.TypeInto(Field::ClusterPassword, "pw");
        d.TypeInto(Field::ClusterCommands, "set/skimmer; set/nobeep");
        d.TypeInto(Field::ClusterBacklog, "0");
        EXPECT_EQ(d.FieldText(Field::WorkedLog), "C:\\Logs\\log.adi");
        EXPECT_EQ(d.FieldText(Field::SoundFile), "");
        ui::app().guard([&] { d.OkClick(); });
      }};
  EXPECT_EQ(inDialog(steps), steps.size());
  EXPECT_EQ(browsedFrom, (std::vector<std::wstring>{L"old.adi", L""}));
  ClusterSettings expected{"127.0.0.1", 7300, "UA1ABC-2", "pw", "set/skimmer; set/nobeep", 0, 600, 1};
  EXPECT_EQ(Vip->ClusterOptions, expected);
  for (const auto& [key, value] : std::vector<std::pair<std::string, std::string>>{
           {"ClusterPort", "7300"}, {"ClusterCall", "UA1ABC-2"}, {"ClusterPassword", "pw"},
           {"ClusterCommands", "set/skimmer; set/nobeep"}, {"ClusterBacklog", "0"}, {"WorkedLog", "C:\\Logs\\log.adi"}})
    EXPECT_EQ(setting(key), value) << key;
  // Nobody listens on port 7300 of the loopback: a loss, retried after the first wait.
  EXPECT_TRUE(testing_support::waitUntil([&] { return cluster->StateTitle() == "Cluster lost: reconnecting in 1 s"; }));
  EXPECT_EQ(Form1->caption(), "Cluster lost: reconnecting in 1 s");
  EXPECT_TRUE(testing_support::waitUntil([&] { return cluster->StateTitle() == "Cluster lost: reconnecting in 2 s"; }));
  EXPECT_FALSE(cluster->Ended());
}

TEST_F(ClusterOptions, OneRoadForBothIntakesAndTheSpotterInTheHoverTitle) {
  std::vector<core::Spot> taken;
  SetSpotTaker([&](const core::Spot& spot) { taken.push_back(spot); });
  core::Spot fromLogger32{"R3NEW", "14025.0", "", "12:00", "RA1A"};
  core::Spot fromCluster = fromLogger32;
  fromCluster.source = core::SpotSource::Cluster;
  DeliverSpot(fromLogger32);
  DeliverSpot(fromCluster);   // the same spot by the other road: once
  DeliverSpot(fromLogger32);  // Logger32's repeat, after the cluster's
  fromCluster.spotter = "RA2B";
  DeliverSpot(fromCluster);
  ASSERT_EQ(taken.size(), 2u);
  EXPECT_EQ(taken[1].spotter, "RA2B");

  Vip->AddSpot("R3NEW", "14025.0", "AB-12", "12:00", {core::SpotOrigin::Logger32, false, core::Verdict::New, "RA2B"});
  settle();
  ui::app().guard([] { Vip->SG1MouseMove({}, 1, Vip->RowHeight() + Vip->RowHeight() / 2); });
  EXPECT_EQ(Vip->caption(), "AB-12 01.2020-LastQso 3.55%MW \xB7 de RA2B");
}

}  // namespace
