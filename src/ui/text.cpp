#include "ui/text.h"

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

}  // namespace ui
