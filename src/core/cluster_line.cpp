#include "core/cluster_line.h"

#include <array>
#include <cstddef>
#include <vector>

#include "core/code_page.h"
#include "core/text.h"

namespace core {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool isLetter(char c) { return isUpper(upperAscii(c)); }

// The line without BEL bytes, a CR left over and blanks around; empty when it holds
// a byte no node puts into a line it means (a control byte other than a tab).
bool cleanLine(std::string_view line, std::string& out) {
  out.clear();
  for (char c : line) {
    if (c == '\a' || c == '\r') continue;
    if (static_cast<unsigned char>(c) < 0x20 && c != '\t') return false;
    out += c == '\t' ? ' ' : c;
  }
  out = std::string(trimBlanks(out));
  return true;
}

std::vector<std::string_view> tokens(std::string_view s) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && s[i] == ' ') ++i;
    const std::size_t start = i;
    while (i < s.size() && s[i] != ' ') ++i;
    if (i > start) out.push_back(s.substr(start, i - start));
  }
  return out;
}

// A station's callsign as nodes write it: letters, digits and "/", a letter and a
// digit at least, no "/" at either end.
bool isCallsign(std::string_view t) {
  if (t.size() < 3 || t.size() > 16 || t.front() == '/' || t.back() == '/') return false;
  bool letter = false, digit = false;
  for (char c : t) {
    if (isLetter(c))
      letter = true;
    else if (isDigit(c))
      digit = true;
    else if (c != '/')
      return false;
  }
  return letter && digit;
}

// A spotter: a callsign, perhaps with an SSID and a skimmer's "-#" ("LZ4UX-#",
// "W3LPL-2-#").
bool isSpotter(std::string_view t) {
  if (t.size() < 3 || t.size() > 20) return false;
  const std::size_t dash = t.find('-');
  if (!isCallsign(t.substr(0, dash))) return false;
  for (char c : t.substr(dash == std::string_view::npos ? t.size() : dash))
    if (!(isLetter(c) || isDigit(c) || c == '-' || c == '#')) return false;
  return t.back() != '-';
}

// kHz as nodes write it: "14025.0", "7003", "10368100.0".
bool isFrequency(std::string_view t) {
  const std::size_t dot = t.find('.');
  const std::string_view whole = t.substr(0, dot);
  const std::string_view part = dot == std::string_view::npos ? std::string_view() : t.substr(dot + 1);
  if (whole.size() < 3 || whole.size() > 9 || whole.front() == '0') return false;
  if (dot != std::string_view::npos && (part.empty() || part.size() > 3)) return false;
  for (char c : whole)
    if (!isDigit(c)) return false;
  for (char c : part)
    if (!isDigit(c)) return false;
  return true;
}

// "1234Z" as "12:34"; empty when it is no time of day.
std::string timeOf(std::string_view t) {
  if (t.size() != 5 || (t[4] != 'Z' && t[4] != 'z')) return {};
  for (int i = 0; i < 4; ++i)
    if (!isDigit(t[std::size_t(i)])) return {};
  if ((t[0] - '0') * 10 + (t[1] - '0') > 23 || t[2] > '5') return {};
  return std::string(t.substr(0, 2)) + ":" + std::string(t.substr(2, 2));
}

// "9-Dec-2026", as sh/dx dates its lines.
bool isDate(std::string_view t) {
  const std::size_t a = t.find('-');
  if (a == std::string_view::npos || a == 0 || a > 2 || t.size() != a + 9 || t[a + 4] != '-') return false;
  for (std::size_t i = 0; i < t.size(); ++i) {
    const bool ok = i < a || i > a + 4 ? isDigit(t[i]) : i == a || i == a + 4 || isLetter(t[i]);
    if (!ok) return false;
  }
  return true;
}

// The text between two tokens of the same line, blanks around dropped.
std::string_view between(std::string_view after, std::string_view before) {
  const char* from = after.data() + after.size();
  const char* to = before.data();
  return trimBlanks(std::string_view(from, std::size_t(to - from)));
}

std::string upperCall(std::string_view t) { return toUpperAscii(t); }

// Fields a node writes after the time (a grid, a state, zones): a few short words.
constexpr std::size_t kMaxTrailing = 4, kMaxTrailingWord = 8;

