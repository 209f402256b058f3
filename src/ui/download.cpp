#include "ui/download.h"

#include <cstdint>
#include <cstdlib>
#include <stdexcept>

#include "ui/file_replace.h"
#include "ui/text.h"
#include "ui/win.h"

#include <wininet.h>

namespace ui {
namespace {

class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET h) : h_(h) {}
  ~InternetHandle() {
    if (h_) InternetCloseHandle(h_);
  }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  HINTERNET get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  HINTERNET h_;
};

// WinINet's errors have their texts in wininet.dll, not in the system's table.
std::string errorText(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                      (code >= INTERNET_ERROR_BASE && code <= INTERNET_ERROR_LAST ? FORMAT_MESSAGE_FROM_HMODULE
                                                                                  : FORMAT_MESSAGE_FROM_SYSTEM);
  const DWORD n = FormatMessageW(flags, GetModuleHandleW(L"wininet.dll"), code, 0, reinterpret_cast<wchar_t*>(&text),
                                 0, nullptr);
  std::string out = n ? narrow(std::wstring(text, n)) : std::string();
  if (text) LocalFree(text);
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' ')) out.pop_back();
  return out.empty() ? "error " + std::to_string(code) : out;
}

DownloadResult failure(std::string reason) { return {false, std::move(reason)}; }

}  // namespace

DownloadResult downloadFile(const std::string& url, const std::string& fileName) {
  InternetHandle session(InternetOpenW(L"ruDOZ", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return failure("cannot start the HTTP client: " + errorText(GetLastError()));
  // Redirects are followed (a server that moved to https included); the status
  // judged is the final one.
  const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                      INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
  InternetHandle request(InternetOpenUrlW(session.get(), widen(url).c_str(), nullptr, 0, flags, 0));
  if (!request) return failure("cannot reach " + url + ": " + errorText(GetLastError()));

  DWORD status = 0, size = sizeof status;
  if (!HttpQueryInfoW(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
    return failure("no HTTP status from " + url);
  if (status != 200) return failure("the server answered " + std::to_string(status));

  // Without Content-Length the body ends where the server ends it.
  wchar_t lengthText[32] = {};
  DWORD lengthSize = sizeof lengthText;
  std::int64_t announced = -1;
  if (HttpQueryInfoW(request.get(), HTTP_QUERY_CONTENT_LENGTH, lengthText, &lengthSize, nullptr))
    announced = std::wcstoll(lengthText, nullptr, 10);

  try {
    ReplacingFile file(fileName);
    std::int64_t received = 0;
    char buffer[64 * 1024];
    for (;;) {
      DWORD got = 0;
      if (!InternetReadFile(request.get(), buffer, sizeof buffer, &got))
        return failure("the transfer broke off: " + errorText(GetLastError()));
      if (got == 0) break;
      file.write(std::string_view(buffer, got));
      received += got;
    }
    if (announced >= 0 && received != announced)
      return failure("the transfer broke off after " + std::to_string(received) + " of " + std::to_string(announced) +
                     " bytes");
    file.commit();
  } catch (const std::runtime_error& e) {
    return failure(e.what());
  }
  return {true, {}};
}

}  // namespace ui
