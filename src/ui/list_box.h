// List box of text lines with a fixed item height.
#pragma once

#include <string>

#include "ui/control.h"

namespace ui {

class ListBox : public Control {
 public:
  void create(Control* parent, int left, int top, int width, int height);
  void setItemHeight(int pixels);
  void clear();
  void add(const std::string& item);
  int count() const;
  std::string item(int index) const;
};

}  // namespace ui
