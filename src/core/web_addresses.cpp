#include "core/web_addresses.h"

#include "core/text.h"

namespace core {
namespace {

bool keptAsTyped(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/';
}

// A base address written with a closing slash must not give "//" before the path.
std::string withPath(std::string_view base, std::string_view path) {
  while (!base.empty() && base.back() == '/') base.remove_suffix(1);
  std::string url(base);
  url.append(path);
  return url;
}

}  // namespace

std::string encodeCallsign(std::string_view call) { return percentEncode(call, &keptAsTyped); }

std::string confirmationsUrl(std::string_view cfmServer, std::string_view call) {
  return withPath(cfmServer, "/rda/csv?call=") + encodeCallsign(call);
}

std::string regionsUrl(std::string_view cfmServer) { return withPath(cfmServer, "/rda/regions"); }

std::string districtListUrl(std::string_view rdaServer) { return withPath(rdaServer, "/rda_rus.txt"); }

std::string mapUrl(std::string_view rdaServer, std::string_view mapCode) {
  std::string path = "/map/";
  path.append(mapCode).append(".jpg");
  return withPath(rdaServer, path);
}

}  // namespace core
