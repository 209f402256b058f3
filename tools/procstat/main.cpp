// procstat: one line of figures about a running process, for the spot feed soak.
//   procstat IMAGE.exe | PID
// pid=P working_set_kb=K handles=H user=U gdi=G responsive_ms=R
// responsive_ms is how long its first visible window took to answer a message
// (-1: it did not answer within five seconds, or has no window).
#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>

#include "process_counters.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fputs("usage: procstat IMAGE.exe | PID\n", stderr);
    return 2;
  }
  try {
    const std::wstring target = argv[1];
    DWORD pid = target.find_first_not_of(L"0123456789") == std::wstring::npos ? DWORD(std::stoul(target))
                                                                               : procstat::findProcess(target);
    if (!pid) {
      std::fprintf(stderr, "procstat: no process %ls\n", target.c_str());
      return 1;
    }
    const procstat::ProcessCounters c = procstat::readCounters(pid);
    long responsiveMs = -1;
    if (HWND w = procstat::mainWindow(pid)) {
      const ULONGLONG start = GetTickCount64();
      DWORD_PTR result = 0;
      if (SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result))
        responsiveMs = long(GetTickCount64() - start);
    }
    std::printf("pid=%lu working_set_kb=%zu handles=%ld user=%ld gdi=%ld responsive_ms=%ld\n", pid, c.workingSetKb,
                c.handles, c.userObjects, c.gdiObjects, responsiveMs);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "procstat: %s\n", e.what());
    return 1;
  }
}
