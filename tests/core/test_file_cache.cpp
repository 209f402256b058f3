// The reference files kept between uses: read again when their stamp changed, and
// when they were written so lately that a second write of the same size could
// leave the stamp as it was.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdint>
#include <string>

#include "core/file_cache.h"
#include "core/text_file.h"

namespace {

core::FileStamp g_stamp;
std::uint64_t g_now = 0;
int g_opens = 0;
std::string g_content;

std::FILE* countingOpen(const std::string&) {
  ++g_opens;
  std::FILE* f = std::tmpfile();
  std::fputs(g_content.c_str(), f);
  std::rewind(f);
  return f;
}

TEST(FileCache, ReadsAgainWhenTheStampChangedOrTheFileWasWrittenLately) {
  constexpr std::uint64_t kSecond = 10'000'000;
  core::setFileOpener(&countingOpen);
  core::setFileStamper([](const std::string&, core::FileStamp& s) { s = g_stamp; return true; });
  core::setFileClock([] { return g_now; });
  const struct {
    const char* what;
    std::uint64_t size, written, now;
    const char* content;
    bool read;  // the use opens the file
  } uses[] = {
      {"first use", 5, 100 * kSecond, 200 * kSecond, "AB-12", true},
      {"unchanged", 5, 100 * kSecond, 201 * kSecond, "AB-12", false},
      {"another size", 6, 100 * kSecond, 202 * kSecond, "AB-12x", true},
      {"another time", 6, 203 * kSecond, 210 * kSecond, "CD-01x", true},
      {"written a second before", 6, 211 * kSecond, 212 * kSecond, "EF-05x", true},
      // The same size and time again, within the file times' resolution.
      {"written again, same stamp", 6, 211 * kSecond, 212 * kSecond, "GH-07x", true},
      {"long since", 6, 211 * kSecond, 220 * kSecond, "GH-07x", true},
      {"kept now", 6, 211 * kSecond, 221 * kSecond, "GH-07x", false},
  };
  for (const auto& u : uses) {
    SCOPED_TRACE(u.what);
    g_stamp = {u.size, u.written};
    g_now = u.now;
    g_content = u.content;
    g_opens = 0;
    const auto bytes = core::cachedFileBytes("QJcfm.txt");
    EXPECT_EQ(g_opens, u.read ? 1 : 0);
    EXPECT_EQ(bytes->view(), u.content);
  }
  core::setFileClock(nullptr);
  core::setFileStamper(nullptr);
  core::setFileOpener(nullptr);
}

}  // namespace
