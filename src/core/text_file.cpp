#include "core/text_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/code_page.h"
#include "core/text.h"

namespace core {
namespace {

std::string cLibraryReason() { return std::strerror(errno); }

SystemReasonFn g_systemReason = &cLibraryReason;

std::FILE* cLibraryOpen(const std::string& name) { return std::fopen(name.c_str(), "rb"); }
FileOpenFn g_open = &cLibraryOpen;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

FileOpenError::FileOpenError(const std::string& fileName, const std::string& reason)
    : std::runtime_error("Cannot open file \"" + fileName + "\". " + reason) {}

void setSystemReason(SystemReasonFn fn) { g_systemReason = fn ? fn : &cLibraryReason; }
std::string systemReason() { return g_systemReason(); }

void setFileOpener(FileOpenFn fn) { g_open = fn ? fn : &cLibraryOpen; }
std::FILE* openForReading(const std::string& name) { return g_open(name); }

FileBytes::FileBytes(std::string_view text)
    : data_(std::make_unique_for_overwrite<char[]>(text.size())), size_(text.size()) {
  if (!text.empty()) std::memcpy(data_.get(), text.data(), text.size());  // an empty view may hold no address
}

FileBytes readRawFileBytes(const std::string& fileName) {
  std::unique_ptr<std::FILE, FileCloser> f(openForReading(fileName));
  if (!f) throw FileOpenError(fileName, systemReason());

  long size = -1;
  if (std::fseek(f.get(), 0, SEEK_END) == 0) size = std::ftell(f.get());
  std::rewind(f.get());

  FileBytes bytes;
  std::size_t capacity = size > 0 ? static_cast<std::size_t>(size) : 0;
  bytes.data_ = std::make_unique_for_overwrite<char[]>(capacity);
  bytes.size_ = std::fread(bytes.data_.get(), 1, capacity, f.get());
  // A file that reported no size, or grew since, is read on in chunks.
  char chunk[16384];
  while (!std::ferror(f.get())) {
    const std::size_t got = std::fread(chunk, 1, sizeof chunk, f.get());
    if (got == 0) break;
    if (bytes.size_ + got > capacity) {
      capacity = (bytes.size_ + got) * 2;
      auto grown = std::make_unique_for_overwrite<char[]>(capacity);
      std::memcpy(grown.get(), bytes.data_.get(), bytes.size_);
      bytes.data_ = std::move(grown);
    }
    std::memcpy(bytes.data_.get() + bytes.size_, chunk, got);
    bytes.size_ += got;
  }
  if (std::ferror(f.get())) throw std::runtime_error("Error reading file \"" + fileName + "\"");
  return bytes;
}

FileBytes readFileBytes(const std::string& fileName) {
  FileBytes bytes = readRawFileBytes(fileName);
  // Saved as UTF-8 (today's Notepad does): read in the program's own code page.
  if (isUtf8Text(bytes.view())) return FileBytes(utf8ToCp1251(bytes.view()));
  return bytes;
}

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  forEachLine(text, [&](std::string_view line) { lines.push_back(line); });
  return lines;
}

std::string_view lineAt(std::string_view text, std::size_t pos) {
  const char* const from = text.data() + pos;
  return std::string_view(from, std::size_t(findLineBreak(from, text.data() + text.size()) - from));
}

std::size_t skipLineBreak(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) return text.size();
  return pos + (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n' ? 2 : 1);
}

TextList::TextList(FileBytes bytes, Split split) : bytes_(std::move(bytes)) {
  lines_ = split(bytes_.view());
  if (!lines_.empty()) first_ = lines_.front();
}

TextList TextList::load(const std::string& fileName) { return TextList(readFileBytes(fileName)); }

TextList TextList::loadSorted(const std::string& fileName) {
  TextList list(readFileBytes(fileName));
  list.sortUnique();
  return list;
}

TextList TextList::fromText(std::string_view text, bool sorted) {
  TextList list{FileBytes(text)};
  if (sorted) list.sortUnique();
  return list;
}

TextList TextList::fromText(std::string_view text, bool sorted, Split split) {
  TextList list{FileBytes(text), split};
  if (sorted) list.sortUnique();
  return list;
}

void TextList::sortUnique() {
  // Stable, so that of several lines equal but for case the first in the file stays.
  std::stable_sort(lines_.begin(), lines_.end(),
                   [](std::string_view a, std::string_view b) { return compareNoCase(a, b) < 0; });
  lines_.erase(std::unique(lines_.begin(), lines_.end(), equalNoCase), lines_.end());
}

}  // namespace core
