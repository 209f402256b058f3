#include "ui/check_box.h"

#include "ui/application.h"
#include "ui/form.h"
#include "ui/text.h"

namespace ui {

void CheckBox::create(Control* parent, int left, int top, int width, int height, const std::string& caption) {
  createSystem(parent, L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, left, top, width, height);
  SetWindowTextW(handle(), screenText(caption).c_str());
}

bool CheckBox::checked() const { return handle() && SendMessageW(handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::setChecked(bool checked) {
  if (handle()) SendMessageW(handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CheckBox::onCommand(WORD code) {
  if (code != BN_CLICKED) return false;
  if (OnClick) app().guard([this] { OnClick(); });
  return true;
}

HBRUSH CheckBox::onCtlColor(HDC dc) {
  // The box sits on its form's colour, also while the form blinks.
  auto* form = dynamic_cast<Form*>(parent());
  if (!form) return nullptr;
  SetBkColor(dc, colorRef(form->color()));
  SetTextColor(dc, colorRef(font().color));
  return form->backgroundBrush();
}

}  // namespace ui
