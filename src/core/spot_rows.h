// The spot list's rows as merging and ageing see them: for every data row, in the
// grid's order (oldest first), its station (callsign and district) and when it took
// its place; an index from a station to its newest row. Every operation costs the
// same whatever the number of rows, but for removing a row from the middle, which
// moves the rows on its shorter side.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace core {

// Milliseconds of a steady clock.
using Millis = std::int64_t;
constexpr Millis minutesToMillis(int minutes) { return Millis(minutes) * 60000; }

class SpotRows {
 public:
  int size() const { return int(rows_.size()); }

  // The row (counted from 0) of the station's newest row when it took its place at
  // most `window` before now; nothing when there is none, or the window is 0.
  // Callsign and district compare with a–z in either case.
  std::optional<int> mergeable(std::string_view call, std::string_view district, Millis now, Millis window) const;
  // How many rows took their place more than maxAge before now; they are the
  // first ones, since rows only ever join at the end. 0 when maxAge is 0 or less.
  int agedCount(Millis now, Millis maxAge) const;

  // A row of the station taking its place at the end, now; one that is not
  // `mergeable` is never found by mergeable().
  void append(std::string_view call, std::string_view district, Millis now, bool mergeable = true);
  // Removes `count` rows from `first` on; rows outside the list are ignored.
  void remove(int first, int count);
  void clear();

 private:
  struct Row {
    std::uint64_t serial;  // grows with every row appended: the rows are in its order
    Millis placed;
    std::string station;
  };
  static std::string stationKey(std::string_view call, std::string_view district);
  // Where the row with that serial is now.
  std::optional<int> position(std::uint64_t serial) const;

  std::deque<Row> rows_;
  std::unordered_map<std::string, std::uint64_t> newest_;  // station -> serial of its newest row
  std::uint64_t nextSerial_ = 0;
};

}  // namespace core
