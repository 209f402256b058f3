// Context menus: items with captions, click handlers and sub-items.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/win.h"

namespace ui {

class MenuItem {
 public:
  std::string caption;
  bool visible = true;
  bool enabled = true;
  std::function<void()> OnClick;

  void add(MenuItem& item) { items_.push_back(&item); }
  const std::vector<MenuItem*>& items() const { return items_; }
  // Runs OnClick inside its error boundary, as a click on the item does.
  void click();

 private:
  std::vector<MenuItem*> items_;
};

class PopupMenu {
 public:
  void add(MenuItem& item) { items_.push_back(&item); }
  const std::vector<MenuItem*>& items() const { return items_; }
  // Shows the menu at a screen point and runs the chosen item's handler.
  void popup(HWND owner, int x, int y);
  // Asked before the menu shows: false keeps it closed now (the owner may show it
  // later).
  std::function<bool(HWND owner, int x, int y)> OnPopup;

 private:
  std::vector<MenuItem*> items_;
};

}  // namespace ui
