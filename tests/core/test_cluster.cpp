// The DX cluster's lines, session, waits and the rule for a spot heard twice.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/cluster_line.h"
#include "core/cluster_session.h"

namespace {

using core::ClusterLineKind;
using Kind = ClusterLineKind;

struct LineCase {
  std::string line;
  Kind kind;
  core::Spot spot;  // call, freq, comment, time, spotter
};

TEST(ClusterLine, ReadsEveryShapeNodesSendAndNothingWrong) {
  const core::Spot none;
  const std::vector<LineCase> cases = {
      {"DX de W3LPL:     14025.0  UA1ABC       CW 12 dB 22 WPM CQ      1234Z",
       Kind::Spot, {"UA1ABC", "14025.0", "CW 12 DB 22 WPM CQ", "12:34", "W3LPL"}},
      // no fixed columns: a long spotter and frequency leave no padding
      {"DX de LZ4UX-1-#:10368100.0 RA3XYZ rda ab-12 0001Z", Kind::Spot,
       {"RA3XYZ", "10368100.0", "RDA AB-12", "00:01", "LZ4UX-1-#"}},
      {"DX de LZ4UX-#:    7003.5  R9ABC  CW 6 dB 22 WPM  2359Z", Kind::Spot,
       {"R9ABC", "7003.5", "CW 6 DB 22 WPM", "23:59", "LZ4UX-#"}},
      // fields after the time: a grid, a state, zones; BEL bytes; a CR left over
      {"\aDX de K1TTT:  14074.0 ua9xx  FT8 -12 dB 1230Z FN32\r", Kind::Spot,
       {"UA9XX", "14074.0", "FT8 -12 DB", "12:30", "K1TTT"}},
      {"DX de N0AX: 21025.0 UA0ABC QSX 1800Z up 5 1231Z MN 4 8", Kind::Spot,
       {"UA0ABC", "21025.0", "QSX 1800Z UP 5", "12:31", "N0AX"}},
      {"DX de RA1A:\t3525\tR1ABC/P\t\t0912Z", Kind::Spot, {"R1ABC/P", "3525", "", "09:12", "RA1A"}},
      // comments in UTF-8 and in Windows-1251 both end as Windows-1251
      {"DX de RA1A: 14025.0 R1ABC \xD0\xA0\xD0\x94\xD0\x90 lo-12 1200Z", Kind::Spot,
       {"R1ABC", "14025.0", "\xD0\xC4\xC0 LO-12", "12:00", "RA1A"}},
      {"DX de RA1A: 14025.0 R1ABC \xD0\xC4\xC0 1200Z", Kind::Spot, {"R1ABC", "14025.0", "\xD0\xC4\xC0", "12:00", "RA1A"}},
      // the sh/dx answer's layout
      {"14025.0 UA1ABC  9-Dec-2026 1234Z comment <RA1A>", Kind::Spot,
       {"UA1ABC", "14025.0", "COMMENT", "12:34", "RA1A"}},
      {"  7003.0  RK3AA      19-Dec-2026 0015Z  CW 5 dB 20 WPM CQ       <DK8NE-#>", Kind::Spot,
       {"RK3AA", "7003.0", "CW 5 DB 20 WPM CQ", "00:15", "DK8NE-#"}},
      // hostile and broken lines: never a spot with a wrong callsign or frequency
      {"DX de W3LPL:  14O25.0  UA1ABC  CQ 1234Z", Kind::Other, none},       // a letter in the frequency
      {"DX de W3LPL:  14025.0  UA1ABC  CQ 2460Z", Kind::Other, none},       // no time of day
      {"DX de W3LPL:  14025.0  UA1ABC  CQ", Kind::Other, none},             // cut off
      {"DX de W3LPL:  14025.0  UA1A<C  CQ 1234Z", Kind::Other, none},       // no callsign
      {"DX de W3LPL:  14025.0  ABCDEF  CQ 1234Z", Kind::Other, none},       // a word, not a call
      {"DX de :  14025.0  UA1ABC  CQ 1234Z", Kind::Other, none},            // no spotter
      {"DX de W3LPL  14025.0  UA1ABC  CQ 1234Z", Kind::Other, none},        // no colon
      {"DX de W3LPL: 0014025.0 UA1ABC CQ 1234Z", Kind::Other, none},        // leading zeros
      {"DX de W3LPL: 14025.0 UA1ABC CQ 1234Z and a long tail of words here", Kind::Other, none},
      {"DX de W3LPL: 14025.0 UA1ABC C\x01Q 1234Z", Kind::Other, none},      // binary
      {"DX de W3LPL: 14025.0 UA1ABC " + std::string(300, 'X') + " 1234Z", Kind::Other, none},  // overlong
      {"14025.0 UA1ABC 9-Dec-2026 1234Z comment SPOTTER", Kind::Other, none},  // no <spotter>
      {"14025.0 UA1ABC 2026-12-09 1234Z comment <SPOTTER>", Kind::Other, none},
      {"WWV de VE7CC <18>:   SFI=150, A=5, K=1", Kind::Other, none},
      {"", Kind::Other, none},
      // prompts, refusals, bumps
      {"login: ", Kind::LoginPrompt, none},
      {"Please enter your call:", Kind::LoginPrompt, none},
      {"password: ", Kind::PasswordPrompt, none},
      {"Press Enter to continue, A to abort (16 lines) >", Kind::MorePrompt, none},
      {"Sorry UA1ABC is not allowed to connect", Kind::Refusal, none},
      {"\a*** UA1ABC already connected, this instance is disconnected", Kind::Bump, none},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.line);
    const core::ClusterLine read = core::readClusterLine(c.line);
    EXPECT_EQ(read.kind, c.kind);
    core::Spot expected = c.spot;
    if (c.kind == Kind::Spot) expected.source = core::SpotSource::Cluster;
    EXPECT_EQ(read.spot, expected);
    if (c.kind == Kind::Refusal || c.kind == Kind::Bump) {
      EXPECT_NE(read.reason.find("UA1ABC"), std::string::npos);
    }
  }
}

