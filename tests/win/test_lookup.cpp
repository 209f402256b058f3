// The lookup of the callsign field driven in-process: the nested verdict runs, the
// special words, the watch list, the alert's life and the error boundaries.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <algorithm>

#include "app/ProgressU.h"
#include "app/Unit2.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/text.h"
#include "main_window_fixture.h"

namespace {

class Lookup : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    // Every verdict run, with what the district field held when it ran.
    form->OnVerdict = [this](const std::string& district) { verdicts.push_back(district); };
  }
  std::vector<std::string> verdicts;
  using Runs = std::vector<std::string>;
};

TEST_F(Lookup, CallsignTypedInLowerCaseGetsItsDistrictAndVerdict) {
  form->EnterCallsign("ua1aaa");
  EXPECT_EQ(verdicts, (Runs{"", "AB-12"}));  // cleared first, then the callbook's district
  EXPECT_EQ(form->District(), "AB-12");
  EXPECT_EQ(form->caption(), "Абинский район");
  EXPECT_EQ(form->VerdictText(), "RDA Status CFM");
  EXPECT_EQ(form->ConfirmingListHeight(), 17 + 18);
  EXPECT_EQ(AlertFlag, 0);
}

// The award's files as they circulate: a callbook with dated lines, the district
// list as published (indented headers, successors), the service's CSV.
TEST_F(Lookup, TheAwardsFilesInTheirRealShapes) {
  dir.writeLines("RUdoz.txt", {"R1OLD <2001-01-01, 2005-12-31> CD-01", "R1OLD AB-12", "R1TWO <2020-01-01, > KK-33",
                               "R1TWO AB-12", "R1DEL AB-01"});
  dir.write("QJar.txt", "\tTEST REGION   (AB)   UA1A\nAB-01\tdeleted\t\tZK-37\nAB-12\tAbinsk\nCD-01\tOther\n"
                        "KK-33\tFresh\n  Z REGION  (ZK)  UA0Z\nZK-37\tZeya\n");
  const std::string csv = "\"RDA\",\"Date\",\"Time\",\"Band\",\"Mode\",\"Correspondent\"\r\n"
                          "\"AB-12\",\"01 Jan 2020\",\"12:00\",\"14\",\"CW\",\"R1ABC\"\r\n"
                          "\"CD-01\",\"02 Feb 2021\",\"13:00\",\"7\",\"SSB\",\"R1CCC\"\r\n";
  const std::string plain = "AB-12;R1ABC;20m\r\nCD-01;R1CCC;40m\r\n";
  const struct {
    const char* field;  // "1": the callsign field, "2": the district field
    const char* typed;
    const char* district, *title;
    bool confirmed;
    std::vector<std::string> listBoxCsv, listBoxPlain;
  } cases[] = {
      // The expired dated line comes first; the plain line counts.
      {"1", "R1OLD", "AB-12", "Abinsk", true, {"AB-12 01 Jan 2020 12:00 14 CW R1ABC"}, {"AB-12;R1ABC;20m"}},
      // Two lines valid today: the first gives the district, the list box names both.
      {"1", "R1TWO", "KK-33", "Fresh", false, {"Callbook today: KK-33, AB-12"}, {"Callbook today: KK-33, AB-12"}},
      // A deleted district is judged by its successor.
      {"2", "AB-01", "AB-01", "AB-01 deleted -> ZK-37 Zeya", false, {}, {}},
  };
  for (const std::string& confirmations : {csv, plain}) {
    dir.write("QJcfm.txt", confirmations);
    EXPECT_EQ(form->CountConfirmations(), "CFM-2");
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.typed) + (confirmations == csv ? " with CSV" : " with plain lines"));
      form->EnterCallsign("");
      if (std::string(c.field) == "1")
        form->EnterCallsign(c.typed);
      else
        form->EnterDistrict(c.typed);
      EXPECT_EQ(form->District(), c.district);
      EXPECT_EQ(form->caption(), c.title);
      EXPECT_EQ(form->VerdictText(), c.confirmed ? "RDA Status CFM" : "New RDA !");
      EXPECT_EQ(AlertFlag, c.confirmed ? 0 : 1);
      EXPECT_EQ(form->ConfirmingList(), confirmations == csv ? c.listBoxCsv : c.listBoxPlain);
    }
  }
  // The progress counts the same from either form.
  std::vector<std::string> totals;
  for (const std::string& confirmations : {csv, plain}) {
    dir.write("QJcfm.txt", confirmations);
    TProgress progress;
    progress.Refresh();
    totals.push_back(progress.TotalsText());
  }
  EXPECT_EQ(totals[0], "confirmed 2 of 4 active districts, 50.0 %");
  EXPECT_EQ(totals[1], totals[0]);
}

