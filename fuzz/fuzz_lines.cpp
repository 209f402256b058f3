// Line splitting, the case-insensitive sorted list and the reading of UTF-8 text
// on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "core/code_page.h"
#include "core/confirmations.h"
#include "core/district_list.h"
#include "core/districts.h"
#include "core/text.h"
#include "core/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::size_t bytes = 0, breaks = 0;
  core::forEachLine(text, [&](std::string_view line) {
    // Every line lies inside the text and holds no line break.
    if (line.data() < text.data() || line.data() + line.size() > text.data() + text.size()) std::abort();
    if (line.find_first_of("\r\n") != std::string_view::npos) std::abort();
    bytes += line.size();
  });
  for (char c : text) breaks += (c == '\r' || c == '\n');
  if (bytes + breaks != size) std::abort();  // nothing lost but the breaks

  const core::TextList sorted = core::TextList::fromText(text, true);
  for (std::size_t i = 1; i < sorted.size(); ++i)
    if (core::compareNoCase(sorted[i - 1], sorted[i]) >= 0) std::abort();
  (void)core::countConfirmed(sorted);
  // The direct search of the district list agrees with the line-by-line rule, for a
  // code of every length the verdict may pass (the tabbed form's rule).
  const bool tabbed = core::districtListForm(text) == core::DistrictListForm::Tabbed;
  for (std::size_t n = 0; tabbed && n <= 6 && n <= size; ++n) {
    const std::string_view code = text.substr(size - n);
    const auto fast = core::lookUpDistrict(text, code);
    bool listed = false, valid = false;
    std::string_view description;
    core::forEachLine(text, [&](std::string_view line) {
      if (line.substr(0, 5) != code) return;
      listed = true;
      description = line.size() > 6 ? line.substr(6) : std::string_view();
      valid = description.find("deleted") == std::string_view::npos;
    });
    if (fast.listed != listed || fast.valid != valid || fast.description != description) std::abort();
  }
  // The one-pass confirmation search agrees with the sorted list (the plain form's
  // rule).
  if (core::confirmationsForm(text).csv) return 0;
  const std::string_view code = text.substr(0, 5);
  std::optional<std::string_view> expected;
  for (std::string_view line : sorted)
    if (line.find(code) != std::string_view::npos) {
      expected = line;
      break;
    }
  const auto found = core::firstConfirmation(text, code);
  if (found.has_value() != expected.has_value() || (found && *found != *expected)) std::abort();

  // UTF-8 text comes out in Windows-1251: never longer, every ASCII byte (line breaks
  // included) kept.
  if (core::isUtf8Text(text)) {
    const std::string converted = core::utf8ToCp1251(text);
    if (converted.size() > size) std::abort();
    std::size_t asciiIn = 0, asciiOut = 0;
    for (char c : text) asciiIn += static_cast<unsigned char>(c) < 0x80;
    for (char c : converted) asciiOut += static_cast<unsigned char>(c) < 0x80;
    if (asciiOut < asciiIn) std::abort();
  }
  return 0;
}
