// The progress count on arbitrary district lists and confirmations: its figures add
// up, every code is judged by its last line, the confirmed codes are
// no more than the title counts, and the clipboard table keeps six cells a row.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>

#include "core/award_progress.h"
#include "core/confirmations.h"
#include "core/district_list.h"
#include "core/districts.h"
#include "core/text_file.h"

namespace {
void check(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first zero byte parts the district list from the confirmations.
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::size_t split = std::min(text.find('\0'), text.size());
  const std::string_view list = text.substr(0, split);
  const std::string_view confirmations = split < text.size() ? text.substr(split + 1) : std::string_view();
  const core::AwardProgress p = core::countProgress(list, confirmations);

  // Regions with no active district are only counted: their confirmed deleted
  // districts are in the totals, not in a row.
  core::ProgressTotals sum;
  std::string previous;
  for (const core::RegionProgress& r : p.regions) {
    check(r.letters.size() == 2 && (previous.empty() || previous < r.letters));
    previous = r.letters;
    check(!r.name.empty() && r.active > 0 && r.confirmed <= r.active && int(r.needed.size()) == r.active - r.confirmed);
    for (const core::NeededDistrict& d : r.needed) check(d.code.size() == 5 && d.code.substr(0, 2) == r.letters);
    sum.active += r.active;
    sum.confirmed += r.confirmed;
    sum.needed += int(r.needed.size());
    sum.confirmedDeleted += r.confirmedDeleted;
  }
  check(sum.active == p.totals.active && sum.confirmed == p.totals.confirmed && sum.needed == p.totals.needed);
  check(sum.confirmedDeleted <= p.totals.confirmedDeleted);
  if (p.totals.retiredRegions == 0) check(sum.confirmedDeleted == p.totals.confirmedDeleted);

  // Each code of the list counts as active when its last line does not retire it,
  // and a region is retired when none of its codes is active; taken line by line
  // (the tabbed form's rule).
  if (core::districtListForm(list) == core::DistrictListForm::Tabbed) {
    std::map<std::string_view, bool> valid;
    core::forEachLine(list, [&](std::string_view line) {
      if (line.size() < 5 || line[2] != '-') return;
      const std::string_view description = line.size() > 6 ? line.substr(6) : std::string_view();
      valid[line.substr(0, 5)] = description.find("deleted") == std::string_view::npos;
    });
    std::map<std::string_view, bool> regionActive;
    for (const auto& [code, active] : valid) regionActive[code.substr(0, 2)] |= active;
    check(std::count_if(valid.begin(), valid.end(), [](const auto& v) { return v.second; }) == p.totals.active);
    check(std::count_if(regionActive.begin(), regionActive.end(), [](const auto& r) { return !r.second; }) ==
          p.totals.retiredRegions);
  }

  const int counted = p.totals.confirmed + p.totals.confirmedDeleted + int(p.unknownCodes.size());
  check(counted <= core::countConfirmed(core::confirmationsList(confirmations)));

  const std::string table = core::progressTable(p.regions);
  check(std::count(table.begin(), table.end(), '\n') == std::ptrdiff_t(p.regions.size() + 1));
  check(std::count(table.begin(), table.end(), '\t') == std::ptrdiff_t(5 * (p.regions.size() + 1)));
  return 0;
}
