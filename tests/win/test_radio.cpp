// The radio through rigctld, in-process: Debian's real rigctld with its dummy radio,
// read back with rigctl, and the fake daemon of tools/rigfake for what the dummy never
// does. Both are started by CTest fixtures on loopback; their ports come in files.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "app/Radio.h"
#include "app/RigctlRadio.h"
#include "app/VipU.h"
#include "program_windows.h"
#include "support.h"
#include "ui/application.h"
#include "webstand_support.h"

namespace {

using testing_support::readWholeFile;
using testing_support::waitUntil;

int portOf(const char* variable) {
  const char* file = std::getenv(variable);
  if (!file) ADD_FAILURE() << variable << " is not set";
  return file ? std::atoi(readWholeFile(file).c_str()) : 1;
}

// Runs a Linux command line (Wine starts Unix programs) and gives what it wrote; its
// output comes through a file, whole once renamed.
std::string runUnix(const std::string& command) {
  const std::string unixOut = "/tmp/rudoz-rigctl-" + std::to_string(GetCurrentProcessId());
  std::string line = "/bin/sh -c \"" + command + " > " + unixOut + ".tmp 2>&1; mv " + unixOut + ".tmp " + unixOut + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    ADD_FAILURE() << "cannot run " << command;
    return {};
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  const std::string windowsOut = "Z:" + unixOut;
  EXPECT_TRUE(waitUntil([&] { return std::filesystem::exists(windowsOut); }, 10000)) << command;
  std::string text = readWholeFile(windowsOut);
  std::filesystem::remove(windowsOut);
  return text;
}

// A control line to the fake daemon, on a connection of its own; its answer.
std::string fake(const std::string& line) {
  WSADATA data{};
  WSAStartup(MAKEWORD(2, 2), &data);
  const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(u_short(portOf("RUDOZ_RIGFAKE_PORT_FILE")));
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  DWORD bound = 5000;
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&bound), sizeof bound);
  std::string answer;
  const std::string sent = line + "\n";
  if (connect(s, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0 && send(s, sent.data(), int(sent.size()), 0) > 0) {
    char buffer[4096];
    for (int n = 0; !answer.ends_with("OK\n") && !answer.ends_with("END\n") && (n = recv(s, buffer, int(sizeof buffer), 0)) > 0;)
      answer.append(buffer, std::size_t(n));
  }
  closesocket(s);
  WSACleanup();
  EXPECT_TRUE(answer.ends_with("OK\n") || answer.ends_with("END\n")) << line << ": " << answer;
  return answer;
}

// The program's windows, the spot list with its frequency panel, and the radio.
class RadioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::removeSettingsFile(TVip::SettingsPath());
    dir.writeLines("QJreg.txt", {"AB-12 01.2020-LastQso 3.55%MW"});
    windows.emplace();
  }
  void TearDown() override {
    StopRadio();
    vip.reset();
    Vip = nullptr;
    windows.reset();
    testing_support::pump();
    testing_support::removeSettingsFile(TVip::SettingsPath());
  }
  // The spot list as the settings file makes it, the radio connected.
  void start(int port) {
    std::ofstream(TVip::SettingsPath(), std::ios::binary)
        << "[RD]\r\nQrgPanel=1\r\nRadio=rigctld\r\nRigHost=127.0.0.1\r\nRigPort=" << port << "\r\n";
    vip = std::make_unique<TVip>();
    Vip = vip.get();
    ASSERT_TRUE(waitUntil([&] { return Form1->caption() == "Connected rigctld 127.0.0.1:" + std::to_string(port); }))
        << Form1->caption();
  }
  RigctlRadio& radio() { return dynamic_cast<RigctlRadio&>(TheRadio()); }
  void clickLastRow() { pressDrawnRow(Vip->RowCount() - 2); }
  void clickNewRow(const std::string& freq) {
    Vip->AddSpot("UA1AAA", freq, "AB-12", "12:00");
    clickLastRow();
  }

  testing_support::ScratchDir dir;
  testing_support::MessageRecorder messages;
  std::optional<MainAndLinkWindows> windows;
  std::unique_ptr<TVip> vip;
};

class RealRigctld : public RadioTest {
 protected:
  std::string rigctl(const std::string& args) {
    return runUnix("rigctl -m 2 -r 127.0.0.1:" + std::to_string(portOf("RUDOZ_RIGCTLD_PORT_FILE")) + " " + args);
  }
  // The dummy's frequency and mode, once they are `expected` (bounded).
  std::string radioReads(const std::string& expected) {
    std::string got;
    waitUntil([&] { return (got = rigctl("f m")).starts_with(expected); }, 5000);
    return got.substr(0, expected.size());
  }
};

TEST_F(RealRigctld, RowClickAndModeButtonsTuneTheDummyAndThePanelFollowsIt) {
  start(portOf("RUDOZ_RIGCTLD_PORT_FILE"));
  EXPECT_FALSE(radio().VfoMode());
  clickNewRow("14025.0");
  EXPECT_EQ(radioReads("14025000\nCW\n"), "14025000\nCW\n");
  EXPECT_TRUE(waitUntil([] { return Vip->FrequencyText() == "14025,000"; }, 2000)) << Vip->FrequencyText();
  // Turned from outside: the panel follows within 2 s, and SSB takes the band's side.
  const struct {
    const char* hz;
    const char* panel;
    const char* mode;
  } cases[] = {{"14200000", "14200,000", "USB"}, {"7100000", "7100,000", "LSB"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hz);
    rigctl(std::string("F ") + c.hz);
    EXPECT_TRUE(waitUntil([&] { return Vip->FrequencyText() == c.panel; }, 2000)) << Vip->FrequencyText();
    ui::app().guard([] { Vip->RbButton2Click(); });
    EXPECT_EQ(radioReads(std::string(c.hz) + "\n" + c.mode + "\n"), std::string(c.hz) + "\n" + c.mode + "\n");
  }
  ui::app().guard([] { Vip->RbButton1Click(); });
  EXPECT_EQ(radioReads("7100000\nCW\n"), "7100000\nCW\n");
  EXPECT_TRUE(messages.messages().empty());
}

