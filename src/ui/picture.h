// A picture box: shows one 24-bit image at its top-left corner and sizes itself to
// the image.
#pragma once

#include "core/image.h"
#include "ui/custom_control.h"

namespace ui {

class Picture : public CustomControl {
 public:
  void create(Control* parent, int left, int top, int width, int height);
  const core::Image& picture() const { return picture_; }
  void setPicture(core::Image picture);

 protected:
  void paint(Canvas& canvas, DibSurface& buffer) override;

 private:
  core::Image picture_;
};

}  // namespace ui
