// Tooltips ("hints") for the controls of one form: one tooltip window, one tool
// per control.
#pragma once

#include <string>

#include "ui/control.h"

namespace ui {

class ToolTips {
 public:
  ToolTips() = default;
  ~ToolTips();
  ToolTips(const ToolTips&) = delete;
  ToolTips& operator=(const ToolTips&) = delete;

  // Shows `text` while the mouse rests on the control.
  void add(Control& control, const std::string& text);
  // The text the tooltip window holds for the control; empty when it has none.
  std::string text(const Control& control) const;

 private:
  HWND window_ = nullptr;
};

}  // namespace ui