TEST_F(Lookup, LongerCallsignsAndTabsNeverMatch) {
  form->EnterCallsign("UA1AAAB");
  EXPECT_EQ(form->District(), "KK-33");
  form->EnterCallsign("UA1AA");
  EXPECT_EQ(form->District(), "");
  EXPECT_EQ(verdicts, (Runs{"", "KK-33", ""}));
}

TEST_F(Lookup, EveryKeystrokeLooksUpAndTheCallbookFromTheThirdCharacter) {
  const char* typed[] = {"r", "r3", "r3n", "r3ne", "r3new"};
  std::vector<std::size_t> runs;
  for (const char* text : typed) {
    verdicts.clear();
    form->EnterCallsign(text);
    runs.push_back(verdicts.size());
  }
  // Two runs when the callbook has a line: "r3new" only; the rest clear the field.
  EXPECT_EQ(runs, (std::vector<std::size_t>{1, 1, 1, 1, 2}));
  EXPECT_EQ(form->District(), "KK-33");
  EXPECT_EQ(AlertFlag, 1);
}

TEST_F(Lookup, SameCallsignTwiceLooksUpOnce) {
  form->EnterCallsign("R9OLD");
  form->EnterCallsign("R9OLD");
  EXPECT_EQ(verdicts.size(), 2u);
}

TEST_F(Lookup, ClearWordEmptiesTheFieldWithANestedLookup) {
  for (const char* word : {"W", "w"}) {
    SCOPED_TRACE(word);
    form->EnterCallsign("R9OLD");
    verdicts.clear();
    form->EnterCallsign(word);
    EXPECT_EQ(form->Callsign(), "");
    EXPECT_EQ(form->District(), "");
    EXPECT_EQ(verdicts, (Runs{"", ""}));  // the nested lookup's, then this one's
  }
}

TEST_F(Lookup, SetupWordIsLookedUpLikeACallsign) {
  // With L32 ticked "setup" is a callsign; unticked it opens the setup view first
  // and is looked up all the same.
  for (bool l32 : {true, false}) {
    form->SetTakesSpots(l32);
    form->ClearCallsign();
    form->EnterCallsign("setup");
    EXPECT_EQ(form->District(), "CD-01");
  }
}

TEST_F(Lookup, WatchListMatchesThePartOfACallsignInTheFieldsOwnCase) {
  dir.writeLines("QJlook.txt", {"r9", "", "UA1AAAB"});
  form->EnterCallsign("R9OLD");  // a confirmed district, then the watch list
  EXPECT_EQ(form->VerdictText(), "RDA Status CFM");
  EXPECT_EQ(AlertFlag, 1);

  AlertFlag = 0;
  form->EnterCallsign("r9old");  // lower case in the field: no match
  EXPECT_EQ(AlertFlag, 0);

  form->EnterCallsign("UR9");  // two characters of it are enough
  EXPECT_EQ(AlertFlag, 1);
}

TEST_F(Lookup, AlertOutlivesALookupWithoutValidDistrict) {
  dir.writeLines("QJlook.txt", {"R9X"});
  form->EnterCallsign("R9XYZ");  // not in the callbook: the watch list raises the alert
  EXPECT_EQ(AlertFlag, 1);
  form->EnterCallsign("UA9QQ");  // no district, no confirmation check
  EXPECT_EQ(AlertFlag, 1);
  form->EnterCallsign("R3NEW");  // a new district keeps it
  EXPECT_EQ(AlertFlag, 1);
  form->EnterCallsign("R9OLD");  // a confirmed one ends it
  EXPECT_EQ(AlertFlag, 0);
}

// The alert outlives a lookup for the blinking, but a lookup is listed (here: its
// line in the alert log) only for the alert it raised itself.
TEST_F(Lookup, OnlyALookupThatRaisedTheAlertItselfIsListed) {
  dir.writeLines("QJmis.txt", {});
  for (const char* call : {"R3NEW", "UA9QQ", "R9XYZ", "", "R9OLD", "R9OLE"}) form->EnterCallsign(call);
  EXPECT_EQ(AlertFlag, 0);
  std::vector<std::string> listed;
  for (const std::string& line : dir.readLines("QJmis.txt")) listed.push_back(line.substr(0, line.find(':')));
  EXPECT_EQ(listed, (std::vector<std::string>{"R3NEW", "R9XYZ"}));
}

