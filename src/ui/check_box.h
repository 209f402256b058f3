// Check box that takes its parent's background colour.
#pragma once

#include <functional>
#include <string>

#include "ui/control.h"

namespace ui {

class CheckBox : public Control {
 public:
  void create(Control* parent, int left, int top, int width, int height, const std::string& caption);
  bool checked() const;
  void setChecked(bool checked);
  std::function<void()> OnClick;

 protected:
  bool onCommand(WORD code) override;
  HBRUSH onCtlColor(HDC dc) override;
};

}  // namespace ui
