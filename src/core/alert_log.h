// The alert log "QJmis.txt": one line per listed spot, every line ended by CR LF.
#pragma once

#include <string>
#include <string_view>

namespace core {

// "CALL:  DIST  DATE  TIME".
std::string alertLogLine(std::string_view call, std::string_view district, std::string_view date,
                         std::string_view time);

// The log's new content: its lines as they are, each ended by CR LF, then the new
// line and CR LF.
std::string withAlertLine(std::string_view log, std::string_view line);

}  // namespace core
