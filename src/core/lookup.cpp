#include "core/lookup.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "core/byte_search.h"
#include "core/code_page.h"
#include "core/text.h"
#include "core/text_file.h"

namespace core {

std::string callbookKey(std::string_view callsign) {
  std::string key = toUpperAscii(callsign);
  key += ' ';
  return key;
}

std::optional<std::string_view> callbookDistrict(std::string_view callbook, std::string_view key) {
  // A key holding a line break can begin no line.
  if (key.empty() || key.find_first_of("\r\n") != std::string_view::npos) return std::nullopt;
  // Every callbook line has a space after its callsign, so the key's closing space
  // would stop the skipping search at every line: search for what comes before it
  // and test the space afterwards.
  const std::string_view needle = key.size() > 1 && key.back() == ' ' ? key.substr(0, key.size() - 1) : key;
  for (std::size_t pos = findBytes(callbook, needle); pos != std::string_view::npos;
       pos = findBytes(callbook, needle, pos + 1)) {
    if (pos != 0 && callbook[pos - 1] != '\n' && callbook[pos - 1] != '\r') continue;
    if (callbook.substr(pos, key.size()) != key) continue;
    std::string_view rest = callbook.substr(pos + key.size());
    rest = rest.substr(0, rest.find_first_of("\r\n"));
    return head(rest, 5);
  }
  return std::nullopt;
}

CallbookFile::CallbookFile(const std::string& fileName) : name_(fileName), file_(openForReading(fileName)) {
  if (!file_) throw FileOpenError(fileName, systemReason());
  // A byte order mark would glue itself to the first callsign.
  char mark[3] = {};
  utf8_ = std::fread(mark, 1, 3, file_) == 3 && std::string_view(mark, 3) == "\xEF\xBB\xBF";
  if (!utf8_) std::rewind(file_);
}

CallbookFile::~CallbookFile() { std::fclose(file_); }

namespace {
constexpr std::size_t kPieceSize = 1024 * 1024;
}  // namespace

std::optional<std::string> CallbookFile::find(std::string_view key) {
  // One buffer for every search of this thread: a fresh megabyte per keystroke or
  // spot costs more to map and zero than the search itself.
  thread_local std::vector<char> buffer;
  if (buffer.size() < kPieceSize) buffer.resize(kPieceSize);
  std::size_t held = 0;  // bytes in the buffer, starting at the beginning of a line
  for (;;) {
    const std::size_t got = std::fread(buffer.data() + held, 1, buffer.size() - held, file_);
    if (std::ferror(file_)) throw std::runtime_error("Error reading file \"" + name_ + "\"");
    held += got;
    const bool atEnd = got == 0;
    // Search the complete lines; a line cut off by the buffer's end waits for the
    // next piece.
    std::size_t complete = held;
    if (!atEnd) {
      while (complete > 0 && buffer[complete - 1] != '\n' && buffer[complete - 1] != '\r') --complete;
      if (complete == 0) {  // one line longer than the buffer
        buffer.resize(buffer.size() * 2);
        continue;
      }
    }
    const std::string_view piece(buffer.data(), complete);
    if (const auto district = callbookDistrict(piece, key)) {
      std::string_view rest = piece.substr(std::size_t(district->data() - piece.data()));
      rest = rest.substr(0, rest.find_first_of("\r\n"));
      if (utf8_ || isUtf8Text(rest)) return std::string(head(utf8ToCp1251(rest), 5));
      return std::string(*district);
    }
    if (atEnd) return std::nullopt;
    std::memmove(buffer.data(), buffer.data() + complete, held - complete);
    held -= complete;
  }
}

namespace {

std::string_view dropLeading(std::string_view s, char c) {
  while (!s.empty() && s.front() == c) s.remove_prefix(1);
  return s;
}

}  // namespace

std::string commentRda(std::string_view comment, const DistrictCheck& isDistrict) {
  if (comment.empty()) return {};
  const std::string upper = toUpperAscii(comment);
  if (contains(upper, "URDA")) return {};

  // Short form: the comment is the code itself.
  if (comment.size() == 5 && comment.find('-') == 2) {
    std::string code(comment);
    return isDistrict(code) ? code : std::string();
  }
  if (comment.size() < 8) return {};

  const std::size_t at = upper.find("RDA");  // 0-based; "p" is at + 1
  if (at == std::string::npos) return {};
  const std::size_t p = at + 1;

  if (comment.size() - p > 8) {
    // Long tail: what follows "RDA" and the one character after it.
    std::string_view tail = comment.substr(std::min(comment.size(), p + 3));
    tail = dropLeading(dropLeading(dropLeading(dropLeading(tail, ' '), ':'), '-'), ' ');
    if (contains(tail, "-")) return toUpperAscii(head(tail, 5));
    const std::string four = toUpperAscii(head(tail, 4));
    const std::size_t cut = std::min<std::size_t>(2, four.size());
    const std::string code = four.substr(0, cut) + "-" + four.substr(cut);  // AB12 -> AB-12
    return isDistrict(code) ? code : std::string();
  }

  // Short tail: drop the character before "RDA" and "RDA" itself, keep the last five.
  std::string rest(comment);
  if (p > 1) rest.erase(p - 2, 4);
  if (rest.size() > 5) rest.erase(0, rest.size() - 5);
  if (rest.find('-') == 2 && isDistrict(rest)) return rest;
  return {};
}

bool watchEntryMatches(std::string_view entry, std::string_view callsignField) {
  if (entry.empty() || entry.size() > callsignField.size()) return false;
  // The entry upper-cased, compared in place: no copy per entry and keystroke.
  for (std::size_t at = 0; at + entry.size() <= callsignField.size(); ++at) {
    std::size_t j = 0;
    while (j < entry.size() && callsignField[at + j] == upperAscii(entry[j])) ++j;
    if (j == entry.size()) return true;
  }
  return false;
}

}  // namespace core
