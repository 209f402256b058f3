#include "core/rigctl_protocol.h"

#include <array>
#include <stdexcept>

#include "core/band.h"
#include "core/text.h"

namespace core::rigctl {
namespace {

std::string vfoPart(bool vfoMode) { return vfoMode ? " currVFO" : ""; }

bool isDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// Hamlib's error codes, from 1 on (RPRT -1 is the first).
constexpr std::array<std::string_view, 17> kReasons{
    "invalid parameter",
    "invalid configuration",
    "out of memory",
    "not implemented by the radio's driver",
    "the radio did not answer in time",
    "input/output error with the radio",
    "internal Hamlib error",
    "protocol error with the radio",
    "the radio rejected the command",
    "done, but an argument was cut short",
    "not available on this radio",
    "the VFO cannot be chosen",
    "error on the radio's bus",
    "collision on the radio's bus",
    "invalid argument",
    "invalid VFO",
    "argument out of range",
};

// The CW segments of the band plan (IARU Region 1), edges included.
struct Segment {
  std::uint64_t firstHz, lastHz;
};
constexpr std::array<Segment, 14> kCwSegments{{
    {1'800'000, 1'838'000},
    {3'500'000, 3'570'000},
    {5'351'500, 5'354'000},
    {7'000'000, 7'040'000},
    {10'100'000, 10'150'000},
    {14'000'000, 14'070'000},
    {18'068'000, 18'095'000},
    {21'000'000, 21'070'000},
    {24'890'000, 24'915'000},
    {28'000'000, 28'070'000},
    {50'000'000, 50'100'000},
    {70'000'000, 70'100'000},
    {144'000'000, 144'150'000},
    {432'000'000, 432'100'000},
}};

// "CW" as a word of the comment ("CW 599", "up 1 cw"), not inside one ("CWT").
bool saysCw(std::string_view comment) {
  const auto isWordChar = [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  };
  for (std::size_t at = 0; at + 2 <= comment.size(); ++at) {
    if (upperAscii(comment[at]) != 'C' || upperAscii(comment[at + 1]) != 'W') continue;
    const bool startsWord = at == 0 || !isWordChar(comment[at - 1]);
    const bool endsWord = at + 2 == comment.size() || !isWordChar(comment[at + 2]);
    if (startsWord && endsWord) return true;
  }
  return false;
}

}  // namespace

std::string_view modeName(Mode mode) {
  switch (mode) {
    case Mode::CW:
      return "CW";
    case Mode::USB:
      return "USB";
    case Mode::LSB:
      break;
  }
  return "LSB";
}

std::string setFrequency(std::uint64_t hz, bool vfoMode) {
  return "F" + vfoPart(vfoMode) + " " + std::to_string(hz) + "\n";
}

std::string setMode(Mode mode, bool vfoMode) {
  return "M" + vfoPart(vfoMode) + " " + std::string(modeName(mode)) + " 0\n";
}

std::string getFrequency(bool vfoMode) { return "f" + vfoPart(vfoMode) + "\n"; }

void LineFramer::feed(std::string_view bytes) {
  buffer_.append(bytes);
  if (buffer_.find('\n') == std::string::npos && buffer_.size() > kMaxLine)
    throw std::runtime_error("the radio's answer is not a line of text");
}

std::optional<std::string> LineFramer::next() {
  const std::size_t end = buffer_.find('\n');
  if (end == std::string::npos) return std::nullopt;
  if (end > kMaxLine) throw std::runtime_error("the radio's answer is not a line of text");
  std::string line = buffer_.substr(0, end);
  buffer_.erase(0, end + 1);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

std::string reasonOf(int code) {
  if (code < 0 && -code <= int(kReasons.size())) return std::string(kReasons[std::size_t(-code - 1)]);
  return "error " + std::to_string(code);
}

std::optional<Reply> report(std::string_view line) {
  line = trimBlanks(line);
  if (!line.starts_with("RPRT ")) return std::nullopt;
  std::string_view number = trimBlanks(line.substr(5));
  const bool negative = number.starts_with('-');
  if (negative) number.remove_prefix(1);
  if (!isDigits(number) || number.size() > 4) return std::nullopt;
  const int code = (negative ? -1 : 1) * std::stoi(std::string(number));
  if (code == 0) return Reply{};
  return Reply{false, code, reasonOf(code) + " (RPRT " + std::to_string(code) + ")"};
}

std::uint64_t parseFrequency(std::string_view line) {
  line = trimBlanks(line);
  if (const auto r = report(line)) throw std::runtime_error(r->ok ? "no frequency in the answer" : r->reason);
  // Some daemons write the figure as a decimal number of Hz.
  std::string_view whole = line.substr(0, line.find('.'));
  const std::string_view fraction = whole.size() < line.size() ? line.substr(whole.size() + 1) : std::string_view();
  if (!isDigits(whole) || whole.size() > 12 || (!fraction.empty() && !isDigits(fraction)))
    throw std::runtime_error("the radio's answer \"" + std::string(line.substr(0, 40)) + "\" is not a frequency");
  return std::stoull(std::string(whole));
}

std::optional<bool> parseCheckVfo(std::string_view line) {
  line = trimBlanks(line);
  if (line.starts_with("CHKVFO ")) line = trimBlanks(line.substr(7));
  if (line == "0") return false;
  if (line == "1") return true;
  return std::nullopt;
}

bool DumpState::take(std::string_view line) {
  line = trimBlanks(line);
  ++lines_;
  if (lines_ == 1) {
    protocol_ = isDigits(line) && line.size() < 6 ? std::stoi(std::string(line)) : 0;
    return false;
  }
  if (lines_ <= 3) return false;  // the model and the region
  if (closers_ < 4) {
    // Two range lists closed by seven zeros, two pair lists closed by "0 0".
    if (line == (closers_ < 2 ? "0 0 0 0 0 0 0" : "0 0")) ++closers_;
    return false;
  }
  return ++tail_ == 12;
}

std::uint64_t frequencyOfText(std::string_view text) {
  const std::string_view t = trimBlanks(text);
  if (t.empty()) throw std::invalid_argument("the row has no frequency");
  const auto hz = frequencyHz(t);
  if (!hz) throw std::invalid_argument("\"" + std::string(t) + "\" is not a frequency (kHz, as 14025.0)");
  if (*hz == 0) throw std::invalid_argument("the frequency is 0");
  return *hz;
}

bool inCwSegment(std::uint64_t hz) {
  for (const Segment& s : kCwSegments)
    if (hz >= s.firstHz && hz <= s.lastHz) return true;
  return false;
}

Mode sidebandFor(std::uint64_t hz) {
  // 60 m channels are worked in upper sideband although they lie below 10 MHz.
  if (hz >= 5'250'000 && hz <= 5'450'000) return Mode::USB;
  return hz < 10'000'000 ? Mode::LSB : Mode::USB;
}

Mode spotMode(std::uint64_t hz, std::string_view comment) {
  return inCwSegment(hz) || saysCw(comment) ? Mode::CW : sidebandFor(hz);
}

}  // namespace core::rigctl
