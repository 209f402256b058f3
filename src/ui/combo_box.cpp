#include "ui/combo_box.h"

#include "ui/application.h"
#include "ui/text.h"

namespace ui {

void ComboBox::create(Control* parent, int left, int top, int width, int height, const std::vector<std::string>& items) {
  // The window's height is the field's and the dropped list's together.
  createSystem(parent, L"COMBOBOX", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, left, top, width,
               height + 16 * int(items.size()));
  for (const std::string& item : items) SendMessageW(handle(), CB_ADDSTRING, 0, LPARAM(screenText(item).c_str()));
  if (!items.empty()) setSelected(0);
}

int ComboBox::selected() const { return handle() ? int(SendMessageW(handle(), CB_GETCURSEL, 0, 0)) : -1; }

int ComboBox::fieldHeight() const {
  RECT r{};
  // A drop-down list's window is as high as its closed field.
  if (!handle() || !GetWindowRect(handle(), &r)) return 0;
  return int(r.bottom - r.top);
}

void ComboBox::setSelected(int index) {
  if (handle()) SendMessageW(handle(), CB_SETCURSEL, WPARAM(index), 0);
}

bool ComboBox::onCommand(WORD code) {
  if (code != CBN_SELCHANGE) return false;
  if (OnChange) app().guard([this] { OnChange(); });
  return true;
}

}  // namespace ui
