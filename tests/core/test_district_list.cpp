#include "core/district_list.h"

#include <gtest/gtest.h>

#include "core/award_progress.h"
#include "core/districts.h"

namespace {

using Codes = std::vector<std::string>;

// The award's list as published: LF, headers indented by a tab or blanks, the
// letters set off by blanks, deleted districts naming a successor or "***".
const std::string kPublished =
    "RDA districts list\n"
    "\tАМУРСКАЯ ОБЛАСТЬ   (AM)   UA0J\n"
    "AM-01\tБлаговещенск\n"
    "AM-02\tБелогорск\tdeleted\t\tAM-01\n"
    "AM-03\tЗавитинский район\tdeleted\t***\n"
    "AM-04\tОктябрьский район\tdeleted\tAM-05 \n"
    "AM-05\tМихайловский район deleted\tAM-06\n"
    "AM-06\tТамбовский район\tAM-01\n"
    "   РЕСПУБЛИКА АДЫГЕЯ (АДЫГЕЯ)\t(AD)\tUA6Y\n"
    "AD-01\tАдыгейск\n"
    "AD-02\tone deleted\tAD-03\n"
    "AD-03\tother deleted\tAD-02\n"
    "  ЧИТИНСКАЯ ОБЛАСТЬ (CH) UA0U\n"
    "CH-01\tЧита\tdeleted\tZK-37\n"
    "CH-02\tКраснокаменск\tdeleted\tZK 37\n";

const std::string kSemicolon =
    "RDA;REGION;TITLE\r\n"
    "AB-01;AB;Первый район\r\n"
    "AB-02;AB;Old district deleted;AB-01\r\n"
    "AB-03;AB;gone deleted;***\r\n"
    "AB-04;AB;note;Четвёртый район\r\n"
    "AB-05;short\r\n";

TEST(DistrictList, FormFromTheFirstLines) {
  for (const std::string& list : {kSemicolon, std::string("\xEF\xBB\xBFRDA;REGION;TITLE\n\nnote\nAB-01;AB;x")})
    EXPECT_EQ(core::districtListForm(list), core::DistrictListForm::Semicolon) << list;
  // No header before the codes, a code line with a tab, no code line at all.
  for (const std::string& list : {kPublished, std::string("AB-01;AB;x\r\nAB-02;AB;y"),
                                  std::string("Notes; see below\nAB-01\tx;y;z"), std::string("RDA;REGION;TITLE\r\n")})
    EXPECT_EQ(core::districtListForm(list), core::DistrictListForm::Tabbed) << list;
}

// What the deciding line says, and the codes judged in turn when it is deleted.
TEST(DistrictList, EachShapeSaysWhatItsDeciderSays) {
  const struct {
    const std::string& list;
    const char* code;
    bool listed, valid;
    const char* description;
    const char* successor;
    Codes chain;
  } cases[] = {
      {kPublished, "AM-01", true, true, "Благовещенск", "", {"AM-01"}},
      {kPublished, "AM-02", true, false, "Белогорск\tdeleted\t\tAM-01", "AM-01", {"AM-02", "AM-01"}},
      {kPublished, "AM-03", true, false, "Завитинский район\tdeleted\t***", "", {"AM-03"}},
      {kPublished, "AM-04", true, false, "Октябрьский район\tdeleted\tAM-05 ", "AM-05", {"AM-04", "AM-05", "AM-06"}},
      {kPublished, "AM-06", true, true, "Тамбовский район\tAM-01", "", {"AM-06"}},  // only a deleted one hands on
      {kPublished, "AD-02", true, false, "one deleted\tAD-03", "AD-03", {"AD-02", "AD-03"}},  // a loop ends
      {kPublished, "CH-01", true, false, "Чита\tdeleted\tZK-37", "ZK-37", {"CH-01", "ZK-37"}},
      {kPublished, "CH-02", true, false, "Краснокаменск\tdeleted\tZK 37", "", {"CH-02"}},
      {kSemicolon, "AB-01", true, true, "Первый район", "", {"AB-01"}},
      {kSemicolon, "AB-02", true, false, "Old district deleted", "AB-01", {"AB-02", "AB-01"}},
      {kSemicolon, "AB-03", true, false, "gone deleted", "", {"AB-03"}},
      {kSemicolon, "AB-04", true, true, "Четвёртый район", "", {"AB-04"}},
      {kSemicolon, "AB-05", false, false, "", "", {"AB-05"}},  // two fields: no district line
      {kSemicolon, "RDA", false, false, "", "", {"RDA"}},      // the header
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    const core::DistrictInfo info = core::lookUpDistrict(c.list, c.code);
    EXPECT_EQ(info.listed, c.listed);
    EXPECT_EQ(info.valid, c.valid);
    EXPECT_EQ(info.description, c.description);
    EXPECT_EQ(info.successor, c.successor);
    EXPECT_EQ(core::successorChain(c.list, c.code), c.chain);
  }
}

TEST(DistrictList, ProgressOfEachShape) {
  const auto rows = [](const core::AwardProgress& p) {
    Codes out;
    for (const auto& r : p.regions) out.push_back(r.letters + " " + r.name + " " + std::to_string(r.active));
    return out;
  };
  const auto published = core::countProgress(kPublished, "AM-02\nCH-01\nAD-01\n");
  EXPECT_EQ(rows(published), (Codes{"AD РЕСПУБЛИКА АДЫГЕЯ (АДЫГЕЯ) 1", "AM АМУРСКАЯ ОБЛАСТЬ 2"}));
  EXPECT_EQ(published.totals, (core::ProgressTotals{3, 1, 2, 2, 1}));  // CH retired: no row, one in the total
  EXPECT_EQ(core::deletedLine(published.totals),
            "confirmed deleted districts: 2; regions with no active district left: 1");

  const auto semicolon = core::countProgress(kSemicolon, "AB-02\n");
  EXPECT_EQ(rows(semicolon), Codes{"AB AB 2"});  // AB-01 and AB-04
  EXPECT_EQ(semicolon.totals, (core::ProgressTotals{2, 0, 2, 1, 0}));
}

}  // namespace
