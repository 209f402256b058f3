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

std::optional<std::string> cp1251FileName(const std::wstring& name) {
  // Written back and read again, the name must be the same characters (the code
  // page's best fit would turn an é into an e: another file).
  const auto kept = [](const std::wstring& n) -> std::optional<std::string> {
    std::string bytes = narrow(n);
    if (widen(bytes) != n) return std::nullopt;
    return bytes;
  };
  if (auto same = kept(name)) return same;
  const DWORD n = GetShortPathNameW(name.c_str(), nullptr, 0);
  if (n == 0) return std::nullopt;
  std::wstring shortName(n, L'\0');
  const DWORD got = GetShortPathNameW(name.c_str(), shortName.data(), n);
  if (got == 0 || got >= n) return std::nullopt;
  shortName.resize(got);
  return kept(shortName);
}

std::wstring screenText(std::string_view s) {
  // One UTF-16 unit per Windows-1251 byte: clipping the bytes clips the characters.
  return widen(s.substr(0, kScreenTextLimit));
}

std::wstring titleText(std::string_view s) {
  // Runs of blanks alone are the program's own spacing ("Download OK  CFM-…") and
  // stay as they are.
  std::string shown;
  shown.reserve(std::min(s.size(), kScreenTextLimit));
  for (std::size_t i = 0; i < s.size() && shown.size() < kScreenTextLimit;) {
    if (s[i] != ' ' && s[i] != '\t') {
      shown += s[i++];
      continue;
    }
    std::size_t end = i;
    bool tab = false;
    for (; end < s.size() && (s[end] == ' ' || s[end] == '\t'); ++end)
      if (s[end] == '\t') tab = true;
    if (!tab) shown.append(s.substr(i, end - i));
    else if (end < s.size()) shown += ' ';
    i = end;
  }
  return screenText(shown);
}

std::string systemErrorText(unsigned long code) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = n && buffer ? std::wstring(buffer, n) : std::wstring();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' || text.back() == L'.'))
    text.pop_back();
  return text.empty() ? "System error " + std::to_string(code) : narrow(text);
}

}  // namespace ui
