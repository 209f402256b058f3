#include <gtest/gtest.h>

#include "core/map_codes.h"
#include "core/web_addresses.h"

namespace {

TEST(WebAddresses, OwnCallsignKeepsLettersDigitsSlashAndCase) {
  EXPECT_EQ(core::encodeCallsign("ua1abc"), "ua1abc");
  EXPECT_EQ(core::encodeCallsign("R9/UA1ABC/p"), "R9/UA1ABC/p");
  EXPECT_EQ(core::encodeCallsign("UA1 ABC&x"), "UA1%20ABC%26x");
  EXPECT_EQ(core::encodeCallsign("a=b?c#%\xC0"), "a%3Db%3Fc%23%25%C0");
}

TEST(WebAddresses, PathsFollowTheBaseAddress) {
  EXPECT_EQ(core::confirmationsUrl("http://127.0.0.1:8080", "UA1 ABC&x"),
            "http://127.0.0.1:8080/rda/csv?call=UA1%20ABC%26x");
  EXPECT_EQ(core::regionsUrl("http://cfm.example/"), "http://cfm.example/rda/regions");
  EXPECT_EQ(core::districtListUrl("http://rda.example"), "http://rda.example/rda_rus.txt");
  EXPECT_EQ(core::mapUrl("http://rda.example", "3d"), "http://rda.example/map/3d.jpg");
  EXPECT_EQ(core::mapUrl("http://rda.example", ""), "http://rda.example/map/.jpg");
}

TEST(MapCodes, PrefixMustMatchAnEntryExactly) {
  const struct {
    const char* prefix;
    const char* code;
  } cases[] = {{"AD", "6y"}, {"MO", "3d"}, {"KA", "2f"}, {"SP", "1a"}, {"ZK", "0u"},
               {"mo", ""},   {"  ", ""},   {"MOS", ""},  {"", ""},     {"ZZ", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.prefix);
    EXPECT_EQ(core::mapCode(c.prefix), c.code);
  }
}

}  // namespace
