#include "ui/popup_menu.h"

#include "ui/application.h"
#include "ui/text.h"

namespace ui {

void MenuItem::click() {
  if (OnClick) app().guard([this] { OnClick(); });
}

namespace {

// Captions are shown as they are written: "&" is a character, not a mnemonic mark.
std::wstring menuText(const std::string& caption) {
  std::wstring text;
  for (wchar_t c : widen(caption)) {
    if (c == L'&') text += L'&';
    text += c;
  }
  return text;
}

void build(HMENU menu, const std::vector<MenuItem*>& items, std::vector<MenuItem*>& byId) {
  for (MenuItem* item : items) {
    if (!item->visible) continue;
    const UINT flags = item->enabled ? MF_ENABLED : MF_GRAYED;
    const std::wstring caption = menuText(item->caption);
    if (!item->items().empty()) {
      HMENU sub = CreatePopupMenu();
      build(sub, item->items(), byId);
      AppendMenuW(menu, MF_POPUP | flags, reinterpret_cast<UINT_PTR>(sub), caption.c_str());
    } else {
      byId.push_back(item);
      AppendMenuW(menu, MF_STRING | flags, byId.size(), caption.c_str());
    }
  }
}

}  // namespace

void PopupMenu::popup(HWND owner, int x, int y) {
  if (OnPopup && !OnPopup(owner, x, y)) return;
  const ModalScope modal;
  HMENU menu = CreatePopupMenu();
  std::vector<MenuItem*> byId;
  build(menu, items_, byId);
  SetForegroundWindow(owner);
  const UINT id = UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y, 0, owner, nullptr));
  DestroyMenu(menu);
  if (id >= 1 && id <= byId.size()) byId[id - 1]->click();
}

}  // namespace ui
