#include "core/districts.h"

#include <gtest/gtest.h>

namespace {

core::TextList sorted(std::string_view text) { return core::TextList::fromText(text, true); }

TEST(Cnt, CountsDifferentDistrictCodes) {
  EXPECT_EQ(core::countConfirmed(sorted("AB-12;1;x\r\nAB-12;2;y\r\nCD-01;1\r\n")), 2);
  EXPECT_EQ(core::countConfirmed(sorted("")), 0);
  EXPECT_EQ(core::countConfirmed(sorted("AB-12 x\r\nAB-12 x\r\n")), 1);
  EXPECT_EQ(core::countConfirmed(sorted("AB-12 x\r\n\r\nCD-01\r\n\r\n")), 2);  // empty lines never count
  EXPECT_EQ(core::countConfirmed(sorted("AB\r\nAB-12\r\n")), 2);              // short lines are their own key
  EXPECT_EQ(core::cfmTitle(1234), "CFM-1234");
}

TEST(Cnt, LinesOfOneDistrictCountOnceWhateverTheirCase) {
  // Case-folded sorting keeps "ab-12 ..." and "AB-12 ..." next to each other, but
  // the count compares the codes exactly, as the file writes them.
  EXPECT_EQ(core::countConfirmed(sorted("AB-12 a\r\nCD-01\r\nAB-12 b\r\n")), 2);
  EXPECT_EQ(core::countConfirmed(sorted("AB-12 a\r\nab-12 b\r\n")), 2);
}

TEST(Raion, LastLineOfACodeDecides) {
  const std::string_view list = "AB-12 First\r\nCD-01 Other\r\nAB-12 Second deleted\r\n";
  const auto info = core::lookUpDistrict(list, "AB-12");
  EXPECT_TRUE(info.listed);
  EXPECT_FALSE(info.valid);
  EXPECT_EQ(info.description, "Second deleted");

  const auto cap = core::lookUpDistrict("AB-12 First\r\nAB-12 Second Deleted\r\n", "AB-12");
  EXPECT_TRUE(cap.valid);  // only the lower-case word marks a deleted district
}

TEST(Raion, ShortLinesAndUnknownCodes) {
  const std::string_view list = "AB-12\r\nCD-01x\r\nEF-02 \xCE\xE1\xEB\xE0\xF1\xF2\xFC\r\nGH\r\n";
  auto exact = core::lookUpDistrict(list, "AB-12");
  EXPECT_TRUE(exact.listed);
  EXPECT_TRUE(exact.valid);
  EXPECT_EQ(exact.description, "");
  EXPECT_EQ(core::lookUpDistrict(list, "CD-01").description, "");  // six characters: still empty
  EXPECT_EQ(core::lookUpDistrict(list, "EF-02").description, "\xCE\xE1\xEB\xE0\xF1\xF2\xFC");
  EXPECT_FALSE(core::lookUpDistrict(list, "XX-99").listed);
  EXPECT_FALSE(core::lookUpDistrict(list, "ab-12").listed);  // codes compare exactly
  EXPECT_TRUE(core::lookUpDistrict(list, "GH").listed);       // a short line is its whole key
  EXPECT_FALSE(core::lookUpDistrict(list, "").listed);
}

// The district list is searched for the code directly, not line by line; this is
// the line-by-line rule it must agree with.
core::DistrictInfo byLines(std::string_view text, std::string_view code) {
  core::DistrictInfo info;
  core::forEachLine(text, [&](std::string_view line) {
    if (line.substr(0, 5) != code) return;
    info.listed = true;
    info.description = line.size() > 6 ? line.substr(6) : std::string_view();
    info.valid = info.description.find("deleted") == std::string_view::npos;
  });
  return info;
}

TEST(Raion, AgreesWithTheLineByLineRule) {
  const char* const lists[] = {
      "AB-12 x\r\nCD-01 the AB-12 of old\r\nAB-12\r\n",
      "AB\r\n\r\nAB-1\r\nAB-12",
      "AB-12 deleted\rAB-12 back\rAB\r\r",
      "\r\nAB-12 y",
      "AB-12 y\n\rZ",
      "AB-12 y\r\n",
      "XAB-12 no\r\nAB-12",
  };
  const char* const codes[] = {"AB-12", "AB", "AB-1", "", "Z", "AB-123", "B-12 ", "\r\nAB-1"};
  for (const char* list : lists) {
    for (const char* code : codes) {
      SCOPED_TRACE(std::string("list ") + list + " code " + code);
      const auto fast = core::lookUpDistrict(list, code);
      const auto slow = byLines(list, code);
      EXPECT_EQ(fast.listed, slow.listed);
      EXPECT_EQ(fast.valid, slow.valid);
      EXPECT_EQ(fast.description, slow.description);
    }
  }
}

TEST(WrkCfm, FirstLineContainingTheCodeInSortedOrder) {
  const std::string_view file = "ZZ-99 also AB-12 here\r\nAB-12 2019 UA1AAA\r\nAB-12 2018 UA2BBB\r\n";
  EXPECT_EQ(core::firstConfirmation(file, "AB-12"), "AB-12 2018 UA2BBB");
  EXPECT_EQ(core::firstConfirmation("QQ x AB-12\r\n", "AB-12"), "QQ x AB-12");  // anywhere in the line
  EXPECT_FALSE(core::firstConfirmation(file, "CD-01").has_value());
  EXPECT_FALSE(core::firstConfirmation("", "AB-12").has_value());
}

// The one-pass search must pick exactly the line the sorted list shows first.
TEST(WrkCfm, AgreesWithTheSortedList) {
  const char* const files[] = {
      "ab-12 b\r\nAB-12 a\r\nAB-12 B\r\n",
      "AB-12 x\r\nab-12 X\r\n",
      "ab-12 X\r\nAB-12 x\r\n",
      "x AB-12\rAB-12\nAB-12;\xC0\r\nAB-12;\xE0" "b\r\n",
      "\r\n\r\nAB-12\r\n",
  };
  for (const char* file : files) {
    SCOPED_TRACE(file);
    const auto list = sorted(file);
    std::optional<std::string_view> expected;
    for (std::string_view line : list)
      if (line.find("AB-12") != std::string_view::npos) {
        expected = line;
        break;
      }
    EXPECT_EQ(core::firstConfirmation(file, "AB-12"), expected);
  }
}

// Thousands of confirmations of one district: the search stays one pass over the
// file however often the district repeats (a quadratic search takes minutes here).
TEST(WrkCfm, ManyLinesOfOneDistrict) {
  std::string file;
  for (int i = 0; i < 200000; ++i) file += "AB-12;R" + std::to_string(300000 - i) + "\r\n";
  file += "AB-12;R099999\r\n";
  EXPECT_EQ(core::firstConfirmation(file, "AB-12"), "AB-12;R099999");
  file += "AB-12;R099998\r\n";
  file = "ab-12;r099998\r\n" + file;  // the earlier twin wins, though it lacks the code
  EXPECT_EQ(core::firstConfirmation(file, "AB-12"), "AB-12;R099999");
}

}  // namespace
