// Push button.
#pragma once

#include <functional>
#include <string>

#include "ui/control.h"

namespace ui {

class Button : public Control {
 public:
  void create(Control* parent, int left, int top, int width, int height, const std::string& caption);
  void click();
  std::function<void()> OnClick;

 protected:
  bool onCommand(WORD code) override;
};

}  // namespace ui