// A session fed as a node sends, in chunks: what goes out, the spots, the state.
struct Fed {
  std::vector<std::string> sent;
  std::vector<std::string> calls;
  std::vector<core::ClusterState> states;
};

Fed feed(core::ClusterSession& session, const std::vector<std::string>& chunks) {
  Fed fed;
  for (const std::string& chunk : chunks) {
    core::ClusterSession::Output out;
    session.received(chunk, out);
    fed.sent.insert(fed.sent.end(), out.send.begin(), out.send.end());
    for (const core::Spot& s : out.spots) fed.calls.push_back(s.call);
    if (out.state) fed.states.push_back(*out.state);
  }
  return fed;
}

struct SessionCase {
  const char* name;
  std::string password;
  std::vector<std::string> chunks;
  std::vector<std::string> sent;
  std::vector<std::string> calls;
  std::vector<core::ClusterState> states;
};

TEST(ClusterSession, AnswersPromptsAndTellsItsState) {
  using S = core::ClusterState;
  const std::string spot = "DX de RA1A: 14025.0 R1ABC cq 1200Z\r\n";
  const std::vector<std::string> after = {"set/skimmer\r\n", "sh/dx 30\r\n"};
  const std::vector<SessionCase> cases = {
      {"plain login, prompt without line end", "",
       {"Welcome\r\nlog", "in: ", "Hello Ivan, this is RU3AB-7 in Moscow\r\n", "UA1ABC de RU3AB-7 9-Dec-2026 1200Z >",
        spot},
       {"UA1ABC\r\n", after[0], after[1]}, {"R1ABC"}, {S::Connected}},
      {"password", "secret",
       {"Please enter your call: ", "password: ", "\a\aHello\r\n", spot},
       {"UA1ABC\r\n", "secret\r\n", after[0], after[1]}, {"R1ABC"}, {S::Connected}},
      {"password asked, none set", "", {"login: ", "password: ", spot}, {"UA1ABC\r\n"}, {}, {S::Refused}},
      {"refused", "", {"login: ", "Sorry UA1ABC, you are barred\r\n", spot}, {"UA1ABC\r\n"}, {}, {S::Refused}},
      {"bumped after spots", "",
       {"login: ", spot, "UA1ABC already connected, this instance is disconnected\n", spot},
       {"UA1ABC\r\n", after[0], after[1]}, {"R1ABC"}, {S::Connected, S::Bumped}},
      {"paging, LF alone, a spot glued to a prompt, an overlong line", "",
       {"login: ", "Hi\n", "Press Enter to continue, A to abort (1 lines) >14025.0 R3AB 9-Dec-2026 1200Z x <RA1A>\n", "UA1ABC de RU3AB >\a\aDX de RA1A: 7003.0 R2AB x 1200Z\n",
        std::string(2000, 'x') + spot, spot},
       {"UA1ABC\r\n", after[0], after[1], "\r\n"}, {"R3AB", "R2AB", "R1ABC"}, {S::Connected}},
      {"login asked twice", "", {"login: ", "login: "}, {"UA1ABC\r\n"}, {}, {S::Refused}},
  };
  for (const SessionCase& c : cases) {
    SCOPED_TRACE(c.name);
    core::ClusterSession session({"UA1ABC", c.password, {"set/skimmer"}, 30});
    const Fed fed = feed(session, c.chunks);
    EXPECT_EQ(fed.sent, c.sent);
    EXPECT_EQ(fed.calls, c.calls);
    EXPECT_EQ(fed.states, c.states);
  }
  core::ClusterSession named({"UA1ABC", "", {}, 0});
  feed(named, {"login: ", "Hello Ivan, this is RU3AB-7 in Moscow\r\n"});
  EXPECT_EQ(named.node(), "RU3AB-7");
  // A bump glued to the node's prompt gives the node's words alone.
  core::ClusterSession bumped({"UA1ABC", "", {}, 0});
  feed(bumped, {"login: ", "UA1ABC de RU3AB-7 >\aUA1ABC already connected, this instance is disconnected\r\n"});
  EXPECT_EQ(bumped.state(), core::ClusterState::Bumped);
  EXPECT_EQ(bumped.reason(), "UA1ABC already connected, this instance is disconnected");
}

