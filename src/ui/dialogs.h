// Modal message boxes. Tests install a hook that records them instead of showing.
#pragma once

#include <functional>
#include <string>

namespace ui {

// Returns the button pressed (IDOK, ...). Texts are Windows-1251.
int messageBox(const std::string& text, const std::string& caption, unsigned flags);
// A plain message titled with the application title.
void showMessage(const std::string& text);

using MessageBoxHook = std::function<int(const std::string& text, const std::string& caption, unsigned flags)>;
void setMessageBoxHook(MessageBoxHook hook);

}  // namespace ui
