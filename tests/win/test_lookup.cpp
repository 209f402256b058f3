// The lookup of the callsign field driven in-process: the nested verdict runs, the
// special words, the watch list, the alert's life and the error boundaries.
#include <gtest/gtest.h>

#include "main_window_fixture.h"

namespace {

class Lookup : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    // Every verdict run, with what the district field held when it ran.
    form->Edit2.OnChange = [this] {
      verdicts.push_back(form->Edit2.text());
      form->Edit2Change();
    };
  }
  std::vector<std::string> verdicts;
  using Runs = std::vector<std::string>;
};

TEST_F(Lookup, CallsignTypedInLowerCaseGetsItsDistrictAndVerdict) {
  form->Edit1.setText("ua1aaa");
  EXPECT_EQ(verdicts, (Runs{"", "AB-12"}));  // cleared first, then the callbook's district
  EXPECT_EQ(form->Edit2.text(), "AB-12");
  EXPECT_EQ(form->caption(), "Абинский район");
  EXPECT_EQ(form->StatusBar1.panelText(), "RDA Status CFM");
  EXPECT_EQ(form->ListBox1.height(), 17 + 18);
  EXPECT_EQ(AlertFlag, 0);
}

TEST_F(Lookup, LongerCallsignsAndTabsNeverMatch) {
  form->Edit1.setText("UA1AAAB");
  EXPECT_EQ(form->Edit2.text(), "KK-33");
  form->Edit1.setText("UA1AA");
  EXPECT_EQ(form->Edit2.text(), "");
  EXPECT_EQ(verdicts, (Runs{"", "KK-33", ""}));
}

TEST_F(Lookup, EveryKeystrokeLooksUpAndTheCallbookFromTheThirdCharacter) {
  const char* typed[] = {"r", "r3", "r3n", "r3ne", "r3new"};
  std::vector<std::size_t> runs;
  for (const char* text : typed) {
    verdicts.clear();
    form->Edit1.setText(text);
    runs.push_back(verdicts.size());
  }
  // Two runs when the callbook has a line: "r3new" only; the rest clear the field.
  EXPECT_EQ(runs, (std::vector<std::size_t>{1, 1, 1, 1, 2}));
  EXPECT_EQ(form->Edit2.text(), "KK-33");
  EXPECT_EQ(AlertFlag, 1);
}

TEST_F(Lookup, SameCallsignTwiceLooksUpOnce) {
  form->Edit1.setText("R9OLD");
  form->Edit1.setText("R9OLD");
  EXPECT_EQ(verdicts.size(), 2u);
}

TEST_F(Lookup, ClearWordEmptiesTheFieldWithANestedLookup) {
  for (const char* word : {"W", "w"}) {
    SCOPED_TRACE(word);
    form->Edit1.setText("R9OLD");
    verdicts.clear();
    form->Edit1.setText(word);
    EXPECT_EQ(form->Edit1.text(), "");
    EXPECT_EQ(form->Edit2.text(), "");
    EXPECT_EQ(verdicts, (Runs{"", ""}));  // the nested lookup's, then this one's
  }
}

TEST_F(Lookup, SetupWordIsLookedUpLikeACallsign) {
  // With L32 ticked "setup" is a callsign; unticked it opens the setup view first
  // and is looked up all the same.
  for (bool l32 : {true, false}) {
    form->CheckBox1.setChecked(l32);
    form->Edit1.clear();
    form->Edit1.setText("setup");
    EXPECT_EQ(form->Edit2.text(), "CD-01");
  }
}

TEST_F(Lookup, WatchListMatchesThePartOfACallsignInTheFieldsOwnCase) {
  dir.writeLines("QJlook.txt", {"r9", "", "UA1AAAB"});
  form->Edit1.setText("R9OLD");  // a confirmed district, then the watch list
  EXPECT_EQ(form->StatusBar1.panelText(), "RDA Status CFM");
  EXPECT_EQ(AlertFlag, 1);

  AlertFlag = 0;
  form->Edit1.setText("r9old");  // lower case in the field: no match
  EXPECT_EQ(AlertFlag, 0);

  form->Edit1.setText("UR9");  // two characters of it are enough
  EXPECT_EQ(AlertFlag, 1);
}

