// What one line from a DX cluster node means: a spot (the live "DX de" layout or the
// "sh/dx" answer's), a prompt, a refusal, a bump by another session of our call, or
// nothing of ours. A line yields a spot only when every field of it reads right: a
// callsign or frequency in doubt is no spot at all.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/spot.h"

namespace core {

// Longer lines are no node's spot lines; they are skipped whole.
constexpr std::size_t kMaxClusterLine = 300;

enum class ClusterLineKind {
  Other,           // a greeting, an answer, a prompt line, garbage: nothing to do
  Spot,            // `spot` holds it
  LoginPrompt,     // "login: ", "Please enter your call:"
  PasswordPrompt,  // "password: "
  MorePrompt,      // "Press Enter to continue": the node pages
  Refusal,         // "Sorry ...": the node will not have our call
  Bump,            // another session of our call took over
};

struct ClusterLine {
  ClusterLineKind kind = ClusterLineKind::Other;
  Spot spot;           // for Spot: source Cluster
  std::string reason;  // for Refusal and Bump: the node's own words, trimmed
};

// One line as the node sent it, without its line end (a CR left over, BEL bytes and
// blanks around are ignored).
ClusterLine readClusterLine(std::string_view line);

// The text a prompt without a line end ends with: a login, password or paging prompt
// (Other when the pending text is none of them).
ClusterLineKind promptKind(std::string_view pending);

// A comment from a stranger: UTF-8 when it is valid UTF-8, else taken as
// Windows-1251; the result is Windows-1251 with a-z upper-cased, as the spot
// records' comments are.
std::string clusterComment(std::string_view raw);

}  // namespace core
