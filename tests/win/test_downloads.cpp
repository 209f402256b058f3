// Downloads over WinINet against the local web stand-in: a good answer replaces the
// file; every kind of failure leaves the old file byte for byte and no temporary
// file behind.
#include <gtest/gtest.h>

#include <filesystem>

#include "support.h"
#include "ui/download.h"
#include "webstand_support.h"

namespace {

namespace fs = std::filesystem;
using testing_support::readWholeFile;

const std::string kOld = "old content\r\nkept byte for byte\r\n";

std::string sample(const std::string& name) { return readWholeFile(std::string(RUDOZ_SAMPLE_DIR) + "/" + name); }

int filesIn(const std::string& dir) { return int(std::distance(fs::directory_iterator(dir), fs::directory_iterator())); }

TEST(DownloadFile, WholeAnswerReplacesTheFile) {
  testing_support::ScratchDir dir;
  dir.write("QJar.txt", kOld);
  const ui::DownloadResult r = ui::downloadFile(testing_support::webBase() + "/rda_rus.txt", "QJar.txt");
  ASSERT_TRUE(r) << r.reason;
  EXPECT_EQ(readWholeFile("QJar.txt"), sample("QJar.txt"));
  EXPECT_EQ(filesIn(dir.path()), 1);
  // A slow server is waited for.
  testing_support::webFault("mode=slow&seconds=2&count=1");
  ASSERT_TRUE(ui::downloadFile(testing_support::webBase() + "/map/3d.jpg", "map.jpg"));
  EXPECT_EQ(readWholeFile("map.jpg"), sample("map/3d.jpg"));
  // A moved file is followed to its new place.
  testing_support::webFault("mode=redirect&file=/map/0u.jpg&count=1");
  ASSERT_TRUE(ui::downloadFile(testing_support::webBase() + "/map/3d.jpg", "map.jpg"));
  EXPECT_EQ(readWholeFile("map.jpg"), sample("map/0u.jpg"));
}

TEST(DownloadFile, FailureKeepsTheOldFile) {
  const struct {
    const char* name;
    const char* fault;  // empty: none
    bool refused;
    bool readOnly;
    bool locked;  // held open by another program that shares nothing
  } cases[] = {
      {"404", "mode=404&count=1", false, false, false},
      {"500", "mode=500&count=1", false, false, false},
      {"truncated body", "mode=truncate&count=1", false, false, false},
      {"connection refused", "", true, false, false},
      {"read-only target", "", false, true, false},
      {"target in use", "", false, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing_support::ScratchDir dir;
    dir.write("QJcfm.txt", kOld);
    if (c.readOnly) SetFileAttributesA("QJcfm.txt", FILE_ATTRIBUTE_READONLY);
    HANDLE holder = c.locked ? CreateFileA("QJcfm.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                             : INVALID_HANDLE_VALUE;
    if (*c.fault) testing_support::webFault(c.fault);
    // Port 1 on the loopback has no listener.
    const std::string base = c.refused ? "http://127.0.0.1:1" : testing_support::webBase();
    const ui::DownloadResult r = ui::downloadFile(base + "/rda/csv?call=UA1ABC", "QJcfm.txt");
    EXPECT_FALSE(r);
    EXPECT_FALSE(r.reason.empty());
    if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
    EXPECT_EQ(readWholeFile("QJcfm.txt"), kOld);
    EXPECT_EQ(filesIn(dir.path()), 1) << "a temporary file was left";
    SetFileAttributesA("QJcfm.txt", FILE_ATTRIBUTE_NORMAL);
  }
  testing_support::webClear();
}

}  // namespace
