// The callsign lookup's rules: callbook search, district from a spot comment, and
// the watch list.
#pragma once

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace core {

// The callbook key of a callsign as typed: the callsign and one space, upper-cased
// (a to z only).
std::string callbookKey(std::string_view callsign);

// The district of the first callbook line that begins with key: at most five
// characters after the key. Lines are found in the whole file's bytes without
// splitting it.
std::optional<std::string_view> callbookDistrict(std::string_view callbook, std::string_view key);

// The callbook file, opened for one search. It is read in pieces of a fixed size,
// so a callbook of any size costs no more memory than one piece.
class CallbookFile {
 public:
  // Throws FileOpenError when the file cannot be opened.
  explicit CallbookFile(const std::string& fileName);
  ~CallbookFile();
  CallbookFile(const CallbookFile&) = delete;
  CallbookFile& operator=(const CallbookFile&) = delete;

  // The district of the first line that begins with key, as callbookDistrict; in a
  // file saved as UTF-8, five characters converted to Windows-1251.
  std::optional<std::string> find(std::string_view key);

 private:
  std::string name_;
  std::FILE* file_;
  bool utf8_ = false;  // began with the UTF-8 byte order mark
};

// A candidate district code named in a spot comment (the comment as the link
// window's comment reader returns it), or empty text. `isDistrict` checks a code
// against the district list; it is asked only where the comment's form calls for it.
using DistrictCheck = std::function<bool(const std::string& code)>;
std::string commentRda(std::string_view comment, const DistrictCheck& isDistrict);

// A watch-list entry matches when, upper-cased, it occurs in the callsign field's
// text as typed. An empty entry never matches.
bool watchEntryMatches(std::string_view entry, std::string_view callsignField);

}  // namespace core
