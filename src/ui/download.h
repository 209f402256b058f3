// Fetching a URL into a local file over the system's HTTP client (WinINet). The
// body goes into a temporary file beside the target, and the target is replaced
// only when the server answered 200 and the whole announced body arrived: an error
// page or a broken transfer never replaces a good file.
#pragma once

#include <string>

namespace ui {

struct DownloadResult {
  bool ok = false;
  std::string reason;  // why it failed, in English; empty on success
  explicit operator bool() const { return ok; }
};

// Blocks until the transfer ends; the platform's own time-outs apply.
DownloadResult downloadFile(const std::string& url, const std::string& fileName);

}  // namespace ui
