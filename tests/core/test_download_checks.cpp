#include <gtest/gtest.h>

#include "core/download_body.h"

namespace {

const std::string kHtml = "<!DOCTYPE html>\n<html><body><pre>\nAB-12\tx\n</pre></body></html>\n";
const std::string kCsvHeader = "\"RDA\",\"Date\",\"Time\",\"Band\",\"Mode\"\r\n";
const std::string kQsoCsv = kCsvHeader + "\"AB-12\",\"01 Jan 2020\",\"12:00\",\"14\",\"CW\"\r\n";

// A refusal that begins as expected; none at all when none is expected.
void expectRefusal(const std::string& refusal, std::string_view expected) {
  EXPECT_EQ(refusal.substr(0, expected.size()), expected);
  EXPECT_EQ(refusal.empty(), expected.empty()) << refusal;
}

TEST(DownloadChecks, TheDistrictListMustHoldADistrictLine) {
  const struct {
    const char* what;
    std::string body;
    const char* refusal;
  } cases[] = {
      {"published", "RDA list\n\tАМУРСКАЯ ОБЛАСТЬ   (AM)   UA0J\nAM-01\tБлаговещенск\n", ""},
      {"byte order mark, CR LF", "\xEF\xBB\xBF" "AB-12 First\r\n", ""},
      {"semicolon form", "RDA;REGION;TITLE\r\nAB-01;AB;x\r\n", ""},
      {"nothing", "", "The server sent an empty list."},
      {"one line break", "\r\n", "The server sent an empty list."},
      {"blank lines, then a page", std::string(64, '\n') + kHtml, "The server sent a web page"},
      {"a page", kHtml, "The server sent a web page"},
      {"an error as text", "Service unavailable\r\n", "The server's answer is no district list"},
      {"a CSV header", kCsvHeader, "The server's answer is no district list"},
      {"a code without a separator", "AB-12\n", "The server's answer is no district list"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    expectRefusal(core::districtListRefusal(c.body), c.refusal);
  }
}

TEST(DownloadChecks, ConfirmationsMayBeEmptyOnlyWhenTheOldFileIsToo) {
  const std::string plain = "TN-02;R7ND;40;SSB;2011-09-01\r\n";
  const struct {
    const char* what;
    std::string body, old;
    const char* refusal;
  } cases[] = {
      {"plain", plain, kQsoCsv, ""},
      {"the service's CSV", kQsoCsv, plain, ""},
      {"CSV with a byte order mark, LF", "\xEF\xBB\xBF\"Bands\",\"RDA\",\"1.8\"\n3,\"AB-12\",\"CW\"\n", plain, ""},
      {"a header alone, a new operator", kCsvHeader, "", ""},
      {"nothing, a new operator", "", "\r\n", ""},
      {"a header alone", kCsvHeader, plain, "The server's answer holds no confirmation"},
      {"blank lines", "\r\n\r\n", kQsoCsv, "The server's answer holds no confirmation"},
      {"a page", kHtml, "", "The server sent a web page"},
      {"an error as text", "Service unavailable", "", "The server's answer is no list of confirmations"},
      {"CSV without a code", kCsvHeader + "\"\",\"01 Jan 2020\"\r\n", "", "The server's answer is no list"},
      {"the district list", "RDA list\n\tАМУРСКАЯ ОБЛАСТЬ   (AM)   UA0J\nAM-01\tБлаговещенск\n", plain,
       "The server's answer is the district list"},
      {"the district list, semicolons", "RDA;REGION;TITLE\r\nAB-01;AB;x\r\n", plain,
       "The server's answer is the district list"},
      {"the region list", "AD-01 12.2008-LastQso 31.4%MW\r\nAD-02 09.2024-LastQso 46.5%MW\r\n", plain,
       "The server's answer is the region list"},
      {"a note in brackets", "AM-01;R0JA;20;CW;2020-01-01 (AM) QSL via bureau\r\n", plain, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    expectRefusal(core::confirmationsRefusal(c.body, c.old), c.refusal);
  }
  const std::string kept = core::confirmationsRefusal("", plain);
  EXPECT_NE(kept.find("is kept"), std::string::npos) << kept;
  EXPECT_NE(kept.find("delete the file"), std::string::npos) << kept;
}

}  // namespace
