// Which row stood under a press: views recorded as the list moves, presses answered
// by the view in force when the button went down.
#include <gtest/gtest.h>

#include <optional>

#include "core/press_journal.h"

namespace {

using core::PressJournal;

TEST(PressJournal, AnswersWithTheViewInForceAtThePress) {
  PressJournal journal;
  // Rows 20 px a pitch; the title row is the first 20 px.
  journal.viewChanged(1000, {1, 20, {11, 12, 13, 0}});
  journal.viewChanged(1000, {1, 20, {11, 12, 13, 14, 0}});  // same moment: the last stands
  journal.viewChanged(2000, {3, 20, {13, 14, 15, 0}});      // scrolled by two rows
  journal.viewChanged(3000, {3, 20, {14, 15, 0}});          // 13 gone
  journal.rowGone(3000, 13, {"R3AAA", "7012.0", "AB-12"});

  struct Case {
    std::optional<core::Millis> at;
    int y;
    std::optional<std::uint64_t> tag;
  };
  const Case cases[] = {
      {500, 25, 11},          // before the first view: the oldest answers
      {1000, 45, 12},         // a view of the press's own millisecond counts
      {1999, 65, 13},         {1999, 85, 14},  {1999, 105, 0},  // the empty slot
      {1999, 500, 0},         // below the rows
      {1999, 10, std::nullopt},  // the title row
      {2500, 25, 13},         {2999, 45, 14},  {3000, 25, 14},
      {std::nullopt, 45, 15},  // a press made now
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "at " << c.at.value_or(-1) << " y " << c.y);
    EXPECT_EQ(journal.tagAt(c.at, c.y), c.tag);
  }
  ASSERT_NE(journal.goneRow(13), nullptr);
  EXPECT_EQ((*journal.goneRow(13))[0], "R3AAA");
  EXPECT_EQ(journal.goneRow(11), nullptr) << "never removed";
}

TEST(PressJournal, ForgetsWhatNoPressCanNameAnyMore) {
  PressJournal journal;
  journal.viewChanged(0, {1, 20, {1, 2, 0}});
  journal.viewChanged(10, {1, 20, {3, 4, 0}});
  EXPECT_FALSE(journal.mayName(0));
  EXPECT_TRUE(journal.mayName(2));
  journal.rowGone(10, 2, {"A", "B", "C"});
  // Long after, views go by and the old ones are dropped, but the one in force.
  for (core::Millis t = 1; t <= 300; ++t) journal.viewChanged(t * 1000, {1, 20, {100 + std::uint64_t(t), 0}});
  EXPECT_LT(journal.views(), 200u);
  EXPECT_EQ(journal.goneRow(2), nullptr);
  EXPECT_FALSE(journal.mayName(3));
  EXPECT_EQ(journal.tagAt(299500, 25), std::optional<std::uint64_t>(399));
}

}  // namespace
