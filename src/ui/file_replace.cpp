#include "ui/file_replace.h"

#include <stdexcept>

#include "ui/text.h"
#include "ui/win.h"

namespace ui {
namespace {

// Removes the temporary file unless it took the target's place.
class TempFile {
 public:
  explicit TempFile(std::wstring path) : path_(std::move(path)) {}
  ~TempFile() {
    if (!path_.empty()) DeleteFileW(path_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const std::wstring& path() const { return path_; }
  void release() { path_.clear(); }

 private:
  std::wstring path_;
};

std::wstring folderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

}  // namespace

void replaceFileContent(const std::string& fileName, std::string_view bytes) {
  const std::wstring target = widen(fileName);
  wchar_t tempName[MAX_PATH] = {};
  if (!GetTempFileNameW(folderOf(target).c_str(), L"rdz", 0, tempName))
    throw std::runtime_error("Cannot create a temporary file beside " + fileName);
  TempFile temp(tempName);

  HANDLE file = CreateFileW(temp.path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("Cannot write a temporary file beside " + fileName);
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
                  written == bytes.size() && FlushFileBuffers(file);
  CloseHandle(file);
  if (!ok) throw std::runtime_error("Cannot write a temporary file beside " + fileName);

  if (!MoveFileExW(temp.path().c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    throw std::runtime_error("Cannot replace " + fileName);
  temp.release();
}

std::string shortDateNow() {
  wchar_t text[128] = {};
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, text, 128);
  return narrow(text);
}

std::string longTimeNow() {
  wchar_t text[128] = {};
  GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, 128);
  return narrow(text);
}

}  // namespace ui
