#include "core/system_colors.h"

namespace core {

SystemColors::SystemColors() {
  // The standard scheme of current Windows versions.
  constexpr Color defaults[kCount] = {
      0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
      0x000000, 0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xD77800, 0xFFFFFF, 0xF0F0F0,
      0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
      0xE1FFFF, 0xB5B5B5, 0xCC6600, 0xEAD1B9, 0xF2E4D7, 0xFF9933, 0xF0F0F0};
  for (int i = 0; i < kCount; ++i) table_[i] = defaults[i];
}

void SystemColors::set(int index, Color rgbValue) {
  if (index >= 0 && index < kCount) table_[index] = rgbValue & 0xFFFFFFu;
}

Color SystemColors::resolve(Color c) const {
  if (!isSystemColor(c)) return c & 0xFFFFFFu;
  const int index = systemColorIndex(c);
  return index < kCount ? table_[index] : Color(0);
}

}  // namespace core
