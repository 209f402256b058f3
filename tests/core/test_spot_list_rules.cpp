// Settings values, the Most Wanted column and its colours, and the alert log's text.
#include <gtest/gtest.h>

#include "core/alert_log.h"
#include "core/ini_values.h"
#include "core/most_wanted.h"

namespace {

TEST(IniValues, IntegersInDecimalAndHexadecimalAndGarbageGivesTheDefault) {
  const struct {
    const char* text;
    std::int32_t expected;
  } cases[] = {{"300", 300},       {"-120", -120},     {"0x0C", 12},      {"0X1f", 31},        {"$0C", 12},
               {"-$10", -16},      {"$FFFFFFFF", -1},  {"2147483647", 2147483647}, {"-2147483648", INT32_MIN},
               {"0", 0},           {"007", 7}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(core::iniInteger(c.text, 99), c.expected);
  }
  for (const char* garbage : {"", "abc", "12px", " 12", "1 2", "0x", "$", "-", "--1", "0xG1", "$123456789",
                              "2147483648", "99999999999999999999", "1.5", "+"}) {
    SCOPED_TRACE(garbage);
    EXPECT_EQ(core::iniInteger(garbage, 10), 10);
  }
}

TEST(IniValues, BooleansAreIntegersAndWriteAsOneAndZero) {
  EXPECT_TRUE(core::iniBool("1", false));
  EXPECT_TRUE(core::iniBool("-7", false));
  EXPECT_TRUE(core::iniBool("$10", false));
  EXPECT_FALSE(core::iniBool("0", true));
  EXPECT_TRUE(core::iniBool("yes", true));
  EXPECT_FALSE(core::iniBool("", false));
  EXPECT_EQ(core::iniText(true), "1");
  EXPECT_EQ(core::iniText(false), "0");
  EXPECT_EQ(core::iniText(std::int32_t(-5)), "-5");
}

TEST(MostWanted, ValueFromCharacters23And24OfTheLastLineOfTheDistrict) {
  const auto regions = core::TextList::fromText(
      "AB-12 01.2020-LastQso 3.55%MW\r\n"
      "CD-01 02.2021-LastQso 12.5%MW\r\n"
      "EF-05 03.2022-LastQso 12%MW\r\n"
      "GH-07 04.2023-LastQso 7%MW\r\n"
      "KK-33 - \xCD\xE5 \xF1\xF2\xF3\xEF\xE0\xEB\xE0\r\n"
      "MM-01 05.2024-LastQso 40%MW\r\n"
      "mm-01 05.2024-LastQso 20%MW\r\n"
      "NN-02 06.2024-LastQso 5\r\n"
      "PP-03 07.2024-LastQso 12.5\r\n"
      "PP-03 07.2024-LastQso 44%MW extra\r\n",
      /*sorted=*/false);
  const struct {
    const char* district;
    double expected;
  } cases[] = {{"AB-12", 3}, {"CD-01", 12}, {"EF-05", 12}, {"GH-07", 0}, {"KK-33", 0},
               {"MM-01", 40}, {"mm-01", 20}, {"NN-02", 5}, {"PP-03", 44}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.district);
    ASSERT_TRUE(core::mostWantedValue(regions, c.district).has_value());
    EXPECT_EQ(*core::mostWantedValue(regions, c.district), c.expected);
  }
  EXPECT_FALSE(core::mostWantedValue(regions, "ZZ-99").has_value());
  EXPECT_FALSE(core::mostWantedValue(regions, "AB-1").has_value());
  EXPECT_FALSE(core::mostWantedValue(core::TextList(), "AB-12").has_value());
  EXPECT_EQ(core::regionLine(regions, "PP-03").value(), "PP-03 07.2024-LastQso 44%MW extra");
  EXPECT_FALSE(core::regionLine(regions, "").has_value());
}

TEST(MostWanted, TextIsTheShortestDecimal) {
  EXPECT_EQ(core::mostWantedText(12), "12");
  EXPECT_EQ(core::mostWantedText(0), "0");
  EXPECT_EQ(core::mostWantedText(12.5), "12.5");
}

TEST(MostWanted, RowColourBoundaries) {
  const struct {
    const char* text;
    std::optional<core::Color> expected;
  } cases[] = {{"0", core::kMwPink},         {"14", core::kMwPink},        {"-3", core::kMwPink},
               {"15", core::kMwYellow},      {"29", core::kMwYellow},      {"30", core::kMwLightGreen},
               {"49", core::kMwLightGreen},  {"50", std::nullopt},         {"100", std::nullopt},
               {"", std::nullopt},           {"12.5", std::nullopt},       {"x", std::nullopt},
               {"-", std::nullopt},          {"1 ", std::nullopt}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(core::mostWantedColor(c.text), c.expected);
  }
  EXPECT_EQ(core::kMwPink, core::rgb(249, 176, 182));
  EXPECT_EQ(core::kMwYellow, core::rgb(255, 255, 0));
  EXPECT_EQ(core::kMwLightGreen, core::rgb(128, 255, 128));
}

TEST(AlertLog, LineLayoutAndWhatGoesAtTheEnd) {
  EXPECT_EQ(core::alertLogLine("R3DEMO", "AB-12", "08.12.2026", "01:02:03"), "R3DEMO:  AB-12  08.12.2026  01:02:03");
  const std::string line = "X:  Y  D  T";
  EXPECT_EQ(core::alertLogAddition("", line), "X:  Y  D  T\r\n");
  for (const char* ended : {"\n", "\r"}) EXPECT_EQ(core::alertLogAddition(ended, line), "X:  Y  D  T\r\n");
  for (const char* open : {"c", "\xFF", " "}) EXPECT_EQ(core::alertLogAddition(open, line), "\r\nX:  Y  D  T\r\n");
}

}  // namespace
