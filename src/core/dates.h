// Calendar days as the callbook writes them: YYYY-MM-DD.
#pragma once

#include <compare>
#include <optional>
#include <string_view>

namespace core {

struct Date {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;    // 1 to the month's length
  friend auto operator<=>(const Date&, const Date&) = default;
};

// A day written YYYY-MM-DD, four, two and two digits, that exists in the calendar
// (29 February only in a leap year); nothing for anything else.
std::optional<Date> parseIsoDate(std::string_view text);

}  // namespace core
