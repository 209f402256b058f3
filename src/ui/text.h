// Texts are Windows-1251 byte strings inside the program and UTF-16 at the screen.
#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

namespace ui {

std::wstring widen(std::string_view cp1251);
std::string narrow(std::wstring_view utf16);

// Longer than any screen shows; a window title beyond some megabytes is more than
// the display server takes at all (X11 refuses it and the program goes down).
inline constexpr std::size_t kScreenTextLimit = 4096;
// What goes to a title or caption: widened and clipped at kScreenTextLimit
// characters. The program's own texts are never clipped, only what is shown.
std::wstring screenText(std::string_view cp1251);
// What goes to a window's title: as screenText, with each run of blanks that holds
// a tab shown as one blank, and none at the end. A tab-separated line (the award's
// list of districts holds its notes after tabs) would show a box per tab.
std::wstring titleText(std::string_view cp1251);

// A file name the operator gave (UTF-16, as the dialog holds it) as the settings
// file, which is Windows-1251, can keep it: the name itself when the code page has
// every character of it; otherwise the system's short form of it (8.3 names hold
// none but ASCII) when the file exists and has one; nothing when neither can.
std::optional<std::string> cp1251FileName(const std::wstring& name);

// A text handed out as WM_GETTEXT asks for it: at most room - 1 characters and the
// closing zero into `out`; answers how many characters were copied.
template <typename Char>
std::size_t copyTextOut(std::basic_string_view<Char> text, std::size_t room, Char* out) {
  if (room == 0 || !out) return 0;
  const std::size_t n = std::min(text.size(), room - 1);
  text.copy(out, n);
  out[n] = Char{};
  return n;
}

// The system's own wording for an error code, as the operator knows it, without the
// line end and full stop it comes with.
std::string systemErrorText(unsigned long code);

}  // namespace ui
