#include "core/award_progress.h"

#include <gtest/gtest.h>

#include "core/districts.h"
#include "core/text_file.h"

namespace {

using core::AwardProgress;
using core::ProgressColumn;
using core::RegionProgress;

// The award's list as it is published: region headers, tab-separated code lines,
// notes after further tabs, a retired district with its successor, LF line ends.
const std::string_view kList =
    "RDA districts list\n"
    "\n"
    "РЕСПУБЛИКА АДЫГЕЯ (АДЫГЕЯ)\t(AD)\tUA6Y\n"
    "AD-01\tАдыгейск\t\t\n"
    "AD-02\tГиагинский район\n"
    "AD-03\tКошехабльский район\tdeleted\tAD-02\n"
    "АЛТАЙСКИЙ КРАЙ\t(AL)\tUA9Y\n"
    "AL-01\tБарнаул\n"
    "AL-02\tБийск\n"
    "BA-01\tno header for this one\n";

const std::string_view kConfirmations =
    "AD-01;UA6YA;20;CW\n"
    "AD-01;R6YY;40;SSB\n"
    "AD-03;RA6YZ;15;CW\n"
    "AL-02;UA9YAB;20;FT8\n"
    "\n"
    "ZZ-99;R0ZZ;10;CW\n";

TEST(AwardProgress, CountsEachRegionOfTheAwardsList) {
  AwardProgress expected;
  expected.regions = {
      {"AD", "РЕСПУБЛИКА АДЫГЕЯ (АДЫГЕЯ)", 2, 1, 1, {{"AD-02", "Гиагинский район"}}},
      {"AL", "АЛТАЙСКИЙ КРАЙ", 2, 1, 0, {{"AL-01", "Барнаул"}}},
      {"BA", "BA", 1, 0, 0, {{"BA-01", "no header for this one"}}},
  };
  expected.totals = {.active = 5, .confirmed = 2, .needed = 3, .confirmedDeleted = 1};
  expected.unknownCodes = {"ZZ-99"};
  EXPECT_EQ(core::countProgress(kList, kConfirmations), expected);

  // The same files with CR LF or lone CR line ends.
  for (const char* end : {"\r\n", "\r"}) {
    std::string list(kList), cfm(kConfirmations);
    for (std::string* text : {&list, &cfm})
      for (std::size_t p = text->find('\n'); p != std::string::npos; p = text->find('\n', p + 2)) text->replace(p, 1, end);
    EXPECT_EQ(core::countProgress(list, cfm), expected) << "line end " << (end[1] ? "CR LF" : "CR");
  }
}

TEST(AwardProgress, TheLastLineOfACodeDecides) {
  struct Case {
    const char* list;
    const char* confirmations;
    core::ProgressTotals totals;
  };
  const Case cases[] = {
      {"AB-12\tOld\nAB-12\tOld deleted\n", "AB-12\n", {0, 0, 0, 1, 1}},  // its region retired with it
      {"AB-12\tOld deleted\nAB-12\tBack again\n", "", {1, 0, 1, 0}},
      {"AB-12\tGone Deleted\n", "AB-12\n", {1, 1, 0, 0}},  // only the lower-case word retires
      {"AB-12\nAB-1\nAB-12x\n", "AB-12\n", {1, 1, 0, 0}},  // five characters suffice
      {"AB-12 deleted\n", "", {0, 0, 0, 0, 1}},             // retired and not confirmed: no row
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list);
    EXPECT_EQ(core::countProgress(c.list, c.confirmations).totals, c.totals);
  }
}

TEST(AwardProgress, RegionNamesComeFromHeaderLines) {
  const auto names = [](std::string_view list) {
    std::vector<std::string> out;
    for (const RegionProgress& r : core::countProgress(list, "").regions) out.push_back(r.name);
    return out;
  };
  using Names = std::vector<std::string>;
  EXPECT_EQ(names("ОБЛАСТЬ (ОБЛ) (AD) UA6Y\nAD-01\tx\n"), Names{"ОБЛАСТЬ (ОБЛ)"});  // no tab: up to the letters
  EXPECT_EQ(names("(AD)\tUA6Y\nAD-01\tx\n"), Names{"AD"});                        // nothing before them
  EXPECT_EQ(names("First (AD)\nAD-01\tx\nSecond\t(AD)\n"), Names{"Second"});      // the last header decides
  EXPECT_EQ(names("lower (ad)\nNot ours (ADY)\nAD-01\tx\n"), Names{"AD"});        // not two capitals
  EXPECT_EQ(names("Empty region\t(ZZ)\nAD-01\tx\n"), Names{"AD"});               // no codes, no row
}

