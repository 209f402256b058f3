// The worked log while Logger32 rewrites it: the reading in force, when the file is
// read again and which problem the operator is told.
#include <gtest/gtest.h>

#include "core/worked_log_file.h"

namespace {

const std::string kGood = "<EOH>\n<CNTY:5>AB-12<EOR>\n<CNTY:5>KK-33<EOR>\n";
const std::string kSameSize = "<EOH>\n<CNTY:5>AB-12<EOR>\n<CNTY:5>MO-12<EOR>\n";
const std::string kCut = "<EOH>\n<CNTY:5>AB-12<EOR>\n<CNTY:5>KK-33";
const std::string kBadRecord = "<EOH>\n<CNTY:5>AB-12<EOR>\n<CNTY:40>MO-12<EOR>\n<CNTY:5>KK-33<EOR>\n";

TEST(WorkedLogFile, TheLastWholeVersionStandsWhileTheFileIsRewritten) {
  const struct {
    const char* what;
    const std::string* bytes;  // nullptr: the file cannot be read
    int written, readAt;       // seconds
    bool grows, reads;         // the file grows while it is read; the check reads it
    const char* worked;        // the log in force, "-" none
    const char* message;       // a piece of the message shown, "" none
  } steps[] = {
      {"first reading", &kGood, 100, 110, false, true, "AB-12 KK-33", ""},
      {"unchanged: not read", &kGood, 100, 112, false, false, "AB-12 KK-33", ""},
      {"cut mid-record", &kCut, 120, 120, false, true, "AB-12 KK-33", ""},
      {"growing while read", &kSameSize, 121, 121, true, true, "AB-12 KK-33", ""},
      {"whole, just written", &kSameSize, 122, 122, false, true, "AB-12 MO-12", ""},
      {"the same size and time again", &kGood, 122, 123, false, true, "AB-12 KK-33", ""},
      {"long after: final", &kGood, 122, 130, false, true, "AB-12 KK-33", ""},
      {"final: not read", &kGood, 122, 135, false, false, "AB-12 KK-33", ""},
      {"a bad record", &kBadRecord, 140, 150, false, true, "AB-12 KK-33", "line 3: the field CNTY declares 40"},
      {"the same problem again", &kBadRecord, 160, 170, false, true, "AB-12 KK-33", ""},
      {"cut", &kCut, 180, 181, false, true, "AB-12 KK-33", ""},
      {"cut and left so", &kCut, 180, 190, false, true, "AB-12", "line 3: the last record has no <EOR>"},
      {"missing", nullptr, 0, 200, false, true, "AB-12", ""},
      {"still missing", nullptr, 0, 202, false, true, "-", "Cannot open"},
      {"back", &kGood, 210, 220, false, true, "AB-12 KK-33", ""},
  };
  core::WorkedLogFile file("log.adi");
  for (const auto& s : steps) {
    SCOPED_TRACE(s.what);
    const core::FileStamp stamp{s.bytes ? s.bytes->size() : 0, std::uint64_t(s.written) * 10'000'000};
    EXPECT_EQ(file.wantsReading(stamp), s.reads);
    const core::FileStamp after = s.grows ? core::FileStamp{stamp.size + 9, stamp.written + 1} : stamp;
    std::string message;
    if (s.reads)
      message = s.bytes ? file.take(stamp, *s.bytes, after, std::uint64_t(s.readAt) * 10'000'000)
                        : file.takeFailure("Cannot open file \"log.adi\".");
    std::string worked;
    for (const char* d : {"AB-12", "KK-33", "MO-12"})
      if (file.log() && file.log()->worked(d)) worked += (worked.empty() ? "" : " ") + std::string(d);
    EXPECT_EQ(file.log() ? worked : "-", s.worked);
    if (*s.message) EXPECT_NE(message.find(s.message), std::string::npos) << message;
    else EXPECT_EQ(message, "");
  }
}

}  // namespace
