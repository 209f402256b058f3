#include "core/spot_speech.h"

namespace core {

std::string rowSpeech(std::string_view call, std::string_view freq, std::string_view district, std::string_view time,
                      std::string_view mostWanted) {
  std::string words;
  const auto add = [&](std::string_view part, std::string_view after) {
    if (part.empty()) return;
    if (!words.empty()) words += ", ";
    words += part;
    words += after;
  };
  add(call, "");
  add(freq, "");
  add(district, "");
  add(time, "");
  add(mostWanted, " %");
  return words;
}

}  // namespace core
