#include "core/spot_time.h"

#include "core/text.h"

namespace core {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string clockText(int minute) {
  std::string text = "00:00";
  text[0] = char('0' + minute / 600);
  text[1] = char('0' + minute / 60 % 10);
  text[3] = char('0' + minute % 60 / 10);
  text[4] = char('0' + minute % 10);
  return text;
}

}  // namespace

std::optional<int> parseSpotTime(std::string_view text) {
  text = trimBlanks(text);
  if (text.size() != 5 || text[2] != ':') return std::nullopt;
  for (std::size_t i : {0u, 1u, 3u, 4u})
    if (!isDigit(text[i])) return std::nullopt;
  const int hours = (text[0] - '0') * 10 + (text[1] - '0');
  const int minutes = (text[3] - '0') * 10 + (text[4] - '0');
  if (hours > 23 || minutes > 59) return std::nullopt;
  return hours * 60 + minutes;
}

Millis spotAge(int spotMinute, Millis utcTimeOfDay) {
  Millis age = (utcTimeOfDay - minutesToMillis(spotMinute)) % kDayMillis;
  if (age < 0) age += kDayMillis;
  return age > kDayMillis - kSkewMillis ? 0 : age;
}

SpotStamp stampSpot(std::string_view spotTime, Millis now, Millis utcTimeOfDay) {
  if (const auto minute = parseSpotTime(spotTime)) return {now - spotAge(*minute, utcTimeOfDay), clockText(*minute)};
  const Millis today = utcTimeOfDay % kDayMillis;
  return {now, clockText(int((today < 0 ? today + kDayMillis : today) / 60000))};
}

}  // namespace core