TEST_F(Lookup, MissingCallbookEndsTheLookupAfterTheListBoxReset) {
  dir.writeLines("QJlook.txt", {"UA1"});
  form->EnterDistrict("CD-01");
  ASSERT_EQ(form->ConfirmingListHeight(), 53);
  dir.remove("RUdoz.txt");
  verdicts.clear();
  form->EnterCallsign("UA1AAA");
  ASSERT_EQ(shown().size(), 1u);
  EXPECT_TRUE(cannotOpen(0, "RUdoz.txt"));
  EXPECT_EQ(form->District(), "CD-01");
  EXPECT_TRUE(verdicts.empty());
  EXPECT_FALSE(form->ConfirmingListShown());
  EXPECT_EQ(form->ConfirmingListHeight(), 17);
  EXPECT_EQ(AlertFlag, 0);  // the watch list never ran

  dir.writeLines("RUdoz.txt", {"UA1AAA AB-12"});
  form->EnterCallsign("UA1AAA ");
  EXPECT_EQ(AlertFlag, 1);  // tried again at the next use
}

TEST_F(Lookup, MissingWatchListEndsTheLookupAfterTheCallbook) {
  dir.remove("QJlook.txt");
  form->EnterCallsign("R3NEW");
  ASSERT_EQ(shown().size(), 1u);
  EXPECT_TRUE(cannotOpen(0, "QJlook.txt"));
  EXPECT_EQ(verdicts, (Runs{"", "KK-33"}));
  EXPECT_EQ(form->VerdictText(), "New RDA !");
  EXPECT_FALSE(form->LookList);
}

TEST_F(Lookup, MissingDistrictListFailsEachVerdictAndTheLookupGoesOn) {
  dir.remove("QJar.txt");
  dir.writeLines("QJlook.txt", {"UA1"});
  form->EnterCallsign("UA1AAA");
  EXPECT_EQ(verdicts, (Runs{"", "AB-12"}));
  ASSERT_EQ(shown().size(), 2u);
  EXPECT_TRUE(cannotOpen(0, "QJar.txt"));
  EXPECT_TRUE(cannotOpen(1, "QJar.txt"));
  EXPECT_EQ(AlertFlag, 1);  // the watch list still ran
  EXPECT_EQ(form->caption(), "Нет такого");
}

TEST_F(Lookup, MissingConfirmationsFailEachVerdictAndTheLookupGoesOn) {
  dir.remove("QJcfm.txt");
  form->EnterCallsign("UA1AAA");
  ASSERT_EQ(shown().size(), 1u);  // only the valid district gets as far as the check
  EXPECT_TRUE(cannotOpen(0, "QJcfm.txt"));
  EXPECT_EQ(form->District(), "AB-12");
  EXPECT_FALSE(form->VerdictShown());
}

}  // namespace

