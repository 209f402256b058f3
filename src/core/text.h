// Byte-string helpers for Windows-1251 text, the program's one character set.
#pragma once

#include <string>
#include <string_view>

namespace core {

// Upper-casing in the lookup touches the ASCII letters a to z only; Cyrillic bytes
// pass unchanged.
constexpr char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
std::string toUpperAscii(std::string_view s);

// Case folding for the sorted lists: ASCII letters, Cyrillic А–Я/а–я and Ё/ё of
// Windows-1251 compare equal to their other case; every other byte compares as
// itself (unsigned).
int compareNoCase(std::string_view a, std::string_view b);
inline bool equalNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && compareNoCase(a, b) == 0;
}
// A hash that agrees with equalNoCase.
std::size_t hashNoCase(std::string_view s);

// The first n bytes of s, or all of s when it is shorter (Delphi's Copy(s, 1, n)).
constexpr std::string_view head(std::string_view s, std::size_t n) { return s.substr(0, n); }

inline bool contains(std::string_view haystack, std::string_view needle) {
  return haystack.find(needle) != std::string_view::npos;
}

// s with every byte that `kept` refuses written as %XX (upper-case hex digits).
std::string percentEncode(std::string_view s, bool (*kept)(unsigned char c));

// The text after its UTF-8 byte order mark, if it has one.
constexpr std::string_view withoutBom(std::string_view s) {
  return s.starts_with("\xEF\xBB\xBF") ? s.substr(3) : s;
}

// s without the blanks and tabs at its ends.
constexpr std::string_view trimBlanks(std::string_view s) {
  const std::size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

}  // namespace core
