// The district list "QJar.txt" in the shapes the award publishes it: code lines
// "AB-12<TAB>description" among region header lines, deleted districts naming their
// successor in the last tab-separated field; or a header line and then
// "CODE;...;TITLE" lines.
#pragma once

#include <optional>
#include <string_view>

namespace core {

// A district code as the award writes it: two capital Latin letters, a hyphen and
// two digits (AB-12).
bool isDistrictCode(std::string_view s);

enum class DistrictListForm { Tabbed, Semicolon };

// The list's form, from its first lines: the semicolon form when the first line is
// a header holding ';' and no district code at its start, and the first line after
// it that begins with a code has ';' right after the code. Every reader of the list
// asks this one function.
DistrictListForm districtListForm(std::string_view list);

// A line of the semicolon form: three fields or more, the code first, the title
// last. When a line of four fields or more ends in a district code or "***", that
// field is the successor (or none) and the title stands before it.
struct SemicolonLine {
  std::string_view code;
  std::string_view title;
  bool deleted = false;        // "deleted" in the title
  std::string_view successor;  // a deleted district's successor code; empty for none
};
std::optional<SemicolonLine> semicolonLine(std::string_view line);

// The successor a deleted district's line of the tabbed form names in its last
// tab-separated field; empty when that field is "***", empty or not a code.
std::string_view tabbedSuccessor(std::string_view line);

// A region header of the tabbed form: a line holding the region's two capital
// letters in parentheses, as "РЕСПУБЛИКА АДЫГЕЯ (АДЫГЕЯ)<TAB>(AD)<TAB>UA6Y" or
// "<TAB>АМУРСКАЯ ОБЛАСТЬ   (AM)   UA0J". The name is what stands before the
// letters, blanks and tabs around it dropped.
struct RegionHeader {
  std::string_view letters;
  std::string_view name;
};
std::optional<RegionHeader> regionHeader(std::string_view line);

}  // namespace core
