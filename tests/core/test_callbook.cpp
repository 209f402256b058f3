#include "core/callbook.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using Districts = std::vector<std::string>;

TEST(Dates, OnlyDaysOfTheCalendar) {
  const struct {
    const char* text;
    bool valid;
  } cases[] = {
      {"2024-02-29", true},  {"2023-02-29", false}, {"2000-02-29", true},  {"1900-02-29", false},
      {"2023-04-30", true},  {"2023-04-31", false}, {"2023-13-01", false}, {"2023-00-10", false},
      {"2023-01-00", false}, {"2023-1-01", false},  {"2023-01-01 ", false}, {"yesterday", false},
      {"20a3-01-01", false}, {"0000-01-01", false}, {"", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(core::parseIsoDate(c.text).has_value(), c.valid);
  }
  EXPECT_EQ(core::parseIsoDate("1991-12-31"), (core::Date{1991, 12, 31}));
}

// One dated line of EK1SK after a plain line of another station, on one day.
std::string onDay(const std::string& line, core::Date on) {
  const auto found = core::callbookLookup("EK1SKA VO-01\r\nEK1SK " + line + "\r\n", "EK1SK ", on);
  return found ? found->district : "<none>";
}

TEST(DatedCallbook, ARangeHoldsFromItsFirstToItsLastDay) {
  const struct {
    const char* line;
    core::Date on;
    const char* district;
  } cases[] = {
      {"<1991-01-01, 1992-01-31> VO-29", {1991, 1, 1}, "VO-29"},  {"<1991-01-01, 1992-01-31> VO-29", {1992, 1, 31}, "VO-29"},
      {"<1991-01-01, 1992-01-31> VO-29", {1990, 12, 31}, "<none>"}, {"<1991-01-01, 1992-01-31> VO-29", {1992, 2, 1}, "<none>"},
      {"<, 2001-05-31> VO-29", {1900, 1, 1}, "VO-29"},             {"<, 2001-05-31> VO-29", {2001, 6, 1}, "<none>"},
      {"<2024-03-01, > VO-29", {2024, 3, 1}, "VO-29"},             {"<2024-03-01, > VO-29", {2024, 2, 29}, "<none>"},
      {"<,> VO-29", {2026, 12, 9}, "VO-29"},                       {"<  2024-02-29 ,2024-02-29  >\tVO-29x", {2024, 2, 29}, "VO-29"},
      {"<2024-02-29, >VO-29", {2024, 3, 1}, "VO-29"},
      // Malformed ranges are no district, whatever the day.
      {"<2023-02-29, > VO-29", {2024, 1, 1}, "<none>"},            {"<2023-13-01, > VO-29", {2024, 1, 1}, "<none>"},
      {"<since 1991, > VO-29", {2024, 1, 1}, "<none>"},            {"<1991-01-01, 1992-01-31 VO-29", {1991, 6, 1}, "<none>"},
      {"<1992-01-31, 1991-01-01> VO-29", {1991, 6, 1}, "<none>"},  {"<1991-01-01 1992-01-31> VO-29", {1991, 6, 1}, "<none>"},
      {"<1991-01-01, , > VO-29", {1991, 6, 1}, "<none>"},          {"<1991-01-01, >  ", {1991, 6, 1}, "<none>"},
      // Plain lines as they always were: five characters as they stand.
      {"KK-08", {1900, 1, 1}, "KK-08"},                            {" KK-0", {2026, 12, 9}, " KK-0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(onDay(c.line, c.on), c.district);
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
      {"EK1SK", {2026, 12, 9}, {"AB-12", "CD-34"}}, {"ek1sk", {1991, 6, 1}, {"VO-29", "AB-12"}},
      {"EK1SK", {2030, 1, 1}, {"AB-12", "CD-34", "EF-56"}}, {"EK1SK", {2019, 1, 1}, {"AB-12"}},
      {"R1OLD", {2026, 12, 9}, {}}, {"R1OLD", {2000, 12, 31}, {"AB-12"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.call) + " " + std::to_string(c.on.year));
    const auto found = core::callbookLookup(book, core::callbookKey(c.call), c.on);
    EXPECT_EQ(found, c.valid.empty() ? std::nullopt : std::optional(core::CallbookResult{c.valid[0], c.valid}));
  }
}

// The file is read in pieces; the callsign's lines lie on both sides of their ends
// and some lines are longer than a piece.
TEST(DatedCallbook, AFileReadInPiecesFindsWhatTheWholeBytesHold) {
  std::string book = "\xEF\xBB\xBFR1ZZ <2020-01-01, > \xD0\x90\xD0\x91-01\r\n";  // UTF-8: five characters
  for (int i = 0; i < 300; ++i) {
    book += "UA" + std::to_string(i) + " AB-" + std::to_string(10 + i % 90) + "\r\n";
    if (i % 97 == 0) book += "R1ZZ <" + std::to_string(1990 + i / 10) + "-01-01, > CD-" + std::to_string(i % 90 + 10) + "\n";
  }
  book += "R1ZZ EF-01";
  const auto path = std::filesystem::temp_directory_path() / "rudoz-core-callbook-pieces.txt";
  std::ofstream(path, std::ios::binary) << book;
  const core::Date on{2026, 12, 9};
  const Districts expected = {"\xC0\xC1-01", "CD-10", "CD-17", "CD-24", "CD-31", "EF-01"};
  EXPECT_EQ(core::callbookLookup(book, "R1ZZ ", on)->validDistricts, expected);
  for (std::size_t piece : {std::size_t(5), std::size_t(64), std::size_t(4096), core::kCallbookPieceSize}) {
    SCOPED_TRACE(piece);
    core::CallbookFile file(path.string(), piece);
    EXPECT_EQ(file.find("R1ZZ ", on), core::callbookLookup(book, "R1ZZ ", on));
  }
  std::filesystem::remove(path);
}

}  // namespace
