// The spot list on a contest evening: a station's repeats merged into its row,
// old rows removed, listing without taking the focus, and the alert sound.
#include <algorithm>

#include "app/VipU.h"

void TVip::ApplyOptions() {
  const bool ageing = ContestOptions.MaxAgeMinutes > 0;
  Timer1.setEnabled(ageing);
  if (ageing) Timer1Timer();
}

void TVip::Timer1Timer() {
  if (RowsMayMove()) AgeRows(Now());
}

void TVip::ShowWithoutFocus() {
  showWithoutActivating();
  // A window that is never activated writes its column titles itself.
  FormActivate();
}

bool TVip::RowsMayMove() const { return clicking_ == 0; }

void TVip::SpotArrives(const std::string& call, const std::string& rda) {
  const core::Millis now = Now();
  // During a click no row moves: a repeat takes a row of its own.
  if (RowsMayMove()) {
    AgeRows(now);
    const auto merged = spotRows_.mergeable(call, rda, now, core::minutesToMillis(ContestOptions.MergeMinutes));
    // So does a repeat of the row under the pointer, which stays.
    if (merged && RowUnderMouse(*merged + 1, *merged + 1) < 0) RemoveRows(*merged + 1, 1);
  }
  spotRows_.append(call, rda, now);
  if (ContestOptions.AlertSound &&
      soundThrottle_.allow(call, now, core::minutesToMillis(ContestOptions.AlertSoundMinutes)))
    Sound.play(ContestOptions.AlertSoundFile);
}

void TVip::AgeRows(core::Millis now) {
  const int aged = spotRows_.agedCount(now, core::minutesToMillis(ContestOptions.MaxAgeMinutes));
  if (aged == 0) return;
  // Grid rows 1 to `aged`, but the one under the pointer.
  const int kept = RowUnderMouse(1, aged);
  if (kept < 0) {
    RemoveRows(1, aged);
    return;
  }
  RemoveRows(kept + 1, aged - kept);
  RemoveRows(1, kept - 1);
}

void TVip::RemoveRows(int first, int count) {
  if (count <= 0) return;
  SG1.deleteRows(first, count);
  spotRows_.remove(first - 1, count);
  // The row last found under the mouse ("Show Map") follows its row, or goes with it.
  if (HitRow >= first + count)
    HitRow -= count;
  else if (HitRow >= first)
    HitRow = -1;
}

int TVip::RowUnderMouse(int first, int last) const {
  // Only a row in view can lie under the pointer: the system is asked only then.
  const int top = SG1.topRow(), bottom = top + SG1.visibleRowCount();  // with a row cut off below
  if (last < top || first > bottom || !visible()) return -1;
  POINT pt{};
  if (!GetCursorPos(&pt) || WindowFromPoint(pt) != SG1.handle()) return -1;
  ScreenToClient(SG1.handle(), &pt);
  const ui::GridCoord hit = SG1.mouseToCell(1, pt.y);
  return hit.valid() && hit.row >= std::max(first, 1) && hit.row <= last ? hit.row : -1;
}
