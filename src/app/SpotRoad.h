// The one road from an intake to the main window. Logger32's link and the DX
// cluster each hand their spots over here, one at a time, on the window thread;
// neither knows the other, and the main window sees only the spot's own fields.
#pragma once

#include <functional>

#include "core/spot.h"

// Hands the spot to the main window's TakeSpot, unless the other intake brought the
// same spot (callsign, band, spotter) within the last minute. What it changes on the
// screen is drawn at the windows' pace (ui::PacedChanges).
void DeliverSpot(const core::Spot& spot);

// Where the spots go instead of the main window (tests that watch the road); an
// empty function restores the main window. The rule for a spot heard twice starts
// afresh.
void SetSpotTaker(std::function<void(const core::Spot&)> taker);
