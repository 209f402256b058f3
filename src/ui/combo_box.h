// A drop-down list of fixed choices: the operator picks one, the program hears of it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/control.h"

namespace ui {

class ComboBox : public Control {
 public:
  // `height` is the field's; the list drops below it.
  void create(Control* parent, int left, int top, int width, int height, const std::vector<std::string>& items);
  int selected() const;  // -1 for none
  // The height of the field as the screen shows it, the list closed (the system
  // sizes it to the font); 0 before it is created.
  int fieldHeight() const;
  void setSelected(int index);

  // The operator picked another choice.
  std::function<void()> OnChange;

 protected:
  bool onCommand(WORD code) override;
};

}  // namespace ui
