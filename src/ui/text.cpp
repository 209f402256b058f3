#include "ui/text.h"

#include <algorithm>

#include "ui/win.h"

namespace ui {

constexpr UINT kCp1251 = 1251;

std::wstring widen(std::string_view s) {
  if (s.empty()) return {};
  const int n = MultiByteToWideChar(kCp1251, 0, s.data(), int(s.size()), nullptr, 0);
  std::wstring out(std::size_t(n), L'\0');
  MultiByteToWideChar(kCp1251, 0, s.data(), int(s.size()), out.data(), n);
  return out;
}

std::string narrow(std::wstring_view s) {
  if (s.empty()) return {};
  const int n = WideCharToMultiByte(kCp1251, 0, s.data(), int(s.size()), nullptr, 0, nullptr, nullptr);
  std::string out(std::size_t(n), '\0');
  WideCharToMultiByte(kCp1251, 0, s.data(), int(s.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring screenText(std::string_view s) {
  // One UTF-16 unit per Windows-1251 byte: clipping the bytes clips the characters.
  return widen(s.substr(0, kScreenTextLimit));
}

std::wstring titleText(std::string_view s) {
  std::string shown;
  shown.reserve(std::min(s.size(), kScreenTextLimit));
  for (std::size_t i = 0; i < s.size() && shown.size() < kScreenTextLimit; ++i) {
    const bool blank = s[i] == ' ' || s[i] == '\t';
    if (!blank) {
      shown += s[i];
      continue;
    }
    while (i + 1 < s.size() && (s[i + 1] == ' ' || s[i + 1] == '\t')) ++i;
    if (i + 1 < s.size()) shown += ' ';
  }
  return widen(shown);
}

}  // namespace ui
