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

// "KK-33 20m": worked in the district on the band ("KK-33 ": on a band the log does not tell).
bool workedOn(const core::WorkedLog& log, const std::string& entry) {
  return log.worked(entry.substr(0, 5)) && log.workedOn(entry.substr(0, 5), core::bandOfLabel(entry.substr(5)));
}

TEST(AdifLog, FieldsByTheirByteLengthsAndWhatEachFaultCosts) {
  const struct {
    const char* what;
    std::string adif;
    std::size_t qsos;
    std::vector<std::string> on, notOn;  // worked on that band, or not
    std::size_t problemLine;             // 0: none
    const char* problem;
  } cases[] = {
      {"header, any order, names in any case, a type",
       "Logger32 export\r\n<ADIF_VER:5>3.1.0 <PROGRAMID:8>Logger32\r\n<EOH>\r\n"
       "<CALL:5>R3NEW <BAND:3>20m <CNTY:5>KK-33 <QSO_DATE:8:D>20240501 <MODE:2>CW <EOR>\r\n"
       "<cnty:5>ab-12<Band:3>40M<call:5>R3TWO<eor>\n",
       2, {"KK-33 20m", "AB-12 40m"}, {"KK-33 40m", "AB-12 20m"}, 0, ""},
      {"no header", "<CALL:5>R3NEW<CNTY:5>KK-33<BAND:3>20m<EOR>", 1, {"KK-33 20m"}, {}, 0, ""},
      {"Windows-1251 bytes", "<NAME:4>\xC8\xE2\xE0\xED<CNTY:5>KK-33<BAND:3>15m<EOR>", 1, {"KK-33 15m"}, {}, 0, ""},
      {"UTF-8 bytes", "<QTH:12>\xD0\x9C\xD0\xBE\xD1\x81<\xD0\xBA\xD0\xB2\xD0\xB0><CNTY:5>KK-33<BAND:3>15m<EOR>", 1,
       {"KK-33 15m"}, {}, 0, ""},
      {"UTF-8 counted in characters", "<NAME:4>\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD<CNTY:5>KK-33<EOR>", 1, {"KK-33 "},
       {"KK-33 20m"}, 0, ""},
      {"no BAND: FREQ in MHz", "<CNTY:5>KK-33<FREQ:6>14.025<EOR><CNTY:5>AB-12<BAND:3>xxm<FREQ:5>7.012<EOR>"
       "<CNTY:5>MO-12<FREQ:3>abc<EOR>", 3, {"KK-33 20m", "AB-12 40m", "MO-12 "}, {"MO-12 20m"}, 0, ""},
      {"CNTY not a district; CD01 is CD-01", "<CNTY:4>KK33<EOR><CNTY:5>K1-33<EOR><CNTY:6>KK-333<EOR><CNTY:5>\xCA\xCA-33<EOR>"
       "<CNTY:0><EOR><CNTY:8>  mo-12 <BAND:2>2m<EOR><CNTY:4>K133<EOR>", 7, {"MO-12 2m", "KK-33 "}, {"K1-33 "}, 0, ""},
      {"a byte order mark and a UTF-8 name",
       "\xEF\xBB\xBF<ADIF_VER:5>3.1.0<EOH>\r\n<CALL:5>R3ABC<NAME:8>\xD0\x9F\xD1\x91\xD1\x82\xD1\x80<CNTY:5>CD-01<EOR>\r\n",
       1, {"CD-01 "}, {}, 0, ""},
      {"stations outside Russia",
       "<CALL:6>DL1ABC<DXCC:3>230<CNTY:5>CD-01<EOR><CALL:6>UA2FAA<DXCC:3>126<CNTY:5>KA-01<EOR>"
       "<CALL:6>UA9ABC<DXCC:2>15<CNTY:5>AB-12<EOR><CALL:6>R1ABCD<DXCC:3>054<CNTY:5>MO-12<EOR>"
       "<CALL:5>K1ABC<CNTY:5>KK-33<EOR><call:5>ua1aa<CNTY:5>ZZ-01<EOR><CALL:6>RA1AAA<DXCC:3>291<CNTY:5>TT-01<EOR>",
       7, {"KA-01 ", "AB-12 ", "MO-12 ", "ZZ-01 "}, {"CD-01 ", "KK-33 ", "TT-01 "}, 0, ""},
      {"a length past its record",
       "<CNTY:5>AB-12<NAME:20>Ivan<EOR>\r\n<CNTY:5>KK-33<BAND:3>20m<EOR>\r\n"
       "<BAND:3>40m<CNTY:20>MO-12<EOR>\r\n<CNTY:5>ZZ-01<EOR>",
       2, {"KK-33 20m", "ZZ-01 "}, {"MO-12 40m", "AB-12 "}, 1, "NAME declares 20 bytes, which run past the end of its"},
      {"a length past the file", "<CNTY:5>AB-12<BAND:3>20m<EOR>\r\n<CNTY:5>KK-33<NAME:99>Ivan", 1, {"AB-12 20m"},
       {"KK-33 "}, 2, "NAME declares 99 bytes, more than the log holds"},
      {"a number too large", "<CNTY:5>AB-12<EOR>\n\n<NAME:99999999999999999999999999>x<EOR>", 1, {"AB-12 "}, {}, 3,
       "NAME declares 99999999999999999999 bytes"},
      {"malformed tags", "<EOH>\r<CNTY:5>KK-33<BAND 3>20m<BAND:3>40m<EOR>\r\n<APP>x<CNTY:5:>AB-12<CNTY:5:S>MO-12<EOR>",
       2, {"KK-33 40m", "MO-12 "}, {"KK-33 20m", "AB-12 "}, 2, "\"<BAND 3>\" is not a field tag"},
      {"a field twice: the first", "<CNTY:5>KK-33<CNTY:5>AB-12<EOR>", 1, {"KK-33 "}, {"AB-12 "}, 0, ""},
      {"a stray < in the header", "Exported by <Logger32>\r\n<EOH>\r\n<CNTY:5>KK-33<EOR>", 1, {"KK-33 "}, {}, 0, ""},
      {"no last <EOR>", "<EOH>\n<CNTY:5>AB-12<EOR>\n\n<CNTY:5>KK-33<BAND:3>20m", 1, {"AB-12 "}, {"KK-33 20m"}, 4,
       "the last record has no <EOR>"},
      {"a field cut by the end", "<CNTY:5>AB-12<EOR><CNTY:5", 1, {"AB-12 "}, {}, 1, "\"<CNTY:5\" is not a field tag"},
      {"no ADIF (a CSV)", "CALL,BAND,CNTY\r\nR3NEW,20m,KK-33\r\n", 0, {}, {"KK-33 "}, 1, "neither <EOH> nor <EOR>"},
      {"a header alone", "<ADIF_VER:5>3.1.0<EOH>\r\n<EOR>", 0, {}, {}, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const core::WorkedLog log = core::readWorkedLog(c.adif);
    EXPECT_EQ(log.qsoCount(), c.qsos);
    for (const std::string& entry : c.on) EXPECT_TRUE(workedOn(log, entry)) << entry;
    for (const std::string& entry : c.notOn) EXPECT_FALSE(workedOn(log, entry)) << entry;
    const core::AdifProblem problem = log.problem().value_or(core::AdifProblem{});
    EXPECT_EQ(problem.line, c.problemLine);
    EXPECT_NE(problem.what.find(c.problem), std::string::npos) << problem.what;
  }
}

TEST(AdifLog, TheLastQsoOfADistrictAndTheMessageOfAProblem) {
  const core::WorkedLog log = core::readWorkedLog(
      "<EOH><CNTY:5>KK-33<BAND:3>20m<MODE:2>cw<QSO_DATE:8>20240501<EOR>"
      "<CNTY:5>KK-33<BAND:3>40m<QSO_DATE:8>20230101<EOR>"
      "<CNTY:5>KK-33<BAND:3>15m<QSO_DATE:6>240601<EOR><CNTY:5>AB-12<BAND:3>20m<MODE:3>SSB<QSO_DATE:8>20240501<EOR>"
      "<CNTY:5>AB-12<BAND:3>17m<MODE:4>RTTY<QSO_DATE:8>20240501<EOR>");
  const auto last = [&](const char* district) {
    const core::WorkedQso* qso = log.lastQso(district);
    return qso ? std::string(core::bandName(qso->band)) + " " + qso->mode + " " + qso->date : "none";
  };
  EXPECT_EQ(last("kk-33"), "20m CW 20240501");
  EXPECT_EQ(last("AB-12"), "17m RTTY 20240501");  // the same date: the later record
  EXPECT_EQ(last("MO-12"), "none");
  EXPECT_EQ(log.districtCount(), 2u);
  EXPECT_EQ(core::workedLogProblemText("C:\\log.adi", {12, "the last record has no <EOR>"}),
            "Worked log \"C:\\log.adi\", line 12: the last record has no <EOR>.");
}

TEST(AdifLog, EveryDistrictOfTheAward) {
  std::string adif;
  for (char a = 'A'; a <= 'Z'; ++a)
    for (char b = 'A'; b <= 'Z'; ++b)
      for (int n = 0; n < 100; ++n)
        adif += std::string("<CNTY:5>") + a + b + '-' + char('0' + n / 10) + char('0' + n % 10) + "<EOR>";
  const core::WorkedLog log = core::readWorkedLog(adif);
  EXPECT_EQ(log.districtCount(), 26u * 26u * 100u);
  for (const char* district : {"AA-00", "ZZ-99", "KK-33"}) EXPECT_TRUE(log.worked(district)) << district;
}

TEST(AdifLog, ReadsTheFileByteForByte) {
  // UTF-8 text in the file: converted to Windows-1251 first, the lengths would be wrong.
  const std::string path = (std::filesystem::temp_directory_path() / "rudoz-test-worked.adi").string();
  std::ofstream(path, std::ios::binary) << "<NAME:8>\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD<CNTY:5>KK-33<BAND:3>20m<EOR>";
  EXPECT_TRUE(core::loadWorkedLog(path).workedOn("KK-33", Band::m20));
  std::filesystem::remove(path);
  EXPECT_THROW(core::loadWorkedLog(path), core::FileOpenError);
}

}  // namespace