TEST(AwardProgress, ConfirmationsCountOnceAsTheTitleDoes) {
  // Whatever the confirmations hold, each code the title counts is either confirmed
  // active, confirmed deleted or unknown to the list.
  const char* const files[] = {kConfirmations.data(), "AB\nAB-12\nAB-12 again\n\n\nab-12\n", "", "\n\n"};
  for (const char* cfm : files) {
    SCOPED_TRACE(cfm);
    const AwardProgress p = core::countProgress(kList, cfm);
    EXPECT_EQ(p.totals.confirmed + p.totals.confirmedDeleted + int(p.unknownCodes.size()),
              core::countConfirmed(core::TextList::fromText(cfm, true)));
  }
  EXPECT_EQ(core::countProgress(kList, "AB\nAB-12\nab-12 x\nAB-12 X\n").unknownCodes,
            (std::vector<std::string>{"AB", "AB-12", "ab-12"}));
}

TEST(AwardProgress, Texts) {
  const std::pair<std::pair<int, int>, const char*> shares[] = {
      {{0, 0}, "0.0"}, {{1, 3}, "33.3"}, {{2, 3}, "66.6"}, {{1999, 2000}, "99.9"}, {{7, 7}, "100.0"}};
  for (const auto& [share, text] : shares) EXPECT_EQ(core::percentText(share.first, share.second), text) << text;

  const core::ProgressTotals totals{.active = 2700, .confirmed = 300, .needed = 2400, .confirmedDeleted = 4};
  EXPECT_EQ(core::totalsLine(totals), "confirmed 300 of 2700 active districts, 11.1 %");
  EXPECT_EQ(core::deletedLine(totals), "confirmed deleted districts: 4");
  EXPECT_EQ(core::unknownCodesLine({}), "");
  EXPECT_EQ(core::unknownCodesLine({"ZZ-99"}), "1 confirmed code is not in the district list (an old list?): ZZ-99");
  EXPECT_EQ(core::unknownCodesLine({"A1", "A2", "A3", "A4", "A5", "A6", "A7", "A8", "A9"}),
            "9 confirmed codes are not in the district list (an old list?): A1, A2, A3, A4, A5, A6, A7, A8, ...");
  EXPECT_EQ(core::neededLine({"AD-03", " Кошехабльский район\tdeleted \t\tAD-02\t"}),
            "AD-03  Кошехабльский район deleted AD-02");
}

TEST(AwardProgress, SortsByEachColumn) {
  // letters, name, active, confirmed (needed = active - confirmed)
  auto region = [](const char* letters, const char* name, int active, int confirmed) {
    RegionProgress r{letters, name, active, confirmed, 0, {}};
    r.needed.resize(std::size_t(active - confirmed));
    return r;
  };
  const std::vector<RegionProgress> regions = {region("KC", "бета", 3, 1), region("AD", "Альфа", 100, 33),
                                               region("ZZ", "БЕТА", 0, 0), region("MO", "гамма", 10, 5)};
  struct Case {
    ProgressColumn column;
    bool descending;
    const char* order;
  };
  const Case cases[] = {
      {ProgressColumn::Region, false, "AD KC MO ZZ"},    {ProgressColumn::Region, true, "ZZ MO KC AD"},
      {ProgressColumn::Name, false, "AD KC ZZ MO"},      // бета = БЕТА: the letters break the tie
      {ProgressColumn::Confirmed, true, "AD MO KC ZZ"},  {ProgressColumn::Active, false, "ZZ KC MO AD"},
      {ProgressColumn::Needed, true, "AD MO KC ZZ"},     {ProgressColumn::Needed, false, "ZZ KC MO AD"},
      {ProgressColumn::Percent, false, "ZZ AD KC MO"},   // 33.0 % below 33.3 %
      {ProgressColumn::Percent, true, "MO KC AD ZZ"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.order);
    std::vector<RegionProgress> sorted = regions;
    core::sortRegions(sorted, c.column, c.descending);
    std::string order;
    for (const RegionProgress& r : sorted) order += (order.empty() ? "" : " ") + r.letters;
    EXPECT_EQ(order, c.order);
  }
}

TEST(AwardProgress, TableForTheClipboard) {
  RegionProgress tabbed{"A\t", "Name", 3, 1, 0, {{"A\t-01", ""}, {"A\t-02", ""}}};
  EXPECT_EQ(core::progressTable({tabbed}),
            "Region\tName\tConfirmed\tActive\tNeeded\t%\r\n"
            "A \tName\t1\t3\t2\t33.3\r\n");
  EXPECT_EQ(core::progressTable({}), "Region\tName\tConfirmed\tActive\tNeeded\t%\r\n");
}

}  // namespace
