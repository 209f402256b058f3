#include "core/regions_page.h"

#include <algorithm>

#include "core/district_list.h"
#include "core/text.h"
#include "core/text_file.h"

namespace core {
namespace {

constexpr std::string_view kLinkMarker = "<td><a class=\"ired\" href=\"rda?id=";
constexpr std::string_view kNoActivityMarker = "<td align=\"right\">-</td>";
constexpr std::string_view kRightCell = "<td align=\"right\">";
constexpr std::string_view kCell = "<td>";
// Added after the code of a district nobody has worked from yet.
// " - Не ступала покрышка А/М!" in Windows-1251, written as bytes so that every
// compiler, whatever its execution character set, puts the same ones in.
constexpr std::string_view kNoActivityText = " - \xCD\xE5 \xF1\xF2\xF3\xEF\xE0\xEB\xE0 \xEF\xEE\xEA\xF0\xFB\xF8\xEA\xE0 \xC0/\xCC!";

// `count` characters from the 1-based `position`, as many as exist.
std::string_view piece(std::string_view line, std::size_t position, std::size_t count) {
  if (position - 1 >= line.size()) return {};
  return line.substr(position - 1, count);
}

// The page writes a district code without its hyphen: AB12 becomes AB-12.
std::string districtCode(std::string_view fourChars) {
  std::string code(fourChars);
  code.insert(std::min<std::size_t>(2, code.size()), 1, '-');
  return code;
}

}  // namespace

// The share may keep a '/' of its cell's closing tag.
bool isRegionListLine(std::string_view line) {
  if (!isDistrictCode(head(line, 5)) || line.size() < 6 || line[5] != ' ' || !line.ends_with("%MW")) return false;
  constexpr std::string_view kLastQso = "-LastQso ";
  const std::size_t at = line.find(kLastQso);
  if (at == std::string_view::npos || at + kLastQso.size() > line.size() - 3) return false;
  const std::string_view share = line.substr(at + kLastQso.size(), line.size() - 3 - at - kLastQso.size());
  return share.find_first_of("0123456789") != std::string_view::npos;
}

std::vector<std::string> cutRegionsPage(std::vector<std::string> lines, const LineCompare& compare) {
  const std::size_t n = lines.size();
  for (std::size_t i = 0; n >= 4 && i <= n - 4; ++i) {
    if (contains(lines[i], kLinkMarker)) {
      const std::string code = districtCode(piece(lines[i], kLinkMarker.size() + 1, 4));
      const std::string_view date = piece(lines[i + 2], kRightCell.size() + 1, 7);
      std::string percent(piece(lines[i + 3], kRightCell.size() + 1, 4));
      std::erase(percent, '<');
      std::string line;
      line.append(code).append(" ").append(date).append("-LastQso ").append(percent).append("%MW");
      lines[i] = std::move(line);
    }
    if (contains(lines[i], kNoActivityMarker)) {
      if (i == 0)
        throw RegionsPageError(
            "The regions page begins with a district without activity, and no district code stands before it.");
      lines[i] = districtCode(piece(lines[i - 1], kCell.size() + 1, 4)) + std::string(kNoActivityText);
      lines[i + 1].clear();
      lines[i + 2].clear();
    }
  }
  std::erase_if(lines, [](const std::string& l) { return !l.empty() && (l[0] == '<' || l[0] == ' '); });
  std::stable_sort(lines.begin(), lines.end(),
                   [&](const std::string& a, const std::string& b) { return compare(a, b) < 0; });
  const auto firstFull = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return !l.empty(); });
  lines.erase(lines.begin(), firstFull);
  if (lines.empty()) throw RegionsPageError("The regions page holds no district line.");
  return lines;
}

std::vector<std::string> cutRegionsPage(std::string_view page, const LineCompare& compare) {
  std::vector<std::string> lines;
  forEachLine(page, [&](std::string_view line) { lines.emplace_back(line); });
  return cutRegionsPage(std::move(lines), compare);
}

std::vector<std::string> regionListFromPage(std::string_view page, const LineCompare& compare) {
  std::vector<std::string> lines = cutRegionsPage(withoutBom(page), compare);
  if (std::none_of(lines.begin(), lines.end(), [](const std::string& l) { return isRegionListLine(l); }))
    throw RegionsPageError("The regions page names no district with its Most Wanted share.");
  return lines;
}

std::string regionsPageRefusal(std::string_view page, const LineCompare& compare) {
  try {
    regionListFromPage(page, compare);
  } catch (const RegionsPageError& e) {
    return e.what();
  }
  return {};
}

std::string joinCrLf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text.append(line).append("\r\n");
  return text;
}

}  // namespace core
