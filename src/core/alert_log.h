// The alert log "QJmis.txt": one line per listed spot, every line ended by CR LF.
#pragma once

#include <string>
#include <string_view>

namespace core {

// "CALL:  DIST  DATE  TIME".
std::string alertLogLine(std::string_view call, std::string_view district, std::string_view date,
                         std::string_view time);

// The bytes that go at the end of the log, given its last byte (empty for an empty
// log): the line and CR LF, after a CR LF when the last line has no break of its own.
// The earlier bytes are never rewritten.
std::string alertLogAddition(std::string_view lastByte, std::string_view line);

}  // namespace core
