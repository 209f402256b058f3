#include "core/districts.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "core/byte_search.h"
#include "core/confirmations.h"
#include "core/district_list.h"
#include "core/text.h"

namespace core {

namespace {

bool atLineStart(std::string_view text, std::size_t pos) {
  return pos == 0 || text[pos - 1] == '\n' || text[pos - 1] == '\r';
}

// An empty line is a break right at the start, or a break that follows another
// break (a CR LF pair being one break).
bool hasEmptyLine(std::string_view text) {
  if (text.empty()) return false;
  if (text.front() == '\r' || text.front() == '\n') return true;
  return findBytes(text, "\n\n") != std::string_view::npos || findBytes(text, "\r\r") != std::string_view::npos ||
         findBytes(text, "\n\r") != std::string_view::npos;
}

// The semicolon form: the header is no district, and a line of fewer than three
// fields neither.
DistrictInfo lookUpSemicolon(std::string_view list, std::string_view code) {
  DistrictInfo info;
  if (code.empty()) return info;
  const std::size_t body = list.size() - afterFirstLine(list).size();
  for (std::size_t pos = findBytes(list, code, body); pos != std::string_view::npos;
       pos = findBytes(list, code, pos + 1)) {
    if (!atLineStart(list, pos)) continue;
    const std::string_view line = lineAt(list, pos);
    if (line.size() <= code.size() || line[code.size()] != ';') continue;
    const auto district = semicolonLine(line);
    if (!district) continue;
    info.listed = true;
    info.description = district->title;
    info.valid = !district->deleted;
    info.successor = district->successor;
  }
  return info;
}

}  // namespace

DistrictInfo lookUpDistrict(std::string_view districtListText, std::string_view code) {
  if (districtListForm(districtListText) == DistrictListForm::Semicolon) return lookUpSemicolon(districtListText, code);
  DistrictInfo info;
  // A line's first five characters equal the code: a five-character code begins the
  // line, a shorter one is the whole line, an empty one is an empty line, and a
  // longer one matches nothing. The code is searched for directly rather than line
  // by line; the verdict runs at every keystroke.
  if (code.size() > 5) return info;
  if (code.empty()) {
    info.listed = info.valid = hasEmptyLine(districtListText);
    return info;
  }
  std::string_view deciding;
  for (std::size_t pos = findBytes(districtListText, code); pos != std::string_view::npos;
       pos = findBytes(districtListText, code, pos + 1)) {
    if (!atLineStart(districtListText, pos)) continue;
    const std::string_view line = lineAt(districtListText, pos);
    if (head(line, 5) != code) continue;
    info.listed = true;
    deciding = line;
  }
  if (info.listed) {
    info.description = deciding.size() > 6 ? deciding.substr(6) : std::string_view();
    info.valid = !contains(info.description, "deleted");
    if (!info.valid) info.successor = tabbedSuccessor(deciding);
  }
  return info;
}

std::vector<std::string> successorChain(std::string_view districtListText, std::string_view code) {
  std::vector<std::string> chain{std::string(code)};
  for (;;) {
    const DistrictInfo info = lookUpDistrict(districtListText, chain.back());
    if (info.valid || info.successor.empty()) return chain;
    if (std::find(chain.begin(), chain.end(), info.successor) != chain.end()) return chain;
    chain.emplace_back(info.successor);
  }
}

int countConfirmed(const TextList& sortedConfirmations) {
  if (confirmationsForm(sortedConfirmations.firstLine()).csv) return int(confirmedCodes(sortedConfirmations).size());
  int count = 0;
  std::string_view previous;
  for (std::string_view line : sortedConfirmations) {
    const std::string_view current = head(line, 5);
    if (current != previous) ++count;
    previous = current;
  }
  return count;
}

std::string cfmTitle(int count) { return "CFM-" + std::to_string(count); }

namespace {

// Of the candidate entries (views into the file, in file order), the first in the
// order of the sorted list made of the file's entries, which forEachEntry(f) hands
// to f one by one: its lines, or its CSV records.
template <class ForEachEntry>
std::optional<std::string_view> firstInSortedOrder(ForEachEntry&& forEachEntry,
                                                   const std::vector<std::string_view>& candidates) {
  if (candidates.empty()) return std::nullopt;
  // The sorted list keeps, of lines equal but for case, only the first in the file:
  // a later twin of an earlier line does not count, even when only the twin holds
  // the district. One pass notes the first line of each candidate's twins. Usually
  // a district has a few lines, and comparing each line of a candidate's length
  // with them directly is cheapest (another district's line differs at once); a
  // district repeated on many lines goes through a hash of the folded text, so that
  // it costs no more than the file's length.
  std::vector<bool> candidateLength;
  for (std::string_view c : candidates) {
    if (candidateLength.size() <= c.size()) candidateLength.resize(c.size() + 1);
    candidateLength[c.size()] = true;
  }
  auto ofCandidateLength = [&](std::string_view line) {
    return line.size() < candidateLength.size() && candidateLength[line.size()];
  };
  std::vector<const char*> firstTwin(candidates.size(), nullptr);
  constexpr std::size_t kCompareDirectly = 8;
  if (candidates.size() <= kCompareDirectly) {
    forEachEntry([&](std::string_view line) {
      if (!ofCandidateLength(line)) return;
      for (std::size_t i = 0; i < candidates.size(); ++i)
        if (!firstTwin[i] && equalNoCase(line, candidates[i])) firstTwin[i] = line.data();
    });
  } else {
    struct FoldedHash {
      std::size_t operator()(std::string_view s) const { return hashNoCase(s); }
    };
    struct FoldedEqual {
      bool operator()(std::string_view a, std::string_view b) const { return equalNoCase(a, b); }
    };
    std::unordered_map<std::string_view, const char*, FoldedHash, FoldedEqual> twins(candidates.size());
    for (std::string_view c : candidates) twins.emplace(c, nullptr);
    forEachEntry([&](std::string_view line) {
      if (!ofCandidateLength(line)) return;
      if (const auto it = twins.find(line); it != twins.end() && !it->second) it->second = line.data();
    });
    for (std::size_t i = 0; i < candidates.size(); ++i) firstTwin[i] = twins.find(candidates[i])->second;
  }

  std::optional<std::string_view> first;
  for (std::size_t i = 0; i < candidates.size(); ++i)
    if (firstTwin[i] == candidates[i].data() && (!first || compareNoCase(candidates[i], *first) < 0))
      first = candidates[i];
  return first;
}

// The lines of text that contain the district and pass `keep`, in file order.
template <class Keep>
std::vector<std::string_view> linesHolding(std::string_view text, std::string_view district, Keep&& keep) {
  std::vector<std::string_view> found;
  for (std::size_t pos = findBytes(text, district); pos != std::string_view::npos;) {
    std::size_t start = pos;
    while (!atLineStart(text, start)) --start;
    const std::string_view line = lineAt(text, start);
    if (keep(line)) found.push_back(line);
    pos = findBytes(text, district, start + line.size());
  }
  return found;
}

}  // namespace

std::optional<std::string> firstConfirmation(std::string_view confirmationsText, std::string_view district) {
  // No line holds an empty district or a line break.
  if (district.empty() || district.find_first_of("\r\n") != std::string_view::npos) return std::nullopt;
  const ConfirmationsForm form = confirmationsForm(confirmationsText);
  if (!form.csv) {
    const auto line = firstInSortedOrder([&](auto&& f) { forEachLine(confirmationsText, f); },
                                         linesHolding(confirmationsText, district, [](std::string_view) { return true; }));
    return line ? std::optional<std::string>(*line) : std::nullopt;
  }
  // The header is no confirmation, but a later twin of it is no line of the sorted
  // list either. A district written with a quote stands doubled in its quoted field.
  // A record may hold line breaks in a note: the records are read from the start.
  const std::string_view body = afterCsvHeader(confirmationsText);
  const bool quoted = district.find('"') != std::string_view::npos;
  if (!quoted && findBytes(body, district) == std::string_view::npos) return std::nullopt;  // a new district, at once
  std::string value;
  const std::vector<std::string_view> records = confirmationEntries(confirmationsText);
  std::vector<std::string_view> candidates;
  const auto consider = [&](std::string_view record) {
    if ((candidates.empty() || candidates.back().data() != record.data()) && csvField(record, form.rdaColumn, value) &&
        value == district)
      candidates.push_back(record);
  };
  if (quoted) {
    for (std::size_t i = 1; i < records.size(); ++i) consider(records[i]);
  } else {
    // The records holding the district, found where it occurs.
    const char* const text = confirmationsText.data();
    for (std::size_t at = findBytes(confirmationsText, district, std::size_t(body.data() - text));
         at != std::string_view::npos; at = findBytes(confirmationsText, district, at + 1)) {
      const auto after = std::upper_bound(records.begin() + 1, records.end(), text + at,
                                          [](const char* p, std::string_view r) { return p < r.data(); });
      consider(*(after - 1));
    }
  }
  const auto line = firstInSortedOrder(
      [&](auto&& f) {
        for (const std::string_view record : records) f(record);
      },
      candidates);
  return line ? std::optional<std::string>(csvLineText(*line)) : std::nullopt;
}

}  // namespace core
