#include "core/link_texts.h"

#include <gtest/gtest.h>

namespace {

TEST(LinkTexts, FrequencyTextPutsCommaBeforeLastThreeDigits) {
  const struct {
    std::uint32_t value;
    const char* text;
  } cases[] = {
      {14025000u, "14025,000"}, {1500u, "1,500"}, {1000u, "1,000"}, {999u, ",999"},
      {123u, ",123"},           {7u, ",7"},       {0u, ",0"},       {4294967295u, "4294967,295"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(core::frequencyText(c.value), c.text);
  }
}

TEST(LinkTexts, SpotClickDeclaresBytesOfFrequencyMarkerAndCallsign) {
  EXPECT_EQ(core::spotClickCommand("14025.0", "UA1AA"), "<APP_CLICK_DXSPOT:15>14025.000|UA1AA");
  EXPECT_EQ(core::spotClickCommand("", ""), "<APP_CLICK_DXSPOT:3>00|");
  // Cyrillic bytes count one each.
  EXPECT_EQ(core::spotClickCommand("7", "\xD0\xC0"), "<APP_CLICK_DXSPOT:6>700|\xD0\xC0");
}

TEST(LinkTexts, SpotDistrictSplitsTheCodeWithFixedLengths) {
  const struct {
    const char* district;
    const char* command;
  } cases[] = {
      {"AB-12", "<STATE:2>AB<CNTY:2>12"},
      {"AB-12X", "<STATE:2>ABX<CNTY:2>12X"},  // lengths stay 2 whatever the values hold
      {"AB", "<STATE:2>AB<CNTY:2>"},
      {"A", "<STATE:2>A<CNTY:2>"},
      {"", "<STATE:2><CNTY:2>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.district);
    EXPECT_EQ(core::spotDistrictCommand(c.district), c.command);
  }
}

TEST(LinkTexts, ModeCommandsCountTheModeSuffix) {
  EXPECT_EQ(core::cwCommand("QRG"), "<APP_SET_FREQ_MODE:8>QRG|CW-R");
  EXPECT_EQ(core::ssbCommand("QRG"), "<APP_SET_FREQ_MODE:7>QRG|USB");
  EXPECT_EQ(core::cwCommand("14025,000"), "<APP_SET_FREQ_MODE:14>14025,000|CW-R");
  EXPECT_EQ(core::ssbCommand(""), "<APP_SET_FREQ_MODE:4>|USB");
}

}  // namespace
