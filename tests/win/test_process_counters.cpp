// The soak's process figures, proved on objects made here: 100 brushes, 50 events
// and a window, counted while they live and gone once they are freed.
#include <gtest/gtest.h>

#include <vector>

#include "process_counters.h"

namespace {

TEST(ProcessCounters, CountTheObjectsAProcessMakesAndFrees) {
  const DWORD self = GetCurrentProcessId();
  // The thread's first window brings the window system's own objects and an input
  // method window that lives as long as the thread has a window: made before
  // counting, kept until the end.
  HWND first = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
  const procstat::ProcessCounters before = procstat::readCounters(self);
  ASSERT_GT(before.handles, 0);
  ASSERT_GT(before.gdiObjects, 0);
  ASSERT_GT(before.workingSetKb, 0u);

  std::vector<HBRUSH> brushes;
  for (int i = 0; i < 100; ++i) brushes.push_back(CreateSolidBrush(RGB(i, 2 * i, 255 - i)));
  std::vector<HANDLE> events;
  for (int i = 0; i < 50; ++i) events.push_back(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  const procstat::ProcessCounters during = procstat::readCounters(self);
  EXPECT_EQ(during.gdiObjects - before.gdiObjects, 100);
  EXPECT_EQ(during.handles - before.handles, 50);
  EXPECT_EQ(during.userObjects - before.userObjects, 1);

  for (HBRUSH b : brushes) DeleteObject(b);
  for (HANDLE e : events) CloseHandle(e);
  DestroyWindow(window);
  const procstat::ProcessCounters after = procstat::readCounters(self);
  EXPECT_EQ(after.gdiObjects, before.gdiObjects);
  EXPECT_EQ(after.handles, before.handles);
  EXPECT_EQ(after.userObjects, before.userObjects);
  DestroyWindow(first);
}

TEST(ProcessCounters, FindTheirProcessByImageName) {
  EXPECT_EQ(procstat::findProcess(L"win_process_counters.exe"), GetCurrentProcessId());
  EXPECT_EQ(procstat::findProcess(L"no-such-image.exe"), 0u);
  EXPECT_THROW(procstat::readCounters(0xFFFFFFF0), std::runtime_error);
}

}  // namespace
