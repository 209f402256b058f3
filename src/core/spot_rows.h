// The spot list's rows as merging and ageing see them: for every data row, in the
// grid's order (oldest listed first), its station (callsign, district and band),
// when it was listed, when its last spot was made (the spot's own time when the
// record carries one) and whether a skimmer made it, and how many spots it merged
// since when; an index from a station to its newest row. Every operation costs the
// same whatever the number of rows, up to a binary search, but for removing a row
// from the middle, which moves the rows on its shorter side.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/band.h"
#include "core/spot_time.h"

namespace core {

// How old a row may grow before it goes, by what made its last spot; 0: never.
struct AgeLimits {
  Millis normal = 0;
  Millis skimmer = 0;
  Millis of(bool fromSkimmer) const { return fromSkimmer ? skimmer : normal; }
  bool any() const { return normal > 0 || skimmer > 0; }
};

// A spot as the rows take it. `made` and `time` come from stampSpot. A callsign the
// operator typed is listed with another spot's frequency and time: its row is never
// merged into.
struct ListedSpot {
  std::string_view call, district;
  Band band = Band::None;
  bool skimmer = false;
  Millis made = 0;        // steady clock
  std::string_view time;  // "HH:MM"
  bool typed = false;
};

// A spot made longer ago than its limit (a cluster's backlog at connect): it would
// go at the next ageing, so it is better not listed at all.
inline bool tooOldToList(const ListedSpot& spot, Millis now, const AgeLimits& limits) {
  const Millis limit = limits.of(spot.skimmer);
  return limit > 0 && now - spot.made > limit;
}

// The hover title's note on a row that merged repeats: "· 7 spots since 18:04"
// (the dot is Windows-1251's middle dot); nothing for a row of one spot.
std::string spotsSinceText(int spots, std::string_view firstTime);

class SpotRows {
 public:
  int size() const { return int(rows_.size()); }

  // The row (counted from 0) of the spot's station, its newest one, when it was
  // listed at most `window` before now; nothing when there is none, or the window
  // is 0. Callsign and district compare with a–z in either case.
  std::optional<int> mergeable(const ListedSpot& spot, Millis now, Millis window) const;

  // The rows, in ascending order, whose last spot was made longer ago than the
  // limit for its kind. Rows age out of their order (a backlog spot arrives after
  // fresher ones), so they are taken from a queue by the time their spot was
  // made; nothing aged costs a glance. A row reported and not removed (the one
  // under the pointer) is reported again next time, while it stays aged.
  std::vector<int> aged(Millis now, const AgeLimits& limits);

  // A row of the spot taking its place at the end, listed now. When the spot merges
  // into `mergedRow`, the new row carries on that row's count and first time; the
  // caller then removes that row (or keeps it, under the pointer). A row's time is
  // its newest spot's: a late spot (a node's backlog, a slow relay) made before the
  // merged row's counts, but the row keeps that row's time, and append answers false
  // so that the caller keeps its frequency and time texts too.
  bool append(const ListedSpot& spot, Millis now, std::optional<int> mergedRow = std::nullopt);
  // Removes `count` rows from `first` on; rows outside the list are ignored.
  void remove(int first, int count);
  void clear();

  // How many spots the row took, itself and those it merged; the time of the first.
  int spotCount(int row) const { return rows_[std::size_t(row)].spots; }
  std::string_view firstTime(int row) const { return rows_[std::size_t(row)].texts->firstTime; }

 private:
  struct Texts {
    std::string firstTime;
    std::string station;
  };
  // Small, so that a row taken from the middle of a long list shifts the rows
  // below it cheaply: its texts stay where they were allocated.
  struct Row {
    std::uint64_t serial;  // grows with every row appended: the rows are in its order
    Millis placed;         // listed
    Millis made;           // its last spot made
    bool skimmer;
    int spots;
    std::unique_ptr<const Texts> texts;
  };
  // A row waiting to age, by the time its spot was made.
  struct Waiting {
    Millis made;
    std::uint64_t serial;
    bool operator>(const Waiting& other) const { return made > other.made; }
  };
  static std::string stationKey(const ListedSpot& spot);
  // Where the row with that serial is now.
  std::optional<int> position(std::uint64_t serial) const;
  void wait(const Row& row);
  // Heaps keep the entries of removed rows until they come up: once these
  // outnumber the rows, the heaps are made again from the rows.
  void dropRemoved(int removed);

  std::deque<Row> rows_;
  std::unordered_map<std::string, std::uint64_t> newest_;  // station -> serial of its newest row
  std::uint64_t nextSerial_ = 0;
  std::vector<Waiting> waiting_[2];     // min-heaps: rows of operators' spots, of skimmers' spots
  std::vector<std::uint64_t> expired_;  // taken from the heaps as aged, not yet removed
  std::size_t removedWaiting_ = 0;      // heap entries of rows no longer there, at most
};

}  // namespace core
