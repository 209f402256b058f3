#include "core/confirmations.h"

#include <algorithm>
#include <map>

#include "core/district_list.h"
#include "core/text.h"

namespace core {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Reads a CSV line field by field.
class CsvCursor {
 public:
  explicit CsvCursor(std::string_view line) : line_(line) {}

  // The next field into value; false when the line has no more.
  bool next(std::string& value) {
    if (done_) return false;
    value.clear();
    std::size_t p = pos_;
    while (p < line_.size() && isBlank(line_[p])) ++p;
    const bool isQuoted = p < line_.size() && line_[p] == '"';
    if (isQuoted) p = quoted(p + 1, value);
    // Stray text between a closing quote and the comma is dropped: a field's value
    // stands in the line as it is, unless it holds a doubled quote.
    const std::size_t comma = std::min(line_.find(',', p), line_.size());
    if (!isQuoted) value.append(trimBlanks(line_.substr(p, comma - p)));
    done_ = comma == line_.size();
    pos_ = comma + 1;
    return true;
  }

 private:
  // The quoted text from p into value; the position after the closing quote.
  std::size_t quoted(std::size_t p, std::string& value) const {
    for (;;) {
      const std::size_t quote = line_.find('"', p);
      if (quote == std::string_view::npos) {
        value.append(line_.substr(p));
        return line_.size();
      }
      value.append(line_.substr(p, quote - p));
      if (quote + 1 >= line_.size() || line_[quote + 1] != '"') return quote + 1;
      value += '"';
      p = quote + 2;
    }
  }

  std::string_view line_;
  std::size_t pos_ = 0;
  bool done_ = false;
};

// A header that names a band: digits with at most one full stop between them
// ("1.8", "144").
bool namesBand(std::string_view name) {
  if (name.empty() || name.front() == '.' || name.back() == '.') return false;
  int stops = 0;
  for (const char c : name) {
    if (c == '.') ++stops;
    else if (c < '0' || c > '9') return false;
  }
  return stops <= 1;
}

std::optional<std::size_t> columnNamed(const std::vector<std::string>& names, std::string_view name) {
  const auto it = std::find(names.begin(), names.end(), name);
  if (it == names.end()) return std::nullopt;
  return std::size_t(it - names.begin());
}

// The confirmations of a sorted list one by one: f(line, district), the district
// not empty; the CSV header is left out, and so is an RDA field holding a line
// break (a note in the wrong column names no district).
template <class F>
void forEachConfirmation(const TextList& sorted, const ConfirmationsForm& form, F&& f) {
  std::string value;
  for (const std::string_view line : sorted) {
    if (!form.csv) {
      if (!line.empty()) f(line, head(line, 5));
    } else if (line.data() != sorted.firstLine().data() && csvField(line, form.rdaColumn, value) && !value.empty() &&
               value.find_first_of("\r\n") == std::string::npos) {
      f(line, std::string_view(value));
    }
  }
}

void addOnce(std::vector<BandMode>& list, BandMode item) {
  if ((item.band.empty() && item.mode.empty()) || std::find(list.begin(), list.end(), item) != list.end()) return;
  list.push_back(std::move(item));
}

// The bands and modes one CSV line confirms.
void addBandsAndModes(const ConfirmationsForm& form, const std::vector<std::string>& fields,
                      std::vector<BandMode>& on) {
  const auto field = [&](std::optional<std::size_t> column) {
    return column && *column < fields.size() ? fields[*column] : std::string();
  };
  if (form.bandColumn || form.modeColumn) addOnce(on, {field(form.bandColumn), field(form.modeColumn)});
  for (const auto& [column, band] : form.bandColumns) {
    if (column >= fields.size()) continue;
    const std::string_view cell = fields[column];
    for (std::size_t p = 0; p < cell.size();) {
      const std::size_t end = std::min(cell.find_first_of(" \t", p), cell.size());
      if (end > p) addOnce(on, {band, std::string(cell.substr(p, end - p))});
      p = end + 1;
    }
  }
}

}  // namespace

ConfirmationsForm confirmationsForm(std::string_view text) {
  ConfirmationsForm form;
  const std::string_view header = firstLine(withoutBom(text));
  if (!contains(header, ",")) return form;
  std::vector<std::string> names;
  csvFields(header, names);
  const auto rda = columnNamed(names, "RDA");
  if (!rda) return form;
  form.csv = true;
  form.rdaColumn = *rda;
  form.bandColumn = columnNamed(names, "Band");
  form.modeColumn = columnNamed(names, "Mode");
  if (!form.bandColumn)
    for (std::size_t i = 0; i < names.size(); ++i)
      if (i != *rda && namesBand(names[i])) form.bandColumns.emplace_back(i, names[i]);
  return form;
}

