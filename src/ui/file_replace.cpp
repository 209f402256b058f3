#include "ui/file_replace.h"

#include <cstdint>
#include <cwchar>
#include <memory>
#include <stdexcept>

#include "core/text_file.h"
#include "ui/text.h"

namespace ui {
namespace {

const wchar_t kTempPrefix[] = L"rdz";

std::wstring folderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

}  // namespace

ReplacingFile::ReplacingFile(const std::string& fileName) : ReplacingFile(widen(fileName)) { fileName_ = fileName; }

ReplacingFile::ReplacingFile(const std::wstring& path) : fileName_(narrow(path)), target_(path) {
  const DWORD attributes = GetFileAttributesW(target_.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    throw std::runtime_error(fileName_ + " is read-only or a folder.");
  // Made and opened in one step under a name of our own, so that no failure can
  // leave a file behind that this object does not hold.
  const std::wstring folder = folderOf(target_);
  DWORD unique = GetTickCount() ^ (GetCurrentProcessId() << 12);
  for (int attempt = 0; attempt < 1000 && file_ == INVALID_HANDLE_VALUE; ++attempt, ++unique) {
    wchar_t name[16];
    swprintf(name, 16, L"%ls%08X.tmp", kTempPrefix, unsigned(unique));
    temp_ = folder + L"\\" + name;
    file_ = CreateFileW(temp_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (file_ == INVALID_HANDLE_VALUE) {
    temp_.clear();
    fail("Cannot create a temporary file beside ");
  }
}

ReplacingFile::~ReplacingFile() {
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  if (!temp_.empty()) DeleteFileW(temp_.c_str());
}

void ReplacingFile::fail(const std::string& what) const {
  const std::string reason = core::systemReason();  // before anything else can change it
  throw std::runtime_error(what + fileName_ + ". " + reason);
}

void ReplacingFile::write(std::string_view bytes) {
  DWORD written = 0;
  if (!WriteFile(file_, bytes.data(), DWORD(bytes.size()), &written, nullptr) || written != bytes.size())
    fail("Cannot write a temporary file beside ");
}

void ReplacingFile::commit() {
  if (!FlushFileBuffers(file_)) fail("Cannot write a temporary file beside ");
  CloseHandle(file_);
  file_ = INVALID_HANDLE_VALUE;
  if (!MoveFileExW(temp_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    fail("Cannot replace ");
  temp_.clear();
}

void replaceFileContent(const std::string& fileName, std::string_view bytes) {
  ReplacingFile file(fileName);
  file.write(bytes);
  file.commit();
}

std::optional<core::FileStamp> fileStamp(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return core::FileStamp{(std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
                         (std::uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime};
}

std::optional<std::string> readWholeFile(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
    throw std::runtime_error("Cannot open file \"" + narrow(path) + "\". " + systemErrorText(error));
  }
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  BOOL ok;
  while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr)) && got > 0) bytes.append(buffer, got);
  const DWORD error = GetLastError();
  CloseHandle(file);
  if (!ok) throw std::runtime_error("Error reading file \"" + narrow(path) + "\". " + systemErrorText(error));
  return bytes;
}

void appendToExistingFile(const std::string& fileName,
                          const std::function<std::string(std::string_view lastByte)>& addition) {
  // Append access alone: every write goes to the end of the file, wherever another
  // writer has put it meanwhile.
  const HANDLE file = CreateFileW(widen(fileName).c_str(), FILE_READ_DATA | FILE_APPEND_DATA | SYNCHRONIZE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw core::FileOpenError(fileName, core::systemReason());
  const std::unique_ptr<void, decltype(&CloseHandle)> closer(file, &CloseHandle);
  const auto fail = [&] { throw std::runtime_error("Cannot write " + fileName + ". " + core::systemReason()); };

  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size)) fail();
  char last = 0;
  DWORD got = 0;
  if (size.QuadPart > 0) {
    OVERLAPPED at{};
    at.Offset = DWORD(size.QuadPart - 1);
    at.OffsetHigh = DWORD((size.QuadPart - 1) >> 32);
    if (!ReadFile(file, &last, 1, &got, &at)) fail();
  }
  const std::string bytes = addition(std::string_view(&last, got));
  OVERLAPPED atEnd{};
  atEnd.Offset = atEnd.OffsetHigh = 0xFFFFFFFF;
  DWORD written = 0;
  if (!WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, &atEnd) || written != bytes.size()) fail();
}

void removeLeftoverTempFiles(const std::string& folder) {
  const std::wstring dir = widen(folder) + L"\\";
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((dir + kTempPrefix + L"*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    // rdz, one to eight hex digits, .tmp: the names this program gives (earlier
    // versions had the system make them, in the same form).
    const std::wstring name = found.cFileName;
    const std::size_t digits = name.size() - 3 - 4;
    const bool ours = name.size() > 7 && digits <= 8 &&
                      name.find_first_not_of(L"0123456789ABCDEFabcdef", 3) == name.size() - 4 &&
                      _wcsicmp(name.c_str() + name.size() - 4, L".tmp") == 0 &&
                      !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    if (ours) DeleteFileW((dir + name).c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

std::string shortDateNow() {
  wchar_t text[128] = {};
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, text, 128);
  return narrow(text);
}

core::Date utcToday() {
  SYSTEMTIME now{};
  GetSystemTime(&now);
  return {now.wYear, now.wMonth, now.wDay};
}

std::string longTimeNow() {
  wchar_t text[128] = {};
  GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, 128);
  return narrow(text);
}

}  // namespace ui
