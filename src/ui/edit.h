// One-line text field.
#pragma once

#include <functional>
#include <string>

#include "ui/control.h"

namespace ui {

class Edit : public Control {
 public:
  // An ANSI field keeps the bytes other programs write into it untouched.
  void create(Control* parent, int left, int top, int width, int height, bool ansi = false);

  std::string text() const;  // Windows-1251
  // Setting the text it already holds is no change and runs nothing.
  void setText(const std::string& text);
  // Always a change, even on an empty field.
  void clear();

  // Runs synchronously, inside its own error boundary, on every change: typed, set
  // here, or written by another program.
  std::function<void()> OnChange;

 protected:
  bool onCommand(WORD code) override;

 private:
  void write(const std::string& text);
  void changed();
  int writing_ = 0;
};

}  // namespace ui
