#include "core/press_journal.h"

#include <algorithm>
#include <iterator>

namespace core {

namespace {

std::uint64_t lowestTag(const PressJournal::View& view, std::uint64_t lowest) {
  for (std::uint64_t tag : view.rows)
    if (tag != 0) lowest = std::min(lowest, tag);
  return lowest;
}

}  // namespace

void PressJournal::viewChanged(Millis at, View view) {
  if (!views_.empty() && views_.back().view == view) return;
  lowestNamed_ = lowestTag(view, lowestNamed_);
  // Several changes of one moment: the last one stands for them.
  if (!views_.empty() && views_.back().at >= at)
    views_.back().view = std::move(view);
  else
    views_.push_back({at, std::move(view)});
  // Now and then, not at every change: dropping costs a pass over what is kept.
  if (views_.front().at < at - 2 * kRemember || views_.size() > kMostViews)
    forget(views_.size() > kMostViews ? views_[views_.size() / 2].at : at - kRemember);
}

void PressJournal::rowGone(Millis at, std::uint64_t tag, Cells cells) {
  if (!mayName(tag)) return;
  gone_.push_back({at, tag, std::move(cells)});
}

std::optional<std::uint64_t> PressJournal::tagAt(std::optional<Millis> at, int y) const {
  if (views_.empty()) return std::uint64_t(0);
  // The last view recorded before the press, or in its millisecond.
  const auto after = at ? std::upper_bound(views_.begin(), views_.end(), *at,
                                           [](Millis t, const Entry& e) { return t < e.at; })
                        : views_.end();
  const View& view = (after == views_.begin() ? after : std::prev(after))->view;
  const int pitch = std::max(1, view.rowPitch);
  if (y < pitch) return std::nullopt;
  const std::size_t index = std::size_t((y - pitch) / pitch);
  return index < view.rows.size() ? view.rows[index] : std::uint64_t(0);
}

const PressJournal::Cells* PressJournal::goneRow(std::uint64_t tag) const {
  for (auto it = gone_.rbegin(); it != gone_.rend(); ++it)
    if (it->tag == tag) return &it->cells;
  return nullptr;
}

void PressJournal::forget(Millis before) {
  while (views_.size() > 1 && views_[1].at <= before) views_.pop_front();
  lowestNamed_ = UINT64_MAX;
  for (const Entry& e : views_) lowestNamed_ = lowestTag(e.view, lowestNamed_);
  std::erase_if(gone_, [&](const Gone& g) { return g.tag < lowestNamed_; });
}

}  // namespace core
