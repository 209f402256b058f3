#include "core/rigctl_protocol.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

using core::rigctl::Mode;
namespace rig = core::rigctl;

// What `f` throws; empty when it throws nothing.
template <class F>
std::string errorOf(F f) {
  try {
    f();
  } catch (const std::exception& e) {
    return e.what();
  }
  return {};
}

TEST(Rigctl, CommandLinesWithAndWithoutVfo) {
  EXPECT_EQ(rig::setFrequency(14025000, false), "F 14025000\n");
  EXPECT_EQ(rig::setFrequency(7030000, true), "F currVFO 7030000\n");
  EXPECT_EQ(rig::setMode(Mode::CW, false), "M CW 0\n");
  EXPECT_EQ(rig::setMode(Mode::LSB, true), "M currVFO LSB 0\n");
  EXPECT_EQ(rig::getFrequency(false), "f\n");
  EXPECT_EQ(rig::getFrequency(true), "f currVFO\n");
}

TEST(Rigctl, FramesAnswersSplitAcrossReadsAndRunTogether) {
  const struct {
    std::vector<const char*> reads;
    std::vector<const char*> lines;
  } cases[] = {
      {{"RPRT 0\n"}, {"RPRT 0"}},
      {{"1402", "5000\r", "\n"}, {"14025000"}},           // split, CR LF
      {{"14025000\nCW\n500\nRPRT -9\n"}, {"14025000", "CW", "500", "RPRT -9"}},  // run together
      {{"RPRT 0\n1402", "5000\n"}, {"RPRT 0", "14025000"}},
      {{"no line end"}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reads.front());
    rig::LineFramer framer;
    std::vector<std::string> got;
    for (const char* read : c.reads) {
      framer.feed(read);
      while (auto line = framer.next()) got.push_back(*line);
    }
    EXPECT_EQ(got, std::vector<std::string>(c.lines.begin(), c.lines.end()));
  }
  rig::LineFramer endless;
  EXPECT_THROW(endless.feed(std::string(rig::LineFramer::kMaxLine + 1, 'x')), std::runtime_error);
}

TEST(Rigctl, AnswersGiveAValueOrAReason) {
  EXPECT_EQ(rig::report("RPRT 0")->ok, true);
  for (const auto& [line, reason] : {std::pair{"RPRT -9", "the radio rejected the command (RPRT -9)"},
                                     {"RPRT -11", "not available on this radio (RPRT -11)"},
                                     {"RPRT -99", "error -99 (RPRT -99)"}})
    EXPECT_EQ(rig::report(line)->reason, reason);
  EXPECT_FALSE(rig::report("14025000"));
  EXPECT_FALSE(rig::report("RPRT x"));
  const struct {
    const char* line;
    std::uint64_t hz;
    const char* error;  // "": a value
  } frequencies[] = {
      {"14025000", 14025000, ""}, {"145000000.000000", 145000000, ""}, {"0", 0, ""},
      {"RPRT -5", 0, "the radio did not answer in time (RPRT -5)"},
      {"CW", 0, "the radio's answer \"CW\" is not a frequency"},
      {"", 0, "the radio's answer \"\" is not a frequency"},
  };
  for (const auto& c : frequencies) {
    SCOPED_TRACE(c.line);
    std::uint64_t hz = 0;
    EXPECT_EQ(errorOf([&] { hz = rig::parseFrequency(c.line); }), c.error);
    EXPECT_EQ(hz, c.hz);
  }
  EXPECT_EQ(rig::parseCheckVfo("1"), true);
  EXPECT_EQ(rig::parseCheckVfo("CHKVFO 0"), false);
  EXPECT_EQ(rig::parseCheckVfo("done"), std::nullopt);
  EXPECT_EQ(rig::parseCheckVfo("vfo_ops=0x0"), std::nullopt);
}

TEST(Rigctl, DumpStateEndsAfterItsListsAndFigures) {
  // The dummy radio's state, as Debian's rigctld -m 1 sends it (ranges and lists cut
  // short: their length varies by radio).
  const std::vector<std::string> state = {
      "1", "1", "0", "150000.000000 1500000000.000000 0x1ff -1 -1 0x77e00007 0xf", "0 0 0 0 0 0 0",
      "150000.000000 1500000000.000000 0x1ff 5000 100000 0x77e00007 0xf", "0 0 0 0 0 0 0", "0x1ff 1", "0 0",
      "0xc 2400", "0x2 500", "0 0", "9990", "9990", "10000", "0", "10 ", "10 20 30 ", "0xffffffffffffffff",
      "0xffffffffffffffff", "0xfffffffff7ffffff", "0xffffff7083ffffff", "0xffffffffffffffff", "0xffffffffffffffbf"};
  rig::DumpState dump;
  for (std::size_t i = 0; i < state.size(); ++i) EXPECT_EQ(dump.take(state[i]), i + 1 == state.size()) << i;
  EXPECT_EQ(dump.protocol(), 1);
}

TEST(Rigctl, FrequencyTextsOfRowsAndPanel) {
  const struct {
    const char* text;
    std::uint64_t hz;
    const char* error;
  } cases[] = {
      {"14025.0", 14025000, ""},     {"14025,000", 14025000, ""}, {" 7012.5 ", 7012500, ""},
      {"14.025", 14025000, ""},      {"144300.0", 144300000, ""},
      {"QRG", 0, "\"QRG\" is not a frequency (kHz, as 14025.0)"},
      {"", 0, "the row has no frequency"}, {",123", 0, "\",123\" is not a frequency (kHz, as 14025.0)"},
      {"0.0", 0, "the frequency is 0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::uint64_t hz = 0;
    EXPECT_EQ(errorOf([&] { hz = rig::frequencyOfText(c.text); }), c.error);
    EXPECT_EQ(hz, c.hz);
  }
}

TEST(Rigctl, ModeOfASpotByBandSegmentAndComment) {
  const struct {
    std::uint64_t hz;
    const char* comment;
    Mode mode;
  } cases[] = {
      {14025000, "", Mode::CW},      {14070000, "", Mode::CW},    {14070001, "", Mode::USB},
      {14200000, "", Mode::USB},     {7025000, "", Mode::CW},     {7100000, "", Mode::LSB},
      {3650000, "", Mode::LSB},      {1850000, "", Mode::LSB},    {5357000, "", Mode::USB},
      {10120000, "", Mode::CW},      {21300000, "", Mode::USB},   {14200000, "CW UP 2", Mode::CW},
      {7100000, "599 cw", Mode::CW}, {14200000, "CWT", Mode::USB}, {28500000, "SSB", Mode::USB},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.hz << " " << c.comment);
    EXPECT_EQ(rig::spotMode(c.hz, c.comment), c.mode);
  }
}

}  // namespace
