// Reference text files: one bulk read, lines split in place.
#pragma once

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "core/byte_search.h"

namespace core {

// A file that cannot be opened: `Cannot open file "NAME". REASON`.
class FileOpenError : public std::runtime_error {
 public:
  FileOpenError(const std::string& fileName, const std::string& reason);
};

// The wording of the last system error; the platform layer installs its own so
// that the operator reads the system's message, not the C library's.
using SystemReasonFn = std::string (*)();
void setSystemReason(SystemReasonFn fn);
std::string systemReason();

// Opens a file for reading by its name in Windows-1251. The C library's fopen by
// default; the program puts the platform's own wide-name opening in its place, so
// that a name reaches the system as the characters it holds on any locale.
using FileOpenFn = std::FILE* (*)(const std::string& name);
void setFileOpener(FileOpenFn fn);
std::FILE* openForReading(const std::string& name);

// The bytes of a whole file; the address of the bytes survives a move.
class FileBytes {
 public:
  FileBytes() = default;
  explicit FileBytes(std::string_view text);
  std::string_view view() const { return {data_.get(), size_}; }

 private:
  friend FileBytes readRawFileBytes(const std::string& fileName);
  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
};

// Reads a whole file into memory with one read, byte for byte. Throws FileOpenError
// when the file cannot be opened and std::runtime_error when reading it fails.
FileBytes readRawFileBytes(const std::string& fileName);
// The same for a reference file the program reads: one saved as UTF-8 comes back in
// Windows-1251 (see isUtf8Text).
FileBytes readFileBytes(const std::string& fileName);

// Calls f(line) for each line of text. A line ends at CR LF, a lone CR or a lone LF;
// a break at the very end adds no empty line; empty lines inside are lines.
template <class F>
void forEachLine(std::string_view text, F&& f) {
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end) {
    const char* brk = findLineBreak(p, end);
    f(std::string_view(p, std::size_t(brk - p)));
    if (brk == end) break;
    p = brk + ((*brk == '\r' && brk + 1 < end && brk[1] == '\n') ? 2 : 1);  // CR LF is one break
  }
}

std::vector<std::string_view> splitLines(std::string_view text);

// The line that begins at pos, up to its break.
std::string_view lineAt(std::string_view text, std::size_t pos);
inline std::string_view firstLine(std::string_view text) { return lineAt(text, 0); }
// The position after the line break at pos (CR LF being one break); pos itself at
// the text's end.
std::size_t skipLineBreak(std::string_view text, std::size_t pos);
// What follows the first line and its break.
inline std::string_view afterFirstLine(std::string_view text) {
  return text.substr(skipLineBreak(text, firstLine(text).size()));
}

// A list of lines that owns its bytes. The views stay valid when the list is moved.
class TextList {
 public:
  TextList() = default;
  // Lines in file order.
  static TextList load(const std::string& fileName);
  // Lines in ascending case-insensitive order with repeats (case aside) dropped:
  // the confirmations file and the watch list are held this way.
  static TextList loadSorted(const std::string& fileName);
  static TextList fromText(std::string_view text, bool sorted = false);
  // The same with the text cut by `split` (a reader whose entries may hold line
  // breaks, such as CSV records): views into the text it is given, in its order.
  using Split = std::vector<std::string_view> (*)(std::string_view text);
  static TextList fromText(std::string_view text, bool sorted, Split split);

  std::size_t size() const { return lines_.size(); }
  bool empty() const { return lines_.empty(); }
  std::string_view operator[](std::size_t i) const { return lines_[i]; }
  // The first line of the file, wherever sorting put it; empty for an empty file.
  std::string_view firstLine() const { return first_; }
  auto begin() const { return lines_.begin(); }
  auto end() const { return lines_.end(); }

 private:
  explicit TextList(FileBytes bytes, Split split = &splitLines);
  void sortUnique();

  FileBytes bytes_;
  std::vector<std::string_view> lines_;
  std::string_view first_;
};

// A loaded list shared by whoever is walking it.
using SharedTextList = std::shared_ptr<const TextList>;

}  // namespace core
