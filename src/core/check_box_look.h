// The box of the gradient check box: its 13 x 13 images mixed by the fade levels,
// and the tinted check mark.
#pragma once

#include "core/color.h"
#include "core/image.h"
#include "core/system_colors.h"

namespace core {

constexpr int kCheckBoxSize = 13;

struct CheckBoxImages {
  const Image& resting;
  const Image& over;
  const Image& clicked;
};

// One box image: a 13 x 13 diagonal gradient from the top-left corner, with a
// 1-pixel outline in `outline` when one is given.
void buildCheckBoxImage(Image& box, Color from, Color to, const Color* outline, const SystemColors& colors);

// Where the box lies in the work image of a control `controlHeight` pixels high.
// The work image goes to the screen moved by this rectangle's top-left corner, so
// on screen the box is at (2, 2 x ((height - 13) div 4)).
Rect checkBoxRect(int controlHeight);

struct CheckBoxLook {
  Color background = 0;  // the control's colour
  int overLevel = 0;
  int clickLevel = 0;
  bool gradientBorder = true;
  const Image* checkMark = nullptr;  // the tick picture when ticked, else none
  Color tickColor = 0;               // the tick's tint
};

// Fills `work` (the control's size) and draws the box and the tick into it.
void composeCheckBox(Image& work, const CheckBoxImages& images, const CheckBoxLook& look,
                     const SystemColors& colors);

}  // namespace core