void csvFields(std::string_view line, std::vector<std::string>& fields) {
  CsvCursor cursor(line);
  std::size_t n = 0;
  for (;; ++n) {
    if (n == fields.size()) fields.emplace_back();
    if (!cursor.next(fields[n])) break;
  }
  fields.resize(n);
}

bool csvField(std::string_view line, std::size_t index, std::string& value) {
  CsvCursor cursor(line);
  for (std::size_t i = 0; i <= index; ++i)
    if (!cursor.next(value)) return false;
  return true;
}

std::string csvLineText(std::string_view line) {
  std::string text, value;
  CsvCursor cursor(line);
  while (cursor.next(value)) {
    // A note's line breaks are blanks on the one line the operator reads (its empty
    // lines none).
    std::string shown;
    forEachLine(value, [&](std::string_view part) {
      if (part.empty()) return;
      if (!shown.empty()) shown += ' ';
      shown += part;
    });
    if (shown.empty()) continue;
    if (!text.empty()) text += ' ';
    text += shown;
  }
  return text;
}

namespace {

// Where the CSV record that begins at pos ends: at the first line end where the
// quotes since pos are even in number (a line break between quotes belongs to the
// quoted field, a doubled quote counting twice). When no such line end comes
// before the text ends, a quote was left open: the record is its first line.
std::size_t csvRecordEnd(std::string_view text, std::size_t pos) {
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  bool open = false;
  const char* recordEnd = findEvenQuotesLineBreak(begin + pos, end, open);
  if (open) recordEnd = findLineBreak(begin + pos, end);
  return std::size_t(recordEnd - begin);
}

}  // namespace

void forEachCsvRecord(std::string_view text, const std::function<void(std::string_view)>& f) {
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t end = csvRecordEnd(text, pos);
    f(text.substr(pos, end - pos));
    pos = skipLineBreak(text, end);
  }
}

std::string_view afterCsvHeader(std::string_view text) { return text.substr(skipLineBreak(text, csvRecordEnd(text, 0))); }

std::vector<std::string_view> confirmationEntries(std::string_view text) {
  if (!confirmationsForm(text).csv) return splitLines(text);
  std::vector<std::string_view> records;
  forEachCsvRecord(text, [&](std::string_view record) { records.push_back(record); });
  return records;
}

TextList confirmationsList(std::string_view text) { return TextList::fromText(text, true, &confirmationEntries); }

std::vector<std::string> confirmedCodes(const TextList& sortedConfirmations) {
  std::vector<std::string> codes;
  forEachConfirmation(sortedConfirmations, confirmationsForm(sortedConfirmations.firstLine()),
                      [&](std::string_view, std::string_view code) { codes.emplace_back(code); });
  std::sort(codes.begin(), codes.end());
  codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
  return codes;
}

std::vector<ConfirmedDistrict> confirmedDistricts(std::string_view confirmations) {
  const TextList sorted = confirmationsList(confirmations);
  const ConfirmationsForm form = confirmationsForm(sorted.firstLine());
  std::map<std::string, std::vector<BandMode>, std::less<>> byCode;
  std::vector<std::string> fields;
  forEachConfirmation(sorted, form, [&](std::string_view line, std::string_view code) {
    auto it = byCode.find(code);
    if (it == byCode.end()) it = byCode.emplace(std::string(code), std::vector<BandMode>()).first;
    if (!form.csv) return;
    csvFields(line, fields);
    addBandsAndModes(form, fields, it->second);
  });
  std::vector<ConfirmedDistrict> districts;
  districts.reserve(byCode.size());
  for (auto& [code, on] : byCode) districts.push_back({code, std::move(on)});
  return districts;
}

bool holdsConfirmation(std::string_view confirmations) {
  confirmations = withoutBom(confirmations);
  const ConfirmationsForm form = confirmationsForm(confirmations);
  if (form.csv) confirmations = afterCsvHeader(confirmations);
  bool found = false;
  std::string value;
  const auto check = [&](std::string_view line) {
    if (found) return;
    found = form.csv ? csvField(line, form.rdaColumn, value) && isDistrictCode(value) : isDistrictCode(head(line, 5));
  };
  if (form.csv)
    forEachCsvRecord(confirmations, check);
  else
    forEachLine(confirmations, check);
  return found;
}

std::vector<Band> bandsConfirmed(std::string_view confirmations, std::string_view district) {
  std::vector<Band> bands;
  if (!confirmationsForm(confirmations).csv) return bands;
  for (const ConfirmedDistrict& d : confirmedDistricts(confirmations)) {
    if (d.code != district) continue;
    for (const BandMode& on : d.confirmedOn)
      if (const Band band = bandOfLabel(on.band); band != Band::None && std::find(bands.begin(), bands.end(), band) == bands.end())
        bands.push_back(band);
  }
  return bands;
}

}  // namespace core
