#include "ui/button.h"

#include "ui/application.h"
#include "ui/text.h"

namespace ui {

void Button::create(Control* parent, int left, int top, int width, int height, const std::string& caption) {
  createSystem(parent, L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, left, top, width, height);
  SetWindowTextW(handle(), screenText(caption).c_str());
}

void Button::click() {
  if (OnClick) app().guard([this] { OnClick(); });
}

bool Button::onCommand(WORD code) {
  if (code != BN_CLICKED) return false;
  click();
  return true;
}

}  // namespace ui
