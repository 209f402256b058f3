// The spot list on a contest evening: a station's repeats merged into its row,
// old rows removed, listing without taking the focus, and the alert sound; and the
// rule that nothing moves under the operator's hand.
#include <algorithm>
#include <limits>
#include <vector>

#include "app/Unit2.h"
#include "app/VipU.h"

void TVip::ApplyOptions() {
  const bool ageing = core::ageLimits(ContestOptions).any();
  Timer1.setEnabled(ageing);
  if (ageing) Timer1Timer();
}

void TVip::Timer1Timer() { TidyRows(); }

void TVip::ShowWithoutFocus() {
  showWithoutActivating();
  // A window that is never activated writes its column titles itself.
  FormActivate();
}

bool TVip::HandOnGrid() {
  // A click sequence on its way holds the rows as the hand does (the row pressed
  // with the keyboard or by a reader, the pointer gone meanwhile); they move once it
  // is over (HoldForSequence).
  const bool sequence = Form2 && Form2->Busy();
  // The pointer's comings and goings are watched when the program is idle; the
  // system is asked only when they say it may rest on the grid.
  if (!pointerOnGrid_ || !visible()) return sequence;
  POINT pt{};
  if (!GetCursorPos(&pt) || WindowFromPoint(pt) != SG1.handle()) pointerOnGrid_ = false;
  return pointerOnGrid_ || sequence;
}

void TVip::HoldForSequence() {
  if (Form2 && Form2->Busy()) Form2->WhenIdle([this] { TidyRows(); });
}

std::optional<TVip::KeptTexts> TVip::SpotArrives(const core::ListedSpot& spot, core::Millis now, const ListedAs& as,
                                                  bool hand) {
  AgeRows(now, hand);
  const auto merged = as.origin == core::SpotOrigin::Logger32
                          ? spotRows_.mergeable(spot, now, core::minutesToMillis(ContestOptions.MergeMinutes))
                          : std::nullopt;
  // The new row carries the merged row's count on; the rows up to the merged one
  // keep their places, so it goes (or waits, under the operator's hand) after. A
  // late spot does not turn the row back: it keeps its frequency and time.
  std::optional<KeptTexts> kept;
  if (!spotRows_.append(spot, now, merged)) kept = KeptTexts{SG1.cell(1, *merged + 1), SG1.cell(3, *merged + 1)};
  if (merged) {
    const int row = *merged + 1;
    mergedSelected_ = SG1.current().row == row;
    if (Held(row, hand))
      heldStale_.push_back(SG1.rowTag(row));
    else
      RemoveRows(row, 1);
  }
  // A new district sounds, however recently the station did in another; what the
  // operator types never does, nor a district already worked (no alarm for it).
  if (ContestOptions.AlertSound && as.origin == core::SpotOrigin::Logger32 && as.verdict != core::Verdict::Worked &&
      soundThrottle_.allow(spot.call, spot.district, now, core::minutesToMillis(ContestOptions.AlertSoundMinutes)))
    Sound.play(ContestOptions.AlertSoundFile);
  return kept;
}

void TVip::AgeRows(core::Millis now, bool hand) {
  // Rows age out of their order (a backlog's spot is older than the rows before
  // it). Under the operator's hand only those above the view go.
  const std::vector<int> aged = spotRows_.aged(now, core::ageLimits(ContestOptions));  // data rows, ascending
  const int keepFrom = hand ? SG1.topRow() : std::numeric_limits<int>::max();
  // From the last, a run of neighbours in one removal: the earlier rows keep their
  // places meanwhile.
  for (std::size_t end = aged.size(); end > 0;) {
    std::size_t begin = end - 1;
    while (begin > 0 && aged[begin - 1] + 1 == aged[begin]) --begin;
    const int first = aged[begin] + 1, last = std::min(aged[end - 1] + 1, keepFrom - 1);
    if (first <= last) RemoveRows(first, last - first + 1);
    end = begin;
  }
}

void TVip::TidyRows() {
  const bool hand = HandOnGrid();
  AgeRows(Now(), hand);
  for (auto it = heldStale_.begin(); it != heldStale_.end();) {
    const int row = SG1.rowWithTag(*it);
    if (row >= 0 && Held(row, hand)) {
      ++it;
      continue;
    }
    if (row >= 0) RemoveRows(row, 1);
    it = heldStale_.erase(it);
  }
  if (!hand && viewBehind_) KeepNewestInView();
}

void TVip::KeepNewestInView() {
  viewBehind_ = false;
  // Once the rows no longer fit, the newest spot is the lowest row in view and the
  // empty slot lies just below it. The rows fit when the newest lies wholly in view:
  // the title row, the grid lines and the border take their share of the panel.
  const int newest = SG1.rowCount() - 2;
  if (newest >= SG1.topRow() + SG1.visibleRowCount())
    SG1.setTopRow(std::max(1, SG1.rowCount() - SG1.visibleRowCount() - 1));
}

void TVip::RemoveRows(int first, int count) {
  first = std::max(first, 1);
  count = std::min(count, SG1.rowCount() - 1 - first);  // the empty slot stays
  if (count <= 0) return;
  // A press still in the queue may name a row that goes now.
  const ULONGLONG at = GetTickCount64();
  for (int row = first; row < first + count; ++row)
    if (const std::uint64_t tag = SG1.rowTag(row); pressJournal_.mayName(tag))
      pressJournal_.rowGone(core::Millis(at), tag, {SG1.cell(0, row), SG1.cell(1, row), SG1.cell(2, row)});
  for (int row = first + count - 1; row >= first; --row) {
    rowVerdicts_.erase(SG1.rowTag(row));
    rowSpotters_.erase(SG1.rowTag(row));
    SG1.notifyRow(EVENT_OBJECT_DESTROY, row);
  }
  SG1.deleteRows(first, count);
  spotRows_.remove(first - 1, count);
  // The row last found under the mouse ("Show Map") follows its row, or goes with it.
  if (HitRow >= first + count)
    HitRow -= count;
  else if (HitRow >= first)
    HitRow = -1;
}

void TVip::RecordView() {
  pressJournal_.viewChanged(core::Millis(GetTickCount64()), {SG1.topRow(), SG1.rowPitch(), SG1.tagsInView()});
}

std::optional<TVip::SpotClick> TVip::PressedRow(std::optional<ULONGLONG> at, int y) const {
  const auto tag = pressJournal_.tagAt(at ? std::optional<core::Millis>(core::Millis(*at)) : std::nullopt, y);
  if (!tag) return std::nullopt;
  if (*tag == 0) return SpotClick{};  // the empty slot, or below the rows
  if (const int row = SG1.rowWithTag(*tag); row >= 0)
    return SpotClick{SG1.cell(0, row), SG1.cell(1, row), SG1.cell(2, row), row};
  if (const auto* cells = pressJournal_.goneRow(*tag); cells && cells->size() == 3)
    return SpotClick{(*cells)[0], (*cells)[1], (*cells)[2]};
  return SpotClick{};
}
