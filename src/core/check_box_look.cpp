#include "core/check_box_look.h"

#include "core/pixel_routines.h"

namespace core {

void buildCheckBoxImage(Image& box, Color from, Color to, const Color* outline, const SystemColors& colors) {
  box.setSize(kCheckBoxSize, kCheckBoxSize);
  GradientFill(box, box.bounds(), from, to, gtFromTopLeft, {}, colors);
  if (!outline) return;
  const Color c = colors.resolve(*outline);
  const int last = kCheckBoxSize - 1;
  box.fillRect({0, 0, kCheckBoxSize, 1}, c);
  box.fillRect({0, last, kCheckBoxSize, kCheckBoxSize}, c);
  box.fillRect({0, 0, 1, kCheckBoxSize}, c);
  box.fillRect({last, 0, kCheckBoxSize, kCheckBoxSize}, c);
}

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
