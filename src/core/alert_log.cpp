#include "core/alert_log.h"

#include "core/text_file.h"

namespace core {

std::string alertLogLine(std::string_view call, std::string_view district, std::string_view date,
                         std::string_view time) {
  std::string out;
  out.reserve(call.size() + district.size() + date.size() + time.size() + 7);
  out.append(call).append(":  ").append(district).append("  ").append(date).append("  ").append(time);
  return out;
}

std::string withAlertLine(std::string_view log, std::string_view line) {
  std::string out;
  out.reserve(log.size() + line.size() + 4);
  forEachLine(log, [&](std::string_view l) { out.append(l).append("\r\n"); });
  out.append(line).append("\r\n");
  return out;
}

}  // namespace core
