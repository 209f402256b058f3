// Downloads against the local web stand-in: a good answer replaces the file; every
// kind of failure, an endless one included, ends within its bound, says why, and
// leaves the old file byte for byte and no temporary file behind.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "core/download_body.h"
#include "support.h"
#include "ui/download.h"
#include "ui/form.h"
#include "ui/file_replace.h"
#include "webstand_support.h"

namespace {

namespace fs = std::filesystem;
// The checks the program gives its downloads: a district list, a map.
const ui::BodyCheck kList = [](std::string_view body) { return core::districtListRefusal(body); };
const ui::BodyCheck kJpeg = [](std::string_view body) { return core::jpegRefusal(body); };
using testing_support::readWholeFile;

const std::string kOld = "old content\r\nkept byte for byte\r\n";

// Short enough that a test meets each bound at once.
const ui::DownloadBounds kBounds{
    .connectMs = 1500, .silenceMs = 1000, .totalMs = 3000, .redirects = 3, .maxBytes = 1 << 20};

std::string sample(const std::string& name) { return readWholeFile(std::string(RUDOZ_SAMPLE_DIR) + "/" + name); }

int filesIn(const std::string& dir) { return int(std::distance(fs::directory_iterator(dir), fs::directory_iterator())); }

TEST(DownloadFile, WholeAnswerReplacesTheFile) {
  testing_support::ScratchDir dir;
  dir.write("QJar.txt", kOld);
  const struct {
    const char* name;
    const char* fault;
    const char* path;
    ui::BodyCheck check;
    const char* file;
    const char* served;
  } cases[] = {
      {"with its length", "", "/rda_rus.txt", kList, "QJar.txt", "QJar.txt"},
      {"in chunks", "mode=chunked&count=1", "/rda_rus.txt", kList, "QJar.txt", "QJar.txt"},
      {"after a wait", "mode=slow&seconds=0.5&count=1", "/map/3d.jpg", kJpeg, "map.jpg", "map/3d.jpg"},
      {"moved elsewhere", "mode=redirect&file=0u.jpg&count=1", "/map/3d.jpg", kJpeg, "map.jpg",
       "map/0u.jpg"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (*c.fault) testing_support::webFault(c.fault);
    ASSERT_NO_THROW(ui::downloadFile(testing_support::webBase() + c.path, c.file, c.check, kBounds));
    EXPECT_EQ(readWholeFile(c.file), sample(c.served));
  }
  EXPECT_EQ(filesIn(dir.path()), 2);
}

TEST(DownloadFile, FailureEndsWithinItsBoundSaysWhyAndKeepsTheOldFile) {
  const int blackhole = std::stoi(testing_support::webAdmin("/_admin/blackhole"));
  const struct {
    const char* name;
    const char* fault;  // empty: none
    const char* reason;
    ui::BodyCheck check = kList;
    std::string base = testing_support::webBase();
    bool readOnly = false;
    bool locked = false;  // held open by another program that shares nothing
  } cases[] = {
      {"404", "mode=404&count=1", "The server answered 404 Not Found."},
      {"500", "mode=500&count=1", "The server answered 500"},
      {"truncated body", "mode=truncate&count=1", "The transfer broke off after"},
      {"chunks without the last", "mode=chunked-cut&count=1", "before the body's last chunk"},
      {"no stated end", "mode=nolength&count=1", "did not say where the body ends"},
      {"compressed", "mode=gzip&count=1", "compressed (gzip)"},
      {"2 GiB announced", "mode=huge&count=1", "The body (2048 MB) is larger than 1 MB."},
      {"endless fast body", "mode=flood&count=1", "The body is larger than 1 MB."},
      {"server that never answers", "mode=stall&count=1", "The server sent nothing for 1 s."},
      {"endless slow body", "mode=trickle&seconds=0.1&count=1", "The download took longer than 3 s."},
      {"redirect loop", "mode=redirect&file=/rda/csv", "more than 3 times"},
      {"connection never accepted", "", " within 1.5 s.", kList,
       "http://127.0.0.1:" + std::to_string(blackhole)},
      // Port 1 on the loopback has no listener.
      {"connection refused", "", "refused", kList, "http://127.0.0.1:1"},
      {"https", "", "is not a plain http:// address", kList, "https://127.0.0.1"},
      {"web page for a list", "mode=body&file=regions.html&count=1", "The server sent a web page"},
      {"empty list", "mode=empty&count=1", "The server sent an empty list."},
      {"no picture for the map", "mode=body&file=QJcfm.txt&count=1", "The server sent no JPEG picture.",
       kJpeg},
      {"read-only target", "", "read-only", kList, testing_support::webBase(), true},
      {"target in use", "", "Cannot replace QJcfm.txt.", kList, testing_support::webBase(), false,
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing_support::ScratchDir dir;
    dir.write("QJcfm.txt", kOld);
    if (c.readOnly) SetFileAttributesA("QJcfm.txt", FILE_ATTRIBUTE_READONLY);
    HANDLE holder = c.locked ? CreateFileA("QJcfm.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                             : INVALID_HANDLE_VALUE;
    if (*c.fault) testing_support::webFault(c.fault);
    std::string reason = "<none: the download did not fail>";
    try {
      ui::downloadFile(c.base + "/rda/csv?call=UA1ABC", "QJcfm.txt", c.check, kBounds);
    } catch (const ui::DownloadError& e) {
      reason = e.what();
    }
    testing_support::webClear();
    EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
    if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
    EXPECT_EQ(readWholeFile("QJcfm.txt"), kOld);
    EXPECT_EQ(filesIn(dir.path()), 1) << "a temporary file was left";
    SetFileAttributesA("QJcfm.txt", FILE_ATTRIBUTE_NORMAL);
  }
}

// While a download waits for the server, another program's message to one of our
// windows (Logger32 writing a spot) is handled, and what it shows reaches the
// screen, not held until the download ends.
TEST(DownloadFile, MessagesFromOtherProgramsAreHandledAndShownMeanwhile) {
  testing_support::ScratchDir dir;
  struct SpotWindow : ui::Form {
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
      if (msg != WM_APP) return Form::handleMessage(msg, wParam, lParam);
      setCaption("R3AAA listed");
      return 0;
    }
  } window;
  ui::FormParams p;
  p.className = "TestSpotWindow";
  window.create(p);
  testing_support::webFault("mode=stall&count=1");
  std::atomic<bool> shownMeanwhile{false};
  std::thread sender([&] {
    SendMessageW(window.handle(), WM_APP, 0, 0);
    // The title as the screen has it, asked while the download still waits.
    wchar_t title[32] = {};
    for (int i = 0; i < 100 && !shownMeanwhile; ++i, Sleep(20))
      shownMeanwhile = GetWindowTextW(window.handle(), title, 32) && std::wstring(title) == L"R3AAA listed";
  });
  EXPECT_THROW(ui::downloadFile(testing_support::webBase() + "/rda_rus.txt", "QJar.txt", kList, kBounds),
               ui::DownloadError);
  testing_support::pump();  // lets a sender that was kept waiting go
  sender.join();
  testing_support::webClear();
  EXPECT_TRUE(shownMeanwhile);
}

TEST(DownloadFile, LeftoversOfAnEarlierRunAreRemovedAtStart) {
  testing_support::ScratchDir dir;
  // Temporary files of downloads cut off by the end of the program; the one in use
  // belongs to another running copy.
  for (const char* name : {"rdz1A2B.tmp", "rdz0000C0DE.tmp", "rdzF.tmp", "rdz9.tmp.txt", "rdzX1.tmp", "notes.tmp"})
    dir.write(name, "x");
  const HANDLE inUse = CreateFileA("rdzF.tmp", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ui::removeLeftoverTempFiles(".");
  CloseHandle(inUse);
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(dir.path())) left.push_back(entry.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"notes.tmp", "rdz9.tmp.txt", "rdzF.tmp", "rdzX1.tmp"}));
}

}  // namespace
