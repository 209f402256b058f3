#include "core/regions_page.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/text.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kLink = "<td><a class=\"ired\" href=\"rda?id=";
const std::string kRight = "<td align=\"right\">";
const std::string kNoActivity = "<td align=\"right\">-</td>";

Lines cut(const Lines& page) { return core::cutRegionsPage(page, core::compareNoCase); }

// One activated district as the page writes it: code, name, date, percentage.
Lines activatedRow(const std::string& code4, const std::string& date, const std::string& percent) {
  return {"<tr>", kLink + code4 + "\">" + code4 + "</a></td>", "<td>Some district</td>",
          kRight + date + "</td>", kRight + percent + "</td>", "</tr>"};
}

TEST(RegionsPage, ActivatedDistrictBecomesOneLine) {
  const struct {
    const char* percent;
    const char* line;
  } cases[] = {
      {"3.55", "AB-12 05.2024-LastQso 3.55%MW"},
      {"12", "AB-12 05.2024-LastQso 12/%MW"},     // the closing tag's '<' goes, its '/' stays
      {"100", "AB-12 05.2024-LastQso 100%MW"},
      {"100.25", "AB-12 05.2024-LastQso 100.%MW"},  // four characters at most
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.percent);
    EXPECT_EQ(cut(activatedRow("AB12", "05.2024", c.percent)), Lines{c.line});
  }
}

TEST(RegionsPage, DistrictWithoutActivityDropsTheTwoLinesAfterIt) {
  const Lines page = {"<tr>", "<td>CD34</td>", kNoActivity, "stray one", "stray two", "</tr>", "<tr>"};
  EXPECT_EQ(cut(page), Lines{"CD-34 - Не ступала покрышка А/М!"});
}

TEST(RegionsPage, RowsSortedWithoutRegardToCaseAndRepeatsKept) {
  Lines page = activatedRow("ZK03", "01.2025", "40.1");
  for (const Lines& more : {activatedRow("MO12", "02.2025", "7.5"), Lines{"<td>AD01</td>", kNoActivity, "", ""},
                            activatedRow("MO12", "02.2025", "7.5"), Lines{"bb note", "Ba note", "<br>"}})
    page.insert(page.end(), more.begin(), more.end());
  EXPECT_EQ(cut(page), (Lines{"AD-01 - Не ступала покрышка А/М!", "Ba note", "bb note",
                              "MO-12 02.2025-LastQso 7.5%MW", "MO-12 02.2025-LastQso 7.5%MW",
                              "ZK-03 01.2025-LastQso 40.1%MW"}));
}

TEST(RegionsPage, ShortPageIsOnlyCleanedAndSorted) {
  // Under four lines no row is read, not even one with the link marker.
  EXPECT_EQ(cut({kLink + "AB12\">", "zeta", "Alpha"}), (Lines{"Alpha", "zeta"}));
  EXPECT_EQ(cut({" indented", "b", "A"}), (Lines{"A", "b"}));
  EXPECT_EQ(cut({"", "only"}), Lines{"only"});
}

TEST(RegionsPage, PageWithoutUsableLinesIsRefused) {
  EXPECT_THROW(cut({}), core::RegionsPageError);
  EXPECT_THROW(cut({"<html>", " ", "", "<body>", "</html>"}), core::RegionsPageError);
  // A first line without activity has no code before it.
  EXPECT_THROW(cut({kNoActivity, "a", "b", "c"}), core::RegionsPageError);
}

// The region list is replaced only by a page that names a district with its share.
TEST(RegionsPage, ARegionListNeedsADistrictWithItsShare) {
  const auto page = [](const Lines& lines) { return core::joinCrLf(lines); };
  const struct {
    const char* what;
    std::string page;
    const char* refusal;
  } cases[] = {
      {"activated", page(activatedRow("AB12", "01.2020", "3.55")), ""},
      {"byte order mark", "\xEF\xBB\xBF" + page(activatedRow("AB12", "01.2020", "12")), ""},
      {"no activity anywhere", page({"<tr>", "<td>CD34</td>", kNoActivity, "", "", "</tr>"}), "The regions page names no district"},
      {"text only", "Service unavailable\n", "The regions page names no district"},
      {"an empty share", page(activatedRow("AB12", "01.2020", "")), "The regions page names no district"},
      {"nothing usable", "<html>\n</html>\n", "The regions page holds no district line."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string refusal = core::regionsPageRefusal(c.page, core::compareNoCase);
    EXPECT_EQ(refusal.substr(0, std::strlen(c.refusal)), c.refusal);
    EXPECT_EQ(refusal.empty(), !*c.refusal) << refusal;
  }
  EXPECT_EQ(core::regionListFromPage(cases[1].page, core::compareNoCase), Lines{"AB-12 01.2020-LastQso 12/%MW"});
  EXPECT_THROW(core::regionListFromPage(cases[2].page, core::compareNoCase), core::RegionsPageError);
}

TEST(RegionsPage, BytesSplitAtEveryKindOfLineBreak) {
  const std::string page = "<tr>\r\n<td>CD34</td>\n" + kNoActivity + "\rx\r\ny\r\n<tr>\r\nKeep\r\n";
  EXPECT_EQ(core::cutRegionsPage(std::string_view(page), core::compareNoCase),
            (Lines{"CD-34 - Не ступала покрышка А/М!", "Keep"}));
  EXPECT_EQ(core::joinCrLf({"a", "b"}), "a\r\nb\r\n");
}

}  // namespace
