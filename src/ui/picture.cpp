#include "ui/picture.h"

namespace ui {

void Picture::create(Control* parent, int left, int top, int width, int height) {
  CustomControl::create(parent, {.name = "TImage"}, left, top, width, height);
}

void Picture::setPicture(core::Image picture) {
  picture_ = std::move(picture);
  setBounds(left(), top(), picture_.width(), picture_.height());
  repaint();
}

void Picture::paint(Canvas&, DibSurface& buffer) { core::copyImage(buffer.pixels(), 0, 0, picture_); }

}  // namespace ui
