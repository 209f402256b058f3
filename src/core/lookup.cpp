#include "core/lookup.h"

#include <algorithm>

#include "core/text.h"

namespace core {

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
