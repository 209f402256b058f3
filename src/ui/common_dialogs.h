// The system's font and colour dialogs. Each dialog object remembers its last
// confirmed choice and opens with it. Tests install a hook that plays the operator
// instead of showing the modal dialog: it sees the choice the dialog opens with,
// may change it, and answers whether the operator confirmed.
#pragma once

#include <functional>

#include "core/color.h"
#include "ui/gdi.h"
#include "ui/win.h"

namespace ui {

class FontDialog {
 public:
  // The choice the dialog opens with (at first "MS Sans Serif", 8 points at the
  // screen's resolution), and after a confirmed run the new choice.
  Font font = pointsFont("MS Sans Serif", 8);
  // True when the operator confirmed; font then holds the choice.
  bool execute(HWND owner);
};

class ColorDialog {
 public:
  core::Color color = core::clBlack;
  bool execute(HWND owner);
};

using FontDialogHook = std::function<bool(Font& font)>;
using ColorDialogHook = std::function<bool(core::Color& color)>;
void setFontDialogHook(FontDialogHook hook);
void setColorDialogHook(ColorDialogHook hook);

}  // namespace ui
