// The two ways the program writes a file without risking what it held: replacing
// its whole content in one step (the new bytes go into a temporary file in the same
// folder, which then takes the file's place), and adding bytes at its end without
// touching the bytes already there. A failure on the way leaves the old file as it was.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/dates.h"
#include "core/file_cache.h"
#include "ui/win.h"

namespace ui {

// The new content of one file, written piece by piece into a temporary file beside
// it; commit() puts it in the file's place. Dropped before that, the temporary file
// goes and the file stays as it was. Every step throws std::runtime_error with the
// system's reason when it fails.
class ReplacingFile {
 public:
  // A read-only target is refused here: Windows would refuse to replace it only at
  // the end, and Wine would replace it all the same.
  explicit ReplacingFile(const std::string& fileName);
  // A file named by its full path in UTF-16 (the settings file beside the program).
  explicit ReplacingFile(const std::wstring& path);
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  void write(std::string_view bytes);
  void commit();

 private:
  [[noreturn]] void fail(const std::string& what) const;

  std::string fileName_;
  std::wstring target_;
  std::wstring temp_;
  HANDLE file_ = INVALID_HANDLE_VALUE;
};

void replaceFileContent(const std::string& fileName, std::string_view bytes);

// The whole content of a file, or nothing when there is no such file. Throws
// std::runtime_error with the system's reason when it exists but cannot be read.
std::optional<std::string> readWholeFile(const std::wstring& path);

// A file's size and last write time, looked at without opening it; nothing when the
// system cannot look (no such file, no access).
std::optional<core::FileStamp> fileStamp(const std::wstring& path);

// Deletes from `folder` the temporary files that replacements cut off by the end of
// the program left there (rdzHEX.tmp). One that another running copy still writes
// is open and stays.
void removeLeftoverTempFiles(const std::string& folder);

// Adds bytes at the end of an existing file with one write; a missing file is not
// created. `addition` gets the file's last byte (empty for an empty file) and gives
// the bytes to add. The file is opened with every kind of sharing, so a file that
// another program holds open and lets others write still gets them. Throws
// std::runtime_error with the system's reason.
void appendToExistingFile(const std::string& fileName,
                          const std::function<std::string(std::string_view lastByte)>& addition);

// The current date in the user's short date format and the current time in the
// long time format, in Windows-1251.
std::string shortDateNow();
// Today in UTC, the calendar of the callbook's dated lines and of spot times.
core::Date utcToday();
std::string longTimeNow();

}  // namespace ui
