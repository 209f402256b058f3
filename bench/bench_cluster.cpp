// What reading one spot costs by each intake: Logger32's tagged record through the
// field readers, a cluster node's line through the session (line cutting, BEL bytes,
// the parser, the comment's code page), and the rule for a spot heard through both.
#include <benchmark/benchmark.h>

#include <string>

#include "core/cluster_session.h"
#include "core/spot.h"

namespace {

const std::string kRecord =
    "<DXSPOT_CALLSIGN:6>R1ABCD<DXSPOT_FREQ:7>14025.0<DXSPOT_COMMENT:18>CW 12 dB 22 WPM CQ"
    "<DXSPOT_SPOTTER:7>LZ4UX-#<APP_DXSPOT_TIME:4>1234";
const std::string kLine = "\aDX de LZ4UX-#:   14025.0  R1ABCD       CW 12 dB 22 WPM CQ      1234Z KN22\r\n";

void Logger32Record(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(core::readSpot(kRecord));
}
BENCHMARK(Logger32Record);

void ClusterLine(benchmark::State& state) {
  core::ClusterSession session({"UA1ABC", "", {}, 0});
  core::ClusterSession::Output out;
  session.received("login: ", out);
  for (auto _ : state) {
    out.spots.clear();
    session.received(kLine, out);
    benchmark::DoNotOptimize(out.spots.data());
  }
}
BENCHMARK(ClusterLine);

void SpotHeardTwiceRule(benchmark::State& state) {
  core::SpotDuplicates duplicates;
  core::Spot spot = core::readSpot(kRecord);
  core::Millis now = 0;
  for (auto _ : state) benchmark::DoNotOptimize(duplicates.take(spot, now += 1000));
}
BENCHMARK(SpotHeardTwiceRule);

}  // namespace

BENCHMARK_MAIN();
