// Static text on a background of its own colour, in its font and font colour,
// centred or from the left edge. The text is also the window's text, so other programs can read it.
#pragma once

#include <string>

#include "core/color.h"
#include "ui/control.h"

namespace ui {

class Label : public Control {
 public:
  void create(Control* parent, int left, int top, int width, int height, const std::string& caption);

  const std::string& caption() const { return caption_; }
  // The same text again changes nothing.
  void setCaption(const std::string& caption);
  core::Color color() const { return color_; }
  void setColor(core::Color color);
  void setCentred(bool centred);

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void paint(HDC dc);

  std::string caption_;
  core::Color color_ = core::clBtnFace;
  bool centred_ = true;
};

}  // namespace ui
