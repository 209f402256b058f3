// System colours (0xFF0000nn) turned into RGB through a table that the caller
// fills: the window layer from the running system, tests with fixed values.
#pragma once

#include <array>

#include "core/color.h"

namespace core {

class SystemColors {
 public:
  static constexpr int kCount = 31;  // COLOR_SCROLLBAR .. COLOR_MENUBAR

  // Starts with the usual Windows values, so that a table nobody filled still
  // gives a sensible button face.
  SystemColors();

  // Indexes outside the table are ignored.
  void set(int index, Color rgbValue);

  // An RGB colour keeps its low three bytes; a system colour takes its table entry,
  // black for an index the table does not have (as the system does).
  Color resolve(Color c) const;

 private:
  std::array<Color, kCount> table_{};
};

}  // namespace core
