#include "core/callbook.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

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

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string_view skipBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

// A dated line's rest "<FROM, TO> CODE": the text after the range when the range is
// well formed and holds the day, else nothing.
std::optional<std::string_view> afterRange(std::string_view rest, Date on) {
  const std::size_t close = rest.find('>');
  if (close == std::string_view::npos) return std::nullopt;
  const std::string_view range = rest.substr(1, close - 1);
  const std::size_t comma = range.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  const std::string_view fromText = trimBlanks(range.substr(0, comma));
  const std::string_view toText = trimBlanks(range.substr(comma + 1));
  std::optional<Date> from, to;
  if (!fromText.empty() && !(from = parseIsoDate(fromText))) return std::nullopt;
  if (!toText.empty() && !(to = parseIsoDate(toText))) return std::nullopt;
  if (from && to && *to < *from) return std::nullopt;
  if ((from && on < *from) || (to && *to < on)) return std::nullopt;
  return skipBlanks(rest.substr(close + 1));
}

// Where the district stands in what follows the key, when the line is valid on the
// day: a plain line's five characters are taken as they are, and a dated line with
// nothing after its range names no district.
std::optional<std::string_view> districtText(std::string_view rest, Date on) {
  if (rest.empty() || rest.front() != '<') return rest;
  const auto after = afterRange(rest, on);
  if (!after || after->empty()) return std::nullopt;
  return after;
}

// Calls f(rest) for each line of text that begins with key; rest is what follows
// the key up to the line's end.
template <class F>
void forEachKeyLine(std::string_view text, std::string_view key, F&& f) {
  // A key holding a line break can begin no line.
  if (key.empty() || key.find_first_of("\r\n") != std::string_view::npos) return;
  // Every callbook line has a space after its callsign, so the key's closing space
  // would stop the skipping search at every line: search for what comes before it
  // and test the space afterwards.
  const std::string_view needle = key.size() > 1 && key.back() == ' ' ? key.substr(0, key.size() - 1) : key;
  const char* const end = text.data() + text.size();
  for (std::size_t pos = findBytes(text, needle); pos != std::string_view::npos;
       pos = findBytes(text, needle, pos + 1)) {
    if (pos != 0 && text[pos - 1] != '\n' && text[pos - 1] != '\r') continue;
    if (text.substr(pos, key.size()) != key) continue;
    const char* const from = text.data() + std::min(text.size(), pos + key.size());
    f(std::string_view(from, std::size_t(findLineBreak(from, end) - from)));
  }
}

// The key's lines of one piece of whole lines, added to what earlier pieces found.
void searchPiece(std::string_view piece, std::string_view key, Date on, bool utf8File,
                 std::optional<CallbookResult>& found) {
  forEachKeyLine(piece, key, [&](std::string_view rest) {
    const auto text = districtText(rest, on);
    if (!text) return;
    std::string district(head(*text, 5));
    if (utf8File || isUtf8Text(*text)) district = std::string(head(utf8ToCp1251(*text), 5));
    if (!found) found = CallbookResult{district, {}};
    auto& valid = found->validDistricts;
    if (std::find(valid.begin(), valid.end(), district) == valid.end()) valid.push_back(std::move(district));
  });
}

}  // namespace

std::optional<CallbookResult> callbookLookup(std::string_view callbook, std::string_view key, Date on) {
  // A byte order mark would glue itself to the first callsign.
  const bool utf8 = callbook.starts_with(kBom);
  if (utf8) callbook.remove_prefix(kBom.size());
  std::optional<CallbookResult> found;
  searchPiece(callbook, key, on, utf8, found);
  return found;
}

CallbookFile::CallbookFile(const std::string& fileName, std::size_t pieceSize)
    : name_(fileName), file_(openForReading(fileName)), pieceSize_(std::max<std::size_t>(pieceSize, 1)) {
  if (!file_) throw FileOpenError(fileName, systemReason());
  char mark[3] = {};
  utf8_ = std::fread(mark, 1, 3, file_) == 3 && std::string_view(mark, 3) == kBom;
}

CallbookFile::~CallbookFile() { std::fclose(file_); }

std::optional<CallbookResult> CallbookFile::find(std::string_view key, Date on) {
  if (std::fseek(file_, utf8_ ? long(kBom.size()) : 0, SEEK_SET) != 0)
    throw std::runtime_error("Error reading file \"" + name_ + "\"");
  // One buffer for every search of this thread: a fresh megabyte per keystroke or
  // spot costs more to map and zero than the search itself.
  thread_local std::vector<char> buffer;
  std::size_t capacity = pieceSize_;
  std::size_t held = 0;  // bytes in the buffer, starting at the beginning of a line
  std::optional<CallbookResult> found;
  for (;;) {
    if (buffer.size() < capacity) buffer.resize(capacity);
    const std::size_t got = std::fread(buffer.data() + held, 1, capacity - held, file_);
    if (std::ferror(file_)) throw std::runtime_error("Error reading file \"" + name_ + "\"");
    held += got;
    const bool atEnd = got == 0;
    // Search the complete lines; a line cut off by the piece's end waits for the
    // next piece.
    std::size_t complete = held;
    if (!atEnd) {
      while (complete > 0 && buffer[complete - 1] != '\n' && buffer[complete - 1] != '\r') --complete;
      if (complete == 0) {  // one line longer than the piece
        capacity *= 2;
        continue;
      }
    }
    searchPiece(std::string_view(buffer.data(), complete), key, on, utf8_, found);
    if (atEnd) return found;
    std::memmove(buffer.data(), buffer.data() + complete, held - complete);
    held -= complete;
  }
}

}  // namespace core
