// List box of text lines with a fixed item height. The lines set in an event reach
// the screen once it is over; reading gives them at once.
#pragma once

#include <optional>
#include <string>
#include <vector>

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

 protected:
  void applyScreenWork() override;

 private:
  std::vector<std::string> windowItems() const;
  // The lines asked for while the event runs; none when the window has them.
  std::optional<std::vector<std::string>> heldItems_;
};

}  // namespace ui
