#include "core/callbook.h"

#include <gtest/gtest.h>

namespace {

using Districts = std::vector<std::string>;

TEST(Dates, OnlyDaysOfTheCalendar) {
  for (const char* day : {"2024-02-29", "2000-02-29", "2023-04-30", "0001-01-01"})
    EXPECT_TRUE(core::parseIsoDate(day)) << day;
  for (const char* text : {"2023-02-29", "1900-02-29", "2023-04-31", "2023-13-01", "2023-00-10", "2023-01-00",
                           "2023-1-01", "2023-01-01 ", "yesterday", "20a3-01-01", "0000-01-01", ""})
    EXPECT_FALSE(core::parseIsoDate(text)) << text;
  EXPECT_EQ(core::parseIsoDate("1991-12-31"), (core::Date{1991, 12, 31}));
}

TEST(DatedCallbook, ARangeHoldsFromItsFirstToItsLastDay) {
  const struct {
    const char* line;  // after "EK1SK "
    core::Date on;
    const char* district;
  } cases[] = {
      {"<1991-01-01, 1992-01-31> VO-29", {1991, 1, 1}, "VO-29"},  {"<1991-01-01, 1992-01-31> VO-29", {1992, 1, 31}, "VO-29"},
      {"<1991-01-01, 1992-01-31> VO-29", {1990, 12, 31}, "-"},    {"<1991-01-01, 1992-01-31> VO-29", {1992, 2, 1}, "-"},
      {"<, 2001-05-31> VO-29", {1900, 1, 1}, "VO-29"},             {"<, 2001-05-31> VO-29", {2001, 6, 1}, "-"},
      {"<2024-03-01, > VO-29", {2024, 3, 1}, "VO-29"},             {"<2024-03-01, > VO-29", {2024, 2, 29}, "-"},
      {"<,> VO-29", {2026, 12, 9}, "VO-29"},                       {"<  2024-02-29 ,2024-02-29  >\tVO-29x", {2024, 2, 29}, "VO-29"},
      // Malformed ranges are no district, whatever the day.
      {"<2023-02-29, > VO-29", {2024, 1, 1}, "-"},                 {"<2023-13-01, > VO-29", {2024, 1, 1}, "-"},
      {"<since 1991, > VO-29", {2024, 1, 1}, "-"},                 {"<1991-01-01, 1992-01-31 VO-29", {1991, 6, 1}, "-"},
      {"<1992-01-31, 1991-01-01> VO-29", {1991, 6, 1}, "-"},       {"<1991-01-01, >  ", {1991, 6, 1}, "-"},
      // Plain lines as they always were: five characters as they stand.
      {"KK-08", {1900, 1, 1}, "KK-08"},                            {" KK-0", {2026, 12, 9}, " KK-0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const auto found = core::callbookLookup("EK1SKA VO-01\r\nEK1SK " + std::string(c.line) + "\r\n", "EK1SK ", c.on);
    EXPECT_EQ(found ? found->district : "-", c.district);
  }
}

TEST(DatedCallbook, FirstValidLineDecidesAndEveryValidDistrictIsListed) {
  const std::string book =
      "EK1SK <1991-01-01, 1992-01-31> VO-29\r\n"
      "EK1SKX <2020-01-01, > ZZ-99\r\n"
      "EK1SK AB-12\n"
      "EK1SK <2020-01-01, > CD-34\r\n"
      "ek1sk <2020-01-01, > LL-01\r\n"
      "EK1SK <2021-01-01, > AB-12\r\n"
      "EK1SK <2030-01-01, > EF-56\r\n"
      "R1OLD <2000-01-01, 2000-12-31> AB-12\r\n";
  const struct {
    const char* call;
    core::Date on;
    Districts valid;  // the first is the district; empty: none
  } cases[] = {
      {"EK1SK", {2026, 12, 9}, {"AB-12", "CD-34"}},         {"ek1sk", {1991, 6, 1}, {"VO-29", "AB-12"}},
      {"EK1SK", {2030, 1, 1}, {"AB-12", "CD-34", "EF-56"}}, {"EK1SK", {2019, 1, 1}, {"AB-12"}},
      {"R1OLD", {2026, 12, 9}, {}},                         {"R1OLD", {2000, 12, 31}, {"AB-12"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.call) + " " + std::to_string(c.on.year));
    const auto found = core::callbookLookup(book, core::callbookKey(c.call), c.on);
    EXPECT_EQ(found, c.valid.empty() ? std::nullopt : std::optional(core::CallbookResult{c.valid[0], c.valid}));
  }
}

}  // namespace
