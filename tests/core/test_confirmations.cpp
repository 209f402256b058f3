#include "core/confirmations.h"

#include <gtest/gtest.h>

#include "core/award_progress.h"
#include "core/districts.h"

namespace {

using Fields = std::vector<std::string>;

TEST(CsvLine, QuotingRules) {
  const struct {
    const char* line;
    Fields fields;
    const char* shown;
  } cases[] = {
      {"a,b", {"a", "b"}, "a b"},
      {"\"a,b\",c", {"a,b", "c"}, "a,b c"},
      {"\"say \"\"73\"\"\",x", {"say \"73\"", "x"}, "say \"73\" x"},
      {" \"AB-12\" , x ", {"AB-12", "x"}, "AB-12 x"},
      {"3,\"AB-12\",,\"SSB CW\",", {"3", "AB-12", "", "SSB CW", ""}, "3 AB-12 SSB CW"},
      {"", {""}, ""},
      {"\"open, to the end", {"open, to the end"}, "open, to the end"},
      {"\"AB-12\"stray,x", {"AB-12", "x"}, "AB-12 x"},
  };
  Fields fields{"reused", "strings", "more", "than", "needed", "here"};
  std::string last;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    core::csvFields(c.line, fields);
    EXPECT_EQ(fields, c.fields);
    EXPECT_EQ(core::csvLineText(c.line), c.shown);
    EXPECT_TRUE(core::csvField(c.line, c.fields.size() - 1, last) && last == c.fields.back());
    EXPECT_FALSE(core::csvField(c.line, c.fields.size(), last));
  }
}

const std::string kQsoHeader = "\"RDA\",\"Date\",\"Time\",\"Band\",\"Mode\",\"Correspondent\",\"Uploader\",\"Role\",\"DB date\"";
const std::string kDistrictHeader = "\"Bands\",\"RDA\",\"1.8\",\"3.5\",\"7\",\"10\",\"14\",\"18\",\"21\",\"24\",\"28\"";

TEST(ConfirmationsForm, TheFirstLineDecides) {
  for (const std::string& csv : {kQsoHeader + "\r\n\"AB-12\",x", "\xEF\xBB\xBF" + kDistrictHeader + "\n"})
    EXPECT_TRUE(core::confirmationsForm(csv).csv) << csv;
  // A header further down is a line; the name is RDA in capitals; a header has a comma.
  for (const char* plain : {"TN-02;R7ND;40;SSB;2011-09-01\r\n\"RDA\",\"Date\"", "\"rda\",\"Date\"", "RDA", "RDAX,Date"})
    EXPECT_FALSE(core::confirmationsForm(plain).csv) << plain;
  EXPECT_EQ(core::confirmationsForm("Bands, RDA,1.8").rdaColumn, 1u);
}

// The service's QSO export: the title counts districts, the verdict finds the line
// whose RDA field is the district, and the progress counts what the title counts.
TEST(ConfirmationsCsv, CountVerdictAndProgressReadTheRdaColumn) {
  const std::string file = kQsoHeader + "\r\n" +
                           "\"AB-12\",\"02 Jan 2020\",\"12:00\",\"14\",\"CW\",\"R1ABC\",\"R1ABC\",\"Hunter\",\"01 Feb 2020\"\r\n"
                           "\"AB-12\",\"01 Jan 2020\",\"12:00\",\"3.5\",\"SSB\",\"R1ABC\",\"R1ABC\",\"Hunter\",\"\"\r\n"
                           "\"CD-01\",\"01 Jan 2020\",\"13:00\",\"7\",\"CW\",\"AB-12\",\"R2X\",\"Hunter\",\"\"\r\n"
                           "\"EF-02\"\r\n"
                           "\r\n";
  EXPECT_EQ(core::countConfirmed(core::TextList::fromText(file, true)), 3);
  const struct {
    const char* district;
    const char* line;  // empty: none
  } verdicts[] = {
      {"AB-12", "AB-12 01 Jan 2020 12:00 3.5 SSB R1ABC R1ABC Hunter"},
      {"CD-01", "CD-01 01 Jan 2020 13:00 7 CW AB-12 R2X Hunter"},
      {"EF-02", "EF-02"},
      {"RDA", ""},  // the header is no confirmation
      {"R1ABC", ""},
  };
  for (const auto& v : verdicts) {
    SCOPED_TRACE(v.district);
    EXPECT_EQ(core::firstConfirmation(file, v.district).value_or(""), v.line);
  }
  const auto progress = core::countProgress("AB-12\tx\nCD-01\tgone deleted\nGH-03\ty\n", file);
  EXPECT_EQ(progress.totals, (core::ProgressTotals{.active = 2, .confirmed = 1, .needed = 1, .confirmedDeleted = 1, .retiredRegions = 1}));
  EXPECT_EQ(progress.unknownCodes, Fields{"EF-02"});
}

