#include "core/download_body.h"

namespace core {

std::string bodyRefusal(ExpectedBody expected, std::string_view start, std::uint64_t size) {
  switch (expected) {
    case ExpectedBody::Anything:
      return {};
    case ExpectedBody::TextList: {
      if (size == 0) return "The server sent an empty list.";
      // No list line begins with '<'; a web page does, after a byte order mark and
      // blank lines perhaps.
      if (start.starts_with("\xEF\xBB\xBF")) start.remove_prefix(3);
      const std::size_t first = start.find_first_not_of(" \t\r\n");
      if (first != std::string_view::npos && start[first] == '<') return "The server sent a web page, not the list.";
      return {};
    }
    case ExpectedBody::Jpeg:
      return start.starts_with("\xFF\xD8\xFF") ? std::string() : "The server sent no JPEG picture.";
  }
  return {};
}

}  // namespace core
