#include "core/text.h"

#include <algorithm>

namespace core {

std::string toUpperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = upperAscii(c);
  return out;
}

namespace {

constexpr unsigned char foldOne(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDF) return static_cast<unsigned char>(c + 32);  // А..Я -> а..я
  if (c == 0xA8) return 0xB8;                                            // Ё -> ё
  return c;
}

struct FoldTable {
  unsigned char map[256];
  constexpr FoldTable() : map() {
    for (int c = 0; c < 256; ++c) map[c] = foldOne(static_cast<unsigned char>(c));
  }
};
constexpr FoldTable kFold;

}  // namespace

int compareNoCase(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (a[i] == b[i]) continue;
    const unsigned char x = kFold.map[static_cast<unsigned char>(a[i])];
    const unsigned char y = kFold.map[static_cast<unsigned char>(b[i])];
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::size_t hashNoCase(std::string_view s) {
  std::size_t h = 14695981039346656037ull;  // FNV-1a over the folded bytes
  for (char c : s) h = (h ^ kFold.map[static_cast<unsigned char>(c)]) * 1099511628211ull;
  return h;
}

std::string percentEncode(std::string_view s, bool (*kept)(unsigned char c)) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(s.size());
  for (const char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    if (kept(c)) {
      out.push_back(ch);
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 15]);
    }
  }
  return out;
}

}  // namespace core
