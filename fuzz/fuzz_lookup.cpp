// The lookup's parsers on arbitrary bytes: the district from a spot comment and the
// watch-list match (the callbook has a target of its own).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/lookup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  // Comment: whatever it says, the result is empty or a code no longer than five.
  const std::string rda = core::commentRda(text, [](const std::string& code) { return code.size() == 5; });
  if (rda.size() > 5) std::abort();

  // Watch list: the first bytes are the entry, the rest the field.
  const std::size_t split = size ? data[0] % 12 : 0;
  if (split + 1 > size) return 0;
  (void)core::watchEntryMatches(text.substr(0, split), text.substr(1 + split));
  return 0;
}
