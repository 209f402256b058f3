// The callbook "RUdoz.txt": callsign to district. A plain line is the callsign, one
// space and the district's five characters ("R0AA KK-08"); a dated line holds for a
// while only ("EK1SK <1991-01-01, 1992-01-31> VO-29"), either end possibly open.
#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dates.h"

namespace core {

// The callbook key of a callsign as typed: the callsign and one space, upper-cased
// (a to z only).
std::string callbookKey(std::string_view callsign);

// What the callbook says of a callsign on a day. Of the lines that begin with the
// key only those valid on the day count: a plain line always, a dated one from its
// first to its last day. A dated line whose range is malformed counts never.
struct CallbookResult {
  std::string district;                     // of the first valid line in the file
  std::vector<std::string> validDistricts;  // each different one of the valid lines, in file order
  bool operator==(const CallbookResult&) const = default;
};

// The search over a whole callbook's bytes, as CallbookFile makes it over a file
// holding them. Nothing when no line of the key is valid on the day.
std::optional<CallbookResult> callbookLookup(std::string_view callbook, std::string_view key, Date on);

inline constexpr std::size_t kCallbookPieceSize = 1024 * 1024;

// The callbook file, opened for one search. It is read in pieces of a fixed size,
// so a callbook of any size costs no more memory than one piece.
class CallbookFile {
 public:
  // Throws FileOpenError when the file cannot be opened.
  explicit CallbookFile(const std::string& fileName, std::size_t pieceSize = kCallbookPieceSize);
  ~CallbookFile();
  CallbookFile(const CallbookFile&) = delete;
  CallbookFile& operator=(const CallbookFile&) = delete;

  // Every line of the key, to the file's end; in a file saved as UTF-8 a district
  // is five characters converted to Windows-1251.
  std::optional<CallbookResult> find(std::string_view key, Date on);

 private:
  std::string name_;
  std::FILE* file_;
  std::size_t pieceSize_;
  bool utf8_ = false;  // began with the UTF-8 byte order mark
};

}  // namespace core
