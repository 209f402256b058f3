// The program's side of a DX cluster session as far as it is logic: the bytes a
// node sends cut into lines and prompts, what to answer on which prompt, what the
// session's state is; the waits before a reconnect; the rule for a spot heard
// through Logger32 and the cluster both; the titles that tell the state.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "core/band.h"
#include "core/cluster_line.h"
#include "core/spot.h"
#include "core/spot_time.h"

namespace core {

// What the operator set for the cluster.
struct ClusterLogin {
  std::string call;
  std::string password;                // empty: none
  std::vector<std::string> commands;   // sent once logged in, in order
  int backlog = 30;                    // "sh/dx N" after the commands; 0: none
};

// The commands of the settings file's one line: separated by ";", blanks around
// dropped, empty ones skipped.
std::vector<std::string> clusterCommands(std::string_view line);

enum class ClusterState {
  LoggingIn,  // connected, the node asks who we are
  Connected,  // logged in: spots come
  Refused,    // the node would not have us (no reconnect)
  Bumped,     // another session of our call took over (no reconnect)
};

class ClusterSession {
 public:
  explicit ClusterSession(ClusterLogin login);

  // What the bytes just received mean: texts to send (each with its line end), the
  // spots in the order they came, and the state when it changed.
  struct Output {
    std::vector<std::string> send;
    std::vector<Spot> spots;
    std::optional<ClusterState> state;
  };
  void received(std::string_view bytes, Output& out);

  ClusterState state() const { return state_; }
  // Why the node refused or bumped us (its words); the node's name once known.
  const std::string& reason() const { return reason_; }
  const std::string& node() const { return node_; }
  // Whether the session is over by the node's word: no reconnect.
  bool final() const { return state_ == ClusterState::Refused || state_ == ClusterState::Bumped; }

  // What a keepalive sends: an empty line, which nodes answer with their prompt.
  static constexpr std::string_view kKeepalive = "\r\n";

 private:
  void line(std::string_view text, Output& out);
  void prompt(ClusterLineKind kind, Output& out);
  void loggedIn(Output& out);
  void end(ClusterState state, std::string reason, Output& out);
  void noteNode(std::string_view text);

  ClusterLogin login_;
  ClusterState state_ = ClusterState::LoggingIn;
  std::string pending_;   // a line not ended yet
  bool skipping_ = false;  // the rest of an overlong line
  bool callSent_ = false;
  std::string reason_, node_;
};

// The wait before reconnect number `failures` (0 for the first after a loss):
// `first`, doubling each time, never more than 60 times `first` (5 s to 5 min).
Millis reconnectWait(int failures, Millis first);
// The failures the wait after a session that stayed up `upFor` is reckoned by: only
// a session that lasted longer than the longest wait starts the waits afresh; a node
// that drops every session at once is not called ever more often.
int failuresAfter(int failures, Millis upFor, Millis first);

// A spot heard through both intakes within a minute — the same callsign, band and
// spotter — is taken once. Repeats through one intake are all taken: they are the
// station spotted again.
class SpotDuplicates {
 public:
  static constexpr Millis kWindow = 60000;
  // True when the spot is to be taken; it is remembered either way.
  bool take(const Spot& spot, Millis now);

 private:
  using Key = std::tuple<std::string, Band, std::string>;
  struct Heard {
    Millis at[2] = {-kWindow - 1, -kWindow - 1};  // by source
  };
  std::map<Key, Heard> heard_;
  Millis pruned_ = 0;
};

// The main window's title for the cluster's state.
std::string clusterConnectingTitle(std::string_view host);
std::string clusterConnectedTitle(std::string_view node);
std::string clusterRefusedTitle(std::string_view reason);
std::string clusterLostTitle(Millis wait);

}  // namespace core
