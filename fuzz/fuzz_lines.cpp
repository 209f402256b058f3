// Line splitting and the case-insensitive sorted list on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

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
  (void)core::lookUpDistrict(sorted, text.substr(0, 5));
  return 0;
}
