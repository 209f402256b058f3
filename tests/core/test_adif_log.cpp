// The worked log: Logger32's ADIF export read for its districts and bands.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "core/adif_log.h"
#include "core/text_file.h"

namespace {

using core::Band;

// "KK-33 20m": a district and a band as the log's BAND names it ("KK-33 " for none).
Band bandOf(const std::string& entry) { return core::bandOfLabel(entry.substr(5)); }

TEST(AdifLog, FieldsByTheirByteLengthsAndWhatEachFaultCosts) {
  const struct {
    const char* what;
    std::string adif;
    std::size_t qsos;
    std::vector<std::string> on, notOn;  // worked on that band, or not
    std::size_t problemLine;             // 0: none
    const char* problem;
  } cases[] = {
      {"header, any order, names in any case, a type", "Logger32 export\r\n<ADIF_VER:5>3.1.0 <PROGRAMID:8>Logger32\r\n<EOH>\r\n"
       "<CALL:5>R3NEW <BAND:3>20m <CNTY:5>KK-33 <QSO_DATE:8:D>20240501 <MODE:2>CW <EOR>\r\n"
       "<cnty:5>ab-12<Band:3>40M<call:5>R3TWO<eor>\n", 2, {"KK-33 20m", "AB-12 40m"}, {"KK-33 40m", "AB-12 20m"}, 0, ""},
      {"no header", "<CALL:5>R3NEW<CNTY:5>KK-33<BAND:3>20m<EOR>", 1, {"KK-33 20m"}, {}, 0, ""},
      {"Windows-1251 bytes", "<NAME:4>\xC8\xE2\xE0\xED<CNTY:5>KK-33<BAND:3>15m<EOR>", 1, {"KK-33 15m"}, {}, 0, ""},
      {"UTF-8 bytes", "<QTH:12>\xD0\x9C\xD0\xBE\xD1\x81<\xD0\xBA\xD0\xB2\xD0\xB0><CNTY:5>KK-33<BAND:3>15m<EOR>", 1,
       {"KK-33 15m"}, {}, 0, ""},
      {"UTF-8 counted in characters", "<NAME:4>\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD<CNTY:5>KK-33<EOR>", 1, {"KK-33 "},
       {"KK-33 20m"}, 0, ""},
      {"no BAND: FREQ in MHz", "<CNTY:5>KK-33<FREQ:6>14.025<EOR><CNTY:5>AB-12<BAND:3>xxm<FREQ:5>7.012<EOR>"
       "<CNTY:5>MO-12<FREQ:3>abc<EOR>", 3, {"KK-33 20m", "AB-12 40m", "MO-12 "}, {"MO-12 20m"}, 0, ""},
      {"CNTY not a district", "<CNTY:4>KK33<EOR><CNTY:5>K1-33<EOR><CNTY:6>KK-333<EOR><CNTY:5>\xCA\xCA-33<EOR>"
       "<CNTY:0><EOR><CNTY:8>  mo-12 <BAND:2>2m<EOR>", 6, {"MO-12 2m"}, {"KK-33 ", "K1-33 "}, 0, ""},
      {"a length past its record", "<CNTY:5>AB-12<NAME:20>Ivan<EOR>\r\n<CNTY:5>KK-33<BAND:3>20m<EOR>\r\n"
       "<BAND:3>40m<CNTY:20>MO-12<EOR>\r\n<CNTY:5>ZZ-01<EOR>", 4, {"AB-12 ", "KK-33 20m", "ZZ-01 "}, {"MO-12 40m"}, 1, "NAME declares 20 bytes, which run past the end of its record"},
      {"a length past the file", "<CNTY:5>AB-12<BAND:3>20m<EOR>\r\n<CNTY:5>KK-33<NAME:99>Ivan<EOR>", 1, {"AB-12 20m"},
       {"KK-33 "}, 2, "NAME declares 99 bytes, more than the log holds"},
      {"a number too large", "<CNTY:5>AB-12<EOR>\n\n<NAME:99999999999999999999999999>x<EOR>", 1, {"AB-12 "}, {}, 3,
       "NAME declares 99999999999999999999 bytes"},
      {"malformed tags", "<EOH>\r<CNTY:5>KK-33<BAND 3>20m<BAND:3>40m<EOR>\r\n<APP>x<CNTY:5:>AB-12<CNTY:5:S>MO-12<EOR>", 2,
       {"KK-33 40m", "MO-12 "}, {"KK-33 20m", "AB-12 "}, 2, "\"<BAND 3>\" is not a field tag"},
      {"a stray < in the header", "Exported by <Logger32>\r\n<EOH>\r\n<CNTY:5>KK-33<EOR>", 1, {"KK-33 "}, {}, 0, ""},
      {"no last <EOR>", "<EOH>\n<CNTY:5>AB-12<EOR>\n\n<CNTY:5>KK-33<BAND:3>20m", 2, {"AB-12 ", "KK-33 20m"}, {}, 4,
       "the last record has no <EOR>"},
      {"a field cut by the end", "<CNTY:5>AB-12<EOR><CNTY:5", 1, {"AB-12 "}, {}, 1, "\"<CNTY:5\" is not a field tag"},
      {"no ADIF", "CALL,BAND,CNTY\r\nR3NEW,20m,KK-33\r\n", 0, {}, {"KK-33 "}, 1, "neither <EOH> nor <EOR>"},
      {"empty", "", 0, {}, {}, 1, "neither <EOH> nor <EOR>"},
      {"a header alone", "<ADIF_VER:5>3.1.0<EOH>\r\n<EOR>", 0, {}, {}, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const core::WorkedLog log = core::readWorkedLog(c.adif);
    EXPECT_EQ(log.qsoCount(), c.qsos);
    for (const std::string& entry : c.on) {
      SCOPED_TRACE(entry);
      EXPECT_TRUE(log.worked(entry.substr(0, 5)));
      EXPECT_TRUE(log.workedOn(entry.substr(0, 5), bandOf(entry)));
    }
    for (const std::string& entry : c.notOn) {
      SCOPED_TRACE(entry);
      EXPECT_FALSE(log.workedOn(entry.substr(0, 5), bandOf(entry)));
    }
    EXPECT_EQ(log.problem().has_value(), c.problemLine != 0);
    if (log.problem() && c.problemLine != 0) {
      EXPECT_EQ(log.problem()->line, c.problemLine);
      EXPECT_NE(log.problem()->what.find(c.problem), std::string::npos) << log.problem()->what;
    }
  }
}

TEST(AdifLog, TheLastQsoOfADistrictAndTheMessageOfAProblem) {
  const core::WorkedLog log = core::readWorkedLog(
      "<EOH><CNTY:5>KK-33<BAND:3>20m<MODE:2>cw<QSO_DATE:8>20240501<EOR>"
      "<CNTY:5>KK-33<BAND:3>40m<MODE:3>SSB<QSO_DATE:8>20230101<EOR>"
      "<CNTY:5>KK-33<BAND:3>15m<MODE:3>FT8<QSO_DATE:6>240601<EOR>"
      "<CNTY:5>AB-12<BAND:3>20m<MODE:3>SSB<QSO_DATE:8>20240501<EOR>"
      "<CNTY:5>AB-12<BAND:3>17m<MODE:4>RTTY<QSO_DATE:8>20240501<EOR>");
  const core::WorkedQso* kk = log.lastQso("kk-33");
  ASSERT_NE(kk, nullptr);
  EXPECT_EQ(kk->band, Band::m20);
  EXPECT_EQ(kk->mode, "CW");
  EXPECT_EQ(kk->date, "20240501");
  ASSERT_NE(log.lastQso("AB-12"), nullptr);
  EXPECT_EQ(log.lastQso("AB-12")->mode, "RTTY");  // the same date: the later record
  EXPECT_EQ(log.lastQso("MO-12"), nullptr);
  EXPECT_EQ(log.districtCount(), 2u);
  EXPECT_FALSE(log.worked("KK-3"));

  EXPECT_EQ(core::workedLogProblemText("C:\\log.adi", {12, "the last record has no <EOR>"}),
            "Worked log \"C:\\log.adi\", line 12: the last record has no <EOR>.");
}

TEST(AdifLog, ReadsTheFileByteForByte) {
  // UTF-8 text in the file: converted to Windows-1251 first, the lengths would be wrong.
  const auto path = std::filesystem::temp_directory_path() / "rudoz-test-worked.adi";
  std::ofstream(path, std::ios::binary) << "<NAME:8>\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD<CNTY:5>KK-33<BAND:3>20m<EOR>";
  const core::WorkedLog log = core::loadWorkedLog(path.string());
  std::filesystem::remove(path);
  EXPECT_TRUE(log.workedOn("KK-33", Band::m20));
  EXPECT_FALSE(log.problem().has_value());
  EXPECT_THROW(core::loadWorkedLog(path.string()), core::FileOpenError);
}

}  // namespace
