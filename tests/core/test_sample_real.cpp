// The sample files in today's shapes (data/sample/real) show what the demo relies on.
#include <gtest/gtest.h>

#include "core/award_progress.h"
#include "core/callbook.h"
#include "core/districts.h"
#include "core/download_body.h"

namespace {

using Codes = std::vector<std::string>;

std::string sample(const std::string& name) { return std::string(RUDOZ_SAMPLE_DIR) + "/" + name; }

TEST(SampleRealShapes, DemoStationsProgressAndDownloadChecks) {
  const core::FileBytes list = core::readFileBytes(sample("real/QJar.txt"));
  const core::FileBytes cfm = core::readFileBytes(sample("real/QJcfm.txt"));
  const std::pair<const char*, Codes> stations[] = {
      {"R1EXP", {"IV-08"}},           // after an expired line
      {"R2TWO", {"BO-07", "KC-05"}},  // two districts today
      {"R4NEW", {"AD-15"}},           // its range begins in 2045
      {"R5GONE", {}},                 // every line expired
      {"R6BAD", {"AD-15"}},           // 2023-02-29 is no day
  };
  for (const auto& [call, valid] : stations) {
    core::CallbookFile book(sample("real/RUdoz.txt"));
    const auto found = book.find(core::callbookKey(call), {2044, 12, 31});
    EXPECT_EQ(found ? found->validDistricts : Codes{}, valid) << call;
  }
  // R3OLD's deleted district hands on twice; R1EXP's expired district is confirmed,
  // its present one and R2TWO's second are not.
  EXPECT_EQ(core::successorChain(list.view(), "AD-03"), (Codes{"AD-03", "AD-04", "AD-01"}));
  for (const auto& [code, confirmed] : {std::pair{"KA-17", true}, {"IV-08", false}, {"BO-07", true}, {"KC-05", false},
                                        {"AD-01", false}})
    EXPECT_EQ(core::firstConfirmation(cfm.view(), code).has_value(), confirmed) << code;

  EXPECT_EQ(core::countConfirmed(core::TextList::loadSorted(sample("real/QJcfm.txt"))), 155);
  const core::AwardProgress progress = core::countProgress(list.view(), cfm.view());
  EXPECT_EQ(progress.totals.active, 298);
  EXPECT_EQ(progress.totals.retiredRegions, 1);
  for (const core::RegionProgress& region : progress.regions) EXPECT_NE(region.name, region.letters);
  for (const std::string dir : {"", "real/"}) {
    EXPECT_EQ(core::districtListRefusal(core::readRawFileBytes(sample(dir + "QJar.txt")).view()), "") << dir;
    EXPECT_EQ(core::confirmationsRefusal(core::readRawFileBytes(sample(dir + "QJcfm.txt")).view(), ""), "") << dir;
  }
}

}  // namespace