class FakeRigctld : public RadioTest {
 protected:
  void SetUp() override {
    RadioTest::SetUp();
    fake("#reset");
  }
  bool logHas(const std::string& line) { return fake("#log").find(line + "\n") != std::string::npos; }
};

TEST_F(FakeRigctld, SilenceSaysSoAndNothingStaleFollows) {
  fake("#quiet F");
  start(portOf("RUDOZ_RIGFAKE_PORT_FILE"));
  clickNewRow("14025.0");
  clickNewRow("21300.0");  // waits behind the first, and goes stale with it
  EXPECT_TRUE(waitUntil([] { return Form1->caption() == "No answer from the radio"; }, 2600)) << Form1->caption();
  // The connection starts again; the mode of the tune given up never goes out.
  EXPECT_TRUE(waitUntil([&] { return logHas("2 \\chk_vfo"); }, 5000));
  const std::string log = fake("#log");
  EXPECT_EQ(log.find("M "), std::string::npos) << log;
  EXPECT_EQ(log.find("F 21300000"), std::string::npos) << log;
  EXPECT_EQ(log.find("F 14025000"), log.rfind("F 14025000")) << log;
}

TEST_F(FakeRigctld, ARowWithoutAFrequencyOrARejectionSaysWhy) {
  fake("#reject F");
  start(portOf("RUDOZ_RIGFAKE_PORT_FILE"));
  clickNewRow("QRG");  // nothing goes out
  EXPECT_EQ(Form1->caption(), "Radio: \"QRG\" is not a frequency (kHz, as 14025.0)");
  EXPECT_FALSE(radio().Busy());
  clickNewRow("14025.0");
  EXPECT_TRUE(waitUntil([] { return Form1->caption() == "Radio: the radio rejected the command (RPRT -9)"; }))
      << Form1->caption();
  EXPECT_TRUE(waitUntil([&] { return !radio().Busy(); }));
  const std::string log = fake("#log");
  EXPECT_EQ(log.find("F QRG"), std::string::npos);
  EXPECT_NE(log.find("1 F 14025000"), std::string::npos) << log;
  EXPECT_EQ(log.find("M CW"), std::string::npos) << log;  // no mode for a refused frequency
}

TEST_F(FakeRigctld, VfoModeAndAnswersInPiecesStillTuneAndReport) {
  fake("#vfo 1");
  fake("#split 1");
  start(portOf("RUDOZ_RIGFAKE_PORT_FILE"));
  EXPECT_TRUE(radio().VfoMode());
  clickNewRow("7012.5");
  EXPECT_TRUE(waitUntil([&] { return logHas("1 M currVFO CW 0"); })) << fake("#log");
  EXPECT_TRUE(logHas("1 F currVFO 7012500"));
  fake("#freq 3650000");
  EXPECT_TRUE(waitUntil([] { return Vip->FrequencyText() == "3650,000"; }, 2000)) << Vip->FrequencyText();
  fake("#freq 0");
  EXPECT_TRUE(waitUntil([] { return Form1->caption() == "Check CAT"; }, 2000)) << Form1->caption();
  EXPECT_EQ(Vip->FrequencyText(), ",0");
}

TEST_F(FakeRigctld, ASpotWhoseCommentSaysCwIsTunedInCw) {
  dir.writeLines("QJar.txt", {"AB-12 Abinsk"});
  dir.writeLines("RUdoz.txt", {"R1CWX AB-12"});
  dir.writeLines("QJcfm.txt", {"CD-01;R1CCC;20m"});
  dir.writeLines("QJlook.txt", {"ZZZ"});
  start(portOf("RUDOZ_RIGFAKE_PORT_FILE"));
  // From Logger32's spot field, on 20 m's phone segment.
  SetWindowTextA(Form2->SpotField(),
                 "<DXSPOT_CALLSIGN:5>R1CWX<DXSPOT_FREQ:7>14200.0<DXSPOT_COMMENT:6>cw 599<APP_DXSPOT_TIME:4>1200");
  ASSERT_TRUE(waitUntil([] { return Vip->RowCount() == 3; }));
  clickLastRow();
  EXPECT_TRUE(waitUntil([&] { return logHas("1 M CW 0"); })) << fake("#log");
  EXPECT_TRUE(logHas("1 F 14200000"));
}

TEST_F(FakeRigctld, DropReconnectsAndANewClickGoesOut) {
  fake("#drop F");
  const int port = portOf("RUDOZ_RIGFAKE_PORT_FILE");
  start(port);
  clickNewRow("14025.0");
  EXPECT_TRUE(waitUntil([&] { return radio().Connections() == 2 && radio().Connected(); })) << Form1->caption();
  EXPECT_TRUE(waitUntil([&] { return Form1->caption() == "Connected rigctld 127.0.0.1:" + std::to_string(port); }));
  clickNewRow("21300.0");
  EXPECT_TRUE(waitUntil([&] { return logHas("2 M USB 0"); })) << fake("#log");
  EXPECT_TRUE(logHas("2 F 21300000"));
}

}  // namespace
