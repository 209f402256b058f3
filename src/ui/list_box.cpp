#include "ui/list_box.h"

#include "ui/text.h"

namespace ui {

void ListBox::create(Control* parent, int left, int top, int width, int height) {
  // No integral height: the list box keeps exactly the height it is given.
  createSystem(parent, L"LISTBOX", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY,
               WS_EX_CLIENTEDGE, left, top, width, height);
}

void ListBox::setItemHeight(int pixels) { SendMessageW(handle(), LB_SETITEMHEIGHT, 0, pixels); }
void ListBox::clear() {
  // Emptying an empty list would still repaint it.
  if (count() > 0) SendMessageW(handle(), LB_RESETCONTENT, 0, 0);
}
void ListBox::add(const std::string& item) {
  SendMessageW(handle(), LB_ADDSTRING, 0, LPARAM(widen(item).c_str()));
}
int ListBox::count() const { return int(SendMessageW(handle(), LB_GETCOUNT, 0, 0)); }

std::string ListBox::item(int index) const {
  const LRESULT n = SendMessageW(handle(), LB_GETTEXTLEN, WPARAM(index), 0);
  if (n == LB_ERR) return {};
  std::wstring text(std::size_t(n) + 1, L'\0');
  text.resize(std::size_t(SendMessageW(handle(), LB_GETTEXT, WPARAM(index), LPARAM(text.data()))));
  return narrow(text);
}

}  // namespace ui
