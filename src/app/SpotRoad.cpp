#include "app/SpotRoad.h"

#include <utility>

#include "app/Radio.h"
#include "app/Unit1.h"
#include "core/cluster_session.h"
#include "ui/application.h"
#include "ui/win.h"

namespace {

struct Road {
  core::SpotDuplicates duplicates;
  std::function<void(const core::Spot&)> taker;
};

Road& road() {
  static Road r;
  return r;
}

}  // namespace

void DeliverSpot(const core::Spot& spot) {
  Road& r = road();
  if (!r.duplicates.take(spot, core::Millis(GetTickCount64()))) return;
  NoteSpotComment(spot.call, spot.freq, spot.comment);  // "CW" there tunes its row in CW
  // The spot is judged, listed, logged, sounded and spoken now; the windows show it
  // at their pace: at once at a human pace, a few times a second under a flood.
  const ui::PacedChanges paced;
  if (r.taker)
    r.taker(spot);
  else if (Form1)
    Form1->TakeSpot(spot);
}

void SetSpotTaker(std::function<void(const core::Spot&)> taker) {
  road() = Road{{}, std::move(taker)};
}
