// The local web stand-in, started for these tests by a CTest fixture: its address,
// its faults and its request log.
#pragma once

#include <string>

namespace testing_support {

std::string readWholeFile(const std::string& path);
// http://127.0.0.1:PORT, the port read from the fixture's port file.
std::string webBase();
// The answer to one of the stand-in's admin paths, e.g. "/_admin/blackhole".
std::string webAdmin(const std::string& path);
// Sets the stand-in's fault, e.g. "mode=404&prefix=/map/&count=1".
void webFault(const std::string& query);
void webClear();
// The request log so far, one "GET PATH STATUS" line per request.
std::string webLog();

}  // namespace testing_support
