// The Most Wanted regions page, cut down into the lines of the region list
// ("QJreg.txt"): one line per district, sorted, no empty line.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// A page that yields no region list; the text says why.
class RegionsPageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Orders two lines: negative, zero or positive. The program passes the system's
// locale-aware comparison that ignores letter case; portable code and tests pass
// their own.
using LineCompare = std::function<int(std::string_view, std::string_view)>;

// A line of the region list: a district with its Most Wanted share,
// "AB-12 01.2020-LastQso 3.55%MW".
bool isRegionListLine(std::string_view line);

// The cut-down of the page given as its lines. Throws RegionsPageError when the
// first line holds the no-activity marker (there is no district code before it) or
// when no line is left at the end.
std::vector<std::string> cutRegionsPage(std::vector<std::string> lines, const LineCompare& compare);

// The same over the page's bytes: the lines end at CR LF, LF or CR.
std::vector<std::string> cutRegionsPage(std::string_view page, const LineCompare& compare);

// The region list of a downloaded page: its cut-down, which must hold at least one
// district with its share, "AB-12 01.2020-LastQso 3.55%MW". Throws
// RegionsPageError when the page yields none: then the region list is not replaced.
std::vector<std::string> regionListFromPage(std::string_view page, const LineCompare& compare);

// Why the page may not become the region list, as a sentence; empty when it may.
std::string regionsPageRefusal(std::string_view page, const LineCompare& compare);

// The lines as the region list file holds them, each followed by CR LF.
std::string joinCrLf(const std::vector<std::string>& lines);

}  // namespace core
