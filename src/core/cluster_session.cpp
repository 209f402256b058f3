#include "core/cluster_session.h"

#include <algorithm>
#include <utility>

#include "core/text.h"

namespace core {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// A node's name, as its greeting or prompt gives it: a word of letters, digits, "-"
// and "/".
std::string nodeWord(std::string_view text) {
  std::size_t n = 0;
  while (n < text.size() && n < 20) {
    const char c = upperAscii(text[n]);
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '/')) break;
    ++n;
  }
  return toUpperAscii(text.substr(0, n));
}

}  // namespace

std::vector<std::string> clusterCommands(std::string_view line) {
  std::vector<std::string> out;
  while (!line.empty()) {
    const std::size_t semi = line.find(';');
    const std::string_view one = trimBlanks(line.substr(0, semi));
    if (!one.empty()) out.emplace_back(one);
    if (semi == std::string_view::npos) break;
    line.remove_prefix(semi + 1);
  }
  return out;
}

ClusterSession::ClusterSession(ClusterLogin login) : login_(std::move(login)) {}

void ClusterSession::received(std::string_view bytes, Output& out) {
  for (char c : bytes) {
    if (final()) return;
    if (c == '\n') {
      if (!skipping_) line(pending_, out);
      skipping_ = false;
      pending_.clear();
    } else if (!skipping_) {
      pending_ += c;
      // A line longer than any node's spot line is skipped to its end.
      if (pending_.size() > kMaxClusterLine) {
        skipping_ = true;
        pending_.clear();
      }
    }
  }
  if (final() || pending_.empty()) return;
  // Prompts come without a line end: "login: ", "password: ", the paging prompt, and
  // the node's own "UA1ABC de RU3AB-7 ... >", after which spots follow on its line.
  const ClusterLineKind kind = promptKind(pending_);
  if (kind != ClusterLineKind::Other) {
    pending_.clear();
    prompt(kind, out);
  } else if (const std::string_view text = trimBlanks(pending_);
             text.ends_with('>') && !text.starts_with("DX de ") && !(text[0] >= '0' && text[0] <= '9')) {
    const std::string prompt = std::exchange(pending_, {});
    line(prompt, out);
  }
}

void ClusterSession::line(std::string_view text, Output& out) {
  ClusterLine read = readClusterLine(text);
  // A line glued to a prompt that had no line end ("... dxspider >DX de ...",
  // "... (16 lines) >14025.0 ...", "... dxspider >UA1ABC already connected, ..."):
  // the prompt is a line of its own.
  for (std::size_t gt = text.find('>'), tries = 0; read.kind != ClusterLineKind::Spot && gt != std::string_view::npos &&
                                                   gt + 1 < text.size() && tries < 8;
       gt = text.find('>', gt + 1), ++tries) {
    ClusterLine rest = readClusterLine(text.substr(gt + 1));
    if (rest.kind == ClusterLineKind::Other) continue;
    line(text.substr(0, gt + 1), out);
    text.remove_prefix(gt + 1);
    read = std::move(rest);
  }
  if (final()) return;
  switch (read.kind) {
    case ClusterLineKind::Spot:
      if (state_ == ClusterState::LoggingIn && callSent_) loggedIn(out);
      out.spots.push_back(std::move(read.spot));
      return;
    case ClusterLineKind::Refusal: return end(ClusterState::Refused, std::move(read.reason), out);
    case ClusterLineKind::Bump: return end(ClusterState::Bumped, std::move(read.reason), out);
    case ClusterLineKind::Other:
      noteNode(text);
      if (state_ == ClusterState::LoggingIn && callSent_ && !trimBlanks(text).empty()) loggedIn(out);
      return;
    default: return prompt(read.kind, out);
  }
}

void ClusterSession::prompt(ClusterLineKind kind, Output& out) {
  switch (kind) {
    case ClusterLineKind::LoginPrompt:
      // Asked a second time: the node did not take the call.
      if (callSent_) return end(ClusterState::Refused, "login: asked again for " + login_.call, out);
      callSent_ = true;
      out.send.push_back(login_.call + std::string(kLineEnd));
      return;
    case ClusterLineKind::PasswordPrompt:
      if (login_.password.empty()) return end(ClusterState::Refused, "the node asks for a password", out);
      out.send.push_back(login_.password + std::string(kLineEnd));
      return;
    case ClusterLineKind::MorePrompt: out.send.emplace_back(kLineEnd); return;
    default: return;
  }
}

void ClusterSession::loggedIn(Output& out) {
  state_ = ClusterState::Connected;
  out.state = state_;
  for (const std::string& command : login_.commands) out.send.push_back(command + std::string(kLineEnd));
  if (login_.backlog > 0) out.send.push_back("sh/dx " + std::to_string(login_.backlog) + std::string(kLineEnd));
}

void ClusterSession::end(ClusterState state, std::string reason, Output& out) {
  state_ = state;
  reason_ = std::move(reason);
  out.state = state;
}

void ClusterSession::noteNode(std::string_view text) {
  // "UA1ABC de RU3AB-7  9-Dec-2026 1234Z dxspider >", "Hello Ivan, this is RU3AB-7 in ..."
  const std::string upper = toUpperAscii(text);
  const std::string ours = toUpperAscii(login_.call) + " DE ";
  std::size_t at = login_.call.empty() ? std::string::npos : upper.find(ours);
  if (at != std::string::npos) {
    at += ours.size();
  } else if ((at = upper.find("THIS IS ")) != std::string::npos) {
    at += 8;
  } else {
    return;
  }
  std::string name = nodeWord(std::string_view(text).substr(at));
  if (name.size() >= 3) node_ = std::move(name);
}

Millis reconnectWait(int failures, Millis first) {
  const Millis longest = first * 60;
  Millis wait = first;
  for (int i = 0; i < failures && wait < longest; ++i) wait *= 2;
  return std::min(wait, longest);
}

int failuresAfter(int failures, Millis upFor, Millis first) { return upFor > first * 60 ? 0 : failures; }

bool SpotDuplicates::take(const Spot& spot, Millis now) {
  // Entries older than the window say nothing any more; they go once a window.
  if (now - pruned_ > kWindow) {
    std::erase_if(heard_, [&](const auto& entry) {
      return std::max(entry.second.at[0], entry.second.at[1]) < now - kWindow;
    });
    pruned_ = now;
  }
  Heard& heard = heard_[{toUpperAscii(spot.call), bandOfFrequency(spot.freq), toUpperAscii(spot.spotter)}];
  const int source = spot.source == SpotSource::Cluster ? 1 : 0;
  const bool heardElsewhere = now - heard.at[1 - source] <= kWindow;
  heard.at[source] = now;
  return !heardElsewhere;
}

std::string clusterConnectingTitle(std::string_view host) { return "Cluster: connecting to " + std::string(host); }
std::string clusterConnectedTitle(std::string_view node) { return "Cluster: connected to " + std::string(node); }
std::string clusterRefusedTitle(std::string_view reason) { return "Cluster refused: " + std::string(reason); }
std::string clusterLostTitle(Millis wait) {
  return "Cluster lost: reconnecting in " + std::to_string((wait + 999) / 1000) + " s";
}

}  // namespace core
