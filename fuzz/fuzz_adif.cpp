// Any bytes as a worked log: the reader never fails, and what it reports holds
// together with the bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/adif_log.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view adif(reinterpret_cast<const char*>(data), size);
  const core::WorkedLog log = core::readWorkedLog(adif);

  // A record ends at an <EOR>, or is the last one; a district needs a record.
  if (log.districtCount() > log.qsoCount()) std::abort();
  if (log.qsoCount() > size / 5 + 1) std::abort();
  if (const auto& problem = log.problem()) {
    const auto lines =
        std::size_t(std::count(adif.begin(), adif.end(), '\n') + std::count(adif.begin(), adif.end(), '\r'));
    if (problem->line < 1 || problem->line > lines + 1 || problem->what.empty()) std::abort();
  } else if (log.qsoCount() == 0 && adif.find('<') == std::string_view::npos) {
    std::abort();  // bytes without a tag are no log, and say so
  }

  // Whatever five bytes are asked for, a district worked on a band was worked.
  for (std::size_t at = 0; at + 5 <= size && at < 64; ++at) {
    const std::string_view district = adif.substr(at, 5);
    const bool worked = log.worked(district);
    if (worked != (log.lastQso(district) != nullptr)) std::abort();
    for (int band = 0; band < core::kBandCount; ++band)
      if (log.workedOn(district, core::Band(band)) && !worked) std::abort();
  }
  (void)core::workedLogProblemText("log.adi", log.problem().value_or(core::AdifProblem{}));
  return 0;
}
