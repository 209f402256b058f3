// A spot as the program handles it.
#pragma once

namespace core {

// Where a looked-up callsign came from: a spot record of Logger32, or the
// operator's typing (listed with the last spot's frequency and time).
enum class SpotOrigin { Logger32, Typed };

}  // namespace core
