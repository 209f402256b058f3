// The regions page cut-down on arbitrary bytes: it either refuses the page or gives
// sorted lines none of which is empty or begins with '<' or a blank.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/regions_page.h"
#include "core/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view page(reinterpret_cast<const char*>(data), size);
  try {
    const auto lines = core::cutRegionsPage(page, core::compareNoCase);
    if (lines.empty() || lines.front().empty()) std::abort();
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const std::string& line = lines[i];
      if (!line.empty() && (line[0] == '<' || line[0] == ' ')) std::abort();
      if (line.find_first_of("\r\n") != std::string::npos) std::abort();
      if (i > 0 && core::compareNoCase(lines[i - 1], line) > 0) std::abort();
    }
  } catch (const core::RegionsPageError&) {
  }
  return 0;
}
