#include "core/code_page.h"

#include <cstdint>
#include <cstring>

namespace core {
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

bool startsWithBom(std::string_view text) { return text.substr(0, 3) == std::string_view(kBom, 3); }

// The characters of Windows-1251 bytes 0x80 to 0xFF (0 where the code page has none).
constexpr std::uint16_t kHighHalf[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // C0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // C8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // D0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // D8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // E0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // E8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // F0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // F8
};

// The Windows-1251 byte of a character, or '?' when the code page has none.
char toCp1251(std::uint32_t c) {
  if (c < 0x80) return char(c);
  if (c >= 0x410 && c <= 0x44F) return char(0xC0 + (c - 0x410));
  for (int i = 0; i < 64; ++i)  // the rest of the table, before the plain alphabet
    if (kHighHalf[i] == c) return char(0x80 + i);
  return '?';
}

// Length of the well-formed UTF-8 sequence at s (not ASCII), with its character;
// 0 when the bytes there are not one.
std::size_t sequenceAt(std::string_view s, std::size_t i, std::uint32_t& c) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char b = byte(i);
  std::size_t n;
  std::uint32_t min;
  if (b >= 0xC2 && b <= 0xDF) {
    n = 2, c = b & 0x1F, min = 0x80;
  } else if (b >= 0xE0 && b <= 0xEF) {
    n = 3, c = b & 0x0F, min = 0x800;
  } else if (b >= 0xF0 && b <= 0xF4) {
    n = 4, c = b & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    c = (c << 6) | (byte(i + k) & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return n;
}

}  // namespace

bool isUtf8Text(std::string_view text) {
  if (startsWithBom(text)) return true;
  bool beyondAscii = false;
  for (std::size_t i = 0; i < text.size();) {
    // Eight ASCII bytes at a time: most reference files are mostly ASCII, and every
    // lookup reads them again.
    std::uint64_t word;
    if (i + 8 <= text.size() && (std::memcpy(&word, text.data() + i, 8), (word & 0x8080808080808080ull) == 0)) {
      i += 8;
      continue;
    }
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    std::uint32_t c;
    const std::size_t n = sequenceAt(text, i, c);
    if (!n) return false;
    beyondAscii = true;
    i += n;
  }
  return beyondAscii;
}

std::string utf8ToCp1251(std::string_view text) {
  if (startsWithBom(text)) text.remove_prefix(3);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    std::uint32_t c = static_cast<unsigned char>(text[i]);
    std::size_t n = c < 0x80 ? 1 : sequenceAt(text, i, c);
    if (!n) {  // a stray byte: not a character of either code
      n = 1;
      c = '?';
    }
    out += toCp1251(c);
    i += n;
  }
  return out;
}

}  // namespace core
