// The region list cut from the Most Wanted page is sorted the same whatever locale
// Windows runs in: the comparison works on the characters the Windows-1251 bytes
// stand for. CTest runs this test once on a Cyrillic and once on a Western locale.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/VipU.h"
#include "support.h"

namespace {

TEST(RegionList, SortsTheSameOnEveryLocale) {
  const char* acp = std::getenv("RUDOZ_EXPECT_ACP");
  ASSERT_NE(acp, nullptr);
  ASSERT_EQ(GetACP(), UINT(std::atoi(acp))) << "the locale this run is meant to have";
  testing_support::ScratchDir dir;
  testing_support::MessageRecorder messages;
  testing_support::removeSettingsFile(TVip::SettingsPath());
  dir.writeLines("QJreg.txt", {"AB-12 01.2020-LastQso 3.55%MW"});
  // What survives of a page: district lines and a few of the page's own lines, in
  // Latin and in Cyrillic letters ("Юг", "Дата", "Жук").
  dir.write("QJreg.htm",
            "<html>\n\xDE\xE3 2024\nzz-99 - the last line\n\xC4\xE0\xF2\xE0 01.2024\nAB-12 01.2020-LastQso 3.55%MW\n"
            "\xC6\xF3\xEA\n</html>\n");
  {
    TVip vip;
    vip.MostWont();
  }
  std::ifstream in("QJreg.txt", std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  EXPECT_EQ(bytes.str(), "AB-12 01.2020-LastQso 3.55%MW\r\nzz-99 - the last line\r\n\xC4\xE0\xF2\xE0 01.2024\r\n"
                         "\xC6\xF3\xEA\r\n\xDE\xE3 2024\r\n");
  EXPECT_TRUE(messages.messages().empty());
  testing_support::removeSettingsFile(TVip::SettingsPath());
}

}  // namespace