TEST(ClusterSession, CommandsWaitsTitlesAndTheSpotHeardTwice) {
  EXPECT_EQ(core::clusterCommands(" set/skimmer ;; set/nobeep;"), (std::vector<std::string>{"set/skimmer", "set/nobeep"}));
  const std::vector<core::Millis> waits = {5000, 10000, 20000, 40000, 80000, 160000, 300000, 300000};
  for (int i = 0; i < int(waits.size()); ++i) EXPECT_EQ(core::reconnectWait(i, 5000), waits[std::size_t(i)]) << i;
  EXPECT_EQ(core::failuresAfter(3, 2000, 5000), 3);  // dropped at once: waits go on growing
  EXPECT_EQ(core::failuresAfter(3, 301000, 5000), 0);
  EXPECT_EQ(core::clusterLostTitle(4001), "Cluster lost: reconnecting in 5 s");
  EXPECT_EQ(core::clusterConnectedTitle("RU3AB-7"), "Cluster: connected to RU3AB-7");

  using core::SpotSource;
  const auto spot = [](const char* call, const char* freq, const char* spotter, SpotSource source) {
    core::Spot s{call, freq, "", "12:00", spotter};
    s.source = source;
    return s;
  };
  struct Heard {
    core::Spot spot;
    core::Millis at;
    bool taken;
  };
  const std::vector<Heard> heard = {
      {spot("R1ABC", "14025.0", "RA1A", SpotSource::Logger32), 0, true},
      {spot("R1ABC", "14026.0", "ra1a", SpotSource::Cluster), 30000, false},  // same band and spotter
      {spot("R1ABC", "14025.0", "RA1A", SpotSource::Logger32), 40000, false},  // the cluster heard it 10 s ago
      {spot("R1ABC", "7025.0", "RA1A", SpotSource::Cluster), 41000, true},    // another band
      {spot("R1ABC", "14025.0", "RA2B", SpotSource::Cluster), 42000, true},   // another spotter
      {spot("R1ABC", "14025.0", "RA2B", SpotSource::Cluster), 43000, true},   // a repeat through one intake
      {spot("R1ABC", "14025.0", "RA1A", SpotSource::Cluster), 101000, true},  // over a minute after Logger32's
  };
  core::SpotDuplicates duplicates;
  for (const Heard& h : heard) EXPECT_EQ(duplicates.take(h.spot, h.at), h.taken) << h.spot.spotter << " " << h.at;
}

// The mixed feed of tests/data (both layouts, fields after the time, skimmers, both
// code pages, a hostile line after every tenth spot), as the node stand-in sends it
// with BEL bytes and CR LF, in small pieces: its 2,000 stations in order, no more.
// The end-to-end test lists the same feed and expects what this predicts.
TEST(ClusterSession, AMixedFeedGivesEveryStationOnceAndNothingElse) {
  std::ifstream in(RUDOZ_TEST_DATA_DIR "/cluster_feed.txt", std::ios::binary);
  std::ostringstream bytes;
  for (std::string line; std::getline(in, line);) {
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"{now}", "1200Z"}, {"{date}", "9-Dec-2026"}})
      if (const auto at = line.find(from); at != std::string::npos) line.replace(at, from.size(), to);
    bytes << '\a' << line << "\r\n";
  }
  core::ClusterSession session({"UA1ABC", "", {}, 0});
  std::vector<std::string> chunks = {"login: ", "Hello\r\n"};
  const std::string text = bytes.str();
  for (std::size_t at = 0; at < text.size(); at += 7) chunks.push_back(text.substr(at, 7));
  const Fed fed = feed(session, chunks);
  std::vector<std::string> expected;
  for (int n = 0; n < 2000; ++n)
    expected.push_back({'R', char('0' + n % 10), char('A' + n / 10 % 26), char('A' + n / 260 % 26), 'A'});
  EXPECT_EQ(fed.calls, expected);
}

}  // namespace
