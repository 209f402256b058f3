#include "core/alert_log.h"

namespace core {

std::string alertLogLine(std::string_view call, std::string_view district, std::string_view date,
                         std::string_view time) {
  std::string out;
  out.reserve(call.size() + district.size() + date.size() + time.size() + 7);
  out.append(call).append(":  ").append(district).append("  ").append(date).append("  ").append(time);
  return out;
}

std::string alertLogAddition(std::string_view lastByte, std::string_view line) {
  const bool lineOpen = !lastByte.empty() && lastByte.back() != '\n' && lastByte.back() != '\r';
  std::string out;
  out.reserve(line.size() + 4);
  if (lineOpen) out.append("\r\n");
  out.append(line).append("\r\n");
  return out;
}

}  // namespace core
