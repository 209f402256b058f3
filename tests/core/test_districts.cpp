#include "core/districts.h"

#include <gtest/gtest.h>

namespace {

core::TextList sorted(std::string_view text) { return core::TextList::fromText(text, true); }
core::TextList plain(std::string_view text) { return core::TextList::fromText(text, false); }

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
  const auto list = plain("AB-12 First\r\nCD-01 Other\r\nAB-12 Second deleted\r\n");
  const auto info = core::lookUpDistrict(list, "AB-12");
  EXPECT_TRUE(info.listed);
  EXPECT_FALSE(info.valid);
  EXPECT_EQ(info.description, "Second deleted");

  const auto cap = core::lookUpDistrict(plain("AB-12 First\r\nAB-12 Second Deleted\r\n"), "AB-12");
  EXPECT_TRUE(cap.valid);  // only the lower-case word marks a deleted district
}

TEST(Raion, ShortLinesAndUnknownCodes) {
  const auto list = plain("AB-12\r\nCD-01x\r\nEF-02 \xCE\xE1\xEB\xE0\xF1\xF2\xFC\r\nGH\r\n");
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

TEST(WrkCfm, FirstLineContainingTheCodeInSortedOrder) {
  const auto list = sorted("ZZ-99 also AB-12 here\r\nAB-12 2019 UA1AAA\r\nAB-12 2018 UA2BBB\r\n");
  ASSERT_EQ(list[0], "AB-12 2018 UA2BBB");
  EXPECT_EQ(core::findConfirmation(list, "AB-12"), 0u);
  EXPECT_EQ(core::findConfirmation(sorted("QQ x AB-12\r\n"), "AB-12"), 0u);  // anywhere in the line
  EXPECT_FALSE(core::findConfirmation(list, "CD-01").has_value());
  EXPECT_FALSE(core::findConfirmation(sorted(""), "AB-12").has_value());
}

}  // namespace
