// Command line of the Logger32 stand-in.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace l32sim {

// How a port answers a RegisterRequest.
enum class PortMode {
  Grant,       // Accepted (0, 1), then CommandWindow once the spot field is known
  AcceptOnly,  // Accepted (0, 1), but never CommandWindow
  Silent,      // no answer at all
  Zero,        // the reply (0, 0)
  Reply,       // the reply (replyW, replyL)
};

struct PortScript {
  PortMode mode = PortMode::Silent;
  std::uint32_t replyW = 0;
  std::uint32_t replyL = 0;
};

struct Options {
  std::array<PortScript, 5> ports{};  // ports 1..5 at index 0..4
  std::string title = "Logger32";
  std::string logFile;                // empty: standard output
  std::string spotsFile;
  unsigned spotRateMs = 1000;
  bool loopSpots = false;
  std::vector<std::uint32_t> frequencies;
  unsigned frequencyEveryMs = 3000;
  unsigned startDelayMs = 0;
  double exitAfterSeconds = 0;        // 0: run until closed
  std::string controlFile;
  std::string watchClass;
  bool bare = false;      // every spot also goes to the bare receiver, both sends timed
  bool receiver = false;  // be the bare receiver instead of Logger32
  bool bareOnly = false;  // spots go into the bare receiver only, no link needed
  bool help = false;
};

class UsageError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Throws UsageError with a one-line reason on a bad command line.
Options parseOptions(const std::vector<std::string>& args);

extern const char* const kHelpText;

}  // namespace l32sim
