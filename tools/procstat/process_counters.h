// What a process holds, read from outside it: working set, kernel handles, USER and
// GDI objects. Windows answers with GetProcessHandleCount and GetGuiResources; Wine
// answers those with 0, so there the handles come from the system handle list, the
// GDI objects from the process's GDI handle table (its address is in the PEB) and
// the USER objects are the process's windows.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace procstat {

struct ProcessCounters {
  std::size_t workingSetKb = 0;
  long handles = -1;      // -1: could not be read
  long userObjects = -1;
  long gdiObjects = -1;
};

// Throws std::runtime_error when the process cannot be opened.
ProcessCounters readCounters(DWORD processId);

// The id of the first process whose image is named `image` (case ignored), or 0.
DWORD findProcess(const std::wstring& image);

// The first visible top-level window of the process, or null.
HWND mainWindow(DWORD processId);

}  // namespace procstat
