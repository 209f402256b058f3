#include "process_counters.h"

#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <stdexcept>
#include <vector>

namespace procstat {
namespace {

// The system handle list as NtQuerySystemInformation gives it (extended form, with
// process ids at full width).
constexpr ULONG kSystemExtendedHandleInformation = 64;
struct HandleEntry {
  PVOID object;
  ULONG_PTR processId;
  ULONG_PTR handle;
  ULONG grantedAccess;
  USHORT creatorBackTraceIndex;
  USHORT objectTypeIndex;
  ULONG attributes;
  ULONG reserved;
};
struct HandleList {
  ULONG_PTR count;
  ULONG_PTR reserved;
  HandleEntry entries[1];
};

// One slot of the GDI handle table; a free slot has type 0.
struct GdiEntry {
  UINT64 object;
  ULONG owner;
  USHORT unique;
  UCHAR type;
  UCHAR flags;
  UINT64 userPointer;
};
static_assert(sizeof(GdiEntry) == 24);
constexpr std::size_t kGdiTableEntries = 0x10000;
constexpr std::size_t kPebGdiTableOffset = 0xF8;  // PEB.GdiSharedHandleTable, 64-bit

using QuerySystemInformation = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
using QueryInformationProcess = NTSTATUS(NTAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);

template <class F>
F ntdll(const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

long handlesFromSystemList(DWORD processId) {
  auto query = ntdll<QuerySystemInformation>("NtQuerySystemInformation");
  if (!query) return -1;
  std::vector<unsigned char> buffer(1 << 16);
  for (int attempt = 0; attempt < 12; ++attempt) {
    ULONG needed = 0;
    const NTSTATUS status = query(kSystemExtendedHandleInformation, buffer.data(), ULONG(buffer.size()), &needed);
    if (status >= 0) {
      const auto* list = reinterpret_cast<const HandleList*>(buffer.data());
      long n = 0;
      for (ULONG_PTR i = 0; i < list->count; ++i)
        if (list->entries[i].processId == processId) ++n;
      return n;
    }
    buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
  }
  return -1;
}

long gdiFromHandleTable(HANDLE process) {
  auto query = ntdll<QueryInformationProcess>("NtQueryInformationProcess");
  if (!query) return -1;
  PROCESS_BASIC_INFORMATION info{};
  if (query(process, 0 /* ProcessBasicInformation */, &info, sizeof info, nullptr) < 0 || !info.PebBaseAddress)
    return -1;
  UINT64 table = 0;
  SIZE_T read = 0;
  if (!ReadProcessMemory(process, reinterpret_cast<const char*>(info.PebBaseAddress) + kPebGdiTableOffset, &table,
                         sizeof table, &read) ||
      !table)
    return -1;
  // Read in pieces: a table that ends early in memory still counts what is there.
  std::vector<GdiEntry> chunk(4096);
  long n = 0;
  for (std::size_t first = 0; first < kGdiTableEntries; first += chunk.size()) {
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table + first * sizeof(GdiEntry)), chunk.data(),
                           chunk.size() * sizeof(GdiEntry), &read))
      break;
    for (const GdiEntry& e : chunk)
      if (e.type != 0) ++n;
  }
  return n;
}

struct WindowCount {
  DWORD processId;
  long count;
};

BOOL CALLBACK countChild(HWND w, LPARAM param) {
  auto* c = reinterpret_cast<WindowCount*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  if (owner == c->processId) ++c->count;
  return TRUE;
}

BOOL CALLBACK countTopLevel(HWND w, LPARAM param) {
  countChild(w, param);
  EnumChildWindows(w, countChild, param);
  return TRUE;
}

long windowsOf(DWORD processId) {
  WindowCount c{processId, 0};
  EnumWindows(countTopLevel, LPARAM(&c));
  for (HWND w = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
       w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr)) {
    countChild(w, LPARAM(&c));
    EnumChildWindows(w, countChild, LPARAM(&c));
  }
  return c.count;
}

}  // namespace

ProcessCounters readCounters(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  if (!process) throw std::runtime_error("cannot open process " + std::to_string(processId));
  ProcessCounters c;
  PROCESS_MEMORY_COUNTERS memory{};
  if (GetProcessMemoryInfo(process, &memory, sizeof memory)) c.workingSetKb = memory.WorkingSetSize / 1024;
  DWORD handles = 0;
  c.handles = GetProcessHandleCount(process, &handles) && handles ? long(handles) : handlesFromSystemList(processId);
  const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
  c.gdiObjects = gdi ? long(gdi) : gdiFromHandleTable(process);
  const DWORD user = GetGuiResources(process, GR_USEROBJECTS);
  c.userObjects = user ? long(user) : windowsOf(processId);
  CloseHandle(process);
  return c;
}

DWORD findProcess(const std::wstring& image) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  DWORD found = 0;
  for (BOOL ok = Process32FirstW(snapshot, &entry); ok && !found; ok = Process32NextW(snapshot, &entry))
    if (lstrcmpiW(entry.szExeFile, image.c_str()) == 0) found = entry.th32ProcessID;
  CloseHandle(snapshot);
  return found;
}

HWND mainWindow(DWORD processId) {
  struct Search {
    DWORD processId;
    HWND found;
  } s{processId, nullptr};
  EnumWindows(
      [](HWND w, LPARAM param) -> BOOL {
        auto* search = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner != search->processId || !IsWindowVisible(w)) return TRUE;
        search->found = w;
        return FALSE;
      },
      LPARAM(&s));
  return s.found;
}

}  // namespace procstat
