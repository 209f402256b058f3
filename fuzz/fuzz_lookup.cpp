// The lookup's parsers on arbitrary bytes: the district from a spot comment, the
// callbook search against the plain line-by-line rule, and the watch-list match.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "core/lookup.h"
#include "core/text.h"
#include "core/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  // Comment: whatever it says, the result is empty or a code no longer than five.
  const std::string rda = core::commentRda(text, [](const std::string& code) { return code.size() == 5; });
  if (rda.size() > 5) std::abort();

  // Callbook: the first bytes are the callsign, the rest the callbook.
  const std::size_t split = size ? data[0] % 12 : 0;
  if (split + 1 > size) return 0;
  const std::string key = core::callbookKey(text.substr(1, split));
  const std::string_view book = text.substr(1 + split);
  std::optional<std::string_view> expected;
  if (key.find_first_of("\r\n") == std::string::npos) {
    core::forEachLine(book, [&](std::string_view line) {
      if (!expected && line.substr(0, key.size()) == key) expected = line.substr(key.size(), 5);
    });
  }
  const auto found = core::callbookDistrict(book, key);
  if (found.has_value() != expected.has_value() || (found && *found != *expected)) std::abort();

  (void)core::watchEntryMatches(text.substr(0, split), book);
  return 0;
}
