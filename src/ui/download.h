// Fetching a plain http:// address into a local file over the system's sockets. The
// body goes into a temporary file beside the target, and the target is replaced
// only when the server answered 200, the body ended as HTTP says a whole body ends,
// and it looks like what the file should hold: an error page, a broken or endless
// transfer never replaces a good file.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ui {

// A download that failed, and why, in English sentences.
class DownloadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Every download ends within these, and the failure says which one ended it.
struct DownloadBounds {
  int connectMs = 10000;  // finding the server's address and connecting to it
  int silenceMs = 15000;  // the server sending nothing
  int totalMs = 60000;    // the whole download, redirects included
  int redirects = 5;
  std::uint64_t maxBytes = std::uint64_t(64) << 20;  // no reference file or map comes near it
};

// The program's bounds. Tests of the whole program shorten the times with
// RUDOZ_DOWNLOAD_BOUNDS=CONNECT,SILENCE,TOTAL (milliseconds).
const DownloadBounds& downloadBounds();

// Blocks until the transfer ends, within the bounds. Meanwhile the windows repaint
// and messages that other programs send (Logger32 writing a spot) are handled; the
// operator's keys and clicks wait until the download is over.
// Why a whole body may not take its file's place, as a sentence; empty when it may.
using BodyCheck = std::function<std::string(std::string_view body)>;

// Throws DownloadError when the file was not replaced.
void downloadFile(const std::string& url, const std::string& fileName, const BodyCheck& check = {},
                  const DownloadBounds& bounds = downloadBounds());

}  // namespace ui
