// Hamlib's network rig daemon, rigctld: the command lines we send, the framing of
// its answers by lines, what an answer means, and the frequency and mode a spot
// tunes to.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace core::rigctl {

enum class Mode { CW, USB, LSB };
std::string_view modeName(Mode mode);  // "CW", "USB", "LSB", as rigctld spells them

// The command lines, each ending in a line feed. In VFO mode (the daemon started
// with -o, `\chk_vfo` answers 1) every command names its VFO, the current one.
std::string setFrequency(std::uint64_t hz, bool vfoMode);  // "F 14025000"
std::string setMode(Mode mode, bool vfoMode);               // "M CW 0": the radio's own passband
std::string getFrequency(bool vfoMode);                     // "f"
inline constexpr std::string_view kCheckVfo = "\\chk_vfo\n";
inline constexpr std::string_view kDumpState = "\\dump_state\n";

// Bytes from the socket into lines: an answer may come split across reads, and the
// answers to several commands may come run together in one read. A carriage return
// before the line feed is dropped. A line longer than kMaxLine is no answer of a
// rig daemon: it throws, and the connection is to be dropped.
class LineFramer {
 public:
  static constexpr std::size_t kMaxLine = 4096;
  void feed(std::string_view bytes);
  std::optional<std::string> next();
  void clear() { buffer_.clear(); }

 private:
  std::string buffer_;
};

// One answer line: "RPRT 0" is done, "RPRT -N" an error with its reason.
struct Reply {
  bool ok = true;
  int code = 0;        // the N of "RPRT N"; 0 for a value
  std::string reason;  // readable, for the title, when not ok
};
// A line that is "RPRT N"; nothing for any other line.
std::optional<Reply> report(std::string_view line);
// Hamlib's reason for an error code ("RPRT -9": "the radio rejected the command").
std::string reasonOf(int code);

// The answer to `f`: the frequency in Hz ("14025000", also "14025000.000000"); an
// "RPRT -N" throws its reason; anything else throws, naming the line.
std::uint64_t parseFrequency(std::string_view line);

// The answer to `\chk_vfo`: "0"/"1", or older daemons' "CHKVFO 0". Nothing for a
// line that is not it: what a newer daemon adds to its `\dump_state` (key=value
// lines, "done") comes before it.
std::optional<bool> parseCheckVfo(std::string_view line);

// The lines of `\dump_state`: the protocol version, the model, the region, the
// receive and transmit ranges (each closed by a line of seven zeros), the tuning
// steps and the filters (each closed by "0 0"), then twelve lines of figures.
class DumpState {
 public:
  // Takes the next line; true once the state is whole.
  bool take(std::string_view line);
  int protocol() const { return protocol_; }

 private:
  int lines_ = 0;
  int closers_ = 0;  // range and list ends seen
  int tail_ = 0;     // figures after the lists
  int protocol_ = -1;
};

// The frequency text of a spot row or of the frequency panel in Hz: kHz ("14025.0",
// "14025,000") or MHz ("14.025"). A text that is not a frequency throws, saying why.
std::uint64_t frequencyOfText(std::string_view text);

// The mode for a spot: CW in a band's CW segment or when the comment says CW, else
// the sideband of the band (lower below 10 MHz, but for 60 m; upper above).
Mode spotMode(std::uint64_t hz, std::string_view comment = {});
Mode sidebandFor(std::uint64_t hz);
bool inCwSegment(std::uint64_t hz);

}  // namespace core::rigctl