// A note of several lines in one quoted field is one field of one confirmation,
// even where a line of it begins with a district code.
TEST(ConfirmationsCsv, AQuotedFieldHoldsLineEnds) {
  const std::string file = "\xEF\xBB\xBF\"RDA\",\"Band\",\"Mode\",\"Note\"\r\n"
                           "\"AB-12\",\"14\",\"CW\",\"via R1ABC\r\nKL-07 was\r\n\"\"next\"\"\"\r\n"
                           "\"CD-01\",\"7\",\"SSB\",\"\nKL-07,\"\r\n"
                           "\"EF-02\",\"3.5\",\"CW\",\"\"\r\n"
                           "\"\r\nMN-08\",\"14\",\"CW\",\"a break in the RDA field: no code\"\r\n"
                           "\"GH-03\",\"21\",\"CW\",\"left open\r\n";
  EXPECT_EQ(core::countConfirmed(core::confirmationsList(file)), 4);
  const struct {
    const char* district;
    const char* line;  // empty: not confirmed
  } verdicts[] = {
      {"AB-12", "AB-12 14 CW via R1ABC KL-07 was \"next\""},
      {"CD-01", "CD-01 7 SSB KL-07,"},
      {"EF-02", "EF-02 3.5 CW"},
      {"GH-03", "GH-03 21 CW left open"},
      {"KL-07", ""},
      {"MN-08", ""},
  };
  for (const auto& v : verdicts) {
    SCOPED_TRACE(v.district);
    EXPECT_EQ(core::firstConfirmation(file, v.district).value_or(""), v.line);
  }
  EXPECT_EQ(core::bandsConfirmed(file, "AB-12"), std::vector<core::Band>{core::Band::m20});
  EXPECT_TRUE(core::bandsConfirmed(file, "KL-07").empty());
  EXPECT_EQ(core::countProgress("AB-12\tx\nKL-07\ty\n", file).totals.confirmed, 1);
  EXPECT_EQ(core::countProgress("AB-12\tx\nKL-07\ty\n", file, core::Band::m20).totals.confirmed, 1);
  EXPECT_FALSE(core::holdsConfirmation(std::string(kQsoHeader) + "\r\n\"\",\"note\r\nKL-07\"\r\n"));
}

TEST(ConfirmationsCsv, BandsAndModesOfEachDistrict) {
  using core::BandMode;
  const struct {
    const char* what;
    std::string file;
    std::vector<core::ConfirmedDistrict> districts;
  } cases[] = {
      {"QSO export",
       kQsoHeader + "\n\"CD-01\",\"d\",\"t\",\"144\",\"FM\"\n\"AB-12\",\"d\",\"t\",\"14\",\"CW\"\n"
                    "\"AB-12\",\"d\",\"t\",\"14\",\"CW\"\n\"AB-12\",\"d2\",\"t\",\"1.8\",\"CW\"\n\"\",\"d\"\n",
       {{"AB-12", {{"14", "CW"}, {"1.8", "CW"}}}, {"CD-01", {{"144", "FM"}}}}},  // in the sorted lines' order
      {"per-district export", kDistrictHeader + "\r\n3,\"AB-12\",\"CW\",\"SSB CW\",,,,,,,\r\n1,\"TN-02\",,,,,\"CW\"\r\n",
       {{"AB-12", {{"1.8", "CW"}, {"3.5", "SSB"}, {"3.5", "CW"}}}, {"TN-02", {{"14", "CW"}}}}},
      {"plain", "TN-02;R7ND;40;SSB;2011-09-01\r\nAB-12 x\r\n\r\nAB-12 y\r\n", {{"AB-12", {}}, {"TN-02", {}}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(core::confirmedDistricts(c.file), c.districts);
  }
}

}  // namespace