bool dxDeSpot(std::string_view line, Spot& spot) {
  if (line.size() < 6 || toUpperAscii(line.substr(0, 6)) != "DX DE ") return false;
  const std::string_view rest = line.substr(6);
  const std::size_t colon = rest.find(':');
  if (colon == std::string_view::npos) return false;
  const std::string_view spotter = trimBlanks(rest.substr(0, colon));
  if (!isSpotter(spotter)) return false;
  const auto t = tokens(rest.substr(colon + 1));
  if (t.size() < 3 || !isFrequency(t[0]) || !isCallsign(t[1])) return false;
  // The time is the last of its kind with at most a few short words after it: a
  // "QSX 1800Z" in the comment stands before the node's own.
  for (std::size_t i = t.size() - 1; i >= 2; --i) {
    if (t.size() - 1 - i > kMaxTrailing) return false;
    std::string time = timeOf(t[i]);
    if (time.empty()) {
      if (t[i].size() > kMaxTrailingWord) return false;
      continue;
    }
    spot.call = upperCall(t[1]);
    spot.freq = std::string(t[0]);
    spot.comment = clusterComment(between(t[1], t[i]));
    spot.time = std::move(time);
    spot.spotter = upperCall(spotter);
    return true;
  }
  return false;
}

bool showDxSpot(std::string_view line, Spot& spot) {
  const auto t = tokens(line);
  if (t.size() < 5 || !isFrequency(t[0]) || !isCallsign(t[1]) || !isDate(t[2])) return false;
  std::string time = timeOf(t[3]);
  const std::string_view last = t.back();
  if (time.empty() || last.size() < 3 || last.front() != '<' || last.back() != '>') return false;
  const std::string_view spotter = last.substr(1, last.size() - 2);
  if (!isSpotter(spotter)) return false;
  spot.call = upperCall(t[1]);
  spot.freq = std::string(t[0]);
  spot.comment = clusterComment(between(t[3], last));
  spot.time = std::move(time);
  spot.spotter = upperCall(spotter);
  return true;
}

bool has(std::string_view lowered, std::string_view part) { return lowered.find(part) != std::string_view::npos; }

std::string lowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (isUpper(c)) c = char(c - 'A' + 'a');
  return out;
}

constexpr std::array kBumpWords{"instance is disconnected", "logged in elsewhere", "already connected"};
constexpr std::size_t kMaxReason = 80;

}  // namespace

std::string clusterComment(std::string_view raw) {
  std::string text = isUtf8Text(raw) ? utf8ToCp1251(raw) : std::string(raw);
  for (char& c : text) c = upperAscii(c);
  return text;
}

ClusterLineKind promptKind(std::string_view pending) {
  std::string text;
  if (!cleanLine(pending, text) || text.size() > kMaxClusterLine) return ClusterLineKind::Other;
  const std::string lowered = lowerAscii(text);
  if (lowered.ends_with("login:") || (lowered.ends_with("call:") && has(lowered, "your call")))
    return ClusterLineKind::LoginPrompt;
  if (lowered.ends_with("password:")) return ClusterLineKind::PasswordPrompt;
  // The paging prompt, once it is whole: "Press Enter to continue, A to abort (16 lines) >".
  if ((has(lowered, "press enter") || has(lowered, "to continue")) &&
      (lowered.ends_with('>') || lowered.ends_with(':') || lowered.ends_with("continue")))
    return ClusterLineKind::MorePrompt;
  return ClusterLineKind::Other;
}

ClusterLine readClusterLine(std::string_view line) {
  ClusterLine out;
  std::string text;
  if (line.size() > kMaxClusterLine || !cleanLine(line, text)) return out;
  if (dxDeSpot(text, out.spot) || showDxSpot(text, out.spot)) {
    out.kind = ClusterLineKind::Spot;
    out.spot.source = SpotSource::Cluster;
    return out;
  }
  out.spot = {};
  const std::string lowered = lowerAscii(text);
  const auto withReason = [&](ClusterLineKind kind) {
    out.kind = kind;
    out.reason = text.substr(0, kMaxReason);
    return out;
  };
  if (lowered.starts_with("sorry")) return withReason(ClusterLineKind::Refusal);
  for (const char* words : kBumpWords)
    if (has(lowered, words)) return withReason(ClusterLineKind::Bump);
  out.kind = promptKind(text);
  return out;
}

}  // namespace core
