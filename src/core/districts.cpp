#include "core/districts.h"

#include "core/text.h"

namespace core {

DistrictInfo lookUpDistrict(const TextList& districtList, std::string_view code) {
  DistrictInfo info;
  for (std::string_view line : districtList) {
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

std::optional<std::size_t> findConfirmation(const TextList& sortedConfirmations,
                                            std::string_view district) {
  for (std::size_t i = 0; i < sortedConfirmations.size(); ++i)
    if (contains(sortedConfirmations[i], district)) return i;
  return std::nullopt;
}

}  // namespace core
