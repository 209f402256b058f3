#include "core/lookup.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// Plain lines hold on every day.
std::string district(std::string_view book, std::string_view callsign) {
  const auto d = core::callbookLookup(book, core::callbookKey(callsign), {2026, 12, 9});
  return d ? d->district : std::string("<none>");
}

TEST(CallBook, FindsTheFirstLineThatBeginsWithTheCallsignAndASpace) {
  const std::string book =
      "UA1ABCD KK-33\r\n"       // longer callsign that begins with the typed one
      "XUA1ABC ZZ-99\r\n"       // the callsign inside another
      "UA1ABC\tTT-01\r\n"       // tab instead of the space
      "ua1abc LL-01\r\n"        // lower case in the file never matches
      "UA1ABC AB-12 extra\r\n"  // the match
      "UA1ABC CD-01\r\n"        // a later duplicate
      "R3X/P MO-12\rRK0A SV-17\nUI8B  E\r\nR1END YA-05";
  const struct {
    const char* typed;
    const char* expected;
  } cases[] = {
      {"ua1abc", "AB-12"}, {"UA1ABC", "AB-12"}, {"UA1ABCD", "KK-33"}, {"r3x/p", "MO-12"},
      {"RK0A", "SV-17"},   {"UI8B", " E"},      {"R1END", "YA-05"},   {"UA1AB", "<none>"},
      {"TT-01", "<none>"}, {"KK-33", "<none>"}, {"", "<none>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(district(book, c.typed), c.expected);
  }
}

TEST(CallBook, DistrictStopsAtTheLineEndAndAtFiveCharacters) {
  EXPECT_EQ(district("UA1ABC AB\r\nXX-01", "UA1ABC"), "AB");
  EXPECT_EQ(district("UA1ABC \r\n", "UA1ABC"), "");
  EXPECT_EQ(district("UA1ABC ", "UA1ABC"), "");
  EXPECT_EQ(district("UA1ABC AB-1234", "UA1ABC"), "AB-12");
}

TEST(CallBook, KeyIsUpperCasedCallsignAndOneSpace) {
  EXPECT_EQ(core::callbookKey("ua1abc/p"), "UA1ABC/P ");
  EXPECT_EQ(core::callbookKey("ab"), "AB ");  // three characters: too short to search
  EXPECT_EQ(core::callbookKey("\xE0\xE1"), "\xE0\xE1 ");
}

TEST(CallBook, AKeyWithALineBreakMatchesNoLine) {
  EXPECT_FALSE(core::callbookLookup("UA1\r\nABC AB-12", "UA1\r\nABC ", {2026, 12, 9}).has_value());
  EXPECT_FALSE(core::callbookLookup("UA1ABC AB-12", "", {2026, 12, 9}).has_value());
}

// District check that accepts a fixed set of codes and records what it was asked.
struct FakeDistricts {
  std::set<std::string> valid{"AB-12", "MO-05"};
  std::vector<std::string> asked;
  core::DistrictCheck check() {
    return [this](const std::string& code) {
      asked.push_back(code);
      return valid.count(code) > 0;
    };
  }
};

TEST(CommentRda, WorkedExamples) {
  const struct {
    const char* comment;
    const char* result;
    bool checked;  // the district list was asked
  } cases[] = {
      {"AB-12", "AB-12", true},              // short form
      {"RDA AB-12", "AB-12", true},          // short tail, nothing removed
      {"AB-12 RDA", "AB-12", true},          // short tail, " RDA" removed
      {"TNX RDA AB-12", "AB-12", true},      // short tail, last five kept
      {"RDA: AB12 TNX 73", "AB-12", true},   // long tail, hyphen formed and checked
      {"RDA AB-12 TNX", "AB-12", false},     // long tail with hyphen: not checked
      {"RDA - AB12 TNX 73", "AB-12", true},  // long tail, hyphen and spaces stripped
      {"URDA AB-12", "", false},
      {"RDA AB12", "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.comment);
    FakeDistricts districts;
    EXPECT_EQ(core::commentRda(c.comment, districts.check()), c.result);
    EXPECT_EQ(!districts.asked.empty(), c.checked);
  }
}

TEST(CommentRda, NothingOrTooLittle) {
  FakeDistricts districts;
  for (const char* comment : {"", "AB-12X", "TNX 73", "CQ CQ DE", "CQ TEST CONTEST", "urda ab-12 tnx"}) {
    SCOPED_TRACE(comment);
    EXPECT_EQ(core::commentRda(comment, districts.check()), "");
  }
  EXPECT_TRUE(districts.asked.empty());
  EXPECT_EQ(core::commentRda("XY-99", districts.check()), "");  // short form, not a district
  EXPECT_EQ(districts.asked, std::vector<std::string>{"XY-99"});
}

TEST(CommentRda, BoundaryBetweenShortAndLongTail) {
  FakeDistricts districts;
  // Eight characters after "RDA"'s first letter: still the short tail.
  EXPECT_EQ(core::commentRda("RDA MO-05", districts.check()), "MO-05");
  // Nine: the long tail, which trusts a hyphen without asking.
  EXPECT_EQ(core::commentRda("RDA QQ-77X", districts.check()), "QQ-77");
  // Long tail: only the character right after "RDA" is dropped before stripping.
  EXPECT_EQ(core::commentRda("RDA:::--  AB12  UP", districts.check()), "AB-12");
  EXPECT_EQ(core::commentRda("XRDA AB12 TNX", districts.check()), "AB-12");
  // Long tail whose four characters are not a district.
  EXPECT_EQ(core::commentRda("RDA ZZ99 TNX 73", districts.check()), "");
  EXPECT_EQ(districts.asked.back(), "ZZ-99");
  // Long tail that strips down to almost nothing asks a code that cannot exist.
  EXPECT_EQ(core::commentRda("RDA:         ", districts.check()), "");
  EXPECT_EQ(districts.asked.back(), "-");
  // Short tail with "RDA" in the middle and text behind it.
  EXPECT_EQ(core::commentRda("5NN RDA MO-05", districts.check()), "MO-05");
  EXPECT_EQ(core::commentRda("MO-05 RDA 5", districts.check()), "");
}

TEST(CommentRda, CyrillicBytesPassThrough) {
  FakeDistricts districts;
  districts.valid.insert("\xCC\xCE-05");  // МО-05 in Windows-1251
  EXPECT_EQ(core::commentRda("RDA \xCC\xCE-05", districts.check()), "\xCC\xCE-05");
}

TEST(WatchList, EntryUpperCasedFoundInTheFieldAsTyped) {
  EXPECT_TRUE(core::watchEntryMatches("r1fj", "R1FJ"));
  EXPECT_TRUE(core::watchEntryMatches("UA9", "RUA9X/P"));      // any part of a callsign
  EXPECT_FALSE(core::watchEntryMatches("UA9", "ua9xyz"));     // the field is not upper-cased
  EXPECT_FALSE(core::watchEntryMatches("", "R1FJ"));          // an empty entry never matches
  EXPECT_FALSE(core::watchEntryMatches("R1FJX", "R1FJ"));
  EXPECT_TRUE(core::watchEntryMatches("\xE0\xE1", "\xE0\xE1"));  // Cyrillic compares as is
}

}  // namespace
