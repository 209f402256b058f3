#include "core/spot_rows.h"

#include <algorithm>

#include "core/text.h"

namespace core {

std::string SpotRows::stationKey(std::string_view call, std::string_view district) {
  std::string key = toUpperAscii(call);
  key += '\t';
  key += toUpperAscii(district);
  return key;
}

std::optional<int> SpotRows::position(std::uint64_t serial) const {
  const auto at = std::lower_bound(rows_.begin(), rows_.end(), serial,
                                   [](const Row& row, std::uint64_t s) { return row.serial < s; });
  if (at == rows_.end() || at->serial != serial) return std::nullopt;
  return int(at - rows_.begin());
}

std::optional<int> SpotRows::mergeable(std::string_view call, std::string_view district, Millis now,
                                       Millis window) const {
  if (window <= 0) return std::nullopt;
  const auto found = newest_.find(stationKey(call, district));
  if (found == newest_.end()) return std::nullopt;
  const auto row = position(found->second);
  if (!row || now - rows_[std::size_t(*row)].placed > window) return std::nullopt;
  return row;
}

int SpotRows::agedCount(Millis now, Millis maxAge) const {
  if (maxAge <= 0) return 0;
  const auto firstYoung = std::partition_point(rows_.begin(), rows_.end(),
                                               [&](const Row& row) { return now - row.placed > maxAge; });
  return int(firstYoung - rows_.begin());
}

void SpotRows::append(std::string_view call, std::string_view district, Millis now, bool mergeable) {
  std::string station = stationKey(call, district);
  const std::uint64_t serial = nextSerial_++;
  if (mergeable) newest_[station] = serial;
  rows_.push_back({serial, now, std::move(station)});
}

void SpotRows::remove(int first, int count) {
  first = std::max(first, 0);
  const int last = std::min(first + std::max(count, 0), size());
  if (first >= last) return;
  for (int i = first; i < last; ++i) {
    const Row& row = rows_[std::size_t(i)];
    // An older row of the station does not become its newest: it would be merged
    // into after its own time.
    if (const auto found = newest_.find(row.station); found != newest_.end() && found->second == row.serial)
      newest_.erase(found);
  }
  rows_.erase(rows_.begin() + first, rows_.begin() + last);
}

void SpotRows::clear() {
  rows_.clear();
  newest_.clear();
}

}  // namespace core
