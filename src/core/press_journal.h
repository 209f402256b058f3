// Which row stood under a point of the spot list at a given moment. The list moves
// (rows age out, merge away, new ones scroll it) while a press may wait in the queue
// behind spots or a download; the press carries when and where it was made, and the
// journal names the row that stood there then, also one removed since.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/spot_rows.h"

namespace core {

class PressJournal {
 public:
  using Cells = std::vector<std::string>;

  // What the view showed: its first data row, the height of a row with its grid line
  // (the title row has the same), and the tags of the data rows from the top down;
  // tag 0 for a row without one (the empty slot).
  struct View {
    int top = 1;
    int rowPitch = 1;
    std::vector<std::uint64_t> rows;
    bool operator==(const View&) const = default;
  };

  // The view as it stands from `at` on. Times never go back.
  void viewChanged(Millis at, View view);
  // A row removed at `at`, with its cells: kept while some view of the journal may
  // name it (ask mayName first, to copy nothing for a row no view can name).
  void rowGone(Millis at, std::uint64_t tag, Cells cells);
  bool mayName(std::uint64_t tag) const { return tag != 0 && tag >= lowestNamed_; }

  // The tag of the row that stood under y (client pixels) at `at`, or now when
  // there is no time: nothing on the title row, 0 below the rows or on a row without
  // a tag. A view recorded in the same millisecond as the press counts as coming
  // before it (which came first cannot be told). Before the first view kept, the
  // oldest one answers.
  std::optional<std::uint64_t> tagAt(std::optional<Millis> at, int y) const;
  // The cells of a row removed while the journal could still name it.
  const Cells* goneRow(std::uint64_t tag) const;

  // A press waits at most this long in practice (a download's whole bound, and
  // more); what is older is dropped now and then, so that the journal's size and its
  // cost per change stay bounded on a long evening.
  static constexpr Millis kRemember = 120000;
  static constexpr std::size_t kMostViews = 8192;
  std::size_t views() const { return views_.size(); }
  std::size_t goneRows() const { return gone_.size(); }

 private:
  struct Entry {
    Millis at;
    View view;
  };
  struct Gone {
    Millis at;
    std::uint64_t tag;
    Cells cells;
  };
  // Drops the views older than `before` (but the one in force then) and the gone
  // rows no view names any more.
  void forget(Millis before);

  std::deque<Entry> views_;
  std::deque<Gone> gone_;
  // The smallest tag a kept view names; a row gone with a smaller one is not needed.
  std::uint64_t lowestNamed_ = UINT64_MAX;
};

}  // namespace core
