#include "core/check_box_look.h"

#include "core/pixel_routines.h"

namespace core {

Rect checkBoxRect(int controlHeight) {
  const int top = (controlHeight - kCheckBoxSize) / 4;  // truncates toward zero
  return {1, top, 1 + kCheckBoxSize, top + kCheckBoxSize};
}

void composeCheckBox(Image& work, const CheckBoxImages& images, const CheckBoxLook& look,
                     const SystemColors& colors) {
  work.fill(colors.resolve(look.background));
  Rect box = checkBoxRect(work.height());
  CopyAndBlend(work, images.resting, images.over, 0, box, look.overLevel);
  if (look.clickLevel > 0) {
    const int d = look.gradientBorder ? 2 : 1;
    CopyAndBlend(work, work, images.clicked, 10, box.shrunk(d), look.clickLevel);
  }
  if (look.checkMark != nullptr) {
    Image tick = *look.checkMark;
    ColorizeImage(tick, look.tickColor, colors);
    drawTransparent(work, box.left + 2, box.top + 2, tick);
  }
}

}  // namespace core
