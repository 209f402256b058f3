#include "ui/list_box.h"

#include <algorithm>

#include "ui/text.h"

namespace ui {

void ListBox::create(Control* parent, int left, int top, int width, int height) {
  // No integral height: the list box keeps exactly the height it is given.
  createSystem(parent, L"LISTBOX", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY,
               WS_EX_CLIENTEDGE, left, top, width, height);
}

void ListBox::setItemHeight(int pixels) { SendMessageW(handle(), LB_SETITEMHEIGHT, 0, pixels); }

void ListBox::clear() {
  if (count() == 0) return;
  heldItems_.emplace();
  holdScreenWork();
}

void ListBox::add(const std::string& item) {
  if (!heldItems_) heldItems_ = windowItems();
  heldItems_->push_back(item);
  holdScreenWork();
}

int ListBox::count() const {
  if (heldItems_) return int(heldItems_->size());
  return int(SendMessageW(handle(), LB_GETCOUNT, 0, 0));
}

std::string ListBox::item(int index) const {
  if (heldItems_) return index >= 0 && index < int(heldItems_->size()) ? (*heldItems_)[std::size_t(index)] : "";
  const LRESULT n = SendMessageW(handle(), LB_GETTEXTLEN, WPARAM(index), 0);
  if (n == LB_ERR) return {};
  std::wstring text(std::size_t(n) + 1, L'\0');
  text.resize(std::size_t(SendMessageW(handle(), LB_GETTEXT, WPARAM(index), LPARAM(text.data()))));
  return narrow(text);
}

std::vector<std::string> ListBox::windowItems() const {
  std::vector<std::string> items;
  const int n = int(SendMessageW(handle(), LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    const LRESULT len = SendMessageW(handle(), LB_GETTEXTLEN, WPARAM(i), 0);
    std::wstring text(std::size_t(std::max<LRESULT>(len, 0)) + 1, L'\0');
    text.resize(std::size_t(std::max<LRESULT>(SendMessageW(handle(), LB_GETTEXT, WPARAM(i), LPARAM(text.data())), 0)));
    items.push_back(narrow(text));
  }
  return items;
}

void ListBox::applyScreenWork() {
  Control::applyScreenWork();
  if (!heldItems_ || !handle()) return;
  std::vector<std::string> items = std::move(*heldItems_);
  heldItems_.reset();
  // Lines cleared and added back as they were cost the window nothing.
  if (items == windowItems()) return;
  // The lines go in without the list drawing itself or its scroll bar at each one:
  // once, when they are all in.
  SendMessageW(handle(), WM_SETREDRAW, FALSE, 0);
  SendMessageW(handle(), LB_RESETCONTENT, 0, 0);
  for (const std::string& line : items) SendMessageW(handle(), LB_ADDSTRING, 0, LPARAM(widen(line).c_str()));
  SendMessageW(handle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(handle(), nullptr, TRUE);
}

}  // namespace ui
