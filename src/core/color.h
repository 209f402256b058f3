// Colours as the program stores them: 0x00BBGGRR for an RGB colour (red in the low
// byte), or 0xFF0000nn for the system colour with index nn. The settings file
// keeps them in decimal.
#pragma once

#include <cstdint>

namespace core {

using Color = std::uint32_t;

constexpr Color rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return Color(r) | (Color(g) << 8) | (Color(b) << 16);
}
constexpr std::uint8_t redOf(Color c) { return std::uint8_t(c & 0xFF); }
constexpr std::uint8_t greenOf(Color c) { return std::uint8_t((c >> 8) & 0xFF); }
constexpr std::uint8_t blueOf(Color c) { return std::uint8_t((c >> 16) & 0xFF); }

constexpr bool isSystemColor(Color c) { return (c & 0xFF000000u) == 0xFF000000u; }
constexpr int systemColorIndex(Color c) { return int(c & 0xFF); }

constexpr Color clBlack = 0x000000;
constexpr Color clWhite = 0xFFFFFF;
constexpr Color clGray = 0x808080;
constexpr Color clSilver = 0xC0C0C0;
constexpr Color clRed = 0x0000FF;
constexpr Color clGreen = 0x008000;
constexpr Color clBlue = 0xFF0000;
constexpr Color clNavy = 0x800000;
constexpr Color clFuchsia = 0xFF00FF;
constexpr Color clWindow = 0xFF000005;
constexpr Color clWindowText = 0xFF000008;
constexpr Color clBtnFace = 0xFF00000F;
constexpr Color clBtnShadow = 0xFF000010;
constexpr Color clBtnText = 0xFF000012;
constexpr Color clBtnHighlight = 0xFF000014;

}  // namespace core
