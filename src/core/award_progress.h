// Where the operator stands in the award: per region the active districts, those
// confirmed, those still needed and the confirmed ones since retired; the totals;
// and confirmed codes the district list does not know (a sign of an old list).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/band.h"

namespace core {

struct NeededDistrict {
  std::string code;
  std::string description;
  bool operator==(const NeededDistrict&) const = default;
};

struct RegionProgress {
  std::string letters;  // the codes' first two characters
  std::string name;     // from the region's header line, else the letters
  int active = 0;       // districts that count
  int confirmed = 0;    // ... of them confirmed
  int confirmedDeleted = 0;            // retired districts confirmed earlier
  std::vector<NeededDistrict> needed;  // active and not confirmed, by code
  bool operator==(const RegionProgress&) const = default;
};

struct ProgressTotals {
  int active = 0;
  int confirmed = 0;
  int needed = 0;
  int confirmedDeleted = 0;
  int retiredRegions = 0;  // regions whose districts are all deleted: not in the table
  bool operator==(const ProgressTotals&) const = default;
};

struct AwardProgress {
  std::vector<RegionProgress> regions;     // by letters; only regions with an active district
  ProgressTotals totals;
  std::vector<std::string> unknownCodes;   // confirmed, not in the list; sorted
  bool operator==(const AwardProgress&) const = default;
};

// Counts from the bytes of the district list and of the confirmations, with the
// rules the lookup uses, in each file's form:
// - a code line is five characters with a hyphen in the third (the code), a
//   separator and the description (the semicolon form: a line after the header
//   whose first field is such a code, its title last); the last line of a code
//   decides, and "deleted" in its description retires the code;
// - a region header is another line holding the region's letters in parentheses,
//   as "РЕСПУБЛИКА АДЫГЕЯ (АДЫГЕЯ)<TAB>(AD)<TAB>UA6Y", indented or not: what
//   stands before the letters is the region's name (the last header of a region
//   decides);
// - every other line of the list is ignored;
// - a confirmation's code is the first five characters of its line (the CSV form:
//   its RDA field), and each code counts once however many lines confirm it; an
//   empty line confirms nothing, and of lines equal but for case only the first
//   counts (as in the title's count).
// On `band` (not None), a district counts as confirmed only where the
// confirmations name that band (the service's CSV; plain lines name none).
AwardProgress countProgress(std::string_view districtList, std::string_view confirmations, Band band = Band::None);

// A needed district as one line: the code, two blanks and the description, its
// tabs made blanks.
std::string neededLine(const NeededDistrict& district);

// A share in per cent with one decimal, rounded down so that "100.0" means every
// district; "0.0" of nothing.
std::string percentText(int part, int whole);

// "confirmed N of M active districts, P %"
std::string totalsLine(const ProgressTotals& totals);
// "confirmed deleted districts: N", and the regions left out when there are any
std::string deletedLine(const ProgressTotals& totals);
// The warning for confirmed codes the list lacks; empty when there are none.
std::string unknownCodesLine(const std::vector<std::string>& unknownCodes);

// The table's columns, in their order on the screen.
enum class ProgressColumn { Region, Name, Confirmed, Active, Needed, Percent };
inline constexpr int kProgressColumns = 6;
extern const char* const kProgressColumnTitles[kProgressColumns];

// The six cells of a region's row.
std::vector<std::string> progressRow(const RegionProgress& region);
// Stable order by one column, ties by the letters; names compare without regard to
// case (Cyrillic too), numbers and shares by value.
void sortRegions(std::vector<RegionProgress>& regions, ProgressColumn column, bool descending);
// The column titles and the rows as given, tab-separated, CR LF after each line:
// what a spreadsheet takes from the clipboard.
std::string progressTable(const std::vector<RegionProgress>& regions);

}  // namespace core
