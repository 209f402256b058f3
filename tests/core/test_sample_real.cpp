// The sample files in today's shapes (data/sample/real) show what the demo relies on.
#include <gtest/gtest.h>

#include "core/award_progress.h"
#include "core/callbook.h"
#include "core/districts.h"
#include "core/download_body.h"

namespace {

using Codes = std::vector<std::string>;

std::string sample(const std::string& name) { return std::string(RUDOZ_SAMPLE_DIR) + "/" + name; }

TEST(SampleRealShapes, TheDemoStationsOnADayOfTheComingYears) {
  const core::FileBytes list = core::readFileBytes(sample("real/QJar.txt"));
  const core::FileBytes cfm = core::readFileBytes(sample("real/QJcfm.txt"));
  const struct {
    const char* call;
    Codes valid;
    Codes judged;  // the first district's successor chain
    bool confirmed;
  } cases[] = {
      {"R1EXP", {"IV-08"}, {"IV-08"}, false},  // its expired line (KA-17) is confirmed
      {"R2TWO", {"BO-07", "KC-05"}, {"BO-07"}, true},
      {"R3OLD", {"AD-03"}, {"AD-03", "AD-04", "AD-01"}, false},
      {"R4NEW", {"AD-15"}, {"AD-15"}, false},  // its range begins in 2045
      {"R5GONE", {}, {}, false},
      {"R6BAD", {"AD-15"}, {"AD-15"}, false},  // 2023-02-29 is no day
      {"EK1SK", {"KA-18", "KA-17"}, {"KA-18"}, false},
  };
  for (const core::Date on : {core::Date{2026, 12, 9}, core::Date{2044, 12, 31}}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.call) + " in " + std::to_string(on.year));
      core::CallbookFile book(sample("real/RUdoz.txt"));
      const auto found = book.find(core::callbookKey(c.call), on);
      EXPECT_EQ(found ? found->validDistricts : Codes{}, c.valid);
      if (!found) continue;
      const Codes chain = core::successorChain(list.view(), found->district);
      EXPECT_EQ(chain, c.judged);
      EXPECT_TRUE(core::lookUpDistrict(list.view(), chain.back()).valid);
      EXPECT_EQ(core::firstConfirmation(cfm.view(), chain.back()).has_value(), c.confirmed);
    }
  }
  EXPECT_TRUE(core::firstConfirmation(cfm.view(), "KA-17").has_value());
}

TEST(SampleRealShapes, ProgressAndDownloadChecksTakeTheFiles) {
  const core::FileBytes list = core::readFileBytes(sample("real/QJar.txt"));
  const core::FileBytes cfm = core::readFileBytes(sample("real/QJcfm.txt"));
  EXPECT_EQ(core::countConfirmed(core::TextList::loadSorted(sample("real/QJcfm.txt"))), 155);
  const core::AwardProgress progress = core::countProgress(list.view(), cfm.view());
  EXPECT_EQ(progress.totals.active, 298);
  EXPECT_EQ(progress.totals.retiredRegions, 1);
  EXPECT_EQ(progress.regions.size(), 23u);
  for (const core::RegionProgress& region : progress.regions) EXPECT_NE(region.name, region.letters);
  for (const char* set : {"", "real/"}) {
    SCOPED_TRACE(set);
    const std::string dir = set;
    EXPECT_EQ(core::districtListRefusal(core::readRawFileBytes(sample(dir + "QJar.txt")).view()), "");
    EXPECT_EQ(core::confirmationsRefusal(core::readRawFileBytes(sample(dir + "QJcfm.txt")).view(), ""), "");
  }
}

}  // namespace
