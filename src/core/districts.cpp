#include "core/districts.h"

#include <unordered_map>
#include <vector>

#include "core/byte_search.h"
#include "core/text.h"

namespace core {

namespace {

bool atLineStart(std::string_view text, std::size_t pos) {
  return pos == 0 || text[pos - 1] == '\n' || text[pos - 1] == '\r';
}

std::string_view lineAt(std::string_view text, std::size_t pos) {
  const char* end = findLineBreak(text.data() + pos, text.data() + text.size());
  return text.substr(pos, std::size_t(end - (text.data() + pos)));
}

// An empty line is a break right at the start, or a break that follows another
// break (a CR LF pair being one break).
bool hasEmptyLine(std::string_view text) {
  if (text.empty()) return false;
  if (text.front() == '\r' || text.front() == '\n') return true;
  return findBytes(text, "\n\n") != std::string_view::npos || findBytes(text, "\r\r") != std::string_view::npos ||
         findBytes(text, "\n\r") != std::string_view::npos;
}

}  // namespace

DistrictInfo lookUpDistrict(std::string_view districtListText, std::string_view code) {
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
  for (std::size_t pos = findBytes(districtListText, code); pos != std::string_view::npos;
       pos = findBytes(districtListText, code, pos + 1)) {
    if (!atLineStart(districtListText, pos)) continue;
    const std::string_view line = lineAt(districtListText, pos);
    if (head(line, 5) != code) continue;
    info.listed = true;
    info.description = line.size() > 6 ? line.substr(6) : std::string_view();
    info.valid = !contains(info.description, "deleted");
  }
  return info;
}

int countConfirmed(const TextList& sortedConfirmations) {
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

std::optional<std::string_view> firstConfirmation(std::string_view confirmationsText, std::string_view district) {
  // No line holds an empty district or a line break.
  if (district.empty() || district.find_first_of("\r\n") != std::string_view::npos) return std::nullopt;
  // Lines that contain the district, in file order.
  std::vector<std::string_view> candidates;
  for (std::size_t pos = findBytes(confirmationsText, district); pos != std::string_view::npos;) {
    std::size_t start = pos;
    while (!atLineStart(confirmationsText, start)) --start;
    const std::string_view line = lineAt(confirmationsText, start);
    candidates.push_back(line);
    pos = findBytes(confirmationsText, district, start + line.size());
  }
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
    forEachLine(confirmationsText, [&](std::string_view line) {
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
    forEachLine(confirmationsText, [&](std::string_view line) {
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

}  // namespace core
