#include "core/spot_rows.h"

#include <algorithm>
#include <functional>

#include "core/text.h"

namespace core {

std::string spotsSinceText(int spots, std::string_view firstTime) {
  if (spots < 2) return {};
  std::string text = "\xB7 " + std::to_string(spots) + " spots";
  if (!firstTime.empty()) {
    text += " since ";
    text += firstTime;
  }
  return text;
}

std::string SpotRows::stationKey(const ListedSpot& spot) {
  std::string key = toUpperAscii(spot.call);
  key += '\t';
  key += toUpperAscii(spot.district);
  key += '\t';
  key += bandName(spot.band);
  return key;
}

std::optional<int> SpotRows::position(std::uint64_t serial) const {
  const auto at = std::lower_bound(rows_.begin(), rows_.end(), serial,
                                   [](const Row& row, std::uint64_t s) { return row.serial < s; });
  if (at == rows_.end() || at->serial != serial) return std::nullopt;
  return int(at - rows_.begin());
}

std::optional<int> SpotRows::mergeable(const ListedSpot& spot, Millis now, Millis window) const {
  if (window <= 0) return std::nullopt;
  const auto found = newest_.find(stationKey(spot));
  if (found == newest_.end()) return std::nullopt;
  const auto row = position(found->second);
  if (!row || now - rows_[std::size_t(*row)].placed > window) return std::nullopt;
  return row;
}

void SpotRows::wait(const Row& row) {
  auto& heap = waiting_[row.skimmer];
  heap.push_back({row.made, row.serial});
  std::push_heap(heap.begin(), heap.end(), std::greater<>());
}

std::vector<int> SpotRows::aged(Millis now, const AgeLimits& limits) {
  for (const bool skimmer : {false, true}) {
    const Millis limit = limits.of(skimmer);
    auto& heap = waiting_[skimmer];
    while (limit > 0 && !heap.empty() && now - heap.front().made > limit) {
      const std::uint64_t serial = heap.front().serial;
      std::pop_heap(heap.begin(), heap.end(), std::greater<>());
      heap.pop_back();
      if (position(serial))
        expired_.push_back(serial);
      else if (removedWaiting_ > 0)
        --removedWaiting_;
    }
  }
  std::vector<int> rows;
  // The rows taken out before stay out while they are there and still aged; one
  // whose limit has grown since waits again.
  std::erase_if(expired_, [&](std::uint64_t serial) {
    const auto at = position(serial);
    if (!at) {
      if (removedWaiting_ > 0) --removedWaiting_;  // counted as waiting when it went
      return true;
    }
    const Row& row = rows_[std::size_t(*at)];
    const Millis limit = limits.of(row.skimmer);
    if (limit <= 0 || now - row.made <= limit) {
      wait(row);
      return true;
    }
    rows.push_back(*at);
    return false;
  });
  std::sort(rows.begin(), rows.end());
  return rows;
}

bool SpotRows::append(const ListedSpot& spot, Millis now, std::optional<int> mergedRow) {
  auto texts = std::make_unique<Texts>(Texts{std::string(spot.time), stationKey(spot)});
  int spots = 1;
  Millis made = spot.made;
  bool skimmer = spot.skimmer;
  bool newest = true;
  if (mergedRow && *mergedRow >= 0 && *mergedRow < size()) {
    const Row& merged = rows_[std::size_t(*mergedRow)];
    spots = merged.spots + 1;
    texts->firstTime = merged.texts->firstTime;
    if (merged.made > spot.made) {
      newest = false;
      made = merged.made;
      skimmer = merged.skimmer;
    }
  }
  Row row{nextSerial_++, now, made, skimmer, spots, std::move(texts)};
  if (!spot.typed) newest_[row.texts->station] = row.serial;
  wait(row);
  rows_.push_back(std::move(row));
  return newest;
}

void SpotRows::remove(int first, int count) {
  first = std::max(first, 0);
  const int last = std::min(first + std::max(count, 0), size());
  if (first >= last) return;
  for (int i = first; i < last; ++i) {
    const Row& row = rows_[std::size_t(i)];
    // An older row of the station does not become its newest: it would be merged
    // into after its own time.
    if (const auto found = newest_.find(row.texts->station); found != newest_.end() && found->second == row.serial)
      newest_.erase(found);
  }
  rows_.erase(rows_.begin() + first, rows_.begin() + last);
  dropRemoved(last - first);
}

void SpotRows::dropRemoved(int removed) {
  removedWaiting_ += std::size_t(removed);
  if (removedWaiting_ <= rows_.size() + 64) return;
  for (auto& heap : waiting_) heap.clear();
  expired_.clear();
  for (const Row& row : rows_) waiting_[row.skimmer].push_back({row.made, row.serial});
  for (auto& heap : waiting_) std::make_heap(heap.begin(), heap.end(), std::greater<>());
  removedWaiting_ = 0;
}

void SpotRows::clear() {
  rows_.clear();
  newest_.clear();
  for (auto& heap : waiting_) heap.clear();
  expired_.clear();
  removedWaiting_ = 0;
}

}  // namespace core
