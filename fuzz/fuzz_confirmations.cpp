// The confirmations in both forms on arbitrary bytes: the title's count, the list
// of confirmed districts, the progress count and the verdict tell the same story,
// and the download check takes every body that holds a confirmation, unless it
// reads as another list.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/award_progress.h"
#include "core/confirmations.h"
#include "core/district_list.h"
#include "core/districts.h"
#include "core/download_body.h"
#include "core/text.h"
#include "core/text_file.h"

namespace {
void check(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const core::TextList sorted = core::confirmationsList(text);
  const bool csv = core::confirmationsForm(text).csv;
  check(core::confirmationsForm(sorted.firstLine()).csv == csv);

  const std::vector<std::string> codes = core::confirmedCodes(sorted);
  const std::vector<core::ConfirmedDistrict> districts = core::confirmedDistricts(text);
  check(districts.size() == codes.size());
  for (std::size_t i = 0; i < codes.size(); ++i) {
    check(districts[i].code == codes[i] && !codes[i].empty());
    if (!csv) check(districts[i].confirmedOn.empty());
  }
  const int count = core::countConfirmed(sorted);
  check(csv ? count == int(codes.size()) : count >= int(codes.size()));
  check(core::countProgress("", text).unknownCodes == codes);

  // Every confirmed district has its confirming line, which names it.
  for (std::size_t i = 0; i < codes.size() && i < 16; ++i) {
    const auto line = core::firstConfirmation(text, codes[i]);
    check(line.has_value() && core::contains(*line, codes[i]));
  }

  const bool wellFormed = std::any_of(codes.begin(), codes.end(), [](const std::string& c) { return core::isDistrictCode(c); });
  if (wellFormed) check(core::holdsConfirmation(text));
  const std::string refusal = core::confirmationsRefusal(text, text);
  if (core::holdsConfirmation(text))
    check(refusal.empty() || refusal.starts_with("The server sent a web page") ||
          refusal.starts_with("The server's answer is the "));
  return 0;
}
