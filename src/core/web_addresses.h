// Addresses of the two web services: the confirmation service (own confirmations,
// regions page) and the award's web server (district list, region maps). A base
// address is a scheme and a host, such as http://127.0.0.1:8080.
#pragma once

#include <string>
#include <string_view>

namespace core {

// The own callsign as it goes into a query: letters, digits and '/' stay as typed
// (case kept), every other byte becomes %XX, so a blank or '&' typed by mistake
// cannot change the request.
std::string encodeCallsign(std::string_view call);

std::string confirmationsUrl(std::string_view cfmServer, std::string_view call);  // /rda/csv?call=
std::string regionsUrl(std::string_view cfmServer);                                // /rda/regions
std::string districtListUrl(std::string_view rdaServer);                           // /rda_rus.txt
std::string mapUrl(std::string_view rdaServer, std::string_view mapCode);          // /map/<code>.jpg

}  // namespace core