namespace {

// The lookup with the link window beside it: spot records written into its spot
// field reach the callsign field, and the lookup reads the comment back from it.
class SpotComments : public Lookup {
 protected:
  void SetUp() override {
    Lookup::SetUp();
    dir.writeLines("QJar.txt", {"AB-12 Abinsk district", "MO-05 Moscow district"});
    dir.writeLines("QJcfm.txt", {"AB-12;UA1AAA;2019"});
    link = std::make_unique<TForm2>();
    Form2 = link.get();
  }
  void TearDown() override {
    Form2 = nullptr;
    link.reset();
    Lookup::TearDown();
  }
  static std::string record(const std::string& call, const std::string& comment) {
    return "<DXSPOT_CALLSIGN:" + std::to_string(call.size()) + ">" + call + "<DXSPOT_FREQ:7>14025.0<DXSPOT_COMMENT:" +
           std::to_string(comment.size()) + ">" + comment + "<APP_DXSPOT_TIME:4>1201";
  }
  // Logger32 writes a record into the link window's spot field.
  void writeRecord(const std::string& record) const {
    SendMessageA(link->SpotField(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(record.c_str()));
  }
  std::unique_ptr<TForm2> link;
};

// The forms of comment are the core's tests; here each path from a spot record to
// a verdict: the short form, a long tail, upper-casing, none, trusted unchecked.
TEST_F(SpotComments, EveryFormOfCommentReachesItsVerdict) {
  const struct {
    const char* comment;
    const char* district;  // "" : no district
    const char* title;
    const char* bar;  // "" : no verdict
  } cases[] = {
      {"AB-12", "AB-12", "Abinsk district", "RDA Status CFM"},
      {"rda mo-05", "MO-05", "Moscow district", "New RDA !"},
      {"RDA: AB12 TNX 73", "AB-12", "Abinsk district", "RDA Status CFM"},
      {"URDA MO-05", "", "Нет такого", ""},
      {"RDA XX-99 TNX", "XX-99", "Нет такого", ""},  // trusted without a check, then judged
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.comment);
    const std::string call = "R1Q" + std::string(1, char('A' + n++));
    verdicts.clear();
    writeRecord(record(call, c.comment));
    EXPECT_EQ(form->Callsign(), call);
    EXPECT_EQ(form->District(), c.district);
    EXPECT_EQ(form->caption(), c.title);
    EXPECT_EQ(form->VerdictShown(), *c.bar != '\0');
    if (*c.bar) {
      EXPECT_EQ(form->VerdictText(), c.bar);
    }
    // The field is cleared, then the comment's district judged once.
    const Runs expected = *c.district ? Runs{"", c.district} : Runs{""};
    EXPECT_EQ(verdicts, expected);
  }
  EXPECT_TRUE(shown().empty());
}

// A record is read once, when Logger32 writes it: the field written again while its
// lookup runs (the same callsign, another comment) changes that lookup in nothing,
// and the record written last serves the next typed callsign.
TEST_F(SpotComments, ARecordIsReadOnceWhenItArrives) {
  bool rewritten = false;
  form->OnLookup = [&](const std::string&) {
    if (!std::exchange(rewritten, true)) writeRecord(record("R1QZ", "RDA MO-05"));
  };
  writeRecord(record("R1QZ", "RDA AB-12"));
  EXPECT_TRUE(rewritten);
  EXPECT_EQ(form->District(), "AB-12");
  EXPECT_EQ(verdicts, (Runs{"", "AB-12"}));
  form->ClearCallsign();
  form->EnterCallsign("r1qz");  // the station typed: the record written last speaks for it
  EXPECT_EQ(form->District(), "MO-05");
}

// An edited reference file counts at the very next spot: each of the four written
// twice at the same size, the second time with the write time the first left (as a
// file system that keeps whole seconds would leave it).
TEST_F(SpotComments, AnEditedFileCountsAtTheVeryNextSpot) {
  const auto writeTime = [this](const std::string& name, FILETIME* get, const FILETIME* set) {
    HANDLE f = CreateFileW(ui::widen(dir.path() + "\\" + name).c_str(), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    if (get) GetFileTime(f, nullptr, nullptr, get);
    if (set) SetFileTime(f, nullptr, nullptr, set);
    CloseHandle(f);
  };
  const struct {
    const char* file;
    std::vector<std::string> first, second;  // the same size
    std::function<std::string()> seen;
    const char *afterFirst, *afterSecond;
  } edits[] = {
      {"RUdoz.txt", {"R1AAA AB-12", "R1AAB AB-12"}, {"R1AAA MO-05", "R1AAB MO-05"}, [this] { return form->District(); },
       "AB-12", "MO-05"},
      {"QJcfm.txt", {"AB-12;UA1AAA;2019"}, {"MO-05;UA1AAA;2019"}, [this] { return form->VerdictText(); }, "New RDA !",
       "RDA Status CFM"},
      {"QJar.txt", {"AB-12 Abinsk district", "MO-05 Moscow district"}, {"AB-12 Abinsk district", "MO-05 Moskva district"},
       [this] { return form->caption(); }, "Moscow district", "Moskva district"},
      {"QJlook.txt", {"R9X"}, {"R1A"}, [] { return std::to_string(AlertFlag); }, "0", "1"},
  };
  int spot = 0;
  for (const auto& e : edits) {
    SCOPED_TRACE(e.file);
    FILETIME first{};
    dir.writeLines(e.file, e.first);
    writeTime(e.file, &first, nullptr);
    writeRecord(record(spot++ % 2 ? "R1AAB" : "R1AAA", ""));
    EXPECT_EQ(e.seen(), e.afterFirst);
    dir.writeLines(e.file, e.second);
    writeTime(e.file, nullptr, &first);
    writeRecord(record(spot++ % 2 ? "R1AAB" : "R1AAA", ""));
    EXPECT_EQ(e.seen(), e.afterSecond);
  }
  EXPECT_TRUE(shown().empty());
}

// A spot's comment names the district of the station it was written about: a typed
// callsign reads the last spot's comment only when it is that station.
TEST_F(SpotComments, TheLastSpotsCommentServesOnlyItsOwnStationTyped) {
  dir.writeLines("QJmis.txt", {});
  writeRecord(record("DL1ABC", "RDA MO-05"));  // not Russian: never reaches the field
  EXPECT_EQ(form->Callsign(), "");
  for (const char* typed : {"U", "UA", "UA1", "UA1A", "UA1AA", "UA1AAA"}) form->EnterCallsign(typed);
  EXPECT_EQ(form->District(), "AB-12");  // the callbook's, confirmed
  EXPECT_EQ(form->VerdictText(), "RDA Status CFM");
  EXPECT_EQ(dir.readLines("QJmis.txt"), std::vector<std::string>{}) << "no keystroke took the comment's district";
  form->EnterCallsign("dl1abc");  // the spot's own station
  EXPECT_EQ(form->District(), "MO-05");
  EXPECT_EQ(form->VerdictText(), "New RDA !");
}

TEST_F(SpotComments, MissingDistrictListEndsTheLookupAtTheCommentsCheck) {
  dir.writeLines("QJlook.txt", {"R1"});
  writeRecord(record("R1QQ", "RDA: AB12 TNX"));
  form->ClearCallsign();
  dir.remove("QJar.txt");
  AlertFlag = 0;
  form->EnterCallsign("r1qq");  // the spot's station typed: its comment counts
  // The emptied field's verdict fails, then the comment's check fails and ends the
  // lookup before the watch list.
  ASSERT_EQ(shown().size(), 2u);
  EXPECT_TRUE(cannotOpen(0, "QJar.txt"));
  EXPECT_TRUE(cannotOpen(1, "QJar.txt"));
  EXPECT_EQ(AlertFlag, 0);
  EXPECT_FALSE(form->LookList);
}

}  // namespace

namespace {

// Message boxes that behave like the real one: while a box is open, its own message
// loop serves what Logger32 sends, here the next spots. Their lookups find a watch
// list that matches nothing.
class SpotsWhileABoxIsOpen : public SpotComments {
 protected:
  void SetUp() override {
    SpotComments::SetUp();
    ui::setMessageBoxHook([this](const std::string& text, const std::string&, unsigned) {
      ++open;
      deepest = std::max(deepest, open);
      boxes.push_back(text);
      if (!arriving.empty()) dir.writeLines("QJlook.txt", {"ZZZ"});
      while (!arriving.empty()) {
        const std::string next = arriving.front();
        arriving.erase(arriving.begin());
        writeRecord(next);
      }
      if (open == 1 && form->LookList) heldWhileOpen.assign(form->LookList->begin(), form->LookList->end());
      --open;
      return IDOK;
    });
  }
  std::vector<std::string> arriving;
  std::vector<std::string> boxes;
  std::vector<std::string> heldWhileOpen;  // the current watch list once the spots were handled
  int open = 0, deepest = 0;
};

TEST_F(SpotsWhileABoxIsOpen, OuterLookupFinishesWithItsOwnWatchListAndOneBoxAtATime) {
  // Before the first download there are no confirmations: every verdict fails, and
  // the first failure opens the box inside the lookup of R1QA, after it loaded its
  // watch list. Two spots arrive while the box is open and fail the same way.
  dir.remove("QJcfm.txt");
  dir.writeLines("QJlook.txt", {"R"});
  arriving = {record("R2QB", "RDA: AB12 TNX"), record("R3QC", "RDA: AB12 TNX")};
  writeRecord(record("R1QA", "RDA: AB12 TNX"));

  EXPECT_EQ(heldWhileOpen, std::vector<std::string>{"R"});  // the nested lookups freed none of it
  EXPECT_EQ(deepest, 1);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].rfind("Cannot open file \"QJcfm.txt\". ", 0), 0u);
  EXPECT_EQ(form->Callsign(), "R3QC");  // the spots went on being handled
  EXPECT_EQ(AlertFlag, 1);  // the outer lookup's own watch list, "R", matched
  EXPECT_FALSE(form->LookList);

  // Once the box is closed, the next error is shown again.
  writeRecord(record("R1QD", "RDA: AB12 TNX"));
  EXPECT_EQ(boxes.size(), 2u);
}

}  // namespace
