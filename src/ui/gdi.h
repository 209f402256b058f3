// Small GDI helpers: colours, brushes and fonts with owned handles.
#pragma once

#include <memory>
#include <string>

#include "core/color.h"
#include "ui/win.h"

namespace ui {

// Resolves system colours (0xFF0000nn) through GetSysColor.
COLORREF colorRef(core::Color c);

struct GdiDeleter {
  void operator()(HGDIOBJ h) const {
    if (h) DeleteObject(h);
  }
};
using GdiHandle = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, GdiDeleter>;

// A solid brush and a solid pen of a colour, from one cache the program shares: no
// brush or pen is made per drawing. A system colour is taken as the system has it
// now, so after the system's colours change the new ones are drawn. The handles
// are for use at once, not to keep.
HBRUSH solidBrush(core::Color c);
HPEN solidPen(int width, core::Color c);

// A font as a window describes it. `height` is the character height in pixels.
struct Font {
  std::string name = "MS Sans Serif";
  int height = 11;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  core::Color color = core::clWindowText;

  // Size in points at the screen's resolution, and back.
  int size() const;
  void setSize(int points);

  GdiHandle create() const;
  bool operator==(const Font&) const = default;
};

// A regular font of a face and a size in points.
inline Font pointsFont(const std::string& name, int points) {
  Font f{.name = name};
  f.setSize(points);
  return f;
}

}  // namespace ui
