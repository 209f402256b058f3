// Bytes from a cluster node, any bytes, through the line reader and a session: a
// spot comes out only with a callsign and a frequency that stood in the input as
// they are, and nothing the session sends is more than its own texts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/cluster_line.h"
#include "core/cluster_session.h"

namespace {

bool inside(std::string_view part, std::string_view whole) { return whole.find(part) != std::string_view::npos; }

bool callsignChars(std::string_view call) {
  for (char c : call)
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/')) return false;
  return call.size() >= 3 && call.size() <= 16;
}

// BEL bytes and CRs are dropped wherever they stand; the rest must be there.
void check(const core::Spot& spot, std::string_view input) {
  std::string kept;
  for (char c : input)
    if (c != '\a' && c != '\r') kept += c;
  if (!callsignChars(spot.call) || !inside(spot.freq, kept) || spot.freq.empty() || spot.time.size() != 5) std::abort();
  if (spot.source != core::SpotSource::Cluster) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const core::ClusterLine line = core::readClusterLine(input);
  if (line.kind == core::ClusterLineKind::Spot) check(line.spot, input);
  if (line.kind != core::ClusterLineKind::Spot && !line.spot.call.empty()) std::abort();

  core::ClusterSession session({"UA1ABC", "pw", {"set/skimmer"}, 30});
  // Fed in two pieces, split where the first byte says.
  const std::size_t cut = size ? data[0] % (size + 1) : 0;
  for (std::string_view piece : {input.substr(0, cut), input.substr(cut)}) {
    core::ClusterSession::Output out;
    session.received(piece, out);
    for (const core::Spot& spot : out.spots) check(spot, input);
    for (const std::string& text : out.send)
      if (text != "UA1ABC\r\n" && text != "pw\r\n" && text != "set/skimmer\r\n" && text != "sh/dx 30\r\n" && text != "\r\n")
        std::abort();
  }
  return 0;
}
