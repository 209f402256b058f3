// Keys set in one section of a settings file's text, every other byte kept.
#include <gtest/gtest.h>

#include <string>

#include "core/ini_section.h"

namespace {

TEST(IniSection, SetsKeysAndKeepsEveryOtherLine) {
  const core::IniKeys<char> keys = {{"MyCall", "R1ABC"}, {"VipHeigth", "300"}};
  struct Case {
    const char* name;
    std::string file, expected;
  };
  const Case cases[] = {
      {"no file", "", "[RD]\r\nMyCall=R1ABC\r\nVipHeigth=300\r\n"},
      {"keys replaced in place, comments and lines without = kept",
       "; mine\r\n[RD]\r\n; my own note\r\nmycall = OLD\r\njust a line\r\nOther=1\r\n",
       "; mine\r\n[RD]\r\n; my own note\r\nMyCall=R1ABC\r\njust a line\r\nOther=1\r\nVipHeigth=300\r\n"},
      {"new keys before the blank lines and the next section; LF kept",
       "[ rd ]\nOther=1\n\n[Else]\nMyCall=keep\n",
       "[ rd ]\nOther=1\nMyCall=R1ABC\nVipHeigth=300\n\n[Else]\nMyCall=keep\n"},
      {"a commented-out key stays commented; the first of two lines takes the value",
       "[RD]\r\n;MyCall=X\r\nVipHeigth=1\r\nVipHeigth=2\r\nMyCall=Y",
       "[RD]\r\n;MyCall=X\r\nVipHeigth=300\r\nVipHeigth=2\r\nMyCall=R1ABC"},
      {"a section at the end of a file without a last line end", "[Else]\r\nA=1\r\n[RD]\r\nB=2",
       "[Else]\r\nA=1\r\n[RD]\r\nB=2\r\nMyCall=R1ABC\r\nVipHeigth=300\r\n"},
      {"no section yet", "[Else]\r\nA=1", "[Else]\r\nA=1\r\n[RD]\r\nMyCall=R1ABC\r\nVipHeigth=300\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(core::setIniKeys<char>(c.file, "RD", keys), c.expected);
  }
  // UTF-16 text takes the same rules.
  EXPECT_EQ(core::setIniKeys<wchar_t>(L"[RD]\r\nx\r\n", L"RD", {{L"MyCall", L"\u0420"}}), L"[RD]\r\nx\r\nMyCall=\u0420\r\n");
}

}  // namespace
