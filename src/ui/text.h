// Texts are Windows-1251 byte strings inside the program and UTF-16 at the screen.
#pragma once

#include <string>
#include <string_view>

namespace ui {

std::wstring widen(std::string_view cp1251);
std::string narrow(std::wstring_view utf16);

}  // namespace ui