TEST_F(Lookup, AlertOutlivesALookupWithoutValidDistrict) {
  dir.writeLines("QJlook.txt", {"R9X"});
  form->Edit1.setText("R9XYZ");  // not in the callbook: the watch list raises the alert
  EXPECT_EQ(AlertFlag, 1);
  form->Edit1.setText("UA9QQ");  // no district, no confirmation check
  EXPECT_EQ(AlertFlag, 1);
  form->Edit1.setText("R3NEW");  // a new district keeps it
  EXPECT_EQ(AlertFlag, 1);
  form->Edit1.setText("R9OLD");  // a confirmed one ends it
  EXPECT_EQ(AlertFlag, 0);
}

TEST_F(Lookup, MissingCallbookEndsTheLookupAfterTheListBoxReset) {
  dir.writeLines("QJlook.txt", {"UA1"});
  form->Edit2.setText("CD-01");
  ASSERT_EQ(form->ListBox1.height(), 53);
  dir.remove("RUdoz.txt");
  verdicts.clear();
  form->Edit1.setText("UA1AAA");
  ASSERT_EQ(shown().size(), 1u);
  EXPECT_TRUE(cannotOpen(0, "RUdoz.txt"));
  EXPECT_EQ(form->Edit2.text(), "CD-01");
  EXPECT_TRUE(verdicts.empty());
  EXPECT_FALSE(form->ListBox1.visible());
  EXPECT_EQ(form->ListBox1.height(), 17);
  EXPECT_EQ(AlertFlag, 0);  // the watch list never ran

  dir.writeLines("RUdoz.txt", {"UA1AAA AB-12"});
  form->Edit1.setText("UA1AAA ");
  EXPECT_EQ(AlertFlag, 1);  // tried again at the next use
}

TEST_F(Lookup, MissingWatchListEndsTheLookupAfterTheCallbook) {
  dir.remove("QJlook.txt");
  form->Edit1.setText("R3NEW");
  ASSERT_EQ(shown().size(), 1u);
  EXPECT_TRUE(cannotOpen(0, "QJlook.txt"));
  EXPECT_EQ(verdicts, (Runs{"", "KK-33"}));
  EXPECT_EQ(form->StatusBar1.panelText(), "New RDA !");
  EXPECT_FALSE(form->LookList.has_value());
}

TEST_F(Lookup, MissingDistrictListFailsEachVerdictAndTheLookupGoesOn) {
  dir.remove("QJar.txt");
  dir.writeLines("QJlook.txt", {"UA1"});
  form->Edit1.setText("UA1AAA");
  EXPECT_EQ(verdicts, (Runs{"", "AB-12"}));
  ASSERT_EQ(shown().size(), 2u);
  EXPECT_TRUE(cannotOpen(0, "QJar.txt"));
  EXPECT_TRUE(cannotOpen(1, "QJar.txt"));
  EXPECT_EQ(AlertFlag, 1);  // the watch list still ran
  EXPECT_EQ(form->caption(), "Нет такого");
}

TEST_F(Lookup, MissingConfirmationsFailEachVerdictAndTheLookupGoesOn) {
  dir.remove("QJcfm.txt");
  form->Edit1.setText("UA1AAA");
  ASSERT_EQ(shown().size(), 1u);  // only the valid district gets as far as the check
  EXPECT_TRUE(cannotOpen(0, "QJcfm.txt"));
  EXPECT_EQ(form->Edit2.text(), "AB-12");
  EXPECT_FALSE(form->StatusBar1.visible());
}

}  // namespace
