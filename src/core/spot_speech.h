// A spot row as words, for a screen reader: its cells in column order, separated by
// commas, the Most Wanted share with its per cent sign ("R9ABC, 14025.0, AB-12,
// 18:04, 12 %"); empty cells are left out.
#pragma once

#include <string>
#include <string_view>

namespace core {

std::string rowSpeech(std::string_view call, std::string_view freq, std::string_view district, std::string_view time,
                      std::string_view mostWanted);

}  // namespace core
