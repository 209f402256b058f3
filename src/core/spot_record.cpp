#include "core/spot_record.h"

#include <cstddef>

#include "core/skimmer.h"
#include "core/spot.h"
#include "core/text.h"

namespace core {
namespace {

constexpr std::size_t kNotFound = std::string_view::npos;

// The `count` characters at `pos` read as a decimal number; false when the text ends
// first or one of them is not a digit.
bool numberAt(std::string_view s, std::size_t pos, std::size_t count, std::size_t& n) {
  if (pos > s.size() || s.size() - pos < count) return false;
  n = 0;
  for (std::size_t i = pos; i < pos + count; ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    n = n * 10 + static_cast<std::size_t>(s[i] - '0');
  }
  return true;
}

// Up to n characters from pos; fewer (or none) when the text ends first.
std::string_view take(std::string_view s, std::size_t pos, std::size_t n) {
  if (pos >= s.size()) return {};
  return s.substr(pos, n);
}

}  // namespace

void findClx(std::string_view record, std::string& call) {
  const std::size_t p = record.find("DXSPOT_CALLSIGN");
  if (p == kNotFound) return;
  // p+15 holds the ":", p+16 the first length digit.
  std::size_t n = 0;
  if (!numberAt(record, p + 16, 1, n)) return;
  if (n == 1 && !numberAt(record, p + 16, 2, n)) return;
  call.assign(take(record, n >= 10 ? p + 19 : p + 18, n));
}

void findFreq(std::string_view record, std::string& freq) {
  const std::size_t p = record.find("DXSPOT_FREQ");
  if (p == kNotFound) return;
  std::size_t n = 0;
  if (!numberAt(record, p + 12, 1, n)) return;
  freq.assign(take(record, p + 14, n));
}

void findComent(std::string_view record, std::string& comment) {
  constexpr std::string_view tag = "COMMENT:";
  const std::size_t p = record.find(tag);
  if (p == kNotFound) return;
  const std::string_view rest = record.substr(p + tag.size());
  std::size_t n = 0;
  const bool oneDigit = rest.size() >= 2 && rest[1] == '>';
  if (!numberAt(rest, 0, oneDigit ? 1 : 2, n)) return;
  comment.assign(take(rest, n < 10 ? 2 : 3, n));
  for (char& c : comment) c = upperAscii(c);
}

void findTime(std::string_view record, std::string& time) {
  constexpr std::string_view tag = "<APP_DXSPOT_TIME:4>";
  const std::size_t p = record.find(tag);
  if (p == kNotFound) return;
  time.assign(take(record, p + tag.size(), 4));
  // The colon goes in front of the third character, or at the end of a shorter value.
  time.insert(time.size() < 2 ? time.size() : 2, 1, ':');
}

void findSpotter(std::string_view record, std::string& spotter) {
  constexpr std::string_view tag = "DXSPOT_SPOTTER:";
  const std::size_t p = record.find(tag);
  if (p == kNotFound) return;
  const std::size_t digits = p + tag.size();
  // "<DXSPOT_SPOTTER:7>" or "<DXSPOT_SPOTTER:12>": the ">" says how many digits.
  const std::size_t count = digits + 1 < record.size() && record[digits + 1] == '>' ? 1 : 2;
  std::size_t n = 0;
  if (!numberAt(record, digits, count, n) || digits + count >= record.size() || record[digits + count] != '>') return;
  spotter.assign(take(record, digits + count + 1, n));
}

bool isRussianCall(std::string_view call) {
  if (call.empty()) return false;
  if (call[0] == 'R') return true;
  return call[0] == 'U' && call.size() >= 2 && call[1] >= 'A' && call[1] <= 'I';
}

Spot readSpot(std::string_view record) {
  Spot spot;
  findClx(record, spot.call);
  findFreq(record, spot.freq);
  findComent(record, spot.comment);
  findTime(record, spot.time);
  findSpotter(record, spot.spotter);
  return spot;
}

bool fromSkimmer(const Spot& spot) { return isSkimmerSpotter(spot.spotter) || isSkimmerComment(spot.comment); }

}  // namespace core
