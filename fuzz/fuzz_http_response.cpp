// The download's HTTP reader on arbitrary answers cut into arbitrary pieces: a body
// within the bound or an HttpError, never a crash; the addresses likewise.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/http_response.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t piece = data[0] % 16 + 1;  // the first byte picks the size of the pieces
  const std::string_view answer(reinterpret_cast<const char*>(data) + 1, size - 1);
  constexpr std::uint64_t maxBody = 4096;
  core::HttpResponseReader reader(maxBody);
  std::uint64_t bodyBytes = 0;
  try {
    bool complete = false;
    for (std::size_t at = 0; at < answer.size() && !complete; at += piece)
      complete = reader.take(answer.substr(at, piece), [&](std::string_view b) { bodyBytes += b.size(); });
    if (!complete) reader.closed();
  } catch (const core::HttpError&) {
  }
  if (bodyBytes > maxBody || bodyBytes != reader.bodyBytes()) std::abort();
  try {
    const core::HttpUrl url = core::parseHttpUrl(answer);
    core::httpGetRequest(url);
    core::parseHttpUrl(core::redirectAddress("http://h/a/b", answer));
  } catch (const core::HttpError&) {
  }
  return 0;
}
