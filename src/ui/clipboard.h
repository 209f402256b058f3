// The clipboard, as text.
#pragma once

#include <string>

#include "ui/win.h"

namespace ui {

// Puts Windows-1251 text on the clipboard as Unicode text, so that it pastes the
// same on every locale; the system offers it to programs that want ANSI text too.
// Throws when the clipboard cannot be had.
void copyToClipboard(HWND owner, const std::string& text);

}  // namespace ui
