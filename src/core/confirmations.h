// The operator's confirmations "QJcfm.txt" in both the shapes it comes in: plain
// lines that begin with the district code ("TN-02;R7ND;40;SSB;2011-09-01"), or the
// confirmation service's CSV export, a header line naming the column RDA and then
// one confirmation a line:
//   "RDA","Date","Time","Band","Mode",...          (one line per QSO)
//   "Bands","RDA","1.8","3.5","7",...              (one line per district, the
//                                                    modes confirmed on each band)
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/band.h"
#include "core/text_file.h"

namespace core {

struct ConfirmationsForm {
  bool csv = false;
  std::size_t rdaColumn = 0;
  // The QSO export: the columns Band and Mode.
  std::optional<std::size_t> bandColumn, modeColumn;
  // The per-district export: each column whose header names a band ("3.5"), with
  // that name.
  std::vector<std::pair<std::size_t, std::string>> bandColumns;
};

// The form of a confirmations file, judged by its first line in file order (after
// a UTF-8 byte order mark): the CSV form when that line is comma-separated and one
// of its fields is RDA, in capitals. Every reader of the file asks this function;
// the text may be the whole file or its first line alone.
ConfirmationsForm confirmationsForm(std::string_view text);

// The service's CSV holds one confirmation a record: a line, unless a quoted field
// (a note) holds line breaks, which belong to the field: a record runs to the first
// line end where its quotes are even in number. A quote that no later quote of the
// text closes leaves its record one line. f(record) for each record of the text, a
// break at the very end adding no empty one, as forEachLine does.
void forEachCsvRecord(std::string_view text, const std::function<void(std::string_view)>& f);

// What follows the first CSV record (the header) and its line break.
std::string_view afterCsvHeader(std::string_view text);

// The entries of a confirmations file: its CSV records in the CSV form, else its
// lines.
std::vector<std::string_view> confirmationEntries(std::string_view text);

// The fields of a CSV record, each unquoted or in double quotes ("" a quote inside,
// commas and line breaks inside the quotes kept), blanks around it and text
// between a closing quote and the next comma dropped. A quote left open ends at
// the record's end. `fields` is reused.
void csvFields(std::string_view line, std::vector<std::string>& fields);
// The field at `index` into `value`; false when the line has fewer fields.
bool csvField(std::string_view line, std::size_t index, std::string& value);
// A CSV record as the operator reads it: its fields that are not empty, without
// quotes, separated by single blanks, a line break inside a field read as a blank.
std::string csvLineText(std::string_view line);

// The confirmations list: the file's entries (confirmationEntries) sorted and
// without repeats, as a TextList sorts lines.
TextList confirmationsList(std::string_view text);

// The different district codes of a sorted confirmations list, in byte order: in
// the plain form each line's first five characters (an empty line confirms
// nothing), in the CSV form each line's RDA field that is not empty (the header is
// no confirmation).
std::vector<std::string> confirmedCodes(const TextList& sortedConfirmations);

// Where a district is confirmed: bands and modes as the file writes them. A QSO
// line gives its Band and Mode, a district line each band column whose cell is not
// empty with each mode in it.
struct BandMode {
  std::string band;
  std::string mode;
  bool operator==(const BandMode&) const = default;
};
struct ConfirmedDistrict {
  std::string code;
  std::vector<BandMode> confirmedOn;  // in the sorted list's order, each once; none in the plain form
  bool operator==(const ConfirmedDistrict&) const = default;
};
// Every confirmed district of the file's bytes, by code; the same codes as
// confirmedCodes.
std::vector<ConfirmedDistrict> confirmedDistricts(std::string_view confirmations);

// The bands a district is confirmed on, by the labels the file writes ("14" is 20 m);
// none in the plain form, which says nothing of bands.
std::vector<Band> bandsConfirmed(std::string_view confirmations, std::string_view district);

// Whether the bytes hold at least one confirmation of a well-formed district code
// (AB-12): a plain line beginning with one, or a CSV line whose RDA field is one.
bool holdsConfirmation(std::string_view confirmations);

}  // namespace core
