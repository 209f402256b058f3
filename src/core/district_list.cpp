#include "core/district_list.h"

#include <algorithm>

#include "core/text.h"
#include "core/text_file.h"

namespace core {
namespace {

bool isCapital(char c) { return c >= 'A' && c <= 'Z'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool isDistrictCode(std::string_view s) {
  return s.size() == 5 && isCapital(s[0]) && isCapital(s[1]) && s[2] == '-' && isDigit(s[3]) && isDigit(s[4]);
}

DistrictListForm districtListForm(std::string_view list) {
  list = withoutBom(list);
  const std::string_view header = firstLine(list);
  if (!contains(header, ";") || isDistrictCode(head(header, 5))) return DistrictListForm::Tabbed;
  // The first code line decides; it usually comes right after the header.
  for (std::size_t pos = header.size(); pos < list.size();) {
    pos = skipLineBreak(list, pos);
    const std::string_view line = lineAt(list, pos);
    if (isDistrictCode(head(line, 5)))
      return line.size() > 5 && line[5] == ';' ? DistrictListForm::Semicolon : DistrictListForm::Tabbed;
    pos += line.size();
  }
  return DistrictListForm::Tabbed;
}

std::optional<SemicolonLine> semicolonLine(std::string_view line) {
  const auto separators = std::count(line.begin(), line.end(), ';');
  if (separators < 2) return std::nullopt;
  const std::size_t last = line.rfind(';');
  SemicolonLine out;
  out.code = line.substr(0, line.find(';'));
  out.title = line.substr(last + 1);
  std::string_view successor;
  if (const std::string_view tail = trimBlanks(out.title); separators >= 3 && (isDistrictCode(tail) || tail == "***")) {
    const std::size_t before = line.rfind(';', last - 1);
    out.title = line.substr(before + 1, last - before - 1);
    if (tail != "***") successor = tail;
  }
  out.deleted = contains(out.title, "deleted");
  if (out.deleted) out.successor = successor;
  return out;
}

std::string_view tabbedSuccessor(std::string_view line) {
  const std::size_t tab = line.rfind('\t');
  if (tab == std::string_view::npos || tab < 5) return {};
  const std::string_view field = trimBlanks(line.substr(tab + 1));
  return isDistrictCode(field) ? field : std::string_view();
}

std::optional<RegionHeader> regionHeader(std::string_view line) {
  for (std::size_t open = line.find('('); open != std::string_view::npos && open + 3 < line.size();
       open = line.find('(', open + 1)) {
    if (!isCapital(line[open + 1]) || !isCapital(line[open + 2]) || line[open + 3] != ')') continue;
    return RegionHeader{line.substr(open + 1, 2), trimBlanks(line.substr(0, open))};
  }
  return std::nullopt;
}

}  // namespace core
