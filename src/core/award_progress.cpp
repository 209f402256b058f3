#include "core/award_progress.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "core/confirmations.h"
#include "core/district_list.h"
#include "core/text.h"
#include "core/text_file.h"

namespace core {

const char* const kProgressColumnTitles[kProgressColumns] = {"Region", "Name", "Confirmed", "Active", "Needed", "%"};

namespace {

struct CodeLine {
  std::string_view code;
  std::string_view description;
  bool deleted = false;
};

bool isCode(std::string_view code) { return code.size() == 5 && code[2] == '-'; }

// Tabs inside a cell would split it in the table's text.
std::string withoutTabs(std::string_view s) {
  std::string out(s);
  std::replace(out.begin(), out.end(), '\t', ' ');
  return out;
}

// The codes of the list, each with its deciding (last) line, sorted by code.
std::vector<CodeLine> deciding(std::vector<CodeLine> lines) {
  std::stable_sort(lines.begin(), lines.end(), [](const CodeLine& a, const CodeLine& b) { return a.code < b.code; });
  std::vector<CodeLine> codes;
  codes.reserve(lines.size());
  for (const CodeLine& line : lines) {
    if (!codes.empty() && codes.back().code == line.code)
      codes.back() = line;
    else
      codes.push_back(line);
  }
  return codes;
}

// The district lines of the list in its form, and the name of each region from
// its last header line (the tabbed form only has them).
std::vector<CodeLine> codeLines(std::string_view list,
                                std::unordered_map<std::string_view, std::string_view>& names) {
  std::vector<CodeLine> lines;
  if (districtListForm(list) == DistrictListForm::Semicolon) {
    forEachLine(afterFirstLine(list), [&](std::string_view line) {
      if (const auto district = semicolonLine(line); district && isCode(district->code))
        lines.push_back({district->code, district->title, district->deleted});
    });
    return lines;
  }
  forEachLine(list, [&](std::string_view line) {
    if (isCode(head(line, 5))) {
      const std::string_view description = line.size() > 6 ? line.substr(6) : std::string_view();
      lines.push_back({line.substr(0, 5), description, contains(description, "deleted")});
    } else if (const auto header = regionHeader(line)) {
      names[header->letters] = header->name;
    }
  });
  return lines;
}

// A region none of whose districts counts any more stays out of the table.
void dropRetiredRegions(AwardProgress& progress) {
  const auto retired = std::remove_if(progress.regions.begin(), progress.regions.end(),
                                      [](const RegionProgress& r) { return r.active == 0; });
  progress.totals.retiredRegions = int(progress.regions.end() - retired);
  progress.regions.erase(retired, progress.regions.end());
}

}  // namespace

AwardProgress countProgress(std::string_view districtList, std::string_view confirmations, Band band) {
  std::unordered_map<std::string_view, std::string_view> names;  // the last header of each region
  const std::vector<CodeLine> codes = deciding(codeLines(districtList, names));
  std::vector<std::string> confirmed;
  if (band == Band::None) {
    confirmed = confirmedCodes(confirmationsList(confirmations));
  } else {
    for (const ConfirmedDistrict& d : confirmedDistricts(confirmations))
      if (std::any_of(d.confirmedOn.begin(), d.confirmedOn.end(), [&](const BandMode& on) { return bandOfLabel(on.band) == band; }))
        confirmed.push_back(d.code);
    std::sort(confirmed.begin(), confirmed.end());
  }

  AwardProgress progress;
  ProgressTotals& totals = progress.totals;
  // Both lists are sorted: one walk through them side by side.
  auto next = confirmed.begin();
  for (const CodeLine& district : codes) {
    for (; next != confirmed.end() && *next < district.code; ++next) progress.unknownCodes.emplace_back(*next);
    const bool isConfirmed = next != confirmed.end() && *next == district.code;
    if (isConfirmed) ++next;

    const std::string_view letters = district.code.substr(0, 2);
    if (progress.regions.empty() || progress.regions.back().letters != letters) {
      RegionProgress region;
      region.letters = letters;
      const auto named = names.find(letters);
      region.name = named != names.end() && !named->second.empty() ? named->second : letters;
      progress.regions.push_back(std::move(region));
    }
    RegionProgress& region = progress.regions.back();
    if (district.deleted) {
      region.confirmedDeleted += isConfirmed;
      totals.confirmedDeleted += isConfirmed;
      continue;
    }
    ++region.active;
    ++totals.active;
    if (isConfirmed) {
      ++region.confirmed;
      ++totals.confirmed;
    } else {
      region.needed.push_back({std::string(district.code), std::string(district.description)});
      ++totals.needed;
    }
  }
  for (; next != confirmed.end(); ++next) progress.unknownCodes.emplace_back(*next);
  dropRetiredRegions(progress);
  return progress;
}

std::string neededLine(const NeededDistrict& district) {
  // The award's notes stand after more tabs: one blank in their place.
  std::string line = district.code + "  ";
  bool blank = false;
  for (const char c : trimBlanks(district.description)) {
    if (c == '\t') {
      if (!blank) line += ' ';
      blank = true;
    } else {
      line += c;
      blank = c == ' ';
    }
  }
  return line;
}

std::string percentText(int part, int whole) {
  const long long tenths = whole > 0 ? static_cast<long long>(part) * 1000 / whole : 0;
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::string totalsLine(const ProgressTotals& totals) {
  return "confirmed " + std::to_string(totals.confirmed) + " of " + std::to_string(totals.active) +
         " active districts, " + percentText(totals.confirmed, totals.active) + " %";
}

std::string deletedLine(const ProgressTotals& totals) {
  std::string line = "confirmed deleted districts: " + std::to_string(totals.confirmedDeleted);
  if (totals.retiredRegions > 0)
    line += "; regions with no active district left: " + std::to_string(totals.retiredRegions);
  return line;
}

std::string unknownCodesLine(const std::vector<std::string>& unknownCodes) {
  if (unknownCodes.empty()) return {};
  constexpr std::size_t kNamed = 8;
  std::string line = std::to_string(unknownCodes.size()) +
                     (unknownCodes.size() == 1 ? " confirmed code is" : " confirmed codes are") +
                     " not in the district list (an old list?): ";
  for (std::size_t i = 0; i < unknownCodes.size() && i < kNamed; ++i) line += (i ? ", " : "") + unknownCodes[i];
  if (unknownCodes.size() > kNamed) line += ", ...";
  return line;
}

std::vector<std::string> progressRow(const RegionProgress& region) {
  return {withoutTabs(region.letters),
          withoutTabs(region.name),
          std::to_string(region.confirmed),
          std::to_string(region.active),
          std::to_string(region.needed.size()),
          percentText(region.confirmed, region.active)};
}

void sortRegions(std::vector<RegionProgress>& regions, ProgressColumn column, bool descending) {
  auto byNumber = [](long long a, long long b) { return a < b ? -1 : a > b ? 1 : 0; };
  auto key = [&](const RegionProgress& a, const RegionProgress& b) {
    switch (column) {
      case ProgressColumn::Region:
        return compareNoCase(a.letters, b.letters);
      case ProgressColumn::Name:
        return compareNoCase(a.name, b.name);
      case ProgressColumn::Confirmed:
        return byNumber(a.confirmed, b.confirmed);
      case ProgressColumn::Active:
        return byNumber(a.active, b.active);
      case ProgressColumn::Needed:
        return byNumber(static_cast<long long>(a.needed.size()), static_cast<long long>(b.needed.size()));
      case ProgressColumn::Percent:
        // The shares themselves, not their rounded texts; a region with no active
        // district stands at nothing.
        return byNumber(static_cast<long long>(a.confirmed) * std::max(b.active, 1),
                        static_cast<long long>(b.confirmed) * std::max(a.active, 1));
    }
    return 0;
  };
  std::stable_sort(regions.begin(), regions.end(), [&](const RegionProgress& a, const RegionProgress& b) {
    if (const int c = key(a, b)) return descending ? c > 0 : c < 0;
    return a.letters < b.letters;
  });
}

std::string progressTable(const std::vector<RegionProgress>& regions) {
  std::string table;
  auto addLine = [&](const auto& cells) {
    bool first = true;
    for (const auto& cell : cells) {
      if (!first) table += '\t';
      table += cell;
      first = false;
    }
    table += "\r\n";
  };
  addLine(kProgressColumnTitles);
  for (const RegionProgress& region : regions) addLine(progressRow(region));
  return table;
}

}  // namespace core
